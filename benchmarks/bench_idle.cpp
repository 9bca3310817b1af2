// The monitor against the do-nothing program (idle_baseline.exe), side by
// side in one run: start-up time, CPU while idle in the tray and private
// memory, in alternating rounds. The monitor runs associated with 30 full
// profiles, as a user's machine would have it.
//
// Run: build/wine-run build/bin/bench_idle.exe [rounds=3] [idle-seconds=60] [wineserver-pid] [xvfb-pid]
// (benchmarks/run-benchmarks.sh passes the pids, so that the wineserver's
// and the X server's CPU while each program idles is reported beside it.)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/Stopwatch.h"
#include "support/TestProcess.h"

namespace {

const UINT kExit = 32774;

// Reads a small file of /proc through Wine's Z: drive.
std::string ProcFile(int pid, const char* name) {
    char path[64];
    std::snprintf(path, sizeof(path), "Z:\\proc\\%d\\%s", pid, name);
    FILE* f = std::fopen(path, "rb");
    if (!f) return std::string();
    char data[4096];
    const size_t n = std::fread(data, 1, sizeof(data), f);
    std::fclose(f);
    return std::string(data, n);
}

// A Linux process's user and system time, in seconds.
double UnixCpuSeconds(int pid) {
    if (pid <= 0) return 0;
    const std::string stat = ProcFile(pid, "stat");
    const char* line = stat.c_str();
    // Fields after the command's closing parenthesis: state is field 3,
    // utime and stime are 14 and 15.
    const char* p = std::strrchr(line, ')');
    if (!p) return 0;
    unsigned long long utime = 0, stime = 0;
    if (std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2) return 0;
    return static_cast<double>(utime + stime) / 100.0;  // clock ticks of 10 ms
}

// The Linux process that runs a Windows program: Wine gives it the
// program's path as its command line. (Wine reports no CPU times or memory
// of another process, so both are read from the Linux side.)
int UnixPidOf(const std::string& program) {
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA("Z:\\proc\\*", &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int pid = 0;
    do {
        const int candidate = std::atoi(found.cFileName);
        if (candidate <= 0) continue;
        std::string cmdline = ProcFile(candidate, "cmdline");
        cmdline = cmdline.substr(0, cmdline.find('\0'));
        if (cmdline.size() >= program.size() + 1 &&
            lstrcmpiA(cmdline.substr(cmdline.size() - program.size() - 1).c_str(), ("\\" + program).c_str()) == 0)
            pid = candidate;
    } while (!pid && ::FindNextFileA(find, &found));
    ::FindClose(find);
    return pid;
}

// Anonymous resident memory of a Linux process: what the process holds for
// itself (heap, stacks, private copies), in MB.
double PrivateMb(int pid) {
    const std::string status = ProcFile(pid, "status");
    const size_t at = status.find("RssAnon:");
    return at == std::string::npos ? 0 : std::atof(status.c_str() + at + 8) / 1024.0;
}

struct Sample {
    double start = 0;      // s, start to the window (baseline) or the tray icon (monitor)
    double window = 0;     // s, start to the first window
    double cpu = 0;        // s, the process's own, over the idle period
    double server = 0;     // s, the wineserver's over the same period
    double display = 0;    // s, the X server's
    double privateMb = 0;  // MB, after the idle period
};

bool TrayShowsIcons() {
    HWND tray = ::FindWindowA("__winex11_standalone_tray", nullptr);
    if (tray && ::IsWindowVisible(tray)) return true;
    // With a shell (a Wine desktop), the taskbar's notification area.
    HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr);
    return taskbar && ::FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr);
}

bool Measure(const std::string& program, const std::string& title, bool waitForIcon, int idleSeconds,
             int serverPid, int displayPid, Sample& out) {
    testsupport::ChildProcess child;
    const testsupport::Stopwatch watch;
    if (!child.Start("\"" + testsupport::BinDir() + program + "\"", testsupport::BinDir())) return false;
    HWND window = nullptr;
    for (;;) {
        if (!window) {
            window = testsupport::FindProcessWindow(child.Id(), title);
            if (window) out.window = watch.Ms() / 1000;
        }
        if (window && (!waitForIcon || TrayShowsIcons())) break;
        if (watch.Ms() / 1000 > 30) return false;
        ::Sleep(1);
    }
    out.start = watch.Ms() / 1000;
    ::Sleep(3000);  // the first ticks and the first survey
    const int pid = UnixPidOf(program);
    const double cpu0 = UnixCpuSeconds(pid), server0 = UnixCpuSeconds(serverPid), display0 = UnixCpuSeconds(displayPid);
    ::Sleep(static_cast<DWORD>(idleSeconds) * 1000);
    out.cpu = UnixCpuSeconds(pid) - cpu0;
    out.server = UnixCpuSeconds(serverPid) - server0;
    out.display = UnixCpuSeconds(displayPid) - display0;
    out.privateMb = PrivateMb(pid);
    if (!pid) std::printf("note: no Linux process found for %s\n", program.c_str());
    ::PostMessageA(window, WM_COMMAND, kExit, 0);
    child.Wait(10000);
    // Let the tray window go before the next program starts.
    for (int i = 0; i < 300 && TrayShowsIcons(); ++i) ::Sleep(10);
    return true;
}

