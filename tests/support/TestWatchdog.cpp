#include "TestWatchdog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// "module+0xoffset" of a code address.
std::string Place(DWORD64 address)
{
    HMODULE module = nullptr;
    char name[MAX_PATH] = "?";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(address)), &module) &&
        GetModuleFileNameA(module, name, sizeof name)) {
        std::string path = name;
        char offset[32];
        snprintf(offset, sizeof offset, "+0x%llx",
                 static_cast<unsigned long long>(address - reinterpret_cast<ULONG_PTR>(module)));
        return path.substr(path.find_last_of('\\') + 1) + offset;
    }
    return "?";
}

// The frames of a stopped thread, innermost first.
std::string Frames(HANDLE thread)
{
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_FULL;
    if (!GetThreadContext(thread, &context))
        return "(no context)";
#ifdef _WIN64
    std::string frames;
    for (int i = 0; i < 24 && context.Rip; ++i) {
        frames += "\n    " + Place(context.Rip);
        DWORD64 base = 0;
        PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &base, nullptr);
        if (!function) {
            context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
            context.Rsp += 8;
            continue;
        }
        void* handler = nullptr;
        DWORD64 frame = 0;
        RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, context.Rip, function, &context, &handler, &frame, nullptr);
    }
    return frames;
#else
    return "\n    " + Place(context.Eip);
#endif
}

}  // namespace

TTestWatchdog::TTestWatchdog(DWORD limitMs) : LimitMs(limitMs)
{
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &Watched, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    Done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Thread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

TTestWatchdog::~TTestWatchdog()
{
    SetEvent(Done);
    WaitForSingleObject(Thread, INFINITE);
    CloseHandle(Thread);
    CloseHandle(Done);
    CloseHandle(Watched);
}

DWORD WINAPI TTestWatchdog::Watch(void* self)
{
    auto* dog = static_cast<TTestWatchdog*>(self);
    if (WaitForSingleObject(dog->Done, dog->LimitMs) != WAIT_TIMEOUT)
        return 0;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    SuspendThread(dog->Watched);
    std::string frames = Frames(dog->Watched);
    fprintf(stderr, "%s.%s has hung: still running after %lu s, its thread waits in%s\n",
            test ? test->test_suite_name() : "?", test ? test->name() : "?", dog->LimitMs / 1000, frames.c_str());
    fflush(stdout);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 1);
    return 0;
}
