#include "WineRegistryFile.h"

#include <algorithm>
#include <cstdlib>

namespace wine_registry {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The text from pos up to the first unescaped `end`; pos is left past `end`.
std::wstring Unescape(const std::string& s, size_t& pos, char end)
{
    std::wstring out;
    while (pos < s.size() && s[pos] != end) {
        char c = s[pos++];
        if (c != '\\' || pos >= s.size()) {
            out += static_cast<wchar_t>(static_cast<unsigned char>(c));
            continue;
        }
        char e = s[pos++];
        unsigned v = 0;
        switch (e) {
        case 'a': out += L'\a'; break;
        case 'b': out += L'\b'; break;
        case 't': out += L'\t'; break;
        case 'n': out += L'\n'; break;
        case 'v': out += L'\v'; break;
        case 'f': out += L'\f'; break;
        case 'r': out += L'\r'; break;
        case 'e': out += static_cast<wchar_t>(27); break;
        case 'x':
            for (int n = 0; n < 4 && pos < s.size() && HexDigit(s[pos]) >= 0; ++n)
                v = v * 16 + static_cast<unsigned>(HexDigit(s[pos++]));
            out += static_cast<wchar_t>(v);
            break;
        default:
            if (e >= '0' && e <= '7') {
                v = static_cast<unsigned>(e - '0');
                for (int n = 1; n < 3 && pos < s.size() && s[pos] >= '0' && s[pos] <= '7'; ++n)
                    v = v * 8 + static_cast<unsigned>(s[pos++] - '0');
                out += static_cast<wchar_t>(v);
            } else {
                out += static_cast<wchar_t>(static_cast<unsigned char>(e));
            }
        }
    }
    if (pos < s.size())
        ++pos;
    return out;
}

// The line at pos without its end; pos is left at the next one.
std::string PhysicalLine(const std::string& text, size_t& pos)
{
    size_t end = text.find('\n', pos);
    if (end == std::string::npos)
        end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// Where the "[path]" that begins at `open` ends: the first ']' that no '\' escapes.
size_t PathEnd(const std::string& line, size_t open)
{
    size_t i = open + 1;
    while (i < line.size() && line[i] != ']')
        i += line[i] == '\\' ? 2 : 1;
    return i;
}

// One logical line: binary data goes on after ",\" with the next line's indent dropped.
bool NextLine(const std::string& text, size_t& pos, std::string& line)
{
    if (pos >= text.size())
        return false;
    line.clear();
    while (pos < text.size()) {
        std::string part = PhysicalLine(text, pos);
        if (!line.empty())
            part.erase(0, part.find_first_not_of(' '));
        bool more = part.size() >= 2 && part.compare(part.size() - 2, 2, ",\\") == 0;
        line += more ? part.substr(0, part.size() - 1) : part;
        if (!more)
            break;
    }
    return true;
}

std::vector<BYTE> Bytes(const std::wstring& s)
{
    const BYTE* p = reinterpret_cast<const BYTE*>(s.c_str());
    return std::vector<BYTE>(p, p + (s.size() + 1) * sizeof(wchar_t));
}

}  // namespace

bool EnablePrivilege(const char* name)
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES tp = {};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool ok = LookupPrivilegeValueA(nullptr, name, &tp.Privileges[0].Luid) &&
              AdjustTokenPrivileges(token, FALSE, &tp, sizeof tp, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return ok;
}

bool Save(HKEY key, const std::wstring& file, std::string& text)
{
    static const bool backup = EnablePrivilege("SeBackupPrivilege");
    (void)backup;
    DeleteFileW(file.c_str());
    text.clear();
    LONG rc = RegSaveKeyW(key, file.c_str(), nullptr);
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char buf[1 << 16];
    DWORD got = 0;
    while (h != INVALID_HANDLE_VALUE && ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
        text.append(buf, got);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    DeleteFileW(file.c_str());
    SetLastError(static_cast<DWORD>(rc));
    return rc == ERROR_SUCCESS && !text.empty();
}

std::string WithoutTimes(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    size_t pos = text.find("\n[");
    pos = pos == std::string::npos ? text.size() : pos + 1;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        if (text.compare(pos, 6, "#time=") != 0) {
            size_t keep = end;
            // "[path] time": the time goes.
            if (text[pos] == '[')
                keep = std::min(PathEnd(text, pos) + 1, end);
            out.append(text, pos, keep - pos);
            if (keep != end)
                out += '\n';
        }
        pos = end;
    }
    return out;
}

std::map<std::string, Section> Sections(const std::string& text)
{
    std::map<std::string, Section> sections;
    Section* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        std::string line = PhysicalLine(text, pos);
        if (!line.empty() && line[0] == '[') {
            std::string path = line.substr(1, PathEnd(line, 0) - 1);
            current = &sections[path];
            current->Path = path;
        } else if (!current || line.compare(0, 6, "#time=") == 0) {
            continue;
        } else if (line == "#link") {
            current->Link = true;
        } else if (!line.empty()) {
            current->Body += line;
            current->Body += '\n';
        }
    }
    return sections;
}

