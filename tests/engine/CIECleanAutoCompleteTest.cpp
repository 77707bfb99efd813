#include "CIECleanClass.h"
#include "CleanerTestSupport.h"
#include "Exceptions.h"
#include "MyGraphicLabel.h"
#include "SystemVersion.h"
#include "TCGauge.h"
#include "TRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

const Item Passwords{8, "AutoComplete passwords"};
const Item Forms{9, "AutoComplete forms"};
const Item HomePage{10, "Home page"};
const Item Prefixes{11, "Restoring URL prefixes"};

const std::string Provider = "Software\\Microsoft\\Protected Storage System Provider\\";
const std::string AutoCompleteGuid = "e161255a-37c3-11d2-bcaa-00c04fd929db";
const std::string OtherGuid = "5e7e8100-9138-11d1-945a-00c04fc308ff";
const std::string IntelliForms = "Software\\Microsoft\\Internet Explorer\\IntelliForms";
const std::string MainKey = "Software\\Microsoft\\Internet Explorer\\Main";
const std::string DefaultPrefixKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\URL\\DefaultPrefix";
const std::string PrefixesKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\URL\\Prefixes";
// Where a program started as another Windows version reports what it saw.
const std::string ChildReport = "Software\\Quelora Tests\\AutoComplete child";

void Put(HKEY root, const std::string& key, const std::string& name, const std::string& value)
{
    TRegistry reg(root);
    ASSERT_TRUE(reg.OpenKey(key, true)) << key;
    reg.WriteString(name, value);
}

void PutBinary(HKEY root, const std::string& key, const std::string& name, int size)
{
    TRegistry reg(root);
    ASSERT_TRUE(reg.OpenKey(key, true)) << key;
    std::string data(static_cast<size_t>(size), 'x');
    reg.WriteBinaryData(name, data.data(), size);
}

// A string value as stored: "<missing>", or "<type N>" for a value of another kind.
std::string Value(HKEY root, const std::string& key, const std::string& name)
{
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return "<missing>";
    char data[512] = {};
    DWORD type = 0, size = sizeof data - 1;
    LONG rc = RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS)
        return "<missing>";
    if (type != REG_SZ)
        return "<type " + std::to_string(type) + ">";
    return data;
}

// What opening the key with this access gives: 0, 2 (no such key) or 5 (denied).
LONG OpenResult(HKEY root, const std::string& key, REGSAM access)
{
    HKEY k = nullptr;
    LONG rc = RegOpenKeyExA(root, key.c_str(), 0, access, &k);
    if (rc == ERROR_SUCCESS)
        RegCloseKey(k);
    return rc;
}

// Whether the key is there, however its access list is set.
bool Exists(HKEY root, const std::string& key)
{
    return OpenResult(root, key, READ_CONTROL) != ERROR_FILE_NOT_FOUND;
}

std::string UserSidText()
{
    HANDLE token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    std::vector<BYTE> info(1024);
    DWORD size = 0;
    EXPECT_TRUE(GetTokenInformation(token, TokenUser, info.data(), static_cast<DWORD>(info.size()), &size));
    CloseHandle(token);
    char* text = nullptr;
    EXPECT_TRUE(ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(info.data())->User.Sid, &text));
    std::string sid = text ? text : "";
    LocalFree(text);
    return sid;
}

std::string UserName()
{
    char name[260] = {};
    DWORD size = sizeof name;
    EXPECT_TRUE(GetUserNameA(name, &size));
    return name;
}

// Puts the access list, and the owner when the text names one, given in the system's
// descriptor language.
void Secure(HKEY root, const std::string& key, const std::string& sddl)
{
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
        << sddl;
    const bool owner = sddl.compare(0, 2, "O:") == 0;
    HKEY k = nullptr;
    LONG rc = RegOpenKeyExA(root, key.c_str(), 0, WRITE_DAC | (owner ? WRITE_OWNER : 0), &k);
    if (rc == ERROR_SUCCESS) {
        rc = RegSetKeySecurity(k, DACL_SECURITY_INFORMATION | (owner ? OWNER_SECURITY_INFORMATION : 0), sd);
        RegCloseKey(k);
    }
    LocalFree(sd);
    ASSERT_EQ(rc, ERROR_SUCCESS) << key << " given " << sddl;
}

