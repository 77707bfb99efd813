#include "Regionmaker.h"
#include "Tifacecreator.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using testing_support::HaveDisplay;
using testing_support::HostForm;

namespace {

std::string Text(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The outline the system holds for the window at the moment it is made.
class Outline {
public:
    explicit Outline(TForm& form) : FRgn(CreateRectRgn(0, 0, 0, 0)), FKind(GetWindowRgn(form.Handle(), FRgn)) {}
    ~Outline() { DeleteObject(FRgn); }
    Outline(const Outline&) = delete;
    Outline& operator=(const Outline&) = delete;

    bool Set() const { return FKind != ERROR; }
    bool Has(POINT p) const { return PtInRegion(FRgn, p.x, p.y) != FALSE; }

private:
    HRGN FRgn;
    int FKind;
};

std::string At(POINT p)
{
    return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
}

// A pixel given by its distance inward from one of the window's corners.
POINT FromCorner(const TForm& form, int corner, int inX, int inY)
{
    const bool right = corner == CornerTopRight || corner == CornerBottomRight;
    const bool bottom = corner == CornerBottomRight || corner == CornerBottomLeft;
    return {right ? form.ClientWidth() - 1 - inX : inX, bottom ? form.ClientHeight() - 1 - inY : inY};
}

// Probes each corner: the corner pixel and a pixel on the diagonal a few pixels outside
// the curve are cut away; a pixel a few pixels inside the curve and the far end of the
// corner's square along its edge stay.
void ExpectCorners(const TForm& form, const Outline& outline, const int (&diameters)[4])
{
    for (int c = 0; c < 4; ++c) {
        const int d = diameters[c];
        const double depth = d / 2.0 * (1 - 1 / std::sqrt(2.0));  // curve's distance from the corner
        const int outside = static_cast<int>(std::floor(depth)) - 3;
        const int inside = static_cast<int>(std::ceil(depth)) + 3;
        const std::string where = " of corner " + std::to_string(c) + " (diameter " + std::to_string(d) + ")";
        POINT p = FromCorner(form, c, 0, 0);
        EXPECT_FALSE(outline.Has(p)) << "corner pixel " << At(p) << where;
        p = FromCorner(form, c, outside, outside);
        EXPECT_FALSE(outline.Has(p)) << "diagonal pixel outside the curve " << At(p) << where;
        p = FromCorner(form, c, inside, inside);
        EXPECT_TRUE(outline.Has(p)) << "diagonal pixel inside the curve " << At(p) << where;
        p = FromCorner(form, c, d - 2, 0);
        EXPECT_TRUE(outline.Has(p)) << "edge pixel beyond the corner's quarter " << At(p) << where;
    }
}

void ExpectMiddlesKept(const TForm& form, const Outline& outline)
{
    const int w = form.ClientWidth(), h = form.ClientHeight();
    for (POINT p : {POINT{w / 2, 0}, POINT{w - 1, h / 2}, POINT{w / 2, h - 1}, POINT{w / 2, h / 2}})
        EXPECT_TRUE(outline.Has(p)) << "edge middle or centre " << At(p) << " was cut";
}

}  // namespace

TEST(RegionGeometry, CornerQuarterSplitsTheSquareAtItsTruncatedMiddle)
{
    const RECT box = {10, 20, 97, 107};  // 87 wide: the middle is 10 + 43
    const RECT want[4] = {{10, 20, 53, 63}, {53, 20, 97, 63}, {53, 63, 97, 107}, {10, 63, 53, 107}};
    for (int c = 0; c < 4; ++c) {
        const RECT q = CornerQuarter(box, c);
        EXPECT_TRUE(Same(q, want[c])) << "corner " << c << " gave " << Text(q) << ", expected " << Text(want[c]);
    }
}

TEST(RegionGeometry, CornerBoxesSitInTheirCornersOfTheClientRectangle)
{
    const RECT client = {0, 0, 519, 436};
    const int d[4] = {87, 39, 52, 116};
    const RECT want[4] = {{0, 0, 87, 87}, {480, 0, 519, 39}, {467, 384, 519, 436}, {0, 320, 116, 436}};
    for (int c = 0; c < 4; ++c) {
        const RECT box = CornerBox(client, c, d[c]);
        EXPECT_TRUE(Same(box, want[c])) << "corner " << c << " gave " << Text(box) << ", expected " << Text(want[c]);
    }
}

TEST(RegionGeometry, NotchFollowsTheWindowHeightAndIsClosed)
{
    POINT p[4];
    NotchPoints(436, p);
    const POINT want[4] = {{0, 56}, {22, 215}, {0, 363}, {0, 56}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(p[i].x == want[i].x && p[i].y == want[i].y)
            << "point " << i << " is " << At(p[i]) << ", expected " << At(want[i]);
    NotchPoints(437, p);
    EXPECT_EQ(p[1].y, 215) << "half an odd height truncates";
}

TEST(RegionGeometry, CornerTablesAreChosenByTheExactName)
{
    struct Case {
        const char* name;
        int d[4];
    } cases[] = {{"MainFm", {87, 39, 52, 116}},
                 {"IECertFm", {60, 60, 60, 60}},
                 {"CookiesFm", {60, 60, 60, 60}},
                 {"ReportFm", {40, 40, 40, 40}}};
    for (const Case& k : cases) {
        const TCornerKeeper* corners = CornersFor(k.name);
        ASSERT_NE(corners, nullptr) << k.name << " has no corners";
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(corners->Diameter(c), k.d[c]) << k.name << " corner " << c;
    }
    for (const char* other : {"", "AboutFm", "IntroFm", "mainfm", "ReportFm "})
        EXPECT_EQ(CornersFor(other), nullptr) << "'" << other << "' should stay a rectangle";
}

TEST(RegionOutline, MainWindowHasItsFourCornersAndTheNotch)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm form(519, 436);
    form.Name = "MainFm";
    ShapeForm(&form);
    Outline outline(form);
    ASSERT_TRUE(outline.Set()) << "the main window got no region";
    ExpectCorners(form, outline, {87, 39, 52, 116});
    // The left edge's middle lies in the notch, so the left edge is probed above it.
    for (POINT p : {POINT{518, 218}, POINT{259, 0}, POINT{259, 435}, POINT{259, 218}, POINT{1, 50}})
        EXPECT_TRUE(outline.Has(p)) << At(p) << " was cut";
    for (POINT p : {POINT{5, 215}, POINT{0, 215}, POINT{2, 100}, POINT{2, 330}})
        EXPECT_FALSE(outline.Has(p)) << At(p) << " lies in the notch";
    for (POINT p : {POINT{30, 215}, POINT{10, 100}, POINT{10, 330}, POINT{0, 370}})
        EXPECT_TRUE(outline.Has(p)) << At(p) << " lies beside the notch";
}

TEST(RegionOutline, ListAndReportWindowsGetEvenCorners)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    struct Case {
        const char* name;
        int d;
    } cases[] = {{"IECertFm", 60}, {"CookiesFm", 60}, {"ReportFm", 40}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        HostForm form(400, 300);
        form.Name = k.name;
        ShapeForm(&form);
        Outline outline(form);
        ASSERT_TRUE(outline.Set()) << k.name << " got no region";
        ExpectCorners(form, outline, {k.d, k.d, k.d, k.d});
        ExpectMiddlesKept(form, outline);
        EXPECT_TRUE(outline.Has({0, 150})) << "only the main window has a notch";
    }
}

