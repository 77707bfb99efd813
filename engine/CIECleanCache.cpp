#include "CIECleanClass.h"

#include "CIndicatorClass.h"
#include "CPathSafety.h"
#include "SysUtils.h"
#include "TApplication.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// What the operations read of a URL-cache entry. An entry without a local file has an
// empty File, so that it can never name a path to wipe.
struct CacheEntry {
    std::string Url;
    std::string File;
    bool IsCookie;
};

// Makes one enumeration call with the buffer, growing the buffer to the size the cache
// asks for as often as it asks. False when the call failed for any other reason (259 is
// the end of the entries); a size that would not grow the buffer would ask forever.
template <class Call>
bool CallGrowing(std::vector<char>& buffer, Call call)
{
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (call(reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()), &size))
            return true;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size())
            return false;
        buffer.assign(size, 0);
    }
}

// Hands every entry of the URL cache to the handler, in the cache's order. With a
// cleaner, its cancel test comes before each entry and ends the walk as if the cache had
// no more: once Cancel is pressed, not one more cookie may go.
void WalkCache(CIECleanClass* cancellable, const std::function<void(const CacheEntry&)>& handle)
{
    std::vector<char> buffer(4096);
    HANDLE find = nullptr;
    bool more = CallGrowing(buffer, [&](INTERNET_CACHE_ENTRY_INFOA* entry, DWORD* size) {
        find = FindFirstUrlCacheEntryA(nullptr, entry, size);
        return find != nullptr;
    });
    while (more && !(cancellable && cancellable->IsCancelRequested())) {
        const auto* entry = reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        handle({entry->lpszSourceUrlName ? entry->lpszSourceUrlName : "",
                entry->lpszLocalFileName ? entry->lpszLocalFileName : "",
                (entry->CacheEntryType & COOKIE_CACHE_ENTRY) != 0});
        more = CallGrowing(buffer, [&](INTERNET_CACHE_ENTRY_INFOA* next, DWORD* size) {
            return FindNextUrlCacheEntryA(find, next, size) != FALSE;
        });
    }
    if (find)
        FindCloseUrlCache(find);
}

// The extensions that each kind of ClearCache removes, exactly as written (".*" is every
// file); null for a kind that does not exist.
const std::vector<std::string>* KindExtensions(int kind)
{
    static const std::vector<std::string> kinds[] = {
        {".*"}, {".htm", ".html", ".shtml"}, {".gif", ".jpg", ".png", ".jpeg"}};
    return kind >= 0 && kind < 3 ? &kinds[kind] : nullptr;
}

// A cookie entry may name any file at all; only the cookie folder's own files are ours to
// overwrite. The others are left to the cache, which removes them with their entries.
bool LiesInCookieFolder(const std::string& file, const std::string& cookies)
{
    std::string folder = ExcludeTrailingBackslash(cookies);
    return CPathSafety::IsTreeAllowed(folder) && CPathSafety::IsAbsolute(file) &&
           file.size() > folder.size() + 1 && file[folder.size()] == '\\' &&
           SameText(file.substr(0, folder.size()), folder);
}

// "Cookie:user@host/" is shown as "user@host".
std::string CookieName(const std::string& url)
{
    return url.size() >= 8 ? url.substr(7, url.size() - 8) : std::string();
}

std::string KeepListPath()
{
    return ExcludeTrailingBackslash(ExtractFilePath(Application->ExeName())) + "\\CookiesToKeep.dat";
}

}  // namespace

