#include "nav/TrackLog.h"

#include "nav/NavState.h"
#include "platform/Ui.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"
#include "rtl/Real6.h"
#include "rtl/TextFile.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace
{

constexpr std::size_t kCountOffset = kMaxLogRecords * LogRecord::storedSize; // 1764
constexpr std::size_t kRealSize = 6;

} // namespace

std::string EncodeTrackLog()
{
    std::array<uint8_t, kTrackLogSize> image {};
    for (int i = 1; i <= kMaxLogRecords; ++i)
        LogRecords[i].store(image.data() + (i - 1) * LogRecord::storedSize);
    rtl::Real6(std::clamp<int>(LogCount, 0, kMaxLogRecords)).toBytes(image.data() + kCountOffset);
    return std::string(reinterpret_cast<const char*>(image.data()), image.size());
}

void DecodeTrackLog(std::string_view bytes)
{
    bytes = bytes.substr(0, kTrackLogSize);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const int whole
        = static_cast<int>(std::min<std::size_t>(bytes.size() / LogRecord::storedSize, kMaxLogRecords));
    for (int i = 1; i <= whole; ++i)
        LogRecords[i] = LogRecord::load(data + (i - 1) * LogRecord::storedSize);

    int count = whole;
    if (bytes.size() >= kCountOffset + kRealSize) {
        const int64_t stored = rtl::Round(rtl::Real6::fromBytes(data + kCountOffset).value());
        if (stored >= 0 && stored <= whole)
            count = static_cast<int>(stored);
    }
    LogCount = static_cast<int16_t>(count);
}

bool WriteTrackLogFile(const std::string& path)
{
    return rtl::WriteFileAtomic(rtl::CreatePath(path), EncodeTrackLog());
}

void SaveLogFile(const std::string& path)
{
    if (!WriteTrackLogFile(path))
        platform::MessageError("Error writing Log File!");
}

bool ReadTrackLogFile(const std::string& path)
{
    const auto bytes = rtl::ReadFileBytes(rtl::OpenPath(path));
    if (!bytes)
        return false;
    DecodeTrackLog(*bytes);
    return true;
}

void LoadLogFile(const std::string& path)
{
    if (!ReadTrackLogFile(path))
        platform::MessageError("Error reading Log File!");
}
