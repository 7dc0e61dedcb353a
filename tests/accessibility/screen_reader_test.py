"""Plays the real program as a screen-reader user would, through the accessibility bus.

It reads the window's tree, plays a drawn game by the cells' actions and a won game by
the arrow keys and Space, and checks the names, the focus, the status and the events
after every move; it changes an option and leaves the program from the keyboard alone.
Run it inside a display and a D-Bus session of its own (screen_reader_test.sh).
"""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

STEP_SECONDS = float(os.environ.get("TESSARIN_A11Y_STEP_SECONDS", "20"))
IDLE_TEXT = "Press new game in the file menu to begin"
BLUE_TURN = "It's player blues turn"
RED_TURN = "It's player reds turn"


class Failure(Exception):
    pass


def pump(seconds=0.05):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def wait_for(what, predicate):
    end = time.monotonic() + STEP_SECONDS
    while time.monotonic() < end:
        pump()
        try:
            if predicate():
                return
        except GLib.Error:
            pass
    raise Failure("timed out waiting for " + what)


def states(node):
    return {Atspi.StateType(s).value_nick for s in node.get_state_set().get_states()}


def walk(node):
    yield node
    for index in range(node.get_child_count()):
        child = node.get_child_at_index(index)
        if child is not None:
            yield from walk(child)


def tree_text(node, depth=0, menus=True):
    node.clear_cache()
    shown = sorted(states(node) & {"checked", "focused", "active", "focusable"})
    line = "  " * depth + f'{node.get_role_name()} "{node.get_name()}"' + (f" [{', '.join(shown)}]" if shown else "")
    lines = [line]
    if menus or node.get_role() != Atspi.Role.MENU_BAR:
        for index in range(node.get_child_count()):
            lines.append(tree_text(node.get_child_at_index(index), depth + 1, menus))
    return "\n".join(lines)


class Events:
    """Every name change, focus change and check change the program reports."""

    def __init__(self):
        self.seen = []
        self.listener = Atspi.EventListener.new(self.record)
        for kind in ("object:property-change:accessible-name", "object:state-changed:focused",
                     "object:state-changed:checked"):
            self.listener.register(kind)

    def record(self, event):
        try:
            name = event.source.get_name()
        except GLib.Error:
            name = None
        self.seen.append((event.type, name, event.detail1))

    def take(self):
        seen, self.seen = self.seen, []
        return seen

    def expect(self, what, kind, name, detail=None):
        def arrived():
            return any(t == kind and n == name and (detail is None or d == detail) for t, n, d in self.seen)
        wait_for(f"{what}: {kind} from '{name}'", arrived)


class Program:
    def __init__(self, binary):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        self.process = subprocess.Popen([binary], env=env)
        self.app = None
        wait_for("the program on the accessibility bus", self.find)
        wait_for("the window", lambda: self.child_with(self.app, Atspi.Role.FRAME) is not None)
        self.frame = self.child_with(self.app, Atspi.Role.FRAME)
        wait_for("the board", lambda: self.find_role(Atspi.Role.TABLE) is not None)
        self.table = self.find_role(Atspi.Role.TABLE)
        self.status = self.find_role(Atspi.Role.LABEL)
        self.menus = {n.get_name(): n for n in walk(self.frame) if n.get_role() in
                      (Atspi.Role.MENU_ITEM, Atspi.Role.CHECK_MENU_ITEM, Atspi.Role.RADIO_MENU_ITEM)}

    def find(self):
        desktop = Atspi.get_desktop(0)
        for index in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(index)
            if app is not None and app.get_process_id() == self.process.pid:
                self.app = app
                return True
        return False

    @staticmethod
    def child_with(node, role):
        for index in range(node.get_child_count()):
            child = node.get_child_at_index(index)
            if child is not None and child.get_role() == role:
                return child
        return None

    def find_role(self, role):
        return next((n for n in walk(self.frame) if n.get_role() == role), None)

    def cell(self, row, column):
        cell = self.table.get_accessible_at(row, column)
        cell.clear_cache()
        return cell

    def names(self):
        return [[self.cell(r, c).get_name() for c in range(3)] for r in range(3)]

    def status_text(self):
        self.status.clear_cache()
        return self.status.get_name()

    def focused_cells(self):
        return [(r, c) for r in range(3) for c in range(3) if "focused" in states(self.cell(r, c))]

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "50", *keys], check=True, timeout=STEP_SECONDS)

    def focus_window(self):
        found = subprocess.run(["xdotool", "search", "--sync", "--name", "^Tessarin$"], check=True,
                               capture_output=True, text=True, timeout=STEP_SECONDS)
        window = found.stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=STEP_SECONDS)
        wait_for("the window to be active", lambda: "active" in states(self.frame))

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def owner_names(board, winning=()):
    text = {".": "empty", "B": "blue", "R": "red"}
    return [[f"row {r + 1}, column {c + 1}: {text[board[r][c]]}" + (", winning line" if (r, c) in winning else "")
             for c in range(3)] for r in range(3)]


