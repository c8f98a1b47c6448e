#include "PlainFiles.h"

#include <atomic>
#include <cstring>

// The steps shared by both systems; each system's own are in PlainFiles_unix.cpp and
// PlainFiles_win.cpp.
namespace platform::files {

std::string temporaryName(const std::string &path, unsigned long processId)
{
    static std::atomic<unsigned> counter{0};
    return path + "." + std::to_string(processId) + "." + std::to_string(counter++) + ".tmp";
}

std::string systemText(int error)
{
    return std::strerror(error);
}

} // namespace platform::files
