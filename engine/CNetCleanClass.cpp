#include "CNetCleanClass.h"

#include "CIndicatorClass.h"
#include "CPathSafety.h"
#include "CPtrContainer.h"
#include "MyRndRectBtn.h"
#include "SysUtils.h"
#include "TComboBox.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

const char* const GroupTitle = "Netscape 6 / Mozilla";
const char* const UrlBarStart = "  <RDF:Seq about=\"nc:urlbar-history\">";
const char* const UrlBarEnd = "  </RDF:Seq>";
// cookies.txt opens with a five-line header that the browser needs to read the file back.
const int CookieHeaderLines = 5;
// A string of the profile registry is read in one buffer of this many bytes and must end
// with its NUL inside it; a longer run is no path.
const size_t RegistryStringBuffer = 260;

enum ItemTag { History = 1, AddressBar = 2, Cache = 3, Cookies = 4, SavedPasswords = 5 };

std::string ReadShared(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    std::string data;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
        data.append(buf, got);
    CloseHandle(h);
    return data;
}

// The UTF-8 text in the ANSI code page; false when it is no valid UTF-8 or holds a
// character that the code page cannot show (its stand-in would name another path).
bool Utf8ToAnsi(const std::string& utf8, std::string& ansi)
{
    int size = static_cast<int>(utf8.size());
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (n <= 0)
        return false;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, &wide[0], n);
    BOOL lossy = FALSE;
    BOOL* lossyOut = GetACP() == CP_UTF8 ? nullptr : &lossy;   // the call refuses it for UTF-8
    int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, lossyOut);
    if (m <= 0)
        return false;
    ansi.assign(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), n, &ansi[0], m, nullptr, lossyOut);
    return !lossy;
}

int ByteCount(size_t characters)
{
    return static_cast<int>(std::min<size_t>(characters, INT_MAX));
}

}  // namespace

CNetCleanClass::CNetCleanClass()
{
    CNetCleanClass::FindProfiles();
    Select(0, ProfileFolders.Count() > 0 ? ProfileFolders[0] : std::string());
    ReportUnwritten(FHdd);
}

void CNetCleanClass::SetChosenProfile(int index, const std::string& folder)
{
    HasChosen = true;
    ChosenIndex = index < 0 ? -1 : index;
    ChosenFolder = folder;
}

bool CNetCleanClass::ChosenProfile(int& index, std::string& folder) const
{
    // The profile combo box of the option block (Tag 1; the last such box wins) names the
    // index. The folder shown there, when handed over for that index, is the one meant.
    bool listed = false;
    if (Options)
        for (int i = 0; i < Options->ComboBoxes.Count; ++i)
            if (Options->ComboBoxes[i]->Tag == 1) {
                index = Options->ComboBoxes[i]->ItemIndex();
                listed = true;
            }
    if (!listed) {
        if (!HasChosen)
            return false;
        index = ChosenIndex;
    }
    if (index < 0)
        index = -1;
    if (HasChosen && ChosenIndex == index)
        folder = ChosenFolder;
    else if (HasChosen || index < 0 || index >= ProfileFolders.Count())
        folder.clear();
    else
        folder = ProfileFolders[index];
    return true;
}

void CNetCleanClass::Select(int index, const std::string& folder)
{
    ProfileIndex = index;
    SelectedFolder = folder;
}

bool CNetCleanClass::HasSelection() const
{
    return ProfileIndex >= 0 && ProfileIndex < ProfileFolders.Count() && Profile() == SelectedFolder;
}

void CNetCleanClass::SetOptions(CPtrContainer* options)
{
    CCleanClassPrototype::SetOptions(options);
    int index = -1;
    std::string folder;
    if (ChosenProfile(index, folder))
        Select(index, folder);
    LoadCookiesToKeep();
}

void CNetCleanClass::ChooseProfile(int index, const std::string& folder)
{
    Select(index < 0 ? -1 : index, index < 0 ? std::string() : folder);
    LoadCookiesToKeep();
}

void CNetCleanClass::SelectProfile(int index)
{
    if (index < 0 || index >= ProfileFolders.Count())
        return;
    Select(index, ProfileFolders[index]);
    LoadCookiesToKeep();
}

void CNetCleanClass::FindProfiles()
{
    ProfileFolders.Clear();
    PathText.clear();
    // An empty or relative AppData would make the registry path relative to the current
    // drive or folder.
    const std::string& appData = ShellFolders[CShellFoldersContainer::AppData];
    std::string file = appData + "\\Mozilla\\Registry.dat";
    if (!CPathSafety::IsAbsolute(appData) || !FileExists(file))
        return;

    // The file is a row of NUL-terminated strings; any of them may be a profile folder.
    // A run too long for the buffer, or cut off by the end of the file, names nothing, and
    // the walk goes on after its NUL. A profile is cleaned in place, so a folder that is
    // no full path, or a drive root or system folder, is never taken for one.
    for (const std::string& text : RegistryStrings(ReadShared(file))) {
        std::string folder;
        if (Utf8ToAnsi(text, folder) && CPathSafety::IsTreeAllowed(folder) && DirectoryExists(folder) &&
            DirectoryExists(folder + "\\Cache"))
            ProfileFolders.Add(folder);
    }
}

