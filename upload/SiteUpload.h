#pragma once

#include "LocalTree.h"
#include "RemoteListing.h"
#include "RemoteSession.h"
#include "UploadManifest.h"
#include "UploadTarget.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class FileSystem;

// Uploads the output root's contents into the remote folder: only what the
// manifest and the server's listing show as new, changed or missing; each
// file under a temporary name first, renamed over its target once complete;
// never above the remote folder and never a deletion of the user's files.
class SiteUpload
{
public:
    struct Options
    {
        UploadTarget Target;
        RemoteSession::Access Access;
        // List what would be sent, send nothing.
        bool Preview = false;
        // Tries per request when the connection breaks.
        int Attempts = 3;
        // Connections that upload side by side, 0 for the protocol's usual
        // number (eight for SFTP, four for FTP, whose hosts often allow
        // few); a server that allows fewer gets fewer.
        int Connections = 0;
        std::chrono::milliseconds RetryPause{2000};
    };

    struct Progress
    {
        std::size_t FilesDone = 0;
        std::size_t FilesTotal = 0;
        std::uint64_t BytesDone = 0;
        std::uint64_t BytesTotal = 0;
        std::string Current;
    };

    struct Failure
    {
        std::string Path;
        std::string Reason;
    };

    enum class Outcome
    {
        Done,
        FilesFailed,
        // No connection at all, login, host key or certificate refused, or
        // nothing to upload.
        Refused,
        // The connection broke and stayed broken; what arrived is recorded.
        Stopped,
        Cancelled
    };

    struct Result
    {
        Outcome State = Outcome::Done;
        // With Preview: the paths that would be sent.
        std::vector<std::string> Planned;
        std::size_t Sent = 0;
        std::size_t Unchanged = 0;
        std::vector<Failure> Failures;
        std::string Message;
        // An untrusted host key or certificate, to be accepted by the user.
        std::string UntrustedFingerprint;
        bool HostKeyChanged = false;
    };

    using ProgressListener = std::function<void(const Progress&)>;
    // Told once each of what the server cannot do and how the upload copes.
    using NoticeListener = std::function<void(const std::string&)>;

    // The prefix of the temporary names in the remote folders.
    static constexpr const char* TemporaryPrefix = ".kelvane-upload.";

    SiteUpload(FileSystem& fileSystem, std::string outputRoot, Options options);
    ~SiteUpload();

    Result run(const ProgressListener& progress = {}, const NoticeListener& notice = {},
               const std::atomic<bool>* cancel = nullptr);

    // The output root of an input folder as the user typed it: DIR_Moved.
    static std::string outputRootOf(const std::string& directory);
    static std::string manifestPath(const std::string& outputRoot);
    static std::string journalPath(const std::string& outputRoot);
    // The end in German: counts, then the first failed files with reasons.
    static std::string summary(const Result& result);

private:
    // One connection and whether it ever got an answer.
    struct Worker
    {
        std::unique_ptr<RemoteSession> Session;
        bool Connected = false;
    };
    class Queue;

    bool readLocalTree(Result& result);
    bool listRemoteFolders(Result& result);
    void planFiles(Result& result);
    void sendPlanned(Result& result, const ProgressListener& progress);
    void work(Worker& worker, Queue& queue);
    RemoteSession::Answer send(Worker& worker, const LocalTree::File& file);
    RemoteSession::Answer sendThroughTemporary(Worker& worker, const std::string& folder,
                                               const LocalTree::File& file,
                                               const std::string& bytes);
    RemoteSession::Answer withRetries(Worker& worker,
                                      const std::function<RemoteSession::Answer()>& request);
    void removeLeftovers();
    void record(const LocalTree::File& file);
    void saveManifest();
    void stopWith(Result& result, const RemoteSession::Answer& answer, const Worker& worker);
    std::string remoteFolder(const std::string& localFolder) const;
    void tellOnce(std::atomic<bool>& told, const std::string& notice);
    bool cancelled() const { return m_cancel && m_cancel->load(); }

    FileSystem& m_fileSystem;
    const std::string m_outputRoot;
    const Options m_options;
    const std::atomic<bool>* m_cancel = nullptr;
    NoticeListener m_notice;
    std::vector<Worker> m_workers;
    std::vector<LocalTree::File> m_files;
    std::vector<const LocalTree::File*> m_planned;
    std::map<std::string, RemoteListing> m_remote; // by local folder
    std::map<std::string, std::vector<std::string>> m_leftovers;
    UploadManifest m_manifest;
    std::mutex m_lock; // the manifest, the journal, the notices
    bool m_journalStarted = false;
    std::atomic<bool> m_removeBeforeRename{false};
    std::atomic<bool> m_direct{false};
};
