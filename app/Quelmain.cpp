// Quelmain's entry: one instance per session; a second start only brings the first back.
#include "Exceptions.h"
#include "MainForm.h"
#include "TApplication.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "OneInstaceAllowed");
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        // A hung program must not keep this one from ending.
        UINT id = RegisterWindowMessageA("OnlyOneMyProgram");
        DWORD_PTR result = 0;
        SendMessageTimeoutA(HWND_BROADCAST, id, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
        CloseHandle(mutex);
        return 0;
    }
    try {
        Application->Initialize();
        Application->SetTitle("Quelora");
        MainFm = NewForm<TMainFm>(nullptr);
        Application->MainForm = MainFm;
        Application->Run();
        // The loop ends with the close, before the form's own release arrives: free it
        // here, so that its exit steps (settings saved, context menu unregistered) run.
        if (MainFm)
            MainFm->Free();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    if (mutex) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
    return 0;
}
