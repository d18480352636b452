"""Brix Studio in a real browser: a headless Chromium opens the page of a
running `brix studio`, sends a Messages notification with the form, sees the
banner in the screen picture, drags it down with the mouse and sees it
expand, answers it from the keyboard, finds the sent message in the Messages
and Trace panels, saves the session as a scenario and has `brix run` replay
it with the same banner events.

usage: browser_test.py BRIX SESSION [--screenshot PNG] [--time-limit SECONDS]
Exit status 77 (skipped) when no Chromium is installed."""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

try:
    import devtools
except ImportError as error:  # python3-websocket is missing
    print(f"SKIPPED: the DevTools client needs python3-websocket ({error}); scripts/setup installs it")
    sys.exit(77)

SKIP = 77

# Reads the screen picture: which rows, in screen points, differ from the picture taken by `snap`.
PROBE = r"""
window.probe = {
    base: null,
    snap() {
        const canvas = document.getElementById("screen");
        this.base = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height);
        return true;
    },
    // The bottom (in points) of the band of changed rows that starts near the top of the screen.
    changedBottom() {
        const canvas = document.getElementById("screen");
        const now = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height);
        const scale = canvas.width / window.studio.screen.width;
        let bottom = 0, quiet = 0;
        for (let y = Math.round(30 * scale); y < canvas.height; y += 2) {
            let changed = 0;
            for (let x = 0; x < canvas.width; x += 4) {
                const i = (y * canvas.width + x) * 4;
                const d = Math.abs(now.data[i] - this.base.data[i]) + Math.abs(now.data[i + 1] - this.base.data[i + 1])
                    + Math.abs(now.data[i + 2] - this.base.data[i + 2]);
                if (d > 24)
                    ++changed;
            }
            if (changed > canvas.width / 4 * 0.3) {
                bottom = y / scale;
                quiet = 0;
            } else if (bottom > 0 && ++quiet > 10 * scale) {
                break;
            }
        }
        return bottom;
    },
};
true
"""


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def wait_quiet(page, quiet=0.4, timeout=20):
    """Waits until no frame has come for `quiet` seconds, or for three times the
    longest gap between the recent frames when the studio draws slowly (a
    sanitized build, a busy machine)."""
    deadline = time.monotonic() + timeout
    count = page.evaluate("studio.frames")
    since = time.monotonic()
    while time.monotonic() < deadline:
        time.sleep(0.05)
        now = page.evaluate("studio.frames")
        if now != count:
            count, since = now, time.monotonic()
            continue
        gaps = page.evaluate("(() => { const t = studio.frameTimes.slice(-6); const g = [];"
                             " for (let i = 1; i < t.length; ++i) if (t[i] - t[i - 1] < 2000) g.push(t[i] - t[i - 1]);"
                             " return g.length ? Math.max(...g) / 1000 : 0; })()")
        if time.monotonic() - since >= max(quiet, 3 * gaps):
            return
    fail("the screen never stopped changing")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def screen_point(page, x, y):
    """Page coordinates of a point on the phone's screen (the picture inside the canvas's border)."""
    box = page.evaluate("(() => { const c = document.getElementById('screen'); c.scrollIntoView({block: 'nearest'});"
                        " const r = c.getBoundingClientRect(); return [r.left + c.clientLeft, r.top + c.clientTop,"
                        " c.clientWidth, c.clientHeight, studio.screen.width, studio.screen.height]; })()")
    return box[0] + x / box[4] * box[2], box[1] + y / box[5] * box[3]


def drag_down(page, top):
    """Drags the banner whose bottom is `top` points down the screen with the mouse."""
    x, y = screen_point(page, 195, top / 2 + 15)
    page.mouse("mouseMoved", x, y, buttons=0)
    page.mouse("mousePressed", x, y)
    for step in range(1, 13):
        page.mouse("mouseMoved", x, y + step * 14, buttons=1)
        time.sleep(0.01)
    page.mouse("mouseReleased", x, y + 12 * 14, buttons=0)


