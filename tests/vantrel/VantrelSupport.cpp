#include "VantrelSupport.h"

#include "TestSupport.h"

#include <windows.h>

namespace testing_support {

void SetInstallationPath(const std::string& folder)
{
    HKEY k;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrand\\Quelora\\Data", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                    nullptr);
    RegSetValueExA(k, "InstallationPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(k);
}

std::string WorkListPath()
{
    return ExeDir() + "\\cmfiles.ftd";
}

void WriteWorkList(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    WriteFileBytes(WorkListPath(), text);
}

}  // namespace testing_support
