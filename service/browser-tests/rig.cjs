// What the browser tests stand on: the real korvena-emu on a pseudo-terminal,
// the real korvena-service in front of it (both from the build folder named
// by KORVENA_BUILD), each in a scratch folder, and Debian's Chromium driven
// headless. Nothing here downloads a browser.
"use strict";

const { spawn } = require("node:child_process");
const fs = require("node:fs");
const http = require("node:http");
const os = require("node:os");
const path = require("node:path");
const puppeteer = require("puppeteer-core");

const BUILD = path.resolve(process.env.KORVENA_BUILD || "build");
const ROOT = path.resolve(__dirname, "../..");
const PICTURES = process.env.KORVENA_PICTURES || "";
const TILL_TOKEN = "till-web-5a1f";
const SERVICE_TOKEN = "service-web-c07e";
const CHROMIUM = process.env.CHROMIUM || "/usr/bin/chromium";
const SETTLE_MS = 30000; // the longest anything here may take to show

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Resolves with the first match of `pattern` in what `stream` says, within `ms`.
function waitForLine(stream, pattern, ms, what) {
  return new Promise((resolve, reject) => {
    let seen = "";
    const timer = setTimeout(() => reject(new Error(`${what} did not start: ${seen}`)), ms);
    stream.on("data", (chunk) => {
      seen += chunk;
      const match = pattern.exec(seen);
      if (match) {
        clearTimeout(timer);
        resolve(match);
      }
    });
  });
}

async function until(condition, what, ms = SETTLE_MS) {
  const deadline = Date.now() + ms;
  for (;;) {
    const value = await condition();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await sleep(100);
  }
}

function stopped(child) {
  return child.exitCode !== null || child.signalCode !== null;
}

async function stop(child, signal = "SIGTERM") {
  if (!child || stopped(child)) return;
  const exited = new Promise((resolve) => child.once("exit", resolve));
  child.kill(signal);
  await exited;
}

// One shop: the emulated devices (COM1, COM2, …) and the service, in a folder of their own.
class Shop {
  constructor() {
    this.folder = fs.mkdtempSync(path.join(os.tmpdir(), "korvena-browser-"));
    this.tokens = path.join(this.folder, "tokens");
    fs.writeFileSync(this.tokens, `till ${TILL_TOKEN}\nservice ${SERVICE_TOKEN}\n`, { mode: 0o600 });
    this.port = 0;
    this.serviceErrors = "";
    this.devices = [];
    this.environment = { ...process.env };
  }

  // `emulator` adds to every korvena-emu's options, `service` to korvena-service's;
  // `tokens` false runs the service with --no-auth; `devices` says how many printers.
  static async open({ emulator = [], service = [], tokens = true, devices = 1 } = {}) {
    const shop = new Shop();
    for (let com = 1; com <= devices; ++com) await shop.startDevice(com, emulator);
    shop.serviceOptions = [...(tokens ? ["--tokens", shop.tokens] : ["--no-auth"]), ...service];
    await shop.startService();
    for (let com = 1; com <= devices; ++com) await shop.waitForDevice("ready", `COM${com}`);
    return shop;
  }

  // COM1's files keep the plain names the single-device tests read.
  fileOf(name, com) {
    return path.join(this.folder, com === 1 ? name : `COM${com}-${name}`);
  }

  async startDevice(com, options) {
    const device = spawn(path.join(BUILD, "bin/korvena-emu"),
      ["--com", String(com), "--journal", this.fileOf("printed.txt", com), "--log", this.fileOf("frames.log", com),
        ...options], { stdio: ["ignore", "pipe", "inherit"] });
    this.devices.push(device);
    const pattern = new RegExp(`^(KORVPORT_COM${com}=\\S+)\\n`, "m");
    const [, line] = await waitForLine(device.stdout, pattern, 10000, "korvena-emu");
    this.environment[line.split("=")[0]] = line.slice(line.indexOf("=") + 1);
  }

  // Starts the service, on the port it had before when it ran already.
  async startService() {
    const devices = this.devices.flatMap((device, i) => ["--device", `COM${i + 1}`]);
    const options = [...devices, "--journal", path.join(this.folder, "journal.db"), "--listen", `127.0.0.1:${this.port}`, ...this.serviceOptions];
    this.service = spawn(path.join(BUILD, "bin/korvena-service"), options,
      { env: this.environment, stdio: ["ignore", "ignore", "pipe"] });
    this.service.stderr.setEncoding("utf8");
    this.service.stderr.on("data", (text) => { this.serviceErrors += text; });
    const [, port] = await waitForLine(this.service.stderr, /listening on 127\.0\.0\.1:(\d+)/, 10000, "korvena-service");
    this.port = Number(port);
  }

