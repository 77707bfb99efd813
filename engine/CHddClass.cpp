#include "CHddClass.h"

#include "CPathSafety.h"
#include "CWipeRandom.h"
#include "SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

bool IsLink(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Calls f for each entry matching the pattern, without ".", ".." and "desktop.ini".
template <class F>
void ForEachEntry(const std::string& pattern, F f)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == ".." || name == "desktop.ini")
            continue;
        f(name, fd);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

class CancelSignal {
public:
    CancelSignal() : Event(OpenEventA(EVENT_ALL_ACCESS, FALSE, "CancelEvent")) {}
    ~CancelSignal()
    {
        if (Event)
            CloseHandle(Event);
    }
    bool IsSet() const { return Event && WaitForSingleObject(Event, 0) == WAIT_OBJECT_0; }

private:
    HANDLE Event;
};

}  // namespace

CHddClass::CHddClass()
{
    ListFixedDrives();
}

bool CHddClass::Overwrite(const std::string& path, unsigned long& attributes)
{
    DWORD a = GetFileAttributesA(path.c_str());
    attributes = a;
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY) || IsLink(a))
        return false;
    CancelSignal cancel;
    if (a & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (PassCount <= 0)
        return true;

    CWipeRandom random;
    std::vector<unsigned char> block;   // sized to the file: most files are far below a block
    for (int pass = 1; pass <= PassCount; ++pass) {
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE)
            return false;
        DWORD high = 0;
        DWORD low = GetFileSize(f, &high);
        bool ok = !(low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR);
        unsigned long long remaining = (static_cast<unsigned long long>(high) << 32) | low;
        if (block.empty())
            block.resize(std::max<size_t>(1, static_cast<size_t>(std::min<unsigned long long>(remaining, BlockSize))));
        while (ok && remaining > 0) {
            DWORD n = static_cast<DWORD>(std::min<unsigned long long>(remaining, block.size()));
            random.Fill(block.data(), n);
            DWORD written = 0;
            ok = WriteFile(f, block.data(), n, &written, nullptr) && written == n && !cancel.IsSet();
            remaining -= written;
        }
        // The pass must be on the disk before the next one, and before the delete.
        ok = ok && FlushFileBuffers(f);
        CloseHandle(f);
        if (!ok)
            return false;
    }
    return true;
}

bool CHddClass::OverwriteFile(const std::string& path)
{
    unsigned long attributes = 0;
    if (Overwrite(path, attributes))
        return true;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path.c_str(), attributes);
    return false;
}

bool CHddClass::WipeAndDelete(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && IsLink(a) && !(a & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteFileA(path.c_str()) != 0;
    if (!OverwriteFile(path))
        return false;
    if (DeleteFileA(path.c_str()))
        return true;
    SetFileAttributesA(path.c_str(), a);
    return false;
}

void CHddClass::DeleteTree(const std::string& folder)
{
    if (CPathSafety::IsTreeAllowed(folder))
        DeleteTreeIn(folder);
}

void CHddClass::DeleteTreeIn(const std::string& folder)
{
    ForEachEntry(folder + "\\*.*", [&](const std::string& name, const WIN32_FIND_DATAA& fd) {
        std::string path = folder + "\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!IsLink(fd.dwFileAttributes))
                DeleteTreeIn(path);
            RemoveDirectoryA(path.c_str());   // a link goes as a link
        } else {
            DeleteFileA(path.c_str());
        }
    });
}

bool CHddClass::RemoveFolder(const std::string& folder)
{
    return CPathSafety::IsAbsolute(folder) && RemoveDirectoryA(folder.c_str()) != 0;
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
    AppendExtensionIn(folder, ext, recursive);
}

void CHddClass::AppendExtensionIn(const std::string& folder, const std::string& ext, bool recursive)
{
    ForEachEntry(folder + "\\*.*", [&](const std::string& name, const WIN32_FIND_DATAA& fd) {
        std::string path = folder + "\\" + name;
        bool isFolder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && recursive && !IsLink(fd.dwFileAttributes))
            AppendExtensionIn(path, ext, true);
        if (ext == ".*" || ExtractFileExt(name) == ext)
            AddEntry(path, isFolder ? 0 : fd.nFileSizeHigh, isFolder ? 0 : fd.nFileSizeLow);
    });
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
        (recursive && CPathSafety::IsProtectedFolder(folder)))
        return;
    AppendMaskIn(folder, mask, recursive);
}

void CHddClass::AppendMaskIn(const std::string& folder, const std::string& mask, bool recursive)
{
    ForEachEntry(folder + "\\" + mask, [&](const std::string& name, const WIN32_FIND_DATAA& fd) {
        // The system also matches the 8.3 short name: "*.chk" would find "report.chkx".
        if (!MatchesMask(name, mask))
            return;
        std::string path = folder + "\\" + name;
        bool isFolder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && recursive && !IsLink(fd.dwFileAttributes))
            AppendMaskIn(path, mask, true);
        AddEntry(path, isFolder ? 0 : fd.nFileSizeHigh, isFolder ? 0 : fd.nFileSizeLow);
    });
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
