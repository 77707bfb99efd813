#include "IECertificateClass.h"
#include "CleanerTestSupport.h"
#include "MyGraphicLabel.h"
#include "TCGauge.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>
#include <wincrypt.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

// Every certificate the tests make has a subject and issuer name that begins so; the
// certificates of the platform's own are left alone.
const char Mark[] = "QTest";
// No store here holds more; a walk that goes on longer is a fault (and would not end).
const int WalkCap = 1000;

const wchar_t* const StoreNames[] = {L"MY", L"root", L"trust", L"CA"};


SYSTEMTIME Date(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0)
{
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    return st;
}

// The current UTC time moved by whole seconds, to the second as certificates hold it.
SYSTEMTIME NowPlus(long long seconds)
{
    SYSTEMTIME st;
    GetSystemTime(&st);
    st.wMilliseconds = 0;
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += static_cast<ULONGLONG>(seconds * 10000000LL);
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    FileTimeToSystemTime(&ft, &st);
    return st;
}

std::string DateText(const SYSTEMTIME& st)
{
    char buf[64];
    wsprintfA(buf, "%04u-%02u-%02u %02u:%02u:%02u.%03u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
              st.wSecond, st.wMilliseconds);
    return buf;
}

// An X.500 name such as "CN=QTest A, O=Somewhere" in its encoded form.
std::string EncodedName(const std::string& x500)
{
    DWORD size = 0;
    if (!CertStrToNameA(X509_ASN_ENCODING, x500.c_str(), CERT_X500_NAME_STR, nullptr, nullptr, &size, nullptr))
        return std::string();
    std::string bytes(size, '\0');
    CertStrToNameA(X509_ASN_ENCODING, x500.c_str(), CERT_X500_NAME_STR, nullptr,
                   reinterpret_cast<BYTE*>(&bytes[0]), &size, nullptr);
    bytes.resize(size);
    return bytes;
}

CRYPT_DATA_BLOB Blob(std::string& bytes)
{
    return CRYPT_DATA_BLOB{static_cast<DWORD>(bytes.size()), reinterpret_cast<BYTE*>(&bytes[0])};
}

// A certificate with every listed field of the test's choosing. Its signature is filler:
// stores keep certificates without checking them.
struct Fields {
    std::string Subject;
    std::string Issuer;
    std::string Serial;   // bytes least significant first, as the platform hands them over
    SYSTEMTIME NotBefore;
    SYSTEMTIME NotAfter;
    DWORD Version = CERT_V3;
    std::string SignatureOid = szOID_RSA_SHA1RSA;
};

std::string Encode(const Fields& f)
{
    std::string subject = EncodedName(f.Subject), issuer = EncodedName(f.Issuer), serial = f.Serial;
    std::string oid = f.SignatureOid, keyOid = szOID_RSA_RSA;
    BYTE key[] = {0x30, 0x06, 0x02, 0x01, 0x03, 0x02, 0x01, 0x03};
    CERT_INFO info{};
    info.dwVersion = f.Version;
    info.SerialNumber = Blob(serial);
    info.SignatureAlgorithm.pszObjId = &oid[0];
    info.Issuer = Blob(issuer);
    info.Subject = Blob(subject);
    SystemTimeToFileTime(&f.NotBefore, &info.NotBefore);
    SystemTimeToFileTime(&f.NotAfter, &info.NotAfter);
    info.SubjectPublicKeyInfo.Algorithm.pszObjId = &keyOid[0];
    info.SubjectPublicKeyInfo.PublicKey.cbData = sizeof key;
    info.SubjectPublicKeyInfo.PublicKey.pbData = key;
    BYTE* tbs = nullptr;
    DWORD tbsSize = 0;
    if (!CryptEncodeObjectEx(X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED, &info, CRYPT_ENCODE_ALLOC_FLAG, nullptr,
                             &tbs, &tbsSize))
        return std::string();
    BYTE signature[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    CERT_SIGNED_CONTENT_INFO signedInfo{};
    signedInfo.ToBeSigned.cbData = tbsSize;
    signedInfo.ToBeSigned.pbData = tbs;
    signedInfo.SignatureAlgorithm.pszObjId = &oid[0];
    signedInfo.Signature.cbData = sizeof signature;
    signedInfo.Signature.pbData = signature;
    BYTE* cert = nullptr;
    DWORD certSize = 0;
    BOOL ok = CryptEncodeObjectEx(X509_ASN_ENCODING, X509_CERT, &signedInfo, CRYPT_ENCODE_ALLOC_FLAG, nullptr, &cert,
                                  &certSize);
    LocalFree(tbs);
    if (!ok)
        return std::string();
    std::string bytes(reinterpret_cast<char*>(cert), certSize);
    LocalFree(cert);
    return bytes;
}

// A store as it is kept (the registry part of one location), without the view that the
// system store puts together from several.
HCERTSTORE OpenKept(DWORD location, const wchar_t* name)
{
    return CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, location, name);
}

void CloseKept(HCERTSTORE store)
{
    CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    CertCloseStore(store, 0);
}

