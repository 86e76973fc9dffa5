#pragma once
// The latitude and longitude fields (nav/LatLonText.h): their typing aids,
// and the check a dialog makes on them before it takes them on OK.

#include <string>

class QLineEdit;

// The typing aids: with the degrees typed the degree sign follows, with the
// whole minutes the point, the caret after what was added. A degree sign or
// point typed just after the one the field put there is taken as that one,
// so "50\xB049.12345N" typed key by key stays as typed. `degreeDigits` 2 for a
// latitude, 3 for a longitude. Call it on text the user typed only.
void LatLonTypingAid(QLineEdit& field, int degreeDigits);

// Checks a field's text, already completed, before a dialog takes it: when
// it cannot be read whole or lies out of range, says so in an error box
// naming the field by `caption`, gives the field the keyboard with its text
// selected, and returns false.
bool LatLonFieldReadable(QLineEdit& field, const std::string& caption, int degreeDigits);
