#pragma once
// Dispatch log of a serial port: engine events (reads, writes, trigger
// handling, thread start and stop) with a time stamp and their data, in a
// ring of bytes that drops its oldest entries when full; written to a text
// file on request.
//
// An entry is a 16-byte header (type, subtype, two reserved bytes, then
// little-endian 32-bit milliseconds since the port opened, data, and length
// of the data bytes) followed by its data bytes; an entry is stored whole or
// not at all.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace serial
{

// Event types (names from message 15001 + type).
constexpr uint8_t LogDispatch = 1, LogTrigger = 2, LogError = 3, LogThread = 4, LogTrigAlloc = 5,
                  LogTrigDispose = 6, LogHandlerAlloc = 7, LogHandlerDispose = 8, LogTrigDataChange = 9,
                  LogTelnet = 10, LogUser = 19;
// Subtypes (names from message 15100 + subtype).
constexpr uint8_t LsReadCom = 1, LsWriteCom = 2, LsLineStatus = 3, LsModemStatus = 4, LsAvail = 5,
                  LsTimer = 6, LsData = 7, LsStatus = 8, LsStart = 9, LsExit = 10, LsSleep = 11, LsWake = 12,
                  LsDataTrigger = 13, LsTimerTrigger = 14, LsStatusTrigger = 15, LsAvailTrigger = 16,
                  LsWindow = 17, LsProcedure = 18, LsMethod = 19;

constexpr uint32_t LogHeaderSize = 16;

// What heads a dump besides the fixed lines.
struct TLogDumpInfo {
    std::string PortName; // "COMn"
    std::string DateTime; // "dd/mm/yy, hh:mm:ss"
};

// "Operating System : " text: kernel name and release (uname).
std::string OperatingSystemText();
// "Compiler : " text: the build tool's name and version.
std::string CompilerText();
// The local date and time as "dd/mm/yy, hh:mm:ss".
std::string LogDateTimeText();

class TDispatchLog
{
public:
    static constexpr uint32_t MaxSize = 16000000;

    // Empties an existing ring, otherwise allocates one of `size` bytes;
    // logging is switched on.
    void Start(uint32_t size);
    // Stores one entry while logging is on; the oldest entries are dropped to
    // make room. An entry as long as the ring or longer is not stored.
    void Add(
        uint8_t type, uint8_t subtype, uint32_t timeMs, uint32_t data, const uint8_t* bytes, uint32_t length);
    void Pause();
    void Resume(); // only when a ring exists
    void Clear(); // empties an existing ring, on or paused as it was
    void Stop(); // off, ring freed
    bool On() const;
    bool Exists() const;
    bool Empty() const;

    // The dump text: header lines and one line (or more) per entry.
    std::string Text(const TLogDumpInfo& info, bool hex, bool allHex) const;
    // Writes Text to the file (appended when asked and the file exists) and
    // stops logging. No ring or an empty one: no file, 0. Returns 0 or
    // -(I/O error); on an open failure the ring is kept.
    int Dump(const std::string& path, bool append, bool hex, bool allHex, const TLogDumpInfo& info);

private:
    struct Entry {
        uint8_t Type = 0, Subtype = 0;
        uint32_t Time = 0, Data = 0;
        std::vector<uint8_t> Bytes;
    };
    void PutBytes(const uint8_t* bytes, uint32_t length); // lock held, room made
    bool ReadOldest(Entry* entry); // lock held; nullptr drops
    std::vector<Entry> Entries() const; // lock held

    mutable std::mutex lock_;
    std::vector<uint8_t> ring_;
    uint32_t head_ = 0, tail_ = 0, free_ = 0;
    bool on_ = false;
};

} // namespace serial
