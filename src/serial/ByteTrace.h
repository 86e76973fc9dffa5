#pragma once
// Byte trace of a serial port: every byte received ('R') and sent ('T') in a
// ring of entries, written to a text file on request.
//
// File format (lines end in CR LF): a line "Receive: " or "Transmit: " (any
// other kind: "Special-<kind>: ") each time the kind changes, then the bytes
// of that run wrapped before column 79, then an empty line before the next
// kind's line. Printable bytes are written as themselves, others bracketed in
// hex ("[0D]"), or in decimal ("[13]") when the hex option is off.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace serial
{

// One byte as a dump writes it. hex: bytes below '!' are bracketed in hex
// (otherwise bytes below ' ' in decimal); allHex: every byte in hex.
std::string DumpByteText(uint8_t byte, bool hex, bool allHex);

// Writes a dump's text to a new file, or appends it when asked and the file
// exists. Returns 0 or the negated error number; *opened tells whether the
// file could be opened at all.
int WriteDumpFile(const std::string& path, bool append, const std::string& text, bool* opened = nullptr);

class TByteTrace
{
public:
    static constexpr uint32_t MaxEntries = 4000000;

    // Empties an existing trace; otherwise allocates one of `entries` entries
    // (-1002 for 0 or more than MaxEntries). Tracing is switched on.
    int Start(uint32_t entries);
    // Stores the pair while tracing is on; a full trace overwrites its oldest.
    void Add(char kind, uint8_t byte);
    // The bytes one after another, each as Add would note it.
    void Add(char kind, const uint8_t* bytes, std::size_t count);
    void Pause();
    void Resume(); // only when a trace exists
    void Clear(); // empties an existing trace, on or paused as it was
    void Stop(); // off, trace freed
    bool On() const;
    bool Exists() const;

    // The dump text of the entries, oldest first (empty when there are none).
    std::string Text(bool hex, bool allHex) const;
    // Writes Text to the file (appended when asked and the file exists) and
    // stops tracing. Nothing traced: no file, 0. Returns 0 or -(I/O error).
    int Dump(const std::string& path, bool append, bool hex, bool allHex);

private:
    mutable std::mutex lock_;
    std::vector<uint8_t> entries_; // kind, byte, kind, byte ...
    std::size_t index_ = 0;
    bool wrapped_ = false;
    bool on_ = false;
};

} // namespace serial
