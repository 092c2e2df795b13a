// Which typed log file names the program may open for appending: plain files only,
// never a device, a directory or the system's device namespace.
#pragma once
#include <cstddef>
#include <string>

// The longest name the system's 8-bit file calls take, without its NUL.
inline constexpr size_t MaxLogPathLength = 259;

// Decided on the name alone, the same on every system: not empty and not longer than
// MaxLogPathLength; no control character, none of < > " | ? *, no colon but a drive's
// (none names a stream); not \\.\ or \\?\ in front; and a last name that is neither
// empty (a directory) nor a device: CON, PRN, AUX, NUL, CLOCK$, CONIN$, CONOUT$, COM0-9
// and LPT0-9 (also with the superscripts 1, 2 and 3), in any letter case, with or
// without an extension, directories in front or the trailing dots and blanks the system
// drops. The file system still has its say when the file is opened.
bool UsableLogPath(const std::string& path);
