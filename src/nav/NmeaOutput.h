#pragma once
// The sentences sent to an autopilot or other listener after every
// navigation update, talker "EC", each ended by CR LF:
//
//   $ECXTE,A,A,0.12,L,N,A*hh                    cross-track error
//   $ECAPB,A,A,0.12,L,N,,,,,DEST,045,T,047,T,A*hh
//                                               autopilot: XTE, destination,
//                                               bearing and heading to steer
//   $ECHSC,47.5,T,51.5,M*hh                     heading to steer, true and
//                                               magnetic
//   $ECBOD,045,T,049,M,DEST,ORIGIN*hh           bearing origin to destination:
//                                               the leg's course (XteRefCourse);
//                                               with the origin empty, the
//                                               bearing from the present position
//   (the user sentence)                         UserSentenceTemplate
//
// Built from the output templates of nav/NmeaTemplate.h. Magnetic figures
// are the true ones less the variation (east positive), 0 to 359. With no
// heading to steer for this fix (Heading not a number: a cross-stream the
// hull speed cannot match) APB goes out with its heading field and unit
// empty, "...,DEST,045,T,,,A*hh", and HSC is not sent. The last field of
// XTE and APB, the mode indicator, is "A" for a fix and "E" (estimated) for
// a dead-reckoned position (FixStatus "DR").

#include <cstddef>

// Rebuilds NmeaOutput: empty unless the NMEA interface is open, output is on
// and ActiveWaypoint names an entry of the route; otherwise the enabled
// sentences (OutXTE, OutAPB, OutHSC, OutBOD, OutUser) in the order above.
// A user sentence with a line longer than kMaxNmeaSentence characters
// (CR LF included) is left out and UserSentenceTooLong set.
void BuildNmeaOutput();

constexpr std::size_t kMaxNmeaSentence = 82;
