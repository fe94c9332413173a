#!/usr/bin/env python3
"""e2e.py BINARY | EXE NETSH_EXE [--terminal]: keys in; the screen (pipes, or a pseudo-terminal), what reached a
stand-in netsh, the exit status, no new file out. The real /bin/sh, or wine's cmd.exe on code page 936, judges."""
import atexit, contextlib, fcntl, os, random, re, select, shutil, subprocess, sys, tempfile, termios
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

T = {k: v.encode("gbk") for k, v in {
    "menu": "笔记本无线网管理工具（请使用管理员权限运行）\t\t\t\t\n一、开启无线网\t\t\t\t\t\t\n"
            "二、关闭无线网\t\t\t\t\t\t\n三、创建无线网\t\t\t\t\t\t\n\t 输入1、2或3后按回车键\t\n请输入:",
    "wrong": "输入错误！", "open_ok": "ＷＩＦＩ开启成功!\n", "open_fail": "ＷＩＦＩ开启失败!\n", "close_ok": "ＷＩＦＩ关闭成功!\n",
    "close_fail": "ＷＩＦＩ关闭失败!\n", "create_ok": "ＷＩＦＩ创建成功!\n", "create_fail": "ＷＩＦＩ创建失败!\n",
    "name": "请输入要设置的WIFI热点的名字:", "key": "请输入要设置的WIFI热点的密码(8个字母数字以上):", "short": "密码不足8位数!\n",
    "again": "请重新输入要设置的密码:", "long": "名字和密码太长，命令行放不下，请重新输入!\n", "press": "请按任意键继续",
    "unusable": "含有命令行无法原样传递的字符!\n",
}.items()}
WRONG, ASK, LONG = [T["wrong"], "CLS", T["menu"]], ["CLS", T["name"], T["key"]], [T["long"], T["name"], T["key"]]
NAME_AGAIN, KEY_AGAIN, SHORT = [T["unusable"], T["name"]], [T["unusable"], T["again"]], [T["short"], T["again"]]
OK, OPEN, CLOSE = ["NETSH", T["create_ok"], "PAUSE"], [b"wlan start hostednetwork".split()], \
    [b"wlan stop hostednetwork".split()]
BOTH, POSIX, WINDOWS = ("posix", "windows"), ("posix",), ("windows",)


def ran(name, key):  # the configure line ran with these values
    return [b"wlan set hostednetwork mode=allow".split() + [b"ssid=" + name, b"key=" + key]]


