#pragma once
// An ordered list of 8-bit strings, loaded from and saved to text files.
#include <string>
#include <vector>

class TStringList {
public:
    int Count() const { return static_cast<int>(Items.size()); }
    const std::string& operator[](int index) const;
    std::string& operator[](int index);
    void Add(const std::string& s) { Items.push_back(s); }
    void Insert(int index, const std::string& s);
    void Delete(int index);
    void Clear() { Items.clear(); }

    // Lines may end in CR, LF or CR LF; a last line without an end counts. Raises
    // EFOpenError when the file cannot be read.
    void LoadFromFile(const std::string& path);
    // Writes every line followed by CR LF, replacing the file only once the new lines are
    // whole on disk; the file keeps its attributes and access list. Where no new file may be
    // made beside it, or it may be written but not replaced, it is written in place. Raises
    // EFCreateError when the file cannot be created or replaced and EStreamError when it
    // cannot be written whole; the old file then stays as it was, except after a failed
    // write in place.
    void SaveToFile(const std::string& path) const;

    // Splits text into lines as LoadFromFile does.
    void SetText(const std::string& text);
    std::string Text() const;

    std::vector<std::string> Items;
};
