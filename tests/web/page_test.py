#!/usr/bin/env python3
"""The web page in Debian's headless Chromium, driven over the DevTools
protocol as a person drives it (mouse, keys, touch-free): its trajectory is
the desktop core's bit for bit and its picture the batch program's render
as closely as two rasterisers allow; every kind of control, key and
gesture acts as on the desktop; a link and a downloaded settings file
carry the view; a bad link is named; a click on Reset during a frame of
1e8 steps takes effect before that frame completes; the layout fits three
screens; and nothing is written to the console as an error.
    page_test.py SITE-FOLDER TRESOLVA-BATCH
Prints figures for the notes (not tests): the time from navigation to the
first complete frame, the core's RK4 steps a second in the page, and the
steps a second drawn while a control is dragged.
"""
import base64
import ctypes
import functools
import http.server
import json
import os
import subprocess
import sys
import tempfile
import threading
import time

DEADLINE = float(os.environ.get("E2E_DEADLINE", "60"))  # seconds for any one expectation


def fail(why):
    print("FAIL: " + why, file=sys.stderr)
    sys.exit(1)


def keep(picture, name):
    """Copies a picture into E2E_SHOTS, when set, for a person to look at."""
    if os.environ.get("E2E_SHOTS"):
        os.makedirs(os.environ["E2E_SHOTS"], exist_ok=True)
        subprocess.run(["cp", picture, os.path.join(os.environ["E2E_SHOTS"], name)], check=True)


def within(why, check):
    end = time.monotonic() + DEADLINE
    while True:
        got = check()
        if got:
            return got
        if time.monotonic() > end:
            fail(why)
        time.sleep(0.1)


class Browser:
    """Chromium with the DevTools protocol on fds 3 (in) and 4 (out)."""

    def __init__(self, profile):
        to_r, to_w = os.pipe()
        from_r, from_w = os.pipe()

        flags = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                 "--remote-debugging-pipe", "--no-first-run", "--user-data-dir=" + profile,
                 "--window-size=1200,900", "about:blank"]
        # The shell puts the pipes where the protocol wants them.
        self.proc = subprocess.Popen(
            ["sh", "-c", 'exec chromium "$@" 3<&%d 4>&%d' % (to_r, from_w), "sh"] + flags,
            pass_fds=(to_r, from_w), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_r)
        os.close(from_w)
        self.w, self.r = os.fdopen(to_w, "wb"), os.fdopen(from_r, "rb")
        self.next_id, self.errors, self.session = 0, [], None
        self.pending = b""

    def send(self, method, to_browser=False, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session and not to_browser:
            message["sessionId"] = self.session
        self.w.write(json.dumps(message).encode() + b"\0")
        self.w.flush()
        while True:
            reply = self.receive()
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    fail(method + ": " + reply["error"].get("message", ""))
                return reply.get("result", {})

    def receive(self):
        while b"\0" not in self.pending:  # events of a long link are megabytes
            more = os.read(self.r.fileno(), 1 << 20)
            if not more:
                fail("the browser closed its pipe")
            self.pending += more
        data, self.pending = self.pending.split(b"\0", 1)
        message = json.loads(data)
        self.note(message)
        return message

    def note(self, m):
        p = m.get("params", {})
        if m.get("method") == "Runtime.consoleAPICalled" and p.get("type") == "error":
            self.errors.append(" ".join(str(a.get("value", a.get("description"))) for a in p["args"]))
        elif m.get("method") == "Runtime.exceptionThrown":
            self.errors.append(p["exceptionDetails"].get("text", "an exception"))
        elif m.get("method") == "Log.entryAdded" and p["entry"].get("level") == "error":
            self.errors.append(p["entry"].get("text", ""))

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True)
        if "exceptionDetails" in result:
            fail(expression + ": " + str(result["exceptionDetails"].get("text")))
        return result["result"].get("value")

    def close(self):
        self.proc.kill()
        self.proc.wait()


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
    handler = functools.partial(Quiet, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return "http://127.0.0.1:%d/" % server.server_address[1]


def ppm(path):
    """Width, height and RGB bytes of any picture ImageMagick reads."""
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                          stdout=subprocess.PIPE).stdout
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    return int(fields[1]), int(fields[2]), data[at + 1:]