std::vector<std::string> CNetCleanClass::RegistryStrings(const std::string& data)
{
    std::vector<std::string> strings;
    for (size_t p = 0; p < data.size();) {
        size_t end = data.find('\0', p);
        bool whole = end != std::string::npos && end - p < RegistryStringBuffer;
        if (end == std::string::npos)
            end = data.size();
        if (whole && end > p)
            strings.push_back(data.substr(p, end - p));
        p = end + 1;
    }
    return strings;
}

void CNetCleanClass::ListCookies()
{
    FoundCookies.Clear();
    if (!HasSelection())
        return;
    PathText = Profile() + "\\cookies.txt";
    if (!FileExists(PathText))
        return;
    TStringList lines;
    lines.LoadFromFile(PathText);
    for (int i = CookieHeaderLines; i < lines.Count(); ++i)
        FoundCookies.Add(lines[i]);
}

void CNetCleanClass::LoadCookiesToKeep()
{
    CookiesToKeep.Clear();
    if (!HasSelection())
        return;
    std::string file = Profile() + "\\CookiesToKeep.dat";
    if (FileExists(file))
        CookiesToKeep.LoadFromFile(file);
}

void CNetCleanClass::SaveCookiesToKeep()
{
    if (HasSelection())
        CookiesToKeep.SaveToFile(Profile() + "\\CookiesToKeep.dat");
}

void CNetCleanClass::Clean()
{
    if (!HasSelection())
        return;
    RunGroup(GroupTitle, Options->NetItems, INT_MAX, true);
}

void CNetCleanClass::RunItem(TMyRndRectBtn* item)
{
    switch (item->Tag) {
    case History:
        ClearHistory();
        break;
    case AddressBar:
        ClearAddressBar();
        break;
    case Cache:
        ClearCache();
        break;
    case Cookies:
        ClearCookies();
        break;
    case SavedPasswords:
        ClearSavedPasswords();
        break;
    default:
        break;
    }
}

void CNetCleanClass::ClearHistory()
{
    if (!IsCancelRequested()) {
        std::string file = Profile() + "\\history.dat";
        FHdd.CollectByMask(file, false);
        Indicator->AddBytes(FHdd.CollectedSize());
        FHdd.WipeAndDelete(file);
        Indicator->ShowClearing();
    }
    EndClearing();
}

void CNetCleanClass::ClearAddressBar()
{
    PathText = Profile() + "\\localstore.rdf";
    if (!FileExists(PathText)) {
        EndClearing();
        return;
    }
    TStringList lines;
    lines.LoadFromFile(PathText);
    std::vector<std::string>& l = lines.Items;
    size_t counted = 0;
    bool cancelled = false;
    bool unterminated = false;
    for (size_t i = 0; i < l.size() && !cancelled; ++i) {
        if (l[i] != UrlBarStart)
            continue;
        auto first = l.begin() + i + 1;
        auto end = std::find(first, l.end(), UrlBarEnd);
        if (end == l.end()) {
            // Without its end marker the list's extent is unknown: the file stays as it is.
            unterminated = true;
            break;
        }
        for (auto j = first; j != end && !cancelled; ++j) {
            cancelled = IsCancelRequested();
            if (!cancelled)
                counted += j->size();
        }
        if (!cancelled) {
            l.erase(first, end);
            ++i;   // past the end marker
        }
    }
    if (unterminated)
        counted = 0;
    else if (!cancelled)
        lines.SaveToFile(PathText);
    Indicator->AddBytes(ByteCount(counted));
    Indicator->ShowClearing();
    EndClearing();
}

void CNetCleanClass::ClearCache()
{
    FHdd.CollectByExtension(Profile() + "\\Cache", ".*", true);
    WipeCollected(FHdd, [this](const std::string& path) { Indicator->StatusDeletingFile(ExtractFileName(path)); });
    EndSection();
}

void CNetCleanClass::ClearCookies()
{
    PathText = Profile() + "\\cookies.txt";
    if (!FileExists(PathText)) {
        EndClearing();
        return;
    }
    TStringList lines;
    lines.LoadFromFile(PathText);
    size_t removed = 0;
    for (int i = CookieHeaderLines; i < lines.Count(); ++i)
        removed += lines[i].size();
    if (lines.Count() > CookieHeaderLines)
        lines.Items.resize(CookieHeaderLines);
    // The keep list goes back whole, also entries that the browser had meanwhile dropped.
    for (const std::string& cookie : CookiesToKeep.Items)
        lines.Add(cookie);
    lines.SaveToFile(PathText);
    Indicator->AddBytes(ByteCount(removed));
    Indicator->ShowClearing();
    EndClearing();
}

void CNetCleanClass::ClearSavedPasswords()
{
    // The saved-password files lie directly in the profile folder.
    FHdd.CollectByExtension(Profile(), ".s", false);
    WipeCollected(FHdd, [this](const std::string& path) { Indicator->SetStatus(path); });
    EndSection();
}
