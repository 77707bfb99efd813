#pragma once
// The plain message of the program: a box with the text, the application's title and an
// OK button. It belongs to the window that asks (by default the active window of the
// calling thread), so it stays above that window even when the window is topmost, and it
// keeps that window disabled until it is closed; with no such window it is modal to all
// the program's windows. Each box is one of the program's modal loops (TModalLoops.h): a
// close waiting for them ends it as its Cancel (or No, or its only OK) would.
#include <windows.h>

#include <string>

void ShowMessage(const std::string& message, HWND owner = nullptr);

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum TMsgDlgButtons { mbOK, mbOKCancel, mbYesNo };
// A question to the user with the application's title, modal to the program's windows;
// returns the id of the button that closed it (mrYes, mrNo, mrOk, mrCancel from TForm.h).
int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, HWND owner = nullptr);

// The box behind both: `flags` without a modality, which follows from the owner.
int ShowBox(const std::string& message, UINT flags, HWND owner);
