#pragma once
// A hidden top-level window whose messages go to a handler first: the address for what no
// form receives, such as the notification area's callbacks, a menu's commands and the
// shell's broadcasts (a message-only window would miss those).
#include "TWinControl.h"

#include <functional>

// True when the message was handled (its Result is then the answer).
using TMessageHandler = std::function<bool(TMessage&)>;

class TMessageWindow : public TWinControl {
public:
    explicit TMessageWindow(TMessageHandler handler) : TWinControl(nullptr), FHandler(std::move(handler))
    {
        FVisible = false;
    }
    void Dispatch(TMessage& message) override
    {
        if (!FHandler(message))
            TWinControl::Dispatch(message);
    }

protected:
    void CreateParams(DWORD& style, DWORD& exStyle, HWND& parent) override
    {
        style = WS_POPUP;
        exStyle = WS_EX_TOOLWINDOW;
        parent = nullptr;
    }

private:
    TMessageHandler FHandler;
};
