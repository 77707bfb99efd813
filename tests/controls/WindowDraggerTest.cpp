#include "WindowDragger.h"

#include <gtest/gtest.h>

TEST(WindowDragger, ReleasePutsTheWindowBackOnTheScreen)
{
    struct {
        int left, top, wantLeft, wantTop;
        const char* what;
    } cases[] = {
        {100, 100, 100, 100, "inside: unchanged"},
        {-50, 100, 3, 100, "left edge off: left 3"},
        {100, -10, 100, 2, "above the top: top 2"},
        {900, 100, 1024 - 313, 100, "past the right edge: flush right"},
        {100, 700, 100, 768 - 97, "past the bottom: flush with the bottom"},
        {-5, -5, 3, 2, "both off"},
    };
    for (auto& c : cases) {
        POINT p = TWindowDragger::Clamped(c.left, c.top, 313, 97, 1024, 768);
        EXPECT_EQ(p.x, c.wantLeft) << c.what;
        EXPECT_EQ(p.y, c.wantTop) << c.what;
    }
    POINT wide = TWindowDragger::Clamped(10, 10, 2000, 97, 1024, 768);
    EXPECT_EQ(wide.x, 3) << "a window wider than the screen: the right rule, then the left";
}
