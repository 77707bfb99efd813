#include "MainForm.h"

#include "COptRWClass.h"
#include "CNetCleanClass.h"
#include "Exceptions.h"
#include "ProgressIndicatorFm.h"
#include "SysUtils.h"
#include "TApplication.h"
#include "TM_Logger.h"
#include "TModalLoops.h"
#include "TRegistry.h"
#include "Tifacecreator.h"

using namespace MainLayout;

TMainFm* MainFm = nullptr;

TMainFm::TMainFm(TComponent* owner) : TForm(owner)
{
    // 1. The window and its components.
    Name = "MainFm";
    BorderStyle = bsNone;
    Position = poScreenCenter;
    Font.Name = "MS Sans Serif";
    SetCaption("Quelora");
    SetClientSize(Form.Width, Form.Height);

    Image1 = new TImage(this);
    Image1->Name = "Image1";
    Image1->SetBounds(MainLayout::Image1.Left, MainLayout::Image1.Top, MainLayout::Image1.Width, MainLayout::Image1.Height);
    Image1->Picture.LoadFromResourceName(GetModuleHandleA(nullptr), SkinPicture);
    Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { Image1MouseDown(s, b, sh, x, y); };
    Image1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { Image1MouseMove(s, sh, x, y); };
    Image1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { Image1MouseUp(s, b, sh, x, y); };
    Image1->SetParent(this);

    auto list = [this](const char* name, const char* resource, int w, int h) {
        auto* l = new TImageList(this, w, h);
        l->Name = name;
        l->LoadFromResourceName(resource);
        return l;
    };
    PopUpMenuImageList16x16 = list("PopUpMenuImageList16x16", MenuPictures, MenuPictureSize, MenuPictureSize);
    TImageList* cleanList = list("CleanImageList", CleanPictures, 129, 52);
    TImageList* helpList = list("HelpImageList", HelpPictures, 22, 22);
    TImageList* minimizeList = list("MinimizeImageList", MinimizePictures, 22, 22);
    TImageList* closeList = list("CloseImageList", ClosePictures, 22, 22);
    TImageList* wipeList = list("WipeModeImageList", WipeModePictures, 117, 46);
    TImageList* pageList = list("PageImageList", PagePictures, 104, 29);
    TImageList* scrollList = list("ScrollImageList", "SCROLLIMAGES", 15, 15);

    MainFrame = new TTMainFrame(this);
    MainFrame->SetBounds(MainLayout::MainFrame.Left, MainLayout::MainFrame.Top, MainLayout::MainFrame.Width,
                         MainLayout::MainFrame.Height);
    MainFrame->SetParent(this);
    IETFrame1 = MainFrame->IETFrame1;
    WinTFrame1 = MainFrame->WinTFrame1;
    NetTFrame1 = MainFrame->NetTFrame1;
    SettingsFrame = new TSettingsFrame(this);
    SettingsFrame->SetBounds(MainLayout::SettingsFrame.Left, MainLayout::SettingsFrame.Top,
                             MainLayout::SettingsFrame.Width, MainLayout::SettingsFrame.Height);
    SettingsFrame->SetParent(this);
    for (TGroupFrame* f : std::initializer_list<TGroupFrame*>{IETFrame1, WinTFrame1, NetTFrame1, SettingsFrame})
        f->Host = this;

    StretchScroll1 = new TStretchScroll(this);
    StretchScroll1->Name = "StretchScroll1";
    StretchScroll1->SetParent(this);
    StretchScroll1->SetBounds(MainLayout::StretchScroll1.Left, MainLayout::StretchScroll1.Top,
                              MainLayout::StretchScroll1.Width, MainLayout::StretchScroll1.Height);
    StretchScroll1->SetStyle(TStretchScroll::ssVert);
    StretchScroll1->SetSliderLen(15);
    StretchScroll1->SetSControlStep(ScrollStep);
    StretchScroll1->SetSControlLargeStep(ScrollLargeStep);
    StretchScroll1->SetImageList(scrollList);
    StretchScroll1->SetControlPosition(MainLayout::StretchScroll1.Top);
    StretchScroll1->OnChanged = [this](TObject* s) { StretchScroll1Changed(s); };

    MyGraphicBtn1 = MakeButton("MyGraphicBtn1", helpList, ssOnOver, Normal, Lit, MainLayout::MyGraphicBtn1, "Help");
    MyGraphicBtn1->OnClick = [this](TObject* s) { MyGraphicBtn1Click(s); };
    MyGraphicBtn3 = MakeButton("MyGraphicBtn3", cleanList, ssOnOver, Normal, Lit, MainLayout::MyGraphicBtn3, "Clean button");
    MyGraphicBtn3->OnClick = [this](TObject* s) { MyGraphicBtn3Click(s); };
    MyGraphicBtn4 = MakeButton("MyGraphicBtn4", wipeList, ssDownMode, FastestUp, FastestChosen,
                               MainLayout::MyGraphicBtn4, "Fastest Mode. Standart file deletion");
    MyGraphicBtn4->SetDown(true);
    MyGraphicBtn4->OnClick = [this](TObject* s) { MyGraphicBtn4Click(s); };
    MyGraphicBtn5 = MakeButton("MyGraphicBtn5", wipeList, ssDownMode, MediumUp, MediumChosen, MainLayout::MyGraphicBtn5,
                               "Medium Mode. Deleted files are unrecoverable            by Undelete/Unerase utilities");
    MyGraphicBtn5->OnClick = [this](TObject* s) { MyGraphicBtn5Click(s); };
    MyGraphicBtn8 = MakeButton("MyGraphicBtn8", wipeList, ssDownMode, SlowestUp, SlowestChosen, MainLayout::MyGraphicBtn8,
                               "Slowlest Mode. Deleted files are completely                unrecoverable by hardware devices");
    MyGraphicBtn8->OnClick = [this](TObject* s) { MyGraphicBtn8Click(s); };
    MyGraphicBtn6 = MakeButton("MyGraphicBtn6", closeList, ssOnOver, Normal, Lit, MainLayout::MyGraphicBtn6, "Close");
    MyGraphicBtn6->OnClick = [this](TObject*) { Close(); };
    MyGraphicBtn7 = MakeButton("MyGraphicBtn7", minimizeList, ssOnOver, Normal, Lit, MainLayout::MyGraphicBtn7, "Minimize");
    MyGraphicBtn7->OnClick = [this](TObject* s) { N5Click(s); };
    WhatClBtn = MakeButton("WhatClBtn", pageList, ssDownMode, ItemsPageUp, ItemsPageChosen, MainLayout::WhatClBtn,
                           "Items to clean");
    WhatClBtn->SetDown(true);
    WhatClBtn->OnClick = [this](TObject* s) { WhatClBtnClick(s); };
    OptBtn = MakeButton("OptBtn", pageList, ssDownMode, SettingsPageUp, SettingsPageChosen, MainLayout::OptBtn, "Options");
    OptBtn->OnClick = [this](TObject* s) { OptBtnClick(s); };

    MyGraphicLabel1 = MakeLabel("MyGraphicLabel1", MainLayout::MyGraphicLabel1, HintTextColor, " ");
    MyGraphicLabel1->Hint = " ";
    MyGraphicLabel1->SetMultiLine(true);
    MyGraphicLabel2 = MakeLabel("MyGraphicLabel2", MainLayout::MyGraphicLabel2, TimeTextColor, "00:00:00");
    MyGraphicLabel3 = MakeLabel("MyGraphicLabel3", MainLayout::MyGraphicLabel3, GroupTextColor, " ");
    MyGraphicLabel4 = MakeLabel("MyGraphicLabel4", MainLayout::MyGraphicLabel4, TimeTextColor, "00:00");
    MyGraphicLabel5 = MakeLabel("MyGraphicLabel5", MainLayout::MyGraphicLabel5, TimeTextColor, "  N/A");

    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->Name = "PopupMenu1";
    PopupMenu1->Images = PopUpMenuImageList16x16;
    N19 = MakeMenuItem("N19", "Clean Now", CleanNowImage, [this](TObject* s) { MyGraphicBtn3Click(s); });
    N2 = MakeMenuItem("N2", "-", -1, nullptr);
    InvisibleModeALTZ1 = MakeMenuItem("InvisibleModeALTZ1", "\"Stealth\" Mode ALT+Z", -1,
                                      [this](TObject* s) { InvisibleModeALTZ1Click(s); });
    HideShow1 = MakeMenuItem("HideShow1", "Hide/Show IE Windows ALT+SPACE", -1, [this](TObject* s) { HideShow1Click(s); });
    PopUpAction = MakeMenuItem("PopUpAction", "Activate Breviker", BlockerOffImage,
                               [this](TObject* s) { PopUpActionClick(s); });
    N15 = MakeMenuItem("N15", "-", -1, nullptr);
    N5 = MakeMenuItem("N5", "Restore / Minimize", MinimizeImage, [this](TObject* s) { N5Click(s); });
    for (TMenuItem* switched : {HideShow1, PopUpAction, N5})
        switched->RunTimeCaption = true;
    AboutVelmar1 = MakeMenuItem("AboutVelmar1", "About...", AboutImage, [this](TObject* s) { AboutVelmar1Click(s); });
    N1 = MakeMenuItem("N1", "-", -1, nullptr);
    N7 = MakeMenuItem("N7", "Close Quelora", CloseImage, [this](TObject*) { Close(); });

    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->Name = "TrayIcon1";
    TrayIcon1->SetIcons(PopUpMenuImageList16x16);
    TrayIcon1->SetIconIndex(TrayNormalImage);
    TrayIcon1->SetHint("Quelora");
    TrayIcon1->PopupMenu = PopupMenu1;
    TrayIcon1->OnRestore = [this](TObject* s) { TrayIcon1Restore(s); };
    TrayIcon1->OnClick = [this](TObject* s) { TrayIcon1Click(s); };
    TrayIcon1->SetVisible(true);

    auto timer = [this](const char* name, unsigned ms, bool enabled, TNotifyEvent handler) {
        auto* t = new TTimer(this);
        t->Name = name;
        t->SetEnabled(false);
        t->SetInterval(ms);
        t->SetOnTimer(std::move(handler));
        t->SetEnabled(enabled);
        return t;
    };
    TimeTimer = timer("TimeTimer", 1000, true, [this](TObject* s) { TimeTimerTimer(s); });
    CleanTimer = timer("CleanTimer", 60000, false, [this](TObject* s) { CleanTimerTimer(s); });
    PopUpHintTimer = timer("PopUpHintTimer", 2500, false, [this](TObject* s) { PopUpHintTimerTimer(s); });

    // The hint line follows the pointer over every control that can carry a hint.
    for (TGroupFrame* f : std::initializer_list<TGroupFrame*>{IETFrame1, WinTFrame1, NetTFrame1, SettingsFrame})
        for (int i = 0; i < f->ComponentCount(); ++i)
            HookHints(dynamic_cast<TControl*>(f->Components(i)));
    for (TMyGraphicBtn* b : {MyGraphicBtn1, MyGraphicBtn3, MyGraphicBtn4, MyGraphicBtn5, MyGraphicBtn8, MyGraphicBtn6,
                             MyGraphicBtn7, WhatClBtn, OptBtn})
        HookHints(b);

    // The frames' and the settings page's handlers.
    auto items = [this](TGroupFrame* frame, TMyRndRectBtn* except1, TMyRndRectBtn* except2) {
        for (int i = 0; i < frame->ComponentCount(); ++i) {
            auto* b = dynamic_cast<TMyRndRectBtn*>(frame->Components(i));
            if (b && b->Tag > 0 && b->Tag < 100 && b != except1 && b != except2)
                b->OnClick = [this](TObject* s) { Define3St(s); };
        }
    };
    items(IETFrame1, IETFrame1->MyRndRectBtn1, nullptr);
    items(WinTFrame1, nullptr, nullptr);
    items(NetTFrame1, nullptr, nullptr);
    IETFrame1->MyRndRectBtn1->OnClick = [this](TObject* s) { IETFrame1MyRndRectBtn1Click(s); };
    for (TMyRndRectBtn* b : {IETFrame1->MyRndRectBtn8, IETFrame1->MyRndRectBtn9, IETFrame1->MyRndRectBtn10})
        b->OnClick = [this](TObject* s) { IETFrame1SubOptionClick(s); };
    IETFrame1->MyRndRectBtn->OnClick = [this](TObject* s) { IETFrame1MyRndRectBtnClick(s); };
    WinTFrame1->MyRndRectBtn->OnClick = [this](TObject* s) { WinTFrame1MyRndRectBtnClick(s); };
    NetTFrame1->MyRndRectBtn->OnClick = [this](TObject* s) { NetTFrame1MyRndRectBtnClick(s); };
    IETFrame1->OnClick = [this](TObject*) { IETFrame1->MyRndRectBtn12Click(this); };
    WinTFrame1->OnClick = [this](TObject*) { WinTFrame1->MyRndRectBtn11Click(this); };
    NetTFrame1->OnClick = [this](TObject*) { NetTFrame1->MyRndRectBtn6Click(this); };
    IETFrame1->MyGraphicBtn2->OnClick = [this](TObject* s) { IETFrame1MyGraphicBtn2Click(s); };
    IETFrame1->MyGraphicBtn3->OnClick = [this](TObject* s) { IETFrame1MyGraphicBtn3Click(s); };
    NetTFrame1->MyGraphicBtn2->OnClick = [this](TObject* s) { NetTFrame1MyGraphicBtn2Click(s); };
    SettingsFrame->MyRndRectBtn5->OnClick = [this](TObject* s) { SettingsFrameMyRndRectBtn5Click(s); };
    SettingsFrame->MyRndRectBtn9->OnClick = [this](TObject* s) { SettingsFrameMyRndRectBtn9Click(s); };
    SettingsFrame->MyRndRectBtn10->OnClick = [this](TObject* s) { SettingsFrameMyRndRectBtn10Click(s); };
    SettingsFrame->MyRndRectBtn11->OnClick = [this](TObject* s) { SettingsFrameMyRndRectBtn11Click(s); };
    SettingsFrame->ComboBox1->OnCloseUp = [this](TObject* s) { SettingsFrameComboBox1CloseUp(s); };
    SettingsFrame->ComboBox2->OnCloseUp = [this](TObject* s) { SettingsFrameComboBox1CloseUp(s); };
    SettingsFrame->ComboBox3->OnCloseUp = [this](TObject* s) { SettingsFrameComboBox3CloseUp(s); };

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    OnMouseWheelDown = [this](TObject* s, TShiftState sh, POINT p, bool& h) { FormMouseWheelDown(s, sh, p, h); };
    OnMouseWheelUp = [this](TObject* s, TShiftState sh, POINT p, bool& h) { FormMouseWheelUp(s, sh, p, h); };

    // 2. The words and the container start empty (their members are made so).
    // 3. The clock is only the source of the last-run time.
    MyGraphicLabel2->SetVisible(false);
    // 4.
    Application->HintHidePause = 5000;
    Application->HintColor = RGB(255, 255, 212);
    // 5.
    WindowsShown = true;
    FirstShow = true;
    IntroShowing = false;
    RunInProgress = false;
    CleanOnStartPending = true;
    // 6. A hot key another program holds never arrives; nothing more to do about it.
    RegisterHotKey(Handle(), 32, MOD_ALT, VK_SPACE);
    RegisterHotKey(Handle(), 33, MOD_ALT, 'Z');
    ShapeMainWindow();        // 7
    FillLanguageCombo();      // 8
    BuildItemContainer();     // 9
    FillProfileCombo();       // 10
    RunFirstStartSetup();     // 11
    LoadSettings();           // 12
    InitItemPages();          // 13
    ApplyStartMinimized();    // 14
    ShowIntroWindow();        // 15
    Dragging = false;         // 16
    Define3St(IETFrame1->MyRndRectBtn6);   // 17
    Define3St(WinTFrame1->MyRndRectBtn3);
    Define3St(NetTFrame1->MyRndRectBtn3);
    if (!SettingsFrame->MyRndRectBtn10->Down())   // 18
        RegisterContextMenuExt();
    SettingsFrameComboBox3CloseUp(this);   // 19
    if (TrayIcon1->Tag == 1) {             // 20
        N5->SetCaption(MainFmWords.RestoreWndWD);
        N5->SetImageIndex(RestoreImage);
    } else {
        N5->SetCaption(MainFmWords.CancelWD);
        N5->SetImageIndex(MinimizeImage);
    }
}