def measure(page, cycles):
    """Banners sent, dragged open and closed `cycles` times: the frame rate while each slides out."""
    rates = []
    page.click('[data-tab="notify"]')
    for _ in range(cycles):
        page.click("#send")
        page.wait_for("probe.changedBottom() > 40 && probe.changedBottom()", timeout=15, what="the banner")
        wait_quiet(page)
        drag_down(page, page.evaluate("probe.changedBottom()"))
        wait_quiet(page)
        before = page.evaluate("studio.frames")
        page.click('[data-press="close"]')
        wait_quiet(page)
        times = page.evaluate("studio.frameTimes.slice(%d)" % before)
        if len(times) > 2:
            rates.append((len(times) - 1) / ((times[-1] - times[0]) / 1000))
    return rates


def banner_events(trace):
    return [(event["type"], event.get("id"), event.get("header"), event.get("body"))
            for event in trace if event["type"] in ("banner.attached", "banner.removed", "messages.sent")]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("brix")
    parser.add_argument("session")
    parser.add_argument("--screenshot")
    parser.add_argument("--time-limit", type=float, default=60)
    parser.add_argument("--measure", type=int, default=0, metavar="N",
                        help="then send, drag open and close N more banners and report the figures")
    arguments = parser.parse_args()

    chromium = devtools.find_chromium()
    if not chromium:
        print("SKIPPED: no chromium on this machine (scripts/setup installs Debian's chromium)")
        return SKIP

    work = tempfile.mkdtemp(prefix="brix-studio-browser-")
    environment = dict(os.environ, XDG_DATA_HOME=os.path.join(work, "data"))
    started = time.monotonic()
    studio = subprocess.Popen([arguments.brix, "studio", "--port", "0", "--session", arguments.session],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, env=environment)
    browser = None
    try:
        line = studio.stdout.readline()
        if "http://127.0.0.1:" not in line:
            fail("the studio printed no address: " + repr(line))
        url = line.split("Brix Studio on ", 1)[1].split()[0]

        browser = devtools.Browser(chromium)
        page = browser.page
        page.send("Page.enable")
        page.send("Page.navigate", url=url)
        page.wait_for("window.studio && studio.frames > 0", timeout=30, what="the first frame")
        first_frame = time.monotonic() - started
        page.evaluate(PROBE)
        wait_quiet(page)
        page.evaluate("probe.snap()")
        if page.evaluate("probe.changedBottom()") != 0:
            fail("the quiet screen keeps changing")

        # A Messages notification, sent with the form.
        page.evaluate("""(() => {
            const set = (id, value) => { const e = document.getElementById(id); e.value = value;
                                         e.dispatchEvent(new Event('change')); };
            set('app', 'com.apple.MobileSMS'); set('title', 'Alice'); set('subtitle', '');
            set('body', 'Are you coming?'); set('thread', '+15551234567');
            return true; })()""")
        # Held until answered, however slowly this machine draws.
        page.click("#dismissAutomatically")
        page.click("#send")
        bottom = page.wait_for("probe.changedBottom() > 40 && probe.changedBottom()", timeout=15,
                               what="the banner in the screen picture")
        wait_quiet(page)
        shown = page.evaluate("probe.changedBottom()")
        if shown < 40:
            fail("the banner left the screen picture before it was dragged")

        # Dragged down with the mouse, it expands.
        drag_down(page, shown)
        try:
            page.wait_for("studio.pointerLatencies.length > 0", timeout=15, what="a frame after the drag began")
        except devtools.DevToolsError:
            fail("no frame came after the drag; the trace ends with "
                 + json.dumps(page.evaluate("studio.trace.slice(-5)")) + "; the page says "
                 + json.dumps(page.evaluate("document.getElementById('message').textContent")))
        wait_quiet(page)
        expanded = page.evaluate("probe.changedBottom()")
        if expanded < shown + 30:
            page.screenshot(os.path.join(os.environ.get("BRIX_FAILURE_FOLDER", work), "not-expanded.png"))
            print(json.dumps(page.evaluate("studio.trace.slice(-6)")))
            fail(f"the dragged banner did not expand (bottom {shown:.0f} pt before, {expanded:.0f} pt after)")

        if arguments.screenshot:
            page.send("Emulation.setDeviceMetricsOverride", width=1280, height=1080, deviceScaleFactor=1, mobile=False)
            time.sleep(0.3)
            page.screenshot(arguments.screenshot)
            page.send("Emulation.clearDeviceMetricsOverride")

        # The reply: the banner's Reply button, then typing on the screen and Enter.
        page.click('[data-press="reply"]')
        wait_quiet(page)
        page.evaluate("document.getElementById('screen').focus(), true")
        page.type_text("On my way")
        page.press_enter()
        page.wait_for("studio.trace.some(e => e.type === 'messages.sent' && e.text === 'On my way')", timeout=15,
                      what="messages.sent in the trace")
        page.click('[data-tab="messages"]')
        page.wait_for("document.getElementById('sentMessages').textContent.includes('On my way')", timeout=15,
                      what="the sent message in the Messages panel")
        page.click('[data-tab="trace"]')
        page.evaluate("(() => { const s = document.getElementById('traceType'); s.value = 'messages.sent';"
                      " s.dispatchEvent(new Event('change')); return true; })()")
        visible = page.evaluate("[...document.querySelectorAll('#trace li')].filter(e => !e.hidden)"
                                ".map(e => e.textContent)")
        if not visible or not all("messages.sent" in text for text in visible):
            fail("the trace panel filtered to messages.sent shows " + json.dumps(visible))

        # Idle: nothing animates, nothing is sent.
        wait_quiet(page)
        frames_idle = page.evaluate("studio.frames")
        cpu_before, idle_started = cpu_seconds(studio.pid), time.monotonic()
        time.sleep(2)
        idle_cpu = (cpu_seconds(studio.pid) - cpu_before) / (time.monotonic() - idle_started)
        if page.evaluate("studio.frames") != frames_idle:
            fail("frames came while nothing changed")

        # Save as scenario: the page's download, played again by `brix run`.
        downloads = os.path.join(work, "downloads")
        os.makedirs(downloads)
        page.send("Page.setDownloadBehavior", behavior="allow", downloadPath=downloads)
        page.click("#save")
        saved = os.path.join(downloads, "studio-session.json")
        deadline = time.monotonic() + 10
        while not (os.path.exists(saved) and os.path.getsize(saved) > 0) and time.monotonic() < deadline:
            time.sleep(0.1)
        if not os.path.exists(saved):
            fail("the page downloaded no scenario: " + json.dumps(os.listdir(downloads)))
        time.sleep(0.2)
        live = page.evaluate("studio.trace")
        replay_out = os.path.join(work, "replay")
        played = subprocess.run([arguments.brix, "run", saved, "--out", replay_out], capture_output=True, text=True,
                                env=environment, timeout=60)
        if played.returncode != 0:
            fail(f"brix run of the saved session failed ({played.returncode}):\n{played.stdout}\n{played.stderr}")
        with open(os.path.join(replay_out, "trace.jsonl")) as lines:
            replayed = [json.loads(line) for line in lines if line.strip()]
        if banner_events(replayed) != banner_events(live):
            fail("the replay's banner events differ:\nlive:   %s\nreplay: %s"
                 % (banner_events(live), banner_events(replayed)))

        elapsed = time.monotonic() - started
        rates = measure(page, arguments.measure) if arguments.measure else []
        latencies = sorted(page.evaluate("studio.pointerLatencies"))
        p95 = latencies[min(len(latencies) - 1, int(round(0.95 * (len(latencies) - 1))))]
        print(f"measure: start to first frame {first_frame:.2f} s")
        print(f"measure: pointer (a drag's first move) to frame median {statistics.median(latencies):.1f} ms,"
              f" p95 {p95:.1f} ms (n={len(latencies)})")
        if rates:
            print(f"measure: frames while a banner slides out, median {statistics.median(rates):.0f} per second,"
                  f" lowest {min(rates):.0f} (n={len(rates)})")
        print(f"measure: idle CPU {idle_cpu * 100:.1f} % of one core, 0 frames in 2 s")
        print(f"measure: load average {os.getloadavg()[0]:.2f}")
        if elapsed > arguments.time_limit:
            fail(f"the session took {elapsed:.1f} s, more than {arguments.time_limit:.0f} s")
        print(f"PASSED: banner shown, expanded, answered, replayed ({elapsed:.1f} s)")
        return 0
    except devtools.DevToolsError as error:
        if browser:
            print("the trace ends with", json.dumps(browser.page.evaluate("studio.trace.slice(-6)")))
            print("the page says", browser.page.evaluate("document.getElementById('message').textContent"))
        fail(str(error))
    finally:
        if browser:
            browser.close()
        studio.terminate()
        try:
            studio.wait(10)
        except subprocess.TimeoutExpired:
            studio.kill()
            studio.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
