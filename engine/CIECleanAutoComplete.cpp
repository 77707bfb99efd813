// AutoComplete data, the start page and the URL prefixes of Internet Explorer: four registry
// operations, each the whole work of one item of the group.
#include "CIECleanClass.h"

#include "CIndicatorClass.h"
#include "SystemVersion.h"

#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

const char IntelliFormsKey[] = "\\Software\\Microsoft\\Internet Explorer\\IntelliForms\\";
const char StartPageKey[] = "\\Software\\Microsoft\\Internet Explorer\\Main\\";
const char DefaultPrefixKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\URL\\DefaultPrefix\\";
const char PrefixesKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes\\";
// Protected Storage keeps each user's data under a key named after the user: the SID text
// in the current user's hive, the user name in the machine's.
const char ProviderKey[] = "Software\\Microsoft\\Protected Storage System Provider\\";
// The data type under which Internet Explorer stores its AutoComplete entries.
const char AutoCompleteData[] = "\\Data\\e161255a-37c3-11d2-bcaa-00c04fd929db";

// The SID of the user the process runs as; empty when the token does not tell.
std::vector<BYTE> ProcessUserSid()
{
    std::vector<BYTE> sid;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return sid;
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenUser, nullptr, 0, &size) && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        std::vector<BYTE> info(size);
        if (GetTokenInformation(token, TokenUser, info.data(), size, &size)) {
            PSID user = reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid;
            sid.resize(GetLengthSid(user));
            if (!CopySid(static_cast<DWORD>(sid.size()), sid.data(), user))
                sid.clear();
        }
    }
    CloseHandle(token);
    return sid;
}

// "S-1-", the authority's last byte, then "-" and each sub-authority: the usual string form
// for every SID whose authority fits in a byte, which is all that name users.
std::string SidText(PSID sid)
{
    std::string text = "S-1-" + std::to_string(GetSidIdentifierAuthority(sid)->Value[5]);
    const BYTE count = *GetSidSubAuthorityCount(sid);
    for (BYTE i = 0; i < count; ++i)
        text += "-" + std::to_string(*GetSidSubAuthority(sid, i));
    return text;
}

// An access list that lets the user and the system do anything with a key and with the keys
// below it, in an absolute descriptor ready for RegSetKeySecurity.
class FullAccess {
public:
    explicit FullAccess(PSID user)
    {
        // LocalSystem, S-1-5-18: a SID with one sub-authority is exactly the structure.
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        SID system = {};
        if (!InitializeSid(&system, &nt, 1))
            return;
        *GetSidSubAuthority(&system, 0) = SECURITY_LOCAL_SYSTEM_RID;
        // The list's header and each entry's header and mask take 8 bytes each.
        const DWORD size = GetLengthSid(user) + GetLengthSid(&system) + 24;
        List.resize((size + sizeof(DWORD) - 1) / sizeof(DWORD));
        PACL acl = reinterpret_cast<PACL>(List.data());
        Valid = InitializeAcl(acl, size, ACL_REVISION) && Allow(acl, user) && Allow(acl, &system) &&
                InitializeSecurityDescriptor(&Descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                SetSecurityDescriptorDacl(&Descriptor, TRUE, acl, FALSE);
    }

    FullAccess(const FullAccess&) = delete;
    FullAccess& operator=(const FullAccess&) = delete;

    bool Valid = false;
    SECURITY_DESCRIPTOR Descriptor = {};   // points into List

private:
    // AddAccessAllowedAceEx is missing on NT 4: add the entry, then make it inheritable.
    static bool Allow(PACL acl, PSID sid)
    {
        void* ace = nullptr;
        if (!AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, sid) ||
            !GetAce(acl, acl->AceCount - 1, &ace))
            return false;
        static_cast<ACE_HEADER*>(ace)->AceFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        return true;
    }

    std::vector<DWORD> List;
};

// The key's access list as a self-relative descriptor; empty when it cannot be read.
std::vector<BYTE> SaveAccessList(const std::string& key)
{
    std::vector<BYTE> saved;
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, READ_CONTROL, &k) != ERROR_SUCCESS)
        return saved;
    DWORD size = 0;
    if (RegGetKeySecurity(k, DACL_SECURITY_INFORMATION, nullptr, &size) == ERROR_INSUFFICIENT_BUFFER) {
        saved.resize(size);
        if (RegGetKeySecurity(k, DACL_SECURITY_INFORMATION, saved.data(), &size) != ERROR_SUCCESS)
            saved.clear();
    }
    RegCloseKey(k);
    return saved;
}

