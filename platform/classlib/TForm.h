#pragma once
// A top-level window built in code: the constructor of each form creates its controls with
// their positions, colours, fonts and pictures. Forms are made with NewForm, so that
// OnCreate runs once the whole constructor has.
#include "TWinControl.h"

#include <functional>
#include <string>

enum TBorderStyle { bsNone, bsSingle };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TPosition { poDesigned, poOwnerFormCenter, poScreenCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
// What ended a modal form: the ids of the standard dialog buttons.
enum : int {
    mrNone = 0,
    mrOk = IDOK,
    mrCancel = IDCANCEL,
    mrAbort = IDABORT,
    mrRetry = IDRETRY,
    mrIgnore = IDIGNORE,
    mrYes = IDYES,
    mrNo = IDNO,
};

using TCloseEvent = std::function<void(TObject*, TCloseAction&)>;

class TForm : public TWinControl {
public:
    // The owner form's window owns this one; a form without one is owned by the
    // application's hidden window.
    explicit TForm(TComponent* owner);
    ~TForm() override;

    TBorderStyle BorderStyle = bsNone;     // settled before the window is first made
    TFormStyle FormStyle = fsNormal;
    TPosition Position = poDesigned;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& text);
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int width, int height);

    void Show();
    void Hide() { SetVisible(false); }
    // Puts the form where its Position says, once: Show does it, and so must whoever makes
    // the form visible another way.
    void PlaceFirstTime();
    // Asks OnClose what to do (hide by default); closing the main form ends the program.
    // A modal form only takes mrCancel as its result and is asked when its loop sees it.
    void Close();
    // Frees the form once the messages already queued for it are handled.
    void Release();

    // Shows the form with its owner window disabled and handles messages until ModalResult
    // is set and OnClose lets the form go; then enables the owner, hides the form and
    // returns the result (a caFree from OnClose frees the form afterwards). The end of the
    // program ends the loop with mrCancel; so does a close waiting for the program's modal
    // loops (TModalLoops.h), which this loop is one of.
    int ShowModal();
    bool Modal() const { return FModal; }
    int ModalResult = mrNone;

    // A minimized main form is not shown by the application's Run, only by its Restore.
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState state);

    // The control inside the form that has the keyboard focus, or null; setting null gives
    // the focus to the form itself.
    TWinControl* ActiveControl();
    void SetActiveControl(TWinControl* control);

    // The wheel turning anywhere in the form: OnMouseWheel, then, unless that handled it,
    // OnMouseWheelDown (towards the user) or OnMouseWheelUp.
    bool DoMouseWheel(TShiftState shift, int wheelDelta, POINT mousePos) override;

    void AfterConstruction();
    void BeforeDestruction() override;
    void Dispatch(TMessage& message) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;

protected:
    void CreateParams(DWORD& style, DWORD& exStyle, HWND& parent) override;

private:
    TCloseAction AskClose();
    bool FPlaced = false;
    bool FModal = false;
    TWindowState FWindowState = wsNormal;
};

template <class F, class... Args>
F* NewForm(Args&&... args)
{
    F* form = new F(std::forward<Args>(args)...);
    form->AfterConstruction();
    return form;
}