# (name, keys, netsh status, screen after the menu, netsh runs, platforms)
CASES = [
    ("start", b"1\n", 0, ["CLS", "NETSH", T["open_ok"], "PAUSE"], OPEN, BOTH),
    ("start fails", b" \t1\n", 1, ["CLS", "NETSH", T["open_fail"]], OPEN, BOTH),
    ("stop", b"2\n", 0, ["CLS", "NETSH", T["close_ok"], "PAUSE"], CLOSE, BOTH),
    ("stop fails", b"2", 3, ["CLS", "NETSH", T["close_fail"]], CLOSE, BOTH),
    ("refused then stop", b"x 12 \xa3\xb1 1\0me " + b"9" * 100 + b"\n2\n", 0,  # 100 bytes: one past the buffer
     WRONG * 5 + ["CLS", "NETSH", T["close_ok"], "PAUSE"], CLOSE, BOTH),
    ("configure", b"3\nhome\nsecret12\n", 0, ASK + OK, ran(b"home", b"secret12"), BOTH),
    ("configure fails", b"3\nhome secret12\n", 1, ASK + ["NETSH", T["create_fail"]], ran(b"home", b"secret12"), BOTH),
    # Characters of code page 936 whose second byte is \ or |: one character, not those bytes.
    ("short passwords", b"3 \x81\x7c\x81\x5c 1234567 x \xc3\xdc\xc2\xeb\xc3\xdc\x81\x5c\n", 0,
     ASK + SHORT * 2 + OK, ran(b"\x81\x7c\x81\x5c", b"\xc3\xdc\xc2\xeb\xc3\xdc\x81\x5c"), BOTH),
    ("operators quoted", b"3 a&echo>pwned x;touch${IFS}pwned|(y)^\n", 0, ASK + OK,
     ran(b"a&echo>pwned", b"x;touch${IFS}pwned|(y)^"), BOTH),
    ("single quote refused", b"3 it's home x'y;z12345 12345678\n", 0, ASK[:2] + NAME_AGAIN + [T["key"]] +
     KEY_AGAIN + OK, ran(b"home", b"12345678"), POSIX),
    ("quotes, percents, quoted trailing \\ refused", b'3 a"b a&b\\ c:\\ %OS%&x12 1234567\\" 100%%%%% '
     b'&x1234567\\ 12345678\\\n', 0, ASK[:2] + NAME_AGAIN * 2 + [T["key"]] + KEY_AGAIN * 4 + OK,
     ran(b"c:\\", b"12345678\\"), WINDOWS),
    ("double-byte characters quoted", b"3 a&\x81\x5c \x81\x7c&1234567\x81\x5c\n", 0, ASK + OK,
     ran(b"a&\x81\x5c", b"\x81\x7c&1234567\x81\x5c"), BOTH),
    ("lead bytes refused", b"3 a&b\x95 n\x95 home &echo>PWNED\xd4 \xc8\x0112345678 12345678\n", 0,
     ASK[:2] + NAME_AGAIN * 2 + [T["key"]] + KEY_AGAIN * 2 + OK, ran(b"home", b"12345678"), WINDOWS),
    # The command line holds 99 bytes, quotes included.
    ("42 + 8, 41 + 2 quotes + 8 asked again, 41 + 8 fit", b"3 " + b"n" * 42 + b" 12345678 " + b"n" * 40 +
     b"& 12345678 " + b"n" * 41 + b" 12345678\n", 0, ASK + LONG * 2 + OK, ran(b"n" * 41, b"12345678"), BOTH),
    # End of input at every read ends the program with status 0, running nothing.
    ("end at the menu", b"", 0, [], [], BOTH),
    ("end at a short password", b"3 home short\n", 0, ASK + SHORT, [], BOTH),
    ("end at a refused name", b"3 '\"%\n", 0, ASK[:2] + NAME_AGAIN, [], BOTH),
    ("end after too long", b"3 " + b"n" * 300 + b" 12345678\n", 0, ASK + LONG[:2], [], BOTH),
]


def oracle_cases():
    """Name and password must reach netsh as typed or be refused: every ASCII byte an interpreter
    could act on, after a lead byte of code page 936 too (not 0x1A: Windows ends input there)."""
    ascii_ = bytes(b for b in range(1, 128) if b not in b" \t\n\v\f\r\x1a" and not chr(b).isalnum())
    values = [b"x%cy" % b for b in ascii_] + [b"\x95%c" % b for b in ascii_]
    values += [b"x[z]y", b"x{a,b}y", b"(\xfe", b"\x80", b"\xff"]
    rng, pool = random.Random(7), ascii_ + b"az09\x81\x95\xa3\xc8\xd4\xfe"
    values += [bytes(rng.choice(pool) for _ in range(rng.randint(1, 12))) for _ in range(20)]
    return [(f"oracle {v!r}", b"3 %s %s12345678\n" % (v, v), 0, None, ran(v, v + b"12345678"), BOTH) for v in values]