void Add(DWORD location, const wchar_t* name, const Fields& f)
{
    std::string bytes = Encode(f);
    ASSERT_FALSE(bytes.empty()) << "encoding " << f.Subject << ": error " << GetLastError();
    HCERTSTORE store = OpenKept(location, name);
    ASSERT_TRUE(store) << "opening the store for " << f.Subject;
    BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(bytes.data()),
                                                  static_cast<DWORD>(bytes.size()), CERT_STORE_ADD_NEW, nullptr);
    DWORD error = GetLastError();
    CloseKept(store);
    ASSERT_TRUE(added) << "adding " << f.Subject << ": error " << error;
}

// A self-signed certificate made by the platform, as a user or a program would have one.
void AddSelfSigned(DWORD location, const wchar_t* name, const std::string& cn, SYSTEMTIME notBefore,
                   SYSTEMTIME notAfter)
{
    std::string subject = EncodedName("CN=" + cn);
    CERT_NAME_BLOB blob = Blob(subject);
    PCCERT_CONTEXT cert = CertCreateSelfSignCertificate(0, &blob, 0, nullptr, nullptr, &notBefore, &notAfter, nullptr);
    ASSERT_TRUE(cert) << "making " << cn << ": error " << GetLastError();
    HCERTSTORE store = OpenKept(location, name);
    BOOL added = store && CertAddCertificateContextToStore(store, cert, CERT_STORE_ADD_NEW, nullptr);
    DWORD error = GetLastError();
    CertFreeCertificateContext(cert);
    if (store)
        CloseKept(store);
    ASSERT_TRUE(added) << "adding " << cn << ": error " << error;
}

std::string NameOf(PCCERT_CONTEXT cert, DWORD flags = 0)
{
    char buf[512] = {};
    CertGetNameStringA(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, flags, nullptr, buf, sizeof buf);
    return buf;
}

// What a store holds, in enumeration order: name, issuer's name and serial of each.
struct Held {
    std::string Name, Issuer, Serial;
    bool Expired;
};

std::vector<Held> Contents(HCERTSTORE store)
{
    std::vector<Held> held;
    if (!store)
        return held;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    PCCERT_CONTEXT cert = nullptr;
    for (int n = 0; n < WalkCap && (cert = CertEnumCertificatesInStore(store, cert)) != nullptr; ++n)
        held.push_back({NameOf(cert), NameOf(cert, CERT_NAME_ISSUER_FLAG),
                        CIECertificateClass::SerialText(cert->pCertInfo->SerialNumber),
                        CompareFileTime(&cert->pCertInfo->NotAfter, &now) < 0});
    if (cert) {
        ADD_FAILURE() << "a store walk did not end within " << WalkCap << " certificates";
        CertFreeCertificateContext(cert);
    }
    return held;
}

std::vector<Held> Kept(DWORD location, const wchar_t* name)
{
    HCERTSTORE store = OpenKept(location, name);
    std::vector<Held> held = Contents(store);
    if (store)
        CertCloseStore(store, 0);
    return held;
}

// The current user's view of a store, as the cleaner opens it.
std::vector<Held> UserView(const wchar_t* name)
{
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, name);
    std::vector<Held> held = Contents(store);
    if (store)
        CertCloseStore(store, 0);
    return held;
}

std::vector<std::string> Names(const std::vector<Held>& held)
{
    std::vector<std::string> names;
    for (const Held& h : held)
        names.push_back(h.Name);
    return names;
}

std::vector<std::string> UserNames(const wchar_t* name)
{
    return Names(Kept(CERT_SYSTEM_STORE_CURRENT_USER, name));
}

std::vector<std::string> MachineNames(const wchar_t* name)
{
    return Names(Kept(CERT_SYSTEM_STORE_LOCAL_MACHINE, name));
}

// Removes the tests' own certificates from a kept store: the walk first, then the removals.
void RemoveMarked(DWORD location, const wchar_t* name)
{
    HCERTSTORE store = OpenKept(location, name);
    if (!store)
        return;
    std::vector<PCCERT_CONTEXT> marked;
    PCCERT_CONTEXT cert = nullptr;
    for (int n = 0; n < WalkCap && (cert = CertEnumCertificatesInStore(store, cert)) != nullptr; ++n)
        if (NameOf(cert).compare(0, sizeof Mark - 1, Mark) == 0)
            marked.push_back(CertDuplicateCertificateContext(cert));
    CertFreeCertificateContext(cert);
    for (PCCERT_CONTEXT m : marked)
        CertDeleteCertificateFromStore(m);
    CloseKept(store);
}

const TCertInfo* Find(const CIECertificateClass& c, const std::string& name, const std::string& serial = "*")
{
    for (int i = 0; i < c.Certificates.Count; ++i)
        if (c.Certificates[i]->Name == name && (serial == "*" || c.Certificates[i]->SerialNumber == serial))
            return c.Certificates[i];
    return nullptr;
}

// A cleaner that notes what the progress window shows at every cancel query (each
// certificate of a removal pass ends with one) and can stand in for the user's Cancel
// from a chosen query within a chosen store on; the machine-store passes are open to it.
class WatchedCleaner : public CIECertificateClass {
public:
    struct Query {
        int Store;
        std::string Status;
        int Progress;
    };