def check(condition, what):
    if not condition:
        raise Failure(what)


def check_board(program, board, status, winning=()):
    expected = owner_names(board, winning)
    wait_for(f"cell names {expected}", lambda: program.names() == expected)
    wait_for(f"status '{status}'", lambda: program.status_text() == status)


def check_start(program, events):
    check(program.frame.get_name() == "Tessarin", "the window is a frame named Tessarin")
    check((program.table.get_n_rows(), program.table.get_n_columns()) == (3, 3), "the board is a 3 x 3 table")
    check(program.table.get_child_count() == 9, "the board has nine cells")
    for r in range(3):
        for c in range(3):
            cell = program.cell(r, c)
            check(cell.get_role() == Atspi.Role.TABLE_CELL, "a cell is a table cell")
            check(cell.get_n_actions() == 1, "a cell has one action")
    check_board(program, ["...", "...", "..."], IDLE_TEXT)
    for name, checked in (("Player1", True), ("Player2", False), ("Computer", False), ("Human", True)):
        check(name in program.menus, f"the option {name} is in the menu")
        check(("checked" in states(program.menus[name])) == checked, f"{name} is checked: {checked}")


def new_game(program, events, board_before):
    events.take()
    program.menus["New game"].do_action(0)
    check_board(program, ["...", "...", "..."], BLUE_TURN)
    if board_before != ["...", "...", "..."]:
        events.expect("cleared cell", "object:property-change:accessible-name", "row 1, column 1: empty")
    events.expect("new status", "object:property-change:accessible-name", BLUE_TURN)


def play_by_actions(program, events):
    """A drawn game: every cell's action, the turn passing each time, and no play after the end."""
    moves = [(0, 0), (1, 1), (0, 1), (0, 2), (2, 0), (1, 0), (1, 2), (2, 1), (2, 2)]
    board = [list("..."), list("..."), list("...")]
    for number, (r, c) in enumerate(moves):
        events.take()
        piece = "B" if number % 2 == 0 else "R"
        program.cell(r, c).do_action(0)
        board[r][c] = piece
        rows = ["".join(row) for row in board]
        last = number == len(moves) - 1
        check_board(program, rows, IDLE_TEXT if last else (RED_TURN if piece == "B" else BLUE_TURN))
        events.expect("played cell", "object:property-change:accessible-name", owner_names(rows)[r][c])
        events.expect("status", "object:property-change:accessible-name", program.status_text())
    program.cell(0, 0).do_action(0)
    pump(0.3)
    check_board(program, ["".join(row) for row in board], IDLE_TEXT)
    return ["".join(row) for row in board]


def arrows(start, target):
    (r, c), (tr, tc) = start, target
    return ["Down" if tr > r else "Up"] * abs(tr - r) + ["Right" if tc > c else "Left"] * abs(tc - c)


def move_cursor(program, events, cursor, key):
        dr, dc = {"Up": (-1, 0), "Down": (1, 0), "Left": (0, -1), "Right": (0, 1)}[key]
        target = (min(max(cursor[0] + dr, 0), 2), min(max(cursor[1] + dc, 0), 2))
        events.take()
        program.key(key)
        wait_for(f"focus on {target}", lambda: program.focused_cells() == [target])
        if target != cursor:
            events.expect("focus follows the cursor", "object:state-changed:focused",
                          program.cell(*target).get_name(), 1)
        return target


