#pragma once
// The Windows group of a cleaning run: the Start menu's Documents, Find and Run lists, the
// recycle bins, the Temp folder, ScanDisk's lost-cluster files, the recent-file lists of the
// Accessories and Office programs, the file dialogs' history, the last logged-on user name
// and the Media Player lists. It runs on the run's worker thread only.
#include "CCleanClassPrototype.h"
#include "CHddClass.h"
#include "CShellFoldersContainer.h"
#include "TM_RegistryExFunctions.h"

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>

class TRegistry;

class CWinCleanClass : public CCleanClassPrototype {
public:
    CWinCleanClass();
    ~CWinCleanClass() override;
    CWinCleanClass(const CWinCleanClass&) = delete;
    CWinCleanClass& operator=(const CWinCleanClass&) = delete;

    // Runs the chosen items of the "MS Windows" group in list order.
    void Clean() override;

    // One operation each; the item that runs them has begun its section. Every one ends the
    // section itself, except that ClearPaintMru and ClearWordpadMru end it only when
    // cancelled (ClearImagingMru reports for all three), and ClearWordMru and ClearAccessMru
    // leave it to ClearOfficeMru.
    virtual void ClearRunMru();
    virtual void ClearFindMru();
    virtual void ClearRecentDocuments();
    virtual void ClearPaintMru();
    virtual void ClearWordpadMru();
    virtual void ClearImagingMru();
    virtual void ClearWordMru();
    virtual void ClearAccessMru();
    virtual void ClearChkFiles();
    virtual void ClearOfficeMru();
    virtual void ClearCommonDialogMru();
    virtual void ClearRecycleBin();
    virtual void ClearTempFolder();
    virtual void ClearLastLogonUser();
    virtual void ClearMediaPlayerMru();

    // The wiping record; the run sets its pass count before cleaning.
    CHddClass& Hdd() { return FHdd; }

protected:
    void RunItem(TMyRndRectBtn* item) override;

private:
    // The registry object with its hive selected and no key open, so that every path is
    // taken from the hive's root whatever an earlier step left open.
    TRegistry& Hive(HKEY root);
    // Measures the keys into the item's total (anew or added to it), all of them before the
    // first goes, then deletes each with every key below it.
    void MeasureAndDeleteKeys(std::initializer_list<const char*> keys, bool startTotal, bool throughShell = false);
    // The items that only delete whole keys: measure, delete, report once.
    void ClearKeys(std::initializer_list<const char*> keys, bool evenWhenCancelled, bool throughShell = false);
    // Gathers every entry of the folder; a folder that may not be emptied gathers nothing.
    void CollectFolder(const std::string& folder, bool recursive);
    // The folder that Office's "RecentFiles" value names, or empty unless it is one folder
    // directly below AppData\Microsoft\Office.
    std::string OfficeRecentFolder();

    CShellFoldersContainer ShellFolders;
    std::unique_ptr<TRegistry> Registry;
    TM_RegistryExFunctions Meter;
    CHddClass FHdd;
    // The registry bytes of the item in progress: the meter's running total, plus what the
    // Access list adds by value.
    int ItemBytes = 0;
};