class Platform:  # where and how the program runs, with a stand-in netsh that logs what it got
    def __init__(self, args, scratch):
        self.wine, self.scratch = len(args) > 1, scratch
        self.name, self.newline = ("windows", b"\r\n") if self.wine else ("posix", b"\n")
        self.command, self.env = ["wine"] * self.wine + [os.path.abspath(args[0])], {**os.environ, "TERM": "xterm"}
        if self.wine:  # wine takes its code pages from the locale's name
            self.env.update(LC_ALL="zh_CN.GBK", WINEDEBUG="-all")
            os.makedirs(self.env["WINEPREFIX"], exist_ok=True)  # one server for every case, and wine's services,
            subprocess.run("(wineserver -p && wineboot -i) </dev/null >/dev/null 2>&1",  # away from the cases' pipes
                           shell=True, env=self.env, check=True)
            atexit.register(subprocess.run, ["wineserver", "-k"], env=self.env)  # and every wine process with it
            self.netsh, self.pause = args[1], T["press"] + b"..."
            dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", args[0]], capture_output=True, check=True).stdout
            assert {d.lower() for d in re.findall(rb"DLL Name: (\S+)", dump)} == {b"kernel32.dll", b"msvcrt.dll"}, dump
        else:
            (scratch / "netsh").write_text('#!/bin/sh\n{ for a in "$@"; do printf \'%s\\n\' "$a"; done; echo; } >> '
                                           '"$NETSH_LOG"\necho "netsh stand-in ran"\nexit "$NETSH_STATUS"\n')
            (scratch / "netsh").chmod(0o755)
            self.env["PATH"], self.pause = f"{scratch}{os.pathsep}{os.environ['PATH']}", T["press"] + b". . .\n"

    def case(self, index, status):  # a folder to run in, the netsh log, the environment
        work, log = self.scratch / f"case{index}", self.scratch / f"case{index}.log"
        work.mkdir()
        if self.wine:
            shutil.copy(self.netsh, work / "netsh.exe")
        for decoy in ("ssid=xzy", "key=xzy12345678"):  # matches for the globs /bin/sh would expand
            (work / decoy).touch()
        where = "Z:" + str(log).replace("/", "\\") if self.wine else str(log)
        return work, log, {**self.env, "NETSH_LOG": where, "NETSH_STATUS": str(status)}

    def runs(self, log):
        runs = [run.split(b"\n") for run in log.read_bytes().split(b"\n\n")[:-1]] if log.exists() else []
        # netsh.exe logs the code page and the raw line: without quotes, that is the words one blank apart.
        return runs if not self.wine else [
            args if acp == b"936" and (b'"' in raw or raw == b" ".join([b"netsh"] + args)) else [acp, raw]
            for acp, raw, *args in runs]


def run_case(platform, index, case):
    name, keys, status, screen, expected_runs, _ = case
    work, log, env = platform.case(index, status)
    before = set(os.listdir(work))
    result = subprocess.run(platform.command, input=keys, stdout=subprocess.PIPE, cwd=work, env=env, timeout=120)
    got_runs, out = platform.runs(log), result.stdout
    failures = [f"exit status {result.returncode}"] if result.returncode != 0 else []
    if screen is not None:  # on pipes color and cls write nothing
        markers = {"CLS": b"", "NETSH": b"netsh stand-in ran\n", "PAUSE": platform.pause}
        expected = b"".join(markers.get(p, p) for p in [T["menu"]] + screen).replace(b"\n", platform.newline)
        if out != expected:
            failures.append(f"screen\n  got      {out!r}\n  expected {expected!r}")
    refused = not got_runs and T["unusable"].replace(b"\n", platform.newline) in out
    if got_runs != expected_runs and not (screen is None and refused):
        failures.append(f"netsh runs {got_runs!r}, expected {expected_runs!r}")
    changed = sorted(set(os.listdir(work)) ^ before)  # a file made or removed
    return name, failures + [f"files changed: {changed}"] * bool(changed)


