#pragma once
// The viewport of the item page: the three group frames stacked one under the other,
// moved by the scroll bar beside it.
#include "TIETFrame.h"
#include "TNetTFrame.h"
#include "TWinTFrame.h"

class TTMainFrame : public TFrame {
public:
    explicit TTMainFrame(TComponent* owner);

    TIETFrame* IETFrame1;
    TWinTFrame* WinTFrame1;
    TNetTFrame* NetTFrame1;
};
