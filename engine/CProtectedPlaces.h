#pragma once
// The places of a machine that no cleaner may empty, search below or remove, read from the
// system when the object is made (a place moved meanwhile is seen by the next one):
// - trees where nothing is cleaned: the Windows and system folders and Quelora's own folder;
//   below the Windows folder only the places the cleaners work in are open;
// - places that are never a whole target, though what they hold may be cleaned: the folder
//   that holds the profiles and every profile in it, the common application data, "All
//   Users", every Program Files folder and the user's document folders.
// A folder that holds any of them is protected too. Names are compared as
// CPathSafety::Resolved gives them.
#include <memory>
#include <string>
#include <vector>

class CProtectedPlaces {
public:
    CProtectedPlaces();

    // The places as read at most two seconds ago: a cleaner asking about every entry of a
    // list reads them once, and a program that runs for days still sees a place moved.
    static std::shared_ptr<const CProtectedPlaces> Recent();

    // The folder may not be emptied, searched below or removed.
    bool Covers(const std::string& folder) const;
    // A file in the folder may not be written: the folder lies in a tree where nothing is cleaned.
    bool Shelters(const std::string& folder) const;

    // The folder that the user-environment library's call of this name gives
    // (GetProfilesDirectoryA, GetAllUsersProfileDirectoryA, GetDefaultUserProfileDirectoryA);
    // "" when the system has no such call or it fails.
    static std::string UserEnvFolder(const char* call);

private:
    void AddTree(const std::string& path);
    void AddTarget(const std::string& path);
    bool InClosedTree(const std::string& folder) const;

    std::vector<std::string> Trees;
    std::vector<std::string> Open;      // below a tree, where cleaners work ("*" stands for one name)
    std::vector<std::string> Targets;
    std::vector<std::string> Profiles;  // folders whose every sub-folder is a profile
};
