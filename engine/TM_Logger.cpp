#include "TM_Logger.h"

#include "SysUtils.h"
#include "TApplication.h"

#include <windows.h>

#include <mutex>

namespace {
std::mutex InstanceLock;
TM_Logger* TheLogger = nullptr;
}  // namespace

TM_Logger* TM_Logger::Instance()
{
    std::lock_guard<std::mutex> guard(InstanceLock);
    if (!TheLogger)
        TheLogger = new TM_Logger();
    return TheLogger;
}

void TM_Logger::Release()
{
    std::lock_guard<std::mutex> guard(InstanceLock);
    delete TheLogger;
}

TM_Logger::TM_Logger() : FPath(ChangeFileExt(Application->ExeName(), ".log"))
{
    if (FileExists(FPath)) {
        try {
            FLines.LoadFromFile(FPath);
        } catch (const std::exception&) {
            FLines.Clear();
        }
    }
}

// Release() holds the instance lock while deleting; a logger made by hand is not the one.
TM_Logger::~TM_Logger()
{
    Batches = 0;
    Save();
    if (TheLogger == this)
        TheLogger = nullptr;
}

void TM_Logger::WriteFile()
{
    Unwritten = Batches > 0;
    if (Unwritten)
        return;
    try {
        FLines.SaveToFile(FPath);
        WriteFailed = false;
    } catch (const std::exception&) {
        WriteFailed = true;
    }
}

void TM_Logger::Clear()
{
    TCriticalSectionGuard guard(Lock);
    if (FileExists(FPath) && !DeleteFileA(FPath.c_str()))
        WriteFailed = true;
    FLines.Clear();
    CurrentIndex = -1;
}

void TM_Logger::Save()
{
    TCriticalSectionGuard guard(Lock);
    WriteFile();
}

void TM_Logger::AddLine(const std::string& text)
{
    TCriticalSectionGuard guard(Lock);
    FLines.Add(text);
    WriteFile();
}

void TM_Logger::BeginEntry(const std::string& title)
{
    TCriticalSectionGuard guard(Lock);
    CurrentLine = Copy(CurrentTimeText(), 1, 8) + "   " + title;
    FLines.Add(CurrentLine);
    CurrentIndex = FLines.Count() - 1;
    WriteFile();
}

void TM_Logger::EndEntry(const std::string& result, const std::string& detail)
{
    TCriticalSectionGuard guard(Lock);
    CurrentLine += EntryEnd(result, detail);
    if (FLines.Count() == 0)
        FLines.Add(CurrentLine);
    else
        FLines[CurrentIndex >= 0 && CurrentIndex < FLines.Count() ? CurrentIndex : FLines.Count() - 1] = CurrentLine;
    WriteFile();
}

std::string TM_Logger::EntryEnd(const std::string& result, const std::string& detail)
{
    return "  " + detail + "   " + (result == "Done...OK" ? std::string("Done") : result);
}

void TM_Logger::AddEntry(const std::string& title, const std::string& result, const std::string& detail)
{
    TCriticalSectionGuard guard(Lock);
    FLines.Add(Copy(CurrentTimeText(), 1, 8) + "   " + title + EntryEnd(result, detail));
    WriteFile();
}

void TM_Logger::BeginBatch()
{
    TCriticalSectionGuard guard(Lock);
    ++Batches;
}

void TM_Logger::EndBatch()
{
    TCriticalSectionGuard guard(Lock);
    if (Batches > 0 && --Batches == 0 && Unwritten)
        WriteFile();
}

TStringList TM_Logger::Lines()
{
    TCriticalSectionGuard guard(Lock);
    return FLines;
}

bool TM_Logger::LastWriteFailed()
{
    TCriticalSectionGuard guard(Lock);
    return WriteFailed;
}
