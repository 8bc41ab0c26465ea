#!/usr/bin/python3
"""Proves the browser build in a real Chromium, headless, with WebGL 2 on its CPU renderer.

  webproof.py SITE LINUX_FRAMES LINUX_BENCHMARK DESKTOP_AUDIO OUT

SITE is the built folder (dist/vexmoro-VERSION-web); it is served on 127.0.0.1 from a subfolder
path, as a plain static host would. LINUX_FRAMES holds the Linux ES build's frames at the moments
of frames.py, LINUX_BENCHMARK its benchmark's JSON at 10 frames a second, DESKTOP_AUDIO the
desktop program's sound output (16-bit stereo at 44100 Hz). Writes the page's frames,
screenshots and a summary under OUT. Exit status 0 when every check holds, 1 when one does not.
"""
import base64
import http.server
import json
import os
import socketserver
import sys
import threading
import time
from functools import partial
from pathlib import Path

import numpy
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

sys.path.insert(0, str(Path(__file__).resolve().parent))
import frames  # noqa: E402  (the moments and the tolerance comparison)

RATE = 44100
SHOW_SECONDS = 209.2
# The live run's length; VEXMORO_WEB_LIVE_SECONDS=215 plays the whole show, and then the page's
# end and its second run are checked too.
LIVE_SECONDS = float(os.environ.get("VEXMORO_WEB_LIVE_SECONDS", 22))
BENCHMARK_FPS = 10
MOMENT_TIMEOUT = 300
BENCHMARK_TIMEOUT = 900

# Before the page's own scripts: every buffer the program hands to Web Audio is kept (the first
# seconds of it), and every frame's show time is taken beside the audio clock.
TAP = """
(() => {
  const tap = window.vexmoroTap = { samples: new Float32Array(%d * 2 * 12), kept: 0, handed: 0,
    rate: 0, clocks: [] };
  const create = AudioContext.prototype.createScriptProcessor;
  AudioContext.prototype.createScriptProcessor = function (...args) {
    const node = create.apply(this, args), context = this;
    tap.context = context;
    tap.rate = context.sampleRate;
    const setter = Object.getOwnPropertyDescriptor(ScriptProcessorNode.prototype,
      'onaudioprocess').set;
    Object.defineProperty(node, 'onaudioprocess', { set(handler) {
      setter.call(node, (event) => {
        handler(event);
        const out = event.outputBuffer, left = out.getChannelData(0), right = out.getChannelData(1);
        for (let i = 0; i < out.length && tap.kept < tap.samples.length; ++i) {
          tap.samples[tap.kept++] = left[i];
          tap.samples[tap.kept++] = right[i];
        }
        tap.handed += out.length;
      });
    } });
    return node;
  };
  let frameHook = null;
  const keep = (time) => {
    if (tap.context) tap.clocks.push([time, tap.context.currentTime, tap.handed]);
    if (frameHook) frameHook(time);
  };
  Object.defineProperty(window, 'Module', { configurable: true,
    set(module) {
      frameHook = module.vexmoroFrame;
      module.vexmoroFrame = keep;
      Object.defineProperty(window, 'Module', { value: module, writable: true });
    } });
})();
""" % RATE


class Site(http.server.SimpleHTTPRequestHandler):
    failures = []

    def log_message(self, pattern, *args):
        pass

    def log_request(self, code="-", size="-"):
        if str(code).isdigit() and int(code) >= 400:
            Site.failures.append(f"{code} {self.path}")


def serve(folder):
    """The parent of SITE on a free port; the page lives at /NAME/."""
    handler = partial(Site, directory=str(folder.parent))
    server = socketserver.ThreadingTCPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_address[1]}/{folder.name}/"


def browser():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
                 "--no-sandbox", "--disable-dev-shm-usage", "--window-size=1024,768",
                 "--disable-background-networking", "--no-first-run",
                 "--disable-background-timer-throttling", "--disable-renderer-backgrounding"):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    service = Service(executable_path="/usr/bin/chromedriver")
    driver = webdriver.Chrome(options=options, service=service)
    driver.set_script_timeout(60)
    return driver


