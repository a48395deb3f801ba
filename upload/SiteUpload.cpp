#include "SiteUpload.h"

#include "EngineError.h"
#include "FileSystem.h"
#include "NativePath.h"
#include "TypedPath.h"
#include "UploadPlan.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

namespace {

constexpr std::size_t FailuresShown = 10;

// A command whose failure the server may report without ending the others.
std::string tolerated(std::string command)
{
    command.insert(command.begin(), '*');
    return command;
}

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

std::string SiteUpload::outputRootOf(const std::string& directory)
{
    std::string base = TypedPath::resolve(directory);
    if (base.size() > 1 && base.back() == PathSeparator)
        base.pop_back();
    return base + "_Moved";
}

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
    const int usual = m_options.Target.Kind == UploadTarget::Protocol::Sftp ? 8 : 4;
    m_workers.resize(
        static_cast<std::size_t>(m_options.Connections > 0 ? m_options.Connections : usual));
    for (Worker& worker : m_workers)
        worker.Session =
            std::make_unique<RemoteSession>(m_options.Target, m_options.Access, cancel);
    if (!listRemoteFolders(result))
        return result;
    planFiles(result);
    if (m_options.Preview)
        return result;
    removeLeftovers();
    sendPlanned(result, progress);
    saveManifest();
    std::sort(result.Failures.begin(), result.Failures.end(),
              [](const Failure& a, const Failure& b) { return a.Path < b.Path; });
    if (result.State == Outcome::Done && !result.Failures.empty())
        result.State = Outcome::FilesFailed;
    return result;
}

// The files still to send, shared by the workers, and what became of them.
class SiteUpload::Queue
{
public:
    Queue(SiteUpload& upload, Result& result, const ProgressListener& progress)
        : m_upload(upload), m_result(result), m_progress(progress),
          m_waiting(upload.m_planned.begin(), upload.m_planned.end())
    {
        m_shown.FilesTotal = m_waiting.size();
        for (const LocalTree::File* file : m_waiting)
            m_shown.BytesTotal += file->Size;
    }

    const LocalTree::File* take()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_stopped || m_waiting.empty())
            return nullptr;
        const LocalTree::File* file = m_waiting.front();
        m_waiting.pop_front();
        return file;
    }

    // A connection the server did not take leaves its file to the others.
    void giveBack(const LocalTree::File* file)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_waiting.push_front(file);
    }

    void done(const LocalTree::File& file, const RemoteSession::Answer& answer,
              const Worker& worker)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (answer.State == RemoteSession::Status::Ok) {
            m_upload.record(file);
            ++m_result.Sent;
        } else if (answer.State == RemoteSession::Status::Refused ||
                   answer.State == RemoteSession::Status::CommandFailed) {
            m_result.Failures.push_back({file.Path, answer.Reason});
        } else {
            if (!m_stopped)
                m_upload.stopWith(m_result, answer, worker);
            m_stopped = true;
            return;
        }
        ++m_shown.FilesDone;
        m_shown.BytesDone += file.Size;
        m_shown.Current = file.Path;
        if (m_progress)
            m_progress(m_shown);
    }

private:
    SiteUpload& m_upload;
    Result& m_result;
    const ProgressListener& m_progress;
    std::deque<const LocalTree::File*> m_waiting;
    Progress m_shown;
    bool m_stopped = false;
    // The upload's own lock: progress and notices reach the listeners one
    // at a time.
    std::mutex& m_lock = m_upload.m_lock;
};

void SiteUpload::sendPlanned(Result& result, const ProgressListener& progress)
{
    Queue queue(*this, result, progress);
    std::vector<std::thread> helpers;
    for (std::size_t i = 1; i < std::min(m_workers.size(), m_planned.size()); ++i)
        helpers.emplace_back([this, &queue, i] { work(m_workers[i], queue); });
    work(m_workers.front(), queue);
    for (std::thread& helper : helpers)
        helper.join();
    if (cancelled() && result.State == Outcome::Done) {
        result.State = Outcome::Cancelled;
        result.Message = "Abgebrochen.";
    }
}