TEST(RegionOutline, OtherWindowsKeepTheirRectangle)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    for (const char* name : {"", "AboutFm", "mainfm"}) {
        HostForm form(300, 200);
        form.Name = name;
        ShapeForm(&form);
        Outline outline(form);
        EXPECT_FALSE(outline.Set()) << "'" << name << "' was given a region";
    }
    ShapeForm(nullptr);
}

TEST(RegionOutline, FirstCornerCutReplacesAnEarlierOutlineAndLaterCutsBuildOnIt)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm form(300, 200);
    ASSERT_TRUE(SetWindowRgn(form.Handle(), CreateRectRgn(0, 0, 10, 10), TRUE)) << "could not set a region";

    TRegionMaker maker;
    ASSERT_TRUE(maker.CutCorner(form, {0, 0, 40, 40}, CornerTopLeft));
    {
        Outline outline(form);
        EXPECT_TRUE(outline.Has({150, 100})) << "the earlier 10 x 10 outline survived the first cut";
        EXPECT_FALSE(outline.Has({0, 0})) << "top-left corner not cut";
    }
    ASSERT_TRUE(maker.CutCorner(form, {260, 160, 300, 200}, CornerBottomRight));
    Outline outline(form);
    EXPECT_FALSE(outline.Has({0, 0})) << "the second cut lost the first";
    EXPECT_FALSE(outline.Has({299, 199})) << "bottom-right corner not cut";
    EXPECT_TRUE(outline.Has({299, 0})) << "a corner that was not cut lost its pixel";
    EXPECT_FALSE(maker.CutCorner(form, {0, 0, 40, 40}, 4)) << "a corner number beyond 3 was accepted";
}

TEST(RegionOutline, PolygonOnAWindowWithoutOutlineStartsFromTheClientArea)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm form(300, 200);
    ASSERT_FALSE(Outline(form).Set()) << "a fresh window already has a region";
    const POINT triangle[3] = {{0, 0}, {100, 0}, {0, 100}};
    TRegionMaker maker;
    ASSERT_TRUE(maker.CutPolygon(form, triangle, 3));
    Outline outline(form);
    ASSERT_TRUE(outline.Set()) << "the cut left no region";
    EXPECT_TRUE(outline.Has({150, 100})) << "the window vanished: the cut did not start from the client area";
    EXPECT_TRUE(outline.Has({299, 199})) << "the far corner was lost";
    EXPECT_FALSE(outline.Has({10, 10})) << "the triangle was not cut";
}

TEST(RegionOutline, FailedPolygonCutLeavesTheOutlineAsItWas)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    HostForm form(300, 200);
    TRegionMaker maker;
    const POINT line[2] = {{0, 0}, {100, 100}};
    EXPECT_FALSE(maker.CutPolygon(form, line, 2)) << "two points make no polygon";
    EXPECT_FALSE(maker.CutPolygon(form, nullptr, 4)) << "no points make no polygon";
    EXPECT_FALSE(Outline(form).Set()) << "a failed cut still gave the window a region";

    ASSERT_TRUE(maker.CutCorner(form, {0, 0, 40, 40}, CornerTopLeft));
    EXPECT_FALSE(maker.CutPolygon(form, line, 2));
    Outline outline(form);
    EXPECT_FALSE(outline.Has({0, 0})) << "a failed cut undid the corner";
    EXPECT_TRUE(outline.Has({150, 100})) << "a failed cut emptied the outline";
}
