// Brix Studio's page: shows the phone's screen from the server's frames,
// sends the mouse and the keyboard to it, and works the panels beside it.
// Plain script, no libraries: every request goes to the studio that served
// this page, with the run's token.
"use strict";

const token = new URLSearchParams(location.search).get("token") || "";
const $ = (id) => document.getElementById(id);

// What the browser test and the measurements read.
const studio = (window.studio = {
    frames: 0,
    firstFrameAt: null, // milliseconds since the page started loading
    frameTimes: [], // arrival of each frame, milliseconds
    pointerLatencies: [], // a drag's first move (a tap's release) to the first frame drawn after it, milliseconds
    trace: [],
    lastError: "",
    screen: { width: 390, height: 844 }, // in points
});

function withToken(path) {
    return path + (path.includes("?") ? "&" : "?") + "token=" + encodeURIComponent(token);
}

async function request(method, path, body, contentType = "application/json") {
    const options = { method, headers: { "X-Brix-Token": token } };
    if (body !== undefined) {
        options.body = typeof body === "string" ? body : JSON.stringify(body);
        options.headers["Content-Type"] = contentType;
    }
    let answer;
    try {
        const response = await fetch(path, options);
        answer = await response.json();
    } catch (error) {
        answer = { error: "the studio does not answer (" + error.message + ")" };
    }
    if (answer && answer.error)
        say(answer.error, true);
    return answer;
}

function say(text, isError = false) {
    const message = $("message");
    message.textContent = text;
    message.classList.toggle("error", isError);
    if (isError)
        studio.lastError = text;
}

function play(step) {
    return request("POST", "api/step", step);
}

// ---- The screen ------------------------------------------------------------

const canvas = $("screen");
const context = canvas.getContext("2d");
let drawing = Promise.resolve();
let waitingForFrame = null; // the pointer event that waits for the frame showing it

function decodeBase64(text) {
    const bytes = atob(text);
    const array = new Uint8Array(bytes.length);
    for (let i = 0; i < bytes.length; ++i)
        array[i] = bytes.charCodeAt(i);
    return array;
}

function showFrame(frame) {
    const arrived = performance.now();
    studio.frameTimes.push(arrived);
    if (studio.frameTimes.length > 2000)
        studio.frameTimes.splice(0, 1000);
    const blob = new Blob([decodeBase64(frame.jpeg)], { type: "image/jpeg" });
    // Frames are drawn in the order they came: a damage rectangle lies over the frame before it.
    drawing = drawing
        .then(() => createImageBitmap(blob))
        .then((picture) => {
            if (canvas.width !== frame.width || canvas.height !== frame.height) {
                canvas.width = frame.width;
                canvas.height = frame.height;
            }
            context.drawImage(picture, frame.x, frame.y);
            picture.close();
            ++studio.frames;
            if (studio.firstFrameAt === null)
                studio.firstFrameAt = performance.now();
            if (waitingForFrame !== null) {
                studio.pointerLatencies.push(performance.now() - waitingForFrame.sent);
                waitingForFrame = null;
            }
            $("frameInfo").textContent = "frame " + frame.n + (frame.whole ? " (whole)" : ` (${frame.w}×${frame.h} at ${frame.x},${frame.y})`) + ", t " + frame.t.toFixed(2) + " s";
        })
        .catch((error) => say("a frame could not be shown: " + error.message, true));
}

// Screen points of a mouse event (the canvas's border lies outside the screen).
function pointOf(event) {
    const box = canvas.getBoundingClientRect();
    const left = box.left + canvas.clientLeft;
    const top = box.top + canvas.clientTop;
    return {
        x: ((event.clientX - left) / canvas.clientWidth) * studio.screen.width,
        y: ((event.clientY - top) / canvas.clientHeight) * studio.screen.height,
    };
}

// Pointer events go out one at a time, in order, each with the moment it
// happened (the device paces the finger by those moments, however late they
// arrive). Moves made while one is on its way are folded into the newest, so
// that a slow device never falls behind the mouse.
let pointerDown = false;
let inFlight = false;
let gestureMeasured = false;
const pending = [];

