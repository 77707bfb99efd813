#include "MainForm.h"
#include "MorwenClsid.h"
#include "TRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;

namespace {

const char ClassKey[] = "CLSID\\" MORWEN_CLSID_TEXT "\\InprocServer32";

bool MorwenRegistered()
{
    return TRegistry(HKEY_CLASSES_ROOT).KeyExists(ClassKey);
}

// RegSvr32 runs on its own: wait for its effect, then for every RegSvr32 to be gone.
bool WaitForRegistered(bool registered)
{
    for (int i = 0; i < 200 && MorwenRegistered() != registered; ++i)
        Sleep(100);
    return WaitForNoProcess("regsvr32.exe", 20000) && MorwenRegistered() == registered;
}

std::string Value(HKEY root, const std::string& key, const char* name)
{
    TRegistry reg(root);
    if (!reg.OpenKeyReadOnly(key))
        return "(no key)";
    return reg.ReadString(name);
}

BOOL CALLBACK MatchMainWindow(HWND wnd, LPARAM data)
{
    auto* s = reinterpret_cast<std::pair<DWORD, HWND>*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    char cls[64] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    if (owner != s->first || std::string(cls) != "QueloraWindow" || WindowText(wnd) != "Quelora")
        return TRUE;
    s->second = wnd;
    return FALSE;
}

// The main window among the program's windows (the intro window shows at a first start too).
HWND MainWindowOf(DWORD pid)
{
    std::pair<DWORD, HWND> search(pid, nullptr);
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

}  // namespace

TEST(FirstStart, WritesTheSetupRegistersMorwenAndUnregistersAtExit)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
    DWORD pid = 0;
    HANDLE quelmain = StartProgram("\"" + ExeDir() + "\\Quelmain.exe\"", &pid);
    ASSERT_NE(quelmain, nullptr);
    EXPECT_TRUE(WaitForRegistered(true)) << "registered at the first start";
    HWND main = MainWindowOf(pid);
    ASSERT_NE(main, nullptr) << "Quelmain's window";

    const std::string data = "Software\\Ostrand\\Quelora\\Data\\";
    EXPECT_EQ(Value(HKEY_CURRENT_USER, data, "Version"), "2.8");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, data, "InstallationPath"), ExeDir() + "\\");
    for (const char* key : {"*\\shellex\\ContextMenuHandlers\\Vantrel", "Directory\\shellex\\ContextMenuHandlers\\Vantrel"})
        EXPECT_EQ(Value(HKEY_CLASSES_ROOT, key, ""), MORWEN_CLSID_TEXT) << key;
    EXPECT_EQ(lstrcmpiA(Value(HKEY_CLASSES_ROOT, ClassKey, "").c_str(), (ExeDir() + "\\Morwen.dll").c_str()), 0)
        << Value(HKEY_CLASSES_ROOT, ClassKey, "");

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(quelmain, 30000), WAIT_OBJECT_0) << "Quelmain ends";
    CloseHandle(quelmain);
    EXPECT_TRUE(WaitForRegistered(false)) << "unregistered at exit, the option being on";
    EXPECT_EQ(Value(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\Vantrel", ""), MORWEN_CLSID_TEXT)
        << "the handler keys stay";
}

TEST(ContextMenuOption, OffUnregistersAndOnRegistersAgain)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no display";
    TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand");
    TMainFm* fm = NewForm<TMainFm>(nullptr);
    MainFm = fm;
    ASSERT_TRUE(WaitForRegistered(true)) << "first start";
    TMyRndRectBtn* option = fm->SettingsFrame->MyRndRectBtn10;
    option->SetDown(true);
    fm->SettingsFrameMyRndRectBtn10Click(option);
    EXPECT_TRUE(WaitForRegistered(false)) << "switched off";
    option->SetDown(false);
    fm->SettingsFrameMyRndRectBtn10Click(option);
    EXPECT_TRUE(WaitForRegistered(true)) << "switched on";

    // A later start of the same version with the option off writes nothing and registers
    // nothing; its exit leaves the registration alone.
    option->SetDown(true);
    fm->SettingsFrameMyRndRectBtn10Click(option);
    ASSERT_TRUE(WaitForRegistered(false));
    fm->SettingsFrame->MyRndRectBtn2->SetDown(true);   // save on exit
    fm->Free();
    ASSERT_TRUE(WaitForRegistered(false)) << "off at exit";
    TRegistry(HKEY_CURRENT_USER).DeleteKey("Software\\Ostrand\\Quelora\\Data");   // would show a rewrite
    TRegistry reg(HKEY_CURRENT_USER);
    reg.OpenKey("Software\\Ostrand\\Quelora\\Data\\", true);
    reg.WriteString("Version", "2.8");
    reg.CloseKey();
    fm = NewForm<TMainFm>(nullptr);
    MainFm = fm;
    EXPECT_TRUE(fm->SettingsFrame->MyRndRectBtn10->Down()) << "the saved option";
    EXPECT_TRUE(WaitForRegistered(false)) << "nothing registered at a later start with the option off";
    EXPECT_EQ(Value(HKEY_CURRENT_USER, "Software\\Ostrand\\Quelora\\Data\\", "InstallationPath"), "")
        << "nothing rewritten";
    fm->Free();
}
