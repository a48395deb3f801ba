#include "Relocation.h"

#include "AbsoluteUrl.h"
#include "EngineError.h"
#include "FileSystem.h"
#include "OutputTree.h"
#include "PageTemplate.h"
#include "PageUrl.h"
#include "RedirectPlan.h"
#include "RelocationWindow.h"
#include "SharedState.h"
#include "ShownText.h"
#include "TemplateCharset.h"
#include "TreePlacement.h"
#include "TypedPath.h"
#include "clsDateiString.h"
#include "clsDateiliste.h"
#include "clsParser.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

using Icon = RelocationWindow::Icon;

namespace {

std::size_t characterCount(const std::string& utf8)
{
    std::size_t count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// The separator the run strips from the typed folder; Windows users also
// type "/", which names the same folder there.
bool endsInSeparator(const std::string& typed)
{
#ifdef _WIN32
    return typed.back() == '\\' || typed.back() == '/';
#else
    return typed.back() == PathSeparator;
#endif
}

#ifdef _WIN32
constexpr bool WindowsKeepsOneNamePerCase = true;
#else
constexpr bool WindowsKeepsOneNamePerCase = false;
#endif

bool liesBelow(const std::string& path, const std::string& baseDirectory)
{
    return path.size() > baseDirectory.size() &&
           path.compare(0, baseDirectory.size(), baseDirectory) == 0 &&
           path[baseDirectory.size()] == PathSeparator;
}

} // namespace

Relocation::Relocation(RelocationWindow& window, FileSystem& fileSystem, const SharedState& state,
                       RelocationInputs inputs)
    : m_window(window), m_fileSystem(fileSystem), m_state(state), m_inputs(std::move(inputs))
{}

Relocation::Outcome Relocation::run()
{
    m_window.EnableInputs(false);
    std::string failure;
    try {
        return relocate();
    } catch (const EngineError& error) {
        failure = error.what();
    } catch (const std::exception& error) {
        failure = std::string("Unerwarteter Fehler: ") + error.what();
    }
    show(failure, Icon::Critical);
    return finish(Outcome::Failed, AbortedStatus);
}

Relocation::Outcome Relocation::relocate()
{
    // Messages repeat the text as typed; the run itself works on the full
    // path.
    std::string baseDirectory = TypedPath::resolve(m_inputs.Verzeichnis);
    if (!m_fileSystem.FolderExists(baseDirectory))
        return refuse("Verzeichnis nicht gefunden\r\n" + m_inputs.Verzeichnis, Icon::Critical,
                      true);

    if (characterCount(baseDirectory) <= 3)
        return refuse("Bitte Unterverzeichnis auswählen", Icon::Information, true);
    if (baseDirectory.back() == PathSeparator)
        baseDirectory.pop_back();
    m_shownBase = m_inputs.Verzeichnis;
    if (endsInSeparator(m_shownBase))
        m_shownBase.pop_back();

    for (const std::string& refusal :
         {PageUrl::refusalFor(m_inputs.URLneu),
          TreePlacement::outputRootRefusal(m_fileSystem, baseDirectory, m_shownBase)}) {
        if (!refusal.empty())
            return refuse(refusal, Icon::Critical, false);
    }
    if (!urlMayBeUsed())
        return Outcome::Refused;

    // What cannot work is refused before the question, and before any page.
    if (!readTypes() || !readMapping() || !readTemplate() || !extraFilesMayBeWritten(baseDirectory))
        return Outcome::Refused;

    if (!outputRootMayBeUsed(baseDirectory + "_Moved"))
        return finish(Outcome::Refused, {});

    clsDateiliste list(m_fileSystem, [this] { m_window.processEvents(); });
    collectFiles(list, baseDirectory);
    const std::vector<std::string>& files = list.Dateiliste();
    if (files.empty())
        return refuse("Keine Dateien gefunden", Icon::Information, false);
    if (!mappingFitsFolder(baseDirectory, files) &&
        !mappingFitsFolder(baseDirectory, list.AndereDateien())) {
        m_mappingRefused = true;
        return refuse("Die Zuordnungsdatei nennt keine Seite im Verzeichnis " + m_shownBase +
                          ":\r\n" + m_inputs.Zuordnungsdatei +
                          "\r\nSie gehört wohl zu einer anderen Homepage.",
                      Icon::Critical, false);
    }

    const PageTemplate page(PageTemplate::insertCredit(m_templateText));
    return writePages(baseDirectory, files, list.AndereDateien(), page);
}

Relocation::Outcome Relocation::refuse(const std::string& message, Icon icon, bool focusDirectory)
{
    show(message, icon);
    m_window.EnableInputs(true);
    if (focusDirectory)
        m_window.focusVerzeichnis();
    return Outcome::Refused;
}

// Server rules, a check and a mapping file send visitors to the URL from
// another host: anything but an absolute http(s) address would loop or land
// on a host named like a page. A page alone is read by the browser relative
// to its own address, as the user may mean it; the user hears of it first.
bool Relocation::urlMayBeUsed()
{
    const std::string problem = AbsoluteUrl::problem(m_inputs.URLneu);
    if (problem.empty())
        return true;
    if (m_inputs.needsAbsoluteUrl()) {
        refuse("Die neue URL taugt nicht für Serverregeln, die Prüfung oder eine "
               "Zuordnungsdatei: " +
                   problem + ".",
               Icon::Critical, false);
        return false;
    }
    show("Warnung: Die neue URL ist keine absolute Adresse (" + problem +
             "); die Seiten leiten dorthin, wie der Browser sie von ihrer alten Adresse aus liest.",
         Icon::Information);
    return true;
}

// Names from the disk may hold any byte: no line break or escape sequence in
// one may forge a line of the message or act on a terminal.
void Relocation::show(const std::string& message, Icon icon)
{
    m_window.showMessage(ShownText::visible(message, true), icon);
}

void Relocation::setStatus(const std::string& text)
{
    m_window.SetStatus(ShownText::visible(text));
}

bool Relocation::outputRootMayBeUsed(const std::string& outputRoot)
{
    if (m_dryRun || !m_fileSystem.FolderExists(outputRoot))
        return true;
    return m_window.askYesNo(ShownText::visible("Ordner " + m_shownBase +
                                                "_Moved bereits vorhanden, Dateien ersetzen?"));
}

void Relocation::collectFiles(clsDateiliste& list, const std::string& baseDirectory)
{
    list.BasisVerzeichnis = baseDirectory;
    list.DateitypenFiltern = true;
    list.AndereMerken = m_inputs.AllFiles;
    list.Dateitypen(m_types);
    list.UnreadableFolder = [this](const EngineError& error) {
        m_failures.folderUnreadable(error.what());
    };
    list.SkippedLink = [this](const std::string& path) { m_failures.linkSkipped(path); };

    m_window.SetStatus("Suchen der Dateien...");
    list.erzeugeDateiliste();
}

// A type is what follows the last dot of a name; an entry that holds a dot
// or a separator, or none at all, can never be one.
bool Relocation::readTypes()
{
    clsParser parser;
    parser.InputText = m_inputs.Dateitypen;
    std::vector<std::string> entries;
    try {
        entries = parser.TextList();
    } catch (const EngineError& error) {
        show(error.what(), Icon::Critical);
        finish(Outcome::Refused, AbortedStatus);
        return false;
    }
    for (std::string& entry : entries) {
        if (!entry.empty() && entry.find_first_of("./\\") == std::string::npos)
            m_types.push_back(std::move(entry));
    }
    if (!m_types.empty())
        return true;
    show("Dateitypen fehlerhaft: \"" + m_inputs.Dateitypen +
             "\" nennt keinen Dateityp.\r\nBitte Typen wie htm;html angeben.",
         Icon::Critical);
    finish(Outcome::Refused, AbortedStatus);
    return false;
}

// A faulty mapping refuses the run before the user is asked anything, so that
// no page goes out with an address the user did not mean.
bool Relocation::readMapping()
{
    if (m_inputs.Zuordnungsdatei.empty())
        return true;
    std::string error;
    try {
        m_mapping = PageMapping::parse(m_fileSystem.ReadAll(m_inputs.Zuordnungsdatei), error);
    } catch (const EngineError& failure) {
        error =
            std::string("Die Zuordnungsdatei konnte nicht gelesen werden.\r\n") + failure.what();
    }
    if (error.empty())
        return true;
    m_mappingRefused = true;
    refuse(error, Icon::Critical, false);
    return false;
}

// A mapping file none of whose pages lies in the folder was made for another
// site: every page would silently keep the mirror rule, or, where a name
// happens to match, get the other site's address.
bool Relocation::mappingFitsFolder(const std::string& baseDirectory,
                                   const std::vector<std::string>& files) const
{
    if (m_mapping.empty())
        return true;
    return std::any_of(files.begin(), files.end(), [&](const std::string& path) {
        return liesBelow(path, baseDirectory) &&
               m_mapping.lists(PageUrl::toUrlPath(path.substr(baseDirectory.size() + 1)));
    });
}

bool Relocation::readTemplate()
{
    // Until the editor first makes the data folder's copy of the user
    // template, the shipped one is that template.
    const bool shipped = !m_inputs.UseStandardTemplate &&
                         !m_state.ShippedUserTemplatePath.empty() &&
                         !m_fileSystem.FileExists(m_state.UserTemplatePath);
    const std::string& path = m_inputs.UseStandardTemplate ? m_state.StandardTemplatePath
                              : shipped                    ? m_state.ShippedUserTemplatePath
                                                           : m_state.UserTemplatePath;
    try {
        m_templateText = m_fileSystem.ReadAll(path);
    } catch (const EngineError& error) {
        show(std::string("Die HTML-Vorlage konnte nicht gelesen werden.\r\n") + error.what(),
             Icon::Critical);
        finish(Outcome::Refused, AbortedStatus);
        return false;
    }
    if (!PageTemplate::hasBodyEnd(m_templateText)) {
        m_window.showMessage("HTML-Code fehlerhaft:\r\n</Body> Element nicht gefunden", Icon::None);
        finish(Outcome::Refused, AbortedStatus);
        return false;
    }
    m_templateEncoding = TemplateCharset::of(m_templateText);
    return true;
}

bool Relocation::extraFilesMayBeWritten(const std::string& baseDirectory)
{
    if (!m_extraFiles || m_dryRun)
        return true;
    const std::string refusal = m_extraFiles->prepare(m_fileSystem, baseDirectory);
    if (refusal.empty())
        return true;
    m_extraFileRefused = true;
    refuse(refusal, Icon::Critical, false);
    return false;
}

Relocation::Outcome Relocation::writePages(const std::string& baseDirectory,
                                           const std::vector<std::string>& files,
                                           const std::vector<std::string>& otherFiles,
                                           const PageTemplate& page)
{
    clsDateiString paths(m_fileSystem);
    m_outputRoot = baseDirectory + "_Moved";
    const std::string shownRoot = m_shownBase + "_Moved";
    std::unique_ptr<OutputTree> tree;
    if (!m_dryRun) {
        tree = m_fileSystem.openOutputTree(m_outputRoot);
        if (!tree->lock())
            return refuse("Ordner " + shownRoot +
                              " wird gerade von einem anderen Lauf beschrieben.\r\nBitte warten, "
                              "bis dieser fertig ist.",
                          Icon::Critical, false);
        OutputFiles::removeStaleTemporaries(*tree, m_outputRoot);
    }
    std::optional<std::string> enteredFolder;
    std::string folderFailure;
    m_pagesWritten = 0;
    for (std::size_t index = 0; index < files.size(); ++index) {
        const std::string& path = files[index];
        if (!liesBelow(path, baseDirectory)) {
            m_failures.pageFailed("Die Datei " + path + " liegt nicht im Verzeichnis " +
                                  baseDirectory);
            continue;
        }
        const std::string relativeFolder = paths.GetPfad(path).substr(baseDirectory.size());
        // The walk lists a folder's files together, so the folder needs
        // entering only when it changes.
        if (!m_dryRun && relativeFolder != enteredFolder) {
            enteredFolder = relativeFolder;
            folderFailure = enterFolder(*tree, relativeFolder);
        }
        const std::string fileName = paths.GetDatei(path);
        const std::string relativePath = PageUrl::toUrlPath(path.substr(baseDirectory.size() + 1));
        const std::string url = urlFor(relativePath, relativeFolder, fileName);
        const std::string target = m_outputRoot + relativeFolder + PathSeparator + fileName;

        setStatus("Schreibe " + fileName + " in " + shownRoot + relativeFolder);
        const std::optional<std::string> caseTwin =
            earlierCaseTwin(relativePath, index, files, baseDirectory);
        if (!folderFailure.empty())
            m_failures.pageFailed("Seite " + target + " nicht geschrieben: " + folderFailure);
        else if (caseTwin && WindowsKeepsOneNamePerCase)
            m_failures.pageFailed("Seite " + target +
                                  " nicht geschrieben: Der Name unterscheidet "
                                  "sich von " +
                                  m_outputRoot + *caseTwin +
                                  " nur in Groß- und Kleinschreibung, und Windows hält beide "
                                  "für dieselbe Datei.");
        else if (m_dryRun || writePage(*tree, fileName, page.render(inTemplateEncoding(url)))) {
            if (caseTwin)
                m_caseWarnings.push_back(ShownText::visible(
                    "Die Seiten " + PageUrl::toUrlPath(caseTwin->substr(1)) + " und " +
                    relativePath +
                    " unterscheiden sich nur in Groß- und Kleinschreibung: Ein Server, der sie "
                    "nicht unterscheidet (etwa unter Windows), behält nur eine."));
            const RelocationWindow::Page done{path, target,           relativePath,
                                              url,  ++m_pagesWritten, files.size()};
            if (m_extraFiles)
                m_extraFiles->addPage(done);
            m_window.pageDone(done);
        }
        m_window.processEvents();
        if (m_window.stopRequested())
            return endWriting(tree.get(), Outcome::Stopped, AbortedStatus);
    }
    reportOtherFiles(baseDirectory, otherFiles);
    m_unmappedPaths = m_mapping.unusedPaths();
    const std::string done = "Fertig, " + std::to_string(m_pagesWritten) + " Dateien verarbeitet";
    if (m_failures.empty())
        return endWriting(tree.get(), Outcome::Done, done);
    show(m_failures.message(), Icon::Critical);
    return endWriting(tree.get(), Outcome::Incomplete, done);
}

// The extra files are written while the run still holds the tree and its
// lock; the report also lists a run that stopped early, rules need all pages.
Relocation::Outcome Relocation::endWriting(OutputTree* tree, Outcome outcome,
                                           const std::string& status)
{
    flush(tree);
    if (tree && m_extraFiles && m_pagesWritten > 0)
        m_extraFilesWritten = m_extraFiles->write(tree, m_outputRoot, outcome == Outcome::Done);
    return finish(outcome, status);
}

std::string Relocation::urlFor(const std::string& relativePath, const std::string& relativeFolder,
                               const std::string& fileName)
{
    return m_mapping.urlFor(relativePath)
        .value_or(
            PageUrl::build(m_inputs.URLneu, relativeFolder, fileName, m_inputs.appendsSubpath()));
}

// The server rules move the other files as well, each to its address by the
// same rule as a page; those a crawler must find on the old host stay.
void Relocation::reportOtherFiles(const std::string& baseDirectory,
                                  const std::vector<std::string>& files)
{
    clsDateiString paths(m_fileSystem);
    std::vector<RelocationWindow::Page> moving;
    for (const std::string& path : files) {
        if (!liesBelow(path, baseDirectory))
            continue;
        const std::string relativePath = PageUrl::toUrlPath(path.substr(baseDirectory.size() + 1));
        if (RedirectPlan::leftAlone(relativePath))
            continue;
        const std::string relativeFolder = paths.GetPfad(path).substr(baseDirectory.size());
        moving.push_back({path,
                          {},
                          relativePath,
                          urlFor(relativePath, relativeFolder, paths.GetDatei(path)),
                          0,
                          0});
    }
    for (RelocationWindow::Page& file : moving) {
        file.Number = static_cast<std::size_t>(&file - moving.data()) + 1;
        file.Total = moving.size();
        if (m_extraFiles)
            m_extraFiles->addOtherFile(file);
        m_window.otherFileFound(file);
    }
}

// The path below the directory (with its leading separator) of an earlier
// page whose path differs from this one's only in letter case.
std::optional<std::string> Relocation::earlierCaseTwin(const std::string& relativePath,
                                                       std::size_t index,
                                                       const std::vector<std::string>& files,
                                                       const std::string& baseDirectory)
{
    const std::optional<std::size_t> earlier = m_caseCollisions.earlierPage(relativePath, index);
    if (!earlier)
        return std::nullopt;
    return files[*earlier].substr(baseDirectory.size());
}

// The folder's failure, or the empty text once it is ready for pages.
std::string Relocation::enterFolder(OutputTree& tree, const std::string& relativeFolder)
{
    try {
        tree.enterFolder(relativeFolder);
        return {};
    } catch (const EngineError& error) {
        if (error.meansNoWriteCanSucceed())
            throw;
        return error.what();
    }
}

bool Relocation::writePage(OutputTree& tree, const std::string& name, std::string pageText)
{
    pageText += "\r\n";
    try {
        tree.writePage(name, pageText);
        return true;
    } catch (const EngineError& error) {
        if (error.meansNoWriteCanSucceed())
            throw;
        m_failures.pageFailed(error.what());
        return false;
    }
}

// "Fertig" is to mean that the pages are on the disk, also after a power cut.
void Relocation::flush(OutputTree* tree)
{
    if (tree)
        tree->flush();
}

// The URL as the page's bytes: characters the template's 8-bit code page
// cannot hold are percent-encoded, which a browser reads the same way.
std::string Relocation::inTemplateEncoding(const std::string& url) const
{
    return TextCodec::fromUtf8(url, m_templateEncoding, TextCodec::Unencodable::PercentEncode);
}

Relocation::Outcome Relocation::finish(Outcome outcome, const std::string& status)
{
    if (!status.empty())
        m_window.SetStatus(status);
    m_window.EnableInputs(true);
    return outcome;
}
