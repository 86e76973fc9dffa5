#pragma once
// Lines of NMEA input as the serial port delivers them: for each line an
// available-data event with the bytes before the carriage return, then a
// data-trigger event for the carriage return itself. The line feed of a CR LF
// pair arrives at the head of the next line's bytes and is left out there.
//
// Receivers are not all that tidy. Some end their lines with a line feed
// alone, which ends a line here as a carriage return does. On a loose
// connector a sentence may come glued onto line noise with no line end
// between them: '$' and '!' start a sentence and never stand inside one, so
// each starts the line afresh and the noise before it is dropped.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nav
{

// A line longer than this is no NMEA sentence (at most 82 characters): it is
// thrown away.
constexpr std::size_t kMaxNmeaLineLength = 99;

// What one available-data event brought besides the line still being
// assembled.
struct NmeaLineBytes {
    std::vector<std::string> lines; // lines ended by a line feed, in order
    bool overflowed = false; // a line grew past kMaxNmeaLineLength and was thrown away
};

// Appends the bytes of one available-data event to the line being assembled.
// A carriage return is left out (its data trigger ends the line); a line
// feed ends a line that holds anything, which is handed back, and is left
// out otherwise; '$' and '!' drop what the line held before them. A line
// that grows past kMaxNmeaLineLength is thrown away and the bytes after it
// start a new one.
//   "$GPGGA,1*4A\n$GPRMC"   -> line "$GPGGA,1*4A" handed back, "$GPRMC" kept
//   "#~%$GPGGA,1*4A"        -> "$GPGGA,1*4A" kept
NmeaLineBytes AppendNmeaLineBytes(std::string& line, std::string_view bytes);

} // namespace nav
