// Quelmain's start time and its resource use over many runs, inside the sandbox. Prints
// name=value lines for scripts/bench; nothing passes or fails here.
//
//   quelmainbench [RUNS [STARTS]]  soak runs (default 200), starts of each program (default 31)
//   quelmainbench soak RUNS        (internal) the soak, in a process started after the
//                                  window settings were written
#include "AboutForm.h"
#include "CIndicatorClass.h"
#include "CookiesForm.h"
#include "IECertificateForm.h"
#include "MainForm.h"
#include "ReportForm.h"
#include "SandboxGuard.h"
#include "TApplication.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Search {
    DWORD Pid;
    HWND Found;
};

BOOL CALLBACK VisibleTopWindow(HWND wnd, LPARAM data)
{
    auto* s = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    char cls[64] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    if (owner == s->Pid && IsWindowVisible(wnd) && std::string(cls) != "TApplication") {
        s->Found = wnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CloseShown(HWND wnd, LPARAM pid)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner == static_cast<DWORD>(pid) && IsWindowVisible(wnd))
        PostMessageA(wnd, WM_CLOSE, 0, 0);
    return TRUE;
}

// Seconds from the start of the command line to its first visible window, or to its end for
// a program that shows none; the program is closed afterwards (every window it shows, the
// intro logo included) and waited for, so that the next start finds it gone. Negative when
// it failed.
double SecondsToWindow(const std::string& commandLine)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    double start = Now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    Search s = {pi.dwProcessId, nullptr};
    double seconds = -1;
    while (Now() - start < 30) {
        EnumWindows(VisibleTopWindow, reinterpret_cast<LPARAM>(&s));
        if (s.Found) {
            seconds = Now() - start;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    for (int i = 0; i < 40 && WaitForSingleObject(pi.hProcess, 250) != WAIT_OBJECT_0; ++i)
        EnumWindows(CloseShown, static_cast<LPARAM>(pi.dwProcessId));
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return seconds;
}

// The value below which the given share of the figures lies (0.5: the median); failed
// measures (negative) do not count.
double Quantile(std::vector<double> v, double share)
{
    v.erase(std::remove_if(v.begin(), v.end(), [](double x) { return x < 0; }), v.end());
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[static_cast<size_t>(share * static_cast<double>(v.size() - 1) + 0.5)];
}

struct Counts {
    DWORD User, Gdi, Handles;
    SIZE_T WorkingSet, Pagefile;
};

// Where the system gives no counts (Wine: GetGuiResources and the handle count are 0), the
// live objects are counted by their short handle values, which Wine accepts for any of its
// objects: windows and menus for USER, every object type for GDI, and the lowest free
// kernel handle as a sign of handles left open.
DWORD CountByProbe(bool gdi)
{
    DWORD n = 0;
    for (UINT_PTR h = 1; h < 0x10000; ++h) {
        if (gdi)
            n += GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0;
        else
            n += IsWindow(reinterpret_cast<HWND>(h)) || IsMenu(reinterpret_cast<HMENU>(h));
    }
    return n;
}

DWORD LowestFreeHandle()
{
    HANDLE probe = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD value = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(probe));
    CloseHandle(probe);
    return value;
}

bool Probed = false;

Counts Measure()
{
    Counts c = {};
    c.User = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    c.Gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (!GetProcessHandleCount(GetCurrentProcess(), &c.Handles))
        c.Handles = 0;
    if (c.User == 0 && c.Gdi == 0) {
        Probed = true;
        c.User = CountByProbe(false);
        c.Gdi = CountByProbe(true);
        c.Handles = LowestFreeHandle();
    }
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    c.WorkingSet = pmc.WorkingSetSize;
    c.Pagefile = pmc.PagefileUsage;
    return c;
}

// Without a window manager, Wine waits two seconds for every managed window it hides; the
// figures are the program's, so this throw-away sandbox leaves window management to Wine.
void UnmanagedWindowsUnderWine()
{
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        return;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
        RegCloseKey(key);
    }
}

