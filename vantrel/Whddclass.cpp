#include "Whddclass.h"

#include "CFileEntry.h"

bool CWHddClass::DeleteAsFile(const std::string& path)
{
    DWORD attributes;
    bool plain;
    {
        CFileEntry look(path);
        if (!look.IsOpen() || (look.Attributes() & FILE_ATTRIBUTE_DIRECTORY))
            return false;
        attributes = look.Attributes();
        plain = look.Kind() == CPathSafety::ekFile;
    }
    // Only a plain file's own attributes are changed: a link's change could reach its target.
    const bool readOnly = plain && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly)
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.c_str()))
        return true;
    if (readOnly)
        SetFileAttributesA(path.c_str(), attributes);
    return false;
}

bool CWHddClass::WipeThenDelete(const std::string& path)
{
    switch (Wipe(path, awDeleteAlways)) {
    case wrDone:
        return true;
    case wrNotOpened:
        return DeleteAsFile(path);
    default:
        return false;
    }
}
