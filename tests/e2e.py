#!/usr/bin/env python3
"""The built program as its user meets it, through the real /bin/sh, or cmd.exe under wine as a Chinese Windows:
    tests/e2e.py build/wifi-hotspot [--terminal]
    tests/e2e.py build/windows/wifi-hotspot-VERSION-win64/wifi-hotspot.exe build/windows/tests/windows [--terminal]
All it writes, a wine prefix too, goes to a scratch folder that a watcher removes, with wine, however the test ends."""
import fcntl, json, os, re, select, shutil, signal, subprocess, sys, tempfile, termios, time
from concurrent.futures import ThreadPoolExecutor
from dataclasses import dataclass
from pathlib import Path

# The screen as people read it; compared as the GBK bytes the tool writes, "\n" as the platform's newline.
MENU = ("笔记本无线网管理工具（请使用管理员权限运行）\t\t\t\t\n"
        "一、开启无线网\t\t\t\t\t\t\n二、关闭无线网\t\t\t\t\t\t\n三、创建无线网\t\t\t\t\t\t\n"
        "\t 输入1、2或3后按回车键\t\n请输入:")
NAME = "请输入要设置的WIFI热点的名字:"
KEY = "请输入要设置的WIFI热点的密码(8个字母数字以上):"
AGAIN = "请重新输入要设置的密码:"
WRONG = "输入错误！"
SHORT = "密码不足8位数!\n"
UNUSABLE = "含有命令行无法原样传递的字符!\n"
TOO_LONG = "名字和密码太长，命令行放不下，请重新输入!\n"
REFUSALS = [WRONG, SHORT, UNUSABLE, TOO_LONG]  # each stays on screen for 1.5 s
NETSH = "netsh stand-in ran\n"  # what the stand-in netsh writes
PAUSE = "{pause}"  # the press-any-key prompt: the tool's own on POSIX, cmd.exe's on Windows
PAUSE_TEXT = "请按任意键继续".encode("gbk")  # how both begin
CREATED = [NETSH, "ＷＩＦＩ创建成功!\n", PAUSE]
WINE_CURSOR = re.compile(rb"\x1b\[\?25[lh]")  # wine hides and shows the cursor around each write to a terminal
WINE_START_FAILURE = b"failed to map the shared user data"  # an address conflict wine has now and then under load
HANG_SECONDS = 120  # a run that has not ended by then hangs


def configure(name, key):  # the arguments of the configure line
    return b"wlan set hostednetwork mode=allow ssid=" + name + b" key=" + key


PLAIN = configure(b"plain", b"plain12345678")  # what any interpreter passes as it stands


@dataclass
class Case:
    name: str
    keys: bytes
    screen: list  # the transcript; None for the oracle's values
    netsh: list = ()  # each run's arguments after "netsh", one blank apart
    status: int = 0  # what the stand-in netsh exits with
    values: tuple = None  # the oracle's name and password
    only: str = None  # the one platform whose interpreter the case is about


