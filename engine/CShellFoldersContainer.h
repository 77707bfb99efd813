#pragma once
// The current user's folders that hold browsing and work traces, read once when built.
#include <string>

class CShellFoldersContainer {
public:
    enum Index {
        AppData = 0,
        Cache = 1,
        Temp = 2,
        Cookies = 4,
        History = 6,
        Recent = 11,
        Windows = 13,
        Profile = 15,
        Count = 16
    };

    CShellFoldersContainer() { ReadShellFolders(); }
    const std::string& operator[](int index) const { return Paths[index]; }

private:
    void ReadShellFolders();
    std::string Paths[Count];
};
