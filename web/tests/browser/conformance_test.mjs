// The conformance table (testing/conformance/requests.json) through the
// command line and the page: for every request both give the same CSV bytes
// (so the same sheet numbers) or the same message, and name a pupil's
// procedure alike. The window runs the same table (app/tests).
//   TAVELIN_WEB=folder of scripts/build-web  TAVELIN=the program  node --test
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { openPage, setValue, downloaded, message, program, work, startBrowser, stopBrowser } from './page_helpers.mjs';

before(startBrowser);
after(stopBrowser);

const here = path.dirname(fileURLToPath(import.meta.url));
const table = JSON.parse(fs.readFileSync(path.join(here, '../../../testing/conformance/requests.json'), 'utf8'));
const folder = fs.mkdtempSync(path.join(work, 'conformance-'));

function run(args) {
  return spawnSync(program, args, { cwd: folder, encoding: 'buffer',
    env: { ...process.env, QT_QPA_PLATFORM: 'offscreen', XDG_DATA_HOME: path.join(folder, 'data') } });
}

const presets = run(['--list-presets']).stdout.toString('utf8').trim().split('\n').map((line) => line.split('\t')[1]);
const requests = [
  ...presets.flatMap((preset) => table.everyPreset.seeds.map((seed) => ({ name: `${preset} ${seed}`, preset, seed, sheets: table.everyPreset.sheets }))),
  ...table.requests,
];

function writeSettingsFile(request) {
  const text = request.fileText ?? JSON.stringify({ format: 'tavelin-settings', version: 3, ...request.file });
  fs.writeFileSync(path.join(folder, 'request.json'), text);
  return path.join(folder, 'request.json');
}

// A pupil's answers to the sheet of `csv`: right, or with the first `wrong` one more.
function pupilAnswers(csv, request) {
  const wrong = request.answers === 'right-but' ? request.wrong : 0;
  return csv.toString('utf8').trim().split(/\r?\n/).slice(1).map((line, index) => {
    const [, , , , , answer, remainder] = line.split(',');
    const value = String(Number(answer) + (index < wrong ? 1 : 0));
    return remainder && remainder !== '0' ? `${value}あまり${remainder}` : value;
  });
}

function byCommandLine(request) {
  fs.rmSync(path.join(folder, 'cli.csv'), { force: true });
  const args = ['--pdf', 'cli.pdf', '--csv', 'cli.csv', '--seed', request.seed];
  if (request.diagnostic) args.push('--diagnostic', request.diagnostic);
  else args.push('--sheets', request.sheets ?? '1');
  if (request.preset) args.push('--preset', request.preset);
  if (request.file || request.fileText) {
    writeSettingsFile(request);
    args.push('--settings', 'request.json');
  }
  const made = run(args);
  if (made.status !== 0) return { message: made.stderr.toString('utf8').trim() };
  const answer = { csv: fs.readFileSync(path.join(folder, 'cli.csv')), message: '' };
  if (request.answers) {
    const id = run(['--history', '--limit', '1']).stdout.toString('utf8').split('\t')[0];
    answer.procedure = run(['--diagnose', id, ...pupilAnswers(answer.csv, request)]).stdout.toString('utf8').split('\n')[0].split('\t')[1];
  }
  return answer;
}

async function byPage(page, request) {
  const said = async () => {
    const text = await message(page);
    if (text) await page.click('#message button');
    return text;
  };
  await page.click('#btnResetSettings');
  if (request.preset) {
    const index = await page.$$eval('#preset option', (all, name) => all.find((o) => o.textContent === name).value, request.preset);
    await setValue(page, 'preset', index);
  }
  if (request.file || request.fileText) {
    await page.evaluate(() => { document.getElementById('note').textContent = ''; });
    await (await page.$('#settingsFile')).uploadFile(writeSettingsFile(request));
    await page.waitForFunction(() => document.getElementById('note').textContent !== '' || !document.getElementById('message').hidden);
    const refused = await said();
    if (refused) return { message: refused };
  }
  await setValue(page, 'seed', request.seed);
  if (request.diagnostic) {
    await setValue(page, 'diagnosticOperation', request.diagnostic);
    await page.click('#btnDiagnostic');
    const refused = await said();
    if (refused) return { message: refused };
    const answer = { csv: await downloaded(page, 'btnCsv'), message: '' };
    if (request.answers) {
      for (const [index, text] of pupilAnswers(answer.csv, request).entries()) await setValue(page, `answer${index + 1}`, text);
      await page.click('#btnDiagnose');
      answer.procedure = await page.$eval('#diagnosisResult', (e) => e.textContent);
    }
    return answer;
  }
  await setValue(page, 'sheets', request.sheets ?? '1');
  await page.click('#btnClassSetCsv');
  const refused = await said();
  if (refused) return { message: refused };
  return { csv: await downloaded(page, 'btnCsv'), message: '' };
}

test('the page answers every request of the table as the command line does', async () => {
  const page = await openPage();
  for (const request of requests) {
    const cli = byCommandLine(request), shown = await byPage(page, request);
    if (request.message) assert.equal(cli.message, request.message, request.name);
    assert.equal(shown.message, cli.message, request.name);
    if (!cli.message) assert.ok(cli.csv.equals(shown.csv), `${request.name}: the CSVs differ`);
    if (request.procedure) {
      assert.equal(cli.procedure, request.procedure, request.name);
      assert.ok(shown.procedure.includes(request.procedure), `${request.name}: ${shown.procedure}`);
    }
    if (request.sameAs) assert.ok(byCommandLine({ ...request, seed: request.sameAs }).csv.equals(cli.csv), `${request.name}: another sheet`);
  }
  assert.deepEqual(page.errors, []);
  await page.close();
});
