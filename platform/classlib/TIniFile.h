#pragma once
// Reads a file in the Windows INI format through the system's profile functions: section
// and key names match without regard to case, and a missing file or key reads as the
// default. Values of any length are read whole. The name should be a full path: the system
// looks for a bare file name in the Windows folder.
#include <string>

class TStringList;

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

    const std::string& FileName() const { return FFileName; }
    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) const;
    // A value that is not a decimal integer reads as the default.
    int ReadInteger(const std::string& section, const std::string& ident, int def) const;
    // True when the file has the section, even one without keys.
    bool SectionExists(const std::string& section) const;
    // The keys of the section, in file order.
    void ReadSection(const std::string& section, TStringList& idents) const;
    // The names of every section, in file order.
    void ReadSections(TStringList& sections) const;

private:
    std::string FFileName;
};
