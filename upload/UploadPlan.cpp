#include "UploadPlan.h"

std::optional<std::string> UploadPlan::reasonToSend(const LocalTree::File& file,
                                                    const UploadManifest& manifest,
                                                    const RemoteListing& remoteFolder)
{
    const UploadManifest::Entry* sent = manifest.find(file.Path);
    if (!sent)
        return "neu";
    if (sent->Size != file.Size || sent->Hash != file.Hash)
        return "geändert";
    const RemoteListing::Entry* remote = remoteFolder.find(file.name());
    if (!remote || remote->Folder)
        return "fehlt auf dem Server";
    if (remote->Size != file.Size)
        return "andere Größe auf dem Server";
    return std::nullopt;
}
