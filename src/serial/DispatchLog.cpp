#include "serial/DispatchLog.h"

#include "rtl/LittleEndian.h"

#include <sys/utsname.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "serial/ByteTrace.h"
#include "serial/SerMisc.h"

namespace serial
{

namespace
{

// Milliseconds as seconds with three decimals, at least 8 characters:
// 1234 -> "0001.234".
std::string TimeText(uint32_t ms)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%07u", ms);
    std::string text = digits;
    text.insert(text.size() - 3, ".");
    return text;
}

const char* const StatusKindNames[] = { "(Not active)", "(Modem status)", "(Line status)",
    "(Output buffer free)", "(Output buffer used)", "(Output sent)" };

} // namespace

std::string OperatingSystemText()
{
    struct utsname name;
    if (uname(&name) != 0)
        return "Unknown";
    return std::string(name.sysname) + " " + name.release;
}

std::string CompilerText()
{
#if defined(__clang__)
    return "Clang " __clang_version__;
#elif defined(__GNUC__)
    return "GCC " __VERSION__;
#else
    return "C++ compiler";
#endif
}

std::string LogDateTimeText()
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d/%m/%y, %H:%M:%S", &local);
    return text;
}

void TDispatchLog::Start(uint32_t size)
{
    std::lock_guard guard(lock_);
    if (ring_.empty())
        ring_.assign(size, 0);
    head_ = tail_ = 0;
    free_ = static_cast<uint32_t>(ring_.size());
    on_ = true;
}

void TDispatchLog::PutBytes(const uint8_t* bytes, uint32_t length)
{
    const uint32_t size = static_cast<uint32_t>(ring_.size());
    const uint32_t first = std::min(length, size - head_);
    std::memcpy(ring_.data() + head_, bytes, first);
    std::memcpy(ring_.data(), bytes + first, length - first);
    head_ = (head_ + length) % size;
    free_ -= length;
}

bool TDispatchLog::ReadOldest(Entry* entry)
{
    const uint32_t size = static_cast<uint32_t>(ring_.size());
    if (free_ >= size)
        return false;
    auto take = [&](uint8_t* to, uint32_t length) {
        for (uint32_t i = 0; i < length; ++i) {
            if (to)
                to[i] = ring_[tail_];
            tail_ = (tail_ + 1) % size;
        }
        free_ += length;
    };
    uint8_t header[LogHeaderSize];
    take(header, LogHeaderSize);
    const uint32_t length = rtl::LoadLE<uint32_t>(header + 12);
    if (entry) {
        entry->Type = header[0];
        entry->Subtype = header[1];
        entry->Time = rtl::LoadLE<uint32_t>(header + 4);
        entry->Data = rtl::LoadLE<uint32_t>(header + 8);
        entry->Bytes.resize(length);
        take(entry->Bytes.data(), length);
    } else {
        take(nullptr, length);
    }
    return true;
}

void TDispatchLog::Add(
    uint8_t type, uint8_t subtype, uint32_t timeMs, uint32_t data, const uint8_t* bytes, uint32_t length)
{
    std::lock_guard guard(lock_);
    if (!on_ || ring_.empty())
        return;
    if (!bytes)
        length = 0;
    // Header and data go in as one block, so an entry is never kept without
    // its data.
    const uint64_t total = uint64_t { LogHeaderSize } + length;
    if (total >= ring_.size())
        return;
    std::vector<uint8_t> block(total, 0);
    block[0] = type;
    block[1] = subtype;
    rtl::StoreLE<uint32_t>(block.data() + 4, timeMs);
    rtl::StoreLE<uint32_t>(block.data() + 8, data);
    rtl::StoreLE<uint32_t>(block.data() + 12, length);
    if (length > 0)
        std::memcpy(block.data() + LogHeaderSize, bytes, length);
    while (free_ < total && ReadOldest(nullptr)) { }
    PutBytes(block.data(), static_cast<uint32_t>(total));
}

void TDispatchLog::Pause()
{
    std::lock_guard guard(lock_);
    on_ = false;
}

