#pragma once
// Joins the fragments of "!AIVDM" sentences (NMEA 0183 / IEC 61162-1) into
// one AIS payload and decodes it into AisDecodeRecord. A type 5 message comes
// in two sentences that share a sequential message id:
//   !AIVDM,2,1,3,B,55P5TL01VIaAL@7WKO@mBplU@<PDhh000000001S;AJ::4A80?4i@E53,0*3E
//   !AIVDM,2,2,3,B,1CQ0h0@0000000000,2*78
// Fields: 1 fragment count, 2 fragment number, 3 sequential message id,
// 4 radio channel, 5 payload, 6 fill bits and checksum.
//
// A receiver hears both AIS channels at once, and ships on either may use the
// same sequential id at the same time: the fragments of one message are the
// sentences with the same channel and id, and single-sentence reports come
// between them. Several messages are therefore assembled side by side
// (AisHeldMessages).
//
// Works on the program-wide AIS state (nav/NavState.h): AisHeldMessages,
// AisPayload (the payload of the message completed last), AisSixBits,
// AisDecodeRecord and AisDecodeFresh. The held fragments persist between
// sentences and between sources (serial input and log playback).

#include "rtl/ShortString.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace nav
{

// A multi-sentence message whose first fragments have come: the channel and
// sequential id its sentences share, its fragment count, how many fragments
// came in order so far and their payloads joined.
struct AisHeldMessage {
    rtl::ShortString<5> channel;
    rtl::ShortString<5> sequentialId;
    int count = 0;
    int received = 0;
    std::string payload;
};

// Messages assembled side by side at most: two channels with ten sequential
// ids each. A further first fragment drops the message started longest ago.
constexpr std::size_t kMaxAisHeldMessages = 20;

// Takes one "!AIVDM" sentence. Count and number are single digits, 1 to 9,
// the number not above the count; any other sentence changes nothing.
//  - count 1: the record and the six-bit values are cleared and the
//    sentence's payload decoded; messages being assembled stay as they are;
//  - number 1 of a longer message: a message is started under the
//    sentence's channel and sequential id, replacing one held under both;
//  - the next number of the message held under the sentence's channel and
//    id, with the same count: the payload is appended; at the last fragment
//    the record and six-bit values are cleared, the message decoded, and
//    count, number and sequential id (each cut to 5 characters) kept in the
//    record's fragment fields.
// A later fragment that fits no held message (another channel or id, another
// count, a fragment missed or repeated) is dropped: it is never joined to
// another message's fragments. Returns true when the sentence completed a
// message; AisDecodeFresh is then set (also for a message of a type the
// decoder leaves alone, whose record stays empty), so the next merge takes
// it once.
bool AssembleAivdm(std::string_view sentence);

// Lines of the daily AIS log "<dd-mm-yy>.AIS": the header "AIS Log Date :
// dd-mm-yy", then the "!AIVDM" sentences as received, each followed by the
// current GPS sentence ("$GPRMC" or "$GPGGA") whenever its time changed.
// Readers take lines beginning with '$' as GPS sentences, lines beginning
// with "!AIVDM" as AIS sentences, and skip every other line.
enum class AisLogLine { Gps, Ais, Other };
AisLogLine ClassifyAisLogLine(std::string_view line);

} // namespace nav
