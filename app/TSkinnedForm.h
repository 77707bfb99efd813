#pragma once
// What the skinned secondary windows share: a background picture that fills the window
// and drags it with the left button, picture buttons and scroll bars taken from image
// lists, and scrolled lists. The window frees itself when it closes.
#include "MyGraphicBtn.h"
#include "StretchScroll.h"
#include "TForm.h"
#include "TImage.h"
#include "TImageList.h"
#include "TTListBoxFrame.h"
#include "WindowDragger.h"

class TSkinnedForm : public TForm {
public:
    explicit TSkinnedForm(TComponent* owner);

    TImage* Image1 = nullptr;

    void Image1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void Image1MouseMove(TObject* sender, TShiftState shift, int x, int y);
    void Image1MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    bool Dragging() const { return FDragger.Dragging(); }

protected:
    // The background picture from the program's resources; the window takes its size.
    void MakeSkin(const char* resource, int width, int height);
    TImageList* MakeImageList(const char* name, const char* resource, int width, int height);
    TMyGraphicBtn* MakeButton(const char* name, TImageList* list, int on, int off, int left, int top, int width,
                              int height);
    TStretchScroll* MakeScroll(const char* name, TImageList* list, int left, int top, int height);
    TTListBoxFrame* MakeListFrame(const char* name, int left, int top, int width, int height, TColor color);

private:
    TWindowDragger FDragger;
};