void TDispatchLog::Resume()
{
    std::lock_guard guard(lock_);
    if (!ring_.empty())
        on_ = true;
}

void TDispatchLog::Clear()
{
    std::lock_guard guard(lock_);
    head_ = tail_ = 0;
    free_ = static_cast<uint32_t>(ring_.size());
}

void TDispatchLog::Stop()
{
    std::lock_guard guard(lock_);
    on_ = false;
    ring_.clear();
    ring_.shrink_to_fit();
    head_ = tail_ = free_ = 0;
}

bool TDispatchLog::On() const
{
    std::lock_guard guard(lock_);
    return on_;
}

bool TDispatchLog::Exists() const
{
    std::lock_guard guard(lock_);
    return !ring_.empty();
}

bool TDispatchLog::Empty() const
{
    std::lock_guard guard(lock_);
    return free_ >= ring_.size();
}

std::vector<TDispatchLog::Entry> TDispatchLog::Entries() const
{
    // Read from a copy of the positions: the ring itself stays as it is.
    TDispatchLog copy;
    copy.ring_ = ring_;
    copy.head_ = head_;
    copy.tail_ = tail_;
    copy.free_ = free_;
    std::vector<Entry> entries;
    Entry entry;
    while (copy.ReadOldest(&entry))
        entries.push_back(entry);
    return entries;
}

std::string TDispatchLog::Text(const TLogDumpInfo& info, bool hex, bool allHex) const
{
    std::vector<Entry> entries;
    {
        std::lock_guard guard(lock_);
        entries = Entries();
    }
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\r\n"; };
    line("SERIAL LINK v1.00");
    line("Compiler : " + CompilerText());
    line("Operating System : " + OperatingSystemText());
    line("Device: " + info.PortName);
    line("Date/time: " + info.DateTime);
    line("Time      Type      SubType       Data      OtherData");
    line("--------  --------  ------------  --------  ---------");
    for (const Entry& e : entries) {
        const std::string type = LookupMessage(static_cast<int16_t>(15001 + e.Type));
        const std::string subtype = e.Subtype ? LookupMessage(static_cast<int16_t>(15100 + e.Subtype)) : "";
        char lead[128];
        std::snprintf(lead, sizeof lead, "%8s  %-8s  %-12s  %08x  ", TimeText(e.Time).c_str(), type.c_str(),
            subtype.c_str(), e.Data);
        out += lead;
        if (e.Bytes.empty()) {
            if (e.Type == LogTelnet)
                out += "[" + (e.Data <= 42 ? LookupMessage(static_cast<int16_t>(15700 + e.Data)) : "") + "]";
        } else if ((e.Type == LogTrigAlloc || e.Type == LogTrigDispose) && e.Subtype == LsStatusTrigger) {
            if (e.Bytes[0] < std::size(StatusKindNames))
                out += StatusKindNames[e.Bytes[0]];
        } else {
            int column = 45;
            for (uint8_t byte : e.Bytes) {
                const std::string text = DumpByteText(byte, hex, allHex && e.Type != LogUser);
                column += static_cast<int>(text.size());
                if (column >= 79) {
                    out += "\r\n" + std::string(44, ' ');
                    column = static_cast<int>(text.size()) + 45;
                }
                out += text;
            }
            if (e.Subtype == LsModemStatus) {
                std::string names;
                for (int bit = 0; bit < 8; ++bit) {
                    if (e.Data & (1u << bit)) {
                        if (!names.empty())
                            names += ' ';
                        names += LookupMessage(static_cast<int16_t>(15601 + bit));
                    }
                }
                out += "(" + names + ")";
            }
        }
        out += "\r\n";
    }
    return out;
}

int TDispatchLog::Dump(const std::string& path, bool append, bool hex, bool allHex, const TLogDumpInfo& info)
{
    if (!Exists() || Empty()) {
        Stop();
        return 0;
    }
    Pause();
    bool opened = false;
    const int result = WriteDumpFile(path, append, Text(info, hex, allHex), &opened);
    if (opened) // a file that could not be opened leaves the log kept
        Stop();
    return result;
}

} // namespace serial
