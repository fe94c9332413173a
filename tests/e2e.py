#!/usr/bin/env python3
"""Drives the built wifi-hotspot end to end: keys on stdin, the bytes on
stdout, the exact arguments that reached a stand-in netsh, the exit status.

    e2e.py BINARY                      the POSIX build, netsh a shell script
    e2e.py --wine EXE NETSH_EXE        the Windows build under wine, in the
                                       prefix WINEPREFIX (made when missing),
                                       with a stand-in netsh.exe in the folder
                                       it runs in, through cmd.exe

The stand-in netsh appends what it received to a log, prints one line of its
own (to show it lands between the tool's texts) and exits with the status the
case chooses.
"""
import ast
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent


def load_texts():
    """The readable texts from texts.h, encoded here independently as GBK."""
    source = (HERE.parent / "src" / "texts.h").read_text(encoding="utf-8")
    body = source[source.index("#define WIFI_HOTSPOT_TEXTS(X)"):source.index("namespace text")]
    body = re.sub(r"/\*.*?\*/", "", body).replace("\\\n", "")
    literal = r'"(?:[^"\\]|\\.)*"'
    texts = {}
    for m in re.finditer(rf"X\((\w+),\s*({literal})", body):
        texts[m.group(1)] = ast.literal_eval(m.group(2)).encode("gbk")
    return texts


T = load_texts()
MENU = [T["menu_title"], b"\n", T["menu_open"], b"\n", T["menu_close"], b"\n",
        T["menu_create"], b"\n", T["menu_end"], b"\n", T["prompt"]]
WRONG = [T["wrong_choice"], "CLS"] + MENU
ASK = ["CLS", T["name_prompt"], T["key_prompt"]]
SHORT = [T["key_short"], T["key_again"]]
NETSH_SAID = b"netsh stand-in ran\n"
SET = ["wlan", "set", "hostednetwork", "mode=allow"]

