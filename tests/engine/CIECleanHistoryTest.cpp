#include "CIECleanClass.h"
#include "CleanerTestSupport.h"
#include "Exceptions.h"
#include "MyGraphicLabel.h"
#include "TCGauge.h"
#include "TRegistry.h"
#include "TStringList.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <initguid.h>
#include <shellapi.h>
#include <shlguid.h>
#include <urlhist.h>

#include <memory>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

// The Internet Explorer group's buttons as the main window captions them.
const Item History{3, "History"};
const Item AddressBar{4, "Address Bar"};
const Item Downloads{5, "Downloaded Program Files"};
const Item IndexFiles{6, "\" Index.Dat \" files"};

const char TypedUrls[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const char DistributionUnits[] = "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
const char RunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";
const char RunOnceValue[] = "Quelora's module";

// The value's text and kind, "<missing>" when there is none.
std::string StringValue(HKEY root, const std::string& key, const std::string& name, DWORD* type = nullptr)
{
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return "<missing>";
    char buf[1024] = {};
    DWORD size = sizeof buf - 1, kind = 0;
    LONG rc = RegQueryValueExA(k, name.c_str(), nullptr, &kind, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    if (type)
        *type = kind;
    return rc == ERROR_SUCCESS ? std::string(buf) : "<missing>";
}

// The machine's Distribution Units key with the entries given, or false when this account
// may not write there.
bool PlantDistributionUnits(const std::vector<std::string>& subkeys)
{
    TRegistry reg(HKEY_LOCAL_MACHINE);
    if (!reg.OpenKey(DistributionUnits, true))
        return false;
    try {
        reg.WriteString("", "keep");
        for (const std::string& s : subkeys) {
            TRegistry sub(HKEY_LOCAL_MACHINE);
            if (!sub.OpenKey(std::string(DistributionUnits) + "\\" + s + "\\Contains\\Files", true))
                return false;
            sub.WriteString("C:\\WINDOWS\\Downloaded Program Files\\x.ocx", "");
        }
    } catch (const ERegistryException&) {
        return false;
    }
    return true;
}

// Every case with a progress window's labels and gauge, so that sizes reach the run log; the
// History shell folder comes back as it was.
class IEHistoryTest : public ReporterFixture {
protected:
    void SetUp() override
    {
        TRegistry reg(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey(ShellKey, false));
        SavedHistory = reg.ReadString("History");
    }
    void TearDown() override { SetHistoryFolder(SavedHistory); }

    static void SetHistoryFolder(const std::string& value) { PutString(HKEY_CURRENT_USER, ShellKey, "History", value); }

    // Runs the items given, all down and in this order, with the cleaner given (built after
    // the shell folders were set: it reads them when built); the run log's lines.
    std::vector<std::string> Run(CIECleanClass& cleaner, const std::vector<Item>& items, int passes = 1)
    {
        StartRun();
        Options options;
        for (const Item& item : items)
            options.Add(options.Container.IEItems, item.Tag, item.Caption, true);
        cleaner.Hdd().PassCount = passes;
        cleaner.SetOptions(&options.Container);
        cleaner.SetIndicator(&Indicator);
        cleaner.Clean();
        return LogEntries();
    }
    std::vector<std::string> Run(const std::vector<Item>& items, int passes = 1)
    {
        CIECleanClass cleaner;
        return Run(cleaner, items, passes);
    }

    // A History folder C:\qtest\<name>\History with files at two depths, a folder of its
    // own, and "desktop.ini" files, which the system's folder view needs.
    std::string PlantHistory(const std::string& name)
    {
        const std::string base = ScratchDir(name);
        const std::string history = base + "\\History";
        MakeDirs(history + "\\History.IE5\\MSHist01");
        MakeDirs(history + "\\Empty");
        WriteFileBytes(history + "\\a.dat", "a");
        WriteFileBytes(history + "\\b.dat", "b");
        WriteFileBytes(history + "\\c.dat", "c");
        WriteFileBytes(history + "\\History.IE5\\index.dat", std::string(2048, 'i'));
        WriteFileBytes(history + "\\History.IE5\\MSHist01\\index.dat", std::string(1024, 'm'));
        WriteFileBytes(history + "\\desktop.ini", "[.ShellClassInfo]");
        WriteFileBytes(history + "\\History.IE5\\desktop.ini", "[.ShellClassInfo]");
        WriteFileBytes(base + "\\beside.txt", "keep");
        SetHistoryFolder(history);
        return history;
    }

    std::string SavedHistory;
};

// Notes the modes that ClearHistory ran with and the gauge's range after the count pass;
// may press Cancel as the cleaning pass starts.
class WatchedCleaner : public CIECleanClass {
public:
    explicit WatchedCleaner(TCGauge* gauge, bool cancel = false) : Gauge(gauge), CancelAtStart(cancel) {}
    void ClearHistory(int mode) override
    {
        Modes += std::to_string(mode) + " ";
        if (mode == 1 && CancelAtStart)
            Cancel.Set();
        CIECleanClass::ClearHistory(mode);
        if (mode == 0)
            MaxAfterCount = Gauge->MaxValue();
    }
    void ClearTypedUrls() override
    {
        Modes += "typed ";
        CIECleanClass::ClearTypedUrls();
    }
    void ClearDownloadedPrograms() override
    {
        Modes += "downloads ";
        if (CancelAtStart)
            Cancel.Set();
        CIECleanClass::ClearDownloadedPrograms();
    }
    std::string Modes;
    int MaxAfterCount = -1;
    CancelEvent Cancel;

private:
    TCGauge* Gauge;
    bool CancelAtStart;
};

}  // namespace

TEST_F(IEHistoryTest, HistoryFolderIsWipedEvenWhenTheStoreClearsNothing)
{
    // Wine's URL history store answers E_NOTIMPL to everything: the folder's files must go
    // all the same.
    IUrlHistoryStg2* store = nullptr;
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT made = CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER, IID_IUrlHistoryStg2,
                                    reinterpret_cast<void**>(&store));
    if (store)
        store->Release();
    if (SUCCEEDED(com))
        CoUninitialize();
    if (FAILED(made))
        GTEST_SKIP() << "no URL history store here (0x" << std::hex << made << ")";

    const std::string history = PlantHistory("hist");
    WatchedCleaner cleaner(Gauge.get());
    auto log = Run(cleaner, {History});

    EXPECT_EQ(Joined(log), Joined({Line(History, "")})) << "the history measures no size and ends done";
    EXPECT_EQ(Indicator.RunTotal, 0);
    EXPECT_EQ(cleaner.Modes, "1 0 ") << "the cleaning pass runs the count pass first";
    EXPECT_EQ(cleaner.MaxAfterCount, 1) << "the count pass sets the range to 1";
    EXPECT_EQ(Gauge->Progress(), 31) << "the clearing display's 30 steps and the closing one";
    for (const char* gone : {"\\a.dat", "\\b.dat", "\\c.dat", "\\History.IE5\\index.dat",
                             "\\History.IE5\\MSHist01\\index.dat", "\\History.IE5\\MSHist01", "\\Empty"})
        EXPECT_FALSE(PathExists(history + gone)) << gone << " is still there";
    EXPECT_TRUE(PathExists(history)) << "the folder itself stays";
    EXPECT_TRUE(PathExists(history + "\\desktop.ini")) << "the folder's view settings stay";
    EXPECT_TRUE(PathExists(history + "\\History.IE5\\desktop.ini"));
    EXPECT_TRUE(PathExists(history + "\\History.IE5")) << "a folder that keeps its desktop.ini stays";
    EXPECT_EQ(ReadFileBytes("C:\\qtest\\hist\\beside.txt"), "keep") << "nothing beside the History folder";
}

