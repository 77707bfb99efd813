#include "TMainThread.h"

#include "ProgressIndicatorFm.h"
#include "CPathSafety.h"
#include "TM_Logger.h"

#include <objbase.h>

TMainThread::TMainThread()
{
    FreeOnTerminate = true;
}

TMainThread::~TMainThread() = default;

void TMainThread::SetChosenProfile(int index, const std::string& folder)
{
    NetClean.SetChosenProfile(index, folder);
}

void TMainThread::SetOptions(CPtrContainer* options)
{
    Options = options;
    IEClean.SetOptions(options);
    WinClean.SetOptions(options);
    NetClean.SetOptions(options);
}

void TMainThread::SetIndicator(CIndicatorClass* indicator)
{
    Indicator = indicator;
    IEClean.SetIndicator(indicator);
    WinClean.SetIndicator(indicator);
    NetClean.SetIndicator(indicator);
}

void TMainThread::SetWipeCount(int passes)
{
    IEClean.Hdd().PassCount = passes;
    WinClean.Hdd().PassCount = passes;
    NetClean.Hdd().PassCount = passes;
}

namespace {

std::string LastRefusal;

// A cleaner asks about its folder before collecting and again before removing what is left:
// the place goes into the run's log once.
void LogRefusal(const std::string& path)
{
    if (path == LastRefusal)
        return;
    LastRefusal = path;
    TM_Logger::Instance()->AddLine("Protected place left alone: " + path);
}

}  // namespace

void TMainThread::Execute()
{
    // The browser cleaners talk to COM objects on this thread.
    HRESULT com = CoInitialize(nullptr);
    TM_Logger* log = TM_Logger::Instance();
    log->Clear();
    log->Save();
    LastRefusal.clear();
    CPathSafety::SetRefusalLog(LogRefusal);
    // Whatever fails, the run ends as any run ends: the window closes and gives the main
    // window back. The failure goes into the log.
    try {
        WinClean.Clean();
        IEClean.Clean();
        NetClean.Clean();
    } catch (const std::exception& e) {
        log->AddLine(std::string("Error: ") + e.what());
    } catch (...) {
        log->AddLine("Error: the run stopped on an unknown failure");
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    if (IndicatorFm)
        IndicatorFm->RunFinished();
}
