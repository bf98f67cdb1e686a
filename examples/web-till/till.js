// A small browser till for korvena-service. It keeps the three rules that
// make a sale print exactly once:
//   1. one Idempotency-Key per sale, made when the customer pays and stored
//      with the sale before the first request;
//   2. after a timeout, a lost connection or an answer that says "later",
//      the same request with the same key again;
//   3. never a new key while the outcome of the first is not known: the sale
//      stays pending, across reloads too, until the service says printed or
//      refused.
"use strict";

const CONFIG = window.KORVENA_TILL || {};
const SERVICE = String(CONFIG.service || "").replace(/\/+$/, "");
const DEVICE = CONFIG.device || "COM1";
const TOKEN_KEY = "korvena-till.token";
const PENDING_KEY = "korvena-till.pending";
const ANSWER_WAIT_MS = 40000; // longer than the service waits for a receipt (30 s)
const RETRY_FIRST_MS = 1000;
const RETRY_LONGEST_MS = 10000;
const UNKNOWN_ASK_MS = 10000;

// Prices with VAT: class D is VAT rate 1, E rate 2.
const PRODUCTS = [
  { text: "Rožok", price: "0.12", vat: "E" },
  { text: "Chlieb kváskový", price: "2.49", vat: "E" },
  { text: "Mlieko 1 l", price: "0.99", vat: "E" },
  { text: "Maslo 250 g", price: "2.19", vat: "E" },
  { text: "Káva espresso", price: "1.80", vat: "D" },
  { text: "Čokoláda horká", price: "1.49", vat: "D" },
];

const TEXTS = {
  en: {
    title: "Web till", products: "Products", sale: "Sale", empty: "Choose products to start a sale.",
    item: "Item", quantity: "Qty", amount: "Amount", remove: "Remove", total: "Total", payment: "Payment",
    cash: "Cash", card: "Card", given: "Cash given", pay: "Pay and print", newSale: "New sale", printout: "Printout",
    tokenWhy: "The service needs a till token.", tokenBad: "That token was not accepted.", tokenLabel: "Till token",
    tokenSubmit: "Use token", changeToken: "Use another token", less: "One less", more: "One more",
    quoting: "Asking the service for the total…", quoted: "Total as the printer will compute it.",
    quoteFailed: (m) => `No total from the service: ${m}`,
    badGiven: "Type the cash given as an amount, e.g. 10.00.",
    sending: "Printing…", stillPrinting: "Still printing…",
    noAnswer: (n) => `No answer from the service. Trying again with the same key (attempt ${n})…`,
    busy: "The service is busy. Trying again with the same key…",
    lost: "The printer does not answer. Trying again with the same key…",
    starting: "The printer is just connecting. Trying again with the same key…",
    blocked: "The printer waits for a technician: an earlier document's outcome is unknown. Trying again…",
    unknown: "Whether this sale printed is not known. A technician decides on the service's status page; " +
      "this till keeps asking with the same key. Do not sell it again.",
    resumed: (t) => `Finishing the sale paid at ${t}.`,
    printed: (n, c) => `Printed: document ${n}. Change ${c}.`,
    printedResolved: "A technician confirmed that this sale printed.",
    refused: (m) => `Not printed: ${m}`,
    voided: "The printer refused a line: the receipt was voided on paper.",
    deviceSays: (s) => ` (printer status ${s})`, for: (d, s) => `${d} on ${s}`,
  },
  sk: {
    title: "Webová pokladnica", products: "Tovar", sale: "Nákup", empty: "Vyberte tovar a začnite nákup.",
    item: "Položka", quantity: "Ks", amount: "Suma", remove: "Odobrať", total: "Spolu", payment: "Platba",
    cash: "Hotovosť", card: "Karta", given: "Prijatá hotovosť", pay: "Zaplatiť a tlačiť", newSale: "Nový nákup",
    printout: "Výtlačok", tokenWhy: "Služba vyžaduje token pokladnice.", tokenBad: "Tento token nebol prijatý.",
    tokenLabel: "Token pokladnice", tokenSubmit: "Použiť token", changeToken: "Použiť iný token",
    less: "O kus menej", more: "O kus viac",
    quoting: "Zisťujem sumu od služby…", quoted: "Suma, ako ju vypočíta tlačiareň.",
    quoteFailed: (m) => `Služba nedala sumu: ${m}`,
    badGiven: "Zadajte prijatú hotovosť ako sumu, napr. 10.00.",
    sending: "Tlačí sa…", stillPrinting: "Stále sa tlačí…",
    noAnswer: (n) => `Služba neodpovedá. Skúšam znova s tým istým kľúčom (pokus ${n})…`,
    busy: "Služba je zaneprázdnená. Skúšam znova s tým istým kľúčom…",
    lost: "Tlačiareň neodpovedá. Skúšam znova s tým istým kľúčom…",
    starting: "Tlačiareň sa práve pripája. Skúšam znova s tým istým kľúčom…",
    blocked: "Tlačiareň čaká na technika: výsledok skoršieho dokladu nie je známy. Skúšam znova…",
    unknown: "Nie je známe, či sa tento nákup vytlačil. Rozhodne technik na stránke stavu služby; " +
      "pokladnica sa pýta ďalej s tým istým kľúčom. Nepredávajte ho znova.",
    resumed: (t) => `Dokončujem nákup zaplatený o ${t}.`,
    printed: (n, c) => `Vytlačené: doklad ${n}. Výdavok ${c}.`,
    printedResolved: "Technik potvrdil, že sa tento nákup vytlačil.",
    refused: (m) => `Nevytlačené: ${m}`,
    voided: "Tlačiareň odmietla položku: doklad sa na papieri stornoval.",
    deviceSays: (s) => ` (stav tlačiarne ${s})`, for: (d, s) => `${d} na ${s}`,
  },
};
const LANG = (navigator.languages || [navigator.language || ""]).some((l) => /^sk\b/i.test(l)) ? "sk" : "en";
const T = TEXTS[LANG];

