// The status page of korvena-service: its devices, their values and the
// last jobs, kept up to date from the event stream. It runs in the shop
// without internet, so it loads nothing but its own three files.
"use strict";

const TOKEN_KEY = "korvena-service.token";
const JOBS_SHOWN = 30;

const TEXTS = {
  en: {
    title: "korvena-service status", devices: "Devices", jobs: "Last jobs", noJobs: "No jobs yet.",
    noDevices: "No devices.", version: "Version", serial: "Serial number", dkp: "DKP", dic: "DIČ",
    baud: "Line speed", bd: "Bd", queue: "Queued jobs", statusValues: "Status values", asOf: "as of",
    never: "not read yet", pause: "Pause", resume: "Resume", pauseWhy: "Pause hands the port over to Kalibro; receipts wait meanwhile.",
    printed: "It printed", notPrinted: "It did not print", evidence: "Evidence", frames: "Frames sent",
    request: "Request", printout: "Printout", resolved: "Resolved.", total: "Total", document: "Document",
    unknownWhy: "Whether this document printed cannot be told. The device takes no other job until a person looks at the paper and says.",
    unknownAsk: "A technician with the service role decides here.",
    tokenWhy: "The service needs an access token.", tokenBad: "That token was not accepted.",
    tokenLabel: "Access token", tokenSubmit: "Use token", changeToken: "Use another token",
    roleTill: "Signed in: till", roleService: "Signed in: service", roleOpen: "No tokens needed",
    forbidden: "This token's role may not do that.", failed: "Request failed",
    live: "Live", waiting: "Connecting…", dropped: (s) => `Connection lost, trying again in ${s} s`,
    reset: "Missed some events; read everything afresh.",
    closing: (d, date) => `${d} made a daily closing without the service (${date}).`,
    jobSays: (k, s) => `Job ${k}: ${s}`, devSays: (d, s) => `${d}: ${s}`,
    groups: { identity: "Identity and dates", vat: "VAT coefficients", turnover: "Turnover and GT totals",
      day: "The day's VAT", payments: "Payments and documents", other: "Other values" },
    dev: { connecting: "connecting", ready: "ready", busy: "busy", lost: "not answering", blocked: "blocked",
      paused: "paused" },
    job: { accepted: "waiting", running: "printing", done: "done", failed: "failed", unknown: "outcome unknown" },
    kind: { receipt: "receipt", invoice: "invoice", cash: "cash slip", report: "report", copy: "copy",
      command: "command" },
    meaning: {
      dkp: "tax office number", dic: "tax number", icDph: "VAT number", ico: "company number",
      registerFlags: "register flags", eepromWrites: "EEPROM writes", serialNumber: "serial number",
      commissioningDate: "commissioned", lastServiceDate: "last service", lastClosingDate: "last daily closing",
      automaticClosing: "automatic closing", documentsAtClosing: "document at last closing",
      fiscalMemoryCrc1: "fiscal memory check sums", vatCoefficient1: "in 0.01 %", netTurnover: "net turnover",
      negativeTurnover: "negative turnover", deposits: "deposits [count]", withdrawals: "withdrawals [count]",
      gtItems: "items", gtSurcharges: "surcharges", gtDiscounts: "discounts", gtStorno: "stornos",
      gtNegativeItems: "negative items", gtReturnedGoods: "returned goods", gtNd: "GTnd", gtInvoices: "invoices",
      salesAtRate0: "sales at 0 %", baseOfRate: "base", vatOfRate: "VAT", rounding: "rounding",
      payments: ["cash", "card", "credit", "invoice", "means 5", "means 6"],
      lastDocument: "last document", salesDocuments: "receipts and invoices" },
  },
  sk: {
    title: "Stav služby korvena-service", devices: "Zariadenia", jobs: "Posledné úlohy", noJobs: "Zatiaľ žiadne úlohy.",
    noDevices: "Žiadne zariadenia.", version: "Verzia", serial: "Výrobné číslo", dkp: "DKP", dic: "DIČ",
    baud: "Rýchlosť linky", bd: "Bd", queue: "Úlohy vo fronte", statusValues: "Stavové hodnoty", asOf: "stav k",
    never: "zatiaľ neprečítané", pause: "Pozastaviť", resume: "Obnoviť",
    pauseWhy: "Pozastavenie uvoľní port pre Kalibro; doklady medzitým čakajú.",
    printed: "Vytlačilo sa", notPrinted: "Nevytlačilo sa", evidence: "Dôkazy", frames: "Odoslané rámce",
    request: "Požiadavka", printout: "Výtlačok", resolved: "Vyriešené.", total: "Spolu", document: "Doklad",
    unknownWhy: "Nedá sa zistiť, či sa tento doklad vytlačil. Zariadenie neprijme inú úlohu, kým sa niekto nepozrie na papier a nerozhodne.",
    unknownAsk: "Rozhoduje tu technik s rolou service.",
    tokenWhy: "Služba vyžaduje prístupový token.", tokenBad: "Tento token nebol prijatý.",
    tokenLabel: "Prístupový token", tokenSubmit: "Použiť token", changeToken: "Použiť iný token",
    roleTill: "Prihlásený: pokladnica", roleService: "Prihlásený: servis", roleOpen: "Bez tokenov",
    forbidden: "Rola tohto tokenu to nedovoľuje.", failed: "Požiadavka zlyhala",
    live: "Naživo", waiting: "Pripájam…", dropped: (s) => `Spojenie prerušené, nový pokus o ${s} s`,
    reset: "Niektoré udalosti sa zmeškali; všetko sa načítalo nanovo.",
    closing: (d, date) => `${d} urobilo dennú uzávierku mimo služby (${date}).`,
    jobSays: (k, s) => `Úloha ${k}: ${s}`, devSays: (d, s) => `${d}: ${s}`,
    groups: { identity: "Identita a dátumy", vat: "Koeficienty DPH", turnover: "Obrat a súčty GT",
      day: "DPH dňa", payments: "Platby a doklady", other: "Ostatné hodnoty" },
    dev: { connecting: "pripája sa", ready: "pripravené", busy: "zaneprázdnené", lost: "neodpovedá",
      blocked: "zablokované", paused: "pozastavené" },
    job: { accepted: "čaká", running: "tlačí sa", done: "hotová", failed: "zlyhala", unknown: "neznámy výsledok" },
    kind: { receipt: "pokladničný doklad", invoice: "faktúra", cash: "vklad/výber", report: "uzávierka",
      copy: "kópia", command: "príkaz" },
    meaning: {
      dkp: "daňový kód pokladnice", dic: "daňové identifikačné číslo", icDph: "IČ pre DPH", ico: "identifikačné číslo",
      registerFlags: "register modulu", eepromWrites: "zápisy do EEPROM", serialNumber: "výrobné číslo",
      commissioningDate: "uvedenie do prevádzky", lastServiceDate: "posledný servis",
      lastClosingDate: "posledná denná uzávierka", automaticClosing: "automatická uzávierka",
      documentsAtClosing: "doklad pri uzávierke", fiscalMemoryCrc1: "kontrolné súčty fiškálnej pamäte",
      vatCoefficient1: "v 0,01 %", netTurnover: "čistý obrat", negativeTurnover: "záporný obrat",
      deposits: "vklady [počet]", withdrawals: "výbery [počet]", gtItems: "položky", gtSurcharges: "prirážky",
      gtDiscounts: "zľavy", gtStorno: "storná", gtNegativeItems: "záporné položky", gtReturnedGoods: "vrátený tovar",
      gtNd: "GTnd", gtInvoices: "faktúry", salesAtRate0: "predaj pri 0 %", baseOfRate: "základ", vatOfRate: "DPH",
      payments: ["hotovosť", "karta", "úver", "faktúra", "platidlo 5", "platidlo 6"], rounding: "zaokrúhlenie", lastDocument: "posledný doklad",
      salesDocuments: "pokladničné doklady a faktúry" },
  },
};
const LANG = (navigator.languages || [navigator.language || ""]).some((l) => /^sk\b/i.test(l)) ? "sk" : "en";
const T = TEXTS[LANG];

