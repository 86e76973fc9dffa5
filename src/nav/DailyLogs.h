#pragma once
// The daily logs in the logs folder, named after the day as "dd-mm-yy":
//   <date>.log  the binary track log (nav/TrackLog.h)
//   <date>.txt  the text survey log: "Log Date : <date>", the record
//               template, then one line per record or event
//   <date>.AIS  the AIS log: "AIS Log Date : <date>", then the received AIS
//               sentences
// and the AIS database "KVAIS.ADB" in the application folder (824-byte
// target records, no header).

#include <string>
#include <vector>

// "dd-mm-yy", for example 07-12-26 for 7 December 2026.
std::string LogDateTextFor(int year, int month, int day);
// Today's local date as "dd-mm-yy".
std::string TodayLogDateText();

// The two header lines of a text log: "Log Date : " + baseName and the
// record template.
std::vector<std::string> TextLogHeader(const std::string& baseName, const std::string& recordTemplate);
// The header line of an AIS log: "AIS Log Date : " + baseName.
std::vector<std::string> AisLogHeader(const std::string& baseName);

// Creates a text log with its two header lines (TextLogHeader). False when
// it cannot be written.
bool CreateTextLog(const std::string& path, const std::string& baseName, const std::string& recordTemplate);

// Appends `lines` to a day's log at `path`, all or none (rtl::AppendLines).
// A log that is gone (a logs folder unplugged and plugged in again, or
// emptied) is first made anew with its `header` lines, so that logging
// resumes by itself as soon as the folder can be written again; something
// other than a file under the name is never replaced. False when the lines
// were not written.
bool AppendToDailyLog(
    const std::string& path, const std::vector<std::string>& header, const std::vector<std::string>& lines);

// Reads back an existing text log: its template line becomes
// NmeaLogTemplatePrev and NmeaLogTemplate (a log without one keeps the
// configured template), and the lines after it that are not empty and do
// not begin with '*' are counted into TextLogLineCount and FixNumber. False,
// changing nothing, when the file cannot be read.
bool ReadBackTextLog(const std::string& path);

// Opens the day's logs for `dateText` ("dd-mm-yy"): sets LogDateText,
// LogBaseName and TextLogName; reads the day's track log when there is one
// (LogDateText is emptied when there is none); reads back the day's text log
// or creates it; creates the AIS log when missing; counts the records of the
// AIS database into AisDbRecordCount or creates it empty. Files that cannot
// be created are skipped without a message; an existing file is never
// replaced. False when the day's text or AIS log could neither be created
// nor is writable (a read-only, missing or full logs folder), so that the
// caller can say so once.
bool OpenDailyLogs(const std::string& dateText);
// The same for today.
bool OpenDailyLogs();
