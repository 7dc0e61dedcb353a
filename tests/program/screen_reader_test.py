"""Plays the real program as a screen-reader user would, through the accessibility bus.

It reads the window's tree, plays a drawn game by the cells' actions and a won game by the
arrow keys, Space and Return, checking names, focus, status and events after every move, and
the announcements a screen reader speaks unasked; then it changes an option from F10, plays
against the computer and leaves through Alt+F, answering the boxes by key.
Run it in a display and a D-Bus session of its own (screen_reader_test.sh).
"""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# The walk has one time limit, the one its runner (screen_reader_test.sh) enforces; no step has a limit of its own,
# so a busy machine only makes the walk slower. A step still waiting shortly before that limit fails, named.
DEADLINE = time.monotonic() + float(os.environ.get("TESSARIN_A11Y_SECONDS", "240")) - 20
# Each wait wakes on every event of the bus; what no event announces (the program ending) is looked at this often.
RECHECK_MS = 250
IDLE, BLUE, RED = "Press new game in the file menu to begin", "It's player blues turn", "It's player reds turn"
NAME_CHANGED, FOCUSED, CHECKED, SHOWING = ("object:property-change:accessible-name", "object:state-changed:focused",
                                           "object:state-changed:checked", "object:state-changed:showing")
# Events that only wake a wait: windows, menus and boxes made active, applications joining the bus.
WAKING = ("object:state-changed:active", "object:children-changed", "window:")
EMPTY = ["...", "...", "..."]


class Failure(Exception):
    pass


def remaining():
    return max(DEADLINE - time.monotonic(), 0.1)


def holds(predicate):
    try:
        return predicate()
    except GLib.Error:
        return False


def wait_for(what, predicate):
    """Runs the bus's events until predicate() holds, checking it after each of them."""
    context = GLib.MainContext.default()
    tick = GLib.timeout_add(RECHECK_MS, lambda: True)
    try:
        while not holds(predicate):
            if time.monotonic() >= DEADLINE:
                raise Failure("timed out waiting for " + what)
            context.iteration(True)
    finally:
        GLib.source_remove(tick)


def check(condition, what):
    if not condition:
        raise Failure(what)


def states(node):
    node.clear_cache()
    return {Atspi.StateType(s).value_nick for s in node.get_state_set().get_states()}


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def walk(node):
    yield node
    for child in children(node):
        yield from walk(child)


def tree(node, menus, depth=0):
    node.clear_cache()
    marks = sorted(states(node) & {"checked", "focused", "active"})
    lines = ["  " * depth + f'{node.get_role_name()} "{node.get_name()}"' + (f" {marks}" if marks else "")]
    if menus or node.get_role() != Atspi.Role.MENU_BAR:
        lines += [tree(child, menus, depth + 1) for child in children(node)]
    return "\n".join(lines)


def names(board, winning=()):
    owner = {".": "empty", "B": "blue", "R": "red"}
    return [[f"row {r + 1}, column {c + 1}: {owner[board[r][c]]}" + (", winning line" if (r, c) in winning else "")
             for c in range(3)] for r in range(3)]