def drawn(width, height, rgb, background):
    return {(i % width, i // width) for i in range(width * height)
            if rgb[3 * i:3 * i + 3] != background}


def near(a, b):
    """The share of the points of a within one pixel of a point of b."""
    if not a:
        return 0.0
    hits = sum(1 for (x, y) in a if any((x + dx, y + dy) in b for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
    return hits / len(a)




KEYS = {" ": ("Space", 32), "Tab": ("Tab", 9), "ArrowRight": ("ArrowRight", 39), "ArrowLeft": ("ArrowLeft", 37), "s": ("KeyS", 83), "z": ("KeyZ", 90), "h": ("KeyH", 72), "i": ("KeyI", 73),
        "F1": ("F1", 112), "Enter": ("Enter", 13), "ArrowUp": ("ArrowUp", 38), "ArrowDown": ("ArrowDown", 40)}


class Page:
    """The page in one tab, and what a person does to it."""

    def __init__(self, browser, address, downloads):
        self.b, self.address, self.downloads = browser, address, downloads

    def open(self, query="", width=1200, height=900, frame=True, ratio=1):
        self.b.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=ratio,
                    mobile=False)
        self.b.send("Page.navigate", url=self.address + query)
        within("the page at " + query[:60], lambda: self.js("document.body && document.body.dataset.ready === '1'"))
        if frame:
            within("its first frame", lambda: self.state()[0] >= 1)

    def js(self, expression):
        return self.b.evaluate(expression)

    def values(self):
        return json.loads(self.js("JSON.stringify(tresolva.hook.values())"))

    def state(self):
        fields = self.js("tresolva.hook.state()").split()
        return [float(v) for v in fields]

    def link(self):
        return dict(line.split("=", 1) for line in self.js("tresolva.hook.link()").split("\n") if line)

    def centre(self, selector):
        box = self.js("(() => { const r = document.querySelector(%s).getBoundingClientRect();"
                      " return [r.x + r.width / 2, r.y + r.height / 2, r.width, r.height]; })()" % json.dumps(selector))
        if box[2] == 0:
            fail(selector + " is not shown")
        return box[0], box[1]

    def mouse(self, kind, x, y, button="none", buttons=0, **more):
        self.b.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button, buttons=buttons, **more)

    def click(self, selector, button="left"):
        x, y = self.centre(selector)
        mask = {"left": 1, "right": 2}[button]
        self.mouse("mouseMoved", x, y)
        self.mouse("mousePressed", x, y, button, mask, clickCount=1)
        self.mouse("mouseReleased", x, y, button, 0, clickCount=1)

    def drag(self, selector, dx, dy, button="left", steps=5):
        x, y = self.centre(selector)
        mask = {"left": 1, "right": 2}[button]
        self.mouse("mouseMoved", x, y)
        self.mouse("mousePressed", x, y, button, mask, clickCount=1)
        for k in range(1, steps + 1):
            self.mouse("mouseMoved", x + dx * k / steps, y + dy * k / steps, button, mask)
        self.mouse("mouseReleased", x + dx, y + dy, button, 0, clickCount=1)

    def key(self, name, up=True):
        code, vk = KEYS[name]
        text = {"Enter": "\r"}.get(name, name if len(name) == 1 else "")
        self.b.send("Input.dispatchKeyEvent", type="keyDown", key=name, code=code, text=text,
                    windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk)
        if up:
            self.b.send("Input.dispatchKeyEvent", type="keyUp", key=name, code=code,
                        windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk)

    def touch(self, frames):
        """Fingers down at frames[0], moved through the rest, lifted."""
        points = lambda f: [{"x": x, "y": y, "id": k} for k, (x, y) in enumerate(f)]
        self.b.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=points(frames[0]))
        for f in frames[1:]:
            self.b.send("Input.dispatchTouchEvent", type="touchMove", touchPoints=points(f))
        self.b.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def type_into(self, selector, text):
        self.click(selector)
        self.b.send("Input.insertText", text=text)
        self.key("Enter")

    def expect(self, what, check):
        within(what, check)

    def choose_file(self, path):
        """Open settings…, as a person picks a file."""
        root = self.b.send("DOM.getDocument")["root"]["nodeId"]
        node = self.b.send("DOM.querySelector", nodeId=root, selector="#openfile")["nodeId"]
        self.b.send("DOM.setFileInputFiles", nodeId=node, files=[path])

    def text(self, selector):
        return self.js("document.querySelector(%s).textContent" % json.dumps(selector))

    def pixel(self, x, y):
        """The scene's RGB at device pixel (x, y) from the top left."""
        return self.js("""(() => { const c = Object.assign(document.createElement('canvas'), {width: 1, height: 1});
            const g = c.getContext('2d'); g.drawImage(document.getElementById('scene'), %d, %d, 1, 1, 0, 0, 1, 1);
            return [...g.getImageData(0, 0, 1, 1).data].slice(0, 3); })()""" % (x, y))

    def canvas(self):
        return self.js("(() => { const c = document.getElementById('scene');"
                       " return [c.width, c.height, c.clientWidth, c.clientHeight]; })()")

    def downloaded(self, button, name):
        path = os.path.join(self.downloads, name)
        if os.path.exists(path):
            os.remove(path)
        self.click("#share button:nth-child(%d)" % button)
        within("the download of " + name, lambda: os.path.exists(path) and os.path.getsize(path) > 0)
        with open(path, "rb") as f:
            return f.read()


