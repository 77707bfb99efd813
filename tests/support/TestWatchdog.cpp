#include "TestWatchdog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

// Appends text to a fixed buffer, cutting what does not fit; no heap, no locale.
void Append(char* buf, size_t size, const char* text)
{
    size_t used = strlen(buf);
    while (*text && used + 1 < size)
        buf[used++] = *text++;
    buf[used] = '\0';
}

void AppendHex(char* buf, size_t size, DWORD64 value)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = "0123456789abcdef"[value & 15];
        value >>= 4;
    } while (value);
    char text[24] = "0x";
    int i = 2;
    while (n > 0)
        text[i++] = digits[--n];
    text[i] = '\0';
    Append(buf, size, text);
}

// "    module+0xoffset" of a code address, on a line of its own.
void AppendPlace(char* buf, size_t size, DWORD64 address)
{
    HMODULE module = nullptr;
    char name[MAX_PATH] = "?";
    Append(buf, size, "\n    ");
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(address)), &module) &&
        GetModuleFileNameA(module, name, sizeof name)) {
        const char* base = strrchr(name, '\\');
        Append(buf, size, base ? base + 1 : name);
        Append(buf, size, "+");
        AppendHex(buf, size, address - reinterpret_cast<ULONG_PTR>(module));
    } else {
        AppendHex(buf, size, address);
    }
}

void Write(const char* text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(strlen(text)), &written, nullptr);
}

}  // namespace

TTestWatchdog::TTestWatchdog(DWORD limitMs) : LimitMs(limitMs)
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    snprintf(Heading, sizeof Heading, "%s.%s has hung: still running after %lu s, its thread waits in",
             test ? test->test_suite_name() : "?", test ? test->name() : "?", limitMs / 1000);
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &Watched, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    Done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ReadNow = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Read = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (HANDLE& up : Up)
        up = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Reader = CreateThread(nullptr, 0, ReadFrames, this, 0, nullptr);
    Thread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
    WaitForMultipleObjects(2, Up, TRUE, INFINITE);
}

TTestWatchdog::~TTestWatchdog()
{
    SetEvent(Done);
    WaitForSingleObject(Thread, INFINITE);
    WaitForSingleObject(Reader, INFINITE);
    for (HANDLE h : {Thread, Reader, Done, ReadNow, Read, Up[0], Up[1], Watched})
        CloseHandle(h);
}

DWORD WINAPI TTestWatchdog::Watch(void* self)
{
    auto* dog = static_cast<TTestWatchdog*>(self);
    SetEvent(dog->Up[0]);
    if (WaitForSingleObject(dog->Done, dog->LimitMs) != WAIT_TIMEOUT)
        return 0;
    SuspendThread(dog->Watched);
    Write(dog->Heading);
    SetEvent(dog->ReadNow);
    if (WaitForSingleObject(dog->Read, 10000) == WAIT_OBJECT_0)
        Write(dog->Frames);
    else
        Write(" (its frames could not be read: the thread holds a lock they need)");
    Write("\n");
    TerminateProcess(GetCurrentProcess(), 1);
    return 0;
}

// The frames of the stopped thread, innermost first. Naming a module takes the loader lock,
// which the stopped thread may hold: this thread may then wait for ever, and the report goes
// on without it.
DWORD WINAPI TTestWatchdog::ReadFrames(void* self)
{
    auto* dog = static_cast<TTestWatchdog*>(self);
    SetEvent(dog->Up[1]);
    HANDLE wake[2] = {dog->Done, dog->ReadNow};
    if (WaitForMultipleObjects(2, wake, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
        return 0;
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_FULL;
    if (!GetThreadContext(dog->Watched, &context)) {
        Append(dog->Frames, sizeof dog->Frames, " (no context)");
    } else {
#ifdef _WIN64
        for (int i = 0; i < 24 && context.Rip; ++i) {
            AppendPlace(dog->Frames, sizeof dog->Frames, context.Rip);
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
#else
        AppendPlace(dog->Frames, sizeof dog->Frames, context.Eip);
#endif
    }
    SetEvent(dog->Read);
    return 0;
}
