// The browser edition's speed beside the desktop's, on the same machine: a
// 40-sheet class set with its answer sheets made, laid out and printed to a
// PDF by Chromium (headless) beside the command line's --pdf of the same set;
// and the page's first preview after navigation. Prints the times, the
// ratio and the bytes of a page, against the targets (first preview 0.5 s,
// the class set 3 times the command line's).
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
let desktopBytes = 0;
for (let k = 0; k < runs; ++k) {
  const start = performance.now();
  execFileSync(program, ['--pdf', path.join(work, 'set.pdf'), '--preset', preset, '--sheets', '40', '--answers', 'after',
                         '--seed', String(k + 1)], { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
  desktop.push(performance.now() - start);
  desktopBytes = fs.statSync(path.join(work, 'set.pdf')).size;
}

const browser = await puppeteer.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-dev-shm-usage'] });
const firstPreview = [], page40 = [];
let pageBytes = 0;
for (let k = 0; k < runs; ++k) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  const start = performance.now();
  await page.goto(`file://${path.resolve(folder)}/index.html`);
  await page.waitForSelector('body[data-ready="true"]');
  await page.click('#btnPreview');
  await page.waitForSelector('#preview svg, #message:not([hidden])');
  firstPreview.push(performance.now() - start);
  const index = await page.$$eval('#preset option', (all, name) => all.find((o) => o.textContent === name).value, preset);
  await page.select('#preset', index);
  await page.evaluate(() => { window.print = () => { window.printed = true; }; });
  await page.$eval('#sheets', (e) => { e.value = '40'; });
  await page.$eval('#seed', (e, s) => { e.value = s; }, String(k + 1));
  // Made, drawn as SVG, laid out and printed to a PDF as the print dialog does.
  const t0 = performance.now();
  await page.click('#btnClassSet');
  await page.waitForFunction(() => window.printed === true);
  const pdf = path.join(work, 'page.pdf');
  await page.pdf({ path: pdf, preferCSSPageSize: true });
  page40.push(performance.now() - t0);
  pageBytes = fs.statSync(pdf).size;
  await page.close();
}
await browser.close();
fs.rmSync(work, { recursive: true, force: true });

const d = median(desktop), w = median(page40), f = median(firstPreview);
console.log(`class set of 40 with answers, printed to PDF: page ${w.toFixed(0)} ms, command line --pdf ${d.toFixed(0)} ms, ` +
            `ratio ${(w / d).toFixed(2)} (target 3); ${(pageBytes / 80 / 1024).toFixed(1)} KB a page in the page's PDF, ` +
            `${(desktopBytes / 80 / 1024).toFixed(1)} KB in the command line's`);
console.log(`first preview after navigation (page opened from a file): ${f.toFixed(0)} ms (target 500)`);