def main():
    site, batch = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp()
    address = serve(site)
    browser = Browser(os.path.join(work, "profile"))
    downloads = os.path.join(work, "downloads")
    os.mkdir(downloads)
    try:
        target = browser.send("Target.createTarget", url="about:blank")["targetId"]
        browser.session = browser.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Runtime", "Log", "Page", "DOM"):
            browser.send(domain + ".enable")
        browser.send("Browser.setDownloadBehavior", to_browser=True, behavior="allow", downloadPath=downloads)
        page = Page(browser, address, downloads)
        page.open()
        figures = browser.evaluate("Module.ccall('tresolva_figures', 'string', ['number'], [2e7])").split()
        print("figures: first frame complete %s ms after navigation began; the core's rk4 alone, "
              "%.1f M steps a second (compare batch_bench's bare rk4 loop)" % (figures[0], float(figures[1]) / 1e6))
        for case in (same_bits_and_picture, controls, keys_and_gestures, link_round_trip, bad_links,
                     unreadable_files, large_files, long_frame_gives_way, background_in_a_long_frame,
                     notices, touch_and_keyboard, layouts, sharp_at_pixel_ratio_2, without_webgl2):
            case(page, batch, work)
            print(case.__name__ + ": ok")
        if browser.errors:
            fail("console errors: " + "; ".join(browser.errors))
    finally:
        browser.close()
    print("page: ok")


def batch_settings(batch, **changes):
    """The batch program's settings text with key = value lines replaced."""
    text = subprocess.run([batch, "settings"], check=True, stdout=subprocess.PIPE, text=True).stdout
    for key, value in changes.items():
        key = key.replace("__", ".").split(".")[-1]
        lines = [l for l in text.split("\n") if l.startswith(key + " = ")]
        text = text.replace(lines[0], key + " = " + value, 1)
    return text


