#include "TIniFile.h"

#include "SysUtils.h"
#include "TStringList.h"

#include <windows.h>

#include <vector>

namespace {

// Calls `read` with ever larger buffers until what it returns fits with room to spare
// (the profile functions cut a value short without telling); `reserve` is 1 for a string,
// 2 for a list of strings ending in two zeros.
template <class Read>
std::vector<char> ReadWhole(Read read, DWORD reserve)
{
    std::vector<char> buf(2048);
    for (;;) {
        DWORD n = read(buf.data(), static_cast<DWORD>(buf.size()));
        if (n + reserve < buf.size()) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

void SplitZeros(const std::vector<char>& list, TStringList& out)
{
    out.Clear();
    for (size_t i = 0; i < list.size();) {
        std::string item(&list[i]);
        if (item.empty())
            break;
        out.Add(item);
        i += item.size() + 1;
    }
}

}  // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def) const
{
    std::vector<char> v = ReadWhole(
        [&](char* buf, DWORD size) {
            return GetPrivateProfileStringA(section.c_str(), ident.c_str(), def.c_str(), buf, size,
                                            FFileName.c_str());
        },
        1);
    return std::string(v.begin(), v.end());
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) const
{
    return StrToIntDef(ReadString(section, ident, ""), def);
}

void TIniFile::ReadSection(const std::string& section, TStringList& idents) const
{
    std::vector<char> v = ReadWhole(
        [&](char* buf, DWORD size) {
            return GetPrivateProfileStringA(section.c_str(), nullptr, "", buf, size, FFileName.c_str());
        },
        2);
    v.push_back('\0');
    SplitZeros(v, idents);
}

void TIniFile::ReadSections(TStringList& sections) const
{
    std::vector<char> v = ReadWhole(
        [&](char* buf, DWORD size) { return GetPrivateProfileSectionNamesA(buf, size, FFileName.c_str()); }, 2);
    v.push_back('\0');
    SplitZeros(v, sections);
}

bool TIniFile::SectionExists(const std::string& section) const
{
    TStringList sections;
    ReadSections(sections);
    for (const std::string& name : sections.Items)
        if (SameText(name, section))
            return true;
    return false;
}