// The status display as the service program lays it out: its groups, its
// captions, and which values each row shows: [caption, value, its count],
// or [caption, [values], "sums" for check sums].
const PAYMENT_NAMES = ["paymentCash", "paymentCard", "paymentCredit", "paymentInvoice", "paymentMeans5", "paymentMeans6"];
const STATUS_GROUPS = [
  ["identity", [["Verzia:", "versionText"], ["DKP:", "dkp"], ["DIČ:", "dic"], ["IČ DPH:", "icDph"], ["IČO:", "ico"],
    ["Register:", "registerFlags"], ["Weeprom:", "eepromWrites"], ["SN:", "serialNumber"],
    ["DUDP:", "commissioningDate"], ["DServ:", "lastServiceDate"], ["DUDate:", "lastClosingDate"],
    ["DDate:", "automaticClosing"], ["DUDocs:", "documentsAtClosing"],
    ["CRC:", ["fiscalMemoryCrc1", "fiscalMemoryCrc2"], "sums"]]],
  ["vat", [["kDPH (v 0.01%):", ["vatCoefficient1", "vatCoefficient2", "vatCoefficient3", "vatCoefficient4"]]]],
  ["turnover", [["Čistý obrat:", "netTurnover"], ["Záporný obrat:", "negativeTurnover"],
    ["Vklad:", "deposits", "depositCount"], ["Výber:", "withdrawals", "withdrawalCount"],
    ["GTpl:", "gtItems", "gtItemsCount"], ["GTpr:", "gtSurcharges", "gtSurchargesCount"],
    ["GTzl:", "gtDiscounts", "gtDiscountsCount"], ["GTst:", "gtStorno", "gtStornoCount"],
    ["GTmi:", "gtNegativeItems", "gtNegativeItemsCount"], ["GTvr:", "gtReturnedGoods", "gtReturnedGoodsCount"],
    ["GTnd:", "gtNd", "gtNdCount"], ["GTfa:", "gtInvoices", "gtInvoiceCount"]]],
  ["day", [["z0", "salesAtRate0"], ...[1, 2, 3, 4].flatMap((r) => [[`z${r}`, `baseOfRate${r}`], [`d${r}`, `vatOfRate${r}`]])]],
  ["payments", [...PAYMENT_NAMES.map((name, i) => [`plat${i + 1}:`, name]), ["zaokr:", "rounding"],
    ["docs:", "lastDocument"], ["docs2:", "salesDocuments"]]],
];
const NOT_SHOWN = new Set(["id", "state", "asOf"]);

