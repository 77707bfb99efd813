#include "IntroForm.h"

#include "MainForm.h"

TIntroFm* IntroFm = nullptr;

TIntroFm::TIntroFm(TComponent* owner) : TForm(owner)
{
    Name = "IntroFm";
    BorderStyle = bsNone;
    FormStyle = fsStayOnTop;
    // Over the main window, which is centred on the screen but not yet placed while it is
    // being built, when the logo comes.
    Position = poScreenCenter;
    SetClientSize(301, 218);
    Image1 = new TImage(this);
    Image1->Name = "Image1";
    Image1->SetBounds(0, 0, 301, 218);
    Image1->Picture.LoadFromResourceName(GetModuleHandleA(nullptr), "INTROLOGO");
    Image1->SetParent(this);
    FormCloseTimer = new TTimer(this);
    FormCloseTimer->Name = "FormCloseTimer";
    FormCloseTimer->SetInterval(2000);
    FormCloseTimer->SetOnTimer([this](TObject*) { Close(); });
    FormCloseTimer->SetEnabled(true);
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TIntroFm::~TIntroFm()
{
    if (IntroFm == this)
        IntroFm = nullptr;
}

void TIntroFm::FormClose(TObject*, TCloseAction& action)
{
    FormCloseTimer->SetEnabled(false);
    Hide();
    action = caFree;
    if (auto* main = dynamic_cast<TMainFm*>(Owner()))
        main->IntroClosed(this);
}
