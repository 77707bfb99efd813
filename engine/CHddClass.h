#pragma once
// Gathers files by extension or mask, overwrites them in place with random bytes before
// deleting them, deletes folder trees and lists the fixed drives. Every cleaner holds one;
// Fennick uses it as it is.
#include "CPathSafety.h"
#include "TStringList.h"

#include <cstddef>
#include <functional>
#include <string>

class CHddClass {
public:
    CHddClass();

    // Overwrites the file pass-count times; with 0 passes only a read-only attribute is
    // cleared, so that a delete can follow. False when the path is no file, the file cannot
    // be opened alone or written, or the run was cancelled (the file stays, partly written).
    bool OverwriteFile(const std::string& path);
    // Overwrites, then deletes only when the overwrite succeeded. A link is deleted as a
    // link; what it points to is never written. A reparse point that holds data (a
    // deduplicated or cloud file) is a file: it is written through the system, and when that
    // cannot be done it stays and OnLeftUnwritten hears of it.
    bool WipeAndDelete(const std::string& path);
    // Deletes the folder's content without overwriting; the folder itself stays, and so
    // does every "desktop.ini" with the folders that hold one. Like every walk here it
    // refuses a starting folder that is a reparse point and never descends into one.
    void DeleteTree(const std::string& folder);
    // Removes one empty folder, never a protected one.
    bool RemoveFolder(const std::string& folder);

    void CollectByExtension(const std::string& folder, const std::string& ext, bool recursive);
    void AppendByExtension(const std::string& folder, const std::string& ext, bool recursive);
    void CollectByMask(const std::string& pathWithMask, bool recursive);
    void AppendByMask(const std::string& pathWithMask, bool recursive);
    void ListFixedDrives();

    // Bytes of the entries gathered since the last collect call, held at the largest
    // signed 32-bit value once the true sum goes beyond it.
    int CollectedSize() const;

    int PassCount = 0;
    TStringList CollectedPaths;
    TStringList FixedDrives;      // "C:" and so on, without a backslash

    // The cancel signal tested while overwriting: this event when set (the owner keeps it
    // open), else the cleaning run's named "CancelEvent".
    void* CancelEvent = nullptr;
    // Every walk passes over "desktop.ini", so that a folder keeps its look, unless told not to.
    bool SkipDesktopIni = true;
    // DeleteTree clears a read-only sub-folder's attributes before emptying it.
    bool ClearReadOnlyFolders = false;

    // Bytes written per call while overwriting; the cancel event is tested after each.
    static constexpr size_t BlockSize = 1024 * 1024;

    // Told the path of a data-holding reparse point that could not be overwritten (so it
    // was not deleted either): the owner reports its item as failed, never as done.
    std::function<void(const std::string&)> OnLeftUnwritten;

private:
    bool Overwrite(const std::string& path, CPathSafety::TEntryKind& kind, unsigned long& attributes);
    bool OverwriteKeepingAttributes(const std::string& path, CPathSafety::TEntryKind& kind, unsigned long& attributes);
    void AddEntry(const std::string& path, unsigned long sizeHigh, unsigned long sizeLow);
    void DeleteTreeIn(const std::string& folder);
    void AppendExtensionIn(const std::string& folder, const std::string& ext, bool recursive);
    void AppendMaskIn(const std::string& folder, const std::string& mask, bool recursive);
    // A collection ends soon after the owner's cancel event is set: it is tested every few
    // entries, so that a large tree stops within a moment.
    void StartCollecting() { Stopped = false; EntriesSinceTest = 63; }
    bool CollectionStopped();
    bool Stopped = false;
    int EntriesSinceTest = 0;

    long long CollectedBytes = 0;
};
