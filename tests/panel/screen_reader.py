#!/usr/bin/python3
"""Reads the panel over the AT-SPI bus, as a screen reader does.

Starts zra70-sim answering 700 ms late (after the panel's 500 ms reply timeout) and the panel on
its device; compares the whole tree as read at start (role, name, description and text of every node) with the REFERENCE file
(rewritten instead when ZRA70_REMAKE_REFERENCES is set; on a difference the tree read is written to
the current folder); presses STATUS through the button's accessible action, then follows the three
lines through their text-changed events, reading each line's Text interface at each, until the
display clear blanks them.
Usage, under run_on_xvfb.sh --accessibility-bus: screen_reader.py PANEL SIM REFERENCE
"""
import difflib
import json
import os
import subprocess
import sys
import time
import warnings
from pathlib import Path

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Action.get_action_name's newer name, get_name, is not in every libatspi's bindings.
warnings.simplefilter("ignore", DeprecationWarning)

Role = Atspi.Role
LINES = ("Sent traffic", "Received traffic", "Status")
STATUS = ("STATUS", Role.PUSH_BUTTON)  # beside the STATUS label
WAITED_FOR = [(name, Role.LABEL) for name in LINES] + [STATUS]
# What each line shows, in order, from before STATUS: blank; the send; the timeout mark, then the
# late reply " 8 0 CR" of a projector in standby and its decoding; then the display clear.
EXPECTED = {
    "Sent traffic": ["", " C R 0 CR ", ""],
    "Received traffic": ["", " X X X X", " 8 0 CR ", ""],
    "Status": ["", " Stand by", ""],
}
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, file=sys.stderr)


def pump(seconds=0.0):
    """Delivers the bus's events for a while."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= deadline:
            return
        time.sleep(0.005)


def children(node):
    return [child for child in map(node.get_child_at_index, range(node.get_child_count())) if child]


def descendants(node):
    for child in children(node):
        yield child
        yield from descendants(child)


def find_panel(timeout):
    """The panel's application node and its nodes by (name, role), once its lines and STATUS are
    on the bus."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for app in children(Atspi.get_desktop(0)):
            if app.get_name() == "zra70-panel":
                found = {(n.get_name(), n.get_role()): n for n in descendants(app)}
                if all(key in found for key in WAITED_FOR):
                    return app, found
        pump(0.2)
    return None, None


def text_of(line):
    return line.get_text(0, -1) if "Text" in line.get_interfaces() else None


def tree_text(node, depth=0):
    """One line a node, indented by depth: role, name, and description and text where present."""
    line = f"{'  ' * depth}{node.get_role_name()} {json.dumps(node.get_name(), ensure_ascii=False)}"
    if node.get_description():
        line += f" description {json.dumps(node.get_description(), ensure_ascii=False)}"
    if text_of(node) is not None:
        line += f" text {json.dumps(text_of(node), ensure_ascii=False)}"
    return [line] + [row for child in children(node) for row in tree_text(child, depth + 1)]


def compare_tree(app, reference):
    got = "".join(row + "\n" for window in children(app) for row in tree_text(window))
    if os.environ.get("ZRA70_REMAKE_REFERENCES"):
        Path(reference).write_text(got, encoding="utf-8")
        return
    expected = Path(reference).read_text(encoding="utf-8")
    if got != expected:
        written = Path.cwd() / Path(reference).name
        written.write_text(got, encoding="utf-8")
        diff = difflib.unified_diff(expected.splitlines(), got.splitlines(), reference, str(written),
                                    n=1)
        check(False, "the tree read differs from its reference:\n" + "\n".join(diff))


def press(button):
    names = [button.get_action_name(i).lower() for i in range(button.get_n_actions())]
    check("press" in names, f"STATUS offers a press action (it offers {names})")
    if "press" in names:
        button.do_action(names.index("press"))


def main(panel, sim, reference):
    events = {name: [] for name in LINES}  # (kind, text announced, text read then) per line

    def on_text_changed(event):
        name = event.source.get_name()
        if name in LINES:
            events[name].append((event.type.split(":")[-1], event.any_data, text_of(event.source)))

    listener = Atspi.EventListener.new(on_text_changed)
    listener.register("object:text-changed")

    simulator = subprocess.Popen([sim, "--delay", "700"], stdout=subprocess.PIPE, text=True)
    program = None
    try:
        device = simulator.stdout.readline().strip()
        program = subprocess.Popen([panel], env=dict(os.environ, ZRA70_COM1=device))
        app, controls = find_panel(timeout=30)
        if controls is None:
            check(False, "the panel, its lines (labels) and STATUS appear on the accessibility bus")
            return
        compare_tree(app, reference)
        before = {name: text_of(controls[(name, Role.LABEL)]) for name in LINES}
        press(controls[STATUS])
        pump(2.3)  # the display clear comes 1 s after the send

        for name in LINES:
            read = [before[name]]  # None: no Text interface
            for (_, _, text) in events[name]:
                if text != read[-1]:
                    read.append(text)
            check(read == EXPECTED[name], f"{name} read through Text: {read} ({EXPECTED[name]})")
            inserted = [text for (kind, text, _) in events[name] if kind == "insert"]
            check(inserted == [t for t in EXPECTED[name] if t],
                  f"{name} announced each new text: {inserted}")
            last = [kind for (kind, _, _) in events[name]][-1:]
            check(last == ["delete"], f"{name} announced its blanking last ({last})")
    finally:
        for process in (program, simulator):
            if process is not None:
                process.terminate()
                process.wait(timeout=10)
        listener.deregister("object:text-changed")


if __name__ == "__main__":
    main(*sys.argv[1:])
    print("screen_reader.py:", "FAILED" if failures else "passed")
    sys.exit(1 if failures else 0)
