#!/usr/bin/env python3
"""Checks that what is made from the field catalogue is current.

  json CLI SOURCE       app/pages/fields.json is what `CLI fields --json --design` prints
  pages SOURCE          the committed page designs and the control lists in editors/ are
                        what app/pages/generate_pages.py writes from the committed tables
  reference CLI SOURCE  the user guide's field reference (between its markers) is
                        what `CLI fields --markdown` prints

With --update the json and reference checks write the current text instead.
Exit status 1 names every file that is not current.
"""

import argparse
import filecmp
import os
import subprocess
import sys
import tempfile

BEGIN = "<!-- field-reference:begin -->\n"
END = "<!-- field-reference:end -->\n"


def cli_output(cli, *args):
    return subprocess.run([cli, "fields", *args], check=True, capture_output=True,
                          text=True, encoding="utf-8").stdout


def read(path):
    with open(path, encoding="utf-8", newline="") as f:
        return f.read()


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)


def check_json(cli, source, update):
    path = os.path.join(source, "app", "pages", "fields.json")
    printed = cli_output(cli, "--json", "--design")
    if read(path) == printed:
        return []
    if update:
        write(path, printed)
        return []
    return [f"{path}: not what 'zrv41k-cli fields --json --design' prints "
            "(refresh it, then run app/pages/generate_pages.py)"]


def check_pages(source):
    pages = os.path.join(source, "app", "pages")
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, os.path.join(pages, "generate_pages.py"), "--out", out],
                       check=True)
        made = sorted(os.listdir(out))
        if not made:
            return ["the page generator wrote nothing"]
        stale = []
        for name in made:
            folder = "editors" if name.endswith(".inc") else os.path.join("app", "pages")
            committed = os.path.join(source, folder, name)
            if not os.path.exists(committed) or not filecmp.cmp(committed, os.path.join(out, name),
                                                                shallow=False):
                stale.append(f"{committed}: not what app/pages/generate_pages.py writes")
        return stale


def check_reference(cli, source, update):
    path = os.path.join(source, "docs", "user-guide.md")
    text = read(path)
    if text.count(BEGIN) != 1 or text.count(END) != 1 or text.index(BEGIN) > text.index(END):
        return [f"{path}: the field reference markers are missing or out of order"]
    head, rest = text.split(BEGIN)
    block, tail = rest.split(END)
    printed = cli_output(cli, "--markdown")
    if block == printed:
        return []
    if update:
        write(path, head + BEGIN + printed + END + tail)
        return []
    return [f"{path}: the field reference is not what 'zrv41k-cli fields --markdown' prints"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("what", choices=["json", "pages", "reference"])
    parser.add_argument("paths", nargs="+", help="CLI and SOURCE, or SOURCE for pages")
    parser.add_argument("--update", action="store_true")
    a = parser.parse_args()
    if a.what == "pages":
        problems = check_pages(a.paths[-1])
    elif a.what == "json":
        problems = check_json(a.paths[0], a.paths[1], a.update)
    else:
        problems = check_reference(a.paths[0], a.paths[1], a.update)
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
