#pragma once
// Comma-separated fields of an NMEA 0183 sentence, taken by position.

#include <string>
#include <string_view>

namespace nav
{

// The text between the n-th and the (n+1)-th comma; field 0 is the text
// before the first comma ("!AIVDM", "$GPRMC"). The last field needs no closing
// comma (it runs to the end, checksum included). A sentence with fewer fields,
// or a negative n, gives an empty text.
//   GetNmeaField("!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A", 5)
//     == "15RTgt0PAso;90TKcjM8h6g208CQ"
std::string GetNmeaField(std::string_view sentence, int n);

} // namespace nav
