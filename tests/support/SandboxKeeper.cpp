// Keeps the cases of one test group from seeing each other's traces. The group's sandbox is
// recorded once, when it is ready; after every case the keeper compares the sandbox with that
// record and undoes what the case left: files and folders on C:, keys and values of the
// user's hive and of the machine's software, the Recycle Bin, programs still running. What
// it cannot undo (a file of the sandbox changed or removed, a key it may not delete, a
// program that had to be ended) it reports as left behind.
//
//   sandboxkeeper record > STATE               the sandbox as it is now
//   sandboxkeeper run PROGRAM [ARGS] < STATE   run the program, then undo what it left;
//                                              exits with the program's code, or with 98
//                                              when something was left behind
//   sandboxkeeper check < STATE                report every difference, undo nothing
//
// Not looked at: access lists of keys and files that stay, the contents of files that
// keep their size and time, the machine's system branch. It runs inside the sandbox like
// every test program and refuses to run anywhere else.
#include "SandboxGuard.h"
#include "SandboxState.h"
#include "WineRegistryFile.h"

#include <windows.h>
#include <aclapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace sandbox;

// What a comparison found, in the words of the report.
class Report {
public:
    void Undone(const std::string& what) { Add(UndoneLines, what); }
    void Left(const std::string& what) { Add(LeftLines, what); }
    bool Clean() const { return UndoneLines.empty() && LeftLines.empty(); }
    bool AllUndone() const { return LeftLines.empty(); }
    void Print() const
    {
        if (!UndoneLines.empty())
            std::printf("sandbox: undone after the case (%zu):\n", UndoneLines.size());
        Lines(UndoneLines);
        if (!LeftLines.empty())
            std::printf("sandbox: LEFT BEHIND, the next case would see it (%zu):\n", LeftLines.size());
        Lines(LeftLines);
        std::fflush(stdout);
    }

private:
    static void Add(std::vector<std::string>& to, const std::string& what) { to.push_back(what); }
    static void Lines(const std::vector<std::string>& lines)
    {
        const size_t shown = 40;
        for (size_t i = 0; i < lines.size() && i < shown; ++i)
            std::printf("  %s\n", lines[i].c_str());
        if (lines.size() > shown)
            std::printf("  ... and %zu more\n", lines.size() - shown);
    }
    std::vector<std::string> UndoneLines, LeftLines;
};

