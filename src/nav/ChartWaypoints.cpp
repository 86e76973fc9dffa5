#include "nav/ChartWaypoints.h"

#include "nav/NavState.h"

#include <algorithm>

namespace
{

constexpr std::size_t kDescriptionLength = 24;

std::string TwoCharacters(std::string text)
{
    if (text.size() < 2)
        text.insert(0, 2 - text.size(), '0');
    return text.substr(0, 2);
}

} // namespace

WaypointNameField MakeWaypointName(const std::string& description, const std::string& symbolText,
    const std::string& numberText, bool hasNumber)
{
    std::string name = description.substr(0, kDescriptionLength);
    name.resize(kDescriptionLength, ' ');
    name += TwoCharacters(symbolText);
    const std::string number = numberText.empty() ? std::string("  ") : TwoCharacters(numberText);
    name += hasNumber ? number + " " : std::string("   ");
    return name;
}

std::string WaypointDescription(const WaypointNameField& name)
{
    const std::string text = name.str().substr(0, kDescriptionLength);
    const std::size_t end = text.find_last_not_of(" @");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

void DeleteDatabaseWaypoint(int index)
{
    const int count = std::clamp<int>(WaypointDbCount, 0, kMaxWaypoints);
    if (index < 1 || index > count)
        return;
    for (int i = index; i < count; ++i) {
        WaypointDbPoints[i] = WaypointDbPoints[i + 1];
        WaypointDbNames[i] = WaypointDbNames[i + 1];
    }
    WaypointDbCount = static_cast<int16_t>(count - 1);
}
