#include "Dialogs.h"

#include "TApplication.h"
#include "TModalLoops.h"

int ShowBox(const std::string& message, UINT flags, HWND owner)
{
    if (!owner)
        owner = GetActiveWindow();
    if (owner)
        owner = GetAncestor(owner, GA_ROOT);
    TModalLoops::TLoop loop(flags);
    if (loop.EndedAtStart())
        return loop.BoxCancel();
    return MessageBoxA(owner, message.c_str(), Application->Title().c_str(),
                       flags | (owner ? MB_APPLMODAL : MB_TASKMODAL));
}

void ShowMessage(const std::string& message, HWND owner)
{
    ShowBox(message, MB_OK, owner);
}

int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, HWND owner)
{
    static const UINT icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION};
    static const UINT kinds[] = {MB_OK, MB_OKCANCEL, MB_YESNO};
    return ShowBox(message, icons[type] | kinds[buttons], owner);
}
