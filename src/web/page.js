// The page around the program: the two panels' controls built from the
// settings table, the keys and the pointer of the scene, the address that
// carries the settings, downloads and opening a settings file. Every change
// goes through the program's hooks; the controls then show its values.
"use strict";

var Module = {
  canvas: null,
  printErr: function (text) { console.error(text); },
  postRun: [function () { tresolva.start(); }],
};

var tresolva = (function () {
  // Texts cross into the module through its heap, never its stack, which
  // a large file would overrun: a text (or bytes) becomes two arguments,
  // where its bytes lie and how many there are.
  const encoder = new TextEncoder();
  function call(name, ret, args) {
    const flat = [], held = [];
    for (const a of args || []) {
      if (typeof a === "number") { flat.push(a); continue; }
      const bytes = typeof a === "string" ? encoder.encode(a) : a;
      const at = Module._malloc(bytes.length + 1);
      held.push(at);
      Module.HEAPU8.set(bytes, at);
      Module.HEAPU8[at + bytes.length] = 0;
      flat.push(at, bytes.length);
    }
    try { return Module.ccall(name, ret, flat.map(() => "number"), flat); }
    finally { held.forEach((at) => Module._free(at)); }
  }
  const hook = {
    canDraw: () => call("tresolva_can_draw", "number") === 1,
    layout: () => JSON.parse(call("tresolva_layout", "string")),
    values: () => JSON.parse(call("tresolva_values", "string")),
    type: (key, text) => call("tresolva_type", null, [key, text]),
    arrow: (key, way, dy) => call("tresolva_arrow", null, [key, way, dy]),
    choose: (key, value) => call("tresolva_choose", null, [key, value]),
    press: (name) => call("tresolva_press", null, [name]),
    key: (code) => call("tresolva_key", null, [code]),
    gesture: (kind, dx, dy) => call("tresolva_gesture", null, [kind, dx, dy]),
    resize: (w, h, ratio) => call("tresolva_resize", null, [w, h, ratio]),
    tooLarge: (bytes) => call("tresolva_too_large", "string", [bytes]),
    link: () => call("tresolva_link", "string"),
    openLink: (query) => call("tresolva_open_link", "string", [query]),
    settings: (bytes, name) => call("tresolva_settings", "string", [bytes, name]),
    exported: () => call("tresolva_export", "string"),
    readout: () => call("tresolva_readout", "string"),
    state: () => call("tresolva_state", "string"),
  };
  const GESTURE = { rotate: 0, pan: 1, zoomKey: 2, wheel: 3, pinch: 4 };
  const $ = (id) => document.getElementById(id);
  const controls = []; // {key, show(value)}: each control and how it shows a value

  // ======== After every change ==========================================================
  let addressTimer = 0;
  function changed() {
    const values = hook.values();
    for (const c of controls) c.show(values[c.key]);
    clearTimeout(addressTimer);
    addressTimer = setTimeout(writeAddress, 300);
  }
  function act(f) {
    return function () { f.apply(null, arguments); changed(); };
  }
  // A message over the scene, for a while; never resizing the scene.
  const SAY_MS = 10000, SAY_LINES = 5;
  let sayTimer = 0;
  function say(text) {
    $("message").textContent = text;
    clearTimeout(sayTimer);
    if (text) sayTimer = setTimeout(() => say(""), SAY_MS);
  }
  // The first of many lines, and how many more there are.
  function summarised(lines) {
    if (lines.length <= SAY_LINES) return lines.join("\n");
    const more = lines.length - SAY_LINES;
    return lines.slice(0, SAY_LINES).join("\n") + "\n… and " + more.toLocaleString("en") + " more";
  }

  // ======== Controls ==================================================================
  function element(tag, props, children) {
    const e = Object.assign(document.createElement(tag), props || {});
    for (const c of children || []) e.append(c);
    return e;
  }
  const staticText = (text) => element("div", { className: "static", textContent: text });
  const separator = () => element("hr");

  // A number's field and its arrows, by the desktop's rules: typed text
  // takes effect on Enter or leaving the field, Esc abandons it; a click
  // on an arrow (or an arrow key in the field) steps, a drag changes it.
  function spinner(key, label) {
    const id = "f-" + key;
    const field = element("input", { id: id, type: "text", inputMode: "decimal", autocomplete: "off",
                                     spellcheck: false });
    let editing = false;
    field.addEventListener("focus", () => { editing = true; field.select(); });
    field.addEventListener("blur", () => { if (editing) act(hook.type)(key, field.value); editing = false; });
    field.addEventListener("keydown", (e) => {
      if (e.key === "Enter") { act(hook.type)(key, field.value); field.select(); }
      else if (e.key === "Escape") { editing = false; changed(); field.blur(); }
      else if (e.key === "ArrowUp" || e.key === "ArrowDown") {
        e.preventDefault();
        act(hook.arrow)(key, e.key === "ArrowUp" ? 1 : -1, 0);
        field.select();
      } else return;
      e.stopPropagation();
    });
    const arrows = [[1, "▲", " up"], [-1, "▼", " down"]].map(([way, glyph, name]) => {
      const b = element("button", { type: "button", textContent: glyph, tabIndex: -1 });
      b.setAttribute("aria-label", label + name);
      let lastY = null, dragged = false;
      b.addEventListener("pointerdown", (e) => { lastY = e.clientY; dragged = false; b.setPointerCapture(e.pointerId); });
      b.addEventListener("pointermove", (e) => {
        if (lastY === null || e.clientY === lastY) return;
        act(hook.arrow)(key, 0, e.clientY - lastY);
        lastY = e.clientY, dragged = true;
      });
      b.addEventListener("pointerup", () => { lastY = null; });
      b.addEventListener("click", () => { if (!dragged) act(hook.arrow)(key, way, 0); dragged = false; });
      return b;
    });
    controls.push({ key: key, show: (v) => { if (!editing || document.activeElement !== field) field.value = v; } });
    return element("div", { className: "spinner" },
                   [element("label", { className: "label", htmlFor: id, textContent: label }), field, ...arrows]);
  }

  function checkbox(key, label) {
    const box = element("input", { type: "checkbox", id: "f-" + key });
    box.addEventListener("change", () => act(hook.choose)(key, box.checked ? 1 : 0));
    controls.push({ key: key, show: (v) => { box.checked = v === 1; } });
    return element("label", { className: "label" }, [box, label]);
  }

  function radios(key, choices) {
    const buttons = choices.map((c) => {
      const b = element("input", { type: "radio", name: key, value: c.value });
      b.addEventListener("change", () => act(hook.choose)(key, c.value));
      return b;
    });
    controls.push({ key: key, show: (v) => buttons.forEach((b) => { b.checked = Number(b.value) === v; }) });
    const rows = document.createDocumentFragment();
    rows.append(...buttons.map((b, k) => element("div", {}, [element("label", { className: "label" }, [b, choices[k].label])])));
    return rows;
  }

  function listbox(key, label, choices) {
    const id = "f-" + key;
    const list = element("select", { id: id }, choices.map((c) => element("option", { value: c.value, textContent: c.label })));
    list.addEventListener("change", () => act(hook.choose)(key, Number(list.value)));
    list.addEventListener("keydown", (e) => e.stopPropagation());
    controls.push({ key: key, show: (v) => { list.value = String(v); } });
    return element("div", { className: "listbox" }, [element("label", { className: "label", htmlFor: id, textContent: label }), list]);
  }

  function button(label, action) {
    const b = element("button", { type: "button", textContent: label });
    b.addEventListener("click", action);
    return b;
  }

  // What each press of the panels' table does on the page.
  const PRESSES = {
    reset: act(() => { hook.press("reset"); say(""); }),
    initial: act(() => hook.press("initial")),
    download_picture: () => downloadPicture(),
    download_settings: () => downloadSettings(),
    open_settings: () => $("openfile").click(),
    copy_link: () => copyLink(),
  };
  // The element of one control of the panels' table.
  function made(c) {
    switch (c.widget) {
      case "group": return element("fieldset", {}, [element("legend", { textContent: c.text })]);
      case "rollout": return element("details", {}, [element("summary", { textContent: c.text })]);
      case "row": return element("div", { id: c.key });
      case "radios": return radios(c.key, c.choices);
      case "spinner": return spinner(c.key, c.text);
      case "list": return listbox(c.key, c.text, c.choices);
      case "check": return checkbox(c.key, c.text);
      case "button": return button(c.text, PRESSES[c.press]);
      case "text": return staticText(c.text);
      case "separator": return separator();
    }
    return null;
  }
  // A panel from its rows of the table: a group, rollout or row holds what
  // follows it up to its end.
  function buildPanel(controls, panel) {
    const open = [panel];
    for (const c of controls) {
      if (c.widget === "end") { open.pop(); continue; }
      const e = made(c);
      if (e) open[open.length - 1].append(e);
      if (c.widget === "group" || c.widget === "rollout" || c.widget === "row") open.push(e);
    }
  }

  // ======== Keys ======================================================================
  const toggle = (id) => { $(id).hidden = !$(id).hidden; showNumbers(); };
  // What each act of the key table does on the page.
  const ACTS = {
    step: (k) => act(hook.key)(k.ch),
    reseed: (k) => act(hook.key)(k.ch),
    numbers: () => toggle("readout"),
    help: () => toggle("help"),
    keep: () => { downloadPicture(); downloadSettings(); },
  };
  let keys = []; // the key table's rows for the page
  // The arrow keys on the focused scene: what a drag of this many pixels does.
  const ARROW_PX = 10;
  const ARROWS = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
  let zHeld = false;
  const typing = (e) => e.target.matches && e.target.matches("input[type=text], select, textarea");
  const pressing = (e) => e.target.matches && e.target.matches("button, input[type=checkbox], input[type=radio], summary");

  // A key's row: by its character (Ctrl and a letter give the control
  // character, as on the desktop) or its function key.
  function keyRow(e) {
    const single = e.key.length === 1, f = /^F([0-9]+)$/.exec(e.key);
    const ch = !single ? 0 : e.ctrlKey ? e.key.toLowerCase().charCodeAt(0) & 31 : e.key.charCodeAt(0);
    return keys.find((k) => k.act && ((ch && k.ch === ch) || (f && k.fkey === Number(f[1]))));
  }
  function keyDown(e) {
    if (typing(e) || e.altKey || e.metaKey) return;
    if (ARROWS[e.key] && !e.ctrlKey && e.target === $("scene")) {
      e.preventDefault();
      const [dx, dy] = ARROWS[e.key];
      act(hook.gesture)(e.shiftKey ? GESTURE.pan : GESTURE.rotate, dx * ARROW_PX, dy * ARROW_PX);
      return;
    }
    if (e.key === "z" && !e.ctrlKey) zHeld = true;
    const k = keyRow(e);
    if (!k || (e.key === " " && pressing(e))) return;
    e.preventDefault();
    ACTS[k.act](k);
  }
  function keyUp(e) { if (e.key === "z" || e.key === "Z") zHeld = false; }

  // ======== Pointer ===================================================================
  // A left button or one finger turns, a right button or two fingers move
  // (and a pinch zooms); with z held, moving the mouse up zooms in.
  const pointers = new Map(); // id -> last {x, y}
  let dragKind = null;
  let hoverY = 0; // the pointer's last height, for the zoom gesture

  function centre() {
    const p = [...pointers.values()];
    return { x: (p[0].x + p[1].x) / 2, y: (p[0].y + p[1].y) / 2, d: Math.hypot(p[0].x - p[1].x, p[0].y - p[1].y) };
  }

  function pointerDown(e) {
    $("scene").focus();
    $("scene").setPointerCapture(e.pointerId);
    pointers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    if (e.pointerType === "touch") dragKind = pointers.size >= 2 ? GESTURE.pan : GESTURE.rotate;
    else dragKind = e.button === 2 ? GESTURE.pan : e.button === 0 ? GESTURE.rotate : dragKind;
  }

  function pointerMove(e) {
    const last = pointers.get(e.pointerId);
    const hoverDy = e.clientY - hoverY;
    hoverY = e.clientY;
    if (!last) {
      if (zHeld && hoverDy) act(hook.gesture)(GESTURE.zoomKey, 0, hoverDy);
      return;
    }
    const before = pointers.size === 2 ? centre() : null;
    pointers.set(e.pointerId, { x: e.clientX, y: e.clientY });
    if (before) {
      const now = centre();
      act(hook.gesture)(GESTURE.pan, now.x - before.x, now.y - before.y);
      if (now.d !== before.d) act(hook.gesture)(GESTURE.pinch, 0, now.d - before.d);
    } else if (pointers.size === 1 && dragKind !== null) {
      act(hook.gesture)(dragKind, e.clientX - last.x, e.clientY - last.y);
    }
  }

  function pointerUp(e) {
    pointers.delete(e.pointerId);
    if (e.pointerType === "touch" && pointers.size === 1) dragKind = GESTURE.rotate;
  }

  function wheel(e) {
    e.preventDefault();
    if (e.deltaY) act(hook.gesture)(GESTURE.wheel, 0, Math.sign(e.deltaY));
  }

  // ======== Address, downloads, files ==========================================================
  function linkQuery() {
    const q = new URLSearchParams();
    for (const line of hook.link().split("\n")) {
      const eq = line.indexOf("=");
      if (eq > 0) q.append(line.slice(0, eq), line.slice(eq + 1));
    }
    return q.toString();
  }
  function writeAddress() {
    const q = linkQuery();
    history.replaceState(null, "", location.pathname + (q ? "?" + q : ""));
  }

  function openLink() {
    const query = location.search.slice(1), big = hook.tooLarge(query.length);
    if (big) { say("This link is not read: " + big + "; the page starts at its start-up settings"); return; }
    const refused = hook.openLink(query).split("\n").filter((line) => line);
    if (refused.length)
      say("This link's settings were not all taken; these start at their start-up values instead:\n" +
          summarised(refused));
  }

  function save(blob, name) {
    const a = element("a", { href: URL.createObjectURL(blob), download: name });
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 10000);
  }
  function downloadPicture() { $("scene").toBlob((b) => save(b, "tresolva.png"), "image/png"); }
  function downloadSettings() { save(new Blob([hook.exported()], { type: "application/toml" }), "tresolva.toml"); }

  function openFile() {
    const file = $("openfile").files[0];
    if (!file) return;
    $("openfile").value = "";
    const big = hook.tooLarge(file.size);
    if (big) { say("Not opened: " + file.name + ": " + big + "; tresolva-batch reads it"); return; }
    file.arrayBuffer().then((bytes) => {
      const refused = hook.settings(new Uint8Array(bytes), file.name);
      say(refused ? "Not opened: " + refused : "Opened " + file.name);
      changed();
    });
  }

  function copyLink() {
    writeAddress();
    const done = () => say("Link copied: " + location.href);
    if (navigator.clipboard) navigator.clipboard.writeText(location.href).then(done, () => say("The link: " + location.href));
    else say("The link: " + location.href);
  }

  // ======== Numbers over the scene ==========================================================
  function showNumbers() {
    const [readout, notice] = hook.readout().split("\n\n");
    if (!$("readout").hidden) $("readout").textContent = readout;
    const notices = (notice || "").trim();
    $("notice").hidden = !notices;
    $("notice").textContent = notices;
  }

  // The canvas is drawn at the screen's own pixels, sharp at any density.
  function fitCanvas() {
    const box = $("scenebox"), ratio = window.devicePixelRatio || 1;
    hook.resize(Math.max(1, Math.round(box.clientWidth * ratio)), Math.max(1, Math.round(box.clientHeight * ratio)),
                ratio);
  }
  // A window moved to another screen, or the page zoomed, changes the ratio.
  function watchRatio() {
    matchMedia("(resolution: " + window.devicePixelRatio + "dppx)")
      .addEventListener("change", () => { fitCanvas(); watchRatio(); }, { once: true });
  }

  const NO_WEBGL2 = "This page draws the attractor with WebGL2, which this browser does not give it.\n\n" +
    "Open the page in a current Firefox, Chrome, Edge or Safari (version 15 or later). If that browser " +
    "still shows this, WebGL is switched off: in Chrome or Edge turn on \"Use graphics acceleration when " +
    "available\" (Settings, System); in Firefox set webgl.disabled to false in about:config; then reload. " +
    "On a school computer, ask whoever runs it to allow WebGL.\n\n" +
    "The desktop program and tresolva-batch draw the same pictures without a browser.";

  // ======== Start ======================================================================
  function start() {
    if (!hook.canDraw()) {
      $("nowebgl").textContent = NO_WEBGL2;
      $("nowebgl").hidden = false;
      document.body.dataset.ready = "1";
      return;
    }
    const layout = hook.layout();
    buildPanel(layout.right, $("right"));
    buildPanel(layout.bottom, $("bottom"));
    keys = layout.keys;
    $("help").append(element("table", {}, keys.map((k) => element("tr", {}, [element("td", { textContent: k.keys }), element("td", { textContent: k.help })]))));
    $("keys").append(...keys.filter((k) => k.button).map((k) => button(k.button, () => ACTS[k.act](k))));
    openLink();
    fitCanvas();
    new ResizeObserver(fitCanvas).observe($("scenebox"));
    watchRatio();
    const scene = $("scene");
    scene.addEventListener("pointerdown", pointerDown);
    scene.addEventListener("pointermove", pointerMove);
    scene.addEventListener("pointerup", pointerUp);
    scene.addEventListener("pointercancel", pointerUp);
    scene.addEventListener("wheel", wheel, { passive: false });
    scene.addEventListener("contextmenu", (e) => e.preventDefault());
    document.addEventListener("pointermove", (e) => { if (e.target !== scene) pointerMove(e); });
    document.addEventListener("keydown", keyDown);
    document.addEventListener("keyup", keyUp);
    $("openfile").addEventListener("change", openFile);
    setInterval(showNumbers, 250);
    const values = hook.values();
    for (const c of controls) c.show(values[c.key]);
    document.body.dataset.ready = "1";
  }

  return { start: start, hook: hook };
})();

document.addEventListener("DOMContentLoaded", () => { Module.canvas = document.getElementById("scene"); });
