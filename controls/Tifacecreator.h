#pragma once
// The outlines of the skinned windows that are not rectangles: each such window is found by
// its component name and gets its own corner sizes; the main window also has a notch in
// its left edge.
#include <windows.h>

#include <string>

class TForm;

// The diameters of a window's four curved corners in pixels.
class TCornerKeeper {
public:
    // corner: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
    unsigned char Diameter(int corner) const { return FDiameters[corner & 3]; }

protected:
    TCornerKeeper(unsigned char topLeft, unsigned char topRight, unsigned char bottomRight,
                  unsigned char bottomLeft)
        : FDiameters{topLeft, topRight, bottomRight, bottomLeft}
    {
    }

private:
    unsigned char FDiameters[4];
};

class TMFmClass : public TCornerKeeper {
public:
    TMFmClass() : TCornerKeeper(87, 39, 52, 116) {}
};

// The certificate and the cookie windows share one outline.
class TIECertFmClass : public TCornerKeeper {
public:
    TIECertFmClass() : TCornerKeeper(60, 60, 60, 60) {}
};

class TReportFmClass : public TCornerKeeper {
public:
    TReportFmClass() : TCornerKeeper(40, 40, 40, 40) {}
};

// The corners for a window name (exact, case-sensitive); null for a window that stays a
// rectangle.
const TCornerKeeper* CornersFor(const std::string& formName);

// The bounding square of a corner's ellipse of the given diameter in the client rectangle.
RECT CornerBox(const RECT& client, int corner, int diameter);

// The main window's notch in its left edge for a window of the given height: a closed
// polygon of four points.
void NotchPoints(int height, POINT (&points)[4]);

// Shapes a window by its name; a name without an outline leaves the window as it is.
// Called once from the window's constructor, after its size is known.
void ShapeForm(TForm* form);
