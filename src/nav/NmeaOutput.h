#pragma once
// The output sentences sent to an autopilot or other listener after every
// navigation update.

// Rebuilds NmeaOutput from the enabled sentences.
void BuildNmeaOutput();
