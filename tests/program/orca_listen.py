"""Plays a scenario on the program by keyboard and writes down, step by step, what Orca speaks.

Run it through orca_listen.sh, which gives it a display and a D-Bus session of its own. Here it starts the openbox
window manager, Orca with default settings and a debug file, and the program; then it sends each step's keys with
xdotool and takes the SPEECH OUTPUT lines that Orca writes to its debug file as the step's speech, waiting until Orca
has gone quiet rather than for a fixed time. Orca gets no speech engine (the display has no sound device, and a
speech-dispatcher that cannot play holds Orca up): it logs each utterance all the same, before it would hand it on.
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

HERE = Path(__file__).resolve().parent
PYTHON = "/usr/bin/python3"  # Orca's own modules are installed for the system's Python only

# Orca writes "SPEECH OUTPUT: 'text'", mostly followed by a voice and its settings; an echoed key has a space before
# the settings. The further lines of a text with line breaks are indented by the width of the time stamp.
SPEECH = re.compile(r"'(?P<text>.*)'(?P<echo> ?)(?: voice=\S+)?(?:\{.*\})?", re.DOTALL)
CONTINUATION = " " * 18


@dataclass
class Timing:
    first: float = 3.0  # how long a step may stay silent before it counts as saying nothing
    first_start: float = 10.0  # the same for the program's start, which registers with the bus first
    quiet: float = 1.0  # how long Orca's log must stand still before a step's speech counts as complete
    limit: float = 15.0  # the most one listen waits
    retries: int = 2  # further tries when a step's expected speech does not come
    settle: float = 1.0  # the pause before a step's keys are sent again
    # Qt keeps a window active through a focus loss undone within a moment, so the loss is held this long.
    focus_away: float = 0.5


@dataclass
class Step:
    name: str
    action: str
    expect: re.Pattern | None = None
    again: bool = False  # on a miss, the keys are sent again rather than the window activated again
    once: bool = False  # the expected speech must be heard once, never repeated
    utterances: list = field(default_factory=list)
    retries: int = 0
    seconds: float = 0.0

    def matches(self):
        return sum(1 for text, _ in self.utterances if self.expect.search(text)) if self.expect else 0

    def repeated(self):
        return self.once and self.matches() > 1

    def heard(self):
        return self.expect is None or (self.matches() >= 1 and not self.repeated())


def read_scenario(path):
    steps = []
    for number, line in enumerate(Path(path).read_text().splitlines(), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        fields = [part.strip() for part in line.split("|")]
        if not 2 <= len(fields) <= 4 or not fields[0] or not fields[1] or fields[3:] not in ([], ["again"], ["once"]):
            raise SystemExit(f"{path}:{number}: expected 'name | action [| expected speech [| again | once]]'")
        expect = re.compile(fields[2]) if len(fields) > 2 and fields[2] else None
        steps.append(Step(fields[0], fields[1], expect, fields[3:] == ["again"], fields[3:] == ["once"]))
    return steps


class OrcaLog:
    """Orca's debug file, read as it grows: whole lines only, so a line half written is taken next time."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.pending = b""

    def new_lines(self):
        try:
            with open(self.path, "rb") as log:
                log.seek(self.offset)
                chunk = log.read()
        except FileNotFoundError:
            return []
        self.offset += len(chunk)
        lines = (self.pending + chunk).split(b"\n")
        self.pending = lines.pop()
        return [line.decode("utf-8", errors="replace") for line in lines]


def utterances(lines):
    """(text, is a key echo) of each utterance; one that does not parse is kept whole rather than lost."""
    found, index = [], 0
    while index < len(lines):
        _, marker, rest = lines[index].partition("SPEECH OUTPUT: ")
        index += 1
        if not marker:
            continue
        while not SPEECH.fullmatch(rest) and index < len(lines) and lines[index].startswith(CONTINUATION):
            rest += "\n" + lines[index][len(CONTINUATION):]
            index += 1
        match = SPEECH.fullmatch(rest)
        found.append((match["text"].strip(), bool(match["echo"])) if match else (rest, False))
    return found


def listen(log, timing, first):
    """The speech that follows an action: it ends when Orca's log stands still, or after `first` if nothing is said."""
    heard, start = [], time.monotonic()
    last_line = start
    while (now := time.monotonic()) - start < timing.limit:
        lines = log.new_lines()
        if lines:
            last_line = now
            heard += utterances(lines)
        if (heard and now - last_line >= timing.quiet) or (not heard and now - start >= first):
            break
        time.sleep(0.05)
    return heard


def xdotool(*args, check=True):
    return subprocess.run(["xdotool", *args], check=check, capture_output=True, text=True, timeout=20)


def orca_version():
    return subprocess.run(["orca", "--version"], capture_output=True, text=True).stdout.strip()


