#include "CFileEntry.h"

#include <winioctl.h>

#include <vector>

namespace {

// The reparse tag of an entry opened on the reparse point itself; 0 when it cannot be read.
DWORD ReparseTag(HANDLE h)
{
    std::vector<char> buf(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    if (!DeviceIoControl(h, FSCTL_GET_REPARSE_POINT, nullptr, 0, buf.data(), static_cast<DWORD>(buf.size()), &got,
                         nullptr) ||
        got < sizeof(DWORD))
        return 0;
    return *reinterpret_cast<const DWORD*>(buf.data());
}

std::string OpenName(const std::string& path)
{
    // "C:" alone would open the current folder of drive C:, not its root.
    return path.size() == 2 && path[1] == ':' ? path + "\\" : path;
}

}  // namespace

CFileEntry::CFileEntry(const std::string& path, DWORD access, DWORD share, bool throughLinks)
    : FHandle(CreateFileA(OpenName(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS | (throughLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr))
{
    if (!IsOpen())
        return;
    if (!GetFileInformationByHandle(FHandle, &Info)) {
        CloseHandle(FHandle);
        FHandle = INVALID_HANDLE_VALUE;
        return;
    }
    DWORD tag = (Info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? ReparseTag(FHandle) : 0;
    FKind = CPathSafety::KindOf(Info.dwFileAttributes, tag);
}

CFileEntry::~CFileEntry()
{
    if (IsOpen())
        CloseHandle(FHandle);
}

bool CFileEntry::IsSameAs(const CFileEntry& other) const
{
    return IsOpen() && other.IsOpen() && other.Info.dwVolumeSerialNumber == Info.dwVolumeSerialNumber &&
           other.Info.nFileIndexHigh == Info.nFileIndexHigh && other.Info.nFileIndexLow == Info.nFileIndexLow;
}
