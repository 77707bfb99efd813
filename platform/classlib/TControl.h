#pragma once
// What every visible element shares, windowed or not: bounds, visibility, font and colour,
// the mouse, and a message dispatch that subclasses extend.
#include "TComponent.h"
#include "TFont.h"

#include <windows.h>

#include <functional>
#include <string>

// The class library's own notifications, sent to a control through Dispatch.
enum : UINT {
    CM_BASE = 0xB000,
    CM_MOUSEENTER = CM_BASE + 19,
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_RELEASE = CM_BASE + 33,
    // A notification that a system control sent its parent, handed back to the control.
    CN_BASE = 0xBC00,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
};

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;
enum TCursor { crDefault = 0, crHandPoint = -21 };

using TMouseEvent = std::function<void(TObject*, TMouseButton, TShiftState, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject*, TShiftState, int x, int y)>;
// The wheel turned by `wheelDelta` (120 a notch, negative towards the user) with the pointer
// at a screen point; a handler that sets `handled` keeps the turn from the control below.
using TMouseWheelEvent = std::function<void(TObject*, TShiftState, int wheelDelta, POINT mousePos, bool& handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject*, TShiftState, POINT mousePos, bool& handled)>;

class TWinControl;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner) : TComponent(owner) {}
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value) { FEnabled = value; }

    // Asks for a repaint of the control's area; safe from any thread.
    virtual void Invalidate();
    // Sends a message to the control's Dispatch and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void Dispatch(TMessage& message);

    // The pointer actions, in the control's own coordinates. The defaults fire the events.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    // The mouse capture that a press gave this control went elsewhere before the release.
    virtual void MouseCaptureLost() {}

    std::string Hint;
    bool ShowHint = false;
    std::string HelpKeyword;
    TCursor Cursor = crDefault;
    TFont Font;
    TColor Color = clSilver;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

protected:
    friend class TWinControl;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    TWinControl* FParent = nullptr;
};