function sendPointer(phase, event) {
    const point = pointOf(event);
    const next = { phase, x: point.x, y: point.y, t: event.timeStamp / 1000, sent: performance.now() };
    const last = pending[pending.length - 1];
    if (phase === "move" && last && last.phase === "move")
        pending[pending.length - 1] = next;
    else
        pending.push(next);
    if (!inFlight)
        sendPending();
}

async function sendPending() {
    inFlight = true;
    while (pending.length) {
        const next = pending.shift();
        // The first frame after a drag's first move, or after the release of a
        // finger that did not move, is that event's doing (on a quiet screen).
        if (next.phase === "down")
            gestureMeasured = false;
        if (!gestureMeasured && (next.phase === "move" || next.phase === "up")) {
            gestureMeasured = true;
            waitingForFrame = { sent: next.sent };
        }
        await request("POST", "api/pointer", { phase: next.phase, x: next.x, y: next.y, t: next.t });
    }
    inFlight = false;
}

canvas.addEventListener("pointerdown", (event) => {
    canvas.focus();
    canvas.setPointerCapture(event.pointerId);
    pointerDown = true;
    sendPointer("down", event);
    event.preventDefault();
});
canvas.addEventListener("pointermove", (event) => {
    if (pointerDown)
        sendPointer("move", event);
});
canvas.addEventListener("pointerup", (event) => {
    if (!pointerDown)
        return;
    pointerDown = false;
    sendPointer("up", event);
});
canvas.addEventListener("pointercancel", (event) => {
    if (!pointerDown)
        return;
    pointerDown = false;
    sendPointer("cancel", event);
});

// Typing on the screen goes to the phone's keyboard, as key presses: Enter is
// Return (the reply field sends), Backspace deletes. Keys typed close together
// go out as one press of several keys.
let typed = "";
let typingTimer = null;
let typing = Promise.resolve();
function flushTyping() {
    clearTimeout(typingTimer);
    typingTimer = null;
    const keys = typed;
    typed = "";
    if (keys)
        typing = typing.then(() => play({ keys }));
    return typing;
}
function pressKey(key) {
    typed += key;
    clearTimeout(typingTimer);
    typingTimer = setTimeout(flushTyping, 100);
}
canvas.addEventListener("keydown", (event) => {
    if (event.ctrlKey || event.metaKey || event.altKey)
        return;
    if (event.key === "Enter") {
        event.preventDefault();
        typed += "\n";
        flushTyping();
    } else if (event.key === "Backspace") {
        event.preventDefault();
        pressKey("\b");
    } else if (event.key.length === 1) {
        event.preventDefault();
        pressKey(event.key);
    }
});

$("typeForm").addEventListener("submit", async (event) => {
    event.preventDefault();
    const text = $("typeText").value;
    if (text && (await play({ type: text })).error)
        return;
    if (!(await play({ key: "send" })).error) {
        $("typeText").value = "";
        say("sent");
    }
});

for (const button of document.querySelectorAll("[data-press]"))
    button.addEventListener("click", () => play({ press: button.dataset.press }));
$("tapBackdrop").addEventListener("click", () => play({ tapBackdrop: true }));
for (const button of document.querySelectorAll("[data-step]"))
    button.addEventListener("click", async () => {
        const answer = await play(JSON.parse(button.dataset.step));
        if (!answer.error)
            say(button.textContent.trim() + ": done");
        refreshState();
    });

// ---- The notification form -----------------------------------------------

const messagingApps = new Set(["net.whatsapp.WhatsApp", "net.whatsapp.WhatsAppSMB", "com.apple.MobileSMS",
    "com.atebits.Tweetie2", "com.tinyspeck.chatlyio", "com.hammerandchisel.discord", "com.burbn.instagram",
    "com.facebook.Messenger", "ph.telegra.Telegraph"]);

function chosenApp() {
    return $("app").value || $("otherApp").value.trim();
}

