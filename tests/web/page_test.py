#!/usr/bin/env python3
"""The web page in Debian's headless Chromium, driven over the DevTools
protocol as a person drives it (mouse, keys, touch), against the desktop
core's bits and the batch program's render; nothing may be written to the
console as an error.
    page_test.py SITE-FOLDER TRESOLVA-BATCH
"""
import base64
import ctypes
import functools
import http.server
import json
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

DEADLINE = float(os.environ.get("E2E_DEADLINE", "60"))  # seconds for any one expectation


def fail(why):
    print("FAIL: " + why, file=sys.stderr)
    sys.exit(1)


def within(why, check):
    end = time.monotonic() + DEADLINE
    while not (got := check()):
        if time.monotonic() > end:
            fail(why)
        time.sleep(0.1)
    return got


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def handle_one_request(self):
        """As the standard one, but for a request line of up to 4 MB: a link may be long."""
        self.raw_requestline = self.rfile.readline(1 << 22)
        if not self.raw_requestline:
            self.close_connection = True
            return
        if self.parse_request():
            getattr(self, "do_" + self.command)()
            self.wfile.flush()


def serve(folder):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d/" % server.server_address[1]


def ppm(path):
    """Width, height and RGB bytes of any picture ImageMagick reads."""
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, stdout=subprocess.PIPE).stdout
    _, width, height, rest = data.split(None, 3)
    return int(width), int(height), rest[len(b"255\n"):]


