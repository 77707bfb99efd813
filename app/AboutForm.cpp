#include "AboutForm.h"

#include <shellapi.h>

TAboutFm* AboutFm = nullptr;

const char* const TAboutFm::HomePage = "https://quelora.example/";
const char* const TAboutFm::Version = "2.8";

namespace {
const TColor Face = RGB(204, 218, 245);
}

TAboutFm::TAboutFm(TComponent* owner) : TSkinnedForm(owner)
{
    Name = "AboutFm";
    BorderStyle = bsSingle;
    Position = poOwnerFormCenter;
    Color = Face;
    SetCaption("About...");
    SetClientSize(271, 209);

    Image1 = new TImage(this);
    Image1->Name = "Image1";
    Image1->SetBounds(16, 17, 238, 90);
    Image1->Picture.LoadFromResourceName(GetModuleHandleA(nullptr), "ABOUTLOGO");
    Image1->SetParent(this);

    MyGraphicLabel6 = MakeLabel("MyGraphicLabel6", 112, 41, 47, 15, RGB(251, 252, 255));
    MyGraphicLabel1 = MakeLabel("MyGraphicLabel1", 16, 116, 105, 21, Face);
    MyGraphicLabel1->SetMultiLine(true);
    MyGraphicLabel1->SetCaption("Internet Homepage:");
    MyGraphicLabel2 = MakeLabel("MyGraphicLabel2", 122, 115, 89, 17, Face);
    MyGraphicLabel2->Font.Style = fsUnderline;
    MyGraphicLabel2->Font.Color = RGB(50, 89, 162);
    MyGraphicLabel2->Cursor = crHandPoint;
    // Widened to the whole address: the box leaves room for it, the designed width does not.
    MyGraphicLabel2->AutoSize = true;
    MyGraphicLabel2->SetCaption(HomePage);
    MyGraphicLabel2->OnClick = [this](TObject* s) { MyGraphicLabel2Click(s); };
    // The version that the first-start setup stores, whatever the label was made with.
    MyGraphicLabel6->SetCaption(Version);

    ImageList1 = MakeImageList("ImageList1", "ABOUTOK", 70, 19);
    MyGraphicBtn1 = MakeButton("MyGraphicBtn1", ImageList1, 2, 1, 183, 176, 70, 19);
    MyGraphicBtn1->OnClick = [this](TObject*) { Close(); };
}

TAboutFm::~TAboutFm()
{
    if (AboutFm == this)
        AboutFm = nullptr;
}

void TAboutFm::CreateParams(DWORD& style, DWORD& exStyle, HWND& parent)
{
    TSkinnedForm::CreateParams(style, exStyle, parent);
    style &= ~static_cast<DWORD>(WS_MINIMIZEBOX);   // the system menu's button alone
}

TMyGraphicLabel* TAboutFm::MakeLabel(const char* name, int left, int top, int width, int height, TColor background)
{
    auto* l = new TMyGraphicLabel(this);
    l->Name = name;
    l->SetBounds(left, top, width, height);
    l->Font.Name = "Tahoma";
    l->Font.Height = -11;
    l->Font.Color = clBlack;
    l->SetParent(this);
    l->SetColorBG(background);
    return l;
}

void TAboutFm::MyGraphicLabel2Click(TObject*)
{
    ShellExecuteA(nullptr, "open", HomePage, nullptr, nullptr, SW_SHOWMAXIMIZED);
}