def same_bits_and_picture(page, batch, work):
    static = {"playback": '"static"'}
    cases = {"start-up": {}, "twin": {"twin": "true"},
             "maximum map": {"twin": "true", "maximum_map": "true"},
             "Roessler, figures, thick lines, white": {"attractor": '"roessler"', "box": "true", "axes": "true",
                                                       "colouring": '"Speed"', "lines": '"thicker"',
                                                       "background": '"white"'}}
    for name, changes in cases.items():
        check_picture(page, batch, work, name, batch_settings(batch, **dict(static, **changes)))


def check_picture(page, batch, work, name, text, ratio=1):
    toml = os.path.join(work, "view.toml")
    with open(toml, "w") as f:
        f.write(text)
    page.js("document.activeElement.blur()")  # no focus ring over the picture
    refused = page.js("tresolva.hook.settings(%s, 'view.toml')" % json.dumps(text))
    if refused:
        fail("%s: the page refused the settings: %s" % (name, refused))
    # Static playback draws the same picture from its second frame on.
    within(name + ": two frames", lambda: page.state()[0] >= 2)
    fields = page.js("tresolva.hook.state()").split()
    csv = os.path.join(work, "run.csv")
    subprocess.run([batch, "export", "-s", toml, "-o", csv], check=True)
    with open(csv) as f:
        rows = f.read().split("\n")
    columns = 7 if rows[0].startswith("t,x,y,z,x2,y2,z2") else 4  # with the twin: its state too
    desktop = [float(v) for v in rows[-2].split(",")[:columns]]
    mine = [float(v) for v in fields[1:8]]
    if mine[:columns] != desktop:
        fail("%s: the page's last state %s is not the desktop's %s" % (name, mine[:columns], desktop))
    w, h = page.js("[document.getElementById('scene').width, document.getElementById('scene').height]")
    shot = page.b.send("Page.captureScreenshot", format="png",
                       clip={"x": 0, "y": 0, "width": w / ratio, "height": h / ratio, "scale": 1})["data"]
    mine, theirs = os.path.join(work, name + "-page.png"), os.path.join(work, name + "-render.png")
    with open(mine, "wb") as f:
        f.write(base64.b64decode(shot))
    widths = ["--pixel-widths"] if ratio == 1 else []  # else as wide as the render's at that size
    subprocess.run([batch, "render", "-s", toml, "--size", "%dx%d" % (w, h), "-o", theirs] + widths,
                   check=True, env=dict(os.environ, DISPLAY=""))
    keep(mine, "ratio%d-%s" % (ratio, os.path.basename(mine)))
    w, h, a = ppm(mine)
    w2, h2, b = ppm(theirs)
    if (w, h) != (w2, h2):
        fail("%s: the page's picture is %dx%d, the render's %dx%d" % (name, w, h, w2, h2))
    background = b"\xff\xff\xff" if 'background = "white"' in text else b"\0\0\0"
    pa, pb = drawn(w, h, a, background), drawn(w, h, b, background)
    share = min(near(pa, pb), near(pb, pa))
    print("%s: the last state bit for bit; %d and %d pixels drawn, %.1f %% within one pixel of the other's"
          % (name, len(pa), len(pb), 100 * share))
    if share < 0.9:
        kept_in = os.environ.get("E2E_KEEP", "/tmp")
        subprocess.run(["cp", mine, theirs, kept_in])
        fail("%s: the page's picture is not the render's (kept in %s)" % (name, kept_in))


