// The status page in a real browser against the service and the emulated
// device: what a shop sees, live, and what a technician decides there.
"use strict";

const { test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const { execFile } = require("node:child_process");
const { promisify } = require("node:util");
const rig = require("./rig.cjs");

const RECEIPT = {
  mode: "A",
  lines: [{ type: "item", text: "Rožok", quantity: "4.000", unitPrice: "0.12", vat: "B" }],
  payments: [{ type: "cash", amount: "1.00" }],
};
const DEVICE_CARD = 'article[data-device="COM1"]';

let browser;
let shop;
before(async () => {
  browser = await rig.launchBrowser();
  shop = await rig.Shop.open();
});
after(async () => {
  await browser?.close();
  await shop?.close();
});

test("the page shows the device, its identity and its values grouped as the service program shows them", async () => {
  const page = await rig.openPage(browser, shop.url("/"));
  await rig.signIn(page, rig.SERVICE_TOKEN);
  const card = await rig.waitForText(page, DEVICE_CARD, /ready/);
  for (const shown of ["KORVENA.2010", "KV2010-004711", "9600 Bd"]) assert.ok(card.includes(shown), `${shown} in ${card}`);
  await page.click(`${DEVICE_CARD} details.status summary`);
  await page.waitForSelector(`${DEVICE_CARD} [data-value="netTurnover"]`);
  const groups = await page.$$eval(`${DEVICE_CARD} details.status h4`, (headings) => headings.map((h) => h.textContent));
  assert.deepEqual(groups.slice(0, 5),
    ["Identity and dates", "VAT coefficients", "Turnover and GT totals", "The day's VAT", "Payments and documents"]);
  // The values come one by one between jobs; the coefficients are among the first.
  await rig.waitForText(page, `${DEVICE_CARD} [data-value="vatCoefficient1"]`, /^2000 · 1000 · 0 · 0$/);
  assert.equal(await page.$eval("#role", (role) => role.textContent), "Signed in: service");
  // The technician hands the port over and takes it back.
  await page.click(`${DEVICE_CARD} .actions button:first-child`);
  await rig.waitForText(page, DEVICE_CARD, /paused/);
  await page.click(`${DEVICE_CARD} .actions button:last-child`);
  await rig.waitForText(page, DEVICE_CARD, /ready/);
  assert.equal(await page.evaluate(() => location.href), shop.url("/"), "the token is never in the address");
  assert.deepEqual(page.errors, []);

  // A phone, in Slovak: the same page in one column, its texts in the browser's language.
  const phone = await rig.openPage(browser, shop.url("/"), { language: "sk-SK", width: 390, height: 844 });
  await rig.signIn(phone, rig.TILL_TOKEN);
  await rig.waitForText(phone, DEVICE_CARD, /pripravené/);
  assert.equal(await phone.$eval("h1", (h) => h.textContent), "Stav služby korvena-service");
  const overflow = await phone.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
  assert.ok(overflow <= 0, `the page is ${overflow} px wider than the phone`);
  await rig.picture(phone, "service-status-phone.png");
});

test("a receipt posted with curl appears on the page without a reload", async () => {
  const page = await rig.openPage(browser, shop.url("/"));
  await rig.signIn(page, rig.TILL_TOKEN);
  await rig.waitForText(page, "#stream", /Live/);
  await page.evaluate(() => { window.stillTheSamePage = true; });
  const { stdout } = await promisify(execFile)("curl", ["-sS", "-w", "\n%{http_code}", "-H",
    `Authorization: Bearer ${rig.TILL_TOKEN}`, "-H", "Idempotency-Key: curl-0001", "--json", JSON.stringify(RECEIPT),
    shop.url("/v1/devices/COM1/receipts")]);
  assert.match(stdout, /\n200$/, stdout);
  const item = await rig.waitForText(page, 'li[data-key="curl-0001"]', /Total 0\.58/);
  assert.match(item, /Total 0\.58/);
  await page.click('li[data-key="curl-0001"] details summary');
  assert.match(await page.$eval('li[data-key="curl-0001"] pre.printout', (pre) => pre.textContent), /POKLADNICNY DOKLAD/);
  assert.equal(await page.evaluate(() => window.stillTheSamePage), true);
  await rig.picture(page, "service-status-page.png");
  assert.deepEqual(page.errors, []);
});

test("a till token sees the jobs but not the technician's actions", async () => {
  const page = await rig.openPage(browser, shop.url("/"));
  await rig.signIn(page, rig.TILL_TOKEN);
  await page.waitForSelector('li[data-key="curl-0001"]');
  await page.waitForSelector(`${DEVICE_CARD} .actions`, { hidden: true });
  assert.equal(await page.$(`${DEVICE_CARD} .actions button:not([disabled])`).then((b) => b && b.isVisible()), false);
  assert.equal(await page.$eval("#role", (role) => role.textContent), "Signed in: till");
});

test("without tokens the page asks for none", async () => {
  const open = await rig.Shop.open({ tokens: false });
  try {
    const page = await rig.openPage(browser, open.url("/"));
    await rig.waitForText(page, DEVICE_CARD, /ready/);
    assert.equal(await page.$eval("#role", (role) => role.textContent), "No tokens needed");
    assert.equal(await page.$eval("#auth", (form) => form.hidden), true);
    assert.deepEqual(page.errors, []);
  } finally {
    await open.close();
  }
});

test("a job whose outcome is unknown is settled from the page", async () => {
  // The device drops the running report's DX unseen for a while: nothing it says can tell whether it printed.
  const blocked = await rig.Shop.open({
    emulator: ["--deaf-after", "1", "--fault-frames", "DX", "--fault-for", "200"],
    service: ["--answer-limit", "1000", "--wait-limit", "0"],
  });
  try {
    const page = await rig.openPage(browser, blocked.url("/"));
    await rig.signIn(page, rig.SERVICE_TOKEN);
    await rig.waitForText(page, "#stream", /Live/);
    const posted = await blocked.api("POST", "/v1/devices/COM1/reports", { type: "running" }, { "Idempotency-Key": "report-0007" });
    assert.equal(posted.status, 202);
    const job = 'li[data-key="report-0007"]';
    await rig.waitForText(page, job, /outcome unknown[\s\S]*It printed/);
    await rig.waitForText(page, DEVICE_CARD, /blocked/);
    await rig.waitForText(page, job, /Evidence[\s\S]*DX/i);
    await rig.picture(page, "service-status-unknown-job.png");
    await page.click(`${job} button.resolve-printed`);
    await rig.waitForText(page, job, /done/);
    await rig.waitForText(page, DEVICE_CARD, /ready/);
    const settled = await blocked.api("GET", "/v1/jobs/report-0007");
    assert.equal(settled.data.state, "done");
    assert.equal(settled.data.result.resolved, "printed");
    assert.deepEqual(page.errors, []);
  } finally {
    await blocked.close();
  }
});

test("a shop with two printers sees each on its own, and a receipt under the one that printed it", async () => {
  const two = await rig.Shop.open({ devices: 2 });
  try {
    const page = await rig.openPage(browser, two.url("/"));
    await rig.signIn(page, rig.SERVICE_TOKEN);
    const second = 'article[data-device="COM2"]';
    await rig.waitForText(page, DEVICE_CARD, /ready/);
    await rig.waitForText(page, second, /ready/);
    // The first is handed over; the second goes on printing.
    await page.click(`${DEVICE_CARD} .actions button:first-child`);
    await rig.waitForText(page, DEVICE_CARD, /paused/);
    const posted = await two.api("POST", "/v1/devices/COM2/receipts", RECEIPT, { "Idempotency-Key": "second-0001" });
    assert.equal(posted.status, 200, JSON.stringify(posted.data));
    const item = await rig.waitForText(page, 'li[data-key="second-0001"]', /Total 0\.58/);
    assert.match(item, /COM2/);
    assert.match(await rig.waitForText(page, second, /ready/), /ready/);
    assert.match(await page.$eval(DEVICE_CARD, (card) => card.innerText), /paused/);
    assert.equal(two.receiptsPrinted(2), 1);
    assert.equal(two.receiptsPrinted(1), 0);
    assert.deepEqual(page.errors, []);
  } finally {
    await two.close();
  }
});
