// The port engine's trigger evaluation over an arbitrary byte stream: the
// input sets up to four data triggers (any text, either case rule, lengths
// past the limit too) and the available-data threshold, then feeds the stream
// in chunks of its own choosing while the handler reads as many bytes per
// event as the input says and the clock runs the timer trigger.
//
// Beyond not crashing: the bytes the handler reads, in order, are exactly the
// start of the stream (none skipped, doubled or reordered), every delivery
// carries a known handle, and a data trigger never fires more often than its
// text occurs in the stream.
#include "../tests/serial/FakePort.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

using namespace serial;
using namespace serial::test;

namespace
{

// Reads the input front to back; past its end every byte is 0.
class Input
{
public:
    Input(const uint8_t* data, size_t size)
        : data_(data)
        , size_(size)
    {
    }
    bool Empty() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::string Bytes(size_t n)
    {
        n = std::min(n, size_ - std::min(pos_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

uint8_t Upper(uint8_t b)
{
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
        return static_cast<uint8_t>(b - 0x20);
    return b;
}

// Occurrences of text in stream, overlapping ones counted each.
size_t Occurrences(const std::string& stream, const std::string& text, bool ignoreCase)
{
    if (text.empty() || text.size() > stream.size())
        return 0;
    size_t count = 0;
    for (size_t at = 0; at + text.size() <= stream.size(); ++at) {
        bool same = true;
        for (size_t i = 0; same && i < text.size(); ++i) {
            uint8_t a = static_cast<uint8_t>(stream[at + i]);
            uint8_t b = static_cast<uint8_t>(text[i]);
            if (ignoreCase) {
                a = Upper(a);
                b = Upper(b);
            }
            same = a == b;
        }
        count += same;
    }
    return count;
}

struct Trigger {
    std::string Text;
    bool IgnoreCase = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size);
    ClockScope scope;
    FakePort port;
    RecordingWindow window;
    if (OpenWithWindow(port, window) != 0)
        std::abort();

    port.SetAvailTrigger(in.Byte() % 4);
    std::map<uint32_t, Trigger> triggers;
    const int count = in.Byte() % 5;
    for (int i = 0; i < count; ++i) {
        Trigger trigger;
        const size_t length = in.Byte() % 24;
        trigger.IgnoreCase = in.Byte() & 1;
        trigger.Text = in.Bytes(length);
        const int handle = port.AddDataTrigger(trigger.Text, trigger.IgnoreCase);
        if (trigger.Text.size() > MaxDataTriggerLength) {
            if (handle >= 0)
                std::abort();
            continue;
        }
        if (handle <= 0)
            std::abort();
        triggers[static_cast<uint32_t>(handle)] = trigger;
    }
    const int timer = port.AddTimerTrigger();
    port.SetTimerTrigger(timer, 1 + in.Byte() % 8, true);

    // How many bytes the handler reads per event: 255 reads all announced.
    uint8_t perEvent = 255;
    bool readInDataEvents = false;
    std::string read;
    std::string stream;
    std::map<uint32_t, size_t> fired;
    window.OnDeliver = [&](const Delivery& d) {
        int n = 0;
        if (d.Message == TriggerAvailMsg)
            n = perEvent == 255 ? static_cast<int>(d.WParam) : perEvent;
        else if (d.Message == TriggerDataMsg) {
            if (!triggers.count(d.WParam))
                std::abort();
            ++fired[d.WParam];
            if ((d.LParam & 0xFFFF) != triggers[d.WParam].Text.size())
                std::abort();
            n = readInDataEvents ? perEvent % 8 : 0;
        } else if (d.Message == TriggerTimerMsg) {
            if (d.WParam != static_cast<uint32_t>(timer))
                std::abort();
            port.SetTimerTrigger(timer, 0, true);
        }
        read += ReadBytes(port, n);
    };

    while (!in.Empty()) {
        const uint8_t op = in.Byte();
        switch (op & 3) {
        case 0:
        case 1: {
            const std::string chunk = in.Bytes(1 + op / 4);
            stream += chunk;
            port.Feed(chunk);
            port.RunPasses();
            break;
        }
        case 2:
            perEvent = in.Byte();
            readInDataEvents = op & 4;
            break;
        case 3:
            scope.clock.Advance(in.Byte() * 11);
            port.RunPasses();
            break;
        }
    }
    // Whatever is left is read outside any event.
    port.SetAvailTrigger(0);
    for (int round = 0; round < 8 && read.size() < stream.size(); ++round) {
        port.RunPasses();
        read += ReadBytes(port, static_cast<int>(port.InBuffUsed()));
    }

    if (read != stream.substr(0, read.size()) || read.size() != stream.size())
        std::abort();
    for (const auto& [handle, times] : fired)
        if (times > Occurrences(stream, triggers[handle].Text, triggers[handle].IgnoreCase))
            std::abort();
    return 0;
}
