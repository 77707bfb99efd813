#include "CHddClass.h"

#include "CFileEntry.h"
#include "CPathSafety.h"
#include "CWipeRandom.h"
#include "SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

bool IsFolder(const WIN32_FIND_DATAW& fd)
{
    return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring Widened(const std::string& s)
{
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n : 1, L'\0');
    if (n <= 0 || !MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n))
        return std::wstring();
    w.resize(n - 1);
    return w;
}

}  // namespace

// The ANSI listing gives a name the code page cannot hold with a "best fit" or a '?': a
// fullwidth reverse solidus comes back as "\", and "..\.." joined to a folder leads out of
// it. So names are listed wide, and a name is taken only as the code page spells it exactly,
// and only when joined to its folder it can lead to this entry alone.
std::string CHddClass::ListedName(const std::string& folder, const wchar_t* wide, std::string& name)
{
    const UINT cp = GetACP();
    // The UTF-8 code page takes neither the flag nor the default's report: its round trip,
    // below, tells the same.
    const bool utf8 = cp == CP_UTF8;
    BOOL usedDefault = FALSE;
    char buf[4 * MAX_PATH];
    int n = WideCharToMultiByte(cp, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, -1, buf, sizeof buf, nullptr,
                                utf8 ? nullptr : &usedDefault);
    if (n <= 0) {
        n = WideCharToMultiByte(cp, 0, wide, -1, buf, sizeof buf, nullptr, nullptr);
        usedDefault = TRUE;
    }
    name = n > 0 ? std::string(buf, n - 1) : std::string("?");
    if (usedDefault || Widened(name) != wide)
        return "a name the code page cannot spell";
    if (name.empty())
        return "an empty name";
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c))
            return "a name that would lead elsewhere";
    if (name.back() == '.' || name.back() == ' ')
        return "a name ending in a dot or a blank, which the system would open as another";
    if (folder.size() + 1 + name.size() >= MAX_PATH)
        return "a path too long";
    return std::string();
}

