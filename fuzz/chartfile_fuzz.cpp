// Chart and layer file reader on arbitrary bytes. Whatever the reader takes
// into the store, the writer's image of it must read back to a store that
// writes the same image again: saving a loaded chart is stable.
#include "nav/ChartStore.h"
#include "nav/NavState.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ChartFileContents contents
        = DecodeChartFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (contents.points.size() > size / ChartPoint::storedSize)
        std::abort();

    ClearChartStore();
    AppendToChartStore(contents.points);
    if (ChartPointCount < 0 || ChartPointCount > kMaxChartPoints)
        std::abort();
    int removed = 0;
    const std::string first = EncodeChartFile(1, removed);
    const ChartFileContents back = DecodeChartFile(first);
    if (back.dosFile)
        std::abort();

    ClearChartStore();
    AppendToChartStore(back.points);
    const std::string second = EncodeChartFile(1, removed);
    if (second != first || removed != 0)
        std::abort();
    return 0;
}
