#pragma once

#include "CaseCollisions.h"
#include "OutputFiles.h"
#include "PageMapping.h"
#include "RelocationInputs.h"
#include "RelocationWindow.h"
#include "RunFailures.h"
#include "TextCodec.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class FileSystem;
class OutputTree;
class clsDateiliste;
class PageTemplate;
struct SharedState;

// The relocation run started by the Start button: checks the inputs, collects
// the pages, and writes a replacement page for each into the "_Moved" tree.
// Its inputs are fixed when it is made; it reports only through its window.
// A page or folder that fails is recorded and the run goes on; what failed
// is shown in one message at the end. Every other error becomes a message
// too, and every way out enables the inputs again. Nothing outside the
// "_Moved" tree is ever written.
class Relocation
{
public:
    enum class Outcome
    {
        Done,       // every page written
        Refused,    // an input was refused or the user said No; nothing written
        Failed,     // an error stopped the run; pages written before stay complete
        Stopped,    // the window asked to stop after a page
        Incomplete, // every page written except those in failures()
    };

    static constexpr const char* AbortedStatus = "Durchführung abgebrochen.";

    // The state gives the template paths; the inputs choose one of them.
    Relocation(RelocationWindow& window, FileSystem& fileSystem, const SharedState& state,
               RelocationInputs inputs);

    // Plans every page and reports it through pageDone, but asks nothing,
    // creates no folder and writes no page.
    void setDryRun(bool dryRun) { m_dryRun = dryRun; }
    // The extra files of the run: checked before the first page, fed every
    // page, and written before the run lets go of the output tree.
    void setExtraFiles(OutputFiles* files) { m_extraFiles = files; }

    Outcome run();
    std::size_t pagesWritten() const { return m_pagesWritten; }
    const RunFailures& failures() const { return m_failures; }
    // The base directory + "_Moved", once the run got that far.
    const std::string& outputRoot() const { return m_outputRoot; }
    // Whether the run was refused for its mapping file.
    bool mappingRefused() const { return m_mappingRefused; }
    // Whether the run was refused for the place of an extra file.
    bool extraFileRefused() const { return m_extraFileRefused; }
    // What became of the extra files; empty when none was written.
    const OutputFiles::Result& extraFilesWritten() const { return m_extraFilesWritten; }
    // Paths of the mapping file that named no page of the run, in file order.
    const std::vector<std::string>& unmappedPaths() const { return m_unmappedPaths; }
    // Pairs of pages, both written, whose paths differ only in letter case:
    // a host that ignores case keeps only one of them. Windows itself does,
    // so there the second page is a failure instead.
    const std::vector<std::string>& caseWarnings() const { return m_caseWarnings; }

private:
    Outcome relocate();
    Outcome refuse(const std::string& message, RelocationWindow::Icon icon, bool focusDirectory);
    bool urlMayBeUsed();
    void show(const std::string& message, RelocationWindow::Icon icon);
    void setStatus(const std::string& text);
    bool outputRootMayBeUsed(const std::string& outputRoot);
    void collectFiles(clsDateiliste& list, const std::string& baseDirectory);
    bool readTypes();
    bool readMapping();
    bool mappingFitsFolder(const std::string& baseDirectory,
                           const std::vector<std::string>& files) const;
    bool readTemplate();
    bool extraFilesMayBeWritten(const std::string& baseDirectory);
    Outcome writePages(const std::string& baseDirectory, const std::vector<std::string>& files,
                       const std::vector<std::string>& otherFiles, const PageTemplate& page);
    Outcome endWriting(OutputTree* tree, Outcome outcome, const std::string& status);
    std::string urlFor(const std::string& relativePath, const std::string& relativeFolder,
                       const std::string& fileName);
    void reportOtherFiles(const std::string& baseDirectory, const std::vector<std::string>& files);
    std::string enterFolder(OutputTree& tree, const std::string& relativeFolder);
    std::optional<std::string> earlierCaseTwin(const std::string& relativePath, std::size_t index,
                                               const std::vector<std::string>& files,
                                               const std::string& baseDirectory);
    bool writePage(OutputTree& tree, const std::string& name, std::string pageText);
    static void flush(OutputTree* tree);
    std::string inTemplateEncoding(const std::string& url) const;
    Outcome finish(Outcome outcome, const std::string& status);

    RelocationWindow& m_window;
    FileSystem& m_fileSystem;
    const SharedState& m_state;
    const RelocationInputs m_inputs;
    bool m_dryRun = false;
    OutputFiles* m_extraFiles = nullptr;
    OutputFiles::Result m_extraFilesWritten;
    std::vector<std::string> m_types;
    std::string m_templateText;
    TextCodec::Encoding m_templateEncoding = TextCodec::Encoding::Utf8;
    std::size_t m_pagesWritten = 0;
    std::string m_outputRoot;
    // The directory as typed, without one trailing separator, for messages.
    std::string m_shownBase;
    RunFailures m_failures;
    PageMapping m_mapping;
    bool m_mappingRefused = false;
    bool m_extraFileRefused = false;
    std::vector<std::string> m_unmappedPaths;
    CaseCollisions m_caseCollisions;
    std::vector<std::string> m_caseWarnings;
};
