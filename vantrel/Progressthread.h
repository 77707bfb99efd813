#pragma once
// Vantrel's worker: overwrites once and deletes every listed file and everything below every
// listed folder, then removes the folders, showing its progress in the window while the
// window lets it.
#include "CWindowLink.h"
#include "TStringList.h"
#include "TThread.h"

#include <functional>
#include <memory>
#include <string>

class TMyGraphicLabel;

class TIndicatorThread : public TThread {
public:
    explicit TIndicatorThread(std::shared_ptr<CWindowLink> link) : Link(std::move(link)) {}

    TStringList WorkList;

    // Whether a line of the work list may be wiped: a full path without NUL that is neither
    // a drive or share root nor the Windows or a system folder, nor holds one of them.
    static bool IsSafeLine(const std::string& line);
    // What a label of the given width shows for text: all of it when it fits, else its
    // beginning, ".." and its last name, just reaching width - 15 ("" when nothing does).
    static std::string ShortenedName(const std::string& text, int width,
                                     const std::function<int(const std::string&)>& measure);

protected:
    void Execute() override;

private:
    void Wipe();
    bool IsCancelled() const { return Link->IsCancelled(); }
    void StepGauge(int steps);
    static constexpr DWORD ShowEvery = 50;
    void ShowFileName(const std::string& text);
    void Show(TMyGraphicLabel* TIndicatorFm::*label, const std::string& text);

    std::shared_ptr<CWindowLink> Link;
};