CASES = [
    Case("start", b" \t1\n", [MENU, NETSH, "ＷＩＦＩ开启成功!\n", PAUSE], [b"wlan start hostednetwork"]),
    Case("start fails", b"1\n", [MENU, NETSH, "ＷＩＦＩ开启失败!\n"], [b"wlan start hostednetwork"], status=1),
    Case("stop fails as input ends", b"2", [MENU, NETSH, "ＷＩＦＩ关闭失败!\n"], [b"wlan stop hostednetwork"], status=3),
    # A full-width 1; a NUL after a 1, where the token before was one byte: a buffer kept from it, or a token cut at
    # the NUL, would read 1; 100 bytes, one past the buffer.
    Case("refused five times, then stop", b"12 \xa3\xb1 x 1\0me " + b"9" * 100 + b"\n2\n",
         [MENU, WRONG] * 5 + [MENU, NETSH, "ＷＩＦＩ关闭成功!\n", PAUSE], [b"wlan stop hostednetwork"]),
    # A NUL (a pipe, or Ctrl+Space at a terminal) is a character the line cannot carry, not a length.
    Case("configure fails after a NUL in each value", b"3\na\0b\nhome secret1\0 secret12\n",
         [MENU, NAME, UNUSABLE, NAME, KEY, UNUSABLE, AGAIN, NETSH, "ＷＩＦＩ创建失败!\n"],
         [configure(b"home", b"secret12")], status=1),
    # Characters of code page 936 whose second byte is \ or |: one character each, not those bytes. A vertical tab and
    # a form feed (Ctrl+K, Ctrl+L) part two answers, as a blank does. 7 bytes are refused, 8 taken.
    Case("short passwords asked again", b"3\v\x81\x7c\x81\x5c\f1234567 x \xc3\xdc\xc2\xeb\xc3\xdc\x81\x5c\n",
         [MENU, NAME, KEY, SHORT, AGAIN, SHORT, AGAIN] + CREATED,
         [configure(b"\x81\x7c\x81\x5c", b"\xc3\xdc\xc2\xeb\xc3\xdc\x81\x5c")]),
    # The line holds 99 bytes, quotes included: 42 + 8, 40 + 2 quotes + 8, and 49 (" key=" ends on the line's last
    # byte) + 9 + 2 quotes are one byte or more too long; 41 + 8 end on its last byte. A password too long to store
    # is refused with its short name.
    Case("too long for the line: both asked again",
         b"3 " + b"n" * 42 + b" 12345678 " + b"n" * 39 + b"& 12345678 " + b"n" * 49 + b" a&bcdefgh home " + b"k" * 100 +
         b" " + b"n" * 41 + b" 12345678\n",
         [MENU] + [NAME, KEY, TOO_LONG] * 4 + [NAME, KEY] + CREATED, [configure(b"n" * 41, b"12345678")]),
    Case("a quoted password's closing quote one byte past the line, then on its last byte",
         b"3 " + b"n" * 40 + b" &2345678 " + b"n" * 39 + b" &2345678\n",
         [MENU, NAME, KEY, TOO_LONG, NAME, KEY] + CREATED, [configure(b"n" * 39, b"&2345678")]),
    Case("two % in name and password refused, both asked again; one % taken", b"3 a%b c%d12345 50%off 12345678\n",
         [MENU, NAME, KEY, UNUSABLE, NAME, KEY] + CREATED, [configure(b"50%off", b"12345678")], only="windows"),
    # Wherever input ends, the program ends with status 0 and runs nothing.
    Case("input ends at the menu", b"", [MENU]),
    Case("input ends at a short password", b"3 home short\n", [MENU, NAME, KEY, SHORT, AGAIN]),
    Case("input ends after too long a name", b"3 " + b"n" * 300 + b" 12345678\n", [MENU, NAME, KEY, TOO_LONG, NAME]),
]


def oracle_cases():
    """ASCII characters an interpreter acts on, alone and after a GBK lead byte, and some of their uses. After the lead
    byte: those that can be its second byte (0x40 and up), one character with it, and of those that cannot, which make
    no character, one for each rule (unquotable, quoted, %, !). Each value is also the password's start, but for a %:
    one alone, cmd.exe leaves as it is."""
    ascii_ = bytes(b for b in range(1, 128) if b not in b" \t\n\v\f\r\x1a" and not chr(b).isalnum())
    values = [b"x%cy" % b for b in ascii_] + [b"\x95%c" % b for b in ascii_ if b >= 0x40 or b in b'"&%!']
    values += [b"x[z]y", b"x{a,b}y", b"x^!y", b"a!OS!b", b"a%OS%b", b"a&echo>pwned"]
    values += [b"c:\\", b"a&b\\", b"a&\x81\x5c", b"(\xfe", b"\x80", b"\xff"]  # backslashes; bytes no character holds
    pairs = [(v, (b"" if b"%" in v else v) + b"12345678") for v in values]
    pairs += [(b"ab", b"50%off12"), (b"x%OS:y", b"%&calc12")]  # two joined: to cmd.exe, %OS:y key="% is a name
    return [Case(f"oracle {name!r} {key!r}", b"3 %s %s\n" % (name, key), None, [configure(name, key)],
                 values=(name, key)) for name, key in pairs]


