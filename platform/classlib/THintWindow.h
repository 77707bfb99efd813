#pragma once
// A small pop-up that shows one text in its canvas font on its colour, framed, above every
// other window and without taking the focus: the pop-up hints and the notices of the
// program. Measure the text with CalcHintRect, then show it with ActivateHint.
#include "TCanvas.h"
#include "TWinControl.h"

#include <string>

class THintWindow;

// Draws on the hint window; it measures on the screen while the window does not exist.
class THintCanvas : public TCanvas {
public:
    explicit THintCanvas(THintWindow& window) : Window(window) {}

protected:
    HDC AcquireDC() override;
    void ReleaseDC(HDC dc) override;

private:
    friend class THintWindow;
    THintWindow& Window;
    HDC PaintDC = nullptr;
    HWND DCWindow = nullptr;
};

class THintWindow : public TWinControl {
public:
    // The window of an owner form owns the hint's; without one the application's does.
    explicit THintWindow(TComponent* owner);

    // The size the text needs in the canvas font, at the origin: its width + 6 by its
    // height + 4.
    RECT CalcHintRect(const std::string& text);
    // Shows the text at the rectangle (screen coordinates).
    void ActivateHint(const RECT& r, const std::string& text);
    // Hides the hint.
    void ReleaseHandle() { SetVisible(false); }
    const std::string& Caption() const { return FCaption; }

    // The text is drawn with the canvas font and brush; the rest is filled with Color.
    THintCanvas Canvas;

protected:
    void CreateParams(DWORD& style, DWORD& exStyle, HWND& parent) override;
    void PaintWindow(HDC dc, const RECT& area) override;
};