def controls(page, batch, work):
    """Each kind of control, by mouse and keyboard, with the desktop's limits and steps."""
    page.open()
    v = page.values
    page.type_into("#f-tmax", "300")
    page.expect("tmax typed", lambda: v()["tmax"] == "300")
    page.type_into("#f-tmax", "20000")
    page.expect("tmax held at its limit", lambda: v()["tmax"] == "10000")
    page.type_into("#f-tmax", "ten")
    page.expect("text that is no number leaves tmax", lambda: v()["tmax"] == "10000")
    page.type_into("#f-dt", "-1")
    page.expect("dt held at its limit", lambda: v()["dt"] == "0.0001")
    page.click("#right details summary")  # the Lorenz parameters
    page.click("button[aria-label='ro up']")
    page.expect("ro's up arrow steps by 1", lambda: v()["lorenz.ro"] == "29")
    page.click("#f-lorenz\\.sigma")
    page.key("ArrowDown")
    page.expect("an arrow key steps sigma by 1", lambda: v()["lorenz.sigma"] == "9")
    page.drag("button[aria-label='beta down']", 0, -20)
    page.expect("dragging beta's arrow up 20 pixels adds 10 half steps", lambda: abs(float(v()["lorenz.beta"]) - 3.6666667) < 1e-6)
    page.click("input[name=attractor][value='1']")
    page.expect("the Roessler radio button", lambda: v()["attractor"] == 1)
    page.click("#f-axes")
    page.expect("the Axes checkbox", lambda: v()["axes"] == 1)
    page.click("#f-colouring")
    page.key("ArrowDown")
    page.key("Enter")
    page.expect("the colouring list", lambda: v()["colouring"] != 3)
    page.click("#scene")
    page.click("#bottom button")  # Reset
    page.expect("Reset: tmax, dt, the colouring and the axes back, Roessler kept",
                lambda: [v()[k] for k in ("tmax", "dt", "colouring", "axes", "attractor", "lorenz.ro")]
                == ["200", "0.005", 3, 0, 1, "28"])
    libc = ctypes.CDLL("libc.so.6")  # the desktop's unseeded rand, first draws
    want = [libc.rand() * 40.0 / 2147483647.0 - 20.0, libc.rand() * 40.0 / 2147483647.0 - 20.0,
            libc.rand() * 10.0 / 2147483647.0 + 10.0]
    page.click("#right > button")  # Random Initial Condition
    page.expect("the desktop's first random start",
                lambda: [float(page.link().get("start." + a, "nan")) for a in "xyz"] == want)


def keys_and_gestures(page, batch, work):
    page.open("?playback=static")
    v = page.values
    page.click("#scene")
    page.key(" ")
    page.expect("space adds dro", lambda: v()["lorenz.ro"] == "28.1")
    page.key("s")
    page.expect("s does nothing with the twin off", lambda: "tmin" not in page.link())
    page.click("#f-twin")
    page.click("#scene")
    page.key("s")
    page.expect("s re-seeds with the twin on, tmin 0", lambda: v()["tmin"] == "0" and "start.x" in page.link())
    page.key("h")
    page.expect("h shows the help", lambda: page.js("!document.getElementById('help').hidden"))
    page.key("F1")
    page.expect("F1 hides it", lambda: page.js("document.getElementById('help').hidden"))
    page.key("i")
    page.expect("i shows the readout with ln d",
                lambda: "ln d = " in page.js("document.getElementById('readout').textContent"))
    page.drag("#scene", 100, 0)
    page.expect("a left drag of 100 pixels turns 50 degrees", lambda: float(page.link().get("view.rotate_y", 0)) == 50)
    page.drag("#scene", 100, -50, button="right")
    page.expect("a right drag moves the scene",
                lambda: [round(float(page.link().get("view.pan_" + a, 0)), 6) for a in "xy"] == [1, 0.5])
    x, y = page.centre("#scene")
    page.mouse("mouseWheel", x, y, deltaX=0, deltaY=-100)
    page.expect("a notch of the wheel up zooms by 0.1", lambda: v()["zoom"] == "1.1")
    page.mouse("mouseMoved", x, y)
    page.key("z", up=False)
    for k in range(1, 6):
        page.mouse("mouseMoved", x, y - 20 * k)
    page.b.send("Input.dispatchKeyEvent", type="keyUp", key="z", code="KeyZ", windowsVirtualKeyCode=90)
    page.expect("z held, 100 pixels up zoom in by 0.4", lambda: abs(float(v()["zoom"]) - 1.5) < 1e-6)
    page.touch([[(x, y)], [(x + 40, y)]])
    page.expect("one finger 40 pixels right turns 20 degrees more",
                lambda: float(page.link().get("view.rotate_y", 0)) == 70)
    page.touch([[(x - 50, y), (x + 50, y)]] + [[(x - 50 - 10 * k, y), (x + 50 + 10 * k, y)] for k in range(1, 6)])
    page.expect("two fingers 100 pixels further apart zoom in by 0.4", lambda: abs(float(v()["zoom"]) - 1.9) < 1e-5)
    page.touch([[(x, y), (x + 100, y)], [(x + 30, y + 20), (x + 130, y + 20)]])
    page.expect("two fingers moving together move the scene",
                lambda: [round(float(page.link().get("view.pan_" + a, 0)), 6) for a in "xy"] == [1.3, 0.3])