def log_records(log):  # the stand-in netsh's log: a line per item, a blank line after each run
    return [record.split(b"\n") for record in log.read_bytes().split(b"\n\n")[:-1]] if log.exists() else []


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def retried(attempt):  # attempt(n) again, up to 3 times, while wine failed to start a process; its standard error last
    for n in range(3):
        result = attempt(n)
        if WINE_START_FAILURE not in result[-1]:
            break
        print("wine failed to start a process; again", flush=True)
    return result


class Posix:
    # percent_names: the interpreter replaces %name% on the whole line, so the tool refuses two % in it.
    name, newline, pause, quote, percent_names = "posix", b"\n", "请按任意键继续. . .\n", b"'", False
    runs = staticmethod(log_records)
    case_env = staticmethod(lambda case: None)

    def __init__(self, binary, scratch):
        self.command = [os.path.abspath(binary)]
        (scratch / "netsh").write_text('#!/bin/sh\n{ for a in "$@"; do printf \'%s\\n\' "$a"; done; echo; } >> '
                                       '"$NETSH_LOG"\necho "netsh stand-in ran"\nexit "$NETSH_STATUS"\n')
        (scratch / "netsh").chmod(0o755)
        self.env = {**os.environ, "TERM": "xterm", "PATH": f"{scratch}{os.pathsep}{os.environ['PATH']}"}

    def prepare(self, work):  # nothing to plant: sh does not look in the start folder; the netsh log's path
        return str(work.with_suffix(".log"))

    def interpret(self, work, lines):  # each line run by /bin/sh as the tool runs it, netsh logging to work/{i}.log
        for i, line in enumerate(lines):
            start_in_folder(self, work / str(i), 0, ["/bin/sh", "-c", line], stdout=subprocess.DEVNULL).wait()
        return b""  # its standard error


