#include "SandboxState.h"

#include "WineRegistryFile.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <vector>

namespace sandbox {

std::string Utf8(const std::wstring& w)
{
    if (w.empty())
        return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

std::wstring Upper(std::wstring w)
{
    if (!w.empty())
        CharUpperBuffW(&w[0], static_cast<DWORD>(w.size()));
    return w;
}

bool SystemProcess(const std::wstring& image)
{
    static const wchar_t* const names[] = {L"EXPLORER.EXE", L"SERVICES.EXE", L"WINEDEVICE.EXE", L"PLUGPLAY.EXE",
                                           L"SVCHOST.EXE", L"RPCSS.EXE", L"CONHOST.EXE", L"WINEBOOT.EXE"};
    std::wstring u = Upper(image);
    for (const wchar_t* n : names)
        if (u == n)
            return true;
    return false;
}

// What programs and their tests write: the user's hive and the machine's software. The
// machine's system branch is left out: Wine rewrites its display and device keys whenever
// a program first opens a window.
const Root* Roots()
{
    static HKEY software = [] {
        HKEY key = nullptr;
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, MAXIMUM_ALLOWED, &key);
        return key;
    }();
    static const Root roots[] = {{L"HKCU", HKEY_CURRENT_USER}, {L"HKLM\\Software", software}, {nullptr, nullptr}};
    return roots;
}

namespace {

std::wstring Wide(const std::string& s)
{
    if (s.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
    return w;
}

// Names may hold any character but NUL: the record's separators are escaped.
std::string Escape(const std::wstring& w)
{
    std::string out;
    for (char c : Utf8(w)) {
        if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

std::wstring Unescape(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return Wide(out);
}

// The system's own folders, shared between sandboxes or never written by a test program,
// and the pictures that the sandbox hands to the build folder after each case.
bool SkippedFolder(const std::wstring& upperPath)
{
    return upperPath == L"C:\\WINDOWS\\SYSTEM32" || upperPath == L"C:\\WINDOWS\\SYSWOW64" ||
           upperPath == L"C:\\WINDOWS\\WINSXS" || upperPath == L"C:\\ARTIFACTS";
}

void ScanFiles(const std::wstring& folder, State& s)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> below;
    do {
        std::wstring n = fd.cFileName;
        if (n == L"." || n == L"..")
            continue;
        FileEntry e;
        e.Path = folder + L"\\" + n;
        e.Attributes = fd.dwFileAttributes;
        e.Directory = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!e.Directory) {
            e.Size = (static_cast<unsigned long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
            e.Written = (static_cast<unsigned long long>(fd.ftLastWriteTime.dwHighDateTime) << 32) |
                        fd.ftLastWriteTime.dwLowDateTime;
        }
        std::wstring key = Upper(e.Path);
        if (SkippedFolder(key))
            continue;
        // A link is recorded, never followed: what it leads to is not the sandbox's to undo.
        if (e.Directory && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            below.push_back(e.Path);
        s.Files[key] = e;
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    for (const std::wstring& b : below)
        ScanFiles(b, s);
}

bool ScanRegistry(const Root& root, State& s)
{
    wchar_t temp[MAX_PATH];
    GetWindowsDirectoryW(temp, MAX_PATH);
    std::wstring file = std::wstring(temp) + L"\\temp\\sandboxkeeper-" + std::to_wstring(GetCurrentProcessId()) + L".reg";
    std::string text;
    if (!wine_registry::Save(root.Handle, file, text)) {
        std::fprintf(stderr, "sandboxkeeper: cannot save %ls (error %lu)\n", root.Name, GetLastError());
        return false;
    }
    s.Hives[Utf8(root.Name)] = wine_registry::WithoutTimes(text);
    return true;
}

long long BinItems()
{
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinW(L"C:\\", &info)))
        return -1;
    return info.i64NumItems;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> f;
    for (size_t pos = 0;;) {
        size_t tab = line.find('\t', pos);
        f.push_back(line.substr(pos, tab == std::string::npos ? std::string::npos : tab - pos));
        if (tab == std::string::npos)
            return f;
        pos = tab + 1;
    }
}

std::string ReadInput()
{
    std::string data;
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    std::vector<char> buf(1 << 20);
    DWORD got = 0;
    while (ReadFile(in, buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr) && got > 0)
        data.append(buf.data(), got);
    return data;
}

}  // namespace

HiveWatch::HiveWatch()
{
    for (const Root* r = Roots(); r->Name; ++r) {
        Watch w{nullptr, CreateEventW(nullptr, TRUE, FALSE, nullptr), false};
        w.Working = w.Event && RegOpenKeyExW(r->Handle, L"", 0, KEY_NOTIFY, &w.Key) == ERROR_SUCCESS &&
                    RegNotifyChangeKeyValue(w.Key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, w.Event,
                                            TRUE) == ERROR_SUCCESS;
        Watches[r->Name] = w;
    }
}

HiveWatch::~HiveWatch()
{
    for (auto& w : Watches) {
        if (w.second.Key)
            RegCloseKey(w.second.Key);
        if (w.second.Event)
            CloseHandle(w.second.Event);
    }
}

bool HiveWatch::Changed(const Root& r) const
{
    auto w = Watches.find(r.Name);
    return w == Watches.end() || !w->second.Working || WaitForSingleObject(w->second.Event, 0) == WAIT_OBJECT_0;
}

void ScanProcesses(State& s)
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32W pe = {};
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) {
        if (pe.th32ProcessID == GetCurrentProcessId() || pe.th32ProcessID == 0)
            continue;
        s.Processes[pe.th32ProcessID] = {pe.th32ProcessID, pe.szExeFile};
    }
    CloseHandle(snap);
}

bool Scan(State& s, const State* was, const HiveWatch* watch)
{
    ScanProcesses(s);
    for (const Root* r = Roots(); r->Name; ++r) {
        auto recorded = was ? was->Hives.find(Utf8(r->Name)) : s.Hives.end();
        if (watch && recorded != was->Hives.end() && !watch->Changed(*r))
            s.Hives[recorded->first] = recorded->second;
        else if (!ScanRegistry(*r, s))
            return false;
    }
    ScanFiles(L"C:", s);
    s.BinItems = BinItems();
    return true;
}

void Write(const State& s)
{
    std::string out;
    for (const auto& p : s.Processes)
        out += "P\t" + std::to_string(p.second.Id) + "\t" + Escape(p.second.Image) + "\n";
    for (const auto& f : s.Files) {
        const FileEntry& e = f.second;
        out += std::string(e.Directory ? "D\t" : "F\t") + std::to_string(e.Attributes) + "\t" + std::to_string(e.Size) +
               "\t" + std::to_string(e.Written) + "\t" + Escape(e.Path) + "\n";
    }
    for (const auto& h : s.Hives)
        out += "H\t" + h.first + "\t" + std::to_string(h.second.size()) + "\n" + h.second + "\n";
    out += "B\t" + std::to_string(s.BinItems) + "\n";
    HANDLE std_out = GetStdHandle(STD_OUTPUT_HANDLE);
    for (size_t done = 0; done < out.size();) {
        DWORD put = 0;
        if (!WriteFile(std_out, out.data() + done, static_cast<DWORD>(out.size() - done), &put, nullptr) || put == 0)
            break;
        done += put;
    }
}

bool Read(State& s)
{
    std::string in = ReadInput();
    size_t pos = 0;
    while (pos < in.size()) {
        size_t end = in.find('\n', pos);
        if (end == std::string::npos)
            return false;
        std::vector<std::string> f = Fields(in.substr(pos, end - pos));
        pos = end + 1;
        if (f.empty())
            continue;
        if (f[0] == "P" && f.size() == 3) {
            DWORD id = static_cast<DWORD>(std::stoul(f[1]));
            s.Processes[id] = {id, Unescape(f[2])};
        } else if ((f[0] == "F" || f[0] == "D") && f.size() == 5) {
            FileEntry e;
            e.Directory = f[0] == "D";
            e.Attributes = static_cast<DWORD>(std::stoul(f[1]));
            e.Size = std::stoull(f[2]);
            e.Written = std::stoull(f[3]);
            e.Path = Unescape(f[4]);
            s.Files[Upper(e.Path)] = e;
        } else if (f[0] == "H" && f.size() == 3) {
            size_t len = std::stoull(f[2]);
            if (pos + len > in.size())
                return false;
            s.Hives[f[1]] = in.substr(pos, len);
            pos += len + 1;
        } else if (f[0] == "B" && f.size() == 2) {
            s.BinItems = std::stoll(f[1]);
            for (const Root* r = Roots(); r->Name; ++r)
                if (!s.Hives.count(Utf8(r->Name)))
                    return false;
            return true;
        } else {
            return false;
        }
    }
    return false;
}

}  // namespace sandbox
