# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs one case of the desktop tier: the real program on a virtual X server
(Xvfb) with an accessibility bus, its port 1 on a pseudo-terminal that plays
the panel, worked with real key and mouse events (XTest, through xdotool) and
with accessibility actions (AT-SPI, through pyatspi).

    desktop.py --list                      the names of the cases
    desktop.py --velno PATH CASE           runs one case; exit status 0 when it passed

Everything it starts (session bus, X server, program) it stops again; the
settings go into a temporary home folder.
"""
import argparse
import ctypes
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import traceback
import tty

MAIN_TITLE = "Velno 6100 Management System" + " " * 24 + "Version 3.0"
SETTINGS_FILE = "Velno 6100 Management System.ini"
MODEM_SETTINGS_FILE = "Velno 6300 Managemant System.ini"
CASE_SECONDS = 100   # a case that takes longer ends failed, with everything stopped

# The main window's controls by object name: the role and name a screen
# reader finds them by (a field is named after its button).
CONTROLS = {
    **{f"Option{n}": ("radio button", f"Port {n}") for n in range(1, 5)},
    "upload": ("push button", "RECEIVE"), "download": ("push button", "SEND"),
    "connect": ("push button", "Connect"), "close1": ("push button", "Disconnect"),
    "Text2": ("text", "Phone Number"), "Text3": ("password text", "Mastercode"),
    "Mastercode": ("push button", "MasterCode"), "rtrtc": ("push button", "Time"),
    "Text1": ("text", "Received data"),
    "up_par": ("push button", "Parameters"),
    "uptalktime": ("push button", "Talk Time"), "medit1": ("text", "Talk Time"),
    "opentime1": ("push button", "Door1 Open Time"), "medit2": ("text", "Door1 Open Time"),
    "opentime2": ("push button", "Door2 Open Time"), "medit3": ("text", "Door2 Open Time"),
    "manualdoor1": ("push button", "ManualUnlockDoor1"), "medit7": ("text", "ManualUnlockDoor1"),
    "manualdoor2": ("push button", "ManualUnlockDoor2"), "medit8": ("text", "ManualUnlockDoor2"),
    "cleartnt": ("push button", "Clear Tenant"), "MEDITTNT": ("text", "Clear Tenant"),
    "opendtmf": ("push button", "OpenDoorNo(1/2)"), "dtmf": ("text", "OpenDoorNo(1/2)"),
    "Newmastcode": ("push button", "New Mastercode"),
    "Medit_New_mastercode": ("password text", "New Mastercode"),
    "clearevr": ("push button", "Clear Events"), "Date": ("push button", "Date"),
    "um": ("push button", "UnlockMute"), "up": ("push button", "UnlockBeep"),
    "MsgWel": ("text", "Welcome Message"), "message": ("push button", "Message"),
}


class CaseFailed(Exception):
    pass


def check(condition, what):
    if not condition:
        raise CaseFailed(what)


def line(text):
    """A command line as the program writes it."""
    return text.encode("latin-1") + b"\r\n"


def _die_with_parent():
    # A child outlives neither a killed driver nor a stopped case.
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)   # PR_SET_PDEATHSIG


class Desktop:
    """The program on its own X server, with the panel's end of the line."""

    def __init__(self, port=1, phone=None, modem_setup=None):
        self.work = tempfile.mkdtemp(prefix="velno-desktop-")
        self.env = dict(os.environ)
        home = os.path.join(self.work, "home")
        config = os.path.join(home, ".config")
        self.env.update(HOME=home, XDG_CONFIG_HOME=config,
                        XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                        XDG_RUNTIME_DIR=os.path.join(self.work, "runtime"),
                        QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                        LC_ALL="C.UTF-8")
        self.env.pop("QT_SCALE_FACTOR", None)
        os.makedirs(os.path.join(config, "Velno"))
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        self.settings_path = os.path.join(config, "Velno", SETTINGS_FILE)
        self.procs = []
        self.received = bytearray()
        self.lock = threading.Lock()
        self.app = None
        self.velno = None
        self.found = {}

        # The panel's end: raw, so the test reads exactly the bytes written.
        self.master, slave = os.openpty()
        tty.setraw(slave)
        self.device = os.ttyname(slave)
        self.slave = slave
        settings = f"[Ports]\n1={self.device}\n[Properties]\n"
        if port:
            settings += f"port={port}\n"
        if phone:
            settings += f"ph={phone}\n"
        with open(self.settings_path, "w") as f:
            f.write(settings)
        if modem_setup is not None:
            with open(os.path.join(config, "Velno", MODEM_SETTINGS_FILE), "w") as f:
                f.write(f"[Properties]\nsett={modem_setup}\n")
        threading.Thread(target=self._read_line, daemon=True).start()

    # ---- starting and stopping -------------------------------------------------

    def start(self, velno):
        read_end, write_end = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        display = b""
        while not display.endswith(b"\n"):
            chunk = os.read(read_end, 64)
            check(chunk, "Xvfb did not start")
            display += chunk
        os.close(read_end)
        self.env["DISPLAY"] = ":" + display.decode().strip()
        os.environ["DISPLAY"] = self.env["DISPLAY"]
        self.velno = self._spawn([velno], stdout=open(os.path.join(self.work, "velno.log"), "w"),
                                 stderr=subprocess.STDOUT)
        self.window = self.xdo("search", "--sync", "--name", re.escape(MAIN_TITLE) + "$").split()[0]
        import pyatspi   # after DISPLAY and the bus are there
        self.atspi = pyatspi
        # A call the program does not answer (an action that runs a modal
        # dialog before it replies) fails in seconds, not in the default 25.
        pyatspi.Atspi.set_timeout(5000, 20000)
        deadline = time.monotonic() + 20
        while self.app is None:
            check(time.monotonic() < deadline, "the program never showed on the accessibility bus")
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.name == "Velno 6100 Management System":
                    self.app = app
            time.sleep(0.1)
        # No cache: every read asks the program what it shows now.
        pyatspi.Atspi.Accessible.set_cache_mask(self.app, pyatspi.Atspi.Cache.NONE)
        self.main = self.wait_for(lambda: self._window(MAIN_TITLE), "the main window")
        self.wait_for(lambda: self.focused() is not None, "a control with the focus")

    def _spawn(self, argv, **kwargs):
        proc = subprocess.Popen(argv, env=self.env, stdin=subprocess.DEVNULL,
                                preexec_fn=_die_with_parent, **kwargs)
        self.procs.append(proc)
        return proc

    def stop(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        for fd in (self.master, self.slave):
            try:
                os.close(fd)
            except OSError:
                pass
        shutil.rmtree(self.work, ignore_errors=True)

    def log(self):
        try:
            with open(os.path.join(self.work, "velno.log"), errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    # ---- the line ------------------------------------------------------------

    def _read_line(self):
        while True:
            try:
                select.select([self.master], [], [])
                data = os.read(self.master, 4096)
            except OSError:
                return
            if not data:
                return
            with self.lock:
                self.received += data

    def take(self):
        """Everything that arrived since the last take."""
        with self.lock:
            data = bytes(self.received)
            self.received.clear()
        return data

    def arrived(self, expected, seconds=5, quiet=1.0):
        """Waits for the bytes to be as long as expected, then for the line to
        stay quiet, and returns all that came (more than expected is a fault)."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            with self.lock:
                if len(self.received) >= len(expected):
                    break
            time.sleep(0.05)
        time.sleep(quiet)
        return self.take()

    def expect_bytes(self, expected, what, seconds=5, quiet=1.0):
        got = self.arrived(expected, seconds, quiet)
        check(got == expected, f"{what}: the line got {got!r}, wanted {expected!r}")

    def send_to_program(self, data):
        os.write(self.master, data)

    # ---- X: keys and the mouse -----------------------------------------------

    def xdo(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, timeout=30)
        check(result.returncode == 0, f"xdotool {' '.join(args)}: {result.stderr.strip()}")
        return result.stdout

    def keys(self, *names):
        self.xdo("key", "--delay", "80", *names)
        time.sleep(0.3)

    def type(self, text, delay=60):
        self.xdo("type", "--delay", str(delay), text)
        time.sleep(0.3)

    def hold(self, key="Return", seconds=1.5):
        """Holds the key down long enough for the X server to repeat it, with
        the other core kept busy (a busy machine splits repeats unflagged)."""
        hog = subprocess.Popen(["yes"], stdout=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        try:
            self.xdo("keydown", key)
            time.sleep(seconds)
            self.xdo("keyup", key)
        finally:
            hog.kill()
            hog.wait()
        time.sleep(0.5)

    def focus_main(self):
        # No window manager gives the focus back when a box or dialog closes.
        self.xdo("windowfocus", "--sync", self.window)
        time.sleep(0.3)

    def click(self, acc):
        ext = acc.queryComponent().getExtents(self.atspi.DESKTOP_COORDS)
        self.xdo("mousemove", "--sync", str(ext.x + ext.width // 2), str(ext.y + ext.height // 2),
                 "click", "1")
        time.sleep(0.3)

    def resize(self, width, height):
        self.xdo("windowsize", "--sync", self.window, str(width), str(height))
        time.sleep(0.5)

    def geometry(self):
        out = self.xdo("getwindowgeometry", "--shell", self.window)
        values = dict(l.split("=", 1) for l in out.split())
        return int(values["WIDTH"]), int(values["HEIGHT"])

    # ---- the accessibility tree ----------------------------------------------

    def wait_for(self, probe, what, seconds=10):
        deadline = time.monotonic() + seconds
        while True:
            value = probe()
            if value:
                return value
            check(time.monotonic() < deadline, f"timed out waiting for {what}")
            time.sleep(0.1)

    def windows(self):
        return [w for w in self.app if w is not None]

    def _window(self, title):
        for w in self.windows():
            if w.name == title and w.getState().contains(self.atspi.STATE_SHOWING):
                return w
        return None

    def window_titled(self, title, seconds=10):
        return self.wait_for(lambda: self._window(title), f"the window {title!r}", seconds)

    def _walk(self, acc):
        yield acc
        for child in acc:
            if child is not None:
                yield from self._walk(child)

    def find(self, role, name, within=None, showing=True):
        for acc in self._walk(within or self.main):
            if acc.getRoleName() == role and acc.name == name:
                if not showing or acc.getState().contains(self.atspi.STATE_SHOWING):
                    return acc
        raise CaseFailed(f"no {role} {name!r} shown")

    def control(self, object_name):
        """A control of the main window, found once (it lives as long as the window)."""
        if object_name not in self.found:
            self.found[object_name] = self.find(*CONTROLS[object_name], showing=False)
        return self.found[object_name]

    def focused(self):
        """(role, name) of the control with the keyboard focus, in any window."""
        for w in self.windows():
            if not w.getState().contains(self.atspi.STATE_ACTIVE):
                continue
            for acc in self._walk(w):
                if acc.getState().contains(self.atspi.STATE_FOCUSED):
                    return (acc.getRoleName(), acc.name)
        return None

    def has_focus(self, acc):
        return acc.getState().contains(self.atspi.STATE_FOCUSED)

    def expect_focus(self, wanted, what, seconds=3):
        """The focus on the main window's control of that object name, or on
        the control of that (role, name) in the active window."""
        if isinstance(wanted, str):
            acc = self.control(wanted)
            wanted = CONTROLS[wanted]
        else:
            active = [w for w in self.windows() if w.getState().contains(self.atspi.STATE_ACTIVE)]
            acc = self.find(*wanted, within=active[0]) if active else None
        deadline = time.monotonic() + seconds
        while not (acc and self.has_focus(acc)) and time.monotonic() < deadline:
            time.sleep(0.1)
        if not (acc and self.has_focus(acc)):
            got = self.focused()
            boxes = f" (boxes shown: {self.boxes()})" if self.boxes() else ""
            raise CaseFailed(f"{what}: the focus is on {got or 'nothing'}, wanted {wanted}{boxes}")

    def grab_focus(self, object_name):
        check(self.control(object_name).queryComponent().grabFocus(), f"focus to {object_name}")
        self.expect_focus(object_name, f"focus given to {object_name}")

    def do_action(self, acc, action):
        actions = acc.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        check(action in names, f"{acc.getRoleName()} {acc.name!r} offers {names}, not {action!r}")
        actions.doAction(names.index(action))
        time.sleep(0.4)

    def press(self, object_name):
        self.do_action(self.control(object_name), "Press")

    def text_of(self, acc):
        text = acc.queryText()
        return text.getText(0, text.characterCount)

    def panel(self, number):
        """Status panel N as a screen reader reads it: the label's name."""
        for acc in self._walk(self.main):
            if acc.getRoleName() == "label" and acc.description == f"Status panel {number}":
                return acc.name
        raise CaseFailed(f"no status panel {number}")

    def boxes(self):
        """Each message box shown: (title, texts, buttons)."""
        shown = []
        for w in self.windows():
            if w.getRoleName() != "alert" or not w.getState().contains(self.atspi.STATE_SHOWING):
                continue
            texts = [a.name for a in self._walk(w) if a.getRoleName() == "label" and a.name]
            buttons = [a.name for a in self._walk(w) if a.getRoleName() == "push button"]
            shown.append((w.name, texts, buttons))
        return shown

    def box(self, prompt, seconds=5):
        """Waits for a message box whose text holds the prompt and returns it."""
        def probe():
            for title, texts, buttons in self.boxes():
                if any(prompt in t for t in texts):
                    return (title, texts, buttons)
            return None
        return self.wait_for(probe, f"a box saying {prompt!r}", seconds)

    def answer(self, button, refocus=True):
        """Presses a button of the only box shown (as a screen reader would),
        then gives the main window the focus back, unless a dialog is under
        the box."""
        boxes = [w for w in self.windows() if w.getRoleName() == "alert"
                 and w.getState().contains(self.atspi.STATE_SHOWING)]
        check(len(boxes) == 1, f"{len(boxes)} boxes shown, wanted one to answer")
        self.do_action(self.find("push button", button, within=boxes[0]), "Press")
        self.wait_for(lambda: not self.boxes(), "the box to close", 5)
        if refocus:
            self.focus_main()

    def expect_no_box(self, what):
        check(not self.boxes(), f"{what}: a box is shown: {self.boxes()}")

    # ---- steps many cases share ---------------------------------------------

    def connect(self):
        """Connect on port 1 without a phone number, and OK the reminder."""
        self.press("connect")
        self.box("Please input the phone number")
        self.answer("OK")

    def programming(self, code="1234"):
        """Connected, in programming mode, the Send frame usable (SEND)."""
        self.connect()
        self.grab_focus("Text3")
        self.type(code)
        self.keys("Return")
        self.expect_bytes(line("PGM" + code) * 6, "the programming code", quiet=0.3)
        self.press("download")
        self.expect_focus("MEDITTNT", "after SEND")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--velno")
    parser.add_argument("case", nargs="?")
    args = parser.parse_args()
    sys.dont_write_bytecode = True   # nothing written into the source tree
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    sys.modules.setdefault("desktop", sys.modules[__name__])   # one CaseFailed for both files
    import cases
    if args.list:
        print(";".join(cases.CASES))
        return 0
    if args.case not in cases.CASES or not args.velno:
        parser.error("name a case (--list) and the program (--velno)")
    # Its own session bus, which starts the accessibility bus on demand; with
    # no display of the user's in its environment, so the bus launcher never
    # marks the user's screen as having it.
    if not os.environ.get("VELNO_DESKTOP_BUS"):
        os.environ["VELNO_DESKTOP_BUS"] = "1"
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS"):
            os.environ.pop(name, None)
        os.execvp("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv])
    missing = [tool for tool in ("Xvfb", "xdotool", "xclip", "yes") if not shutil.which(tool)]
    if missing:
        print("Missing: " + ", ".join(missing) + " (./scripts/install-deps.sh installs them)")
        return 1

    def out_of_time(*_):
        raise CaseFailed(f"the case took more than {CASE_SECONDS} s")
    signal.signal(signal.SIGALRM, out_of_time)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    signal.alarm(CASE_SECONDS)
    run, settings = cases.CASES[args.case]
    desk = Desktop(**settings)
    started = time.monotonic()
    try:
        desk.start(args.velno)
        run(desk)
        print(f"PASS {args.case} ({time.monotonic() - started:.1f} s)")
        return 0
    except Exception as failure:   # the harness's own errors fail the case too, with the trace
        print(f"FAIL {args.case}: {failure}")
        if desk.velno and desk.velno.poll() is not None:
            print(f"The program had ended, with status {desk.velno.returncode}.")
        if not isinstance(failure, CaseFailed):
            traceback.print_exc(file=sys.stdout)
        log = desk.log()
        if log.strip():
            print("The program's output:\n" + log)
        return 1
    finally:
        signal.alarm(0)
        desk.stop()


if __name__ == "__main__":
    sys.exit(main())
