// Wine's shell never loads context-menu handlers, so these tests make the calls Explorer
// makes: create the registered class, hand it the selection as a CF_HDROP data object, ask
// for its menu item and invoke it.
#include "CContextMenuExt.h"
#include "MorwenClsid.h"
#include "TestSupport.h"
#include "VantrelSupport.h"

#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace testing_support;

namespace {

const char ClassRoot[] = "CLSID\\" MORWEN_CLSID_TEXT;
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

// RegSvr32's exit code when the library's own call fails.
const long ServerCallFailed = 5;

long RegSvr32(const std::string& switches)
{
    return RunProgram("regsvr32.exe " + switches + " \"" + ExeDir() + "\\Morwen.dll\"", 30000);
}

bool KeyExists(HKEY root, const std::string& key)
{
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

// A key of the classes root under another owner and access list until Restore, or the end of
// the scope: the sandbox does not see access lists, so each goes back as it was, through the
// handle opened before.
class KeyAccess {
public:
    KeyAccess(const std::string& key, const char* sddl)
    {
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, READ_CONTROL | WRITE_DAC | WRITE_OWNER, &Key) != ERROR_SUCCESS) {
            Key = nullptr;
            return;
        }
        DWORD size = 0;
        RegGetKeySecurity(Key, Parts, nullptr, &size);
        Saved.resize(size);
        PSECURITY_DESCRIPTOR sd = nullptr;
        Set = RegGetKeySecurity(Key, Parts, Saved.data(), &size) == ERROR_SUCCESS &&
              ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr) &&
              RegSetKeySecurity(Key, Parts, sd) == ERROR_SUCCESS;
        LocalFree(sd);
    }
    ~KeyAccess() { Restore(); }
    void Restore()
    {
        if (Key && Set)
            RegSetKeySecurity(Key, Parts, Saved.data());
        if (Key)
            RegCloseKey(Key);
        Key = nullptr;
    }
    bool Set = false;

private:
    static const SECURITY_INFORMATION Parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    HKEY Key = nullptr;
    std::vector<BYTE> Saved;
};

// The item for a selection, as the shell makes it on the calling thread.
IContextMenu* MenuFor(SelectionData& selection)
{
    IShellExtInit* init = nullptr;
    if (CoCreateInstance(CLSID_Morwen, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                         reinterpret_cast<void**>(&init)) != S_OK)
        return nullptr;
    IContextMenu* menu = nullptr;
    if (init->Initialize(nullptr, &selection, nullptr) == S_OK)
        init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu));
    init->Release();
    return menu;
}

HRESULT Invoke(IContextMenu* menu, const char* verb, HWND owner = nullptr)
{
    CMINVOKECOMMANDINFO invoke = {};
    invoke.cbSize = sizeof invoke;
    invoke.hwnd = owner;
    invoke.lpVerb = verb;
    return menu->InvokeCommand(&invoke);
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
    // Keys that others put below the class (category and shell caches) go with it, also one
    // whose name the ANSI code page cannot spell.
    for (const wchar_t* below : {L"\\Implemented Categories\\{00021490-0000-0000-C000-000000000046}",
                                 L"\\ShellEx\\Cache", L"\\ShellEx\\\x0416\x4E2D", L"\\ShellEx\\\x0416\x4E2D\\Cache"}) {
        HKEY k;
        ASSERT_EQ(RegCreateKeyW(HKEY_CLASSES_ROOT, (Wide(ClassRoot) + below).c_str(), &k), ERROR_SUCCESS);
        RegCloseKey(k);
    }
    ASSERT_EQ(RegSvr32("/u /s"), 0) << "RegSvr32 /u /s (-2: still running after 30 s)";
    EXPECT_EQ(ClassValue(nullptr), "(no key)") << "after /u";
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassRoot)) << "the class key after /u";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::string("Software\\Classes\\") + ClassRoot)) << "the user's class key";
    IUnknown* gone = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Morwen, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&gone)),
              REGDB_E_CLASSNOTREG);

    ASSERT_EQ(RegSvr32("/i /s"), 0) << "RegSvr32 /i /s again";
    IUnknown* back = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Morwen, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&back)),
              S_OK)
        << "registered again";
    if (back)
        back->Release();
}

