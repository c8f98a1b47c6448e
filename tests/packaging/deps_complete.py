#!/usr/bin/python3
"""Everything the build used comes from scripts/deps.sh: every CMake file the configure step
read from outside the source tree (Qt's package configurations among them) and every shared
library the built programs and tests load belongs to a Debian package that deps.sh lists, or
that a listed package pulls in through Depends/Pre-Depends (Recommends do not count: a new
machine installs without them). A package the developers happen to have is caught here,
not on a new machine. Every listed name must also be a real, installed package.

Usage: deps_complete.py --deps scripts/deps.sh --source DIR --build DIR
"""

import argparse
import os
import re
import subprocess
import sys


def listed_packages(deps_script):
    out = subprocess.run(["bash", deps_script, "--list"], check=True, capture_output=True,
                         text=True).stdout
    return [line.strip() for line in out.splitlines() if line.strip()]


def installed_database():
    """name -> (dependency groups, provided names) for every installed package."""
    fields = "${Package}\\t${Status}\\t${Pre-Depends}\\t${Depends}\\t${Provides}\\n"
    out = subprocess.run(["dpkg-query", "-W", "-f", fields], check=True, capture_output=True,
                         text=True).stdout
    packages, providers = {}, {}
    for line in out.splitlines():
        name, status, pre, dep, provides = (line.split("\t") + [""] * 5)[:5]
        if status != "install ok installed":
            continue
        groups = []
        for relation in filter(None, (r.strip() for r in f"{pre},{dep}".split(","))):
            groups.append([bare_name(alt) for alt in relation.split("|")])
        packages[name] = groups
        for virtual in filter(None, (p.strip() for p in provides.split(","))):
            providers.setdefault(bare_name(virtual), set()).add(name)
    return packages, providers


def bare_name(relation):
    """'libc6:any (>= 2.34)' -> 'libc6'"""
    return re.split(r"[\s(:\[]", relation.strip(), maxsplit=1)[0]


def closure(roots, packages, providers):
    """The packages that installing roots brings in by Depends and Pre-Depends. Of the
    alternatives of one relation each installed one counts (any of them may be the one chosen)."""
    seen, todo = set(), list(roots)
    while todo:
        name = todo.pop()
        for real in ([name] if name in packages else sorted(providers.get(name, ()))):
            if real in seen:
                continue
            seen.add(real)
            for group in packages[real]:
                todo.extend(alt for alt in group if alt in packages or alt in providers)
    return seen


def cmake_files_read(build):
    """The files the configure step read, as the build system lists them for re-running it."""
    ninja = os.path.join(build, "build.ninja")
    if os.path.exists(ninja):
        out = subprocess.run(["ninja", "-C", build, "-t", "query", "build.ninja"], check=True,
                             capture_output=True, text=True).stdout
        inputs = out.split("input:", 1)[1].split("outputs:", 1)[0]
        return [t for t in inputs.split() if t not in ("|", "||", "RERUN_CMAKE")]
    makefile_cmake = os.path.join(build, "CMakeFiles", "Makefile.cmake")
    text = open(makefile_cmake, encoding="utf-8").read()
    block = text.split("set(CMAKE_MAKEFILE_DEPENDS", 1)[1].split(")", 1)[0]
    return re.findall(r'"([^"]+)"', block)


def elf_files(build):
    for folder, dirs, files in os.walk(build):
        dirs[:] = [d for d in dirs if d != "CMakeFiles"]
        for f in files:
            path = os.path.join(folder, f)
            if os.path.islink(path) or not os.access(path, os.X_OK):
                continue
            with open(path, "rb") as stream:
                if stream.read(4) == b"\x7fELF":
                    yield path


def linked_libraries(program):
    """(resolved libraries, names not found) of one ELF file, as the dynamic loader sees them."""
    out = subprocess.run(["ldd", program], capture_output=True, text=True).stdout
    found, missing = set(), []
    for line in out.splitlines():
        line = line.strip()
        if "=> not found" in line:
            missing.append(line.split()[0])
        elif "=>" in line:
            target = line.split("=>", 1)[1].split("(")[0].strip()
            if target:
                found.add(target)
        elif line.startswith("/"):
            found.add(line.split()[0]) # the dynamic loader itself
    return found, missing


def path_variants(path):
    """The names dpkg may know a file by: as given, resolved, and across the merged /usr."""
    out = []
    for p in (os.path.normpath(path), os.path.realpath(path)):
        out.append(p)
        for top in ("/lib", "/lib64", "/bin", "/sbin"):
            if p.startswith(top + "/"):
                out.append("/usr" + p)
            elif p.startswith("/usr" + top + "/"):
                out.append(p[len("/usr"):])
    return list(dict.fromkeys(out))


def owners(paths):
    """path -> set of owning packages (empty when no package holds it)."""
    variants = {p: path_variants(p) for p in paths}
    every = sorted({v for vs in variants.values() for v in vs})
    known = {}
    for start in range(0, len(every), 500):
        out = subprocess.run(["dpkg-query", "-S"] + every[start:start + 500],
                             capture_output=True, text=True).stdout
        for line in out.splitlines():
            if line.startswith("diversion ") or ": " not in line:
                continue
            names, path = line.split(": ", 1)
            known.setdefault(path, set()).update(
                n.strip().split(":")[0] for n in names.split(","))
    return {p: set().union(*(known.get(v, set()) for v in vs)) for p, vs in variants.items()}


def main():
    parser = argparse.ArgumentParser()
    for option in ("--deps", "--source", "--build"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    source, build = os.path.realpath(args.source), os.path.realpath(args.build)
    problems = []

    listed = listed_packages(args.deps)
    packages, providers = installed_database()
    for name in listed:
        if name not in packages:
            what = "a virtual package" if name in providers else "not installed"
            problems.append(f"deps.sh lists {name}: {what}; name the real package")
    allowed = closure([n for n in listed if n in packages], packages, providers)

    def outside_tree(path):
        real = os.path.realpath(path)
        return not any(real == top or real.startswith(top + os.sep) for top in (source, build))

    cmake_files = sorted(p for p in cmake_files_read(build) if os.path.isabs(p) and outside_tree(p))
    libraries, users = set(), {}
    programs = sorted(elf_files(build))
    for program in programs:
        found, missing = linked_libraries(program)
        for name in missing:
            problems.append(f"{os.path.relpath(program, build)}: {name} not found")
        for lib in found:
            if outside_tree(lib):
                libraries.add(lib)
                users.setdefault(lib, os.path.relpath(program, build))

    owner = owners(cmake_files + sorted(libraries))
    for path in cmake_files + sorted(libraries):
        what = "read by the configure step" if path in cmake_files else f"linked by {users[path]}"
        if not owner[path]:
            problems.append(f"{path} ({what}) belongs to no Debian package")
        elif not owner[path] & allowed:
            problems.append(f"{path} ({what}) comes from {', '.join(sorted(owner[path]))}, which "
                            "scripts/deps.sh neither lists nor pulls in by Depends/Pre-Depends")

    if not cmake_files or not programs:
        problems.append(f"nothing to check in {build}: {len(cmake_files)} CMake files, "
                        f"{len(programs)} programs (configure and build first)")
    used = set().union(*owner.values()) if owner else set()
    print(f"{len(cmake_files)} CMake files read and {len(libraries)} libraries linked by "
          f"{len(programs)} programs, from {len(used)} packages; scripts/deps.sh lists "
          f"{len(listed)} packages, {len(allowed)} with their dependencies")
    for p in problems:
        print("FAIL " + p)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
