#!/usr/bin/python3
"""Checks the administrative templates as the Group Policy editor reads them: every text and
presentation the ADMX names is in each language's ADML, each text box belongs to an element of
its policy, every reference resolves, and the setting is a plain string for the machine. No
ADMX validator runs here; a template that fails these checks is refused by the editor, or shows
empty names, on the school's domain controller.

Usage: lint_policy.py POLICY_DIR     (solfira.admx, it-IT/ and en-US/solfira.adml)
Prints one `ok ...` or `FAIL ...` line a check, then `setting KEY NAME`, the registry value the
policy writes (KEY as reg.exe takes it); exits 1 when any check failed.
"""

import os
import re
import sys
import xml.etree.ElementTree as ET

NS = "{http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions}"
LANGUAGES = ("it-IT", "en-US")
folder = sys.argv[1]
failures = 0


def check(what, condition, detail=""):
    global failures
    print(f"ok {what}" if condition else f"FAIL {what}{': ' + str(detail) if detail else ''}")
    failures += not condition


def parse(path):
    try:
        return ET.parse(os.path.join(folder, path)).getroot()
    except (OSError, ET.ParseError) as error:
        check(f"{path} read", False, error)
        sys.exit(1)


admx = parse("solfira.admx")
text = ET.tostring(admx, encoding="unicode")
names = {kind: set(re.findall(rf"\$\({kind}\.([^)]+)\)", text)) for kind in ("string", "presentation")}
policies = admx.findall(f"{NS}policies/{NS}policy")
defined = {tag: {e.get("name") for e in admx.iter(NS + tag)} for tag in ("category", "definition")}
for policy in policies:
    name = policy.get("name")
    check(f"{name}: for the machine", policy.get("class") == "Machine", policy.get("class"))
    refs = [(e.tag[len(NS):], e.get("ref")) for e in policy if e.get("ref")]
    check(f"{name}: its category and supportedOn defined", refs and all(
        ref in defined["category" if tag == "parentCategory" else "definition"]
        for tag, ref in refs), refs)
    texts = policy.findall(f"{NS}elements/{NS}text")
    check(f"{name}: a plain string (REG_SZ)", texts and all(
        t.get("expandable", "false") == "false" and t.get("valueName") for t in texts))
revision = admx.find(f"{NS}resources").get("minRequiredRevision")
for language in LANGUAGES:
    adml = parse(f"{language}/solfira.adml")
    strings = {s.get("id"): s.text for s in adml.iter(NS + "string")}
    check(f"{language}: every string", names["string"] <= {i for i, s in strings.items() if s},
          names["string"] - set(strings))
    shown = {p.get("id"): p for p in adml.iter(NS + "presentation")}
    check(f"{language}: every presentation", names["presentation"] <= set(shown),
          names["presentation"] - set(shown))
    check(f"{language}: revision at least the ADMX's {revision}",
          float(adml.get("revision")) >= float(revision), adml.get("revision"))
    for policy in policies:
        ids = {t.get("id") for t in policy.iter() if t.get("valueName")}
        page = shown.get(re.sub(r"\$\(presentation\.(.*)\)", r"\1", policy.get("presentation", "")))
        boxes = {b.get("refId") for b in page} if page is not None else set()
        check(f"{language}: {policy.get('name')}'s text boxes are its elements",
              boxes and boxes == ids, (boxes, ids))
for policy in policies:
    for element in policy.iter(NS + "text"):
        print(f"setting HKLM\\{policy.get('key')} {element.get('valueName')}")
sys.exit(1 if failures else 0)
