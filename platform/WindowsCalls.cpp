#include "WindowsCalls.h"

#include <windows.h>

#include <vector>

namespace platform {

std::string windowsDirectoryFrom(WindowsDirectoryQuery query)
{
    std::vector<char> buffer(128, '\0');
    unsigned n = query(buffer.data(), unsigned(buffer.size()));
    if (n >= buffer.size()) {
        // Too long for the buffer: n is the size needed, terminating NUL included.
        buffer.assign(size_t(n) + 1, '\0');
        n = query(buffer.data(), unsigned(buffer.size()));
    }
    // Failed, or grew again in between: better no directory than a wrong one.
    if (n == 0 || n >= buffer.size()) return std::string();
    std::string dir(buffer.data(), n);
    if (dir.back() != '\\') dir += '\\';
    return dir;
}

std::string windowsDirectory()
{
    return windowsDirectoryFrom(
        [](char *buffer, unsigned size) -> unsigned { return GetWindowsDirectoryA(buffer, size); });
}

std::string userDecimalSeparator()
{
    const LCID locale = GetUserDefaultLCID();
    const int needed = GetLocaleInfoA(locale, LOCALE_SDECIMAL, nullptr, 0);
    if (needed <= 0) return std::string();
    std::vector<char> buffer(size_t(needed), '\0');
    const int k = GetLocaleInfoA(locale, LOCALE_SDECIMAL, buffer.data(), needed);
    if (k <= 0) return std::string();
    return std::string(buffer.data(), size_t(k - 1));
}

std::string ansiFromWide(const std::wstring &text)
{
    if (text.empty()) return std::string();
    const int length = int(text.size());
    // No "best fit": a character the code page lacks is never written as a look-alike.
    const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                           nullptr, 0, "?", nullptr);
    if (needed <= 0) return std::string();
    std::string out(size_t(needed), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, out.data(), needed, "?",
                        nullptr);
    return out;
}

std::wstring wideFromAnsi(const std::string &bytes)
{
    if (bytes.empty()) return std::wstring();
    const int length = int(bytes.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring out(size_t(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, out.data(), needed);
    return out;
}

} // namespace platform