// An access list: its bytes to compare, and its text for the messages.
struct AccessList {
    std::string Bytes;
    std::string Text;
    bool operator==(const AccessList& o) const { return Bytes == o.Bytes; }
};

AccessList ListOf(PSECURITY_DESCRIPTOR sd)
{
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    if (!GetSecurityDescriptorDacl(sd, &present, &acl, &defaulted) || !present || !acl)
        return {"", "<no list>"};
    char* text = nullptr;
    ConvertSecurityDescriptorToStringSecurityDescriptorA(sd, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text,
                                                         nullptr);
    AccessList list{std::string(reinterpret_cast<const char*>(acl), acl->AclSize), text ? text : "?"};
    LocalFree(text);
    return list;
}

AccessList ListOf(HKEY root, const std::string& key)
{
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, READ_CONTROL, &k) != ERROR_SUCCESS)
        return {"", "<unreadable>"};
    DWORD size = 0;
    RegGetKeySecurity(k, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<BYTE> sd(size ? size : 1);
    LONG rc = RegGetKeySecurity(k, DACL_SECURITY_INFORMATION, sd.data(), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS)
        return {"", "<unreadable>"};
    return ListOf(sd.data());
}

AccessList ListOf(const std::string& sddl)
{
    PSECURITY_DESCRIPTOR sd = nullptr;
    EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr));
    AccessList list = ListOf(sd);
    LocalFree(sd);
    return list;
}

// The message of the registry error that the call raised, or what happened instead.
std::string RegistryFailure(const std::function<void()>& call)
{
    try {
        call();
    } catch (const ERegistryException& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("<another failure: ") + e.what() + ">";
    }
    return "<no failure>";
}

// The keys of one user's Protected Storage data as the provider lays them out.
struct StorageKeys {
    explicit StorageKeys(const std::string& sid)
        : User(Provider + sid), Data(User + "\\Data"), AutoComplete(Data + "\\" + AutoCompleteGuid)
    {
    }
    std::string User, Data, AutoComplete;
};

// A cleaner whose registry object, shared by all its operations, can be looked at.
class PeekCleaner : public CIECleanClass {
public:
    HKEY Root() const { return Reg->GetRootKey(); }
};

// Every case with a progress window's labels and gauge, so that sizes reach the run log.
class IEAutoCompleteTest : public ReporterFixture {
protected:
    void SetUp() override
    {
        StartRun();
    }

    // Runs the items given, all down and in this order, with a new cleaner; the run log's
    // lines of this run.
    std::vector<std::string> Run(const std::vector<Item>& items)
    {
        CIECleanClass cleaner;
        return Run(cleaner, items);
    }
    std::vector<std::string> Run(CIECleanClass& cleaner, const std::vector<Item>& items)
    {
        StartRun();
        Options options;
        for (const Item& item : items)
            options.Add(options.Container.IEItems, item.Tag, item.Caption, true);
        cleaner.SetOptions(&options.Container);
        cleaner.SetIndicator(&Indicator);
        cleaner.Clean();
        return LogEntries();
    }

};

// Hides the user name that Wine reports (it comes from WINEUSERNAME) while it lives.
class UserNameHidden {
public:
    UserNameHidden()
    {
        char buf[260] = {};
        Had = GetEnvironmentVariableA("WINEUSERNAME", buf, sizeof buf) > 0;
        Saved = buf;
        SetEnvironmentVariableA("WINEUSERNAME", nullptr);
    }
    ~UserNameHidden() { SetEnvironmentVariableA("WINEUSERNAME", Had ? Saved.c_str() : nullptr); }

private:
    bool Had;
    std::string Saved;
};

}  // namespace