class Proof:
    def __init__(self, site, out):
        self.out = out
        self.server, self.url = serve(site)
        self.driver = browser()
        self.failed = []
        self.summary = {}

    def check(self, ok, what):
        print(("ok      " if ok else "FAILED  ") + what, flush=True)
        if not ok:
            self.failed.append(what)

    def page(self, query=""):
        self.driver.get(self.url + ("?" + query if query else ""))

    def value(self, script):
        return self.driver.execute_script("return " + script)

    def wait(self, condition, timeout, what):
        end = time.time() + timeout
        while time.time() < end:
            if self.value(condition):
                return True
            time.sleep(0.2)
        self.check(False, f"{what} within {timeout} s")
        return False

    def console_errors(self):
        return [entry["message"] for entry in self.driver.get_log("browser")
                if entry["level"] == "SEVERE"]

    def loads(self):
        self.page()
        ready = self.wait("vexmoroPage.state !== 'downloading'", 60, "the page is ready")
        self.check(ready and self.value("vexmoroPage.state") == "ready", "the page reaches 'ready'")
        self.check(self.value("vexmoroPage.webgl2"), "the page has a WebGL 2 context")
        self.driver.save_screenshot(str(self.out / "click-to-play.png"))
        self.summary["webgl"] = self.value(
            "(() => { const gl = document.createElement('canvas').getContext('webgl2');"
            " const info = gl.getExtension('WEBGL_debug_renderer_info');"
            " return gl.getParameter(gl.VERSION) + ' / ' +"
            " (info ? gl.getParameter(info.UNMASKED_RENDERER_WEBGL) : '?'); })()")

    def run_offline(self, query, timeout):
        self.page(query)
        if not self.wait("vexmoroPage.state === 'ended' || vexmoroPage.state === 'failed'",
                         timeout, f"?{query} ends"):
            return None
        result = self.value("vexmoroPage.result")
        if result is None or result["status"] != 0:
            self.check(False, f"?{query} succeeds: {self.value('vexmoroPage.messages')}")
            return None
        return result

    def moments(self, linux_frames):
        folder = self.out / "frames"
        folder.mkdir(parents=True, exist_ok=True)
        for name, start, at, music in frames.MOMENTS:
            query = f"capture&fps={frames.FPS}&start={start}&from={at}&to={at}"
            result = self.run_offline(query + ("" if music else "&silent"), MOMENT_TIMEOUT)
            pictures = list((result or {}).get("frames", {}).values())
            self.check(len(pictures) == 1, f"{name}: one frame captured")
            if len(pictures) == 1:
                (folder / f"{name}.png").write_bytes(base64.b64decode(pictures[0]))
        print("frames of the page against the Linux ES build's:", flush=True)
        self.check(frames.compare(linux_frames, folder), "every moment within the tolerance")

    def benchmark(self, linux_benchmark):
        started = time.time()
        result = self.run_offline(f"benchmark&fps={BENCHMARK_FPS}", BENCHMARK_TIMEOUT)
        if result is None or result["benchmark"] is None:
            self.check(False, "the benchmark gives its JSON")
            return
        page = result["benchmark"]
        linux = json.loads(Path(linux_benchmark).read_text().strip().splitlines()[-1])
        counts = lambda run: {s["name"]: s["frames"] for s in run["scenes"]}  # noqa: E731
        self.summary["benchmark"] = {"page": page, "seconds": round(time.time() - started, 1)}
        print(json.dumps(counts(page)), flush=True)
        self.check(counts(page) == counts(linux) and page["show"]["frames"] == linux["show"]["frames"],
                   f"the benchmark's frame counts per scene equal the Linux build's "
                   f"({page['show']['frames']} frames)")

    def live(self, desktop_audio):
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": TAP})
        self.loads()
        self.driver.find_element(By.ID, "play").click()
        self.wait("vexmoroPage.frames > 0", 60, "the show's first frame")
        began = time.time()
        first = self.value("[vexmoroPage.showTime, vexmoroPage.frames]")
        time.sleep(LIVE_SECONDS / 2)
        self.driver.save_screenshot(str(self.out / "playing.png"))
        state = self.value("vexmoroTap.context ? vexmoroTap.context.state : 'none'")
        time.sleep(LIVE_SECONDS / 2)
        last = self.value("[vexmoroPage.showTime, vexmoroPage.frames]")
        elapsed = time.time() - began
        fps = (last[1] - first[1]) / elapsed
        self.summary["live"] = {"seconds": round(elapsed, 1), "fps": round(fps, 1),
                                "show_time": last[0]}
        self.check(last[0] - first[0] > LIVE_SECONDS * 0.9,
                   f"the show time advances ({first[0]:.2f} s to {last[0]:.2f} s in {elapsed:.1f} s"
                   f", {fps:.1f} frames a second)")
        self.check(state == "running", f"the audio context runs ({state})")
        self.music(desktop_audio)
        self.clocks()
        if last[0] > SHOW_SECONDS:
            self.again()
        self.shapes()

    def again(self):
        """After the whole show: the page says it has ended, and plays it again on a click."""
        ended = self.wait("vexmoroPage.state === 'ended'", 30, "the page's end of the show")
        self.driver.save_screenshot(str(self.out / "ended.png"))
        self.check(ended and self.value("document.getElementById('play').textContent") ==
                   "Play again", "the page offers to play again")
        self.driver.find_element(By.ID, "play").click()
        # Until the credits are bright, as the shorter run has them for the window shapes.
        self.check(self.wait("vexmoroPage.state === 'playing' && vexmoroPage.showTime > 20 && "
                             "vexmoroPage.showTime < 40", 60, "a second run"),
                   "a second run plays")

    def music(self, desktop_audio):
        """A stretch of what reached Web Audio against the desktop program's output."""
        rate = self.value("vexmoroTap.rate")
        kept = self.value("vexmoroTap.kept")
        data = self.value("(() => { const t = vexmoroTap, b = new Uint8Array(t.samples.buffer, 0, "
                          "t.kept * 4); let s = ''; for (let i = 0; i < b.length; i += 32768) "
                          "s += String.fromCharCode.apply(null, b.subarray(i, i + 32768)); "
                          "return btoa(s); })()")
        page = numpy.frombuffer(base64.b64decode(data), dtype=numpy.float32).reshape(-1, 2)
        desktop = numpy.fromfile(desktop_audio, dtype="<i2").reshape(-1, 2) / 32768.0
        self.check(rate == RATE and kept > 2 * 8 * RATE,
                   f"Web Audio took {kept // 2} frames at {rate} Hz")
        if rate != RATE or kept <= 2 * 8 * RATE:
            return
        # One second of the page's music from 6 s on, found in the desktop's by cross-correlation.
        stretch = page[6 * RATE:7 * RATE].mean(axis=1)
        whole = desktop.mean(axis=1)
        size = 1 << int(numpy.ceil(numpy.log2(len(whole) + len(stretch))))
        cross = numpy.fft.irfft(numpy.fft.rfft(whole, size) *
                                numpy.conj(numpy.fft.rfft(stretch, size)), size)
        lag = int(numpy.argmax(cross[:len(whole) - len(stretch)]))
        match = whole[lag:lag + len(stretch)]
        correlation = float(numpy.corrcoef(stretch, match)[0, 1])
        self.summary["music"] = {"correlation": round(correlation, 5), "desktop_offset_s":
                                 round(lag / RATE, 4), "page_offset_s": 6.0}
        self.check(correlation >= 0.99, f"the page's music matches the desktop's output "
                   f"(correlation {correlation:.5f}, at {lag / RATE:.3f} s of it against 6 s)")

    def clocks(self):
        """The picture's clock against the audio clock: their rates over the run, as the drift
        they would make over the whole show, and the music handed over against the time heard."""
        clocks = numpy.array(self.value("vexmoroTap.clocks"))
        show, heard, handed = clocks[:, 0], clocks[:, 1], clocks[:, 2] / RATE
        slope = numpy.polyfit(heard, show, 1)[0]
        drift = abs(slope - 1) * SHOW_SECONDS
        lag = (heard - heard[0]) - (handed - handed[0])
        frame = float(numpy.median(numpy.diff(show)))
        self.summary["clocks"] = {"slope": slope, "drift_over_show_ms": drift * 1000,
                                  "frame_ms": frame * 1000, "handed_behind_ms":
                                  [float(lag.min() * 1000), float(lag.max() * 1000)]}
        self.check(drift < frame, f"picture and audio clocks drift {drift * 1000:.2f} ms over the "
                   f"show, less than a frame ({frame * 1000:.1f} ms)")
        self.check(abs(lag[-1]) < 0.25, f"the music handed to Web Audio keeps up with the audio "
                   f"clock ({lag[-1] * 1000:.0f} ms apart at the end)")

    def shapes(self):
        """The picture keeps 4:3, centred on black, in a wide and a tall window and full screen."""
        for name, size in (("wide", (1200, 500)), ("tall", (500, 900))):
            self.driver.set_window_size(*size)
            time.sleep(1.5)
            self.picture_box(name)
        self.driver.find_element(By.ID, "fullscreen").click()
        time.sleep(1.5)
        self.check(self.value("document.fullscreenElement !== null"), "the page enters full screen")
        self.picture_box("fullscreen")

    def picture_box(self, name):
        path = self.out / f"shape-{name}.png"
        # The page's own button is no part of the picture.
        self.value("document.getElementById('fullscreen').style.visibility = 'hidden'")
        self.driver.save_screenshot(str(path))
        self.value("document.getElementById('fullscreen').style.visibility = ''")
        image = frames.read_png(path)
        width, height = image.width, image.height
        pixels = numpy.frombuffer(image.rgb, dtype=numpy.uint8).reshape(height, width, 3)
        lit = pixels.max(axis=2) > 24
        columns = numpy.flatnonzero(lit.any(axis=0))
        rows = numpy.flatnonzero(lit.any(axis=1))
        scale = min(width / 800, height / 600)
        box_w, box_h = 800 * scale, 600 * scale
        left, top = (width - box_w) / 2, (height - box_h) / 2
        inside = len(columns) > 0 and columns[0] >= left - 2 and columns[-1] <= left + box_w + 2 \
            and rows[0] >= top - 2 and rows[-1] <= top + box_h + 2
        self.check(inside, f"{name} window {width}x{height}: the picture lies in the centred 4:3 "
                   f"box {box_w:.0f}x{box_h:.0f} at ({left:.0f}, {top:.0f})")

    def finish(self):
        errors = self.console_errors()
        self.check(not errors, f"no console error ({errors[:3]})")
        self.check(not Site.failures, f"no failed request ({Site.failures[:3]})")
        self.driver.quit()
        self.server.shutdown()
        (self.out / "summary.json").write_text(json.dumps(self.summary, indent=1) + "\n")
        print(json.dumps(self.summary, indent=1))
        return 1 if self.failed else 0


def main(argv):
    if len(argv) != 6:
        print(__doc__, file=sys.stderr)
        return 2
    site, linux_frames, linux_benchmark, desktop_audio, out = map(Path, argv[1:])
    out.mkdir(parents=True, exist_ok=True)
    proof = Proof(site, out)
    try:
        proof.loads()
        proof.check(not proof.console_errors(), "the page loads with no console error")
        proof.moments(linux_frames)
        proof.benchmark(linux_benchmark)
        proof.live(desktop_audio)
    finally:
        status = proof.finish()
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
