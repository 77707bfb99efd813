// Wine's shell never loads context-menu handlers, so these tests make the calls Explorer
// makes: create the registered class, hand it the selection as a CF_HDROP data object, ask
// for its menu item and invoke it.
#include "MorwenClsid.h"
#include "TestSupport.h"
#include "VantrelSupport.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

const char ClassKey[] = "CLSID\\" MORWEN_CLSID_TEXT "\\InprocServer32";

// The selection as the shell hands it over: one CF_HDROP of wide paths.
class SelectionData : public IDataObject {
public:
    explicit SelectionData(const std::vector<std::wstring>& paths) : Paths(paths) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetData(FORMATETC* f, STGMEDIUM* m) override
    {
        if (f->cfFormat != CF_HDROP || !(f->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        size_t chars = 1;
        for (const std::wstring& p : Paths)
            chars += p.size() + 1;
        HGLOBAL g = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        auto* drop = static_cast<DROPFILES*>(GlobalLock(g));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        auto* out = reinterpret_cast<wchar_t*>(drop + 1);
        for (const std::wstring& p : Paths) {
            std::memcpy(out, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
            out += p.size() + 1;
        }
        GlobalUnlock(g);
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = g;
        m->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* f) override { return f->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC; }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<std::wstring> Paths;
};

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::string ClassValue(const char* name)
{
    char buf[MAX_PATH] = {};
    DWORD type, bytes = sizeof buf;
    HKEY k;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ClassKey, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return "(no key)";
    LONG rc = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &bytes);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? buf : "(no value)";
}

long RegSvr32(const std::string& switches)
{
    return RunProgram("regsvr32.exe " + switches + " \"" + ExeDir() + "\\Morwen.dll\"", 30000);
}

class MorwenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        ASSERT_EQ(RegSvr32("/i /s"), 0) << "RegSvr32 /i /s";
        SetInstallationPath();
    }
    void TearDown() override { CoUninitialize(); }
};

}  // namespace

TEST_F(MorwenTest, RegistersItsClassForTheShellAndRemovesIt)
{
    EXPECT_EQ(lstrcmpiA(ClassValue(nullptr).c_str(), (ExeDir() + "\\Morwen.dll").c_str()), 0) << ClassValue(nullptr);
    EXPECT_EQ(ClassValue("ThreadingModel"), "Apartment");
    ASSERT_EQ(RegSvr32("/u /s"), 0) << "RegSvr32 /u /s";
    EXPECT_EQ(ClassValue(nullptr), "(no key)") << "after /u";
    IUnknown* gone = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Morwen, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&gone)),
              REGDB_E_CLASSNOTREG);
}

TEST_F(MorwenTest, WipesTheSelectionThroughVantrel)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    std::string dir = ScratchDir("morwen");
    MakeDirs(dir + "\\tree\\ro\\deep");
    for (const char* f : {"one.txt", "two.txt", "held.txt", "canary.txt", "tree\\a.txt", "tree\\ro\\desktop.ini",
                          "tree\\ro\\deep\\b.txt"})
        WriteFileBytes(dir + "\\" + f, std::string(5000, 'k'));
    SetFileAttributesA((dir + "\\two.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((dir + "\\tree\\ro\\deep\\b.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA((dir + "\\tree\\ro").c_str(), FILE_ATTRIBUTE_READONLY);
    // A name the ANSI code page cannot spell: left out of the list, never wiped as "?".
    std::wstring foreign = Wide(dir) + L"\\\x0416\x4E2D.txt";
    HANDLE f = CreateFileW(foreign.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);

    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, "QueloraTestReady");
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "QueloraTestQuit");
    HANDLE holder = StartProgram(HelperCommand("hold \"" + dir + "\\held.txt\" QueloraTestReady QueloraTestQuit"));
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0) << "the holder";

    IShellExtInit* init = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_Morwen, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                               reinterpret_cast<void**>(&init)),
              S_OK);
    SelectionData selection({Wide(dir + "\\one.txt"), Wide(dir + "\\two.txt"), Wide(dir + "\\tree"),
                             Wide(dir + "\\held.txt"), foreign});
    ASSERT_EQ(init->Initialize(nullptr, &selection, nullptr), S_OK);
    IContextMenu* menu = nullptr;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);

    HMENU popup = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 100, 0x7FFF, CMF_DEFAULTONLY), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0))
        << "nothing for a default-only menu";
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 100, 0x7FFF, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    char text[64] = {};
    GetMenuStringA(popup, 100, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "Wipe with Vantrel");
    EXPECT_EQ(GetMenuItemCount(popup), 1);
    DestroyMenu(popup);
    char verb[16] = {};
    EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA, nullptr, verb, sizeof verb), S_OK);
    EXPECT_STREQ(verb, "wipe");

    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof invoke;
    invoke.lpVerb = MAKEINTRESOURCEA(1);
    EXPECT_EQ(menu->InvokeCommand(&invoke), E_INVALIDARG) << "an offset that is not ours";
    EXPECT_FALSE(PathExists(WorkListPath())) << "no list for a wrong offset";
    invoke.lpVerb = MAKEINTRESOURCEA(0);
    EXPECT_EQ(menu->InvokeCommand(&invoke), S_OK);
    menu->Release();
    init->Release();

    EXPECT_EQ(ReadFileBytes(WorkListPath()), dir + "\\one.txt\r\n" + dir + "\\two.txt\r\n" + dir + "\\tree\r\n" + dir +
                                                 "\\held.txt\r\n")
        << "the list, without the name it cannot spell";
    EXPECT_TRUE(WaitForNoProcess("Vantrel.exe", 60000)) << "Vantrel ends";
    for (const char* gone : {"one.txt", "two.txt", "tree"})
        EXPECT_FALSE(PathExists(dir + "\\" + gone)) << gone;
    EXPECT_EQ(ReadFileBytes(dir + "\\canary.txt"), std::string(5000, 'k')) << "the file beside them";
    EXPECT_NE(GetFileAttributesW(foreign.c_str()), INVALID_FILE_ATTRIBUTES) << "the foreign name";
    EXPECT_TRUE(PathExists(WorkListPath())) << "the work list stays";

    SetEvent(quit);
    WaitForSingleObject(holder, 20000);
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(dir + "\\held.txt"), std::string(5000, 'k')) << "a file another program held";
    CloseHandle(ready);
    CloseHandle(quit);
    DeleteFileW(foreign.c_str());
}
