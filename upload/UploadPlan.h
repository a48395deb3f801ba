#pragma once

#include "LocalTree.h"
#include "RemoteListing.h"
#include "UploadManifest.h"

#include <optional>
#include <string>

// Whether a file goes up: when the manifest does not know it as it is now,
// or the server lacks it or holds another size. The server is never asked for
// content, so a same-size change made there behind the manifest's back
// stays.
class UploadPlan
{
public:
    // Why the file must be sent (German), or nothing when it is up to date.
    static std::optional<std::string> reasonToSend(const LocalTree::File& file,
                                                   const UploadManifest& manifest,
                                                   const RemoteListing& remoteFolder);
};
