#include "TModalLoops.h"

#include "TForm.h"

#include <string>

static TModalLoops TheModalLoops;
TModalLoops* ModalLoops = &TheModalLoops;

namespace {

int CancelOfBox(UINT flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDCANCEL;
    }
}

void PressBoxButton(HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

}  // namespace

TModalLoops::TLoop::TLoop(TForm& form)
{
    FEndedAtStart = ModalLoops->CloseWaiting();
    if (FEndedAtStart)
        form.ModalResult = mrCancel;
    ModalLoops->Begin(TEntry{&form, nullptr, mrCancel, false});
}

TModalLoops::TLoop::TLoop(UINT boxFlags) : FBoxCancel(CancelOfBox(boxFlags))
{
    FEndedAtStart = ModalLoops->CloseWaiting();
    // The box's window is only known to the system call that makes it.
    if (!FEndedAtStart)
        FHook = SetWindowsHookExA(WH_CBT, BoxMade, nullptr, GetCurrentThreadId());
    ModalLoops->Begin(TEntry{nullptr, nullptr, FBoxCancel, false});
}

TModalLoops::TLoop::~TLoop()
{
    if (FHook)
        UnhookWindowsHookEx(FHook);
    ModalLoops->End();
}

LRESULT CALLBACK TModalLoops::BoxMade(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && !ModalLoops->FLoops.empty()) {
        TEntry& box = ModalLoops->FLoops.back();
        auto* made = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        char cls[16] = "";
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
        if (!box.Form && !box.Box && !(made->lpcs->style & WS_CHILD) && std::string(cls) == "#32770") {
            box.Box = reinterpret_cast<HWND>(wParam);
            if (box.EndWhenMade)
                PressBoxButton(box.Box, box.Cancel);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TModalLoops::Begin(const TEntry& entry)
{
    FLoops.push_back(entry);
    if (OnChange)
        OnChange(nullptr);
}

void TModalLoops::End()
{
    FLoops.pop_back();
    if (FCloseWindow) {
        if (!FLoops.empty()) {
            EndInnermost();
        } else {
            PostMessageA(FCloseWindow, WM_CLOSE, 0, 0);
            FCloseWindow = nullptr;
        }
    }
    if (OnChange)
        OnChange(nullptr);
}

void TModalLoops::EndInnermost()
{
    TEntry& loop = FLoops.back();
    // A loop that the system's own menu or move loop holds (a lone Alt, a drag of the
    // caption) would take its end but never come back to see it: those go first.
    HWND shown = loop.Form ? loop.Form->Handle() : loop.Box;
    EndMenu();
    if (shown)
        SendMessageA(shown, WM_CANCELMODE, 0, 0);
    if (loop.Form)
        loop.Form->ModalResult = mrCancel;
    else if (loop.Box)
        PressBoxButton(loop.Box, loop.Cancel);
    else
        loop.EndWhenMade = true;
}

bool TModalLoops::CloseAfterLoops(HWND window)
{
    if (FLoops.empty())
        return false;
    FCloseWindow = window;
    EndInnermost();
    return true;
}
