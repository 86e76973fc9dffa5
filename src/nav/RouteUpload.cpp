#include "nav/RouteUpload.h"

#include "nav/LogTemplate.h"
#include "nav/NavState.h"
#include "nav/NmeaTemplate.h"
#include "rtl/Numbers.h"
#include "rtl/Paths.h"

#include <algorithm>

namespace
{

// Blanks, apostrophes and points, as in the short name, and whatever could
// change the sentence's structure.
bool SentAsDash(char c)
{
    return c == ' ' || c == '\'' || c == '.' || IsSentenceReserved(c);
}

// Puts ActiveWaypoint back when the upload is done: the template reads the
// active waypoint, the navigation must not notice the walk.
class ActiveWaypointKept
{
public:
    ActiveWaypointKept()
        : saved_(ActiveWaypoint)
    {
    }
    ~ActiveWaypointKept() { ActiveWaypoint = saved_; }
    ActiveWaypointKept(const ActiveWaypointKept&) = delete;
    ActiveWaypointKept& operator=(const ActiveWaypointKept&) = delete;

private:
    int16_t saved_;
};

} // namespace

std::string WaypointIdentifier(const WaypointNameField& name)
{
    std::string identifier = rtl::UpperCase(TrimNameField(name.view(), 1, 6));
    std::replace_if(identifier.begin(), identifier.end(), SentAsDash, '-');
    return identifier;
}

std::string WaypointSentence(int index)
{
    if (index < 1 || index > std::min<int>(RouteCount, kMaxRoutePoints))
        return {};
    const ActiveWaypointKept kept;
    ActiveWaypoint = static_cast<int16_t>(index);
    std::string sentence = ExpandLogTemplate("$ECWPL,@~:3,", {}) + WaypointIdentifier(RouteNames[index]);
    return sentence + NmeaChecksum(sentence, 2) + "\r\n";
}

RouteNotice SendRouteWaypoints(const SentenceWriter& write)
{
    int sent = 0;
    const int count = std::clamp<int>(RouteCount, 0, kMaxRoutePoints);
    for (int i = 1; i <= count && NmeaOpen; ++i) {
        if (write(WaypointSentence(i)))
            ++sent;
    }
    return { platform::MessageKind::Information, rtl::StrInt(sent, 3) + " Waypoints sent" };
}
