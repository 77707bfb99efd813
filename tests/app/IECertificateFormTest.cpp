#include "DialogTestSupport.h"
#include "IECertificateForm.h"
#include "MainForm.h"
#include "TRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <wincrypt.h>

#include <string>

using namespace testing_support;
using namespace dialog_test;

namespace {

SYSTEMTIME Day(int year, int month, int day)
{
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = 12;
    return t;
}

// A self-signed certificate in a store of the current user, as a program would add one.
void AddSelfSigned(const wchar_t* storeName, const std::string& cn, SYSTEMTIME from, SYSTEMTIME to)
{
    BYTE encoded[256];
    DWORD size = sizeof encoded;
    std::string x500 = "CN=" + cn;
    ASSERT_TRUE(CertStrToNameA(X509_ASN_ENCODING, x500.c_str(), CERT_X500_NAME_STR, nullptr, encoded, &size, nullptr));
    CERT_NAME_BLOB name = {size, encoded};
    PCCERT_CONTEXT cert = CertCreateSelfSignCertificate(0, &name, 0, nullptr, nullptr, &from, &to, nullptr);
    ASSERT_TRUE(cert) << "making " << cn << ": error " << GetLastError();
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, storeName);
    BOOL added = store && CertAddCertificateContextToStore(store, cert, CERT_STORE_ADD_NEW, nullptr);
    CertFreeCertificateContext(cert);
    if (store) {
        CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
        CertCloseStore(store, 0);
    }
    ASSERT_TRUE(added) << "adding " << cn;
}

int RowOf(TIECertFm& fm, const std::string& name)
{
    TListBox* list = fm.ListBoxFrame1->ListBox1;
    for (int i = 0; i < list->Items.Count(); ++i)
        if (list->Items[i] == name)
            return i;
    return -1;
}

// Red pixels in a row of a list as it paints itself.
int RedIn(TTListBoxFrame* frame, int row)
{
    TBitmap b;
    TListBox* list = frame->ListBox1;
    b.SetSize(list->Width(), list->Height());
    PaintTree(*list, b.Canvas().DC());
    return CountColor(b, Rect(0, row * 13, list->Width(), row * 13 + 13), RGB(255, 0, 0));
}

// Answers the question box that comes next with that button.
void Answer(int button, bool& asked)
{
    Later([button, &asked] {
        HWND box = MessageBoxOfThisThread();
        asked = box != nullptr;
        if (box)
            PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    });
}

}  // namespace

class CertificateWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay())
            GTEST_SKIP() << "no display";
    }
    void TearDown() override
    {
        if (Fm)
            Fm->Free();
        if (MainFm)
            MainFm->Free();
        MainFm = nullptr;
    }
    TIECertFm* Fm = nullptr;
};