// One run from the Clean button to the progress window's close, the window's messages
// turning meanwhile as in the program.
bool OneRun(TMainFm& fm)
{
    fm.MyGraphicBtn3Click(&fm);
    double start = Now();
    MSG m;
    while (fm.RunInProgress && Now() - start < 60) {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return !fm.RunInProgress;
}

BOOL CALLBACK AnswerMessageBox(HWND wnd, LPARAM)
{
    char cls[16] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowVisible(wnd))
        PostMessageA(wnd, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Closes whichever of the secondary windows is open, as its Cancel would, from the
// message loop of the dialog it waits for; a message box in its place (a window that
// could not open) is answered, so that the soak goes on.
void CALLBACK CloseDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    TForm* open[] = {AboutFm, CookiesFm, ReportFm, IECertFm};
    for (TForm* f : open)
        if (f) {
            KillTimer(nullptr, id);
            f->Close();
            return;
        }
    EnumThreadWindows(GetCurrentThreadId(), AnswerMessageBox, 0);
}

// Each secondary window opened and closed once: About, the keep lists of both browsers,
// the report and the certificates. False when one stayed open.
bool OpenAndCloseDialogs(TMainFm& fm)
{
    void (TMainFm::*openers[])(TObject*) = {&TMainFm::AboutVelmar1Click, &TMainFm::IETFrame1MyGraphicBtn2Click,
                                            &TMainFm::NetTFrame1MyGraphicBtn2Click,
                                            &TMainFm::SettingsFrameMyRndRectBtn11Click,
                                            &TMainFm::IETFrame1MyGraphicBtn3Click};
    for (auto open : openers) {
        UINT_PTR timer = SetTimer(nullptr, 0, 1, CloseDialog);
        (fm.*open)(&fm);
        KillTimer(nullptr, timer);
        // A closed window frees itself from a message of its own, after its loop ended.
        double start = Now();
        MSG m;
        while ((AboutFm || CookiesFm || ReportFm || IECertFm) && Now() - start < 5) {
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&m);
                DispatchMessageA(&m);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
        if (AboutFm || CookiesFm || ReportFm || IECertFm) {
            std::fprintf(stderr, "quelmainbench: a secondary window stayed open\n");
            return false;
        }
    }
    return true;
}

void Print(const char* when, const Counts& c)
{
    std::printf("soak_%s_user_objects=%lu\n", when, c.User);
    std::printf("soak_%s_gdi_objects=%lu\n", when, c.Gdi);
    std::printf("soak_%s_handles=%lu\n", when, c.Handles);
    std::printf("soak_%s_working_set_kib=%lu\n", when, static_cast<unsigned long>(c.WorkingSet / 1024));
    std::printf("soak_%s_pagefile_kib=%lu\n", when, static_cast<unsigned long>(c.Pagefile / 1024));
}

// The soak: the program's window in this process over its stored settings, the pacing
// off, one warm-up run, then the runs.
int Soak(int runs)
{
    Application->Initialize();
    CIndicatorClass::PacingPercent = 0;
    double built = Now();
    TMainFm* fm = NewForm<TMainFm>(nullptr);
    MainFm = fm;
    Application->MainForm = fm;
    fm->Show();
    std::printf("start_window_in_process_ms=%.0f\n", (Now() - built) * 1000);
    if (!OneRun(*fm) || !OpenAndCloseDialogs(*fm)) {
        std::fprintf(stderr, "quelmainbench: the warm-up run or dialogs did not end\n");
        return 1;
    }
    Counts before = Measure();
    double start = Now();
    int done = 0;
    while (done < runs && OneRun(*fm) && OpenAndCloseDialogs(*fm))
        ++done;
    double seconds = Now() - start;
    Counts after = Measure();
    std::printf("soak_runs=%d\n", done);
    std::printf("soak_probed=%d\n", Probed ? 1 : 0);
    std::printf("soak_seconds=%.1f\n", seconds);
    Print("before", before);
    Print("after", after);
    fm->Free();
    return done == runs ? 0 : 1;
}

int RunsArgument(const char* text)
{
    int runs = text ? std::atoi(text) : 200;
    return runs >= 1 && runs <= 100000 ? runs : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!InSandbox()) {
        std::fprintf(stderr, "quelmainbench: refusing to run: not inside the Wine sandbox\n");
        return 2;
    }
    if (argc > 2 && std::string(argv[1]) == "soak" && RunsArgument(argv[2]))
        return Soak(RunsArgument(argv[2]));
    int runs = RunsArgument(argc > 1 ? argv[1] : nullptr);
    int starts = argc > 2 ? std::atoi(argv[2]) : 31;
    if (!runs || starts < 1 || starts > 1000) {
        std::fprintf(stderr, "usage: quelmainbench [RUNS [STARTS]]   (1..100000, 1..1000)\n");
        return 2;
    }
    UnmanagedWindowsUnderWine();
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder.resize(folder.find_last_of('\\'));

    // Start times in one warm sandbox: both programs measured to their first window shown,
    // turn about (which goes first changes every round), after a warm-up start of each.
    const std::string quelmainLine = "\"" + folder + "\\Quelmain.exe\"";
    const std::string bareLine = "\"" + folder + "\\importloader.exe\" " + quelmainLine;
    std::vector<double> bare, quelmain, beyond;
    SecondsToWindow(bareLine);
    SecondsToWindow(quelmainLine);
    for (int i = 0; i < starts; ++i) {
        double b, q;
        if (i % 2) {
            q = SecondsToWindow(quelmainLine);
            b = SecondsToWindow(bareLine);
        } else {
            b = SecondsToWindow(bareLine);
            q = SecondsToWindow(quelmainLine);
        }
        bare.push_back(b);
        quelmain.push_back(q);
        if (b >= 0 && q >= 0)
            beyond.push_back(q - b);
    }
    std::printf("start_rounds=%d\n", static_cast<int>(beyond.size()));
    std::printf("start_bare_program_ms=%.0f\n", Quantile(bare, 0.5) * 1000);
    std::printf("start_bare_program_q1_ms=%.0f\n", Quantile(bare, 0.25) * 1000);
    std::printf("start_bare_program_q3_ms=%.0f\n", Quantile(bare, 0.75) * 1000);
    std::printf("start_quelmain_ms=%.0f\n", Quantile(quelmain, 0.5) * 1000);
    std::printf("start_quelmain_q1_ms=%.0f\n", Quantile(quelmain, 0.25) * 1000);
    std::printf("start_quelmain_q3_ms=%.0f\n", Quantile(quelmain, 0.75) * 1000);
    std::printf("start_beyond_wine_ms=%.0f\n", (Quantile(quelmain, 0.5) - Quantile(bare, 0.5)) * 1000);
    std::printf("start_beyond_wine_paired_ms=%.0f\n", Quantile(beyond, 0.5) * 1000);
    std::fflush(stdout);

    // The soak prints its own lines on the same output.
    std::string line = "\"" + std::string(self) + "\" soak " + std::to_string(runs);
    std::vector<char> buf(line.begin(), line.end());
    buf.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, buf.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "quelmainbench: the soak did not start (error %lu)\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}
