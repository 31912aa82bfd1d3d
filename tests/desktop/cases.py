# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop tier's cases: each a fault the unit tests cover with fakes,
tried on the real program with real key events and accessibility actions.
CASES maps each case's name to (function, settings of its Desktop)."""
import configparser
import datetime
import re
import subprocess
import time
from collections import namedtuple

from desktop import MODEM_SETTINGS_FILE, SETTINGS_FILE, CaseFailed, check, line

# Enter held on a control. stage: "closed" (nothing done), "connected", or
# "programming" (code sent, SEND pressed). fill: (field, text) typed first.
# sends: the bytes the one press sends, or a function of the time giving the
# bytes it may send. focus: where the one press leaves it. box: a box the
# press opens, which the repeats must leave open; answer: its button then,
# and then: the bytes that follow the answer. key: the Enter held.
Held = namedtuple("Held", "control stage fill sends focus box answer then key",
                  defaults=(None, b"", None, None, None, b"", "Return"))


def time_line(now):
    return line(f"TIM {now:%H} {now:%M}")


def date_line(now):
    return line(f"DAT {now:%m} {now:%d} {now:%Y} {now.isoweekday()}")


HELD = [
    # Fields: Enter sends the field's command (or moves on) once.
    Held("Text2", "closed", ("Text2", "5550142"), b"", "connect"),
    Held("Text3", "connected", ("Text3", "1234"), line("PGM1234") * 6, "upload"),
    Held("medit1", "programming", ("medit1", "12"), line("PARTKT 12"), "um"),
    Held("medit2", "programming", ("medit2", "07"), line("PARDOT1 07"), "medit3"),
    Held("medit3", "programming", ("medit3", "08"), line("PARDOT2 08"), "medit7"),
    Held("medit7", "programming", ("medit7", "09"), line("PAROHR1 09"), "medit8"),
    Held("medit8", "programming", ("medit8", "10"), line("PAROHR2 10"), "medit1"),
    Held("dtmf", "programming", ("dtmf", "12"), line("PARDTM 12"), "medit2"),
    Held("Medit_New_mastercode", "programming", ("Medit_New_mastercode", "4321"),
         line("PARCMC 4321"), "Medit_New_mastercode"),
    Held("MsgWel", "programming", ("MsgWel", "WELCOME"), b"", "message"),
    # Buttons: Enter on the focused button presses it once.
    Held("connect", "closed", None, b"", None, "Please input the phone number", "OK"),
    Held("Mastercode", "connected", ("Text3", "1234"), line("PGM1234"), "upload"),
    Held("upload", "programming", None, b"", "up_par"),
    Held("download", "programming", None, b"", "MEDITTNT"),
    Held("rtrtc", "programming", None, time_line, "rtrtc"),
    Held("uptalktime", "programming", ("medit1", "12"), line("PARTKT 12"), "um"),
    Held("opentime1", "programming", ("medit2", "07"), line("PARDOT1 07"), "medit3"),
    Held("opentime2", "programming", ("medit3", "08"), line("PARDOT2 08"), "medit7"),
    Held("manualdoor1", "programming", ("medit7", "09"), line("PAROHR1 09"), "medit8"),
    Held("manualdoor2", "programming", ("medit8", "10"), line("PAROHR2 10"), "medit1"),
    Held("opendtmf", "programming", ("dtmf", "12"), line("PARDTM 12"), "medit1"),
    Held("Newmastcode", "programming", ("Medit_New_mastercode", "4321"), line("PARCMC 4321"),
         "Newmastcode"),
    Held("Date", "programming", None, date_line, "rtrtc"),
    Held("um", "programming", None, line("PAROPN"), "um"),
    Held("up", "programming", None, line("PAROPB"), "up"),
    Held("message", "programming", ("MsgWel", "WELCOME"), line("PARMSG WELCOME "), "message"),
    Held("cleartnt", "programming", ("MEDITTNT", "12"), b"", None,
         "Do you really want to delete Tenant DataBase ?", "Yes", line("CLR 12")),
    Held("clearevr", "programming", None, b"", None,
         "Do you really want to delete EventRecord DataBase ?", "Yes", line("KLR EVR")),
    Held("close1", "programming", None, line("END"), "connect"),
    # The keypad's Enter, in a field and on a button.
    Held("dtmf", "programming", ("dtmf", "12"), line("PARDTM 12"), "medit2", key="KP_Enter"),
    Held("opentime1", "programming", ("medit2", "07"), line("PARDOT1 07"), "medit3", key="KP_Enter"),
]


def held_name(row):
    return f"held_enter_{row.control}" + ("_keypad" if row.key == "KP_Enter" else "")


