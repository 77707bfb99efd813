#include "TM_LocalizeClass.h"

#include "CIndicatorClass.h"
#include "MyGraphicBtn.h"
#include "MyGraphicLabel.h"
#include "MyRndRectBtn.h"
#include "SysUtils.h"
#include "TApplication.h"
#include "TComboBox.h"
#include "TIniFile.h"
#include "TPopupMenu.h"

#include <windows.h>

#include <algorithm>

std::string TM_LocalizeClass::ProgramFolder()
{
    return ExcludeTrailingBackslash(ExtractFilePath(Application->ExeName()));
}

void TM_LocalizeClass::FindLanguages()
{
    Languages.Clear();
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((ProgramFolder() + "\\*_.con").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        // Ordinary files only: no folders, hidden or system files.
        if (fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
            continue;
        std::string name = fd.cFileName;
        Languages.Add(name.substr(0, name.find('_')));
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

std::string TM_LocalizeClass::FileOf(int index) const
{
    if (index < 0)
        index = 0;
    if (index >= Languages.Count())
        return std::string();
    return ProgramFolder() + "\\" + Languages[index] + "_.con";
}

namespace {

// A language file is no trusted layout: a control it places or widens beyond its parent
// could not be seen or reached, so it is kept inside.
void KeepInside(TControl* c)
{
    TWinControl* parent = c->Parent();
    if (!parent)
        return;
    int room = parent->Width();
    int left = std::max(0, std::min(c->Left(), room - c->Width()));
    int width = std::min(c->Width(), room - left);
    if (left != c->Left() || width != c->Width())
        c->SetBounds(left, c->Top(), std::max(0, width), c->Height());
}

}  // namespace

void TM_LocalizeClass::LocalizeControl(TComponent* container, int index)
{
    // Without a language the built-in texts and places stay: the defaults below would move
    // every combo box and picture button to the left edge and clear every hint.
    std::string file = FileOf(index);
    if (file.empty() || !container)
        return;
    TIniFile ini(file);
    const std::string& section = container->Name;
    for (int i = 0; i < container->ComponentCount(); ++i) {
        TComponent* c = container->Components(i);
        const std::string& key = c->Name;
        if (auto* b = dynamic_cast<TMyRndRectBtn*>(c)) {
            std::string text = ini.ReadString(section, key, "");
            if (!text.empty())
                b->SetCaption(text);
            b->Hint = ini.ReadString(section, key + "_Hint", "");
        }
        if (auto* combo = dynamic_cast<TComboBox*>(c))
            combo->SetLeft(ini.ReadInteger(section, key, 10));
        if (auto* g = dynamic_cast<TMyGraphicBtn*>(c)) {
            g->SetLeft(ini.ReadInteger(section, key, 10));
            g->Hint = ini.ReadString(section, key + "_Hint", "");
        }
        if (auto* l = dynamic_cast<TMyGraphicLabel*>(c)) {
            std::string text = ini.ReadString(section, key, "");
            if (!text.empty())
                l->SetCaption(text);
            int left = ini.ReadInteger(section, key + "_Left", 0);
            if (left > 0)
                l->SetLeft(left);
        }
        if (dynamic_cast<TMyRndRectBtn*>(c) || dynamic_cast<TComboBox*>(c) || dynamic_cast<TMyGraphicBtn*>(c) ||
            dynamic_cast<TMyGraphicLabel*>(c))
            KeepInside(dynamic_cast<TControl*>(c));
        // The captions the program switches with the item's state stay as switched.
        if (auto* m = dynamic_cast<TMenuItem*>(c); m && !m->RunTimeCaption) {
            std::string text = ini.ReadString(section, key, "");
            if (!text.empty())
                m->SetCaption(text);
        }
    }
}

namespace {

struct WordKey {
    const char* Key;
    const char* Default;
};

template <size_t N>
void ReadWords(const std::string& file, const char* section, const WordKey (&keys)[N], std::string* (&slots)[N])
{
    if (file.empty()) {
        for (size_t i = 0; i < N; ++i)
            *slots[i] = keys[i].Default;
        return;
    }
    TIniFile ini(file);
    for (size_t i = 0; i < N; ++i)
        *slots[i] = ini.ReadString(section, keys[i].Key, keys[i].Default);
}

}  // namespace

void TM_LocalizeClass::LocalizeIndicator(CWordsStruct& words, int index)
{
    static const WordKey keys[] = {{"DoneWD", "Done...OK"},       {"DeletingWD", "Deleting"},
                                   {"CancelWD", "Canceled..."},   {"DeletingFileWD", "Deleting file:"},
                                   {"ClearingWD", "Clearing..."}, {"WipingWD", "Wiping file:"},
                                   {"EmptyingWD", "Emptying..."}, {"PreparingWD", "Preparing..."}};
    std::string* slots[] = {&words.DoneWD,     &words.DeletingWD, &words.CancelWD,   &words.DeletingFileWD,
                            &words.ClearingWD, &words.WipingWD,   &words.EmptyingWD, &words.PreparingWD};
    ReadWords(FileOf(index), "Indicator", keys, slots);
}

void TM_LocalizeClass::LocalizeMainFmStrings(TM_MainFmDoubleWordsStruct& words, int index)
{
    static const WordKey keys[] = {{"RestoreWndWD", "Restore Quelora"},
                                   {"CancelWD", "Minimize Quelora"},
                                   {"HideIEWndWD", "Hide IE Windows Alt+Space"},
                                   {"ShowIEWndWD", "Show IE Windows Alt+Space"},
                                   {"ActivateBrevikerWD", "Activate Breviker"},
                                   {"DeactivateBrevikerWD", "Deactivate Breviker"}};
    std::string* slots[] = {&words.RestoreWndWD, &words.CancelWD,           &words.HideIEWndWD,
                            &words.ShowIEWndWD,  &words.ActivateBrevikerWD, &words.DeactivateBrevikerWD};
    ReadWords(FileOf(index), "MainFm", keys, slots);
}
