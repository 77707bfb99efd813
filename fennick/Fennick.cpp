// Fennick: started once at the next logon from the RunOnce value that the main program
// writes, it overwrites and deletes the browser's index files, which are locked while the
// user is logged on. The pass count is the command line's last character.
#include "Fennick.h"

#include "CHddClass.h"
#include "CShellFoldersContainer.h"
#include "Exceptions.h"
#include "SysUtils.h"
#include "TApplication.h"

#include <windows.h>

void WipeIndexFiles(const std::string& commandLine)
{
    CHddClass hdd;
    CShellFoldersContainer folders;
    hdd.PassCount = StrToInt(Copy(commandLine, static_cast<int>(commandLine.size()), 1));
    hdd.CollectByExtension(folders[CShellFoldersContainer::Cache], ".dat", true);
    hdd.AppendByExtension(folders[CShellFoldersContainer::History], ".dat", true);
    for (int i = 0; i < hdd.CollectedPaths.Count(); ++i)
        hdd.WipeAndDelete(hdd.CollectedPaths[i]);
}

int RunFennick(const std::string& commandLine)
{
    try {
        WipeIndexFiles(commandLine);
    } catch (const EConvertError&) {
        MessageBoxA(nullptr, "Quelora's module. Do not Run manually!", Application->Title().c_str(),
                    MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (...) {
        Application->ShowException(Exception(""));
    }
    return 0;
}