// Calls f for each entry of the folder matching the pattern, without "." and ".." (and
// "desktop.ini" unless told otherwise), until stop() says so; a name that cannot be used
// as it is on the disk goes to left() instead, with why, and is never joined to a path.
// The folder is held open meanwhile, so that it cannot be replaced, and must be a plain
// folder by what its own handle says: a link or any other reparse point is never listed,
// wherever a walk meets it, its start included.
template <class F, class S>
void CHddClass::ForEachEntry(const std::string& folder, const std::string& pattern, F f, S stop)
{
    CFileEntry held(folder, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (held.Kind() != CPathSafety::ekFolder)
        return;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(Widened(folder + "\\" + pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!wcscmp(fd.cFileName, L".") || !wcscmp(fd.cFileName, L".."))
            continue;
        std::string name;
        std::string why = ListedName(folder, fd.cFileName, name);
        if (!why.empty())
            TellLeft(folder + "\\" + name, why + ": left, with all below it");
        else if (!SkipDesktopIni || name != "desktop.ini")
            f(name, fd);
    } while (!stop() && FindNextFileW(h, &fd));
    FindClose(h);
}

void CHddClass::TellLeft(const std::string& path, const std::string& why)
{
    if (OnRefused && Told.insert(path + "|" + why).second)
        OnRefused(path, why);
}

namespace {

// The owner's own event when it gave one (borrowed, never closed here), else the run's
// named "CancelEvent", opened when first tested: an empty file never tests it.
class CancelSignal {
public:
    explicit CancelSignal(HANDLE own) : Event(own), Owned(!own) {}
    ~CancelSignal()
    {
        if (Event && Owned)
            CloseHandle(Event);
    }
    bool IsSet()
    {
        if (Owned && !Looked) {
            Event = OpenEventA(EVENT_ALL_ACCESS, FALSE, "CancelEvent");
            Looked = true;
        }
        return Event && WaitForSingleObject(Event, 0) == WAIT_OBJECT_0;
    }

private:
    HANDLE Event;
    bool Owned;
    bool Looked = false;
};

// Flushes what has been written so far on a thread of its own, each time another Step bytes
// are written, so that the disk is busy from the first blocks on while the later ones are
// still made and written, rather than all at the final flush.
class CEarlyFlush {
public:
    static constexpr unsigned long long Step = 64ull << 20;

    explicit CEarlyFlush(HANDLE file) : File(file)
    {
        try {
            Flusher = CWipeBlocks::StartThread([this] { Run(); });
        } catch (const std::exception&) {
            // No thread to be had: the flush after the pass does it all.
        }
    }
    ~CEarlyFlush()
    {
        {
            std::lock_guard<std::mutex> guard(Lock);
            Stop = true;
        }
        Changed.notify_all();
        if (Flusher.joinable())
            Flusher.join();
    }
    void Written(unsigned long long bytes)
    {
        {
            std::lock_guard<std::mutex> guard(Lock);
            Pending += bytes;
        }
        Changed.notify_all();
    }

private:
    void Run()
    {
        std::unique_lock<std::mutex> guard(Lock);
        for (;;) {
            Changed.wait(guard, [&] { return Stop || Pending >= Step; });
            if (Stop)
                return;
            Pending = 0;
            guard.unlock();
            FlushFileBuffers(File);
            guard.lock();
        }
    }

    HANDLE File;
    unsigned long long Pending = 0;
    bool Stop = false;
    std::mutex Lock;
    std::condition_variable Changed;
    std::thread Flusher;
};

// Overwrites the open file, size bytes, pass-count times with random bytes. Whatever was
// written is flushed, also when a cancel or a failure ends the passes early, so that nothing
// of it is still on its way to the disk when the file goes. No memory for the blocks is a
// failure like a failed write: the file is not written, and the caller goes on.
bool WritePasses(HANDLE f, unsigned long long size, int passes, CWipeRandom& random, CancelSignal& cancel)
{
    bool ok = true, wrote = false;
    try {
        for (int pass = 1; ok && pass <= passes; ++pass) {
            LARGE_INTEGER start = {};
            ok = pass == 1 || SetFilePointerEx(f, start, nullptr, FILE_BEGIN);   // a new handle is at the start
            CWipeBlocks blocks(random, CHddClass::BlockSize, ok ? size : 0);
            std::unique_ptr<CEarlyFlush> early(size > 2 * CEarlyFlush::Step ? new CEarlyFlush(f) : nullptr);
            size_t n = 0;
            const unsigned char* block = blocks.Next(n);
            while (ok && block) {
                DWORD written = 0;
                ok = WriteFile(f, block, static_cast<DWORD>(n), &written, nullptr) && written == n;
                wrote = wrote || written > 0;
                if (early)
                    early->Written(written);
                ok = ok && !cancel.IsSet();
                block = ok ? blocks.Next(n) : nullptr;
            }
            early.reset();
            // Each pass on the disk before the next one, and before the delete.
            ok = ok && FlushFileBuffers(f);
        }
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok && wrote)
        FlushFileBuffers(f);
    return ok;
}

bool IsWritable(CPathSafety::TEntryKind kind)
{
    return kind == CPathSafety::ekFile || kind == CPathSafety::ekDataReparseFile;
}

}  // namespace

CHddClass::CHddClass()
{
    ListFixedDrives();
}

// Why a file could not be opened alone, for the log.
static std::string OpenFailure(const std::string& path, DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return path.size() >= MAX_PATH ? "a path too long" : std::string();
    case ERROR_FILENAME_EXCED_RANGE: return "a path too long";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "in use by another program";
    case ERROR_ACCESS_DENIED: return "no access";
    default: return "could not be opened (error " + std::to_string(error) + ")";
    }
}

