#pragma once
// The settings page: shown in place of the item groups, never stacked with them (Tag 555).
#include "TComboBox.h"
#include "TGroupFrame.h"

#include <string>

class TSettingsFrame : public TGroupFrame {
public:
    explicit TSettingsFrame(TComponent* owner);

    // The interval list can be chosen from only while "Clean every" is ticked.
    void UpdateIntervalCombo();
    void MyRndRectBtn3Click(TObject* sender);

    TImage* Image1;
    TMyRndRectBtn* MyRndRectBtn2;    // Save on exit
    TMyRndRectBtn* MyRndRectBtn3;    // Autorun
    TMyRndRectBtn* MyRndRectBtn4;    // Clean on start
    TMyRndRectBtn* MyRndRectBtn5;    // Clean every
    TMyRndRectBtn* MyRndRectBtn6;    // caption of the profile list
    TMyRndRectBtn* MyRndRectBtn7;    // Don't show Logo on start
    TMyRndRectBtn* MyRndRectBtn8;    // Start minimized
    TMyRndRectBtn* MyRndRectBtn1;    // caption of the language list
    TMyRndRectBtn* MyRndRectBtn9;    // pop-up hints
    TMyRndRectBtn* MyRndRectBtn10;   // wiping from the context menu: on while up
    TMyRndRectBtn* MyRndRectBtn11;   // View last cleans report
    TComboBox* ComboBox1;            // interval
    TComboBox* ComboBox2;            // browser profile (Tag 1: the cleaner looks for it)
    TComboBox* ComboBox3;            // language

    static const int PageTag = 555;
};

// The start-with-Windows shortcut "Quelora.lnk" in the user's Startup folder, pointing at
// this program. Failures are silent: the option then simply has no effect.
void CreateAutorunShortcut(const std::string& arguments);
void DeleteAutorunShortcut();
// The shortcut's full path; "" when the Startup folder cannot be resolved.
std::string AutorunShortcutPath();