TEST_F(IEAutoCompleteTest, ProtectedStorageDataGoesAndTheKeysAboveGetTheirOwnAccessListsBack)
{
    const std::string sid = UserSidText();
    ASSERT_EQ(sid.compare(0, 4, "S-1-"), 0) << sid;
    StorageKeys keys(sid);
    Put(HKEY_CURRENT_USER, keys.User, "v", "user");
    Put(HKEY_CURRENT_USER, keys.User + "\\Other", "v", "other");
    Put(HKEY_CURRENT_USER, keys.Data, "v", "data");
    Put(HKEY_CURRENT_USER, keys.Data + "\\" + OtherGuid, "v", "other data");
    const std::vector<std::string> tree = {keys.AutoComplete, keys.AutoComplete + "\\Site",
                                           keys.AutoComplete + "\\Site\\Field", keys.AutoComplete + "\\Site2"};
    for (const std::string& key : tree)
        Put(HKEY_CURRENT_USER, key, "v", "secret");
    const std::string machine = Provider + UserName() + "\\Data\\";
    Put(HKEY_LOCAL_MACHINE, machine + AutoCompleteGuid + "\\Site", "v", "secret");
    Put(HKEY_LOCAL_MACHINE, machine + OtherGuid, "v", "other");
    // The provider shuts the user out of the data; the keys above carry lists of their own.
    for (const std::string& key : tree)
        Secure(HKEY_CURRENT_USER, key, "D:");
    Secure(HKEY_CURRENT_USER, keys.User, "D:(A;;KR;;;" + sid + ")(A;;KA;;;SY)(A;;0x1;;;WD)");
    Secure(HKEY_CURRENT_USER, keys.Data, "D:(A;;KR;;;" + sid + ")(A;CI;KA;;;SY)");
    ASSERT_EQ(OpenResult(HKEY_CURRENT_USER, keys.AutoComplete + "\\Site", KEY_READ), ERROR_ACCESS_DENIED)
        << "the data must be shut to the user for this case to mean anything";
    const AccessList userBefore = ListOf(HKEY_CURRENT_USER, keys.User);
    const AccessList dataBefore = ListOf(HKEY_CURRENT_USER, keys.Data);

    auto log = Run({Forms});

    EXPECT_EQ(Joined(log), Joined({Line(Forms, "")})) << "nothing is measured";
    EXPECT_FALSE(Exists(HKEY_CURRENT_USER, keys.AutoComplete)) << "the AutoComplete data with every key below it";
    AccessList userAfter = ListOf(HKEY_CURRENT_USER, keys.User), dataAfter = ListOf(HKEY_CURRENT_USER, keys.Data);
    EXPECT_TRUE(userAfter == userBefore) << "user key: was " << userBefore.Text << ", is " << userAfter.Text;
    EXPECT_TRUE(dataAfter == dataBefore) << "Data key: was " << dataBefore.Text << ", is " << dataAfter.Text;
    EXPECT_EQ(Value(HKEY_CURRENT_USER, keys.User, "v"), "user");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, keys.User + "\\Other", "v"), "other");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, keys.Data, "v"), "data");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, keys.Data + "\\" + OtherGuid, "v"), "other data") << "another kind of data";
    EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, machine + AutoCompleteGuid)) << "the machine's key under the user name";
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, machine + OtherGuid, "v"), "other");

    // Nothing left to remove: the item still ends.
    log = Run({Forms});
    EXPECT_EQ(Joined(log), Joined({Line(Forms, "")}));
    userAfter = ListOf(HKEY_CURRENT_USER, keys.User);
    EXPECT_TRUE(userAfter == userBefore) << "user key after a second run: " << userAfter.Text;
}

