#!/usr/bin/env python3
"""The web page in Debian's headless Chromium, driven over the DevTools
protocol as a person drives it (mouse, keys, touch), against the desktop
core's bits and the batch program's render; nothing may be written to the
console as an error.
    page_test.py SITE-FOLDER TRESOLVA-BATCH
"""
import base64
import ctypes
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

DEADLINE = float(os.environ.get("E2E_DEADLINE", "60"))  # seconds for any one expectation


def fail(why):
    print("FAIL: " + why, file=sys.stderr)
    sys.exit(1)


def expect(ok, why):
    if not ok:
        fail(why)


def within(why, check):
    end = time.monotonic() + DEADLINE
    while not (got := check()):
        expect(time.monotonic() < end, why)
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
        elif self.parse_request():
            getattr(self, "do_" + self.command)()
            self.wfile.flush()


def drawn(path, background):
    """The size of any picture ImageMagick reads, and its pixels not of the background."""
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, stdout=subprocess.PIPE).stdout
    _, width, height, rgb = data.split(None, 3)
    width, height, rgb = int(width), int(height), rgb[len(b"255\n"):]
    return (width, height), {(i % width, i // width) for i in range(width * height)
                             if rgb[3 * i:3 * i + 3] != background}


def near(a, b):
    """The share of the points of a within one pixel of a point of b."""
    hits = sum(1 for (x, y) in a if any((x + dx, y + dy) in b for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
    return hits / len(a) if a else 0.0


KEYS = {" ": 32, "Tab": 9, "Enter": 13, "ArrowUp": 38, "ArrowRight": 39, "ArrowDown": 40, "F1": 112}  # and letters


class Page:
    """The page in one tab of Chromium (the DevTools protocol on its fds 3 and 4), and what a person does to it."""

    def __init__(self, work, address):
        (to_r, to_w), (from_r, from_w) = os.pipe(), os.pipe()
        flags = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                 "--remote-debugging-pipe", "--no-first-run", "--user-data-dir=" + os.path.join(work, "profile"),
                 "--window-size=1200,900", "about:blank"]
        self.proc = subprocess.Popen(["sh", "-c", 'exec chromium "$@" 3<&%d 4>&%d' % (to_r, from_w), "sh"] + flags,
                                     pass_fds=(to_r, from_w), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for fd in (to_r, from_w):
            os.close(fd)
        self.w, self.r = os.fdopen(to_w, "wb"), from_r
        self.next_id, self.errors, self.session, self.pending = 0, [], None, b""
        self.address, self.downloads = address, os.path.join(work, "downloads")
        os.mkdir(self.downloads)
        # The browser's own setting, so sent before the tab's session.
        self.send("Browser.setDownloadBehavior", behavior="allow", downloadPath=self.downloads)
        target = self.send("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Runtime", "Log", "Page"):
            self.send(domain + ".enable")

    def send(self, method, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session:
            message["sessionId"] = self.session
        self.w.write(json.dumps(message).encode() + b"\0")
        self.w.flush()
        while True:
            while b"\0" not in self.pending:  # events of a long link are megabytes
                more = os.read(self.r, 1 << 20)
                expect(more, "the browser closed its pipe")
                self.pending += more
            data, self.pending = self.pending.split(b"\0", 1)
            reply = json.loads(data)
            self.note(reply)
            if reply.get("id") == self.next_id:
                expect("error" not in reply, method + ": " + reply.get("error", {}).get("message", ""))
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
        expect("exceptionDetails" not in result,
               expression + ": " + str(result.get("exceptionDetails", {}).get("text")))
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
        expect(box[2] > 0, selector + " is not shown")
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
        text = {"Enter": "\r"}.get(name, name if len(name) == 1 else "")
        for kind, typed in [("keyDown", text)] * down + [("keyUp", "")] * up:
            self.send("Input.dispatchKeyEvent", type=kind, key=name, code=code, text=typed,
                      windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk, modifiers=modifiers)

    def touch(self, frames):
        """Fingers down at frames[0], moved through the rest, lifted."""
        for kind, f in [("touchStart", frames[0])] + [("touchMove", f) for f in frames[1:]] + [("touchEnd", [])]:
            self.send("Input.dispatchTouchEvent", type=kind,
                      touchPoints=[{"x": x, "y": y, "id": k} for k, (x, y) in enumerate(f)])

    def choose_file(self, path):
        """Open settings…, as a person picks a file."""
        openfile = self.send("Runtime.evaluate", expression="document.getElementById('openfile')")["result"]
        self.send("DOM.setFileInputFiles", objectId=openfile["objectId"], files=[path])

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
    site, batch, work = sys.argv[1], sys.argv[2], tempfile.mkdtemp()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), lambda *a: Quiet(*a, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    page = Page(work, "http://127.0.0.1:%d/" % server.server_address[1])
    try:
        for case in (pictures, controls, keys_and_gestures, touch_and_keyboard, link_round_trip, bad_links,
                     bad_files, long_frame, notices, layouts, without_webgl2):
            case(page, batch, work)
            print(case.__name__ + ": ok")
        expect(not page.errors, "console errors: " + "; ".join(page.errors))
    finally:
        page.proc.kill()
        page.proc.wait()
    shutil.rmtree(work)  # kept where a case failed, with the pictures it names


def batch_settings(batch, **changes):
    """The batch program's settings text with the first line of each key replaced."""
    text = subprocess.run([batch, "settings"], check=True, stdout=subprocess.PIPE, text=True).stdout
    for key, value in changes.items():
        text = re.sub("^%s = .*$" % key, lambda m: key + " = " + value, text, count=1, flags=re.M)
    return text


def pictures(page, batch, work):
    """The page's last state is the desktop's to the bit, and its picture the batch program's render."""
    at_1 = {"start-up": {}, "twin": {"twin": "true"}, "maximum map": {"twin": "true", "maximum_map": "true"},
            "Roessler, figures, thick lines, white": {"attractor": '"roessler"', "box": "true", "axes": "true",
                                                      "colouring": '"Speed"', "lines": '"thicker"',
                                                      "background": '"white"'}}
    # One page a ratio, so that each settings file replaces the last one's picture whole.
    for ratio, cases in ((1, at_1), (2, {"start-up at ratio 2": {}})):
        page.open(ratio=ratio)
        for name, changes in cases.items():
            check_picture(page, batch, work, name, changes, ratio)


def check_picture(page, batch, work, name, changes, ratio):
    text = batch_settings(batch, playback='"static"', **changes)
    toml = write(os.path.join(work, "view.toml"), text)
    page.js("document.activeElement.blur()")  # no focus ring over the picture
    refused = page.js("tresolva.hook.settings(%s, 'view.toml')" % json.dumps(text))
    expect(not refused, "%s: the page refused the settings: %s" % (name, refused))
    # Static playback draws the same picture from its second frame on.
    within(name + ": two frames", lambda: page.state()[0] >= 2)
    rows = subprocess.run([batch, "export", "-s", toml, "-o", "-"], check=True, stdout=subprocess.PIPE,
                          text=True).stdout.split("\n")
    columns = 7 if rows[0].startswith("t,x,y,z,x2,y2,z2") else 4  # with the twin: its state too
    desktop, mine = [float(v) for v in rows[-2].split(",")[:columns]], page.state()[1:1 + columns]
    expect(mine == desktop, "%s: the page's last state %s is not the desktop's %s" % (name, mine, desktop))
    w, h, cw, ch = page.canvas()
    expect((w, h) == (ratio * cw, ratio * ch),
           "%s: the canvas is drawn at %dx%d for %dx%d CSS pixels" % (name, w, h, cw, ch))
    shot = page.send("Page.captureScreenshot", format="png",
                     clip={"x": 0, "y": 0, "width": cw, "height": ch, "scale": 1})["data"]
    mine = write(os.path.join(work, name + "-page.png"), base64.b64decode(shot))
    theirs = os.path.join(work, name + "-render.png")
    widths = ["--pixel-widths"] if ratio == 1 else []  # else as wide as the render's at that size
    subprocess.run([batch, "render", "-s", toml, "--size", "%dx%d" % (w, h), "-o", theirs] + widths,
                   check=True, env=dict(os.environ, DISPLAY=""))
    background = b"\xff\xff\xff" if 'background = "white"' in text else b"\0\0\0"
    (size, a), (size2, b) = drawn(mine, background), drawn(theirs, background)
    expect(size == size2 and min(near(a, b), near(b, a)) >= 0.9,
           "%s: the page's picture %s (%s) is not the render's %s (%s)" % (name, mine, size, theirs, size2))


def controls(page, batch, work):
    """Each kind of control, by mouse and keyboard, with the desktop's limits and steps."""
    page.open()
    v = page.values
    for field, typed, want in (("tmax", "300", "300"), ("tmax", "20000", "10000"), ("dt", "-1", "0.0001")):
        page.click("#f-" + field)
        page.send("Input.insertText", text=typed)
        page.key("Enter")
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
    want = [libc.rand() * span / 2147483647.0 + low for span, low in ((40, -20), (40, -20), (10, 10))]
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
        expect(page.text(button) == label, "the buttons under the scene are not %s" % [r[1] for r in SCENE_KEYS])
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
        expect(order[-1] != "scene" or page.js("getComputedStyle(document.getElementById('scene')).outlineStyle")
               != "none", "the scene shows no focus ring when Tab reaches it")
    expect("attractor" in order and "Reset" in order and order.index("attractor") < order.index("Reset"),
           "Tab does not reach the right panel before the bottom one: %s" % order)
    expect(page.js("!!document.querySelector('main h1')"), "the page has no heading in a main landmark")


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
    expect(got == text, "the settings after a link's round trip differ:\n" + got)
    expect(page.downloaded(1, "tresolva.png").startswith(b"\x89PNG"), "the downloaded picture is not a PNG")


def bad_links(page, batch, work):
    """Each link's good keys are taken; each bad one is named (as the batch program's tests pin) and
    starts at its start-up value, in a message over the scene that takes no room from it."""
    cases = [("?tmin=6000&colour=3&twin=true", ["tmin: 6000 is outside 0 to 5000", "colour: unknown key"],
              {"tmin": "50", "twin": 1}),
             ("?attractor=Roessler&background=WHITE", [], {"attractor": 1, "background": 1}),
             ("?" + "&".join("k%d=1" % k for k in range(3000)), ["k0: unknown key", "… and 2,995 more"], {}),
             ("?" + "x" * 1400000, ["This link is not read: 1,400,000 bytes, more than the page reads (1 MB"], {})]
    page.open(width=1366, height=768)
    canvas = page.canvas()
    for query, said, values in cases:
        page.open(query, width=1366, height=768)
        message, got = page.text("#message"), page.values()
        expect(all(line in message for line in said) and (said or not message) and page.canvas() == canvas
               and all(got[k] == v for k, v in values.items()), "the link %s... is answered with %r over a "
               "canvas of %s and leaves %s" % (query[:40], message, page.canvas(), got))
    page.click("#bottom button")  # Reset
    within("Reset clears the message", lambda: page.text("#message") == "")
    page.open("?tmin=6000")
    within("a message clears by itself after 10 s", lambda: page.text("#message") == "")


def bad_files(page, batch, work):
    """Unreadable files named, by line, as the batch program names them (a NUL ends no text, and no
    bytes are decoded before the reader sees them); up to 1 MB read, more refused with a line; the
    page goes on after each."""
    page.open()
    for name, data, said in (("nul.toml", b"tmax = 300.0\n\0junk = 1\n", ":2: "),
                             ("latin1.toml", b"tmax = 300.0\n# caf\xe9\n", ":2: Encountered invalid utf-8 sequence")):
        path = write(os.path.join(work, name), data)
        page.choose_file(path)
        message = within(name + " refused", lambda: (m := page.text("#message")).startswith(
            "Not opened: " + name + said) and m[len("Not opened: " + name):])
        theirs = subprocess.run([batch, "render", "-s", path, "-o", os.path.join(work, "x.png")],
                                stderr=subprocess.PIPE, text=True)
        expect(theirs.returncode == 2 and theirs.stderr.strip() == "tresolva-batch: " + path + message,
               "%s: the batch program says %r, the page %r" % (name, theirs.stderr, message))
    for size, want, tmax in ((2 << 20, "Not opened: large.toml: 2,097,152 bytes, more than the page reads", "200"),
                             (1 << 20, "Opened large.toml", "321")):
        body = "tmax = 321.0\n"
        page.click("#bottom button")  # Reset: tmax 200
        page.choose_file(write(os.path.join(work, "large.toml"), "#" * (size - len(body) - 1) + "\n" + body))
        within("a file of %d bytes answered" % size, lambda: page.text("#message").startswith(want))
        expect(page.values()["tmax"] == tmax, "a file of %d bytes left tmax at %s" % (size, page.values()["tmax"]))
        frames = page.state()[0]
        within("frames after a file of %d bytes" % size, lambda: page.state()[0] > frames)


def long_frame(page, batch, work):
    """A frame of 1e8 steps: the page stays live, a new background shows at once, and Reset acts
    before the frame completes."""
    page.open("?playback=static&tmin=0&tmax=10000&dt=0.0001", frame=False)
    within("the long frame drawn over many animation frames", lambda: page.state()[0::11] == [0, 1])
    page.click("#f-background")
    page.key("ArrowUp")  # White, above Black
    page.key("Enter")
    corner = ("(() => { const g = Object.assign(document.createElement('canvas'), {width: 1, height: 1})"
              ".getContext('2d'); g.drawImage(document.getElementById('scene'), 2, 2, 1, 1, 0, 0, 1, 1);"
              " return [...g.getImageData(0, 0, 1, 1).data]; })()")
    within("the white background shown", lambda: page.js(corner) == [255, 255, 255, 255])
    expect(page.state()[0] == 0,
           "the long frame completed before the white background showed: the test proves nothing")
    page.click("#bottom button")  # Reset
    after = within("a frame after Reset", lambda: (lambda s: s[0] >= 1 and s)(page.state()))
    expect(after[9] == 40000,
           "the first frame to complete has %d steps, not Reset's 40000: the long frame finished first" % after[9])


def notices(page, batch, work):
    """A scene that can show nothing says why, in the viewer's words."""
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
    expect(page.shown("nowebgl") and "WebGL2" in said and "Chrome" in said,
           "without WebGL2 the page does not say so: %r" % said)


def layouts(page, batch, work):
    """Every control within reach, side by side on laptops, the controls below the scene upright."""
    for width, height in ((1366, 768), (1024, 768), (768, 1024)):
        page.open(width=width, height=height)
        boxes = page.js("""[...document.querySelectorAll('#scene, #right, #bottom, input, select, button, summary')]
            .filter(e => e.type !== 'file').map(e => { const r = e.getBoundingClientRect();
            return [e.id || e.tagName, r.left, r.top, r.right, r.bottom]; })""")
        expect(page.js("document.scrollingElement.scrollWidth") <= width and all(
               b[3] <= width + 0.5 and b[1] >= 0 and b[3] - b[1] != 0 for b in boxes),
               "%dx%d: a control leaves the page or is not shown: %s" % (width, height, boxes))
        where = {b[0]: b for b in boxes}
        scene, right = where["scene"], where["right"]
        if height > width:
            expect(right[2] >= scene[4], "%dx%d: the controls are not below the scene" % (width, height))
        else:
            expect(right[1] >= scene[3] - 1 and all(b[4] <= height + 0.5 for b in boxes),
                   "%dx%d: the panels are not beside and below the scene within the window" % (width, height))


if __name__ == "__main__":
    main()
