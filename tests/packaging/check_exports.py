"""Checks that an installed shared library exports only the host API.

Usage: check_exports.py <library.so> <include folder>

The host API is every class, struct and function the installed headers mark CORVENDI_API. Each
defined dynamic symbol of the library (nm -D, demangled) must belong to one of them; instances of
standard-library templates are allowed, as long as no engine-internal type appears in them.
"""
import pathlib
import re
import subprocess
import sys

# nm shows a function template's instance with its return type first: "void std::f<int>(int)".
RETURN_TYPE = re.compile(r"^[\w:*& ]+? (?=(?:std|__gnu_cxx)::)")
SPECIAL = re.compile(r"^(vtable for |typeinfo for |typeinfo name for |VTT for |"
                     r"(?:non-)?virtual thunk to |covariant return thunk to |guard variable for )")


def public_names(include_dir):
    names = set()
    for header in pathlib.Path(include_dir).rglob("*.h"):
        text = header.read_text(encoding="utf-8")
        names.update(re.findall(r"^(?:class|struct) CORVENDI_API (\w+)", text, re.M))
        names.update(re.findall(r"^CORVENDI_API [^;(]*?\b(\w+)\(", text, re.M))
    return names


def exported_symbols(library):
    out = subprocess.run(["nm", "-D", "--defined-only", "-C", library], check=True,
                         capture_output=True, text=True).stdout
    symbols = []
    for line in out.splitlines():
        parts = line.split(" ", 2)
        if len(parts) == 3 and parts[1] not in ("A",):
            symbols.append(parts[2])
    return symbols


def main():
    library, include_dir = sys.argv[1], sys.argv[2]
    names = public_names(include_dir)
    own = re.compile(r"^corvendi::(?:cairo::)?(\w+)")
    internal_type = re.compile(r"corvendi::(?:detail::|(?:cairo::)?(?!(?:" + "|".join(names) +
                               r")\b)\w+)")
    bad = []
    symbols = exported_symbols(library)
    for symbol in symbols:
        name = RETURN_TYPE.sub("", SPECIAL.sub("", symbol))
        match = own.match(name)
        if match:
            if match.group(1) not in names:
                bad.append(symbol)
        elif not name.startswith("std::") and not name.startswith("__gnu_cxx::"):
            if name.startswith("corvendi") or "::" in name:
                bad.append(symbol)
        elif internal_type.search(symbol):
            bad.append(symbol)
    if not symbols or not any(own.match(SPECIAL.sub("", s)) for s in symbols):
        print(f"{library} exports no host symbol at all")
        return 1
    if bad:
        print(f"{library} exports {len(bad)} symbols outside the host API:")
        for symbol in sorted(bad)[:60]:
            print("  " + symbol)
        return 1
    print(f"{library}: {len(symbols)} symbols, all host API")
    return 0


if __name__ == "__main__":
    sys.exit(main())
