#pragma once
// What both progress windows (a cleaning run's and Vantrel's) show alike in their bottom row:
// the gauge and the Cancel button with its two pictures.
#include "MyGraphicBtn.h"
#include "TCGauge.h"
#include "TImageList.h"

class TWinControl;

// Made on the window; the caller gives the button its click.
void MakeProgressGaugeAndCancel(TWinControl* window, TCGauge*& gauge, TImageList*& pictures, TMyGraphicBtn*& cancel);
