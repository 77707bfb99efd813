// A second program for the tests: it holds a file open as another program would, it reports
// what a freshly started program sees of the shell folders and the system version, and it
// leaves behind what a careless case would, for the test of the sandbox's groups; it also ends
// the keeper once as Wine has been seen to.
#include "CShellFoldersContainer.h"
#include "SystemVersion.h"
#include "TStringList.h"
#include "SysUtils.h"

#include <windows.h>
#include <sddl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char LitterFolder[] = "C:\\litter";
const char LitterKey[] = "Software\\QueloraLitter";
const char ColorsKey[] = "Control Panel\\Colors";
const char LitterColor[] = "1 2 3";

bool WriteText(const std::string& path, const char* text)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD put = 0;
    bool ok = f != INVALID_HANDLE_VALUE && WriteFile(f, text, static_cast<DWORD>(std::strlen(text)), &put, nullptr);
    if (f != INVALID_HANDLE_VALUE)
        CloseHandle(f);
    return ok;
}

bool PutString(const char* key, const char* name, const char* value)
{
    HKEY k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                             static_cast<DWORD>(std::strlen(value) + 1));
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

long long BinItems()
{
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof info;
    return SUCCEEDED(SHQueryRecycleBinA("C:\\", &info)) ? info.i64NumItems : -1;
}

// A file and a folder, a key of its own, a changed value of the system's, a binned file.
int Litter()
{
    CreateDirectoryA(LitterFolder, nullptr);
    std::string binned = std::string(LitterFolder) + "\\binned.txt";
    if (!WriteText(std::string(LitterFolder) + "\\left.txt", "left") || !WriteText(binned, "binned") ||
        !PutString(LitterKey, "v", "left") || !PutString(ColorsKey, "ActiveBorder", LitterColor))
        return 2;
    std::string from = binned + std::string(1, '\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationA(&op) == 0 && BinItems() > 0 ? 0 : 3;
}

// Names every piece of litter that a case would still see; 0 when there is none.
int Clean()
{
    int seen = 0;
    auto saw = [&](const char* what) {
        std::printf("still there: %s\n", what);
        ++seen;
    };
    if (GetFileAttributesA(LitterFolder) != INVALID_FILE_ATTRIBUTES)
        saw(LitterFolder);
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, LitterKey, 0, KEY_READ, &k) == ERROR_SUCCESS) {
        RegCloseKey(k);
        saw(LitterKey);
    }
    char color[64] = {};
    DWORD size = sizeof color - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, ColorsKey, "ActiveBorder", RRF_RT_REG_SZ, nullptr, color, &size) ==
            ERROR_SUCCESS &&
        std::strcmp(color, LitterColor) == 0)
        saw("the changed colour");
    if (BinItems() != 0)
        saw("items in the Recycle Bin");
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe))
        if (pe.th32ProcessID != GetCurrentProcessId() && lstrcmpiA(pe.szExeFile, "testhelper.exe") == 0)
            saw("another testhelper.exe");
    CloseHandle(snap);
    std::printf("%d seen\n", seen);
    return seen ? 1 : 0;
}

// Starts a copy of itself that stays for two minutes, and does not wait for it.
int Linger(const char* self)
{
    std::string cmd = std::string("\"") + self + "\" sleep";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 2;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}

// A key owned by the system that the user may only read: no one in the sandbox deletes it.
int Stuck()
{
    PSECURITY_DESCRIPTOR sd = nullptr;
    HKEY k;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("O:SYD:(A;;KR;;;WD)", SDDL_REVISION_1, &sd, nullptr) ||
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QueloraStuck", 0, nullptr, 0, WRITE_DAC | WRITE_OWNER, nullptr,
                        &k, nullptr) != ERROR_SUCCESS)
        return 2;
    LONG rc = RegSetKeySecurity(k, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, sd);
    RegCloseKey(k);
    LocalFree(sd);
    return rc == ERROR_SUCCESS ? 0 : 3;
}

// Ends the program that started it, the keeper, with the exit code given after printing the
// words given, as Wine has been seen to end a start. Only the first time: its mark on C: tells
// the start made once more, which takes the mark away and says so.
int EndTheKeeperOnce(const char* words, UINT code)
{
    const char mark[] = "C:\\silent-once";
    if (DeleteFileA(mark)) {
        std::printf("started again\n");
        return 0;
    }
    DWORD parent = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe))
        if (pe.th32ProcessID == GetCurrentProcessId())
            parent = pe.th32ParentProcessID;
    CloseHandle(snap);
    HANDLE keeper = parent ? OpenProcess(PROCESS_TERMINATE, FALSE, parent) : nullptr;
    if (!keeper || !WriteText(mark, ""))
        return 2;
    std::fputs(words, stderr);
    std::fflush(stderr);
    if (!TerminateProcess(keeper, code))
        return 3;
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "hold") == 0) {
        HANDLE f = CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE)
            return 2;
        HANDLE ready = OpenEventA(EVENT_ALL_ACCESS, FALSE, argv[3]);
        HANDLE quit = OpenEventA(EVENT_ALL_ACCESS, FALSE, argv[4]);
        if (!ready || !quit)
            return 3;
        SetEvent(ready);
        WaitForSingleObject(quit, 60000);
        CloseHandle(f);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "folders") == 0) {
        CShellFoldersContainer folders;
        TStringList out;
        for (int i = 0; i < CShellFoldersContainer::Count; ++i)
            out.Add(IntToStr(i) + "=" + folders[i]);
        out.Add(std::string("NT4=") + (IsWinNT4OrOlder() ? "1" : "0"));
        out.Add(std::string("W2K=") + (IsWin2000OrLater() ? "1" : "0"));
        out.SaveToFile(argv[2]);
        return 0;
    }
    if (argc == 2) {
        std::string verb = argv[1];
        if (verb == "litter")
            return Litter();
        if (verb == "clean")
            return Clean();
        if (verb == "linger")
            return Linger(argv[0]);
        if (verb == "sleep") {
            Sleep(120000);
            return 0;
        }
        if (verb == "stuck")
            return Stuck();
        if (verb == "silentonce")
            return EndTheKeeperOnce("", 1);
        if (verb == "exitfaultonce")
            return EndTheKeeperOnce("Inconsistency detected by ld.so: dl-fini.c: 87: _dl_fini: Assertion\n", 127);
    }
    return 1;
}
