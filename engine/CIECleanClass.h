#pragma once
// The Internet Explorer group of a cleaning run: the Temporary Internet Files cache, cookies
// (but those on the keep list), history, typed addresses, downloaded program files, the
// index files (wiped by Fennick at the next logon), expired certificates, AutoComplete
// data, the start page and the URL prefixes. The cookie window builds one of its own and
// uses only its cookie operations.
#include "CCleanClassPrototype.h"
#include "CCookiesClass.h"
#include "CHddClass.h"
#include "CShellFoldersContainer.h"
#include "IECertificateClass.h"
#include "TM_RegistryExFunctions.h"
#include "TRegistry.h"

#include <memory>
#include <string>

// The RunOnce command that starts Fennick: its full path in quotes, a blank, the pass count.
// Unquoted, a folder with blanks would let the system start "C:\Program.exe" or the like
// with the rest as arguments. Fennick reads only the last character, the count's one digit.
std::string IndexFilesCommandLine(const std::string& programFolder, int passCount);

class CIECleanClass : public CCleanClassPrototype, public CCookiesClass {
public:
    CIECleanClass();
    ~CIECleanClass() override;

    void SetIndicator(CIndicatorClass* indicator) override;
    void Clean() override;

    // Cache and cookies. Modes: 0 counts (and sets the gauge), 1 cleans after counting.
    // Kinds: 0 every file, 1 pages, 2 graphics.
    virtual void ClearCache(int kind);
    virtual void ClearCookies(int mode);
    void SaveCookiesToKeep() override;
    void LoadCookiesToKeep() override;
    void ListCookies() override;
    // Why the keep list could not be read when it was last loaded; empty when it was.
    const std::string& KeepListError() const { return KeepListFailure; }

    // History, typed addresses, downloaded programs and the index files.
    virtual void ClearHistory(int mode);
    virtual void ClearTypedUrls();
    virtual void ClearDownloadedPrograms();
    // 0 has Fennick wipe the index files at the next logon; anything else does nothing.
    virtual void ScheduleIndexDatDeletion(int flag);

    // AutoComplete data, the start page and the URL prefixes.
    virtual void ClearProtectedStorage();
    virtual void ClearIntelliForms();
    virtual void ResetStartPage();
    virtual void RestoreUrlPrefixes();

    CHddClass& Hdd() { return FHdd; }

protected:
    void RunItem(TMyRndRectBtn* item) override;

    // Each group of operations keeps its private steps in its own unit.
    friend class CIECacheWork;
    friend class CIEHistoryWork;
    friend class CIEAutoCompleteWork;

    CShellFoldersContainer ShellFolders;
    TM_RegistryExFunctions Meter;
    CHddClass FHdd;
    CIECertificateClass Certificates;
    std::unique_ptr<TRegistry> Reg;
    // Why the last load of the keep list failed; empty once a load succeeded.
    std::string KeepListFailure;
};