class Session:
    """The window manager, Orca and the program, each started here and each stopped by its own process id."""

    def __init__(self, program, work, timing):
        self.program, self.work, self.timing = program, Path(work), timing
        self.log = OrcaLog(self.work / "orca-debug.log")
        home = self.work / "home"
        (self.work / "runtime").mkdir(mode=0o700)
        # Orca's settings and caches in a home of its own, so it runs with its defaults and leaves nothing behind.
        self.env = dict(os.environ, HOME=str(home), XDG_CONFIG_HOME=str(home / ".config"),
                        XDG_DATA_HOME=str(home / ".local/share"), XDG_CACHE_HOME=str(home / ".cache"),
                        XDG_RUNTIME_DIR=str(self.work / "runtime"), SPEECHD_CMD="/bin/false")
        self.processes = {}

    def start(self, name, command, **env):
        with open(self.work / f"{name}.out", "w") as output:
            self.processes[name] = subprocess.Popen(command, env=dict(self.env, **env), stdout=output,
                                                    stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)

    def wait_until(self, what, ready, seconds=30):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if ready():
                return
            time.sleep(0.1)
        raise RuntimeError(f"timed out waiting for {what}")

    # openbox runs its start-up command once it manages windows; a window mapped before then is never focused.
    def start_desktop(self):
        ready = self.work / "openbox-ready"
        self.start("openbox", ["openbox", "--sm-disable", "--startup", f"touch {ready}"])
        self.wait_until("the window manager", ready.exists)
        self.start("orca", [PYTHON, str(HERE / "orca_launch.py"), "--debug-file", str(self.log.path)])
        self.wait_until("Orca's first words", lambda: listen(self.log, self.timing, self.timing.first), 60)

    def program_windows(self):
        pid = str(self.processes["program"].pid)
        return xdotool("search", "--onlyvisible", "--pid", pid, check=False).stdout.split()

    def reactivate(self):
        """Takes the focus from the program's window a moment and gives it back, so Orca sees the window activated.

        Orca presents a window it has missed once it is activated again; a window it follows already is not
        presented anew. Where the window manager cannot activate it, the focus is set directly.
        """
        windows = self.program_windows()
        active = xdotool("getactivewindow", check=False).stdout.strip()
        window = active if active in windows else (windows[-1] if windows else None)
        if window is None:
            return False
        xdotool("windowminimize", "--sync", window, check=False)
        time.sleep(self.timing.focus_away)
        if xdotool("windowactivate", "--sync", window, check=False).returncode != 0:
            xdotool("windowfocus", "--sync", window, check=False)
        return True

    def act(self, action):
        if action == "start":
            self.start("program", [self.program], QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
            self.wait_until("the program's window", self.program_windows)
        elif action == "activate":
            self.reactivate()
        else:
            xdotool(*action.split())

    def program_status(self, seconds=10):
        try:
            return self.processes["program"].wait(seconds)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        # Orca first: stopped after the program, it may wait long on the program's vanished objects.
        for name in ("orca", "program", "openbox"):
            process = self.processes.get(name)
            if process and process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()


def run_step(session, step, timing):
    start = time.monotonic()
    session.act(step.action)
    step.utterances = listen(session.log, timing, timing.first_start if step.action == "start" else timing.first)
    # Speech heard too often is not mended by hearing more.
    while not step.heard() and not step.repeated() and step.retries < timing.retries:
        step.retries += 1
        if step.again:
            # A window activated just before the keys may close the menu they open, so the focus is left alone.
            time.sleep(timing.settle)
            session.act(step.action)
        elif not session.reactivate():
            break
        step.utterances += listen(session.log, timing, timing.first)
    step.seconds = time.monotonic() - start


def describe(number, step):
    lines = [f"step {number}: {step.name}   [{step.action}]"]
    lines += [f"    {'(key echo) ' if echo else ''}\"{text}\"" for text, echo in step.utterances]
    if not step.utterances:
        lines.append("    (nothing spoken)")
    if step.retries:
        retry = "keys sent again" if step.again else "window activated again"
        lines.append(f"    ({retry} {step.retries} time(s); the speech above includes what followed)")
    if step.repeated():
        lines.append(f"    (expected speech matching /{step.expect.pattern}/ was heard {step.matches()} times, not once)")
    elif not step.heard():
        lines.append(f"    (expected speech matching /{step.expect.pattern}/ was not heard)")
    return "\n".join(lines)


def play(session, steps, timing, transcript):
    """Plays the steps until the last or until the program has ended; returns its status (None: still running)."""
    for number, step in enumerate(steps, 1):
        run_step(session, step, timing)
        text = describe(number, step)
        print(f"{text}   ({step.seconds:.1f} s)", flush=True)
        transcript.write(text + "\n")
        if session.processes["program"].poll() is not None and number < len(steps):
            transcript.write(f"program ended after step {number}, before the scenario's end\n")
            return session.processes["program"].returncode, steps[:number]
    return session.program_status(), steps


def keep_logs(work, logs):
    Path(logs).mkdir(parents=True, exist_ok=True)
    for name in ("orca-debug.log", "orca.out", "openbox.out", "program.out"):
        if (Path(work) / name).exists():
            shutil.copyfile(Path(work) / name, Path(logs) / name)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("transcript")
    parser.add_argument("scenario")
    parser.add_argument("--logs", help="a folder to keep Orca's debug file and the processes' output in")
    args = parser.parse_args()
    steps, timing, started = read_scenario(args.scenario), Timing(), time.monotonic()
    # Written line by line, so that a run stopped by its time limit leaves the steps it heard.
    with tempfile.TemporaryDirectory(prefix="orca-listen-") as work, \
            open(args.transcript, "w", buffering=1) as transcript:
        session = Session(os.path.abspath(args.program), work, timing)
        transcript.write(f"# What Orca {orca_version()} spoke of {args.program}, step by step ({args.scenario})\n")
        try:
            session.start_desktop()
            status, played = play(session, steps, timing, transcript)
        finally:
            session.stop()
            if args.logs:
                keep_logs(work, args.logs)
        ending = "still running after the last step" if status is None else f"ended with status {status}"
        transcript.write(f"program {ending}\n")
    missed = [step.name for step in played if not step.heard()]
    print(f"program {ending}; {len(played)} of {len(steps)} steps in {time.monotonic() - started:.0f} s; "
          f"{sum(step.retries for step in played)} retries; expected speech missed in {missed or 'no step'}")
    return 0 if not missed and status == 0 and len(played) == len(steps) else 1


if __name__ == "__main__":
    sys.exit(main())
