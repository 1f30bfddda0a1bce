#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
"""Plays a round of the running game through AT-SPI alone, as a screen
reader's user would: it finds the window and its controls by role and name,
presses «Загадать», taps the watch 13 times through its accessible action,
presses «Стоп» and reads the answer "7" back; checks that the events for a
marker showing and for the answer changing arrive, and that the watch's
action taps nothing after «Стоп». With --tree it prints the accessibility
tree as a screen reader sees it."""

import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Debian 12's libatspi marks get_action_name as deprecated for a successor
# that it does not have yet.
warnings.filterwarnings("ignore", category=DeprecationWarning)

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, file=sys.stderr)
    return condition


def pump(seconds=0.2):
    """Lets events arrive: runs the main loop for a moment."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def application(name):
    desktop = Atspi.get_desktop(0)
    for _ in range(100):
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name:
                return app
        time.sleep(0.1)
    return None


def descendants(node):
    yield node
    for i in range(node.get_child_count()):
        yield from descendants(node.get_child_at_index(i))


def states(node):
    return {Atspi.StateType(s).value_nick for s in node.get_state_set().get_states()}


def text(node):
    return Atspi.Text.get_text(node, 0, -1)


def actions(node):
    if "Action" not in node.get_interfaces():
        return []
    return [Atspi.Action.get_action_name(node, i) for i in range(Atspi.Action.get_n_actions(node))]


def press(node):
    Atspi.Action.do_action(node, 0)


def until(condition, seconds=3):
    """Buttons click a moment after their press action, as they do when
    pressed from the keyboard: waits for what the press must lead to."""
    end = time.monotonic() + seconds
    while not condition() and time.monotonic() < end:
        pump(0.05)
    return condition()


def related(node, relation):
    for r in node.get_relation_set():
        if r.get_relation_type() == relation:
            return [r.get_target(i).get_name() for i in range(r.get_n_targets())]
    return []


def print_tree(node, depth=0):
    labelled = related(node, Atspi.RelationType.LABELLED_BY)
    print("  " * depth + f'{node.get_role_name()} "{node.get_name()}"'
          + (f" text={text(node)!r}" if "Text" in node.get_interfaces() else "")
          + (f" actions={actions(node)}" if actions(node) else "")
          + (f" labelled-by={labelled}" if labelled else "")
          + f" [{', '.join(sorted(states(node)))}]")
    for i in range(node.get_child_count()):
        print_tree(node.get_child_at_index(i), depth + 1)


def main():
    app = application("Tarvelo")
    if not check(app is not None, "no application named Tarvelo on the accessibility bus"):
        return
    window = app.get_child_at_index(0)
    check(window.get_role() == Atspi.Role.FRAME and window.get_name() == "Tarvelo",
          f'the window is a {window.get_role_name()} named "{window.get_name()}", not a frame named "Tarvelo"')
    if "--tree" in sys.argv:
        print_tree(app)

    nodes = list(descendants(window))

    def find(role, name):
        found = [n for n in nodes if n.get_role() == role and n.get_name() == name]
        check(len(found) == 1, f'{len(found)} controls of role {role.value_nick} named "{name}"')
        return found[0] if found else None

    # Roles and names: the buttons, the watch with its one action, the
    # markers, the text boxes, and the label of the answer field.
    buttons = {name: find(Atspi.Role.PUSH_BUTTON, name) for name in ("Выход", "Стоп", "Загадать", "Правила", "ОК")}
    watch = find(Atspi.Role.PUSH_BUTTON, "Часы, по которым щёлкать")
    markers = [find(Atspi.Role.IMAGE, f"Метка на {12 - i if i else 12}") for i in range(12)]
    count, answer = find(Atspi.Role.TEXT, "Число нажатий"), find(Atspi.Role.TEXT, "Ваше число")
    find(Atspi.Role.LABEL, "Ваше число:")
    if failures:
        return
    check(actions(watch) == ["Press"], f"the watch offers {actions(watch)}, not one Press action")
    check("read-only" in states(answer), f"the answer field is not read-only: {states(answer)}")
    check(related(answer, Atspi.RelationType.LABELLED_BY) == ["Ваше число:"], "«Ваше число:» does not label the answer")

    events = []
    listener = Atspi.EventListener.new(lambda event: events.append(
        (event.type, event.source.get_name() if event.source else "", event.detail1)))
    listener.register("object:state-changed:showing")
    listener.register("object:text-changed")
    pump()

    # A round: «Загадать», 13 presses of the watch, «Стоп».
    press(buttons["Правила"])
    check(until(lambda: "showing" in states(buttons["ОК"])), "«Правила» did not open the rules")
    press(buttons["ОК"])
    press(buttons["Загадать"])
    check(until(lambda: "showing" not in states(buttons["ОК"])), "«ОК» did not close the rules")
    for tap in range(1, 14):
        press(watch)
        lit = [m.get_name() for m in markers if "showing" in states(m)]
        check(text(count) == str(tap) and len(lit) == 1, f"after tap {tap} the count is {text(count)}, lit {lit}")
    press(buttons["Стоп"])
    check(until(lambda: "showing" in states(answer)) and text(answer) == "7",
          f'after 13 taps and «Стоп» the answer field shows "{text(answer)}" ({states(answer)})')
    pump(0.3)
    print(f'after 13 presses of the watch and «Стоп» the answer field reads "{text(answer)}"')

    shown = [e for e in events if e[0].startswith("object:state-changed:showing") and e[1].startswith("Метка") and e[2]]
    changed = [e for e in events if e[0].startswith("object:text-changed") and e[1] == "Ваше число"]
    check(shown, "no showing event arrived for a marker")
    check(changed, "no text-changed event arrived for the answer field")
    print(f"events: {len(shown)} markers shown, {len(changed)} changes of the answer field")

    # The revealed round takes no taps, not even through the accessible action.
    check("sensitive" not in states(watch), f"the watch is still sensitive after «Стоп»: {states(watch)}")
    press(watch)
    press(watch)
    check(text(count) == "0" and text(answer) == "7", f"after «Стоп» the watch's action tapped: {text(count)}, {text(answer)}")


main()
sys.exit(1 if failures else 0)
