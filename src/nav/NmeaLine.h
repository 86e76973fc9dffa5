#pragma once
// Lines of NMEA input as the serial port delivers them: for each line an
// available-data event with the bytes before the carriage return, then a
// data-trigger event for the carriage return itself. The line feed of a CR LF
// pair arrives at the head of the next line's bytes and is left out there.

#include <cstddef>
#include <string>
#include <string_view>

namespace nav
{

// A line longer than this is no NMEA sentence (at most 82 characters): it is
// thrown away.
constexpr std::size_t kMaxNmeaLineLength = 99;

// Appends the bytes of one available-data event to the line being assembled,
// leaving out CR and LF. True when the line grew past kMaxNmeaLineLength and
// was thrown away (the line is then empty).
bool AppendNmeaLineBytes(std::string& line, std::string_view bytes);

} // namespace nav
