#pragma once
// Which folders a cleaner may work in. Entry paths are built as folder + "\" + name, so an
// empty folder would enumerate "\*.*", the root of the current drive, and a missing
// shell-folder value would empty a whole drive. Every folder a cleaner takes is tested here.
#include <string>

class CPathSafety {
public:
    // A full path: a drive letter with ":\" or a "\\server\share" name, and no "." or ".."
    // part that could lead elsewhere than it reads.
    static bool IsAbsolute(const std::string& path);
    // A folder that must never be emptied or searched below: a drive or share root, the
    // Windows folder or the system folder.
    static bool IsProtectedFolder(const std::string& folder);
    // Absolute and not protected: a folder whose whole tree may be collected or deleted.
    static bool IsTreeAllowed(const std::string& folder);
};
