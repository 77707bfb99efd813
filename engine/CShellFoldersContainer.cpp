#include "CShellFoldersContainer.h"

#include "CPathSafety.h"
#include "SysUtils.h"
#include "SystemVersion.h"
#include "TRegistry.h"

#include <windows.h>

#include <vector>

static std::string Expanded(const std::string& s)
{
    DWORD n = ExpandEnvironmentStringsA(s.c_str(), nullptr, 0);
    if (n == 0)
        return std::string();
    std::vector<char> buf(n + 1);
    DWORD m = ExpandEnvironmentStringsA(s.c_str(), buf.data(), n + 1);
    return (m == 0 || m > n + 1) ? std::string() : std::string(buf.data());
}

void CShellFoldersContainer::ReadShellFolders()
{
    TRegistry reg(HKEY_CURRENT_USER);
    if (reg.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\", false)) {
        Paths[AppData] = reg.ReadString("AppData");
        Paths[Cache] = reg.ReadString("Cache");
        Paths[Recent] = reg.ReadString("Recent");
        Paths[History] = reg.ReadString("History");
        Paths[Cookies] = reg.ReadString("Cookies");
        reg.CloseKey();
    }

    char win[MAX_PATH + 1];
    UINT n = GetWindowsDirectoryA(win, sizeof win);
    Paths[Windows] = (n > 0 && n < sizeof win) ? std::string(win, n) : std::string();

    unsigned long platform = SystemPlatformId();
    if (platform == VER_PLATFORM_WIN32_WINDOWS) {
        Paths[Temp] = Paths[Windows] + "\\Temp";
        Paths[Profile] = Paths[Temp];
    } else if (platform == VER_PLATFORM_WIN32_NT) {
        const std::string& cookies = Paths[Cookies];
        Paths[Profile] = cookies.size() >= 7 ? cookies.substr(0, cookies.size() - 7) : std::string();
        if (reg.OpenKey("Environment\\", false)) {
            std::string tmp = reg.ReadString("TMP");
            // A reference such as %USERPROFILE%\Local Settings\Temp: expanding it gives the
            // same folder as putting the profile path in front, whatever the name's length.
            if (!tmp.empty() && tmp[0] == '%')
                tmp = Expanded(tmp);
            Paths[Temp] = CPathSafety::IsAbsolute(tmp) ? tmp : std::string();
            reg.CloseKey();
        }
    }
}
