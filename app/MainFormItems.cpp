// The item page: the option container, the stacking and scrolling of the group frames, the
// group boxes' three looks and the cache choices under the Temporary Internet Files item.
#include "MainForm.h"

namespace {

const char* const IEName = "Internet Explorer";
const char* const WinName = "Windows";
const char* const NetName = "Netscape 6x";

void SetNormalLook(TMyRndRectBtn* box)
{
    box->SetImageNumberOff(2);
    box->SetImageNumberOn(1);
}

}  // namespace

void TMainFm::GatherFrameItems(CPtrContainer& container, TFrame* frame, int group)
{
    container.Frames.Add(frame);
    if (group < 0 || group > 3)
        return;
    CPoorVector<TMyRndRectBtn*>* lists[] = {&container.IEItems, &container.WinItems, &container.NetItems,
                                             &container.SettingsButtons};
    for (int i = 0; i < frame->ComponentCount(); ++i) {
        TComponent* c = frame->Components(i);
        if (c->ClassIs<TMyRndRectBtn>())
            lists[group]->Add(static_cast<TMyRndRectBtn*>(c));
        else if (group == 3 && c->ClassIs<TComboBox>())
            container.ComboBoxes.Add(static_cast<TComboBox*>(c));
    }
}

void TMainFm::BuildItemContainer()
{
    GatherFrameItems(Container, WinTFrame1, 1);
    GatherFrameItems(Container, IETFrame1, 0);
    GatherFrameItems(Container, NetTFrame1, 2);
    GatherFrameItems(Container, SettingsFrame, 3);
    Container.WipeModes.Resize(3);
    Container.WipeModes.Items[0] = MyGraphicBtn4;
    Container.WipeModes.Items[1] = MyGraphicBtn5;
    Container.WipeModes.Items[2] = MyGraphicBtn8;
    Container.LastClean.Resize(1);
    Container.LastClean.Items[0] = MyGraphicLabel4;
    Container.ExFrames.Resize(3);
    Container.ExFrames.Items[0] = &IETFrame1->ExFrame;
    Container.ExFrames.Items[1] = &WinTFrame1->ExFrame;
    Container.ExFrames.Items[2] = &NetTFrame1->ExFrame;
}

void TMainFm::StackFrames()
{
    const auto& frames = Container.Frames;
    for (int i = 1; i < frames.Count; ++i) {
        if (frames[i]->Tag == TSettingsFrame::PageTag)
            continue;
        frames[i]->SetTop(frames[i - 1]->Top() + frames[i - 1]->Height());
    }
}

void TMainFm::UpdateScrollRange()
{
    const auto& frames = Container.Frames;
    FramesHeight = WinTFrame1->Height();
    for (int i = 1; i < frames.Count; ++i)
        if (frames[i]->Tag != TSettingsFrame::PageTag)
            FramesHeight += frames[i]->Height();
    int range = FramesHeight - MainFrame->Height() + 7;
    if (range <= 0) {
        StretchScroll1->SetVisible(false);
        StretchScroll1->SetControlPosition(StretchScroll1->Top());
    } else if (!SettingsFrame->Visible()) {
        StretchScroll1->SetVisible(true);
    }
    StretchScroll1->SetControlWH(range);
}

void TMainFm::StretchScroll1Changed(TObject*)
{
    WinTFrame1->SetTop(StretchScroll1->SControlPosition() - MainFrame->Top());
    StackFrames();
}

void TMainFm::SetGroupLabel(const std::string& text)
{
    MyGraphicLabel3->SetCaption(text);
}

void TMainFm::Define3St(TObject* sender)
{
    auto* item = dynamic_cast<TComponent*>(sender);
    if (!item || !item->Owner())
        return;
    const std::string& owner = item->Owner()->Name;
    const CPoorVector<TMyRndRectBtn*>* list;
    TMyRndRectBtn* box;
    int all;
    bool ie = false;
    if (owner == "IETFrame1") {
        SetGroupLabel(IEName);
        list = &Container.IEItems;
        box = IETFrame1->MyRndRectBtn;
        all = list->Count - 5;
        ie = true;
    } else if (owner == "NetTFrame1") {
        SetGroupLabel(NetName);
        list = &Container.NetItems;
        box = NetTFrame1->MyRndRectBtn;
        all = list->Count - 2;
    } else if (owner == "WinTFrame1") {
        SetGroupLabel(WinName);
        list = &Container.WinItems;
        box = WinTFrame1->MyRndRectBtn;
        all = list->Count - 2;
    } else {
        return;
    }
    int down = 0;
    for (int i = 0; i < list->Count; ++i) {
        TMyRndRectBtn* b = (*list)[i];
        bool counted = ie ? (b->Tag > 0 && b->Tag < 100) : b->Tag > 0;
        if (counted && b->Down())
            ++down;
    }
    if (down == all) {
        SetNormalLook(box);
        box->SetDown(true);
    } else if (down == 0) {
        SetNormalLook(box);
        box->SetDown(false);
    } else {
        box->SetImageNumberOff(7);
        box->SetImageNumberOn(7);
    }
}