$("app").addEventListener("change", () => {
    $("otherAppRow").hidden = $("app").value !== "";
    const alarm = $("app").value === "com.apple.mobiletimer";
    $("actionSnooze").checked = alarm;
    $("actionStop").checked = alarm;
    $("picture").disabled = !messagingApps.has(chosenApp());
    const source = $("picture").selectedOptions[0];
    if (source.dataset.app && source.dataset.app !== chosenApp())
        $("picture").value = "";
});

// A picture source belongs to one app: choosing it chooses the app.
$("picture").addEventListener("change", () => {
    const app = $("picture").selectedOptions[0].dataset.app;
    if (app && $("app").value !== app) {
        $("app").value = app;
        $("otherAppRow").hidden = true;
    }
});

// The notification the form describes, or a reason why there is none.
function formNotification() {
    const app = chosenApp();
    if (!app)
        return { error: "name the app's bundle id" };
    const notification = { app };
    for (const [field, key] of [["title", "title"], ["subtitle", "subtitle"], ["body", "message"], ["thread", "thread"]]) {
        const value = $(field).value;
        if (value)
            notification[key] = value;
    }
    notification.options = { dismissAutomatically: $("dismissAutomatically").checked };
    const actions = {};
    const supplementary = [];
    if ($("actionClear").checked)
        actions.clear = "clear";
    if ($("actionStop").checked)
        actions.close = "stop";
    if ($("actionReply").checked)
        supplementary.push(app + ".reply");
    if ($("actionSnooze").checked)
        supplementary.push("com.apple.mobiletimer.MTAlarmSnoozeAction");
    if (supplementary.length)
        actions.supplementary = { default: supplementary };
    if (Object.keys(actions).length)
        notification.actions = actions;
    let userInfo = null;
    const picture = $("picture").disabled ? "" : $("picture").value;
    if (picture === "contact")
        userInfo = { CKBBContextKeySenderPersonCentricID: "5C1D2E3F-4A5B-4C6D-8E7F-9A0B1C2D3E4F" };
    if (picture === "whatsapp")
        notification.thread = "123@s.whatsapp.net";
    if (picture === "web")
        userInfo = { D: "annlee" };
    const raw = $("userInfo").value.trim();
    if (raw) {
        try {
            userInfo = JSON.parse(raw);
        } catch (error) {
            return { error: "the user info is not JSON: " + error.message };
        }
        if (typeof userInfo !== "object" || Array.isArray(userInfo) || userInfo === null)
            return { error: "the user info is a JSON object, such as {\"key\": \"value\"}" };
    }
    if (userInfo)
        notification.userInfo = userInfo;
    return { notification };
}

$("notifyForm").addEventListener("submit", async (event) => {
    event.preventDefault();
    const made = formNotification();
    if (made.error)
        return say(made.error, true);
    const answer = await play({ [$("toList").checked ? "notifyList" : "notify"]: made.notification });
    if (!answer.error)
        say("sent as " + answer.id);
});

// ---- Payload files ---------------------------------------------------------

async function pushPayload(file) {
    if (file.size > 1 << 20)
        return say(file.name + " is larger than a payload may be (1 MiB)", true);
    const text = await file.text();
    // A payload that names no app goes to the app chosen in the form.
    let app = "";
    try {
        const payload = JSON.parse(text);
        if (payload && typeof payload === "object" && !payload["Simulator Target Bundle"])
            app = chosenApp();
    } catch (error) {
        // The studio answers why it is no payload.
    }
    const answer = await request("POST", "api/push" + (app ? "?app=" + encodeURIComponent(app) : ""), text);
    if (answer.error)
        say(file.name + ": " + answer.error, true);
    else
        say(file.name + ": sent as " + answer.id);
}

document.addEventListener("dragover", (event) => {
    event.preventDefault();
    $("drop").classList.add("over");
});
document.addEventListener("dragleave", () => $("drop").classList.remove("over"));
document.addEventListener("drop", (event) => {
    event.preventDefault();
    $("drop").classList.remove("over");
    for (const file of event.dataTransfer.files)
        pushPayload(file);
});

// ---- Device, Messages and Settings ----------------------------------------

