#include "SysUtils.h"

#include "Exceptions.h"

#include <windows.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

std::string Copy(const std::string& s, int index, int count)
{
    if (count <= 0)
        return std::string();
    long long start = index < 1 ? 0 : static_cast<long long>(index) - 1;
    if (start >= static_cast<long long>(s.size()))
        return std::string();
    return s.substr(static_cast<size_t>(start), static_cast<size_t>(count));
}

std::string CopyFrom(const std::string& s, int index)
{
    return Copy(s, index, INT_MAX);
}

std::string IntToStr(long long value)
{
    return std::to_string(value);
}

int StrToInt(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    std::string t = s.substr(b, e - b);
    size_t digits = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    bool ok = t.size() > digits && t.size() - digits <= 10;
    for (size_t i = digits; ok && i < t.size(); ++i)
        ok = t[i] >= '0' && t[i] <= '9';
    long long v = ok ? std::strtoll(t.c_str(), nullptr, 10) : 0;
    if (!ok || v < INT_MIN || v > INT_MAX)
        throw EConvertError("'" + s + "' is not a valid integer value");
    return static_cast<int>(v);
}

int StrToIntDef(const std::string& s, int def)
{
    try {
        return StrToInt(s);
    } catch (const EConvertError&) {
        return def;
    }
}

static size_t NameStart(const std::string& path)
{
    size_t p = path.find_last_of("\\:/");
    return p == std::string::npos ? 0 : p + 1;
}

std::string ExtractFileExt(const std::string& path)
{
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < NameStart(path))
        return std::string();
    return path.substr(dot);
}

std::string ExtractFileName(const std::string& path)
{
    return path.substr(NameStart(path));
}

std::string ExtractFilePath(const std::string& path)
{
    return path.substr(0, NameStart(path));
}

std::string ChangeFileExt(const std::string& path, const std::string& ext)
{
    std::string old = ExtractFileExt(path);
    return path.substr(0, path.size() - old.size()) + ext;
}

std::string ExcludeTrailingBackslash(const std::string& path)
{
    if (!path.empty() && path.back() == '\\')
        return path.substr(0, path.size() - 1);
    return path;
}

static char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

static bool Match(const char* n, const char* m)
{
    // Iterative wildcard match with one backtrack point for the last star.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*n) {
        if (*m == '*') {
            star = m++;
            resume = n;
        } else if (*m == '?' || (*m && Lower(*m) == Lower(*n))) {
            ++m;
            ++n;
        } else if (star) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*m == '*')
        ++m;
    return *m == 0;
}

bool MatchesMask(const std::string& name, const std::string& mask)
{
    if (mask == "*.*")
        return true;
    // "name.*" also matches a name without any point, as the file system does.
    if (mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0 &&
        name.find('.') == std::string::npos &&
        Match(name.c_str(), mask.substr(0, mask.size() - 2).c_str()))
        return true;
    return Match(name.c_str(), mask.c_str());
}

bool FileExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CurrentTimeText()
{
    char buf[128];
    int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buf, sizeof buf);
    return n > 0 ? std::string(buf) : std::string();
}
