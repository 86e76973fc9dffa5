#pragma once
// The AIS database "KVAIS.ADB" in the application folder: the static data of
// every vessel whose static and voyage data message (type 5) was received. A
// file of 824-byte AisTargetRecord images (nav/AisRecord.h), no header, in
// order of appending, keyed by MMSI; records are only ever appended. The
// fields kept are the MMSI, IMO number, call sign, name, ship type, the four
// dimensions and the draught; every other byte of a record is zero.
//
// The file is scanned from the start for each look-up; there is no index. A
// partial record at the end of the file (a write cut short) is not read, and
// the next append overwrites it, so records stay on 824-byte boundaries.

#include "nav/AisRecord.h"

#include <cstdint>
#include <string>

namespace nav
{

// AppFolder + "KVAIS.ADB", the existing file matched without regard to case.
std::string AisDatabasePath();

struct AisDatabaseLookup {
    bool opened = false; // the file could be opened for reading
    bool found = false; // a record of the MMSI is in the file
    AisTargetRecord record; // the last record of the MMSI (when found)
};

// Reads the whole file for records of `mmsi`. Throws std::runtime_error on a
// read error after the file was opened.
AisDatabaseLookup SearchAisDatabase(const std::string& path, int32_t mmsi);

// The record appended for a target: its MMSI, IMO number, call sign, name,
// ship type, dimensions and draught, all else zero.
AisTargetRecord AisDatabaseRecordFor(const AisTargetRecord& target);

// Fills a new target's static data from its database record: every field the
// record holds (IMO number, name, call sign, ship type, the four dimensions
// and the draught).
void TakeAisDatabaseData(const AisTargetRecord& dbRecord, AisTargetRecord& target);

// Appends one record at the end of the last whole record. Returns the number
// of records in the file afterwards, or -1 (nothing written) when the file
// cannot be opened for writing. Throws std::runtime_error when the write
// fails after the open (a full disk) or the path is not a plain file; the
// file is then cut back to its whole records, so no torn record stays.
int32_t AppendAisDatabase(const std::string& path, const AisTargetRecord& record);

} // namespace nav
