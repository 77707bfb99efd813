#pragma once
// What the tests share: scratch folders and files on the sandbox's C: drive, child
// processes, and the windows they show.
#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

std::wstring Wide(const std::string& s);

// What the Linux side makes, Wine's own calls cannot: a name with a real backslash, a
// symbolic link (which Wine shows as the plain file or folder it leads to). The program
// (a full Linux path, e.g. "/bin/ln -s a b") runs as the sandbox's user; true once done()
// holds, within 30 s.
std::string UnixName(const std::string& path);
bool OnLinuxSide(const std::string& commandLine, const std::function<bool()>& done);

// A tree outside the place a case cleans: files, an empty and a hidden folder, a read-only
// file and one held open by the returned handle with delete sharing, made anew.
HANDLE MakeDecoy(const std::string& root);
// Every entry below the folder with its attributes, and every file's content.
std::string TreeState(const std::string& root);

// The folder the test program runs from (C:\Quelora inside the sandbox).
std::string ExeDir();
// A new, empty folder C:\qtest\<name> (with every parent made).
std::string ScratchDir(const std::string& name);
void MakeDirs(const std::string& path);

void WriteFileBytes(const std::string& path, const std::string& data);
std::string ReadFileBytes(const std::string& path);
bool PathExists(const std::string& path);

// Starts a program and waits for it; returns its exit code, or -1 when it could not start
// and -2 when it did not end within the time-out (it is then ended).
long RunProgram(const std::string& commandLine, DWORD timeoutMs);
// Starts a program without waiting; the caller closes the handle.
HANDLE StartProgram(const std::string& commandLine, DWORD* pid = nullptr);
// The first visible top-level window of the process with the class name, within the time.
HWND WaitForWindow(DWORD pid, const char* className, DWORD timeoutMs);
std::string WindowText(HWND wnd);
// Waits until no process of that executable name runs; false when one still does.
bool WaitForNoProcess(const char* exeName, DWORD timeoutMs);

bool HaveDisplay();
// Dispatches the thread's messages for that long.
void PumpFor(DWORD ms);
// Dispatches the thread's messages until the condition holds or the time is up; true when it
// held. A loaded machine may be late by seconds: wait for a promised state with the default.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 60000);
// A key going down or up, as the keyboard sends it (SendInput).
void SendKey(WORD vk, bool up);

// The helper program beside the tests: holds files open, reports shell folders.
std::string HelperCommand(const std::string& args);

}  // namespace testing_support
