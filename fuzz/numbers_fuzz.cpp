// Number texts as they come from configuration, chart and log files: every
// line goes through the tolerant readers, and whatever they accept must come
// back unchanged through the writers.
//   real: RealText of the value reads back to a value with the same text
//   integer: StrInt of the value reads back to the same value
//   6-byte real: a stored value re-stores to the same bytes, or is refused
#include "rtl/Numbers.h"
#include "rtl/Real6.h"
#include "rtl/TextFile.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rtl::TextReader reader(std::string(reinterpret_cast<const char*>(data), size));
    std::string line;
    while (reader.readLine(line)) {
        double real = 0;
        if (rtl::ParseReal(line, real)) {
            const std::string text = rtl::RealText(real);
            double back = 0;
            if (text.size() != 23 || !rtl::ParseReal(text, back))
                std::abort();
            // Fifteen digits survive text -> double -> text for normal doubles.
            if ((real == 0 || std::fabs(real) >= DBL_MIN) && rtl::RealText(back) != text)
                std::abort();
            const std::string fixed = rtl::StrReal(real, 0, 3);
            if (std::fabs(real) < 1e15 && !rtl::ParseReal(fixed, back))
                std::abort();
            try {
                const rtl::Real6 stored(real);
                if (rtl::Real6(stored.value()).bytes() != stored.bytes())
                    std::abort();
            } catch (const rtl::Real6Error&) {
                if (std::fabs(real) < 1e38)
                    std::abort();
            }
            (void)rtl::Round(real);
            (void)rtl::Trunc(real);
        }
        int64_t whole = 0;
        if (rtl::ParseInt(line, whole)) {
            int64_t back = 0;
            if (!rtl::ParseInt(rtl::StrInt(whole, 12), back) || back != whole)
                std::abort();
        }
    }
    return 0;
}
