#include "TStringList.h"

#include "Exceptions.h"
#include "SysUtils.h"

#include <windows.h>

static void CheckIndex(int index, size_t size)
{
    if (index < 0 || static_cast<size_t>(index) >= size)
        throw EStringListError("List index out of bounds (" + IntToStr(index) + ")");
}

const std::string& TStringList::operator[](int index) const
{
    CheckIndex(index, Items.size());
    return Items[static_cast<size_t>(index)];
}

std::string& TStringList::operator[](int index)
{
    CheckIndex(index, Items.size());
    return Items[static_cast<size_t>(index)];
}

void TStringList::Insert(int index, const std::string& s)
{
    if (index < 0 || static_cast<size_t>(index) > Items.size())
        CheckIndex(index, Items.size());
    Items.insert(Items.begin() + index, s);
}

void TStringList::Delete(int index)
{
    CheckIndex(index, Items.size());
    Items.erase(Items.begin() + index);
}

void TStringList::SetText(const std::string& text)
{
    Items.clear();
    size_t i = 0, n = text.size();
    while (i < n) {
        size_t e = text.find_first_of("\r\n", i);
        if (e == std::string::npos) {
            Items.push_back(text.substr(i));
            break;
        }
        Items.push_back(text.substr(i, e - i));
        i = (text[e] == '\r' && e + 1 < n && text[e + 1] == '\n') ? e + 2 : e + 1;
    }
}

std::string TStringList::Text() const
{
    std::string t;
    for (const std::string& s : Items) {
        t += s;
        t += "\r\n";
    }
    return t;
}

void TStringList::LoadFromFile(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw EFOpenError("Cannot open file \"" + path + "\"");
    std::string data;
    char buf[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(h, buf, sizeof buf, &got, nullptr) != 0) && got > 0)
        data.append(buf, got);
    CloseHandle(h);
    if (!ok)
        throw EFOpenError("Cannot read file \"" + path + "\"");
    SetText(data);
}

namespace {

// The text through the handle, with nothing of an older content left beyond what was
// written, even when the write falls short.
bool WriteWhole(HANDLE h, const std::string& t)
{
    DWORD put = 0;
    bool ok = t.empty() || (WriteFile(h, t.data(), static_cast<DWORD>(t.size()), &put, nullptr) &&
                            put == t.size());
    ok = SetEndOfFile(h) && ok;
    return FlushFileBuffers(h) && ok;
}

// The way left where no new file may be made beside the old one, or the old one may not be
// replaced: the user may still be allowed to write it. OPEN_ALWAYS, unlike CREATE_ALWAYS,
// also opens a hidden or system file, and the file keeps what it carries.
void WriteInPlace(const std::string& path, const std::string& t)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw EFCreateError("Cannot create file \"" + path + "\"");
    bool ok = WriteWhole(h, t);
    CloseHandle(h);
    if (!ok)
        throw EStreamError("Cannot write file \"" + path + "\"");
}

// The whole text in a new file beside the path; its name, or "" and the system's error when
// none may be made there.
std::string WriteBeside(const std::string& path, const std::string& t, DWORD& error)
{
    std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "qls", 0, temp)) {
        error = GetLastError();
        return "";
    }
    HANDLE h = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        DeleteFileA(temp);
        return "";
    }
    bool ok = WriteWhole(h, t);
    CloseHandle(h);
    if (!ok) {
        DeleteFileA(temp);
        throw EStreamError("Cannot write file \"" + path + "\"");
    }
    return temp;
}

}  // namespace

void TStringList::SaveToFile(const std::string& path) const
{
    // The lines go to a new file beside the old one, which is replaced only once they are
    // all on disk: a write that fails, or a program ended half-way, leaves the old file whole.
    std::string t = Text();
    DWORD old = GetFileAttributesA(path.c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY))
        throw EFCreateError("Cannot create file \"" + path + "\"");
    DWORD error = 0;
    std::string temp = WriteBeside(path, t, error);
    if (temp.empty()) {
        // Only a folder closed to new files sends the list in place: a full disk or a quota
        // would fail there half-way, after the old list is gone.
        if (error != ERROR_ACCESS_DENIED)
            throw EFCreateError("Cannot create file \"" + path + "\"");
        WriteInPlace(path, t);
        return;
    }
    if (old == INVALID_FILE_ATTRIBUTES) {
        if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DeleteFileA(temp.c_str());
            throw EFCreateError("Cannot create file \"" + path + "\"");
        }
        return;
    }
    // ReplaceFile keeps the old file's access list and attributes (a hidden keep list stays
    // hidden); the attributes go onto the new file first as well, for a system whose
    // ReplaceFile only moves it into place.
    SetFileAttributesA(temp.c_str(), old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    if (!ReplaceFileA(path.c_str(), temp.c_str(), nullptr, 0, nullptr, nullptr))
        FinishFailedReplace(path, temp, t, GetLastError());
}

void TStringList::FinishFailedReplace(const std::string& path, const std::string& written, const std::string& text,
                                      DWORD error)
{
    // The system may have moved the old file aside under a name of its own before it failed
    // (ERROR_UNABLE_TO_MOVE_REPLACEMENT, _2): the new file is then the one whole copy left.
    // The move takes an empty name only.
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (!MoveFileExA(written.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH))
            throw EFCreateError("Cannot create file \"" + path + "\"; the lines are in \"" + written + "\"");
        return;
    }
    DeleteFileA(written.c_str());
    if (error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED) {
        WriteInPlace(path, text);
        return;
    }
    throw EFCreateError("Cannot create file \"" + path + "\"");
}
