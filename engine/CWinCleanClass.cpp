#include "CWinCleanClass.h"

#include "CIndicatorClass.h"
#include "CPathSafety.h"
#include "Exceptions.h"
#include "MyGraphicLabel.h"
#include "MyRndRectBtn.h"
#include "SysUtils.h"
#include "TCGauge.h"
#include "TRegistry.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace {

// The numbers that the main window's Windows group gives its buttons.
enum WinItem {
    RecentDocumentsItem = 1,
    FindListItem = 2,
    RunListItem = 3,
    RecycleBinItem = 4,
    TempFolderItem = 5,
    ChkFilesItem = 6,
    AccessoriesItem = 7,
    OfficeItem = 8,
    FileDialogItem = 9,
    LastLogonUserItem = 10,
    MediaPlayerItem = 11
};

const char RunMruKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\";
const char DocFindKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU\\";
const char ContainingTextKey[] =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ContainingTextMRU\\";
const char FilesNamedKey[] =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU\\";
const char LastVisitedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU";
const char OpenSaveKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
const char StreamKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StreamMRU";
const char MediaUrlKey[] = "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";
const char MediaFileKey[] = "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";
const char PaintKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List\\";
const char WordpadKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List\\";
const char ImagingKey[] = "Software\\Kodak\\Imaging\\Recent File List\\";
const char RecentDocsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs\\";
const char WordDataKey[] = "Software\\Microsoft\\Office\\9.0\\Word\\Data\\";
const char AccessSettingsKey[] = "Software\\Microsoft\\Office\\9.0\\Access\\Settings\\";
const char OfficeGeneralKey[] = "Software\\Microsoft\\Office\\9.0\\Common\\General\\";
const char UserWinlogonKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char MachineWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char* const LogonValues[] = {"DefaultUserName", "AltDefaultUserName"};

// Word 2000 keeps its recent-file list inside the binary value "Settings": the two bytes at
// 568 tell whether a list follows, and its entries run from 570 up to the marker 7A 02 FF FF
// where the settings go on. Gives the value without the list, or false when nothing is to be
// written: a value too short to hold the list, or one without the marker, where the list's
// end is unknown and cutting at a guess would lose Word's settings behind it.
bool WithoutWordList(const std::vector<unsigned char>& old, std::vector<unsigned char>& out)
{
    const size_t flag = 568, list = 570;
    static const unsigned char marker[] = {0x7A, 0x02, 0xFF, 0xFF};
    if (old.size() <= list)
        return false;
    auto rest = std::search(old.begin() + list, old.end(), std::begin(marker), std::end(marker));
    if (rest == old.end())
        return false;
    out.assign(old.begin(), old.begin() + flag);
    if (old[flag] != 0 || old[flag + 1] != 0)
        out.insert(out.end(), {0xFF, 0xFF});
    out.insert(out.end(), {0x00, 0x00});
    out.insert(out.end(), rest, old.end());
    return true;
}

