#pragma once
// The Windows item group.
#include "TGroupFrame.h"

class TWinTFrame : public TGroupFrame {
public:
    explicit TWinTFrame(TComponent* owner);

    void MyRndRectBtn11Click(TObject* sender);

    TImage* Image1;
    TMyGraphicBtn* MyGraphicBtn1;
    TMyRndRectBtn* MyRndRectBtn1;
    TMyRndRectBtn* MyRndRectBtn2;
    TMyRndRectBtn* MyRndRectBtn3;
    TMyRndRectBtn* MyRndRectBtn4;
    TMyRndRectBtn* MyRndRectBtn5;
    TMyRndRectBtn* MyRndRectBtn6;
    TMyRndRectBtn* MyRndRectBtn7;
    TMyRndRectBtn* MyRndRectBtn8;
    TMyRndRectBtn* MyRndRectBtn9;
    TMyRndRectBtn* MyRndRectBtn;
    TMyRndRectBtn* MyRndRectBtn11;
    TMyRndRectBtn* MyRndRectBtn10;
    TMyRndRectBtn* MyRndRectBtn12;
    TExFrame ExFrame;
};