const $ = (id) => document.getElementById(id);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function h(tag, attributes, ...children) {
  const element = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes || {})) {
    if (name === "class") element.className = value;
    else if (name.startsWith("on")) element.addEventListener(name.slice(2), value);
    else if (value !== false && value != null) element.setAttribute(name, value === true ? "" : value);
  }
  element.append(...children.flat().filter((child) => child != null));
  return element;
}

/* ---- amounts: whole cents, never floating point ---- */

function cents(text) {
  const match = /^(\d{1,9})(?:[.,](\d{1,2}))?$/.exec(String(text).trim());
  return match ? Number(match[1]) * 100 + Number((match[2] || "0").padEnd(2, "0")) : null;
}

function money(value) {
  return `${Math.trunc(value / 100)}.${String(value % 100).padStart(2, "0")}`;
}

/* ---- the token: asked for once, kept for this tab only ---- */

let token = sessionStorage.getItem(TOKEN_KEY) || "";
let tokenWait = null;

function askForToken(refused) {
  if (tokenWait) return tokenWait;
  if (refused) {
    token = "";
    sessionStorage.removeItem(TOKEN_KEY);
  }
  tokenWait = new Promise((resolve) => {
    $("auth-why").textContent = refused ? T.tokenBad : T.tokenWhy;
    $("auth-why").className = refused ? "msg err" : "msg";
    $("auth").hidden = false;
    $("auth-token").value = "";
    $("auth-token").focus();
    $("auth").onsubmit = (event) => {
      event.preventDefault();
      const value = $("auth-token").value.trim();
      if (!value) return;
      token = value;
      sessionStorage.setItem(TOKEN_KEY, token);
      $("auth").hidden = true;
      $("change-token").hidden = false;
      tokenWait = null;
      resolve();
    };
  });
  return tokenWait;
}

// One request; a refused token is asked for again. Throws on a lost
// connection or when no answer came in time.
async function call(method, path, body, headers) {
  for (;;) {
    const sent = token;
    const abort = new AbortController();
    const timer = setTimeout(() => abort.abort(), ANSWER_WAIT_MS);
    let response;
    try {
      response = await fetch(SERVICE + path, {
        method, cache: "no-store", signal: abort.signal,
        headers: Object.assign({ "Content-Type": "application/json" }, headers,
          token ? { Authorization: "Bearer " + token } : {}),
        body: body === undefined ? undefined : JSON.stringify(body),
      });
    } finally {
      clearTimeout(timer);
    }
    if (response.status === 401) {
      await askForToken(sent !== "");
      continue;
    }
    let data = null;
    try { data = await response.json(); } catch { /* no JSON body */ }
    const retryAfter = Number(response.headers.get("Retry-After"));
    return { status: response.status, data, retryAfterMs: retryAfter > 0 ? retryAfter * 1000 : 0 };
  }
}

/* ---- the sale being made ---- */

const lines = []; // { product, quantity }
let quote = { version: 0, total: null }; // the total the service gave for the lines as they were then
let version = 0;
let quoteTimer = 0;
let pending = null; // the sale paid and not yet settled: { key, body, at }
let printed = false; // the sale on the screen is printed: nothing to change or pay until a new one

