#include "TWinControl.h"

#include "TApplication.h"
#include "Exceptions.h"
#include "TGraphicControl.h"

#include <windowsx.h>

#include <algorithm>

namespace {

const char* const WindowClass = "QueloraWindow";

void RegisterWindowClass(WNDPROC proc)
{
    static bool done = false;
    if (done)
        return;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = WindowClass;
    RegisterClassA(&wc);
    done = true;
}

TShiftState ShiftFrom(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_SHIFT)
        s |= ssShift;
    if (keys & MK_CONTROL)
        s |= ssCtrl;
    if (keys & MK_LBUTTON)
        s |= ssLeft;
    if (keys & MK_RBUTTON)
        s |= ssRight;
    if (keys & MK_MBUTTON)
        s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

}  // namespace

TWinControl::~TWinControl()
{
    // The windowless controls outlive this part of the object (their owner frees them
    // later): they must not reach back into it.
    for (TControl* c : FControls)
        c->FParent = nullptr;
    FControls.clear();
    DestroyHandle();
}

bool TWinControl::OnWindowThread() const
{
    return FHandle && GetWindowThreadProcessId(FHandle, nullptr) == GetCurrentThreadId();
}

HWND TWinControl::Handle()
{
    if (!FHandle)
        CreateHandle();
    return FHandle;
}

void TWinControl::CreateParams(DWORD& style, DWORD& exStyle, HWND& parent)
{
    style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (FVisible ? WS_VISIBLE : 0);
    exStyle = 0;
    parent = FParent ? FParent->Handle() : nullptr;
}

void TWinControl::CreateHandle()
{
    RegisterWindowClass(WndProc);
    DWORD style = 0, exStyle = 0;
    HWND parent = nullptr;
    CreateParams(style, exStyle, parent);
    const char* systemClass = SystemClass();
    HWND wnd = CreateWindowExA(exStyle, systemClass ? systemClass : WindowClass, FCaption.c_str(), style, FLeft,
                               FTop, FWidth, FHeight, parent, nullptr, GetModuleHandleA(nullptr),
                               systemClass ? nullptr : this);
    if (!wnd)
        throw Exception("Error creating window");
    if (systemClass) {
        FHandle = wnd;
        SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        FSystemProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProc)));
    }
    if (!FEnabled)
        EnableWindow(wnd, FALSE);
    for (TControl* c : FControls) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (w && !w->FHandle)
            w->CreateHandle();
    }
}

void TWinControl::DestroyHandle()
{
    if (!FHandle)
        return;
    HWND wnd = FHandle;
    FHandle = nullptr;
    SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
    // A system control frees what it keeps only when its own procedure sees the end.
    if (FSystemProc)
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FSystemProc));
    FSystemProc = nullptr;
    DestroyWindow(wnd);
}

TWinControl* TWinControl::FromHandle(HWND wnd)
{
    DWORD pid = 0;
    if (!wnd || !GetWindowThreadProcessId(wnd, &pid) || pid != GetCurrentProcessId() ||
        GetWindowLongPtrA(wnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&WndProc))
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == FParent)
        return;
    TControl::SetParent(parent);
    if (FParent && FParent->FHandle) {
        if (FHandle)
            ::SetParent(FHandle, FParent->FHandle);
        else
            CreateHandle();
    } else {
        DestroyHandle();
    }
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (FHandle)
        SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetVisible(bool value)
{
    FVisible = value;
    if (FHandle || value)
        ShowWindow(Handle(), value ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetEnabled(bool value)
{
    FEnabled = value;
    if (FHandle)
        EnableWindow(FHandle, value);
}

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, FALSE);
}

void TWinControl::InvalidateArea(const RECT& r)
{
    if (FHandle)
        InvalidateRect(FHandle, &r, FALSE);
}

void TWinControl::Update()
{
    if (FHandle)
        UpdateWindow(FHandle);
}

void TWinControl::InsertControl(TControl* c)
{
    FControls.push_back(c);
}

void TWinControl::RemoveControl(TControl* c)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
    if (FCapture == c)
        FCapture = nullptr;
    if (FPressed == c)
        FPressed = nullptr;
    if (FHover == c) {
        FHover = nullptr;
        Application->CancelHint(c);
    }
}

