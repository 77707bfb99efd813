#include "ProgressIndicatorFm.h"

#include "CRunOwner.h"
#include "ProgressParts.h"

TIndicatorFm* IndicatorFm = nullptr;

namespace {
const TColor LabelBackground = RGB(181, 181, 181);
}

TIndicatorFm::TIndicatorFm(TForm* owner, CRunOwner* runOwner) : TForm(owner), RunOwner(runOwner)
{
    Name = "IndicatorFm";
    BorderStyle = bsNone;
    FormStyle = fsStayOnTop;
    Position = poOwnerFormCenter;
    Color = RGB(170, 170, 170);
    SetClientSize(313, 97);

    Image1 = new TImage(this);
    Image1->Name = "Image1";
    Image1->SetBounds(0, 0, 313, 97);
    Image1->Stretch = true;
    Image1->Picture.LoadFromResourceName(GetModuleHandleA(nullptr), "PROGRESSSKIN");
    Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseDown(s, b, sh, x, y);
    };
    Image1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { Image1MouseMove(s, sh, x, y); };
    Image1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        Image1MouseUp(s, b, sh, x, y);
    };
    Image1->SetParent(this);

    MakeProgressGaugeAndCancel(this, CGauge1, ImageList1, MyGraphicBtn1);
    MyGraphicBtn1->OnClick = [this](TObject* s) { MyGraphicBtn1Click(s); };

    MyGraphicLabel3 = MakeLabel("MyGraphicLabel3", 13, 12, 237, 17);
    MyGraphicLabel5 = MakeLabel("MyGraphicLabel5", 250, 12, 49, 17);
    MyGraphicLabel1 = MakeLabel("MyGraphicLabel1", 13, 28, 236, 17);
    MyGraphicLabel2 = MakeLabel("MyGraphicLabel2", 249, 28, 50, 17);
    MyGraphicLabel4 = MakeLabel("MyGraphicLabel4", 13, 43, 286, 17);

    Timer1 = new TTimer(this);
    Timer1->Name = "Timer1";
    Timer1->SetInterval(500);
    Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });

    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };

    Indicator.Gauge = CGauge1;
    Indicator.GroupLabel = MyGraphicLabel3;
    Indicator.SectionLabel = MyGraphicLabel1;
    Indicator.StatusLabel = MyGraphicLabel4;
    Indicator.SizeLabel = MyGraphicLabel2;
    CancelEvent = CreateEventA(nullptr, TRUE, FALSE, "CancelEvent");
    Handle();   // made here, on the window's thread: the worker only posts to it
}

TIndicatorFm::~TIndicatorFm()
{
    if (IndicatorFm == this)
        IndicatorFm = nullptr;
    if (CancelEvent)
        CloseHandle(CancelEvent);
}

TMyGraphicLabel* TIndicatorFm::MakeLabel(const char* name, int left, int top, int width, int height)
{
    auto* l = new TMyGraphicLabel(this);
    l->Name = name;
    l->SetBounds(left, top, width, height);
    l->Font.Name = "MS Sans Serif";
    l->Font.Height = -11;
    l->Font.Style = fsBold;
    l->Font.Color = clWhite;
    l->SetParent(this);
    l->SetCaption(" ");
    l->SetColorBG(LabelBackground);
    return l;
}

void TIndicatorFm::RunFinished()
{
    PostMessageA(Handle(), WM_RUNFINISHED, 0, 0);
}

bool TIndicatorFm::CancelRequested() const
{
    return CancelEvent && WaitForSingleObject(CancelEvent, 0) == WAIT_OBJECT_0;
}

void TIndicatorFm::Dispatch(TMessage& message)
{
    if (message.Msg == WM_RUNFINISHED) {
        Finished = true;
        Close();
        return;
    }
    TForm::Dispatch(message);
}

void TIndicatorFm::MyGraphicBtn1Click(TObject*)
{
    if (CancelEvent)
        SetEvent(CancelEvent);
}

void TIndicatorFm::FormClose(TObject*, TCloseAction& action)
{
    // The worker still writes to this window and its reporter: a close asked for by anyone
    // else while the run goes on only cancels it, and the run's own end closes the window.
    if (!Finished) {
        MyGraphicBtn1Click(this);
        action = caNone;
        return;
    }
    if (CancelEvent)
        CloseHandle(CancelEvent);
    CancelEvent = nullptr;
    if (RunOwner)
        RunOwner->LockPopupMenu(false);
    action = caFree;
    if (RunOwner)
        RunOwner->SetRunInProgress(false);
}

void TIndicatorFm::Image1MouseDown(TObject*, TMouseButton button, TShiftState, int, int)
{
    Dragger.MouseDown(*this, button);
}

void TIndicatorFm::Image1MouseMove(TObject*, TShiftState, int, int)
{
    Dragger.MouseMove(*this);
}

void TIndicatorFm::Image1MouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    Dragger.MouseUp(*this);
}

void TIndicatorFm::Timer1Timer(TObject*)
{
    std::string dashes = MyGraphicLabel5->Caption() + "-";
    MyGraphicLabel5->SetCaption(dashes.size() > 10 ? " " : dashes);
}
