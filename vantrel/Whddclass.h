#pragma once
// Vantrel's wiping record: the engine's, with one pass, its own cancel event, no file passed
// over for its name, and read-only sub-folders cleared so that a chosen tree goes whole.
#include "CHddClass.h"

#include <windows.h>

#include <string>

class CWHddClass : public CHddClass {
public:
    explicit CWHddClass(HANDLE cancelEvent)
    {
        PassCount = 1;
        CancelEvent = cancelEvent;
        SkipDesktopIni = false;
        ClearReadOnlyFolders = true;
        TellEveryUnwritten = true;
    }

    // Deletes the path as a file whatever the overwrite did: a file whose overwrite was
    // cancelled goes in its partly written state. A read-only file is cleared first and
    // gets its attributes back when it stays; a link goes as the link; a folder stays.
    // Like a wipe, it leaves a file whose handle leads elsewhere than it was chosen.
    bool DeleteAsFile(const std::string& path);
    // Overwrites the path and deletes it on the handle that wrote it, whatever the
    // overwrite did (a cancelled file goes partly written, its written part flushed first);
    // a path that could not be opened alone is deleted as a file. A file refused on purpose
    // (found below a folder it no longer lies below, or a name that led to another file than
    // the one looked at) stays, also through the folder phase's tree deletes. Every file
    // left, or deleted without being overwritten, is told to OnRefused with the reason.
    bool WipeThenDelete(const std::string& path);
};