const $ = (id) => document.getElementById(id);

// Builds elements with text only, so nothing the service sends is read as HTML.
function h(tag, attributes, ...children) {
  const element = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes || {})) {
    if (name === "class") element.className = value;
    else if (name.startsWith("on")) element.addEventListener(name.slice(2), value);
    else if (value !== false && value != null) element.setAttribute(name, value === true ? "" : value);
  }
  for (const child of children.flat()) if (child != null) element.append(child);
  return element;
}

function announce(text) {
  $("live").textContent = "";
  setTimeout(() => { $("live").textContent = text; }, 50);
}

function notice(text) {
  const element = $("notice");
  element.textContent = text;
  element.hidden = !text;
}

function localTime(iso) {
  return iso ? new Date(iso).toLocaleString(LANG === "sk" ? "sk-SK" : "en-GB") : "";
}

/* ---- tokens: asked for when the service answers 401, kept for this tab only ---- */

let token = sessionStorage.getItem(TOKEN_KEY) || "";
let role = null; // "till" or "service" once known
let tokensNeeded = true;
let tokenWait = null;

function askForToken(refused) {
  if (tokenWait) return tokenWait;
  if (refused) forgetToken();
  tokenWait = new Promise((resolve) => {
    const form = $("auth");
    $("auth-why").textContent = refused ? T.tokenBad : T.tokenWhy;
    $("auth-why").className = refused ? "msg err" : "msg";
    form.hidden = false;
    $("auth-token").value = "";
    $("auth-token").focus();
    form.onsubmit = (event) => {
      event.preventDefault();
      const value = $("auth-token").value.trim();
      if (!value) return;
      token = value;
      sessionStorage.setItem(TOKEN_KEY, token);
      form.hidden = true;
      tokenWait = null;
      resolve(token);
    };
  });
  return tokenWait;
}

function forgetToken() {
  token = "";
  sessionStorage.removeItem(TOKEN_KEY);
}

function authorised(headers) {
  const all = Object.assign({}, headers);
  if (token) all.Authorization = "Bearer " + token;
  return all;
}

