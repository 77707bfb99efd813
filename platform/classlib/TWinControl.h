#pragma once
// A control with a window of its own. One static window procedure finds the object behind
// a window and hands each message to its Dispatch; the object routes the pointer to the
// windowless controls on it, paints them, and tracks which one the pointer is over.
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

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    void Invalidate() override;
    void InvalidateArea(const RECT& r);
    // Paints what is invalid now, before returning.
    void Update();
    void Dispatch(TMessage& message) override;

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
    virtual void CreateHandle();
    void DestroyHandle();
    // Fills the invalid part of the client area with Color.
    virtual void PaintWindow(HDC dc, const RECT& area);
    void DefaultHandler(TMessage& message);

    std::string FCaption;

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint(TMessage& message);
    void PaintArea(HDC dc, const RECT& area);
    void PaintControl(HDC dc, TGraphicControl* c);
    void MouseButton(TMessage& message, TMouseButton button, bool down, bool twice);
    void MouseMoved(TMessage& message);
    void SetHover(TControl* c);
    bool SetPointer(TMessage& message);

    HWND FHandle = nullptr;
    std::vector<TControl*> FControls;
    TControl* FCapture = nullptr;    // took the press; gets the pointer until the release
    TControl* FPressed = nullptr;    // took the left press: clicked by a release over it
    TControl* FHover = nullptr;
    bool FTracking = false;
    bool FReleasing = false;
};
