#pragma once
// Measures how many bytes of value data a registry key and every key below it hold, so
// that a cleaner can report the size of registry data before deleting it.
#include "TStringList.h"

#include <string>

class TRegistry;

class TM_RegistryExFunctions {
public:
    virtual ~TM_RegistryExFunctions() = default;

    // Starts a new measurement with the key.
    int GetKeySize(TRegistry& reg, const std::string& key);
    // Adds the key to the measurement; the registry object's open key is open again after.
    int SumKeySize(TRegistry& reg, const std::string& key);

private:
    void SumTree(TRegistry& reg, const std::string& key);

    TStringList KeyNames;
    TStringList ValueNames;
    int Total = 0;
};
