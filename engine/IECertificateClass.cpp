#include "IECertificateClass.h"

#include "CIndicatorClass.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct StoreEntry {
    const wchar_t* Name;
    bool OnMachine;   // the local machine has a store of this name to fall back on
};

// By StoreIndex.
const StoreEntry Stores[] = {{L"MY", false}, {L"root", true}, {L"trust", true}, {L"CA", true}};

struct OidName {
    const char* Oid;
    const char* Name;
};

const OidName OidNames[] = {
    // RSA and PKCS
    {"1.2.840.113549", "RSA"},
    {"1.2.840.113549.1", "PKCS"},
    {"1.2.840.113549.2", "RSA_HASH"},
    {"1.2.840.113549.3", "RSA_ENCRYPT"},
    {"1.2.840.113549.1.1", "PKCS_1"},
    {"1.2.840.113549.1.2", "PKCS_2"},
    {"1.2.840.113549.1.3", "PKCS_3"},
    {"1.2.840.113549.1.4", "PKCS_4"},
    {"1.2.840.113549.1.5", "PKCS_5"},
    {"1.2.840.113549.1.6", "PKCS_6"},
    {"1.2.840.113549.1.7", "PKCS_7"},
    {"1.2.840.113549.1.8", "PKCS_8"},
    {"1.2.840.113549.1.9", "PKCS_9"},
    {"1.2.840.113549.1.10", "PKCS_10"},
    {"1.2.840.113549.1.12", "PKCS_12"},
    {"1.2.840.113549.1.1.1", "RSA_RSA"},
    // These three are signature algorithms (a digest signed with RSA), so they take the
    // names of the signing algorithms, not of the bare digests.
    {"1.2.840.113549.1.1.2", "RSA_MD2RSA"},
    {"1.2.840.113549.1.1.3", "RSA_MD4RSA"},
    {"1.2.840.113549.1.1.4", "RSA_MD5RSA"},
    {"1.2.840.113549.1.1.5", "RSA_SHA1RSA"},
    {"1.2.840.113549.1.3.1", "RSA_DH"},
    {"1.2.840.113549.1.7.1", "RSA_data"},
    {"1.2.840.113549.1.7.2", "RSA_signedData"},
    {"1.2.840.113549.1.7.3", "RSA_envelopedData"},
    {"1.2.840.113549.1.7.4", "RSA_signEnvData"},
    {"1.2.840.113549.1.7.5", "RSA_digestedData"},
    {"1.2.840.113549.1.7.6", "RSA_encryptedData"},
    {"1.2.840.113549.1.9.1", "RSA_emailAddr"},
    {"1.2.840.113549.1.9.2", "RSA_unstructName"},
    {"1.2.840.113549.1.9.3", "RSA_contentType"},
    {"1.2.840.113549.1.9.4", "RSA_messageDigest"},
    {"1.2.840.113549.1.9.5", "RSA_signingTime"},
    {"1.2.840.113549.1.9.6", "RSA_counterSign"},
    {"1.2.840.113549.1.9.7", "RSA_challengePwd"},
    {"1.2.840.113549.1.9.8", "RSA_unstructAddr"},
    {"1.2.840.113549.1.9.9", "RSA_extCertAttrs"},
    {"1.2.840.113549.1.9.15", "RSA_SMIMECapabilities"},
    {"1.2.840.113549.1.9.15.1", "RSA_preferSignedData"},
    {"1.2.840.113549.3.2", "RSA_RC2CBC"},
    {"1.2.840.113549.3.4", "RSA_RC4"},
    {"1.2.840.113549.3.7", "RSA_DES_EDE3_CBC"},
    {"1.2.840.113549.3.9", "RSA_RC5_CBCPad"},
    // ANSI X9.42 and X9.57
    {"1.2.840.10046", "ANSI_x942"},
    {"1.2.840.10046.2.1", "ANSI_x942_DH"},
    {"1.2.840.10040", "X957"},
    {"1.2.840.10040.4.1", "X957_DSA"},
    {"1.2.840.10040.4.3", "DATA STRUCTURE"},
    // Directory services
    {"2.5", "DS"},
    {"2.5.8", "DSALG"},
    {"2.5.8.1", "DSALG_CRPT"},
    {"2.5.8.2", "DSALG_HASH"},
    {"2.5.8.3", "DSALG_SIGN"},
    {"2.5.8.1.1", "DSALG_RSA"},
    // OIW
    {"1.3.14", "OIW"},
    {"1.3.14.3.2", "OIWSEC"},
    {"1.3.14.3.2.2", "OIWSEC_md4RSA"},
    {"1.3.14.3.2.3", "OIWSEC_md5RSA"},
    {"1.3.14.3.2.4", "OIWSEC_md4RSA2"},
    {"1.3.14.3.2.6", "OIWSEC_desECB"},
    {"1.3.14.3.2.7", "OIWSEC_desCBC"},
    {"1.3.14.3.2.8", "OIWSEC_desOFB"},
    {"1.3.14.3.2.9", "OIWSEC_desCFB"},
    {"1.3.14.3.2.10", "OIWSEC_desMAC"},
    {"1.3.14.3.2.11", "OIWSEC_rsaSign"},
    {"1.3.14.3.2.12", "OIWSEC_dsa"},
    {"1.3.14.3.2.13", "OIWSEC_shaDSA"},
    {"1.3.14.3.2.14", "OIWSEC_mdc2RSA"},
    {"1.3.14.3.2.15", "OIWSEC_shaRSA"},
    {"1.3.14.3.2.16", "OIWSEC_dhCommMod"},
    {"1.3.14.3.2.17", "OIWSEC_desEDE"},
    {"1.3.14.3.2.18", "OIWSEC_sha"},
    {"1.3.14.3.2.19", "OIWSEC_mdc2"},
    {"1.3.14.3.2.20", "OIWSEC_dsaComm"},
    {"1.3.14.3.2.21", "OIWSEC_dsaCommSHA"},
    {"1.3.14.3.2.22", "OIWSEC_rsaXchg"},
    {"1.3.14.3.2.23", "OIWSEC_keyHashSeal"},
    {"1.3.14.3.2.24", "OIWSEC_md2RSASign"},
    {"1.3.14.3.2.25", "OIWSEC_md5RSASign"},
    {"1.3.14.3.2.26", "OIWSEC_sha1"},
    {"1.3.14.3.2.27", "OIWSEC_dsaSHA1"},
    {"1.3.14.3.2.28", "OIWSEC_dsaCommSHA1"},
    {"1.3.14.3.2.29", "OIWSEC_sha1RSASign"},
    {"1.3.14.7.2", "OIWDIR"},
    {"1.3.14.7.2.1", "OIWDIR_CRPT"},
    {"1.3.14.7.2.2", "OIWDIR_HASH"},
    {"1.3.14.7.2.3", "OIWDIR_SIGN"},
    {"1.3.14.7.2.2.1", "OIWDIR_md2"},
    {"1.3.14.7.2.3.1", "OIWDIR_md2RSA"},
    // INFOSEC
    {"2.16.840.1.101.2.1", "INFOSEC"},
    {"2.16.840.1.101.2.1.1.1", "INFOSEC_sdnsSignature"},
    {"2.16.840.1.101.2.1.1.2", "INFOSEC_mosaicSignature"},
    {"2.16.840.1.101.2.1.1.3", "INFOSEC_sdnsConfidentiality"},
    {"2.16.840.1.101.2.1.1.4", "INFOSEC_mosaicConfidentiality"},
    {"2.16.840.1.101.2.1.1.5", "INFOSEC_sdnsIntegrity"},
    {"2.16.840.1.101.2.1.1.6", "INFOSEC_mosaicIntegrity"},
    {"2.16.840.1.101.2.1.1.7", "INFOSEC_sdnsTokenProtection"},
    {"2.16.840.1.101.2.1.1.8", "INFOSEC_mosaicTokenProtection"},
    {"2.16.840.1.101.2.1.1.9", "INFOSEC_sdnsKeyManagement"},
    {"2.16.840.1.101.2.1.1.10", "INFOSEC_mosaicKeyManagement"},
    {"2.16.840.1.101.2.1.1.11", "INFOSEC_sdnsKMandSig"},
    {"2.16.840.1.101.2.1.1.12", "INFOSEC_mosaicKMandSig"},
    {"2.16.840.1.101.2.1.1.13", "INFOSEC_SuiteASignature"},
    {"2.16.840.1.101.2.1.1.14", "INFOSEC_SuiteAConfidentiality"},
    {"2.16.840.1.101.2.1.1.15", "INFOSEC_SuiteAIntegrity"},
    {"2.16.840.1.101.2.1.1.16", "INFOSEC_SuiteATokenProtection"},
    {"2.16.840.1.101.2.1.1.17", "INFOSEC_SuiteAKeyManagement"},
    {"2.16.840.1.101.2.1.1.18", "INFOSEC_SuiteAKMandSig"},
    {"2.16.840.1.101.2.1.1.19", "INFOSEC_mosaicUpdatedSig"},
    {"2.16.840.1.101.2.1.1.20", "INFOSEC_mosaicKMandUpdSig"},
    {"2.16.840.1.101.2.1.1.21", "INFOSEC_mosaicUpdatedInteg"},
};

