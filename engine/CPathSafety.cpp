#include "CPathSafety.h"

#include "SysUtils.h"

#include <windows.h>

#include <cctype>

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
        if (part == "." || part == "..")
            return false;
        i = e + 1;
    }
    return true;
}

static std::string Normal(const std::string& p)
{
    std::string s = p;
    for (char& c : s)
        if (c == '/')
            c = '\\';
    while (s.size() > 3 && s.back() == '\\')
        s.pop_back();
    return s;
}

static std::string SystemPath(UINT (WINAPI* get)(LPSTR, UINT))
{
    char buf[MAX_PATH + 1];
    UINT n = get(buf, sizeof buf);
    return (n > 0 && n < sizeof buf) ? std::string(buf, n) : std::string();
}

static bool IsRoot(const std::string& f)
{
    if (f.size() >= 2 && f.size() <= 3 && std::isalpha(static_cast<unsigned char>(f[0])) && f[1] == ':')
        return true;
    size_t root = RootLength(f + "\\");
    return root == 0 || root >= f.size();
}

bool CPathSafety::IsProtectedFolder(const std::string& folder)
{
    std::string f = Normal(folder);
    if (IsRoot(f))
        return true;
    for (const std::string& sys : {SystemPath(GetWindowsDirectoryA), SystemPath(GetSystemDirectoryA)})
        if (!sys.empty() && SameText(f, Normal(sys)))
            return true;
    return false;
}

bool CPathSafety::IsTreeAllowed(const std::string& folder)
{
    return IsAbsolute(folder) && !IsProtectedFolder(folder);
}
