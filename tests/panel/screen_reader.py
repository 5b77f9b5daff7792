#!/usr/bin/python3
"""Reads the panel over the AT-SPI bus, as a screen reader does.

Starts zra70-sim answering 700 ms late (after the panel's 500 ms reply timeout) and the panel on
its device; checks that every button, label and option has a spoken name and a few controls their
name and role; presses STATUS through the button's accessible action, then follows the three lines
through their Text interface and their text-changed events until the display clear blanks them.
Usage, under run_on_xvfb.sh --accessibility-bus: screen_reader.py PANEL SIM
"""
import os
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

Role = Atspi.Role
LINES = ("Sent traffic", "Received traffic", "Status")
STATUS = ("STATUS", Role.PUSH_BUTTON)  # beside the STATUS label
WAITED_FOR = [(name, Role.LABEL) for name in LINES] + [STATUS]
NAMED_ROLES = (Role.PUSH_BUTTON, Role.LABEL, Role.RADIO_BUTTON)
# A few controls: (spoken name, role, the group around it where the name alone is not enough).
SPOKEN = [
    ("ON", Role.PUSH_BUTTON, "POWER"),  # one of several ON buttons
    ("データを表示する", Role.PUSH_BUTTON, None),
    ("Up", Role.PUSH_BUTTON, None),  # arrows and adjusters say what they do, not their glyph
    ("VOL +", Role.PUSH_BUTTON, None),
    ("COM1", Role.RADIO_BUTTON, None),
    ("ZRA70 logo (double click for the full view)", Role.IMAGE, None),
    ("Command text", Role.TEXT, None),
    ("POWER", Role.PANEL, None),  # a group, spoken by its title
]
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


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield child
            yield from descendants(child)


def find_panel(timeout):
    """The panel's nodes, and the same by (name, role), once its lines and STATUS are on the bus."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == "zra70-panel":
                nodes = list(descendants(app))
                found = {(n.get_name(), n.get_role()): n for n in nodes}
                if all(key in found for key in WAITED_FOR):
                    return nodes, found
        pump(0.2)
    return [], None


def text_of(line):
    return line.get_text(0, -1) if "Text" in line.get_interfaces() else None


def press(button):
    with warnings.catch_warnings():  # the newer name is not in every libatspi's bindings
        warnings.simplefilter("ignore", DeprecationWarning)
        names = [button.get_action_name(i).lower() for i in range(button.get_n_actions())]
    check("press" in names, f"STATUS offers a press action (it offers {names})")
    if "press" in names:
        button.do_action(names.index("press"))


def main(panel, sim):
    events = []  # (line name, kind, text) as the bus delivered them

    def on_text_changed(event):
        name = event.source.get_name()
        if name in LINES:
            events.append((name, event.type.split(":")[-1], event.any_data))

    listener = Atspi.EventListener.new(on_text_changed)
    listener.register("object:text-changed")

    simulator = subprocess.Popen([sim, "--delay", "700"], stdout=subprocess.PIPE, text=True)
    program = None
    try:
        device = simulator.stdout.readline().strip()
        program = subprocess.Popen([panel], env=dict(os.environ, ZRA70_COM1=device))
        nodes, controls = find_panel(timeout=30)
        if controls is None:
            check(False, "the panel, its lines (labels) and STATUS appear on the accessibility bus")
            return
        for node in nodes:
            if node.get_role() in NAMED_ROLES:
                check(node.get_name().strip(),
                      f"a {node.get_role_name()} in {node.get_parent().get_name()!r} has a name")
        named = {(n.get_name(), n.get_role(), n.get_parent().get_name()) for n in nodes}
        for name, role, group in SPOKEN:
            check(any(row[:2] == (name, role) and group in (None, row[2]) for row in named),
                  f"a {role.value_nick} {name!r}" + (f" in {group}" if group else ""))
        lines = {name: controls[(name, Role.LABEL)] for name in LINES}
        seen = {name: [text_of(line)] for name, line in lines.items()}  # None: no Text interface
        press(controls[STATUS])
        deadline = time.monotonic() + 2.0  # the display clear comes 1 s after the send
        while time.monotonic() < deadline:
            pump(0.01)
            for name, line in lines.items():
                text = text_of(line)
                if seen[name][-1] != text:
                    seen[name].append(text)
        pump(0.3)

        for name in LINES:
            line = lines[name]
            check(line.get_name() == name, f"{name} keeps its spoken name ({line.get_name()!r})")
            check(seen[name] == EXPECTED[name],
                  f"{name} read through Text: {seen[name]} (expected {EXPECTED[name]})")
            inserted = [text for (n, kind, text) in events if n == name and kind == "insert"]
            check(inserted == [t for t in EXPECTED[name] if t],
                  f"{name} announced each new text: {inserted}")
            last = [kind for (n, kind, _) in events if n == name][-1:]
            check(last == ["delete"], f"{name} announced its blanking last ({last})")
    finally:
        for process in (program, simulator):
            if process is not None:
                process.terminate()
                process.wait(timeout=10)
        listener.deregister("object:text-changed")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
    print("screen_reader.py:", "FAILED" if failures else "passed")
    sys.exit(1 if failures else 0)