def link_round_trip(page, batch, work):
    """Settings file -> page -> link -> page -> downloaded settings: the same file."""
    text = batch_settings(batch, playback='"static"', twin="true", attractor='"roessler"', tmax="321.5",
                          colouring='"Green-Blue"', rotate_x="12.25", pan_y="-0.5", **{"c": "4.5"})
    path = os.path.join(work, "given.toml")
    with open(path, "w") as f:
        f.write(text)
    page.open()
    page.choose_file(path)
    page.expect("the file opened", lambda: page.values()["tmax"] == "321.5")
    page.click("#share button:nth-child(4)")  # Copy link: the address is written
    link = within("the link in the address", lambda: (lambda h: h if "tmax=321.5" in h else None)(page.js("location.href")))
    page.open(link[len(page.address):])
    got = page.downloaded(2, "tresolva.toml").decode()
    if got != text:
        fail("the settings after a link's round trip differ:\n" + got)
    png = page.downloaded(1, "tresolva.png")
    if not png.startswith(b"\x89PNG"):
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
    page.expect("Reset clears the message", lambda: page.text("#message") == "")
    page.open("?tmin=6000")
    page.expect("a message clears by itself after 10 s", lambda: page.text("#message") == "")


# Files the settings reader refuses, by name and line, in the page as in the batch program.
UNREADABLE = [("nul.toml", b"tmax = 300.0\n\0junk = 1\n", ":2: "),
              ("bytes.toml", bytes(range(256)) * 40, ":1: "),
              ("utf16.toml", "tmax = 300.0\n".encode("utf-16"), ":1: Encountered invalid utf-8 sequence"),
              ("latin1.toml", b"tmax = 300.0\n# caf\xe9\n", ":2: Encountered invalid utf-8 sequence")]


def unreadable_files(page, batch, work):
    page.open()
    for name, data, said in UNREADABLE:
        path = os.path.join(work, name)
        with open(path, "wb") as f:
            f.write(data)
        page.choose_file(path)
        page.expect(name + " refused", lambda: page.text("#message").startswith("Not opened: " + name + said))
        theirs = subprocess.run([batch, "render", "-s", path, "-o", os.path.join(work, "x.png")],
                                stderr=subprocess.PIPE, text=True)
        page_said = page.text("#message")[len("Not opened: " + name):]
        if theirs.returncode != 2 or theirs.stderr.strip() != "tresolva-batch: " + path + page_said:
            fail("%s: the batch program says %r, the page %r" % (name, theirs.stderr, page_said))


