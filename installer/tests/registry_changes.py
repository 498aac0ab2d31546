#!/usr/bin/env python3
"""Keys and values that differ between two registry exports (regedit /E, UTF-16).

    registry_changes.py BEFORE.reg AFTER.reg [--allow KEY-PREFIX]...

Prints one line per key or value added ("+") or removed ("-"), leaving out
what Wine itself rewrites in every session (its device keys) and whatever
lies under an allowed key; exits 1 when anything is printed.
"""
import sys

# Wine sets its devices up again in every session and rewrites their keys
# (display adapters, monitors, video); nothing of ours lives there.
WINE_SESSION_KEYS = (r"HKEY_LOCAL_MACHINE\System",)


def entries(path):
    with open(path, encoding="utf-16") as export:
        text = export.read().replace("\\\n", "")
    found, key = set(), None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            key = line[1:-1]
            found.add((key, None))
        elif key and line and not line.startswith(";"):
            found.add((key, line))
    return found


def ignored(entry, allowed):
    key, value = entry
    under = lambda prefix: key.lower() == prefix.lower() or key.lower().startswith(
        prefix.lower() + "\\")
    return any(under(k) for k in WINE_SESSION_KEYS + tuple(allowed))


def main(argv):
    allowed = [argv[i + 1] for i, a in enumerate(argv) if a == "--allow"]
    files = [a for i, a in enumerate(argv) if a != "--allow" and (i == 0 or argv[i - 1] != "--allow")]
    if len(files) != 2:
        sys.stderr.write(__doc__)
        return 2
    before, after = entries(files[0]), entries(files[1])
    changes = [("-", e) for e in before - after] + [("+", e) for e in after - before]
    changes = sorted((c for c in changes if not ignored(c[1], allowed)), key=lambda c: c[1][0])
    for sign, (key, value) in changes:
        print(f"{sign} [{key}]" + (f" {value}" if value else ""))
    return 1 if changes else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
