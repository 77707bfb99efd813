// The sandbox undoes registry changes from what Wine's server writes for RegSaveKey: the
// reading of that format must give back every name and value exactly as it was written.
#include "WineRegistryFile.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <map>
#include <string>
#include <vector>

namespace {

const wchar_t Base[] = L"Software\\QueloraTest\\Saved";

struct Written {
    DWORD Type;
    std::vector<BYTE> Data;
};

std::vector<BYTE> Bytes(const std::wstring& s, size_t chars)
{
    const BYTE* p = reinterpret_cast<const BYTE*>(s.data());
    return std::vector<BYTE>(p, p + chars * sizeof(wchar_t));
}

// Every kind of value, with names and strings that need escaping, and data long enough to
// be continued over several lines. (A string without its terminating NUL is written like one
// with it: Wine itself reads it back terminated.)
std::map<std::wstring, Written> Sample()
{
    std::vector<BYTE> binary(200);
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<BYTE>(i * 7);
    const std::wstring text = L"tab\there \"quoted\" back\\slash caf\u00e9 [x] \u00e95";
    const std::wstring multi(L"one\0two\0\0", 9);
    const DWORD dword = 0x01020304;
    const ULONGLONG qword = 0x0102030405060708ull;
    return {{L"", {REG_SZ, Bytes(L"default", 8)}},
            {L"text \"q\" \\ caf\u00e9", {REG_SZ, Bytes(text, text.size() + 1)}},
            {L"expand", {REG_EXPAND_SZ, Bytes(L"%TEMP%\\x", 9)}},
            {L"multi", {REG_MULTI_SZ, Bytes(multi, multi.size())}},
            {L"dword", {REG_DWORD, {reinterpret_cast<const BYTE*>(&dword), reinterpret_cast<const BYTE*>(&dword) + 4}}},
            {L"qword", {REG_QWORD, {reinterpret_cast<const BYTE*>(&qword), reinterpret_cast<const BYTE*>(&qword) + 8}}},
            {L"binary", {REG_BINARY, binary}},
            {L"empty", {REG_BINARY, {}}}};
}

}  // namespace

TEST(WineRegistryFile, EveryValueReadsBackAsWritten)
{
    SHDeleteKeyW(HKEY_CURRENT_USER, Base);
    HKEY key, below;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Base, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::map<std::wstring, Written> sample = Sample();
    for (const auto& v : sample)
        ASSERT_EQ(RegSetValueExW(key, v.first.c_str(), 0, v.second.Type, v.second.Data.data(),
                                 static_cast<DWORD>(v.second.Data.size())),
                  ERROR_SUCCESS);
    const std::wstring odd = L"odd ]name[ caf\u00e9\\deeper";
    ASSERT_EQ(RegCreateKeyExW(key, odd.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &below, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(below);

    std::string text;
    ASSERT_TRUE(wine_registry::Save(key, L"C:\\saved.reg", text)) << "error " << GetLastError();
    RegCloseKey(key);
    SHDeleteKeyW(HKEY_CURRENT_USER, Base);

    const auto sections = wine_registry::Sections(text);
    ASSERT_EQ(sections.count(""), 1u) << "the saved key's own values:\n" << text;
    std::map<std::wstring, std::string> values;
    for (const wine_registry::Value& v : wine_registry::Values(sections.at("").Body))
        values[v.Name] = v.Data;
    EXPECT_EQ(values.size(), sample.size()) << text;
    for (const auto& want : sample) {
        auto got = values.find(want.first);
        ASSERT_NE(got, values.end()) << "no value named " << testing::PrintToString(want.first) << " in\n" << text;
        DWORD type = 0;
        std::vector<BYTE> data;
        EXPECT_TRUE(wine_registry::Decode(got->second, type, data)) << got->second;
        EXPECT_EQ(type, want.second.Type) << got->second;
        EXPECT_EQ(data, want.second.Data) << got->second;
    }
    // The deepest key has a section; the one above it only leads there.
    std::wstring found;
    for (const auto& s : sections) {
        std::vector<std::string> up = wine_registry::PathAndParents(s.first);
        if (up.size() == 2)
            found = wine_registry::Unescape(up[0]) + L"|" + wine_registry::Unescape(up[1]);
    }
    EXPECT_EQ(found, L"odd ]name[ caf\u00e9|odd ]name[ caf\u00e9\\deeper") << text;
}

TEST(WineRegistryFile, OnlyTheTimesOfKeysAreLeftOut)
{
    const std::string before = "WINE REGISTRY Version 2\n;; All keys relative to X\n\n#arch=win64\n\n"
                               "[A\\\\B] 1700000000\n#time=1d9aaaa\n\"v\"=\"1\"\n\n[A\\\\C\\]] 1700000001\n";
    const std::string later = "WINE REGISTRY Version 2\n;; All keys relative to X\n\n#arch=win64\n\n"
                              "[A\\\\B] 1800000000\n#time=1dbbbbb\n\"v\"=\"1\"\n\n[A\\\\C\\]] 1800000009\n";
    EXPECT_EQ(wine_registry::WithoutTimes(before), wine_registry::WithoutTimes(later));
    std::string changed = later;
    changed.replace(changed.find("\"1\""), 3, "\"2\"");
    EXPECT_NE(wine_registry::WithoutTimes(before), wine_registry::WithoutTimes(changed));
    EXPECT_EQ(wine_registry::WithoutTimes(before), "[A\\\\B]\n\"v\"=\"1\"\n\n[A\\\\C\\]]\n");
}
