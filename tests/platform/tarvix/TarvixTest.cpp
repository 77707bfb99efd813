#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace testing_support;

namespace {

UINT DownMessage = 0;
UINT UpMessage = 0;
std::string Seen;   // "d" and "u", in the order they came

LRESULT CALLBACK ListenerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == DownMessage)
        Seen += 'd';
    else if (msg == UpMessage)
        Seen += 'u';
    return DefWindowProcA(w, msg, wp, lp);
}

TEST(Tarvix, CtrlKeysDownAndUpReachTheWindowOnce)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    DownMessage = RegisterWindowMessageA("QueloraHookCtrlKeyDown");
    UpMessage = RegisterWindowMessageA("QueloraHookCtrlKeyUp");
    WNDCLASSA c = {};
    c.lpfnWndProc = ListenerProc;
    c.lpszClassName = "TarvixTestListener";
    RegisterClassA(&c);
    HWND listener = CreateWindowA("TarvixTestListener", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(listener, nullptr) << "listener window";
    HMODULE lib = LoadLibraryA((ExeDir() + "\\Tarvix.dll").c_str());
    ASSERT_NE(lib, nullptr) << "Tarvix.dll, error " << GetLastError();
    auto install = reinterpret_cast<int (*)(HWND)>(reinterpret_cast<void*>(GetProcAddress(lib, "InstallCtrlHook")));
    auto remove = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(lib, "RemoveCtrlHook")));
    ASSERT_TRUE(install && remove) << "exports";
    ASSERT_EQ(install(listener), 1) << "hook set";

    SendKey(VK_CONTROL, false);
    SendKey(VK_CONTROL, false);   // auto-repeat
    SendKey(VK_SHIFT, false);
    SendKey(VK_SHIFT, true);
    SendKey(VK_CONTROL, true);
    SendKey(VK_RCONTROL, false);
    SendKey(VK_RCONTROL, true);
    // The hook is called in the order of the keys: once the last release is told, all
    // that came before it has been; a moment more shows a message told twice.
    PumpUntil([] { return std::count(Seen.begin(), Seen.end(), 'u') >= 2; });
    PumpFor(200);
    EXPECT_EQ(Seen, "dudu") << "one down and one up per press, nothing for Shift";

    remove();
    Seen.clear();
    SendKey(VK_CONTROL, false);
    SendKey(VK_CONTROL, true);
    PumpFor(300);
    EXPECT_EQ(Seen, "") << "nothing after the hook is removed";
    FreeLibrary(lib);
    DestroyWindow(listener);
}

}  // namespace
