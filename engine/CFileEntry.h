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
    // ekUnknown when the entry could not be opened.
    CPathSafety::TEntryKind Kind() const { return FKind; }
    DWORD Attributes() const { return Info.dwFileAttributes; }
    // Both reach the very same entry (same volume, same file index).
    bool IsSameAs(const CFileEntry& other) const;

private:
    HANDLE FHandle;
    BY_HANDLE_FILE_INFORMATION Info = {};
    CPathSafety::TEntryKind FKind = CPathSafety::ekUnknown;
};
