#include "CContextMenuExt.h"

#include <shellapi.h>

#include <cstring>

LONG CContextMenuExt::Objects = 0;

namespace {

const char ItemText[] = "Wipe with Vantrel";
const char Verb[] = "wipe";
const char HelpText[] = "Overwrites the chosen files and folders and deletes them";
const char ListName[] = "cmfiles.ftd";
// Held from writing the list until the Vantrel started for it has read it, so that a second
// invocation (another Explorer window) never replaces a list that is still to be read.
const char ListMutexName[] = "Quelora Vantrel work list";
// Vantrel has read its list once it waits for input; a start slower than this is given up
// on, and the next invocation may then write.
const DWORD ReadWaitMs = 30000;
const DWORD ListWaitMs = ReadWaitMs + 5000;

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

std::string SystemMessage(DWORD error)
{
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n ? std::string(text, n) : "Error " + std::to_string(error) + ".";
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

// Fails with the last error, telling why in words.
HRESULT Failed(std::string& why, const std::string& what)
{
    DWORD error = GetLastError();
    why = what + "\r\n" + SystemMessage(error);
    return HRESULT_FROM_WIN32(error);
}

// The whole list appears under its name at once: it is written beside it and moved into
// place, so that a reader never meets half a list, and a write that fails leaves the old one.
bool WriteWholeFile(const std::string& folder, const std::string& name, const std::string& text)
{
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "cmf", 0, temp))
        return false;
    DWORD error = ERROR_SUCCESS;
    HANDLE f = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        error = GetLastError();
    } else {
        DWORD put = 0;
        if (!WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &put, nullptr) || !FlushFileBuffers(f))
            error = GetLastError();
        else if (put != text.size())
            error = ERROR_HANDLE_DISK_FULL;
        CloseHandle(f);
    }
    if (error == ERROR_SUCCESS &&
        !MoveFileExA(temp, (folder + name).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error == ERROR_SUCCESS)
        return true;
    DeleteFileA(temp);
    SetLastError(error);
    return false;
}

// The work list's lock, taken for the life of the object.
class CListLock {
public:
    CListLock() : Mutex(CreateMutexA(nullptr, FALSE, ListMutexName))
    {
        DWORD got = Mutex ? WaitAnsweringSends() : WAIT_FAILED;
        // An owner that ended while holding it left no list half-done: the list is moved in whole.
        Held = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
        if (got == WAIT_TIMEOUT)
            SetLastError(ERROR_BUSY);
    }
    ~CListLock()
    {
        if (Held)
            ReleaseMutex(Mutex);
        if (Mutex)
            CloseHandle(Mutex);
    }
    bool Held = false;

private:
    // The shell's window thread waits here: what other programs send it meanwhile is answered.
    DWORD WaitAnsweringSends()
    {
        DWORD start = GetTickCount();
        for (;;) {
            DWORD spent = GetTickCount() - start;
            DWORD got = MsgWaitForMultipleObjects(1, &Mutex, FALSE, spent < ListWaitMs ? ListWaitMs - spent : 0,
                                                  QS_SENDMESSAGE);
            if (got != WAIT_OBJECT_0 + 1)
                return got;
            MSG m;
            PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }

    HANDLE Mutex;
};

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

std::vector<std::string> CContextMenuExt::AnsiPaths(HDROP drop, UINT codePage)
{
    std::vector<std::string> paths;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring wide(length + 1, L'\0');
        if (length == 0 || DragQueryFileW(drop, i, &wide[0], length + 1) != length)
            continue;
        wide.resize(length);
        // Plain flags are the ones every code page takes (UTF-8 refuses the lossy-mapping
        // ones); the way back tells whether the code page spelled the name as it is.
        int n = WideCharToMultiByte(codePage, 0, wide.c_str(), static_cast<int>(length), nullptr, 0, nullptr, nullptr);
        if (n <= 0)
            continue;
        std::string ansi(n, '\0');
        WideCharToMultiByte(codePage, 0, wide.c_str(), static_cast<int>(length), &ansi[0], n, nullptr, nullptr);
        int back = MultiByteToWideChar(codePage, 0, ansi.c_str(), n, nullptr, 0);
        std::wstring again(back > 0 ? back : 0, L'\0');
        if (back > 0 && MultiByteToWideChar(codePage, 0, ansi.c_str(), n, &again[0], back) == back && again == wide)
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
    if (!IS_INTRESOURCE(info->lpVerb)) {
        if (lstrcmpiA(info->lpVerb, Verb) != 0)
            return E_INVALIDARG;
    } else if (LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0) {
        return E_INVALIDARG;
    }
    std::string why;
    HRESULT hr = HandToVantrel(Paths, why);
    // The shell ignores what this returns: without a word the click would just do nothing.
    if (FAILED(hr) && !(info->fMask & CMIC_MASK_FLAG_NO_UI))
        MessageBoxA(info->hwnd, why.c_str(), ItemText, MB_OK | MB_ICONERROR);
    return hr;
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

HRESULT CContextMenuExt::HandToVantrel(const std::vector<std::string>& paths, std::string& why)
{
    if (paths.empty()) {
        why = "Nothing was chosen that Vantrel can wipe.";
        return E_INVALIDARG;
    }
    std::string folder = InstallationFolder();
    if (folder.empty()) {
        why = "Vantrel's folder is not known: Quelora has not recorded where it is installed.";
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    }
    std::string list;
    for (const std::string& p : paths)
        list += p + "\r\n";

    CListLock lock;
    if (!lock.Held)
        return Failed(why, "Another list of files is still being handed to Vantrel.");
    if (!WriteWholeFile(folder, ListName, list))
        return Failed(why, "The list of files for Vantrel could not be written to " + folder + ListName + ".");

    std::string exe = folder + "Vantrel.exe";
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return Failed(why, "Vantrel could not be started from " + exe + ".");
    CloseHandle(pi.hThread);
    // Vantrel reads its list before it first waits for input (or ends).
    WaitForInputIdle(pi.hProcess, ReadWaitMs);
    CloseHandle(pi.hProcess);
    return S_OK;
}