class Program:
    def __init__(self, binary):
        # Listening before the program starts, as a screen reader does: Qt's bridge reads the bus's listeners once
        # at its start and only then follows new ones, so a listener registered in between goes unheard for good.
        self.events = []
        self.listener = Atspi.EventListener.new(self.record)
        for kind in (NAME_CHANGED, FOCUSED, CHECKED, SHOWING) + WAKING:
            self.listener.register(kind)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        self.process = subprocess.Popen([binary], env=env)
        wait_for("the window on the accessibility bus", self.shown)
        self.frame = next(n for n in children(self.app) if n.get_role() == Atspi.Role.FRAME)
        self.table = self.find_role(Atspi.Role.TABLE)
        self.status = self.find_role(Atspi.Role.STATUS_BAR)
        self.items = {n.get_name(): n for n in walk(self.frame) if n.get_role() == Atspi.Role.MENU_ITEM}

    def shown(self):
        if self.process.poll() is not None:
            raise Failure(f"the program ended with status {self.process.returncode} before it showed")
        return self.find_role(Atspi.Role.TABLE) is not None

    def find_role(self, role):
        desktop = Atspi.get_desktop(0)
        apps = [a for a in children(desktop) if a is not None and a.get_process_id() == self.process.pid]
        self.app = apps[0] if apps else None
        return next((n for n in walk(self.app) if n.get_role() == role), None) if self.app else None

    def record(self, event):
        if event.type not in (NAME_CHANGED, FOCUSED, CHECKED, SHOWING):
            return  # it woke a wait, which is all it is for
        try:
            self.events.append((event.type, event.source.get_name(), event.detail1, event.source.get_role()))
        except GLib.Error:
            pass

    def expect_event(self, kind, name, detail=None):
        wait_for(f"{kind} from '{name}'", lambda: any(
            (t, n) == (kind, name) and detail in (None, d) for t, n, d, _ in self.events))

    def expect_announcement(self, *words):
        """A notification shown with a name that holds each of the words, in order."""
        def heard():
            return any(t == SHOWING and d == 1 and r == Atspi.Role.NOTIFICATION and
                       all(w in n for w in words) and [n.index(w) for w in words] == sorted(n.index(w) for w in words)
                       for t, n, d, r in self.events)
        wait_for(f"an announcement of {words}", heard)

    def cell(self, r, c):
        cell = self.table.get_accessible_at(r, c)
        cell.clear_cache()
        return cell

    def board_is(self, board, status, winning=()):
        self.status.clear_cache()
        expected = names(board, winning)
        wait_for(f"cells {expected} and status '{status}'", lambda: self.status.get_name() == status and
                 [[self.cell(r, c).get_name() for c in range(3)] for r in range(3)] == expected)

    def focused(self):
        return [(r, c) for r in range(3) for c in range(3) if "focused" in states(self.cell(r, c))]

    def key(self, *keys):
        self.events.clear()
        subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=True, timeout=remaining())

    # The display has no window manager to give the window the focus, at the start or after a box.
    def focus_window(self):
        found = subprocess.run(["xdotool", "search", "--sync", "--name", "^Tessarin$"], check=True,
                               capture_output=True, text=True, timeout=remaining())
        subprocess.run(["xdotool", "windowfocus", "--sync", found.stdout.split()[0]], check=True, timeout=remaining())
        wait_for("the window to be active", lambda: "active" in states(self.frame))

    def new_game(self):
        self.events.clear()
        self.items["New game"].do_action(0)
        self.board_is(EMPTY, BLUE)
        self.expect_event(NAME_CHANGED, BLUE)
        self.expect_announcement("New game, blue begins.", BLUE)


def read_start(program):
    check(program.frame.get_name() == "Tessarin", "the window is a frame named Tessarin")
    check((program.table.get_n_rows(), program.table.get_n_columns(), program.table.get_child_count()) == (3, 3, 9),
          "the board is a table of 3 rows, 3 columns, 9 cells")
    check(all(program.cell(r, c).get_role() == Atspi.Role.TABLE_CELL and program.cell(r, c).get_n_actions() == 1
              for r in range(3) for c in range(3)), "each cell is a table cell with one action")
    program.board_is(EMPTY, IDLE)
    for name, checked in (("Player1", True), ("Player2", False), ("Computer", False), ("Human", True)):
        check(("checked" in states(program.items[name])) == checked, f"{name} checked: {checked}")


def play(program, moves, press, winning=()):
    board = [list("..."), list("..."), list("...")]
    for number, (r, c) in enumerate(moves):
        board[r][c] = "BR"[number % 2]
        press(number, r, c)
        rows = ["".join(row) for row in board]
        last = number == len(moves) - 1
        program.board_is(rows, IDLE if last else (BLUE, RED)[1 - number % 2], winning if last else ())
        program.expect_event(NAME_CHANGED, names(rows, winning if last else ())[r][c])
        program.expect_event(NAME_CHANGED, program.status.get_name())
    return ["".join(row) for row in board]


def play_by_actions(program):
    """A drawn game; a cell pressed after the end changes nothing."""
    def press(_, r, c):
        program.events.clear()
        program.cell(r, c).do_action(0)
    board = play(program, [(0, 0), (1, 1), (0, 1), (0, 2), (2, 0), (1, 0), (1, 2), (2, 1), (2, 2)], press)
    program.cell(0, 0).do_action(0)
    program.board_is(board, IDLE)


