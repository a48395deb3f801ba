#pragma once

#include "RelocationWindow.h"

#include <string>
#include <vector>

// A window made of plain values that records every call of the run, in order,
// as short texts such as "status:Suchen der Dateien..." or "enable:1".
class FakeWindow : public RelocationWindow
{
public:
    bool AnswerYes = true;
    std::size_t StopAfterPages = 0; // 0: never
    std::vector<std::string> Calls;
    std::vector<Page> Pages;
    std::vector<Page> OtherFiles;

    void SetStatus(const std::string& text) override { Calls.push_back("status:" + text); }
    void EnableInputs(bool enabled) override { Calls.push_back(enabled ? "enable:1" : "enable:0"); }
    void showMessage(const std::string& text, Icon icon) override
    {
        Calls.push_back("message:" + std::to_string(static_cast<int>(icon)) + ":" + text);
    }
    bool askYesNo(const std::string& text) override
    {
        Calls.push_back("ask:" + text);
        return AnswerYes;
    }
    void focusVerzeichnis() override { Calls.push_back("focus"); }
    void processEvents() override { ++EventsProcessed; }
    void pageDone(const Page& page) override { Pages.push_back(page); }
    void otherFileFound(const Page& file) override { OtherFiles.push_back(file); }
    bool stopRequested() const override
    {
        return StopAfterPages != 0 && Pages.size() >= StopAfterPages;
    }

    int EventsProcessed = 0;

    // The calls without the per-page status texts.
    std::vector<std::string> callsWithoutProgress() const
    {
        std::vector<std::string> calls;
        for (const std::string& call : Calls) {
            if (call.rfind("status:Schreibe ", 0) != 0)
                calls.push_back(call);
        }
        return calls;
    }
};
