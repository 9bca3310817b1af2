#include "support/TestProcess.h"

#include <cstdio>
#include <string>
#include <vector>

namespace testsupport {

std::string BinDir() {
    // The programs under test may come from another build (the release
    // build's, say): PROGRAM_DIR names its folder, in Windows form.
    char other[MAX_PATH] = {};
    const DWORD otherLength = ::GetEnvironmentVariableA("PROGRAM_DIR", other, MAX_PATH);
    if (otherLength > 0 && otherLength < MAX_PATH) {
        std::string dir(other, otherLength);
        if (dir.back() != '\\') dir += '\\';
        return dir;
    }
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, length);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

ChildProcess::~ChildProcess() {
    if (m_info.hProcess) {
        if (Running()) {
            ::TerminateProcess(m_info.hProcess, 1);
            ::WaitForSingleObject(m_info.hProcess, 5000);
        }
        ::CloseHandle(m_info.hProcess);
        ::CloseHandle(m_info.hThread);
    }
}

bool ChildProcess::Start(const std::string& commandLine, const std::string& workingDir) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &m_info) != FALSE;
}

long ChildProcess::Wait(DWORD ms) {
    if (!m_info.hProcess || ::WaitForSingleObject(m_info.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<long>(code);
}

bool ChildProcess::Running() const {
    return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

int RunCaptured(const std::string& commandLine, std::string* output, DWORD ms) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    const BOOL started =
        ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info);
    const DWORD startError = ::GetLastError();
    ::CloseHandle(writeEnd);  // the child holds the only write end now: reading ends with it
    std::string collected;
    if (started) {
        char buffer[4096];
        DWORD got;
        while (::ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got) collected.append(buffer, got);
    }
    ::CloseHandle(readEnd);
    if (!started) collected = "cannot start " + commandLine + ": error " + std::to_string(startError);
    if (output) *output = collected;
    if (!started) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0) ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    ::CloseHandle(info.hThread);
    return static_cast<int>(code);
}

std::string WlanTestDir() { return BinDir() + "wlantest\\"; }

int Wlansim(const std::string& args, std::string* output) {
    return RunCaptured("\"" + WlanTestDir() + "wlansim.exe\" " + args, output);
}

namespace {
struct FindData {
    DWORD pid;
    const std::string* title;
    HWND found;
};

BOOL CALLBACK FindInProcess(HWND hwnd, LPARAM lp) {
    auto* data = reinterpret_cast<FindData*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char text[256] = {};
    ::GetWindowTextA(hwnd, text, sizeof(text));
    if (pid == data->pid && *data->title == text) {
        data->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindProcessWindow(DWORD pid, const std::string& title) {
    FindData data = {pid, &title, nullptr};
    ::EnumWindows(&FindInProcess, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

void DeleteTree(HKEY root, const std::string& path) {
    HKEY key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char name[256];
    for (;;) {
        DWORD size = sizeof(name);
        if (::RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DeleteTree(key, name);
    }
    ::RegCloseKey(key);
    ::RegDeleteKeyA(root, path.c_str());
}

bool WriteString(HKEY root, const std::string& path, const char* name, const std::string& value) {
    HKEY key;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool WriteDword(HKEY root, const std::string& path, const char* name, DWORD value) {
    HKEY key;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool ReadDword(HKEY root, const std::string& path, const char* name, DWORD& value) {
    DWORD size = sizeof(value);
    return ::RegGetValueA(root, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS;
}

namespace {
BOOL CALLBACK FirstLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}
}  // namespace

bool ReplaceStringBlock(const std::string& file, const std::map<UINT, std::string>& strings) {
    if (strings.empty()) return false;
    const UINT block = strings.begin()->first / 16;
    std::vector<WCHAR> data;
    for (UINT i = 0; i < 16; ++i) {
        const auto text = strings.find(block * 16 + i);
        data.push_back(static_cast<WCHAR>(text == strings.end() ? 0 : text->second.size()));
        if (text != strings.end()) data.insert(data.end(), text->second.begin(), text->second.end());
    }
    WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    if (HMODULE module = ::LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        ::EnumResourceLanguagesA(module, RT_STRING, MAKEINTRESOURCEA(block + 1), &FirstLanguage,
                                 reinterpret_cast<LONG_PTR>(&language));
        ::FreeLibrary(module);
    }
    HANDLE update = ::BeginUpdateResourceA(file.c_str(), FALSE);
    return update &&
           ::UpdateResourceA(update, RT_STRING, MAKEINTRESOURCEA(block + 1), language, data.data(),
                             static_cast<DWORD>(data.size() * sizeof(WCHAR))) &&
           ::EndUpdateResourceA(update, FALSE);
}

TempDir::TempDir() {
    char base[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH] = {};
    std::snprintf(name, sizeof(name), "%smontest-%lu-%lu\\", base, ::GetCurrentProcessId(), ::GetTickCount());
    m_path = name;
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempDir::~TempDir() {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((m_path + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileA((m_path + found.cFileName).c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(m_path.c_str());
}

bool TempDir::CopyIn(const std::string& source, const std::string& name) const {
    return ::CopyFileA(source.c_str(), (m_path + name).c_str(), FALSE) != FALSE;
}

bool TempDir::WriteFile(const std::string& name, const std::string& content) const {
    std::FILE* file = std::fopen((m_path + name).c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    return std::fclose(file) == 0 && ok;
}

DWORD ServiceState(const char* name) {
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return 0;
    DWORD state = 0;
    if (SC_HANDLE service = ::OpenServiceA(manager, name, SERVICE_QUERY_STATUS)) {
        SERVICE_STATUS status = {};
        if (::QueryServiceStatus(service, &status)) state = status.dwCurrentState;
        ::CloseServiceHandle(service);
    }
    ::CloseServiceHandle(manager);
    return state;
}

bool RegisterService(const char* name, const std::string& binary) {
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return false;
    SC_HANDLE service = ::OpenServiceA(manager, name, SERVICE_ALL_ACCESS);
    if (service) {
        ::ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_DEMAND_START, SERVICE_NO_CHANGE, binary.c_str(),
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    } else {
        service = ::CreateServiceA(manager, name, "Wireless Zero Configuration (test)", SERVICE_ALL_ACCESS,
                                   SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                   binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    const bool registered = service != nullptr;
    if (service) ::CloseServiceHandle(service);
    ::CloseServiceHandle(manager);
    return registered;
}

bool DriveService(const char* name, bool run, DWORD ms) {
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return false;
    SC_HANDLE service = ::OpenServiceA(manager, name, SERVICE_ALL_ACCESS);
    if (service) {
        SERVICE_STATUS status = {};
        if (run) ::StartServiceA(service, 0, nullptr);
        else ::ControlService(service, SERVICE_CONTROL_STOP, &status);
        ::CloseServiceHandle(service);
    }
    ::CloseServiceHandle(manager);
    const DWORD wanted = run ? SERVICE_RUNNING : SERVICE_STOPPED;
    return service && WaitFor([&] { return ServiceState(name) == wanted; }, ms);
}

}  // namespace testsupport
