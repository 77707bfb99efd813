#include "CProtectedPlaces.h"

#include "CPathSafety.h"
#include "SysUtils.h"

#include <windows.h>
#include <shlobj.h>

#include <mutex>

namespace {

// The places below the Windows folder that the cleaners work in: the Temp folder of Windows
// 9x, the downloaded controls, and the shell folders that Windows 9x keeps there (for each
// user below "Profiles", as NT 4 does too). Nothing else below the Windows folder is cleaned.
const char* const OpenBelowWindows[] = {
    "Temp",
    "Downloaded Program Files",
    "Temporary Internet Files",
    "Cookies",
    "History",
    "Recent",
    "Application Data\\Microsoft\\Office",
    "Application Data\\Mozilla",
    "Profiles\\*\\Temporary Internet Files",
    "Profiles\\*\\Cookies",
    "Profiles\\*\\History",
    "Profiles\\*\\Recent",
    "Profiles\\*\\Application Data\\Microsoft\\Office",
    "Profiles\\*\\Application Data\\Mozilla",
};

// The user's own folders: as whole targets never cleaned, whatever a setting names.
const int DocumentFolders[] = {
    CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL,          CSIDL_FAVORITES,        CSIDL_MYPICTURES,
    CSIDL_MYMUSIC,          CSIDL_MYVIDEO,           CSIDL_STARTMENU,        CSIDL_PROGRAMS,
    CSIDL_STARTUP,          CSIDL_SENDTO,            CSIDL_TEMPLATES,        CSIDL_NETHOOD,
    CSIDL_PRINTHOOD,        CSIDL_APPDATA,           CSIDL_LOCAL_APPDATA,    CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_STARTMENU,  CSIDL_COMMON_PROGRAMS,  CSIDL_COMMON_FAVORITES,
    CSIDL_COMMON_APPDATA,   CSIDL_PROGRAM_FILES,     CSIDL_PROGRAM_FILESX86,
};

const char ProfileListKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
const char CurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

// The path lies at or below the pattern's place, "*" standing for any one name.
bool MatchesOpen(const std::string& path, const std::string& pattern)
{
    size_t i = 0, j = 0;
    while (j < pattern.size()) {
        size_t pe = pattern.find('\\', j), e = path.find('\\', i);
        if (pe == std::string::npos)
            pe = pattern.size();
        if (e == std::string::npos)
            e = path.size();
        if (i >= path.size())
            return false;
        std::string want = pattern.substr(j, pe - j);
        if (want != "*" && !SameText(path.substr(i, e - i), want))
            return false;
        i = e + 1;
        j = pe + 1;
    }
    return true;
}

std::string Expanded(const std::string& s)
{
    char buf[4 * MAX_PATH];
    DWORD n = ExpandEnvironmentStringsA(s.c_str(), buf, sizeof buf);
    return n > 0 && n <= sizeof buf ? std::string(buf) : std::string();
}

std::string Variable(const char* name)
{
    char buf[4 * MAX_PATH];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

// A text value, its references expanded ("" when missing or no text).
std::string RegistryText(HKEY root, const std::string& key, const char* value, REGSAM view = 0)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &k) != ERROR_SUCCESS)
        return std::string();
    char buf[4 * MAX_PATH];
    DWORD type = 0, size = sizeof buf - 1;
    LONG r = RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    buf[size] = '\0';
    return type == REG_EXPAND_SZ ? Expanded(buf) : std::string(buf);
}