TEST_F(IEAutoCompleteTest, ProtectedStorageKeysWhoseListsCannotBeChangedAsNeededStayShut)
{
    const std::string sid = UserSidText();
    StorageKeys keys(sid);
    const std::string stuck = keys.AutoComplete + "\\Stuck";
    Put(HKEY_CURRENT_USER, keys.User, "v", "user");
    Put(HKEY_CURRENT_USER, keys.Data, "v", "data");
    Put(HKEY_CURRENT_USER, stuck + "\\Below", "v", "secret");
    Secure(HKEY_CURRENT_USER, stuck + "\\Below", "D:");
    // Owned by the system: the user may read this key but not change its list.
    Secure(HKEY_CURRENT_USER, stuck, "O:SYD:(A;;KR;;;" + sid + ")");
    // The user may change this list but not read it, so it could not be put back.
    Secure(HKEY_CURRENT_USER, keys.User, "O:SYD:(A;;WD;;;" + sid + ")");
    ASSERT_EQ(OpenResult(HKEY_CURRENT_USER, keys.User, READ_CONTROL), ERROR_ACCESS_DENIED);
    ASSERT_EQ(OpenResult(HKEY_CURRENT_USER, keys.User, WRITE_DAC), ERROR_SUCCESS);
    ASSERT_EQ(OpenResult(HKEY_CURRENT_USER, stuck, WRITE_DAC), ERROR_ACCESS_DENIED);
    const AccessList dataBefore = ListOf(HKEY_CURRENT_USER, keys.Data);
    const AccessList belowBefore = ListOf(HKEY_CURRENT_USER, stuck + "\\Below");

    auto log = Run({Forms});

    EXPECT_EQ(Joined(log), Joined({Line(Forms, "")})) << "what cannot be removed does not stop the item";
    EXPECT_EQ(OpenResult(HKEY_CURRENT_USER, keys.User, KEY_READ), ERROR_ACCESS_DENIED)
        << "a list that could not be saved is not replaced by one that would stay open";
    EXPECT_TRUE(Exists(HKEY_CURRENT_USER, stuck)) << "a key the user cannot open keeps the data from going";
    // The AutoComplete key stays behind with the list that opened it up: the user, then the
    // system, each with every right, passed on to keys made below.
    const AccessList open = ListOf("D:(A;OICI;KA;;;" + sid + ")(A;OICI;KA;;;SY)");
    const AccessList autoComplete = ListOf(HKEY_CURRENT_USER, keys.AutoComplete);
    EXPECT_TRUE(autoComplete == open) << "the AutoComplete key has " << autoComplete.Text << ", not " << open.Text;
    const AccessList below = ListOf(HKEY_CURRENT_USER, stuck + "\\Below");
    EXPECT_TRUE(below == belowBefore) << "below a key whose list cannot be set nothing is visited: " << below.Text;
    const AccessList data = ListOf(HKEY_CURRENT_USER, keys.Data);
    EXPECT_TRUE(data == dataBefore) << "the Data key: was " << dataBefore.Text << ", is " << data.Text;
}

TEST_F(IEAutoCompleteTest, ProtectedStorageWithoutAUserNameLeavesTheMachineKeys)
{
    StorageKeys keys(UserSidText());
    Put(HKEY_CURRENT_USER, keys.AutoComplete + "\\Site", "v", "secret");
    // Where the machine's key would lead with an empty name: the provider's own Data key.
    const std::string provider = Provider + "Data\\" + AutoCompleteGuid;
    Put(HKEY_LOCAL_MACHINE, provider + "\\Site", "v", "keep");
    ASSERT_EQ(OpenResult(HKEY_LOCAL_MACHINE, Provider + "\\Data\\" + AutoCompleteGuid, KEY_READ), ERROR_SUCCESS)
        << "an empty name between two backslashes reaches the provider's own key";
    UserNameHidden hidden;
    char name[260] = {};
    DWORD size = sizeof name;
    if (GetUserNameA(name, &size) && name[0])
        GTEST_SKIP() << "Wine names the user \"" << name << "\" even without WINEUSERNAME";

    auto log = Run({Forms});

    EXPECT_EQ(Joined(log), Joined({Line(Forms, "")}));
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, provider + "\\Site", "v"), "keep") << "no name, no machine key";
    EXPECT_FALSE(Exists(HKEY_CURRENT_USER, keys.AutoComplete)) << "the user's own data still goes";
}

