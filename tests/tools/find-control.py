#!/usr/bin/python3
"""Finds a control of a running program through the accessibility bus and prints its screen rectangle.

    find-control.py --pid PID [--window TITLE] --name NAME [--role ROLE]

Prints "x y width height" of the first showing control named NAME (inside the top-level window titled TITLE, when
given) and exits 0; exits 1 when there is none. Names are compared without mnemonics: "&" is dropped, and so is a
trailing "(O)", so "[&O]确定" finds "[&O]确定" and "[O]确定", and "确定" finds the standard button "确定(&O)". ROLE is an at-spi role
name such as "push button", "menu item", "check box" or "dialog".

Only finding is done here. A test that proves what a person can do clicks the rectangle with real X input (XTest):
accessibility actions bypass window modality and focus, as QTest events and slot calls do.
"""
import argparse
import re
import sys

import pyatspi


def plain(text):
    # "&" marks a mnemonic; Qt's Chinese standard buttons also carry it as a trailing "(&O)".
    return re.sub(r"\([A-Za-z]\)$", "", (text or "").replace("&", ""))


def showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def walk(acc, depth=0):
    if depth > 40:
        return
    try:
        count = acc.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        if child is None:
            continue
        yield child
        yield from walk(child, depth + 1)


def find(pid, window, name, role):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        try:
            if app is None or app.get_process_id() != pid:
                continue
        except Exception:
            continue
        for top in app:
            if top is None or not showing(top):
                continue
            if window is not None and plain(top.name) != plain(window):
                continue
            candidates = [top] + list(walk(top))
            for acc in candidates:
                if plain(acc.name) != plain(name) or not showing(acc):
                    continue
                if role and acc.getRoleName() != role:
                    continue
                box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                if box.width > 0 and box.height > 0:
                    return box
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--window")
    parser.add_argument("--name", required=True)
    parser.add_argument("--role")
    args = parser.parse_args()
    box = find(args.pid, args.window, args.name, args.role)
    if box is None:
        return 1
    print(box.x, box.y, box.width, box.height)
    return 0


if __name__ == "__main__":
    sys.exit(main())