def play_by_keys(program, events):
    """Blue wins on the main diagonal, played with the arrow keys and Space from the cursor's cell."""
    program.focus_window()
    wait_for("the focused cell", lambda: program.focused_cells() == [(0, 0)])
    cursor = (0, 0)
    for key in ("Up", "Left"):  # the board's edge stops the cursor
        cursor = move_cursor(program, events, cursor, key)
    board = [list("..."), list("..."), list("...")]
    moves = [(0, 0), (0, 1), (1, 1), (0, 2), (2, 2)]
    for number, target in enumerate(moves):
        for key in arrows(cursor, target):
            cursor = move_cursor(program, events, cursor, key)
        events.take()
        piece = "B" if number % 2 == 0 else "R"
        program.key("space" if number % 2 == 0 else "Return")
        board[target[0]][target[1]] = piece
        rows = ["".join(row) for row in board]
        last = number == len(moves) - 1
        winning = {(0, 0), (1, 1), (2, 2)} if last else ()
        check_board(program, rows, IDLE_TEXT if last else (RED_TURN if piece == "B" else BLUE_TURN), winning)
        check(program.focused_cells() == [cursor], "the played cell keeps the focus")
    events.expect("won line", "object:property-change:accessible-name", "row 2, column 2: blue, winning line")


def choose_computer(program, events):
    """F10 opens the File menu; the option's mark moves, announced, and Y answers the box."""
    events.take()
    program.key("F10")
    wait_for("the File menu", lambda: "showing" in states(program.menus["New game"]))
    program.key("Down", "Down", "Down", "Right")
    wait_for("the Player 2 menu", lambda: "showing" in states(program.menus["Computer"]))
    program.key("Return")
    events.expect("Computer checked", "object:state-changed:checked", "Computer", 1)
    events.expect("Human unchecked", "object:state-changed:checked", "Human", 0)
    program.key("y")
    check_board(program, ["...", "...", "..."], BLUE_TURN)
    program.focus_window()  # the display has no window manager to give it back after the box
    check(("checked" in states(program.menus["Computer"])), "Computer is checked")
    check(("checked" not in states(program.menus["Human"])), "Human is not checked")
    # The computer answers a move through the same press.
    program.key("space")
    wait_for("the computer's answer", lambda: sum(n.endswith(": red") for row in program.names() for n in row) == 1)


def leave(program):
    """Alt+F opens the File menu and Exit asks: Escape answers No, Return Yes."""
    for answer in ("Escape", "Return"):
        program.focus_window()
        program.key("alt+f")
        wait_for("the File menu", lambda: "showing" in states(program.menus["Exit"]))
        program.key("Up", "Return")
        wait_for("the question", lambda: program.child_with(program.app, Atspi.Role.ALERT) is not None)
        program.key(answer)
        if answer == "Escape":
            wait_for("the question to go", lambda: program.child_with(program.app, Atspi.Role.ALERT) is None)
            check(program.process.poll() is None, "No keeps the program running")
    try:
        status = program.process.wait(STEP_SECONDS)
    except subprocess.TimeoutExpired:
        raise Failure("the program did not end after Exit") from None
    check(status == 0, f"the program ends with status 0, not {status}")


def main():
    program = Program(sys.argv[1])
    events = Events()
    try:
        check_start(program, events)
        new_game(program, events, ["...", "...", "..."])
        print("After New game:\n" + tree_text(program.frame))
        board = play_by_actions(program, events)
        new_game(program, events, board)
        play_by_keys(program, events)
        print("After a won game (menus as above):\n" + tree_text(program.frame, menus=False))
        choose_computer(program, events)
        leave(program)
    except Failure as failure:
        print("FAILED:", failure, file=sys.stderr)
        return 1
    finally:
        program.stop()
    print("screen reader test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