function receiptBody(payments) {
  return {
    mode: "A",
    lines: lines.map(({ product, quantity }) => ({
      type: "item", text: product.text, quantity: `${quantity}.000`, unitPrice: product.price, vat: product.vat,
    })),
    payments,
  };
}

function changeLines(change) {
  if (pending || printed) return;
  change();
  version += 1;
  renderSale();
  clearTimeout(quoteTimer);
  quoteTimer = setTimeout(askForTotal, 200);
}

function addProduct(product) {
  changeLines(() => {
    const line = lines.find((l) => l.product === product);
    if (line) line.quantity += 1;
    else lines.push({ product, quantity: 1 });
  });
}

function setQuantity(line, quantity) {
  changeLines(() => {
    if (quantity > 0) line.quantity = quantity;
    else lines.splice(lines.indexOf(line), 1);
  });
}

// The total comes from the service, as the printer will compute it (VAT and rounding included).
async function askForTotal() {
  const asked = version;
  if (!lines.length) {
    quote = { version: asked, total: 0 };
    return renderSale();
  }
  $("quote-note").textContent = T.quoting;
  try {
    // Without payments (JSON leaves the undefined field out): the total before payment.
    const answer = await call("POST", `/v1/devices/${encodeURIComponent(DEVICE)}/receipts/quote`, receiptBody());
    if (asked !== version) return;
    if (answer.status === 200) {
      quote = { version: asked, total: cents(answer.data.total) };
      $("quote-note").textContent = T.quoted;
    } else {
      $("quote-note").textContent = T.quoteFailed(errorText(answer));
    }
  } catch (error) {
    if (asked === version) $("quote-note").textContent = T.quoteFailed(error.message);
  }
  renderSale();
}

function renderSale() {
  const locked = pending || printed;
  const body = $("lines").tBodies[0];
  body.replaceChildren(...lines.map((line) => h("tr", {},
    h("td", {}, line.product.text),
    h("td", {}, locked ? String(line.quantity) : [
      h("button", { type: "button", "aria-label": `${T.less}: ${line.product.text}`, onclick: () => setQuantity(line, line.quantity - 1) }, "−"),
      ` ${line.quantity} `,
      h("button", { type: "button", "aria-label": `${T.more}: ${line.product.text}`, onclick: () => setQuantity(line, line.quantity + 1) }, "+")]),
    h("td", { class: "num" }, money(cents(line.product.price) * line.quantity)),
    h("td", {}, locked ? null : h("button", { type: "button", "aria-label": `${T.remove}: ${line.product.text}`,
      onclick: () => setQuantity(line, 0) }, "×")))));
  $("lines").hidden = !lines.length;
  $("empty").hidden = lines.length > 0;
  const known = quote.version === version && quote.total != null;
  $("total").value = known && lines.length ? money(quote.total) : "—";
  $("given").placeholder = known ? money(quote.total) : "0.00";
  $("pay").disabled = !!locked || !lines.length || !known;
  for (const button of $("products").querySelectorAll("button")) button.disabled = !!locked;
  for (const input of $("payment").querySelectorAll("input")) input.disabled = !!locked;
  $("given-label").hidden = means() !== "cash";
}

function means() {
  return document.querySelector('input[name="means"]:checked').value;
}

function say(text, kind) {
  $("state").textContent = text;
  $("state").className = "msg" + (kind ? " " + kind : "");
}

/* ---- paying: one key per sale, the same key until the outcome is known ---- */

// A fresh key from the browser's random numbers (crypto.randomUUID needs
// HTTPS, and a shop's own network is often plain HTTP).
function newKey() {
  const bytes = crypto.getRandomValues(new Uint8Array(16));
  bytes[6] = (bytes[6] & 0x0f) | 0x40;
  bytes[8] = (bytes[8] & 0x3f) | 0x80;
  const hex = [...bytes].map((b) => b.toString(16).padStart(2, "0")).join("");
  return `${hex.slice(0, 8)}-${hex.slice(8, 12)}-${hex.slice(12, 16)}-${hex.slice(16, 20)}-${hex.slice(20)}`;
}

function pay() {
  const total = quote.total;
  let payments;
  if (means() === "card") {
    payments = [{ type: "card", amount: money(total) }];
  } else {
    const given = $("given").value.trim() === "" ? total : cents($("given").value);
    if (given == null) return say(T.badGiven, "err");
    payments = [{ type: "cash", amount: money(given) }];
  }
  // Stored before the first byte leaves: a reload or a crash of the browser finds it again.
  pending = { key: newKey(), body: receiptBody(payments), at: new Date().toISOString() };
  localStorage.setItem(PENDING_KEY, JSON.stringify(pending));
  renderSale();
  settle();
}

