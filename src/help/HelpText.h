#pragma once
// Small text routines of the help system, and the texts of platform error
// codes that its messages quote.

#include <string>

namespace help
{

// Position of `sub` in `text`, counted from 1; 0 when absent (also for an
// empty `sub`).
int StrPosPtr(const std::string& sub, const std::string& text);
// Replaces the first `from` by `to`; returns its position (from 1) or 0.
int StrReplaceFirst(std::string& text, const std::string& from, const std::string& to);
// Replaces every `from` by `to`, left to right without rescanning; returns
// the count. An empty `from` replaces nothing.
int StrReplaceAll(std::string& text, const std::string& from, const std::string& to);
// Every '\' becomes '/'.
std::string DosToUnixPath(std::string path);
std::string StripLeadingChar(std::string text, char c);
std::string StripTrailingChar(std::string text, char c);
std::string StripChar(std::string text, char c); // both ends
std::string StringOfCharN(char c, int n);
const char* YesNo(bool value); // "YES" or "NO"

// "[Error:<code>] <text>" for a platform error code ("[Error:1392] Corrupt
// File Or Disk").
std::string LastErrorText(int code);
// The platform error code that an errno value stands for (2 File Not Found
// for ENOENT, 5 Access Denied for EACCES ...); 31 (General Failure) for
// anything without its own text.
int PlatformErrorFromErrno(int err);

} // namespace help
