#pragma once

// What a file step met instead of success: the system's error, or something other than a
// regular file standing under the name. No Qt here, like the steps of PlainFiles.h.

namespace platform::files {

struct FileError {
    enum Kind : unsigned char {
        None,      // the step went through
        System,    // the system refused: `code` says why
        Link,      // a symbolic link (a reparse point on Windows), never followed
        Directory, // a folder
        Special,   // a pipe, a device or a socket
    };
    Kind kind = None;
    int code = 0; // for System: the system's error as an errno value (Windows errors mapped)

    // The system's error `code`, or no error at all when it is 0.
    static constexpr FileError system(int code)
    {
        return code ? FileError{System, code} : FileError{};
    }
    // Something other than a regular file stands under the name.
    constexpr bool notRegular() const { return kind >= Link; }
    constexpr explicit operator bool() const { return kind != None; }
    friend constexpr bool operator==(const FileError &, const FileError &) = default;
};

} // namespace platform::files
