#pragma once
// The plain message of the program: a box with the text, the application's title and an
// OK button, modal to the program's windows until it is closed.
#include <string>

void ShowMessage(const std::string& message);

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum TMsgDlgButtons { mbOK, mbOKCancel, mbYesNo };
// A question to the user with the application's title, modal to the program's windows;
// returns the id of the button that closed it (mrYes, mrNo, mrOk, mrCancel from TForm.h).
int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);