    bool IsCancelRequested() override
    {
        Queries.push_back({StoreIndex, Status ? Status->Caption() : "", Gauge ? Gauge->Progress() : -1});
        if (StoreIndex == CancelStore && ++QueriesInCancelStore >= CancelAt)
            Cancelled = true;
        return Cancelled || CIECertificateClass::IsCancelRequested();
    }

    using CIECertificateClass::DeleteExpiredFromMachineStore;
    using CIECertificateClass::DeleteFromMachineStore;

    TMyGraphicLabel* Status = nullptr;
    TCGauge* Gauge = nullptr;
    std::vector<Query> Queries;
    int CancelStore = -1;
    int CancelAt = 0;

private:
    int QueriesInCancelStore = 0;
    bool Cancelled = false;
};

// Every case with a progress window's labels and gauge, and stores that start without
// certificates of the tests' making and are left so.
class IECertificateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartRun();
        for (auto* l : {&Section, &Status, &Size})
            l->reset(new TMyGraphicLabel(nullptr));
        Gauge.reset(new TCGauge(nullptr));
        Indicator.SectionLabel = Section.get();
        Indicator.StatusLabel = Status.get();
        Indicator.SizeLabel = Size.get();
        Indicator.Gauge = Gauge.get();
        Cleaner.SetIndicator(&Indicator);
        Cleaner.Status = Status.get();
        Cleaner.Gauge = Gauge.get();
        for (const wchar_t* name : {L"MY", L"trust", L"CA"}) {
            ASSERT_EQ(Joined(Names(UserView(name))), "") << "the current user's store holds certificates at the start";
            ASSERT_EQ(Joined(MachineNames(name)), "") << "the machine's store holds certificates at the start";
        }
    }
    void TearDown() override
    {
        for (const wchar_t* name : {L"MY", L"trust", L"CA"}) {
            RemoveMarked(CERT_SYSTEM_STORE_CURRENT_USER, name);
            RemoveMarked(CERT_SYSTEM_STORE_LOCAL_MACHINE, name);
        }
    }

    std::unique_ptr<TMyGraphicLabel> Section, Status, Size;
    std::unique_ptr<TCGauge> Gauge;
    CIndicatorClass Indicator;
    WatchedCleaner Cleaner;
};

// The run log's line of the certificate item: its title, then for each store that ended
// the store's label (where the size stands) and how the store ended.
std::string ItemLine(const std::vector<std::pair<std::string, std::string>>& ends)
{
    std::string line = "   Expired Certificates";
    for (const auto& e : ends)
        line += "  " + (" " + e.first) + "   " + e.second;
    return line;
}

// The machine's half of the registry set aside for this process: HKEY_LOCAL_MACHINE leads
// to an empty key of the test's own until the end of the case. The machine's root store
// holds the host's CA certificates, some long expired, which no test may remove; a whole
// clean walks root, so it runs against a machine whose stores hold only the test's own.
class MachineSetAside {
public:
    MachineSetAside()
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, Key);
        Active = RegCreateKeyExA(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Handle, nullptr) ==
                     ERROR_SUCCESS &&
                 RegOverridePredefKey(HKEY_LOCAL_MACHINE, Handle) == ERROR_SUCCESS;
    }
    ~MachineSetAside()
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        if (Handle)
            RegCloseKey(Handle);
        SHDeleteKeyA(HKEY_CURRENT_USER, Key);
    }
    MachineSetAside(const MachineSetAside&) = delete;
    MachineSetAside& operator=(const MachineSetAside&) = delete;

    bool Active = false;

private:
    static constexpr const char* Key = "Software\\QueloraTest\\Machine";
    HKEY Handle = nullptr;
};

const DWORD User = CERT_SYSTEM_STORE_CURRENT_USER;
const DWORD Machine = CERT_SYSTEM_STORE_LOCAL_MACHINE;

}  // namespace

TEST(IECertificateTextTest, AlgorithmNamesComeFromTheTableByTheWholeIdentifier)
{
    const std::pair<const char*, const char*> known[] = {
        {"1.2.840.113549", "RSA"},
        {"1.2.840.113549.1", "PKCS"},
        {"1.2.840.113549.1.1", "PKCS_1"},
        {"1.2.840.113549.1.12", "PKCS_12"},
        {"1.2.840.113549.1.1.1", "RSA_RSA"},
        {"1.2.840.113549.1.1.2", "RSA_MD2RSA"},
        {"1.2.840.113549.1.1.3", "RSA_MD4RSA"},
        {"1.2.840.113549.1.1.4", "RSA_MD5RSA"},
        {"1.2.840.113549.1.1.5", "RSA_SHA1RSA"},
        {"1.2.840.113549.1.7.6", "RSA_encryptedData"},
        {"1.2.840.113549.1.9.15", "RSA_SMIMECapabilities"},
        {"1.2.840.113549.1.9.15.1", "RSA_preferSignedData"},
        {"1.2.840.113549.3.9", "RSA_RC5_CBCPad"},
        {"1.2.840.10046", "ANSI_x942"},
        {"1.2.840.10046.2.1", "ANSI_x942_DH"},
        {"1.2.840.10040.4.1", "X957_DSA"},
        {"1.2.840.10040.4.3", "DATA STRUCTURE"},
        {"2.5", "DS"},
        {"2.5.8.1.1", "DSALG_RSA"},
        {"1.3.14", "OIW"},
        {"1.3.14.3.2.10", "OIWSEC_desMAC"},
        {"1.3.14.3.2.29", "OIWSEC_sha1RSASign"},
        {"1.3.14.7.2.3.1", "OIWDIR_md2RSA"},
        {"2.16.840.1.101.2.1", "INFOSEC"},
        {"2.16.840.1.101.2.1.1.1", "INFOSEC_sdnsSignature"},
        {"2.16.840.1.101.2.1.1.21", "INFOSEC_mosaicUpdatedInteg"},
    };
    for (const auto& row : known)
        EXPECT_EQ(CIECertificateClass::OidToName(row.first), row.second) << "identifier " << row.first;

    // Neither a longer nor a shorter identifier matches a row, nor one with anything around it.
    for (const char* oid : {"", "0", "1.2.840.113549.1.1.11", "1.2.840.113549.1.1.50", "1.2.840.11354", "2.5.",
                            " 2.5", "2.5 ", "1.3.14.3.2.1", "1.3.14.3.2.5", "2.16.840.1.101.2.1.1.22", "RSA"})
        EXPECT_EQ(CIECertificateClass::OidToName(oid), "0") << "identifier \"" << oid << "\"";
}

