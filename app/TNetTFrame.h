#pragma once
// The Netscape 6 / Mozilla item group.
#include "TGroupFrame.h"

class TNetTFrame : public TGroupFrame {
public:
    explicit TNetTFrame(TComponent* owner);

    void MyRndRectBtn6Click(TObject* sender);

    TImage* Image1;
    TMyGraphicBtn* MyGraphicBtn1;
    TMyRndRectBtn* MyRndRectBtn1;
    TMyRndRectBtn* MyRndRectBtn2;
    TMyRndRectBtn* MyRndRectBtn3;
    TMyRndRectBtn* MyRndRectBtn4;
    TMyRndRectBtn* MyRndRectBtn5;
    TMyRndRectBtn* MyRndRectBtn;
    TMyRndRectBtn* MyRndRectBtn6;
    TMyGraphicBtn* MyGraphicBtn2;
    TExFrame ExFrame;
};