void CIECleanClass::ClearCache(int kind)
{
    const std::vector<std::string>* extensions = KindExtensions(kind);
    if (!extensions) {
        Indicator->SetMax(1);
        EndSection();
        return;
    }

    // Which cache entry owns each file, so that a wiped file's entry goes with it.
    std::map<std::string, std::string> owners;
    WalkCache(this, [&](const CacheEntry& e) {
        if (e.IsCookie)
            return;
        if (kind == 0 || std::find(extensions->begin(), extensions->end(), ExtractFileExt(e.File)) != extensions->end())
            owners[e.File] = e.Url;
    });

    const std::string& cache = ShellFolders[CShellFoldersContainer::Cache];
    int indexBytes = 0;
    if (kind == 0) {
        // The index files are listed with everything else but are in use, so they stay
        // and must not be counted as freed.
        FHdd.CollectByExtension(cache, ".dat", true);
        indexBytes = FHdd.CollectedSize();
    }
    FHdd.CollectByExtension(cache, extensions->front(), true);
    for (size_t i = 1; i < extensions->size(); ++i)
        FHdd.AppendByExtension(cache, (*extensions)[i], true);
    Indicator->AddBytes(FHdd.CollectedSize() - indexBytes);

    const TStringList& paths = FHdd.CollectedPaths;
    Indicator->SetMax(paths.Count() + 1);
    for (const std::string& path : paths.Items) {
        if (IsCancelRequested())
            break;
        Indicator->StatusDeletingFile(ExtractFileName(path));
        FHdd.WipeAndDelete(path);
        auto owner = owners.find(path);
        if (owner != owners.end()) {
            DeleteUrlCacheEntryA(owner->second.c_str());
            owners.erase(owner);
        }
        Indicator->Step();
    }
    // Entries whose files were not found in the folder, and those without a file. A
    // cancel leaves them, as it leaves the files not yet reached.
    if (!IsCancelRequested())
        for (const auto& owner : owners)
            DeleteUrlCacheEntryA(owner.second.c_str());
    EndSection();
}

void CIECleanClass::ClearCookies(int mode)
{
    const bool cleaning = mode == 1;
    if (!KeepListFailure.empty()) {
        // Without the keep list every cookie would look unkept: none is touched.
        if (cleaning) {
            Indicator->NoteFailure(KeepListFailure);
            Indicator->SetMax(1);
            EndSection();
        }
        return;
    }
    // The gauge's range and the size come from a count over the same cache first.
    if (cleaning)
        CIECleanClass::ClearCookies(0);

    const std::string& cookies = ShellFolders[CShellFoldersContainer::Cookies];
    int count = 0;
    WalkCache(this, [&](const CacheEntry& e) {
        if (!e.IsCookie ||
            std::find(CookiesToKeep.Items.begin(), CookiesToKeep.Items.end(), e.Url) != CookiesToKeep.Items.end())
            return;
        if (!cleaning) {
            ++count;
            return;
        }
        Indicator->StatusDeletingFile(CookieName(e.Url));
        if (LiesInCookieFolder(e.File, cookies))
            FHdd.WipeAndDelete(e.File);
        DeleteUrlCacheEntryA(e.Url.c_str());
        Indicator->Step();
    });

    if (cleaning) {
        EndSection();
        return;
    }
    Indicator->SetMax(count + 1);
    // Every cookie file of the folder counts, the kept ones too.
    FHdd.CollectByMask(CPathSafety::IsTreeAllowed(cookies) ? cookies + "\\*.txt" : std::string(), false);
    Indicator->AddBytes(FHdd.CollectedSize());
}

void CIECleanClass::ListCookies()
{
    FoundCookies.Clear();
    WalkCache(nullptr, [this](const CacheEntry& e) {
        if (e.IsCookie)
            FoundCookies.Add(e.Url);
    });
}

void CIECleanClass::LoadCookiesToKeep()
{
    CookiesToKeep.Clear();
    PathText = KeepListPath();
    // A file that exists but cannot be read raises: going on with an empty list would
    // delete every cookie the user chose to keep.
    KeepListFailure = "The cookie keep list cannot be read";
    if (FileExists(PathText))
        CookiesToKeep.LoadFromFile(PathText);
    KeepListFailure.clear();
}

void CIECleanClass::SaveCookiesToKeep()
{
    CookiesToKeep.SaveToFile(KeepListPath());
}