$("restartForm").addEventListener("submit", async (event) => {
    event.preventDefault();
    const hardware = {};
    if ($("systemVersion").value.trim())
        hardware.systemVersion = $("systemVersion").value.trim();
    if ($("screenSize").value)
        hardware.screen = JSON.parse($("screenSize").value);
    if (!Object.keys(hardware).length)
        return say("choose a system version or a screen", true);
    const answer = await request("POST", "api/device", hardware);
    if (!answer.error)
        say("restarted: " + answer.systemVersion + ", " + answer.screen.width + " × " + answer.screen.height + " points");
});

function showScreenSize(screen) {
    studio.screen = screen;
    canvas.style.aspectRatio = screen.width + " / " + screen.height;
}

// A restarted device has a trace of its own, from its start.
async function restarted(state) {
    studio.trace = [];
    traceTypes.clear();
    $("trace").replaceChildren();
    showScreenSize(state.screen);
    refreshState();
    const past = await request("GET", "api/trace");
    if (Array.isArray(past))
        for (const event of past)
            if (!studio.trace.some((seen) => JSON.stringify(seen) === JSON.stringify(event)))
                addTrace(event);
}

async function refreshState() {
    const state = await request("GET", "api/state");
    if (state.error)
        return;
    showScreenSize(state.screen);
    const facts = $("deviceInfo");
    facts.replaceChildren();
    for (const [name, value] of [["System version", state.systemVersion], ["Screen", state.screen.width + " × " + state.screen.height + " points"], ["Style", state.style], ["Device time", state.time.toFixed(1) + " s"], ["Steps so far", state.steps]]) {
        facts.append(Object.assign(document.createElement("dt"), { textContent: name }));
        facts.append(Object.assign(document.createElement("dd"), { textContent: value }));
    }
    const conversations = $("conversations");
    conversations.replaceChildren();
    for (const conversation of state.conversations)
        conversations.append(Object.assign(document.createElement("li"), { textContent: typeof conversation === "string" ? conversation : conversation.guid || JSON.stringify(conversation) }));
    const sent = $("sentMessages");
    sent.replaceChildren();
    for (const event of state.messages) {
        const item = document.createElement("li");
        item.className = event.type === "messages.sent" ? "sent" : "receipt";
        item.textContent = event.type === "messages.sent"
            ? `${event.t.toFixed(2)} s  to ${event.chat}: “${event.text}”`
            : `${event.t.toFixed(2)} s  read receipt for ${event.chat}`;
        sent.append(item);
    }
    if (!state.messages.length)
        sent.append(Object.assign(document.createElement("li"), { className: "quiet", textContent: "nothing sent yet" }));
}

function settingControl(page, row) {
    const change = async (value) => {
        const answer = await request("POST", "api/settings", { set: row.title, value, page: page.title });
        if (!answer.error) {
            say(row.title + ": " + answer.value);
            loadSettings();
        }
    };
    if (row.kind === "switch") {
        const box = Object.assign(document.createElement("input"), { type: "checkbox", checked: /^(on|yes|true|1)$/i.test(row.value) });
        box.addEventListener("change", () => change(box.checked ? "on" : "off"));
        return box;
    }
    if (row.kind === "button" || row.kind === "link") {
        if (row.kind === "link")
            return document.createTextNode("");
        const button = Object.assign(document.createElement("button"), { textContent: row.title });
        button.addEventListener("click", async () => {
            const answer = await request("POST", "api/settings", { tap: row.title, page: page.title });
            if (!answer.error)
                say(row.title + ": " + (answer.lines || []).join("; "));
            loadSettings();
        });
        return button;
    }
    if (row.kind === "slider" || row.kind === "choice" || row.kind === "segments" || row.kind === "value") {
        const input = Object.assign(document.createElement("input"), { value: row.value, size: 10 });
        input.addEventListener("change", () => change(input.value));
        return input;
    }
    return document.createTextNode(row.value || "");
}

