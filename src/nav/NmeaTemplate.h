#pragma once
// The output template language of the sentences sent to an autopilot: plain
// text in which '@' and a code character insert a navigation value from the
// navigation state (nav/NavState.h).
//
//   $ECXTE,A,A,@x,A@e@l  ->  $ECXTE,A,A,0.12,L,N,A*33<CR><LF>
//
// Codes are read without regard to case. '@E' inserts the checksum of the
// sentence so far (from the character after the last '$' of the template),
// '@L' ends the line with CR LF. A code that is not in the language is
// dropped with its '@'. After the whole template every blank of the output
// becomes '0' (number fields are right-aligned with blanks) and then every
// '|' becomes a blank: a template writes '|' for a blank that must survive.
//
//   code  suffix  inserts
//   #             ActiveWaypoint
//   $             FixStatus
//   0..9          NmeaFields[0..9]
//   A             |MagVariation| (width 3), ",W" when west, else ",E"
//   B             BearingText
//   C     ^       CogText; with '^' CogMagText
//   D     : or /  today "ddmmyy"; with ':' "dd,mm,yyyy"; with '/' "dd/mm/yy"
//   E             checksum "*hh"
//   F             FixNumber, five digits
//   G             TtgText
//   H             CtsText
//   L             CR LF
//   M             the measure readout while measuring, else nothing
//   O, U          CursorPositionText
//   P     :n      present position, degrees and minutes (see DegreeMinuteText)
//   Q             FixQuality "-" SatCount
//   R             RangeText up to its first blank
//   S             SogText
//   T     :       FixTimeText; with ':' the clock time "hh:nn:ss"
//   V             VmgText up to its first blank
//   W             destination name, six characters (see below)
//   X             XteText "N"
//   Y             present position, decimal degrees "lat,lon" (east positive)
//   <             origin name, as W
//   >     :n      towed body (layout point 5), degrees and minutes
//   ~     :n      active route waypoint, degrees and minutes
//   ^             magnetic bearing to the waypoint, three digits
//   +, [, ]       "T:", "L:", "R:" and layout texts 1:2, 3:4, 5:6
//
// Course and bearing fields (B, C, H, ^) never read 360 or more: a listener
// expects 000 to 359.
//
// The texts of W and <, of 0..9, +, [, ], O, U and Q, and $ after its first
// character, come from outside the program: each goes in as SentenceSafeText
// makes it, with '_' for every character that could change the sentence's
// structure.

#include <optional>
#include <string>
#include <string_view>

// "*" and the two upper-case hexadecimal digits of the XOR of the character
// codes of `text` from the 1-based position `start` to the end ("*00" when
// `start` lies beyond the end).
std::string NmeaChecksum(std::string_view text, int start);

// True for a character that could change a sentence's structure: the NMEA
// reserved characters ($ ! * , \ ^ ~) and every byte outside 0x20-0x7E
// (CR and LF among them).
bool IsSentenceReserved(char c);

// `text` as it may stand inside a sentence: the NMEA reserved characters
// ($ ! * , \ ^ ~), CR, LF and every byte outside 0x20-0x7E become '_', so no
// name or received text can add a field, end the sentence early, start a
// new one or fake its checksum.
//   "A*,T,9"  ->  "A__T_9"
std::string SentenceSafeText(std::string_view text);

// At most the first 33 characters of `name`, then `count` characters from
// the 1-based position `first`, without trailing blanks and '@' characters.
std::string TrimNameField(std::string_view name, int first, int count);

// A position as NMEA degrees and minutes, latitude (degrees north positive)
// and longitude (degrees WEST positive) without their signs:
//   ddmm.mm,N,dddmm.mm,W
// with `decimals` decimals of minutes in a field decimals + 3 wide, or 2
// decimals in a field 5 wide when `decimals` is negative. Blanks are written
// as '0' (5107.1220,N,00102.0000,W). Minutes that round up to 60 carry
// into the degrees (5100.000, never 5060.000). The hemisphere letters are
// those of the signs: N for a latitude of 0 or more, W for a longitude of 0
// or more.
std::string DegreeMinuteText(double lat, double lon, int decimals);

// Expands an output template (see above). '@W' and '@<' also replace the kept
// DestWaypointName and OriginWaypointName by the six-character form they
// insert; '@M' updates the measure readout; '@>' copies layout point 5 into
// TowLat and TowLon.
std::string ExpandNmeaTemplate(std::string_view pattern);

// The same for a sentence that is to be sent: nullopt when a figure it
// inserts is not known (a number or figure code whose value is not a finite
// number, the panel's "********" for a figure it has not got, or '@H' without
// a heading to steer for this fix), so that a listener is never sent a
// made-up number or a '*' inside a field.
std::optional<std::string> ExpandNmeaSentence(std::string_view pattern);
