#include "CIndicatorClass.h"
#include "MyGraphicBtn.h"
#include "MyGraphicLabel.h"
#include "MyRndRectBtn.h"
#include "TComboBox.h"
#include "TM_LocalizeClass.h"
#include "TPopupMenu.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace testing_support;

namespace {

// Language files beside the test program, removed again after each case.
class LanguageFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
        Host.reset(new HostForm(400, 100));
        Host->Name = "Host";
        Btn = new TMyRndRectBtn(Host.get());
        Btn->Name = "Btn";
        Btn->SetParent(Host.get());
        Btn->SetCaption("built-in");
        Btn->Hint = "built-in hint";
        Combo = new TComboBox(Host.get());
        Combo->Name = "Combo";
        Combo->SetParent(Host.get());
        Combo->SetBounds(200, 10, 100, 21);
        Pic = new TMyGraphicBtn(Host.get());
        Pic->Name = "Pic";
        Pic->SetParent(Host.get());
        Pic->SetBounds(150, 40, 20, 20);
        Label = new TMyGraphicLabel(Host.get());
        Label->Name = "Label";
        Label->SetParent(Host.get());
        Label->SetBounds(300, 60, 60, 15);
        Label->SetCaption("00:00");
    }
    void TearDown() override
    {
        for (const std::string& f : Files)
            DeleteFileA(f.c_str());
    }
    void Write(const std::string& name, const std::string& text)
    {
        std::string path = TM_LocalizeClass::ProgramFolder() + "\\" + name;
        WriteFileBytes(path, text);
        Files.push_back(path);
    }
    std::unique_ptr<HostForm> Host;
    TMyRndRectBtn* Btn = nullptr;
    TComboBox* Combo = nullptr;
    TMyGraphicBtn* Pic = nullptr;
    TMyGraphicLabel* Label = nullptr;
    std::vector<std::string> Files;
};

TEST_F(LanguageFilesTest, WithNoFileEverythingKeepsItsBuiltInTexts)
{
    TM_LocalizeClass l;
    EXPECT_EQ(l.Languages.Count(), 0) << "no language";
    l.LocalizeControl(Host.get(), -1);
    EXPECT_EQ(Btn->Caption(), "built-in") << "caption";
    EXPECT_EQ(Btn->Hint, "built-in hint") << "hint";
    EXPECT_EQ(Combo->Left(), 200) << "combo place";
    EXPECT_EQ(Pic->Left(), 150) << "picture button place";
    CWordsStruct words;
    l.LocalizeIndicator(words, -1);
    EXPECT_EQ(words.PreparingWD, "Preparing...") << "built-in progress word";
}

TEST_F(LanguageFilesTest, TheFirstLanguageAppliesAndMissingKeysTakeDefaults)
{
    Write("Alpha_.con", "[Host]\r\nBtn=Alpha caption\r\nBtn_Hint=Alpha hint\r\nCombo=120\r\nLabel=ignored?\r\n"
                        "Label_Left=0\r\n[Indicator]\r\nDoneWD=Fertig\r\n[MainFm]\r\nRestoreWndWD=Back\r\n");
    Write("Beta_.con", "[Host]\r\nBtn=Beta caption\r\n");
    TM_LocalizeClass l;
    ASSERT_EQ(l.Languages.Count(), 2) << "two languages";
    EXPECT_EQ(l.Languages[0], "Alpha") << "name before the underscore";
    l.LocalizeControl(Host.get(), -1);
    EXPECT_EQ(Btn->Caption(), "Alpha caption") << "index -1 is the first language";
    EXPECT_EQ(Btn->Hint, "Alpha hint") << "hint";
    EXPECT_EQ(Combo->Left(), 120) << "combo moved";
    EXPECT_EQ(Pic->Left(), 10) << "a missing position puts a picture button at 10";
    EXPECT_EQ(Label->Left(), 300) << "a label keeps its place without a position above 0";
    l.LocalizeControl(Host.get(), 1);
    EXPECT_EQ(Btn->Caption(), "Beta caption") << "second language";
    EXPECT_EQ(Btn->Hint, "") << "a missing hint clears it";
    CWordsStruct words;
    l.LocalizeIndicator(words, 0);
    EXPECT_EQ(words.DoneWD, "Fertig") << "progress word from the file";
    EXPECT_EQ(words.DeletingWD, "Deleting") << "missing progress word";
    TM_MainFmDoubleWordsStruct texts;
    l.LocalizeMainFmStrings(texts, 0);
    EXPECT_EQ(texts.RestoreWndWD, "Back") << "tray text";
    EXPECT_EQ(texts.CancelWD, "Minimize Quelora") << "missing tray text";
}

TEST_F(LanguageFilesTest, TwoUnderscoresAndCorruptFilesGiveDefaults)
{
    Write("En_GB_.con", "[Host]\r\nBtn=British\r\n");
    Write("Zz_.con", std::string("\xFF\xFE\x00\x01garbage[[[=\x00\r\n==", 20));
    TM_LocalizeClass l;
    ASSERT_EQ(l.Languages.Count(), 2) << "both listed";
    EXPECT_EQ(l.Languages[0], "En") << "the text before the first underscore";
    l.LocalizeControl(Host.get(), 0);
    EXPECT_EQ(Btn->Caption(), "built-in") << "En_.con does not exist: caption stays";
    EXPECT_EQ(Combo->Left(), 10) << "and every position takes its default";
    l.LocalizeControl(Host.get(), 1);
    EXPECT_EQ(Btn->Caption(), "built-in") << "a corrupt file changes no caption";
    CWordsStruct words;
    l.LocalizeIndicator(words, 1);
    EXPECT_EQ(words.WipingWD, "Wiping file:") << "a corrupt file gives the built-in words";
}

TEST_F(LanguageFilesTest, PlacesAndLongLinesStayInsideAndSwitchedMenuCaptionsStay)
{
    const std::string longCaption(70000, 'W');
    Write("Wide_.con", "[Host]\r\nBtn=" + longCaption + "\r\nCombo=99999999\r\nPic=-500\r\nLabel_Left=2000000000\r\n"
                       "Menu=Translated\r\nSwitched=Reset\r\n");
    auto* plain = new TMenuItem(Host.get());
    plain->Name = "Menu";
    plain->SetCaption("Plain");
    auto* switched = new TMenuItem(Host.get());
    switched->Name = "Switched";
    switched->RunTimeCaption = true;
    switched->SetCaption("Switched by the program");
    TM_LocalizeClass l;
    l.LocalizeControl(Host.get(), 0);
    const int room = Host->Width();
    EXPECT_EQ(Btn->Caption(), longCaption) << "the whole over-long line is the caption";
    EXPECT_TRUE(Btn->Left() >= 0 && Btn->Left() + Btn->Width() <= room)
        << "the widened button spans " << Btn->Left() << ".." << Btn->Left() + Btn->Width() << " of " << room;
    EXPECT_EQ(Combo->Left(), room - Combo->Width()) << "a combo box placed far right is flush with the edge";
    EXPECT_EQ(Pic->Left(), 0) << "a picture button placed left of the window";
    EXPECT_EQ(Label->Left(), room - Label->Width()) << "a label placed far right";
    EXPECT_EQ(plain->Caption(), "Translated") << "a menu caption the program never switches";
    EXPECT_EQ(switched->Caption(), "Switched by the program") << "a switched caption is left as switched";
}

}  // namespace
