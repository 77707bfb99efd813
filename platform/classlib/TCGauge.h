#pragma once
// A horizontal progress bar with its percentage in the middle. The values may be set from
// any thread: a setter only stores and asks the window for a repaint.
#include "TBitmap.h"
#include "TGraphicControl.h"

#include <atomic>

class TCGauge : public TGraphicControl {
public:
    explicit TCGauge(TComponent* owner);

    int MinValue() const { return FMin; }
    int MaxValue() const { return FMax; }
    int Progress() const { return FProgress; }
    void SetMinValue(int v);
    void SetMaxValue(int v);
    void SetProgress(int v);
    void AddProgress(int v) { SetProgress(FProgress + v); }
    // Whole percent of the way from MinValue to MaxValue, 0 to 100.
    int PercentDone() const;

    TColor ForeColor = clBlack;
    TColor BackColor = clWhite;
    bool ShowText = true;

    void Paint() override;

private:
    std::atomic<int> FMin{0};
    std::atomic<int> FMax{100};
    std::atomic<int> FProgress{0};
    TBitmap FSurface;
};
