// What the page's tests share: Chromium started once, a fresh page with the
// core loaded, its downloads, and the desktop's command line beside it.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const web = path.resolve(process.env.TAVELIN_WEB);
export const program = path.resolve(process.env.TAVELIN);
export const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tavelin-web-'));
const address = `file://${web}/index.html`;

let browser;
export async function startBrowser() {
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--no-first-run',
           '--disable-dev-shm-usage', '--disable-component-update'],
  });
}
export async function stopBrowser() {
  await browser?.close();
  fs.rmSync(work, { recursive: true, force: true });
}

// A fresh page with the core loaded; console errors and print calls kept.
export async function openPage(query = '') {
  const page = await browser.newPage();
  page.errors = [];
  page.on('console', (m) => { if (m.type() === 'error') page.errors.push(m.text()); });
  page.on('pageerror', (e) => page.errors.push(String(e)));
  await page.setViewport({ width: 1280, height: 800 });
  page.downloads = fs.mkdtempSync(path.join(work, 'downloads-'));
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: page.downloads });
  await page.goto(address + query);
  await page.waitForSelector('body[data-ready="true"]');
  // The print dialog is the browser's: counted here, closed at once.
  await page.evaluate(() => {
    window.printed = 0;
    window.print = () => { window.printed += 1; };
  });
  return page;
}

export async function closeDialog(page) {
  await page.evaluate(() => window.dispatchEvent(new Event('afterprint')));
}

export async function setValue(page, id, value) {
  await page.$eval(`#${id}`, (e, v) => { e.value = v; e.dispatchEvent(new Event('change')); }, String(value));
}

// The one file the page downloads on clicking `button`. Headless Chromium
// now and then lets a download go unstarted: the button (which makes the
// same file again) is clicked again, up to three times.
export async function downloaded(page, button) {
  for (let attempt = 0; attempt < 3; ++attempt) {
    // A part of an earlier attempt may be renamed while it goes: gone is gone.
    for (const name of fs.readdirSync(page.downloads)) fs.rmSync(path.join(page.downloads, name), { force: true });
    await page.click(`#${button}`);
    // Done when no part is still coming and the file has stopped growing.
    let size = -1;
    for (let k = 0; k < 200; ++k) {
      await new Promise((r) => setTimeout(r, 25));
      const names = fs.readdirSync(page.downloads);
      if (names.length !== 1 || names[0].endsWith('.crdownload')) continue;
      const file = path.join(page.downloads, names[0]);
      const now = fs.statSync(file, { throwIfNoEntry: false })?.size ?? -1;
      if (now > 0 && now === size) {
        page.downloadedName = names[0];
        return fs.readFileSync(file);
      }
      size = now;
    }
  }
  throw new Error(`no download from ${button}`);
}

export function desktopCsv(args) {
  const csv = path.join(work, 'desktop.csv');
  execFileSync(program, ['--pdf', path.join(work, 'desktop.pdf'), '--csv', csv, ...args],
               { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' }, stdio: ['ignore', 'ignore', 'inherit'] });
  return fs.readFileSync(csv);
}

export async function message(page) {
  return page.$eval('#message', (e) => (e.hidden ? '' : e.querySelector('p').textContent));
}

