#include "CFileEntry.h"

#include "SysUtils.h"

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

template <class F>
F Kernel32(const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

// Both calls came with Windows Vista; the 32-bit programs also run on older systems.
using FinalPathCall = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
using SetInfoCall = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
const FinalPathCall FinalPathByHandle = Kernel32<FinalPathCall>("GetFinalPathNameByHandleA");
const SetInfoCall SetInformationByHandle = Kernel32<SetInfoCall>("SetFileInformationByHandle");
const int BasicInfoClass = 0, DispositionInfoClass = 4;   // FileBasicInfo, FileDispositionInfo

struct DispositionInfo {
    BOOLEAN DeleteFile;
};

struct BasicInfo {
    LARGE_INTEGER CreationTime, LastAccessTime, LastWriteTime, ChangeTime;
    DWORD FileAttributes;
};

struct StandardInfo {
    LARGE_INTEGER AllocationSize, EndOfFile;
    ULONG NumberOfLinks;
    BOOLEAN DeletePending, Directory;
};

struct IoStatus {
    union {
        LONG Status;
        PVOID Pointer;
    };
    ULONG_PTR Information;
};

// Asked of the handle alone: GetFileInformationByHandle also asks for the volume's serial
// number, which can cost a round trip to another process for every file. The serial is only
// wanted when two entries are compared (IsSameAs).
using QueryInfoCall = LONG(WINAPI*)(HANDLE, IoStatus*, PVOID, ULONG, int);
const QueryInfoCall QueryInformationFile = reinterpret_cast<QueryInfoCall>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationFile")));
const int FileBasicInformation = 4, FileStandardInformation = 5, FileInternalInformation = 6;
// Where the system has no SetFileInformationByHandle (before Windows Vista), the call below it.
using SetNtInfoCall = LONG(WINAPI*)(HANDLE, IoStatus*, PVOID, ULONG, int);
const SetNtInfoCall SetInformationFile = reinterpret_cast<SetNtInfoCall>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtSetInformationFile")));

bool QueryHandle(HANDLE h, BY_HANDLE_FILE_INFORMATION& info)
{
    BasicInfo basic = {};
    StandardInfo standard = {};
    LARGE_INTEGER index = {};
    IoStatus io = {};
    if (!QueryInformationFile || QueryInformationFile(h, &io, &basic, sizeof basic, FileBasicInformation) < 0 ||
        QueryInformationFile(h, &io, &standard, sizeof standard, FileStandardInformation) < 0 ||
        QueryInformationFile(h, &io, &index, sizeof index, FileInternalInformation) < 0)
        return GetFileInformationByHandle(h, &info) != 0;
    info.dwFileAttributes = basic.FileAttributes;
    info.nFileSizeHigh = static_cast<DWORD>(static_cast<unsigned long long>(standard.EndOfFile.QuadPart) >> 32);
    info.nFileSizeLow = static_cast<DWORD>(standard.EndOfFile.QuadPart);
    info.nNumberOfLinks = standard.NumberOfLinks;
    info.nFileIndexHigh = static_cast<DWORD>(static_cast<unsigned long long>(index.QuadPart) >> 32);
    info.nFileIndexLow = static_cast<DWORD>(index.QuadPart);
    return true;
}

bool VolumeSerial(HANDLE h, DWORD& serial)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info))
        return false;
    serial = info.dwVolumeSerialNumber;
    return true;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.compare(0, strlen(prefix), prefix) == 0;
}

}  // namespace

CFileEntry::CFileEntry(const std::string& path, DWORD access, DWORD share, bool throughLinks)
    : FAccess(access), FShare(share)
{
    Open(path, throughLinks);
}

void CFileEntry::Open(const std::string& path, bool throughLinks)
{
    Info = BY_HANDLE_FILE_INFORMATION();
    FOpenError = 0;
    FKind = CPathSafety::ekUnknown;
    FHandle = CreateFileA(OpenName(path).c_str(), FAccess, FShare, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS | (throughLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
    if (!IsOpen()) {
        FOpenError = GetLastError();
        return;
    }
    if (!QueryHandle(FHandle, Info)) {
        FOpenError = GetLastError();
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

bool CFileEntry::ReopenThroughSystem(const std::string& path, const CFileEntry& look)
{
    if (IsOpen())
        CloseHandle(FHandle);
    Open(path, true);
    return IsSameAs(look);
}

bool CFileEntry::IsSameAs(const CFileEntry& other) const
{
    DWORD mine = 0, theirs = 0;
    return IsOpen() && other.IsOpen() && other.Info.nFileIndexHigh == Info.nFileIndexHigh &&
           other.Info.nFileIndexLow == Info.nFileIndexLow && VolumeSerial(FHandle, mine) &&
           VolumeSerial(other.FHandle, theirs) && mine == theirs;
}

bool CFileEntry::HasSystemFinalPath()
{
    return FinalPathByHandle != nullptr;
}

std::string CFileEntry::FinalPath() const
{
    if (!IsOpen() || !FinalPathByHandle)
        return std::string();
    char buf[4 * MAX_PATH];
    DWORD n = FinalPathByHandle(FHandle, buf, sizeof buf, 0);
    if (n == 0 || n >= sizeof buf)
        return std::string();
    std::string p(buf, n);
    if (StartsWith(p, "\\\\?\\UNC\\"))
        return "\\\\" + p.substr(8);
    if (StartsWith(p, "\\\\?\\") && p.size() >= 6 && p[5] == ':')
        return p.substr(4);
    return p;   // a volume without a drive letter: below no folder a walk starts from
}

bool CFileEntry::HasReparsePointBetween(const std::string& folder, const std::string& path)
{
    if (!CPathSafety::LiesBelow(path, folder))
        return true;
    for (size_t sep = path.find('\\', folder.size() + 1); sep != std::string::npos; sep = path.find('\\', sep + 1)) {
        DWORD a = GetFileAttributesA(path.substr(0, sep).c_str());
        if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_REPARSE_POINT))
            return true;
    }
    return false;
}

bool CFileEntry::DeleteOnClose()
{
    DispositionInfo disposition = {TRUE};
    return IsOpen() && SetInformationByHandle &&
           SetInformationByHandle(FHandle, DispositionInfoClass, &disposition, sizeof disposition);
}

bool CFileEntry::SetAttributes(DWORD attributes)
{
    BasicInfo info = {};   // times of 0 stay as they are
    info.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    if (!IsOpen())
        return false;
    if (SetInformationByHandle)
        return SetInformationByHandle(FHandle, BasicInfoClass, &info, sizeof info) != 0;
    IoStatus io = {};
    return SetInformationFile && SetInformationFile(FHandle, &io, &info, sizeof info, FileBasicInformation) >= 0;
}