TMainFm::~TMainFm()
{
    if (MainFm == this)
        MainFm = nullptr;
}

TMyGraphicBtn* TMainFm::MakeButton(const char* name, TImageList* list, ssStyle style, int off, int on, const MainLayout::Rect& r,
                                   const char* hint)
{
    auto* b = MakePictureButton(this, name, r.Left, r.Top, r.Width, r.Height, style, list, off, on);
    b->Hint = hint;
    return b;
}

TMyGraphicLabel* TMainFm::MakeLabel(const char* name, const MainLayout::Rect& r, TColor text, const char* caption)
{
    auto* l = new TMyGraphicLabel(this);
    l->Name = name;
    l->SetBounds(r.Left, r.Top, r.Width, r.Height);
    l->Font.Name = LabelFont;
    l->Font.Height = LabelFontHeight;
    l->Font.Style = fsBold;
    l->Font.Color = text;
    l->SetParent(this);
    l->SetColorBG(DisplayColor);
    l->SetCaption(caption);
    return l;
}

TMenuItem* TMainFm::MakeMenuItem(const char* name, const char* caption, int image, TNotifyEvent click)
{
    auto* item = new TMenuItem(this);
    item->Name = name;
    item->SetCaption(caption);
    if (image >= 0)
        item->SetImageIndex(image);
    item->OnClick = std::move(click);
    PopupMenu1->Add(item);
    return item;
}

