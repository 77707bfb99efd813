#pragma once
// What the cases of one group must leave as they found it in their sandbox: the programs
// running, the files and folders on C:, the user's hive and the machine's software branch as
// Wine's server saves them, and how many items the Recycle Bin holds. Written out as text
// and read back, so that the record lives outside the sandbox's drives.
#include <windows.h>

#include <map>
#include <string>

namespace sandbox {

struct FileEntry {
    std::wstring Path;
    DWORD Attributes = 0;
    bool Directory = false;
    unsigned long long Size = 0;
    unsigned long long Written = 0;
};

struct ProcessEntry {
    DWORD Id = 0;
    std::wstring Image;
};

struct State {
    std::map<DWORD, ProcessEntry> Processes;
    std::map<std::wstring, FileEntry> Files;  // by upper-case path
    std::map<std::string, std::string> Hives; // the saved text of each root key, by its name
    long long BinItems = 0;
};

struct Root {
    const wchar_t* Name;
    HKEY Handle;
};

// The hives looked at, ended by an entry without a name.
const Root* Roots();

// Tells which hives changed while a case ran: the others need no save and no comparison.
class HiveWatch {
public:
    HiveWatch();
    ~HiveWatch();
    HiveWatch(const HiveWatch&) = delete;
    HiveWatch& operator=(const HiveWatch&) = delete;
    bool Changed(const Root& r) const;

private:
    struct Watch {
        HKEY Key;
        HANDLE Event;
        bool Working;
    };
    std::map<std::wstring, Watch> Watches;
};

// Processes only: what is running now.
void ScanProcesses(State& s);
// The sandbox as it is; a hive the watch saw unchanged is taken from the record.
bool Scan(State& s, const State* was = nullptr, const HiveWatch* watch = nullptr);
// To the standard output, and back from the standard input.
void Write(const State& s);
bool Read(State& s);

// Wine's own programs: started on demand by the system, not by a test.
bool SystemProcess(const std::wstring& image);

std::string Utf8(const std::wstring& w);
// Windows compares file and registry names without case.
std::wstring Upper(std::wstring w);

}  // namespace sandbox