TEST_F(IEHistoryTest, ACancelDuringTheHistoryLeavesTheRestWhole)
{
    const std::string history = PlantHistory("histcancel");
    const std::vector<std::string> files = {"\\a.dat", "\\b.dat", "\\c.dat", "\\History.IE5\\index.dat",
                                            "\\History.IE5\\MSHist01\\index.dat"};
    auto left = [&] {
        std::string s;
        for (const std::string& f : files)
            if (PathExists(history + f))
                s += f + " ";
        return s;
    };
    PutBinary(HKEY_CURRENT_USER, TypedUrls, "url1", "x");

    {
        // Deleting without overwriting: the file in progress goes, then the walk stops and
        // the rest is not deleted unwiped.
        WatchedCleaner cleaner(Gauge.get(), true);
        auto log = Run(cleaner, {History, AddressBar}, 0);
        EXPECT_EQ(Joined(log), Joined({Line(History, "", "Canceled...")}));
        EXPECT_EQ(cleaner.Modes, "1 0 ") << "no later item is begun";
        EXPECT_EQ(left(), "\\b.dat \\c.dat \\History.IE5\\index.dat \\History.IE5\\MSHist01\\index.dat ")
            << "only the first file goes";
        EXPECT_TRUE(PathExists(history + "\\Empty")) << "the folders are not removed";
        EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, TypedUrls)) << "the address bar item did not run";
    }
    {
        // Overwriting: the cancel stops the first overwrite too, so no file is deleted.
        PlantHistory("histcancel");
        WatchedCleaner cleaner(Gauge.get(), true);
        auto log = Run(cleaner, {History}, 1);
        EXPECT_EQ(Joined(log), Joined({Line(History, "", "Canceled...")}));
        EXPECT_EQ(left(), "\\a.dat \\b.dat \\c.dat \\History.IE5\\index.dat \\History.IE5\\MSHist01\\index.dat ");
    }
}

