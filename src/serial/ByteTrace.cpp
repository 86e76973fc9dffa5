#include "serial/ByteTrace.h"

#include <cerrno>
#include <cstdio>

#include "platform/SerialError.h"
#include "serial/SerMisc.h"

namespace serial
{

std::string DumpByteText(uint8_t byte, bool hex, bool allHex)
{
    static const char digits[] = "0123456789ABCDEF";
    const uint8_t lowest = hex ? '!' : ' ';
    if (!allHex && byte >= lowest && byte <= '~')
        return std::string(1, static_cast<char>(byte));
    if (hex || allHex)
        return std::string { '[', digits[byte >> 4], digits[byte & 15], ']' };
    return "[" + std::to_string(byte) + "]";
}

int WriteDumpFile(const std::string& path, bool append, const std::string& text, bool* opened)
{
    std::FILE* file = std::fopen(path.c_str(), append && ExistFile(path) ? "ab" : "wb");
    if (opened)
        *opened = file != nullptr;
    if (!file)
        return -platform::SerialErrorNumber(errno);
    int result = 0;
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size())
        result = -platform::SerialErrorNumber(errno);
    if (std::fclose(file) != 0 && result == 0)
        result = -platform::SerialErrorNumber(errno);
    return result;
}

int TByteTrace::Start(uint32_t entries)
{
    std::lock_guard guard(lock_);
    if (!entries_.empty()) {
        index_ = 0;
        wrapped_ = false;
    } else {
        if (entries == 0 || entries > MaxEntries)
            return -1002;
        entries_.assign(std::size_t { 2 } * entries, 0);
        index_ = 0;
        wrapped_ = false;
    }
    on_ = true;
    return 0;
}

void TByteTrace::Add(char kind, uint8_t byte)
{
    Add(kind, &byte, 1);
}

void TByteTrace::Add(char kind, const uint8_t* bytes, std::size_t count)
{
    std::lock_guard guard(lock_);
    if (!on_ || entries_.empty())
        return;
    for (std::size_t i = 0; i < count; ++i) {
        entries_[index_] = static_cast<uint8_t>(kind);
        entries_[index_ + 1] = bytes[i];
        index_ += 2;
        if (index_ >= entries_.size()) {
            index_ = 0;
            wrapped_ = true;
        }
    }
}

void TByteTrace::Pause()
{
    std::lock_guard guard(lock_);
    on_ = false;
}

void TByteTrace::Resume()
{
    std::lock_guard guard(lock_);
    if (!entries_.empty())
        on_ = true;
}

void TByteTrace::Clear()
{
    std::lock_guard guard(lock_);
    index_ = 0;
    wrapped_ = false;
}

void TByteTrace::Stop()
{
    std::lock_guard guard(lock_);
    on_ = false;
    entries_.clear();
    entries_.shrink_to_fit();
    index_ = 0;
    wrapped_ = false;
}

bool TByteTrace::On() const
{
    std::lock_guard guard(lock_);
    return on_;
}

bool TByteTrace::Exists() const
{
    std::lock_guard guard(lock_);
    return !entries_.empty();
}

std::string TByteTrace::Text(bool hex, bool allHex) const
{
    std::lock_guard guard(lock_);
    std::string out;
    if (entries_.empty() || (!wrapped_ && index_ == 0))
        return out;
    const std::size_t count = (wrapped_ ? entries_.size() : index_) / 2;
    std::size_t at = wrapped_ ? index_ : 0;
    bool first = true;
    uint8_t kind = 0;
    int column = 0;
    for (std::size_t n = 0; n < count; ++n) {
        const uint8_t entryKind = entries_[at];
        const uint8_t byte = entries_[at + 1];
        at += 2;
        if (at >= entries_.size())
            at = 0;
        if (first || entryKind != kind) {
            if (!first)
                out += "\r\n\r\n";
            if (entryKind == 'R')
                out += "Receive: ";
            else if (entryKind == 'T')
                out += "Transmit: ";
            else
                out += std::string("Special-") + static_cast<char>(entryKind) + ": ";
            out += "\r\n";
            column = 0;
            kind = entryKind;
            first = false;
        }
        const std::string text = DumpByteText(byte, hex, allHex);
        column += static_cast<int>(text.size());
        if (column > 78) {
            out += "\r\n";
            column = static_cast<int>(text.size());
        }
        out += text;
    }
    return out;
}

int TByteTrace::Dump(const std::string& path, bool append, bool hex, bool allHex)
{
    if (!Exists())
        return 0;
    Pause();
    const std::string text = Text(hex, allHex);
    if (text.empty()) {
        Stop();
        return 0;
    }
    const int result = WriteDumpFile(path, append, text);
    Stop();
    return result;
}

} // namespace serial
