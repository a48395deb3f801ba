#pragma once

#include <cstddef>
#include <string>

class FileSystem;
class RelocationWindow;
struct SharedState;

// The relocation run started by the Start button: checks the inputs, collects
// the pages, and writes a replacement page for each into the "_Moved" tree.
// It reports only through its window; errors become a message there.
class Relocation
{
public:
    Relocation(RelocationWindow& window, FileSystem& fileSystem, const SharedState& state);

    // Plans every page and reports it through pageDone, but creates no folder
    // and writes no page.
    void setDryRun(bool dryRun) { m_dryRun = dryRun; }

    enum class Outcome { Done, Refused, Failed, Stopped };
    Outcome run();

    std::size_t pagesWritten() const { return m_pagesWritten; }

private:
    struct Abort
    {
        Outcome outcome;
    };

    std::string checkedBaseDirectory();
    void askAboutOutputRoot(const std::string& baseDirectory);
    std::string readTemplate();
    void writePages(const std::string& baseDirectory, const class PageTemplate& page,
                    const std::vector<std::string>& files, int templateEncoding);
    [[noreturn]] void refuse(const std::string& message, int icon, bool focusDirectory);

    RelocationWindow& m_window;
    FileSystem& m_fileSystem;
    const SharedState& m_state;
    bool m_dryRun = false;
    std::size_t m_pagesWritten = 0;
};
