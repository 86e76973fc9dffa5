// gridmerk's option file "Gmk.pfg" on arbitrary bytes, read from a scratch
// folder as the window reads it at start: the four texts never hold a line
// end, the offsets read as numbers or as 0, and the options written back
// read back as the same four texts.
#include "ScratchFolder.h"

#include "converter/ConverterOptionFile.h"
#include "rtl/Numbers.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{

bool OneLine(const std::string& text)
{
    return text.find('\n') == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string folder = (fuzz::ScratchFolder() / "gridmerk").string();
    std::filesystem::create_directories(folder);
    fuzz::WriteScratchFile(std::string("gridmerk/") + converter::kOptionFileName, data, size);

    const auto options = converter::ReadOptionFile(folder);
    if (!options)
        std::abort();
    if (!OneLine(options->inputFile) || !OneLine(options->outputFile) || !OneLine(options->latOffset)
        || !OneLine(options->lonOffset))
        std::abort();
    (void)rtl::IntOr(options->latOffset);
    (void)rtl::IntOr(options->lonOffset);

    if (!converter::WriteOptionFile(folder, *options))
        std::abort();
    const auto again = converter::ReadOptionFile(folder);
    if (!again || again->inputFile != options->inputFile || again->outputFile != options->outputFile
        || again->latOffset != options->latOffset || again->lonOffset != options->lonOffset)
        std::abort();
    return 0;
}
