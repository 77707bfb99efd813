#pragma once
// The Internet Explorer item group. The three cache choices sit under the first item and
// are no items of their own: their Tags (111 to 113) keep them out of the cleaner's walk.
#include "TGroupFrame.h"

class TIETFrame : public TGroupFrame {
public:
    explicit TIETFrame(TComponent* owner);

    void MyRndRectBtn12Click(TObject* sender);

    TImage* Image1;
    TMyGraphicBtn* MyGraphicBtn1;
    TMyRndRectBtn* MyRndRectBtn1;
    TMyRndRectBtn* MyRndRectBtn2;
    TMyRndRectBtn* MyRndRectBtn3;
    TMyRndRectBtn* MyRndRectBtn4;
    TMyRndRectBtn* MyRndRectBtn5;
    TMyRndRectBtn* MyRndRectBtn6;
    TMyRndRectBtn* MyRndRectBtn7;
    TMyRndRectBtn* MyRndRectBtn;
    TMyRndRectBtn* MyRndRectBtn8;
    TMyRndRectBtn* MyRndRectBtn9;
    TMyRndRectBtn* MyRndRectBtn10;
    TMyRndRectBtn* MyRndRectBtn12;
    TMyRndRectBtn* MyRndRectBtn11;
    TMyRndRectBtn* MyRndRectBtn13;
    TMyRndRectBtn* MyRndRectBtn14;
    TMyRndRectBtn* MyRndRectBtn15;
    TMyGraphicBtn* MyGraphicBtn2;
    TMyGraphicBtn* MyGraphicBtn3;
    TExFrame ExFrame;
};
