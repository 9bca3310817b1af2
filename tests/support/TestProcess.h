// Running the programs under test as child processes of a test.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace testsupport {

// The folder of the running test executable (bin/), with a trailing '\'.
// The folder of the programs under test: this test program's own, or the
// one the environment variable PROGRAM_DIR names.
std::string BinDir();

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();  // kills a child that is still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const std::string& commandLine, const std::string& workingDir = std::string());
    // Exit code, or -1 when it did not end within `ms`.
    long Wait(DWORD ms);
    bool Running() const;
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }

private:
    PROCESS_INFORMATION m_info = {};
};

// Runs a console program to its end (at most `ms`) with its standard output
// and error collected in `output`; its exit code, or -1 when it could not be
// started or did not end in time.
int RunCaptured(const std::string& commandLine, std::string* output = nullptr, DWORD ms = 30000);

// The Native Wi-Fi test folder (bin/wlantest/: the monitor beside the
// stand-in wlanapi.dll), and its control tool wlansim.exe run to its end
// with its output collected as it came; its exit code.
std::string WlanTestDir();
int Wlansim(const std::string& args, std::string* output = nullptr);

// Polls `condition` every 50 ms until it holds or `ms` have passed.
template <typename Condition>
bool WaitFor(Condition condition, DWORD ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount() - start > ms) return false;
        ::Sleep(50);
    }
}

// A top-level window of `title` that belongs to process `pid`, or null.
HWND FindProcessWindow(DWORD pid, const std::string& title);

// The current state of a service (SERVICE_RUNNING...), or 0 when it cannot
// be queried.
DWORD ServiceState(const char* name);
// Registers service `name` (demand-started) to run `binary`, or points an
// existing one at it; false when the service manager refuses.
bool RegisterService(const char* name, const std::string& binary);
// Starts (run) or stops service `name`, then waits up to `ms` for it to get
// there; false when it did not.
bool DriveService(const char* name, bool run, DWORD ms);

// Registry helpers for fixtures.
void DeleteTree(HKEY root, const std::string& path);
bool WriteString(HKEY root, const std::string& path, const char* name, const std::string& value);
bool WriteDword(HKEY root, const std::string& path, const char* name, DWORD value);
bool ReadDword(HKEY root, const std::string& path, const char* name, DWORD& value);

// Replaces, in a program or module file, the block of 16 strings that holds
// the strings given (ids of one block; its other strings become empty), in
// the language the file's own block has, neutral when it has none.
bool ReplaceStringBlock(const std::string& file, const std::map<UINT, std::string>& strings);

// A scratch folder below %TEMP%, removed with its files on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return m_path; }  // with a trailing '\'
    bool CopyIn(const std::string& source, const std::string& name) const;
    bool WriteFile(const std::string& name, const std::string& content) const;

private:
    std::string m_path;
};

}  // namespace testsupport
