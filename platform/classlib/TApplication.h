#pragma once
// The program as a whole: its executable's path, its title and the standard display of
// an exception that reaches the top of the program.
#include <exception>
#include <string>

class TApplication {
public:
    TApplication();

    // Full path of the running executable.
    const std::string& ExeName() const { return FExeName; }
    // The title of message boxes; the executable's base name until set.
    std::string Title;

    // A message box with the exception's message (a point appended when it lacks a final
    // one), the application's title and the stop icon.
    void ShowException(const std::exception& e) const;
    void ShowMessage(const std::string& text) const;

private:
    std::string FExeName;
};

extern TApplication* Application;
