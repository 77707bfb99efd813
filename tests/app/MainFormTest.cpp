#include "AboutForm.h"
#include "CIECleanClass.h"
#include "CNetCleanClass.h"
#include "COptRWClass.h"
#include "CWinCleanClass.h"
#include "MainForm.h"
#include "ProgressIndicatorFm.h"
#include "SysUtils.h"
#include "TApplication.h"
#include "TIniFile.h"
#include "TM_Logger.h"
#include "TRegistry.h"
#include "TStringList.h"
#include "TestSupport.h"
#include "DialogTestSupport.h"
#include "IECertificateForm.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <sddl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <iterator>
#include <map>
#include <memory>
#include <string>

using namespace testing_support;

namespace {

const char* const Key = "Software\\Ostrand\\Quelora\\";

int ValueSize(const char* name)
{
    TRegistry reg(HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly(Key))
        return -2;
    return reg.GetDataSize(name);
}

// The window with its frames: each child window painted over its parent at its place (a
// window's own painting leaves its child windows out).
void RenderTree(TWinControl& w, HDC dc)
{
    if (w.InheritsFrom<TComboBox>()) {
        // A system control prints itself.
        SendMessageA(w.Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
        return;
    }
    w.PaintTo(dc);
    for (int i = 0; i < w.ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(w.Controls(i));
        if (!child || !child->Visible())
            continue;
        int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, child->Left(), child->Top(), nullptr);
        RECT parent;
        GetClientRect(w.Handle(), &parent);
        IntersectClipRect(dc, -child->Left(), -child->Top(), parent.right - child->Left(), parent.bottom - child->Top());
        IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
        RenderTree(*child, dc);
        RestoreDC(dc, saved);
    }
}

void RenderAll(TWinControl& w, TBitmap& out)
{
    RECT r;
    GetClientRect(w.Handle(), &r);
    out.SetSize(r.right, r.bottom);
    RenderTree(w, out.Canvas().DC());
}

// The three cleaners with their operations written down instead of run.
std::string Ran;
void Did(const char* what)
{
    Ran += std::string(Ran.empty() ? "" : " ") + what;
}
class IEOps : public CIECleanClass {
    void ClearCache(int kind) override { Did(kind == 0 ? "cache all" : kind == 1 ? "cache pages" : "cache pictures"); }
    void ClearCookies(int) override { Did("cookies"); }
    void ClearHistory(int) override { Did("history"); }
    void ClearTypedUrls() override { Did("typed addresses"); }
    void ClearDownloadedPrograms() override { Did("downloaded programs"); }
    void ScheduleIndexDatDeletion(int) override { Did("index files"); }
    void ClearProtectedStorage() override { Did("forms"); }
    void ClearIntelliForms() override { Did("passwords"); }
    void ResetStartPage() override { Did("start page"); }
    void RestoreUrlPrefixes() override { Did("url prefixes"); }
};
class WinOps : public CWinCleanClass {
    void ClearRunMru() override { Did("run list"); }
    void ClearFindMru() override { Did("find list"); }
    void ClearRecentDocuments() override { Did("documents"); }
    void ClearPaintMru() override { Did("paint"); }
    void ClearWordpadMru() override { Did("wordpad"); }
    void ClearImagingMru() override { Did("imaging"); }
    void ClearChkFiles() override { Did("chk files"); }
    void ClearOfficeMru() override { Did("office"); }
    void ClearCommonDialogMru() override { Did("file dialogs"); }
    void ClearRecycleBin() override { Did("recycle bin"); }
    void ClearTempFolder() override { Did("temp folder"); }
    void ClearLastLogonUser() override { Did("last logon user"); }
    void ClearMediaPlayerMru() override { Did("media player"); }
};
class NetOps : public CNetCleanClass {
public:
    // A profile that is never touched: every operation is written down.
    NetOps()
    {
        ProfileFolders.Items = {"C:\\no profile"};
        SelectProfile(0);
    }
    bool ChosenProfile(int&, std::string&) const override { return false; }
    void ClearHistory() override { Did("history"); }
    void ClearSavedPasswords() override { Did("passwords"); }
    void ClearAddressBar() override { Did("address bar"); }
    void ClearCache() override { Did("cache"); }
    void ClearCookies() override { Did("cookies"); }
};


// The whole main window as the program makes it, on a fresh profile.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
        Fm = NewForm<TMainFm>(nullptr);
        MainFm = Fm;
    }
    void TearDown() override
    {
        if (Fm)
            Fm->Free();
    }
    int Down(const CPoorVector<TMyRndRectBtn*>& list)
    {
        int n = 0;
        for (int i = 0; i < list.Count; ++i)
            n += list[i]->Down();
        return n;
    }
    TMainFm* Fm = nullptr;
};

TEST_F(MainWindowTest, TheContainerHoldsTheControlsInTheStoredOrder)
{
    const CPtrContainer& c = Fm->Container;
    EXPECT_EQ(c.IEItems.Count, 16) << "Internet Explorer buttons";
    EXPECT_EQ(c.WinItems.Count, 13) << "Windows buttons";
    EXPECT_EQ(c.NetItems.Count, 7) << "Netscape buttons";
    EXPECT_EQ(c.SettingsButtons.Count, 11) << "settings buttons";
    ASSERT_EQ(c.ComboBoxes.Count, 3) << "combo boxes";
    EXPECT_EQ(c.WipeModes.Count, 3) << "wipe modes";
    EXPECT_EQ(c.LastClean.Count, 1) << "last-clean label";
    ASSERT_EQ(c.Frames.Count, 4) << "frames";
    EXPECT_EQ(c.ExFrames.Count, 3) << "collapse records";
    EXPECT_EQ(c.IEItems[7], Fm->IETFrame1->MyRndRectBtn) << "IE 7 is the group box";
    EXPECT_EQ(c.IEItems[11]->Name, "MyRndRectBtn12") << "IE 11 is the header";
    EXPECT_EQ(c.IEItems[12]->Tag, 8) << "AutoComplete passwords follows the header";
    EXPECT_EQ(c.WinItems[11]->Name, "MyRndRectBtn10") << "Win 11";
    EXPECT_EQ(c.SettingsButtons[7]->Name, "MyRndRectBtn1") << "settings 7 is the language caption";
    EXPECT_EQ(c.Frames[0], Fm->WinTFrame1) << "Windows frame first";
    EXPECT_EQ(c.Frames[1], Fm->IETFrame1) << "then Internet Explorer";
    EXPECT_EQ(c.ComboBoxes[1]->Tag, 1) << "the profile list carries Tag 1";
    EXPECT_EQ(c.ExFrames[0], &Fm->IETFrame1->ExFrame) << "the IE record first";
    EXPECT_EQ(Down(c.IEItems), 11) << "IE down at first start";
    EXPECT_EQ(Down(c.WinItems), 13) << "Windows down at first start";
    EXPECT_EQ(Down(c.NetItems), 0) << "Netscape down at first start";
    EXPECT_EQ(Fm->MyGraphicLabel3->Caption(), "Netscape 6x") << "group label after start";
}