class Windows:  # wine as a Chinese Windows, stand-ins for netsh.exe and cmd.exe, the user's settings hostile
    name, newline, pause, quote, percent_names = "windows", b"\r\n", "请按任意键继续...", b'"', True

    def __init__(self, exe, standins, scratch):
        self.standins = Path(standins).resolve()
        self.exe = shutil.copy(exe, scratch)  # in a folder of the user's, a cmd.exe beside it: run, one more netsh run
        shutil.copy(self.standins / "netsh.exe", scratch / "cmd.exe")
        self.command = ["wine", self.exe]
        # A prefix of its own, no menu entries in the home folder. No TMPDIR: wine 10 aborts where it is set.
        self.env = {**{k: v for k, v in os.environ.items() if k != "TMPDIR"}, "TERM": "xterm", "LC_ALL": "zh_CN.GBK",
                    "WINEDEBUG": "-all,err+virtual", "WINEDLLOVERRIDES": "netsh.exe=n;cmd.exe=n;winemenubuilder.exe=d",
                    "WINEPREFIX": str(scratch / "wine")}
        (scratch / "wine").mkdir()  # wineserver needs it, wineboot fills it
        # The user's settings, all that a program without administrator rights may write, at their worst. Each
        # planted program writes to planted.log, which must never exist; a ComSpec run would be a netsh run.
        planted = windows_path(scratch / "planted.log")
        (scratch / "on-path").mkdir()  # where the user's PATH and windir lead: a netsh.cmd and a planted.dll
        dll = subprocess.check_output(["x86_64-w64-mingw32-g++-posix", "-print-file-name=libwinpthread-1.dll"])
        shutil.copy(dll.strip(), scratch / "on-path" / "planted.dll")  # any DLL will do: netsh says where it loads one
        (scratch / "on-path" / "netsh.cmd").write_text(f'@echo planted netsh.cmd ran>>"{planted}"\r\n')
        environment = {"ComSpec": windows_path(self.standins / "netsh.exe"), "PATHEXT": ".CMD",
                       "PATH": windows_path(scratch / "on-path"), "NoDefaultCurrentDirectoryInExePath": "1",
                       "windir": windows_path(scratch / "on-path")}
        values = "".join(f'"{name}"={json.dumps(value)}\n' for name, value in environment.items())  # JSON's escapes
        autorun = json.dumps(f"echo planted AutoRun ran>>{planted}")
        (scratch / "hostile.reg").write_text(f"REGEDIT4\n[HKEY_CURRENT_USER\\Environment]\n{values}"
                                             f"[HKEY_CURRENT_USER\\Software\\Microsoft\\Command Processor]\n"
                                             f'"AutoRun"={autorun}\n')

        # One server for all cases, kept a minute after the last; no pipe of ours for wine's lasting processes to hold.
        set_up = f"wineserver -p60 && wineboot -i && wine regedit /S '{windows_path(scratch / 'hostile.reg')}'"
        status, log = retried(lambda n: (subprocess.run(f"({set_up}) 2>{scratch}/setup{n}.log", shell=True, env=self.env,
                                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL).returncode,
                                         (scratch / f"setup{n}.log").read_bytes()))
        assert status == 0, f"wine's prefix not set up: {log!r}"
        # wine runs a netsh.exe or cmd.exe in the system folder instead of its own only as WINEDLLOVERRIDES says.
        system32 = Path(self.env["WINEPREFIX"], "drive_c/windows/system32")
        shutil.copy(system32 / "cmd.exe", system32 / "winecmd.exe")  # wine's own, as wineboot put it there
        for standin in ("netsh.exe", "cmd.exe"):
            shutil.copy(self.standins / standin, system32)

    def prepare(self, work):  # a netsh.bat, to run if cmd.exe looked for netsh in the start folder; the log's path
        (work / "netsh.bat").write_bytes(b"@echo planted netsh.bat ran\r\n")
        return windows_path(work.with_suffix(".log"))

    @staticmethod
    def case_env(case):  # the stand-in cmd.exe does what Windows' does with the user's AutoRun and DelayedExpansion,
        # which the table shows the tool turns off. An oracle value without a ! runs wine's own cmd.exe, one process
        # less: delayed expansion acts on no line without a ! (stackoverflow.com/questions/4094699, dbenham, phase 5).
        if case.values is not None and b"!" not in b"".join(case.values):
            return {"WINEDLLOVERRIDES": "netsh.exe=n;cmd.exe=b;winemenubuilder.exe=d"}

    def interpret(self, work, lines):  # each line run by cmd.exe as the tool runs it, netsh logging to work/{i}.log
        oracle = ["wine", self.standins / "oracle.exe", windows_path(work) + "\\"]
        runner = start_in_folder(self, work, 0, oracle, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.PIPE)
        return runner.communicate(b"".join(line + b"\n" for line in lines), HANG_SECONDS)[1]  # its standard error

    def check_download(self):  # the .exe as downloaded: no DLL from its own folder, administrator rights asked for
        dlls = re.findall(rb"DLL Name: (\S+)", subprocess.check_output(["x86_64-w64-mingw32-objdump", "-p", self.exe]))
        resources = subprocess.check_output(["x86_64-w64-mingw32-windres", "-J", "coff", "-O", "rc", "-i", self.exe])
        faults = [] if dlls == [b"KERNEL32.dll", b"msvcrt.dll"] else [f"imports {dlls}: from its folder, maybe"]
        return faults + ([] if b'level=""requireAdministrator""' in resources else ["no manifest asking for admin"])

    def runs(self, log):  # on code page 936, a line without quotes is "netsh" and the arguments; else it shows
        runs = []
        for code_page, raw, *args in log_records(log):
            plain = raw == b" ".join([b"netsh"] + args)
            runs.append(args if code_page == b"936" and (plain or b'"' in raw) else [code_page, raw])
        return runs


