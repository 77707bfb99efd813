#pragma once
// One file or folder opened by its own name (a link as the link itself, unless asked to go
// through it), and what its handle says it is. Decisions taken on the handle hold for as long
// as the handle keeps others from replacing the entry: a handle with data access and without
// delete sharing does that; one for attributes alone does not.
#include "CPathSafety.h"

#include <windows.h>

#include <string>

class CFileEntry {
public:
    explicit CFileEntry(const std::string& path, DWORD access = FILE_READ_ATTRIBUTES,
                        DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, bool throughLinks = false);
    ~CFileEntry();
    CFileEntry(const CFileEntry&) = delete;
    CFileEntry& operator=(const CFileEntry&) = delete;

    bool IsOpen() const { return FHandle != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return FHandle; }
    // The system's error when the entry could not be opened.
    DWORD OpenError() const { return FOpenError; }
    // ekUnknown when the entry could not be opened.
    CPathSafety::TEntryKind Kind() const { return FKind; }
    DWORD Attributes() const { return Info.dwFileAttributes; }
    // How many names the file has: above one, its data also lives under a name not given here.
    DWORD LinkCount() const { return Info.nNumberOfLinks; }
    unsigned long long Size() const
    {
        return (static_cast<unsigned long long>(Info.nFileSizeHigh) << 32) | Info.nFileSizeLow;
    }
    // Both reach the very same entry (same volume, same file index).
    bool IsSameAs(const CFileEntry& other) const;

    // The name the system gives the open entry, every link and substituted drive on the way
    // followed ("C:\..." or "\\server\share\..."); "" when it cannot say, and always on
    // systems without the call (see HasSystemFinalPath).
    std::string FinalPath() const;
    static bool HasSystemFinalPath();
    // Where there is no final-path call: whether a folder between the folder and the entry
    // (the folder itself and the entry not counted) is a link or any other reparse point.
    static bool HasReparsePointBetween(const std::string& folder, const std::string& path);

    // The name goes when the handle closes (the handle needs DELETE access); false when the
    // system refuses it or has no such call.
    bool DeleteOnClose();
    // Sets the entry's attributes through the handle (it needs attribute write access).
    bool SetAttributes(DWORD attributes);
    // Opens the entry again through the system (so that a data-holding reparse point's data is
    // reached), with the same access and sharing. A handle held alone refuses any second open
    // of its file, so this one is closed first; true when the new handle leads to the entry
    // that look holds (the name may have been given to another in between).
    bool ReopenThroughSystem(const std::string& path, const CFileEntry& look);

private:
    void Open(const std::string& path, bool throughLinks);

    const DWORD FAccess, FShare;
    HANDLE FHandle = INVALID_HANDLE_VALUE;
    DWORD FOpenError = 0;
    BY_HANDLE_FILE_INFORMATION Info = {};
    CPathSafety::TEntryKind FKind = CPathSafety::ekUnknown;
};