TEST_F(MainWindowTest, HeadersFoldAndUnfoldTheFramesAndTheScrollRangeFollows)
{
    EXPECT_EQ(Fm->FramesHeight, 99) << "all collapsed";
    EXPECT_FALSE(Fm->StretchScroll1->Visible()) << "nothing to scroll";
    EXPECT_EQ(Fm->WinTFrame1->Top(), 0) << "first frame at the top";
    Fm->IETFrame1->MyRndRectBtn12Click(Fm);
    EXPECT_EQ(Fm->IETFrame1->Height(), 33) << "a click from the window only names the group";
    Fm->IETFrame1->MyRndRectBtn12Click(Fm->IETFrame1->MyRndRectBtn12);
    EXPECT_EQ(Fm->IETFrame1->Height(), 288) << "IE expanded";
    EXPECT_EQ(Fm->NetTFrame1->Top(), Fm->IETFrame1->Top() + 288) << "Netscape follows IE";
    EXPECT_EQ(Fm->FramesHeight, 354) << "total";
    EXPECT_EQ(Fm->StretchScroll1->SControlWH(), 93) << "range";
    EXPECT_TRUE(Fm->StretchScroll1->Visible()) << "bar shown";
    Fm->WinTFrame1->MyRndRectBtn11Click(Fm->WinTFrame1->MyRndRectBtn11);
    EXPECT_EQ(Fm->FramesHeight, 550) << "total with Windows expanded";
    EXPECT_EQ(Fm->StretchScroll1->SControlWH(), 289) << "range with Windows expanded";
    EXPECT_FALSE(Fm->WinTFrame1->ExFrame.Collapsed) << "flag flipped";
    Fm->IETFrame1->MyRndRectBtn12Click(Fm->IETFrame1->MyRndRectBtn12);
    Fm->WinTFrame1->MyRndRectBtn11Click(Fm->WinTFrame1->MyRndRectBtn11);
    EXPECT_EQ(Fm->FramesHeight, 99) << "folded again";
    EXPECT_FALSE(Fm->StretchScroll1->Visible()) << "bar hidden again";
}

TEST_F(MainWindowTest, GroupBoxesShowAllNoneOrMixedAndSetTheirGroup)
{
    TMyRndRectBtn* box = Fm->IETFrame1->MyRndRectBtn;
    EXPECT_EQ(box->ImageNumberOn(), 7) << "IE starts mixed (two items up)";
    for (int i = 0; i < Fm->Container.IEItems.Count; ++i)
        if (Fm->Container.IEItems[i]->Tag > 0 && Fm->Container.IEItems[i]->Tag < 100)
            Fm->Container.IEItems[i]->SetDown(true);
    box->SetDown(false);
    Fm->Define3St(Fm->IETFrame1->MyRndRectBtn2);
    EXPECT_TRUE(box->Down()) << "all eleven down";
    EXPECT_EQ(box->ImageNumberOn(), 1) << "normal look";
    Fm->IETFrame1->MyRndRectBtn3->SetDown(false);
    Fm->Define3St(Fm->IETFrame1->MyRndRectBtn3);
    EXPECT_EQ(box->ImageNumberOff(), 7) << "mixed look";
    EXPECT_TRUE(box->Down()) << "mixed keeps the box's state";
    box->SetDown(false);
    Fm->IETFrame1MyRndRectBtnClick(box);
    EXPECT_EQ(Down(Fm->Container.IEItems), 1) << "only the chosen cache mode stays down";
    EXPECT_FALSE(Fm->IETFrame1->MyRndRectBtn8->Enabled()) << "cache choices disabled";
    EXPECT_EQ(Fm->IETFrame1->MyRndRectBtn8->ImageNumberOn(), 5) << "greyed";
    EXPECT_EQ(Fm->IETFrame1->MyRndRectBtn1->HelpKeyword, "TIEFAll") << "keyword kept";
    Fm->NetTFrame1->MyRndRectBtn->SetDown(true);
    Fm->NetTFrame1MyRndRectBtnClick(Fm->NetTFrame1->MyRndRectBtn);
    EXPECT_EQ(Down(Fm->Container.NetItems), 7) << "the whole Netscape group";
    EXPECT_EQ(Fm->MyGraphicLabel3->Caption(), "Netscape 6x") << "label";
    Fm->Define3St(Fm->MyGraphicBtn3);
    EXPECT_EQ(Fm->MyGraphicLabel3->Caption(), "Netscape 6x") << "a control of no group changes nothing";
}

