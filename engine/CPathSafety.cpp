#include "CPathSafety.h"

#include "CProtectedPlaces.h"
#include "SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <vector>

static bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Length of the root: "C:\" is 3, "\\server\share\" is up to and with the share's end.
static size_t RootLength(const std::string& p)
{
    if (p.size() >= 3 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':' && IsSeparator(p[2]))
        return 3;
    if (p.size() >= 2 && IsSeparator(p[0]) && IsSeparator(p[1])) {
        size_t server = p.find_first_of("\\/", 2);
        if (server == std::string::npos || server == 2)
            return 0;
        size_t share = p.find_first_of("\\/", server + 1);
        if (share == server + 1 || server + 1 == p.size())
            return 0;
        return share == std::string::npos ? p.size() : share + 1;
    }
    return 0;
}

bool CPathSafety::IsAbsolute(const std::string& path)
{
    size_t root = RootLength(path);
    if (root == 0)
        return false;
    // "\\?\" and "\\.\" names reach devices and bypass the checks below.
    if (path.size() > 2 && (path[2] == '?' || path[2] == '.') && IsSeparator(path[0]))
        return false;
    size_t i = root;
    while (i < path.size()) {
        size_t e = i;
        while (e < path.size() && !IsSeparator(path[e]))
            ++e;
        std::string part = path.substr(i, e - i);
        // A ':' after the drive names a stream of a file, never a file or folder of its own;
        // a part ending in a dot or a blank is opened as the shorter name, another entry.
        if (part == "." || part == ".." || part.find(':') != std::string::npos ||
            (!part.empty() && (part.back() == '.' || part.back() == ' ')))
            return false;
        i = e + 1;
    }
    return true;
}

static bool StartsWithText(const std::string& s, const std::string& prefix)
{
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

static std::string WindowsFolder()
{
    char buf[MAX_PATH + 1];
    UINT n = GetWindowsDirectoryA(buf, sizeof buf);
    return (n > 0 && n < sizeof buf) ? std::string(buf, n) : std::string();
}

// Splits at separators, dropping empty parts and each part's trailing dots and blanks, as
// the system does when it opens the name.
static std::vector<std::string> Parts(const std::string& s)
{
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == '\\') {
            if (part != "." && part != "..")
                while (!part.empty() && (part.back() == '.' || part.back() == ' '))
                    part.pop_back();
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += s[i];
        }
    }
    return parts;
}

// Device and share spellings of local names: "\\?\C:\x", "\\.\C:\x", "\\?\UNC\h\s\x",
// "\\h\C$\x" and "\\h\ADMIN$\x" (the Windows folder). Any host counts: a remote machine's
// Windows folder is no more ours to empty than the local one.
static std::string LocalSpelling(std::string p)
{
    for (char& c : p)
        if (c == '/')
            c = '\\';
    if (StartsWithText(p, "\\\\?\\UNC\\") || StartsWithText(p, "\\\\.\\UNC\\"))
        p = "\\\\" + p.substr(8);
    else if (StartsWithText(p, "\\\\?\\") || StartsWithText(p, "\\\\.\\") || StartsWithText(p, "\\??\\"))
        p = p.substr(4);
    if (p.size() < 2 || p[0] != '\\' || p[1] != '\\')
        return p;
    std::vector<std::string> parts = Parts(p.substr(2));
    if (parts.size() < 2)
        return p;
    std::string rest;
    for (size_t i = 2; i < parts.size(); ++i)
        rest += "\\" + parts[i];
    const std::string& share = parts[1];
    if (share.size() == 2 && std::isalpha(static_cast<unsigned char>(share[0])) && share[1] == '$')
        return std::string(1, share[0]) + ":" + (rest.empty() ? "\\" : rest);
    if (SameText(share, "ADMIN$"))
        return WindowsFolder() + rest;
    return p;
}

static std::string Joined(const std::string& root, const std::vector<std::string>& parts, size_t from)
{
    std::string s = root;
    for (size_t i = from; i < parts.size(); ++i)
        s += (s.empty() || s.back() == '\\' ? "" : "\\") + parts[i];
    return s;
}

