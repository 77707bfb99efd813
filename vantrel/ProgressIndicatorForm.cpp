#include "ProgressIndicatorForm.h"

#include "Exceptions.h"
#include "ProgressParts.h"
#include "Progressthread.h"
#include "TApplication.h"
#include "TRegistry.h"

const char VantrelDataKey[] = "Software\\Ostrand\\Quelora\\Data\\";
const char WorkListName[] = "cmfiles.ftd";

TIndicatorFm* IndicatorFm = nullptr;

TIndicatorFm::TIndicatorFm(TComponent* owner) : TForm(owner)
{
    Name = "IndicatorFm";
    BorderStyle = bsNone;
    FormStyle = fsStayOnTop;
    SetCaption("Vantrel Progress Indicator");
    Color = GetSysColor(COLOR_BTNFACE);
    SetClientSize(313, 97);
    SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2, Width(),
              Height());

    Image1 = new TImage(this);
    Image1->Name = "Image1";
    Image1->SetBounds(0, 0, 313, 97);
    Image1->Stretch = true;
    Image1->Picture.LoadFromResourceName(GetModuleHandleA(nullptr), "PROGRESSSKIN");
    Image1->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) { Dragger.MouseDown(*this, b); };
    Image1->OnMouseMove = [this](TObject*, TShiftState, int, int) { Dragger.MouseMove(*this); };
    Image1->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Dragger.MouseUp(*this); };
    Image1->SetParent(this);

    MakeProgressGaugeAndCancel(this, CGauge1, ImageList1, MyGraphicBtn1);
    MyGraphicBtn1->OnClick = [this](TObject* s) { MyGraphicBtn1Click(s); };

    MyGraphicLabel4 = MakeLabel("MyGraphicLabel4", 13, 43, 286, "Wiping...");
    MyGraphicLabel1 = MakeLabel("MyGraphicLabel1", 13, 28, 286, "File:");
    MyGraphicLabel3 = MakeLabel("MyGraphicLabel3", 13, 12, 237, "Unrecoverable file deletion");
    MyGraphicLabel5 = MakeLabel("MyGraphicLabel5", 250, 12, 49, " ");

    Timer1 = new TTimer(this);
    Timer1->Name = "Timer1";
    Timer1->SetInterval(500);
    Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };

    // The window is made here, on its own thread, before the worker can send to it.
    FLink = std::make_shared<CWindowLink>(this);
    std::unique_ptr<TIndicatorThread> worker(new TIndicatorThread(FLink));
    {
        TRegistry reg(HKEY_CURRENT_USER);
        if (reg.OpenKeyReadOnly(VantrelDataKey)) {
            std::string folder = reg.ReadString("InstallationPath");
            if (!folder.empty())
                worker->WorkList.LoadFromFile(folder + "\\" + WorkListName);
        }
    }
    worker->FreeOnTerminate = true;
    worker.release()->Resume();
}

TMyGraphicLabel* TIndicatorFm::MakeLabel(const char* name, int left, int top, int width, const char* caption)
{
    auto* l = new TMyGraphicLabel(this);
    l->Name = name;
    l->SetBounds(left, top, width, 17);
    l->Font.Name = "MS Sans Serif";
    l->Font.Height = -11;
    l->Font.Style = fsBold;
    l->Font.Color = clWhite;
    l->SetParent(this);
    l->SetCaption(caption);
    l->SetColorBG(RGB(0xB5, 0xB5, 0xB5));
    return l;
}

void TIndicatorFm::Dispatch(TMessage& message)
{
    if (message.Msg == WM_CLOSEINDICATOR) {
        MyGraphicBtn1Click(this);
        return;
    }
    TForm::Dispatch(message);
}

void TIndicatorFm::MyGraphicBtn1Click(TObject*)
{
    FLink->Cancel();
    if (!Closing)
        Close();
}

void TIndicatorFm::FormClose(TObject*, TCloseAction& action)
{
    Closing = true;
    // However the window closes (Cancel, Alt+F4, the taskbar), the worker stops: nothing is
    // left to wipe unseen and the program ends.
    FLink->Cancel();
    Timer1->SetEnabled(false);
    // From here on the worker leaves the window alone; the event stays open while it runs.
    FLink->WindowClosing();
    action = caFree;
    Sleep(500);
    Application->Terminate();
}

void TIndicatorFm::Timer1Timer(TObject*)
{
    std::string dashes = MyGraphicLabel5->Caption() + "-";
    MyGraphicLabel5->SetCaption(dashes.size() > 10 ? " " : dashes);
}

int RunVantrel()
{
    std::shared_ptr<CWindowLink> link;
    try {
        Application->Initialize();
        IndicatorFm = NewForm<TIndicatorFm>(nullptr);
        link = IndicatorFm->Link();
        Application->MainForm = IndicatorFm;
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    if (link)
        link->WaitForWorker();
    return 0;
}
