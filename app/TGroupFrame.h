#pragma once
// What the item-group frames and the settings page share: their pictures, the making of
// their option buttons, and the folding of a group to its header strip, which the window
// around them restacks pixel by pixel.
#include "MainLayout.h"
#include "MyGraphicBtn.h"
#include "MyRndRectBtn.h"
#include "TExFrame.h"
#include "TFrame.h"
#include "TImage.h"
#include "TImageList.h"

#include <string>

// The window that stacks the frames and shows the current group's name.
class CFrameHost {
public:
    virtual ~CFrameHost() = default;
    virtual void SetGroupLabel(const std::string& text) = 0;
    virtual void StackFrames() = 0;
    virtual void UpdateScrollRange() = 0;
};

class TGroupFrame : public TFrame {
public:
    explicit TGroupFrame(TComponent* owner);

    // Set by the window before the first header click.
    CFrameHost* Host = nullptr;

protected:
    // The header's click: the group's name always; from anything but the main window also
    // a fold or unfold of expandHeight one-pixel steps.
    void HeaderClick(TObject* sender, TExFrame& ex, const char* label);

    // An option button (picture 1 ticked, 2 clear) with the item look.
    TMyRndRectBtn* MakeItem(const char* name, int tag, const char* caption, bool down,
                            const MainLayout::Rect& r);
    TMyRndRectBtn* MakeHeader(const char* name, const char* caption, const char* hint, bool down);
    TMyRndRectBtn* MakeGroupBox(bool down);
    TMyGraphicBtn* MakeGroupIcon(int picture);
    TMyGraphicBtn* MakeFrameButton(const char* name, int first, const char* hint, const MainLayout::Rect& r);
    TImage* MakePicture(const char* resource, const MainLayout::Rect& r);

private:
    TMyRndRectBtn* MakeButton(const char* name, int tag, const char* caption, bool down,
                              const MainLayout::Rect& r, bool header);

    TImageList* Checks;
    TImageList* FrameButtons;
    TImageList* GroupIcons;
};
