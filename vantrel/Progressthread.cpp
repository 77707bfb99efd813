#include "Progressthread.h"

#include "CPathSafety.h"
#include "CProtectedPlaces.h"
#include "ProgressIndicatorForm.h"
#include "SysUtils.h"
#include "TM_Logger.h"
#include "Whddclass.h"

void TIndicatorThread::Execute()
{
    try {
        Wipe();
    } catch (...) {
        // Nothing of a failed run may keep the window open.
    }
    Link->CloseWindow();
    Link->WorkerDone();
}

std::string TIndicatorThread::Refusal(const std::string& line, const CProtectedPlaces& places)
{
    if (line.find('\0') != std::string::npos || !CPathSafety::IsAbsolute(line))
        return "not a path that may be wiped";
    // A folder goes whole; a file is judged by the folder it lies in.
    bool allowed = DirectoryExists(line) ? CPathSafety::IsTreeAllowed(line, places)
                                         : CPathSafety::IsFileAllowed(line, places);
    return allowed ? std::string() : "a protected place";
}

namespace {

// Every skipped line of a long list in one write of the log, also when the collection ends early.
class LogBatch {
public:
    explicit LogBatch(TM_Logger* log) : Log(log) { Log->BeginBatch(); }
    ~LogBatch() { Log->EndBatch(); }

private:
    TM_Logger* Log;
};

}  // namespace

void TIndicatorThread::Wipe()
{
    CWHddClass hdd(Link->CancelEvent());
    TM_Logger* log = TM_Logger::Instance();
    log->Clear();
    {
        // The same reading as the record's own checks of the folders below.
        const std::shared_ptr<const CProtectedPlaces> places = CProtectedPlaces::Recent();
        LogBatch batch(log);
        for (int i = 0; i < WorkList.Count() && !IsCancelled(); ++i) {
            const std::string& line = WorkList[i];
            // A line that is no full path, or names a protected place, would let one wrong
            // line wipe what was never chosen.
            std::string refusal = Refusal(line, *places);
            if (!refusal.empty()) {
                log->BeginEntry("Skipped line " + std::to_string(i + 1));
                log->EndEntry(refusal, line.substr(0, line.find('\0')).substr(0, 300));
                continue;
            }
            hdd.CollectedPaths.Add(line);
            if (DirectoryExists(line))
                hdd.AppendByExtension(line, ".*", true);
        }
    }
    const TStringList& paths = hdd.CollectedPaths;
    Link->Use([&](TIndicatorFm& w) { w.CGauge1->SetMaxValue(paths.Count()); });

    hdd.OnRefused = [log](const std::string& path, const std::string& why) {
        log->AddEntry("Not overwritten: " + path.substr(0, 300), why, " ");
    };
    // The window hears of the file in hand at most every ShowEvery ms: drawing the labels
    // and fitting each name took longer than wiping a small file.
    DWORD shown = GetTickCount() - ShowEvery;
    int steps = 0;
    bool showing = false;
    hdd.OnDeleting = [&](const std::string&) {
        if (showing)
            Show(&TIndicatorFm::MyGraphicLabel4, "Operation: deleting...");
    };
    for (int i = 0; i < paths.Count(); ++i) {
        if (IsCancelled())
            return;
        showing = GetTickCount() - shown >= ShowEvery;
        if (showing) {
            Show(&TIndicatorFm::MyGraphicLabel3, "Unrecoverable file deletion");
            ShowFileName("File: " + paths[i]);
            Show(&TIndicatorFm::MyGraphicLabel4, "Operation: wiping...");
            StepGauge(steps);
            steps = 0;
            shown = GetTickCount();
        }
        hdd.WipeThenDelete(paths[i]);
        ++steps;
    }
    showing = false;
    StepGauge(steps);
    for (int i = 0; i < paths.Count() && !IsCancelled(); ++i) {
        if (DirectoryExists(paths[i])) {
            hdd.DeleteTree(paths[i]);
            if (!hdd.RemoveFolder(paths[i]) && DirectoryExists(paths[i]))
                hdd.TellLeft(paths[i], "a folder that could not be removed: left");
        }
    }
}

void TIndicatorThread::StepGauge(int steps)
{
    if (steps > 0)
        Link->Use([steps](TIndicatorFm& w) { w.CGauge1->AddProgress(steps); });
}

void TIndicatorThread::Show(TMyGraphicLabel* TIndicatorFm::*label, const std::string& text)
{
    Link->Use([&](TIndicatorFm& w) { (w.*label)->SetCaption(text); });
}

void TIndicatorThread::ShowFileName(const std::string& text)
{
    Link->Use([&](TIndicatorFm& w) {
        TMyGraphicLabel* l = w.MyGraphicLabel1;
        std::string shown = ShortenedName(text, l->Width(), [l](const std::string& s) { return l->GetTextWidth(s); });
        if (!shown.empty())
            l->SetCaption(shown);
    });
}

std::string TIndicatorThread::ShortenedName(const std::string& text, int width,
                                            const std::function<int(const std::string&)>& measure)
{
    if (measure(text) <= width - 5)
        return text;
    size_t slash = text.rfind('\\');
    std::string tail = slash == std::string::npos ? std::string() : ".." + text.substr(slash);
    // The first length whose width reaches width - 15; widths grow with the length, so a
    // halving search finds the same length as counting up, in few measurements.
    size_t lo = 1, hi = text.size();
    if (hi == 0 || measure(text + tail) < width - 15)
        return std::string();
    while (lo < hi) {
        size_t mid = lo + (hi - lo) / 2;
        if (measure(text.substr(0, mid) + tail) >= width - 15)
            hi = mid;
        else
            lo = mid + 1;
    }
    return text.substr(0, lo) + tail;
}
