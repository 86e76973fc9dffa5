#include "nav/AisSelection.h"

#include "nav/NavMaths.h"
#include "nav/NavState.h"

#include <algorithm>
#include <cmath>

namespace nav
{

namespace
{

constexpr double kAisUnitsPerDegree = 600000.0; // 1/10000 minute
// Time stamp of a position report whose positioning system is inoperative.
constexpr uint8_t kAisTimeStampInoperative = 63;

int TableCount()
{
    return std::clamp<int32_t>(AisTargetCount, 0, kMaxAisTargets);
}

} // namespace

bool AisPositionAvailable(double lat, double lon)
{
    return std::fabs(lat) <= 90.0 && std::fabs(lon) <= 180.0;
}

bool AisHasPosition(const AisTargetRecord& target)
{
    if (target.latitude == 0 && target.longitude == 0)
        return false;
    // Base station reports carry no time stamp: the field is a position
    // report's.
    const bool baseStation = target.messageType == 4 || target.messageType == 11;
    if (target.timeStamp == kAisTimeStampInoperative && !baseStation)
        return false;
    return AisPositionAvailable(target.latitude / kAisUnitsPerDegree, target.longitude / kAisUnitsPerDegree);
}

double AisTargetRangeNm(const AisTargetRecord& target)
{
    // Records hold longitude east positive; distances take it west positive.
    return FlatDistanceNm(
        CurLat, CurLon, target.latitude / kAisUnitsPerDegree, -target.longitude / kAisUnitsPerDegree);
}

AisNearest FindNearestAisTarget()
{
    AisNearest nearest;
    const int count = TableCount();
    for (int i = 1; i <= count; ++i) {
        const AisTargetRecord& t = AisTargets[i];
        if (!AisHasPosition(t))
            continue;
        const double d = AisTargetRangeNm(t);
        if (nearest.range > d) {
            nearest.range = d;
            nearest.index = i;
        }
    }
    if (count == 1)
        nearest.index = 1;
    return nearest;
}

bool AisSelectionValid()
{
    return SelectedAisTarget >= 1 && SelectedAisTarget <= TableCount();
}

bool AisSelectionHasPosition()
{
    return AisSelectionValid() && AisHasPosition(AisTargets[SelectedAisTarget]);
}

int AgeOutAisTargets(double now, double ageLimit)
{
    const int count = TableCount();
    const int selected = AisSelectionValid() ? SelectedAisTarget : 0;
    int kept = 0;
    int removedBeforeSelection = 0;
    for (int i = 1; i <= count; ++i) {
        if (AisTargets[i].lastHeard + ageLimit < now) {
            if (i < selected)
                ++removedBeforeSelection;
            continue;
        }
        ++kept;
        if (kept != i)
            AisTargets[kept] = AisTargets[i];
    }
    for (int i = kept + 1; i <= count; ++i)
        AisTargets[i] = EmptyAisRecord;
    AisTargetCount = kept;
    if (kept == 0)
        SelectedAisTarget = 0;
    else if (selected > 0)
        SelectedAisTarget = uint16_t(std::min(selected - removedBeforeSelection, kept));
    return count - kept;
}

void ClearAisTargets()
{
    AisTargetCount = 0;
    AisTargets.fill(EmptyAisRecord);
    SelectedAisTarget = 0;
}

void StepAisSelection(int step)
{
    if (step < 0 && SelectedAisTarget > 1)
        --SelectedAisTarget;
    else if (step > 0 && SelectedAisTarget < TableCount())
        ++SelectedAisTarget;
}

} // namespace nav
