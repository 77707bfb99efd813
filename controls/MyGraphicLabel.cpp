#include "MyGraphicLabel.h"

#include "SysUtils.h"

std::string TMyGraphicLabel::Caption()
{
    TCriticalSectionGuard guard(FCaptionLock);
    return FCaption;
}

void TMyGraphicLabel::SetCaption(const std::string& text)
{
    std::string value = text;
    {
        TCriticalSectionGuard guard(FCaptionLock);
        FCaption.swap(value);
    }
    Redraw();
}

void TMyGraphicLabel::SetMultiLine(bool value)
{
    FMultiLine = value;
    Redraw();
}

void TMyGraphicLabel::SetColorBG(TColor color)
{
    Color = color;
    FTextSurface.Canvas().Brush.Color = color;
    if (OnWindowThread())
        RefreshCaption();
    else
        Invalidate();
}

void TMyGraphicLabel::Redraw()
{
    if (OnWindowThread())
        Paint();
    else
        Invalidate();
}

int TMyGraphicLabel::GetTextWidth(const std::string& text)
{
    TCanvas& c = FTextSurface.Canvas();
    if (!c.TryLock())
        return Width();
    int w = c.TextWidth(text);
    c.Unlock();
    return w;
}

void TMyGraphicLabel::DupConstructor()
{
    {
        TCriticalSectionGuard guard(FCaptionLock);
        if (FCaption.empty()) {
            FCaption = Name;
            Color = clWhite;
            FMultiLine = false;
        }
    }
    FFirstPaint = false;
}

void TMyGraphicLabel::Paint()
{
    if (FFirstPaint)
        DupConstructor();
    // During the window's paint this lock is already held by the same thread.
    bool locked = Canvas.TryLock();
    RefreshCaption();
    if (locked)
        Canvas.Unlock();
}

std::vector<std::string> TMyGraphicLabel::WrapLines(const std::string& caption, int width,
                                                    const std::function<int(const std::string&)>& measure)
{
    std::vector<std::string> lines;
    int length = static_cast<int>(caption.size());
    int start = 1;   // 1-based first character of the current line
    bool first = true;
    for (int i = 1; i <= length; ++i) {
        std::string text = first ? Copy(caption, 1, i) : Copy(caption, start, i - start);
        if (measure(text) < width - 4)
            continue;
        int blank = 0;
        for (int p = i - 1; p >= start; --p)
            if (caption[static_cast<size_t>(p - 1)] == ' ') {
                blank = p;
                break;
            }
        if (blank == 0)
            continue;
        lines.push_back(first ? Copy(caption, 1, blank) : Copy(caption, start, blank - start));
        start = blank + 1;
        first = false;
    }
    lines.push_back(CopyFrom(caption, start));
    return lines;
}

void TMyGraphicLabel::RefreshCaption()
{
    TCanvas& c = FTextSurface.Canvas();
    if (!c.TryLock()) {
        Invalidate();   // drawn at the next paint, so no caption is lost
        return;
    }
    c.Font = Font;
    std::string caption = Caption();
    if (caption.empty()) {
        c.Unlock();
        return;
    }
    FTextSurface.SetSize(Width(), Height());
    c.FillRect(Rect(0, 0, Width(), Height()));
    std::vector<std::string> lines;
    if (FMultiLine)
        lines = WrapLines(caption, Width(), [&c](const std::string& s) { return c.TextWidth(s); });
    else
        lines.push_back(caption);
    int lineHeight = c.TextHeight(caption);
    if (AutoSize) {
        int full = c.TextWidth(caption);
        if (full > Width())
            SetWidth(full);   // the label only grows; the next render uses the new width
    }
    int y = 1;
    for (const std::string& line : lines) {
        c.TextOut(2, y, line);
        y += lineHeight;
    }
    Canvas.Draw(0, 0, FTextSurface);
    c.Unlock();
}
