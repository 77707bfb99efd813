#include "TM_RegistryExFunctions.h"

#include "TRegistry.h"

#include <climits>

int TM_RegistryExFunctions::GetKeySize(TRegistry& reg, const std::string& key)
{
    Total = 0;
    return SumKeySize(reg, key);
}

int TM_RegistryExFunctions::SumKeySize(TRegistry& reg, const std::string& key)
{
    std::string previous = reg.CurrentPath();
    bool hadKey = reg.CurrentKey() != nullptr;
    reg.CloseKey();
    SumTree(reg, key);
    reg.CloseKey();
    if (hadKey)
        reg.OpenKey("\\" + previous, false);
    return Total;
}

void TM_RegistryExFunctions::SumTree(TRegistry& reg, const std::string& key)
{
    if (!reg.OpenKey("\\" + key, false))
        return;
    reg.GetValueNames(ValueNames);
    for (int i = 0; i < ValueNames.Count(); ++i) {
        int size = reg.GetDataSize(ValueNames[i]);
        if (size > 0)
            Total = size > INT_MAX - Total ? INT_MAX : Total + size;
    }
    // The work list is shared by every level: keep this level's names before descending.
    reg.GetKeyNames(KeyNames);
    TStringList subkeys = KeyNames;
    std::string base = reg.CurrentPath();
    for (int i = 0; i < subkeys.Count(); ++i)
        SumTree(reg, base + "\\" + subkeys[i]);
}