TGraphicControl* TWinControl::ControlAtPos(POINT p) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        auto* g = dynamic_cast<TGraphicControl*>(*it);
        RECT r = (*it)->BoundsRect();
        if (g && g->Visible() && g->Enabled() && PtInRect(&r, p))
            return g;
    }
    return nullptr;
}

LRESULT CALLBACK TWinControl::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->FHandle = wnd;
        SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    TMessage m = {msg, wParam, lParam, 0};
    // No exception may cross the system's frames: the application shows it instead.
    try {
        self->Dispatch(m);
    } catch (const std::exception& e) {
        Application->HandleException(e, wnd);
    } catch (...) {
        Application->HandleException(Exception(""), wnd);
    }
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (!FHandle)
        m.Result = 0;
    else if (FSystemProc)
        m.Result = CallWindowProcA(FSystemProc, FHandle, m.Msg, m.WParam, m.LParam);
    else
        m.Result = DefWindowProcA(FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGED: {
        auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
        if (!(wp->flags & SWP_NOMOVE)) {
            FLeft = wp->x;
            FTop = wp->y;
        }
        if (!(wp->flags & SWP_NOSIZE)) {
            FWidth = wp->cx;
            FHeight = wp->cy;
        }
        break;
    }
    case WM_NCDESTROY:
        DefaultHandler(m);
        FHandle = nullptr;
        FSystemProc = nullptr;
        return;
    case WM_COMMAND: {
        // A system control's notification goes back to the control that sent it.
        TWinControl* sender = FromHandle(reinterpret_cast<HWND>(m.LParam));
        if (sender && sender != this) {
            m.Result = sender->Perform(CN_COMMAND, m.WParam, m.LParam);
            return;
        }
        break;
    }
    case WM_DRAWITEM: {
        // An owner-drawn system control draws its own rows.
        TWinControl* sender = FromHandle(reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem);
        if (sender && sender != this) {
            m.Result = sender->Perform(CN_DRAWITEM, m.WParam, m.LParam);
            return;
        }
        break;
    }
    case WM_MOUSEWHEEL:
        if (RouteMouseWheel(m))
            return;
        break;
    default:
        if (!FSystemProc && OwnWindowMessage(m))
            return;
        break;
    }
    DefaultHandler(m);
}

bool TWinControl::OwnWindowMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        Paint(m);
        return true;
    case WM_ERASEBKGND:
        m.Result = 1;   // the paint fills the background, without flicker
        return true;
    case WM_MOUSEMOVE:
        MouseMoved(m);
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseButton(m, mbLeft, true, m.Msg == WM_LBUTTONDBLCLK);
        return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        MouseButton(m, mbRight, true, m.Msg == WM_RBUTTONDBLCLK);
        return true;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        MouseButton(m, mbMiddle, true, m.Msg == WM_MBUTTONDBLCLK);
        return true;
    case WM_LBUTTONUP:
        MouseButton(m, mbLeft, false, false);
        return true;
    case WM_RBUTTONUP:
        MouseButton(m, mbRight, false, false);
        return true;
    case WM_MBUTTONUP:
        MouseButton(m, mbMiddle, false, false);
        return true;
    case WM_MOUSELEAVE:
        FTracking = false;
        if (!FCapture)
            SetHover(nullptr);
        return true;
    case WM_CAPTURECHANGED:
        if (!FReleasing && FCapture) {
            TControl* lost = FCapture;
            FCapture = nullptr;
            FPressed = nullptr;
            if (lost != this)
                lost->MouseCaptureLost();
        }
        return true;
    case WM_SETCURSOR:
        return SetPointer(m);
    default:
        return false;
    }
}

bool TWinControl::RouteMouseWheel(TMessage& m)
{
    TWinControl* top = this;
    while (top->FParent)
        top = top->FParent;
    POINT at = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    auto delta = static_cast<short>(HIWORD(m.WParam));
    m.Result = 0;
    if (top->DoMouseWheel(ShiftFrom(LOWORD(m.WParam)), delta, at))
        return true;
    // The system passes an unhandled turn on to the parent window, which asked the top
    // already; a system control may still use it (a combo box moves its choice).
    return top != this && !FSystemProc;
}