TEST(IECertificateTextTest, SerialTextsRunFromTheLastByteBack)
{
    const std::pair<std::vector<BYTE>, const char*> cases[] = {
        {{0x0F, 0xA0}, "A00F"},
        {{}, ""},
        {{0x05}, "05"},
        {{0x01, 0x00}, "0001"},
        {{0xAB, 0xCD, 0xEF, 0x12}, "12EFCDAB"},
    };
    for (const auto& c : cases) {
        std::vector<BYTE> bytes = c.first;
        CRYPT_INTEGER_BLOB blob{static_cast<DWORD>(bytes.size()), bytes.empty() ? nullptr : bytes.data()};
        EXPECT_EQ(CIECertificateClass::SerialText(blob), c.second) << bytes.size() << " bytes";
    }
}

TEST_F(IECertificateTest, ListingDescribesEveryCertificateOfTheChosenStore)
{
    const Fields old{"CN=QTest Old", "CN=QTest Issuer", std::string("\x0F\xA0", 2), Date(2001, 2, 3, 4, 5, 6),
                     Date(2002, 3, 4, 5, 6, 7)};
    Fields future{"CN=QTest Future", "CN=QTest Future", "\x01", Date(2090, 1, 2, 3, 4, 5), Date(2091, 6, 7, 8, 9, 10)};
    future.Version = CERT_V1;
    future.SignatureOid = "1.2.3.4";
    const Fields soon{"CN=QTest Soon", "CN=QTest Soon", "\x02", Date(2000, 1, 1), NowPlus(300)};
    const Fields just{"CN=QTest Just", "CN=QTest Just", "\x03", Date(2000, 1, 1), NowPlus(-300)};
    const std::string longName = std::string(Mark) + std::string(195, 'L');
    const Fields lengthy{"CN=" + longName, "CN=QTest Issuer", "\x04", Date(2000, 1, 1), Date(2080, 1, 1)};
    for (const Fields* f : {&old, static_cast<const Fields*>(&future), &soon, &just, &lengthy})
        Add(User, L"CA", *f);
    AddSelfSigned(User, L"MY", "QTest Mine", Date(2020, 1, 1), Date(2080, 1, 1));

    Cleaner.LoadCertificates(3);

    EXPECT_EQ(Cleaner.StoreIndex, 3);
    ASSERT_EQ(Cleaner.Certificates.Count, 5) << "the five certificates of CA and nothing else";
    std::vector<std::string> listed;
    for (int i = 0; i < Cleaner.Certificates.Count; ++i) {
        listed.push_back(Cleaner.Certificates[i]->Name);
        EXPECT_EQ(Cleaner.Certificates[i]->Position, i) << Cleaner.Certificates[i]->Name;
        EXPECT_EQ(Cleaner.Certificates[i]->Subject, Cleaner.Certificates[i]->Name);
    }
    std::vector<std::string> enumerated = Names(UserView(L"CA"));
    for (std::string& name : enumerated)
        name.resize(std::min<size_t>(name.size(), 127));
    EXPECT_EQ(Joined(listed), Joined(enumerated)) << "in the store's enumeration order";

    const TCertInfo* o = Find(Cleaner, "QTest Old");
    ASSERT_TRUE(o) << Joined(listed);
    EXPECT_EQ(o->Valid, 0) << "ended in 2002";
    EXPECT_EQ(o->Version, 3);
    EXPECT_EQ(o->SerialNumber, "A00F") << "bytes 0F A0 as handed over, most significant first";
    EXPECT_EQ(o->SignatureAlgorithm, "1.2.840.113549.1.1.5  RSA_SHA1RSA");
    EXPECT_EQ(o->Issuer, "QTest Issuer");
    EXPECT_EQ(DateText(o->NotBefore), "2001-02-03 04:05:06.000") << "as written, in UTC";
    EXPECT_EQ(DateText(o->NotAfter), "2002-03-04 05:06:07.000") << "as written, in UTC";

    const TCertInfo* f = Find(Cleaner, "QTest Future");
    ASSERT_TRUE(f) << Joined(listed);
    EXPECT_EQ(f->Valid, 1) << "a certificate that is not valid yet has not expired either";
    EXPECT_EQ(f->Version, 1);
    EXPECT_EQ(f->SerialNumber, "01");
    EXPECT_EQ(f->SignatureAlgorithm, "1.2.3.4  0") << "an identifier the table does not hold";
    EXPECT_EQ(f->Issuer, "QTest Future");
    EXPECT_EQ(DateText(f->NotBefore), "2090-01-02 03:04:05.000");
    EXPECT_EQ(DateText(f->NotAfter), "2091-06-07 08:09:10.000");

    const TCertInfo* s = Find(Cleaner, "QTest Soon");
    const TCertInfo* j = Find(Cleaner, "QTest Just");
    ASSERT_TRUE(s && j) << Joined(listed);
    EXPECT_EQ(s->Valid, 1) << "ends in five minutes";
    EXPECT_EQ(j->Valid, 0) << "ended five minutes ago";

    const TCertInfo* l = Find(Cleaner, longName.substr(0, 127));
    EXPECT_TRUE(l) << "a 200-character name is listed cut to 127 characters: " << Joined(listed);

    // Another store replaces the list, and remembers its index.
    Cleaner.LoadCertificates(0);
    EXPECT_EQ(Cleaner.StoreIndex, 0);
    ASSERT_EQ(Cleaner.Certificates.Count, 1);
    EXPECT_EQ(Cleaner.Certificates[0]->Name, "QTest Mine");
    EXPECT_EQ(Cleaner.Certificates[0]->Issuer, "QTest Mine") << "self-signed";
    EXPECT_EQ(Cleaner.Certificates[0]->Position, 0);
    EXPECT_EQ(Cleaner.Certificates[0]->Valid, 1);
    EXPECT_EQ(DateText(Cleaner.Certificates[0]->NotBefore), "2020-01-01 00:00:00.000");

    // An empty store, and an index without a store, list nothing.
    Cleaner.LoadCertificates(2);
    EXPECT_EQ(Cleaner.StoreIndex, 2);
    EXPECT_EQ(Cleaner.Certificates.Count, 0) << "trust is empty";
    Cleaner.LoadCertificates(0);
    Cleaner.LoadCertificates(7);
    EXPECT_EQ(Cleaner.StoreIndex, 7);
    EXPECT_EQ(Cleaner.Certificates.Count, 0) << "there is no store 7";

    Cleaner.LoadCertificates(3);
    EXPECT_EQ(Cleaner.Certificates.Count, 5) << "listing again finds the same";
    Cleaner.ClearCertificateList();
    EXPECT_EQ(Cleaner.Certificates.Count, 0);
}

