#include "TIETFrame.h"

using namespace MainLayout;
namespace L = MainLayout::IETFrame;

TIETFrame::TIETFrame(TComponent* owner) : TGroupFrame(owner)
{
    Name = "IETFrame1";
    SetBounds(0, 0, FrameWidth, L::ExpandedHeight);
    Image1 = MakePicture(FrameHeaderPicture, Header::Image);
    MyGraphicBtn1 = MakeGroupIcon(InternetExplorerIcon);
    // The options, in the order the cleaner runs them and the settings keep them.
    MyRndRectBtn1 = MakeItem("MyRndRectBtn1", 1, "Temporary Internet Files", true, L::MyRndRectBtn1);
    MyRndRectBtn2 = MakeItem("MyRndRectBtn2", 2, "Cookies", true, L::MyRndRectBtn2);
    MyRndRectBtn3 = MakeItem("MyRndRectBtn3", 3, "History", true, L::MyRndRectBtn3);
    MyRndRectBtn4 = MakeItem("MyRndRectBtn4", 4, "Address Bar", true, L::MyRndRectBtn4);
    MyRndRectBtn4->Hint = "It is recommended to close MS Internet Explorer      before cleaning this item";
    MyRndRectBtn5 = MakeItem("MyRndRectBtn5", 5, "Downloaded Program Files", true, L::MyRndRectBtn5);
    MyRndRectBtn6 = MakeItem("MyRndRectBtn6", 6, "\" Index.Dat \" files", false, L::MyRndRectBtn6);
    MyRndRectBtn6->Hint = "Will be cleaned as soon as you reboot";
    MyRndRectBtn7 = MakeItem("MyRndRectBtn7", 7, "Expired", true, L::MyRndRectBtn7);
    MyRndRectBtn = MakeGroupBox(true);
    MyRndRectBtn8 = MakeItem("MyRndRectBtn8", 111, "Delete All", true, L::MyRndRectBtn8);
    MyRndRectBtn8->Hint = "All contents of \"Temporary Internet Files\" directory   will be deleted";
    MyRndRectBtn9 = MakeItem("MyRndRectBtn9", 112, "Delete only pages", false, L::MyRndRectBtn9);
    MyRndRectBtn9->Hint = "Only *.htm, *.html, *.shtml files will be deleted";
    MyRndRectBtn10 = MakeItem("MyRndRectBtn10", 113, "Delete only graphical objects", false, L::MyRndRectBtn10);
    MyRndRectBtn10->Hint = "Only *.gif, *.gpg, *.png, *.jpeg files will be deleted";
    for (TMyRndRectBtn* choice : {MyRndRectBtn8, MyRndRectBtn9, MyRndRectBtn10}) {
        choice->SetImageNumberOn(3);
        choice->SetImageNumberOff(4);
    }
    MyRndRectBtn12 = MakeHeader("MyRndRectBtn12", "MS Internet Explorer",
                                "MS Internet Explorer group. Click left mouse button   to view/hide all  elements in this group",
                                false);
    MyRndRectBtn12->OnClick = [this](TObject* s) { MyRndRectBtn12Click(s); };
    // AutoComplete passwords, AutoComplete forms.
    MyRndRectBtn11 = MakeItem("MyRndRectBtn11", 8,
                              "\xC0\xE2\xF2\xEE\xE7\xE0\xEF\xEE\xEB\xED\xE5\xED\xE8\xE5 \xEF\xE0\xF0\xEE\xEB\xE5\xE9",
                              true, L::MyRndRectBtn11);
    MyRndRectBtn13 = MakeItem("MyRndRectBtn13", 9, "\xC0\xE2\xF2\xEE\xE7\xE0\xEF\xEE\xEB\xED\xE5\xED\xE8\xE5 \xF4\xEE\xF0\xEC",
                              true, L::MyRndRectBtn13);
    MyRndRectBtn14 = MakeItem("MyRndRectBtn14", 10, "Home page", true, L::MyRndRectBtn14);
    // Restoring URL prefixes.
    MyRndRectBtn15 = MakeItem("MyRndRectBtn15", 11,
                              "\xC2\xEE\xF1\xF1\xF2\xE0\xED\xEE\xE2\xEB\xE5\xED\xE8\xE5 \xEF\xF0\xE5\xF4\xE8\xEA\xF1\xEE\xE2 URL",
                              false, L::MyRndRectBtn15);
    MyGraphicBtn2 = MakeFrameButton("MyGraphicBtn2", SelectCookiesFirst, "", L::MyGraphicBtn2);
    MyGraphicBtn3 = MakeFrameButton("MyGraphicBtn3", ViewCertificatesFirst, "", L::MyGraphicBtn3);
}

void TIETFrame::MyRndRectBtn12Click(TObject* sender)
{
    HeaderClick(sender, ExFrame, "Internet Explorer");
}
