#pragma once
// The context-menu item "Wipe with Vantrel" for files and folders: the shell hands it the
// selection (Initialize), asks for its item (QueryContextMenu) and, when it is chosen,
// invokes it: the chosen paths go to Vantrel's work list and Vantrel is started.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

class CContextMenuExt : public IShellExtInit, public IContextMenu {
public:
    CContextMenuExt();
    virtual ~CContextMenuExt();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;
    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT idFirst, UINT idLast, UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR id, UINT type, UINT* reserved, CHAR* name, UINT size) override;

    // The selection as full 8-bit paths in the code page; a name that the code page cannot
    // spell is left out, never handed on with '?' or a look-alike in it.
    static std::vector<std::string> AnsiPaths(HDROP drop, UINT codePage = CP_ACP);
    // Writes the work list into the installation folder and starts Vantrel from there; on
    // failure, why tells the user what did not work.
    static HRESULT HandToVantrel(const std::vector<std::string>& paths, std::string& why);

    // Objects alive, for DllCanUnloadNow.
    static LONG Objects;

private:
    LONG Refs = 1;
    std::vector<std::string> Paths;
};
