#pragma once
// The worker thread of one cleaning run: it owns the three group cleaners, runs them one
// after another, has the progress window closed on the window's own thread, and frees itself.
#include "CIECleanClass.h"
#include "CNetCleanClass.h"
#include "CWinCleanClass.h"
#include "TThread.h"

class CIndicatorClass;
class CPtrContainer;

class TMainThread : public TThread {
public:
    TMainThread();
    ~TMainThread() override;

    // The settings page's profile choice for the Netscape 6 / Mozilla cleaner: the index in
    // the profile list and the folder it showed there; -1 chooses none. Before SetOptions.
    void SetChosenProfile(int index, const std::string& folder);
    void SetOptions(CPtrContainer* options);
    void SetIndicator(CIndicatorClass* indicator);
    // Overwrite passes for every file of the run: 0, 1 or 5.
    void SetWipeCount(int passes);

protected:
    void Execute() override;

private:
    CPtrContainer* Options = nullptr;
    CIndicatorClass* Indicator = nullptr;
    // Built in this order; destroyed in the reverse: Windows, Netscape 6 / Mozilla, IE.
    CIECleanClass IEClean;
    CNetCleanClass NetClean;
    CWinCleanClass WinClean;
};
