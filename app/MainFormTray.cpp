// The window around the pages: the tray icon and its menu, the hot keys, stealth mode,
// dragging by the skin, the hint line, the page buttons, the wheel and the help page.
#include "MainForm.h"
#include "ProgressIndicatorFm.h"
#include "TApplication.h"
#include "TM_LocalizeClass.h"

#include <shellapi.h>

using namespace MainLayout;

void TMainFm::N5Click(TObject*)
{
    if (TrayIcon1->Tag != 0) {
        TrayIcon1->Restore();
        N5->SetCaption(MainFmWords.CancelWD);
        N5->SetImageIndex(MinimizeImage);
    } else {
        TrayIcon1->Minimize();
        TrayIcon1->Tag = 1;
        N5->SetCaption(MainFmWords.RestoreWndWD);
        N5->SetImageIndex(RestoreImage);
    }
}

void TMainFm::TrayIcon1Restore(TObject*)
{
    TrayIcon1->Tag = 0;
    N5->SetCaption(MainFmWords.CancelWD);
    N5->SetImageIndex(MinimizeImage);
}

void TMainFm::ApplyStartMinimized()
{
    if (!SettingsFrame->MyRndRectBtn8->Down())
        return;
    SetWindowState(wsMinimized);
    TrayIcon1->Minimize();
    TrayIcon1->Tag = 1;
}

void TMainFm::OnHotKey(TMessage& message)
{
    if (message.WParam == 32)
        HideShow1Click(this);
    else if (message.WParam == 33)
        InvisibleModeALTZ1Click(this);
}

BOOL CALLBACK TMainFm::ShowHideIEWindowProc(HWND wnd, LPARAM hide)
{
    char name[260] = {};
    GetClassNameA(wnd, name, sizeof name);
    if (std::string(name) == "IEFrame")
        ShowWindow(wnd, hide ? SW_HIDE : SW_SHOW);
    return TRUE;
}

void TMainFm::HideShow1Click(TObject*)
{
    bool hide = HideShow1->Tag == 0;
    EnumWindows(ShowHideIEWindowProc, hide ? 1 : 0);
    HideShow1->Tag = hide ? 1 : 0;
    HideShow1->SetCaption(hide ? MainFmWords.ShowIEWndWD : MainFmWords.HideIEWndWD);
}

void TMainFm::InvisibleModeALTZ1Click(TObject*)
{
    bool shown = !WindowsShown;
    TrayIcon1->SetVisible(shown);
    if (TrayIcon1->Tag == 0) {
        ShowWindow(Application->Handle(), shown ? SW_SHOW : SW_HIDE);
        SetVisible(shown);
    }
    if (RunInProgress && IndicatorFm)
        IndicatorFm->SetVisible(shown);
    WindowsShown = shown;
}

void TMainFm::Image1MouseDown(TObject*, TMouseButton button, TShiftState, int, int)
{
    POINT p;
    GetCursorPos(&p);
    if (button == mbLeft)
        Dragging = true;
    DragDX = p.x - Left();
    DragDY = p.y - Top();
}

void TMainFm::Image1MouseMove(TObject*, TShiftState, int, int)
{
    if (!Dragging)
        return;
    POINT p;
    GetCursorPos(&p);
    SetBounds(p.x - DragDX, p.y - DragDY, Width(), Height());
}

POINT TMainFm::ClampToScreen(int left, int top, int width, int height, int screenWidth, int screenHeight)
{
    if (left > screenWidth - width)
        left = screenWidth - width;
    if (left < 0)
        left = 3;
    if (top < 0)
        top = 2;
    if (top > screenHeight - height)
        top = screenHeight - height;
    return POINT{left, top};
}

void TMainFm::Image1MouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    if (!Dragging)
        return;
    POINT p = ClampToScreen(Left(), Top(), Width(), Height(), GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN));
    SetBounds(p.x, p.y, Width(), Height());
    Dragging = false;
}

void TMainFm::ShowHintOnMouseEnter(TObject* sender)
{
    if (auto* c = dynamic_cast<TControl*>(sender))
        MyGraphicLabel1->SetCaption(c->Hint);
}

void TMainFm::ShowHintOnMouseLeave(TObject*)
{
    MyGraphicLabel1->SetCaption(MyGraphicLabel1->Hint);
}

void TMainFm::SettingsFrameMyRndRectBtn9Click(TObject*)
{
    bool show = SettingsFrame->MyRndRectBtn9->Down();
    for (int f = 0; f < Container.Frames.Count; ++f) {
        TFrame* frame = Container.Frames[f];
        for (int i = 0; i < frame->ComponentCount(); ++i)
            if (auto* c = dynamic_cast<TControl*>(frame->Components(i)))
                c->ShowHint = show;
    }
    for (TControl* c : std::initializer_list<TControl*>{WhatClBtn, OptBtn, MyGraphicBtn1, MyGraphicBtn3, MyGraphicBtn4,
                                                        MyGraphicBtn5, MyGraphicBtn8})
        c->ShowHint = show;
}

void TMainFm::OptBtnClick(TObject*)
{
    WhatClBtn->SetDown(false);
    SettingsFrame->UpdateIntervalCombo();
    MainFrame->SetVisible(false);
    StretchScroll1->SetVisible(false);
    SettingsFrame->SetVisible(true);
}

void TMainFm::WhatClBtnClick(TObject*)
{
    OptBtn->SetDown(false);
    MainFrame->SetVisible(true);
    SettingsFrame->SetVisible(false);
    StretchScroll1->SetVisible(StretchScroll1->SControlWH() > 0);
}

void TMainFm::FormMouseWheelDown(TObject*, TShiftState, POINT, bool& handled)
{
    StretchScroll1->StepDown();
    handled = true;
}

void TMainFm::FormMouseWheelUp(TObject*, TShiftState, POINT, bool& handled)
{
    StretchScroll1->StepUp();
    handled = true;
}

void TMainFm::MyGraphicBtn1Click(TObject*)
{
    std::string page = TM_LocalizeClass::ProgramFolder() + "\\h-about.html";
    ShellExecuteA(nullptr, "open", page.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}
