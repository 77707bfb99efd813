#include "TForm.h"

#include "TApplication.h"
#include "TModalLoops.h"
#include "TScreen.h"

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    FVisible = false;
    Color = RGB(212, 208, 200);
}

TForm::~TForm()
{
    if (Application->MainForm == this)
        Application->MainForm = nullptr;
}

void TForm::AfterConstruction()
{
    if (OnCreate)
        OnCreate(this);
}

void TForm::BeforeDestruction()
{
    if (OnDestroy)
        OnDestroy(this);
}

void TForm::CreateParams(DWORD& style, DWORD& exStyle, HWND& parent)
{
    style = WS_POPUP | WS_CLIPCHILDREN;
    if (BorderStyle == bsSingle)
        style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    exStyle = FormStyle == fsStayOnTop ? WS_EX_TOPMOST : 0;
    auto* ownerForm = dynamic_cast<TForm*>(Owner());
    parent = ownerForm ? ownerForm->Handle() : Application->Handle();
}

void TForm::SetCaption(const std::string& text)
{
    FCaption = text;
    if (HandleAllocated())
        SetWindowTextA(Handle(), text.c_str());
}

// The window rectangle around a client area of that size, for the form's border.
static RECT FrameFor(TBorderStyle border, int width, int height)
{
    RECT r = {0, 0, width, height};
    if (border == bsSingle)
        AdjustWindowRectEx(&r, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, 0);
    return r;
}

int TForm::ClientWidth() const
{
    RECT r = FrameFor(BorderStyle, 0, 0);
    return FWidth - (r.right - r.left);
}

int TForm::ClientHeight() const
{
    RECT r = FrameFor(BorderStyle, 0, 0);
    return FHeight - (r.bottom - r.top);
}

void TForm::SetClientSize(int width, int height)
{
    RECT r = FrameFor(BorderStyle, width, height);
    SetBounds(FLeft, FTop, r.right - r.left, r.bottom - r.top);
}

void TForm::PlaceFirstTime()
{
    if (FPlaced)
        return;
    FPlaced = true;
    RECT area = {0, 0, Screen->Width(), Screen->Height()};
    auto* ownerForm = dynamic_cast<TForm*>(Owner());
    if (Position == poOwnerFormCenter && ownerForm)
        area = ownerForm->BoundsRect();
    if (Position != poDesigned)
        SetBounds(area.left + (area.right - area.left - FWidth) / 2, area.top + (area.bottom - area.top - FHeight) / 2,
                  FWidth, FHeight);
}

void TForm::Show()
{
    PlaceFirstTime();
    if (FormStyle == fsStayOnTop)
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetVisible(true);
    if (OnShow)
        OnShow(this);
}

TCloseAction TForm::AskClose()
{
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(this, action);
    return action;
}

void TForm::Close()
{
    if (FModal) {
        ModalResult = mrCancel;
        return;
    }
    TCloseAction action = AskClose();
    if (action == caNone)
        return;
    if (Application->MainForm == this)
        Application->Terminate();
    if (action == caHide)
        Hide();
    else if (action == caMinimize)
        ShowWindow(Handle(), SW_MINIMIZE);
    else if (action == caFree)
        Release();
}

void TForm::Release()
{
    PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

int TForm::ShowModal()
{
    HWND wnd = Handle();
    HWND owner = GetWindow(wnd, GW_OWNER);
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    FModal = true;
    ModalResult = mrNone;
    TCloseAction action = caHide;
    {
        TModalLoops::TLoop loop(*this);
        Show();
        SetActiveWindow(wnd);
        bool quit = false;
        for (;;) {
            if (ModalResult == mrNone) {
                MSG m;
                BOOL got = GetMessageA(&m, nullptr, 0, 0);
                if (got > 0) {
                    TranslateMessage(&m);
                    DispatchMessageA(&m);
                    continue;
                }
                // The program ends: the loop outside must see the quit as well.
                PostQuitMessage(got == 0 ? static_cast<int>(m.wParam) : 0);
                quit = true;
                ModalResult = mrCancel;
            }
            action = AskClose();
            if (action != caNone || quit)
                break;
            ModalResult = mrNone;
        }
        FModal = false;
        // The owner first, so that it, and not another program's window, is activated.
        if (ownerWasEnabled)
            EnableWindow(owner, TRUE);
        Hide();
    }
    if (action == caFree)
        Release();
    return ModalResult;
}

void TForm::SetWindowState(TWindowState state)
{
    FWindowState = state;
    if (HandleAllocated() && IsWindowVisible(Handle()))
        ShowWindow(Handle(), state == wsMinimized ? SW_MINIMIZE : state == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

TWinControl* TForm::ActiveControl()
{
    HWND focus = GetFocus();
    if (!HandleAllocated() || !focus || !IsChild(Handle(), focus))
        return nullptr;
    for (HWND w = focus; w && w != Handle(); w = GetParent(w))
        if (TWinControl* c = FromHandle(w))
            return c;
    return nullptr;
}

void TForm::SetActiveControl(TWinControl* control)
{
    if (control)
        SetFocus(control->Handle());
    else if (HandleAllocated() && IsChild(Handle(), GetFocus()))
        SetFocus(Handle());
}

bool TForm::DoMouseWheel(TShiftState shift, int wheelDelta, POINT mousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (handled)
        return true;
    TMouseWheelUpDownEvent& upDown = wheelDelta < 0 ? OnMouseWheelDown : OnMouseWheelUp;
    if (wheelDelta != 0 && upDown)
        upDown(this, shift, mousePos, handled);
    return handled;
}

void TForm::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case CM_RELEASE:
        Free();
        return;
    default:
        TWinControl::Dispatch(m);
    }
}