TEST_F(IECertificateTest, CleanRemovesExactlyTheExpiredCertificatesOfEveryStore)
{
    // Made before the machine's registry is set aside: making a key reads the machine's
    // provider settings.
    const SYSTEMTIME past = Date(2000, 1, 1), ended = Date(2001, 1, 1), later = Date(2080, 1, 1);
    AddSelfSigned(User, L"MY", "QTest MY expired", past, ended);
    AddSelfSigned(User, L"MY", "QTest MY valid", past, later);
    AddSelfSigned(User, L"CA", "QTest CA expired", past, ended);
    AddSelfSigned(User, L"CA", "QTest CA just expired", past, NowPlus(-60));
    AddSelfSigned(User, L"CA", "QTest CA valid", past, later);
    AddSelfSigned(User, L"CA", "QTest CA not yet valid", NowPlus(3600), later);
    AddSelfSigned(User, L"trust", "QTest trust expired", past, ended);

    // The first opening of root brings the host's certificates into the machine's store,
    // once per process; with the machine's registry set aside, root then shows nothing.
    UserView(L"root");
    MachineSetAside aside;
    ASSERT_TRUE(aside.Active) << "the machine's registry could not be set aside";
    const std::vector<Held> root = UserView(L"root");
    if (!root.empty())
        GTEST_SKIP() << "root still shows " << root.size() << " certificates with the machine's registry set aside ("
                     << root[0].Name << ", ...); a clean would remove the expired ones among them";

    // The machine's CA store (the set-aside one): its expired certificates go too, as the
    // user's view holds them and the machine's store is the fallback.
    Add(Machine, L"CA", {"CN=QTest machine expired", "CN=QTest machine expired", "\x07", past, ended});
    Add(Machine, L"CA", {"CN=QTest machine valid", "CN=QTest machine valid", "\x08", past, later});

    std::vector<std::vector<std::string>> before;
    for (const wchar_t* name : StoreNames)
        before.push_back(Names(UserView(name)));

    Indicator.BeginSection("Expired");
    const DWORD start = GetTickCount();
    Cleaner.Clean();
    const DWORD elapsed = GetTickCount() - start;

    EXPECT_GE(elapsed, 590u) << "a pause of 200 ms before each of root, trust and CA (the reporter's own are off)";
    EXPECT_EQ(Joined(UserNames(L"MY")), "[QTest MY valid]");
    std::vector<std::string> ca = UserNames(L"CA");
    std::sort(ca.begin(), ca.end());
    EXPECT_EQ(Joined(ca), "[QTest CA not yet valid][QTest CA valid]");
    EXPECT_EQ(Joined(UserNames(L"trust")), "");
    EXPECT_EQ(Joined(MachineNames(L"CA")), "[QTest machine valid]");
    EXPECT_EQ(Joined(Names(UserView(L"root"))), "") << "root held nothing and gained nothing";

    const std::string line = ItemLine({{"    MY", "Done"}, {"ROOT", "Done"}, {"TRUST", "Done"}, {"     CA", "Done"}});
    EXPECT_EQ(Joined(LogEntries()), Joined({line}))
        << "one line for the item; each store ends it once more under its label";
    EXPECT_EQ(Size->Caption(), "      CA") << "the last store's label where the size stands";
    EXPECT_EQ(Status->Caption(), " Done...OK");
    EXPECT_EQ(Cleaner.StoreIndex, 3) << "left at the last store";
    EXPECT_EQ(Gauge->MaxValue(), static_cast<int>(before[3].size()) + 1)
        << "CA's certificates before the clean, plus one";
    int steps = 0;
    for (const auto& names : before)
        steps += static_cast<int>(names.size()) + 1;
    EXPECT_EQ(Gauge->Progress(), steps) << "a step per certificate and one per store";

    // Every certificate of a store, expired or not, was shown by its name, in the store's
    // order, and stepped before its cancel query; the first query is the one before any store.
    ASSERT_FALSE(Cleaner.Queries.empty());
    EXPECT_EQ(Cleaner.Queries[0].Status, " Preparing...");
    for (int store = 0; store < 4; ++store) {
        std::vector<std::string> shown, expected;
        std::vector<int> progress;
        for (size_t q = 1; q < Cleaner.Queries.size(); ++q)
            if (Cleaner.Queries[q].Store == store) {
                shown.push_back(Cleaner.Queries[q].Status);
                progress.push_back(Cleaner.Queries[q].Progress);
            }
        for (const std::string& name : before[static_cast<size_t>(store)])
            expected.push_back(" " + name);
        // After the certificates: the pass's end, and for all but the last the test before
        // the next store, with the last name still shown.
        const size_t tail = store < 3 ? 2 : 1;
        ASSERT_EQ(shown.size(), expected.size() + tail) << "cancel queries in store " << store;
        shown.resize(expected.size());
        EXPECT_EQ(Joined(shown), Joined(expected)) << "statuses in store " << store;
        for (size_t k = 1; k < expected.size(); ++k)
            EXPECT_EQ(progress[k], progress[k - 1] + 1) << "one step for certificate " << k << " of store " << store;
    }
}