void TMainFm::HookHints(TControl* control)
{
    if (auto* b = dynamic_cast<TMyRndRectBtn*>(control)) {
        b->OnMouseEnter = [this](TObject* s) { ShowHintOnMouseEnter(s); };
        b->OnMouseLeave = [this](TObject* s) { ShowHintOnMouseLeave(s); };
    } else if (auto* g = dynamic_cast<TMyGraphicBtn*>(control)) {
        g->OnMouseEnter = [this](TObject* s) { ShowHintOnMouseEnter(s); };
        g->OnMouseLeave = [this](TObject* s) { ShowHintOnMouseLeave(s); };
    }
}

void TMainFm::ShapeMainWindow()
{
    ShapeForm(this);
}

void TMainFm::FormCreate(TObject*)
{
    IdOnlyOne = RegisterWindowMessageA("OnlyOneMyProgram");
    IdPopupBlocked = RegisterWindowMessageA("Ostrand-Breviker");
    IdCtrlKeyUp = RegisterWindowMessageA("QueloraHookCtrlKeyUp");
    IdCtrlKeyDown = RegisterWindowMessageA("QueloraHookCtrlKeyDown");
    IdChangeState = RegisterWindowMessageA("ChangeBrevikerState");
    FHook = Application->HookMainWindow([this](TMessage& m) { return AppMessageHook(m); });
    ModalLoops->OnChange = [this](TObject*) { ModalLoopsChanged(); };
    if (CleanOnStartPending && SettingsFrame->MyRndRectBtn4->Down() && SettingsFrame->MyRndRectBtn7->Down()) {
        MyGraphicBtn3Click(this);
        CleanOnStartPending = false;
    }
}