void SiteUpload::work(Worker& worker, Queue& queue)
{
    while (!cancelled()) {
        const LocalTree::File* file = queue.take();
        if (!file)
            return;
        const RemoteSession::Answer answer = send(worker, *file);
        const bool unwelcome = answer.State == RemoteSession::Status::Lost ||
                               answer.State == RemoteSession::Status::Untrusted;
        if (unwelcome && !worker.Connected && &worker != &m_workers.front()) {
            queue.giveBack(file);
            return;
        }
        if (answer.State == RemoteSession::Status::Cancelled)
            return;
        queue.done(*file, answer, worker);
    }
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
            m_manifest =
                UploadManifest::parse(m_fileSystem.ReadAll(manifest), m_options.Target.display());
        const std::string journal = journalPath(m_outputRoot);
        m_journalStarted = m_fileSystem.FileExists(journal) &&
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
        Worker& worker = m_workers.front();
        const RemoteSession::Answer answer =
            withRetries(worker, [&] { return worker.Session->list(remoteFolder(folder), text); });
        if (answer.State == RemoteSession::Status::Ok) {
            m_remote[folder] = RemoteListing::parse(text);
            for (const auto& [name, entry] : m_remote[folder].entries()) {
                if (!entry.Folder && name.rfind(TemporaryPrefix, 0) == 0)
                    m_leftovers[folder].push_back(name);
            }
        } else if (answer.State == RemoteSession::Status::Refused) {
            // A folder not there yet: everything in it goes up.
            m_remote[folder] = RemoteListing();
        } else {
            stopWith(result, answer, worker);
            return false;
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
    Worker& worker = m_workers.front();
    for (const auto& [folder, names] : m_leftovers) {
        std::vector<std::string> commands;
        for (const std::string& name : names)
            commands.push_back(
                tolerated(worker.Session->removeCommand(remoteFolder(folder), name)));
        withRetries(worker, [&] { return worker.Session->run(remoteFolder(folder), commands); });
    }
}

RemoteSession::Answer SiteUpload::send(Worker& worker, const LocalTree::File& file)
{
    std::string bytes;
    try {
        bytes = m_fileSystem.ReadAll(file.FullPath);
    } catch (const EngineError& error) {
        return {RemoteSession::Status::Refused, error.what()};
    }
    if (bytes.size() != file.Size)
        return {RemoteSession::Status::Refused,
                "Die Datei hat sich während des Hochladens geändert."};
    const std::string folder = remoteFolder(file.folder());
    RemoteSession& session = *worker.Session;
    if (m_direct)
        return withRetries(worker, [&] { return session.put(folder, file.name(), bytes, {}); });
    return sendThroughTemporary(worker, folder, file, bytes);
}

RemoteSession::Answer SiteUpload::sendThroughTemporary(Worker& worker, const std::string& folder,
                                                       const LocalTree::File& file,
                                                       const std::string& bytes)
{
    RemoteSession& session = *worker.Session;
    const std::string name = file.name();
    const std::string temporary = TemporaryPrefix + name;
    const auto listing = m_remote.find(file.folder());
    const bool existing = listing != m_remote.end() && listing->second.find(name);
    const bool replace = m_removeBeforeRename && existing;
    RemoteSession::Answer answer = withRetries(worker, [&] {
        return session.put(folder, temporary, bytes,
                           session.renameCommands(folder, temporary, name, replace));
    });
    if (answer.State != RemoteSession::Status::CommandFailed || replace)
        return answer;
    // The file is complete under its temporary name; only the rename failed.
    answer = withRetries(worker, [&] {
        return session.run(folder, session.renameCommands(folder, temporary, name, true));
    });
    if (answer.State == RemoteSession::Status::Ok) {
        tellOnce(m_removeBeforeRename,
                 "Der Server ersetzt beim Umbenennen keine vorhandene Datei; sie wird erst "
                 "gelöscht, wenn die neue vollständig angekommen ist.");
        return answer;
    }
    if (answer.State != RemoteSession::Status::CommandFailed)
        return answer;
    withRetries(worker, [&] {
        return session.run(folder, {tolerated(session.removeCommand(folder, temporary))});
    });
    tellOnce(m_direct, "Der Server kann Dateien nicht umbenennen; die Dateien werden direkt "
                       "unter ihrem Namen hochgeladen.");
    return withRetries(worker, [&] { return session.put(folder, name, bytes, {}); });
}

RemoteSession::Answer SiteUpload::withRetries(Worker& worker,
                                              const std::function<RemoteSession::Answer()>& request)
{
    RemoteSession::Answer answer;
    for (int attempt = 1;; ++attempt) {
        answer = request();
        if (answer.State != RemoteSession::Status::Lost &&
            answer.State != RemoteSession::Status::Untrusted)
            worker.Connected = true;
        // Without any answer yet, a refused connection is no breakdown.
        if (answer.State != RemoteSession::Status::Lost || !worker.Connected ||
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

void SiteUpload::stopWith(Result& result, const RemoteSession::Answer& answer, const Worker& worker)
{
    result.UntrustedFingerprint = worker.Session->untrustedFingerprint();
    result.HostKeyChanged = worker.Session->hostKeyChanged();
    switch (answer.State) {
    case RemoteSession::Status::Cancelled:
        result.State = Outcome::Cancelled;
        result.Message = "Abgebrochen.";
        break;
    case RemoteSession::Status::Lost:
        if (worker.Connected) {
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
}

void SiteUpload::record(const LocalTree::File& file)
{
    const UploadManifest::Entry entry{file.Size, file.Hash};
    m_manifest.set(file.Path, entry);
    // A journal of another target is replaced, one of this target continued.
    std::ofstream journal(toNativePath(journalPath(m_outputRoot)),
                          std::ios::binary | (m_journalStarted ? std::ios::app : std::ios::trunc));
    if (!m_journalStarted)
        journal << m_manifest.journalHeader();
    m_journalStarted = true;
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

void SiteUpload::tellOnce(std::atomic<bool>& told, const std::string& notice)
{
    if (told.exchange(true))
        return;
    std::lock_guard<std::mutex> guard(m_lock);
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
