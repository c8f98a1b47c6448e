// The Windows-only calls of platform/WindowsCalls and the Windows file steps of
// platform/PlainFiles, run under Wine by tests/windows/check.sh, and the version resources of
// the built programs.
//
// Usage: tst_windowscalls.exe LOCALE SEPARATOR VERSION PROGRAM...
//   LOCALE     the user locale Wine is expected to report ("it-IT")
//   SEPARATOR  the decimal separator of that locale (",")
//   VERSION    the version text of the resources (SOLFIRA_VERSION_TEXT)
//   PROGRAM    a built .exe whose resources are checked (solfira.exe, solfira-registro.exe)
#include "platform/PlainFiles.h"
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

void testVersionResource(const std::string &program, const std::string &version)
{
    const std::string name = program.substr(program.find_last_of("\\/") + 1);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    std::vector<char> data(size ? size : 1);
    const bool found = size && GetFileVersionInfoA(program.c_str(), 0, size, data.data());
    check(found, name + " carries a version resource");
    if (!found) return;

    // The version text has three parts, major.minor.revision; the fixed part has four
    // numbers, the third one 0 (major,minor,0,revision).
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
        {"CompanyName", "Solfira"},  {"ProductName", "Solfira"}, {"FileVersion", version},
        {"ProductVersion", version}, {"OriginalFilename", name},
    };
    for (const auto &s : strings)
        check(versionString(data, s.key) == s.expected, std::string(s.key) + " is " + s.expected,
              versionString(data, s.key));
    for (const char *key : {"FileDescription", "LegalCopyright"}) {
        const std::string value = versionString(data, key);
        check(value != "(missing)" && !value.empty(), std::string(key) + " is given", value);
    }
    const HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    check(module && FindResourceA(module, "IDI_ICON1", MAKEINTRESOURCEA(14)) != nullptr,
          name + ": the icon is there");
    check(module && FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) != nullptr,
          name + ": the application manifest is there");
    if (module) FreeLibrary(module);
}

// The record files and class logs keep one byte per character in the ANSI code page, 1252
// under every locale this check runs in.
void testAnsiText()
{
    struct Row {
        const char *name;
        std::wstring text;
        std::string bytes;
        bool roundTrip;
    };
    // clang-format off
    const Row rows[] = {
        {"an accented Italian name",        L"Niccol\u00f2",      "Niccol\xf2",    true},
        {"capital accented letter",         L"\u00c8 l'ora",      "\xc8 l'ora",    true},
        {"euro sign, in 1252 only",         L"\u20ac 5",          "\x80 5",        true},
        {"a Polish letter 1252 lacks",      L"\u0141ukasz",       "?ukasz",        false},
        {"no best-fit look-alike",          L"\u0101",            "?",             false},
        {"nothing",                         L"",                  "",              true},
    };
    // clang-format on
    for (const Row &row : rows) {
        const std::string got = platform::ansiFromWide(row.text);
        check(got == row.bytes, std::string("ANSI: ") + row.name, got);
        if (row.roundTrip)
            check(platform::wideFromAnsi(row.bytes) == row.text,
                  std::string("ANSI read back: ") + row.name);
    }
}

std::string readAll(const std::string &path)
{
    std::string out;
    platform::files::readHead(path, 1 << 20, out);
    return out;
}

bool writeRaw(const std::string &path, const std::string &bytes)
{
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

// The shared-folder rules on the Windows code paths: what stands under a name is looked at
// before it is opened, writes replace or append whole, a probe leaves nothing behind.
void testFiles()
{
    namespace files = platform::files;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string dir =
        std::string(temp) + "solfira-files-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    CreateDirectoryA((dir + "cartella").c_str(), nullptr);
    writeRaw(dir + "cut.txt", "Nome: Anna");
    writeRaw(dir + "whole.txt", "riga\r\n");

    using files::FileError;
    const auto text = [](FileError e) {
        return std::to_string(int(e.kind)) + "/" + std::to_string(e.code);
    };
    struct Kind {
        const char *name;
        std::string path;
        FileError expected;
    };
    // clang-format off
    const Kind kinds[] = {
        {"a regular file",          dir + "whole.txt",     {}},
        {"nothing under the name",  dir + "manca.txt",     {}},
        {"a folder",                dir + "cartella",      {FileError::Directory}},
    };
    // clang-format on
    for (const Kind &k : kinds)
        check(files::kindOf(k.path) == k.expected, std::string("kind of ") + k.name,
              text(files::kindOf(k.path)));
    check(files::replaceWhole(dir + "cartella", "x") == FileError{FileError::Directory},
          "a folder under a record's name is refused, not replaced");
    std::string head;
    check(files::readHead(dir + "cartella", 10, head) == FileError{FileError::Directory},
          "a folder under a record's name is refused, not read");

    check(!files::replaceWhole(dir + "velmora.txt", "12\r\n") &&
              readAll(dir + "velmora.txt") == "12\r\n",
          "a record file written whole");
    check(!files::replaceWhole(dir + "velmora.txt", "15\r\n") &&
              readAll(dir + "velmora.txt") == "15\r\n",
          "a record file replaced whole");

    struct Append {
        const char *name;
        std::string file;
        std::string expected;
    };
    // clang-format off
    const Append appends[] = {
        {"to a file ending in a line end", "whole.txt", "riga\r\nNome: Bea\r\n"},
        {"to a file cut mid-line",         "cut.txt",   "Nome: Anna\r\nNome: Bea\r\n"},
        {"to a missing file",              "3A.txt",    "Nome: Bea\r\n"},
    };
    // clang-format on
    for (const Append &a : appends) {
        files::AppendFile log;
        const FileError opened = log.open(dir + a.file);
        const FileError appended = opened ? opened : log.append("Nome: Bea\r\n");
        check(!appended && readAll(dir + a.file) == a.expected,
              std::string("a line appended ") + a.name, readAll(dir + a.file));
    }

    check(!files::probeDirectory(dir, "probe.prova") &&
              GetFileAttributesA((dir + "probe.prova").c_str()) == INVALID_FILE_ATTRIBUTES,
          "a probe of a writable folder succeeds and leaves nothing");
    check(files::probeDirectory(dir + "manca\\", "probe.prova") == FileError::system(ENOENT),
          "a probe of a missing folder says so");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: tst_windowscalls LOCALE SEPARATOR VERSION PROGRAM...\n");
        return 2;
    }
    testDirectoryLengths();
    testRealDirectory();
    testSeparator(argv[1], argv[2]);
    testAnsiText();
    testFiles();
    for (int i = 4; i < argc; ++i)
        testVersionResource(argv[i], argv[3]);
    std::printf("%s\n", failures ? "FAILED" : "PASSED");
    return failures ? 1 : 0;
}