TEST_F(MainWindowTest, CacheChoicesFollowTheTemporaryFilesItem)
{
    TIETFrame* ie = Fm->IETFrame1;
    EXPECT_EQ(ie->MyRndRectBtn1->HelpKeyword, "TIEFAll") << "first start";
    ie->MyRndRectBtn8->SetDown(false);
    Fm->UpdateSubOptions();
    EXPECT_TRUE(ie->MyRndRectBtn8->Down()) << "no choice made: Delete All";
    EXPECT_FALSE(ie->MyRndRectBtn8->Enabled()) << "the chosen one is disabled";
    ie->MyRndRectBtn9->SetDown(true);
    Fm->IETFrame1SubOptionClick(ie->MyRndRectBtn9);
    EXPECT_EQ(ie->MyRndRectBtn1->HelpKeyword, "TIEFPages") << "pages chosen";
    EXPECT_FALSE(ie->MyRndRectBtn9->Enabled()) << "pages disabled";
    EXPECT_TRUE(ie->MyRndRectBtn8->Enabled() && !ie->MyRndRectBtn8->Down()) << "Delete All raised";
    ie->MyRndRectBtn1->SetDown(false);
    Fm->IETFrame1MyRndRectBtn1Click(ie->MyRndRectBtn1);
    EXPECT_FALSE(ie->MyRndRectBtn10->Enabled()) << "item up disables all";
    EXPECT_EQ(ie->MyRndRectBtn1->HelpKeyword, "TIEFPages") << "keyword kept";
}

TEST_F(MainWindowTest, StoredCacheChoicesComeBackAsExactlyOne)
{
    TIETFrame* ie = Fm->IETFrame1;
    // Bytes 8 to 10 of the group's value are the three choices.
    struct Case {
        unsigned char item, all, pages, pictures;
        bool downAll, downPages, downPictures;
        const char* what;
    } cases[] = {{1, 0, 1, 1, false, false, true, "two on: the one the run takes, pictures"},
                 {0, 0, 0, 0, true, false, false, "none on: all, as on a first start"},
                 {1, 1, 1, 1, false, false, true, "all three on"}};
    for (const Case& c : cases) {
        unsigned char bytes[16] = {c.item, 1, 1, 1, 1, 0, 1, 1, c.all, c.pages, c.pictures, 0, 1, 1, 1, 0};
        {
            TRegistry reg(HKEY_CURRENT_USER);
            ASSERT_TRUE(reg.OpenKey(Key, false));
            reg.WriteBinaryData("MSIEOpt", bytes, 16);
        }
        Fm->Options->LoadOptions();
        Fm->UpdateSubOptions();
        EXPECT_EQ(ie->MyRndRectBtn8->Down(), c.downAll) << c.what << ": Delete All";
        EXPECT_EQ(ie->MyRndRectBtn9->Down(), c.downPages) << c.what << ": pages";
        EXPECT_EQ(ie->MyRndRectBtn10->Down(), c.downPictures) << c.what << ": pictures";
    }
    EXPECT_EQ(ie->MyRndRectBtn1->HelpKeyword, "TIEFGraph") << "the keyword is the one choice shown";
    EXPECT_TRUE(ie->MyRndRectBtn9->Enabled() && ie->MyRndRectBtn8->Enabled()) << "the others can be chosen";
}

TEST_F(MainWindowTest, SettingsNeedOnlyTheRightToWrite)
{
    auto secure = [](const char* sddl) {
        PSECURITY_DESCRIPTOR sd = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr));
        HKEY k = nullptr;
        LONG rc = RegOpenKeyExA(HKEY_CURRENT_USER, Key, 0, WRITE_DAC, &k);
        if (rc == ERROR_SUCCESS) {
            rc = RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, sd);
            RegCloseKey(k);
        }
        LocalFree(sd);
        ASSERT_EQ(rc, ERROR_SUCCESS) << sddl;
    };
    // The user may read the key, set its values and make keys below it, but not delete it,
    // take it over or change its access list: only the owner's own right puts it back.
    secure("D:(A;;KRKW;;;WD)");
    Fm->SettingsFrame->ComboBox1->SetItemIndex(2);
    int passes = 5;
    EXPECT_NO_THROW(Fm->Options->SaveOptions()) << "the settings are saved on exit";
    EXPECT_NO_THROW(Fm->Options->WriteWipeCount(&passes)) << "the pass count is written";
    EXPECT_NO_THROW(Fm->Options->WriteSaveSettings(false)) << "the save choice is written";
    secure("D:(A;;KA;;;WD)");
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key));
    ASSERT_EQ(ValueSize("OptCombo"), 3) << "OptCombo's length";
    unsigned char combos[3] = {};
    reg.ReadBinaryData("OptCombo", combos, 3);
    EXPECT_EQ(combos[0], 2) << "the interval's byte";
    EXPECT_EQ(reg.ReadInteger("WipeCount"), 5) << "WipeCount";
    EXPECT_EQ(reg.ReadInteger("SaveSettings"), 0) << "SaveSettings";
}

TEST_F(MainWindowTest, WipeModesAreOneChoiceAndWritten)
{
    EXPECT_EQ(ValueSize("WipeCount"), 4) << "written at start";
    Fm->MyGraphicBtn4->SetDown(true);
    Fm->MyGraphicBtn8->SetDown(true);
    Fm->CheckWipeModeButtons();
    EXPECT_EQ(Fm->PassCount, 0) << "two down: fastest";
    EXPECT_FALSE(Fm->MyGraphicBtn8->Down()) << "slowest raised";
    Fm->MyGraphicBtn4->SetDown(false);
    Fm->MyGraphicBtn5->SetDown(true);
    Fm->CheckWipeModeButtons();
    EXPECT_EQ(Fm->PassCount, 1) << "one down kept";
    Fm->MyGraphicBtn8->SetDown(true);
    Fm->MyGraphicBtn8Click(Fm->MyGraphicBtn8);
    EXPECT_EQ(Fm->PassCount, 5) << "slowest";
    EXPECT_FALSE(Fm->MyGraphicBtn5->Down()) << "medium raised";
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly(Key));
    EXPECT_EQ(reg.ReadInteger("WipeCount"), 5) << "written";
}

