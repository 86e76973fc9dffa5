#pragma once
// The main window's template language: the record line of the text survey
// log, the synthetic GGA sentence of the AIS monitor mode and the waypoint
// upload are written from '@' templates with this code table. It differs
// from the output sentences' language (nav/NmeaTemplate.h): no checksum, no
// line end, and no pass over the whole output afterwards, so a blank or '|'
// in the template reaches the text unchanged.
//
//   @f,@d,@t,@p:4,@q,@c,@s,@v,@x,@y  ->
//   00012,07-12-26,094737,5015.0000,N,00130.0000,W,1-08,235,5.8Kn,...
//
// Codes are read without regard to case; a code that is not in the table is
// dropped with its '@', and so is an '@' at the very end.
//
//   code  suffix  inserts
//   #             ActiveWaypoint
//   $             FixStatus
//   &             TripTotal, 2 decimals
//   0..9          NmeaFields[0..9]
//   +, [, ]       "T:", "L:", "R:" and layout texts 1:2, 3:4, 5:6
//   >     :n      towed body (layout point 5), degrees and minutes
//   B             BearingText
//   C     ^       CogText; with '^' CogMagText (the course as magnetic)
//   D             LogDateText "dd-mm-yy"
//   F             FixNumber, five digits
//   G             TtgText
//   H             CtsText
//   L             TripLeg, 4 decimals
//   M             the measure readout while measuring, else nothing
//   O, U          CursorPositionText
//   P     :n      newest track record, degrees and minutes
//   Q             FixQuality "-" SatCount
//   R             RangeText
//   S             SogText
//   T             FixTimeText "hhnnss"
//   V             VmgText
//   W             the selected-waypoint box, at most 33 characters, without
//                 trailing blanks and '@'
//   X             XTE (nm, positive: the track lies to port), 2 decimals
//   Y             newest track record on the chart datum in decimal degrees,
//                 "lat:lon" with the longitude east positive, 8 decimals
//   ~     :n      active route waypoint, degrees and minutes
//
// Degrees and minutes are written as DegreeMinuteText does: ":n" gives n
// decimals of minutes (":" followed by anything but a digit gives none);
// without it two decimals. The position codes read the newest track record
// as stored (GPS datum, longitude west positive); '@>' takes the chart datum
// offsets off the towed body and '@~' writes the waypoint as it stands.

#include <string>
#include <string_view>

// Expands `pattern`. `waypointBox` is the text of the main window's
// selected-waypoint box, inserted by '@W'. '@>' copies layout point 5 into
// TowLat and TowLon. While the track log is empty '@P' and '@Y' use the
// present position (taken back to the GPS datum for '@P'); while no route
// waypoint is active '@~' inserts nothing.
std::string ExpandLogTemplate(std::string_view pattern, std::string_view waypointBox);
