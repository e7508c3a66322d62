// The browser edition's speed beside the desktop's: a 40-sheet class set
// with its answer sheets made and drawn in the page (headless Chromium) and
// made as a PDF by the command line, on the same machine; and the page's
// first preview after it loads. Prints times and their ratio.
//   node bench.mjs WEB_FOLDER PROGRAM
import puppeteer from 'puppeteer-core';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const [folder, program] = process.argv.slice(2);
const runs = 5;
const preset = '3けた×2けた';
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tavelin-bench-'));
const desktop = [];
for (let k = 0; k < runs; ++k) {
  const start = performance.now();
  execFileSync(program, ['--pdf', path.join(work, 'set.pdf'), '--preset', preset, '--sheets', '40', '--answers', 'after',
                         '--seed', String(k + 1)], { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
  desktop.push(performance.now() - start);
}
fs.rmSync(work, { recursive: true, force: true });

const browser = await puppeteer.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking'] });
const firstPreview = [], page40 = [];
for (let k = 0; k < runs; ++k) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  const start = performance.now();
  await page.goto(`file://${path.resolve(folder)}/index.html`);
  await page.waitForSelector('body[data-ready="true"]');
  await page.select('#preset', '0');
  await page.click('#btnPreview');
  await page.waitForSelector('#preview svg, #message:not([hidden])');
  firstPreview.push(performance.now() - start);
  const index = await page.$$eval('#preset option', (all, name) => all.find((o) => o.textContent === name).value, preset);
  await page.select('#preset', index);
  await page.evaluate(() => { window.print = () => {}; });
  await page.$eval('#sheets', (e) => { e.value = '40'; });
  await page.$eval('#seed', (e, s) => { e.value = s; }, String(k + 1));
  // Made, drawn as SVG and laid out in the print area as the print dialog gets it.
  page40.push(await page.evaluate(() => {
    const t0 = performance.now();
    document.getElementById('btnClassSet').click();
    document.getElementById('printArea').getBoundingClientRect();
    return performance.now() - t0;
  }));
  await page.close();
}
await browser.close();

const d = median(desktop), w = median(page40);
console.log(`class set of 40 with answers: page ${w.toFixed(0)} ms, command line --pdf ${d.toFixed(0)} ms, ratio ${(w / d).toFixed(2)}`);
console.log(`first preview after load (page opened from a file): ${median(firstPreview).toFixed(0)} ms`);