TEST_F(MainWindowTest, TimedCleaningCountsDownOnlyWithAnInterval)
{
    Fm->SettingsFrame->MyRndRectBtn5->SetDown(true);
    Fm->SettingsFrameMyRndRectBtn5Click(Fm);
    EXPECT_TRUE(Fm->CleanTimer->Enabled()) << "timer on";
    EXPECT_TRUE(Fm->SettingsFrame->ComboBox1->Enabled()) << "interval list enabled";
    EXPECT_EQ(Fm->MyGraphicLabel5->Caption(), "") << "no interval chosen";
    Fm->CleanTimerTimer(Fm->CleanTimer);
    EXPECT_EQ(Fm->MinutesSinceClean, 0) << "a tick without interval does nothing";
    Fm->SettingsFrame->ComboBox1->SetItemIndex(0);
    Fm->SettingsFrameComboBox1CloseUp(Fm->SettingsFrame->ComboBox1);
    EXPECT_EQ(Fm->MyGraphicLabel5->Caption(), "10 min") << "interval shown";
    Fm->CleanTimerTimer(Fm->CleanTimer);
    EXPECT_EQ(Fm->MyGraphicLabel5->Caption(), " 9 min") << "after a minute";
    Fm->SettingsFrame->MyRndRectBtn5->SetDown(false);
    Fm->SettingsFrameMyRndRectBtn5Click(Fm);
    EXPECT_EQ(Fm->MyGraphicLabel5->Caption(), "  N/A") << "off";
    EXPECT_FALSE(Fm->CleanTimer->Enabled()) << "timer off";
}

// A timed run comes due late, under an open dialog and beside a going run: it starts when
// due or overdue, what came due while a dialog was open starts once, after it, and what came
// due during a run starts nothing, but the count starts again.
TEST_F(MainWindowTest, ADueTimedRunWaitsForDialogsAndStartsNothingDuringARun)
{
    for (auto* list : {&Fm->Container.IEItems, &Fm->Container.WinItems, &Fm->Container.NetItems})
        for (int i = 0; i < list->Count; ++i)
            (*list)[i]->SetDown(false);
    Fm->TimeTimer->SetEnabled(false);
    PumpUntil([&] { return !Fm->IntroShowing; });
    ASSERT_FALSE(Fm->IntroShowing) << "the logo went";
    Fm->SettingsFrame->ComboBox1->SetItemIndex(0);   // 10 min
    Fm->SettingsFrame->MyRndRectBtn5->SetDown(true);
    Fm->SettingsFrameMyRndRectBtn5Click(Fm);
    auto runEnded = [&] {
        PumpUntil([&] { return !IndicatorFm && !Fm->RunInProgress; });
        return !IndicatorFm && !Fm->RunInProgress;
    };
    auto dueTick = [&](const char* clock) {
        Fm->MyGraphicLabel2->SetCaption(clock);
        Fm->MinutesSinceClean = 9;
        Fm->CleanTimerTimer(Fm->CleanTimer);
    };

    Fm->MyGraphicLabel2->SetCaption("1:01:00");
    Fm->MinutesSinceClean = 12;   // a shorter interval was chosen after 12 minutes
    Fm->CleanTimerTimer(Fm->CleanTimer);
    EXPECT_EQ(Fm->MyGraphicLabel4->Caption(), "1:01") << "an overdue tick starts the run";
    EXPECT_EQ(Fm->MinutesSinceClean, 0) << "and restarts the count";
    ASSERT_TRUE(runEnded()) << "first run";

    bool startedUnderDialog = true;
    dialog_test::Later([&] {
        dueTick("2:02:00");
        startedUnderDialog = IndicatorFm != nullptr;
        if (AboutFm)
            AboutFm->Close();
    });
    Fm->AboutVelmar1Click(Fm);
    EXPECT_FALSE(startedUnderDialog) << "no run starts while About is open";
    EXPECT_EQ(Fm->MyGraphicLabel4->Caption(), "1:01") << "still the first run's time";
    PumpFor(200);
    EXPECT_EQ(Fm->MyGraphicLabel4->Caption(), "2:02") << "the run that waited for the dialog started after it";
    ASSERT_TRUE(runEnded()) << "second run";

    Fm->MyGraphicLabel2->SetCaption("3:03:00");
    Fm->MyGraphicBtn3Click(Fm);
    TIndicatorFm* going = IndicatorFm;
    dueTick("4:04:00");
    EXPECT_EQ(IndicatorFm, going) << "no second run beside a going one";
    EXPECT_EQ(Fm->MinutesSinceClean, 0) << "the count starts again";
    EXPECT_EQ(Fm->MyGraphicLabel5->Caption(), "10 min") << "the countdown shows the whole interval";
    ASSERT_TRUE(runEnded()) << "third run";
    EXPECT_EQ(Fm->MyGraphicLabel4->Caption(), "3:03") << "no run after the going one";
    PumpFor(300);
    EXPECT_EQ(IndicatorFm, nullptr) << "and none later";
}

// Clean Now from the tray under About, which locks nothing: when About ends, the main
// window stays disabled for the run, and a second Clean starts no second run.
TEST_F(MainWindowTest, ARunStartedUnderADialogStaysTheOnlyOne)
{
    for (auto* list : {&Fm->Container.IEItems, &Fm->Container.WinItems, &Fm->Container.NetItems})
        for (int i = 0; i < list->Count; ++i)
            (*list)[i]->SetDown(false);
    TIndicatorFm* first = nullptr;
    dialog_test::Later([&] {
        Fm->N19->Click();   // Clean Now
        first = IndicatorFm;
        if (AboutFm)
            AboutFm->Close();
    });
    Fm->AboutVelmar1Click(Fm);
    ASSERT_NE(first, nullptr) << "the run started under About";
    ASSERT_TRUE(Fm->RunInProgress) << "and still goes";
    EXPECT_FALSE(IsWindowEnabled(Fm->Handle())) << "About's end left the window disabled for the run";
    Fm->MyGraphicBtn3Click(Fm->MyGraphicBtn3);
    EXPECT_EQ(IndicatorFm, first) << "no second run";
    for (int i = 0; i < 500 && IndicatorFm; ++i)
        PumpFor(10);
    EXPECT_EQ(IndicatorFm, nullptr) << "the run ended";
    EXPECT_TRUE(IsWindowEnabled(Fm->Handle())) << "and gave the window back";
}

