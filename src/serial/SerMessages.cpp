#include "serial/SerMessages.h"

namespace serial
{

namespace
{

constexpr TMessageEntry Table[] = {
    { 0, "OK" },
    // Runtime I/O errors, reached for negated system error numbers.
    { -2, "File not found" },
    { -3, "Path not found" },
    { -4, "Too many open files" },
    { -5, "File access denied" },
    { -6, "Invalid file handle" },
    { -8, "Insufficient memory" },
    { -15, "Invalid drive" },
    { -18, "No more files" },
    { -100, "Disk read error" },
    { -101, "Disk write error" },
    { -102, "File not assigned" },
    { -103, "File not open" },
    { -104, "File not open for input" },
    { -105, "File not open for output" },
    { -150, "Disk is write-protected" },
    { -151, "Unknown unit" },
    { -152, "Drive not ready" },
    { -153, "Unknown command" },
    { -154, "CRC error in data" },
    { -155, "Bad drive request structure length" },
    { -156, "Disk seek error" },
    { -157, "Unknown media type" },
    { -158, "Sector not found" },
    { -159, "Printer out of paper" },
    { -160, "Device write fault" },
    { -161, "Device read fault" },
    { -162, "General failure" },
    // General errors of the link.
    { -1001, "Bad handle passed to com function" },
    { -1002, "Bad argument passed to function" },
    // Port open errors.
    { -2001, "ie_BadId - Specified comport doesn't exist" },
    { -2007, "ie_NOpen - device not open" },
    { -2008, "ie_Open - device already open" },
    { -2011, "The ComNumber property of the TSerialPort has not been set" },
    // Serial I/O errors.
    { -3004, "Failed to put entire block" },
    { -3006, "Output buffer too small for block" },
    { -3007, "Buffer is empty" },
    // Trigger errors.
    { -5001, "No more trigger slots" },
    { -5002, "Data trigger too long" },
    { -5003, "Bad trigger handle" },
    // Dispatch log event types (15001 + type).
    { 15001, "No event" },
    { 15002, "Dispatch" },
    { 15003, "Trigger" },
    { 15004, "Error" },
    { 15005, "Thread" },
    { 15006, "TrigAllc" },
    { 15007, "TrigDisp" },
    { 15008, "TrgHdAlc" },
    { 15009, "TrgHdDsp" },
    { 15010, "TrDatChg" },
    { 15011, "Telnet" },
    { 15012, "Fax" },
    { 15013, "XModem" },
    { 15014, "YModem" },
    { 15015, "ZModem" },
    { 15016, "Kermit" },
    { 15017, "Ascii" },
    { 15018, "BPlus" },
    { 15019, "Packet" },
    { 15020, "User" },
    { 15021, "Script" },
    // Dispatch log subtypes (15100 + subtype).
    { 15101, "ReadCom" },
    { 15102, "WriteCom" },
    { 15103, "Line status" },
    { 15104, "Modem status" },
    { 15105, "Avail" },
    { 15106, "Timer" },
    { 15107, "Data" },
    { 15108, "Status" },
    { 15109, "Start" },
    { 15110, "Exit" },
    { 15111, "Sleep" },
    { 15112, "Wake" },
    { 15113, "Data" },
    { 15114, "Timer" },
    { 15115, "Status" },
    { 15116, "Avail" },
    { 15117, "Window" },
    { 15118, "Procedure" },
    { 15119, "Method" },
    // Modem status bits (15601 + bit).
    { 15601, "DCTS" },
    { 15602, "DDSR" },
    { 15603, "TERI" },
    { 15604, "DDCD" },
    { 15605, "CTS" },
    { 15606, "DSR" },
    { 15607, "RI" },
    { 15608, "DCD" },
};

} // namespace

std::span<const TMessageEntry> MessageTable()
{
    return Table;
}

} // namespace serial