// Started by the next case as a program of another Windows version: reports the platform it
// saw and runs the AutoComplete forms item.
TEST(IEAutoCompleteChild, DISABLED_RunsTheFormsItemForItsParent)
{
    TRegistry reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(ChildReport, true));
    reg.WriteInteger("Platform", static_cast<int>(SystemPlatformId()));
    StartRun();
    Options options;
    options.Add(options.Container.IEItems, Forms.Tag, Forms.Caption, true);
    CIndicatorClass indicator;
    CIECleanClass cleaner;
    cleaner.SetOptions(&options.Container);
    cleaner.SetIndicator(&indicator);
    cleaner.Clean();
    EXPECT_EQ(Joined(LogEntries()), Joined({Line(Forms, "")}));
}

TEST_F(IEAutoCompleteTest, ProtectedStorageOnWindows9xDeletesOnlyTheMachineKey)
{
    char exe[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, exe, MAX_PATH), 0u);
    const std::string exeName = std::string(exe).substr(std::string(exe).find_last_of('\\') + 1);
    const std::string sid = UserSidText();
    StorageKeys keys(sid);
    const std::string machine = Provider + UserName() + "\\Data\\" + AutoCompleteGuid;
    struct Case {
        const char* version;
        DWORD platform;
        bool userDataGoes;
    } cases[] = {{"win98", VER_PLATFORM_WIN32_WINDOWS, false}, {"nt40", VER_PLATFORM_WIN32_NT, true}};
    for (const Case& c : cases) {
        Put(HKEY_CURRENT_USER, keys.AutoComplete + "\\Site", "v", "secret");
        Secure(HKEY_CURRENT_USER, keys.User, "D:(A;;KR;;;" + sid + ")(A;;KA;;;SY)");
        const AccessList userBefore = ListOf(HKEY_CURRENT_USER, keys.User);
        Put(HKEY_LOCAL_MACHINE, machine + "\\Site", "v", "secret");
        Put(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + exeName, "Version", c.version);
        Put(HKEY_CURRENT_USER, ChildReport, "Platform", "");

        long code = RunProgram("\"" + std::string(exe) +
                                   "\" --gtest_also_run_disabled_tests"
                                   " --gtest_filter=IEAutoCompleteChild.DISABLED_RunsTheFormsItemForItsParent",
                               120000);

        ASSERT_EQ(code, 0) << "the program started as " << c.version << " failed";
        TRegistry report(HKEY_CURRENT_USER);
        ASSERT_TRUE(report.OpenKeyReadOnly(ChildReport));
        ASSERT_EQ(report.GetDataSize("Platform"), 4) << c.version << ": the program did not report";
        EXPECT_EQ(report.ReadInteger("Platform"), static_cast<int>(c.platform)) << "the platform " << c.version
                                                                               << " gives";
        EXPECT_FALSE(Exists(HKEY_LOCAL_MACHINE, machine)) << c.version << ": the machine's key goes everywhere";
        EXPECT_EQ(Exists(HKEY_CURRENT_USER, keys.AutoComplete), !c.userDataGoes)
            << c.version << ": the user's Protected Storage keys are an NT matter";
        const AccessList userAfter = ListOf(HKEY_CURRENT_USER, keys.User);
        EXPECT_TRUE(userAfter == userBefore) << c.version << ": user key has " << userAfter.Text;
    }
    TRegistry reg(HKEY_CURRENT_USER);
    reg.DeleteKey("Software\\Wine\\AppDefaults\\" + exeName);
}