def play_by_keys(program):
    """Blue wins on the diagonal; the cursor starts top-left, stops at the edges and the focus follows it."""
    program.focus_window()
    wait_for("the focus on the top-left cell", lambda: program.focused() == [(0, 0)])
    cursor = [0, 0]

    def step(key):
        dr, dc = {"Up": (-1, 0), "Down": (1, 0), "Left": (0, -1), "Right": (0, 1)}[key]
        target = [min(max(cursor[0] + dr, 0), 2), min(max(cursor[1] + dc, 0), 2)]
        program.key(key)
        wait_for(f"the focus on {target}", lambda: program.focused() == [tuple(target)])
        if target != cursor:
            program.expect_event(FOCUSED, program.cell(*target).get_name(), 1)
        cursor[:] = target

    def press(number, r, c):
        for key in (["Up", "Left"] if number == 0 else []) + ["Down" if r > cursor[0] else "Up"] * abs(r - cursor[0]) \
                + ["Right" if c > cursor[1] else "Left"] * abs(c - cursor[1]):
            step(key)
        program.key("space" if number % 2 == 0 else "Return")
    play(program, [(0, 0), (0, 1), (1, 1), (0, 2), (2, 2)], press, {(0, 0), (1, 1), (2, 2)})
    program.expect_announcement("Blue: row 3, column 3.", "Blue wins: row 1, column 1; row 2, column 2; row 3, column 3.",
                                IDLE)
    check(program.focused() == [(2, 2)], "the last played cell keeps the focus")


def choose_computer(program):
    """F10 opens File; the marks that move are announced, Y answers the box, and the computer answers a move."""
    program.key("F10")
    wait_for("the File menu after F10", lambda: "showing" in states(program.items["New game"]))
    program.key("Down", "Down", "Down", "Right")
    wait_for("the Player 2 menu", lambda: "showing" in states(program.items["Computer"]))
    program.key("Return")
    program.expect_event(CHECKED, "Computer", 1)
    program.expect_event(CHECKED, "Human", 0)
    program.key("y")
    program.board_is(EMPTY, BLUE)
    program.expect_announcement("Player 2: Computer.", "New game, blue begins.", BLUE)
    program.focus_window()
    program.key("space")
    wait_for("the computer's answer", lambda: sum("red" in n for r in range(3) for n in
                                                  [program.cell(r, c).get_name() for c in range(3)]) == 1)
    red = next((r, c) for r in range(3) for c in range(3) if "red" in program.cell(r, c).get_name())
    program.expect_announcement("Blue: row 3, column 3.", f"Red: row {red[0] + 1}, column {red[1] + 1}.", BLUE)


def leave(program):
    """Alt+F opens File; Exit asks, Escape answers No and Return Yes."""
    for answer in ("Escape", "Return"):
        program.focus_window()
        program.key("alt+f")
        wait_for(f"the File menu after Alt+F (to answer {answer})", lambda: "showing" in states(program.items["Exit"]))
        program.key("Up", "Return")
        wait_for("the question", lambda: any(n.get_role() == Atspi.Role.ALERT for n in children(program.app)))
        program.key(answer)
    try:
        check(program.process.wait(remaining()) == 0, "the program ends with status 0")
    except subprocess.TimeoutExpired:
        raise Failure("the program did not end after Exit, Yes") from None


def main():
    program = None
    try:
        program = Program(sys.argv[1])
        read_start(program)
        program.new_game()
        print("After New game:\n" + tree(program.frame, menus=True))
        play_by_actions(program)
        program.new_game()
        play_by_keys(program)
        print("After a won game (menus as above):\n" + tree(program.frame, menus=False))
        choose_computer(program)
        leave(program)
    except (Failure, subprocess.TimeoutExpired) as failure:
        print("FAILED:", failure, file=sys.stderr)
        return 1
    finally:
        if program is not None and program.process.poll() is None:
            program.process.kill()
            program.process.wait()
    print("screen reader test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
