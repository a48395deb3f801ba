#include "UploadPlan.h"

#include <gtest/gtest.h>

namespace {

const std::string Hash(64, 'c');

LocalTree::File file(std::uint64_t size, const std::string& hash = Hash)
{
    return {"sub/seite.htm", "/site_Moved/sub/seite.htm", size, hash};
}

} // namespace

// One row per way a file can differ from what was sent and what is there.
TEST(UploadPlanTest, SendsWhatIsNewChangedOrNotOnTheServer)
{
    UploadManifest manifest("ftp://h/");
    manifest.set("sub/seite.htm", {10, Hash});
    const RemoteListing same = RemoteListing::parse("-rw-r--r-- 1 a a 10 Dec 07 23:06 seite.htm\n");
    const RemoteListing shorter =
        RemoteListing::parse("-rw-r--r-- 1 a a 4 Dec 07 23:06 seite.htm\n");
    const RemoteListing folder =
        RemoteListing::parse("drwxr-xr-x 1 a a 10 Dec 07 23:06 seite.htm\n");
    const RemoteListing empty;
    const UploadManifest nothingSent("ftp://h/");

    struct Row
    {
        LocalTree::File local;
        const UploadManifest& sent;
        const RemoteListing& remote;
        std::optional<std::string> reason;
    };
    const Row rows[] = {
        {file(10), manifest, same, std::nullopt},
        {file(10), nothingSent, same, "neu"},
        {file(10, std::string(64, 'd')), manifest, same, "geändert"},
        {file(11), manifest, same, "geändert"},
        {file(10), manifest, empty, "fehlt auf dem Server"},
        {file(10), manifest, folder, "fehlt auf dem Server"},
        {file(10), manifest, shorter, "andere Größe auf dem Server"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(UploadPlan::reasonToSend(row.local, row.sent, row.remote), row.reason)
            << (row.reason ? *row.reason : "unverändert");
}
