#pragma once
// The Internet Explorer group of a cleaning run. For now the run walks no item of this
// group: its cleaner comes with the browser's cache, cookie, history and certificate work.
#include "CCleanClassPrototype.h"
#include "CHddClass.h"

class CIECleanClass : public CCleanClassPrototype {
public:
    void Clean() override {}
    CHddClass& Hdd() { return FHdd; }

protected:
    void RunItem(TMyRndRectBtn*) override {}

private:
    CHddClass FHdd;
};
