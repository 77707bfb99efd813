#include "TForm.h"

#include "TApplication.h"
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

void TForm::Close()
{
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(this, action);
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
