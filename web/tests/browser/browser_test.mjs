// The browser edition in Debian's Chromium, headless, driven over the
// DevTools protocol: the page against the desktop command line.
//   TAVELIN_WEB=folder of scripts/build-web  TAVELIN=the program  node --test
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import { openPage, closeDialog, setValue, downloaded, desktopCsv, message, program, work, startBrowser, stopBrowser } from './page_helpers.mjs';

before(startBrowser);
after(stopBrowser);

const presetNames = execFileSync(program, ['--list-presets'], { encoding: 'utf8' })
  .trim().split('\n').map((line) => line.split('\t')[1]);

test('loads from a file without an error; Tab reaches every control and each has a name', async () => {
  const page = await openPage();
  assert.deepEqual(page.errors, []);
  // Every enabled control, in the order Tab visits them.
  const controls = await page.$$eval('#form input:not([disabled]):not([type=radio]), #form select:not([disabled]), #form button:not([disabled])',
    (all) => all.filter((e) => !e.closest('[hidden]')).map((e) => e.id));
  const visited = new Set();
  for (let k = 0; k < 120; ++k) {
    await page.keyboard.press('Tab');
    const id = await page.evaluate(() => document.activeElement.id);
    if (id) visited.add(id);
  }
  for (const id of controls) assert.ok(visited.has(id), `Tab does not reach ${id}`);
  // The names a screen reader speaks, from the browser's accessibility tree.
  const tree = await page.accessibility.snapshot({ interestingOnly: true });
  const named = [];
  (function walk(node) {
    if (['textbox', 'combobox', 'button', 'checkbox', 'radio', 'spinbutton'].includes(node.role)) named.push(node);
    for (const child of node.children || []) walk(child);
  })(tree);
  for (const node of named) assert.ok(node.name && node.name.trim(), `a ${node.role} without a name`);
  const names = named.filter((n) => n.role === 'textbox').map((n) => n.name);
  assert.ok(names.includes('かけられる数 一の位 いちばん小さい数字'));
  assert.equal(new Set(names).size, names.length, 'two text boxes with one name');
  // The preset list is the command line's, and the page fits the screen.
  const options = await page.$$eval('#preset option', (all) => all.filter((o) => o.value !== '').map((o) => o.textContent));
  assert.deepEqual(options, presetNames);
  // A Chromebook's 1280 × 800 and an iPad in landscape: no scrolling sideways.
  for (const [width, height] of [[1280, 800], [1024, 768], [1180, 820]]) {
    await page.setViewport({ width, height });
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth), `${width} × ${height}`);
  }
  await page.close();
});

