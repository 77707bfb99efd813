#pragma once
// One open registry key below a chosen root. Key paths that start with a backslash are
// taken from the root; others from the key that is open, or from the root when none is.
#include <windows.h>

#include <string>
#include <vector>

class TStringList;

class TRegistry {
public:
    explicit TRegistry(HKEY root = HKEY_CURRENT_USER) : RootKey(root) {}
    ~TRegistry() { CloseKey(); }
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    void SetRootKey(HKEY root);
    HKEY GetRootKey() const { return RootKey; }
    HKEY CurrentKey() const { return Key; }
    const std::string& CurrentPath() const { return Path; }

    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    // For writing values only (and making the key when asked): enough where the user may
    // write the key but not change its access list.
    bool OpenKeyWriteOnly(const std::string& key, bool canCreate = false);
    void CloseKey();

    bool KeyExists(const std::string& key);
    bool ValueExists(const std::string& name) const;
    // Removes the key with every key below it.
    bool DeleteKey(const std::string& key);
    bool DeleteValue(const std::string& name);

    // A missing value reads as ""; a value of another kind raises ERegistryException.
    std::string ReadString(const std::string& name) const;
    // A missing value or one of another kind raises ERegistryException.
    int ReadInteger(const std::string& name) const;
    // Copies up to `size` bytes and returns how many there were; raises as ReadInteger.
    int ReadBinaryData(const std::string& name, void* buffer, int size) const;
    // Size in bytes of a value's data, -1 when it does not exist.
    int GetDataSize(const std::string& name) const;

    // Every write raises ERegistryException when it fails.
    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    void WriteBinaryData(const std::string& name, const void* buffer, int size);

    void GetValueNames(TStringList& names) const;
    void GetKeyNames(TStringList& names) const;

private:
    bool Open(const std::string& key, bool canCreate, REGSAM access);
    HKEY BaseFor(const std::string& key) const;
    std::string FullPath(const std::string& key) const;
    bool Query(const std::string& name, DWORD& type, std::vector<BYTE>& data) const;
    void Write(const std::string& name, DWORD type, const void* data, DWORD size);

    HKEY RootKey;
    HKEY Key = nullptr;
    std::string Path;
};
