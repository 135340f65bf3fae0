#!/usr/bin/python3
"""Every focusable control has a spoken name, checked over the accessibility bus.

Starts zrv41k-accessibility-tour (the program with every window up at once),
finds it on the AT-SPI bus and walks its accessible tree as a screen reader
sees it: each of the six pages of the main window is brought to the front by
a mouse click on its selector label, and every companion window is walked as
it stands. Every control that is showing and focusable must have a non-empty
name; the inner parts of a control (a combo box's list, a table's cells) are
its own and are not walked. Offenders are listed by role and path.

The run is made once in English and once in German: a few controls must be
named in the language shown (a label's text, without its colon), and a
capcode row's controls must be described by their row.

Usage: accessible_names.py TOUR DEFLANG.dat
Needs a display (DISPLAY), a session bus and python3-pyatspi; see
run_accessible_names.sh, which provides them.
"""

import os
import subprocess
import sys
import time

import pyatspi

SELECTORS = ["sedtFC", "sedtAS", "sedtPE", "sedtSP", "sedtMT", "staticEncryF"]

# (English name, German name, role): controls whose names must follow the
# language: from the label beside, from a column heading, from the catalogue.
# (A combo box is not among them: Qt gives its current text as its name on
# this platform and its label as the "labelled by" relation.)
LANGUAGE_CHECKS = [
    ("Customer", "Kunde", "text"),        # Batch Job: "Customer:" / "Kunde:"
    ("Priority", "Priorität", "text"),    # a capcode row's priority, named by its column
    ("Search", "Suchen", "text"),         # the text editor's search box
]


def catalogue(path, language):
    """The [language] section of the factory catalogue as a dict."""
    texts, section = {}, None
    with open(path, encoding="cp1252") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("["):
                section = line.strip("[]")
            elif section == language and "=" in line and not line.startswith(";"):
                key, value = line.split("=", 1)
                texts.setdefault(key, value)
    return texts


def plain(text):
    return "".join(text.replace("&", "").split())


def find_application(pid, timeout=60):
    deadline = time.time() + timeout
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except Exception:
                pass
        time.sleep(0.5)
    raise SystemExit(f"the program (pid {pid}) did not appear on the accessibility bus")


def label_of(acc):
    name = acc.name or ""
    return f"{acc.getRoleName()} '{name}'" if name else acc.getRoleName()


def walk(acc, path, found):
    """Collects (path, role, name, description) of every showing focusable control."""
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is None:
            continue
        states = child.getState()
        if not states.contains(pyatspi.STATE_SHOWING):
            continue
        here = path + [f"{label_of(child)}#{i}"]
        if states.contains(pyatspi.STATE_FOCUSABLE):
            found.append((" > ".join(here), child.getRoleName(), child.name or "",
                          child.description or ""))
            continue
        walk(child, here, found)


def find_labels(acc, out):
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is None:
            continue
        if child.getRole() == pyatspi.ROLE_LABEL:
            out.append(child)
        find_labels(child, out)


def click(acc):
    ext = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(ext.x + ext.width // 2, ext.y + ext.height // 2, "b1c")


def run(tour, deflang, language):
    texts = catalogue(deflang, language)
    args = [tour] + (["--german"] if language == "German" else [])
    proc = subprocess.Popen(args, stdout=subprocess.PIPE, text=True)
    try:
        if proc.stdout.readline().strip() != "ready":
            raise SystemExit(f"{tour} ended before its windows were up")
        app = find_application(proc.pid)
        windows = [app.getChildAtIndex(i) for i in range(app.childCount)]
        main = next(w for w in windows if w.getRole() == pyatspi.ROLE_FRAME)
        labels = []
        find_labels(main, labels)
        found, pages = [], []
        for key in SELECTORS:
            wanted = plain(texts[key])
            selector = next((l for l in labels if plain(l.name or "") == wanted), None)
            if selector is None:
                raise SystemExit(f"{language}: no page selector labelled {texts[key]!r}")
            click(selector)
            before = None
            for _ in range(40):  # until the page in front has settled
                time.sleep(0.25)
                page = []
                walk(main, [label_of(main)], page)
                if before == page:
                    break
                before = page
            pages.append({p[0] for p in page})
            found += page
        for a, b in zip(pages, pages[1:]):
            if a == b:
                raise SystemExit(f"{language}: a click on a page selector brought no other page to the front")
        for w in windows:
            if w is not main:
                walk(w, [label_of(w)], found)
        return found, len(windows)
    finally:
        proc.terminate()
        proc.wait(10)


def main():
    tour, deflang = sys.argv[1], sys.argv[2]
    failures = []
    names = {}
    for language in ("English", "German"):
        start = time.time()
        found, window_count = run(tour, deflang, language)
        unique = {}
        for entry in found:
            unique.setdefault(entry[0], entry)  # a control outside the pages is seen once per page
        controls = list(unique.values())
        nameless = [c for c in controls if not c[2].strip()]
        print(f"{language}: {len(controls)} focusable controls in {window_count} windows, "
              f"{len(nameless)} without a name, {time.time() - start:.1f} s")
        for path, role, _, _ in nameless:
            failures.append(f"{language}: {role} without a name: {path}")
        names[language] = {(c[1], c[2]) for c in controls}
        if language == "English":
            described = [c for c in controls if c[2] == "Priority"]
            if not described or any(not c[3].startswith("Cap #") for c in described):
                failures.append("the capcode rows' priority boxes are not described by their row: "
                                + repr([(c[2], c[3]) for c in described]))
    for english, german, role in LANGUAGE_CHECKS:
        if (role, english) not in names["English"]:
            failures.append(f"English: no {role} named {english!r}")
        if (role, german) not in names["German"]:
            failures.append(f"German: no {role} named {german!r}")
    for line in failures:
        print(line)
    print("every focusable control has a name" if not failures else f"{len(failures)} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
