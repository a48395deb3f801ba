#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How the relocation run reports to the window that started it. The main
// window implements it over its controls, the command line over the
// terminal, tests over plain values. The run's inputs come separately, as
// one RelocationInputs value read at Start. Texts are UTF-8.
class RelocationWindow
{
public:
    enum class Icon
    {
        None,
        Critical,
        Question,
        Information
    };

    // One page of a run, as it is written (or, in a dry run, planned).
    struct Page
    {
        std::string SourcePath;
        std::string TargetPath;
        // Below the base directory, levels joined by "/", e.g. "x/y/b.htm".
        std::string RelativePath;
        // The page URL as UTF-8 text; the page holds it in the template's
        // encoding.
        std::string Url;
        std::size_t Number; // counts from 1
        std::size_t Total;
    };

    virtual ~RelocationWindow() = default;

    virtual void SetStatus(const std::string& text) = 0;
    virtual void EnableInputs(bool enabled) = 0;
    // A modal message with an OK button. Line breaks are "\r\n".
    virtual void showMessage(const std::string& text, Icon icon) = 0;
    // A modal question with Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
    virtual void focusVerzeichnis() = 0;
    // Lets pending window events run; called after every file examined and
    // every page written.
    virtual void processEvents() = 0;

    // Called after each page; for progress displays and reports.
    virtual void pageDone(const Page& /*page*/) {}
    // With AllFiles, after the last page: each file of the site that is not
    // a page. Its old address moves too, but no replacement page is written
    // for it, so TargetPath is empty; Number counts these files alone.
    virtual void otherFileFound(const Page& /*file*/) {}
    // Asked after each page; true ends the run there (the window is closing).
    virtual bool stopRequested() const { return false; }
};
