// The main window's serial line assembly over an arbitrary byte stream, run
// through the real port engine the way the main window drives it: an
// available-data threshold of 1 and a carriage-return data trigger, the
// announced bytes read and appended to the line, and at each carriage return
// the line taken, checked, routed to the position decoder or the AIS
// assembly, and the trigger removed and added again. The first input byte
// chooses how the stream is cut into arrivals.
//
// Beyond not crashing: the lines handed on, at carriage returns and at line
// feeds that end something, are the stream's text between two line ends,
// each from its last '$' or '!' on, less what a line past
// kMaxNmeaLineLength threw away, whatever the cuts between arrivals.
#include "../tests/serial/FakePort.h"

#include "nav/AisAssembly.h"
#include "nav/NavState.h"
#include "nav/NmeaDecode.h"
#include "nav/NmeaLine.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace serial;
using namespace serial::test;

namespace
{

// The lines the stream holds, as the assembly must see them.
std::vector<std::string> ExpectedLines(const std::string& stream)
{
    std::vector<std::string> lines;
    std::string text; // since the last line end
    for (const char c : stream) {
        if (c != '\r' && c != '\n') {
            text += c;
            continue;
        }
        const std::size_t start = text.find_last_of("$!");
        std::string line = start == std::string::npos ? text : text.substr(start);
        // Every kMaxNmeaLineLength + 1 characters the line was thrown away.
        line.erase(0, line.size() - line.size() % (nav::kMaxNmeaLineLength + 1));
        if (c == '\r' || !line.empty())
            lines.push_back(line);
        text.clear();
    }
    return lines;
}

void Route(const std::string& line)
{
    if (!nav::NmeaLineIntact(line))
        return;
    if (line.starts_with("!AIVDM")) {
        nav::AssembleAivdm(line);
        return;
    }
    const nav::NmeaDecodeResult d = nav::DecodeNmeaSentence(line, false);
    if (!d.failed)
        nav::ApplyNmeaDecode(d);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    ResetNavState();
    ClockScope scope;
    FakePort port;
    RecordingWindow window;
    if (OpenWithWindow(port, window) != 0)
        std::abort();
    port.SetAvailTrigger(1);
    int crHandle = port.AddDataTrigger("\r", false);

    std::string lineBuffer;
    std::vector<std::string> lines;
    window.OnDeliver = [&](const Delivery& d) {
        if (d.Message == TriggerAvailMsg) {
            const nav::NmeaLineBytes got
                = nav::AppendNmeaLineBytes(lineBuffer, ReadBytes(port, static_cast<int>(d.WParam)));
            for (const std::string& line : got.lines) {
                lines.push_back(line);
                Route(line);
            }
        } else if (d.Message == TriggerDataMsg && d.WParam == static_cast<uint32_t>(crHandle)) {
            lines.push_back(lineBuffer);
            lineBuffer.clear();
            Route(lines.back());
            port.RemoveTrigger(crHandle);
            crHandle = port.AddDataTrigger("\r", false);
        }
    };

    const size_t cut = 1 + data[0] % 97;
    const std::string stream(reinterpret_cast<const char*>(data + 1), size - 1);
    for (size_t at = 0; at < stream.size(); at += cut) {
        port.Feed(std::string_view(stream).substr(at, cut));
        port.RunPasses();
    }
    port.RunPasses();

    const std::vector<std::string> expected = ExpectedLines(stream);
    if (lines.size() != expected.size())
        std::abort();
    if (lines != expected)
        std::abort();
    return 0;
}
