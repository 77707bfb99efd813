#include "CIndicatorClass.h"

#include "MyGraphicLabel.h"
#include "TCGauge.h"
#include "TM_Logger.h"

#include <windows.h>

#include <climits>

int CIndicatorClass::PacingPercent = 100;

CIndicatorClass::~CIndicatorClass()
{
    TM_Logger::Instance()->AddLine("Total:   ...   " + FormatSize(RunTotal) + "   ...");
}

void CIndicatorClass::Label(TMyGraphicLabel* label, const std::string& text)
{
    if (label)
        label->SetCaption(" " + text);
}

void CIndicatorClass::Pause(int ms)
{
    Sleep(static_cast<DWORD>(ms * PacingPercent / 100));
}

void CIndicatorClass::SetGroupTitle(const std::string& text)
{
    Label(GroupLabel, text);
}

void CIndicatorClass::BeginSection(const std::string& title)
{
    Failure.clear();
    Reset();
    if (SizeLabel)
        SizeLabel->SetCaption(" ");
    SetStatus(Words.PreparingWD);
    std::string shown = title == "Expired" ? title + " Certificates" : title;
    Label(SectionLabel, shown);
    TM_Logger::Instance()->BeginEntry(shown);
    Pause(500);
}

void CIndicatorClass::Reset()
{
    if (Gauge) {
        Gauge->SetMaxValue(0);
        Gauge->SetProgress(0);
    }
    if (SectionLabel)
        SectionLabel->SetCaption(" ");
    if (StatusLabel)
        StatusLabel->SetCaption(" ");
}

void CIndicatorClass::SetStatus(const std::string& text)
{
    Label(StatusLabel, text);
}

void CIndicatorClass::StatusDeleting(const std::string& text)
{
    SetStatus(Words.DeletingWD + ": " + text);
}

void CIndicatorClass::StatusWiping(const std::string& text)
{
    SetStatus(Words.WipingWD + " " + text);
}

void CIndicatorClass::StatusDeletingFile(const std::string& text)
{
    SetStatus(Words.DeletingFileWD + " " + text);
}

void CIndicatorClass::StatusEmptying(const std::string& text)
{
    SetStatus(Words.EmptyingWD + text);
}

void CIndicatorClass::StatusPreparing(const std::string& text)
{
    SetStatus(Words.PreparingWD + text);
}

void CIndicatorClass::SetMax(int max)
{
    if (Gauge)
        Gauge->SetMaxValue(max);
}

void CIndicatorClass::Step()
{
    if (Gauge)
        Gauge->AddProgress(1);
}

void CIndicatorClass::ShowClearing()
{
    if (Gauge) {
        Gauge->SetProgress(0);
        Gauge->SetMaxValue(30);
    }
    SetStatus(Words.ClearingWD);
    for (int i = 0; i < 30; ++i)
        Step();
}

void CIndicatorClass::AddBytes(int bytes)
{
    if (bytes == 0)
        return;
    // Totals are 32-bit like every size here; a run never comes near, but must not wrap.
    long long total = static_cast<long long>(RunTotal) + bytes;
    RunTotal = total > INT_MAX ? INT_MAX : total < INT_MIN ? INT_MIN : static_cast<int>(total);
    Label(SizeLabel, FormatSize(bytes));
}

void CIndicatorClass::SetSizeText(const std::string& text)
{
    Label(SizeLabel, text);
}

void CIndicatorClass::End(const std::string& message)
{
    SetStatus(message);
    TM_Logger::Instance()->EndEntry(message, SizeLabel ? SizeLabel->Caption() : " ");
    Pause(1000);
}

void CIndicatorClass::SectionDone()
{
    End(Failure.empty() ? Words.DoneWD : Failure);
}

void CIndicatorClass::NoteFailure(const std::string& text)
{
    if (Failure.empty())
        Failure = text;
}

void CIndicatorClass::SectionCancelled()
{
    End(Words.CancelWD);
}

static std::string DecimalSeparator()
{
    char buf[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof buf) > 1)
        return buf;
    return ".";
}

std::string CIndicatorClass::FormatSize(int bytes)
{
    const long long n = bytes;
    if (n <= 0 || n >= 1073741824LL)
        return std::string();
    if (n <= 10)
        return "0.1Kb";
    if (n < 1024) {
        long long hundredths = (n * 200 + 1024) / 2048;   // n / 1024, rounded half up
        std::string cents = std::to_string(hundredths % 100);
        return std::to_string(hundredths / 100) + DecimalSeparator() + (cents.size() < 2 ? "0" : "") + cents + "Kb";
    }
    if (n < 1048576)
        return std::to_string(n / 1024) + "Kb";
    // Three significant digits of n / 1048576, rounded half up, in the general format:
    // fixed below 1000, mantissa and exponent from 1000 on.
    int exponent = n >= 104857600 ? 2 : n >= 10485760 ? 1 : 0;
    long long scale = exponent == 0 ? 100 : exponent == 1 ? 10 : 1;
    long long digits = (n * scale * 2 + 1048576) / 2097152;
    if (digits >= 1000) {
        digits /= 10;
        ++exponent;
    }
    auto trimmed = [](long long value, int decimals) {
        std::string whole = std::to_string(value);
        std::string head = whole.substr(0, whole.size() - static_cast<size_t>(decimals));
        std::string tail = whole.substr(whole.size() - static_cast<size_t>(decimals));
        while (!tail.empty() && tail.back() == '0')
            tail.pop_back();
        return tail.empty() ? head : head + DecimalSeparator() + tail;
    };
    if (exponent >= 3)
        return trimmed(digits, 2) + "E" + std::to_string(exponent) + "M";
    return trimmed(digits, 2 - exponent) + "M";
}