  // The service dies as in a power cut: no chance to finish anything.
  async killService() {
    await stop(this.service, "SIGKILL");
  }

  url(target) {
    return `http://127.0.0.1:${this.port}${target}`;
  }

  async api(method, target, body, headers = {}) {
    const response = await fetch(this.url(target), {
      method, headers: { Authorization: `Bearer ${SERVICE_TOKEN}`, "Content-Type": "application/json", ...headers },
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    return { status: response.status, data: await response.json().catch(() => null) };
  }

  async waitForDevice(state, id = "COM1") {
    await until(async () => {
      const answer = await this.api("GET", "/v1/devices").catch(() => null);
      return answer && answer.status === 200 && answer.data.some((device) => device.id === id && device.state === state);
    }, `${id} to be ${state}`);
  }

  // What a device printed, and the receipts among it.
  printed(com = 1) {
    const file = this.fileOf("printed.txt", com);
    return fs.existsSync(file) ? fs.readFileSync(file, "latin1") : "";
  }

  receiptsPrinted(com = 1) {
    return (this.printed(com).match(/POKLADNICNY DOKLAD c\. \d+/g) || []).length;
  }

  frames(com = 1) {
    const file = this.fileOf("frames.log", com);
    return fs.existsSync(file) ? fs.readFileSync(file, "latin1") : "";
  }

  async close() {
    await stop(this.service);
    for (const device of this.devices) await stop(device);
    fs.rmSync(this.folder, { recursive: true, force: true });
  }
}

// A plain static file server for a folder, as a shop might put the till on
// any web server; what `overrides` holds (by name) replaces the folder's file.
async function serveFolder(folder) {
  const overrides = {};
  const types = { ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8",
    ".css": "text/css; charset=utf-8" };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://x").pathname).replace(/^\/+/, "") || "index.html";
    const file = path.join(folder, path.basename(name));
    const body = overrides[name] ?? (fs.existsSync(file) ? fs.readFileSync(file) : null);
    response.writeHead(body == null ? 404 : 200, { "Content-Type": types[path.extname(name)] || "text/plain" });
    response.end(body ?? "not found");
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return { server, overrides, origin: `http://127.0.0.1:${server.address().port}` };
}

async function launchBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "korvena-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    // Root needs --no-sandbox; the rest keep Chromium off a network it cannot reach.
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage", "--lang=en-US"],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A new tab at `url`, in `language` (the page picks its texts by it), that
// fails the test on any error the page's own script throws.
async function openPage(browser, url, { language = "en-US", width = 1200, height = 900 } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height });
  await page.evaluateOnNewDocument((lang) => {
    Object.defineProperty(navigator, "language", { get: () => lang });
    Object.defineProperty(navigator, "languages", { get: () => [lang] });
  }, language);
  page.errors = [];
  page.on("pageerror", (error) => page.errors.push(error.message));
  page.setDefaultTimeout(SETTLE_MS);
  await page.goto(url, { waitUntil: "domcontentloaded" });
  return page;
}

async function signIn(page, token) {
  await page.waitForSelector("#auth-token", { visible: true });
  await page.type("#auth-token", token);
  await page.keyboard.press("Enter");
  await page.waitForSelector("#auth", { hidden: true });
}

// The text of the first element `selector` finds, once `pattern` is in it.
async function waitForText(page, selector, pattern) {
  try {
    await page.waitForFunction((s, source, flags) => {
      const element = document.querySelector(s);
      return element && new RegExp(source, flags).test(element.innerText);
    }, {}, selector, pattern.source, pattern.flags);
  } catch (error) {
    // What the page showed instead says more than the timeout.
    const shown = await page.$eval(selector, (element) => element.innerText).catch(() => "(nothing)");
    throw new Error(`${selector} never showed ${pattern}: ${error.message}; it shows: ${shown}`);
  }
  return page.$eval(selector, (element) => element.innerText);
}

async function picture(page, name) {
  if (!PICTURES) return;
  fs.mkdirSync(PICTURES, { recursive: true });
  await page.screenshot({ path: path.join(PICTURES, name), fullPage: true });
}

module.exports = {
  ROOT, TILL_TOKEN, SERVICE_TOKEN, Shop, serveFolder, launchBrowser, openPage, signIn, waitForText, picture, until,
};
