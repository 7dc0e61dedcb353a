"""Starts the installed Orca with its own command line, its debug file written line by line.

Orca opens its --debug-file block-buffered, so a step's lines would reach the file several steps later; the listener
reads that file as it grows. The first debug line written once the file is open switches it to line buffering.
Orca also refuses to start while any other Orca of this user runs on the machine, though each of those has a D-Bus
session of its own: that check is dropped here, and --replace, which kills them, is never passed.
"""
import runpy
import sys

from orca import debug

ORCA = "/usr/bin/orca"


def line_buffered_from_first_line():
    println = debug.println

    def first_println(*args, **kwargs):
        if debug.debugFile is not None:
            debug.debugFile.reconfigure(line_buffering=True)
            debug.println = println
        println(*args, **kwargs)

    debug.println = first_println


def main():
    line_buffered_from_first_line()
    launcher = runpy.run_path(ORCA, run_name="orca_launcher")
    orca_main = launcher["main"]
    orca_main.__globals__["otherOrcas"] = lambda: []
    return orca_main()


if __name__ == "__main__":
    sys.exit(main())
