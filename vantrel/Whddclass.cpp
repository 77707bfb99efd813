#include "Whddclass.h"

#include "CFileEntry.h"

bool CWHddClass::DeleteAsFile(const std::string& path)
{
    // Attributes changed and given back through this handle alone: by name they could land
    // on whatever the name leads to by then.
    CFileEntry look(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | DELETE);
    if (!look.IsOpen() || (look.Attributes() & FILE_ATTRIBUTE_DIRECTORY) || !IsWhereItWasChosen(path, look))
        return false;
    const DWORD attributes = look.Attributes();
    // Only a plain file's own attributes are changed: a link's change could reach its target.
    const bool readOnly = look.Kind() == CPathSafety::ekFile && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !look.SetAttributes(FILE_ATTRIBUTE_NORMAL))
        return false;
    if (look.DeleteOnClose() || DeleteFileA(path.c_str()))
        return true;
    if (readOnly)
        look.SetAttributes(attributes);
    return false;
}

bool CWHddClass::WipeThenDelete(const std::string& path)
{
    switch (Wipe(path, awDeleteAlways)) {
    case wrDone:
        return true;
    case wrNotOpened: {
        const std::string why = WhyNotOpened();
        if (why.empty())
            return DeleteAsFile(path);   // nothing there, or a link that went no other way
        if (why == "not a file") {
            TellLeft(path, "not a file: left");
            return false;
        }
        const bool gone = DeleteAsFile(path);
        TellLeft(path, gone ? "deleted without overwriting: " + why : why + ": left");
        return gone;
    }
    default:
        return false;
    }
}
