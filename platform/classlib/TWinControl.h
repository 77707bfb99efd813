#pragma once
// A control with a window of its own. One static window procedure finds the object behind
// a window and hands each message to its Dispatch; the object routes the pointer to the
// windowless controls on it, paints them, and tracks which one the pointer is over. A
// control may instead be a window of a system class (a combo box), which the same procedure
// takes over; its notifications come back to it from its parent as CN_COMMAND.
#include "TControl.h"

#include <windows.h>

#include <vector>

class TGraphicControl;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner) : TControl(owner) {}
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    bool OnWindowThread() const;
    // The object behind a window of this library in this process, or null.
    static TWinControl* FromHandle(HWND wnd);

    // A windowed control gets its window once its parent has one.
    void SetParent(TWinControl* parent) override;

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    void Invalidate() override;
    void InvalidateArea(const RECT& r);
    // Paints what is invalid now, before returning.
    void Update();
    void Dispatch(TMessage& message) override;
    // The wheel turned over this window or one inside it; true when that was handled. The
    // window at the top of the parents is asked first (a form scrolls its page).
    virtual bool DoMouseWheel(TShiftState, int /*wheelDelta*/, POINT /*mousePos*/) { return false; }

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls[static_cast<size_t>(index)]; }
    // The topmost visible, enabled windowless control at a point of the client area.
    TGraphicControl* ControlAtPos(POINT p) const;
    TControl* CaptureControl() const { return FCapture; }
    // Paints the client area with every visible windowless control into any device context
    // (a memory bitmap for pictures of the window).
    void PaintTo(HDC dc);

protected:
    friend class TControl;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);

    virtual void CreateParams(DWORD& style, DWORD& exStyle, HWND& parent);
    // The system window class to make instead of the library's own, or null.
    virtual const char* SystemClass() const { return nullptr; }
    virtual void CreateHandle();
    void DestroyHandle();
    // Fills the invalid part of the client area with Color.
    virtual void PaintWindow(HDC dc, const RECT& area);
    void DefaultHandler(TMessage& message);

    std::string FCaption;

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The messages only the library's own windows handle: paint and pointer.
    bool OwnWindowMessage(TMessage& message);
    bool RouteMouseWheel(TMessage& message);
    void Paint(TMessage& message);
    void PaintArea(HDC dc, const RECT& area);
    void PaintControl(HDC dc, TGraphicControl* c);
    void MouseButton(TMessage& message, TMouseButton button, bool down, bool twice);
    void MouseMoved(TMessage& message);
    void SetHover(TControl* c);
    bool SetPointer(TMessage& message);

    HWND FHandle = nullptr;
    WNDPROC FSystemProc = nullptr;   // the system class's procedure, for a taken-over window
    std::vector<TControl*> FControls;
    TControl* FCapture = nullptr;    // took the press; gets the pointer until the release
    TControl* FPressed = nullptr;    // took the left press: clicked by a release over it
    TControl* FHover = nullptr;
    bool FTracking = false;
    bool FReleasing = false;
};
