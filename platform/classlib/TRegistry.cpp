#include "TRegistry.h"

#include "Exceptions.h"
#include "TStringList.h"

static std::string Trimmed(const std::string& key)
{
    size_t b = 0, e = key.size();
    while (b < e && key[b] == '\\')
        ++b;
    while (e > b && key[e - 1] == '\\')
        --e;
    return key.substr(b, e - b);
}

static bool IsAbsoluteKey(const std::string& key)
{
    return !key.empty() && key[0] == '\\';
}

void TRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    RootKey = root;
}

HKEY TRegistry::BaseFor(const std::string& key) const
{
    return (Key && !IsAbsoluteKey(key)) ? Key : RootKey;
}

std::string TRegistry::FullPath(const std::string& key) const
{
    std::string rel = Trimmed(key);
    if (Key && !IsAbsoluteKey(key) && !Path.empty())
        return rel.empty() ? Path : Path + "\\" + rel;
    return rel;
}

bool TRegistry::Open(const std::string& key, bool canCreate, REGSAM access)
{
    HKEY result = nullptr;
    std::string rel = Trimmed(key);
    LONG rc;
    if (canCreate)
        rc = RegCreateKeyExA(BaseFor(key), rel.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             access, nullptr, &result, nullptr);
    else
        rc = RegOpenKeyExA(BaseFor(key), rel.c_str(), 0, access, &result);
    if (rc != ERROR_SUCCESS)
        return false;
    std::string path = FullPath(key);
    CloseKey();
    Key = result;
    Path = path;
    return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate)
{
    return Open(key, canCreate, KEY_ALL_ACCESS);
}

bool TRegistry::OpenKeyReadOnly(const std::string& key)
{
    return Open(key, false, KEY_READ);
}

bool TRegistry::OpenKeyWriteOnly(const std::string& key, bool canCreate)
{
    return Open(key, canCreate, KEY_WRITE);
}

void TRegistry::CloseKey()
{
    if (Key)
        RegCloseKey(Key);
    Key = nullptr;
    Path.clear();
}

bool TRegistry::KeyExists(const std::string& key)
{
    HKEY k = nullptr;
    if (RegOpenKeyExA(BaseFor(key), Trimmed(key).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    RegCloseKey(k);
    return true;
}

bool TRegistry::ValueExists(const std::string& name) const
{
    return GetDataSize(name) >= 0;
}

// RegDeleteKey removes only keys without subkeys on the NT family; walk the tree ourselves.
static bool DeleteTreeBelow(HKEY parent, const std::string& name)
{
    HKEY k = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS)
        return false;
    for (;;) {
        char sub[256];
        DWORD len = sizeof sub;
        // Always the first subkey: the indices move as keys are removed.
        if (RegEnumKeyExA(k, 0, sub, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!DeleteTreeBelow(k, sub))
            break;
    }
    RegCloseKey(k);
    return RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::DeleteKey(const std::string& key)
{
    std::string rel = Trimmed(key);
    if (rel.empty())
        return false;
    return DeleteTreeBelow(BaseFor(key), rel);
}

bool TRegistry::DeleteValue(const std::string& name)
{
    return Key && RegDeleteValueA(Key, name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::Query(const std::string& name, DWORD& type, std::vector<BYTE>& data) const
{
    if (!Key)
        return false;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExA(Key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return false;
        data.resize(size);
        LONG rc = RegQueryValueExA(Key, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            return true;
        }
        if (rc != ERROR_MORE_DATA)  // the value grew in between: ask again
            return false;
    }
    return false;
}

std::string TRegistry::ReadString(const std::string& name) const
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!Query(name, type, data))
        return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException("Invalid data type for '" + name + "'");
    std::string s(data.begin(), data.end());
    size_t nul = s.find('\0');
    if (nul != std::string::npos)
        s.resize(nul);
    return s;
}

int TRegistry::ReadInteger(const std::string& name) const
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!Query(name, type, data) || type != REG_DWORD || data.size() != sizeof(DWORD))
        throw ERegistryException("Invalid data type for '" + name + "'");
    DWORD v = 0;
    memcpy(&v, data.data(), sizeof v);
    return static_cast<int>(v);
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int size) const
{
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!Query(name, type, data) || (type != REG_BINARY && type != REG_NONE))
        throw ERegistryException("Invalid data type for '" + name + "'");
    if (size < 0 || data.size() > static_cast<size_t>(size))
        throw ERegistryException("Invalid data size for '" + name + "'");
    if (!data.empty())
        memcpy(buffer, data.data(), data.size());
    return static_cast<int>(data.size());
}

int TRegistry::GetDataSize(const std::string& name) const
{
    DWORD size = 0;
    if (!Key || RegQueryValueExA(Key, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return -1;
    return static_cast<int>(size);
}

void TRegistry::Write(const std::string& name, DWORD type, const void* data, DWORD size)
{
    if (!Key || RegSetValueExA(Key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        throw ERegistryException("Failed to set data for '" + name + "'");
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    Write(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value)
{
    Write(name, REG_EXPAND_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void TRegistry::WriteInteger(const std::string& name, int value)
{
    DWORD v = static_cast<DWORD>(value);
    Write(name, REG_DWORD, &v, sizeof v);
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int size)
{
    if (size < 0)
        throw ERegistryException("Failed to set data for '" + name + "'");
    Write(name, REG_BINARY, buffer, static_cast<DWORD>(size));
}

// Names of the open key's values or subkeys, in the registry's order.
static void ListNames(HKEY key, bool values, TStringList& names)
{
    names.Clear();
    DWORD keys = 0, keyLen = 0, vals = 0, valLen = 0;
    if (!key || RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &keys, &keyLen, nullptr, &vals, &valLen,
                                 nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    DWORD count = values ? vals : keys;
    std::vector<char> buf((values ? valLen : keyLen) + 2);
    for (DWORD i = 0; i < count; ++i) {
        DWORD len = static_cast<DWORD>(buf.size());
        LONG rc = values ? RegEnumValueA(key, i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr)
                         : RegEnumKeyExA(key, i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_SUCCESS)
            names.Add(std::string(buf.data(), len));
    }
}

void TRegistry::GetValueNames(TStringList& names) const
{
    ListNames(Key, true, names);
}

void TRegistry::GetKeyNames(TStringList& names) const
{
    ListNames(Key, false, names);
}
