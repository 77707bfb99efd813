#include "CleanerTestSupport.h"

#include "TM_Logger.h"
#include "TestSupport.h"
#include "TRegistry.h"

#include <gtest/gtest.h>

namespace testing_support {

Options::Options() = default;

Options::~Options()
{
    for (TMyRndRectBtn* b : Buttons)
        delete b;
}

TMyRndRectBtn* Options::Add(CPoorVector<TMyRndRectBtn*>& list, int tag, const std::string& caption, bool down,
                            const std::string& helpKeyword)
{
    auto* b = new TMyRndRectBtn(nullptr);
    b->Tag = tag;
    b->SetCaption(caption);
    b->SetDown(down);
    b->HelpKeyword = helpKeyword;
    Buttons.push_back(b);
    list.Add(b);
    return b;
}

static std::string Z(const std::string& s)
{
    return s + '\0';
}

std::string MozillaRegistry(const std::vector<std::string>& folders)
{
    std::string bytes = Z("Common") + Z("Version") + Z("5");
    int n = 0;
    for (const std::string& f : folders)
        bytes += Z("Profiles") + Z("profile" + std::to_string(++n)) + Z("directory") + Z(f) + Z("NCHaveProfile") + Z("1");
    return bytes;
}

std::string Line(const std::string& caption, const std::string& size, const std::string& end)
{
    return "   " + caption + "   " + size + "   " + end;
}

std::string Line(const Item& item, const std::string& size, const std::string& end)
{
    return Line(item.Caption, size, end);
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const std::string& l : lines)
        s += "[" + l + "]";
    return s;
}

void PutBinary(HKEY root, const std::string& key, const std::string& name, const std::string& data)
{
    TRegistry reg(root);
    ASSERT_TRUE(reg.OpenKey(key, true)) << key;
    reg.WriteBinaryData(name, data.data(), static_cast<int>(data.size()));
}

void PutString(HKEY root, const std::string& key, const std::string& name, const std::string& value)
{
    TRegistry reg(root);
    ASSERT_TRUE(reg.OpenKey(key, true)) << key;
    reg.WriteString(name, value);
}

bool HasKey(HKEY root, const std::string& key)
{
    return TRegistry(root).KeyExists(key);
}

ReporterFixture::ReporterFixture()
{
    for (auto* l : {&Group, &Section, &Status, &Size})
        l->reset(new TMyGraphicLabel(nullptr));
    Gauge.reset(new TCGauge(nullptr));
    Indicator.GroupLabel = Group.get();
    Indicator.SectionLabel = Section.get();
    Indicator.StatusLabel = Status.get();
    Indicator.SizeLabel = Size.get();
    Indicator.Gauge = Gauge.get();
}

Canaries::Canaries()
{
    ScratchDir("canary");
    MakeDirs("C:\\qtest\\canary\\inner");
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    Files = {"C:\\canary.txt", std::string(cwd) + "\\canary.txt", "C:\\qtest\\canary\\canary.txt",
             "C:\\qtest\\canary\\inner\\canary.txt"};
    for (const std::string& f : Files)
        WriteFileBytes(f, "canary");
}

Canaries::~Canaries()
{
    for (const std::string& f : Files)
        DeleteFileA(f.c_str());
}

std::string Canaries::Gone() const
{
    std::string gone;
    for (const std::string& f : Files)
        if (!PathExists(f) || ReadFileBytes(f) != "canary")
            gone += f + " ";
    return gone;
}

void StartRun()
{
    CIndicatorClass::PacingPercent = 0;
    TM_Logger::Instance()->Clear();
    TM_Logger::Instance()->Save();
}

TStringList LogLines()
{
    return TM_Logger::Instance()->Lines();
}

std::vector<std::string> LogEntries()
{
    std::vector<std::string> out;
    TStringList l = LogLines();
    for (const std::string& line : l.Items)
        out.push_back(line.size() > 8 ? line.substr(8) : line);
    return out;
}

}  // namespace testing_support