// The current time as the certificates' validity is written: UTC.
FILETIME UtcNow()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME ft{};
    SystemTimeToFileTime(&now, &ft);
    return ft;
}

bool Expired(PCCERT_CONTEXT cert, const FILETIME& now)
{
    return CompareFileTime(&cert->pCertInfo->NotAfter, &now) < 0;
}

SYSTEMTIME Utc(const FILETIME& ft)
{
    SYSTEMTIME st{};
    FileTimeToSystemTime(&ft, &st);
    return st;
}

// The subject's (or with CERT_NAME_ISSUER_FLAG the issuer's) simple display name, cut to
// 127 characters as the list shows it. The whole name is fetched first: not every
// platform cuts a name that is too long for the buffer; some return nothing at all.
std::string DisplayName(PCCERT_CONTEXT cert, DWORD flags)
{
    const size_t shown = 127;
    DWORD size = CertGetNameStringA(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, flags, nullptr, nullptr, 0);
    if (size <= 1)
        return std::string();
    std::string name(size, '\0');
    CertGetNameStringA(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, flags, nullptr, &name[0], size);
    name.resize(std::min(name.find('\0'), shown));
    return name;
}

std::string Serial(PCCERT_CONTEXT cert)
{
    return CIECertificateClass::SerialText(cert->pCertInfo->SerialNumber);
}

