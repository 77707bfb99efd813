// The Internet Explorer items that reach beyond the cache: the browser history (through the
// system's URL history object, then the History folder), the typed addresses, the
// downloaded controls with their registry entries, and the index files, which stay locked
// while the user is logged on and are left to Fennick at the next logon.
#include "CIECleanClass.h"

#include "CIndicatorClass.h"
#include "Exceptions.h"
#include "SysUtils.h"
#include "TApplication.h"

#include <windows.h>
#include <initguid.h>
#include <shlguid.h>
#include <urlhist.h>

#include <string>

namespace {

const char TypedUrlsKey[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs\\";
const char DistributionUnitsKey[] = "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
const char RunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";
const char RunOnceValue[] = "Quelora's module";

// COM for the calling thread, for as long as the object lives. A thread that already runs
// in another apartment model refuses the call; uninitialising then would take away the
// caller's own initialisation.
class ComApartment {
public:
    ComApartment() : Initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment()
    {
        if (Initialised)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool Initialised;
};

// The system's URL history store, released before the apartment it was made in ends.
class UrlHistory {
public:
    UrlHistory()
    {
        if (FAILED(CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER, IID_IUrlHistoryStg2,
                                    reinterpret_cast<void**>(&Store))))
            Store = nullptr;
    }
    ~UrlHistory()
    {
        if (Store)
            Store->Release();
    }
    UrlHistory(const UrlHistory&) = delete;
    UrlHistory& operator=(const UrlHistory&) = delete;

    IUrlHistoryStg2* Store = nullptr;
};

}  // namespace

std::string IndexFilesCommandLine(const std::string& programFolder, int passCount)
{
    return "\"" + ExcludeTrailingBackslash(programFolder) + "\\Fennick.exe\" " + IntToStr(passCount);
}

class CIEHistoryWork {
public:
    // Wipes every entry below the History folder, then removes what is left (the folders).
    // A cancel stops after the file in progress: the removal would delete the remaining
    // files without overwriting them.
    static void WipeHistoryFolder(CIECleanClass& c)
    {
        const std::string folder = ExcludeTrailingBackslash(c.ShellFolders[CShellFoldersContainer::History]);
        c.FHdd.CollectByExtension(folder, ".*", true);
        for (const std::string& path : c.FHdd.CollectedPaths.Items) {
            c.FHdd.WipeAndDelete(path);
            if (c.IsCancelRequested())
                return;
        }
        c.FHdd.DeleteTree(folder);
    }

    // The registry entries of the downloaded controls: the subkeys named by a class id.
    // Without the rights to the machine's key nothing is opened and nothing deleted.
    static void DeleteDistributionUnits(CIECleanClass& c)
    {
        TRegistry& reg = *c.Reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        if (reg.OpenKey(DistributionUnitsKey, false)) {
            TStringList names;
            reg.GetKeyNames(names);
            for (const std::string& name : names.Items)
                if (!name.empty() && name[0] == '{')
                    reg.DeleteKey(name);
        }
        // The other operations take the registry object as built, on the user's hive.
        reg.SetRootKey(HKEY_CURRENT_USER);
    }
};

void CIECleanClass::ClearHistory(int mode)
{
    if (mode == 1)
        ClearHistory(0);
    {
        ComApartment com;
        UrlHistory history;
        if (history.Store && mode == 1) {
            // Wipe the folder whatever the store says: some systems' stores clear nothing.
            history.Store->ClearHistory();
            Indicator->ShowClearing();
            CIEHistoryWork::WipeHistoryFolder(*this);
        }
    }
    if (mode == 0)
        Indicator->SetMax(1);
    else
        EndSection();
}

void CIECleanClass::ClearTypedUrls()
{
    Reg->SetRootKey(HKEY_CURRENT_USER);
    int size = Meter.GetKeySize(*Reg, TypedUrlsKey);
    Reg->DeleteKey(TypedUrlsKey);
    Indicator->AddBytes(size);
    Indicator->ShowClearing();
    EndClearing();
}

void CIECleanClass::ClearDownloadedPrograms()
{
    const std::string folder =
        ExcludeTrailingBackslash(ShellFolders[CShellFoldersContainer::Windows]) + "\\Downloaded Program Files";
    FHdd.CollectByExtension(folder, ".*", true);
    // The controls' registry entries go only with all their files.
    if (WipeCollected(FHdd, [this](const std::string& p) { Indicator->SetStatus(ExtractFileName(p)); })) {
        for (const std::string& path : FHdd.CollectedPaths.Items)
            if (DirectoryExists(path))
                FHdd.RemoveFolder(path);   // only when nothing else was left in it
        CIEHistoryWork::DeleteDistributionUnits(*this);
    }
    EndSection();
}

void CIECleanClass::ScheduleIndexDatDeletion(int flag)
{
    if (flag != 0)
        return;
    Reg->SetRootKey(HKEY_CURRENT_USER);
    // The user's own hive must take the value; a refusal ends the run with the failure.
    if (!Reg->OpenKey(RunOnceKey, true))
        throw ERegistryException(std::string("Failed to create key '") + RunOnceKey + "'");
    const std::string programFolder = ExtractFilePath(Application->ExeName());
    Reg->WriteString(RunOnceValue, IndexFilesCommandLine(programFolder, FHdd.PassCount));
    Reg->CloseKey();
    // Nothing is removed now: Fennick does the work at the next logon.
    Indicator->ShowClearing();
    Indicator->SectionDone();
}
