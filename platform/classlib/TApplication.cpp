#include "TApplication.h"

#include "SysUtils.h"
#include "TScreen.h"
#include "TTimer.h"

#include <vector>

static TApplication TheApplication;
TApplication* Application = &TheApplication;
static TScreen TheScreen;
TScreen* Screen = &TheScreen;
static TMouse TheMouse;
TMouse* Mouse = &TheMouse;

static std::string ModulePath()
{
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n < buf.size())
            return std::string(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

TApplication::TApplication() : FExeName(ModulePath())
{
    FTitle = ChangeFileExt(ExtractFileName(FExeName), "");
}

TApplication::~TApplication()
{
    if (FHandle)
        DestroyWindow(FHandle);
}

void TApplication::SetTitle(const std::string& title)
{
    FTitle = title;
    if (FHandle)
        SetWindowTextA(FHandle, title.c_str());
}

LRESULT CALLBACK TApplication::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER) {
        TTimer::Fire(wParam);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

HWND TApplication::Handle()
{
    if (FHandle)
        return FHandle;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TApplication";
    RegisterClassA(&wc);
    FHandle = CreateWindowExA(WS_EX_TOOLWINDOW, "TApplication", FTitle.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    return FHandle;
}

void TApplication::Run()
{
    Handle();
    MSG m;
    while (!FTerminated && GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    FTerminated = true;
}

void TApplication::ProcessMessages()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            FTerminated = true;
            break;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

void TApplication::Terminate()
{
    FTerminated = true;
    PostQuitMessage(0);
}

void TApplication::ShowException(const std::exception& e) const
{
    std::string msg = e.what();
    if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.')
        msg += '.';
    MessageBoxA(nullptr, msg.c_str(), FTitle.c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}