// A call of the API, asking for a token as often as the service refuses one.
async function api(method, path, body) {
  for (;;) {
    const sent = token;
    const response = await fetch(path, {
      method, cache: "no-store",
      headers: authorised(body === undefined ? {} : { "Content-Type": "application/json" }),
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    if (response.status === 401) {
      await askForToken(sent !== "");
      continue;
    }
    let data = null;
    try { data = await response.json(); } catch { /* an empty or non-JSON body */ }
    return { status: response.status, ok: response.ok, data };
  }
}

function errorText(answer) {
  if (answer.status === 403) return T.forbidden;
  const error = answer.data && answer.data.error;
  return `${T.failed} (${answer.status}${error ? ": " + error.message : ""})`;
}

async function learnRole() {
  const answer = await api("GET", "/v1/token");
  if (!answer.ok) return notice(errorText(answer));
  role = answer.data.role;
  tokensNeeded = answer.data.tokens;
  $("role").textContent = !tokensNeeded ? T.roleOpen : role === "service" ? T.roleService : T.roleTill;
  $("change-token").hidden = !tokensNeeded;
  for (const device of devices.values()) renderDevice(device);
  for (const job of jobs.values()) renderJob(job);
}

/* ---- devices ---- */

const devices = new Map(); // id -> { data, status, statusTimer, element: {...} }

function badge(state, names) {
  return h("span", { class: "badge " + state }, names[state] || state);
}

function deviceCard(id) {
  let device = devices.get(id);
  if (device) return device;
  const element = {
    state: h("span"), facts: h("dl"), status: h("div", { class: "status-groups" }), asOf: h("span", { class: "muted" }),
    message: h("p", { class: "msg err", hidden: true }),
    pause: h("button", { type: "button", onclick: () => pauseOrResume(id, "pause") }, T.pause),
    resume: h("button", { type: "button", onclick: () => pauseOrResume(id, "resume") }, T.resume),
  };
  element.actions = h("div", { class: "actions", title: T.pauseWhy }, element.pause, element.resume);
  element.card = h("article", { class: "card device", "data-device": id, "aria-labelledby": "device-" + id },
    h("div", { class: "row" }, h("h3", { id: "device-" + id }, id), element.state),
    element.facts, element.actions, element.message,
    h("details", { class: "status" }, h("summary", {}, T.statusValues, " ", element.asOf), element.status));
  $("devices").querySelector("p.muted")?.remove();
  $("devices").append(element.card);
  device = { data: { id }, element, statusTimer: 0 };
  devices.set(id, device);
  return device;
}

function renderDevice(device) {
  const v = device.data;
  const element = device.element;
  element.state.replaceChildren(badge(v.state, T.dev));
  const facts = [[T.version, v.version], [T.serial, v.serialNumber], [T.dkp, v.dkp], [T.dic, v.dic],
    [T.baud, v.baud ? `${v.baud} ${T.bd}` : ""], [T.queue, v.queueLength]];
  element.facts.replaceChildren(...facts.flatMap(([name, value]) =>
    [h("dt", {}, name), h("dd", {}, value == null || value === "" ? "—" : String(value))]));
  element.actions.hidden = role !== "service";
  element.pause.disabled = v.state === "paused";
  element.resume.disabled = v.state !== "paused";
}

// A row's value as the display shows it: a count in brackets before its
// value, check sums each in brackets, several values side by side.
function statusValue(status, name, more) {
  const shown = (n) => {
    const value = status[n];
    if (Array.isArray(value)) return value.join(", ");
    return value == null || value === "" ? "—" : String(value);
  };
  if (!Array.isArray(name)) return more ? `[${shown(more)}] ${shown(name)}` : shown(name);
  return more === "sums" ? name.map((n) => `[${shown(n)}]`).join(",") : name.map(shown).join(" · ");
}

function meaningOf(name) {
  const first = Array.isArray(name) ? name[0] : name;
  const general = first.replace(/\d+$/, "");
  if (PAYMENT_NAMES.includes(first)) return T.meaning.payments[PAYMENT_NAMES.indexOf(first)];
  return T.meaning[first] || T.meaning[general] || "";
}

// The rate of a VAT row, in whole percent as the display titles it ("z20%").
function rateCaption(caption, status) {
  const rate = /^[zd]([1-4])$/.exec(caption);
  if (!rate) return caption;
  const coefficient = Number(status["vatCoefficient" + rate[1]]);
  return Number.isFinite(coefficient) ? `${caption[0]}${Math.trunc(coefficient / 100)}%` : caption;
}

function renderStatus(device, status) {
  device.element.asOf.textContent = `(${status.asOf ? T.asOf + " " + localTime(status.asOf) : T.never})`;
  const used = new Set(NOT_SHOWN);
  const sections = [];
  for (const [group, rows] of STATUS_GROUPS) {
    const cells = [];
    for (const [caption, name, more] of rows) {
      for (const n of [name, more].flat()) if (n && n !== "sums") used.add(n);
      const present = [name].flat().some((n) => n in status);
      if (!present) continue;
      const meaning = meaningOf(name);
      cells.push(h("dt", {}, rateCaption(caption, status), meaning ? h("small", {}, meaning) : null),
        h("dd", { "data-value": [name].flat()[0] }, statusValue(status, name, more)));
    }
    if (cells.length) sections.push(h("section", {}, h("h4", {}, T.groups[group]), h("dl", {}, cells)));
  }
  const others = Object.keys(status).filter((name) => !used.has(name)).sort();
  if (others.length) {
    sections.push(h("section", {}, h("h4", {}, T.groups.other), h("dl", {}, others.flatMap((name) =>
      [h("dt", {}, name), h("dd", { "data-value": name }, statusValue(status, name))]))));
  }
  device.element.status.replaceChildren(...sections);
}

// Values change after jobs and state changes; a short delay folds a burst of events into one read.
function refreshStatus(id, delay = 300) {
  const device = devices.get(id);
  if (!device) return;
  clearTimeout(device.statusTimer);
  device.statusTimer = setTimeout(async () => {
    try {
      const answer = await api("GET", `/v1/devices/${encodeURIComponent(id)}/status`);
      if (answer.ok) renderStatus(device, answer.data);
    } catch { /* the event stream brings us back here */ }
  }, delay);
}

async function loadDevices() {
  const answer = await api("GET", "/v1/devices");
  if (!answer.ok) return notice(errorText(answer));
  const seen = new Set();
  for (const data of answer.data) {
    seen.add(data.id);
    const device = deviceCard(data.id);
    device.data = data;
    renderDevice(device);
    refreshStatus(data.id, 0);
  }
  for (const [id, device] of devices) {
    if (!seen.has(id)) {
      device.element.card.remove();
      devices.delete(id);
    }
  }
  if (!answer.data.length) $("devices").replaceChildren(h("p", { class: "muted" }, T.noDevices));
}

async function pauseOrResume(id, what) {
  const device = devices.get(id);
  const message = device.element.message;
  device.element.pause.disabled = device.element.resume.disabled = true;
  message.hidden = true;
  try {
    const answer = await api("POST", `/v1/devices/${encodeURIComponent(id)}/${what}`);
    // While the stream is live its events are newer than this answer, which may
    // come after the device has moved on (resumed, found, ready).
    if (answer.ok && !streamLive) Object.assign(device.data, answer.data);
    if (!answer.ok) message.textContent = errorText(answer);
    message.hidden = answer.ok;
  } catch (error) {
    message.textContent = `${T.failed}: ${error.message}`;
    message.hidden = false;
  }
  renderDevice(device);
}

/* ---- jobs ---- */

const jobs = new Map(); // key -> { data, item, head, body, readTimer }

function jobItem(key, atTop) {
  let job = jobs.get(key);
  if (job) return job;
  job = { data: { key }, head: h("div", { class: "row" }), body: h("div"), readTimer: 0 };
  job.item = h("li", { "data-key": key }, job.head, job.body);
  // An item once shown never moves, so a button that has the focus keeps it.
  if (atTop) $("jobs").prepend(job.item);
  else $("jobs").append(job.item);
  jobs.set(key, job);
  while (jobs.size > JOBS_SHOWN) {
    const oldest = $("jobs").lastElementChild;
    if (!oldest || oldest.contains(document.activeElement)) break;
    jobs.delete(oldest.dataset.key);
    oldest.remove();
  }
  $("no-jobs").hidden = true;
  return job;
}

function renderJob(job) {
  const v = job.data;
  const result = v.result || {};
  job.item.className = v.state;
  const amount = result.total != null ? h("span", { class: "amount" }, `${T.total} ${result.total}`) : null;
  const number = result.documentNumber != null ? `${T.document} ${result.documentNumber}` : null;
  const about = [T.kind[v.kind] || v.kind, v.device, number, localTime(v.times && (v.times.finished || v.times.accepted))]
    .filter(Boolean).join(" · ");
  job.head.replaceChildren(h("span", {}, h("span", { class: "key" }, v.key), " ", h("span", { class: "muted" }, about)),
    h("span", { class: "row" }, amount, badge(v.state, T.job)));
  const parts = [];
  if (v.state === "unknown") parts.push(...unknownParts(job));
  else if (result.error) parts.push(h("p", { class: "msg err" }, refusalText(result.error)));
  if (result.resolved) parts.push(h("p", { class: "msg" }, T.resolved));
  const printout = result.printout || (result.printed && result.printed.printout);
  if (printout) parts.push(h("details", {}, h("summary", {}, T.printout), h("pre", { class: "printout" }, printout)));
  job.body.replaceChildren(...parts.filter(Boolean));
}

function refusalText(error) {
  return error.message + (error.deviceStatus != null ? ` (${error.deviceStatus})` : "");
}

// An unknown job: why, the evidence the service kept, and the two decisions.
function unknownParts(job) {
  const v = job.data;
  const result = v.result || {};
  const evidence = result.evidence || {};
  const message = h("p", { class: "msg", role: "status" });
  const decide = async (printed) => {
    yes.disabled = no.disabled = true;
    message.className = "msg";
    message.textContent = "";
    try {
      const answer = await api("POST", `/v1/jobs/${encodeURIComponent(v.key)}/resolution`, { printed });
      if (answer.ok) {
        job.data = answer.data;
        renderJob(job);
        announce(T.jobSays(v.key, T.resolved));
        refreshStatus(v.device, 0);
        return;
      }
      message.className = "msg err";
      message.textContent = errorText(answer);
    } catch (error) {
      message.className = "msg err";
      message.textContent = `${T.failed}: ${error.message}`;
    }
    yes.disabled = no.disabled = false;
  };
  const yes = h("button", { type: "button", class: "primary resolve-printed", onclick: () => decide(true) }, T.printed);
  const no = h("button", { type: "button", class: "resolve-not-printed", onclick: () => decide(false) }, T.notPrinted);
  const frames = v.frames || [];
  return [
    h("p", { class: "msg" }, T.unknownWhy),
    h("h4", {}, T.evidence),
    result.error ? h("p", { class: "msg" }, result.error.message) : null,
    h("dl", {}, Object.entries(evidence).flatMap(([name, value]) =>
      [h("dt", {}, name), h("dd", {}, typeof value === "string" ? value : JSON.stringify(value))])),
    frames.length ? h("details", {}, h("summary", {}, `${T.frames} (${frames.length})`),
      h("pre", {}, frames.map((f) => `${f.n}. ${f.purpose}  ${f.frame}  → ${f.outcome}${f.answer != null ? " " + f.answer : ""}  ${localTime(f.at)}`).join("\n"))) : null,
    h("details", {}, h("summary", {}, T.request), h("pre", {}, JSON.stringify(v.request, null, 2))),
    role === "service" ? h("div", { class: "actions" }, yes, no) : h("p", { class: "msg" }, T.unknownAsk),
    message,
  ];
}

// The whole job, for its total, printout or evidence; a burst of its events is read once.
function readJob(job, delay = 150) {
  clearTimeout(job.readTimer);
  job.readTimer = setTimeout(async () => {
    try {
      const answer = await api("GET", `/v1/jobs/${encodeURIComponent(job.data.key)}`);
      if (!answer.ok) return;
      job.data = answer.data;
      renderJob(job);
    } catch { /* the next event or reset tries again */ }
  }, delay);
}

async function loadJobs() {
  const answer = await api("GET", `/v1/jobs?limit=${JOBS_SHOWN}`);
  if (!answer.ok) return notice(errorText(answer));
  jobs.clear();
  $("jobs").replaceChildren();
  $("no-jobs").hidden = answer.data.length > 0;
  for (const data of answer.data) {
    const job = jobItem(data.key, false);
    job.data = data;
    renderJob(job);
    if (data.state === "unknown") readJob(job, 0); // its frames come with the job alone
  }
}

/* ---- the event stream ---- */

let lastEventId = "";
let retryMs = 1000;
let streamLive = false;

function onEvent(type, text) {
  let v;
  try { v = JSON.parse(text); } catch { return; }
  if (type === "job") {
    const job = jobItem(v.key, true);
    const changed = job.data.state !== v.state;
    Object.assign(job.data, v);
    renderJob(job);
    if (changed) announce(T.jobSays(v.key, T.job[v.state] || v.state));
    if (v.state !== "accepted" && v.state !== "running") {
      readJob(job);
      refreshStatus(v.device);
    }
  } else if (type === "device") {
    const known = devices.has(v.id);
    const device = deviceCard(v.id);
    const changed = device.data.state !== v.state;
    Object.assign(device.data, v);
    renderDevice(device);
    if (!known) loadDevices(); // its identity comes with the list
    if (changed) {
      announce(T.devSays(v.id, T.dev[v.state] || v.state));
      refreshStatus(v.id);
    }
  } else if (type === "closing") {
    notice(T.closing(v.device, v.lastClosingDate));
    refreshStatus(v.device, 0);
  } else if (type === "reset") {
    notice(T.reset);
    loadDevices();
    loadJobs();
    for (const job of jobs.values()) if (job.data.state === "accepted" || job.data.state === "running") readJob(job);
  }
}

// text/event-stream, read line by line as it arrives.
function eventParser(dispatch) {
  let pending = "";
  let data = [];
  let type = "";
  return (chunk) => {
    pending += chunk;
    const lines = pending.split(/\r\n|\r|\n/);
    pending = lines.pop();
    for (const line of lines) {
      if (line === "") {
        if (data.length) dispatch(type || "message", data.join("\n"));
        data = [];
        type = "";
        continue;
      }
      if (line.startsWith(":")) continue; // a keep-alive
      const colon = line.indexOf(":");
      const field = colon < 0 ? line : line.slice(0, colon);
      let value = colon < 0 ? "" : line.slice(colon + 1);
      if (value.startsWith(" ")) value = value.slice(1);
      if (field === "data") data.push(value);
      else if (field === "event") type = value;
      else if (field === "id" && !value.includes("\0")) lastEventId = value;
      else if (field === "retry" && /^\d+$/.test(value)) retryMs = Number(value);
    }
  };
}

// EventSource cannot send the Authorization header, so the stream is read with fetch.
async function followEvents() {
  let delay = retryMs;
  for (;;) {
    $("stream").textContent = T.waiting;
    const abort = new AbortController();
    let watchdog = 0;
    // Silence past three keep-alives is a dead connection the browser has not noticed.
    const arm = () => {
      clearTimeout(watchdog);
      watchdog = setTimeout(() => abort.abort(), 50000);
    };
    try {
      const headers = authorised({ Accept: "text/event-stream" });
      if (lastEventId) headers["Last-Event-ID"] = lastEventId;
      const sent = token;
      arm();
      const response = await fetch("/v1/events", { headers, cache: "no-store", signal: abort.signal });
      if (response.status === 401) {
        clearTimeout(watchdog);
        await askForToken(sent !== "");
        continue;
      }
      if (!response.ok || !response.body) throw new Error(String(response.status));
      $("stream").textContent = T.live;
      streamLive = true;
      delay = retryMs;
      const reader = response.body.getReader();
      const decoder = new TextDecoder();
      const feed = eventParser(onEvent);
      for (;;) {
        const { value, done } = await reader.read();
        if (done) break;
        arm();
        feed(decoder.decode(value, { stream: true }));
      }
    } catch { /* dropped, refused or timed out: connect again below */ }
    streamLive = false;
    clearTimeout(watchdog);
    $("stream").textContent = T.dropped(Math.round(delay / 1000));
    await new Promise((resolve) => setTimeout(resolve, delay));
    delay = Math.min(delay * 2, 30000);
    // A restarted service hands out new event ids: the reset event then reads everything again.
  }
}

/* ---- start ---- */

async function start() {
  document.documentElement.lang = LANG;
  document.title = T.title;
  for (const element of document.querySelectorAll("[data-text]")) element.textContent = T[element.dataset.text];
  $("change-token").addEventListener("click", async () => {
    forgetToken();
    await askForToken(false);
    await learnRole();
    loadDevices();
    loadJobs();
  });
  try {
    await learnRole();
    await Promise.all([loadDevices(), loadJobs()]);
  } catch (error) {
    notice(`${T.failed}: ${error.message}`);
  }
  followEvents();
}

start();
