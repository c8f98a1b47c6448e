#!/usr/bin/python3
"""Reads the MSI package's tables back with msiinfo and checks what no validator checks here:
the faults wixl lets through silently and that only show on a school's machines (a value
dropped by a managed install, an old version left beside the new one, registry values under
WOW6432Node, advertised shortcuts, an icon that doubles the package).

Usage: lint_msi.py MSI VERSION      (VERSION: the ProductVersion it must have, like 1.2.3)
Prints one `ok ...` or `FAIL ...` line a check; exits 1 when any check failed.
"""

import os
import subprocess
import sys
import tempfile

# The package's identity across versions: a new one would install beside the old instead of
# upgrading it, on every machine of every school.
UPGRADE_CODE = "{3DB552F5-DD0C-43EA-BEC9-1D0F27A5BC20}"
COMPONENT_64BIT = 0x100
LOCATOR_64BIT = 0x10
UPGRADE_ONLY_DETECT = 0x2
UPGRADE_INCLUDE_MAXIMUM = 0x200
PROPERTY_SETTER = 51  # custom action type: a formatted text into a property
REMOVE_ON_UNINSTALL = 2

MSI, VERSION = os.path.abspath(sys.argv[1]), sys.argv[2]
failures = 0
# Exporting a table with a binary column writes its streams as files into the current folder.
scratch = tempfile.TemporaryDirectory()


def check(what, condition, detail=""):
    global failures
    print(f"ok {what}" if condition else f"FAIL {what}{': ' + str(detail) if detail else ''}")
    failures += not condition


def msiinfo(command, *args):
    return subprocess.run(["msiinfo", command, MSI, *args], capture_output=True,
                          cwd=scratch.name, check=False).stdout


def table(name):
    """The table's rows (header lines dropped), each a list of its columns as text."""
    lines = msiinfo("export", name).decode("utf-8", "replace").replace("\r", "").split("\n")
    return [line.split("\t") for line in lines[3:] if line]


properties = {row[0]: row[1] for row in table("Property")}
components = {row[0]: row for row in table("Component")}  # Id, Guid, Directory, Attributes, ..
directories = {row[0]: (row[1], row[2]) for row in table("Directory")}
customs = {row[0]: row for row in table("CustomAction")}  # Id, Type, Source, Target


def sequence(name):
    return {row[0]: (int(row[2]), row[1]) for row in table(name)}


def folder(directory):
    """A Directory row's path from the program folder's parent down, like
    ProgramFiles64Folder/Solfira/policy."""
    parts = []
    while directory in directories and directories[directory][0]:
        parent, name = directories[directory]
        parts.insert(0, name.split("|")[-1] if name != "." else directory)
        directory = parent
    return "/".join(parts)


suminfo = msiinfo("suminfo").decode("utf-8", "replace")
check("summary template x64;1040", "\nTemplate: x64;1040\n" in suminfo,
      [line for line in suminfo.splitlines() if line.startswith("Template")])
codepage = msiinfo("export", "_ForceCodepage").replace(b"\r", b"").split(b"\n")
check("code page 1252", b"1252\t_ForceCodepage" in codepage, codepage)
check("ProductLanguage 1040", properties.get("ProductLanguage") == "1040")
check("per machine (ALLUSERS=1)", properties.get("ALLUSERS") == "1")
check(f"ProductVersion {VERSION}", properties.get("ProductVersion") == VERSION,
      properties.get("ProductVersion"))
limits = [255, 255, 65535]
numbers = VERSION.split(".")
check("ProductVersion is three numbers within 255.255.65535", len(numbers) == 3 and
      all(n.isdigit() and int(n) <= limit for n, limit in zip(numbers, limits)), VERSION)
check("UpgradeCode " + UPGRADE_CODE, properties.get("UpgradeCode") == UPGRADE_CODE,
      properties.get("UpgradeCode"))

upgrades = [row for row in table("Upgrade") if row[0] == UPGRADE_CODE]
older = [row for row in upgrades if row[2] == VERSION and not row[1]
         and not int(row[4]) & (UPGRADE_ONLY_DETECT | UPGRADE_INCLUDE_MAXIMUM)]
newer = [row for row in upgrades if row[1] == VERSION and int(row[4]) & UPGRADE_ONLY_DETECT]
check("an older version is found and removed", len(older) == 1, upgrades)
conditions = {row[0] for row in table("LaunchCondition")}
check("a newer version refuses the install", len(newer) == 1 and
      f"NOT {newer[0][6]}" in conditions, (newer, conditions))
