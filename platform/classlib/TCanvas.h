#pragma once
// A drawing surface with its font, brush and lock. Where the surface's device context comes
// from is the subclass's business: a bitmap keeps one, a control borrows its window's.
#include "TCriticalSection.h"
#include "TFont.h"

#include <windows.h>

#include <string>

class TBitmap;

enum TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
};

inline RECT Rect(int left, int top, int right, int bottom)
{
    RECT r = {left, top, right, bottom};
    return r;
}

class TCanvas {
public:
    TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas() = default;

    void FillRect(const RECT& r);
    // Text in the canvas font; on a solid brush the text background is the brush colour.
    void TextOut(int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    // A line in the pen from the pen position (MoveTo) to the point, which becomes the new one.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Draw(int x, int y, TBitmap& bitmap);
    void StretchDraw(const RECT& r, TBitmap& bitmap);

    // Surfaces drawn by more than one party are guarded; a try never waits.
    void Lock() { FLock.Enter(); }
    bool TryLock() { return FLock.TryEnter(); }
    void Unlock() { FLock.Leave(); }

    TFont Font;
    TBrush Brush;
    TPen Pen;

protected:
    // The device context for one operation; ReleaseDC is called once it is done.
    virtual HDC AcquireDC() = 0;
    virtual void ReleaseDC(HDC) {}

private:
    class TOperation;
    TCriticalSection FLock;
    POINT FPenPos = {0, 0};
};