TEST_F(MainWindowTest, SettingsKeepOneByteACtrlAndSkipForeignValues)
{
    Fm->SettingsFrame->ComboBox1->SetItemIndex(2);
    Fm->WinTFrame1->MyRndRectBtn4->SetDown(false);
    Fm->Options->SaveOptions();
    const char* names[] = {"MSIEOpt", "WinOpt", "NetOpt", "Opt", "Btn", "FRMin", "OptCombo"};
    const int sizes[] = {16, 13, 7, 11, 3, 3, 3};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(ValueSize(names[i]), sizes[i]) << names[i];
    unsigned char combos[3] = {};
    {
        TRegistry reg(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(Key, false));
        reg.ReadBinaryData("OptCombo", combos, 3);
        reg.WriteString("NetOpt", "text");                     // wrong type
        std::string big(300, '\1');
        reg.WriteBinaryData("Opt", big.data(), 300);           // longer than any list
        unsigned char two[2] = {0, 1};
        reg.WriteBinaryData("WinOpt", two, 2);                 // short
    }
    EXPECT_EQ(combos[0], 2) << "interval index";
    EXPECT_EQ(combos[1], 0xFF) << "no profile";
    Fm->SettingsFrame->ComboBox1->SetItemIndex(-1);
    Fm->WinTFrame1->MyRndRectBtn4->SetDown(true);
    Fm->NetTFrame1->MyRndRectBtn1->SetDown(true);
    Fm->SettingsFrame->MyRndRectBtn3->SetDown(true);
    Fm->Options->LoadOptions();
    EXPECT_EQ(Fm->SettingsFrame->ComboBox1->ItemIndex(), 2) << "interval restored";
    EXPECT_EQ(Fm->SettingsFrame->ComboBox2->ItemIndex(), -1) << "0xFF is no profile";
    EXPECT_TRUE(Fm->NetTFrame1->MyRndRectBtn1->Down()) << "a text value is passed over";
    EXPECT_TRUE(Fm->SettingsFrame->MyRndRectBtn3->Down()) << "an oversize value is passed over";
    EXPECT_FALSE(Fm->WinTFrame1->MyRndRectBtn1->Down()) << "short value: first byte";
    EXPECT_TRUE(Fm->WinTFrame1->MyRndRectBtn2->Down()) << "short value: second byte";
    EXPECT_FALSE(Fm->WinTFrame1->MyRndRectBtn4->Down()) << "short value: nothing stored beyond is up";
}

TEST_F(MainWindowTest, ARunLocksTheTrayItemsAndACloseWaitsForItsEnd)
{
    // The certificate window ends while a run holds the lock, as its progress window does.
    Fm->LockPopupMenu(true);
    dialog_test::Later([&] {
        if (IECertFm)
            IECertFm->Close();
    });
    Fm->IETFrame1MyGraphicBtn3Click(Fm);
    EXPECT_FALSE(Fm->N19->Enabled()) << "the certificate window's end left the run's lock";
    Fm->LockPopupMenu(false);
    EXPECT_TRUE(Fm->N19->Enabled()) << "the run's end lifts it";
    // Nothing chosen: the run only opens and closes its window.
    for (auto* list : {&Fm->Container.IEItems, &Fm->Container.WinItems, &Fm->Container.NetItems})
        for (int i = 0; i < list->Count; ++i)
            (*list)[i]->SetDown(false);
    Fm->MyGraphicLabel2->SetCaption("9:05:33");
    Fm->MyGraphicBtn3Click(Fm->MyGraphicBtn3);
    EXPECT_TRUE(Fm->RunInProgress) << "run flag";
    EXPECT_FALSE(IsWindowEnabled(Fm->Handle())) << "main window disabled";
    EXPECT_FALSE(Fm->N19->Enabled()) << "Clean Now locked";
    EXPECT_FALSE(Fm->HideShow1->Enabled()) << "Hide/Show locked";
    EXPECT_TRUE(Fm->N7->Enabled()) << "Close stays";
    EXPECT_EQ(Fm->MyGraphicLabel4->Caption(), "9:05") << "last-run time";
    TCloseAction action = caNone;
    Fm->FormClose(Fm, action);
    EXPECT_EQ(IndicatorFm, nullptr) << "the close waited for the progress window to go";
    EXPECT_FALSE(Fm->RunInProgress) << "run over";
    EXPECT_TRUE(Fm->N19->Enabled()) << "Clean Now unlocked";
    EXPECT_EQ(action, caFree) << "then the window closes";
}

TEST_F(MainWindowTest, ClosingWithoutTheSettingsKeyLosesNothingElse)
{
    // Not saved on exit: the save choice is the one value written, and it cannot be.
    Fm->SettingsFrame->MyRndRectBtn2->SetDown(false);
    const std::string log = TM_Logger::Instance()->Path();
    TM_Logger::Release();
    DeleteFileA(log.c_str());
    TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
    TMainFm* fm = Fm;
    Fm = nullptr;
    EXPECT_NO_THROW(fm->Free()) << "a failed settings write does not escape the close";
    EXPECT_EQ(MainFm, nullptr) << "window gone";
    EXPECT_FALSE(TRegistry(HKEY_CURRENT_USER).KeyExists(Key)) << "the write made no key of its own";
    std::string text = ReadFileBytes(log);
    DeleteFileA(log.c_str());
    EXPECT_NE(text.find("\"SaveSettings\" was not written"), std::string::npos)
        << "the failure is in the run log, which holds: " << text;
}