TEST_F(IEHistoryTest, UnsafeHistoryValuesTouchNothing)
{
    Canaries canaries;
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    WriteFileBytes(std::string(windows) + "\\canary.txt", "canary");
    for (const std::string& value :
         {std::string(), std::string("History"), std::string("."), std::string("C:\\"), std::string("C:"),
          std::string("C:\\qtest\\canary\\inner\\.."), std::string("C:\\qtest\\canary\\.\\inner"),
          std::string(windows)}) {
        SetHistoryFolder(value);
        auto log = Run({History});
        EXPECT_EQ(Joined(log), Joined({Line(History, "")})) << "History \"" << value << "\" still ends the item";
        EXPECT_EQ(canaries.Gone(), "") << "History \"" << value << "\"";
        EXPECT_TRUE(PathExists(std::string(windows) + "\\canary.txt")) << "History \"" << value << "\"";
    }
    // The control: the same run over a sound History folder does empty it.
    const std::string history = PlantHistory("histcontrol");
    SetHistoryFolder(history);
    Run({History});
    EXPECT_FALSE(PathExists(history + "\\a.dat")) << "a sound History folder is wiped";
    EXPECT_TRUE(PathExists(std::string(windows) + "\\canary.txt"));
    DeleteFileA((std::string(windows) + "\\canary.txt").c_str());
}