std::vector<std::string> PathAndParents(const std::string& path)
{
    std::vector<std::string> out;
    for (size_t i = 0; i < path.size(); i += path[i] == '\\' ? 2 : 1)
        if (path.compare(i, 2, "\\\\") == 0)
            out.push_back(path.substr(0, i));
    out.push_back(path);
    return out;
}

std::wstring Unescape(const std::string& escaped)
{
    size_t pos = 0;
    return Unescape(escaped, pos, '\0');
}

std::vector<Value> Values(const std::string& body)
{
    std::vector<Value> values;
    size_t pos = 0;
    std::string line;
    while (NextLine(body, pos, line)) {
        size_t i = 1;
        if (line.compare(0, 2, "@=") == 0) {
            values.push_back({std::wstring(), line.substr(2)});
        } else if (!line.empty() && line[0] == '"') {
            std::wstring name = Unescape(line, i, '"');
            if (i < line.size() && line[i] == '=')
                values.push_back({name, line.substr(i + 1)});
        }
    }
    return values;
}

bool Decode(const std::string& data, DWORD& type, std::vector<BYTE>& bytes)
{
    size_t i = 0;
    if (data.compare(0, 4, "str(") == 0) {
        char* end = nullptr;
        type = static_cast<DWORD>(std::strtoul(data.c_str() + 4, &end, 16));
        i = static_cast<size_t>(end - data.c_str());
        if (data.compare(i, 3, "):\"") != 0)
            return false;
        i += 3;
        bytes = Bytes(Unescape(data, i, '"'));
        return true;
    }
    if (!data.empty() && data[0] == '"') {
        type = REG_SZ;
        i = 1;
        bytes = Bytes(Unescape(data, i, '"'));
        return true;
    }
    if (data.compare(0, 6, "dword:") == 0 && data.size() == 14) {
        DWORD v = static_cast<DWORD>(std::strtoul(data.c_str() + 6, nullptr, 16));
        type = REG_DWORD;
        bytes.assign(reinterpret_cast<BYTE*>(&v), reinterpret_cast<BYTE*>(&v) + sizeof v);
        return true;
    }
    if (data.compare(0, 4, "hex:") == 0) {
        type = REG_BINARY;
        i = 4;
    } else if (data.compare(0, 4, "hex(") == 0) {
        char* end = nullptr;
        type = static_cast<DWORD>(std::strtoul(data.c_str() + 4, &end, 16));
        i = static_cast<size_t>(end - data.c_str());
        if (data.compare(i, 2, "):") != 0)
            return false;
        i += 2;
    } else {
        return false;
    }
    bytes.clear();
    for (; i + 1 < data.size(); i += 3) {
        int hi = HexDigit(data[i]), lo = HexDigit(data[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes.push_back(static_cast<BYTE>(hi * 16 + lo));
    }
    return true;
}

}  // namespace wine_registry
