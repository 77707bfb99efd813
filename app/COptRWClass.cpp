#include "COptRWClass.h"

#include "CPtrContainer.h"
#include "Exceptions.h"
#include "MyGraphicBtn.h"
#include "MyGraphicLabel.h"
#include "MyRndRectBtn.h"
#include "TComboBox.h"
#include "TExFrame.h"
#include "TRegistry.h"

#include <vector>

const char* const COptRWClass::Key = "Software\\Ostrand\\Quelora\\";

namespace {

// The stored bytes of one list, zero beyond what was stored; empty when the value is
// missing, too long or of another type.
std::vector<unsigned char> ReadBytes(const TRegistry& reg, const char* name, int count)
{
    int size = reg.GetDataSize(name);
    if (size < 0 || size > COptRWClass::MaxListBytes)
        return {};
    std::vector<unsigned char> bytes(COptRWClass::MaxListBytes, 0);
    try {
        reg.ReadBinaryData(name, bytes.data(), COptRWClass::MaxListBytes);
    } catch (const ERegistryException&) {
        return {};
    }
    bytes.resize(static_cast<size_t>(count < 0 ? 0 : count));
    return bytes;
}

template <class T, class F>
void LoadList(const TRegistry& reg, const char* name, const CPoorVector<T>& list, F assign)
{
    std::vector<unsigned char> bytes = ReadBytes(reg, name, list.Count);
    if (bytes.empty())
        return;
    for (int i = 0; i < list.Count; ++i)
        assign(list[i], bytes[static_cast<size_t>(i)]);
}

template <class T, class F>
void SaveList(TRegistry& reg, const char* name, const CPoorVector<T>& list, F byteOf)
{
    std::vector<unsigned char> bytes;
    for (int i = 0; i < list.Count; ++i)
        bytes.push_back(byteOf(list[i]));
    reg.WriteBinaryData(name, bytes.data(), static_cast<int>(bytes.size()));
}

}  // namespace

void COptRWClass::LoadOptions()
{
    TRegistry reg(HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly(Key))
        return;
    auto button = [](TMyRndRectBtn* b, unsigned char v) { b->SetDown(v != 0); };
    LoadList(reg, "MSIEOpt", Container->IEItems, button);
    OneCacheChoice();
    LoadList(reg, "WinOpt", Container->WinItems, button);
    LoadList(reg, "NetOpt", Container->NetItems, button);
    LoadList(reg, "Opt", Container->SettingsButtons, button);
    LoadList(reg, "Btn", Container->WipeModes, [](TMyGraphicBtn* b, unsigned char v) { b->SetDown(v != 0); });
    LoadList(reg, "FRMin", Container->ExFrames, [](TExFrame* f, unsigned char v) { f->Collapsed = v != 0; });
    LoadList(reg, "OptCombo", Container->ComboBoxes,
             [](TComboBox* c, unsigned char v) { c->SetItemIndex(static_cast<signed char>(v)); });
    if (reg.ValueExists("LastCleanTime") && Container->LastClean.Count > 0) {
        try {
            Container->LastClean[0]->SetCaption(reg.ReadString("LastCleanTime"));
        } catch (const ERegistryException&) {
            // Not a text: the label keeps its own.
        }
    }
}

void COptRWClass::OneCacheChoice()
{
    // The cache choices are one choice: the run takes the last one down, so only that one
    // may show down; with none down the whole folder goes, as on a first start.
    TMyRndRectBtn* chosen = nullptr;
    TMyRndRectBtn* all = nullptr;
    const CPoorVector<TMyRndRectBtn*>& list = Container->IEItems;
    for (int i = 0; i < list.Count; ++i) {
        if (list[i]->Tag < FirstCacheChoice || list[i]->Tag > LastCacheChoice)
            continue;
        if (list[i]->Tag == FirstCacheChoice)
            all = list[i];
        if (list[i]->Down())
            chosen = list[i];
    }
    if (!chosen)
        chosen = all;
    for (int i = 0; i < list.Count; ++i)
        if (list[i]->Tag >= FirstCacheChoice && list[i]->Tag <= LastCacheChoice)
            list[i]->SetDown(list[i] == chosen);
}

void COptRWClass::SaveOptions()
{
    TRegistry reg(HKEY_CURRENT_USER);
    if (!reg.OpenKeyWriteOnly(Key, true))
        throw ERegistryException("The settings key cannot be opened for writing");
    auto down = [](TMyRndRectBtn* b) { return static_cast<unsigned char>(b->Down() ? 1 : 0); };
    SaveList(reg, "MSIEOpt", Container->IEItems, down);
    SaveList(reg, "WinOpt", Container->WinItems, down);
    SaveList(reg, "NetOpt", Container->NetItems, down);
    SaveList(reg, "Opt", Container->SettingsButtons, down);
    SaveList(reg, "Btn", Container->WipeModes, [](TMyGraphicBtn* b) { return static_cast<unsigned char>(b->Down()); });
    if (Container->LastClean.Count > 0)
        reg.WriteString("LastCleanTime", Container->LastClean[0]->Caption());
    SaveList(reg, "FRMin", Container->ExFrames, [](TExFrame* f) { return static_cast<unsigned char>(f->Collapsed); });
    SaveList(reg, "OptCombo", Container->ComboBoxes,
             [](TComboBox* c) { return static_cast<unsigned char>(c->ItemIndex() & 0xFF); });
}

static void WriteNumber(const char* name, int value)
{
    TRegistry reg(HKEY_CURRENT_USER);
    if (!reg.OpenKeyWriteOnly(COptRWClass::Key))
        throw ERegistryException(std::string("The settings key is missing: \"") + name + "\" was not written");
    reg.WriteInteger(name, value);
}

void COptRWClass::WriteWipeCount(const int* count)
{
    WriteNumber("WipeCount", *count);
}

void COptRWClass::WriteSaveSettings(bool save)
{
    WriteNumber("SaveSettings", save ? 1 : 0);
}

bool COptRWClass::ReadSaveSettings()
{
    TRegistry reg(HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly(Key) || !reg.ValueExists("SaveSettings"))
        return true;
    try {
        return reg.ReadInteger("SaveSettings") != 0;
    } catch (const ERegistryException&) {
        return true;
    }
}
