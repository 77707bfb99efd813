// Times CHddClass overwriting one big file and wiping many small ones, and Vantrel (the
// program beside this one, started as the context menu starts it) wiping the same, so that
// scripts/bench can set the figures beside the host's own tools. It writes and deletes for real: it runs
// only inside the Wine sandbox.
//
//   wipebench [SIZE_MIB [FILE_COUNT]]     defaults 512 and 2000
#include "CHddClass.h"
#include "CWipeRandom.h"
#include "SandboxGuard.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const std::string Root = "C:\\qbench";
const std::string BigFile = Root + "\\big.bin";
const std::string SmallDir = Root + "\\small";
const std::string SmallExt = ".qbs";
const unsigned long SmallFileBytes = 4096;
const unsigned long MaxSizeMiB = 65536;
const unsigned long MaxFileCount = 1000000;

// Digits only: strtoul alone would take signs, blanks and an empty string.
bool ParseCount(const char* s, unsigned long max, unsigned long& out)
{
    for (const char* p = s; *p; ++p)
        if (*p < '0' || *p > '9')
            return false;
    if (!*s)
        return false;
    errno = 0;
    unsigned long v = std::strtoul(s, nullptr, 10);
    if (errno != 0 || v == 0 || v > max)
        return false;
    out = v;
    return true;
}

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The file goes to the disk before anything is timed, so that the first pass does not also
// pay for writing back what was just created.
bool CreateFilled(const std::string& path, unsigned long long bytes, const std::vector<char>& chunk)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    while (ok && bytes > 0) {
        DWORD n = static_cast<DWORD>(bytes < chunk.size() ? bytes : chunk.size());
        DWORD written = 0;
        ok = WriteFile(f, chunk.data(), n, &written, nullptr) && written == n;
        bytes -= n;
    }
    ok = ok && FlushFileBuffers(f);
    CloseHandle(f);
    return ok;
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + "\\" + name);
            else
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

void RemoveAll()
{
    DeleteFileA(BigFile.c_str());
    RemoveTree(SmallDir);
    RemoveDirectoryA(Root.c_str());
}

int Fail(const std::string& what)
{
    std::fprintf(stderr, "wipebench: %s (error %lu)\n", what.c_str(), GetLastError());
    RemoveAll();
    return 1;
}

// Twenty files a folder, ten folders in each of the top ones, as scripts/bench makes them
// for shred.
bool MakeSmallFiles(unsigned long count, const std::vector<char>& chunk)
{
    CreateDirectoryA(SmallDir.c_str(), nullptr);
    for (unsigned long i = 0; i < count; ++i) {
        char top[16], sub[16], name[32];
        std::snprintf(top, sizeof top, "\\d%03lu", i / 200);
        std::snprintf(sub, sizeof sub, "\\e%02lu", (i / 20) % 10);
        std::snprintf(name, sizeof name, "\\f%07lu", i);
        CreateDirectoryA((SmallDir + top).c_str(), nullptr);
        CreateDirectoryA((SmallDir + top + sub).c_str(), nullptr);
        if (!CreateFilled(SmallDir + top + sub + name + SmallExt, SmallFileBytes, chunk))
            return false;
    }
    return true;
}

// How fast the overwrite's bytes are made, alone, in MiB/s.
double GeneratorSpeed()
{
    CWipeRandom random;
    std::vector<unsigned char> block(CHddClass::BlockSize);
    const int blocks = 256;
    double start = Now();
    for (int i = 0; i < blocks; ++i)
        random.Fill(block.data(), block.size());
    double seconds = Now() - start;
    return seconds > 0 ? blocks * (block.size() / 1048576.0) / seconds : 0;
}

