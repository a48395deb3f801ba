#include "SiteUpload.h"

#include "EngineError.h"
#include "FileSystem.h"
#include "NativePath.h"
#include "UploadPlan.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

namespace {

constexpr std::size_t FailuresShown = 10;

bool hasLineBreak(const std::string& path)
{
    return path.find_first_of("\r\n") != std::string::npos;
}

} // namespace

SiteUpload::SiteUpload(FileSystem& fileSystem, std::string outputRoot, Options options)
    : m_fileSystem(fileSystem), m_outputRoot(std::move(outputRoot)), m_options(std::move(options)),
      m_manifest(m_options.Target.display())
{}

SiteUpload::~SiteUpload() = default;

std::string SiteUpload::manifestPath(const std::string& outputRoot)
{
    return outputRoot + ".upload.csv";
}

std::string SiteUpload::journalPath(const std::string& outputRoot)
{
    return outputRoot + ".upload.journal";
}

SiteUpload::Result SiteUpload::run(const ProgressListener& progress, const NoticeListener& notice,
                                   const std::atomic<bool>* cancel)
{
    m_cancel = cancel;
    m_notice = notice;
    Result result;
    if (!readLocalTree(result))
        return result;
    m_session = std::make_unique<RemoteSession>(m_options.Target, m_options.Access, cancel);
    if (!listRemoteFolders(result))
        return result;
    planFiles(result);
    if (m_options.Preview)
        return result;
    removeLeftovers();

    Progress shown;
    shown.FilesTotal = m_planned.size();
    for (const LocalTree::File* file : m_planned)
        shown.BytesTotal += file->Size;
    bool going = true;
    for (const LocalTree::File* file : m_planned) {
        if (cancelled()) {
            result.State = Outcome::Cancelled;
            result.Message = "Abgebrochen.";
            break;
        }
        shown.Current = file->Path;
        const RemoteSession::Answer answer = send(*file);
        if (answer.State == RemoteSession::Status::Ok) {
            record(*file);
            ++result.Sent;
        } else if (answer.State == RemoteSession::Status::Refused ||
                   answer.State == RemoteSession::Status::CommandFailed) {
            result.Failures.push_back({file->Path, answer.Reason});
        } else {
            going = stopWith(result, answer);
            break;
        }
        ++shown.FilesDone;
        shown.BytesDone += file->Size;
        if (progress)
            progress(shown);
    }
    saveManifest();
    if (going && result.State == Outcome::Done && !result.Failures.empty())
        result.State = Outcome::FilesFailed;
    return result;
}

bool SiteUpload::readLocalTree(Result& result)
{
    try {
        if (!m_fileSystem.FolderExists(m_outputRoot) || m_fileSystem.IsLink(m_outputRoot)) {
            result.State = Outcome::Refused;
            result.Message = "Den Ordner \"" + m_outputRoot +
                             "\" gibt es nicht; erst die Ersatzseiten schreiben, dann hochladen.";
            return false;
        }
        m_files = LocalTree::scan(m_fileSystem, m_outputRoot);
        const std::string manifest = manifestPath(m_outputRoot);
        if (m_fileSystem.FileExists(manifest))
            m_manifest = UploadManifest::parse(m_fileSystem.ReadAll(manifest),
                                               m_options.Target.display());
        const std::string journal = journalPath(m_outputRoot);
        if (m_fileSystem.FileExists(journal))
            m_manifest.applyJournal(m_fileSystem.ReadAll(journal));
    } catch (const EngineError& error) {
        result.State = Outcome::Refused;
        result.Message = error.what();
        return false;
    }
    if (m_files.empty()) {
        result.State = Outcome::Refused;
        result.Message = "Im Ordner \"" + m_outputRoot + "\" liegt nichts zum Hochladen.";
        return false;
    }
    return true;
}

std::string SiteUpload::remoteFolder(const std::string& localFolder) const
{
    const std::string& base = m_options.Target.Folder;
    if (localFolder.empty())
        return base;
    return base.back() == '/' ? base + localFolder : base + "/" + localFolder;
}

// One listing per folder that holds files; the first is the connection test.
bool SiteUpload::listRemoteFolders(Result& result)
{
    std::set<std::string> folders;
    for (const LocalTree::File& file : m_files)
        folders.insert(file.folder());
    for (const std::string& folder : folders) {
        std::string text;
        const RemoteSession::Answer answer =
            withRetries([&] { return m_session->list(remoteFolder(folder), text); });
        if (answer.State == RemoteSession::Status::Ok) {
            m_connected = true;
            m_remote[folder] = RemoteListing::parse(text);
            for (const auto& [name, entry] : m_remote[folder].entries()) {
                if (!entry.Folder && name.rfind(TemporaryPrefix, 0) == 0)
                    m_leftovers[folder].push_back(name);
            }
        } else if (answer.State == RemoteSession::Status::Refused) {
            // A folder not there yet: everything in it goes up.
            m_connected = true;
            m_remote[folder] = RemoteListing();
        } else {
            return stopWith(result, answer);
        }
    }
    return true;
}

void SiteUpload::planFiles(Result& result)
{
    for (const LocalTree::File& file : m_files) {
        if (hasLineBreak(file.Path)) {
            result.Failures.push_back(
                {file.Path, "Der Name enthält einen Zeilenumbruch, den der Server nicht annimmt."});
            continue;
        }
        if (UploadPlan::reasonToSend(file, m_manifest, m_remote[file.folder()])) {
            m_planned.push_back(&file);
            result.Planned.push_back(file.Path);
        } else {
            ++result.Unchanged;
        }
    }
}

