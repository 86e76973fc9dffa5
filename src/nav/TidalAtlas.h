#pragma once
// The tidal atlas, made by a separate atlas editor: three files of one name.
//   <name>.pos  one 12-byte record per tidal diamond: latitude and longitude
//               (west positive), each a 6-byte real
//   <name>.FLO  one 52-byte record per diamond, in the same order: 13 streams
//               for the hours -6 to +6 from high water at the standard port,
//               each a 16-bit set in degrees true and a 16-bit rate in
//               tenths of a knot, little-endian
//   <name>.STP  text; its first line names the standard port
// At most 100 diamonds are used; further records are not read.

#include <string>
#include <string_view>

// Decodes the station and flow records into TideStations and TideStreams;
// TideStationCount becomes the number of diamonds that have both (at most
// 100). A trailing partial record is ignored.
void DecodeTidalAtlas(std::string_view stationBytes, std::string_view flowBytes);

// Reads the atlas whose station file is `stationPath`; the flow and port
// files are found by replacing its last three characters with "FLO" and
// "STP". A missing station file shows "Non existant File", a missing flow
// file "No FlowRate File", and either keeps the atlas loaded before. A
// missing port file leaves StandardPort empty.
void LoadTidalData(const std::string& stationPath);