void TMainFm::FormShow(TObject*)
{
    if (!FirstShow)
        return;
    TM_LocalizeClass languages;
    int count = languages.Languages.Count();
    if (count > 0) {
        if (static_cast<unsigned>(SettingsFrame->ComboBox3->ItemIndex()) > static_cast<unsigned>(count))
            SettingsFrame->ComboBox3->SetItemIndex(0);
        if (count == 1) {
            SettingsFrame->ComboBox3->SetVisible(false);
            SettingsFrame->MyRndRectBtn1->SetVisible(false);
        }
    }
    FirstShow = false;
}

void TMainFm::FormClose(TObject*, TCloseAction& action)
{
    // A close asked for inside a modal window's or a message box's loop ends the loops and
    // comes back once the outermost has returned: the code after each loop still runs on
    // this window.
    if (ModalLoops->CloseAfterLoops(Handle())) {
        action = caNone;
        return;
    }
    // A later close while the first waits for the run joins the first, which ends the
    // program: a free from here would pull the window out from under the waiting close.
    if (FClosing) {
        action = caNone;
        return;
    }
    FClosing = true;
    EndRun();
    action = caFree;
}

void TMainFm::EndRun()
{
    // Going now: a timed run that waited for the loops, queued behind this close, or a
    // Clean before the release, would start a run on a window about to be freed.
    TimedRunPending = false;
    // The worker reads the option controls, the progress window and its cleaners until it
    // ends: cancel the run and keep the messages turning until its window is gone, and only
    // then let the window and what it owns go.
    if (!RunInProgress)
        return;
    if (HANDLE cancel = OpenEventA(EVENT_MODIFY_STATE, FALSE, "CancelEvent")) {
        SetEvent(cancel);
        CloseHandle(cancel);
    }
    while (IndicatorFm) {
        Application->ProcessMessages();
        Sleep(10);
    }
}

