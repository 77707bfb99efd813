#include "Dialogs.h"

#include "TApplication.h"

void ShowMessage(const std::string& message)
{
    MessageBoxA(nullptr, message.c_str(), Application->Title().c_str(), MB_OK | MB_TASKMODAL);
}
