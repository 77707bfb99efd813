#include "Dialogs.h"

#include "TApplication.h"

void ShowMessage(const std::string& message)
{
    MessageBoxA(nullptr, message.c_str(), Application->Title().c_str(), MB_OK | MB_TASKMODAL);
}

int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons)
{
    static const UINT icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION};
    static const UINT kinds[] = {MB_OK, MB_OKCANCEL, MB_YESNO};
    return MessageBoxA(nullptr, message.c_str(), Application->Title().c_str(),
                       icons[type] | kinds[buttons] | MB_TASKMODAL);
}