TEST_F(MorwenTest, UnregisteringEndsAndFailsWhileAKeyOfTheClassStays)
{
    // A category registered for the whole machine by an administrator (here owned by the
    // system): this user may read it, but neither write nor delete it. It sorts before the
    // server's key.
    const std::string category = std::string(ClassRoot) + "\\Implemented Categories\\{00021490-0000-0000-C000-000000000046}";
    HKEY k;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, category.c_str(), &k), ERROR_SUCCESS);
    RegCloseKey(k);
    KeyAccess readOnly(category, "O:SYD:(A;;KR;;;WD)");
    ASSERT_TRUE(readOnly.Set) << "the category's access list";
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, category.c_str(), 0, KEY_WRITE, &k) == ERROR_SUCCESS) {
        RegCloseKey(k);
        GTEST_SKIP() << "this system lets the user write the key whatever its list says";
    }
    EXPECT_EQ(RegSvr32("/u /s"), ServerCallFailed) << "RegSvr32 /u /s below a key it may not delete (-2: still running after 30 s)";
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, category)) << "the category";
    EXPECT_EQ(ClassValue(nullptr), "(no key)") << "the server's key, after the category";

    // A class key this user may not open at all.
    KeyAccess closed(ClassRoot, "O:SYD:(A;;RC;;;WD)");
    ASSERT_TRUE(closed.Set) << "the class key's access list";
    EXPECT_EQ(RegSvr32("/u /s"), ServerCallFailed) << "RegSvr32 /u /s on a class key it may not open";

    closed.Restore();
    readOnly.Restore();
    EXPECT_EQ(RegSvr32("/u /s"), 0) << "RegSvr32 /u /s once the user may delete every key";
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ClassRoot)) << "the class key";
}

