#pragma once

// The Windows calls the program makes, kept apart from Qt so they can be built and
// checked on their own with a Windows compiler. Windows only.

#include <string>

namespace platform {

// The Windows directory ("C:\WINDOWS\"), always ending in a backslash; empty when the system
// cannot give it. A directory too long for the first buffer of 128 characters is asked for
// again with a buffer of the size the system asks for, never cut short.
std::string windowsDirectory();

// The user's decimal separator as the system gives it (normally one character; may be empty
// or longer on a customised system).
std::string userDecimalSeparator();

// `text` in the Windows ANSI code page (1252 on an Italian or English system), the single-byte
// form of the record files and class logs; a character the code page cannot hold becomes '?'.
std::string ansiFromWide(const std::wstring &text);

// Bytes in the Windows ANSI code page back to text.
std::wstring wideFromAnsi(const std::string &bytes);

// What windowsDirectory() does with the answers of `query`, a function that behaves as
// GetWindowsDirectoryA: it fills `buffer` of `size` characters and returns the length of
// the text stored, or, when the buffer is too small, the size needed with the terminating
// NUL, or 0 on failure.
using WindowsDirectoryQuery = unsigned (*)(char *buffer, unsigned size);
std::string windowsDirectoryFrom(WindowsDirectoryQuery query);

} // namespace platform