TEST_F(IECertificateTest, ExpiredPassCountsFirstThenStepsOncePerCertificate)
{
    const SYSTEMTIME past = Date(2000, 1, 1), ended = Date(2001, 1, 1), later = Date(2080, 1, 1);
    Add(User, L"CA", {"CN=QTest A", "CN=QTest A", "\x01", past, ended});
    Add(User, L"CA", {"CN=QTest B", "CN=QTest B", "\x02", past, later});
    Add(User, L"CA", {"CN=QTest C", "CN=QTest C", "\x03", past, ended});

    // Counting alone: the gauge's maximum, nothing shown, nothing removed.
    Indicator.BeginSection("Expired");
    Cleaner.StoreIndex = 3;
    Cleaner.DeleteExpiredCertificates(0, "     CA");
    EXPECT_EQ(Gauge->MaxValue(), 4) << "three certificates and the closing step";
    EXPECT_EQ(Gauge->Progress(), 0);
    EXPECT_EQ(Size->Caption(), " ") << "counting shows no label";
    EXPECT_EQ(UserNames(L"CA").size(), 3u) << "counting removes nothing";
    EXPECT_EQ(Joined(LogEntries()), Joined({"   Expired Certificates"})) << "counting ends nothing";

    Cleaner.DeleteExpiredCertificates(1, "     CA");
    EXPECT_EQ(Joined(UserNames(L"CA")), "[QTest B]");
    EXPECT_EQ(Gauge->MaxValue(), 4);
    EXPECT_EQ(Gauge->Progress(), 4);
    EXPECT_EQ(Size->Caption(), "      CA");
    EXPECT_EQ(Status->Caption(), " Done...OK");
    EXPECT_EQ(Joined(LogEntries()), Joined({ItemLine({{"     CA", "Done"}})}));

    // An empty store, and a store that does not open: a maximum of 1, one step, done.
    for (unsigned char index : {2, 9}) {
        StartRun();
        Indicator.BeginSection("Expired");
        Cleaner.StoreIndex = index;
        Cleaner.DeleteExpiredCertificates(1, "TRUST");
        EXPECT_EQ(Gauge->MaxValue(), 1) << "store " << int(index);
        EXPECT_EQ(Gauge->Progress(), 1) << "store " << int(index);
        EXPECT_EQ(Joined(LogEntries()), Joined({ItemLine({{"TRUST", "Done"}})})) << "store " << int(index);
    }
}

