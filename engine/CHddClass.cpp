#include "CHddClass.h"

#include "CFileEntry.h"
#include "CPathSafety.h"
#include "CWipeRandom.h"
#include "SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

bool IsFolder(const WIN32_FIND_DATAA& fd)
{
    return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Calls f for each entry of the folder matching the pattern, without "." and ".." (and
// "desktop.ini" unless told otherwise), until stop() says so. The folder is held open meanwhile, so that it cannot be replaced, and must
// be a plain folder by what its own handle says: a link or any other reparse point is never
// listed, wherever a walk meets it, its start included.
template <class F, class S = bool (*)()>
void ForEachEntry(const std::string& folder, const std::string& pattern, bool skipDesktopIni, F f,
                  S stop = [] { return false; })
{
    CFileEntry held(folder, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (held.Kind() != CPathSafety::ekFolder)
        return;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\" + pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == ".." || (skipDesktopIni && name == "desktop.ini"))
            continue;
        f(name, fd);
    } while (!stop() && FindNextFileA(h, &fd));
    FindClose(h);
}

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

CHddClass::TWipeResult CHddClass::Wipe(const std::string& path, TAfterWrite after)
{
    // One handle, held alone, for everything that follows: written through, flushed and
    // deleted on, so that nothing can take the name's place in between.
    const DWORD access = GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES;
    if (IsLeftAlone(path))
        return wrRefused;
    // The name now leads to another entry than the one looked at: whatever it is, it stays.
    auto refuseOther = [&]() {
        LeaveAlone(path);
        if (OnRefused)
            OnRefused(path, "the name led to another file than the one looked at: left alone");
        return wrRefused;
    };
    std::unique_ptr<CFileEntry> file(new CFileEntry(path, access, 0));
    DWORD given = INVALID_FILE_ATTRIBUTES;   // the attributes to give back when the file stays
    if (!file->IsOpen() && file->OpenError() == ERROR_ACCESS_DENIED) {
        // A read-only file refuses write access, even to its attributes alone.
        CFileEntry look(path);
        if (!IsWritable(look.Kind()) || !(look.Attributes() & FILE_ATTRIBUTE_READONLY))
            return wrNotOpened;
        given = look.Attributes();
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        file.reset(new CFileEntry(path, access, 0));
        if (!file->IsSameAs(look)) {
            const bool other = file->IsOpen();
            file.reset();
            SetFileAttributesA(path.c_str(), given);
            return other ? refuseOther() : wrNotOpened;
        }
    }
    const CPathSafety::TEntryKind kind = file->Kind();
    const DWORD attributes = file->Attributes();
    if (kind == CPathSafety::ekFolder || kind == CPathSafety::ekDataReparseFolder)
        return wrNotAFile;
    if (!file->IsOpen() || kind == CPathSafety::ekUnknown)
        return wrNotOpened;
    auto deleteName = [&]() {
        if (OnDeleting)
            OnDeleting(path);
        if (file->DeleteOnClose()) {
            file.reset();
            return true;
        }
        file.reset();
        return DeleteFileA(path.c_str()) != 0;
    };
    auto keep = [&](TWipeResult result) {
        file.reset();
        if (given != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesA(path.c_str(), given);
        return result;
    };
    if (kind == CPathSafety::ekLink) {
        // A link to a file goes as the link; its target is never opened.
        if (after == awKeep || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return wrNotOpened;
        return deleteName() ? wrDone : wrNotOpened;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        // Opened for writing all the same (as an administrator can): cleared for the delete.
        given = attributes;
        if (!file->SetAttributes(FILE_ATTRIBUTE_NORMAL))
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    if (kind == CPathSafety::ekDataReparseFile) {
        // Written through the system, which must lead to the entry looked at.
        CFileEntry look(path);
        if (!file->ReopenThroughSystem(path, look)) {
            if (file->IsOpen())
                return keep(refuseOther());
            if (OnLeftUnwritten)
                OnLeftUnwritten(path);
            return keep(wrNotOpened);
        }
    }
    if (!IsStillBelowItsWalk(path, *file)) {
        LeaveAlone(path);
        if (OnRefused)
            OnRefused(path, "no longer below the folder it was found in: left alone");
        return keep(wrRefused);
    }
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
        return deleteName() ? wrNotWritten : keep(wrNotWritten);
    }

    bool written = true;
    if (PassCount > 0) {
        CancelSignal cancel(CancelEvent);
        if (!Random)
            Random = std::make_shared<CWipeRandom>();
        written = WritePasses(file->Handle(), file->Size(), PassCount, *Random, cancel);
    }
    if (!written && after == awDeleteAlways)
        return deleteName() ? wrNotWritten : keep(wrNotWritten);
    if (!written)
        return keep(wrNotWritten);
    if (after == awKeep) {
        file.reset();
        return wrDone;
    }
    return deleteName() ? wrDone : keep(wrNotWritten);
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
    auto walk = WalkOfPath.find(path);
    if (walk == WalkOfPath.end())
        return true;   // named by the owner itself, not found by a walk
    const std::string& root = WalkRoots[walk->second];
    if (CFileEntry::HasSystemFinalPath())
        return CPathSafety::LiesBelow(file.FinalPath(), root);
    return !CFileEntry::HasReparsePointBetween(root, path);
}

void CHddClass::DeleteTree(const std::string& folder)
{
    if (CPathSafety::IsTreeAllowed(folder))
        DeleteTreeIn(folder);
}

void CHddClass::DeleteTreeIn(const std::string& folder)
{
    ForEachEntry(folder, "*.*", SkipDesktopIni, [&](const std::string& name, const WIN32_FIND_DATAA& fd) {
        std::string path = folder + "\\" + name;
        if (IsFolder(fd)) {
            // Cleared before its walk, so that the folder itself can go afterwards.
            if (ClearReadOnlyFolders && (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY) &&
                !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteTreeIn(path);                // lists nothing behind a link
            RemoveDirectoryA(path.c_str());   // a link goes as a link
        } else if (!IsLeftAlone(path)) {
            DeleteFileA(path.c_str());
        }
    });
}

void CHddClass::LeaveAlone(const std::string& path)
{
    LeftAlone.insert(CPathSafety::Resolved(path));
}

bool CHddClass::IsLeftAlone(const std::string& path) const
{
    return !LeftAlone.empty() && LeftAlone.count(CPathSafety::Resolved(path)) != 0;
}

bool CHddClass::RemoveFolder(const std::string& folder)
{
    return CPathSafety::IsTreeAllowed(folder) && RemoveDirectoryA(folder.c_str()) != 0;
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
        folder, "*.*", SkipDesktopIni,
        [&](const std::string& name, const WIN32_FIND_DATAA& fd) {
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
        folder, mask, SkipDesktopIni,
        [&](const std::string& name, const WIN32_FIND_DATAA& fd) {
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