def reach(d, stage):
    if stage == "connected":
        d.connect()
    elif stage == "programming":
        d.programming()


def fill(d, row):
    if row.fill:
        field, text = row.fill
        d.grab_focus(field)
        d.type(text)
    d.grab_focus(row.control)
    d.take()


def wanted_bytes(sends, before, after):
    """What a one-off press may send: one value, or one for either minute."""
    if callable(sends):
        return {sends(before), sends(after)}
    return {sends}


def held_enter(row):
    def run(d):
        reach(d, row.stage)
        fill(d, row)
        before = datetime.datetime.now()
        d.hold(row.key)
        after = datetime.datetime.now()
        wanted = wanted_bytes(row.sends, before, after)
        got = d.arrived(max(wanted, key=len), seconds=3)
        check(got in wanted, f"{row.key} held on {row.control}: the line got {got!r}, wanted {wanted}")
        if row.box:
            boxes = d.boxes()
            check(len(boxes) == 1 and any(row.box in t for t in boxes[0][1]),
                  f"{row.key} held on {row.control}: wanted the box {row.box!r} still open, "
                  f"shown: {boxes}")
            d.answer(row.answer)
            d.expect_bytes(row.then, f"{row.answer} in the box")
        else:
            d.expect_no_box(f"{row.key} held on {row.control}")
            d.expect_focus(row.focus, f"{row.key} held on {row.control}")
    return run


# A held character still types its repeats into a field (which shows too
# that the X server repeats a held key, as the held-Enter cases need).
def held_digit_types(d):
    d.grab_focus("Text2")
    d.hold("5")
    typed = d.text_of(d.control("Text2"))
    check(len(typed) >= 5 and set(typed) == {"5"}, f"5 held in Phone Number typed {typed!r}")
    d.expect_bytes(b"", "5 held in Phone Number", seconds=0)
    d.expect_focus("Text2", "5 held in Phone Number")


# Fast typing is not a held key: "1123" typed at full speed, then Enter.
def fast_typing_code(d):
    d.connect()
    d.grab_focus("Text3")
    d.xdo("type", "--delay", "0", "1123")
    time.sleep(0.3)
    d.keys("Return")
    d.expect_bytes(line("PGM1123") * 6, "1123 typed fast and Enter")
    d.expect_focus("upload", "after the code")


# The tenant editor: Enter held in a field moves on once; Enter held on its
# "Enter " button adds the typed record once.
def tenant_editor_held_enter(d):
    d.keys("alt+f", "n", "d")
    editor = d.window_titled("Velno 6100 Management System")
    d.expect_focus(("text", "TenantDir"), "the editor opened")
    d.type("12")
    d.hold("Return")
    d.expect_focus(("text", "Tel.No"), "Enter held in TenantDir")
    for text, next_field in (("5551234", "Code"), ("4321", "Door"), ("1", "Name")):
        d.type(text)
        d.keys("Return")
        d.expect_focus(("text", next_field), f"Enter after {text}")
    d.keys("ctrl+a")
    d.type("Ann Lee")
    d.keys("Return")
    d.expect_focus(("push button", "Enter "), "Enter after the name")
    d.hold("Return")
    d.expect_no_box("Enter held on the Enter button")
    records = [l for l in d.text_of(d.find("text", "Tenant list", within=editor)).splitlines()
               if l.strip()]
    check(len(records) == 1 and "Ann Lee" in records[0],
          f"Enter held on the Enter button: the list holds {records}")
    d.expect_focus(("text", "TenantDir"), "after the record")


def stored_port(d):
    settings = configparser.ConfigParser()
    settings.read(d.settings_path)
    return settings.get("Properties", "port", fallback=None)


# The port options worked through the accessibility interface ("Toggle", the
# one action a radio button offers) do what a click does.
def accessible_port_options(d):
    check(d.panel(2) == "Comm Number:  0", f"panel 2 at start: {d.panel(2)!r}")
    for n in (2, 4, 3, 1):
        option = d.control(f"Option{n}")
        d.do_action(option, "Toggle")
        check(option.getState().contains(d.atspi.STATE_CHECKED), f"Port {n} not checked")
        check(d.panel(2) == f"Comm Number:  {n}", f"Toggle on Port {n}: panel 2 reads {d.panel(2)!r}")
        check(stored_port(d) == str(n), f"Toggle on Port {n}: the settings hold port {stored_port(d)}")


