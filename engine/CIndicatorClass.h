#pragma once
// The one channel through which the cleaners report a run: the progress window's gauge and
// labels, the run's byte total, the run log's lines, and the pauses that keep each step
// readable. Called on the run's worker thread; the controls it writes are safe for that.
#include <string>

class TCGauge;
class TMyGraphicLabel;

// The progress messages; the language file replaces them before each run (the names are
// the keys in its "Indicator" section).
struct CWordsStruct {
    std::string DoneWD = "Done...OK";
    std::string DeletingWD = "Deleting";
    std::string CancelWD = "Canceled...";
    std::string DeletingFileWD = "Deleting file:";
    std::string ClearingWD = "Clearing...";
    std::string WipingWD = "Wiping file:";
    std::string EmptyingWD = "Emptying...";
    std::string PreparingWD = "Preparing...";
};

class CIndicatorClass {
public:
    CIndicatorClass() = default;
    // Writes the run's total line to the run log.
    ~CIndicatorClass();
    CIndicatorClass(const CIndicatorClass&) = delete;
    CIndicatorClass& operator=(const CIndicatorClass&) = delete;

    void SetGroupTitle(const std::string& text);
    void BeginSection(const std::string& title);
    void Reset();
    void SetStatus(const std::string& text);
    void StatusDeleting(const std::string& text);
    void StatusWiping(const std::string& text);
    void StatusDeletingFile(const std::string& text);
    void StatusEmptying(const std::string& text);
    void StatusPreparing(const std::string& text);
    void SetMax(int max);
    void Step();
    void ShowClearing();
    void AddBytes(int bytes);
    void SetSizeText(const std::string& text);
    void SectionDone();
    void SectionCancelled();
    // Something of the item in progress could not be done (a file left unwritten, a keep
    // list unread): its end shows and logs this text instead of "Done...OK". The first
    // failure of an item is the one told.
    void NoteFailure(const std::string& text);

    // "0.1Kb", "0.50Kb", "1Kb", "1.5M", "1E3M" and so on; empty from 1 GiB on and for
    // nothing or less.
    static std::string FormatSize(int bytes);

    TCGauge* Gauge = nullptr;
    TMyGraphicLabel* GroupLabel = nullptr;
    TMyGraphicLabel* SectionLabel = nullptr;
    TMyGraphicLabel* StatusLabel = nullptr;
    TMyGraphicLabel* SizeLabel = nullptr;
    int RunTotal = 0;
    CWordsStruct Words;

    // The pauses after an item's start and end, in percent of their length (500 and
    // 1000 ms). Only tests shorten them; the program never does.
    static int PacingPercent;

private:
    void Label(TMyGraphicLabel* label, const std::string& text);
    void End(const std::string& message);
    static void Pause(int ms);

    std::string Failure;   // of the item in progress
};
