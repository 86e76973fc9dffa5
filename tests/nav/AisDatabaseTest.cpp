// The AIS database file "KVAIS.ADB": fixed 824-byte records, appended only.
#include "nav/AisDatabase.h"
#include "nav/NavState.h"

#include "support/ShortStringPrint.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>

#include <sys/resource.h>

using namespace nav;

namespace
{

std::string Image(int32_t mmsi, const std::string& name)
{
    AisTargetRecord r;
    r.mmsi = mmsi;
    r.name = name;
    std::string bytes(kAisRecordSize, '\0');
    StoreAisRecord(r, reinterpret_cast<uint8_t*>(bytes.data()));
    return bytes;
}

TEST(AisDatabase, AppendGoesAfterTheLastWholeRecordAndSearchSkipsAPartialOne)
{
    kvtest::TempDir dir;
    // Two records and the first 100 bytes of a third, as a write cut short leaves them.
    const std::string path
        = dir.write("KVAIS.ADB", Image(1, "ONE") + Image(2, "TWO") + Image(3, "THREE").substr(0, 100));

    EXPECT_FALSE(SearchAisDatabase(path, 3).found);
    const AisDatabaseLookup two = SearchAisDatabase(path, 2);
    EXPECT_TRUE(two.opened);
    ASSERT_TRUE(two.found);
    EXPECT_EQ(two.record.name, "TWO");

    EXPECT_EQ(AppendAisDatabase(path, AisDatabaseRecordFor(SearchAisDatabase(path, 1).record)), 3);
    EXPECT_EQ(dir.read("KVAIS.ADB"), Image(1, "ONE") + Image(2, "TWO") + Image(1, "ONE"));
}

// Holds the size limit of files this process writes, as a full disk would,
// and puts the old limit back at the end of the scope.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }

private:
    rlimit old_ {};
    void (*oldSignal_)(int) = nullptr;
};

TEST(AisDatabase, AppendThatDoesNotFitLeavesNoTornRecord)
{
    kvtest::TempDir dir;
    const std::string before = Image(1, "ONE") + Image(2, "TWO");
    const std::string path = dir.write("KVAIS.ADB", before);
    {
        // Room for 100 bytes of the third record only.
        FileSizeLimit full(2 * kAisRecordSize + 100);
        EXPECT_THROW(AppendAisDatabase(path, AisDatabaseRecordFor(SearchAisDatabase(path, 1).record)),
            std::runtime_error);
    }
    EXPECT_EQ(dir.read("KVAIS.ADB"), before);
    EXPECT_EQ(AppendAisDatabase(path, AisDatabaseRecordFor(SearchAisDatabase(path, 1).record)), 3);
}

TEST(AisDatabase, FileThatCannotBeOpenedIsReportedNotCreated)
{
    kvtest::TempDir dir;
    const std::string path = dir.file("KVAIS.ADB");
    EXPECT_FALSE(SearchAisDatabase(path, 1).opened);
    EXPECT_EQ(AppendAisDatabase(path, AisTargetRecord {}), -1);
    EXPECT_FALSE(dir.exists("KVAIS.ADB"));
}

TEST(AisDatabase, PathIsTheApplicationFolderFileInWhateverCaseItHas)
{
    kvtest::TempDir dir;
    ResetNavState();
    AppFolder = dir.path() + "/";
    EXPECT_EQ(AisDatabasePath(), dir.file("KVAIS.ADB"));
    dir.write("Kvais.Adb", "");
    EXPECT_EQ(AisDatabasePath(), dir.file("Kvais.Adb"));
}

} // namespace