void TWinControl::PaintWindow(HDC dc, const RECT& area)
{
    HBRUSH b = CreateSolidBrush(Color);
    FillRect(dc, &area, b);
    DeleteObject(b);
}

void TWinControl::PaintArea(HDC dc, const RECT& area)
{
    PaintWindow(dc, area);
    // A copy: a control's paint should not add or remove controls, but may.
    std::vector<TControl*> controls = FControls;
    for (TControl* c : controls) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        RECT r = c->BoundsRect(), common;
        if (g && g->Visible() && IntersectRect(&common, &r, &area))
            PaintControl(dc, g);
    }
}

void TWinControl::Paint(TMessage&)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(FHandle, &ps);
    PaintArea(dc, ps.rcPaint);
    EndPaint(FHandle, &ps);
}

void TWinControl::PaintTo(HDC dc)
{
    RECT all = {0, 0, FWidth, FHeight};
    if (FHandle)
        GetClientRect(FHandle, &all);
    PaintArea(dc, all);
}

void TWinControl::PaintControl(HDC dc, TGraphicControl* c)
{
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Canvas.PaintDC = dc;
    c->Canvas.Lock();
    try {
        c->Paint();
    } catch (...) {
        c->Canvas.Unlock();
        c->Canvas.PaintDC = nullptr;
        RestoreDC(dc, saved);
        throw;
    }
    c->Canvas.Unlock();
    c->Canvas.PaintDC = nullptr;
    RestoreDC(dc, saved);
}

void TWinControl::SetHover(TControl* c)
{
    if (c == FHover)
        return;
    TControl* old = FHover;
    FHover = c;
    if (c)
        Application->ActivateHint(c);
    else
        Application->CancelHint(old);
    if (old)
        old->Perform(CM_MOUSELEAVE);
    if (c && c == FHover)
        c->Perform(CM_MOUSEENTER);
}

void TWinControl::MouseMoved(TMessage& m)
{
    if (!FTracking) {
        TRACKMOUSEEVENT t = {sizeof t, TME_LEAVE, FHandle, 0};
        FTracking = TrackMouseEvent(&t) != 0;
    }
    POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TShiftState shift = ShiftFrom(m.WParam);
    SetHover(ControlAtPos(p));
    TControl* target = FCapture ? FCapture : ControlAtPos(p);
    if (target && target != this)
        target->MouseMove(shift, p.x - target->Left(), p.y - target->Top());
    else
        MouseMove(shift, p.x, p.y);
}

void TWinControl::MouseButton(TMessage& m, TMouseButton button, bool down, bool twice)
{
    POINT p = {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TShiftState shift = ShiftFrom(m.WParam) | (twice ? static_cast<TShiftState>(ssDouble) : 0u);
    if (down) {
        TControl* target = FCapture ? FCapture : ControlAtPos(p);
        if (!target)
            target = this;
        if (!FCapture) {
            FCapture = target;
            SetCapture(FHandle);
        }
        if (button == mbLeft)
            FPressed = target;
        int x = target == this ? p.x : p.x - target->Left();
        int y = target == this ? p.y : p.y - target->Top();
        target->MouseDown(button, shift, x, y);
        if (twice && button == mbLeft && FCapture == target)
            target->DblClick();
        return;
    }
    TControl* target = FCapture ? FCapture : ControlAtPos(p);
    if (!target)
        target = this;
    if (FCapture && !(m.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
        FCapture = nullptr;
        FReleasing = true;
        ReleaseCapture();
        FReleasing = false;
    }
    int x = target == this ? p.x : p.x - target->Left();
    int y = target == this ? p.y : p.y - target->Top();
    bool clicked = button == mbLeft && FPressed == target;
    if (button == mbLeft)
        FPressed = nullptr;
    if (clicked && x >= 0 && y >= 0 && x < target->Width() && y < target->Height())
        target->Click();
    target->MouseUp(button, shift, x, y);
}

bool TWinControl::SetPointer(TMessage& m)
{
    if (LOWORD(m.LParam) != HTCLIENT)
        return false;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(FHandle, &p);
    TGraphicControl* c = ControlAtPos(p);
    TCursor cursor = c ? c->Cursor : Cursor;
    if (cursor != crHandPoint)
        return false;
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    m.Result = TRUE;
    return true;
}