// A key whose access list keeps even its creator out: taken over, its list is rewritten.
void Unlock(HKEY root, const std::wstring& path)
{
    HKEY key;
    static std::vector<BYTE> user = [] {
        std::vector<BYTE> buf(256);
        HANDLE token;
        DWORD len = 0;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
            GetTokenInformation(token, TokenUser, buf.data(), static_cast<DWORD>(buf.size()), &len);
            CloseHandle(token);
        }
        return buf;
    }();
    if (RegOpenKeyExW(root, path.c_str(), 0, WRITE_OWNER, &key) == ERROR_SUCCESS) {
        SetSecurityInfo(key, SE_REGISTRY_KEY, OWNER_SECURITY_INFORMATION,
                        reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, nullptr, nullptr, nullptr);
        RegCloseKey(key);
    }
    if (RegOpenKeyExW(root, path.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
    }
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS)
        return;
    std::vector<std::wstring> children;
    wchar_t sub[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = 256;
        if (RegEnumKeyExW(key, i, sub, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.emplace_back(sub, len);
    }
    RegCloseKey(key);
    for (const std::wstring& c : children)
        Unlock(root, path + L"\\" + c);
}

bool DeleteKey(HKEY root, const std::wstring& path)
{
    if (SHDeleteKeyW(root, path.c_str()) == ERROR_SUCCESS)
        return true;
    Unlock(root, path);
    return SHDeleteKeyW(root, path.c_str()) == ERROR_SUCCESS;
}

bool SetValue(HKEY root, const std::wstring& path, const wine_registry::Value& v)
{
    HKEY key;
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!wine_registry::Decode(v.Data, type, data) || type == REG_LINK ||
        RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExW(key, v.Name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    LONG rc = RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

// Programs a case started and did not wait for get two seconds to end on their own.
void CompareProcesses(const State& was, bool undo, Report& r)
{
    State now;
    ScanProcesses(now);
    std::vector<std::pair<HANDLE, std::string>> running;
    for (const auto& p : now.Processes) {
        auto before = was.Processes.find(p.first);
        if ((before != was.Processes.end() && before->second.Image == p.second.Image) || SystemProcess(p.second.Image))
            continue;
        std::string what = "program still running: " + Utf8(p.second.Image) + " (" + std::to_string(p.first) + ")";
        HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, p.first);
        if (h)
            running.emplace_back(h, what);
        else
            r.Left(what);
    }
    DWORD until = GetTickCount() + 2000;
    for (auto& p : running) {
        DWORD now = GetTickCount();
        if (WaitForSingleObject(p.first, until > now ? until - now : 0) == WAIT_OBJECT_0) {
        } else if (undo && TerminateProcess(p.first, 1)) {
            WaitForSingleObject(p.first, 5000);
            r.Left(p.second + ", ended by the sandbox");
        } else {
            r.Left(p.second);
        }
        CloseHandle(p.first);
    }
}

void CompareFiles(const State& was, const State& now, bool undo, Report& r)
{
    // Deepest first, so that a folder is empty when its turn comes.
    for (auto it = now.Files.rbegin(); it != now.Files.rend(); ++it) {
        if (was.Files.count(it->first))
            continue;
        const FileEntry& e = it->second;
        std::string what = std::string(e.Directory ? "folder " : "file ") + Utf8(e.Path);
        if (!undo) {
            r.Left("new " + what);
            continue;
        }
        SetFileAttributesW(e.Path.c_str(), FILE_ATTRIBUTE_NORMAL);
        bool gone = e.Directory ? RemoveDirectoryW(e.Path.c_str()) : DeleteFileW(e.Path.c_str());
        if (gone)
            r.Undone("made " + what);
        else
            r.Left("made " + what + " (cannot remove it: error " + std::to_string(GetLastError()) + ")");
    }
    for (const auto& f : was.Files) {
        const FileEntry& e = f.second;
        auto it = now.Files.find(f.first);
        std::string what = std::string(e.Directory ? "folder " : "file ") + Utf8(e.Path);
        if (it == now.Files.end()) {
            if (e.Directory && undo && CreateDirectoryW(e.Path.c_str(), nullptr)) {
                SetFileAttributesW(e.Path.c_str(), e.Attributes);
                r.Undone("removed " + what);
            } else {
                r.Left("removed " + what);
            }
            continue;
        }
        const FileEntry& n = it->second;
        if (n.Directory != e.Directory || n.Size != e.Size || n.Written != e.Written) {
            r.Left("changed " + what);
        } else if (n.Attributes != e.Attributes) {
            if (undo && SetFileAttributesW(e.Path.c_str(), e.Attributes))
                r.Undone("changed the attributes of " + what);
            else
                r.Left("changed the attributes of " + what);
        }
    }
}

std::set<std::string> AllKeys(const std::map<std::string, wine_registry::Section>& sections)
{
    std::set<std::string> keys;
    for (const auto& s : sections)
        for (const std::string& p : wine_registry::PathAndParents(s.first))
            keys.insert(p);
    return keys;
}

std::map<std::wstring, wine_registry::Value> ValuesByName(const std::string& body)
{
    std::map<std::wstring, wine_registry::Value> values;
    for (const wine_registry::Value& v : wine_registry::Values(body))
        values[Upper(v.Name)] = v;
    return values;
}

std::string KeyName(const Root& root, const std::string& path)
{
    return Utf8(root.Name) + "\\" + Utf8(wine_registry::Unescape(path));
}

// The values of one key, given as the lines of its section before and now.
void CompareValues(const Root& root, const std::string& key, const std::string& wasBody, const std::string& nowBody,
                   bool undo, Report& r)
{
    const std::wstring path = wine_registry::Unescape(key);
    auto before = ValuesByName(wasBody), after = ValuesByName(nowBody);
    for (const auto& v : before) {
        auto a = after.find(v.first);
        if (a != after.end() && a->second.Data == v.second.Data)
            continue;
        std::string what = std::string(a == after.end() ? "removed" : "changed") + " registry value " +
                           KeyName(root, key) + " \"" + Utf8(v.second.Name) + "\"";
        (undo && SetValue(root.Handle, path, v.second) ? r.Undone(what) : r.Left(what));
    }
    for (const auto& v : after) {
        if (before.count(v.first))
            continue;
        std::string what = "registry value " + KeyName(root, key) + " \"" + Utf8(v.second.Name) + "\"";
        if (!undo)
            r.Left("new " + what);
        else if (DeleteValue(root.Handle, path, v.second.Name))
            r.Undone("made " + what);
        else
            r.Left("made " + what + " (cannot delete it)");
    }
}

void CompareHive(const Root& root, const std::string& wasText, const std::string& nowText, bool undo, Report& r)
{
    auto was = wine_registry::Sections(wasText), now = wine_registry::Sections(nowText);
    std::set<std::string> wasKeys = AllKeys(was), nowKeys = AllKeys(now);
    // A new key goes with everything below it; only the topmost of a new branch is named.
    for (const std::string& k : nowKeys) {
        std::vector<std::string> up = wine_registry::PathAndParents(k);
        if (wasKeys.count(k) || (up.size() > 1 && !wasKeys.count(up[up.size() - 2])))
            continue;
        auto section = now.find(k);
        bool link = section != now.end() && section->second.Link;
        std::string what = "registry key " + KeyName(root, k);
        if (!undo)
            r.Left("new " + what);
        else if (!link && DeleteKey(root.Handle, wine_registry::Unescape(k)))
            r.Undone("made " + what);
        else
            r.Left("made " + what + " (cannot delete it)");
    }
    for (const std::string& k : wasKeys) {
        if (nowKeys.count(k))
            continue;
        HKEY key;
        bool made = undo && RegCreateKeyExW(root.Handle, wine_registry::Unescape(k).c_str(), 0, nullptr, 0, KEY_READ,
                                            nullptr, &key, nullptr) == ERROR_SUCCESS;
        if (made)
            RegCloseKey(key);
        (made ? r.Undone("removed registry key " + KeyName(root, k)) : r.Left("removed registry key " + KeyName(root, k)));
    }
    // Values of the keys that were there before, where the key's lines differ.
    std::set<std::string> sectioned;
    for (const auto& w : was)
        sectioned.insert(w.first);
    for (const auto& n : now)
        if (wasKeys.count(n.first))
            sectioned.insert(n.first);
    for (const std::string& k : sectioned) {
        auto w = was.find(k), n = now.find(k);
        const std::string before = w == was.end() ? std::string() : w->second.Body;
        const std::string after = n == now.end() ? std::string() : n->second.Body;
        if (before != after)
            CompareValues(root, k, before, after, undo, r);
    }
}

void CompareRegistry(const State& was, const State& now, bool undo, Report& r)
{
    for (const Root* root = Roots(); root->Name; ++root) {
        auto w = was.Hives.find(Utf8(root->Name)), n = now.Hives.find(Utf8(root->Name));
        if (w != was.Hives.end() && n != now.Hives.end() && w->second != n->second)
            CompareHive(*root, w->second, n->second, undo, r);
    }
}

void CompareBin(const State& was, const State& now, bool undo, Report& r)
{
    if (now.BinItems == was.BinItems)
        return;
    std::string what = "Recycle Bin holds " + std::to_string(now.BinItems) + " items, " + std::to_string(was.BinItems) +
                       " before";
    if (undo && was.BinItems == 0 &&
        SUCCEEDED(SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND)))
        r.Undone(what);
    else
        r.Left(what);
}

// Compares the sandbox with the record, undoing the differences when asked to.
Report Compare(const State& was, bool undo, const HiveWatch* watch)
{
    Report r;
    // Programs first: they may hold the files and keys that are to go.
    CompareProcesses(was, undo, r);
    State now;
    if (!Scan(now, &was, watch)) {
        r.Left("the sandbox could not be looked at");
        return r;
    }
    CompareFiles(was, now, undo, r);
    CompareRegistry(was, now, undo, r);
    CompareBin(was, now, undo, r);
    return r;
}

// The argument as the program's command line must give it back.
std::wstring Quoted(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    return out + L"\"";
}

// Runs the program with this program's output and no input; its exit code, or -1.
long RunChild(int argc, wchar_t** argv)
{
    std::wstring line;
    for (int i = 0; i < argc; ++i)
        line += (i ? L" " : L"") + Quoted(argv[i]);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE none = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                              nullptr);
    HANDLE out = nullptr, err = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_OUTPUT_HANDLE), GetCurrentProcess(), &out, 0, TRUE,
                    DUPLICATE_SAME_ACCESS);
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_ERROR_HANDLE), GetCurrentProcess(), &err, 0, TRUE,
                    DUPLICATE_SAME_ACCESS);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = none;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi = {};
    std::vector<wchar_t> cmd(line.begin(), line.end());
    cmd.push_back(0);
    long code = -1;
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD exit = 0;
        GetExitCodeProcess(pi.hProcess, &exit);
        code = static_cast<long>(exit);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    } else {
        std::fprintf(stderr, "sandboxkeeper: cannot start %ls (error %lu)\n", argv[0], GetLastError());
    }
    for (HANDLE h : {none, out, err})
        if (h && h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    return code;
}

}  // namespace

