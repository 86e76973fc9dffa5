// The chart list and the home views it reads, on a charts folder made from
// arbitrary bytes: the input is a series of name and contents pairs, each
// ended by a NUL byte; each pair becomes a file of the folder (names are
// reduced to letters, digits and '.', "-" and "_"). The list stays within its
// capacity and in name order, and the nearest-chart search always answers
// with a listed chart or the current one.
#include "ScratchFolder.h"

#include "nav/ChartList.h"
#include "nav/FileNameParts.h"
#include "nav/NavState.h"
#include "platform/Ui.h"
#include "support/ScriptedUi.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace
{

constexpr int kMaxFiles = 110; // a few beyond the list's capacity

std::string FileName(std::string_view raw)
{
    std::string name;
    for (const char c : raw.substr(0, 60))
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_')
            name += c;
    return name.empty() || name == "." || name == ".." ? std::string("x.cfg") : name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::ScriptedUi ui; // the capacity note needs no answer
    ResetNavState();
    const std::filesystem::path folder = fuzz::ScratchFolder() / "charts";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    ChartsFolder = folder.string() + "/";

    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::string firstName;
    for (int files = 0; !rest.empty() && files < kMaxFiles; ++files) {
        const std::size_t nameEnd = rest.find('\0');
        const std::string name = FileName(rest.substr(0, nameEnd));
        rest = nameEnd == std::string_view::npos ? std::string_view() : rest.substr(nameEnd + 1);
        const std::size_t end = rest.find('\0');
        const std::string_view contents = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        std::ofstream(folder / name, std::ios::binary).write(contents.data(), contents.size());
        if (firstName.empty())
            firstName = name;
    }

    rtl::ShortString<40> result;
    ListChartsOrFindNearest(ChartSearchMode::List, result);
    if (ChartListCount < 0 || ChartListCount > kMaxChartList)
        std::abort();
    for (int i = 2; i <= ChartListCount; ++i)
        if (!(ChartList[i - 1].str() < ChartList[i].str()))
            std::abort();

    CurrentChartName = ExtractFileBaseName(firstName);
    CurLat = size > 0 ? data[0] - 128.0 : 0.0;
    CurLon = size > 1 ? data[1] - 128.0 : 0.0;
    ListChartsOrFindNearest(ChartSearchMode::Nearest, result);
    bool listed = result.str() == CurrentChartName.substr(0, rtl::ShortString<40>::capacity);
    for (int i = 1; i <= ChartListCount && !listed; ++i)
        listed = ExtractFileBaseName(ChartList[i].str()) == result.str();
    if (!listed)
        std::abort();
    return 0;
}
