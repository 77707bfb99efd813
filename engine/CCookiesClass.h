#pragma once
// The second base of the two browser cleaners: the cookie lists that the cookie window
// edits, and the browser profiles to choose from.
#include "TStringList.h"

class CCookiesClass {
public:
    virtual void SaveCookiesToKeep() = 0;
    virtual void LoadCookiesToKeep() = 0;
    virtual void ListCookies() = 0;
    virtual void SelectProfile(int) {}
    virtual void FindProfiles() {}
    virtual ~CCookiesClass() = default;

    TStringList FoundCookies;
    TStringList CookiesToKeep;
    TStringList ProfileFolders;
};
