#include "Tifacecreator.h"

#include "Regionmaker.h"
#include "TForm.h"

namespace {

const char* const MainFormName = "MainFm";

}  // namespace

const TCornerKeeper* CornersFor(const std::string& formName)
{
    static const TMFmClass mainCorners;
    static const TIECertFmClass listCorners;
    static const TReportFmClass reportCorners;
    if (formName == MainFormName)
        return &mainCorners;
    if (formName == "IECertFm" || formName == "CookiesFm")
        return &listCorners;
    if (formName == "ReportFm")
        return &reportCorners;
    return nullptr;
}

RECT CornerBox(const RECT& client, int corner, int diameter)
{
    const bool right = corner == CornerTopRight || corner == CornerBottomRight;
    const bool bottom = corner == CornerBottomRight || corner == CornerBottomLeft;
    RECT box;
    box.left = right ? client.right - diameter : client.left;
    box.right = box.left + diameter;
    box.top = bottom ? client.bottom - diameter : client.top;
    box.bottom = box.top + diameter;
    return box;
}

void NotchPoints(int height, POINT (&points)[4])
{
    points[0] = {0, 56};
    points[1] = {22, height / 2 - 3};
    points[2] = {0, height - 73};
    points[3] = {0, 56};
}

void ShapeForm(TForm* form)
{
    if (!form)
        return;
    const TCornerKeeper* corners = CornersFor(form->Name);
    if (!corners)
        return;
    RECT client;
    if (!GetClientRect(form->Handle(), &client))
        return;
    // A cut that fails leaves the outline as it was; the others still apply.
    TRegionMaker maker;
    for (int corner = CornerTopLeft; corner <= CornerBottomLeft; ++corner)
        maker.CutCorner(*form, CornerBox(client, corner, corners->Diameter(corner)), corner);
    if (form->Name == MainFormName) {
        POINT notch[4];
        NotchPoints(form->Height(), notch);
        maker.CutPolygon(*form, notch, 4);
    }
}
