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

class CProtectedPlaces;
class TMyGraphicLabel;

class TIndicatorThread : public TThread {
public:
    explicit TIndicatorThread(std::shared_ptr<CWindowLink> link) : Link(std::move(link)) {}

    TStringList WorkList;

    // Why a line of the work list is not wiped, "" when it is: a line must be a full path
    // without NUL; a folder must be no protected place nor hold one, and a file must not lie
    // in a tree where nothing is cleaned (the Windows folder, Quelora's own).
    static std::string Refusal(const std::string& line, const CProtectedPlaces& places);
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