TEST_F(MainWindowTest, ATypedKeyOpensTheListOfEverySettingsBox)
{
    Fm->OptBtnClick(Fm->OptBtn);
    Fm->Show();
    Pump();
    TComboBox* boxes[] = {Fm->SettingsFrame->ComboBox1, Fm->SettingsFrame->ComboBox2, Fm->SettingsFrame->ComboBox3};
    for (TComboBox* box : boxes) {
        box->SetEnabled(true);
        int closeUps = 0;
        TNotifyEvent saved = box->OnCloseUp;
        box->OnCloseUp = [&](TObject*) { ++closeUps; };
        SendMessageA(box->Handle(), WM_CHAR, '1', 0);
        bool opened = SendMessageA(box->Handle(), CB_GETDROPPEDSTATE, 0, 0) || closeUps > 0;
        SendMessageA(box->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
        box->OnCloseUp = saved;
        EXPECT_TRUE(opened) << box->Name << ": a typed key opens the list";
    }
}

TEST_F(MainWindowTest, EachItemOfTheWindowRunsItsOwnOperation)
{
    TIETFrame* ie = Fm->IETFrame1;
    TWinTFrame* win = Fm->WinTFrame1;
    TNetTFrame* net = Fm->NetTFrame1;
    // Every option button of the three groups, alone down; "" where nothing may run. The
    // certificate item runs the certificate cleaner, which writes nothing down here.
    const struct Row {
        TMyRndRectBtn* item;
        const char* runs;
    } table[] = {
        {ie->MyRndRectBtn1, "cache all"}, {ie->MyRndRectBtn2, "cookies"}, {ie->MyRndRectBtn3, "history"},
        {ie->MyRndRectBtn4, "typed addresses"}, {ie->MyRndRectBtn5, "downloaded programs"},
        {ie->MyRndRectBtn6, "index files"}, {ie->MyRndRectBtn7, ""}, {ie->MyRndRectBtn, ""},
        {ie->MyRndRectBtn8, ""}, {ie->MyRndRectBtn9, ""}, {ie->MyRndRectBtn10, ""}, {ie->MyRndRectBtn12, ""},
        {ie->MyRndRectBtn11, "passwords"}, {ie->MyRndRectBtn13, "forms"}, {ie->MyRndRectBtn14, "start page"},
        {ie->MyRndRectBtn15, "url prefixes"},
        {win->MyRndRectBtn1, "documents"}, {win->MyRndRectBtn2, "find list"}, {win->MyRndRectBtn3, "run list"},
        {win->MyRndRectBtn4, "recycle bin"}, {win->MyRndRectBtn5, "temp folder"}, {win->MyRndRectBtn6, "chk files"},
        {win->MyRndRectBtn7, "paint wordpad imaging"}, {win->MyRndRectBtn8, "office"},
        {win->MyRndRectBtn9, "file dialogs"}, {win->MyRndRectBtn, ""}, {win->MyRndRectBtn11, ""},
        {win->MyRndRectBtn10, "last logon user"}, {win->MyRndRectBtn12, "media player"},
        {net->MyRndRectBtn1, "history"}, {net->MyRndRectBtn2, "address bar"}, {net->MyRndRectBtn3, "cache"},
        {net->MyRndRectBtn4, "cookies"}, {net->MyRndRectBtn5, "passwords"}, {net->MyRndRectBtn, ""},
        {net->MyRndRectBtn6, ""},
    };
    const CPoorVector<TMyRndRectBtn*>* lists[] = {&Fm->Container.IEItems, &Fm->Container.WinItems,
                                                  &Fm->Container.NetItems};
    ASSERT_EQ(std::size(table), 16u + 13u + 7u) << "a row for every button of the three lists";
    size_t row = 0;
    CIndicatorClass indicator;
    for (int group = 0; group < 3; ++group) {
        const CPoorVector<TMyRndRectBtn*>& list = *lists[group];
        for (int i = 0; i < list.Count; ++i, ++row) {
            ASSERT_EQ(list[i], table[row].item) << "row " << row << ": the list holds the buttons in this order";
            for (auto* l : lists)
                for (int j = 0; j < l->Count; ++j)
                    (*l)[j]->SetDown(false);
            list[i]->SetDown(true);
            ie->MyRndRectBtn1->HelpKeyword = "TIEFAll";
            Ran.clear();
            std::unique_ptr<CCleanClassPrototype> cleaner;
            if (group == 0)
                cleaner.reset(new IEOps);
            else if (group == 1)
                cleaner.reset(new WinOps);
            else
                cleaner.reset(new NetOps);
            cleaner->SetOptions(&Fm->Container);
            cleaner->SetIndicator(&indicator);
            cleaner->Clean();
            EXPECT_EQ(Ran, table[row].runs) << "group " << group << ", item " << i << " (Tag " << list[i]->Tag
                                            << ", \"" << list[i]->Caption() << "\")";
        }
    }
}

TEST_F(MainWindowTest, AutorunMakesAndRemovesTheStartupShortcut)
{
    const std::string lnk = AutorunShortcutPath();
    ASSERT_FALSE(lnk.empty()) << "the Startup folder";
    TMyRndRectBtn* autorun = Fm->SettingsFrame->MyRndRectBtn3;
    autorun->SetDown(true);
    Fm->SettingsFrame->MyRndRectBtn3Click(autorun);
    ASSERT_TRUE(PathExists(lnk)) << lnk;
    IShellLinkA* link = nullptr;
    const CLSID shellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    const IID shellLinkA = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    const IID persistFile = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(shellLink, nullptr, CLSCTX_INPROC_SERVER, shellLinkA,
                                           reinterpret_cast<void**>(&link))));
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(persistFile, reinterpret_cast<void**>(&file))));
    std::wstring wide(lnk.begin(), lnk.end());
    EXPECT_TRUE(SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) << "the shortcut loads";
    file->Release();
    char text[MAX_PATH] = "";
    link->GetPath(text, MAX_PATH, nullptr, 0);
    EXPECT_STRCASEEQ(text, Application->ExeName().c_str()) << "it starts the program";
    text[0] = 0;
    link->GetArguments(text, MAX_PATH);
    EXPECT_STREQ(text, "") << "without arguments";
    text[0] = 0;
    link->GetWorkingDirectory(text, MAX_PATH);
    EXPECT_STRCASEEQ(text, ExtractFilePath(Application->ExeName()).c_str()) << "in the program's folder";
    text[0] = 0;
    link->GetDescription(text, MAX_PATH);
    EXPECT_STREQ(text, "Quelora") << "description";
    link->Release();

    autorun->SetDown(false);
    Fm->SettingsFrame->MyRndRectBtn3Click(autorun);
    EXPECT_FALSE(PathExists(lnk)) << "up removes it";
    Fm->SettingsFrame->MyRndRectBtn3Click(autorun);
    EXPECT_FALSE(PathExists(lnk)) << "up again without a shortcut is silent";
}