# (name, keys, netsh status, screen after COLOR and the menu, netsh arguments
#  or None, platforms where the case holds)
BOTH = ("posix", "windows")
CASES = [
    ("start", b"1\n", 0, ["CLS", "NETSH", T["open_ok"], "PAUSE"], ["wlan", "start", "hostednetwork"], BOTH),
    ("start fails", b"1\n", 1, ["CLS", "NETSH", T["open_fail"]], ["wlan", "start", "hostednetwork"], BOTH),
    ("stop", b"2\n", 0, ["CLS", "NETSH", T["close_ok"], "PAUSE"], ["wlan", "stop", "hostednetwork"], BOTH),
    ("stop fails", b"2", 3, ["CLS", "NETSH", T["close_fail"]], ["wlan", "stop", "hostednetwork"], BOTH),
    ("configure", b"3\nhome\nsecret12\n", 0,
     ASK + ["NETSH", T["create_ok"], "PAUSE"], SET + ["ssid=home", "key=secret12"], BOTH),
    ("configure fails", b"3\nhome secret12\n", 1,
     ASK + ["NETSH", T["create_fail"]], SET + ["ssid=home", "key=secret12"], BOTH),
    ("refused then stop", b"x 12 \xa3\xb1\n2\n", 0,
     WRONG + WRONG + WRONG + ["CLS", "NETSH", T["close_ok"], "PAUSE"], ["wlan", "stop", "hostednetwork"], BOTH),
    ("short password", b"3\n\xce\xde\xcf\xdf\n1234567\n\xc3\xdc\xc2\xeb\xc3\xdc\xc2\xeb\n", 0,
     ASK + SHORT + ["NETSH", T["create_ok"], "PAUSE"],
     SET + ["ssid=\xce\xde\xcf\xdf", "key=\xc3\xdc\xc2\xeb\xc3\xdc\xc2\xeb"], BOTH),
    # Values the interpreters act on reach netsh as typed, and run nothing else.
    ("operators", b"3 a&echo>pwned x;touch${IFS}pwned|(y)\n", 0,
     ASK + ["NETSH", T["create_ok"], "PAUSE"], SET + ["ssid=a&echo>pwned", "key=x;touch${IFS}pwned|(y)"], BOTH),
    ("expansions", b"3 $(touch${IFS}pwned) `touch${IFS}pwned`^<x>\n", 0,
     ASK + ["NETSH", T["create_ok"], "PAUSE"],
     SET + ["ssid=$(touch${IFS}pwned)", "key=`touch${IFS}pwned`^<x>"], BOTH),
    ("globs and comments", b"3 * #*?[ab]~\n", 0,
     ASK + ["NETSH", T["create_ok"], "PAUSE"], SET + ["ssid=*", "key=#*?[ab]~"], BOTH),
    ("single quote refused", b"3 it's home x'y;z12345 12345678\n", 0,
     ["CLS", T["name_prompt"], T["unusable"], T["name_prompt"], T["key_prompt"], T["unusable"],
      T["key_again"], "NETSH", T["create_ok"], "PAUSE"], SET + ["ssid=home", "key=12345678"], ("posix",)),
    ("single quote", b"3 it's x'y;z12345\n", 0,
     ASK + ["NETSH", T["create_ok"], "PAUSE"], SET + ["ssid=it's", "key=x'y;z12345"], ("windows",)),
    ("double quote and percent", b'3 a"b&c %PATH%&x\n', 0,
     ASK + ["NETSH", T["create_ok"], "PAUSE"], SET + ['ssid=a"b&c', "key=%PATH%&x"], ("posix",)),
    ("double quote and percent refused", b'3 a"b home %PATH%&x 100%%%%% 12345678\n', 0,
     ["CLS", T["name_prompt"], T["unusable"], T["name_prompt"], T["key_prompt"], T["unusable"],
      T["key_again"], T["unusable"], T["key_again"], "NETSH", T["create_ok"], "PAUSE"],
     SET + ["ssid=home", "key=12345678"], ("windows",)),
    ("trailing backslash", b"3 a&b\\ 12345678\\\n", 0,
     ASK + ["NETSH", T["create_ok"], "PAUSE"], SET + ["ssid=a&b\\", "key=12345678\\"], ("posix",)),
    ("trailing backslash refused", b"3 a&b\\ c:\\ (x)\\1234567\\ 12345678\\\n", 0,
     ["CLS", T["name_prompt"], T["unusable"], T["name_prompt"], T["key_prompt"], T["unusable"],
      T["key_again"], "NETSH", T["create_ok"], "PAUSE"], SET + ["ssid=c:\\", "key=12345678\\"], ("windows",)),
    # The command line holds 99 bytes.
    ("41 + 8 bytes fit", b"3 " + b"n" * 41 + b" 12345678\n", 0,
     ASK + ["NETSH", T["create_ok"], "PAUSE"], SET + ["ssid=" + "n" * 41, "key=12345678"], BOTH),
    ("42 + 8 bytes asked again", b"3 " + b"n" * 42 + b" 12345678 home 12345678\n", 0,
     ASK + [T["too_long"], T["name_prompt"], T["key_prompt"], "NETSH", T["create_ok"], "PAUSE"],
     SET + ["ssid=home", "key=12345678"], BOTH),
    # Overlong tokens are consumed whole and refused once.
    ("overlong choice", b"9" * 5000 + b" 2\n", 0,
     WRONG + ["CLS", "NETSH", T["close_ok"], "PAUSE"], ["wlan", "stop", "hostednetwork"], BOTH),
    ("overlong name", b"3 " + b"n" * 300 + b" 12345678 home 12345678\n", 0,
     ASK + [T["too_long"], T["name_prompt"], T["key_prompt"], "NETSH", T["create_ok"], "PAUSE"],
     SET + ["ssid=home", "key=12345678"], BOTH),
    # End of input at every read ends the program with status 0, running nothing.
    ("end at the menu", b"", 0, [], None, BOTH),
    ("end after a refusal", b"9\n", 0, WRONG, None, BOTH),
    ("end at the name", b"3\n", 0, ["CLS", T["name_prompt"]], None, BOTH),
    ("end at the password", b"3 home\n", 0, ASK, None, BOTH),
    ("end at a short password", b"3 home short\n", 0, ASK + SHORT, None, BOTH),
    ("end at a refused name", b"3 '\"%\n", 0, ["CLS", T["name_prompt"], T["unusable"], T["name_prompt"]],
     None, BOTH),
    ("end after too long", b"3 " + b"n" * 45 + b" 12345678\n", 0,
     ASK + [T["too_long"], T["name_prompt"]], None, BOTH),
]


