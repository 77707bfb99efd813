#include "TSkinnedForm.h"

TSkinnedForm::TSkinnedForm(TComponent* owner) : TForm(owner)
{
    BorderStyle = bsNone;
    FormStyle = fsStayOnTop;
    Font.Name = "MS Sans Serif";
    Font.Height = -11;
    OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
}

void TSkinnedForm::MakeSkin(const char* resource, int width, int height)
{
    SetClientSize(width, height);
    Image1 = new TImage(this);
    Image1->Name = "Image1";
    Image1->SetBounds(0, 0, width, height);
    Image1->Picture.LoadFromResourceName(GetModuleHandleA(nullptr), resource);
    Image1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { Image1MouseDown(s, b, sh, x, y); };
    Image1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { Image1MouseMove(s, sh, x, y); };
    Image1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { Image1MouseUp(s, b, sh, x, y); };
    Image1->SetParent(this);
}

TImageList* TSkinnedForm::MakeImageList(const char* name, const char* resource, int width, int height)
{
    auto* list = new TImageList(this, width, height);
    list->Name = name;
    list->LoadFromResourceName(resource);
    return list;
}

TMyGraphicBtn* TSkinnedForm::MakeButton(const char* name, TImageList* list, int on, int off, int left, int top,
                                        int width, int height)
{
    return MakePictureButton(this, name, left, top, width, height, ssSimple, list, off, on);
}

TStretchScroll* TSkinnedForm::MakeScroll(const char* name, TImageList* list, int left, int top, int height)
{
    auto* s = new TStretchScroll(this);
    s->Name = name;
    s->SetParent(this);
    s->SetBounds(left, top, 15, height);
    s->SetStyle(TStretchScroll::ssVert);
    s->SetSliderLen(15);
    s->SetSliderPosition(15);
    s->SetSControlStep(13);
    s->SetSControlLargeStep(48);
    s->SetImageList(list);
    s->SetControlPosition(top);
    return s;
}

TTListBoxFrame* TSkinnedForm::MakeListFrame(const char* name, int left, int top, int width, int height, TColor color)
{
    auto* f = new TTListBoxFrame(this);
    f->Name = name;
    f->SetBounds(left, top, width, height);
    f->Color = color;
    f->ListBox1->Color = color;
    f->ListBox1->SetBounds(0, 0, width, height);
    f->SetParent(this);
    return f;
}

void TSkinnedForm::Image1MouseDown(TObject*, TMouseButton button, TShiftState, int, int)
{
    FDragger.MouseDown(*this, button);
}

void TSkinnedForm::Image1MouseMove(TObject*, TShiftState, int, int)
{
    FDragger.MouseMove(*this);
}

void TSkinnedForm::Image1MouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    FDragger.MouseUp(*this);
}
