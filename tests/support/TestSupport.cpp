#include "TestSupport.h"

#include <tlhelp32.h>

#include <functional>

#include <stdexcept>
#include <vector>

namespace testing_support {

std::string ExeDir()
{
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    std::string p(buf, n);
    return p.substr(0, p.find_last_of('\\'));
}

void MakeDirs(const std::string& path)
{
    for (size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

// Listed wide: an ANSI listing spells a name it cannot hold with a best fit, and a fullwidth
// reverse solidus would lead this removal out of the folder.
static void RemoveAll(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring n = fd.cFileName;
            if (n == L"." || n == L"..")
                continue;
            std::wstring p = folder + L"\\" + n;
            SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveAll(p);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(p.c_str());
            else
                DeleteFileW(p.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
}

static void RemoveAll(const std::string& folder)
{
    RemoveAll(Wide(folder));
}

std::wstring Wide(const std::string& s)
{
    std::wstring w(s.size() + 1, L'\0');
    w.resize(MultiByteToWideChar(CP_ACP, 0, s.c_str(), static_cast<int>(s.size()), &w[0], static_cast<int>(w.size())));
    return w;
}

std::string UnixName(const std::string& path)
{
    using Call = char*(CDECL*)(LPCWSTR);
    static const auto call = reinterpret_cast<Call>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    const char* name = call ? call(Wide(path).c_str()) : nullptr;
    return name ? name : "";
}

bool OnLinuxSide(const std::string& commandLine, const std::function<bool()>& done)
{
    std::string line = commandLine;
    const std::string program = "\\\\?\\unix" + line.substr(0, line.find(' '));
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // Wine gives no handle of a Linux process to wait on.
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(20))
        if (done())
            return true;
    return false;
}

HANDLE MakeDecoy(const std::string& root)
{
    RemoveAll(root);
    // A folder ends in a backslash; a file holds its own name.
    const std::pair<const char*, DWORD> made[] = {
        {"\\sub\\empty\\", 0}, {"\\hidden\\", FILE_ATTRIBUTE_HIDDEN}, {"\\keep.txt", 0},
        {"\\sub\\held.txt", 0},  {"\\sub\\readonly.txt", FILE_ATTRIBUTE_READONLY}};
    for (const auto& m : made) {
        const std::string path = root + m.first;
        path.back() == '\\' ? MakeDirs(path.substr(0, path.size() - 1)) : WriteFileBytes(path, path);
        if (m.second)
            SetFileAttributesA(path.c_str(), m.second);
    }
    // Held open with delete sharing, as a program that lets others delete its file would.
    return CreateFileA((root + "\\sub\\held.txt").c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::string TreeState(const std::string& root)
{
    std::string state = root + " " + std::to_string(GetFileAttributesA(root.c_str())) + "\n";
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((root + "\\*").c_str(), &fd);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &fd)) {
        const std::string name = fd.cFileName, path = root + "\\" + name;
        if (name != "." && name != "..")
            state += (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? TreeState(path)
                                                                     : TreeState(path) + " " + ReadFileBytes(path) + "\n";
    }
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
    return state;
}

std::string ScratchDir(const std::string& name)
{
    std::string dir = "C:\\qtest\\" + name;
    RemoveAll(dir);
    MakeDirs(dir);
    return dir;
}

void WriteFileBytes(const std::string& path, const std::string& data)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + path);
    DWORD put = 0;
    BOOL ok = data.empty() || WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
    CloseHandle(h);
    if (!ok || put != data.size())
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + path);
    std::string data;
    std::vector<char> buf(1 << 20);
    DWORD got = 0;
    while (ReadFile(h, buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr) && got > 0)
        data.append(buf.data(), got);
    CloseHandle(h);
    return data;
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

HANDLE StartProgram(const std::string& commandLine, DWORD* pid)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back(0);
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    if (pid)
        *pid = pi.dwProcessId;
    return pi.hProcess;
}

long RunProgram(const std::string& commandLine, DWORD timeoutMs)
{
    HANDLE p = StartProgram(commandLine);
    if (!p)
        return -1;
    long result = -2;
    if (WaitForSingleObject(p, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(p, &code);
        result = static_cast<long>(code);
    } else {
        TerminateProcess(p, 1);
    }
    CloseHandle(p);
    return result;
}

struct WindowSearch {
    DWORD pid;
    const char* cls;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND wnd, LPARAM param)
{
    WindowSearch* s = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    char cls[256] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (pid == s->pid && IsWindowVisible(wnd) && lstrcmpA(cls, s->cls) == 0) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(DWORD pid, const char* className, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        WindowSearch s = {pid, className, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

static bool ProcessRuns(const char* exeName)
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 e = {};
    e.dwSize = sizeof e;
    bool found = false;
    for (BOOL ok = Process32First(snap, &e); ok && !found; ok = Process32Next(snap, &e))
        found = lstrcmpiA(e.szExeFile, exeName) == 0;
    CloseHandle(snap);
    return found;
}

bool WaitForNoProcess(const char* exeName, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (ProcessRuns(exeName)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(100);
    }
    return true;
}

std::string WindowText(HWND wnd)
{
    char buf[1024] = {};
    GetWindowTextA(wnd, buf, sizeof buf);
    return buf;
}

bool HaveDisplay()
{
    HWND w = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!w)
        return false;
    DestroyWindow(w);
    return true;
}

void PumpFor(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms)
            return false;
        PumpFor(5);
    }
    return true;
}

void SendKey(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

std::string HelperCommand(const std::string& args)
{
    return "\"" + ExeDir() + "\\testhelper.exe\" " + args;
}

}  // namespace testing_support