std::string CPathSafety::Resolved(const std::string& path)
{
    std::string p = LocalSpelling(path);
    if (p.empty())
        return p;
    char buf[4 * MAX_PATH];
    DWORD n = GetFullPathNameA(p.c_str(), sizeof buf, buf, nullptr);
    if (n > 0 && n < sizeof buf)
        p = LocalSpelling(std::string(buf, n));
    // The system keeps blanks before a separator and doubled separators in some spellings;
    // rebuild from the cleaned parts below the root.
    bool unc = p.size() >= 2 && p[0] == '\\' && p[1] == '\\';
    std::vector<std::string> parts = Parts(unc ? p.substr(2) : p);
    if (parts.empty())
        return p;
    std::string root;
    size_t from = 1;
    if (unc && parts.size() >= 2) {
        root = "\\\\" + parts[0] + "\\" + parts[1];
        from = 2;
    } else if (!unc && parts[0].size() == 2 && parts[0][1] == ':') {
        root = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(parts[0][0])))) + ":\\";
    } else {
        return p;
    }
    std::string full = Joined(root, parts, from);
    n = GetLongPathNameA(full.c_str(), buf, sizeof buf);
    if (n > 0 && n < sizeof buf)
        full = std::string(buf, n);
    return full;
}

std::string CPathSafety::FinalPath(const std::string& folder)
{
    using FinalName = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    static const auto final = reinterpret_cast<FinalName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA")));
    if (!final)
        return std::string();
    std::string open = LocalSpelling(folder);
    if (open.size() == 2 && open[1] == ':')
        open += "\\";   // "C:" alone names the current folder of C:
    HANDLE h = CreateFileA(open.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    char buf[4 * MAX_PATH];
    DWORD n = final(h, buf, sizeof buf, 0);
    CloseHandle(h);
    return (n > 0 && n < sizeof buf) ? Resolved(std::string(buf, n)) : std::string();
}

bool CPathSafety::LiesBelow(const std::string& path, const std::string& folder)
{
    if (folder.empty() || !StartsWithText(path, folder))
        return false;
    // "C:\" ends in its separator; any other folder must be followed by one, or end the path.
    return path.size() == folder.size() || folder.back() == '\\' || path[folder.size()] == '\\';
}

static bool IsRoot(const std::string& f)
{
    if (f.size() >= 2 && f.size() <= 3 && std::isalpha(static_cast<unsigned char>(f[0])) && f[1] == ':' &&
        (f.size() == 2 || IsSeparator(f[2])))
        return true;
    size_t root = RootLength(f + "\\");
    return root == 0 || root >= f.size();
}

bool CPathSafety::IsProtectedFolder(const std::string& folder)
{
    return IsProtectedFolder(folder, *CProtectedPlaces::Recent());
}

bool CPathSafety::IsProtectedFolder(const std::string& folder, const CProtectedPlaces& places)
{
    std::string raw = folder;
    while (raw.size() > 3 && IsSeparator(raw.back()))
        raw.pop_back();
    if (IsRoot(raw))
        return true;
    for (const std::string& name : {Resolved(folder), FinalPath(folder)})
        if (!name.empty() && (IsRoot(name) || places.Covers(name)))
            return true;
    return false;
}

bool CPathSafety::IsTreeAllowed(const std::string& folder)
{
    return IsTreeAllowed(folder, *CProtectedPlaces::Recent());
}

bool CPathSafety::IsTreeAllowed(const std::string& folder, const CProtectedPlaces& places)
{
    if (!IsAbsolute(folder))
        return false;
    if (!IsProtectedFolder(folder, places))
        return true;
    TellRefusal(folder);
    return false;
}

bool CPathSafety::IsFileAllowed(const std::string& path, const CProtectedPlaces& places)
{
    if (!IsAbsolute(path))
        return false;
    // "C:" alone would name the current folder of C:, not its root.
    std::string folder = path.substr(0, std::max<size_t>(path.find_last_of("\\/"), 3));
    for (const std::string& name : {Resolved(folder), FinalPath(folder)})
        if (places.Shelters(name)) {
            TellRefusal(path);
            return false;
        }
    return true;
}

namespace {
std::atomic<CPathSafety::TRefusalLog> RefusalLog{nullptr};
}

void CPathSafety::SetRefusalLog(TRefusalLog log)
{
    RefusalLog = log;
}

void CPathSafety::TellRefusal(const std::string& path)
{
    if (TRefusalLog log = RefusalLog)
        log(path);
}

CPathSafety::TEntryKind CPathSafety::KindOf(unsigned long attributes, unsigned long reparseTag)
{
    bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return folder ? ekFolder : ekFile;
    if (reparseTag == 0)
        return ekUnknown;
    if (IsReparseTagNameSurrogate(reparseTag))
        return ekLink;
    return folder ? ekDataReparseFolder : ekDataReparseFile;
}
