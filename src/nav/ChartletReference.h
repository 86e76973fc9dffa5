#pragma once
// The geographic reference of a raster chartlet (a scanned harbour plan or
// photograph shown in the raster image viewer), kept beside the image as
// "<image base name>.ref": 11 text lines, one value per line, CR LF.
//
//   line  value                                        form
//    1    image height H, pixels                       integer, at least 1
//    2    image width W, pixels                        integer, at least 1
//    3    north-west corner latitude, degrees N+       real
//    4    north-west corner longitude, degrees W+      real
//    5    south-east corner latitude                   real
//    6    south-east corner longitude                  real
//    7    track colour, BGR: 255 red, 0 black,         integer
//         16711680 blue, 65280 green
//    8    track width: 1 thin, 2 thick                 integer
//    9    latitude offset, 1/1000 minute, south -      integer, -10000..10000
//   10    longitude offset, 1/1000 minute, west -      integer, -10000..10000
//   11    audio flag: 1 = "<image base name>.wav"      integer
//         lies beside the image
//
// Integers are written without padding, reals in the runtime's default real
// text (" 5.08000000000000E+0001"). A line may carry blanks around its
// number; lines after the 11th are ignored. Example, a plan of the harbour
// entrance 480 x 640 pixels with no offsets and no clip:
//   480 / 640 / " 5.08050000000000E+0001" / " 1.31000000000000E+0000" /
//   " 5.07850000000000E+0001" / " 1.28500000000000E+0000" / 255 / 2 / 0 / 0 / 0

#include <cstdint>
#include <string>
#include <string_view>

struct ChartletReference {
    int32_t height = 400; // H, pixels: the size positions are mapped onto
    int32_t width = 600; // W
    double nwLat = 0.0; // degrees, north positive
    double nwLon = 0.0; // degrees, west positive
    double seLat = 0.0;
    double seLon = 0.0;
    int32_t trackColour = 255; // BGR
    int32_t trackWidth = 2; // 1 or 2
    int32_t latOffset = 0; // thousandths of a minute, north positive
    int32_t lonOffset = 0; // thousandths of a minute, east positive
    int32_t audioFlag = 0; // 1: a clip lies beside the image

    // Positions can be mapped: the north-west corner lies more than 1e-7
    // degrees north and (longitudes being west positive) west of the
    // south-east corner. A chartlet across the prime meridian has a positive
    // north-west and a negative south-east longitude.
    bool valid() const;
    bool hasAudioClip() const { return audioFlag == 1; }
    // The offsets in degrees (offset / 60000).
    double latOffsetDegrees() const { return latOffset / 60000.0; }
    double lonOffsetDegrees() const { return lonOffset / 60000.0; }

    friend bool operator==(const ChartletReference&, const ChartletReference&) = default;
};

constexpr int32_t kMaxChartletOffset = 10000; // thousandths of a minute

enum class ReferenceStatus {
    Read, // the file was read; `reference` holds it
    Missing, // no file: `reference` holds the defaults, silently
    FormatError, // `message` says what is wrong; `reference` holds the defaults
};

struct ReferenceReadResult {
    ReferenceStatus status = ReferenceStatus::Missing;
    ChartletReference reference;
    std::string message; // FormatError only
};

// The reference file of an image: its folder, its base name and ".ref".
std::string ChartletReferencePath(const std::string& imagePath);

// Reads a reference file. An existing file whose 11 lines are not all there
// or do not all read as numbers, or whose height or width is below 1 pixel,
// or whose corners are not finite, is a format error reported by a message
// starting "Reference file format error". Offsets outside -10000..10000 are
// held to that range; colours keep their low 24 bits; a width other than 1
// or 2 reads as the nearer of the two.
ReferenceReadResult ReadChartletReference(const std::string& path);
// The same on the file's contents; `fileName` names the file in messages.
ReferenceReadResult ParseChartletReference(std::string_view contents, const std::string& fileName);

// The 11 lines of a reference file, each ended by CR LF.
std::string FormatChartletReference(const ChartletReference& reference);
// Writes the file whole (a temporary file renamed over the old one). False
// when it cannot be written; an old file is then left as it was.
bool WriteChartletReference(const std::string& path, const ChartletReference& reference);
