#pragma once
// The protected places of the sandbox, grouped by kind, for the tests that point a cleaner at
// them: each folder gets canary files that nothing may touch.
#include <string>
#include <vector>

namespace testing_support {

struct PlaceKind {
    std::string Name;
    std::vector<std::string> Folders;   // never a target as a whole
    std::vector<std::string> Files;     // files in trees where nothing is cleaned
};

// The profiles' folder, this and another profile, the common application data, "All Users".
PlaceKind ProfilePlaces();
// Every Program Files folder, also by its short name.
PlaceKind ProgramFilesPlaces();
// Folders and files below the Windows folder that no cleaner works in.
PlaceKind WindowsPlaces();
// Quelora's folder: where the programs lie and where the registry says they are installed.
PlaceKind OwnPlaces(const std::string& installed);
// The user's document folders.
PlaceKind DocumentPlaces();

// Writes "qcanary.dat" into the folder and "qcanary\index.dat" below it.
void PlantCanaries(const std::string& folder);
// The canaries' paths, each to be found with "canary" in it afterwards.
std::vector<std::string> Canaries(const std::string& folder);
void RemoveCanaries(const std::string& folder);

}  // namespace testing_support