test('every preset, three seeds: the CSV of a preview and of a class set is the desktop\'s, byte for byte', async () => {
  const page = await openPage();
  for (const [index, name] of presetNames.entries()) {
    for (const [seed, number, sheets] of [['1', 1, 1], ['18446744073709551615', 7, 2], ['424242', -3, 3]]) {
      await setValue(page, 'preset', index);
      await setValue(page, 'seed', seed);
      await setValue(page, 'PrnNum', number);
      const expected = desktopCsv(['--preset', name, '--seed', seed, '--number', String(number), '--sheets', String(sheets)]);
      if (sheets === 1) {
        await page.click('#btnPreview');
      } else {
        await setValue(page, 'sheets', sheets);
        await page.click('#btnClassSet');
        await closeDialog(page);
      }
      assert.equal(await message(page), '', `${name} ${seed}`);
      const csv = await downloaded(page, 'btnCsv');
      if (!csv.equals(expected)) fs.writeFileSync(path.join(os.tmpdir(), 'tavelin-page.csv'), csv);
      assert.ok(csv.equals(expected), `${name} seed ${seed}: the CSVs differ (the page's in ${os.tmpdir()}/tavelin-page.csv)`);
    }
  }
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('an iPad upright: after プレビュー the sheet is in view; the かけ算 option only for かけ算', async () => {
  const page = await openPage();
  await page.setViewport({ width: 820, height: 1180 });
  await setValue(page, 'preset', 3);
  await page.click('#btnPreview');
  const top = await page.$eval('#preview', (e) => e.getBoundingClientRect().top);
  assert.ok(top >= 0 && top < 1180 * 0.5, `the preview starts at ${top}`);
  for (const [operation, shown] of [['multiplication', true], ['addition', false], ['division', false]]) {
    await setValue(page, 'operation', operation);
    assert.equal(await page.$eval('#PartialSumCarryRow', (e) => getComputedStyle(e).display !== 'none'), shown, operation);
  }
  await page.close();
});

test('a settings file opened in the page, and a link, make the desktop\'s sheets', async () => {
  const file = path.join(work, '3年2組.json');
  fs.writeFileSync(file, JSON.stringify({ format: 'tavelin-settings', version: 3, operation: 'subtraction',
    u1l: '0', u1h: '9', u2l: '1', u2h: '9', u3l: '1', u3h: '9', d1l: '0', d1h: '9', d2l: '0', d2h: '9',
    AnsLow: '1', AnsHigh: '999', rgKuriagari: 1, QNumPattern: 1, PrnNum: '12', CellMM: 10, Problems: 12 }));
  const expected = desktopCsv(['--settings', file, '--seed', '99', '--sheets', '4']);
  const page = await openPage();
  const input = await page.$('#settingsFile');
  await input.uploadFile(file);
  await page.waitForFunction(() => document.getElementById('operation').value === 'subtraction');
  await setValue(page, 'seed', '99');
  await setValue(page, 'sheets', 4);
  await page.click('#btnClassSet');
  await closeDialog(page);
  assert.ok((await downloaded(page, 'btnCsv')).equals(expected));

  // この問題のリンク: the settings and the seed in the address.
  await page.click('#btnPreview');
  const single = await downloaded(page, 'btnCsv');
  const link = await page.evaluate(() => linkOfShown());
  // The link shows its sheet at once; the next プレビュー draws new problems.
  const other = await openPage(new URL(link).search);
  assert.ok((await downloaded(other, 'btnCsv')).equals(single));
  assert.equal(await other.$eval('#seed', (e) => e.value), '');
  await other.click('#btnPreview');
  assert.ok(!(await downloaded(other, 'btnCsv')).equals(single));
  await other.close();
  await page.close();
});

function pdfText(file, page) {
  return execFileSync('pdftotext', ['-f', String(page), '-l', String(page), '-layout', file, '-'], { encoding: 'utf8' });
}

function pdfPages(file) {
  const info = execFileSync('pdfinfo', [file], { encoding: 'utf8' });
  const [, width, height] = info.match(/Page size:\s+([0-9.]+) x ([0-9.]+)/);
  return { pages: Number(info.match(/Pages:\s+(\d+)/)[1]), widthMm: width / 72 * 25.4, heightMm: height / 72 * 25.4 };
}

// The rows of a CSV: sheet, problem, operation, first, second, answer, remainder.
function rows(csv) {
  return csv.toString('utf8').replace(/^\uFEFF/, '').trim().split(/\r?\n/).slice(1).map((l) => l.split(','));
}

test('printing: one sheet a page at its paper, the problems and answers of the CSV', async () => {
  for (const [paper, widthMm, heightMm, layout] of [['A4', 210, 297, '0'], ['B5', 182, 257, '10'], ['B4', 257, 364, '0']]) {
    const page = await openPage();
    await setValue(page, 'preset', 5);
    await setValue(page, 'CellMM', layout);
    await setValue(page, 'paper', paper);
    await setValue(page, 'seed', '5');
    await page.click('#btnPreview');
    const csv = rows(await downloaded(page, 'btnCsv'));
    await page.click('#btnPrintWithAns');
    await page.waitForFunction(() => window.printed === 1);
    const file = path.join(work, `print-${paper}.pdf`);
    await page.pdf({ path: file, preferCSSPageSize: true, printBackground: true });
    const pdf = pdfPages(file);
    assert.equal(pdf.pages, 2);
    assert.ok(Math.abs(pdf.widthMm - widthMm) < 1 && Math.abs(pdf.heightMm - heightMm) < 1, `${paper}: ${pdf.widthMm}×${pdf.heightMm}`);
    const digits = (text) => text.replace(/[^0-9]/g, '');
    const problems = digits(pdfText(file, 1)), answers = digits(pdfText(file, 2));
    assert.match(pdfText(file, 2), /答え/);
    for (const [, , , first, second, answer] of csv) {
      assert.ok(answers.includes(answer), `${paper}: answer ${answer} not on the answer sheet`);
      assert.ok(problems.includes(second), `${paper}: ${second} not on the problem sheet`);
      assert.ok(problems.includes(first.slice(-1)), `${paper}: ${first}`);
    }
    // The number goes on when the dialog closes, and can be set back.
    await closeDialog(page);
    assert.equal(await page.$eval('#PrnNum', (e) => e.value), '2');
    await page.click('#btnNumberBack');
    assert.equal(await page.$eval('#PrnNum', (e) => e.value), '1');
    await page.close();
  }
  // A class set: one document, in the desktop's order (each answer sheet after its sheet).
  const page = await openPage();
  await setValue(page, 'preset', 0);
  await setValue(page, 'sheets', 3);
  await setValue(page, 'order', 'each');
  await page.click('#btnClassSet');
  await page.waitForFunction(() => window.printed === 1);
  const file = path.join(work, 'set.pdf');
  await page.pdf({ path: file, preferCSSPageSize: true });
  assert.equal(pdfPages(file).pages, 6);
  assert.match(pdfText(file, 1), /問題No\.1/);
  assert.match(pdfText(file, 2), /答え/);
  assert.match(pdfText(file, 3), /問題No\.2/);
  await page.close();
});

test('what went out is what the CSV holds; the problem-count group and the count of 大きなマス are one choice', async () => {
  const page = await openPage();
  await setValue(page, 'preset', 3);
  await setValue(page, 'seed', '5');
  await page.click('#btnPreview');
  for (const number of [1, 2]) {
    await page.click('#btnPrint');
    await page.waitForFunction((n) => window.printed === n, {}, number);
    await closeDialog(page);
    const csv = await downloaded(page, 'btnCsv');
    assert.equal(page.downloadedName, `かけ算-No${number}.csv`);
    assert.match(csv.toString('utf8').split(/\r?\n/)[1], new RegExp(`^${number},1,`));
  }
  // In 大きなマス the group's 16 is the count's 16, and back.
  await setValue(page, 'CellMM', '10');
  await page.click('#QNumPattern_1');
  assert.equal(await page.$eval('#Problems', (e) => e.value), '16');
  await setValue(page, 'Problems', '12');
  assert.equal(await page.$eval('#QNumPattern_0', (e) => e.checked), true);
  await page.close();
});

test('bad files, impossible patterns and a class set of 100 get the desktop\'s messages and print nothing', async () => {
  const page = await openPage();
  for (const [name, text] of [['壊れた.json', '{"format": "tavelin-settings", '], ['ちがう.json', '{"format": "x"}'],
                              ['大きな番号.json', '{"format": "tavelin-settings", "version": 3, "PrnNum": 1e300}']]) {
    const file = path.join(work, name);
    fs.writeFileSync(file, text);
    const desktop = spawnSync(program, ['--pdf', path.join(work, 'x.pdf'), '--settings', file],
                              { encoding: 'utf8', env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' } });
    assert.equal(desktop.status, 1);
    const input = await page.$('#settingsFile');
    await input.uploadFile(file);
    await page.waitForFunction(() => !document.getElementById('message').hidden);
    assert.equal(await message(page), desktop.stderr.trim().replaceAll(file, name));
    await page.click('#message button');
  }
  // No problem meets the pattern: the shortfall warning, printing stays
  // off, and the note no longer tells of the sheet before.
  await setValue(page, 'preset', 0);
  await page.click('#btnPreview');
  assert.match(await page.$eval('#note', (e) => e.textContent), /^No\.1（/);
  await setValue(page, 'AnsLow', '99998');
  await page.click('#btnPreview');
  assert.equal(await message(page), '今の条件では、指定された問題数が確保できません。');
  assert.equal(await page.$eval('#btnPrint', (e) => e.disabled), true);
  assert.equal(await page.$eval('#note', (e) => e.textContent), '');
  await page.click('#message button');
  await page.click('#btnClassSet');
  assert.equal(await message(page), '今の条件では、指定された問題数が確保できません。');
  await page.click('#message button');
  await setValue(page, 'AnsLow', '0');
  await setValue(page, 'sheets', 100);
  await page.click('#btnClassSet');
  assert.equal(await message(page), '枚数「100」は 1～99 の整数ではありません。');
  assert.equal(await page.evaluate(() => window.printed), 0);
  await page.close();
});

test('a diagnostic sheet: the desktop\'s problems, its key printed, a pupil\'s answers read back', async () => {
  const page = await openPage();
  for (const operation of ['division', 'subtraction']) {
    await setValue(page, 'diagnosticOperation', operation);
    await setValue(page, 'seed', '7');
    await page.click('#btnDiagnostic');
    assert.equal(await message(page), '', operation);
    // Named after its own operation, not the form's (かけ算).
    const csv = await downloaded(page, 'btnCsv');
    assert.ok(csv.equals(desktopCsv(['--diagnostic', operation, '--seed', '7'])), `${operation}: the CSVs differ`);
    assert.equal(page.downloadedName, `${operation === 'division' ? 'わり算' : 'ひき算'}診断-No1.csv`);
  }
  // Printed with its key: the right answers and the letters' meanings.
  await page.click('#btnPrintWithAns');
  await page.waitForFunction(() => window.printed === 1);
  const file = path.join(work, 'diagnostic.pdf');
  await page.pdf({ path: file, preferCSSPageSize: true });
  assert.equal(pdfPages(file).pages, 2);
  assert.match(pdfText(file, 1), /ひき算（診断）/);
  assert.equal((pdfText(file, 2).match(/正答 *[0-9]/g) || []).length, 12);
  assert.match(pdfText(file, 2), /記号の意味/);
  // Every glyph in the sheets' own faces, the key's too: no face of the device.
  const faces = execFileSync('pdffonts', [file], { encoding: 'utf8' }).trim().split('\n').slice(2).map((l) => l.split(/\s+/)[0]);
  for (const face of faces) assert.match(face, /(IPA|BIZ|Klee)/, `${face} is not a face of the sheets`);
  await closeDialog(page);

  // A pupil who never lowers the digit lent from; a text that is not an answer first.
  const problems = await page.evaluate(() => shown.diagnostic.problems);
  const written = problems.map(({ first, second }) => {
    let answer = 0;
    for (let place = 1; first > 0; first = Math.floor(first / 10), second = Math.floor(second / 10), place *= 10) {
      const [a, b] = [first % 10, second % 10];
      answer += place * (a < b ? a + 10 - b : a - b);
    }
    return String(answer);
  });
  for (const [index, text] of written.entries()) await setValue(page, `answer${index + 1}`, index === 2 ? 'x' : text);
  await page.click('#btnDiagnose');
  assert.equal(await page.$eval('#diagnosisResult', (e) => e.textContent), '3問目の答え「x」は答えとして読めません。');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'answer3');
  await setValue(page, 'answer3', '');
  await page.click('#btnDiagnose');
  assert.match(await page.$eval('#diagnosisResult', (e) => e.textContent), /^まちがい方：くり下げた10を使うが、となりの位の数字を1へらしていない。/);
  // Another operation or a Preview: the boxes go with the sheet.
  await page.click('#btnPreview');
  assert.equal(await page.$eval('#diagnosis', (e) => e.hidden), true);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('a class\'s pages read in the page: photos of the desktop\'s sheets marked as the desktop marks them, a PDF named and refused', async () => {
  const env = { ...process.env, QT_QPA_PLATFORM: 'offscreen' };
  const pdf = path.join(work, 'class.pdf');
  execFileSync(program, ['--pdf', pdf, '--preset', '3けた÷1けた（商に0が立つ）', '--cell', '10', '--problems', '6', '--sheets', '2',
                         '--roll-numbers', '--seed', '31'], { env });
  execFileSync('pdftoppm', ['-r', '150', '-png', pdf, path.join(work, 'photo')]);
  const desktop = path.join(work, 'read.csv');
  spawnSync(program, ['--read', pdf, '--results', desktop], { env });
  const page = await openPage();
  // Sheets made here can be read back: 読み取り用の印 starts checked, and
  // 最初の設定に戻す checks it again.
  assert.equal(await page.$eval('#ReadingMarks', (e) => e.checked), true);
  await page.$eval('#ReadingMarks', (e) => { e.checked = false; });
  await page.click('#btnResetSettings');
  assert.equal(await page.$eval('#ReadingMarks', (e) => e.checked), true);
  const input = await page.$('#scanFiles');
  // The first photo again, under another name: counted once, and said.
  fs.copyFileSync(path.join(work, 'photo-1.png'), path.join(work, 'again.png'));
  await input.uploadFile(path.join(work, 'photo-1.png'), path.join(work, 'photo-2.png'), pdf, path.join(work, 'again.png'));
  await page.waitForFunction(() => !document.getElementById('reading').hidden, { timeout: 60000 });
  const failures = await page.$eval('#readingFailures', (e) => e.textContent);
  assert.match(failures, /^class\.pdf: PDF はここでは読めません/);
  assert.match(failures, /\nagain\.png: photo-1\.png と同じプリント（出席番号 1）なので、一度だけ数えました$/);
  assert.match(await page.$eval('#readingSummary', (e) => e.textContent), /^2枚を読みました（3ページ中）。/);
  const rolls = await page.$$eval('#classTable tr', (rows) => rows.slice(1).map((r) => r.cells[0].textContent));
  assert.deepEqual(rolls, ['1', '2']);
  assert.equal(String(await downloaded(page, 'btnResultsCsv')), fs.readFileSync(desktop, 'utf8'));
  // Each pupil's next sheet from what was read, each after its answer sheet:
  // the sheets left blank cannot say, so the diagnostic sheet again, with
  // the pupil's 出席番号.
  await page.click('#btnFollowUps');
  await page.waitForFunction(() => window.printed === 1);
  assert.match(await page.$eval('#note', (e) => e.textContent), /一人ひとりのプリントを 2枚作りました/);
  const next = path.join(work, 'follow-ups.pdf');
  await page.pdf({ path: next, preferCSSPageSize: true });
  assert.equal(pdfPages(next).pages, 4);
  assert.match(pdfText(next, 1), /問題No\.3/);
  assert.deepEqual(page.errors, []);
  await page.close();
});
