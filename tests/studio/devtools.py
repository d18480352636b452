"""A small client of Chromium's DevTools protocol: starts a headless Chromium,
opens one page and sends it commands over the page's WebSocket."""

import base64
import json
import re
import shutil
import subprocess
import tempfile
import time
import urllib.request

import websocket


class DevToolsError(Exception):
    pass


def find_chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        found = shutil.which(name)
        if found:
            return found
    return None


class Browser:
    """A headless Chromium with a fresh profile; `page` is its first tab."""

    def __init__(self, executable, width=1400, height=1100, timeout=20):
        self.profile = tempfile.mkdtemp(prefix="brix-chromium-")
        self.process = subprocess.Popen(
            [executable, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--disable-extensions", "--hide-scrollbars", "--remote-debugging-port=0",
             f"--window-size={width},{height}", f"--user-data-dir={self.profile}", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        deadline = time.monotonic() + timeout
        port = None
        while time.monotonic() < deadline and port is None:
            line = self.process.stderr.readline()
            if not line:
                if self.process.poll() is not None:
                    raise DevToolsError("chromium ended at start (status %s)" % self.process.returncode)
                continue
            found = re.search(r"DevTools listening on ws://127\.0\.0\.1:(\d+)/", line)
            if found:
                port = int(found.group(1))
        if port is None:
            self.close()
            raise DevToolsError("chromium printed no DevTools address")
        # Chromium keeps writing to its standard error; nobody reads it from now on.
        self.process.stderr.close()
        targets = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list", timeout=timeout))
        pages = [target for target in targets if target.get("type") == "page"]
        if not pages:
            self.close()
            raise DevToolsError("chromium has no page")
        self.page = Page(pages[0]["webSocketDebuggerUrl"], timeout)

    def close(self):
        if getattr(self, "page", None):
            self.page.close()
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


class Page:
    def __init__(self, address, timeout):
        self.socket = websocket.create_connection(address, timeout=timeout, suppress_origin=True)
        self.next_id = 0
        self.events = []

    def close(self):
        self.socket.close()

    def send(self, method, **params):
        self.next_id += 1
        number = self.next_id
        self.socket.send(json.dumps({"id": number, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == number:
                if "error" in message:
                    raise DevToolsError(f"{method}: {message['error'].get('message')}")
                return message.get("result", {})
            self.events.append(message)

    def evaluate(self, expression):
        """The value of a JavaScript expression (awaited when it is a promise)."""
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            text = details.get("exception", {}).get("description") or details.get("text")
            raise DevToolsError(f"{expression[:80]}: {text}")
        return result["result"].get("value")

    def wait_for(self, expression, timeout=10, interval=0.05, what=None):
        deadline = time.monotonic() + timeout
        while True:
            value = self.evaluate(expression)
            if value:
                return value
            if time.monotonic() > deadline:
                raise DevToolsError(f"timed out waiting for {what or expression}")
            time.sleep(interval)

    def mouse(self, kind, x, y, buttons=1):
        button = "left" if kind != "mouseMoved" or buttons else "none"
        self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                  buttons=buttons, clickCount=1 if kind != "mouseMoved" else 0)

    def click(self, selector):
        box = self.evaluate(
            f"(() => {{ const e = document.querySelector({json.dumps(selector)}); e.scrollIntoView({{block: 'nearest'}});"
            " const r = e.getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2]; })()")
        self.mouse("mouseMoved", box[0], box[1], buttons=0)
        self.mouse("mousePressed", box[0], box[1])
        self.mouse("mouseReleased", box[0], box[1], buttons=0)

    def type_text(self, text):
        for char in text:
            self.send("Input.dispatchKeyEvent", type="keyDown", key=char, text=char)
            self.send("Input.dispatchKeyEvent", type="keyUp", key=char)

    def press_enter(self):
        self.send("Input.dispatchKeyEvent", type="keyDown", key="Enter", code="Enter", windowsVirtualKeyCode=13,
                  text="\r")
        self.send("Input.dispatchKeyEvent", type="keyUp", key="Enter", code="Enter", windowsVirtualKeyCode=13)

    def screenshot(self, path):
        data = self.send("Page.captureScreenshot", format="png")["data"]
        with open(path, "wb") as out:
            out.write(base64.b64decode(data))