// Temporary files of an upload that was killed: ours, so they may go.
void SiteUpload::removeLeftovers()
{
    for (const auto& [folder, names] : m_leftovers) {
        std::vector<std::string> commands;
        for (const std::string& name : names)
            commands.push_back("*" + m_session->removeCommand(remoteFolder(folder), name));
        withRetries([&] { return m_session->run(remoteFolder(folder), commands); });
    }
}

RemoteSession::Answer SiteUpload::send(const LocalTree::File& file)
{
    std::string bytes;
    try {
        bytes = m_fileSystem.ReadAll(file.FullPath);
    } catch (const EngineError& error) {
        return {RemoteSession::Status::Refused, error.what()};
    }
    if (bytes.size() != file.Size)
        return {RemoteSession::Status::Refused, "Die Datei hat sich während des Hochladens geändert."};
    const std::string folder = remoteFolder(file.folder());
    if (m_direct)
        return withRetries([&] { return m_session->put(folder, file.name(), bytes, {}); });
    return sendThroughTemporary(folder, file, bytes);
}

RemoteSession::Answer SiteUpload::sendThroughTemporary(const std::string& folder,
                                                       const LocalTree::File& file,
                                                       const std::string& bytes)
{
    const std::string name = file.name();
    const std::string temporary = TemporaryPrefix + name;
    const RemoteListing::Entry* existing = m_remote[file.folder()].find(name);
    const bool replace = m_removeBeforeRename && existing;
    RemoteSession::Answer answer = withRetries([&] {
        return m_session->put(folder, temporary, bytes,
                              m_session->renameCommands(folder, temporary, name, replace));
    });
    if (answer.State != RemoteSession::Status::CommandFailed || replace)
        return answer;
    // The file is complete under its temporary name; only the rename failed.
    answer = withRetries([&] {
        return m_session->run(folder, m_session->renameCommands(folder, temporary, name, true));
    });
    if (answer.State == RemoteSession::Status::Ok) {
        if (!m_removeBeforeRename)
            tell("Der Server ersetzt beim Umbenennen keine vorhandene Datei; sie wird erst "
                 "gelöscht, wenn die neue vollständig angekommen ist.");
        m_removeBeforeRename = true;
        return answer;
    }
    if (answer.State != RemoteSession::Status::CommandFailed)
        return answer;
    withRetries([&] {
        return m_session->run(folder, {"*" + m_session->removeCommand(folder, temporary)});
    });
    tell("Der Server kann Dateien nicht umbenennen; die Dateien werden direkt unter ihrem Namen "
         "hochgeladen.");
    m_direct = true;
    return withRetries([&] { return m_session->put(folder, name, bytes, {}); });
}

RemoteSession::Answer
SiteUpload::withRetries(const std::function<RemoteSession::Answer()>& request)
{
    RemoteSession::Answer answer;
    for (int attempt = 1;; ++attempt) {
        answer = request();
        // Without any answer yet, a refused connection is no breakdown.
        if (answer.State != RemoteSession::Status::Lost || !m_connected ||
            attempt >= m_options.Attempts)
            return answer;
        const auto until = std::chrono::steady_clock::now() + m_options.RetryPause;
        while (std::chrono::steady_clock::now() < until) {
            if (cancelled())
                return {RemoteSession::Status::Cancelled, "abgebrochen"};
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
}

bool SiteUpload::stopWith(Result& result, const RemoteSession::Answer& answer)
{
    result.UntrustedFingerprint = m_session->untrustedFingerprint();
    result.HostKeyChanged = m_session->hostKeyChanged();
    switch (answer.State) {
    case RemoteSession::Status::Cancelled:
        result.State = Outcome::Cancelled;
        result.Message = "Abgebrochen.";
        break;
    case RemoteSession::Status::Lost:
        if (m_connected) {
            result.State = Outcome::Stopped;
            result.Message = "Die Verbindung ist abgebrochen (" + answer.Reason + "), auch nach " +
                             std::to_string(m_options.Attempts) +
                             " Versuchen. Was angekommen ist, ist vermerkt; ein neuer Start "
                             "sendet den Rest.";
            break;
        }
        [[fallthrough]];
    default:
        result.State = Outcome::Refused;
        result.Message = answer.Reason;
    }
    return false;
}

void SiteUpload::record(const LocalTree::File& file)
{
    const UploadManifest::Entry entry{file.Size, file.Hash};
    m_manifest.set(file.Path, entry);
    std::ofstream journal(toNativePath(journalPath(m_outputRoot)),
                          std::ios::binary | std::ios::app);
    journal << UploadManifest::journalRecord(file.Path, entry);
}

// The whole manifest replaces the old one at once; only then the journal,
// whose records it now holds, may go.
void SiteUpload::saveManifest()
{
    try {
        m_fileSystem.WriteFile(manifestPath(m_outputRoot), m_manifest.text());
        std::error_code ignored;
        std::filesystem::remove(toNativePath(journalPath(m_outputRoot)), ignored);
    } catch (const EngineError&) {
        // The journal keeps every arrival, so the next upload still knows them.
    }
}

void SiteUpload::tell(const std::string& notice)
{
    if (m_notice)
        m_notice(notice);
}

std::string SiteUpload::summary(const Result& result)
{
    std::string text = "Hochgeladen: " + std::to_string(result.Sent) +
                       ", unverändert: " + std::to_string(result.Unchanged) +
                       ", fehlgeschlagen: " + std::to_string(result.Failures.size());
    for (std::size_t i = 0; i < std::min(result.Failures.size(), FailuresShown); ++i)
        text += "\n  " + result.Failures[i].Path + ": " + result.Failures[i].Reason;
    if (result.Failures.size() > FailuresShown)
        text += "\n  … und " + std::to_string(result.Failures.size() - FailuresShown) + " weitere";
    return text;
}
