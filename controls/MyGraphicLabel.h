#pragma once
// The text label of the skinned windows: its caption drawn through an off-screen surface in
// the label's font and background colour, wrapped onto several lines or widening the label
// to its text. Worker threads set captions while a run goes on: a caption is stored at once
// and drawn by the window's own thread, and no call ever waits for a drawing.
#include "TBitmap.h"
#include "TCriticalSection.h"
#include "TGraphicControl.h"

#include <functional>
#include <string>
#include <vector>

class TMyGraphicLabel : public TGraphicControl {
public:
    explicit TMyGraphicLabel(TComponent* owner) : TGraphicControl(owner) { Color = clBlack; }

    std::string Caption();
    // From the window's thread the label redraws at once; from any other thread it asks
    // the window to redraw it, which then shows the last caption set.
    void SetCaption(const std::string& text);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    void SetColorBG(TColor color);
    // Width of the text in the label's font, or the label's width while the surface is busy.
    int GetTextWidth(const std::string& text);

    bool AutoSize = false;

    void Paint() override;

    // The lines a caption is drawn in at a width, `measure` giving a text's width. The first
    // line keeps the blank it breaks at; a word wider than the label is not broken.
    static std::vector<std::string> WrapLines(const std::string& caption, int width,
                                              const std::function<int(const std::string&)>& measure);

private:
    void RefreshCaption();
    void DupConstructor();
    // Draws now on the window's thread, or has the window's thread do it.
    void Redraw();

    bool FFirstPaint = true;
    bool FMultiLine = false;
    TCriticalSection FCaptionLock;   // held only to swap or copy the caption
    std::string FCaption;
    TBitmap FTextSurface;
};
