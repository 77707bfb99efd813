#pragma once
// The Netscape 6 / Mozilla cleaner: finds the browser's profiles through its profile
// registry file and cleans the chosen one (history, address bar, cache, cookies but the
// keep list, saved passwords). Through CCookiesClass the cookie window lists the profile's
// cookies and edits its keep list "CookiesToKeep.dat".
#include "CCleanClassPrototype.h"
#include "CCookiesClass.h"
#include "CHddClass.h"
#include "CShellFoldersContainer.h"

#include <string>
#include <vector>

class CNetCleanClass : public CCleanClassPrototype, public CCookiesClass {
public:
    // Finds the profiles at once and selects the first.
    CNetCleanClass();
    ~CNetCleanClass() override = default;

    // Also takes the profile chosen on the settings page, then loads its keep list.
    void SetOptions(CPtrContainer* options) override;
    // Runs the chosen items on the selected profile; with no valid selection shows nothing.
    void Clean() override;

    void SelectProfile(int index) override;
    void SaveCookiesToKeep() override;
    void LoadCookiesToKeep() override;
    void FindProfiles() override;
    void ListCookies() override;

    // The settings page's profile choice: an index into the profile list as the page
    // showed it, with the folder that stood there. A negative index chooses none. The
    // option block's profile combo box, where it has one, names the index instead.
    void SetChosenProfile(int index, const std::string& folder);
    // Selects that choice at once and loads its keep list, for the cookie window, which
    // must show and save the list of the profile a run cleans. An index that no longer
    // stands for the folder, or none, selects nothing: nothing is listed and nothing saved.
    void ChooseProfile(int index, const std::string& folder);

    // The strings of the profile registry file that may name a profile: each ended by its
    // NUL and shorter than the browser's 260-byte buffer; a longer run or a last string
    // without its NUL names nothing.
    static std::vector<std::string> RegistryStrings(const std::string& data);

    // The wiping record; the run sets its pass count before cleaning.
    CHddClass& Hdd() { return FHdd; }

protected:
    // One operation per item, each ending its section. They work in the selected profile,
    // so only Clean, which checks the selection first, reaches them.
    virtual void ClearHistory();
    virtual void ClearSavedPasswords();
    virtual void ClearAddressBar();
    virtual void ClearCache();
    virtual void ClearCookies();

    void RunItem(TMyRndRectBtn* item) override;

    // Where SetOptions takes the choice from: the index of the option block's profile combo
    // box (Tag 1 in its combo-box list), else the one handed over by SetChosenProfile. The
    // folder is the one handed over with that index; a choice handed over for another index
    // names no folder, and without one the folder is this object's own at the index. False
    // when there is no choice at all: the selection then stays as it is.
    virtual bool ChosenProfile(int& index, std::string& folder) const;

private:
    // A selection counts only while the list still holds, at the index, the folder that
    // was selected: after the profiles changed, an old index would name another profile,
    // whose cookies and passwords were never meant to go.
    bool HasSelection() const;
    const std::string& Profile() const { return ProfileFolders[ProfileIndex]; }
    void Select(int index, const std::string& folder);

    CShellFoldersContainer ShellFolders;
    CHddClass FHdd;
    std::string SelectedFolder;
    bool HasChosen = false;
    int ChosenIndex = -1;
    std::string ChosenFolder;
};
