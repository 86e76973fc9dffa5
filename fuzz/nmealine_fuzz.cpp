// The main window's serial line assembly over an arbitrary byte stream, run
// through the real port engine the way the main window drives it: an
// available-data threshold of 1 and a carriage-return data trigger, the
// announced bytes read and appended to the line, and at each carriage return
// the line taken, checked, routed to the position decoder or the AIS
// assembly, and the trigger removed and added again. The first input byte
// chooses how the stream is cut into arrivals.
//
// Beyond not crashing: each line handed on is the stream's text between two
// carriage returns with the line feeds left out, or, when that text is longer
// than a sentence can be, at most kMaxNmeaLineLength of its end.
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
    std::vector<std::string> lines(1);
    for (const char c : stream) {
        if (c == '\r')
            lines.emplace_back();
        else if (c != '\n')
            lines.back() += c;
    }
    lines.pop_back(); // the unfinished rest
    return lines;
}

void Route(const std::string& line)
{
    if (!nav::NmeaChecksumOk(line))
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
            nav::AppendNmeaLineBytes(lineBuffer, ReadBytes(port, static_cast<int>(d.WParam)));
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
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& want = expected[i];
        if (want.size() <= nav::kMaxNmeaLineLength
                ? lines[i] != want
                : lines[i].size() > nav::kMaxNmeaLineLength || !want.ends_with(lines[i]))
            std::abort();
    }
    return 0;
}
