#pragma once
// The binary track log "<dd-mm-yy>.log": an image of the 98 track records
// followed by their count, 1792 bytes (14 blocks of 128), little-endian.
//
//   offset  size     content
//   0       98 × 18  records 1..98: latitude, longitude (west positive) and
//                    time in minutes of the day, each a 6-byte real; records
//                    beyond the count are whatever the track held
//   1764    6        records in use, a 6-byte real
//   1770    22       reserved, zero

#include <cstddef>
#include <string>
#include <string_view>

constexpr std::size_t kTrackLogSize = 1792;

// The file image of LogRecords and LogCount.
std::string EncodeTrackLog();
// Reads a file image over LogRecords and sets LogCount. A damaged image
// (shorter than 1792 bytes, or a count outside 0..98) yields the whole
// records it really holds; records beyond them are left as they were.
void DecodeTrackLog(std::string_view bytes);

// Writes the track log to `path` (replacing the file whole). Shows "Error
// writing Log File!" when it cannot be written.
void SaveLogFile(const std::string& path);
// The same without the message; false when the file cannot be written.
bool WriteTrackLogFile(const std::string& path);
// Reads a track log from `path` (name matched without regard to case).
// Shows "Error reading Log File!" and changes nothing when it cannot be read.
void LoadLogFile(const std::string& path);
// The same without the message; false when the file cannot be read.
bool ReadTrackLogFile(const std::string& path);
