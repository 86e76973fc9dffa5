#pragma once
// Joins the fragments of "!AIVDM" sentences (NMEA 0183 / IEC 61162-1) into
// one AIS payload and decodes it into AisDecodeRecord. A type 5 message comes
// in two sentences that share a sequential message id:
//   !AIVDM,2,1,3,B,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0*3E
//   !AIVDM,2,2,3,B,1CQ0h0@0000000000,2*78
// Fields: 1 fragment count, 2 fragment number, 3 sequential message id,
// 4 radio channel, 5 payload, 6 fill bits and checksum.
//
// Works on the program-wide AIS state (nav/NavState.h): AisPayload (the
// payload joined so far), AisFragmentSeqId, AisSixBits, AisDecodeRecord and
// AisDecodeFresh. The fragment state persists between sentences and between
// sources (serial input and log playback).

#include <string_view>

namespace nav
{

// Takes one "!AIVDM" sentence. Count, number and sequential id (each cut to
// 5 characters) are kept in the decode record's fragment fields. Then:
//  - count "1", number "1": the record and the six-bit values are cleared and
//    the sentence's payload decoded;
//  - number "1" of a longer message: the payload is started and the
//    sequential id remembered;
//  - number "2" of 3 with the remembered id: the payload is appended;
//  - the last fragment (number = count) with the remembered id: the record
//    and six-bit values are cleared, the fragment fields stored again, the
//    payload appended and decoded.
// Anything else (another sequential id, missing fields, fragments past the
// third of longer messages) changes nothing more. Returns true when the
// sentence completed a message; AisDecodeFresh is then set (also for a
// message of a type the decoder leaves alone, whose record stays empty), so
// the next merge takes it once.
bool AssembleAivdm(std::string_view sentence);

// Lines of the daily AIS log "<dd-mm-yy>.AIS": the header "AIS Log Date :
// dd-mm-yy", then the "!AIVDM" sentences as received, each followed by the
// current GPS sentence ("$GPRMC" or "$GPGGA") whenever its time changed.
// Readers take lines beginning with '$' as GPS sentences, lines beginning
// with "!AIVDM" as AIS sentences, and skip every other line.
enum class AisLogLine { Gps, Ais, Other };
AisLogLine ClassifyAisLogLine(std::string_view line);

} // namespace nav