template <class F>
F Export(const char* library, const char* name)
{
    HMODULE m = LoadLibraryA(library);
    return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

std::string ShellFolder(int csidl)
{
    using Get = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    static const Get get = [] {
        Get g = Export<Get>("shell32.dll", "SHGetFolderPathA");
        return g ? g : Export<Get>("shfolder.dll", "SHGetFolderPathA");
    }();
    char buf[MAX_PATH + 1];
    return get && get(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, 0, buf) == S_OK ? std::string(buf)
                                                                                         : std::string();
}

std::string SystemFolder(const char* name)
{
    using Get = UINT(WINAPI*)(LPSTR, UINT);
    const Get get = reinterpret_cast<Get>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
    char buf[MAX_PATH + 1];
    UINT n = get ? get(buf, sizeof buf) : 0;
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

std::string ProgramFolder()
{
    char buf[4 * MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    std::string p(buf, n < sizeof buf ? n : 0);
    size_t slash = p.find_last_of('\\');
    return slash == std::string::npos ? std::string() : p.substr(0, slash);
}

}  // namespace

std::string CProtectedPlaces::UserEnvFolder(const char* call)
{
    using Get = BOOL(WINAPI*)(LPSTR, LPDWORD);
    // The library once, each folder by a call of its own.
    static const HMODULE userenv = LoadLibraryA("userenv.dll");
    const Get get = userenv ? reinterpret_cast<Get>(reinterpret_cast<void*>(GetProcAddress(userenv, call))) : nullptr;
    char buf[4 * MAX_PATH];
    DWORD size = sizeof buf;
    return get && get(buf, &size) ? std::string(buf) : std::string();
}

CProtectedPlaces::CProtectedPlaces()
{
    const std::string windows = SystemFolder("GetWindowsDirectoryA");
    for (const char* f : {"GetWindowsDirectoryA", "GetSystemWindowsDirectoryA", "GetSystemDirectoryA",
                          "GetSystemWow64DirectoryA"})
        AddTree(SystemFolder(f));
    if (!windows.empty()) {
        AddTree(windows + "\\Sysnative");   // a 32-bit program's way to the real system folder
        const std::string base = CPathSafety::Resolved(windows);
        for (const char* open : OpenBelowWindows)
            Open.push_back(base + "\\" + open);
    }
    // Quelora's own folder: where the main program says it lies, and where this program lies.
    AddTree(RegistryText(HKEY_CURRENT_USER, "Software\\Ostrand\\Quelora\\Data", "InstallationPath"));
    AddTree(ProgramFolder());

    for (const std::string& p : {UserEnvFolder("GetProfilesDirectoryA"),
                                 RegistryText(HKEY_LOCAL_MACHINE, ProfileListKey, "ProfilesDirectory")}) {
        std::string r = p.empty() ? p : CPathSafety::Resolved(p);
        if (CPathSafety::IsAbsolute(r))
            Profiles.push_back(r);
    }
    HKEY list;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProfileListKey, 0, KEY_ENUMERATE_SUB_KEYS, &list) == ERROR_SUCCESS) {
        char name[256];
        for (DWORD i = 0; RegEnumKeyA(list, i, name, sizeof name) == ERROR_SUCCESS; ++i)
            AddTarget(RegistryText(HKEY_LOCAL_MACHINE, std::string(ProfileListKey) + "\\" + name, "ProfileImagePath"));
        RegCloseKey(list);
    }
    for (const char* name : {"GetAllUsersProfileDirectoryA", "GetDefaultUserProfileDirectoryA"})
        AddTarget(UserEnvFolder(name));
    for (const char* name : {"USERPROFILE", "ALLUSERSPROFILE", "PUBLIC", "ProgramData", "ProgramFiles",
                             "ProgramFiles(x86)", "ProgramW6432"})
        AddTarget(Variable(name));
    for (REGSAM view : {REGSAM(0), REGSAM(KEY_WOW64_64KEY), REGSAM(KEY_WOW64_32KEY)})
        for (const char* value : {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir"})
            AddTarget(RegistryText(HKEY_LOCAL_MACHINE, CurrentVersionKey, value, view));
    for (int csidl : DocumentFolders)
        AddTarget(ShellFolder(csidl));
}

std::shared_ptr<const CProtectedPlaces> CProtectedPlaces::Recent()
{
    static std::mutex lock;
    static std::shared_ptr<const CProtectedPlaces> places;
    static DWORD readAt = 0;
    std::lock_guard<std::mutex> guard(lock);
    DWORD now = GetTickCount();
    if (!places || now - readAt > 2000) {
        places = std::make_shared<const CProtectedPlaces>();
        readAt = now;
    }
    return places;
}

void CProtectedPlaces::AddTree(const std::string& path)
{
    std::string r = path.empty() ? path : CPathSafety::Resolved(path);
    if (CPathSafety::IsAbsolute(r))
        Trees.push_back(r);
}

void CProtectedPlaces::AddTarget(const std::string& path)
{
    std::string r = path.empty() ? path : CPathSafety::Resolved(path);
    if (CPathSafety::IsAbsolute(r))
        Targets.push_back(r);
}

// Below a tree and not in one of the open places that the tree holds (an open place never
// opens a tree of its own that lies below it, such as Quelora's folder inside a Temp folder).
bool CProtectedPlaces::InClosedTree(const std::string& folder) const
{
    for (const std::string& tree : Trees) {
        if (!CPathSafety::LiesBelow(folder, tree))
            continue;
        bool open = false;
        for (const std::string& place : Open)
            open = open || (CPathSafety::LiesBelow(place, tree) && place.size() > tree.size() &&
                            MatchesOpen(folder, place));
        if (!open)
            return true;
    }
    return false;
}

bool CProtectedPlaces::Covers(const std::string& folder) const
{
    if (folder.empty())
        return false;
    for (const std::vector<std::string>* list : {&Trees, &Targets, &Profiles})
        for (const std::string& place : *list)
            if (CPathSafety::LiesBelow(place, folder))
                return true;   // the place itself, or a folder that holds it
    for (const std::string& profiles : Profiles) {
        size_t slash = folder.find_last_of('\\');
        if (slash != std::string::npos && SameText(folder.substr(0, slash), profiles))
            return true;
    }
    return InClosedTree(folder);
}

bool CProtectedPlaces::Shelters(const std::string& folder) const
{
    return !folder.empty() && InClosedTree(folder);
}
