// The first start of this version for the user: the version, the installation folder that
// Vantrel reads, and the shell's handler keys that name Morwen; and the context-menu option,
// which registers Morwen with RegSvr32 while it is on.
#include "AboutForm.h"
#include "MainForm.h"

#include "MorwenClsid.h"
#include "SysUtils.h"
#include "TApplication.h"
#include "TRegistry.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace {

const char DataKey[] = "Software\\Ostrand\\Quelora\\Data\\";
const char* const HandlerKeys[] = {"*\\shellex\\ContextMenuHandlers\\Vantrel",
                                   "Directory\\shellex\\ContextMenuHandlers\\Vantrel"};

// Starts RegSvr32 on Morwen beside the program, when it is there; nothing waits for it.
void RunRegSvr32(const char* switches)
{
    std::string path = ExtractFilePath(Application->ExeName()) + "Morwen.dll";
    if (!FileExists(path))
        return;
    std::string parameters = std::string(switches) + " \"" + path + "\"";
    ShellExecuteA(nullptr, "open", "RegSvr32.exe", parameters.c_str(), nullptr, SW_HIDE);
}

// A setup write that fails (no right to write there) is not reported: the program runs
// without what it would have given.
void WriteQuietly(TRegistry& reg, const std::string& key, const char* name, const std::string& value)
{
    try {
        if (reg.OpenKey(key, true))
            reg.WriteString(name, value);
    } catch (const std::exception&) {
    }
    reg.CloseKey();
}

}  // namespace

void TMainFm::RunFirstStartSetup()
{
    std::unique_ptr<TRegistry> reg(new TRegistry(HKEY_CURRENT_USER));
    SetupRegistry = reg.get();
    if (!IsSetupVersionCurrent()) {
        WriteSetupVersion();
        WriteInstallationPath();
        WriteContextMenuHandlerKeys();
        SettingsFrameMyRndRectBtn10Click(nullptr);
    }
    SetupRegistry = nullptr;
}

bool TMainFm::IsSetupVersionCurrent()
{
    // Also makes the settings key, which the settings store opens without creating it.
    std::string version;
    try {
        if (SetupRegistry->OpenKey(DataKey, true))
            version = SetupRegistry->ReadString("Version");
    } catch (const std::exception&) {
        // A version of another type is no version: the setup runs again and rewrites it.
    }
    SetupRegistry->CloseKey();
    return version == TAboutFm::Version;
}

void TMainFm::WriteSetupVersion()
{
    WriteQuietly(*SetupRegistry, DataKey, "Version", TAboutFm::Version);
}

void TMainFm::WriteInstallationPath()
{
    WriteQuietly(*SetupRegistry, DataKey, "InstallationPath", ExtractFilePath(Application->ExeName()));
}

void TMainFm::WriteContextMenuHandlerKeys()
{
    SetupRegistry->SetRootKey(HKEY_CLASSES_ROOT);
    for (const char* key : HandlerKeys)
        WriteQuietly(*SetupRegistry, key, "", MORWEN_CLSID_TEXT);
    SetupRegistry->SetRootKey(HKEY_CURRENT_USER);
}

// The option is on while its button is up.
void TMainFm::SettingsFrameMyRndRectBtn10Click(TObject*)
{
    if (SettingsFrame->MyRndRectBtn10->Down())
        UnregisterContextMenuExt();
    else
        RegisterContextMenuExt();
}

void TMainFm::RegisterContextMenuExt()
{
    RunRegSvr32("/i /s");
}

void TMainFm::UnregisterContextMenuExt()
{
    RunRegSvr32("/u /s");
}
