#pragma once
// The push button of the skinned windows: an "on" and an "off" picture from an image list,
// and a style that decides what the mouse does to it.
#include "TBitmap.h"
#include "TGraphicControl.h"
#include "TImageList.h"

enum ssStyle : unsigned char {
    ssOnOver = 0,     // lit while the pointer is over it; clicks on the release
    ssSimple = 1,     // lit while held; clicks on the release
    ssDownMode = 2,   // latches down on the press and clicks at once; the program releases it
    ssPicture = 3,    // shows the picture the program sets; clicks on the release
};

class TMyGraphicBtn : public TGraphicControl {
public:
    explicit TMyGraphicBtn(TComponent* owner) : TGraphicControl(owner) {}

    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    ssStyle Style = ssOnOver;

    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* list);
    int ImageNumberOn() const { return FImageNumberOn; }
    void SetImageNumberOn(int n);
    int ImageNumberOff() const { return FImageNumberOff; }
    void SetImageNumberOff(int n);
    bool Down() const { return FDown; }
    // Only latching and picture buttons take it; the others ignore it.
    void SetDown(bool value);
    bool ShowingOn() const { return FShowingOn; }

    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState, int, int) override {}
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseCaptureLost() override;
    void Dispatch(TMessage& message) override;

private:
    void ReChangeAll();
    void Show(bool on);
    void Clicked();

    bool FShowingOn = false;
    TImageList* FImageList = nullptr;
    TBitmap FOnPicture;
    TBitmap FOffPicture;
    int FImageNumberOn = 0;
    int FImageNumberOff = 0;
    bool FDown = false;
    // This button took the left press whose release is still to come. A release without
    // one (after a double click that closed a window above it, say) must not click.
    bool FPressed = false;
};

// A picture button as the skinned windows make them: owned by and placed on `parent`, its
// pictures from `list`, the hand pointer over it.
TMyGraphicBtn* MakePictureButton(TWinControl* parent, const char* name, int left, int top, int width, int height,
                                 ssStyle style, TImageList* list, int off, int on);
