#include "TSettingsFrame.h"

#include "SysUtils.h"
#include "TApplication.h"

#include <objbase.h>
#include <shlobj.h>

using namespace MainLayout;
namespace L = MainLayout::SettingsPage;

namespace {
// The shell link's class and interfaces, named here: the system's own GUID objects sit in
// the same library object as GUIDs the cleaners already define.
const CLSID ShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID ShellLinkInterface = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID PersistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
}  // namespace

TSettingsFrame::TSettingsFrame(TComponent* owner) : TGroupFrame(owner)
{
    Name = "SettingsFrame";
    Tag = PageTag;
    SetBounds(0, 0, SettingsFrame.Width, SettingsFrame.Height);
    SetVisible(false);
    Image1 = MakePicture(SettingsPicture, L::Image);
    MyRndRectBtn2 = MakeItem("MyRndRectBtn2", 2, "Save on exit", true, L::MyRndRectBtn2);
    MyRndRectBtn3 = MakeItem("MyRndRectBtn3", 3, "Autorun", false, L::MyRndRectBtn3);
    MyRndRectBtn3->OnClick = [this](TObject* s) { MyRndRectBtn3Click(s); };
    MyRndRectBtn4 = MakeItem("MyRndRectBtn4", 4, "Clean on start", false, L::MyRndRectBtn4);
    MyRndRectBtn5 = MakeItem("MyRndRectBtn5", 5, "Clean every", false, L::MyRndRectBtn5);
    MyRndRectBtn6 = MakeItem("MyRndRectBtn6", 6, "Netscape 6x / Mozilla Profile", false, L::MyRndRectBtn6);
    MyRndRectBtn7 = MakeItem("MyRndRectBtn7", 7, "Don't show Logo on start", false, L::MyRndRectBtn7);
    MyRndRectBtn8 = MakeItem("MyRndRectBtn8", 8, "Start minimized", false, L::MyRndRectBtn8);
    // "Language:"
    MyRndRectBtn1 = MakeItem("MyRndRectBtn1", 0, "\xDF\xE7\xFB\xEA:", false, L::MyRndRectBtn1);
    // "Allow pop-up hints"
    MyRndRectBtn9 = MakeItem("MyRndRectBtn9", 0,
                             "\xD0\xE0\xE7\xF0\xE5\xF8\xE8\xF2\xFC \xE2\xF1\xEF\xEB\xFB\xE2\xE0\xFE\xF9\xE8\xE5 "
                             "\xEF\xEE\xE4\xF1\xEA\xE0\xE7\xEA\xE8",
                             true, L::MyRndRectBtn9);
    // "Deleting files from the context menu"
    MyRndRectBtn10 = MakeItem("MyRndRectBtn10", 0,
                              "\xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xF4\xE0\xE9\xEB\xEE\xE2 \xE8\xE7 "
                              "\xEA\xEE\xED\xF2\xE5\xEA\xF1\xF2\xED\xEE\xE3\xEE \xEC\xE5\xED\xFE",
                              false, L::MyRndRectBtn10);
    MyRndRectBtn11 = MakeItem("MyRndRectBtn11", 0, "View last cleans report", false, L::MyRndRectBtn11);
    for (TMyRndRectBtn* caption : {MyRndRectBtn6, MyRndRectBtn1, MyRndRectBtn11}) {
        caption->SetImageNumberOn(0);
        caption->SetImageNumberOff(0);
    }
    MyRndRectBtn11->Font.Color = LinkTextColor;
    // Drawn ticked while up: up means the context menu wipes.
    MyRndRectBtn10->SetImageNumberOn(2);
    MyRndRectBtn10->SetImageNumberOff(1);

    auto combo = [this](const char* name, const MainLayout::Rect& r) {
        auto* c = new TComboBox(this);
        c->Name = name;
        c->SetBounds(r.Left, r.Top, r.Width, r.Height);
        c->Font.Name = ItemFont;
        c->Font.Height = ItemFontHeight;
        c->SetParent(this);
        c->AutoDropDown = true;
        return c;
    };
    ComboBox1 = combo("ComboBox1", L::ComboBox1);
    for (const char* item : {"10 min", "20 min", "30 min", "60 min", "180 min", "360 min", "480 min"})
        ComboBox1->Items.Add(item);
    ComboBox1->SetEnabled(false);
    ComboBox2 = combo("ComboBox2", L::ComboBox2);
    ComboBox2->Tag = 1;
    ComboBox3 = combo("ComboBox3", L::ComboBox3);
}

void TSettingsFrame::UpdateIntervalCombo()
{
    ComboBox1->SetEnabled(MyRndRectBtn5->Down());
}

void TSettingsFrame::MyRndRectBtn3Click(TObject*)
{
    if (MyRndRectBtn3->Down())
        CreateAutorunShortcut("");
    else
        DeleteAutorunShortcut();
}

std::string AutorunShortcutPath()
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &list)) || !list)
        return std::string();
    char folder[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDListA(list, folder);
    CoTaskMemFree(list);
    if (!ok)
        return std::string();
    return std::string(folder) + "\\Quelora.lnk";
}

void CreateAutorunShortcut(const std::string& arguments)
{
    std::string path = AutorunShortcutPath();
    if (path.empty())
        return;
    HRESULT com = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(ShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, ShellLinkInterface,
                                   reinterpret_cast<void**>(&link)))) {
        std::string exe = Application->ExeName();
        link->SetPath(exe.c_str());
        link->SetArguments(arguments.c_str());
        link->SetWorkingDirectory(ExtractFilePath(exe).c_str());
        link->SetDescription("Quelora");
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(PersistFileInterface, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH] = {};
            if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) > 0)
                file->Save(wide, TRUE);
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}

void DeleteAutorunShortcut()
{
    std::string path = AutorunShortcutPath();
    if (!path.empty())
        DeleteFileA(path.c_str());
}