function errorText(answer) {
  const error = answer.data && answer.data.error;
  if (!error) return `HTTP ${answer.status}`;
  return error.message + (error.deviceStatus != null ? T.deviceSays(error.deviceStatus) : "");
}

// Sends the pending sale until the service says it printed or refused it.
async function settle() {
  let attempt = 0;
  let delay = RETRY_FIRST_MS;
  const later = async (text, ms) => {
    say(text);
    await sleep(ms || delay);
    delay = Math.min(delay * 2, RETRY_LONGEST_MS);
  };
  for (;;) {
    attempt += 1;
    if (attempt === 1) say(T.sending);
    let answer;
    try {
      answer = await call("POST", `/v1/devices/${encodeURIComponent(DEVICE)}/receipts`, pending.body,
        { "Idempotency-Key": pending.key });
    } catch {
      await later(T.noAnswer(attempt));
      continue;
    }
    const code = answer.data && answer.data.error ? answer.data.error.code : "";
    if (answer.status === 200) return finish(answer.data);
    if (answer.status === 202) {
      await later(T.stillPrinting, answer.retryAfterMs || RETRY_FIRST_MS);
    } else if (answer.status === 408 || answer.status === 429) {
      await later(T.busy, answer.retryAfterMs);
    } else if (answer.status === 503) {
      await later(code === "device-not-ready" ? T.starting : T.lost, answer.retryAfterMs);
    } else if (answer.status === 409 && code === "device-blocked") {
      await later(T.blocked, answer.retryAfterMs);
    } else if (answer.status === 409 && code === "unknown") {
      say(T.unknown, "err");
      await sleep(UNKNOWN_ASK_MS);
    } else if (answer.status >= 500) {
      await later(T.noAnswer(attempt), answer.retryAfterMs);
    } else {
      return refuse(answer);
    }
  }
}

function finish(result) {
  $("printout").textContent = result.printout || "";
  if (result.resolved) say(T.printedResolved, "ok");
  else say(T.printed(result.documentNumber, result.change), "ok");
  printed = true;
  endSale();
  $("new-sale").hidden = false;
  $("new-sale").focus();
}

// Nothing printed (but a voided receipt): the sale stays, to be corrected
// and paid again, which makes it a new request with a new key.
function refuse(answer) {
  const voided = answer.data && answer.data.printed && answer.data.printed.voided;
  $("printout").textContent = voided ? answer.data.printed.printout : "";
  say(T.refused(errorText(answer)) + (voided ? " " + T.voided : ""), "err");
  endSale();
  askForTotal();
}

function endSale() {
  pending = null;
  localStorage.removeItem(PENDING_KEY);
  renderSale();
}

function newSale() {
  printed = false;
  lines.length = 0;
  $("given").value = "";
  $("printout").textContent = "";
  $("new-sale").hidden = true;
  say("");
  changeLines(() => {});
}

/* ---- start ---- */

// Asks for the token now rather than in the middle of the first sale.
async function checkToken() {
  try {
    const answer = await call("GET", "/v1/token");
    if (answer.status === 200) $("change-token").hidden = !answer.data.tokens;
  } catch { /* the service is not there yet: the first request will tell */ }
}

function start() {
  document.documentElement.lang = LANG;
  document.title = T.title;
  for (const element of document.querySelectorAll("[data-text]")) element.textContent = T[element.dataset.text];
  $("where").textContent = T.for(DEVICE, SERVICE || location.host);
  $("change-token").hidden = !token;
  $("change-token").addEventListener("click", () => askForToken(true));
  $("products").append(...PRODUCTS.map((product) => h("button", { type: "button", onclick: () => addProduct(product) },
    product.text, h("small", {}, product.price))));
  $("pay").addEventListener("click", pay);
  $("new-sale").addEventListener("click", newSale);
  for (const input of $("payment").querySelectorAll('input[name="means"]')) input.addEventListener("change", renderSale);

  checkToken();
  try {
    pending = JSON.parse(localStorage.getItem(PENDING_KEY) || "null");
  } catch {
    pending = null;
  }
  if (pending) {
    // The lines as they were paid, shown read-only while the same key is sent again.
    for (const line of pending.body.lines) {
      lines.push({ product: { text: line.text, price: line.unitPrice, vat: line.vat }, quantity: Math.round(Number(line.quantity)) });
    }
    say(T.resumed(new Date(pending.at).toLocaleTimeString(LANG)));
    askForTotal();
    settle();
    return;
  }
  renderSale();
}

start();