bool SetAccessList(const std::string& key, PSECURITY_DESCRIPTOR descriptor)
{
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, WRITE_DAC, &k) != ERROR_SUCCESS)
        return false;
    bool set = RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    RegCloseKey(k);
    return set;
}

// A key before its subkeys: only once the key is open to us can its subkeys be listed.
void SetAccessListOnTree(const std::string& key, PSECURITY_DESCRIPTOR descriptor)
{
    if (!SetAccessList(key, descriptor))
        return;
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return;
    DWORD count = 0;
    if (RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) == ERROR_SUCCESS) {
        for (DWORD i = 0; i < count; ++i) {
            char name[MAX_PATH + 1];
            LONG rc = RegEnumKeyA(k, i, name, sizeof name);
            if (rc == ERROR_NO_MORE_ITEMS)
                break;
            if (rc == ERROR_SUCCESS)
                SetAccessListOnTree(key + "\\" + name, descriptor);
        }
    }
    RegCloseKey(k);
}

// Protected Storage guards the user's keys with access lists that shut the user out, so
// the AutoComplete data can only go after the user has been let in. The keys that stay are
// given their own lists back; one whose list cannot be read is left as it is.
void ClearUserAutoComplete()
{
    std::vector<BYTE> sid = ProcessUserSid();
    if (sid.empty())
        return;
    const std::string userKey = ProviderKey + SidText(sid.data());
    const std::string dataKey = userKey + "\\Data";
    const std::string autoComplete = userKey + AutoCompleteData;
    std::vector<BYTE> savedUser = SaveAccessList(userKey);
    std::vector<BYTE> savedData = SaveAccessList(dataKey);
    FullAccess open(sid.data());
    if (open.Valid) {
        if (!savedUser.empty())
            SetAccessList(userKey, &open.Descriptor);
        if (!savedData.empty())
            SetAccessList(dataKey, &open.Descriptor);
        SetAccessListOnTree(autoComplete, &open.Descriptor);
        SHDeleteKeyA(HKEY_CURRENT_USER, autoComplete.c_str());
    }
    if (!savedData.empty())
        SetAccessList(dataKey, savedData.data());
    if (!savedUser.empty())
        SetAccessList(userKey, savedUser.data());
}

// The registry object is shared by every operation of the cleaner, and the others expect
// the current user's hive: a machine-wide step puts it back, also when a write raises.
class MachineHive {
public:
    explicit MachineHive(TRegistry& reg) : Reg(reg) { Reg.SetRootKey(HKEY_LOCAL_MACHINE); }
    ~MachineHive() { Reg.SetRootKey(HKEY_CURRENT_USER); }
    MachineHive(const MachineHive&) = delete;
    MachineHive& operator=(const MachineHive&) = delete;

private:
    TRegistry& Reg;
};

}  // namespace

void CIECleanClass::ClearIntelliForms()
{
    Reg->SetRootKey(HKEY_CURRENT_USER);
    int size = Meter.GetKeySize(*Reg, IntelliFormsKey);
    Reg->DeleteKey(IntelliFormsKey);
    Indicator->AddBytes(size);
    Indicator->ShowClearing();
    EndClearing();
}

void CIECleanClass::ClearProtectedStorage()
{
    // Windows 9x keeps no access lists, and no per-user key in the current user's hive.
    if (IsWin2000OrLater() || IsWinNT4OrOlder())
        ClearUserAutoComplete();
    char user[260];
    DWORD size = sizeof user;
    // Without a name the key below would be the provider's own Data key.
    if (GetUserNameA(user, &size) && user[0])
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, (ProviderKey + std::string(user) + AutoCompleteData).c_str());
    Indicator->ShowClearing();
    EndClearing();
}

void CIECleanClass::ResetStartPage()
{
    // A key that cannot be opened for writing leaves the write to raise.
    Reg->SetRootKey(HKEY_CURRENT_USER);
    Reg->OpenKey(StartPageKey, true);
    Reg->WriteString("Start Page", "about:blank");
    Reg->CloseKey();
    Indicator->ShowClearing();
    EndClearing();
}

void CIECleanClass::RestoreUrlPrefixes()
{
    {
        MachineHive machine(*Reg);
        Reg->OpenKey(DefaultPrefixKey, true);
        Reg->WriteString("", "http://");
        Reg->CloseKey();
        Reg->OpenKey(PrefixesKey, true);
        Reg->WriteString("ftp", "ftp://");
        Reg->WriteString("gopher", "gopher://");
        Reg->WriteString("home", "http://");
        Reg->WriteString("mosaic", "http://");
        Reg->WriteString("www", "http://");
    }
    Indicator->ShowClearing();
    EndClearing();
}