// The name ScanDisk gives a lost-cluster folder at a drive's root, such as FOUND.000; a
// user's found.txt, FOUND or FOUND.OLD only looks like one.
bool IsFoundFolderName(const std::string& name)
{
    return name.size() == 9 && name.compare(0, 6, "FOUND.") == 0 &&
           std::all_of(name.begin() + 6, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int SaturatedSum(int a, int b)
{
    long long sum = static_cast<long long>(a) + b;
    return sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

}  // namespace

CWinCleanClass::CWinCleanClass()
{
    Registry.reset(new TRegistry(HKEY_CURRENT_USER));
    ReportUnwritten(FHdd);
}

CWinCleanClass::~CWinCleanClass() = default;

void CWinCleanClass::Clean()
{
    RunGroup("MS Windows", Options->WinItems, INT_MAX);
}

void CWinCleanClass::RunItem(TMyRndRectBtn* item)
{
    switch (item->Tag) {
    case RecentDocumentsItem: ClearRecentDocuments(); break;
    case FindListItem: ClearFindMru(); break;
    case RunListItem: ClearRunMru(); break;
    case RecycleBinItem: ClearRecycleBin(); break;
    case TempFolderItem: ClearTempFolder(); break;
    case ChkFilesItem: ClearChkFiles(); break;
    case AccessoriesItem:
        ClearPaintMru();
        if (!IsCancelRequested())
            ClearWordpadMru();
        if (!IsCancelRequested())
            ClearImagingMru();
        break;
    case OfficeItem: ClearOfficeMru(); break;
    case FileDialogItem: ClearCommonDialogMru(); break;
    case LastLogonUserItem: ClearLastLogonUser(); break;
    case MediaPlayerItem: ClearMediaPlayerMru(); break;
    default: break;   // a button this cleaner does not know runs nothing
    }
}

TRegistry& CWinCleanClass::Hive(HKEY root)
{
    Registry->SetRootKey(root);
    return *Registry;
}

void CWinCleanClass::MeasureAndDeleteKeys(std::initializer_list<const char*> keys, bool startTotal, bool throughShell)
{
    TRegistry& reg = Hive(HKEY_CURRENT_USER);
    for (const char* key : keys) {
        ItemBytes = startTotal ? Meter.GetKeySize(reg, key) : Meter.SumKeySize(reg, key);
        startTotal = false;
    }
    for (const char* key : keys) {
        if (throughShell)
            SHDeleteKeyA(HKEY_CURRENT_USER, key);
        else
            reg.DeleteKey(key);
    }
}

void CWinCleanClass::ClearKeys(std::initializer_list<const char*> keys, bool evenWhenCancelled, bool throughShell)
{
    ItemBytes = 0;
    if (evenWhenCancelled || !IsCancelRequested())
        MeasureAndDeleteKeys(keys, true, throughShell);
    Indicator->AddBytes(ItemBytes);
    Indicator->ShowClearing();
    EndClearing();
}

void CWinCleanClass::CollectFolder(const std::string& folder, bool recursive)
{
    // Entries are named folder + "\" + name: an empty or root folder would reach a whole
    // drive, and the record refuses a root only for a recursive walk.
    FHdd.CollectByExtension(CPathSafety::IsTreeAllowed(folder) ? folder : std::string(), ".*", recursive);
}

void CWinCleanClass::ClearRunMru()
{
    ClearKeys({RunMruKey}, false);
}

void CWinCleanClass::ClearFindMru()
{
    ClearKeys({DocFindKey, ContainingTextKey, FilesNamedKey}, false);
}

void CWinCleanClass::ClearCommonDialogMru()
{
    ClearKeys({LastVisitedKey, OpenSaveKey, StreamKey}, false);
}

void CWinCleanClass::ClearMediaPlayerMru()
{
    ClearKeys({MediaUrlKey, MediaFileKey}, true, true);
}

void CWinCleanClass::ClearRecentDocuments()
{
    CollectFolder(ShellFolders[CShellFoldersContainer::Recent], false);
    // The list names the shortcuts; it goes only with all of them.
    if (WipeCollected(FHdd, [this](const std::string& p) { Indicator->StatusDeleting(ExtractFileName(p)); }))
        Hive(HKEY_CURRENT_USER).DeleteKey(RecentDocsKey);
    EndSection();
}

void CWinCleanClass::ClearTempFolder()
{
    const std::string& temp = ShellFolders[CShellFoldersContainer::Temp];
    CollectFolder(temp, true);
    // What could not be wiped (files in use) stays; the empty subfolders go.
    if (WipeCollected(FHdd, [this](const std::string& p) { Indicator->StatusDeletingFile(ExtractFileName(p)); }))
        FHdd.DeleteTree(temp);
    EndSection();
}

void CWinCleanClass::ClearPaintMru()
{
    if (!IsCancelRequested())
        MeasureAndDeleteKeys({PaintKey}, true);
    if (IsCancelRequested())
        Indicator->SectionCancelled();
}

void CWinCleanClass::ClearWordpadMru()
{
    if (!IsCancelRequested())
        MeasureAndDeleteKeys({WordpadKey}, false);
    if (IsCancelRequested())
        Indicator->SectionCancelled();
}

void CWinCleanClass::ClearImagingMru()
{
    if (!IsCancelRequested()) {
        MeasureAndDeleteKeys({ImagingKey}, false);
        Indicator->AddBytes(ItemBytes);
        Indicator->ShowClearing();
    }
    EndClearing();
}

void CWinCleanClass::ClearOfficeMru()
{
    MeasureAndDeleteKeys({"Software\\Microsoft\\Office\\8.0\\Excel\\Recent File List\\",
                          "Software\\Microsoft\\Office\\9.0\\Excel\\Recent File List\\",
                          "Software\\Microsoft\\Office\\9.0\\Excel\\Recent Files",
                          "Software\\Microsoft\\Office\\8.0\\PowerPoint\\Recent File List\\",
                          "Software\\Microsoft\\Office\\9.0\\PowerPoint\\Recent File List\\",
                          "Software\\Microsoft\\Office\\8.0\\Common\\Open Find\\",
                          "Software\\Microsoft\\Office\\9.0\\Common\\Open Find\\"},
                         true);
    if (!IsCancelRequested())
        ClearWordMru();
    if (!IsCancelRequested())
        ClearAccessMru();
    if (!IsCancelRequested()) {
        std::string folder = OfficeRecentFolder();
        if (!folder.empty())
            FHdd.DeleteTree(folder);
    }
    if (IsCancelRequested()) {
        Indicator->SectionCancelled();
        return;
    }
    Indicator->AddBytes(ItemBytes);
    Indicator->ShowClearing();
    Indicator->SectionDone();
}

std::string CWinCleanClass::OfficeRecentFolder()
{
    TRegistry& reg = Hive(HKEY_CURRENT_USER);
    std::string name;
    if (reg.OpenKeyReadOnly(OfficeGeneralKey)) {
        try {
            name = reg.ReadString("RecentFiles");
        } catch (const ERegistryException&) {
            // Not a text: names no folder.
        }
    }
    // Any program can write the value, and the folder it names is emptied: take it only as
    // the name of one folder below Office's own, never as a path of its own.
    const std::string office =
        ExcludeTrailingBackslash(ShellFolders[CShellFoldersContainer::AppData]) + "\\Microsoft\\Office";
    if (name.empty() || name.find_first_of("\\/:*?\"<>|") != std::string::npos || !CPathSafety::IsTreeAllowed(office))
        return std::string();
    const std::string folder = office + "\\" + name;
    // "." and "..", and names whose trailing dots or blanks the system drops, lead elsewhere
    // than they read: the full name must come out as written.
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full || !SameText(full, folder))
        return std::string();
    return folder;
}

void CWinCleanClass::ClearWordMru()
{
    TRegistry& reg = Hive(HKEY_CURRENT_USER);
    if (!reg.OpenKey(WordDataKey, false))
        return;
    int size = reg.GetDataSize("Settings");
    if (size >= 0) {
        std::vector<unsigned char> old(static_cast<size_t>(size)), rewritten;
        try {
            if (reg.ReadBinaryData("Settings", old.data(), size) == size && WithoutWordList(old, rewritten))
                reg.WriteBinaryData("Settings", rewritten.data(), static_cast<int>(rewritten.size()));
        } catch (const ERegistryException&) {
            // A value of another kind is not Word's list; a refused write leaves the old one.
        }
    }
    reg.CloseKey();
}

void CWinCleanClass::ClearAccessMru()
{
    TRegistry& reg = Hive(HKEY_CURRENT_USER);
    bool open = reg.OpenKey(AccessSettingsKey, false);
    ItemBytes = Meter.SumKeySize(reg, AccessSettingsKey);
    if (!open)
        return;
    TStringList names;
    reg.GetValueNames(names);
    for (const std::string& name : names.Items) {
        if (name.compare(0, 3, "MRU") != 0)
            continue;
        ItemBytes = SaturatedSum(ItemBytes, std::max(0, reg.GetDataSize(name)));
        reg.DeleteValue(name);
    }
}

void CWinCleanClass::ClearChkFiles()
{
    TMyGraphicLabel* section = Indicator->SectionLabel;
    const std::string title = section ? section->Caption() : std::string();
    TStringList& paths = FHdd.CollectedPaths;
    for (const std::string& root : FHdd.FixedDrives.Items) {
        if (section)
            section->SetCaption(title + " (" + root + ")");
        Indicator->StatusPreparing("");
        // Only the root holds ScanDisk's files and folders; the masks match long names only,
        // so "report.chkx" is no lost cluster. "FOUND.*" also matches files, any case and a
        // name without a point: only the lost-cluster folders are kept from it, before the
        // files' list restarts, so that nothing else is wiped, removed or counted.
        FHdd.CollectByMask(root + "\\FOUND.*", false);
        std::vector<std::string> folders;
        for (const std::string& path : paths.Items)
            if (IsFoundFolderName(ExtractFileName(path)) && DirectoryExists(path))
                folders.push_back(path);
        FHdd.CollectByMask(root + "\\*.chk", false);
        for (const std::string& folder : folders)
            FHdd.AppendByMask(folder + "\\*.chk", false);
        if (Indicator->Gauge)
            Indicator->Gauge->SetProgress(0);
        if (!WipeCollected(FHdd, [this](const std::string& p) { Indicator->StatusDeleting(ExtractFileName(p)); })) {
            Indicator->SectionCancelled();
            return;
        }
        for (const std::string& folder : folders)
            FHdd.RemoveFolder(folder);   // only when nothing else was left in it
        Indicator->Step();
        Indicator->SectionDone();
    }
    // Each drive ended the section; without any, it still has to end once.
    if (FHdd.FixedDrives.Count() == 0)
        EndSection();
    else if (IsCancelRequested())
        Indicator->SectionCancelled();
}

void CWinCleanClass::ClearRecycleBin()
{
    TStringList& paths = FHdd.CollectedPaths;
    paths.Clear();
    long long size = 0;   // the shell's counts are 64-bit; shown held at the 32-bit largest
    for (const std::string& root : FHdd.FixedDrives.Items) {
        for (const char* bin : {"\\RECYCLED", "\\RECYCLER"})
            if (DirectoryExists(root + bin))
                FHdd.AppendByMask(root + bin + "\\*.*", true);
        SHQUERYRBINFO info = {};
        info.cbSize = sizeof info;
        if (SUCCEEDED(SHQueryRecycleBinA(root.c_str(), &info)))
            size += std::max<long long>(0, info.i64Size);
    }
    // The bins' index files and the per-user folders carry no extension; the deleted files
    // themselves go with the emptying.
    paths.Items.erase(std::remove_if(paths.Items.begin(), paths.Items.end(),
                                     [](const std::string& p) { return !ExtractFileExt(p).empty(); }),
                      paths.Items.end());
    Indicator->AddBytes(static_cast<int>(std::min<long long>(size, INT_MAX)));
    Indicator->SetMax(paths.Count());
    for (const std::string& path : paths.Items) {
        Indicator->StatusWiping(ExtractFileName(path));
        FHdd.OverwriteFile(path);
        Indicator->Step();
        if (IsCancelRequested()) {
            Indicator->SectionCancelled();
            return;
        }
    }
    Indicator->StatusEmptying("");
    SHEmptyRecycleBinA(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    Indicator->SectionDone();
}

void CWinCleanClass::ClearLastLogonUser()
{
    long long size = 0;
    const std::pair<HKEY, const char*> keys[] = {{HKEY_CURRENT_USER, UserWinlogonKey},
                                                 {HKEY_LOCAL_MACHINE, MachineWinlogonKey}};
    for (const auto& key : keys) {
        TRegistry& reg = Hive(key.first);
        if (reg.OpenKeyReadOnly(key.second)) {
            for (const char* value : LogonValues)
                size += std::max(0, reg.GetDataSize(value));
            reg.CloseKey();
        }
    }
    // Without the rights for the machine's values their deletion fails, and nothing says so.
    for (const auto& key : keys)
        for (const char* value : LogonValues)
            SHDeleteValueA(key.first, key.second, value);
    Indicator->StatusDeleting(IntToStr(size));
    Indicator->ShowClearing();
    EndClearing();
}