std::string IssuerBytes(PCCERT_CONTEXT cert)
{
    const CERT_NAME_BLOB& issuer = cert->pCertInfo->Issuer;
    return std::string(reinterpret_cast<const char*>(issuer.pbData), issuer.cbData);
}

// A store held for one operation. A store that removals went through is committed before
// it closes: some system stores keep removals in memory and drop them at the close.
class OpenStore {
public:
    OpenStore(HCERTSTORE store, bool commit) : Handle(store), Commit(commit) {}
    ~OpenStore()
    {
        if (!Handle)
            return;
        if (Commit)
            CertControlStore(Handle, 0, CERT_STORE_CTRL_COMMIT, nullptr);
        CertCloseStore(Handle, 0);
    }
    OpenStore(const OpenStore&) = delete;
    OpenStore& operator=(const OpenStore&) = delete;

    HCERTSTORE Handle;

private:
    bool Commit;
};

// The certificates of a store as one walk met them, each held by a duplicate of its
// context. A removal during the walk is not safe on every platform (the enumeration can
// hand the removed certificate back again and again), so removals walk first and then
// remove from what the walk saw, never more.
class Walk {
public:
    explicit Walk(HCERTSTORE store)
    {
        PCCERT_CONTEXT cert = nullptr;
        while ((cert = CertEnumCertificatesInStore(store, cert)) != nullptr)
            Items.push_back(CertDuplicateCertificateContext(cert));
        CertFreeCertificateContext(cert);
    }
    ~Walk()
    {
        for (PCCERT_CONTEXT cert : Items)
            if (cert)
                CertFreeCertificateContext(cert);
    }
    Walk(const Walk&) = delete;
    Walk& operator=(const Walk&) = delete;

    // Removes the certificate at the place from its store; the context goes either way.
    bool Delete(size_t i)
    {
        PCCERT_CONTEXT cert = Items[i];
        Items[i] = nullptr;
        return CertDeleteCertificateFromStore(cert) != FALSE;
    }

    std::vector<PCCERT_CONTEXT> Items;
};

int CountIn(HCERTSTORE store)
{
    int count = 0;
    if (!store)
        return count;
    PCCERT_CONTEXT cert = nullptr;
    while ((cert = CertEnumCertificatesInStore(store, cert)) != nullptr)
        ++count;
    CertFreeCertificateContext(cert);
    return count;
}

}  // namespace

CIECertificateClass::CIECertificateClass() = default;

CIECertificateClass::~CIECertificateClass()
{
    ClearCertificateList();
}

HCERTSTORE CIECertificateClass::OpenCertificateStore(bool machine)
{
    if (StoreIndex >= sizeof Stores / sizeof Stores[0])
        return nullptr;
    const StoreEntry& entry = Stores[StoreIndex];
    if (machine && !entry.OnMachine)
        return nullptr;
    DWORD location = machine ? CERT_SYSTEM_STORE_LOCAL_MACHINE : CERT_SYSTEM_STORE_CURRENT_USER;
    return CertOpenStore(CERT_STORE_PROV_SYSTEM, 0, 0, location, entry.Name);
}

void CIECertificateClass::ClearCertificateList()
{
    for (int i = 0; i < Certificates.Count; ++i)
        delete Certificates[i];
    Certificates.Resize(0);
}

