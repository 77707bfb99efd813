#pragma once
// Real windows for the control tests: a host form on the sandbox's virtual screen, pointer
// messages sent to it as the system would send them, and pictures of what it shows.
#include "TBitmap.h"
#include "TForm.h"

#include <string>

namespace testing_support {

// A borderless form shown at (40, 40) with the given client size, freed with the test.
class HostForm : public TForm {
public:
    HostForm(int width, int height, TColor color = RGB(200, 200, 200));
};

void Pump();
// Pointer messages at client coordinates of the window (the buttons held are derived
// from what was pressed before).
void Press(TWinControl& w, int x, int y, TMouseButton button = mbLeft);
void Release(TWinControl& w, int x, int y, TMouseButton button = mbLeft);
void DoubleClick(TWinControl& w, int x, int y, TMouseButton button = mbLeft);
void MoveTo(TWinControl& w, int x, int y);
// The pointer leaves the window's client area.
void Leave(TWinControl& w);

// The window repainted whole into a bitmap of its client size.
void Render(TWinControl& w, TBitmap& out);
// What the window shows on the screen now, without repainting anything.
void Grab(TWinControl& w, TBitmap& out);
// How many pixels of the rectangle have the colour.
int CountColor(TBitmap& b, const RECT& r, TColor color);
// Writes the bitmap as a PNG file; with CopyArtifact the sandbox hands it to the build folder.
bool WritePng(TBitmap& bitmap, const std::string& path);
// C:\artifacts\<name>: files there are copied to the build folder after the test.
std::string ArtifactPath(const std::string& name);

}  // namespace testing_support