// Vantrel's whole run over a work list of one line, from its start to its end; a negative
// value when it could not be started, did not end, or left the path behind.
double TimeVantrel(const std::string& line)
{
    char exe[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder(exe, n);
    folder.resize(folder.rfind('\\') + 1);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrand\\Quelora\\Data", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return -1.0;
    RegSetValueExA(key, "InstallationPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
    std::string list = line + "\r\n";
    std::vector<char> text(list.begin(), list.end());
    if (!CreateFilled(folder + "cmfiles.ftd", text.size(), text))
        return -1.0;

    std::string commandLine = "\"" + folder + "Vantrel.exe\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    double start = Now();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1.0;
    bool ended = WaitForSingleObject(pi.hProcess, 600000) == WAIT_OBJECT_0;
    double seconds = Now() - start;
    if (!ended)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DeleteFileA((folder + "cmfiles.ftd").c_str());
    return ended && GetFileAttributesA(line.c_str()) == INVALID_FILE_ATTRIBUTES ? seconds : -1.0;
}

// Gathering and wiping the small files; a negative value when not every one went.
double TimeSmallFiles(unsigned long fileCount)
{
    CHddClass hdd;
    hdd.PassCount = 1;
    double start = Now();
    hdd.CollectByExtension(SmallDir, SmallExt, true);
    int wiped = 0;
    for (int i = 0; i < hdd.CollectedPaths.Count(); ++i)
        wiped += hdd.WipeAndDelete(hdd.CollectedPaths[i]) ? 1 : 0;
    double seconds = Now() - start;
    if (hdd.CollectedPaths.Count() != static_cast<int>(fileCount) || wiped != hdd.CollectedPaths.Count()) {
        std::fprintf(stderr, "wipebench: wiped %d of %lu small files (%d found)\n", wiped, fileCount,
                     hdd.CollectedPaths.Count());
        return -1.0;
    }
    return seconds;
}

// Passes over the big file; the seconds taken, or a negative value when a pass failed.
double TimeOverwrite(int passes)
{
    CHddClass hdd;
    hdd.PassCount = passes;
    double start = Now();
    bool ok = hdd.OverwriteFile(BigFile);
    double seconds = Now() - start;
    return ok ? seconds : -1.0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!InSandbox()) {
        std::fprintf(stderr, "wipebench: refusing to run: not inside the Wine sandbox "
                             "(run it through scripts/bench)\n");
        return 97;
    }
    unsigned long sizeMiB = 512, fileCount = 2000;
    if (argc > 3 || (argc > 1 && !ParseCount(argv[1], MaxSizeMiB, sizeMiB)) ||
        (argc > 2 && !ParseCount(argv[2], MaxFileCount, fileCount))) {
        std::fprintf(stderr, "usage: wipebench [SIZE_MIB [FILE_COUNT]]\n"
                             "  SIZE_MIB    big file size, 1..%lu (default 512)\n"
                             "  FILE_COUNT  4 KiB files to wipe, 1..%lu (default 2000)\n",
                     MaxSizeMiB, MaxFileCount);
        return 2;
    }

    RemoveAll();   // what an interrupted run left
    if (!CreateDirectoryA(Root.c_str(), nullptr))
        return Fail("cannot create " + Root);
    const double generator = GeneratorSpeed();

    std::vector<char> chunk(8 * 1024 * 1024, 'Q');
    const unsigned long long bigBytes = static_cast<unsigned long long>(sizeMiB) << 20;
    if (!CreateFilled(BigFile, bigBytes, chunk))
        return Fail("cannot write " + BigFile);

    double onePass = TimeOverwrite(1);
    if (onePass < 0)
        return Fail("one-pass overwrite failed");
    double fivePasses = TimeOverwrite(5);
    if (fivePasses < 0)
        return Fail("five-pass overwrite failed");
    if (!DeleteFileA(BigFile.c_str()))
        return Fail("cannot delete " + BigFile);

    if (!MakeSmallFiles(fileCount, chunk))
        return Fail("cannot write the small files");

    double smallSeconds = TimeSmallFiles(fileCount);
    if (smallSeconds < 0)
        return Fail("the small files were not all wiped");

    // Vantrel: the big file listed alone, then the folder of small files listed alone (it
    // goes too, after its files).
    // A list whose one line names nothing: what a run costs besides wiping (the start, the
    // window, its 500 ms pause at the close, and the system's own closing of the window).
    // The first run also pays for starting the system's desktop, and a loaded machine
    // varies it by seconds: the best of three.
    double vantrelEmpty = TimeVantrel(Root + "\\nothing");
    for (int run = 0; run < 2 && vantrelEmpty >= 0; ++run) {
        double again = TimeVantrel(Root + "\\nothing");
        vantrelEmpty = again < 0 ? again : std::min(vantrelEmpty, again);
    }
    if (vantrelEmpty < 0)
        return Fail("Vantrel did not run");
    // Each wiping run is taken three times too, and the best kept, as for the empty run: a
    // single run set beside the best of three would carry the start's whole spread.
    double vantrelBig = -1.0, vantrelSmall = -1.0;
    for (int run = 0; run < 3; ++run) {
        if (!CreateFilled(BigFile, bigBytes, chunk))
            return Fail("cannot write " + BigFile);
        double big = TimeVantrel(BigFile);
        if (big < 0)
            return Fail("Vantrel did not wipe " + BigFile);
        vantrelBig = run == 0 ? big : std::min(vantrelBig, big);
        if (!MakeSmallFiles(fileCount, chunk))
            return Fail("cannot write the small files");
        double small = TimeVantrel(SmallDir);
        if (small < 0)
            return Fail("Vantrel did not wipe " + SmallDir);
        vantrelSmall = run == 0 ? small : std::min(vantrelSmall, small);
    }
    // The engine once more, right after Vantrel: the disk's pace drifts by the minute, and
    // Vantrel is compared with the better of the engine's two runs.
    if (!MakeSmallFiles(fileCount, chunk))
        return Fail("cannot write the small files");
    double smallAgain = TimeSmallFiles(fileCount);
    if (smallAgain < 0)
        return Fail("the second run over the small files failed");
    smallSeconds = std::min(smallSeconds, smallAgain);
    RemoveAll();

    const double mib = static_cast<double>(sizeMiB);
    std::printf("size_mib=%lu\n", sizeMiB);
    std::printf("small_files=%lu\n", fileCount);
    std::printf("generator_mib_per_s=%.1f\n", generator);
    std::printf("chdd_1pass_seconds=%.3f\n", onePass);
    std::printf("chdd_1pass_mib_per_s=%.1f\n", mib / onePass);
    std::printf("chdd_5pass_seconds=%.3f\n", fivePasses);
    std::printf("chdd_5pass_mib_per_s=%.1f\n", 5 * mib / fivePasses);
    std::printf("chdd_small_files_seconds=%.3f\n", smallSeconds);
    std::printf("chdd_small_files_per_s=%.1f\n", fileCount / smallSeconds);
    std::printf("vantrel_empty_run_seconds=%.3f\n", vantrelEmpty);
    std::printf("vantrel_big_file_seconds=%.3f\n", vantrelBig);
    std::printf("vantrel_small_files_seconds=%.3f\n", vantrelSmall);
    return 0;
}
