#pragma once
// Which folders a cleaner may work in. Entry paths are built as folder + "\" + name, so an
// empty folder would enumerate "\*.*", the root of the current drive, and a missing
// shell-folder value would empty a whole drive. Every folder a cleaner takes is tested here.
#include <string>

class CProtectedPlaces;

class CPathSafety {
public:
    // A full path: a drive letter with ":\" or a "\\server\share" name, and no "." or ".."
    // part that could lead elsewhere than it reads, nor a ':' after the drive (a stream), nor
    // a part ending in a dot or a blank (the system would open the name without them).
    static bool IsAbsolute(const std::string& path);
    // A folder that must never be emptied, searched below or removed: a drive or share root,
    // one of the protected places (CProtectedPlaces), or a folder holding one of them.
    // Compared as the system resolves the name, so no other spelling of them passes. The
    // forms without places take them as read lately (CProtectedPlaces::Recent).
    static bool IsProtectedFolder(const std::string& folder);
    static bool IsProtectedFolder(const std::string& folder, const CProtectedPlaces& places);
    // Absolute and not protected: a folder whose whole tree may be collected or deleted.
    // A protected one is told to the refusal log.
    static bool IsTreeAllowed(const std::string& folder);
    static bool IsTreeAllowed(const std::string& folder, const CProtectedPlaces& places);
    // A file chosen by its full name may be written: absolute, and its folder lies in no tree
    // where nothing is cleaned (the Windows folder, Quelora's own). A refused one is told.
    static bool IsFileAllowed(const std::string& path, const CProtectedPlaces& places);

    // Where refusals of absolute names are told (the run log); none by default.
    using TRefusalLog = void (*)(const std::string& path);
    static void SetRefusalLog(TRefusalLog log);

    // The name as the system resolves it, for comparing only: "\\?\", "\\.\" and admin-share
    // forms turned into drive paths, separators single, trailing dots and blanks dropped,
    // "." and ".." applied, short names made long, no trailing backslash but at a root.
    static std::string Resolved(const std::string& path);
    // The same, with every link on the way followed, where the system can say so ("" where
    // it cannot): a junction above a folder must not hide the Windows folder behind it.
    static std::string FinalPath(const std::string& folder);
    // Whether a resolved path is the folder or lies below it, by whole names (both as
    // Resolved or FinalPath give them; case does not count). Nothing lies below "".
    static bool LiesBelow(const std::string& path, const std::string& folder);

    // What an entry is, from its attributes and reparse tag: only name surrogates (symbolic
    // links, junctions) are links; other reparse points (deduplicated, cloud, compressed)
    // hold their own data. A tag that could not be read is unknown: never written through,
    // never removed as a link.
    enum TEntryKind { ekFile, ekFolder, ekLink, ekDataReparseFile, ekDataReparseFolder, ekUnknown };
    static TEntryKind KindOf(unsigned long attributes, unsigned long reparseTag);

private:
    static void TellRefusal(const std::string& path);
};
