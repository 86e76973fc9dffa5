#pragma once
// Help for the converter window: the whole help file shown from the Help
// button. Placeholder until the HTML help support is built: it shows
// nothing and reports the help control as not available.

#include <string>

namespace converter
{

// Shows `topic` of `helpFile` (empty: the file as a whole) in the help
// window `windowName` with the given host kind. Returns 0 on success, 1
// when the help control is not available.
int HelpDisplayTopic(
    const std::string& helpFile, const std::string& topic, const std::string& windowName, int hostKind);

} // namespace converter
