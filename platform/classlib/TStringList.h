#pragma once
// An ordered list of 8-bit strings, loaded from and saved to text files.
#include <windows.h>

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
    // made beside it (access denied), or it may be written but not replaced, it is written in
    // place. Raises EFCreateError when the file cannot be created or replaced and
    // EStreamError when it cannot be written whole; the old file then stays as it was, except
    // after a failed write in place, which leaves the part written and nothing after it.
    void SaveToFile(const std::string& path) const;
    // The rest of a save whose ReplaceFile failed with `error`, the whole text lying in the
    // new file `written` beside `path`: where the old file is no longer at its name, the new
    // one takes it, as it is then the one whole copy.
    static void FinishFailedReplace(const std::string& path, const std::string& written, const std::string& text,
                                    DWORD error);

    // Splits text into lines as LoadFromFile does.
    void SetText(const std::string& text);
    std::string Text() const;

    std::vector<std::string> Items;
};
