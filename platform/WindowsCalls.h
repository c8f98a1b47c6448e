#pragma once

// The two Windows calls the program makes, kept apart from Qt so they can be built and
// checked on their own with a Windows compiler. Windows only.

#include <string>

namespace platform {

// The Windows directory ("C:\WINDOWS\"), always ending in a backslash. A directory too long
// for the first buffer is asked for again with a buffer of the size the system asks for.
std::string windowsDirectory();

// The user's decimal separator as the system gives it (normally one character; may be empty
// or longer on a customised system).
std::string userDecimalSeparator();

} // namespace platform
