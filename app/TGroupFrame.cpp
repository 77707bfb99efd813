#include "TGroupFrame.h"

using namespace MainLayout;

TGroupFrame::TGroupFrame(TComponent* owner) : TFrame(owner)
{
    Color = PageColor;
    Checks = new TImageList(this, 15, 15);
    Checks->LoadFromResourceName("CHECKBOXES");
    FrameButtons = new TImageList(this, 146, 17);
    FrameButtons->LoadFromResourceName(FrameButtonPictures);
    GroupIcons = new TImageList(this, 24, 24);
    GroupIcons->LoadFromResourceName(GroupIconPictures);
}

void TGroupFrame::HeaderClick(TObject* sender, TExFrame& ex, const char* label)
{
    if (Host)
        Host->SetGroupLabel(label);
    if (!sender || sender->ClassName() == "TMainFm")
        return;
    for (int i = 0; i < ex.ExpandHeight; ++i) {
        SetHeight(Height() + (ex.Collapsed ? 1 : -1));
        if (Host)
            Host->StackFrames();
    }
    ex.Collapsed = !ex.Collapsed;
    if (Host)
        Host->UpdateScrollRange();
}

TMyRndRectBtn* TGroupFrame::MakeItem(const char* name, int tag, const char* caption, bool down, const MainLayout::Rect& r)
{
    return MakeButton(name, tag, caption, down, r, false);
}

TMyRndRectBtn* TGroupFrame::MakeButton(const char* name, int tag, const char* caption, bool down, const MainLayout::Rect& r,
                                       bool header)
{
    auto* b = new TMyRndRectBtn(this);
    b->Name = name;
    b->Tag = tag;
    b->SetBounds(r.Left, r.Top, r.Width, r.Height);
    b->Font.Name = ItemFont;
    b->Font.Height = ItemFontHeight;
    b->Font.Color = header ? HeaderTextColor : ItemTextColor;
    if (header)
        b->Font.Style = fsBold;
    b->ColorFontOnOver = ItemHoverColor;
    b->Cursor = crHandPoint;
    b->SetParent(this);
    b->SetColorBG(header ? HeaderColor : PageColor);
    b->SetImageList(Checks);
    b->SetImageNumberOn(header ? 0 : 1);
    b->SetImageNumberOff(header ? 0 : 2);
    b->SetDown(down);
    b->SetCaption(caption);
    return b;
}

TMyRndRectBtn* TGroupFrame::MakeHeader(const char* name, const char* caption, const char* hint, bool down)
{
    auto* b = MakeButton(name, 0, caption, down, Header::Caption, true);
    b->Hint = hint;
    return b;
}

TMyRndRectBtn* TGroupFrame::MakeGroupBox(bool down)
{
    auto* b = MakeButton("MyRndRectBtn", 0, "", down, Header::GroupBox, true);
    b->SetImageNumberOn(1);
    b->SetImageNumberOff(2);
    return b;
}

TMyGraphicBtn* TGroupFrame::MakeGroupIcon(int picture)
{
    const auto& r = Header::GroupIcon;
    auto* g = MakePictureButton(this, "MyGraphicBtn1", r.Left, r.Top, r.Width, r.Height, ssPicture, GroupIcons, picture,
                                picture);
    g->Cursor = crDefault;   // a picture, not a button to press
    return g;
}

TMyGraphicBtn* TGroupFrame::MakeFrameButton(const char* name, int first, const char* hint, const MainLayout::Rect& r)
{
    auto* g = MakePictureButton(this, name, r.Left, r.Top, r.Width, r.Height, ssOnOver, FrameButtons, first, first + 1);
    g->Hint = hint;
    return g;
}

TImage* TGroupFrame::MakePicture(const char* resource, const MainLayout::Rect& r)
{
    auto* image = new TImage(this);
    image->Name = "Image1";
    image->SetBounds(r.Left, r.Top, r.Width, r.Height);
    image->Picture.LoadFromResourceName(GetModuleHandleA(nullptr), resource);
    image->SetParent(this);
    return image;
}
