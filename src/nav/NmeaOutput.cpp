#include "nav/NmeaOutput.h"

// Placeholder until the output sentences and their template language land:
// builds nothing, so NmeaOutput keeps its value.
void BuildNmeaOutput() { }
