// Wine's own share of a program's start: this program loads the libraries that the program
// named on its command line imports, as the loader would, shows a plain window and runs
// until it is closed. The bench measures both programs to their first window shown, so the
// difference is the program's own work.
#include <windows.h>

#include <string>
#include <vector>

namespace {

// The names of the libraries the program imports, read from its import directory.
std::vector<std::string> ImportedLibraries(const std::string& path)
{
    std::vector<std::string> names;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return names;
    DWORD size = GetFileSize(file, nullptr), got = 0;
    std::vector<unsigned char> image(size == INVALID_FILE_SIZE ? 0 : size);
    bool read = !image.empty() && ReadFile(file, image.data(), size, &got, nullptr) && got == size;
    CloseHandle(file);
    if (!read || size < sizeof(IMAGE_DOS_HEADER))
        return names;
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(image.data());
    if (dos->e_lfanew <= 0 || static_cast<DWORD>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS) > size)
        return names;
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(image.data() + dos->e_lfanew);
    IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    auto offsetOf = [&](DWORD rva) -> DWORD {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    };
    DWORD at = offsetOf(nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; at && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= size; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
        if (!d->Name)
            break;
        DWORD name = offsetOf(d->Name);
        if (name && name < size)
            names.emplace_back(reinterpret_cast<const char*>(image.data() + name),
                               strnlen(reinterpret_cast<const char*>(image.data() + name), size - name));
    }
    return names;
}

LRESULT CALLBACK EmptyWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    std::string path = commandLine;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    for (const std::string& name : ImportedLibraries(path))
        LoadLibraryA(name.c_str());
    WNDCLASSA wc = {};
    wc.lpfnWndProc = EmptyWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "EmptyProgram";
    RegisterClassA(&wc);
    CreateWindowA("EmptyProgram", "Empty", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr, wc.hInstance,
                  nullptr);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0)
        DispatchMessageA(&m);
    return 0;
}
