#pragma once
// What the tests of the main program's secondary windows share: work done from a timer
// while a modal window or a message box runs its own loop, finding that box, and a picture
// of a window with its system list boxes.
#include "TBitmap.h"
#include "TForm.h"
#include "TListBox.h"
#include "WindowTestSupport.h"

#include <functional>
#include <string>

namespace dialog_test {

inline std::function<void()>& Pending()
{
    static std::function<void()> pending;
    return pending;
}

inline void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::function<void()> f;
    f.swap(Pending());
    if (f)
        f();
}

// Runs f once, 300 ms from now, from whatever message loop this thread is in then.
inline void Later(std::function<void()> f)
{
    Pending() = std::move(f);
    SetTimer(nullptr, 0, 300, Fire);
}

inline BOOL CALLBACK FindBox(HWND w, LPARAM out)
{
    char cls[16] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    return TRUE;
}

// The visible message box of this thread, or null.
inline HWND MessageBoxOfThisThread()
{
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

// A window with the windows inside it, each painted at its place: the library's own by
// their painting, a list box by its own printing (which has its parent draw the rows).
inline void PaintTree(TWinControl& w, HDC dc)
{
    if (w.InheritsFrom<TListBox>()) {
        // Printed at the origin of a picture of its own: the system list box clips its
        // rows wrongly on a surface whose origin has been moved.
        TBitmap rows;
        rows.SetSize(w.Width(), w.Height());
        SendMessageA(w.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(rows.Canvas().DC()), PRF_CLIENT | PRF_ERASEBKGND);
        BitBlt(dc, 0, 0, w.Width(), w.Height(), rows.Canvas().DC(), 0, 0, SRCCOPY);
        return;
    }
    w.PaintTo(dc);
    RECT parent;
    GetClientRect(w.Handle(), &parent);
    for (int i = 0; i < w.ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(w.Controls(i));
        if (!child || !child->Visible())
            continue;
        int saved = SaveDC(dc);
        IntersectClipRect(dc, 0, 0, parent.right, parent.bottom);
        OffsetViewportOrgEx(dc, child->Left(), child->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
        PaintTree(*child, dc);
        RestoreDC(dc, saved);
    }
}

// The form's client area painted whole, written to the artifacts as name.
inline bool Snapshot(TWinControl& form, const std::string& name)
{
    testing_support::Pump();
    RECT r;
    GetClientRect(form.Handle(), &r);
    TBitmap shot;
    shot.SetSize(r.right, r.bottom);
    PaintTree(form, shot.Canvas().DC());
    return testing_support::WritePng(shot, testing_support::ArtifactPath(name));
}

}  // namespace dialog_test
