#include "TFont.h"

TFont::~TFont()
{
    if (FHandle)
        DeleteObject(FHandle);
}

void TFont::Assign(const TFont& other)
{
    if (this == &other)
        return;
    Name = other.Name;
    Height = other.Height;
    Style = other.Style;
    Color = other.Color;
    Charset = other.Charset;
}

HFONT TFont::Handle()
{
    if (FHandle && MadeName == Name && MadeHeight == Height && MadeStyle == Style && MadeCharset == Charset)
        return FHandle;
    if (FHandle)
        DeleteObject(FHandle);
    FHandle = CreateFontA(Height, 0, 0, 0, (Style & fsBold) ? FW_BOLD : FW_NORMAL, (Style & fsItalic) != 0,
                          (Style & fsUnderline) != 0, (Style & fsStrikeOut) != 0, Charset, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Name.c_str());
    MadeName = Name;
    MadeHeight = Height;
    MadeStyle = Style;
    MadeCharset = Charset;
    return FHandle;
}

static int ScreenPixelsPerInch()
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int TFont::Size() const
{
    return -MulDiv(Height, 72, ScreenPixelsPerInch());
}

void TFont::SetSize(int points)
{
    Height = -MulDiv(points, ScreenPixelsPerInch(), 72);
}