namespace {

// A URL history store of the test's own, registered for this thread under the system's
// class id, so that the calls to it can be seen (Wine's store does nothing).
struct StoreRecord {
    int Alive = 0;
    int Cleared = 0;
    bool Refuse = false;
};

class FakeStore final : public IUrlHistoryStg2 {
public:
    explicit FakeStore(StoreRecord& r) : Record(r) { ++Record.Alive; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IUrlHistoryStg) ||
            IsEqualIID(iid, IID_IUrlHistoryStg2)) {
            *out = static_cast<IUrlHistoryStg2*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++Refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG n = --Refs;
        if (n == 0) {
            --Record.Alive;
            delete this;
        }
        return n;
    }
    HRESULT STDMETHODCALLTYPE AddUrl(LPCOLESTR, LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteUrl(LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryUrl(LPCOLESTR, DWORD, LPSTATURL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindToObject(LPCOLESTR, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumUrls(IEnumSTATURL**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddUrlAndNotify(LPCOLESTR, LPCOLESTR, DWORD, WINBOOL, IOleCommandTarget*,
                                              IUnknown*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearHistory() override
    {
        ++Record.Cleared;
        return S_OK;
    }

private:
    StoreRecord& Record;
    ULONG Refs = 1;
};

class FakeStoreFactory : public IClassFactory {
public:
    explicit FakeStoreFactory(StoreRecord& r) : Record(r) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }    // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        if (Record.Refuse)
            return CLASS_E_CLASSNOTAVAILABLE;
        auto* store = new FakeStore(Record);
        HRESULT hr = store->QueryInterface(iid, out);
        store->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(WINBOOL) override { return S_OK; }

private:
    StoreRecord& Record;
};

}  // namespace

TEST_F(IEHistoryTest, TheStoreIsClearedOnceAndHeldNoLongerThanTheItem)
{
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK) << "the test thread starts without COM";
    StoreRecord record;
    FakeStoreFactory factory(record);
    DWORD cookie = 0;
    HRESULT hr = CoRegisterClassObject(CLSID_CUrlHistory, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    ASSERT_EQ(hr, S_OK) << "registering the test's store";
    IUrlHistoryStg2* probe = nullptr;
    CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER, IID_IUrlHistoryStg2,
                     reinterpret_cast<void**>(&probe));
    bool ours = record.Alive == 1;
    if (probe)
        probe->Release();
    if (!ours) {
        CoRevokeClassObject(cookie);
        CoUninitialize();
        GTEST_SKIP() << "this system does not hand out a store registered in the process";
    }

    const std::string history = PlantHistory("histstore");
    auto log = Run({History});
    EXPECT_EQ(Joined(log), Joined({Line(History, "")}));
    EXPECT_EQ(record.Cleared, 1) << "cleared by the cleaning pass only";
    EXPECT_EQ(record.Alive, 0) << "no store is held after the item";
    EXPECT_FALSE(PathExists(history + "\\a.dat"));

    // Without a store nothing of the history is touched, and the item still ends.
    PlantHistory("histstore");
    record.Refuse = true;
    log = Run({History});
    EXPECT_EQ(Joined(log), Joined({Line(History, "")})) << "ends done without a store";
    EXPECT_EQ(record.Cleared, 1);
    EXPECT_TRUE(PathExists(history + "\\a.dat")) << "no store, no deletion";
    EXPECT_TRUE(PathExists(history + "\\History.IE5\\MSHist01\\index.dat"));
    EXPECT_EQ(Gauge->MaxValue(), 1) << "the count pass's range";
    EXPECT_EQ(Gauge->Progress(), 1) << "and its closing step";

    CoRevokeClassObject(cookie);
    // The cleaner's own initialisations are all undone: the test's one is the last.
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK) << "COM still initialised on the thread";
    CoUninitialize();
}

TEST_F(IEHistoryTest, HistoryLeavesTheThreadsComAsItFoundIt)
{
    PlantHistory("histcom");
    {
        // No COM before: none after.
        CIECleanClass cleaner;
        Run(cleaner, {History});
        HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(after, S_OK) << "COM was left initialised (0x" << std::hex << after << ")";
        if (SUCCEEDED(after))
            CoUninitialize();
    }
    {
        // A thread already in the multithreaded apartment refuses the cleaner's
        // initialisation; the thread's own must survive the item.
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CIECleanClass cleaner;
        auto log = Run(cleaner, {History});
        EXPECT_EQ(Joined(log), Joined({Line(History, "")}));
        HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(after, S_FALSE) << "the thread's own COM initialisation was undone (0x" << std::hex << after << ")";
        if (SUCCEEDED(after))
            CoUninitialize();
        CoUninitialize();
    }
}

TEST_F(IEHistoryTest, TypedAddressesGoWithTheirSubkeys)
{
    const std::string typed = TypedUrls;
    PutBinary(HKEY_CURRENT_USER, typed, "url1", std::string(1024, 'a'));
    PutBinary(HKEY_CURRENT_USER, typed, "url2", std::string(1024, 'b'));
    PutBinary(HKEY_CURRENT_USER, typed + "\\Deeper", "x", std::string(1024, 'c'));
    PutBinary(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\TypedURLsKeep", "v", "keep");
    PutBinary(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer", "v", "keep");

    auto log = Run({AddressBar});

    EXPECT_EQ(Joined(log), Joined({Line(AddressBar, "3Kb")})) << "the key and the keys below it, measured together";
    EXPECT_EQ(Indicator.RunTotal, 3 * 1024);
    EXPECT_FALSE(HasKey(HKEY_CURRENT_USER, typed)) << "the key goes with its subkeys";
    EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\TypedURLsKeep"));
    EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer"));
    EXPECT_EQ(Gauge->Progress(), 30) << "the clearing display";

    log = Run({AddressBar});
    EXPECT_EQ(Joined(log), Joined({Line(AddressBar, "")})) << "a missing key measures nothing and still ends";
}

TEST_F(IEHistoryTest, DownloadedProgramsGoWithTheControlsRegistryEntries)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string folder = std::string(windows) + "\\Downloaded Program Files";
    auto plant = [&] {
        MakeDirs(folder + "\\sub");
        MakeDirs(folder + "\\emptied");
        MakeDirs(folder + "\\shown");
        WriteFileBytes(folder + "\\a.ocx", std::string(1024, 'a'));
        WriteFileBytes(folder + "\\b.inf", std::string(1024, 'b'));
        WriteFileBytes(folder + "\\emptied\\c.dll", std::string(1024, 'c'));
        WriteFileBytes(folder + "\\shown\\desktop.ini", "[.ShellClassInfo]");
    };
    const std::vector<std::string> units = {"{11111111-2222-3333-4444-555555555555}", "{AAAAAAAA-0000-0000-0000-000000000000}"};
    const std::string other = "NotAClassId";
    std::vector<std::string> all = units;
    all.push_back(other);

    plant();
    bool machine = PlantDistributionUnits(all);
    auto log = Run({Downloads});

    EXPECT_EQ(Joined(log), Joined({Line(Downloads, "3Kb")})) << "the files' total";
    for (const char* gone : {"\\a.ocx", "\\b.inf", "\\emptied\\c.dll", "\\emptied", "\\sub"})
        EXPECT_FALSE(PathExists(folder + gone)) << gone << " is still there";
    EXPECT_TRUE(PathExists(folder + "\\shown\\desktop.ini"));
    EXPECT_TRUE(PathExists(folder + "\\shown")) << "a folder that is not empty stays";
    EXPECT_TRUE(PathExists(folder)) << "the downloads folder itself stays";
    EXPECT_EQ(Gauge->MaxValue(), 7) << "six entries (files and folders) and the closing step";
    EXPECT_EQ(Gauge->Progress(), 7);
    if (machine) {
        for (const std::string& u : units)
            EXPECT_FALSE(HasKey(HKEY_LOCAL_MACHINE, std::string(DistributionUnits) + "\\" + u)) << u;
        EXPECT_TRUE(HasKey(HKEY_LOCAL_MACHINE, std::string(DistributionUnits) + "\\" + other))
            << "a subkey not named by a class id stays";
        EXPECT_EQ(StringValue(HKEY_LOCAL_MACHINE, DistributionUnits, ""), "keep") << "the key itself stays";
    }

    {
        // A cancel during the files: the walk stops after the file in progress, and neither
        // folders nor registry entries go.
        plant();
        if (machine)
            machine = PlantDistributionUnits(all);
        WatchedCleaner cleaner(Gauge.get(), true);
        log = Run(cleaner, {Downloads, History}, 0);
        EXPECT_EQ(Joined(log), Joined({Line(Downloads, "3Kb", "Canceled...")}));
        EXPECT_EQ(cleaner.Modes, "downloads ") << "no later item is begun";
        EXPECT_FALSE(PathExists(folder + "\\a.ocx")) << "the first file went before the cancel was seen";
        EXPECT_TRUE(PathExists(folder + "\\b.inf"));
        EXPECT_TRUE(PathExists(folder + "\\emptied\\c.dll"));
        EXPECT_TRUE(PathExists(folder + "\\sub")) << "no folder is removed";
        if (machine) {
            for (const std::string& u : units)
                EXPECT_TRUE(HasKey(HKEY_LOCAL_MACHINE, std::string(DistributionUnits) + "\\" + u))
                    << u << " went although the files were not all gone";
        }
    }
    if (!machine)
        GTEST_SKIP() << "the machine's Distribution Units key cannot be written here";
}

TEST_F(IEHistoryTest, IndexFilesAreLeftToFennickWithTheRunsPassCount)
{
    {
        TRegistry reg(HKEY_CURRENT_USER);
        reg.DeleteKey(RunOnce);
    }
    for (int passes : {0, 1, 5}) {
        if (passes == 5)
            PutString(HKEY_CURRENT_USER, RunOnce, RunOnceValue, "an earlier run's");
        auto log = Run({IndexFiles}, passes);
        EXPECT_EQ(Joined(log), Joined({Line(IndexFiles, "")})) << "pass count " << passes;
        DWORD type = 0;
        const std::string command = StringValue(HKEY_CURRENT_USER, RunOnce, RunOnceValue, &type);
        EXPECT_EQ(command, "\"" + ExeDir() + "\\Fennick.exe\" " + std::to_string(passes))
            << "Fennick's full path in quotes, a blank and the pass count";
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << "pass count " << passes;
        ASSERT_FALSE(command.empty());
        EXPECT_EQ(command.back(), static_cast<char>('0' + passes)) << "Fennick reads the count from the last character";
        EXPECT_EQ(Gauge->Progress(), 30) << "the clearing display, and no closing step";
    }
}

TEST_F(IEHistoryTest, FennickCommandLineQuotesAFolderWithBlanks)
{
    for (const std::string& folder : {std::string("C:\\Program Files\\Q ora"), std::string("C:\\Program Files\\Q ora\\")}) {
        const std::string command = IndexFilesCommandLine(folder, 5);
        EXPECT_EQ(command, "\"C:\\Program Files\\Q ora\\Fennick.exe\" 5") << "from " << folder;
        // The system splits a command line as below: the program must be all of the path.
        std::wstring wide(command.begin(), command.end());
        int argc = 0;
        LPWSTR* argv = CommandLineToArgvW(wide.c_str(), &argc);
        ASSERT_NE(argv, nullptr);
        ASSERT_EQ(argc, 2) << command;
        EXPECT_TRUE(std::wstring(argv[0]) == L"C:\\Program Files\\Q ora\\Fennick.exe") << command;
        EXPECT_TRUE(std::wstring(argv[1]) == L"5") << command;
        LocalFree(argv);
    }
    EXPECT_EQ(IndexFilesCommandLine("C:\\", 0), "\"C:\\Fennick.exe\" 0") << "a program at a drive's root";
}

TEST_F(IEHistoryTest, AnyOtherFlagWritesNothingAndEndsNoSection)
{
    {
        TRegistry reg(HKEY_CURRENT_USER);
        reg.DeleteKey(RunOnce);
    }
    StartRun();
    CIECleanClass cleaner;
    cleaner.SetIndicator(&Indicator);
    Indicator.BeginSection(IndexFiles.Caption);
    Indicator.SetMax(7);
    for (int flag : {1, 2, 255, -1}) {
        cleaner.ScheduleIndexDatDeletion(flag);
        EXPECT_FALSE(HasKey(HKEY_CURRENT_USER, RunOnce)) << "flag " << flag << " made the RunOnce key";
    }
    PutString(HKEY_CURRENT_USER, RunOnce, RunOnceValue, "earlier");
    cleaner.ScheduleIndexDatDeletion(1);
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, RunOnce, RunOnceValue), "earlier") << "flag 1 replaced the value";
    EXPECT_EQ(Joined(LogEntries()), Joined({"   " + IndexFiles.Caption})) << "the section stays open";
    EXPECT_EQ(Gauge->MaxValue(), 7) << "no clearing display";
    EXPECT_EQ(Gauge->Progress(), 0);
}

TEST_F(IEHistoryTest, ARefusedRunOnceWriteEndsTheRunWithTheRegistryError)
{
    // The RunOnce key readable by everyone but writable by nobody.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, RunOnce, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    std::vector<BYTE> aclBytes(256);
    PACL acl = reinterpret_cast<PACL>(aclBytes.data());
    InitializeAcl(acl, static_cast<DWORD>(aclBytes.size()), ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    LONG set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
    RegCloseKey(key);
    FreeSid(everyone);
    ASSERT_EQ(set, ERROR_SUCCESS) << "restricting the RunOnce key";
    HKEY probe = nullptr;
    bool refused = RegOpenKeyExA(HKEY_CURRENT_USER, RunOnce, 0, KEY_SET_VALUE, &probe) != ERROR_SUCCESS;
    if (probe)
        RegCloseKey(probe);
    if (!refused)
        GTEST_SKIP() << "this system lets the owner write the key whatever its list says";

    CIECleanClass cleaner;
    Options options;
    options.Add(options.Container.IEItems, IndexFiles.Tag, IndexFiles.Caption, true);
    options.Add(options.Container.IEItems, AddressBar.Tag, AddressBar.Caption, true);
    PutBinary(HKEY_CURRENT_USER, TypedUrls, "url1", "x");
    StartRun();
    cleaner.SetOptions(&options.Container);
    cleaner.SetIndicator(&Indicator);
    EXPECT_THROW(cleaner.Clean(), ERegistryException) << "the refusal must reach the run";
    EXPECT_EQ(Joined(LogEntries()), Joined({"   " + IndexFiles.Caption})) << "the item does not end as done";
    EXPECT_EQ(StringValue(HKEY_CURRENT_USER, RunOnce, RunOnceValue), "<missing>");
    EXPECT_TRUE(HasKey(HKEY_CURRENT_USER, TypedUrls)) << "no later item runs";
}
