// The Windows-only calls of platform/WindowsCalls, run under Wine by tests/windows/check.sh,
// and the version resource of the program, linked into this test as into solfira.exe.
//
// Usage: tst_windowscalls.exe LOCALE SEPARATOR VERSION
//   LOCALE     the user locale Wine is expected to report ("it-IT")
//   SEPARATOR  the decimal separator of that locale (",")
//   VERSION    the version text of the resource ("1.00.0006")
#include "platform/WindowsCalls.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int failures = 0;

void check(bool ok, const std::string &what, const std::string &detail = std::string())
{
    std::printf("%s %s%s%s\n", ok ? "ok  " : "FAIL", what.c_str(), detail.empty() ? "" : ": ",
                detail.c_str());
    if (!ok) ++failures;
}

// A stand-in for GetWindowsDirectoryA that answers from a script, one answer per call, and
// keeps the buffer sizes it was given.
struct ScriptedDirectory {
    std::vector<std::string> answers; // the directory the system holds at each call
    bool fails = false;
    std::vector<unsigned> sizesGiven;
};
ScriptedDirectory *script = nullptr;

unsigned scriptedQuery(char *buffer, unsigned size)
{
    script->sizesGiven.push_back(size);
    if (script->fails) return 0;
    const size_t call = script->sizesGiven.size() - 1;
    const std::string &dir =
        script->answers.at(call < script->answers.size() ? call : script->answers.size() - 1);
    if (dir.size() + 1 > size)
        return unsigned(dir.size() + 1); // too small: the size needed, NUL included
    dir.copy(buffer, dir.size());
    buffer[dir.size()] = '\0';
    return unsigned(dir.size());
}

void testDirectoryLengths()
{
    const std::string long200 = "C:\\" + std::string(197, 'w');
    const std::string fits127 = "C:\\" + std::string(124, 'w');
    const std::string needs129 = "C:\\" + std::string(125, 'w');
    struct Row {
        const char *name;
        std::vector<std::string> answers; // the directory at each call; none: the call fails
        std::string expected;
        size_t calls;
    };
    const Row rows[] = {
        {"short directory", {"C:\\WINDOWS"}, "C:\\WINDOWS\\", 1},
        {"directory already ending in a backslash", {"C:\\"}, "C:\\", 1},
        {"127 characters fit the first buffer", {fits127}, fits127 + "\\", 1},
        {"128 characters need a second call", {needs129}, needs129 + "\\", 2},
        {"200 characters, asked again, not cut", {long200}, long200 + "\\", 2},
        {"system failure gives no directory", {}, "", 1},
        {"directory grown between the calls gives none", {long200, long200 + long200}, "", 2},
    };
    for (const Row &row : rows) {
        ScriptedDirectory system;
        system.answers = row.answers;
        system.fails = row.answers.empty();
        script = &system;
        const std::string got = platform::windowsDirectoryFrom(scriptedQuery);
        script = nullptr;
        check(got == row.expected && system.sizesGiven.size() == row.calls &&
                  system.sizesGiven.front() == 128,
              row.name,
              "got " + std::to_string(got.size()) + " characters in " +
                  std::to_string(system.sizesGiven.size()) + " calls");
        if (row.calls == 2 && !row.expected.empty())
            check(system.sizesGiven.back() > row.expected.size() - 1,
                  std::string(row.name) + ": second buffer holds it",
                  std::to_string(system.sizesGiven.back()));
    }
}

void testRealDirectory()
{
    const std::string dir = platform::windowsDirectory();
    check(!dir.empty() && dir.back() == '\\', "the Windows directory ends in a backslash", dir);
    const DWORD attributes = GetFileAttributesA(dir.c_str());
    check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
          "the Windows directory exists", dir);
    char direct[MAX_PATH + 1] = {};
    const UINT n = GetWindowsDirectoryA(direct, MAX_PATH + 1);
    std::string expected(direct, n);
    if (expected.empty() || expected.back() != '\\') expected += '\\';
    check(dir == expected, "it is the directory the system gives", expected);
}

void testSeparator(const std::string &locale, const std::string &separator)
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    std::string reported;
    for (const wchar_t *c = name; *c; ++c)
        reported += char(*c);
    check(reported == locale, "Wine reports the user locale " + locale, reported);
    check(platform::userDecimalSeparator() == separator,
          "the decimal separator of " + reported + " is '" + separator + "'",
          "'" + platform::userDecimalSeparator() + "'");
}

std::string versionString(const std::vector<char> &data, const char *key)
{
    char *value = nullptr;
    UINT size = 0;
    const std::string path = std::string("\\StringFileInfo\\041004E4\\") + key;
    if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void **>(&value), &size) ||
        !value)
        return "(missing)";
    return std::string(value);
}

void testVersionResource(const std::string &version)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(self, &ignored);
    std::vector<char> data(size ? size : 1);
    const bool found = size && GetFileVersionInfoA(self, 0, size, data.data());
    check(found, "the executable carries a version resource");
    if (!found) return;

    // The version text has three parts, major.minor.revision ("1.00.0006"); the fixed
    // part has four numbers, the third one 0 (1,0,0,6).
    unsigned parts[4] = {};
    const int read = std::sscanf(version.c_str(), "%u.%u.%u", &parts[0], &parts[1], &parts[3]);
    check(read == 3, "the version text has three parts", version);
    const DWORD high = MAKELONG(parts[1], parts[0]);
    const DWORD low = MAKELONG(parts[3], parts[2]);
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&fixed), &length);
    check(fixed && fixed->dwFileVersionMS == high && fixed->dwFileVersionLS == low &&
              fixed->dwProductVersionMS == high && fixed->dwProductVersionLS == low,
          "file and product version " + std::to_string(parts[0]) + "," + std::to_string(parts[1]) +
              "," + std::to_string(parts[2]) + "," + std::to_string(parts[3]));
    check(fixed && fixed->dwFileType == VFT_APP, "the file is an application");

    WORD *translation = nullptr;
    VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                   reinterpret_cast<void **>(&translation), &length);
    check(translation && length >= 4 && translation[0] == 0x0410 && translation[1] == 1252,
          "language Italian (0x0410), code page 1252");

    const struct {
        const char *key;
        std::string expected;
    } strings[] = {
        {"CompanyName", "Solfira"},  {"ProductName", "Solfira"},          {"FileVersion", version},
        {"ProductVersion", version}, {"OriginalFilename", "solfira.exe"},
    };
    for (const auto &s : strings)
        check(versionString(data, s.key) == s.expected, std::string(s.key) + " is " + s.expected,
              versionString(data, s.key));
    for (const char *key : {"FileDescription", "LegalCopyright"}) {
        const std::string value = versionString(data, key);
        check(value != "(missing)" && !value.empty(), std::string(key) + " is given", value);
    }
    check(LoadIconA(GetModuleHandleA(nullptr), "IDI_ICON1") != nullptr, "the icon is there");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: tst_windowscalls LOCALE SEPARATOR VERSION\n");
        return 2;
    }
    testDirectoryLengths();
    testRealDirectory();
    testSeparator(argv[1], argv[2]);
    testVersionResource(argv[3]);
    std::printf("%s\n", failures ? "FAILED" : "PASSED");
    return failures ? 1 : 0;
}
