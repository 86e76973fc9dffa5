#pragma once
// The typing aids of the latitude and longitude fields (nav/LatLonText.h):
// with the degrees typed the degree sign follows, with the whole minutes
// the point, the caret after what was added.

class QLineEdit;

// `degreeDigits` 2 for a latitude, 3 for a longitude. Call it on text the
// user typed only.
void LatLonTypingAid(QLineEdit& field, int degreeDigits);
