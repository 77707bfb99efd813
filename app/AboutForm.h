#pragma once
// The About box: the logo, the program's version and a link to the project's home page.
#include "MyGraphicLabel.h"
#include "TSkinnedForm.h"

// A window with a border and a title, unlike the skinned ones, whose button kit it shares.
class TAboutFm : public TSkinnedForm {
public:
    explicit TAboutFm(TComponent* owner);
    ~TAboutFm() override;

    static const char* const HomePage;
    static const char* const Version;

    TMyGraphicLabel* MyGraphicLabel6;   // version
    TMyGraphicLabel* MyGraphicLabel1;   // "Internet Homepage:"
    TMyGraphicLabel* MyGraphicLabel2;   // the address, a link
    TImageList* ImageList1;
    TMyGraphicBtn* MyGraphicBtn1;       // OK

    void MyGraphicLabel2Click(TObject* sender);

protected:
    void CreateParams(DWORD& style, DWORD& exStyle, HWND& parent) override;

private:
    TMyGraphicLabel* MakeLabel(const char* name, int left, int top, int width, int height, TColor background);
};

extern TAboutFm* AboutFm;
