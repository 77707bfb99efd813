#include "ProgressParts.h"

#include "TWinControl.h"

void MakeProgressGaugeAndCancel(TWinControl* window, TCGauge*& gauge, TImageList*& pictures, TMyGraphicBtn*& cancel)
{
    gauge = new TCGauge(window);
    gauge->Name = "CGauge1";
    gauge->SetBounds(13, 66, 205, 20);
    gauge->BackColor = clWhite;
    gauge->ForeColor = RGB(0x6C, 0x6E, 0xBC);
    gauge->Font.Color = clBlack;
    gauge->SetParent(window);

    pictures = new TImageList(window, 71, 20);
    pictures->Name = "ImageList1";
    pictures->LoadFromResourceName("PROGRESSCANCEL");
    cancel = MakePictureButton(window, "MyGraphicBtn1", 229, 66, 71, 20, ssSimple, pictures, 1, 2);
}
