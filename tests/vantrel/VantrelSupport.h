#pragma once
// What the Vantrel and Morwen tests share: the installation folder in the registry, the work
// list beside the programs, and Vantrel's run as a process.
#include "TestSupport.h"

#include <string>
#include <vector>

namespace testing_support {

// Names the folder as the installation folder; by default the folder of the test programs
// (where Vantrel.exe lies).
void SetInstallationPath(const std::string& folder = ExeDir() + "\\");
std::string WorkListPath();
void WriteWorkList(const std::vector<std::string>& lines);

}  // namespace testing_support
