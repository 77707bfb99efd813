#pragma once
// The program's icon in the notification area: a picture of an image list with a tooltip.
// Releasing the left button over it is a click, a left double-click restores the program,
// and releasing the right button opens the shortcut menu at the pointer. While the icon
// shows, minimizing the program hides it behind the icon, with no taskbar button left, and
// the system's restore command brings it back. The icon returns by itself when the shell
// starts again.
#include "TComponent.h"

#include <windows.h>

#include <string>

class TImageList;
class TMessageWindow;
class TPopupMenu;
struct TMessage;

class TTrayIcon : public TComponent {
public:
    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;

    // Shown or not; while shown, changes reach the notification area at once.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // The tooltip; the shell shows at most 63 characters of it.
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& text);
    TImageList* Icons() const { return FIcons; }
    void SetIcons(TImageList* icons);
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int index);
    TPopupMenu* PopupMenu = nullptr;

    // Minimizes the application and hides its window, so that no taskbar button remains.
    void Minimize();
    // Restores the application and its window, brings it to the front, fires OnRestore.
    void Restore();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;   // after the restore that the double-click makes
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

    // What the shell knows the icon by: its window, its id there and the message that
    // brings the pointer's doings over it.
    HWND WindowHandle();
    static const UINT IconId = 1;
    static const UINT CallbackMessage = WM_APP + 1;
    // The icon shown now (null without a picture).
    HICON IconHandle() const { return FIcon; }

private:
    bool TrayMessage(TMessage& m);
    bool ApplicationMessage(TMessage& m);
    bool Notify(DWORD action);
    void MakeIcon();

    bool FVisible = false;
    std::string FHint;
    TImageList* FIcons = nullptr;
    int FIconIndex = 0;
    HICON FIcon = nullptr;
    TMessageWindow* FWindow = nullptr;
    int FHook = 0;
};
