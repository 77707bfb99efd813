#include "CContextMenuExt.h"

#include <shellapi.h>

#include <cstring>

LONG CContextMenuExt::Objects = 0;

namespace {

const char ItemText[] = "Wipe with Vantrel";
const char Verb[] = "wipe";
const char HelpText[] = "Overwrites the chosen files and folders and deletes them";

std::string InstallationFolder()
{
    char buf[MAX_PATH + 1] = {};
    DWORD size = sizeof buf - 1, type = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrand\\Quelora\\Data", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    LONG rc = RegQueryValueExA(key, "InstallationPath", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return std::string();
    std::string folder(buf, strnlen(buf, size));
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

HRESULT LastError()
{
    return HRESULT_FROM_WIN32(GetLastError());
}

}  // namespace

CContextMenuExt::CContextMenuExt()
{
    InterlockedIncrement(&Objects);
}

CContextMenuExt::~CContextMenuExt()
{
    InterlockedDecrement(&Objects);
}

STDMETHODIMP CContextMenuExt::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellExtInit))
        *out = static_cast<IShellExtInit*>(this);
    else if (IsEqualIID(riid, IID_IContextMenu))
        *out = static_cast<IContextMenu*>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CContextMenuExt::AddRef()
{
    return InterlockedIncrement(&Refs);
}

STDMETHODIMP_(ULONG) CContextMenuExt::Release()
{
    LONG n = InterlockedDecrement(&Refs);
    if (n == 0)
        delete this;
    return n;
}

STDMETHODIMP CContextMenuExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY)
{
    Paths.clear();
    if (!data)
        return E_INVALIDARG;
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium)))
        return E_INVALIDARG;
    if (auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
        Paths = AnsiPaths(drop);
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    // Without a path that can be handed on, the item is not offered.
    return Paths.empty() ? E_FAIL : S_OK;
}

std::vector<std::string> CContextMenuExt::AnsiPaths(HDROP drop)
{
    std::vector<std::string> paths;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring wide(length + 1, L'\0');
        if (length == 0 || DragQueryFileW(drop, i, &wide[0], length + 1) != length)
            continue;
        BOOL lossy = FALSE;
        int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), static_cast<int>(length), nullptr, 0,
                                    nullptr, &lossy);
        if (n <= 0 || lossy)
            continue;
        std::string ansi(n, '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), static_cast<int>(length), &ansi[0], n, nullptr,
                            &lossy);
        if (!lossy)
            paths.push_back(ansi);
    }
    return paths;
}

STDMETHODIMP CContextMenuExt::QueryContextMenu(HMENU menu, UINT index, UINT idFirst, UINT idLast, UINT flags)
{
    if ((flags & CMF_DEFAULTONLY) || Paths.empty() || idFirst > idLast)
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    if (!InsertMenuA(menu, index, MF_STRING | MF_BYPOSITION, idFirst, ItemText))
        return LastError();
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
}

STDMETHODIMP CContextMenuExt::InvokeCommand(CMINVOKECOMMANDINFO* info)
{
    if (!info)
        return E_INVALIDARG;
    // The verb comes as our item's offset (0) or as its name.
    if (HIWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0) {
        if (lstrcmpiA(info->lpVerb, Verb) != 0)
            return E_INVALIDARG;
    } else if (LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0) {
        return E_INVALIDARG;
    }
    return HandToVantrel(Paths);
}

STDMETHODIMP CContextMenuExt::GetCommandString(UINT_PTR id, UINT type, UINT*, CHAR* name, UINT size)
{
    if (id != 0)
        return E_INVALIDARG;
    const char* text;
    switch (type) {
    case GCS_VALIDATEA:
    case GCS_VALIDATEW:
        return S_OK;
    case GCS_VERBA:
    case GCS_VERBW:
        text = Verb;
        break;
    case GCS_HELPTEXTA:
    case GCS_HELPTEXTW:
        text = HelpText;
        break;
    default:
        return E_INVALIDARG;
    }
    if (!name || size == 0)
        return E_INVALIDARG;
    if (type & GCS_UNICODE)
        MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<WCHAR*>(name), static_cast<int>(size));
    else
        lstrcpynA(name, text, static_cast<int>(size));
    return S_OK;
}

HRESULT CContextMenuExt::HandToVantrel(const std::vector<std::string>& paths)
{
    std::string folder = InstallationFolder();
    if (folder.empty() || paths.empty())
        return E_FAIL;
    std::string list;
    for (const std::string& p : paths)
        list += p + "\r\n";
    HANDLE f = CreateFileA((folder + "cmfiles.ftd").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return LastError();
    DWORD put = 0;
    BOOL ok = WriteFile(f, list.data(), static_cast<DWORD>(list.size()), &put, nullptr) && put == list.size();
    CloseHandle(f);
    if (!ok)
        return E_FAIL;

    std::string exe = folder + "Vantrel.exe";
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return LastError();
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return S_OK;
}
