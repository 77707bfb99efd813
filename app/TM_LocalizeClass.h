#pragma once
// The language files beside the program ("<name>_.con", ini format): which languages there
// are, and applying one to a window's components, the main window's switched texts and a
// run's progress words. Always a short-lived local: every use looks at the folder anew.
#include "TStringList.h"

#include <string>

class TComponent;
struct CWordsStruct;

// The six texts the main window switches at run time.
struct TM_MainFmDoubleWordsStruct {
    std::string RestoreWndWD;
    std::string CancelWD;
    std::string HideIEWndWD;
    std::string ShowIEWndWD;
    std::string ActivateBrevikerWD;
    std::string DeactivateBrevikerWD;
};

class TM_LocalizeClass {
public:
    TM_LocalizeClass() { FindLanguages(); }

    void FindLanguages();
    // The section is the container's Name. An index of -1 means the first language; with no
    // language at all nothing is touched, so the windows keep their built-in texts.
    void LocalizeControl(TComponent* container, int index);
    // Without a language, or with keys missing, the built-in words.
    void LocalizeIndicator(CWordsStruct& words, int index);
    void LocalizeMainFmStrings(TM_MainFmDoubleWordsStruct& words, int index);

    TStringList Languages;

    // The program's folder, without its trailing backslash.
    static std::string ProgramFolder();

private:
    // The language file of index, "" when there is no language to take.
    std::string FileOf(int index) const;
};