TEST_F(MainWindowTest, TheWindowAsItShowsAtStart)
{
    Fm->Show();
    Pump();
    TBitmap shot;
    RenderAll(*Fm, shot);
    EXPECT_NE(shot.Pixel(34 + 100, 93 + 16), RGB(255, 255, 255)) << "the first frame's header is drawn";
    Fm->IETFrame1->MyRndRectBtn12Click(Fm->IETFrame1->MyRndRectBtn12);
    Fm->OptBtn->SetDown(true);
    Fm->OptBtnClick(Fm->OptBtn);
    EXPECT_FALSE(Fm->MainFrame->Visible()) << "settings page replaces the items";
    EXPECT_FALSE(Fm->StretchScroll1->Visible()) << "and its scroll bar";
    Fm->WhatClBtn->SetDown(true);
    Fm->WhatClBtnClick(Fm->WhatClBtn);
    EXPECT_TRUE(Fm->StretchScroll1->Visible()) << "bar back with the expanded frame";
}

// Alt+Space hides and shows the browser's frame windows; Alt+Z takes the program out of
// sight, tray icon included, and back.
TEST_F(MainWindowTest, HotKeysHideBrowserWindowsAndTheProgram)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "IEFrame";
    RegisterClassA(&wc);
    HWND browser = CreateWindowA("IEFrame", "browser", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    ASSERT_NE(browser, nullptr);
    Fm->Show();
    Pump();
    SendMessageA(Fm->Handle(), WM_HOTKEY, 32, 0);
    EXPECT_FALSE(IsWindowVisible(browser)) << "Alt+Space hides the browser";
    EXPECT_EQ(Fm->HideShow1->Caption(), Fm->MainFmWords.ShowIEWndWD) << "the item offers to show";
    SendMessageA(Fm->Handle(), WM_HOTKEY, 32, 0);
    EXPECT_TRUE(IsWindowVisible(browser)) << "pressed again, it shows";
    EXPECT_EQ(Fm->HideShow1->Caption(), Fm->MainFmWords.HideIEWndWD);

    SendMessageA(Fm->Handle(), WM_HOTKEY, 33, 0);
    EXPECT_FALSE(IsWindowVisible(Fm->Handle())) << "Alt+Z hides the window";
    EXPECT_FALSE(Fm->TrayIcon1->Visible()) << "and the tray icon";
    EXPECT_FALSE(Fm->WindowsShown);
    SendMessageA(Fm->Handle(), WM_HOTKEY, 33, 0);
    EXPECT_TRUE(IsWindowVisible(Fm->Handle())) << "pressed again, the window is back";
    EXPECT_TRUE(Fm->TrayIcon1->Visible()) << "with its tray icon";
    DestroyWindow(browser);

    // Minimized to the tray, then out of sight: a second start gives nothing away.
    Fm->N5Click(Fm->N5);
    SendMessageA(Fm->Handle(), WM_HOTKEY, 33, 0);
    TMessage second = {Fm->IdOnlyOne, 0, 0, 0};
    Fm->AppMessageHook(second);
    Pump();
    EXPECT_FALSE(IsWindowVisible(Fm->Handle())) << "a second start in stealth mode shows no window";
    EXPECT_FALSE(Fm->TrayIcon1->Visible()) << "nor the tray icon";
    EXPECT_FALSE(Fm->WindowsShown) << "and stealth mode goes on";
}

// The shipped English file beside the program; the window made anew over it.
class EnglishLanguage : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        HRSRC res = FindResourceA(nullptr, "ENGLISHCON", MAKEINTRESOURCEA(10));
        ASSERT_NE(res, nullptr) << "the English file is carried";
        std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, res))), SizeofResource(nullptr, res));
        Path = TM_LocalizeClass::ProgramFolder() + "\\English_.con";
        WriteFileBytes(Path, text);
        TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
        fm = NewForm<TMainFm>(nullptr);
        MainFm = fm;
    }
    void TearDown() override
    {
        if (fm)
            fm->Free();
        DeleteFileA(Path.c_str());
    }
    std::string Path;
    TMainFm* fm = nullptr;
};

// The shipped English file, applied at start, leaves every control where the window put it
// and no built-in Russian caption behind.
TEST_F(EnglishLanguage, KeepsTheLayoutAndReplacesEveryRussianCaption)
{
    EXPECT_EQ(fm->SettingsFrame->ComboBox3->Items.Count(), 1) << "one language";
    EXPECT_EQ(fm->MyGraphicBtn4->Left(), MainLayout::MyGraphicBtn4.Left) << "wipe mode button";
    EXPECT_EQ(fm->MyGraphicBtn6->Left(), MainLayout::MyGraphicBtn6.Left) << "close button";
    EXPECT_EQ(fm->OptBtn->Left(), MainLayout::OptBtn.Left) << "page button";
    EXPECT_EQ(fm->IETFrame1->MyGraphicBtn3->Left(), MainLayout::IETFrame::MyGraphicBtn3.Left) << "certificates button";
    EXPECT_EQ(fm->NetTFrame1->MyGraphicBtn2->Left(), MainLayout::NetTFrame::MyGraphicBtn2.Left) << "cookies button";
    EXPECT_EQ(fm->SettingsFrame->ComboBox2->Left(), MainLayout::SettingsPage::ComboBox2.Left) << "profile list";
    EXPECT_EQ(fm->WinTFrame1->MyRndRectBtn7->Hint.substr(0, 17), "It is recommended") << "hint kept";
    EXPECT_EQ(fm->MyGraphicBtn5->Hint.substr(0, 11), "Medium Mode") << "wipe mode hint kept";
    for (TGroupFrame* f : std::initializer_list<TGroupFrame*>{fm->IETFrame1, fm->WinTFrame1, fm->NetTFrame1, fm->SettingsFrame})
        for (int i = 0; i < f->ComponentCount(); ++i) {
            auto* b = dynamic_cast<TMyRndRectBtn*>(f->Components(i));
            if (!b)
                continue;
            for (char ch : b->Caption())
                EXPECT_LT(static_cast<unsigned char>(ch), 0x80) << f->Name << "." << b->Name << ": " << b->Caption();
        }
    EXPECT_EQ(fm->MyGraphicLabel4->Caption(), "00:00") << "the last-run time is not a language text";
}