TEST_F(IEAutoCompleteTest, IntelliFormsGoWithEverythingBelowThem)
{
    PutBinary(HKEY_CURRENT_USER, IntelliForms, "a", 1024);
    PutBinary(HKEY_CURRENT_USER, IntelliForms + "\\SPW", "b", 512);
    PutBinary(HKEY_CURRENT_USER, IntelliForms + "\\SPW\\Deeper", "c", 512);
    const std::string ie = "Software\\Microsoft\\Internet Explorer";
    Put(HKEY_CURRENT_USER, ie + "\\IntelliFormsKeep", "v", "keep");
    Put(HKEY_CURRENT_USER, ie, "v", "keep");

    auto log = Run({Passwords});

    EXPECT_EQ(Joined(log), Joined({Line(Passwords, "2Kb")})) << "every value at every depth is counted";
    EXPECT_EQ(Indicator.RunTotal, 2048);
    EXPECT_FALSE(Exists(HKEY_CURRENT_USER, IntelliForms)) << "the key with its subkeys";
    EXPECT_EQ(Value(HKEY_CURRENT_USER, ie + "\\IntelliFormsKeep", "v"), "keep") << "a key whose name begins the same";
    EXPECT_EQ(Value(HKEY_CURRENT_USER, ie, "v"), "keep") << "the parent's values";

    log = Run({Passwords});
    EXPECT_EQ(Joined(log), Joined({Line(Passwords, "")})) << "a missing key measures nothing and the item ends";
}

TEST_F(IEAutoCompleteTest, StartPageIsBlankAndItsKeyMadeWhenMissing)
{
    TRegistry reg(HKEY_CURRENT_USER);
    reg.DeleteKey(MainKey);
    ASSERT_FALSE(Exists(HKEY_CURRENT_USER, MainKey)) << "Wine's own Main key could not be removed";

    auto log = Run({HomePage});

    EXPECT_EQ(Joined(log), Joined({Line(HomePage, "")}));
    EXPECT_EQ(Value(HKEY_CURRENT_USER, MainKey, "Start Page"), "about:blank") << "written as a string";

    Put(HKEY_CURRENT_USER, MainKey, "Start Page", "http://tracked.example/");
    Put(HKEY_CURRENT_USER, MainKey, "Search Page", "http://search.example/");
    Run({HomePage});
    EXPECT_EQ(Value(HKEY_CURRENT_USER, MainKey, "Start Page"), "about:blank");
    EXPECT_EQ(Value(HKEY_CURRENT_USER, MainKey, "Search Page"), "http://search.example/") << "the other values stay";
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Internet Explorer\\Main", "Start Page"), "<missing>")
        << "only the user's start page";
}

TEST_F(IEAutoCompleteTest, UrlPrefixesAreRestoredAndOthersLeftAsTheyAre)
{
    Put(HKEY_LOCAL_MACHINE, DefaultPrefixKey, "", "evil://");
    Put(HKEY_LOCAL_MACHINE, PrefixesKey, "file", "file:///");
    Put(HKEY_LOCAL_MACHINE, PrefixesKey, "www", "evil://");
    Put(HKEY_LOCAL_MACHINE, PrefixesKey, "ftp", "evil://");
    const std::vector<std::pair<std::string, std::string>> restored = {
        {"ftp", "ftp://"}, {"gopher", "gopher://"}, {"home", "http://"}, {"mosaic", "http://"}, {"www", "http://"}};

    PeekCleaner cleaner;
    auto log = Run(cleaner, {Prefixes});

    EXPECT_EQ(Joined(log), Joined({Line(Prefixes, "")}));
    EXPECT_EQ(cleaner.Root(), HKEY_CURRENT_USER) << "the other operations find the user's hive again";
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, DefaultPrefixKey, ""), "http://") << "the default prefix";
    for (const auto& p : restored)
        EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, PrefixesKey, p.first), p.second) << p.first;
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, PrefixesKey, "file"), "file:///") << "a prefix not of the defaults stays";

    TRegistry reg(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.DeleteKey(DefaultPrefixKey));
    ASSERT_TRUE(reg.DeleteKey(PrefixesKey));
    log = Run({Prefixes});
    EXPECT_EQ(Joined(log), Joined({Line(Prefixes, "")}));
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, DefaultPrefixKey, ""), "http://") << "missing keys are made";
    for (const auto& p : restored)
        EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, PrefixesKey, p.first), p.second) << p.first << " in a new key";
}