async function loadSettings() {
    const answer = await request("GET", "api/settings");
    const holder = $("settingsPages");
    if (answer.error)
        return;
    holder.replaceChildren();
    for (const page of answer.pages) {
        const block = document.createElement("section");
        block.className = "settings-page";
        block.append(Object.assign(document.createElement("h2"), { textContent: page.title }));
        for (const section of page.sections) {
            if (section.header)
                block.append(Object.assign(document.createElement("h3"), { textContent: section.header }));
            const table = document.createElement("table");
            for (const row of section.rows) {
                if (row.kind === "link")
                    continue;
                const line = table.insertRow();
                line.insertCell().textContent = row.kind === "button" ? "" : row.title;
                line.insertCell().append(settingControl(page, row));
                line.insertCell().textContent = row.kind === "slider" || row.kind === "choice" ? row.kind : "";
            }
            block.append(table);
            if (section.footer)
                block.append(Object.assign(document.createElement("p"), { className: "quiet", textContent: section.footer }));
        }
        holder.append(block);
    }
}
$("reloadSettings").addEventListener("click", loadSettings);

// ---- The trace -------------------------------------------------------------

const traceTypes = new Set();

function summary(event) {
    const rest = Object.assign({}, event);
    delete rest.t;
    delete rest.type;
    const text = JSON.stringify(rest);
    return text.length > 160 ? text.slice(0, 157) + "…" : text;
}

function traceLine(event) {
    const item = document.createElement("li");
    item.dataset.type = event.type;
    const time = Object.assign(document.createElement("span"), { className: "t", textContent: Number(event.t).toFixed(3) });
    const type = Object.assign(document.createElement("span"), { className: "type", textContent: event.type });
    item.append(time, " ", type, " ", summary(event));
    return item;
}

function filterTrace() {
    const wanted = $("traceType").value;
    let shown = 0;
    for (const item of $("trace").children) {
        item.hidden = wanted !== "" && item.dataset.type !== wanted;
        if (!item.hidden)
            ++shown;
    }
    $("traceCount").textContent = shown + " of " + studio.trace.length + " events";
}

function addTrace(event) {
    studio.trace.push(event);
    if (!traceTypes.has(event.type)) {
        traceTypes.add(event.type);
        const options = [...traceTypes].sort();
        const select = $("traceType");
        const chosen = select.value;
        select.replaceChildren(Object.assign(document.createElement("option"), { value: "", textContent: "every type" }));
        for (const type of options)
            select.append(Object.assign(document.createElement("option"), { value: type, textContent: type }));
        select.value = chosen;
    }
    const item = traceLine(event);
    const wanted = $("traceType").value;
    item.hidden = wanted !== "" && event.type !== wanted;
    $("trace").append(item);
    $("traceCount").textContent = $("trace").querySelectorAll("li:not([hidden])").length + " of " + studio.trace.length + " events";
    if ($("traceFollow").checked && !item.hidden)
        item.scrollIntoView({ block: "nearest" });
    if (event.type.startsWith("messages.") || event.type === "preferences.changed")
        refreshState();
}
$("traceType").addEventListener("change", filterTrace);

// ---- Tabs, the event stream, start -----------------------------------------

for (const button of document.querySelectorAll(".tabs button"))
    button.addEventListener("click", () => {
        for (const other of document.querySelectorAll(".tabs button"))
            other.classList.toggle("active", other === button);
        for (const tab of document.querySelectorAll(".tab"))
            tab.classList.toggle("active", tab.id === "tab-" + button.dataset.tab);
        if (button.dataset.tab === "settings")
            loadSettings();
        else
            refreshState();
    });

$("save").href = withToken("api/scenario");

async function start() {
    await refreshState();
    const past = await request("GET", "api/trace");
    if (Array.isArray(past))
        for (const event of past)
            addTrace(event);
    const events = new EventSource(withToken("events"));
    events.addEventListener("open", () => {
        $("status").textContent = "live";
        $("status").className = "status live";
    });
    events.addEventListener("error", () => {
        $("status").textContent = "disconnected — is the studio still running?";
        $("status").className = "status down";
    });
    events.addEventListener("frame", (message) => showFrame(JSON.parse(message.data)));
    events.addEventListener("trace", (message) => addTrace(JSON.parse(message.data)));
    events.addEventListener("restart", (message) => restarted(JSON.parse(message.data)));
}
start();
