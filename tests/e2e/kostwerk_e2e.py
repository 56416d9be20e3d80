#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end check of Kostwerk in a real X server.

Starts Xvfb, a D-Bus session bus (which starts the accessibility bus), the
sample server behind a small gate proxy, and a copy of the program in a
folder of its own, then drives the window with real mouse and key events
(xdotool) and reads its fields through the accessibility tree (AT-SPI).

The gate proxy sits between the program and the sample server: it counts
the requests and can hold one back until told to let it pass, which is how a
fetch is kept running long enough to click into it.
"""

import argparse
import http.server
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import tty
import urllib.error
import urllib.request


# Without a tool the check cannot run at all: CTest's skip code.
def skip(missing):
    print(f"SKIPPED: missing {missing}", flush=True)
    sys.exit(77)


try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
    from Xlib import X, display, protocol
except (ImportError, ValueError) as missing:
    skip(f"AT-SPI or X bindings for Python ({missing}; Debian packages python3-gi, gir1.2-atspi-2.0, python3-xlib)")

TITLE = "Refekt Küchenplan"
CLIENT_SIZE = (443, 398)
WEEKDAYS = ["Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"]
START_PAGE = "/uni/refekt/00.html"
WEEK_PAGE = "/uni/refekt/t2026kw50.html"
NO_DATA = "Keine Daten vorhanden"
REFUSED_OUT_OF_FOLDER = "Die Cache-Datei liegt immer im Ordner der Einstellungen; „..“ führt aus ihm hinaus."
NO_SITE_SET = "Noch keine Mensa-Adresse eingestellt – bitte unter Datei → Einstellungen die Startseite eintragen."
STAND = re.compile(r"^Stand: \d\d\.\d\d\.\d{4}, \d\d:\d\d$")

# The refresh button's corner in the client area: the test finds it there.
# The other controls' places are checked by the window's own test suite.
REFRESH_AT = (16, 352)
CATEGORIES = ["Menü I", "Wahlessen", "Eintopf", "Menü II (veg.)", "Abendessen"]

SKIPPED = 77  # the exit status of a check that could not run
STEP_TIMEOUT = 15.0  # seconds for any one thing to happen
POLL = 0.05


class Failure(Exception):
    pass


def wait_until(condition, what, timeout=STEP_TIMEOUT):
    """Polls condition until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            result = condition()
        except GLib.Error:
            result = None  # the tree is being rebuilt; ask again
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(POLL)


def step(text):
    print(f"--- {text}", flush=True)


# ----------------------------------------------------------------- processes

class Processes:
    """Every process the check starts, stopped in reverse order at the end."""

    def __init__(self):
        self.started = []

    def start(self, args, **kwargs):
        process = subprocess.Popen(args, **kwargs)
        self.started.append(process)
        return process

    def stop(self, process, timeout=10):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        return process.returncode

    def stop_all(self):
        for process in reversed(self.started):
            self.stop(process)


