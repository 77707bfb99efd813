// The watchdog must report and end a case whatever lock its hung thread holds.
#include "TestSupport.h"
#include "TestWatchdog.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;

namespace {

const char ChildCase[] = "TTestWatchdogChild.DISABLED_HangsHoldingTheLoaderLock";

}  // namespace

// Started by the next case: hangs holding the loader lock, which naming a module needs.
TEST(TTestWatchdogChild, DISABLED_HangsHoldingTheLoaderLock)
{
    TTestWatchdog dog{1000};
    using LockLoader = LONG(WINAPI*)(ULONG, ULONG*, ULONG_PTR*);
    auto lock = reinterpret_cast<LockLoader>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "LdrLockLoaderLock")));
    ASSERT_NE(lock, nullptr) << "no LdrLockLoaderLock";
    ULONG_PTR cookie = 0;
    ASSERT_EQ(lock(0, nullptr, &cookie), 0) << "the loader lock";
    Sleep(INFINITE);
}

TEST(TTestWatchdog, ACaseHungHoldingTheLoaderLockIsNamedAndEnded)
{
    const std::string report = ScratchDir("watchdog") + "\\report.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(report.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE) << "the report file";
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string cmd = "\"" + std::string(exe) + "\" --gtest_also_run_disabled_tests --gtest_filter=" + ChildCase;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = out;
    PROCESS_INFORMATION pi = {};
    BOOL started = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(out);
    ASSERT_TRUE(started) << "the hanging case did not start, error " << GetLastError();
    CloseHandle(pi.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, code = 0xDEAD);
    CloseHandle(pi.hProcess);
    const std::string text = ReadFileBytes(report);
    EXPECT_EQ(code, 1u) << "the hung case's exit code (0xdead: the watchdog hung as well)";
    EXPECT_NE(text.find(std::string(ChildCase) + " has hung: still running after 1 s"), std::string::npos)
        << "what it wrote:\n" << text;
}
