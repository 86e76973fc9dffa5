#pragma once
// Error numbers of the serial device layer. The serial link reports device
// failures as negated error numbers and names them through its message table,
// which knows the runtime's numbers: 2 file not found, 3 path not found,
// 5 access denied, 8 insufficient memory. Linux errors are mapped onto those;
// any other error keeps its own number and the system's text.

#include <string>

namespace platform
{

// ENOENT, ENXIO, ENODEV -> 2; ENOTDIR -> 3; EACCES, EPERM, EBUSY and a lock
// held by another process (EWOULDBLOCK) -> 5; ENOMEM -> 8; others unchanged.
int SerialErrorNumber(int posixErrno);

// The operating system's text for an error number ("Broken pipe"), or empty
// when the system has none.
std::string SystemErrorText(int number);

} // namespace platform
