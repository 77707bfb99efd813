#pragma once
// Counted 8-bit strings are std::string; these are the helpers the rest of the system
// calls on them. Positions are 1-based where the name says so, as the callers count.
#include <cstdint>
#include <string>

// Substring from the 1-based position `index`, at most `count` characters; positions
// before the first character count from the first, past the end give "".
std::string Copy(const std::string& s, int index, int count);
// Everything from the 1-based position `index` to the end.
std::string CopyFrom(const std::string& s, int index);

std::string IntToStr(long long value);
// Decimal integer with optional sign and surrounding blanks; anything else raises
// EConvertError ("'x' is not a valid integer value").
int StrToInt(const std::string& s);
// The same, with `def` in place of the error.
int StrToIntDef(const std::string& s, int def);

// Path pieces. The extension runs from the last point of the name on ("" without one);
// a point inside a folder name is not an extension.
std::string ExtractFileExt(const std::string& path);
std::string ExtractFileName(const std::string& path);
std::string ExtractFilePath(const std::string& path);   // with its trailing backslash
std::string ChangeFileExt(const std::string& path, const std::string& ext);
std::string ExcludeTrailingBackslash(const std::string& path);

bool SameText(const std::string& a, const std::string& b);  // case-insensitive, ASCII
// The name matches the mask (* and ?), case-insensitively as the file system compares;
// "*.*" matches every name, also one without a point.
bool MatchesMask(const std::string& name, const std::string& mask);

bool FileExists(const std::string& path);       // a file, not a folder
bool DirectoryExists(const std::string& path);

// The current time of day in the user's long time format.
std::string CurrentTimeText();