TEST_F(MorwenTest, StaysLoadedWhileTheShellHoldsItsFactoryOrALock)
{
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(CLSID_Morwen, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    CoFreeUnusedLibrariesEx(0, 0);
    ASSERT_NE(GetModuleHandleA("Morwen.dll"), nullptr) << "unloaded under a factory still held";
    IContextMenu* menu = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    if (menu)
        menu->Release();

    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    CoFreeUnusedLibrariesEx(0, 0);
    ASSERT_NE(GetModuleHandleA("Morwen.dll"), nullptr) << "unloaded under a lock";
    ASSERT_EQ(CoGetClassObject(CLSID_Morwen, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(GetModuleHandleA("Morwen.dll"), nullptr) << "kept loaded with nothing held";
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

#ifdef _WIN64
// A page whose address has zero low 32 bits, as 64-bit pointers above 4 GiB may have;
// nullptr where none can be had.
char* PageAboveFourGigabytes()
{
    for (ULONG_PTR at = ULONG_PTR(0x200000000); at < ULONG_PTR(0x4000000000); at += ULONG_PTR(0x100000000))
        if (void* page = VirtualAlloc(reinterpret_cast<void*>(at), 0x10000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE))
            return static_cast<char*>(page);
    return nullptr;
}
#endif

TEST_F(MorwenTest, AVerbAboveFourGigabytesIsReadAsText)
{
#ifndef _WIN64
    GTEST_SKIP() << "32-bit pointers lie below 4 GiB";
#else
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    std::string dir = ScratchDir("morwenverb");
    WriteFileBytes(dir + "\\chosen.txt", "chosen");
    // The high word of each address's low half is 0: a test of that word takes the text at
    // "foreign" for command 0, and "ours" for command 0x1000.
    char* foreign = PageAboveFourGigabytes();
    ASSERT_NE(foreign, nullptr) << "no page above 4 GiB";
    char* ours = foreign + 0x1000;
    std::strcpy(foreign, "delete");
    std::strcpy(ours, "wipe");

    SelectionData selection({Wide(dir + "\\chosen.txt")});
    IContextMenu* menu = MenuFor(selection);
    ASSERT_NE(menu, nullptr);
    DeleteFileA(WorkListPath().c_str());
    EXPECT_EQ(Invoke(menu, foreign), E_INVALIDARG) << "another handler's verb at " << static_cast<void*>(foreign);
    EXPECT_FALSE(PathExists(WorkListPath())) << "a list for another handler's verb";
    EXPECT_EQ(Invoke(menu, ours), S_OK) << "our verb at " << static_cast<void*>(ours);
    menu->Release();
    EXPECT_TRUE(WaitForNoProcess("Vantrel.exe", 60000)) << "Vantrel ends";
    EXPECT_FALSE(PathExists(dir + "\\chosen.txt")) << "wiped by our verb";
#endif
}

TEST_F(MorwenTest, TwoWindowsInvokingAtOnceLoseNoList)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    std::string dir = ScratchDir("morwentwice");
    std::vector<std::wstring> chosen[2];
    for (int w = 0; w < 2; ++w)
        for (int i = 0; i < 3; ++i) {
            std::string f = dir + "\\w" + std::to_string(w) + "_" + std::to_string(i) + ".txt";
            WriteFileBytes(f, "x");
            chosen[w].push_back(Wide(f));
        }
    WriteFileBytes(dir + "\\canary.txt", "canary");

    // Two Explorer windows: two threads, each with its own item, invoking together.
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE ready[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HRESULT result[2] = {E_PENDING, E_PENDING};
    std::vector<std::thread> windows;
    for (int w = 0; w < 2; ++w)
        windows.emplace_back([&, w] {
            CoInitialize(nullptr);
            SelectionData selection(chosen[w]);
            IContextMenu* menu = MenuFor(selection);
            SetEvent(ready[w]);
            WaitForSingleObject(go, INFINITE);
            if (menu) {
                result[w] = Invoke(menu, MAKEINTRESOURCEA(0));
                menu->Release();
            }
            CoUninitialize();
        });
    WaitForMultipleObjects(2, ready, TRUE, 20000);
    SetEvent(go);
    for (std::thread& t : windows)
        t.join();
    CloseHandle(go);
    CloseHandle(ready[0]);
    CloseHandle(ready[1]);
    EXPECT_EQ(result[0], S_OK);
    EXPECT_EQ(result[1], S_OK);
    EXPECT_TRUE(WaitForNoProcess("Vantrel.exe", 60000)) << "Vantrel ends";
    for (int w = 0; w < 2; ++w)
        for (const std::wstring& f : chosen[w])
            EXPECT_EQ(GetFileAttributesW(f.c_str()), INVALID_FILE_ATTRIBUTES) << "window " << w << " chose a file still there";
    EXPECT_EQ(ReadFileBytes(dir + "\\canary.txt"), "canary");
}

TEST(MorwenPaths, ListsEveryNameTheCodePageSpells)
{
    const std::wstring plain = L"C:\\q\\a.txt", accented = L"C:\\q\\caf\x00E9.txt", cyrillic = L"C:\\q\\\x0416.txt",
                       lookAlike = L"C:\\q\\\x0100.txt", broken = L"C:\\q\\\xD800.txt";
    SelectionData selection({plain, accented, cyrillic, lookAlike, broken});
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    ASSERT_EQ(selection.GetData(&format, &medium), S_OK);
    auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
    auto joined = [&](UINT codePage) {
        std::string all;
        for (const std::string& p : CContextMenuExt::AnsiPaths(drop, codePage))
            all += p + "|";
        return all;
    };
    // A system whose ANSI code page is UTF-8 spells every whole name; a lone surrogate is none.
    EXPECT_EQ(joined(CP_UTF8), "C:\\q\\a.txt|C:\\q\\caf\xC3\xA9.txt|C:\\q\\\xD0\x96.txt|C:\\q\\\xC4\x80.txt|");
    // Western: no Cyrillic, and no 'A' standing in for the macron A.
    EXPECT_EQ(joined(1252), "C:\\q\\a.txt|C:\\q\\caf\xE9.txt|");
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
}

// The message box a failed hand-over shows, found among the thread's windows and closed: its
// owner and its text (no owner and "(none)" when none came).
struct ShownBox {
    HWND owner = nullptr;
    std::string text = "(none)";
};

ShownBox CloseBox(DWORD waitMs)
{
    ShownBox shown;
    HWND box = WaitForWindow(GetCurrentProcessId(), "#32770", waitMs);
    if (!box)
        return shown;
    shown.owner = GetWindow(box, GW_OWNER);
    shown.text.clear();
    for (HWND t = FindWindowExA(box, nullptr, "Static", nullptr); t; t = FindWindowExA(box, t, "Static", nullptr))
        shown.text += WindowText(t);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return shown;
}

TEST_F(MorwenTest, SaysWhyWhenTheListOrVantrelFails)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    std::string dir = ScratchDir("morwenfails");
    WriteFileBytes(dir + "\\chosen.txt", "chosen");
    HWND shell = CreateWindowExA(0, "STATIC", "shell", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(shell, nullptr);
    SelectionData selection({Wide(dir + "\\chosen.txt")});
    IContextMenu* menu = MenuFor(selection);
    ASSERT_NE(menu, nullptr);

    struct Case {
        std::string folder, expected;
    } cases[] = {
        {dir + "\\no such folder\\", "could not be written to " + dir + "\\no such folder\\cmfiles.ftd"},
        {dir + "\\", "Vantrel could not be started from " + dir + "\\Vantrel.exe"},
    };
    for (const Case& c : cases) {
        SetInstallationPath(c.folder);
        ShownBox shown;
        std::thread closer([&] { shown = CloseBox(60000); });
        HRESULT hr = Invoke(menu, MAKEINTRESOURCEA(0), shell);
        closer.join();
        EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
        EXPECT_EQ(shown.owner, shell) << "the owner of the box that said: " << shown.text;
        EXPECT_NE(shown.text.find(c.expected), std::string::npos) << "the box said: " << shown.text;
    }
    EXPECT_EQ(ReadFileBytes(dir + "\\cmfiles.ftd"), dir + "\\chosen.txt\r\n") << "the list written where Vantrel is missing";
    EXPECT_EQ(ReadFileBytes(dir + "\\chosen.txt"), "chosen");
    menu->Release();
    DestroyWindow(shell);
}
