#include "CHddClass.h"

#include "CFileEntry.h"
#include "CPathSafety.h"
#include "CWipeRandom.h"
#include "SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <climits>
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
// named "CancelEvent".
class CancelSignal {
public:
    explicit CancelSignal(HANDLE own)
        : Event(own ? own : OpenEventA(EVENT_ALL_ACCESS, FALSE, "CancelEvent")), Owned(!own) {}
    ~CancelSignal()
    {
        if (Event && Owned)
            CloseHandle(Event);
    }
    bool IsSet() const { return Event && WaitForSingleObject(Event, 0) == WAIT_OBJECT_0; }

private:
    HANDLE Event;
    bool Owned;
};

// Overwrites the open file pass-count times with random bytes, each pass flushed.
bool WritePasses(HANDLE f, int passes, const CancelSignal& cancel)
{
    bool ok = true;
    CWipeRandom random;
    std::vector<unsigned char> block;   // sized to the file: most files are far below a block
    for (int pass = 1; ok && pass <= passes; ++pass) {
        LARGE_INTEGER size = {}, start = {};
        ok = GetFileSizeEx(f, &size) && SetFilePointerEx(f, start, nullptr, FILE_BEGIN);
        unsigned long long remaining = ok ? static_cast<unsigned long long>(size.QuadPart) : 0;
        if (block.empty())
            block.resize(std::max<size_t>(1, static_cast<size_t>(std::min<unsigned long long>(remaining, CHddClass::BlockSize))));
        while (ok && remaining > 0) {
            DWORD n = static_cast<DWORD>(std::min<unsigned long long>(remaining, block.size()));
            random.Fill(block.data(), n);
            DWORD written = 0;
            ok = WriteFile(f, block.data(), n, &written, nullptr) && written == n && !cancel.IsSet();
            remaining -= written;
        }
        // The pass must be on the disk before the next one, and before the delete.
        ok = ok && FlushFileBuffers(f);
    }
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

bool CHddClass::Overwrite(const std::string& path, CPathSafety::TEntryKind& kind, unsigned long& attributes)
{
    CFileEntry look(path);
    kind = look.Kind();
    attributes = look.IsOpen() ? look.Attributes() : INVALID_FILE_ATTRIBUTES;
    if (!IsWritable(kind))
        return false;
    CancelSignal cancel(CancelEvent);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (PassCount <= 0)
        return true;

    // Written through a handle held alone, whose own word decides: a plain file opened as
    // itself must still be a plain file (not a link swapped in since the look); a reparse
    // point holding data is written through the system and must lead to the entry looked at.
    const bool plain = kind == CPathSafety::ekFile;
    CFileEntry file(path, GENERIC_WRITE, 0, !plain);
    if (!file.IsSameAs(look) || (plain && file.Kind() != CPathSafety::ekFile))
        return false;
    return WritePasses(file.Handle(), PassCount, cancel);
}

bool CHddClass::OverwriteKeepingAttributes(const std::string& path, CPathSafety::TEntryKind& kind,
                                           unsigned long& attributes)
{
    if (Overwrite(path, kind, attributes))
        return true;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) && IsWritable(kind))
        SetFileAttributesA(path.c_str(), attributes);
    if (kind == CPathSafety::ekDataReparseFile && OnLeftUnwritten)
        OnLeftUnwritten(path);
    return false;
}

bool CHddClass::OverwriteFile(const std::string& path)
{
    CPathSafety::TEntryKind kind;
    unsigned long attributes;
    return OverwriteKeepingAttributes(path, kind, attributes);
}

bool CHddClass::WipeAndDelete(const std::string& path)
{
    CPathSafety::TEntryKind kind;
    unsigned long attributes;
    if (!OverwriteKeepingAttributes(path, kind, attributes)) {
        // A link to a file goes as the link; its target is never opened.
        return kind == CPathSafety::ekLink && !(attributes & FILE_ATTRIBUTE_DIRECTORY) && DeleteFileA(path.c_str());
    }
    if (DeleteFileA(path.c_str()))
        return true;
    SetFileAttributesA(path.c_str(), attributes);
    return false;
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
        } else {
            DeleteFileA(path.c_str());
        }
    });
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
    AppendByExtension(folder, ext, recursive);
}

void CHddClass::AppendByExtension(const std::string& folder, const std::string& ext, bool recursive)
{
    // Unlike a mask, an extension search has no reason to look at a root or a system folder
    // at all: "*.*" there would gather every file of the drive's top.
    if (!CPathSafety::IsTreeAllowed(folder))
        return;
    StartCollecting();
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
