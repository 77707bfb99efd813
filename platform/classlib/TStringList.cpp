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

void TStringList::SaveToFile(const std::string& path) const
{
    // The lines go to a new file beside the old one, which is replaced only once they are
    // all on disk: a write that fails, or a program ended half-way, leaves the old file whole.
    std::string t = Text();
    std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "qls", 0, temp))
        throw EFCreateError("Cannot create file \"" + path + "\"");
    HANDLE h = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DeleteFileA(temp);
        throw EFCreateError("Cannot create file \"" + path + "\"");
    }
    DWORD put = 0;
    bool ok = t.empty() || (WriteFile(h, t.data(), static_cast<DWORD>(t.size()), &put, nullptr) &&
                            put == t.size());
    ok = FlushFileBuffers(h) && ok;
    CloseHandle(h);
    if (!ok) {
        DeleteFileA(temp);
        throw EStreamError("Cannot write file \"" + path + "\"");
    }
    if (!MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp);
        throw EFCreateError("Cannot create file \"" + path + "\"");
    }
}
