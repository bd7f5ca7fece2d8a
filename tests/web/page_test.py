#!/usr/bin/env python3
"""The web page in Debian's headless Chromium, driven over the DevTools
protocol: it loads without console errors, its trajectory is the desktop
core's bit for bit (the batch program's export of the same settings), and
its picture is the batch program's render as closely as two rasterisers
allow, at the start-up settings, with the twin and with the maximum map.
    page_test.py SITE-FOLDER TRESOLVA-BATCH
Prints figures for the notes (not tests): the time from navigation to the
first complete frame, and the core's RK4 steps a second in the page.
"""
import base64
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

    def send(self, method, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session:
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
        data = b""
        while not data.endswith(b"\0"):
            byte = self.r.read(1)
            if not byte:
                fail("the browser closed its pipe")
            data += byte
        message = json.loads(data[:-1])
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


def main():
    site, batch = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp()
    address = serve(site)
    browser = Browser(os.path.join(work, "profile"))
    try:
        target = browser.send("Target.createTarget", url="about:blank")["targetId"]
        browser.session = browser.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Runtime", "Log", "Page"):
            browser.send(domain + ".enable")
        browser.send("Emulation.setDeviceMetricsOverride", width=1200, height=900, deviceScaleFactor=1, mobile=False)
        browser.send("Page.navigate", url=address)
        state = lambda: browser.evaluate("typeof Module == 'object' && Module.calledRun ? "
                                         "Module.ccall('tresolva_state', 'string', [], []) : ''")
        within("the page's first frame", lambda: state() and int(state().split()[0]) >= 1)
        figures = browser.evaluate("Module.ccall('tresolva_figures', 'string', ['number'], [2e7])").split()
        print("figures: first frame complete %s ms after navigation began; the core's rk4 alone, "
              "%.1f M steps a second (compare batch_bench's bare rk4 loop)" % (figures[0], float(figures[1]) / 1e6))

        settings = subprocess.run([batch, "settings"], check=True, stdout=subprocess.PIPE, text=True).stdout
        settings = settings.replace('playback = "segment"', 'playback = "static"')
        cases = {"start-up": settings, "twin": settings.replace("twin = false", "twin = true"),
                 "maximum map": settings.replace("twin = false", "twin = true")
                 .replace("maximum_map = false", "maximum_map = true"),
                 "Roessler, figures, thick lines, white": settings
                 .replace('attractor = "lorenz"', 'attractor = "roessler"')
                 .replace("box = false", "box = true").replace("axes = false", "axes = true")
                 .replace('colouring = "Red ghost"', 'colouring = "Speed"')
                 .replace('lines = "thin"', 'lines = "thicker"')
                 .replace('background = "black"', 'background = "white"')}
        for name, text in cases.items():
            check(browser, batch, work, name, text, state)
        if browser.errors:
            fail("console errors: " + "; ".join(browser.errors))
    finally:
        browser.close()
    print("page: ok")


def check(browser, batch, work, name, text, state):
    toml = os.path.join(work, "view.toml")
    with open(toml, "w") as f:
        f.write(text)
    refused = browser.evaluate("Module.ccall('tresolva_settings', 'string', ['string'], [%s])" % json.dumps(text))
    if refused:
        fail("%s: the page refused the settings: %s" % (name, refused))
    # Static playback draws the same picture from its second frame on.
    fields = within(name + ": two frames", lambda: (lambda s: s if int(s[0]) >= 2 else None)(state().split()))
    csv = os.path.join(work, "run.csv")
    subprocess.run([batch, "export", "-s", toml, "-o", csv], check=True)
    with open(csv) as f:
        rows = f.read().split("\n")
    columns = 7 if rows[0].startswith("t,x,y,z,x2,y2,z2") else 4  # with the twin: its state too
    desktop = [float(v) for v in rows[-2].split(",")[:columns]]
    page = [float(v) for v in fields[1:8]]
    if page[:columns] != desktop:
        fail("%s: the page's last state %s is not the desktop's %s" % (name, page[:len(desktop)], desktop))
    shot = browser.send("Page.captureScreenshot", format="png",
                        clip={"x": 0, "y": 0, "width": 950, "height": 717, "scale": 1})["data"]
    mine, theirs = os.path.join(work, name + "-page.png"), os.path.join(work, name + "-render.png")
    with open(mine, "wb") as f:
        f.write(base64.b64decode(shot))
    subprocess.run([batch, "render", "-s", toml, "-o", theirs], check=True, env=dict(os.environ, DISPLAY=""))
    if os.environ.get("E2E_SHOTS"):  # for a person to look at
        subprocess.run(["cp", mine, os.environ["E2E_SHOTS"]], check=True)
    w, h, a = ppm(mine)
    w2, h2, b = ppm(theirs)
    if (w, h) != (w2, h2):
        fail("%s: the page's picture is %dx%d, the render's %dx%d" % (name, w, h, w2, h2))
    background = b"\xff\xff\xff" if 'background = "white"' in text else b"\0\0\0"
    pa, pb = drawn(w, h, a, background), drawn(w, h, b, background)
    share = min(near(pa, pb), near(pb, pa))
    print("%s: the last state bit for bit; %d and %d pixels drawn, %.1f %% within one pixel of the other's" % (name, len(pa), len(pb), 100 * share))
    if share < 0.9:
        keep = os.environ.get("E2E_KEEP", "/tmp")
        subprocess.run(["cp", mine, theirs, keep])
        fail("%s: the page's picture is not the render's (kept in %s)" % (name, keep))


if __name__ == "__main__":
    main()
