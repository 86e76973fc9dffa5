#include "converter/ConverterOptionFile.h"

#include "rtl/Paths.h"
#include "rtl/TextFile.h"

namespace converter
{

std::optional<TConverterOptions> ReadOptionFile(const std::string& folder)
{
    rtl::TextReader file;
    if (!file.open(rtl::JoinPath(folder, kOptionFileName)))
        return std::nullopt;
    TConverterOptions options;
    options.inputFile = file.readLine();
    options.outputFile = file.readLine();
    options.latOffset = file.readLine();
    options.lonOffset = file.readLine();
    return options;
}

bool WriteOptionFile(const std::string& folder, const TConverterOptions& options)
{
    rtl::AtomicTextWriter file;
    if (!file.create(rtl::JoinPath(folder, kOptionFileName)))
        return false;
    file.writeLine(options.inputFile);
    file.writeLine(options.outputFile);
    file.writeLine(options.latOffset);
    file.writeLine(options.lonOffset);
    return file.commit();
}

} // namespace converter