CHddClass::TWipeResult CHddClass::Wipe(const std::string& path, TAfterWrite after)
{
    // One handle, held alone, for everything that follows: written through, flushed and
    // deleted on, so that nothing can take the name's place in between.
    const DWORD access = GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES;
    NotOpenedReason.clear();
    if (IsLeftAlone(path))
        return wrRefused;
    auto refuse = [&](const char* why) {
        LeaveAlone(path);
        if (OnRefused)
            OnRefused(path, why);
        return wrRefused;
    };
    // The name now leads to another entry than the one looked at: whatever it is, it stays.
    auto refuseOther = [&]() { return refuse("the name led to another file than the one looked at: left alone"); };
    std::unique_ptr<CFileEntry> file(new CFileEntry(path, access, 0));
    // The attributes to give back when the file stays, set only through a handle of the
    // file that was looked at: by name they could land on whatever the name leads to by then.
    DWORD given = INVALID_FILE_ATTRIBUTES;
    std::unique_ptr<CFileEntry> look;
    auto setLooked = [&](DWORD attributes) {
        if (!look)
            return false;
        CFileEntry setter(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
        if (setter.IsOpen())
            return setter.IsSameAs(*look) && setter.SetAttributes(attributes);
        // A system that gives no attribute access to a read-only file (Wine): by name, then,
        // and only while the name leads to the file looked at.
        CFileEntry now(path);
        return now.IsSameAs(*look) && SetFileAttributesA(path.c_str(), attributes);
    };
    if (!file->IsOpen() && file->OpenError() == ERROR_ACCESS_DENIED) {
        // A read-only file refuses write access, even to its attributes alone.
        look.reset(new CFileEntry(path));
        if (look->Kind() == CPathSafety::ekFolder || look->Kind() == CPathSafety::ekDataReparseFolder)
            return wrNotAFile;
        if (!IsWritable(look->Kind()) || !(look->Attributes() & FILE_ATTRIBUTE_READONLY) ||
            !setLooked(FILE_ATTRIBUTE_NORMAL)) {
            NotOpenedReason = "no access";
            return wrNotOpened;
        }
        given = look->Attributes();
        file.reset(new CFileEntry(path, access, 0));
        if (!file->IsSameAs(*look)) {
            const bool other = file->IsOpen();
            NotOpenedReason = OpenFailure(path, file->OpenError());
            file.reset();
            setLooked(given);
            return other ? refuseOther() : wrNotOpened;
        }
    }
    const CPathSafety::TEntryKind kind = file->Kind();
    const DWORD attributes = file->Attributes();
    if (kind == CPathSafety::ekFolder || kind == CPathSafety::ekDataReparseFolder)
        return wrNotAFile;
    if (!file->IsOpen() || kind == CPathSafety::ekUnknown) {
        NotOpenedReason = file->IsOpen() ? "not a file" : OpenFailure(path, file->OpenError());
        return wrNotOpened;
    }
    auto deleteName = [&](bool told = false) {
        if (OnDeleting && !told)
            OnDeleting(path);
        if (file->DeleteOnClose()) {
            file.reset();
            return true;
        }
        file.reset();
        return DeleteFileA(path.c_str()) != 0;
    };
    auto keep = [&](TWipeResult result) {
        if (given != INVALID_FILE_ATTRIBUTES && !(file && file->SetAttributes(given)))
            setLooked(given);
        file.reset();
        return result;
    };
    // Wiped only in part or not at all: the owner that asks hears of it, and whether it went.
    auto unwritten = [&](const std::string& why) {
        const bool gone = after == awDeleteAlways && deleteName();
        if (TellEveryUnwritten && OnRefused)
            OnRefused(path, gone ? "deleted without overwriting: " + why : why + ": left");
        return gone ? wrNotWritten : keep(wrNotWritten);
    };
    if (kind == CPathSafety::ekLink) {
        // A link to a file goes as a link; its target is never opened.
        if (after == awKeep || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return wrNotOpened;
        return deleteName() ? wrDone : wrNotOpened;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        // Opened for writing all the same (as an administrator can): cleared for the delete.
        given = attributes;
        file->SetAttributes(FILE_ATTRIBUTE_NORMAL);
    }
    if (kind == CPathSafety::ekDataReparseFile) {
        // Written through the system, which must lead to the entry looked at.
        CFileEntry seen(path);
        if (!file->ReopenThroughSystem(path, seen)) {
            if (file->IsOpen())
                return keep(refuseOther());
            if (OnLeftUnwritten)
                OnLeftUnwritten(path);
            NotOpenedReason = "could not be written through the system";
            return keep(wrNotOpened);
        }
    }
    if (!IsWhereItWasChosen(path, *file))
        return keep(wrRefused);
    if (PassCount > 0 && file->LinkCount() > 1) {
        if (OnRefused)
            OnRefused(path, std::string("the file has another name: not overwritten") +
                                (after == awKeep ? "" : ", only this name removed"));
        if (after == awKeep)
            return keep(wrNotWritten);
        // The other names keep the read-only attribute they share with this one.
        if (OnDeleting)
            OnDeleting(path);
        if (given != INVALID_FILE_ATTRIBUTES && file->DeleteOnClose() && file->SetAttributes(given)) {
            file.reset();
            return wrNotWritten;
        }
        return deleteName(true) ? wrNotWritten : keep(wrNotWritten);
    }

    bool written = true;
    CancelSignal cancel(CancelEvent);
    if (PassCount > 0) {
        if (!Random)
            Random = std::make_shared<CWipeRandom>();
        written = WritePasses(file->Handle(), file->Size(), PassCount, *Random, cancel);
    }
    if (!written)
        return unwritten(cancel.IsSet() ? "the run was cancelled while it was overwritten" : "could not be overwritten");
    if (after == awKeep) {
        file.reset();
        return wrDone;
    }
    if (deleteName())
        return wrDone;
    if (TellEveryUnwritten && OnRefused)
        OnRefused(path, "overwritten, but could not be removed: left");
    return keep(wrNotWritten);
}

bool CHddClass::OverwriteFile(const std::string& path)
{
    return Wipe(path, awKeep) == wrDone;
}

bool CHddClass::WipeAndDelete(const std::string& path)
{
    return Wipe(path, awDeleteWhenWritten) == wrDone;
}

void CHddClass::BeginWalk(const std::string& folder)
{
    // Where the system cannot name a handle's path, the parts below the folder as given are
    // looked at instead, so that folder stays as it is.
    std::string root = CFileEntry::HasSystemFinalPath() ? CPathSafety::FinalPath(folder) : folder;
    while (root.size() > 3 && root.back() == '\\')
        root.pop_back();
    WalkRoots.push_back(root);
}

bool CHddClass::IsStillBelowItsWalk(const std::string& path, const CFileEntry& file) const
{
    const std::string& root = WalkRoots[WalkOfPath.at(path)];
    if (CFileEntry::HasSystemFinalPath())
        return CPathSafety::LiesBelow(file.FinalPath(), root);
    return !CFileEntry::HasReparsePointBetween(root, path);
}

bool CHddClass::IsWhereItWasChosen(const std::string& path, const CFileEntry& file)
{
    const bool found = WalkOfPath.count(path) != 0;
    if (found ? IsStillBelowItsWalk(path, file) : IsTheChosenEntry(path, file))
        return true;
    LeaveAlone(path);
    if (OnRefused)
        OnRefused(path, found ? "no longer below the folder it was found in: left alone"
                              : "the name leads to another file than the one chosen: left alone");
    return false;
}

bool CHddClass::IsTheChosenEntry(const std::string& path, const CFileEntry& file)
{
    // Without the final-path call the handle, opened on a link itself, is the entry named.
    if (!CFileEntry::HasSystemFinalPath())
        return true;
    const size_t cut = path.find_last_of("\\/");
    std::string folder = cut == std::string::npos ? std::string() : CPathSafety::FinalPath(path.substr(0, cut));
    if (folder.empty())
        return false;
    if (folder.back() != '\\')
        folder += '\\';
    return SameText(file.FinalPath(), folder + path.substr(cut + 1));
}

// Where the system now puts the folder: its final path, every link followed, where it can
// say so; else its name as resolved.
static std::string PlaceOf(const std::string& folder)
{
    return CFileEntry::HasSystemFinalPath() ? CPathSafety::FinalPath(folder) : CPathSafety::Resolved(folder);
}

// The entry of that name in the folder placed so lies strictly below the root's place.
static bool IsStrictlyBelow(const std::string& folderPlace, const std::string& name, const std::string& rootPlace)
{
    if (folderPlace.empty() || rootPlace.empty())
        return false;
    const std::string place = CPathSafety::Resolved(folderPlace + "\\" + name);
    return place.size() > rootPlace.size() && CPathSafety::LiesBelow(place, rootPlace);
}

bool CHddClass::StaysInItsWalk(const std::string& path) const
{
    auto walk = WalkOfPath.find(path);
    if (walk == WalkOfPath.end())
        return true;   // named by the owner itself, not found by a walk
    const size_t cut = path.find_last_of('\\');
    return cut != std::string::npos && IsStrictlyBelow(PlaceOf(path.substr(0, cut)), path.substr(cut + 1), TreeRoot(path));
}

std::string CHddClass::TreeRoot(const std::string& folder) const
{
    auto walk = WalkOfPath.find(folder);
    if (walk == WalkOfPath.end())
        return PlaceOf(folder);
    const std::string& root = WalkRoots[walk->second];
    return CFileEntry::HasSystemFinalPath() ? root : CPathSafety::Resolved(root);
}

bool CHddClass::MayEmptyOrRemove(const std::string& folder)
{
    if (!CPathSafety::IsTreeAllowed(folder))
        return false;
    if (StaysInItsWalk(folder))
        return true;
    TellLeft(folder, "no longer below the folder it was found in: left alone");
    return false;
}

void CHddClass::DeleteTree(const std::string& folder)
{
    // A folder a walk found is emptied only of what lies below that walk's folder.
    if (MayEmptyOrRemove(folder))
        DeleteTreeIn(folder, TreeRoot(folder));
}

// Nothing is deleted or removed but what lies below the folder the tree delete was given,
// as the system resolves it when it comes to it, and no protected place: a name or a link
// that leads elsewhere leaves that entry, and all below it, where it is.
void CHddClass::DeleteTreeIn(const std::string& folder, const std::string& root)
{
    const std::string here = PlaceOf(folder);
    ForEachEntry(
        folder, "*.*",
        [&](const std::string& name, const WIN32_FIND_DATAW& fd) {
            std::string path = folder + "\\" + name;
            if (!IsStrictlyBelow(here, name, root)) {
                TellLeft(path, "not below the folder being emptied: left alone");
            } else if (IsFolder(fd)) {
                if (!CPathSafety::IsTreeAllowed(path)) {
                    TellLeft(path, "a protected place: left alone");
                    return;
                }
                // Cleared before its walk, so that the folder itself can go afterwards.
                if (ClearReadOnlyFolders && (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY) &&
                    !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteTreeIn(path, root);          // lists nothing behind a link
                RemoveDirectoryA(path.c_str());   // a link goes as a link
            } else if (!IsLeftAlone(path)) {
                DeleteFileA(path.c_str());
            }
        },
        [] { return false; });
}

// As the system compares names: without regard to case.
static std::string LeftAloneKey(const std::string& path)
{
    std::string key = CPathSafety::Resolved(path);
    if (!key.empty())
        CharUpperA(&key[0]);
    return key;
}

void CHddClass::LeaveAlone(const std::string& path)
{
    LeftAlone.insert(LeftAloneKey(path));
}

bool CHddClass::IsLeftAlone(const std::string& path) const
{
    return !LeftAlone.empty() && LeftAlone.count(LeftAloneKey(path)) != 0;
}

bool CHddClass::RemoveFolder(const std::string& folder)
{
    return MayEmptyOrRemove(folder) && RemoveDirectoryA(folder.c_str()) != 0;
}

// Only the owner's own event stops a collection: a run's named event left set by another
// program must not shorten what a later owner collects.
bool CHddClass::CollectionStopped()
{
    if (!Stopped && CancelEvent && ++EntriesSinceTest >= 64) {
        EntriesSinceTest = 0;
        Stopped = WaitForSingleObject(CancelEvent, 0) == WAIT_OBJECT_0;
    }
    return Stopped;
}

void CHddClass::AddEntry(const std::string& path, unsigned long sizeHigh, unsigned long sizeLow)
{
    CollectedPaths.Add(path);
    WalkOfPath[path] = WalkRoots.size() - 1;
    CollectedBytes += static_cast<long long>((static_cast<unsigned long long>(sizeHigh) << 32) | sizeLow);
}

int CHddClass::CollectedSize() const
{
    return CollectedBytes > INT_MAX ? INT_MAX : static_cast<int>(CollectedBytes);
}

void CHddClass::CollectByExtension(const std::string& folder, const std::string& ext, bool recursive)
{
    CollectedPaths.Clear();
    CollectedBytes = 0;
    WalkRoots.clear();
    WalkOfPath.clear();
    AppendByExtension(folder, ext, recursive);
}

void CHddClass::AppendByExtension(const std::string& folder, const std::string& ext, bool recursive)
{
    // Unlike a mask, an extension search has no reason to look at a root or a system folder
    // at all: "*.*" there would gather every file of the drive's top.
    if (!CPathSafety::IsTreeAllowed(folder))
        return;
    StartCollecting();
    BeginWalk(folder);
    AppendExtensionIn(folder, ext, recursive);
}

void CHddClass::AppendExtensionIn(const std::string& folder, const std::string& ext, bool recursive)
{
    if (Stopped)
        return;
    ForEachEntry(
        folder, "*.*",
        [&](const std::string& name, const WIN32_FIND_DATAW& fd) {
            std::string path = folder + "\\" + name;
            if (IsFolder(fd) && recursive)
                AppendExtensionIn(path, ext, true);
            if (ext == ".*" || ExtractFileExt(name) == ext)
                AddEntry(path, IsFolder(fd) ? 0 : fd.nFileSizeHigh, IsFolder(fd) ? 0 : fd.nFileSizeLow);
        },
        [this] { return CollectionStopped(); });
}

void CHddClass::CollectByMask(const std::string& pathWithMask, bool recursive)
{
    CollectedPaths.Clear();
    CollectedBytes = 0;
    WalkRoots.clear();
    WalkOfPath.clear();
    AppendByMask(pathWithMask, recursive);
}

void CHddClass::AppendByMask(const std::string& pathWithMask, bool recursive)
{
    std::string folder = ExcludeTrailingBackslash(ExtractFilePath(pathWithMask));
    std::string mask = ExtractFileName(pathWithMask);
    if (mask.empty() || !CPathSafety::IsAbsolute(pathWithMask) ||
        (recursive && !CPathSafety::IsTreeAllowed(folder)))
        return;
    StartCollecting();
    BeginWalk(folder);
    AppendMaskIn(folder, mask, recursive);
}

void CHddClass::AppendMaskIn(const std::string& folder, const std::string& mask, bool recursive)
{
    if (Stopped)
        return;
    ForEachEntry(
        folder, mask,
        [&](const std::string& name, const WIN32_FIND_DATAW& fd) {
            // The system also matches the 8.3 short name: "*.chk" would find "report.chkx".
            if (!MatchesMask(name, mask))
                return;
            std::string path = folder + "\\" + name;
            if (IsFolder(fd) && recursive)
                AppendMaskIn(path, mask, true);
            AddEntry(path, IsFolder(fd) ? 0 : fd.nFileSizeHigh, IsFolder(fd) ? 0 : fd.nFileSizeLow);
        },
        [this] { return CollectionStopped(); });
}

void CHddClass::ListFixedDrives()
{
    FixedDrives.Clear();
    char buf[512];
    DWORD n = GetLogicalDriveStringsA(sizeof buf, buf);
    if (n == 0 || n >= sizeof buf)
        return;
    for (const char* p = buf; *p; p += strlen(p) + 1)
        if (GetDriveTypeA(p) == DRIVE_FIXED)
            FixedDrives.Add(ExcludeTrailingBackslash(p));
}
