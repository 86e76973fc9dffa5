#pragma once
// The converter's option file "Gmk.pfg": four text lines (CR LF), the input
// file name, the output file name, then the latitude and longitude datum
// offsets as the window shows them (thousandths of a minute).

#include <optional>
#include <string>

namespace converter
{

inline constexpr const char* kOptionFileName = "Gmk.pfg";

struct TConverterOptions {
    std::string inputFile;
    std::string outputFile;
    std::string latOffset;
    std::string lonOffset;
};

// The options of "Gmk.pfg" in `folder`; nullopt when it cannot be read.
// Missing lines read as empty texts.
std::optional<TConverterOptions> ReadOptionFile(const std::string& folder);

// Replaces "Gmk.pfg" in `folder` whole. False when it cannot be written.
bool WriteOptionFile(const std::string& folder, const TConverterOptions& options);

} // namespace converter
