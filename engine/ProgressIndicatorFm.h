#pragma once
// The progress window of a cleaning run: a small skinned window with the gauge, the labels
// the reporter writes, busy dashes and Cancel. It owns the run's reporter and the cancel
// event "CancelEvent". The window only closes when its run has finished; a close asked for
// earlier acts as Cancel.
#include "CIndicatorClass.h"
#include "MyGraphicBtn.h"
#include "MyGraphicLabel.h"
#include "TCGauge.h"
#include "TForm.h"
#include "TImage.h"
#include "TImageList.h"
#include "TTimer.h"
#include "WindowDragger.h"

class CRunOwner;

// Posted by the worker when the run is over; the window then closes on its own thread.
const UINT WM_RUNFINISHED = WM_APP + 406;

class TIndicatorFm : public TForm {
public:
    // The owner form is disabled by whoever starts the run and given back by the run owner
    // as the run ends (SetRunInProgress(false)): only it knows what else keeps it disabled.
    TIndicatorFm(TForm* owner, CRunOwner* runOwner);
    ~TIndicatorFm() override;

    // From the worker thread: the run is over.
    void RunFinished();
    bool CancelRequested() const;

    void Dispatch(TMessage& message) override;

    TImage* Image1;
    TCGauge* CGauge1;
    TMyGraphicBtn* MyGraphicBtn1;
    TMyGraphicLabel* MyGraphicLabel3;
    TMyGraphicLabel* MyGraphicLabel5;
    TMyGraphicLabel* MyGraphicLabel1;
    TMyGraphicLabel* MyGraphicLabel2;
    TMyGraphicLabel* MyGraphicLabel4;
    TTimer* Timer1;
    TImageList* ImageList1;

    CIndicatorClass Indicator;

private:
    TMyGraphicLabel* MakeLabel(const char* name, int left, int top, int width, int height);
    void MyGraphicBtn1Click(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void Image1MouseDown(TObject*, TMouseButton button, TShiftState, int, int);
    void Image1MouseMove(TObject*, TShiftState, int, int);
    void Image1MouseUp(TObject*, TMouseButton, TShiftState, int, int);
    void Timer1Timer(TObject* sender);

    CRunOwner* RunOwner;
    HANDLE CancelEvent = nullptr;
    bool Finished = false;
    TWindowDragger Dragger;
};

// The window of the run in progress, if any.
extern TIndicatorFm* IndicatorFm;
