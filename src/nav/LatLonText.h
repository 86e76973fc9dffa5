#pragma once
// Latitude/longitude as degrees and decimal minutes, the one text form every
// window shows and reads positions in:
//   latitude   12 characters  "50\xB030.00000N"   2 degree digits, the degree
//                                              sign (Latin-1 byte 0xB0),
//                                              minutes MM.MMMMM, N or S
//   longitude  13 characters  "001\xB015.00000W"  3 degree digits, W or E
// Blanks are written as '0'. Latitudes are held to -80..84, the range the
// chart views can show; longitudes are not limited.
// Positions are degrees, latitude north positive, longitude WEST positive.

#include <cstdint>
#include <string>

// Whole degrees and the minutes text of |value| (finite): the minutes in
// `width` characters with `decimals` places, leading blanks written as '0'. Minutes
// that round up to 60 carry into the degrees (59.999996' at 5 places gives
// one more degree and "00.00000"), so no text ever shows 60 minutes.
struct DegreesMinutesText {
    int64_t degrees;
    std::string minutes;
};
DegreesMinutesText SplitDegreesMinutes(double value, int width, int decimals);

// The latitude and longitude texts of a position. A latitude above 84 is
// shown as 84, one below -80 (or not a number) as -80; a longitude that is
// not a finite number is shown as 0.
void FormatLatLonDM(double latitude, double longitude, std::string& latitudeText, std::string& longitudeText);

// The position of two texts in the form above, read at fixed places:
// latitude degrees in characters 1-2, minutes in 4-11, south when character
// 12 is "S" or "s" (anything else is north); longitude degrees in 1-3,
// minutes in 5-12, east when character 13 is "E" or "e". A field that does
// not read as a number counts as 0; the result is false when any did not.
// The latitude is held to -80..84.
// The number in characters first .. first + count - 1 (1-based) of a
// fixed-column text, as far as the text reaches; 0 and ok := false when they
// do not read as a finite number (ok is left alone otherwise).
double NumberInColumns(const std::string& text, std::size_t first, std::size_t count, bool& ok);

bool ParseLatLonDM(
    const std::string& latitudeText, const std::string& longitudeText, double& latitude, double& longitude);

// Completes a latitude or longitude text as typed, the way the position
// fields settle when they are left: an empty text becomes zero degrees and
// minutes ("00\xB000.00000N", "000\xB000.00000W"); a text shorter than 13
// characters keeps its last character (the hemisphere letter) and has '0'
// filled in before it up to the full length ("50\xB007.5N" becomes
// "50\xB007.50000N"; the typing aids have put the degree sign and the point
// in place). Longer texts are left as they are.
std::string CompleteLatitudeText(const std::string& text);
std::string CompleteLongitudeText(const std::string& text);

// What reading a completed latitude or longitude text whole finds. Whole:
// every character is in its place (the degree digits, the degree sign, two
// digits of whole minutes, the point, five decimals, then N or S, W or E, in
// either case), the minutes are below 60 and the value lies within -90..90
// (latitude) or -180..180 (longitude). A text that the fixed-place reading
// above would take in part (a doubled degree sign or point, a missing
// hemisphere letter) is Unreadable.
enum class LatLonReading { Whole, Unreadable, OutOfRange };
LatLonReading ReadLatitudeWhole(const std::string& text);
LatLonReading ReadLongitudeWhole(const std::string& text);
