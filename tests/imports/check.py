"""What the executable imports: only KnownDLLs (never looked for in the game
folder) and only functions that Windows 7 SP1 has (newer ones are looked up at
run time).

    /usr/bin/python3 tests/imports/check.py EXE tests/imports/win7_imports.txt

Reads the import table by the PE format itself (Debian's python3-pefile), so
the answer does not depend on how a release of binutils prints it. Delay-load
imports count as imports. Exit status 1, naming each offender, when a DLL is
not a KnownDLL or a function is not in the list.
"""
import sys

import pefile

ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "advapi32.dll",
                "shell32.dll", "ole32.dll", "oleaut32.dll"}


def imports(path):
    """(dll, function) pairs, the DLL in lower case; an import by ordinal as <ordinal N>."""
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories(directories=[
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"],
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT"]])
    found = []
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []) + getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", []):
        dll = entry.dll.decode("ascii").lower()
        for symbol in entry.imports:
            name = symbol.name.decode("ascii") if symbol.name else "<ordinal %d>" % symbol.ordinal
            found.append((dll, name))
    return found


def main():
    exe, listed_in = sys.argv[1:3]
    with open(listed_in, encoding="utf-8") as f:
        listed = {(dll.lower(), name) for dll, name in
                  (line.split() for line in f if line.strip() and not line.startswith("#"))}
    found = imports(exe)
    if not found:
        print("no imported function found in %s" % exe)
        return 1
    status = 0
    for dll in sorted({dll for dll, _ in found} - ALLOWED_DLLS):
        print("not a KnownDLL: %s" % dll)
        status = 1
    missing = sorted(set(found) - listed)
    if missing:
        print("not in %s (functions Windows 7 SP1 has): %s" %
              (listed_in.rsplit("/", 1)[-1], ", ".join("%s %s" % m for m in missing)))
        status = 1
    print("%d imported functions checked" % len(found))
    return status


if __name__ == "__main__":
    sys.exit(main())
