#pragma once
// Expired certificates in the system stores "MY", "root", "trust" and "CA" of the current
// user (the local machine's as the fallback for removals), and the certificate list that
// the certificate window shows.
#include "CCleanClassPrototype.h"
#include "CPtrContainer.h"

#include <windows.h>
#include <wincrypt.h>

#include <string>

// One certificate of a listing. Made only by LoadCertificates and owned by the list.
class TCertInfo {
public:
    virtual ~TCertInfo() = default;

    unsigned char Valid = 0;           // 1 while NotAfter has not passed at listing time
    std::string Name;                  // the subject's simple display name
    int Position = 0;                  // 0-based place in the store's enumeration
    int Version = 0;                   // X.509 version: 1, 2 or 3
    std::string SerialNumber;          // uppercase hex, most significant byte first
    std::string SignatureAlgorithm;    // "<oid>  <name>"
    std::string Subject;
    std::string Issuer;
    SYSTEMTIME NotBefore{};            // UTC
    SYSTEMTIME NotAfter{};             // UTC
};

class CIECertificateClass : public CCleanClassPrototype {
public:
    CIECertificateClass();
    ~CIECertificateClass() override;
    CIECertificateClass(const CIECertificateClass&) = delete;
    CIECertificateClass& operator=(const CIECertificateClass&) = delete;

    // Removes the expired certificates of "MY", "root", "trust" and "CA" in this order, one
    // gauge run per store, inside the section that the Internet Explorer cleaner began.
    void Clean() override;

    // The current user's store of StoreIndex, or with machine the local machine's (only
    // "root", "trust" and "CA"). Null when there is no such store; the caller closes it.
    HCERTSTORE OpenCertificateStore(bool machine);
    // Lists the current user's store of the index into Certificates; StoreIndex keeps it.
    void LoadCertificates(unsigned char storeIndex);
    void ClearCertificateList();
    // The name of an algorithm's object identifier; "0" for one the table does not know.
    static std::string OidToName(const std::string& oid);
    // A serial number as the platform hands it over (least significant byte first), as
    // uppercase hex with the most significant byte first.
    static std::string SerialText(const CRYPT_INTEGER_BLOB& serial);
    // Removes the certificate that a record of the current list describes, if it is still
    // at its place with the same name and serial. The caller lists again to see the result.
    void DeleteCertificate(const TCertInfo& record);
    // Mode 1 shows the label, counts, then removes the expired certificates of the store
    // with a status and a step for each; mode 0 (any other) only counts into the gauge.
    void DeleteExpiredCertificates(unsigned char mode, const std::string& label);

    unsigned char StoreIndex = 3;   // 0 "MY", 1 "root", 2 "trust", 3 "CA"
    CPoorVector<TCertInfo*> Certificates;

protected:
    void RunItem(TMyRndRectBtn*) override {}

    // Where the current user's store refuses a removal (its view also shows the machine's
    // certificates, which a user may not remove through it), the machine's store of the
    // same name is asked instead; "MY" has none.
    // The record's certificate, known by its issuer (the encoded name), name and serial:
    // a serial number is unique only under one issuer.
    void DeleteFromMachineStore(const TCertInfo& record, const std::string& issuer);
    // Every certificate of the machine's store that had expired at the time given.
    void DeleteExpiredFromMachineStore(const FILETIME& now);
};