void CIECertificateClass::LoadCertificates(unsigned char storeIndex)
{
    ClearCertificateList();
    StoreIndex = storeIndex;
    const FILETIME now = UtcNow();
    OpenStore store(OpenCertificateStore(false), false);
    if (!store.Handle)
        return;
    PCCERT_CONTEXT cert = nullptr;
    while ((cert = CertEnumCertificatesInStore(store.Handle, cert)) != nullptr) {
        const CERT_INFO* info = cert->pCertInfo;
        std::unique_ptr<TCertInfo> record(new TCertInfo);
        record->Valid = Expired(cert, now) ? 0 : 1;
        record->Name = DisplayName(cert, 0);
        record->Position = Certificates.Count;
        record->Version = static_cast<int>(info->dwVersion) + 1;
        record->SerialNumber = Serial(cert);
        const std::string oid = info->SignatureAlgorithm.pszObjId ? info->SignatureAlgorithm.pszObjId : "";
        record->SignatureAlgorithm = oid + "  " + OidToName(oid);
        record->Subject = record->Name;
        record->Issuer = DisplayName(cert, CERT_NAME_ISSUER_FLAG);
        record->NotBefore = Utc(info->NotBefore);
        record->NotAfter = Utc(info->NotAfter);
        Certificates.Add(record.get());
        record.release();
    }
    CertFreeCertificateContext(cert);
}

std::string CIECertificateClass::OidToName(const std::string& oid)
{
    for (const OidName& row : OidNames)
        if (oid == row.Oid)
            return row.Name;
    return "0";
}

std::string CIECertificateClass::SerialText(const CRYPT_INTEGER_BLOB& serial)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (DWORD i = serial.cbData; i > 0; --i) {
        BYTE b = serial.pbData[i - 1];
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

void CIECertificateClass::DeleteCertificate(const TCertInfo& record)
{
    OpenStore store(OpenCertificateStore(false), true);
    if (!store.Handle)
        return;
    Walk walk(store.Handle);
    // The list may be older than the store: only the certificate still at the record's
    // place, with its name and serial, is the one the user chose.
    const size_t at = static_cast<size_t>(record.Position);
    if (record.Position < 0 || at >= walk.Items.size())
        return;
    PCCERT_CONTEXT cert = walk.Items[at];
    if (DisplayName(cert, 0) != record.Name || Serial(cert) != record.SerialNumber)
        return;
    const std::string issuer = IssuerBytes(cert);
    if (!walk.Delete(at) && Stores[StoreIndex].OnMachine)
        DeleteFromMachineStore(record, issuer);
}

void CIECertificateClass::DeleteFromMachineStore(const TCertInfo& record, const std::string& issuer)
{
    OpenStore store(OpenCertificateStore(true), true);
    if (!store.Handle)
        return;
    Walk walk(store.Handle);
    for (size_t i = 0; i < walk.Items.size(); ++i) {
        PCCERT_CONTEXT cert = walk.Items[i];
        if (IssuerBytes(cert) == issuer && DisplayName(cert, 0) == record.Name && Serial(cert) == record.SerialNumber)
            walk.Delete(i);
    }
}

void CIECertificateClass::DeleteExpiredFromMachineStore(const FILETIME& now)
{
    OpenStore store(OpenCertificateStore(true), true);
    if (!store.Handle)
        return;
    Walk walk(store.Handle);
    for (size_t i = 0; i < walk.Items.size(); ++i)
        if (Expired(walk.Items[i], now))
            walk.Delete(i);
}

void CIECertificateClass::DeleteExpiredCertificates(unsigned char mode, const std::string& label)
{
    if (mode != 1) {
        OpenStore store(OpenCertificateStore(false), false);
        Indicator->SetMax(CountIn(store.Handle) + 1);
        return;
    }
    // The store's name stands where other items show the size they free.
    Indicator->SetSizeText(label);
    DeleteExpiredCertificates(0, std::string());
    const FILETIME now = UtcNow();
    {
        OpenStore store(OpenCertificateStore(false), true);
        if (store.Handle) {
            Walk walk(store.Handle);
            const bool machine = Stores[StoreIndex].OnMachine;
            for (size_t i = 0; i < walk.Items.size(); ++i) {
                const std::string name = DisplayName(walk.Items[i], 0);
                if (Expired(walk.Items[i], now) && !walk.Delete(i) && machine)
                    DeleteExpiredFromMachineStore(now);
                Indicator->SetStatus(name);
                Indicator->Step();
                if (IsCancelRequested())
                    break;
            }
        }
    }
    EndSection();
}

void CIECertificateClass::Clean()
{
    if (IsCancelRequested())
        return;
    StoreIndex = 0;
    DeleteExpiredCertificates(1, "    MY");
    static const struct {
        unsigned char Index;
        const char* Label;
    } later[] = {{1, "ROOT"}, {2, "TRUST"}, {3, "     CA"}};
    for (const auto& store : later) {
        if (IsCancelRequested())
            return;
        Indicator->StatusPreparing(std::string());
        StoreIndex = store.Index;
        // A moment between the stores so that each one's name can be read.
        Sleep(200);
        DeleteExpiredCertificates(1, store.Label);
    }
}
