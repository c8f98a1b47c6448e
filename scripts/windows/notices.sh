#!/usr/bin/env bash
# The third-party notices of the Windows programs: what the static solfira.exe and
# solfira-registro.exe contain besides Solfira's own code (Qt's qtbase, the libraries bundled in
# that Qt build, the mingw-w64 runtime), as plain ASCII text with CR LF line ends, shown by the
# installer and by the programs' About box.
# Usage: scripts/windows/notices.sh [--license LICENSE] QT_CACHE_DIR OUT_FILE
#   QT_CACHE_DIR  a Qt built by scripts/windows/build-qt.sh (version.txt, patches.txt,
#                 options.txt, licenses/, and prefix/, whose mkspecs tell which features are in)
#   --license     writes that file (Solfira's GPL) first, then the notices: the installer's text
# The mingw-w64 notices come from /usr/share/doc (MINGW_DOC overrides that folder, for tests).
# Every qt_attribution.json of the Qt source must be judged in RULES below: one that is not
# (a newer Qt) stops the script rather than being silently left out.
set -euo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
license=""
if [ "${1:-}" = "--license" ]; then
  license="$2"
  shift 2
fi
[ $# -eq 2 ] || { echo "usage: $0 [--license LICENSE] QT_CACHE_DIR OUT_FILE" >&2; exit 2; }
QT="$1"
OUT="$2"
for f in version.txt patches.txt options.txt; do
  [ -f "$QT/$f" ] || { echo "$0: $QT/$f missing: not a Qt cache folder" >&2; exit 1; }
done
# A cache made before all the licence texts were collected gets them now.
bash "$HERE/qt-licenses.sh" "$QT"

pkg() { dpkg-query -W -f='${source:Package} ${source:Version}' "$1" 2>/dev/null || echo "$1 ?"; }
export GCC_SOURCE="${GCC_SOURCE:-$(pkg g++-mingw-w64-x86-64-posix)}"
export MINGW_SOURCE="${MINGW_SOURCE:-$(pkg mingw-w64-x86-64-dev)}"
export MINGW_DOC="${MINGW_DOC:-/usr/share/doc}"

tmp="$OUT.tmp"
trap 'rm -f "$tmp"' EXIT
python3 - "$QT" "$tmp" "$license" <<'PY'
import glob, json, os, re, sys, unicodedata

qt, out, license_file = sys.argv[1:4]
lic_root = os.path.join(qt, "licenses")

# Which attributions are compiled into the programs. A rule is a list of Qt features that must
# be on ("png") or off ("!system-png"); True keeps, a text drops with the reason.
CORE = True
RULES = {
    "zlib": ["!system-zlib"],
    "libpng": ["png", "!system-png"],
    "pcre2": ["regularexpression", "pcre2", "!system-pcre2"],
    "pcre2-sljit": ["regularexpression", "pcre2", "!system-pcre2"],
    "harfbuzz-ng": ["harfbuzz", "!system-harfbuzz"],
    "doubleconversion": ["doubleconversion", "!system-doubleconversion"],
    "blake2": ["!system-libb2"],
    "md4c": ["textmarkdownreader", "!system-textmarkdownreader"],
    "icc-sRGB-color-profile": ["pdf"],
    "aglfn": ["pdf"],
    "freetype": ["freetype", "!system-freetype"],
    "freetype-zlib": ["freetype", "!system-freetype"],
    "freetype-bdf": ["freetype", "!system-freetype"],
    "freetype-pcf": ["freetype", "!system-freetype"],
    "libjpeg": ["jpeg", "!system-jpeg"],
    "opengl-headers": ["opengl"],
    "opengl-es2-headers": ["opengl"],
    # Qt Core and Qt Gui on every platform
    "easing": CORE, "md4": CORE, "md5": CORE, "sha1": CORE, "sha3_endian": CORE,
    "sha3_keccak": CORE, "rfc6234": CORE, "siphash": CORE, "tinycbor": CORE,
    "unicode-character-database": CORE, "unicode-cldr": CORE, "grayraster": CORE,
    "smooth-scaling-algorithm": CORE, "xserverhelper": CORE, "webgradients": CORE,
    # never in a Windows program of Qt Core, Gui, Widgets and Print Support
    "forkfd": "Unix only", "pixman": "ARM NEON only", "xcb-xinput": "X11 only",
    "qeventdispatcher_cf": "macOS only", "cocoa-platform-plugin": "macOS only",
    "android-native-style": "Android only", "android-gradle-wrapper": "Android only",
    "vera_font": "WebAssembly only", "dejayvu": "WebAssembly only",
    "libdbus-1-headers": "Qt D-Bus, not linked", "psl": "Qt Network, not linked",
    "libpsl": "Qt Network, not linked", "valgrind": "Qt Test, not linked",
    "cycle": "Qt Test, not linked", "linuxperf": "Qt Test, not linked",
    "extra-cmake-modules": "build system", "kwin": "build system",
}


def fail(message):
    sys.stderr.write("notices.sh: %s\n" % message)
    sys.exit(1)


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def features():
    """Qt's features as built: the enabled and disabled lists of the prefix's mkspecs."""
    on, off = set(), set()
    for pri in glob.glob(os.path.join(qt, "prefix/mkspecs/modules/qt_lib_*.pri")):
        for line in read(pri).splitlines():
            m = re.match(r"QT\.\w+\.(enabled|disabled)_features\s*=(.*)", line)
            if m:
                (on if m.group(1) == "enabled" else off).update(m.group(2).split())
    if not on:
        fail("no feature lists in %s/prefix/mkspecs/modules: is Qt built?" % qt)
    return lambda name: True if name in on else False if name in off else None


def kept(entry_id, feature):
    rule = RULES.get(entry_id)
    # Vulkan's own files (its memory allocator, its API registry) come only with Vulkan.
    if rule is None and entry_id.lower().startswith("vulkan"):
        rule = ["vulkan"]
    if rule is None:
        fail("no rule for the Qt attribution '%s': judge whether the programs contain it" % entry_id)
    if rule is True or isinstance(rule, str):
        return rule is True
    for term in rule:
        name = term.lstrip("!")
        value = feature(name)
        if value is None:
            fail("cannot tell whether Qt feature '%s' is on (for '%s')" % (name, entry_id))
        if value == term.startswith("!"):
            return False
    return True


def attributions():
    found = []
    for path in sorted(glob.glob(os.path.join(lic_root, "**/qt_attribution.json"), recursive=True)):
        data = json.loads(read(path), strict=False)
        for entry in data if isinstance(data, list) else [data]:
            found.append((os.path.dirname(path), entry))
    if not found:
        fail("no qt_attribution.json under %s" % lic_root)
    return found


ASCII = {"\u00a9": "(C)", "\u00ae": "(R)", "\u00a7": "Sec.", "\u00df": "ss", "\u00e6": "ae",
         "\u00f8": "o", "\u0142": "l", "\u2018": "'", "\u2019": "'", "\u201c": '"',
         "\u201d": '"', "\u2013": "-", "\u2014": "-", "\u2022": "*", "\u2026": "...",
         "\u00a0": " ", "\ufeff": "", "\f": ""}


def ascii_text(text):
    """Plain ASCII: shown alike by the installer and the About box whatever the code page."""
    result = []
    for ch in text:
        if ch in ASCII:
            result.append(ASCII[ch])
        elif ord(ch) < 128:
            result.append(ch)
        else:
            base = unicodedata.normalize("NFKD", ch).encode("ascii", "ignore").decode()
            result.append(base or "?")
    lines = "".join(result).replace("\r\n", "\n").replace("\r", "\n").split("\n")
    return "\n".join(line.expandtabs(8).rstrip() for line in lines).strip("\n") + "\n"


def first_line(path):
    return read(path).strip().splitlines()[0]


def heading(text, rule="="):
    return "\n\n%s\n%s\n\n" % (text, rule * len(text))


version = first_line(os.path.join(qt, "version.txt"))
upstream = re.sub(r"[+~].*$", "", version.split(":")[-1].rsplit("-", 1)[0])
feature = features()
parts = []
if license_file:
    parts.append(read(license_file))
    parts.append("\n\n" + "*" * 72 + "\n")
parts.append(heading("NOTE SUL SOFTWARE DI TERZE PARTI"))
parts.append(
    "I programmi per Windows solfira.exe e solfira-registro.exe contengono, oltre al codice\n"
    "di Solfira, il software elencato qui, collegato staticamente:\n"
    "  1. Qt %s (il modulo qtbase: Qt Core, Qt Gui, Qt Widgets, Qt Print Support);\n"
    "  2. le librerie incluse in questa compilazione di Qt;\n"
    "  3. le librerie di supporto del compilatore (GCC e mingw-w64).\n" % upstream)

parts.append(heading("1. Qt %s" % upstream, "-"))
patches = [p for p in read(os.path.join(qt, "patches.txt")).split() if p]
options = [o for o in read(os.path.join(qt, "options.txt")).split() if o]
parts.append(
    "Copyright (C) The Qt Company Ltd. e altri autori.\n"
    "Qt e' distribuito con la licenza GNU Lesser General Public License versione 3\n"
    "(LGPL-3.0), il cui testo completo segue; la LGPL-3.0 rimanda alla GNU General Public\n"
    "License versione 3, che e' la licenza di Solfira stessa.\n\n"
    "Il codice sorgente usato e' quello del pacchetto sorgente Debian qt6-base, versione\n"
    "%s; su un sistema Debian lo si ottiene con:\n"
    "    apt-get source qt6-base=%s\n\n"
    "Modifiche applicate al sorgente (dalla cartella debian/patches del pacchetto):\n%s\n"
    "Opzioni di configurazione (CMake), per Windows a 64 bit con mingw-w64:\n%s\n"
    "Il codice sorgente completo di Solfira e' distribuito con la GNU GPL: con esso e con il\n"
    "sorgente di Qt indicato sopra si possono ricompilare i programmi e collegarli a una\n"
    "versione modificata di Qt.\n"
    % (version, version, "".join("    %s\n" % p for p in patches) or "    nessuna\n",
       "".join("    %s\n" % o for o in options)))
lgpl = os.path.join(lic_root, "LICENSES/LGPL-3.0-only.txt")
if not os.path.isfile(lgpl):
    fail("%s missing" % lgpl)
parts.append("\n" + read(lgpl))

parts.append(heading("2. Librerie incluse in Qt", "-"))
shown = {}
number = 0
for folder, entry in attributions():
    entry_id = entry.get("Id", "")
    if not kept(entry_id, feature):
        continue
    number += 1
    title = "2.%d  %s" % (number, entry.get("Name", entry_id))
    if entry.get("Version"):
        title += " " + entry["Version"]
    parts.append("\n\n%s\n%s\n" % (title, "~" * len(title)))
    if entry.get("QtUsage"):
        parts.append("Uso in Qt: %s\n" % " ".join(entry["QtUsage"].split()))
    if entry.get("Copyright"):
        parts.append("%s\n" % entry["Copyright"].strip())
    parts.append("Licenza: %s\n" % (entry.get("License") or entry.get("LicenseId") or "?"))
    files = entry.get("LicenseFiles") or ([entry["LicenseFile"]] if entry.get("LicenseFile") else [])
    paths = [os.path.normpath(os.path.join(folder, f)) for f in files]
    for path in paths:
        if not os.path.isfile(path):
            fail("licence text %s of '%s' missing" % (path, entry_id))
        if path in shown:
            parts.append("(Testo della licenza: vedi %s.)\n" % shown[path])
        else:
            shown[path] = title.split("  ")[0]
            parts.append("\n" + read(path))

parts.append(heading("3. Librerie di supporto del compilatore", "-"))
doc = os.environ["MINGW_DOC"]
gcc = read(os.path.join(doc, "gcc-mingw-w64-x86-64-posix-runtime/copyright"))
m = re.search(r"^GCC is Copyright.*?(?=^libquadmath/)", gcc, re.S | re.M)
if not m or "GCC RUNTIME LIBRARY EXCEPTION" not in m.group(0):
    fail("GCC's copyright and runtime library exception not found in %s" % doc)
parts.append(
    "3.1  libstdc++ e libgcc (GCC)\n\n"
    "Dal pacchetto sorgente Debian %s (apt-get source %s).\n"
    "Sono distribuite con la GNU GPL versione 3 o successiva (il testo e' quello della\n"
    "licenza di Solfira) con l'eccezione GCC Runtime Library Exception 3.1:\n\n%s"
    % (os.environ["GCC_SOURCE"], "=".join(os.environ["GCC_SOURCE"].split()), m.group(0)))
mingw = read(os.path.join(doc, "mingw-w64-x86-64-dev/copyright"))
if "winpthreads" not in mingw:
    fail("the mingw-w64 copyright in %s does not cover winpthreads" % doc)
parts.append(
    "\n\n3.2  mingw-w64: la libreria di avvio e di runtime C (CRT) e winpthreads\n\n"
    "Dal pacchetto sorgente Debian %s (apt-get source %s).\n"
    "Segue il file di copyright di Debian per l'intero pacchetto, che copre anche\n"
    "intestazioni e strumenti non contenuti nei programmi.\n\n%s"
    % (os.environ["MINGW_SOURCE"], "=".join(os.environ["MINGW_SOURCE"].split()), mingw))

with open(out, "w", encoding="ascii", newline="\r\n") as f:
    f.write(ascii_text("".join(parts)))
PY
mv "$tmp" "$OUT"