def large_files(page, batch, work):
    """Up to 1 MB is read, more refused with a line; the page goes on after each."""
    page.open()
    for size, taken in ((2 << 20, False), ((1 << 20) - 1, True)):
        body = "tmax = 321.0\n"
        line = "# " + "c" * 97 + "\n"
        text = line * ((size - len(body)) // len(line))
        text += "#" * (size - len(body) - len(text) - 1) + "\n" + body
        path = os.path.join(work, "large.toml")
        with open(path, "w") as f:
            f.write(text)
        page.click("#bottom button")  # Reset: tmax 200
        page.choose_file(path)
        want = "Opened large.toml" if taken else "Not opened: large.toml: 2,097,152 bytes, more than the page reads"
        page.expect("a file of %d bytes answered" % size, lambda: page.text("#message").startswith(want))
        if page.values()["tmax"] != ("321" if taken else "200"):
            fail("a file of %d bytes left tmax at %s" % (size, page.values()["tmax"]))
        frames = page.state()[0]
        page.expect("frames after a file of %d bytes" % size, lambda: page.state()[0] > frames)


def long_frame_gives_way(page, batch, work):
    """1e8 steps a frame: the page stays live, and Reset acts before the frame completes."""
    page.open("?playback=static&tmax=10000&dt=0.0001&tmin=0", frame=False)
    within("the long frame drawn over many animation frames", lambda: page.state()[11] == 1 and page.state()[0] == 0)
    page.click("#bottom button")  # Reset
    after = within("a frame after Reset", lambda: (lambda s: s if s[0] >= 1 else None)(page.state()))
    if after[9] != 40000:
        fail("the first frame to complete has %d steps, not Reset's 40000: the long frame finished first" % after[9])


def background_in_a_long_frame(page, batch, work):
    """A new background shows at once, while a frame of 1e8 steps is still being drawn."""
    page.open("?playback=static&tmin=0&tmax=10000&dt=0.0001", frame=False)
    within("the long frame under way", lambda: page.state()[11] == 1)
    page.click("#f-background")
    page.key("ArrowUp")  # White, above Black
    page.key("Enter")
    began = time.monotonic()
    page.expect("the white background shown", lambda: page.pixel(2, 2) == [255, 255, 255])
    print("background_in_a_long_frame: white %.2f s after the choice" % (time.monotonic() - began))
    if page.state()[0] != 0:
        fail("the long frame completed before the white background showed: the test proves nothing")


def notices(page, batch, work):
    """A scene that can show nothing says why; the wheel lands on tenths."""
    for query, said in (("?tmin=300", "Nothing to draw: tmin (300) is not below tmax (200)"),
                        ("?view.rotate_x=1e300", "The view turns or moves the scene by no finite amount"),
                        ("?dt=0.5&playback=static", "The trajectory left the finite numbers")):
        page.open(query)
        page.expect("the notice for " + query, lambda: said in page.text("#notice"))
    page.open()
    x, y = page.centre("#scene")
    for k in range(3):
        page.mouse("mouseWheel", x, y, deltaX=0, deltaY=100)
    page.expect("three notches down show zoom 0.7", lambda: page.values()["zoom"] == "0.7")


def touch_and_keyboard(page, batch, work):
    """The scene's keys as buttons for a finger, the scene turned and moved by keys, a visible
    focus, the right panel before the bottom one in Tab order, a heading and a main landmark."""
    page.open("?playback=static&twin=true")
    v = page.values
    taps = (("Step parameters (space)", lambda: v()["lorenz.ro"] == "28.1"),
            ("Re-seed twin (s)", lambda: v()["tmin"] == "0" and "start.x" in page.link()),
            ("Numbers (i)", lambda: page.js("!document.getElementById('readout').hidden")),
            ("Help (h)", lambda: page.js("!document.getElementById('help').hidden")))
    for k, (label, done) in enumerate(taps):
        if page.text("#keys button:nth-child(%d)" % (k + 1)) != label:
            fail("the buttons under the scene are not %s" % [t[0] for t in taps])
        x, y = page.centre("#keys button:nth-child(%d)" % (k + 1))
        page.touch([[(x, y)]])
        page.expect("a tap on " + label, done)
    page.click("#keys button:nth-child(4)")  # help off again
    page.click("#scene")
    page.key("ArrowRight")
    page.expect("the right arrow turns the scene 5 degrees", lambda: float(page.link().get("view.rotate_y", 0)) == 5)
    page.b.send("Input.dispatchKeyEvent", type="rawKeyDown", key="ArrowUp", code="ArrowUp", modifiers=8,
                windowsVirtualKeyCode=38)
    page.b.send("Input.dispatchKeyEvent", type="keyUp", key="ArrowUp", code="ArrowUp", modifiers=8,
                windowsVirtualKeyCode=38)
    page.expect("Shift and the up arrow move the scene up",
                lambda: round(float(page.link().get("view.pan_y", 0)), 6) == 0.1)
    page.js("document.getElementById('scene').blur()")
    order = []
    for k in range(60):
        page.key("Tab")
        order.append(page.js("(() => { const e = document.activeElement;"
                             " return e.id || e.name || e.textContent.trim().slice(0, 20); })()"))
        if order[-1] == "scene":
            ring = page.js("getComputedStyle(document.getElementById('scene')).outlineStyle")
            if ring == "none":
                fail("the scene shows no focus ring when Tab reaches it")
    if "attractor" not in order or "Reset" not in order or order.index("attractor") > order.index("Reset"):
        fail("Tab does not reach the right panel before the bottom one: %s" % order)
    if not page.js("!!document.querySelector('main h1')"):
        fail("the page has no heading in a main landmark")


def sharp_at_pixel_ratio_2(page, batch, work):
    page.open("?playback=static", ratio=2)
    w, h, cw, ch = page.canvas()
    if (w, h) != (2 * cw, 2 * ch):
        fail("at pixel ratio 2 the canvas is drawn at %dx%d for %dx%d CSS pixels" % (w, h, cw, ch))
    check_picture(page, batch, work, "start-up at ratio 2", batch_settings(batch, playback='"static"'), ratio=2)


def without_webgl2(page, batch, work):
    """Without WebGL2 the scene says what to do, and nothing throws."""
    script = page.b.send("Page.addScriptToEvaluateOnNewDocument", source="""
        const plain = HTMLCanvasElement.prototype.getContext;
        HTMLCanvasElement.prototype.getContext = function (kind, ...rest) {
          return kind === "webgl2" ? null : plain.call(this, kind, ...rest); };""")["identifier"]
    page.open(frame=False)
    page.b.send("Page.removeScriptToEvaluateOnNewDocument", identifier=script)
    said = page.text("#nowebgl")
    if not page.js("!document.getElementById('nowebgl').hidden") or "WebGL2" not in said or "Chrome" not in said:
        fail("without WebGL2 the page does not say so: %r" % said)
    if os.environ.get("E2E_SHOTS"):
        shot = os.path.join(work, "without-webgl2.png")
        with open(shot, "wb") as f:
            f.write(base64.b64decode(page.b.send("Page.captureScreenshot", format="png")["data"]))
        keep(shot, "page-without-webgl2.png")


def layouts(page, batch, work):
    """Every control within reach, side by side on laptops, the controls below the scene upright."""
    for width, height in ((1366, 768), (1024, 768), (768, 1024)):
        page.open(width=width, height=height)
        boxes = page.js("""[...document.querySelectorAll('#scene, #right, #bottom, input, select, button, summary')]
            .filter(e => e.type !== 'file').map(e => { const r = e.getBoundingClientRect();
            return [e.id || e.tagName, r.left, r.top, r.right, r.bottom]; })""")
        scroll = page.js("document.scrollingElement.scrollWidth")
        where = {b[0]: b for b in boxes}
        if scroll > width or any(b[3] > width + 0.5 or b[1] < 0 or b[3] - b[1] == 0 for b in boxes):
            fail("%dx%d: a control leaves the page or is not shown: %s" % (width, height, boxes))
        scene, right = where["scene"], where["right"]
        upright = height > width
        if upright and right[2] < scene[4]:
            fail("%dx%d: the controls are not below the scene" % (width, height))
        if not upright and (right[1] < scene[3] - 1 or any(b[4] > height + 0.5 for b in boxes)):
            fail("%dx%d: the panels are not beside and below the scene within the window" % (width, height))


if __name__ == "__main__":
    main()