secure = set(properties.get("SecureCustomProperties", "").split(";"))
wanted = {"DATADIR"} | {row[6] for row in upgrades}
check("SecureCustomProperties lists " + ";".join(sorted(wanted)), wanted <= secure, secure)

execute = sequence("InstallExecuteSequence")
at = {action: execute.get(action, (0, ""))[0] for action in
      ("InstallValidate", "RemoveExistingProducts", "InstallInitialize")}
check("RemoveExistingProducts between InstallValidate and InstallInitialize",
      at["InstallValidate"] < at["RemoveExistingProducts"] < at["InstallInitialize"], at)

# DATADIR: found in the registry by AppSearch, a value from the command line saved before
# that search and put back after it, and written to the registry, all in the 64-bit view.
locators = {row[0]: row for row in table("RegLocator")}  # Signature, Root, Key, Name, Type
searches = [locators.get(row[1]) for row in table("AppSearch") if row[0] == "DATADIR"]
check("DATADIR searched in HKLM\\Software\\Solfira DataDir, 64-bit view",
      any(s and s[1:4] == ["2", "Software\\Solfira", "DataDir"] and int(s[4]) & LOCATOR_64BIT
          for s in searches), searches)
saves = [c for c in customs.values()
         if int(c[1]) & 0x3F == PROPERTY_SETTER and c[3] == "[DATADIR]"]
restores = [c for c in customs.values() if int(c[1]) & 0x3F == PROPERTY_SETTER
            and c[2] == "DATADIR" and any(c[3] == f"[{s[2]}]" for s in saves)]
for name in ("InstallUISequence", "InstallExecuteSequence"):
    steps = sequence(name)
    order = [steps.get(c[0], (0,))[0] for c in saves[:1]] + [steps.get("AppSearch", (0,))[0]] + \
            [steps.get(c[0], (0,))[0] for c in restores[:1]] + [steps.get("LaunchConditions", (0,))[0]]
    check(f"{name}: DATADIR saved, searched, restored, then the launch conditions",
          len(order) == 4 and 0 < order[0] < order[1] < order[2] < order[3], order)
registry = [row for row in table("Registry") if row[3] == "DataDir"]
check("DataDir=[DATADIR] in HKLM\\Software\\Solfira",
      [row[1:5] for row in registry] == [["2", "Software\\Solfira", "DataDir", "[DATADIR]"]],
      registry)
plain = [c for c, row in components.items() if not int(row[3]) & COMPONENT_64BIT]
check("every component 64-bit (no WOW6432Node)", not plain, plain)

files = {row[2].split("|")[-1] + "@" + folder(components[row[1]][2]) for row in table("File")}
program = "ProgramFiles64Folder/Solfira"
wanted = {f"solfira.exe@{program}", f"solfira-registro.exe@{program}",
          f"Solfira-licenza.txt@{program}", f"solfira.admx@{program}/policy",
          f"solfira.adml@{program}/policy/it-IT", f"solfira.adml@{program}/policy/en-US"}
check("the programs, the licence and the policy templates in Program Files", files == wanted,
      files ^ wanted)
check("one cabinet, inside the package", [row[3] for row in table("Media")] == ["#solfira.cab"])

file_keys = {row[0] for row in table("File")}
shortcuts = {row[2].split("|")[-1]: row for row in table("Shortcut")}
check("shortcuts Solfira and Registro di Solfira, not advertised, in a folder of their own",
      {name: row[4] for name, row in shortcuts.items()} ==
      {"Solfira": "[INSTALLDIR]solfira.exe",
       "Registro di Solfira": "[INSTALLDIR]solfira-registro.exe"} and
      all(components[row[3]][5] not in file_keys for row in shortcuts.values()),
      [row[:5] for row in shortcuts.values()])
menus = {row[1] for row in shortcuts.values()}
removed = [row for row in table("RemoveFile")
           if row[3] in menus and int(row[4]) & REMOVE_ON_UNINSTALL and not row[2]]
check("the Start-menu folder removed on uninstall", len(removed) == len(menus) == 1, removed)

icons = [row[0] for row in table("Icon")]
ico = msiinfo("extract", "Icon." + icons[0]) if icons else b""
check("the icon is an .ico file, not a program", ico[:4] == b"\0\0\1\0" and
      properties.get("ARPPRODUCTICON") in icons, (icons, ico[:4], len(ico)))
sys.exit(1 if failures else 0)