namespace {

// Every button of the group below the Tag limit takes the box's state.
void SetGroup(const CPoorVector<TMyRndRectBtn*>& list, TMyRndRectBtn* box, int limit)
{
    SetNormalLook(box);
    for (int i = 0; i < list.Count; ++i)
        if (list[i]->Tag < limit)
            list[i]->SetDown(box->Down());
}

}  // namespace

void TMainFm::IETFrame1MyRndRectBtnClick(TObject*)
{
    SetNormalLook(IETFrame1->MyRndRectBtn);
    IETFrame1->MyRndRectBtn12Click(this);
    SetGroup(Container.IEItems, IETFrame1->MyRndRectBtn, 100);
    UpdateSubOptions();
}

void TMainFm::WinTFrame1MyRndRectBtnClick(TObject*)
{
    SetNormalLook(WinTFrame1->MyRndRectBtn);
    WinTFrame1->MyRndRectBtn11Click(this);
    SetGroup(Container.WinItems, WinTFrame1->MyRndRectBtn, 101);
}

void TMainFm::NetTFrame1MyRndRectBtnClick(TObject*)
{
    SetNormalLook(NetTFrame1->MyRndRectBtn);
    NetTFrame1->MyRndRectBtn6Click(this);
    SetGroup(Container.NetItems, NetTFrame1->MyRndRectBtn, 10);
}

void TMainFm::UpdateSubOptions()
{
    TMyRndRectBtn* item = IETFrame1->MyRndRectBtn1;
    TMyRndRectBtn* choices[] = {IETFrame1->MyRndRectBtn8, IETFrame1->MyRndRectBtn9, IETFrame1->MyRndRectBtn10};
    static const char* const keywords[] = {"TIEFAll", "TIEFPages", "TIEFGraph"};
    if (item->Down()) {
        // A cache item with no choice made would clean in no mode at all: the whole folder
        // is the choice then.
        if (!choices[0]->Down() && !choices[1]->Down() && !choices[2]->Down())
            choices[0]->SetDown(true);
        for (int i = 0; i < 3; ++i) {
            if (choices[i]->Down()) {
                choices[i]->SetEnabled(false);
                item->HelpKeyword = keywords[i];
            } else {
                choices[i]->SetEnabled(true);
            }
            choices[i]->SetImageNumberOff(4);
            choices[i]->SetImageNumberOn(3);
        }
    } else {
        for (TMyRndRectBtn* choice : choices) {
            choice->SetEnabled(false);
            choice->SetImageNumberOff(6);
            choice->SetImageNumberOn(5);
        }
    }
}

void TMainFm::IETFrame1MyRndRectBtn1Click(TObject* sender)
{
    Define3St(sender);
    IETFrame1->MyRndRectBtn12Click(this);
    UpdateSubOptions();
}

void TMainFm::IETFrame1SubOptionClick(TObject* sender)
{
    IETFrame1->MyRndRectBtn12Click(this);
    TMyRndRectBtn* choices[] = {IETFrame1->MyRndRectBtn8, IETFrame1->MyRndRectBtn9, IETFrame1->MyRndRectBtn10};
    static const char* const keywords[] = {"TIEFAll", "TIEFPages", "TIEFGraph"};
    for (int i = 0; i < 3; ++i) {
        if (choices[i] == sender) {
            choices[i]->SetEnabled(false);
            IETFrame1->MyRndRectBtn1->HelpKeyword = keywords[i];
        } else {
            choices[i]->SetEnabled(true);
            choices[i]->SetDown(false);
        }
    }
}

void TMainFm::InitItemPages()
{
    IETFrame1->ExFrame.ExpandHeight = 255;
    WinTFrame1->ExFrame.ExpandHeight = 196;
    NetTFrame1->ExFrame.ExpandHeight = 88;
    for (TExFrame* ex : {&IETFrame1->ExFrame, &WinTFrame1->ExFrame, &NetTFrame1->ExFrame}) {
        TFrame* frame = ex == &IETFrame1->ExFrame ? static_cast<TFrame*>(IETFrame1)
                        : ex == &WinTFrame1->ExFrame ? static_cast<TFrame*>(WinTFrame1)
                                                     : static_cast<TFrame*>(NetTFrame1);
        if (ex->Collapsed)
            frame->SetHeight(MainLayout::CollapsedHeight);
    }
    StackFrames();
    UpdateScrollRange();
    IETFrame1MyRndRectBtn1Click(this);
    SettingsFrameMyRndRectBtn5Click(this);
    SettingsFrameMyRndRectBtn9Click(this);
}
