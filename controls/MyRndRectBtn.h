#pragma once
// The option item of the cleaning groups and the settings page: a check picture (ticked or
// clear, from an image list) followed by its caption. Any press toggles it; the button sizes
// itself to picture plus text. Tag and HelpKeyword carry the option's identity.
#include "TBitmap.h"
#include "TGraphicControl.h"
#include "TImageList.h"

#include <string>

class TMyRndRectBtn : public TGraphicControl {
public:
    explicit TMyRndRectBtn(TComponent* owner) : TGraphicControl(owner) { Color = clBlack; }

    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TColor ColorFontOnOver = clBlack;

    int ImageNumberOn() const { return FImageNumberOn; }
    void SetImageNumberOn(int n);
    int ImageNumberOff() const { return FImageNumberOff; }
    void SetImageNumberOff(int n);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& text);
    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* list);
    bool Down() const { return FDown; }
    // Never fires OnClick: the program sets the state, the user does not.
    void SetDown(bool value);
    // The caption area's background.
    void SetColorBG(TColor color);

    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Dispatch(TMessage& message) override;

private:
    void RefreshBitmaps();
    void RePaintBmp();
    void RefreshCaption();
    void DupConstructor();
    void CMMouseEnter();
    void CMMouseLeave();

    bool FFirstPaint = true;
    std::string FCaption;
    TImageList* FImageList = nullptr;
    int FImageNumberOn = 0;
    int FImageNumberOff = 0;
    bool FDown = false;
    TColor FLeaveColor = clBlack;
    TBitmap FOnPicture;
    TBitmap FOffPicture;
    TBitmap FCaptionPicture;
};
