// The README's picture of the browser edition: the page in headless
// Chromium at a Chromebook's 1280 × 800, after a Preview of a preset.
//   node screenshot.mjs WEB_FOLDER OUT.png
import puppeteer from 'puppeteer-core';
import path from 'node:path';

const [folder, out] = process.argv.slice(2);
const browser = await puppeteer.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking'] });
const page = await browser.newPage();
await page.setViewport({ width: 1280, height: 800 });
await page.goto(`file://${path.resolve(folder)}/index.html?seed=20261207`);
await page.waitForSelector('body[data-ready="true"]');
const index = await page.$$eval('#preset option', (all) => all.find((o) => o.textContent.startsWith('3けた−3けた')).value);
await page.select('#preset', index);
await page.click('#CarryMarks');
await page.click('#btnPreview');
await page.waitForSelector('#preview svg');
await page.evaluate(() => document.fonts.ready);
await page.screenshot({ path: out });
await browser.close();
