#include "ProtectedPlaceCases.h"

#include "TestSupport.h"

#include <windows.h>
#include <shlobj.h>

namespace testing_support {

namespace {

std::string Folder(int csidl)
{
    char buf[MAX_PATH];
    return SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, 0, buf) == S_OK ? buf : "";
}

std::string Variable(const char* name)
{
    char buf[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(name, buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? buf : "";
}

std::string Parent(const std::string& p)
{
    return p.substr(0, p.find_last_of('\\'));
}

std::string ShortName(const std::string& p)
{
    char buf[MAX_PATH];
    DWORD n = GetShortPathNameA(p.c_str(), buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? buf : "";
}

std::string WindowsFolder()
{
    char buf[MAX_PATH];
    GetWindowsDirectoryA(buf, MAX_PATH);
    return buf;
}

}  // namespace

PlaceKind ProfilePlaces()
{
    const std::string profile = Variable("USERPROFILE");
    const std::string profiles = Parent(profile);
    MakeDirs(profiles + "\\Someone Else");
    return {"profiles",
            {profiles, profile, profile + "\\", profiles + "\\Someone Else", profiles + "\\Public",
             Folder(CSIDL_COMMON_APPDATA), Variable("ALLUSERSPROFILE")},
            {}};
}

PlaceKind ProgramFilesPlaces()
{
    const std::string programs = Folder(CSIDL_PROGRAM_FILES);
    return {"Program Files", {programs, ShortName(programs), Folder(CSIDL_PROGRAM_FILESX86)}, {}};
}

PlaceKind WindowsPlaces()
{
    const std::string win = WindowsFolder();
    MakeDirs(win + "\\Profiles\\someone");
    MakeDirs(win + "\\Help");
    WriteFileBytes(win + "\\qcanary.ini", "canary");
    WriteFileBytes(win + "\\Fonts\\qcanary.fon", "canary");
    return {"Windows",
            {win + "\\Fonts", win + "\\Help", win + "\\Profiles", win + "\\Profiles\\someone",
             win + "\\inf"},
            {win + "\\qcanary.ini", win + "\\Fonts\\qcanary.fon"}};
}

PlaceKind OwnPlaces(const std::string& installed)
{
    WriteFileBytes(installed + "\\Quelmain.lng", "canary");
    return {"Quelora", {ExeDir(), installed, installed + "\\"}, {installed + "\\Quelmain.lng"}};
}

PlaceKind DocumentPlaces()
{
    return {"documents",
            {Folder(CSIDL_DESKTOPDIRECTORY), Folder(CSIDL_PERSONAL), Folder(CSIDL_FAVORITES),
             Folder(CSIDL_MYPICTURES), Folder(CSIDL_APPDATA)},
            {}};
}

void PlantCanaries(const std::string& folder)
{
    MakeDirs(folder + "\\qcanary");
    for (const std::string& f : Canaries(folder))
        WriteFileBytes(f, "canary");
}

std::vector<std::string> Canaries(const std::string& folder)
{
    std::string f = folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
    return {f + "\\qcanary.dat", f + "\\qcanary\\index.dat"};
}

void RemoveCanaries(const std::string& folder)
{
    for (const std::string& f : Canaries(folder))
        DeleteFileA(f.c_str());
    std::string f = folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder;
    RemoveDirectoryA((f + "\\qcanary").c_str());
}

}  // namespace testing_support
