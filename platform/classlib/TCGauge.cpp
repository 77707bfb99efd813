#include "TCGauge.h"

#include "SysUtils.h"

TCGauge::TCGauge(TComponent* owner) : TGraphicControl(owner) {}

void TCGauge::SetMinValue(int v)
{
    FMin = v;
    Invalidate();
}

void TCGauge::SetMaxValue(int v)
{
    FMax = v;
    Invalidate();
}

void TCGauge::SetProgress(int v)
{
    FProgress = v;
    Invalidate();
}

int TCGauge::PercentDone() const
{
    long long lo = FMin, hi = FMax, p = FProgress;
    // A reset gauge (no range yet) shows nothing done.
    if (hi <= lo || p <= lo)
        return 0;
    if (p >= hi)
        return 100;
    return static_cast<int>((p - lo) * 100 / (hi - lo));
}

void TCGauge::Paint()
{
    int w = Width(), h = Height();
    FSurface.SetSize(w, h);
    TCanvas& c = FSurface.Canvas();
    int percent = PercentDone();
    c.Brush.Style = bsSolid;
    c.Brush.Color = BackColor;
    c.FillRect(Rect(0, 0, w, h));
    c.Brush.Color = ForeColor;
    c.FillRect(Rect(0, 0, w * percent / 100, h));
    if (ShowText) {
        std::string text = IntToStr(percent) + "%";
        c.Font = Font;
        c.Brush.Style = bsClear;
        c.TextOut((w - c.TextWidth(text)) / 2, (h - c.TextHeight(text)) / 2, text);
    }
    Canvas.Draw(0, 0, FSurface);
}