# Started first, detached, holding the read end of a pipe whose write end only the test holds: when the test has
# ended, however (ctest's time-out kills it), it ends wine's server with every wine process of the prefix, and removes
# the scratch folder and wine's server folder. The rest ends with the test, whose pipes and terminals it reads.
WATCHER = r"""
import glob, os, shutil, subprocess, sys
scratch, prefix = sys.argv[1], os.path.join(sys.argv[1], "wine")
if os.fork():
    os._exit(0)
sys.stdin.read()
if os.path.isdir(prefix):
    subprocess.run("wineserver -k; wineserver -w", shell=True, env={**os.environ, "WINEPREFIX": prefix})
    name = f"server-{os.stat(prefix).st_dev:x}-{os.stat(prefix).st_ino:x}"  # in /tmp/wine-*/ or /tmp/.wine-UID/
    for server in glob.glob(f"/tmp/wine-*/{name}") + glob.glob(f"/tmp/.wine-{os.getuid()}/{name}"):
        shutil.rmtree(server, ignore_errors=True)
        if os.path.basename(os.path.dirname(server)).startswith("wine-") and not os.listdir(os.path.dirname(server)):
            os.rmdir(os.path.dirname(server))
shutil.rmtree(scratch, ignore_errors=True)
"""


def start_in_folder(platform, work, status, command, env=None, **popen):  # env: more than the platform's
    work.mkdir(parents=True)
    for decoy in ("ssid=xzy", "key=xzy12345678"):  # what sh's globs would match
        (work / decoy).touch()
    env = {**platform.env, **(env or {}), "NETSH_STATUS": str(status), "NETSH_LOG": platform.prepare(work)}
    return subprocess.Popen(command, cwd=work, env=env, **popen)