class Posix:
    """The POSIX build: /bin/sh runs a netsh script found first on PATH, which
    logs its arguments one a line."""
    name = "posix"
    newline = b"\n"
    own_files = set()

    def __init__(self, binary):
        self.binary = str(Path(binary).resolve())

    def setup(self, scratch):
        netsh = scratch / "bin" / "netsh"
        netsh.parent.mkdir()
        netsh.write_text('#!/bin/sh\nfor a in "$@"; do printf \'%s\\n\' "$a"; done > "$NETSH_LOG"\n'
                         'echo "netsh stand-in ran"\nexit "$NETSH_STATUS"\n')
        netsh.chmod(0o755)
        self.path = f"{netsh.parent}{os.pathsep}{os.environ['PATH']}"

    def prepare(self, work):
        pass

    def teardown(self):
        pass

    def command(self):
        return [self.binary]

    def env(self, log, status):
        return {**os.environ, "PATH": self.path, "NETSH_LOG": str(log), "NETSH_STATUS": str(status)}

    def markers(self):
        # With stdout a pipe nothing is painted; the pause does not wait.
        return {"COLOR": b"", "CLS": b"", "PAUSE": T["press_key"] + b"\n", "NETSH": NETSH_SAID}

    def arguments(self, log):
        return log.read_bytes().decode("latin-1").split("\n")[:-1]


class Wine:
    """The Windows build under wine: cmd.exe runs the stand-in netsh.exe from
    the folder the tool runs in, which logs its raw command line and the
    arguments its C runtime made of it."""
    name = "windows"
    newline = b"\r\n"
    own_files = {"netsh.exe"}

    def __init__(self, exe, netsh):
        self.exe = str(Path(exe).resolve())
        self.netsh = Path(netsh).resolve()

    def setup(self, scratch):
        # The prefix (WINEPREFIX) is made on the first run. A wineserver kept
        # up for the whole run makes each case quick, and wine's own services,
        # started here away from the cases' pipes, cannot hold one open.
        quiet = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
        os.makedirs(os.environ["WINEPREFIX"], exist_ok=True)
        subprocess.run(["wineserver", "-p"], check=True, **quiet)
        subprocess.run(["wineboot", "-i"], check=True, timeout=600, **quiet)

    def teardown(self):
        subprocess.run(["wineserver", "-k"], check=False)

    def prepare(self, work):
        shutil.copy(self.netsh, work / "netsh.exe")

    def command(self):
        return ["wine", self.exe]

    def env(self, log, status):
        return {**os.environ, "NETSH_LOG": "Z:" + str(log).replace("/", "\\"), "NETSH_STATUS": str(status)}

    def markers(self):
        # cmd.exe's own: color and cls write nothing to a pipe; pause its prompt.
        return {"COLOR": b"", "CLS": b"", "PAUSE": b"Press any key to continue... ",
                "NETSH": NETSH_SAID.replace(b"\n", b"\r\n")}

    def arguments(self, log):
        raw, *args = log.read_bytes().decode("latin-1").split("\n")[:-2]
        # Plain values go in unquoted: the line is exactly its words, one blank apart.
        if '"' not in raw and raw != " ".join(["netsh"] + args):
            return [f"raw line {raw!r}"]
        return args


def run_case(platform, scratch, case):
    name, keys, status, screen, expected_args, platforms = case
    work = scratch / re.sub(r"\W", "_", name)
    work.mkdir()
    platform.prepare(work)
    log = scratch / (work.name + ".log")
    result = subprocess.run(platform.command(), input=keys, stdout=subprocess.PIPE, cwd=work,
                            env=platform.env(log, status), timeout=120)
    markers = platform.markers()
    parts = ["COLOR"] + MENU + screen
    expected = b"".join(markers[p] if isinstance(p, str) else p.replace(b"\n", platform.newline)
                        for p in parts)
    failures = []
    if result.returncode != 0:
        failures.append(f"exit status {result.returncode}")
    if result.stdout != expected:
        failures.append(f"screen\n  got      {result.stdout!r}\n  expected {expected!r}")
    got_args = platform.arguments(log) if log.exists() else None
    if got_args != expected_args:
        failures.append(f"netsh arguments {got_args!r}, expected {expected_args!r}")
    left = sorted(p.name for p in work.iterdir() if p.name not in platform.own_files)
    if left:
        failures.append(f"files appeared: {left}")
    return failures


def run_cases(platform, scratch):
    failed = passed = 0
    for case in CASES:
        if platform.name not in case[5]:
            continue
        failures = run_case(platform, scratch, case)
        print(f"{'FAIL' if failures else 'ok  '} {case[0]}")
        for f in failures:
            print("  " + f)
        failed, passed = failed + bool(failures), passed + (not failures)
    return failed, passed


def main(argv):
    platform = Wine(argv[2], argv[3]) if argv[1:2] == ["--wine"] else Posix(argv[1])
    with tempfile.TemporaryDirectory(prefix="wifi-hotspot-e2e-") as tmp:
        scratch = Path(tmp)
        platform.setup(scratch)
        try:
            failed, passed = run_cases(platform, scratch)
        finally:
            platform.teardown()
    print(f"{passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
