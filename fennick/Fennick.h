#pragma once
#include <string>

// Wipes the index files below the user's cache and history folders with the pass count
// given by the command line's last character; raises EConvertError when that is no digit.
void WipeIndexFiles(const std::string& commandLine);
// The whole program: every failure ends in a message box, and the exit code is always 0.
int RunFennick(const std::string& commandLine);
