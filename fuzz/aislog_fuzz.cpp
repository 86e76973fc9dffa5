// Fuzz target for AIS log playback without the window: any bytes, read as a
// log file line by line, go through the sentence assembly and the merge into
// the target table as playback feeds them. The table must stay within its 60
// slots, every trail within 40 entries and holding real positions only (no
// "not available" 91 N 181 E), the payloads and the messages being assembled
// bounded, and a merged target must have an MMSI.
#include "nav/AisAssembly.h"
#include "nav/AisSelection.h"
#include "nav/AisTargets.h"
#include "nav/NavState.h"
#include "rtl/TextFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace nav;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ResetNavState();
    CosLat = 0.6;
    LogCount = 2;
    rtl::TextReader log(std::string(reinterpret_cast<const char*>(data), size));
    AisMergeOptions options;
    options.voice = true;
    std::string line;
    while (log.readLine(line)) {
        if (ClassifyAisLogLine(line) != AisLogLine::Ais)
            continue;
        AssembleAivdm(line);
        options.now += 1e-5;
        const AisMergeResult r = UpdateAisTargets(options);
        if (r.slot < 0 || r.slot > kMaxAisTargets || (r.slot > 0 && AisTargets[r.slot].mmsi <= 0))
            std::abort();
        if (AisTargetCount < 0 || AisTargetCount > kMaxAisTargets
            || AisPayload.size() > 2 * kAisSixBitsLength || AisHeldMessages.size() > kMaxAisHeldMessages)
            std::abort();
        for (const AisHeldMessage& held : AisHeldMessages)
            if (held.payload.size() > 2 * kAisSixBitsLength || held.received >= held.count)
                std::abort();
        for (int i = 1; i <= AisTargetCount; ++i) {
            const AisTargetRecord& t = AisTargets[i];
            if (t.trailCount > nav::kAisTrailLength)
                std::abort();
            for (int n = 1; n <= t.trailCount; ++n)
                if (!AisPositionAvailable(t.trail[n].lat, t.trail[n].lon))
                    std::abort();
        }
    }
    return 0;
}
