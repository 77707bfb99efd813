#pragma once
// Colours and fonts as the forms give them: colours are 0x00BBGGRR values, font heights
// are negative character heights in pixels.
#include <windows.h>

#include <string>

using TColor = COLORREF;
const TColor clBlack = RGB(0, 0, 0);
const TColor clWhite = RGB(255, 255, 255);
const TColor clBlue = RGB(0, 0, 255);
const TColor clRed = RGB(255, 0, 0);
const TColor clGray = RGB(128, 128, 128);
const TColor clSilver = RGB(192, 192, 192);
const TColor clWindowText = clBlack;

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
    TFont() = default;
    TFont(const TFont& other) { Assign(other); }
    TFont& operator=(const TFont& other)
    {
        Assign(other);
        return *this;
    }
    ~TFont();

    void Assign(const TFont& other);
    // The font object for these settings, made again only when they changed.
    HFONT Handle();
    // The height in points on the screen; setting it sets Height.
    int Size() const;
    void SetSize(int points);

    std::string Name = "MS Sans Serif";
    int Height = -11;
    unsigned Style = 0;       // TFontStyle bits
    TColor Color = clWindowText;
    BYTE Charset = DEFAULT_CHARSET;

private:
    HFONT FHandle = nullptr;
    std::string MadeName;
    int MadeHeight = 0;
    unsigned MadeStyle = 0;
    BYTE MadeCharset = 0;
};