TEST_F(IEAutoCompleteTest, AWriteThatFailsRaisesOutOfTheOperation)
{
    const std::string sid = UserSidText();
    Put(HKEY_CURRENT_USER, MainKey, "Start Page", "http://tracked.example/");
    Secure(HKEY_CURRENT_USER, MainKey, "D:(A;;KR;;;" + sid + ")");
    Put(HKEY_LOCAL_MACHINE, PrefixesKey, "www", "evil://");
    Secure(HKEY_LOCAL_MACHINE, PrefixesKey, "D:(A;;KR;;;" + sid + ")(A;;KR;;;BA)");
    if (OpenResult(HKEY_CURRENT_USER, MainKey, KEY_SET_VALUE) == ERROR_SUCCESS ||
        OpenResult(HKEY_LOCAL_MACHINE, PrefixesKey, KEY_SET_VALUE) == ERROR_SUCCESS)
        GTEST_SKIP() << "Wine lets the user write to a key whose list allows reading only";

    // Through the run's walk: the failure leaves the walk, and the item keeps its begun line.
    StartRun();
    Options options;
    options.Add(options.Container.IEItems, HomePage.Tag, HomePage.Caption, true);
    options.Add(options.Container.IEItems, Passwords.Tag, Passwords.Caption, true);
    PeekCleaner cleaner;
    cleaner.SetOptions(&options.Container);
    cleaner.SetIndicator(&Indicator);
    EXPECT_EQ(RegistryFailure([&] { cleaner.Clean(); }), "Failed to set data for 'Start Page'");
    EXPECT_EQ(Joined(LogEntries()), Joined({"   " + HomePage.Caption}))
        << "the begun line has no end, and the next item is not begun";
    EXPECT_EQ(Value(HKEY_CURRENT_USER, MainKey, "Start Page"), "http://tracked.example/");

    // The machine's prefixes without the right to write them: the default prefix, whose key
    // may be written, comes first and is done.
    Put(HKEY_LOCAL_MACHINE, DefaultPrefixKey, "", "evil://");
    EXPECT_EQ(RegistryFailure([&] { cleaner.RestoreUrlPrefixes(); }), "Failed to set data for 'ftp'");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, DefaultPrefixKey, ""), "http://");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, PrefixesKey, "www"), "evil://");
    EXPECT_EQ(cleaner.Root(), HKEY_CURRENT_USER) << "a failure under the machine's hive leaves the user's chosen again";
}

TEST_F(IEAutoCompleteTest, ACancelEndsEachItemAsCancelledAfterItsWork)
{
    PutBinary(HKEY_CURRENT_USER, IntelliForms, "a", 1024);
    StorageKeys keys(UserSidText());
    Put(HKEY_CURRENT_USER, keys.AutoComplete, "v", "secret");
    CancelEvent cancel;
    cancel.Set();
    CIECleanClass cleaner;
    cleaner.SetIndicator(&Indicator);
    const std::vector<std::pair<Item, std::function<void()>>> operations = {
        {Passwords, [&] { cleaner.ClearIntelliForms(); }},
        {Forms, [&] { cleaner.ClearProtectedStorage(); }},
        {HomePage, [&] { cleaner.ResetStartPage(); }},
        {Prefixes, [&] { cleaner.RestoreUrlPrefixes(); }}};
    for (const auto& op : operations) {
        Indicator.BeginSection(op.first.Caption);
        op.second();
    }

    EXPECT_EQ(Joined(LogEntries()),
              Joined({Line(Passwords, "1Kb", "Canceled..."), Line(Forms, "", "Canceled..."),
                      Line(HomePage, "", "Canceled..."), Line(Prefixes, "", "Canceled...")}));
    EXPECT_FALSE(Exists(HKEY_CURRENT_USER, IntelliForms));
    EXPECT_FALSE(Exists(HKEY_CURRENT_USER, keys.AutoComplete));
    EXPECT_EQ(Value(HKEY_CURRENT_USER, MainKey, "Start Page"), "about:blank");
    EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, PrefixesKey, "www"), "http://");
}