int main()
{
    if (!InSandbox()) {
        std::fprintf(stderr, "refusing to run: not inside the test sandbox (scripts/sandbox)\n");
        return 97;
    }
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring cmd = argc >= 2 ? argv[1] : L"";
    // Undoing a key that shuts its creator out takes ownership.
    wine_registry::EnablePrivilege("SeRestorePrivilege");
    wine_registry::EnablePrivilege("SeTakeOwnershipPrivilege");
    if (cmd == L"record" && argc == 2) {
        State s;
        if (!Scan(s))
            return 2;
        Write(s);
        return 0;
    }
    if ((cmd == L"run" && argc >= 3) || (cmd == L"check" && argc == 2)) {
        State was;
        if (!Read(was)) {
            std::fprintf(stderr, "sandboxkeeper: the recorded state is incomplete or malformed\n");
            return 2;
        }
        std::unique_ptr<HiveWatch> watch;
        long code = 0;
        if (cmd == L"run") {
            watch.reset(new HiveWatch);
            code = RunChild(argc - 2, argv + 2);
        }
        if (code != 0)
            std::printf("sandboxkeeper: the program ended with exit code %ld (0x%lx)\n", code,
                        static_cast<unsigned long>(code));
        std::fflush(stdout);
        Report r = Compare(was, cmd == L"run", watch.get());
        r.Print();
        // Linux sees the low byte of the code alone: a failure must not read as 0 there.
        if (code != 0)
            return code == -1 || (code & 0xFF) == 0 ? 2 : static_cast<int>(code);
        return r.AllUndone() && (cmd == L"run" || r.Clean()) ? 0 : 98;
    }
    std::fprintf(stderr, "usage: sandboxkeeper record | run PROGRAM [ARGS] | check\n");
    return 2;
}
