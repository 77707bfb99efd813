#pragma once
// Gathers files by extension or mask, overwrites them in place with random bytes before
// deleting them, deletes folder trees and lists the fixed drives. Every cleaner holds one;
// Fennick uses it as it is.
#include "CPathSafety.h"
#include "TStringList.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CWipeRandom;

class CHddClass {
public:
    CHddClass();

    // Overwrites the file pass-count times; with 0 passes only a read-only attribute is
    // cleared, so that a delete can follow. False when the path is no file, the file cannot
    // be opened alone or written, or the run was cancelled (the file stays, partly written
    // and flushed), or the file has a second name (nothing is written then).
    bool OverwriteFile(const std::string& path);
    // Overwrites, then deletes only when the overwrite succeeded, flushed, on the handle that
    // wrote it. A link is deleted as a link; what it points to is never written. A reparse
    // point that holds data (a deduplicated or cloud file) is a file: it is written through
    // the system, and when that cannot be done it stays and OnLeftUnwritten hears of it.
    // A file with a second name is never written (its data lives on under a name nobody
    // chose): this name alone goes, the result is false and OnRefused hears of it. A file
    // gathered by a walk whose handle no longer leads below the folder the walk started
    // from (a link or drive swapped in above it since) is left alone, and OnRefused hears;
    // so is a name that led to another file than the one looked at, and a name given by the
    // owner whose handle's final path is another name (a link the system shows as a plain
    // file). A file left alone stays for the record's life.
    bool WipeAndDelete(const std::string& path);
    // Deletes the folder's content without overwriting; the folder itself stays, and so
    // does every "desktop.ini" with the folders that hold one, and every file left alone
    // by a wipe before. Like every walk here it refuses a starting folder that is a reparse
    // point and never descends into one. Nothing is deleted or removed that the system does
    // not place below the folder given, or that is a protected place: it stays, and
    // OnRefused hears of it.
    void DeleteTree(const std::string& folder);
    // Removes one empty folder, never a protected one, nor one a walk found that no longer
    // lies below the folder the walk started from.
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
    // Told the path of an entry left or deleted unwritten on purpose, and why, for the
    // owner's log: a file refused for its safety, a listed name not used because it is not
    // exactly the name on the disk (the entry stays, with all below it), an entry a tree
    // delete leaves because it does not lie below its folder. Each once.
    std::function<void(const std::string& path, const std::string& why)> OnRefused;
    // OnRefused also hears of every file a wipe leaves, or deletes, without overwriting it
    // for any other reason (cancelled, not written, not removed).
    bool TellEveryUnwritten = false;
    // Told the path of a file whose writing is over as its deletion begins.
    std::function<void(const std::string&)> OnDeleting;

protected:
    enum TAfterWrite { awKeep, awDeleteWhenWritten, awDeleteAlways };
    enum TWipeResult {
        wrDone,          // written as asked (and deleted when asked), or a link removed as a link
        wrNotWritten,    // not (wholly) written: cancelled, failed, or a second name; the file
                         // (or this name of it) went only when awDeleteAlways asked for it
        wrNotOpened,     // nothing there, or it could not be opened alone: nothing done
        wrNotAFile,      // a folder: nothing done
        wrRefused        // left alone on purpose
    };
    // Opens the file once, alone, and writes, flushes and deletes on that one handle.
    TWipeResult Wipe(const std::string& path, TAfterWrite after);
    // A file refused for its safety stays for the rest of the record's life: no later wipe
    // or tree delete of the same run removes it unwritten.
    void LeaveAlone(const std::string& path);
    bool IsLeftAlone(const std::string& path) const;
    // The file's handle leads where its name was chosen: below the folder its walk started
    // from, or, for a name the owner gave, to that very name. Else it is left alone and told.
    bool IsWhereItWasChosen(const std::string& path, const class CFileEntry& file);
    // Why the last wipe could not open the file alone ("" when nothing is there).
    const std::string& WhyNotOpened() const { return NotOpenedReason; }

public:
    // Tells OnRefused of an entry left, once.
    void TellLeft(const std::string& path, const std::string& why);

private:
    static std::string ListedName(const std::string& folder, const wchar_t* wide, std::string& name);
    template <class F, class S>
    void ForEachEntry(const std::string& folder, const std::string& pattern, F f, S stop);
    void BeginWalk(const std::string& folder);
    bool IsStillBelowItsWalk(const std::string& path, const class CFileEntry& file) const;
    static bool IsTheChosenEntry(const std::string& path, const class CFileEntry& file);
    bool StaysInItsWalk(const std::string& path) const;
    // Not a protected place, and still below the folder of the walk that found it (else told).
    bool MayEmptyOrRemove(const std::string& folder);
    // Where the system places the folder a tree delete of this folder must stay below: the
    // folder a walk that found it started from, else the folder itself.
    std::string TreeRoot(const std::string& folder) const;
    void AddEntry(const std::string& path, unsigned long sizeHigh, unsigned long sizeLow);
    void DeleteTreeIn(const std::string& folder, const std::string& root);
    void AppendExtensionIn(const std::string& folder, const std::string& ext, bool recursive);
    void AppendMaskIn(const std::string& folder, const std::string& mask, bool recursive);
    // A collection ends soon after the owner's cancel event is set: it is tested every few
    // entries, so that a large tree stops within a moment.
    void StartCollecting() { Stopped = false; EntriesSinceTest = 63; }
    bool CollectionStopped();
    bool Stopped = false;
    int EntriesSinceTest = 0;

    long long CollectedBytes = 0;
    // The folder each walk started from (resolved, every link followed, where the system
    // can say so), and which walk gathered each path.
    std::vector<std::string> WalkRoots;
    std::unordered_map<std::string, size_t> WalkOfPath;
    std::unordered_set<std::string> LeftAlone;   // as CPathSafety::Resolved names them, upper case
    std::unordered_set<std::string> Told;
    std::string NotOpenedReason;
    std::shared_ptr<CWipeRandom> Random;   // seeded once, on the first overwrite
};