class Terminal:  # the program on the slave side of a new pty, as its controlling terminal
    def __init__(self, platform, index, keys):
        self.master, self.slave = os.openpty()
        self.original, self.output = termios.tcgetattr(self.slave), b""
        work, _, env = platform.case(index, 0)
        self.proc = subprocess.Popen(platform.command, stdin=self.slave, stdout=self.slave, stderr=self.slave, env=env,
                                     cwd=work, start_new_session=True,
                                     preexec_fn=lambda: fcntl.ioctl(0, termios.TIOCSCTTY, 0))
        self.wait_for("the prompt", lambda: re.sub(rb"\x1b\[\?25[lh]", b"", self.output).endswith(b":"))  # wine
        os.write(self.master, keys)

    def wait_for(self, what, condition):  # polls for up to 30 s; nothing is timed
        for _ in range(600):
            while select.select([self.master], [], [], 0.05)[0]:
                self.output += os.read(self.master, 65536)
            if condition():
                return
        raise AssertionError(f"never saw {what}; the screen ends {self.output[-300:]!r}")

    def waiting_for_key(self):  # the prompt shown, the terminal in key mode, nothing to read, asleep
        lflag = termios.tcgetattr(self.slave)[3]
        pending = int.from_bytes(fcntl.ioctl(self.slave, termios.FIONREAD, b"\0\0\0\0"), "little")
        with open(f"/proc/{self.proc.pid}/stat") as f:
            asleep = f.read().rsplit(")", 1)[1].split()[0] == "S"
        return T["press"] in self.output and not lflag & (termios.ICANON | termios.ECHO) and not pending and asleep

    def press(self, key, ready=lambda: True):  # the exit status once the key has ended the program
        self.wait_for("the pause", ready)
        os.write(self.master, key)
        self.wait_for("the end", lambda: self.proc.poll() is not None)
        return self.proc.returncode


def posix_terminal(platform):
    colours, clear, reset = b"\x1b[0;97;42m", b"\x1b[H\x1b[2J\x1b[3J", b"\x1b[0m"
    t = Terminal(platform, 0, b"9\n")
    t.wait_for("the refusal on screen during its delay", lambda: T["wrong"] in t.output)
    assert T["wrong"] + clear not in t.output, "cleared at once"
    t.wait_for("the menu again", lambda: t.output.count(T["menu"][-7:]) == 2)
    os.write(t.master, b"1 rest of the line\nsecond line\n")  # typed ahead of the pause
    assert t.press(b"\x1b[A", t.waiting_for_key) == 0 and termios.tcgetattr(t.slave) == t.original  # an arrow
    assert t.output.startswith(colours + clear) and T["wrong"] + clear in t.output, t.output[:60]
    assert clear + b"netsh stand-in ran" in t.output, "netsh wrote before the window was cleared"
    t2 = Terminal(platform, 1, b"2\n")
    assert t2.press(b"\x03", t2.waiting_for_key) == -2 and termios.tcgetattr(t2.slave) == t2.original, "Ctrl+C"
    assert t.output.endswith(reset) and t2.output.endswith(reset), "colours not reset"


def windows_terminal(platform):
    t = Terminal(platform, 0, b"1 rest\r")
    t.wait_for("the pause", lambda: T["press"] in t.output)
    assert b"\x1b[97m\x1b[42m" in t.output, "not bright white on green"
    cls = rb"1 rest\r\r\n\x1b\[H {80}\r\r\n.*\x1b\[Hnetsh stand-in ran"  # after the choice, before netsh
    assert re.search(cls, re.sub(rb"\x1b\[\?25[lh]", b"", t.output), re.S), "no cls"
    with contextlib.suppress(subprocess.TimeoutExpired):  # the rest of the line does not end the pause
        assert t.proc.wait(timeout=2) is None, "the pause ended by itself"
    assert t.press(b"x") == 0


def main(argv):  # a program left on a terminal ends when this side of it closes
    with tempfile.TemporaryDirectory(prefix="wifi-hotspot-e2e-") as tmp:
        platform = Platform([a for a in argv[1:] if a != "--terminal"], Path(tmp))
        if "--terminal" in argv:
            try:
                (windows_terminal if platform.wine else posix_terminal)(platform)
                results = [("terminal", [])]
            except AssertionError as e:
                results = [("terminal", [str(e)])]
        else:  # side by side, so that the 1.5 s refusal delays overlap
            cases = [c for c in CASES + oracle_cases() if platform.name in c[5]]
            with ThreadPoolExecutor(max_workers=12) as pool:
                results = list(pool.map(lambda ic: run_case(platform, *ic), enumerate(cases)))
    failed = [(name, why) for name, why in results if why]
    for name, why in failed:
        print(f"FAIL {name}\n  " + "\n  ".join(why))
    print(f"{platform.name}: {len(results) - len(failed)} passed, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