void TMainFm::SessionEnded()
{
    // The system ends the process once this returns, from inside whatever loop runs: what a
    // close leaves behind it is done now, and the window is left to the system. A close
    // meanwhile joins this end, as it joins a close that waits for the run.
    FClosing = true;
    EndRun();
    LeaveBehind();
}

void TMainFm::FormDestroy(TObject*)
{
    LeaveBehind();
    delete Options;
    Options = nullptr;
    ModalLoops->OnChange = nullptr;
    if (FHook)
        Application->UnhookMainWindow(FHook);
    FHook = 0;
    FreeBrevikLib();
}

void TMainFm::LeaveBehind()
{
    if (FLeftBehind)
        return;
    FLeftBehind = true;
    // Nothing that fails here may keep the rest of the shutdown from running: a settings
    // write that fails is logged and the program goes on closing.
    bool save = SettingsFrame->MyRndRectBtn2->Down();
    if (Options) {
        try {
            if (save)
                Options->SaveOptions();
        } catch (const std::exception& e) {
            TM_Logger::Instance()->AddLine(std::string("Error: ") + e.what());
        }
        try {
            Options->WriteSaveSettings(save);
        } catch (const std::exception& e) {
            TM_Logger::Instance()->AddLine(std::string("Error: ") + e.what());
        }
    }
    TM_Logger::Instance();
    TM_Logger::Release();
    DestroyBlockedHint();
    if (PopUpAction->Tag == 1)
        PopUpActionClick(this);
    if (!SettingsFrame->MyRndRectBtn10->Down())
        UnregisterContextMenuExt();
    UnregisterHotKey(Handle(), 32);
    UnregisterHotKey(Handle(), 33);
}

