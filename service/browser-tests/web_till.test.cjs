// The example web till in a real browser: served by any web server on
// another origin, and served by the service itself while the service dies
// under it. Either way each sale prints once.
"use strict";

const { test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const path = require("node:path");
const rig = require("./rig.cjs");

const TILL_FOLDER = path.join(rig.ROOT, "examples/web-till");

let browser;
before(async () => { browser = await rig.launchBrowser(); });
after(async () => { await browser?.close(); });

// Rings up a sale of `products` (each a button's text, once per piece) and pays it in cash.
async function ringUp(page, products) {
  for (const product of products) {
    const [button] = await page.$$(`xpath/.//div[@id="products"]/button[contains(., "${product}")]`);
    await button.click();
  }
  await page.waitForFunction(() => !document.getElementById("pay").disabled);
  return page.$eval("#total", (total) => total.value);
}

test("the till on another web server shows the total first, then prints the sale once", async () => {
  const served = await rig.serveFolder(TILL_FOLDER);
  const shop = await rig.Shop.open({ service: ["--allow-origin", served.origin] });
  // The till's own settings name the service it talks to.
  served.overrides["config.js"] = `window.KORVENA_TILL = { service: "${shop.url("")}", device: "COM1" };\n`;
  try {
    const page = await rig.openPage(browser, `${served.origin}/`);
    await rig.signIn(page, rig.TILL_TOKEN);
    const total = await ringUp(page, ["Rožok", "Rožok", "Káva espresso"]);
    // Two rolls at 0.12 and a coffee at 1.80, prices with VAT: the device's total.
    assert.equal(total, "2.04");
    await page.type("#given", "5");
    await page.click("#pay");
    const state = await rig.waitForText(page, "#state", /Printed/);
    assert.match(state, /Change 2\.96/);
    assert.equal(await page.$eval("#pay", (pay) => pay.disabled), true, "a printed sale cannot be paid again");
    const printout = await page.$eval("#printout", (pre) => pre.textContent);
    assert.match(printout, /POKLADNICNY DOKLAD[\s\S]*Káva espresso/);
    assert.equal(shop.receiptsPrinted(), 1, shop.printed());
    assert.equal(await page.evaluate(() => localStorage.getItem("korvena-till.pending")), null);
    assert.deepEqual(page.errors, []);
    await rig.picture(page, "web-till.png");

    // Refused before anything printed: said in words, and the sale stays to be corrected.
    await page.click("#new-sale");
    await ringUp(page, ["Čokoláda"]);
    await page.type("#given", "1.00");
    await page.click("#pay");
    assert.match(await rig.waitForText(page, "#state", /Not printed/), /do not cover the total 1\.49/);
    assert.equal(shop.receiptsPrinted(), 1, shop.printed());
  } finally {
    served.server.close();
    await shop.close();
  }
});

test("the till sends the same key again while the service is killed and restarted, and the sale prints once", async () => {
  // The device goes quiet on the receipt's closing, so the service is caught waiting for its answer.
  const shop = await rig.Shop.open({
    emulator: ["--mute-after", "1", "--fault-frames", "K", "--fault-for", "3000"],
    service: ["--web-root", TILL_FOLDER],
  });
  try {
    const page = await rig.openPage(browser, shop.url("/web/"));
    await rig.signIn(page, rig.TILL_TOKEN);
    await ringUp(page, ["Chlieb kváskový"]);
    await page.click("#pay");
    await rig.until(() => /;K;/.test(shop.frames()), "the receipt's closing on the line");
    await shop.killService();
    await rig.waitForText(page, "#state", /Trying again with the same key/);
    const pending = JSON.parse(await page.evaluate(() => localStorage.getItem("korvena-till.pending")));
    await shop.startService();
    const state = await rig.waitForText(page, "#state", /Printed/);
    assert.equal(shop.receiptsPrinted(), 1, `${state}\n${shop.printed()}`);
    const jobs = await shop.api("GET", "/v1/jobs");
    assert.deepEqual(jobs.data.map((job) => [job.key, job.state]), [[pending.key, "done"]]);
    assert.deepEqual(page.errors, []);
  } finally {
    await shop.close();
  }
});
