#pragma once
// Cuts curved corners and polygons out of a window's outline through the system's window
// regions. One object shapes one window: its first corner cut starts again from the plain
// client rectangle, every later cut works on the outline the earlier ones left.
#include <windows.h>

class TForm;

enum : int { CornerTopLeft = 0, CornerTopRight = 1, CornerBottomRight = 2, CornerBottomLeft = 3 };

// The quarter of a corner's bounding square that lies at that corner; the square is split
// at its middle, the halves truncated toward zero.
RECT CornerQuarter(const RECT& box, int corner);

class TRegionMaker {
public:
    TRegionMaker() = default;
    virtual ~TRegionMaker() = default;
    TRegionMaker(const TRegionMaker&) = delete;
    TRegionMaker& operator=(const TRegionMaker&) = delete;

    // Rounds one corner: box is the bounding square of the corner's ellipse in client
    // coordinates. False when the system could not make or combine a region; the outline
    // is then the one before the cut.
    bool CutCorner(TForm& form, const RECT& box, int corner);
    // Removes the polygon (alternate filling) from the window's outline; false as above.
    bool CutPolygon(TForm& form, const POINT* points, int count);

private:
    bool FFirstCut = true;
};