def run_case(platform, scratch, index, case):
    """The case's faults. cmd.exe refuses two % in a configure line, as a name it may replace. Any other refusal of an
    oracle value the interpreter judges: one that reaches netsh as typed, written either bare or in its quotes into the
    configure line, is refused wrongly. A plain value ends the interpreter's lines: unless it reached netsh as typed,
    the interpreter did not run, and judged nothing."""
    def attempt(n):
        work, begun = scratch / f"case{index}-{n}", time.monotonic()
        process = start_in_folder(platform, work, case.status, platform.command, platform.case_env(case),
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        try:
            screen, stderr = process.communicate(case.keys, HANG_SECONDS)
        except subprocess.TimeoutExpired:
            process.kill()  # what it started under wine, the watcher ends
            screen, stderr = process.communicate()
            stderr += f"no end within {HANG_SECONDS} s: killed".encode()
        return process.returncode, screen, platform.runs(work.with_suffix(".log")), time.monotonic() - begun, stderr

    def on_screen(text):
        return text.replace(PAUSE, platform.pause).encode("gbk").replace(b"\n", platform.newline)

    status, screen, runs, seconds, stderr = retried(attempt)
    expected_runs = [run.split(b" ") for run in case.netsh]
    refused = case.values is not None and on_screen(UNUSABLE) in screen and not runs
    two_percent = case.values is not None and platform.percent_names and b"".join(case.values).count(b"%") > 1
    faults = [f"exit status {status}"] if status != 0 else []
    expected = b"".join(on_screen(text) for text in case.screen or [])
    if case.screen is not None and screen != expected:
        faults.append(f"screen, expected: {expected.decode('gbk', 'backslashreplace')!r}")
    if two_percent and not refused:
        faults.append(f"two % in the line not refused: netsh runs {runs}")
    elif refused and not two_percent:
        work = scratch / f"oracle{index}"
        lines = [b"netsh " + configure(q + case.values[0] + q, q + case.values[1] + q) for q in (b"", platform.quote)]
        last = retried(lambda n: (n, platform.interpret(work / str(n), lines + [b"netsh " + PLAIN])))[0]
        judged = [platform.runs(work / str(last) / f"{i}.log") for i in range(3)]
        if judged[-1] != [PLAIN.split(b" ")]:
            faults.append(f"not judged: the interpreter did not run (the plain value: {judged[-1]})")
        elif expected_runs[0] in judged[0] + judged[1]:
            faults.append("refused, though the interpreter passes it as typed")
    elif runs != expected_runs and not refused:
        faults.append(f"netsh runs {runs}, expected {expected_runs}")
    refusals = sum(screen.count(on_screen(text)) for text in REFUSALS)
    if seconds < 1.4 * refusals:
        faults.append(f"{refusals} refusals in {seconds:.2f} s: each stays on screen for 1.5 s")
    if faults:
        faults += [f"the screen seen: {screen.decode('gbk', 'backslashreplace')!r}", f"standard error: {stderr!r}"]
    return faults


class Terminal:  # the program on a new pseudo-terminal, its controlling terminal: what the user sees and types
    shown = b""  # what every terminal of the test showed, for the retry to look in

    def __init__(self, platform, work, keys, status=0, command=None, env=None):
        self.master, self.slave = os.openpty()
        self.output = b""
        self.process = start_in_folder(platform, work, status, command or platform.command, env, stdin=self.slave,
                                       stdout=self.slave, stderr=self.slave, start_new_session=True,
                                       preexec_fn=lambda: fcntl.ioctl(0, termios.TIOCSCTTY, 0))
        if keys:  # wine's console reads keys raw: typed before it has switched the terminal, Enter would be LF.
            self.wait_for("the prompt", lambda: WINE_CURSOR.sub(b"", self.output).endswith(b":") and
                          self.raw() == (platform.name == "windows"))
            os.write(self.master, keys)

    def wait_for(self, what, condition):  # reads until condition holds, polling for up to 30 s
        for _ in range(600):
            while select.select([self.master], [], [], 0.05)[0]:
                shown = os.read(self.master, 65536)
                self.output += shown
                Terminal.shown += shown
            if condition():
                return
        raise AssertionError(f"never saw {what}; the screen ends {self.output[-300:]!r}")

    def raw(self):  # whether the terminal hands over each key as typed, without echo
        return not termios.tcgetattr(self.slave)[3] & (termios.ICANON | termios.ECHO)

    def press(self, key, ready):  # once ready, and still waiting a second later, the key (or a call); the exit status
        self.wait_for("the pause", ready)
        time.sleep(1)
        assert self.process.poll() is None, f"ended without waiting for a key; the screen ends {self.output[-300:]!r}"
        key() if callable(key) else os.write(self.master, key)
        self.wait_for("the end", lambda: self.process.poll() is not None)
        return self.process.returncode


def posix_terminal(platform, scratch):  # the refusal before the clear; keys typed ahead do not end the pause
    clear = b"\x1b[H\x1b[2J\x1b[3J"
    t = Terminal(platform, scratch / "start", b"9\n")  # how long the refusal stays, the table measures
    t.wait_for("the refusal alone, before the window is cleared", lambda: t.output.endswith(WRONG.encode("gbk")))
    t.wait_for("the window cleared", lambda: WRONG.encode("gbk") + clear in t.output)
    os.write(t.master, b"1 rest of the line\nsecond line\n")
    assert t.press(b"\n", lambda: PAUSE_TEXT in t.output) == 0, "Enter did not end the pause"
    assert clear + b"netsh stand-in ran" in t.output, "netsh wrote before the window was cleared"


def windows_terminal(platform, scratch):
    """cmd.exe's colour and clear; where no cmd.exe starts, a failure's own wait, which keys typed before it do not end.
    Ctrl+Z ends the input. Typed on a UTF-8 terminal at code page 65001, what code page 936 lacks is refused and asked
    again, what it holds reaches netsh as GBK. (wine shows the tool's own Chinese as Latin-1.)"""
    ctrl_z_first = f"{windows_path(platform.standins / 'ctrl-z.exe')} & {windows_path(platform.exe)}"
    ctrl_z = Terminal(platform, scratch / "ctrl-z", b"", command=["wine", "cmd", "/d", "/c", ctrl_z_first])
    no_cmd = Terminal(platform, scratch / "no-cmd", b"1\r\r", status=1, env={"WINEDLLOVERRIDES": "netsh.exe=n;cmd.exe="})
    own_pause = re.compile(rb"!\r\r\n[^\n]+\.$")  # after the failure text, the tool's press-any-key prompt
    assert no_cmd.press(b"x", lambda: own_pause.search(WINE_CURSOR.sub(b"", no_cmd.output))) == 0
    chcp = rf"C:\windows\system32\chcp.com 65001 >nul & {windows_path(platform.exe)}"
    keys = "3\r热点😀\rStraße\r家名 pässwort1\rpâsswort1\ra?bcafé1\r".encode()  # â: wine best-fits it as a
    shared = Terminal(platform, scratch / "shared", keys, status=1, command=["wine", "cmd", "/d", "/c", chcp],
                      env={"LC_ALL": "zh_CN.UTF-8"})
    shared.wait_for("the end", lambda: shared.process.poll() is not None)
    assert PAUSE_TEXT.decode("gbk").encode() not in shared.output, "a failure on a console shared with cmd.exe waited"
    shown = WINE_CURSOR.sub(b"", shared.output)  # the name asked after cls, on white on green
    assert re.search(rb"^\x1b\[97m\x1b\[42m.*:3\r\r\n\x1b\[H {80}\r\r\n.*\x1b\[H[^\n]*WIFI", shown, re.S), \
        f"not white on green, or no cls: {shown[:40]!r}...{shown[shown.find(b':3'):][:200]!r}"
    ctrl_z.wait_for("the end after Ctrl+Z", lambda: ctrl_z.process.poll() is not None)
    assert ctrl_z.process.returncode == 0 and not platform.runs(scratch / "ctrl-z.log"), "Ctrl+Z: not an end"
    runs = platform.runs(scratch / "shared.log")
    expected = configure("家名".encode("gbk"), "a?bcafé1".encode("gbk")).split()
    assert runs == [expected], f"netsh runs {runs}, typed on a UTF-8 terminal at a console of code page 65001"


def terminal_faults(platform, scratch):  # the first assertion failed, again where wine failed to start a process
    def attempt(n):
        Terminal.shown = b""
        try:
            (windows_terminal if platform.name == "windows" else posix_terminal)(platform, scratch / f"terminal{n}")
        except AssertionError as e:
            return [str(e)], Terminal.shown
        return [], Terminal.shown
    return retried(attempt)[0]


def main(argv):
    args = [a for a in argv[1:] if a != "--terminal"]
    if len(args) not in (1, 2):
        sys.exit(__doc__)
    scratch = Path(tempfile.mkdtemp(prefix="wifi-hotspot-e2e-"))
    env = {k: v for k, v in os.environ.items() if k != "TMPDIR"}  # wine 10 aborts where it is set
    watcher = subprocess.Popen([sys.executable, "-c", WATCHER, scratch], stdin=subprocess.PIPE, env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    watcher.wait()  # its detached part goes on, until this process ends
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))  # ended from outside: exit as usual
    platform = Windows(args[0], args[1], scratch) if len(args) > 1 else Posix(args[0], scratch)
    if "--terminal" in argv:
        results = [("terminal", terminal_faults(platform, scratch))]
    else:  # side by side, so that the 1.5 s refusal delays overlap
        cases = [case for case in CASES + oracle_cases() if case.only in (None, platform.name)]
        with ThreadPoolExecutor(max_workers=24) as pool:
            faults = list(pool.map(lambda indexed: run_case(platform, scratch, *indexed), enumerate(cases)))
        results = list(zip([case.name for case in cases], faults))
        if platform.name == "windows":
            results.append(("the .exe as downloaded", platform.check_download()))
    if (scratch / "planted.log").exists():  # written by whatever planted program ran
        results.append(("nothing planted ran", [(scratch / "planted.log").read_text()]))
    failed = [(name, faults) for name, faults in results if faults]
    for name, faults in failed:
        print(f"FAIL {name}\n  " + "\n  ".join(faults))
    print(f"{platform.name}: {len(results) - len(failed)} passed, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
