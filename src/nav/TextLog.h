#pragma once
// The text survey log <LogsFolder><LogBaseName>.txt, CR LF after every line:
//
//   Log Date : 07-12-26                      the log's base name at creation
//   @f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y          the record template (LogTemplate.h)
//   00001,07-12-26,094737,5015.0000,N,...    a record: the template expanded
//   *1                                       event 1: the next record is a
//   00002,07-12-26,094810,5015.1000,N,...    manual fix
//   # -b                                     pen up: the next record is not
//   00003,...                                joined to the one before
//
// The chart views plot it and an outside viewer shows it; the template line
// tells them which field holds which value, so records are only ever
// appended under the template the file was created with.

#include <functional>
#include <string>

// <LogsFolder><LogBaseName>.txt
std::string TextLogPath();

enum class TextLogWrite {
    Off, // TextLogOn is clear: nothing written
    Written,
    Failed, // the log is missing or cannot be written: nothing counted
};

// Appends one record to the text log while TextLogOn is set: "# -b" first
// when `penUp`, then for an event "*" and the next EventNumber, then the
// record, NmeaLogTemplate as `expand` turns it into text. FixNumber counts
// the record before `expand` runs, so '@F' writes this record's number. A
// log that is gone is made anew with its two header lines first
// (AppendToDailyLog); a failed write leaves FixNumber and EventNumber as
// they were.
TextLogWrite AppendTextLogRecord(
    bool event, bool penUp, const std::function<std::string(const std::string&)>& expand);

// Reads back the text log at `path` when it exists (its template then
// governs further records, ReadBackTextLog) or creates it with its two
// header lines under LogBaseName and NmeaLogTemplate. FixNumber starts again
// at 0 only when a new log was really created. False when the log could be
// neither read nor created.
bool OpenTextLog(const std::string& path);

// Starts the current text log afresh under `recordTemplate`: the file is
// replaced by its two header lines (all earlier records are lost), the
// template becomes NmeaLogTemplate and NmeaLogTemplatePrev, and FixNumber and
// EventNumber start again at 0. False, changing nothing, when the file
// cannot be written.
bool RewriteTextLog(const std::string& recordTemplate);

// AIS log playback holds the text log off: no survey records come from a
// replayed day. HoldTextLogOff keeps the user's TextLogOn and clears it;
// ReleaseTextLogHold gives the kept value back (nothing without a hold).
// Switching the text log by hand during playback ends the hold with the
// user's new choice (DropTextLogHold).
void HoldTextLogOff();
void ReleaseTextLogHold();
void DropTextLogHold();
// TextLogOn as the configuration keeps it: the user's own value, never the
// off state of a playback.
bool TextLogSetting();