void Report(const char* name, const char* unit, std::vector<double> monitor, std::vector<double> baseline,
            const std::string& extra = std::string()) {
    // A round in which the do-nothing program used no measurable time (the
    // clock counts in 10 ms steps) gives no ratio; the totals still count.
    std::vector<double> ratios;
    double monitorTotal = 0, baselineTotal = 0;
    for (size_t i = 0; i < monitor.size() && i < baseline.size(); ++i) {
        if (baseline[i] > 0) ratios.push_back(monitor[i] / baseline[i]);
        monitorTotal += monitor[i];
        baselineTotal += baseline[i];
    }
    std::sort(ratios.begin(), ratios.end());
    std::sort(monitor.begin(), monitor.end());
    std::sort(baseline.begin(), baseline.end());
    auto median = [](const std::vector<double>& v) { return v.empty() ? 0 : v[v.size() / 2]; };
    if (ratios.empty()) ratios.push_back(0);
    std::printf("%-22s ratio min %.2fx median %.2fx max %.2fx, of the totals %.2fx  (monitor median %.3f %s, "
                "baseline %.3f %s)%s\n",
                name, ratios.front(), median(ratios), ratios.back(), baselineTotal > 0 ? monitorTotal / baselineTotal : 0,
                median(monitor), unit, median(baseline), unit, extra.c_str());
}

// 30 complete profiles: what a user with many networks has.
void WriteProfiles(bool write) {
    const std::string profiles = "SOFTWARE\\DoDizir\\Wavelume\\Profiles";
    testsupport::DeleteTree(HKEY_LOCAL_MACHINE, profiles);
    if (!write) return;
    for (int n = 0; n < 30; ++n) {
        char name[32];
        std::snprintf(name, sizeof(name), "Profile %02d", n);
        const std::string path = profiles + "\\" + name;
        for (const char* value : {"ssid", "wep.passphrase", "wep.key1", "wpapsk.password"})
            testsupport::WriteString(HKEY_LOCAL_MACHINE, path, value, name);
        for (const char* value : {"operatingmode", "txrate", "channel", "power", "authype", "nettype"})
            testsupport::WriteDword(HKEY_LOCAL_MACHINE, path, value, 1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int idle = argc > 2 ? std::max(1, std::atoi(argv[2])) : 60;
    const int serverPid = argc > 3 ? std::atoi(argv[3]) : 0;
    const int displayPid = argc > 4 ? std::atoi(argv[4]) : 0;
    testsupport::DeleteTree(HKEY_CURRENT_USER, "Software\\NicportSim");  // the lively, associated demo
    WriteProfiles(true);

    std::vector<double> mWindow, bWindow, mStart, bStart, mCpu, bCpu, mMem, bMem, mServer, bServer, mDisplay, bDisplay;
    for (int round = 0; round < rounds; ++round) {
        // Alternate which program goes first, so that neither always meets a
        // warmer cache.
        for (int turn = 0; turn < 2; ++turn) {
            const bool monitor = (turn == 0) == (round % 2 == 0);
            Sample s;
            const bool ok = monitor ? Measure("Monitor.exe", "Wavelume", true, idle, serverPid, displayPid, s)
                                    : Measure("idle_baseline.exe", "Idle Baseline", false, idle, serverPid,
                                              displayPid, s);
            if (!ok) {
                std::printf("%s did not start\n", monitor ? "Monitor.exe" : "idle_baseline.exe");
                WriteProfiles(false);
                return 1;
            }
            (monitor ? mStart : bStart).push_back(s.start);
            (monitor ? mWindow : bWindow).push_back(s.window);
            (monitor ? mCpu : bCpu).push_back(s.cpu);
            (monitor ? mMem : bMem).push_back(s.privateMb);
            (monitor ? mServer : bServer).push_back(s.server);
            (monitor ? mDisplay : bDisplay).push_back(s.display);
        }
    }
    WriteProfiles(false);

    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    };
    char extra[160];
    std::snprintf(extra, sizeof(extra), "; wineserver %.2f s vs %.2f s, X server %.2f s vs %.2f s", median(mServer),
                  median(bServer), median(mDisplay), median(bDisplay));
    char title[48];
    std::snprintf(title, sizeof(title), "cpu idle %d s", idle);
    Report(title, "s", mCpu, bCpu, extra);
    Report("start to tray icon", "s", mStart, bStart);
    Report("start to first window", "s", mWindow, bWindow);
    Report("private memory", "MB", mMem, bMem);
    return 0;
}
