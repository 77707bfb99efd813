#pragma once
// The logo shown for two seconds at start-up. As it closes it takes the clean-on-start
// decision that the main window left to it.
#include "TForm.h"
#include "TImage.h"
#include "TTimer.h"

class TIntroFm : public TForm {
public:
    explicit TIntroFm(TComponent* owner);
    ~TIntroFm() override;

    TImage* Image1;
    TTimer* FormCloseTimer;

    void FormClose(TObject* sender, TCloseAction& action);
};

extern TIntroFm* IntroFm;
