#include "TWinTFrame.h"

using namespace MainLayout;
namespace L = MainLayout::WinTFrame;

TWinTFrame::TWinTFrame(TComponent* owner) : TGroupFrame(owner)
{
    Name = "WinTFrame1";
    SetBounds(0, 0, FrameWidth, L::ExpandedHeight);
    Image1 = MakePicture(FrameHeaderPicture, Header::Image);
    MyGraphicBtn1 = MakeGroupIcon(WindowsIcon);
    MyRndRectBtn1 = MakeItem("MyRndRectBtn1", 1, "Menu \"Start \\ Documents\"", true, L::MyRndRectBtn1);
    MyRndRectBtn2 = MakeItem("MyRndRectBtn2", 2, "Menu \"Start \\ Find\"", true, L::MyRndRectBtn2);
    MyRndRectBtn3 = MakeItem("MyRndRectBtn3", 3, "Menu \"Start \\ Run\"", true, L::MyRndRectBtn3);
    MyRndRectBtn3->Hint = "Will be cleaned as soon as you reboot";
    MyRndRectBtn4 = MakeItem("MyRndRectBtn4", 4, "Recycle Bin", true, L::MyRndRectBtn4);
    MyRndRectBtn5 = MakeItem("MyRndRectBtn5", 5, "\"Temp\" folder", true, L::MyRndRectBtn5);
    MyRndRectBtn6 = MakeItem("MyRndRectBtn6", 6, "Scandisk *.Chk files", true, L::MyRndRectBtn6);
    MyRndRectBtn7 = MakeItem("MyRndRectBtn7", 7, "\"Accessories\" Programs MRU lists", true, L::MyRndRectBtn7);
    MyRndRectBtn7->Hint = "It is recommended to close Accessories programs     before cleaning";
    MyRndRectBtn8 = MakeItem("MyRndRectBtn8", 8, "MS Office MRU lists", true, L::MyRndRectBtn8);
    MyRndRectBtn8->Hint = "It is recommended to close MS Office programs         before cleaning";
    MyRndRectBtn9 = MakeItem("MyRndRectBtn9", 9, "Streams MRU lists", true, L::MyRndRectBtn9);
    MyRndRectBtn = MakeGroupBox(true);
    MyRndRectBtn11 = MakeHeader("MyRndRectBtn11", "MS Windows",
                                "MS Windows group. Click left mouse button to view/hide all elements in this group", true);
    MyRndRectBtn11->OnClick = [this](TObject* s) { MyRndRectBtn11Click(s); };
    MyRndRectBtn10 = MakeItem("MyRndRectBtn10", 10, "Last Logon User", true, L::MyRndRectBtn10);
    // The Media Player list.
    MyRndRectBtn12 = MakeItem("MyRndRectBtn12", 11, "MRU \xF1\xEF\xE8\xF1\xEE\xEA \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB Media Player",
                              true, L::MyRndRectBtn12);
}

void TWinTFrame::MyRndRectBtn11Click(TObject* sender)
{
    HeaderClick(sender, ExFrame, "Windows");
}