// Every place the shipped file gives (combo boxes and picture buttons by their name, labels
// by name + "_Left") is the place the window gives the control without any language file.
TEST_F(EnglishLanguage, EveryPlaceTheFileGivesIsTheWindowsOwn)
{
    struct Place {
        std::string What, Control;
        int FromFile, Shown;
    };
    std::vector<Place> places;
    TIniFile ini(Path);
    auto containers = [](TMainFm* w) {
        return std::vector<TComponent*>{w, w->SettingsFrame, w->IETFrame1, w->WinTFrame1, w->NetTFrame1};
    };
    for (TComponent* container : containers(fm)) {
        TStringList keys;
        ini.ReadSection(container->Name, keys);
        for (int k = 0; k < keys.Count(); ++k) {
            std::string key = keys[k];
            bool labelPlace = key.size() > 5 && key.compare(key.size() - 5, 5, "_Left") == 0;
            std::string name = labelPlace ? key.substr(0, key.size() - 5) : key;
            for (int i = 0; i < container->ComponentCount(); ++i) {
                TComponent* c = container->Components(i);
                auto* control = dynamic_cast<TControl*>(c);
                bool placed = labelPlace ? dynamic_cast<TMyGraphicLabel*>(c) != nullptr
                                         : dynamic_cast<TComboBox*>(c) || dynamic_cast<TMyGraphicBtn*>(c);
                if (c->Name == name && control && placed)
                    places.push_back({container->Name + "." + key, container->Name + "." + name,
                                      ini.ReadInteger(container->Name, key, -1), control->Left()});
            }
        }
    }
    EXPECT_GE(places.size(), 20u) << "the file places the window's picture buttons, combo boxes and labels";
    fm->Free();
    fm = nullptr;
    DeleteFileA(Path.c_str());
    fm = NewForm<TMainFm>(nullptr);
    MainFm = fm;
    std::map<std::string, int> own;
    for (TComponent* container : containers(fm))
        for (int i = 0; i < container->ComponentCount(); ++i)
            if (auto* control = dynamic_cast<TControl*>(container->Components(i)))
                own[container->Name + "." + control->Name] = control->Left();
    for (const Place& p : places) {
        EXPECT_EQ(p.Shown, p.FromFile) << p.What << ": placed where the file says";
        EXPECT_EQ(p.Shown, own[p.Control]) << p.What << ": where the window puts it without a language";
    }
}

// The README's pictures: the item page with the Internet Explorer group open, and the
// settings page, as a user of the English file sees them.
TEST_F(EnglishLanguage, PicturesOfBothPages)
{
    fm->Show();
    Pump();
    fm->IETFrame1->MyRndRectBtn12Click(fm->IETFrame1->MyRndRectBtn12);
    Pump();
    TBitmap shot;
    RenderAll(*fm, shot);
    ASSERT_TRUE(WritePng(shot, ArtifactPath("main_window.png")));
    EXPECT_GT(fm->IETFrame1->Height(), 33) << "the Internet Explorer group is open";
    fm->OptBtn->SetDown(true);
    fm->OptBtnClick(fm->OptBtn);
    Pump();
    RenderAll(*fm, shot);
    ASSERT_TRUE(WritePng(shot, ArtifactPath("main_window_settings.png")));
    TComboBox* box = fm->SettingsFrame->ComboBox2;
    POINT at = {box->Left(), box->Top()};
    MapWindowPoints(fm->SettingsFrame->Handle(), fm->Handle(), &at, 1);
    RECT inner = {at.x + 3, at.y + 3, at.x + box->Width() - 20, at.y + box->Height() - 3};
    int area = (inner.right - inner.left) * (inner.bottom - inner.top);
    EXPECT_GT(CountColor(shot, inner, GetSysColor(COLOR_WINDOW)) * 2, area) << "the profile list is drawn in the picture";
}

TEST(MainWindowTexts, LastRunCountdownClampAndProfileNames)
{
    EXPECT_EQ(TMainFm::LastRunText("9:05:33"), "9:05");
    EXPECT_EQ(TMainFm::LastRunText("10:05:33"), "10:05");
    EXPECT_EQ(TMainFm::LastRunText("00:00:00"), "00:00");
    std::string text;
    int n = 0;
    ASSERT_TRUE(TMainFm::CountdownText("10 min", 9, text, n));
    EXPECT_EQ(text, " 1 min");
    ASSERT_TRUE(TMainFm::CountdownText("180 min", 1, text, n));
    EXPECT_EQ(text, "179 min");
    EXPECT_EQ(n, 180);
    EXPECT_FALSE(TMainFm::CountdownText("", 1, text, n)) << "no interval";
    POINT p = TMainFm::ClampToScreen(-50, -10, 519, 436, 1280, 1024);
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 2);
    p = TMainFm::ClampToScreen(1000, 900, 519, 436, 1280, 1024);
    EXPECT_EQ(p.x, 761);
    EXPECT_EQ(p.y, 588);
    EXPECT_EQ(TMainFm::ProfileName("C:\\App\\Profiles\\default\\abc.slt"), "default");
}

}  // namespace
