#include "nav/AisDatabase.h"

#include "nav/NavState.h"
#include "rtl/Paths.h"
#include "rtl/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <limits>
#include <memory>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nav
{

namespace
{

constexpr const char* kDatabaseName = "KVAIS.ADB";
// Records read per block while scanning.
constexpr std::size_t kScanBlock = 64;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

int32_t MmsiOf(const uint8_t* image)
{
    // Offset 4, 32-bit little-endian.
    const uint32_t v
        = uint32_t(image[4]) | uint32_t(image[5]) << 8 | uint32_t(image[6]) << 16 | uint32_t(image[7]) << 24;
    return static_cast<int32_t>(v);
}

} // namespace

std::string AisDatabasePath()
{
    return rtl::OpenPath(rtl::JoinPath(AppFolder, kDatabaseName));
}

AisDatabaseLookup SearchAisDatabase(const std::string& path, int32_t mmsi)
{
    AisDatabaseLookup result;
    File file(rtl::OpenRegularFile(path, "rb"));
    if (!file) {
        // A folder, FIFO or unreadable file in the database's place is an
        // error; only a missing database is not.
        struct stat st;
        if (::stat(path.c_str(), &st) == 0)
            throw std::runtime_error("Error reading AIS database file " + path);
        return result;
    }
    result.opened = true;
    std::unique_ptr<uint8_t[]> block(new uint8_t[kScanBlock * kAisRecordSize]);
    for (;;) {
        const std::size_t records = std::fread(block.get(), kAisRecordSize, kScanBlock, file.get());
        for (std::size_t i = 0; i < records; ++i) {
            const uint8_t* image = block.get() + i * kAisRecordSize;
            // A later record of the same vessel overrides an earlier one.
            if (MmsiOf(image) == mmsi) {
                result.found = true;
                result.record = LoadAisRecord(image);
            }
        }
        if (records < kScanBlock)
            break;
    }
    if (std::ferror(file.get()))
        throw std::runtime_error("Error reading AIS database file " + path);
    return result;
}

AisTargetRecord AisDatabaseRecordFor(const AisTargetRecord& target)
{
    AisTargetRecord record;
    record.mmsi = target.mmsi;
    record.imoNumber = target.imoNumber;
    record.name = target.name;
    record.callSign = target.callSign;
    record.shipType = target.shipType;
    record.toBow = target.toBow;
    record.toStern = target.toStern;
    record.toPort = target.toPort;
    record.toStarboard = target.toStarboard;
    record.draught = target.draught;
    return record;
}

void TakeAisDatabaseData(const AisTargetRecord& dbRecord, AisTargetRecord& target)
{
    target.imoNumber = dbRecord.imoNumber;
    target.name = dbRecord.name;
    target.callSign = dbRecord.callSign;
    target.shipType = dbRecord.shipType;
    target.toBow = dbRecord.toBow;
    target.toStern = dbRecord.toStern;
    target.toPort = dbRecord.toPort;
    target.toStarboard = dbRecord.toStarboard;
    target.draught = dbRecord.draught;
}

int32_t AppendAisDatabase(const std::string& path, const AisTargetRecord& record)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer { fd };
    const std::string error = "Error writing AIS database file " + path;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw std::runtime_error(error);
    const off_t whole = st.st_size / static_cast<off_t>(kAisRecordSize);
    const off_t start = whole * static_cast<off_t>(kAisRecordSize);
    uint8_t image[kAisRecordSize];
    StoreAisRecord(record, image);
    std::size_t written = 0;
    while (written < kAisRecordSize) {
        const ssize_t n
            = ::pwrite(fd, image + written, kAisRecordSize - written, start + static_cast<off_t>(written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A full disk or a size limit: no torn record is left behind.
            (void)!::ftruncate(fd, start);
            throw std::runtime_error(error);
        }
        written += static_cast<std::size_t>(n);
    }
    const long long count = static_cast<long long>(whole) + 1;
    return count > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                       : static_cast<int32_t>(count);
}

} // namespace nav
