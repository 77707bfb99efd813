#pragma once
// The plain message of the program: a box with the text, the application's title and an
// OK button, modal to the program's windows until it is closed.
#include <string>

void ShowMessage(const std::string& message);