bool TMainFm::AppMessageHook(TMessage& message)
{
    if (message.Msg == 0)
        return false;
    if (message.Msg == IdOnlyOne) {
        // In stealth mode a second start must not give the program away: the window and
        // the icon stay out of sight until Alt+Z brings them back.
        if (WindowsShown) {
            TrayIcon1->Restore();
            Application->BringToFront();
        }
    } else if (message.Msg == IdPopupBlocked) {
        ShowPopupBlockedBalloon();
    } else if (message.Msg == IdCtrlKeyUp) {
        PausePopupBlocker(false);
    } else if (message.Msg == IdCtrlKeyDown) {
        PausePopupBlocker(true);
    } else if (message.Msg == IdChangeState) {
        PopUpActionClick(this);
    } else {
        return false;
    }
    return true;
}

void TMainFm::Dispatch(TMessage& message)
{
    if (message.Msg == WM_HOTKEY) {
        OnHotKey(message);
        return;
    }
    if (message.Msg == WM_TIMEDRUN) {
        StartPendingTimedRun();
        return;
    }
    switch (message.Msg) {
    case WM_ENABLE:
        // The system gives a box's owner back as that box ends, whatever is still open
        // above it; the rule is put back once the box's end is over.
        if (message.WParam && (RunInProgress || ModalLoops->Count() > 0))
            PostMessageA(Handle(), WM_UPDATEENABLED, 0, 0);
        break;
    case WM_UPDATEENABLED:
        UpdateEnabled();
        return;
    case WM_QUERYENDSESSION:
        // A run does not hold the session: its end cancels the run.
        message.Result = TRUE;
        return;
    case WM_ENDSESSION:
        if (message.WParam)
            SessionEnded();
        return;
    }
    TForm::Dispatch(message);
}