TEST_F(CertificateWindowTest, OpensOnMyWithDetailsRedExpiredRowsAndTheTrayLocked)
{
    AddSelfSigned(L"MY", "Bravo", Day(2020, 1, 1), Day(2040, 1, 1));
    AddSelfSigned(L"MY", "Alpha", Day(1999, 3, 1), Day(2009, 12, 31));
    TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
    MainFm = NewForm<TMainFm>(nullptr);
    bool opened = false, locked = false;
    Later([&] {
        TIECertFm* fm = IECertFm;
        opened = fm && IsWindowVisible(fm->Handle());
        if (!fm)
            return;
        // Closed however the checks end.
        struct Closer {
            TIECertFm* Fm;
            ~Closer() { Fm->MyGraphicBtn3->OnClick(nullptr); }
        } closer{fm};
        locked = !MainFm->N19->Enabled() && !MainFm->HideShow1->Enabled() && !MainFm->PopUpAction->Enabled();
        EXPECT_TRUE(fm->MyRndRectBtn4->Down() && !fm->MyRndRectBtn4->Enabled()) << "My chosen and disabled";
        EXPECT_TRUE(!fm->MyRndRectBtn1->Down() && fm->MyRndRectBtn1->Enabled()) << "Ca up and enabled";
        TListBox* list = fm->ListBoxFrame1->ListBox1;
        ASSERT_EQ(list->Items.Count(), 2) << "the two certificates of MY";
        EXPECT_EQ(list->Items[0], "Alpha") << "sorted";
        EXPECT_EQ(list->ItemIndex(), 0) << "the first row selected";
        TListBox* details = fm->ListBoxFrame2->ListBox1;
        ASSERT_EQ(details->Items.Count(), 5);
        EXPECT_EQ(details->Items[0].substr(0, 5), "S/N: ");
        EXPECT_EQ(details->Items[2], "Owner: Alpha");
        EXPECT_EQ(details->Items[3], "Obtainer: Alpha");
        EXPECT_EQ(details->Items[4], "Valid from:  1/3/1999  to  31/12/2009") << "dates as stored, no leading zeros";
        EXPECT_GT(RedIn(fm->ListBoxFrame2, 4), 0) << "an expired certificate's validity row is red";
        EXPECT_EQ(RedIn(fm->ListBoxFrame2, 2), 0) << "its other rows are not";
        EXPECT_EQ(RedIn(fm->ListBoxFrame1, 0), 0) << "selected: white on navy";
        EXPECT_TRUE(Snapshot(*fm, "certificates_window.png"));
        list->SetItemIndex(1);
        fm->ListBoxFrame1ListBox1Click(list);
        EXPECT_GT(RedIn(fm->ListBoxFrame1, 0), 0) << "the expired row is red when not selected";
        EXPECT_EQ(RedIn(fm->ListBoxFrame1, 1), 0) << "a valid one is not";
        EXPECT_EQ(RedIn(fm->ListBoxFrame2, 4), 0) << "a valid certificate's details are black";
        fm->ChooseStore(2);
        EXPECT_TRUE(fm->MyRndRectBtn4->Enabled() && !fm->MyRndRectBtn4->Down()) << "My given back";
    });
    MainFm->IETFrame1MyGraphicBtn3Click(nullptr);
    EXPECT_TRUE(opened) << "the certificate button opens the window";
    EXPECT_TRUE(locked) << "the run items are locked while it is open";
    EXPECT_TRUE(MainFm->N19->Enabled() && MainFm->HideShow1->Enabled() && MainFm->PopUpAction->Enabled())
        << "and enabled after";
}

TEST_F(CertificateWindowTest, OnlyAYesRemovesACertificate)
{
    for (const char* cn : {"Quelora Test 1", "Quelora Test 2", "Quelora Test 3"})
        AddSelfSigned(L"CA", cn, Day(2020, 1, 1), Day(2040, 1, 1));
    Fm = NewForm<TIECertFm>(nullptr);
    Fm->ChooseStore(3);
    TListBox* list = Fm->ListBoxFrame1->ListBox1;
    int count = list->Items.Count();
    int row = RowOf(*Fm, "Quelora Test 2");
    ASSERT_GE(row, 1) << "the middle one of ours";
    list->SetItemIndex(row);

    bool asked = false;
    Answer(IDNO, asked);
    Fm->MyGraphicBtn2Click(nullptr);
    EXPECT_TRUE(asked) << "the user is asked";
    EXPECT_EQ(RowOf(*Fm, "Quelora Test 2"), row) << "No keeps it";

    // Ended without a Yes or a No (as its owner's end or the system would end it); the box
    // belongs to the certificate window, so a topmost window cannot cover it.
    HWND owner = nullptr;
    asked = false;
    Later([&] {
        HWND box = MessageBoxOfThisThread();
        asked = box != nullptr;
        if (box) {
            owner = GetWindow(box, GW_OWNER);
            EndDialog(box, IDCANCEL);
        }
    });
    Fm->MyGraphicBtn2Click(nullptr);
    EXPECT_TRUE(asked) << "the user is asked again";
    EXPECT_EQ(owner, Fm->Handle()) << "the question's owner";
    EXPECT_EQ(RowOf(*Fm, "Quelora Test 2"), row) << "a closed box keeps it";

    Answer(IDYES, asked);
    Fm->MyGraphicBtn2Click(nullptr);
    EXPECT_EQ(RowOf(*Fm, "Quelora Test 2"), -1) << "Yes removes it";
    EXPECT_EQ(list->Items.Count(), count - 1);
    EXPECT_EQ(list->ItemIndex(), row) << "the row that followed is selected";
    EXPECT_EQ(Fm->ListBoxFrame2->ListBox1->Items[2], "Owner: " + list->Items[row]) << "with its details";

    list->SetItemIndex(-1);
    Fm->MyGraphicBtn2Click(nullptr);   // a question here would never be answered
    EXPECT_EQ(list->Items.Count(), count - 1) << "nothing selected: nothing asked, nothing removed";
}
