#!/usr/bin/env python3
"""Runs the POSIX build on a pseudo-terminal, as a user meets it: the window
is coloured and cleared with escapes, the pause waits for a new key (not for
what was typed ahead), and the terminal is back in line mode with echo after
the key and after Ctrl+C.

    pty_test.py BINARY

Nothing here is timed: each wait polls for a state and only a generous guard
against a hang ends it.
"""
import fcntl
import os
import select
import signal
import subprocess
import sys
import tempfile
import termios
import unittest
from pathlib import Path

BINARY = None
GUARD_SECONDS = 30
COLOURS = b"\x1b[0;97;42m"
CLEAR = b"\x1b[H\x1b[2J"
RESET = b"\x1b[0m"
PRESS_KEY = "请按任意键继续. . .".encode("gbk")
PROMPT = "请输入:".encode("gbk")


class Terminal:
    """The tool on the slave side of a new pty, as its controlling terminal."""

    def __init__(self, netsh_status=0):
        self.master, self.slave = os.openpty()
        self.scratch = tempfile.TemporaryDirectory()
        bin_dir = Path(self.scratch.name)
        netsh = bin_dir / "netsh"
        netsh.write_text(f"#!/bin/sh\nexit {netsh_status}\n")
        netsh.chmod(0o755)
        self.original = termios.tcgetattr(self.slave)
        self.output = b""

        def controlling_terminal():
            os.setsid()
            fcntl.ioctl(0, termios.TIOCSCTTY, 0)

        env = {**os.environ, "PATH": f"{bin_dir}{os.pathsep}{os.environ['PATH']}", "TERM": "xterm"}
        self.proc = subprocess.Popen([BINARY], stdin=self.slave, stdout=self.slave, stderr=self.slave,
                                     env=env, cwd=bin_dir, preexec_fn=controlling_terminal)

    def type(self, data):
        os.write(self.master, data)

    def drain(self, timeout=0.05):
        while select.select([self.master], [], [], timeout)[0]:
            try:
                chunk = os.read(self.master, 4096)
            except OSError:
                return
            if not chunk:
                return
            self.output += chunk

    def wait_for(self, what, condition):
        deadline = GUARD_SECONDS / 0.05
        for _ in range(int(deadline)):
            self.drain()
            if condition():
                return
        raise AssertionError(f"never saw {what}; output so far {self.output!r}")

    def key_mode(self):
        lflag = termios.tcgetattr(self.slave)[3]
        return not lflag & termios.ICANON and not lflag & termios.ECHO

    def pending_input(self):
        return int.from_bytes(fcntl.ioctl(self.slave, termios.FIONREAD, b"\0\0\0\0"), "little")

    def blocked(self):
        with open(f"/proc/{self.proc.pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] == "S"

    def waiting_for_key(self):
        """Prompt written, terminal in key mode, nothing left to read, asleep."""
        return PRESS_KEY in self.output and self.key_mode() and self.pending_input() == 0 and self.blocked()

    def finish(self):
        self.wait_for("the end", lambda: self.proc.poll() is not None)
        self.drain()
        return self.proc.returncode

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        os.close(self.master)
        os.close(self.slave)
        self.scratch.cleanup()


class OnATerminal(unittest.TestCase):
    def setUp(self):
        self.term = None

    def tearDown(self):
        if self.term:
            self.term.close()

    def start(self, status=0):
        self.term = Terminal(status)
        return self.term

    def test_window_coloured_and_cleared_and_colours_reset_at_exit(self):
        t = self.start(status=1)
        t.wait_for("the prompt", lambda: t.output.endswith(PROMPT))
        t.type(b"1\n")
        self.assertEqual(t.finish(), 0)
        self.assertTrue(t.output.startswith(COLOURS + CLEAR), t.output[:40])
        self.assertEqual(t.output.count(CLEAR), 2)  # at start, and by the operation
        self.assertTrue(t.output.endswith(RESET), t.output[-40:])

    def test_pause_waits_for_a_new_key_and_restores_the_terminal(self):
        t = self.start(status=0)
        # The rest of the line and a whole second line are typed ahead at once.
        t.type(b"1 rest of the line\nsecond line\n")
        t.wait_for("the pause waiting for a key", t.waiting_for_key)
        self.assertIsNone(t.proc.poll())
        t.type(b"\x1b[A")  # one key that sends a sequence: an arrow
        self.assertEqual(t.finish(), 0)
        self.assertEqual(termios.tcgetattr(t.slave), t.original)
        self.assertEqual(t.pending_input(), 0)  # nothing of the key is left for the shell

    def test_ctrl_c_in_the_pause_restores_the_terminal(self):
        t = self.start(status=0)
        t.type(b"2\n")
        t.wait_for("the pause waiting for a key", t.waiting_for_key)
        t.type(b"\x03")
        self.assertEqual(t.finish(), -signal.SIGINT)
        self.assertEqual(termios.tcgetattr(t.slave), t.original)
        self.assertTrue(t.output.endswith(RESET), t.output[-40:])

    def test_end_of_input_at_the_menu(self):
        t = self.start()
        t.wait_for("the prompt", lambda: t.output.endswith(PROMPT))
        t.type(b"\x04")  # Ctrl+D at the start of a line
        self.assertEqual(t.finish(), 0)
        self.assertEqual(termios.tcgetattr(t.slave), t.original)


if __name__ == "__main__":
    BINARY = str(Path(sys.argv.pop(1)).resolve())
    unittest.main(verbosity=2)
