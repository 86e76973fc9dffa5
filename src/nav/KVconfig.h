#pragma once
// The program configuration file ("zudeve.cfg" in the application folder, or
// a file named on the command line or chosen with "Save Config As"): 47 text
// lines without keys, in a fixed order, lines ended by CR LF. Both routines
// work only on the navigation state (nav/NavState.h).
//
//  1 chart name              17 colour scheme           33 cross-track limit, nm
//  2 view centre latitude    18 colour flags "101"      34 user sentence template
//  3 view centre longitude   19 NMEA source program     35 fixes averaged
//  4 view zoom               20 NMEA source kind        36 logs folder
//  5 chart datum offsets     21 NMEA source mode        37 "AutoON" output switch
//  6 hours added to GPS time 22 multiplexer path        38-42 layout distances A-E
//  7 distance unit factor    23 start mode "Auto"/...   43 "AutoCHT" chart loading
//  8 position readout datum  24 "DR" dead reckoning     44 external viewer
//  9 "Keep" text log         25 fix interval, ms        45 charts folder
// 10 text-log template       26-27 DR speed/course src  46 serial port number
// 11 hull speed, knots       28-29 antenna offsets, deg 47 baud rate
// 12 route file name         30 vessel length, m
// 13-14 chart colours (BGR)  31 vessel beam, m
// 15-16 colour indexes       32 arrival radius, nm
//
// Reals are written as 23-character real texts (rtl::RealText), integers as
// plain decimals, switches as a marker word or an empty line.

#include <optional>
#include <string>

// Reads the configuration file at `path` into the navigation state. A file
// that cannot be opened gives the defaults; a short file reads its missing
// lines as 0 or empty; a number that does not parse reads as 0 and reading
// goes on with the next line; a number outside what its setting can hold (a
// latitude of 1e308, a fix interval shorter than kShortestFixIntervalMs of
// nav/NavState.h, a zoom of 0 or less, port -7, a distance unit factor other
// than 1.0, 1.852 or 1.15081) reads as the setting's default, also when it
// is the 0 of an unreadable line; an unreadable hull speed reads as its
// default (10 knots), not as a speed of 0, which the line may give. Lines
// end in CR LF or LF, or in CR alone in a file without any LF. Never shows a
// message.
void LoadConfig(const std::string& path);
// The same over the file's bytes; nullopt stands for a file that cannot be
// opened.
void LoadConfigText(std::optional<std::string> bytes);

// The bytes SaveConfigFile writes.
std::string ConfigText();

// Writes the navigation state to the configuration file at `path`, replacing
// it whole (a temporary file renamed over it). When it cannot be written,
// shows "Error creating config file !", leaves the old file as it was and
// returns false.
bool SaveConfigFile(const std::string& path);