def start_announcing(processes, name, command):
    """Starts a server that writes one line to the file descriptor handed to
    command once it takes clients, and returns that line."""
    read_end, write_end = os.pipe()
    processes.start(command(write_end), pass_fds=[write_end],
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as announcement:
        line = announcement.readline().strip()
    if not line:
        raise Failure(f"{name} did not start")
    return line


def start_session(processes, runtime_dir):
    """An X server and a D-Bus session bus of the check's own, set in this
    process's environment for every program it starts. The accessibility bus
    that the session bus starts on demand puts its socket into runtime_dir, so
    checks running side by side do not share it."""
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS", "http_proxy", "https_proxy", "all_proxy",
                 "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"):
        os.environ.pop(name, None)
    os.environ["XDG_RUNTIME_DIR"] = runtime_dir
    number = start_announcing(processes, "Xvfb", lambda fd: [
        "Xvfb", "-displayfd", str(fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"])
    os.environ["DISPLAY"] = ":" + number
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = start_announcing(processes, "dbus-daemon", lambda fd: [
        "dbus-daemon", "--session", "--nofork", "--nosyslog", f"--print-address={fd}"])


def start_sample_server(processes, binary, site, *options):
    server = processes.start([binary, "--root", site, "--port", "0", *options],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    line = server.stdout.readline()
    if not re.fullmatch(r"http://127\.0\.0\.1:\d+/\n", line):
        raise Failure(f"kostwerk-sample-server printed {line!r} instead of its address")
    return server, line.strip()


class GateProxy:
    """Forwards GET requests to the sample server, logs their paths and can
    hold back one path until released."""

    def __init__(self, upstream):
        self.upstream = upstream.rstrip("/")
        self.paths = []
        self.lock = threading.Lock()
        self.held_path = None
        self.holding = threading.Event()
        self.release = threading.Event()
        proxy = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                with proxy.lock:
                    proxy.paths.append(self.path)
                    hold = self.path == proxy.held_path
                    trickle = hold and proxy.trickle
                if hold:
                    proxy.holding.set()
                    if trickle:  # a page that never ends: a blank now and then
                        self.send_response(200)
                        self.end_headers()
                        try:
                            while not proxy.release.wait(0.2):
                                self.wfile.write(b" ")
                        except OSError:
                            pass  # the program hung up
                        return
                    proxy.release.wait(STEP_TIMEOUT * 2)
                try:
                    with urllib.request.urlopen(proxy.upstream + self.path, timeout=STEP_TIMEOUT) as answer:
                        status, headers, body = answer.status, answer.headers, answer.read()
                except urllib.error.HTTPError as error:
                    status, headers, body = error.code, error.headers, error.read()
                self.send_response(status)
                self.send_header("Content-Type", headers.get("Content-Type", "application/octet-stream"))
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/"

    def requests(self):
        with self.lock:
            return list(self.paths)

    def hold(self, path, trickle=False):
        with self.lock:
            self.held_path = path
            self.trickle = trickle
        self.holding.clear()
        self.release.clear()

    def let_pass(self):
        with self.lock:
            self.held_path = None
        self.release.set()

    def close(self):
        self.let_pass()
        self.server.shutdown()
        self.server.server_close()


# ------------------------------------------------------------ the program

def make_program_folder(root, binary, site_url=None, name="program"):
    """A folder holding a copy of the program, and settings for site_url if given."""
    folder = os.path.join(root, name)
    os.mkdir(folder)
    # A copy, not a link: the program looks for its files beside the real
    # binary.
    program = shutil.copy2(binary, os.path.join(folder, "kostwerk"))
    if site_url is None:
        return folder, program
    with open(os.path.join(folder, "refekt.ini"), "w", newline="") as ini:
        ini.write(f"[Settings]\r\nstartURL={site_url}uni/refekt/00.html\r\n"
                  f"basisURL={site_url}uni/refekt/\r\ncacheFile=cache.rfk\r\n")
    return folder, program


def program_environment():
    # Qt offers its accessibility tree only when asked or when a screen
    # reader is on; this session has none.
    return dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")


def xdotool(*args, timeout=STEP_TIMEOUT):
    try:
        done = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure(f"xdotool {' '.join(args)} did not finish within {timeout:.0f} s")
    if done.returncode != 0:
        raise Failure(f"xdotool {' '.join(args)} failed: {done.stderr.strip()}")
    return done.stdout


class Window:
    """The running program: its X window and its accessibility tree."""

    def __init__(self, process):
        self.process = process
        self.window_id = wait_until(self._window, "the program's window")
        # What a window manager does with a new window; bare Xvfb has none.
        xdotool("windowfocus", "--sync", self.window_id)
        self.app = wait_until(self._application, "the program in the accessibility tree")
        # Fresh answers for every question: cached names would lag behind
        # the button's caption.
        self.app.set_cache_mask(Atspi.Cache.NONE)
        self.frame = wait_until(lambda: self._child_with_role(self.app, "frame"), "the main window's frame")
        self.client = wait_until(self._client_area, "the client area")

    def _window(self, title=TITLE):
        self._check_running()
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                               capture_output=True, text=True, timeout=STEP_TIMEOUT)
        return found.stdout.split()[0] if found.returncode == 0 and found.stdout.strip() else None

    def _application(self):
        self._check_running()
        desktop = Atspi.get_desktop(0)
        for index in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(index)
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def _check_running(self):
        if self.process.poll() is not None:
            raise Failure(f"the program ended with exit status {self.process.returncode}")

    @staticmethod
    def _child_with_role(parent, role, name=None):
        for index in range(parent.get_child_count()):
            child = parent.get_child_at_index(index)
            if child is not None and child.get_role_name() == role and (name is None or child.get_name() == name):
                return child
        return None

    def _client_area(self):
        for index in range(self.frame.get_child_count()):
            child = self.frame.get_child_at_index(index)
            if child.get_role_name() == "filler" and self.size(child) == CLIENT_SIZE:
                return child
        return None

    def control(self, name, role):
        """A control of the client area; the weekday buttons are read as
        members of their group."""
        self._check_running()
        parent = self.client
        if role == "radio button":
            parent = self._child_with_role(self.client, "panel", "Wochentagsauswahl")
            if parent is None:
                raise Failure("no group 'Wochentagsauswahl' in the client area")
        found = self._child_with_role(parent, role, name)
        if found is None:
            raise Failure(f"no {role} named {name!r} in the client area")
        return found

    def refresh_button(self):
        """The refresh button, found by its place since its caption changes."""
        for index in range(self.client.get_child_count()):
            child = self.client.get_child_at_index(index)
            if child.get_role_name() == "push button" and self.position_in_client(child)[:2] == REFRESH_AT:
                return child
        raise Failure(f"no push button at {REFRESH_AT} in the client area")

    def heading(self):
        return self.text_of(self.control("Überschrift", "text"))

    def category_texts(self):
        return [self.text_of(self.control(name, "text")) for name in CATEGORIES]

    def refresh_caption(self):
        return self.refresh_button().get_name()

    def status(self):
        statusbar = self._child_with_role(self.frame, "status bar")
        label = self._child_with_role(statusbar, "notification") if statusbar else None
        return label.get_name() if label else None

    def selected_weekday(self):
        checked = [day for day in WEEKDAYS
                   if self.control(day, "radio button").get_state_set().contains(Atspi.StateType.CHECKED)]
        return checked[0] if len(checked) == 1 else None

    @staticmethod
    def text_of(accessible):
        return Atspi.Text.get_text(accessible, 0, -1)

    @staticmethod
    def extents(accessible):
        box = Atspi.Component.get_extents(accessible, Atspi.CoordType.SCREEN)
        return box.x, box.y, box.width, box.height

    def size(self, accessible):
        return self.extents(accessible)[2:]

    def position_in_client(self, accessible):
        x, y, width, height = self.extents(accessible)
        client_x, client_y, _, _ = self.extents(self.client)
        return x - client_x, y - client_y, width, height

    def click(self, accessible):
        """A real left click into the middle of a control."""
        x, y, width, height = self.extents(accessible)
        # No --sync: it waits for the pointer to move, forever when it is
        # already there. The X server handles the move before the click.
        xdotool("mousemove", str(x + width // 2), str(y + height // 2), "click", "1")


def names_below(accessible):
    children = [accessible.get_child_at_index(index) for index in range(accessible.get_child_count())]
    # A menu item's name may go on with a tab and its shortcut.
    return {name for child in children for name in [child.get_name().split("\t")[0], *names_below(child)]}


def start_program(processes, program, log, proxy=None):
    """Starts the program with its messages going to the file log, and its
    requests to proxy if given."""
    environment = program_environment()
    if proxy:
        environment["http_proxy"] = proxy
    with open(log, "ab") as messages:
        process = processes.start([program], env=environment,
                                  stdout=messages, stderr=subprocess.STDOUT)
    return Window(process)


class ScreenReader:
    """Orca, with its settings and all it writes in folder. Its debug log goes
    to a terminal, which Python writes to line by line, and is read as it
    comes; a file would hold the lines back until Orca ends."""

    def __init__(self, processes, folder, settings):
        self.lines = []
        master, terminal = os.openpty()
        tty.setraw(terminal)
        threading.Thread(target=self._read, args=(master,), daemon=True).start()
        os.makedirs(os.path.join(folder, "orca"))
        shutil.copy(settings, os.path.join(folder, "orca", "user-settings.conf"))
        home = {name: os.path.join(folder, name) for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME")}
        # No --replace: it would kill the user's own screen reader.
        self.process = processes.start(
            ["orca", "-u", os.path.join(folder, "orca"), "--debug-file", os.ttyname(terminal)],
            env=dict(os.environ, HOME=folder, GSETTINGS_BACKEND="memory", **home),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _read(self, master):
        try:
            with os.fdopen(master, "rb") as log:
                for line in log:
                    self.lines.append(line.decode(errors="replace").rstrip())
        except OSError:
            pass  # Orca ended

    def listening(self):
        """Waits until Orca listens; why it does not, if it does not."""
        try:
            wait_until(lambda: self.process.poll() is not None
                       or any("ORCA: Starting registry" in line for line in list(self.lines)), "Orca to start")
        except Failure as failure:
            return str(failure)
        return None if self.process.poll() is None else f"Orca ended with exit status {self.process.returncode}"

    def spoken(self):
        return [line.split("SPEECH OUTPUT: ", 1)[1] for line in list(self.lines) if "SPEECH OUTPUT: " in line]


# ------------------------------------------------------------------ checks

def expect(condition, message):
    if not condition:
        raise Failure(message)


def no_site_set(processes, window, proxy):
    step("a fresh folder with the default settings: start and F5 say where to set the address, ask nothing")
    status = lambda: window.status() or ""
    expect(status() == NO_SITE_SET, f"status bar reads {status()!r} at the first start with default settings")
    before = proxy.requests()
    xdotool("key", "F5")
    wait_until(lambda: window.refresh_caption() == "Daten holen", "F5 to end")
    expect(status() == NO_SITE_SET, f"status bar reads {status()!r} after F5 with default settings")
    expect(proxy.requests() == before, f"F5 with default settings asked for {proxy.requests()[len(before):]}")
    processes.stop(window.process)


def result_spoken(reader, window):
    """Checks that Orca speaks the result; why it could not, if Orca ended meanwhile."""
    step("with Orca running, F5 with the focus on a weekday: Orca speaks the result")
    day = window.control(WEEKDAYS[1], "radio button")
    window.click(day)
    wait_until(lambda: day.get_state_set().contains(Atspi.StateType.FOCUSED), f"{WEEKDAYS[1]} to have the focus")
    xdotool("key", "F5")
    status = wait_until(lambda: STAND.match(window.status() or "") and window.status(), "the fetch to end")
    try:
        wait_until(lambda: any(status in line for line in reader.spoken()), f"Orca to speak {status!r}")
    except Failure as failure:
        if reader.process.poll() is not None:  # another Orca of the user replaced it, say
            return f"Orca ended during the check with exit status {reader.process.returncode}"
        raise Failure(f"{failure}; it spoke {reader.spoken()}")
    return None


class Scenario:
    """The checks, in the order a user would meet them. Each day shown after
    the fetch is remembered, to compare with what the restart shows."""

    def __init__(self, window, proxy, cache):
        self.window = window
        self.proxy = proxy
        self.cache = cache
        self.today = None
        self.days_seen = {}

    def remember_day(self):
        day = self.window.selected_weekday()
        heading = self.window.heading()
        expect(heading.startswith(day), f"heading reads {heading!r} while {day} is selected")
        categories = self.window.category_texts()
        expect(all(categories), f"some categories of {day} are empty: {categories}")
        self.days_seen[day] = (heading, categories)

    def other_weekday(self):
        selected = self.window.selected_weekday()
        return WEEKDAYS[(WEEKDAYS.index(selected) + 2) % len(WEEKDAYS)]

    def click_weekday(self, day):
        self.window.click(self.window.control(day, "radio button"))
        wait_until(lambda: self.window.selected_weekday() == day, f"{day} to be selected")

    def first_start(self):
        step("first start without cache: window size, empty fields")
        window = self.window
        geometry = xdotool("getwindowgeometry", window.window_id)
        width, height = (int(v) for v in re.search(r"Geometry: (\d+)x(\d+)", geometry).groups())
        expect(width == CLIENT_SIZE[0], f"window is {width} pixels wide instead of {CLIENT_SIZE[0]}")
        expect(height > CLIENT_SIZE[1], f"window height {height} leaves no room for menu and status bar")
        expect(window.heading() == NO_DATA, f"heading reads {window.heading()!r} instead of {NO_DATA!r}")
        expect(window.category_texts() == [""] * 5, f"categories are not empty: {window.category_texts()}")
        wait_until(lambda: window.refresh_button().get_state_set().contains(Atspi.StateType.FOCUSED),
                   "the refresh button to have the keyboard focus")
        self.today = window.selected_weekday()
        expect(self.today is not None, "no weekday is selected at start")
        xdotool("key", "Tab")  # onto the chosen day, not Montag
        wait_until(lambda: window.control(self.today, "radio button").get_state_set().contains(Atspi.StateType.FOCUSED),
                   f"Tab to reach {self.today}")

    def weekday_without_data(self):
        step("a weekday click without data leaves the heading alone")
        self.click_weekday(self.other_weekday())
        heading = self.window.heading()
        expect(heading == NO_DATA, f"heading reads {heading!r} after a weekday click without data")

    def fetch(self):
        step("a click on 'Daten aktualisieren' fetches the week and writes the cache")
        window = self.window
        caption = window.refresh_caption()
        expect(caption == "Daten aktualisieren", f"refresh button reads {caption!r} before the first fetch")
        window.click(window.refresh_button())
        wait_until(lambda: window.refresh_caption() == "Daten holen", "the refresh button to read 'Daten holen'")
        wait_until(lambda: os.path.isfile(self.cache) and os.path.getsize(self.cache) > 0,
                   f"the fetch to write {self.cache}")
        self.remember_day()
        expect(STAND.match(window.status() or ""), f"status bar reads {window.status()!r} after the fetch")
        # What a screen reader says when the button takes the focus back.
        description = window.refresh_button().get_description()
        expect(description == window.status(), f"the refresh button describes itself as {description!r}")

    def weekday_switch(self):
        step("a click on another weekday shows that day")
        day = self.other_weekday()
        self.click_weekday(day)
        wait_until(lambda: self.window.heading().startswith(day), f"the heading to show {day}")
        self.remember_day()

    def weekday_key(self):
        step("Alt+2 shows Dienstag")
        xdotool("key", "alt+2")
        wait_until(lambda: self.window.heading().startswith("Dienstag"), "Alt+2 to show Dienstag")
        self.remember_day()

    def click_during_fetch(self):
        step("a click on the refresh button during a slow fetch starts no second fetch")
        window, proxy = self.window, self.proxy
        proxy.hold(START_PAGE)
        before = len(proxy.requests())
        refresh = window.refresh_button()
        window.click(refresh)
        if not proxy.holding.wait(STEP_TIMEOUT):
            raise Failure("the click on the refresh button started no fetch")
        wait_until(lambda: window.refresh_caption() == "Bitte warten...",
                   "the refresh button to read 'Bitte warten...' during the fetch")
        expect(not refresh.get_state_set().contains(Atspi.StateType.ENABLED),
               "the refresh button is enabled during the fetch")
        window.click(refresh)
        # A margin for the click to travel from the X server into the
        # program's input queue before the fetch ends.
        time.sleep(0.5)
        proxy.let_pass()
        wait_until(lambda: window.refresh_caption() == "Daten holen", "the fetch to end")
        # Input is handled in order: once this weekday click shows, a
        # replayed refresh click would already have fetched again.
        day = self.other_weekday()
        window.click(window.control(day, "radio button"))
        wait_until(lambda: window.heading().startswith(day) or len(proxy.requests()) > before + 2,
                   f"the heading to show {day}")
        requests = proxy.requests()[before:]
        expect(requests == [START_PAGE, WEEK_PAGE],
               f"a fetch with a click during it made the requests {requests}, not one start and one week page")
        self.remember_day()

    def next_week(self, upstream):
        step("F5 with the following week on the server: 'Neuer Wochenplan', no weekday marked as changed")
        window, proxy, before = self.window, self.proxy, len(self.proxy.requests())
        proxy.upstream = upstream.rstrip("/")
        xdotool("key", "F5")
        wait_until(lambda: len(proxy.requests()) > before and window.refresh_caption() == "Daten holen", "the fetch")
        expect((window.status() or "").endswith(" – Neuer Wochenplan"), f"status bar reads {window.status()!r}")
        expect(not any(window.control(day, "radio button").get_description() == "geändert" for day in WEEKDAYS),
               "a weekday is marked as changed in a new week")
        self.days_seen = {}  # the restart shows the following week
        self.remember_day()

    def refused_cache_name(self):
        step("Datei > Einstellungen from the keyboard: a cache name out of the folder is refused, the dialog stays open")
        window, ini = self.window, os.path.join(os.path.dirname(self.cache), "refekt.ini")
        with open(ini, "rb") as settings:
            before = settings.read()
        xdotool("key", "alt+d")
        xdotool("key", "e")
        dialog = wait_until(lambda: window._child_with_role(window.app, "dialog", "Einstellungen"), "the dialog")
        window.click(window._child_with_role(dialog, "text", "Cachefile:"))
        xdotool("key", "ctrl+a", "type", "../x")
        window.click(window._child_with_role(dialog, "push button", "OK"))
        alert = wait_until(lambda: window._child_with_role(window.app, "alert", "Einstellungen"), "the refusal")
        expect(window._child_with_role(alert, "label", REFUSED_OUT_OF_FOLDER), "the refusal does not say why")
        xdotool("key", "Return")
        wait_until(lambda: not window._child_with_role(window.app, "alert", "Einstellungen"), "the refusal to close")
        expect(window._child_with_role(window.app, "dialog", "Einstellungen"), "the refusal closed the dialog")
        with open(ini, "rb") as settings:
            expect(settings.read() == before, "a refused cache name changed refekt.ini")
        window.click(window._child_with_role(dialog, "push button", "Abbrechen"))
        wait_until(lambda: not window._child_with_role(window.app, "dialog", "Einstellungen"), "the dialog to close")

    def qt_speaks_german(self):
        step("Qt's own print dialog and context menu speak German")
        listener = Atspi.EventListener.new(lambda event: event.detail1 and shown.append(event.source))
        listener.register("object:state-changed:showing")
        field = self.window.control(CATEGORIES[0], "text")
        for open_it, role, expected in [
                (lambda: xdotool("key", "ctrl+p"), "dialog", {"Drucken", "Abbrechen"}),
                (lambda: (self.window.click(field), xdotool("click", "3")), "popup menu", {"Kopieren", "Alles auswählen"})]:
            shown = []  # what shows from now on, as Qt lists a context menu in no accessibility tree
            open_it()

            def opened():
                while GLib.MainContext.default().iteration(False):
                    pass
                return next((accessible for accessible in shown if accessible.get_role_name() == role), None)
            popup = wait_until(opened, f"a {role} to show")
            expect(expected <= names_below(popup), f"the {role} reads {sorted(names_below(popup))}")
            xdotool("key", "Escape")
            wait_until(lambda: not popup.get_state_set().contains(Atspi.StateType.SHOWING), f"the {role} to close")
        listener.deregister("object:state-changed:showing")

    def preview_keys(self):
        step("Ctrl+Shift+W, then Ctrl+P in the preview opens the German print dialog; Escape closes each")
        preview = "Druckvorschau – Wochenübersicht .*"  # and the week's dates
        for key, title, shows in [("ctrl+shift+w", preview, True), ("ctrl+p", "Drucken", True),
                                  ("Escape", "Drucken", False), ("Escape", preview, False)]:
            xdotool("key", key)
            wait_until(lambda: bool(self.window._window(title)) == shows, f"{key} to show or hide {title!r}")

    def quit_from_menu(self):
        step("back to today, then Datei > Beenden from the keyboard ends the program")
        self.click_weekday(self.today)
        wait_until(lambda: self.window.heading().startswith(self.today), f"the heading to show {self.today}")
        self.remember_day()
        process = self.window.process
        xdotool("key", "alt+d")
        xdotool("key", "b")
        try:
            process.wait(STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end after Datei > Beenden")
        expect(process.returncode == 0, f"the program ended with exit status {process.returncode}")

    def close_during_download(self, window):
        step("closing the window from its title bar during a trickling download ends the program")
        self.proxy.hold(START_PAGE, trickle=True)
        xdotool("key", "F5")
        if not self.proxy.holding.wait(STEP_TIMEOUT):
            raise Failure("F5 started no fetch")
        # What a window manager sends for its close button; bare Xvfb has none.
        x = display.Display()
        target = x.create_resource_object("window", int(window.window_id))
        target.send_event(protocol.event.ClientMessage(window=target, client_type=x.intern_atom("WM_PROTOCOLS"), data=(
            32, [x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        x.sync()  # closing alone does not always get the message out
        x.close()
        try:
            window.process.wait(1.0)
        except subprocess.TimeoutExpired:
            raise Failure("the program still runs a second after its window was closed during a download")
        finally:
            self.proxy.let_pass()
        expect(window.process.returncode == 0, f"the program ended with exit status {window.process.returncode}")

    def restart_shows_cache(self, window):
        step("a restart with the server stopped shows the cached week at once")
        self.window = window
        caption = window.refresh_caption()
        expect(caption == "Daten aktualisieren", f"refresh button reads {caption!r} right after a start")
        day = window.selected_weekday()
        shown = (window.heading(), window.category_texts())
        # Only a start after midnight selects another day than the first run.
        expected = self.days_seen.get(day)
        if expected:
            expect(shown == expected, f"the restart shows {shown} instead of the cached {expected}")
        else:
            self.remember_day()
        expect(STAND.match(window.status() or ""), f"status bar reads {window.status()!r} with a fresh cache")

    def refresh_key_without_server(self):
        step("F5 with the server stopped keeps the week and the cache and says why")
        window = self.window
        shown = (window.heading(), window.category_texts())
        with open(self.cache, "rb") as cache:
            cached = cache.read()
        xdotool("key", "F5")
        wait_until(lambda: window.refresh_caption() == "Daten holen", "the refresh button to read 'Daten holen'")
        status = window.status() or ""
        expect(status.startswith("Startseite: Keine Verbindung"), f"status bar reads {status!r} with the server stopped")
        expect((window.heading(), window.category_texts()) == shown, "a failed fetch changed the day shown")
        with open(self.cache, "rb") as cache:
            expect(cache.read() == cached, "a failed fetch changed the cache file")

    def settings_caption(self):
        step("Datei > Einstellungen opens a window the window system names 'Einstellungen', nothing more")
        xdotool("key", "alt+d")
        xdotool("key", "e")
        dialog = wait_until(lambda: self.window._window("Einstellungen"), "a window named 'Einstellungen'")
        title = xdotool("getwindowname", dialog).strip()
        expect(title == "Einstellungen", f"the window system shows the settings dialog as {title!r}")


# -------------------------------------------------------------------- main

def skip(why):
    print(f"SKIP: {why}", flush=True)
    return SKIPPED


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the built kostwerk binary")
    parser.add_argument("--sample-server", required=True, help="the built kostwerk-sample-server")
    parser.add_argument("--sample-site", required=True, help="the folder the sample server serves")
    parser.add_argument("--failure-screenshot", help="where to save the screen when a check fails")
    parser.add_argument("--screen-reader-settings", help="run only the check with Orca, started with these settings")
    args = parser.parse_args()

    tools = {"Xvfb": "xvfb", "dbus-daemon": "dbus-daemon", "xdotool": "xdotool", "import": "imagemagick"}
    missing = [f"{tool} (Debian package {package})" for tool, package in tools.items() if not shutil.which(tool)]
    if missing:
        skip(", ".join(missing))

    # ctest ends a test that runs too long with SIGTERM: clean up then too.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAIL: stopped by SIGTERM"))
    processes = Processes()
    proxy = None
    log = None
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="kostwerk-e2e-") as root:
        try:
            runtime_dir = os.path.join(root, "runtime")
            os.mkdir(runtime_dir, 0o700)
            start_session(processes, runtime_dir)
            if args.screen_reader_settings:
                reader = shutil.which("orca") and ScreenReader(processes, os.path.join(root, "reader"),
                                                               args.screen_reader_settings)
                why = reader.listening() if reader else "no orca (Debian package orca)"
                if why:
                    return skip(why)
            server, server_url = start_sample_server(processes, args.sample_server, args.sample_site)
            _, next_week_url = start_sample_server(processes, args.sample_server, args.sample_site, "--next-week")
            proxy = GateProxy(server_url)
            folder, program = make_program_folder(root, args.program, proxy.url)

            log = os.path.join(root, "kostwerk.log")
            if args.screen_reader_settings:
                why = result_spoken(reader, start_program(processes, program, log))
                if why:
                    return skip(why)
                print(f"PASS in {time.monotonic() - started:.1f} s", flush=True)
                return 0
            # Every request, the default host's included, would pass the proxy.
            fresh = make_program_folder(root, args.program, name="fresh")[1]
            no_site_set(processes, start_program(processes, fresh, log, proxy.url), proxy)
            scenario = Scenario(start_program(processes, program, log), proxy, os.path.join(folder, "cache.rfk"))
            scenario.first_start()
            scenario.weekday_without_data()
            scenario.fetch()
            scenario.weekday_switch()
            scenario.weekday_key()
            scenario.click_during_fetch()
            scenario.next_week(next_week_url)
            scenario.refused_cache_name()
            scenario.qt_speaks_german()
            scenario.preview_keys()
            scenario.quit_from_menu()
            scenario.close_during_download(start_program(processes, program, log))

            proxy.close()
            proxy = None
            status = processes.stop(server)
            expect(status == 0, f"kostwerk-sample-server ended with exit status {status} on SIGTERM")
            scenario.restart_shows_cache(start_program(processes, program, log))
            scenario.refresh_key_without_server()
            scenario.settings_caption()
            print(f"PASS in {time.monotonic() - started:.1f} s", flush=True)
            return 0
        except Failure as failure:
            if "DISPLAY" in os.environ and args.failure_screenshot:  # set once Xvfb runs
                subprocess.run(["import", "-window", "root", args.failure_screenshot],
                               capture_output=True, timeout=STEP_TIMEOUT)
                print(f"screen saved to {args.failure_screenshot}", file=sys.stderr)
            if log and os.path.exists(log):
                with open(log, errors="replace") as messages:
                    print("The program's messages:\n" + messages.read(), file=sys.stderr)
            print(f"FAIL: {failure}", file=sys.stderr)
            return 1
        finally:
            if proxy:
                proxy.close()
            processes.stop_all()


if __name__ == "__main__":
    sys.exit(main())
