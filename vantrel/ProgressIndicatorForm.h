#pragma once
// Vantrel's one window: a small skinned progress window with the file in hand, the
// operation, a gauge, busy dashes and Cancel. It starts the worker that wipes the work list
// and closes when the worker is done or when Cancel is pressed.
#include "CWindowLink.h"
#include "MyGraphicBtn.h"
#include "MyGraphicLabel.h"
#include "TCGauge.h"
#include "TForm.h"
#include "TImage.h"
#include "TImageList.h"
#include "TTimer.h"
#include "WindowDragger.h"

#include <memory>
#include <string>

// Closes the window as Cancel does; the worker sends it when the work is done.
const UINT WM_CLOSEINDICATOR = WM_APP + 405;

// The registry value that names the folder of the work list (written by Quelmain).
extern const char VantrelDataKey[];
extern const char WorkListName[];

class TIndicatorFm : public TForm {
public:
    explicit TIndicatorFm(TComponent* owner);

    void Dispatch(TMessage& message) override;
    std::shared_ptr<CWindowLink> Link() const { return FLink; }

    TImage* Image1;
    TCGauge* CGauge1;
    TMyGraphicBtn* MyGraphicBtn1;
    TMyGraphicLabel* MyGraphicLabel4;
    TMyGraphicLabel* MyGraphicLabel1;
    TMyGraphicLabel* MyGraphicLabel3;
    TMyGraphicLabel* MyGraphicLabel5;
    TImageList* ImageList1;
    TTimer* Timer1;

    void MyGraphicBtn1Click(TObject* sender);

private:
    TMyGraphicLabel* MakeLabel(const char* name, int left, int top, int width, const char* caption);
    void FormClose(TObject* sender, TCloseAction& action);
    void Timer1Timer(TObject* sender);

    std::shared_ptr<CWindowLink> FLink;
    bool Closing = false;
    TWindowDragger Dragger;
};

extern TIndicatorFm* IndicatorFm;

// The program: the window, its message loop, the worker's end; always 0.
int RunVantrel();