void TMainFm::SettingsFrameComboBox3CloseUp(TObject*)
{
    TM_LocalizeClass languages;
    int index = SettingsFrame->ComboBox3->ItemIndex();
    languages.LocalizeMainFmStrings(MainFmWords, index);
    languages.LocalizeControl(SettingsFrame, index);
    languages.LocalizeControl(IETFrame1, index);
    languages.LocalizeControl(WinTFrame1, index);
    languages.LocalizeControl(NetTFrame1, index);
    languages.LocalizeControl(this, index);
}

void TMainFm::FillLanguageCombo()
{
    TM_LocalizeClass languages;
    for (int i = 0; i < languages.Languages.Count(); ++i)
        SettingsFrame->ComboBox3->Items.Add(languages.Languages[i]);
}

std::string TMainFm::ProfileName(const std::string& path)
{
    std::string dir = ExtractFilePath(path);
    int length = static_cast<int>(dir.size());
    for (int i = length - 2; i >= 1; --i)
        if (dir[static_cast<size_t>(i - 1)] == '\\')
            return dir.substr(static_cast<size_t>(i), static_cast<size_t>(length - i - 1));
    return dir;
}

void TMainFm::FillProfileCombo()
{
    CNetCleanClass cleaner;
    ProfileFolders.clear();
    for (int i = 0; i < cleaner.ProfileFolders.Count(); ++i) {
        ProfileFolders.push_back(cleaner.ProfileFolders[i]);
        SettingsFrame->ComboBox2->Items.Add(ProfileName(cleaner.ProfileFolders[i]));
    }
}

void TMainFm::ChosenProfile(int& index, std::string& folder)
{
    index = -1;
    folder.clear();
    for (int i = 0; i < Container.ComboBoxes.Count; ++i)
        if (Container.ComboBoxes[i]->Tag == 1)
            index = Container.ComboBoxes[i]->ItemIndex();
    if (index >= 0 && index < static_cast<int>(ProfileFolders.size()))
        folder = ProfileFolders[static_cast<size_t>(index)];
    else
        index = -1;
}

void TMainFm::LoadSettings()
{
    Options = new COptRWClass(&Container);
    Options->LoadOptions();
    SettingsFrame->MyRndRectBtn2->SetDown(Options->ReadSaveSettings());
    CheckWipeModeButtons();
    try {
        Options->WriteWipeCount(&PassCount);
    } catch (const std::exception& e) {
        TM_Logger::Instance()->AddLine(std::string("Error: ") + e.what());
    }
}
