#pragma once
// The program as a whole: its executable's path and title, a hidden window that owns the
// forms and carries the timers, the message loop, and the standard display of an
// exception that reaches the top of the program.
#include <windows.h>

#include <exception>
#include <string>

class TForm;

class TApplication {
public:
    TApplication();
    ~TApplication();

    // Full path of the running executable.
    const std::string& ExeName() const { return FExeName; }
    // The title of message boxes; the executable's base name until set.
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& title);

    // The hidden application window, made on first use on the calling thread.
    HWND Handle();
    // Handles messages until Terminate (or the main form closing) ends the loop.
    void Run();
    // Handles the messages that are waiting, then returns.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // A message box with the exception's message (a point appended when it lacks a final
    // one), the application's title and the stop icon.
    void ShowException(const std::exception& e) const;
    void HandleException(const std::exception& e) const { ShowException(e); }

    TForm* MainForm = nullptr;

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    std::string FExeName;
    std::string FTitle;
    HWND FHandle = nullptr;
    bool FTerminated = false;
};

extern TApplication* Application;