TEST_F(IECertificateTest, RemovingOneCertificateTakesTheListedOneOnly)
{
    const SYSTEMTIME past = Date(2000, 1, 1), ended = Date(2001, 1, 1), later = Date(2080, 1, 1);
    Add(User, L"CA", {"CN=QTest Twin", "CN=QTest Twin", "\x01", past, later});
    Add(User, L"CA", {"CN=QTest Twin", "CN=QTest Twin", "\x02", past, later});
    Add(User, L"CA", {"CN=QTest Other", "CN=QTest Other", "\x03", past, ended});
    AddSelfSigned(User, L"MY", "QTest Mine", past, later);

    Cleaner.LoadCertificates(3);
    const TCertInfo* twin1 = Find(Cleaner, "QTest Twin", "01");
    const TCertInfo* twin2 = Find(Cleaner, "QTest Twin", "02");
    ASSERT_TRUE(twin1 && twin2) << Cleaner.Certificates.Count << " listed";

    // Records that no longer describe the certificate at their place remove nothing.
    TCertInfo serialElsewhere = *twin2;
    serialElsewhere.Position = twin1->Position;
    TCertInfo renamed = *twin2;
    renamed.Name = "QTest Twin ";
    TCertInfo beyond = *twin2;
    beyond.Position = Cleaner.Certificates.Count;
    TCertInfo before = *twin2;
    before.Position = -1;
    TCertInfo unserialled = *twin2;
    unserialled.SerialNumber = "";
    for (const TCertInfo* stale : {&serialElsewhere, &renamed, &beyond, &before, &unserialled}) {
        Cleaner.DeleteCertificate(*stale);
        EXPECT_EQ(UserNames(L"CA").size(), 3u)
            << "record " << stale->Name << " / " << stale->SerialNumber << " at " << stale->Position;
    }

    Cleaner.DeleteCertificate(*twin2);
    Cleaner.LoadCertificates(Cleaner.StoreIndex);
    EXPECT_EQ(Cleaner.Certificates.Count, 2);
    EXPECT_TRUE(Find(Cleaner, "QTest Twin", "01")) << "the twin with the other serial stays";
    EXPECT_FALSE(Find(Cleaner, "QTest Twin", "02"));
    EXPECT_EQ(Kept(User, L"CA").size(), 2u) << "the removal is kept, not only shown";

    // Expired or not, and in MY too.
    const TCertInfo* other = Find(Cleaner, "QTest Other");
    ASSERT_TRUE(other);
    Cleaner.DeleteCertificate(*other);
    EXPECT_EQ(Joined(UserNames(L"CA")), "[QTest Twin]");
    Cleaner.LoadCertificates(0);
    ASSERT_EQ(Cleaner.Certificates.Count, 1);
    Cleaner.DeleteCertificate(*Cleaner.Certificates[0]);
    EXPECT_EQ(Joined(UserNames(L"MY")), "");
}

TEST_F(IECertificateTest, MachineFallbackRemovesOnlyTheSameIssuerNameAndSerial)
{
    // Only "root", "trust" and "CA" have a machine store to fall back on.
    for (unsigned char index = 0; index < 5; ++index) {
        Cleaner.StoreIndex = index;
        HCERTSTORE user = Cleaner.OpenCertificateStore(false);
        HCERTSTORE machine = Cleaner.OpenCertificateStore(true);
        EXPECT_EQ(user != nullptr, index < 4) << "user store " << int(index);
        EXPECT_EQ(machine != nullptr, index >= 1 && index < 4) << "machine store " << int(index);
        for (HCERTSTORE s : {user, machine})
            if (s)
                CertCloseStore(s, 0);
    }

    const SYSTEMTIME past = Date(2000, 1, 1), ended = Date(2001, 1, 1), later = Date(2080, 1, 1);
    const std::string serial("\x22\x11", 2);
    Add(Machine, L"CA", {"CN=QTest Leaf", "CN=QTest CA One", serial, past, later});
    Add(Machine, L"CA", {"CN=QTest Leaf", "CN=QTest CA Two", serial, past, later});
    Add(Machine, L"CA", {"CN=QTest Leaf", "CN=QTest CA One, O=Elsewhere", serial, past, later});
    Add(Machine, L"CA", {"CN=QTest Leaf", "CN=QTest CA One", "\x33", past, later});
    Add(Machine, L"CA", {"CN=QTest Leaf 2", "CN=QTest CA One", serial, past, later});

    TCertInfo record;
    record.Name = "QTest Leaf";
    record.SerialNumber = "1122";
    record.Issuer = "QTest CA One";
    Cleaner.StoreIndex = 3;
    Cleaner.DeleteFromMachineStore(record, EncodedName("CN=QTest CA One"));

    std::vector<std::string> left;
    for (const Held& h : Kept(Machine, L"CA"))
        left.push_back(h.Name + " / " + h.Issuer + " / " + h.Serial);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(Joined(left), Joined({"QTest Leaf / QTest CA One / 1122",   // the same short name, another issuer
                                    "QTest Leaf / QTest CA One / 33",
                                    "QTest Leaf / QTest CA Two / 1122",
                                    "QTest Leaf 2 / QTest CA One / 1122"}))
        << "only the certificate of that issuer with that name and serial goes";

    // The machine pass of a clean: every expired certificate of the machine's store, and
    // nothing of the user's.
    Add(Machine, L"trust", {"CN=QTest old 1", "CN=QTest old 1", "\x01", past, ended});
    Add(Machine, L"trust", {"CN=QTest old 2", "CN=QTest old 2", "\x02", past, NowPlus(-60)});
    Add(Machine, L"trust", {"CN=QTest current", "CN=QTest current", "\x03", past, later});
    Add(User, L"trust", {"CN=QTest user old", "CN=QTest user old", "\x04", past, ended});
    Cleaner.StoreIndex = 2;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    Cleaner.DeleteExpiredFromMachineStore(now);
    EXPECT_EQ(Joined(MachineNames(L"trust")), "[QTest current]");
    EXPECT_EQ(Joined(UserNames(L"trust")), "[QTest user old]");
}

