#!/usr/bin/env python3
"""Writes the update manifest version.json for a release.

  tools/make_version_json.py --version 1.0.4 --file Velmora-1.0.4.exe \
      [--page https://velmora.example.com/velmora/] [--description TEXT] [--out site/version.json]

Refuses what the program would reject: a version that is not three or four dot-separated
numbers, and a download that does not lie directly under the product page or whose name
is not "Velmora...exe" of ASCII letters, digits, "-", "." and "_".
"""
import argparse
import json
import pathlib
import re
import sys

DEFAULT_PAGE = "https://velmora.example.com/velmora/"
MAX_DESCRIPTION = 2000
MAX_MANIFEST_CHARS = 65536


def version_ok(text):
    pieces = text.split(".")
    return len(pieces) in (3, 4) and all(re.fullmatch(r"[0-9]+", p) and int(p) <= 2147483647 for p in pieces)


def file_ok(name):
    return (name.startswith("Velmora") and name.endswith(".exe") and ".." not in name
            and re.fullmatch(r"[A-Za-z0-9._-]+", name) is not None)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--version", required=True)
    parser.add_argument("--file", required=True, help="file name of the new EXE under the product page")
    parser.add_argument("--page", default=DEFAULT_PAGE)
    parser.add_argument("--description", default="")
    parser.add_argument("--out", default="-")
    args = parser.parse_args()
    errors = []
    if not version_ok(args.version):
        errors.append(f"version {args.version!r} is not 3 or 4 dot-separated numbers")
    if not (args.page.startswith("https://") and args.page.endswith("/")):
        errors.append(f"page {args.page!r} must be an https address ending with /")
    if not file_ok(args.file):
        errors.append(f"file {args.file!r} must be Velmora...exe of letters, digits, '-', '.', '_' without '..'")
    if len(args.description) > MAX_DESCRIPTION:
        errors.append(f"description is {len(args.description)} characters; the program shows only {MAX_DESCRIPTION}")
    if errors:
        for e in errors:
            print("error: " + e, file=sys.stderr)
        return 1
    manifest = {"version": args.version, "download_url": args.page + args.file}
    if args.description:
        manifest["description"] = args.description
    text = json.dumps(manifest, ensure_ascii=False, indent=2) + "\n"
    if len(text.encode("utf-16-le")) // 2 > MAX_MANIFEST_CHARS:
        print("error: the manifest is too large", file=sys.stderr)
        return 1
    if args.out == "-":
        sys.stdout.write(text)
    else:
        pathlib.Path(args.out).write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