def drawn(width, height, rgb, background):
    return {(i % width, i // width) for i in range(width * height) if rgb[3 * i:3 * i + 3] != background}


def near(a, b):
    """The share of the points of a within one pixel of a point of b."""
    hits = sum(1 for (x, y) in a if any((x + dx, y + dy) in b for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
    return hits / len(a) if a else 0.0


KEYS = {" ": 32, "Tab": 9, "Enter": 13, "ArrowUp": 38, "ArrowRight": 39, "ArrowDown": 40, "F1": 112}  # and letters


class Page:
    """The page in one tab of Chromium (the DevTools protocol on its fds 3 and 4), and what a person does to it."""

    def __init__(self, work, address):
        to_r, to_w = os.pipe()
        from_r, from_w = os.pipe()
        flags = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                 "--remote-debugging-pipe", "--no-first-run", "--user-data-dir=" + os.path.join(work, "profile"),
                 "--window-size=1200,900", "about:blank"]
        self.proc = subprocess.Popen(["sh", "-c", 'exec chromium "$@" 3<&%d 4>&%d' % (to_r, from_w), "sh"] + flags,
                                     pass_fds=(to_r, from_w), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_r)
        os.close(from_w)
        self.w, self.r = os.fdopen(to_w, "wb"), from_r
        self.next_id, self.errors, self.session, self.pending = 0, [], None, b""
        self.address, self.downloads = address, os.path.join(work, "downloads")
        os.mkdir(self.downloads)
        target = self.send("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Runtime", "Log", "Page", "DOM"):
            self.send(domain + ".enable")
        self.send("Browser.setDownloadBehavior", to_browser=True, behavior="allow", downloadPath=self.downloads)

    def send(self, method, to_browser=False, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session and not to_browser:
            message["sessionId"] = self.session
        self.w.write(json.dumps(message).encode() + b"\0")
        self.w.flush()
        while True:
            while b"\0" not in self.pending:  # events of a long link are megabytes
                more = os.read(self.r, 1 << 20)
                if not more:
                    fail("the browser closed its pipe")
                self.pending += more
            data, self.pending = self.pending.split(b"\0", 1)
            reply = json.loads(data)
            self.note(reply)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    fail(method + ": " + reply["error"].get("message", ""))
                return reply.get("result", {})

    def note(self, m):
        p = m.get("params", {})
        if m.get("method") == "Runtime.consoleAPICalled" and p.get("type") == "error":
            self.errors.append(" ".join(str(a.get("value", a.get("description"))) for a in p["args"]))
        elif m.get("method") == "Runtime.exceptionThrown":
            self.errors.append(p["exceptionDetails"].get("text", "an exception"))
        elif m.get("method") == "Log.entryAdded" and p["entry"].get("level") == "error":
            self.errors.append(p["entry"].get("text", ""))

    def js(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True)
        if "exceptionDetails" in result:
            fail(expression + ": " + str(result["exceptionDetails"].get("text")))
        return result["result"].get("value")

    def open(self, query="", width=1200, height=900, frame=True, ratio=1):
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=ratio,
                  mobile=False)
        self.send("Page.navigate", url=self.address + query)
        within("the page at " + query[:60], lambda: self.js("document.body && document.body.dataset.ready === '1'"))
        if frame:
            within("its first frame", lambda: self.state()[0] >= 1)

    def values(self):
        return self.js("tresolva.hook.values()")

    def state(self):
        """frames, t x y z x2 y2 z2, xmaxold, the last frame's steps, its parts, drawing, all steps."""
        return [float(v) for v in self.js("tresolva.hook.state()").split()]

    def link(self):
        return dict(line.split("=", 1) for line in self.js("tresolva.hook.link()").split("\n") if line)

    def view(self, *keys):
        return [round(float(self.link().get("view." + k, 0)), 6) for k in keys]

    def text(self, selector):
        return self.js("document.querySelector(%s).textContent" % json.dumps(selector))

    def shown(self, element):
        return self.js("!document.getElementById('%s').hidden" % element)

    def canvas(self):
        return self.js("(() => { const c = document.getElementById('scene');"
                       " return [c.width, c.height, c.clientWidth, c.clientHeight]; })()")

    def centre(self, selector):
        box = self.js("(() => { const r = document.querySelector(%s).getBoundingClientRect();"
                      " return [r.x + r.width / 2, r.y + r.height / 2, r.width]; })()" % json.dumps(selector))
        if box[2] == 0:
            fail(selector + " is not shown")
        return box[0], box[1]

    def mouse(self, kind, x, y, button="none", buttons=0, **more):
        self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button, buttons=buttons, **more)

    def drag(self, selector, dx, dy, button="left", steps=5):
        x, y = self.centre(selector)
        mask = {"left": 1, "right": 2}[button]
        self.mouse("mouseMoved", x, y)
        self.mouse("mousePressed", x, y, button, mask, clickCount=1)
        for k in range(1, steps + 1):
            self.mouse("mouseMoved", x + dx * k / steps, y + dy * k / steps, button, mask)
        self.mouse("mouseReleased", x + dx, y + dy, button, 0, clickCount=1)

    def click(self, selector):
        self.drag(selector, 0, 0, steps=0)

    def key(self, name, down=True, up=True, modifiers=0):
        vk = KEYS.get(name) or ord(name.upper())
        code = "Space" if name == " " else name if name in KEYS else "Key" + name.upper()
        common = dict(key=name, code=code, windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk, modifiers=modifiers)
        if down:
            text = {"Enter": "\r"}.get(name, name if len(name) == 1 else "")
            self.send("Input.dispatchKeyEvent", type="keyDown", text=text, **common)
        if up:
            self.send("Input.dispatchKeyEvent", type="keyUp", **common)

    def touch(self, frames):
        """Fingers down at frames[0], moved through the rest, lifted."""
        points = lambda f: [{"x": x, "y": y, "id": k} for k, (x, y) in enumerate(f)]
        self.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=points(frames[0]))
        for f in frames[1:]:
            self.send("Input.dispatchTouchEvent", type="touchMove", touchPoints=points(f))
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def type_into(self, selector, text):
        self.click(selector)
        self.send("Input.insertText", text=text)
        self.key("Enter")

    def choose_file(self, path):
        """Open settings…, as a person picks a file."""
        root = self.send("DOM.getDocument")["root"]["nodeId"]
        node = self.send("DOM.querySelector", nodeId=root, selector="#openfile")["nodeId"]
        self.send("DOM.setFileInputFiles", nodeId=node, files=[path])

    def pixel(self, x, y):
        """The scene's RGB at device pixel (x, y) from the top left."""
        return self.js("""(() => { const c = Object.assign(document.createElement('canvas'), {width: 1, height: 1});
            const g = c.getContext('2d'); g.drawImage(document.getElementById('scene'), %d, %d, 1, 1, 0, 0, 1, 1);
            return [...g.getImageData(0, 0, 1, 1).data].slice(0, 3); })()""" % (x, y))

    def downloaded(self, button, name):
        path = os.path.join(self.downloads, name)  # each name once a run, into a folder of its own
        self.click("#share button:nth-child(%d)" % button)
        within("the download of " + name, lambda: os.path.exists(path) and os.path.getsize(path) > 0)
        with open(path, "rb") as f:
            return f.read()


def write(path, data):
    with open(path, "wb" if isinstance(data, bytes) else "w") as f:
        f.write(data)
    return path


def main():
    site, batch = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp()
    page = Page(work, serve(site))
    try:
        for case in (pictures, controls, keys_and_gestures, touch_and_keyboard, link_round_trip, bad_links,
                     bad_files, long_frame, notices, layouts, without_webgl2):
            case(page, batch, work)
            print(case.__name__ + ": ok")
        if page.errors:
            fail("console errors: " + "; ".join(page.errors))
    finally:
        page.proc.kill()
    print("page: ok")


def batch_settings(batch, **changes):
    """The batch program's settings text with the first line of each key replaced."""
    text = subprocess.run([batch, "settings"], check=True, stdout=subprocess.PIPE, text=True).stdout
    for key, value in changes.items():
        text = re.sub("^%s = .*$" % key, lambda m: key + " = " + value, text, count=1, flags=re.M)
    return text


def pictures(page, batch, work):
    cases = {"start-up": {}, "twin": {"twin": "true"},
             "maximum map": {"twin": "true", "maximum_map": "true"},
             "Roessler, figures, thick lines, white": {"attractor": '"roessler"', "box": "true", "axes": "true",
                                                       "colouring": '"Speed"', "lines": '"thicker"',
                                                       "background": '"white"'}}
    # One page for all, so that each settings file replaces the last one's picture whole.
    page.open()
    for name, changes in cases.items():
        check_picture(page, batch, work, name, changes)
    page.open("?playback=static", ratio=2)
    check_picture(page, batch, work, "start-up at ratio 2", {}, ratio=2)


def check_picture(page, batch, work, name, changes, ratio=1):
    text = batch_settings(batch, playback='"static"', **changes)
    toml = write(os.path.join(work, "view.toml"), text)
    page.js("document.activeElement.blur()")  # no focus ring over the picture
    refused = page.js("tresolva.hook.settings(%s, 'view.toml')" % json.dumps(text))
    if refused:
        fail("%s: the page refused the settings: %s" % (name, refused))
    # Static playback draws the same picture from its second frame on.
    within(name + ": two frames", lambda: page.state()[0] >= 2)
    csv = os.path.join(work, "run.csv")
    subprocess.run([batch, "export", "-s", toml, "-o", csv], check=True)
    with open(csv) as f:
        rows = f.read().split("\n")
    columns = 7 if rows[0].startswith("t,x,y,z,x2,y2,z2") else 4  # with the twin: its state too
    desktop = [float(v) for v in rows[-2].split(",")[:columns]]
    mine = page.state()[1:1 + columns]
    if mine != desktop:
        fail("%s: the page's last state %s is not the desktop's %s" % (name, mine, desktop))
    w, h, cw, ch = page.canvas()
    if (w, h) != (ratio * cw, ratio * ch):
        fail("%s: the canvas is drawn at %dx%d for %dx%d CSS pixels" % (name, w, h, cw, ch))
    shot = page.send("Page.captureScreenshot", format="png",
                     clip={"x": 0, "y": 0, "width": cw, "height": ch, "scale": 1})["data"]
    mine = write(os.path.join(work, name + "-page.png"), base64.b64decode(shot))
    theirs = os.path.join(work, name + "-render.png")
    widths = ["--pixel-widths"] if ratio == 1 else []  # else as wide as the render's at that size
    subprocess.run([batch, "render", "-s", toml, "--size", "%dx%d" % (w, h), "-o", theirs] + widths,
                   check=True, env=dict(os.environ, DISPLAY=""))
    w, h, a = ppm(mine)
    w2, h2, b = ppm(theirs)
    if (w, h) != (w2, h2):
        fail("%s: the page's picture is %dx%d, the render's %dx%d" % (name, w, h, w2, h2))
    background = b"\xff\xff\xff" if 'background = "white"' in text else b"\0\0\0"
    pa, pb = drawn(w, h, a, background), drawn(w, h, b, background)
    if min(near(pa, pb), near(pb, pa)) < 0.9:
        fail("%s: the page's picture %s is not the render's %s" % (name, mine, theirs))


def controls(page, batch, work):
    """Each kind of control, by mouse and keyboard, with the desktop's limits and steps."""
    page.open()
    v = page.values
    for field, typed, want in (("tmax", "300", "300"), ("tmax", "20000", "10000"), ("tmax", "ten", "10000"),
                               ("dt", "-1", "0.0001")):
        page.type_into("#f-" + field, typed)
        within("%s typed as %r reads %s" % (field, typed, want), lambda: v()[field] == want)
    page.click("#right details summary")  # the Lorenz parameters
    page.click("button[aria-label='ro up']")
    within("ro's up arrow steps by 1", lambda: v()["lorenz.ro"] == "29")
    page.click("#f-lorenz\\.sigma")
    page.key("ArrowDown")
    within("an arrow key steps sigma by 1", lambda: v()["lorenz.sigma"] == "9")
    page.drag("button[aria-label='beta down']", 0, -20)
    within("dragging beta's arrow up 20 pixels adds 10 half steps",
           lambda: abs(float(v()["lorenz.beta"]) - 3.6666667) < 1e-6)
    page.click("input[name=attractor][value='1']")
    page.click("#f-axes")
    page.click("#f-colouring")
    page.key("ArrowDown")
    page.key("Enter")
    within("the Roessler radio button, the Axes checkbox and the colouring list",
           lambda: v()["attractor"] == 1 and v()["axes"] == 1 and v()["colouring"] != 3)
    page.click("#scene")
    page.click("#bottom button")  # Reset
    within("Reset: tmax, dt, the colouring and the axes back, Roessler kept",
           lambda: [v()[k] for k in ("tmax", "dt", "colouring", "axes", "attractor", "lorenz.ro")]
           == ["200", "0.005", 3, 0, 1, "28"])
    libc = ctypes.CDLL("libc.so.6")  # the desktop's unseeded rand, first draws
    want = [libc.rand() * 40.0 / 2147483647.0 - 20.0, libc.rand() * 40.0 / 2147483647.0 - 20.0,
            libc.rand() * 10.0 / 2147483647.0 + 10.0]
    page.click("#right > button")  # Random Initial Condition
    within("the desktop's first random start",
           lambda: [float(page.link().get("start." + a, "nan")) for a in "xyz"] == want)


# The scene's keys in the order of their buttons under it, and what each does to a fresh page with the twin.
SCENE_KEYS = ((" ", "Step parameters (space)", lambda page: page.values()["lorenz.ro"] == "28.1"),
              ("s", "Re-seed twin (s)", lambda page: page.values()["tmin"] == "0" and "start.x" in page.link()),
              ("i", "Numbers (i)", lambda page: "ln d = " in page.text("#readout")),
              ("h", "Help (h)", lambda page: page.shown("help")))


def keys_and_gestures(page, batch, work):
    page.open("?playback=static&twin=true")
    v = page.values
    page.click("#scene")
    for key, _, done in SCENE_KEYS:
        page.key(key)
        within("the key %r" % key, lambda: done(page))
    page.key("F1")
    within("F1 hides the help", lambda: not page.shown("help"))
    page.drag("#scene", 100, 0)
    within("a left drag of 100 pixels turns 50 degrees", lambda: page.view("rotate_y") == [50])
    page.drag("#scene", 100, -50, button="right")
    within("a right drag moves the scene", lambda: page.view("pan_x", "pan_y") == [1, 0.5])
    x, y = page.centre("#scene")
    for notches, deltas, want in (("a notch up", [-100], "1.1"), ("four notches down", [100] * 4, "0.7")):
        for dy in deltas:
            page.mouse("mouseWheel", x, y, deltaX=0, deltaY=dy)
        within("%s of the wheel land on zoom %s" % (notches, want), lambda: v()["zoom"] == want)
    page.mouse("mouseMoved", x, y)
    page.key("z", up=False)
    for k in range(1, 6):
        page.mouse("mouseMoved", x, y - 20 * k)
    page.key("z", down=False)
    within("z held, 100 pixels up zoom in by 0.4", lambda: abs(float(v()["zoom"]) - 1.1) < 1e-6)
    page.touch([[(x, y)], [(x + 40, y)]])
    within("one finger 40 pixels right turns 20 degrees more", lambda: page.view("rotate_y") == [70])
    page.touch([[(x - 50, y), (x + 50, y)]] + [[(x - 50 - 10 * k, y), (x + 50 + 10 * k, y)] for k in range(1, 6)])
    within("two fingers 100 pixels further apart zoom in by 0.4", lambda: abs(float(v()["zoom"]) - 1.5) < 1e-5)
    page.touch([[(x, y), (x + 100, y)], [(x + 30, y + 20), (x + 130, y + 20)]])
    within("two fingers moving together move the scene", lambda: page.view("pan_x", "pan_y") == [1.3, 0.3])


def touch_and_keyboard(page, batch, work):
    """The scene's keys as buttons for a finger, the scene turned and moved by keys, a visible
    focus, the right panel before the bottom one in Tab order, a heading and a main landmark."""
    page.open("?playback=static&twin=true")
    for k, (_, label, done) in enumerate(SCENE_KEYS):
        button = "#keys button:nth-child(%d)" % (k + 1)
        if page.text(button) != label:
            fail("the buttons under the scene are not %s" % [row[1] for row in SCENE_KEYS])
        page.touch([[page.centre(button)]])
        within("a tap on " + label, lambda: done(page))
    page.click("#keys button:nth-child(4)")  # the help off again, clear of the scene
    page.click("#scene")
    page.key("ArrowRight")
    within("the right arrow turns the scene 5 degrees", lambda: page.view("rotate_y") == [5])
    page.key("ArrowUp", modifiers=8)  # Shift
    within("Shift and the up arrow move the scene up", lambda: page.view("pan_y") == [0.1])
    page.js("document.getElementById('scene').blur()")
    order = []
    for k in range(60):
        page.key("Tab")
        order.append(page.js("(() => { const e = document.activeElement;"
                             " return e.id || e.name || e.textContent.trim().slice(0, 20); })()"))
        if order[-1] == "scene" and page.js("getComputedStyle(document.getElementById('scene')).outlineStyle") == "none":
            fail("the scene shows no focus ring when Tab reaches it")
    if "attractor" not in order or "Reset" not in order or order.index("attractor") > order.index("Reset"):
        fail("Tab does not reach the right panel before the bottom one: %s" % order)
    if not page.js("!!document.querySelector('main h1')"):
        fail("the page has no heading in a main landmark")


def link_round_trip(page, batch, work):
    """Settings file -> page -> link -> page -> downloaded settings: the same file."""
    text = batch_settings(batch, playback='"static"', twin="true", attractor='"roessler"', tmax="321.5",
                          colouring='"Green-Blue"', rotate_x="12.25", pan_y="-0.5", c="4.5")
    page.open()
    page.choose_file(write(os.path.join(work, "given.toml"), text))
    within("the file opened", lambda: page.values()["tmax"] == "321.5")
    page.click("#share button:nth-child(4)")  # Copy link: the address is written
    within("the link in the address", lambda: "tmax=321.5" in page.js("location.search"))
    page.open(page.js("location.search"))
    got = page.downloaded(2, "tresolva.toml").decode()
    if got != text:
        fail("the settings after a link's round trip differ:\n" + got)
    if not page.downloaded(1, "tresolva.png").startswith(b"\x89PNG"):
        fail("the downloaded picture is not a PNG")


def bad_links(page, batch, work):
    """Each link's good keys are taken; each bad one is named and starts at its start-up value."""
    cases = [("?tmin=6000&colour=3&twin=true", ["tmin: 6000 is outside 0 to 5000", "colour: unknown key"],
              {"tmin": "50", "twin": 1}),
             ("?tmax=300%00&twin=true", ["tmax: holds a NUL byte"], {"tmax": "200", "twin": 1}),
             ("?tmax=3%FF00&twin=true", ["tmax: is not UTF-8 text"], {"tmax": "200", "twin": 1}),
             ("?attractor=Roessler&background=WHITE", [], {"attractor": 1, "background": 1}),
             ("?" + "&".join("k%d=1" % k for k in range(3000)), ["k0: unknown key", "… and 2,995 more"], {}),
             ("?" + "x" * 1400000, ["This link is not read: 1,400,000 bytes, more than the page reads (1 MB"], {})]
    page.open(width=1366, height=768)
    canvas = page.canvas()
    for query, said, values in cases:
        page.open(query, width=1366, height=768)
        message = page.text("#message")
        if any(line not in message for line in said) or (not said and message):
            fail("the link %s... is answered with: %s" % (query[:40], message))
        got = page.values()
        if any(got[k] != v for k, v in values.items()):
            fail("the link %s...: its good keys are not taken, or its bad ones not left: %s" % (query[:40], got))
        if page.canvas() != canvas:
            fail("a message took room from the scene: the canvas is %s" % page.canvas())
    page.click("#bottom button")  # Reset
    within("Reset clears the message", lambda: page.text("#message") == "")
    page.open("?tmin=6000")
    within("a message clears by itself after 10 s", lambda: page.text("#message") == "")


# Files the settings reader refuses, by name and line, in the page as in the batch program.
UNREADABLE = [("nul.toml", b"tmax = 300.0\n\0junk = 1\n", ":2: "),
              ("bytes.toml", bytes(range(256)) * 40, ":1: "),
              ("utf16.toml", "tmax = 300.0\n".encode("utf-16"), ":1: Encountered invalid utf-8 sequence"),
              ("latin1.toml", b"tmax = 300.0\n# caf\xe9\n", ":2: Encountered invalid utf-8 sequence")]


def bad_files(page, batch, work):
    """Unreadable files named as the batch program names them; up to 1 MB read, more refused with a
    line; the page goes on after each."""
    page.open()
    for name, data, said in UNREADABLE:
        path = write(os.path.join(work, name), data)
        page.choose_file(path)
        within(name + " refused", lambda: page.text("#message").startswith("Not opened: " + name + said))
        theirs = subprocess.run([batch, "render", "-s", path, "-o", os.path.join(work, "x.png")],
                                stderr=subprocess.PIPE, text=True)
        page_said = page.text("#message")[len("Not opened: " + name):]
        if theirs.returncode != 2 or theirs.stderr.strip() != "tresolva-batch: " + path + page_said:
            fail("%s: the batch program says %r, the page %r" % (name, theirs.stderr, page_said))
    for size, taken in ((2 << 20, False), ((1 << 20) - 1, True)):
        body, line = "tmax = 321.0\n", "# " + "c" * 97 + "\n"
        text = line * ((size - len(body)) // len(line))
        text += "#" * (size - len(body) - len(text) - 1) + "\n" + body
        page.click("#bottom button")  # Reset: tmax 200
        page.choose_file(write(os.path.join(work, "large.toml"), text))
        want = "Opened large.toml" if taken else "Not opened: large.toml: 2,097,152 bytes, more than the page reads"
        within("a file of %d bytes answered" % size, lambda: page.text("#message").startswith(want))
        if page.values()["tmax"] != ("321" if taken else "200"):
            fail("a file of %d bytes left tmax at %s" % (size, page.values()["tmax"]))
        frames = page.state()[0]
        within("frames after a file of %d bytes" % size, lambda: page.state()[0] > frames)


def long_frame(page, batch, work):
    """A frame of 1e8 steps: the page stays live, a new background shows at once, and Reset acts
    before the frame completes."""
    page.open("?playback=static&tmin=0&tmax=10000&dt=0.0001", frame=False)
    within("the long frame drawn over many animation frames", 
           lambda: (lambda s: s[11] == 1 and s[0] == 0)(page.state()))
    page.click("#f-background")
    page.key("ArrowUp")  # White, above Black
    page.key("Enter")
    within("the white background shown", lambda: page.pixel(2, 2) == [255, 255, 255])
    if page.state()[0] != 0:
        fail("the long frame completed before the white background showed: the test proves nothing")
    page.click("#bottom button")  # Reset
    after = within("a frame after Reset", lambda: (lambda s: s[0] >= 1 and s)(page.state()))
    if after[9] != 40000:
        fail("the first frame to complete has %d steps, not Reset's 40000: the long frame finished first" % after[9])


def notices(page, batch, work):
    """A scene that can show nothing says why."""
    for query, said in (("?tmin=300", "Nothing to draw: tmin (300) is not below tmax (200)"),
                        ("?view.rotate_x=1e300", "The view turns or moves the scene by no finite amount"),
                        ("?dt=0.5&playback=static", "The trajectory left the finite numbers")):
        page.open(query)
        within("the notice for " + query, lambda: said in page.text("#notice"))


def without_webgl2(page, batch, work):
    """Without WebGL2 the scene says what to do, and nothing throws."""
    script = page.send("Page.addScriptToEvaluateOnNewDocument", source="""
        const plain = HTMLCanvasElement.prototype.getContext;
        HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
          return kind === "webgl2" ? null : plain.call(this, kind, ...rest); };""")["identifier"]
    page.open(frame=False)
    page.send("Page.removeScriptToEvaluateOnNewDocument", identifier=script)
    said = page.text("#nowebgl")
    if not page.shown("nowebgl") or "WebGL2" not in said or "Chrome" not in said:
        fail("without WebGL2 the page does not say so: %r" % said)


def layouts(page, batch, work):
    """Every control within reach, side by side on laptops, the controls below the scene upright."""
    for width, height in ((1366, 768), (1024, 768), (768, 1024)):
        page.open(width=width, height=height)
        boxes = page.js("""[...document.querySelectorAll('#scene, #right, #bottom, input, select, button, summary')]
            .filter(e => e.type !== 'file').map(e => { const r = e.getBoundingClientRect();
            return [e.id || e.tagName, r.left, r.top, r.right, r.bottom]; })""")
        if page.js("document.scrollingElement.scrollWidth") > width or any(
                b[3] > width + 0.5 or b[1] < 0 or b[3] - b[1] == 0 for b in boxes):
            fail("%dx%d: a control leaves the page or is not shown: %s" % (width, height, boxes))
        where = {b[0]: b for b in boxes}
        scene, right = where["scene"], where["right"]
        if height > width:
            if right[2] < scene[4]:
                fail("%dx%d: the controls are not below the scene" % (width, height))
        elif right[1] < scene[3] - 1 or any(b[4] > height + 0.5 for b in boxes):
            fail("%dx%d: the panels are not beside and below the scene within the window" % (width, height))


if __name__ == "__main__":
    main()
