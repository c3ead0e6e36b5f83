#!/usr/bin/env python3
"""Writes the C++ table of embedded resources: one entry per file, keyed by the
file's base name split at its last dot (name, type), both upper case."""
import os
import sys

from generated_file import write_generated


def c_string(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def main():
    out_path, files = sys.argv[1], sys.argv[2:]
    lines = ["// Generated at build time from resources/. Do not edit.",
             "#include \"framework/EmbeddedResourceTable.h\"", ""]
    entries = []
    # Look-ups ignore case, so two such names would make one of the files unreachable.
    seen = {}
    for index, path in enumerate(sorted(files, key=os.path.basename)):
        base = os.path.basename(path)
        if base.startswith("."):
            continue
        if base.upper() in seen:
            sys.exit("embed_resources.py: %s and %s have the same name ignoring case" % (seen[base.upper()], path))
        seen[base.upper()] = path
        dot = base.rfind(".")
        name, rtype = (base[:dot], base[dot + 1:]) if dot >= 0 else ("", base)
        with open(path, "rb") as f:
            data = f.read()
        symbol = "resource%d" % index
        body = ",".join(str(b) for b in data) if data else "0"
        lines.append("static const unsigned char %s[] = {%s};" % (symbol, body))
        entries.append('    { %s, %s, %s, %s, %d },' % (c_string(rtype.upper()), c_string(name.upper()), c_string(base), symbol, len(data)))
    lines.append("")
    lines.append("const EmbeddedResource embeddedResources[] = {")
    lines.extend(entries)
    lines.append("    { nullptr, nullptr, nullptr, nullptr, 0 }")
    lines.append("};")
    text = "\n".join(lines) + "\n"
    write_generated(out_path, text)


if __name__ == "__main__":
    main()
