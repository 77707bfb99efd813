#pragma once
// A registry branch as Wine's server writes it for RegSaveKey: a section per key,
// "[path] time" followed by option lines ("#time=", "#link") and one line per value,
// "name"=data or @=data, long data continued with a '\' at the end of the line. Names and
// strings escape '\', quotes, brackets, control characters (\n, \012) and everything
// beyond ASCII (\x00e9). Saving a branch is one call to the server instead of one per key.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace wine_registry {

struct Section {
    std::string Path;  // below the saved key, escaped as in the file
    bool Link = false;
    std::string Body;  // the value lines, without the times
};

struct Value {
    std::wstring Name;  // empty for the default value
    std::string Data;   // as written after '=', continuation lines joined
};

// The file without what changes when nothing does: the header, the times of the keys.
std::string WithoutTimes(const std::string& text);

// The key and everything below it as Wine's server saves it, through a file (gone again
// afterwards); false when it could not be saved. Saving is a backup: the privilege is taken.
bool Save(HKEY key, const std::wstring& file, std::string& text);

// Turns on a privilege the process's token holds.
bool EnablePrivilege(const char* name);

// The sections by their escaped path. Keys that only lead to others have no section.
std::map<std::string, Section> Sections(const std::string& text);

// The escaped paths of the section's key and of every key above it.
std::vector<std::string> PathAndParents(const std::string& path);

std::wstring Unescape(const std::string& escaped);

std::vector<Value> Values(const std::string& body);

// The type and bytes of a value's data text; false when the text is not in Wine's format.
bool Decode(const std::string& data, DWORD& type, std::vector<BYTE>& bytes);

}  // namespace wine_registry
