#pragma once
// The log of the last cleaning run: one line per item begun, completed when the item
// ends, and a closing total. It lies beside the executable under the executable's name
// with ".log", and the file always holds exactly the lines the object holds.
#include "TCriticalSection.h"
#include "TStringList.h"

#include <string>

class TM_Logger {
public:
    // The process's one logger, created by its first user.
    static TM_Logger* Instance();
    // Deletes the one logger (writing its file a last time); the next Instance() makes anew.
    static void Release();

    TM_Logger();
    virtual ~TM_Logger();

    void Clear();
    void Save();
    void AddLine(const std::string& text);
    void BeginEntry(const std::string& title);
    void EndEntry(const std::string& result, const std::string& detail);
    // One whole entry line at once, after the others; the entry in progress stays open.
    void AddEntry(const std::string& title, const std::string& result, const std::string& detail);
    // Between these, changes are kept and the file is written once, at the end: a program
    // logging many entries in a row writes the file once instead of once for each.
    void BeginBatch();
    void EndBatch();

    const std::string& Path() const { return FPath; }
    TStringList Lines();
    // Whether the last attempt to write or delete the file failed. A log that cannot be
    // written never stops a run; the lines stay in memory and the next write tries again.
    bool LastWriteFailed();

private:
    void WriteFile();
    static std::string EntryEnd(const std::string& result, const std::string& detail);

    std::string FPath;
    TCriticalSection Lock;
    std::string CurrentLine;
    // The line of the item in progress: lines added while it runs (a refused folder) come
    // after it and stay.
    int CurrentIndex = -1;
    int Batches = 0;
    bool Unwritten = false;
    TStringList FLines;
    bool WriteFailed = false;
};