# Each push button's "Press" does what its click does: the same line, the
# focus where a click leaves it; so do the buttons of the Setting dialog and
# of the tenant editor.
def accessible_press(d):
    d.programming()
    for row in HELD:
        if row.stage != "programming" or row.control.startswith(("medit", "dtmf", "Medit", "MsgWel")):
            continue
        if row.control == "close1":
            continue   # last: it ends programming mode
        fill(d, row)
        before = datetime.datetime.now()
        d.press(row.control)
        wanted = wanted_bytes(row.sends, before, datetime.datetime.now())
        got = d.arrived(max(wanted, key=len), seconds=3, quiet=0.5)
        check(got in wanted, f"Press on {row.control}: the line got {got!r}, wanted {wanted}")
        if row.box:
            d.box(row.box)
            d.answer(row.answer)
            d.expect_bytes(row.then, f"{row.answer} in the box")
        else:
            d.expect_focus(row.focus, f"Press on {row.control}")
        if row.control == "upload":
            d.press("download")   # the Send frame's focus again
    d.keys("alt+s")
    dialog = d.window_titled("Velno 6100 Management System")
    d.do_action(d.find("push button", "Cancel", within=dialog), "Press")
    d.wait_for(lambda: not d._window("Velno 6100 Management System"), "the Setting dialog to close")
    d.focus_main()
    d.keys("alt+f", "n", "d")
    editor = d.window_titled("Velno 6100 Management System")
    d.do_action(d.find("push button", "Enter ", within=editor), "Press")
    d.box("Directory must be 2 digits")
    d.answer("OK", refocus=False)
    d.do_action(d.find("push button", "Quit", within=editor), "Press")
    d.wait_for(lambda: not d._window("Velno 6100 Management System"), "the tenant editor to close")
    d.focus_main()
    d.press("close1")
    d.expect_bytes(line("END"), "Press on Disconnect")
    d.expect_focus("connect", "Press on Disconnect")


# The Setting dialog worked through the accessibility interface: a ByteCycle
# chosen with its list item's "Toggle" (the one action an item offers) is
# the combo box's value, and "Press" on OK stores it with the setup string.
# The arrow key chooses first, as the reading's check.
def accessible_setting_dialog(d):
    d.keys("alt+s")
    dialog = d.window_titled("Velno 6100 Management System")
    d.type("ATX")
    combo = d.find("combo box", "ByteCycle( ms )", within=dialog)
    shown = lambda: d.text_of(next(a for a in d._walk(combo) if a.getRoleName() == "text"))
    d.keys("Tab", "Down")
    check(shown() == "1", f"Down in ByteCycle shows {shown()!r}")
    d.do_action(d.find("list item", "10", within=combo, showing=False), "Toggle")
    check(shown() == "10", f"Toggle on the item 10: ByteCycle shows {shown()!r}")
    d.do_action(d.find("push button", "OK", within=dialog), "Press")
    d.wait_for(lambda: not d._window("Velno 6100 Management System"), "the Setting dialog to close")
    settings = configparser.ConfigParser()
    settings.read(d.settings_path.replace(SETTINGS_FILE, MODEM_SETTINGS_FILE))
    stored = dict(settings["Properties"]) if settings.has_section("Properties") else {}
    check(stored.get("sett") == "ATX" and stored.get("savea") == "10",
          f"Press on OK stored {stored}, wanted sett ATX and savea 10")


# Enter on the focused Connect button connects once: one dial.
def enter_on_connect(d):
    d.grab_focus("connect")
    d.keys("Return")
    d.expect_bytes(line("ATZ") + line("ATDT5550142"), "Enter on Connect", seconds=8, quiet=2.5)
    d.expect_no_box("Enter on Connect")
    d.expect_focus("Text3", "after dialling")


# Two lines copied in another program and pasted into Welcome Message (with
# Shift+Insert: Ctrl+V is the Edit menu's Paste, of what the program copied)
# go out as one message.
def pasted_line_break(d):
    d.programming()
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=b"HELLO\nWORLD", env=d.env,
                   check=True, timeout=10)
    d.grab_focus("MsgWel")
    d.keys("shift+Insert")
    field = d.text_of(d.control("MsgWel"))
    check(field == "HELLO WORLD", f"the pasted message reads {field!r}")
    d.keys("Return")
    d.expect_focus("message", "Enter in Welcome Message")
    d.keys("Return")
    d.expect_bytes(line("PARMSG HELLO WORLD "), "the pasted message sent")