TEST_F(IECertificateTest, MachineCertificateInTheUsersViewIsRemovedAlone)
{
    const SYSTEMTIME past = Date(2000, 1, 1), later = Date(2080, 1, 1);
    const std::string serial("\x22\x11", 2);
    Add(Machine, L"CA", {"CN=QTest Leaf", "CN=QTest CA One", serial, past, later});
    Add(Machine, L"CA", {"CN=QTest Leaf", "CN=QTest CA Two", serial, past, later});
    Cleaner.LoadCertificates(3);
    if (Cleaner.Certificates.Count == 0)
        GTEST_SKIP() << "the current user's view of CA does not show the machine's certificates here";

    const TCertInfo* one = nullptr;
    for (int i = 0; i < Cleaner.Certificates.Count; ++i)
        if (Cleaner.Certificates[i]->Issuer == "QTest CA One")
            one = Cleaner.Certificates[i];
    ASSERT_TRUE(one) << Cleaner.Certificates.Count << " listed";
    Cleaner.DeleteCertificate(*one);

    std::vector<std::string> left;
    for (const Held& h : Kept(Machine, L"CA"))
        left.push_back(h.Name + " / " + h.Issuer);
    EXPECT_EQ(Joined(left), "[QTest Leaf / QTest CA Two]") << "the chosen certificate, whichever store held it";
}

TEST_F(IECertificateTest, CancelStopsAfterTheCertificateInProgress)
{
    const SYSTEMTIME past = Date(2000, 1, 1), ended = Date(2001, 1, 1);
    for (int i = 1; i <= 3; ++i) {
        const std::string serial(1, static_cast<char>(i)), digit = std::to_string(i);
        Add(User, L"MY", {"CN=QTest my " + digit, "CN=QTest my", serial, past, ended});
        Add(User, L"CA", {"CN=QTest ca " + digit, "CN=QTest ca", serial, past, ended});
    }
    const std::vector<std::string> my = Names(UserView(L"MY")), ca = Names(UserView(L"CA"));
    ASSERT_EQ(my.size(), 3u);
    ASSERT_EQ(ca.size(), 3u);

    {
        CancelEvent cancel;
        cancel.Set();

        // Cancelled before the clean: it returns before anything.
        Indicator.BeginSection("Expired");
        Cleaner.Clean();
        EXPECT_EQ(UserNames(L"MY").size(), 3u);
        EXPECT_EQ(UserNames(L"CA").size(), 3u);
        EXPECT_EQ(Joined(LogEntries()), Joined({"   Expired Certificates"})) << "no store began";
        EXPECT_EQ(Size->Caption(), " ");
        EXPECT_EQ(Cleaner.StoreIndex, 3) << "no store was chosen";

        // Cancelled while a store is walked: the count is whole, the first certificate is
        // handled, then the pass ends cancelled.
        StartRun();
        Indicator.BeginSection("Expired");
        Cleaner.StoreIndex = 3;
        Cleaner.DeleteExpiredCertificates(1, "     CA");
        EXPECT_EQ(Joined(UserNames(L"CA")), Joined({ca[1], ca[2]})) << "the first of " << Joined(ca) << " goes";
        EXPECT_EQ(Gauge->MaxValue(), 4);
        EXPECT_EQ(Gauge->Progress(), 1);
        EXPECT_EQ(Status->Caption(), " Canceled...");
        EXPECT_EQ(Joined(LogEntries()), Joined({ItemLine({{"     CA", "Canceled..."}})}));
    }

    // Cancel pressed while MY's second certificate is handled: MY stops after it, and no
    // later store is begun.
    StartRun();
    WatchedCleaner pressed;
    pressed.SetIndicator(&Indicator);
    pressed.CancelStore = 0;
    pressed.CancelAt = 2;
    Indicator.BeginSection("Expired");
    pressed.Clean();
    EXPECT_EQ(Joined(UserNames(L"MY")), Joined({my[2]})) << "the first two of " << Joined(my) << " go";
    EXPECT_EQ(UserNames(L"CA").size(), 2u) << "CA is not begun";
    EXPECT_EQ(pressed.StoreIndex, 0);
    EXPECT_EQ(Joined(LogEntries()), Joined({ItemLine({{"    MY", "Canceled..."}})}));
    for (const auto& q : pressed.Queries)
        EXPECT_TRUE(q.Store == 0 || &q == &pressed.Queries.front()) << "a query in store " << q.Store;
}
