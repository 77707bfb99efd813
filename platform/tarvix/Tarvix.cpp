#include "Tarvix.h"

namespace {

HINSTANCE Module = nullptr;
HHOOK Hook = nullptr;
HWND Target = nullptr;
UINT KeyDownMessage = 0;
UINT KeyUpMessage = 0;
// Which of the Ctrl keys are held: auto-repeat sends further key-downs of a held key.
bool LeftDown = false;
bool RightDown = false;

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        bool* held = nullptr;
        if (key->vkCode == VK_LCONTROL || key->vkCode == VK_CONTROL)
            held = (key->flags & LLKHF_EXTENDED) ? &RightDown : &LeftDown;
        else if (key->vkCode == VK_RCONTROL)
            held = &RightDown;
        if (held) {
            bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
            bool anyBefore = LeftDown || RightDown;
            *held = down;
            bool anyAfter = LeftDown || RightDown;
            if (anyAfter != anyBefore && Target)
                PostMessageA(Target, anyAfter ? KeyDownMessage : KeyUpMessage, 0, 0);
        }
    }
    return CallNextHookEx(Hook, code, wParam, lParam);
}

}  // namespace

extern "C" {

int InstallCtrlHook(HWND window)
{
    Target = window;
    if (Hook)
        return 1;
    LeftDown = RightDown = false;
    Hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, Module, 0);
    return Hook != nullptr;
}

void RemoveCtrlHook()
{
    if (Hook)
        UnhookWindowsHookEx(Hook);
    Hook = nullptr;
    Target = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        Module = instance;
        KeyDownMessage = RegisterWindowMessageA("QueloraHookCtrlKeyDown");
        KeyUpMessage = RegisterWindowMessageA("QueloraHookCtrlKeyUp");
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && Hook) {
        UnhookWindowsHookEx(Hook);
        Hook = nullptr;
    }
    return TRUE;
}

}  // extern "C"