# "1" typed into Door1 Open Time, the Setting dialog opened and cancelled,
# "5" typed: the field sends 15, by Enter or by a mouse click on its button.
def door1_across_setting(trigger):
    def run(d):
        d.programming()
        d.grab_focus("medit2")
        d.type("1")
        d.keys("alt+s")
        d.window_titled("Velno 6100 Management System")
        d.keys("Escape")
        d.wait_for(lambda: not d._window("Velno 6100 Management System"), "the Setting dialog to close")
        d.focus_main()
        d.expect_focus("medit2", "after the Setting dialog")
        d.type("5")
        if trigger == "enter":
            d.keys("Return")
        else:
            d.click(d.control("opentime1"))
        d.expect_bytes(line("PARDOT1 15"), f"Door1 Open Time by {trigger}")
    return run


def clock_is_now(d):
    text = d.panel(5)
    shown = re.fullmatch(r"(\d{1,2}):(\d\d):(\d\d)", text)
    if not shown:
        return False, f"panel 5 reads {text!r}, not a time"
    now = datetime.datetime.now()
    seconds = lambda h, m, s: int(h) * 3600 + int(m) * 60 + int(s)
    lag = (seconds(now.hour, now.minute, now.second) - seconds(*shown.groups())) % 86400
    return lag <= 2, f"panel 5 reads {text} at {now:%H:%M:%S}"


# The status panels as a screen reader reads them: at start and after the
# port is changed from the keyboard.
def status_panels(d):
    wanted = {1: "Status Bar:", 2: "Comm Number:  1", 3: "Send Record:  0", 4: "Setting: 1200,N,8,1 "}
    for n, text in wanted.items():
        check(d.panel(n) == text, f"panel {n} reads {d.panel(n)!r}, wanted {text!r}")
    d.wait_for(lambda: clock_is_now(d)[0], "the clock to show the time", 3)
    d.grab_focus("Option1")
    d.keys("Right")
    check(d.panel(2) == "Comm Number:  2", f"after Right on the port: panel 2 reads {d.panel(2)!r}")


# The clock keeps the current time after a wait (the dial's pauses).
def clock_after_wait(d):
    d.wait_for(lambda: clock_is_now(d)[0], "the clock to show the time before the wait", 3)
    d.press("connect")
    d.expect_bytes(line("ATZ") + line("ATDT5550142"), "the dial", seconds=8, quiet=2.5)
    for _ in range(4):
        time.sleep(1)
        ok, what = clock_is_now(d)
        check(ok, "after the wait: " + what)


def vertical_bar(d):
    for acc in d._walk(d.control("Text1")):
        if acc.getRoleName() == "scroll bar":
            extents = acc.queryComponent().getExtents(d.atspi.DESKTOP_COORDS)
            if extents.height > extents.width:
                return acc.queryValue()
    raise CaseFailed("the receive pane has no vertical scroll bar")


def at_newest(d, last):
    bar = vertical_bar(d)
    return last in d.text_of(d.control("Text1")) and bar.currentValue == bar.maximumValue


def receive_lines(d, first, count):
    for n in range(first, first + count):
        d.send_to_program(line(f"LINE {n:03}"))
        time.sleep(0.02)
    return f"LINE {first + count - 1:03}"


# The receive pane keeps the newest line in view across maximise and restore.
def newest_line_after_resize(d):
    d.connect()
    d.wait_for(lambda: at_newest(d, receive_lines(d, 1, 60)), "the pane at its newest line", 5)
    width, height = d.geometry()
    d.resize(1280, 1000)
    last = receive_lines(d, 61, 20)
    d.wait_for(lambda: at_newest(d, last), "the newest line after maximising", 5)
    d.resize(width, height)
    check(d.geometry() == (width, height), f"restored to {d.geometry()}, wanted {(width, height)}")
    time.sleep(1)
    bar = vertical_bar(d)
    check(bar.currentValue == bar.maximumValue,
          f"after restoring: the scroll bar at {bar.currentValue} of {bar.maximumValue}")


DIAL = {"phone": "5550142", "modem_setup": "ATZ"}
CASES = {
    **{held_name(row): (held_enter(row), {}) for row in HELD},
    "held_digit_types": (held_digit_types, {}),
    "fast_typing_code": (fast_typing_code, {}),
    "tenant_editor_held_enter": (tenant_editor_held_enter, {}),
    "accessible_port_options": (accessible_port_options, {"port": None}),
    "accessible_press": (accessible_press, {}),
    "accessible_setting_dialog": (accessible_setting_dialog, {}),
    "enter_on_connect": (enter_on_connect, DIAL),
    "pasted_line_break": (pasted_line_break, {}),
    "door1_across_setting_enter": (door1_across_setting("enter"), {}),
    "door1_across_setting_click": (door1_across_setting("click"), {}),
    "status_panels": (status_panels, {}),
    "clock_after_wait": (clock_after_wait, DIAL),
    "newest_line_after_resize": (newest_line_after_resize, {}),
}
