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
    // Asks OnClose what to do (hide by default); closing the main form ends the program.
    void Close();
    // Frees the form once the messages already queued for it are handled.
    void Release();

    void AfterConstruction();
    void BeforeDestruction() override;
    void Dispatch(TMessage& message) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;

protected:
    void CreateParams(DWORD& style, DWORD& exStyle, HWND& parent) override;

private:
    void PlaceFirstTime();
    bool FPlaced = false;
};

template <class F, class... Args>
F* NewForm(Args&&... args)
{
    F* form = new F(std::forward<Args>(args)...);
    form->AfterConstruction();
    return form;
}
