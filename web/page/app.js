// The browser edition's page: the form of the window, and the sheets made
// and drawn by the program's core (tavelin-core.js, WebAssembly). Nothing
// leaves the device: settings, sheets and CSVs stay in the browser.
'use strict';

const $ = (id) => document.getElementById(id);

// The core: one call, a JSON request in, a JSON answer out.
let core = null;
function call(request) {
  const text = JSON.stringify(request);
  const size = core.lengthBytesUTF8(text) + 1;
  const at = core._malloc(size);
  try {
    core.stringToUTF8(text, at, size);
    return JSON.parse(core.UTF8ToString(core._tavelin_call(at)));
  } finally {
    core._free(at);
  }
}

let form = null;        // the fields, choices, papers, operations and presets the core knows
let operations = [];    // the operations' names, signs, patterns and options
const placesBefore = {};  // what a divisor's unused places held

// What the core made last: the sheet shown (its settings as the core names
// them, its seed, CSV and pages), or the last class set. Printing, the CSV
// and the link use them as they are.
let shown = null;
let classSet = null;

const kPlaces = ['千の位', '百の位', '十の位', '一の位'];
// The decimal places' boxes, by the digits of their names (u01l …).
const kDecimalPlaces = [['01', '1/10の位'], ['001', '1/100の位'], ['0001', '1/1000の位']];

// ---- messages -------------------------------------------------------------

// A message box of the window: a warning or an error, spoken at once.
function showMessage(kind, text) {
  const box = $('message');
  box.textContent = '';
  const title = document.createElement('strong');
  title.textContent = kind;
  const body = document.createElement('p');
  body.textContent = text;
  const ok = document.createElement('button');
  ok.type = 'button';
  ok.textContent = 'OK';
  ok.addEventListener('click', () => {
    box.hidden = true;
    if (box.returnFocus) box.returnFocus.focus();
  });
  box.append(title, body, ok);
  box.className = kind === 'エラー' ? 'error' : 'warning';
  box.returnFocus = document.activeElement;
  box.hidden = false;
  ok.focus();
}

function clearMessage() {
  $('message').hidden = true;
  $('message').textContent = '';
}

function setNote(text) {
  $('note').textContent = text;
}

// An answer of the core that is not ok: its message, shown as the window
// shows it (a shortfall or a layout that does not fit is a warning).
function refuse(answer) {
  const warning = answer.kind === 'shortfall' || answer.kind === 'layout';
  showMessage(warning ? '警告' : 'エラー', answer.message);
}

// ---- the form -------------------------------------------------------------

function radioGroup(name, labels, container) {
  container.textContent = '';
  labels.forEach((label, index) => {
    const id = `${name}_${index}`;
    const input = document.createElement('input');
    input.type = 'radio';
    input.name = name;
    input.id = id;
    input.value = String(index);
    const text = document.createElement('label');
    text.htmlFor = id;
    text.textContent = label;
    const item = document.createElement('span');
    item.className = 'item';
    item.append(input, text);
    container.append(item);
  });
}

function choice(name) {
  const checked = document.querySelector(`input[name="${name}"]:checked`);
  return checked ? Number(checked.value) : 0;
}

function setChoice(name, index) {
  const item = document.querySelector(`input[name="${name}"][value="${index}"]`);
  if (item) item.checked = true;
}

function option(select, value, text) {
  const item = document.createElement('option');
  item.value = String(value);
  item.textContent = text;
  select.append(item);
}

function operationOf(key) {
  return operations.find((o) => o.key === key) || operations[0];
}

function buildForm() {
  for (const o of operations) option($('operation'), o.key, o.name);
  for (const o of operations) if (o.diagnostic) option($('diagnosticOperation'), o.key, o.name);
  option($('preset'), '', '（選ぶ）');
  form.presets.forEach((name, index) => option($('preset'), index, name));

  const body = $('digitTable').tBodies[0];
  for (const row of ['u', 'd']) {
    const tr = document.createElement('tr');
    const th = document.createElement('th');
    th.scope = 'row';
    th.id = `${row}Name`;
    tr.append(th);
    const places = [4, 3, 2, 1, ...kDecimalPlaces.map(([digits]) => digits)];
    for (const place of places) {
      const td = document.createElement('td');
      if (typeof place === 'string') td.className = 'decimal';
      for (const end of ['l', 'h']) {
        const input = document.createElement('input');
        input.id = `${row}${place}${end}`;
        input.name = input.id;
        input.type = 'text';
        input.inputMode = 'numeric';
        input.className = 'digit';
        input.autocomplete = 'off';
        td.append(input);
        if (end === 'l') {
          const tilde = document.createElement('span');
          tilde.textContent = '～';
          tilde.setAttribute('aria-hidden', 'true');
          td.append(tilde);
        }
      }
      tr.append(td);
    }
    body.append(tr);
  }
  for (const field of form.texts) {
    const box = $(field.name);
    if (field.maxLength > 0) box.maxLength = field.maxLength;
    box.value = field.value;
    // A box left empty shows what it holds (0 for a number), as in the window.
    box.addEventListener('blur', () => { if (box.value === '') box.value = field.blank; });
  }
  radioGroup('QNumPattern', ['３段４列', '４段４列'], $('QNumPatternItems'));
  radioGroup('rgWaku', ['あり', 'なし'], $('rgWakuItems'));
  radioGroup('rgAmari', form.remainders, $('rgAmariItems'));
  for (const c of form.choices) if (c.name !== 'rgKuriagari') setChoice(c.name, c.value);

  option($('CellMM'), 0, '標準');
  for (let mm = form.cells[0]; mm <= form.cells[1]; ++mm) option($('CellMM'), mm, `大きなマス ${mm} mm`);
  for (const count of form.problemCounts) option($('Problems'), count, `${count} 問`);
  $('Problems').value = '12';
  for (const font of form.digitFonts) option($('DigitFont'), font.face, font.name);
  for (const paper of form.papers) option($('paper'), paper.name, paper.name);

  setOperation('multiplication', true);
  const kuriagari = form.choices.find((c) => c.name === 'rgKuriagari');
  setChoice('rgKuriagari', kuriagari.value);
  showLayout();
}

function setOperation(key, force) {
  const before = $('operation').dataset.shown;
  if (before === key && !force) return;
  $('operation').value = key;
  $('operation').dataset.shown = key;
  const rules = operationOf(key);
  if (rules.diagnostic) $('diagnosticOperation').value = key;
  // The decimal places' boxes for an operation with decimals only.
  for (const cell of document.querySelectorAll('#digitTable .decimal')) cell.hidden = !rules.decimal;
  const [title, subtitle] = [`${rules.name}の筆算プリントづくり`, '位ごとの数字と答えの範囲から問題を作ります'];
  $('title').textContent = title;
  $('subtitle').textContent = subtitle;
  document.title = title;
  $('uName').textContent = rules.first;
  $('dName').innerHTML = '';
  $('dName').append(`${rules.sign} ${rules.second}`);
  $('rgKuriagariCaption').textContent = rules.caption;
  radioGroup('rgKuriagari', rules.patterns, $('rgKuriagariItems'));
  setChoice('rgKuriagari', 0);
  // The places the second number does not have hold 0 and take no input,
  // and get back what they held when another operation is chosen.
  for (let place = 1; place <= 4; ++place) {
    for (const end of ['l', 'h']) {
      const box = $(`d${place}${end}`);
      const unused = place > rules.secondPlaces;
      if (unused && !box.disabled) {
        placesBefore[box.id] = box.value;
        box.value = '0';
      } else if (!unused && box.disabled) {
        box.value = placesBefore[box.id] ?? '0';
      }
      box.disabled = unused;
    }
  }
  nameBoxes(rules);
  $('rgAmariBox').hidden = !rules.remainder;
  $('PartialSumCarryRow').hidden = !rules.partialSums;
  clearPreview();
}

// The names a screen reader speaks for the digit boxes.
function nameBoxes(rules) {
  for (const row of ['u', 'd'])
    for (let place = 1; place <= 4; ++place)
      for (const end of ['l', 'h'])
        $(`${row}${place}${end}`).setAttribute('aria-label',
          `${row === 'u' ? rules.first : rules.second} ${kPlaces[4 - place]} ${end === 'l' ? 'いちばん小さい数字' : 'いちばん大きい数字'}`);
  for (const row of ['u', 'd'])
    for (const [digits, name] of kDecimalPlaces)
      for (const end of ['l', 'h'])
        $(`${row}${digits}${end}`).setAttribute('aria-label',
          `${row === 'u' ? rules.first : rules.second} ${name} ${end === 'l' ? 'いちばん小さい数字' : 'いちばん大きい数字'}`);
  $('AnsLow').setAttribute('aria-label', '答えの範囲 下限');
  $('AnsHigh').setAttribute('aria-label', '答えの範囲 上限');
}

function showLayout() {
  const large = Number($('CellMM').value) > 0;
  $('Problems').disabled = !large;
  $('DigitFont').disabled = !large;
  $('ReadingMarks').disabled = !large;
}

// The form's values, as the core reads them.
function settingsOfForm() {
  const settings = { operation: $('operation').value };
  for (const field of form.texts) settings[field.name] = $(field.name).value;
  for (const c of form.choices) settings[c.name] = choice(c.name);
  for (const flag of form.flags) settings[flag.name] = $(flag.name).checked;
  settings.CellMM = Number($('CellMM').value);
  settings.Problems = Number($('Problems').value);
  settings.DigitFont = $('DigitFont').value;
  return settings;
}

// The problem-count group and the count of 大きなマス are one choice where
// they meet (12 and 16).
function groupChanged() {
  const count = form.groupCounts[choice('QNumPattern')];
  if (Number($('CellMM').value) > 0) $('Problems').value = String(count);
  clearPreview();
}

function problemsChanged() {
  const index = form.groupCounts.indexOf(Number($('Problems').value));
  if (index >= 0) setChoice('QNumPattern', index);
  clearPreview();
}

// Sets every value that `settings` names, the operation first.
function applySettings(settings) {
  if (settings.operation) setOperation(settings.operation);
  for (const flag of form.flags) if (flag.name in settings) $(flag.name).checked = settings[flag.name];
  for (const field of form.texts) if (field.name in settings) $(field.name).value = settings[field.name];
  for (const c of form.choices) if (c.name in settings) setChoice(c.name, settings[c.name]);
  if ('CellMM' in settings) $('CellMM').value = String(settings.CellMM);
  if ('Problems' in settings && settings.Problems > 0) $('Problems').value = String(settings.Problems);
  if ('DigitFont' in settings) $('DigitFont').value = settings.DigitFont;
  showLayout();
  clearPreview();
}

// The check boxes as the core starts them (読み取り用の印 checked, as on the
// desktop).
function resetFlags() {
  for (const flag of form.flags) $(flag.name).checked = flag.value;
}

function resetSettings() {
  resetFlags();
  const start = {};
  for (const field of form.texts) start[field.name] = field.value;
  for (const c of form.choices) start[c.name] = c.value;
  start.CellMM = 0;
  start.Problems = 12;
  start.DigitFont = form.digitFonts[0].face;
  applySettings(start);
}

// ---- preview ---------------------------------------------------------------

function clearPreview() {
  shown = null;
  $('preview').textContent = '';
  $('diagnosis').hidden = true;
  for (const id of ['btnPrint', 'btnPrintWithAns', 'btnLink']) $(id).disabled = true;
  $('btnCsv').disabled = !classSet;
}

function pageElement(page) {
  const holder = document.createElement('figure');
  holder.className = 'page';
  holder.innerHTML = page.svg;
  const svg = holder.querySelector('svg');
  svg.setAttribute('role', 'img');
  svg.setAttribute('aria-label', `${page.answers ? '答え' : '問題'}のプリント No.${page.number}`);
  const caption = document.createElement('figcaption');
  caption.textContent = page.answers ? '答え' : '問題';
  holder.append(caption);
  return holder;
}

// Shows what the core made: its pages, its note; printing, the CSV and the
// link take it as it is.
function show(answer, diagnostic) {
  shown = { ...answer, diagnostic };
  classSet = null;
  const preview = $('preview');
  preview.textContent = '';
  for (const page of answer.pages) preview.append(pageElement(page));
  for (const id of ['btnPrint', 'btnPrintWithAns', 'btnCsv', 'btnLink']) $(id).disabled = false;
  setNote(answer.note);
  // On a narrow screen (an iPad upright) the preview is below the form.
  const top = preview.getBoundingClientRect().top;
  if (top > window.innerHeight * 0.8 && preview.scrollIntoView) preview.scrollIntoView({ block: 'start' });
}

// A preview with the seed typed (or `seed`, a link's), a fresh one for none.
function btnPreviewClick(seed) {
  clearMessage();
  const answer = call({ action: 'preview', settings: settingsOfForm(), seed: seed ?? $('seed').value, paper: $('paper').value });
  if (!answer.ok) {
    clearPreview();
    setNote('');
    refuse(answer);
    return;
  }
  if (answer.warning) showMessage('警告', answer.warning);
  show(answer, null);
}

// The sheet shown, as it is printed now: its problems, with the sentence,
// grid, marks, face and number the form holds now.
function sheetNow() {
  const made = { settings: shown.settings, seed: shown.seed };
  if (shown.diagnostic) made.operation = shown.diagnostic.operation;
  return call({ action: 'sheet', shown: made, settings: settingsOfForm(), paper: $('paper').value });
}

// ---- diagnostic sheets -----------------------------------------------------

// 診断プリント: twelve problems that tell a pupil's wrong procedure, shown
// and printed as a Preview's sheet is, with boxes for a pupil's answers.
function btnDiagnosticClick(seed) {
  clearMessage();
  const operation = $('diagnosticOperation').value;
  const answer = call({ action: 'diagnostic', settings: settingsOfForm(), operation, seed: seed ?? $('seed').value,
                        paper: $('paper').value });
  if (!answer.ok) {
    clearPreview();
    setNote('');
    refuse(answer);
    return;
  }
  show(answer, { operation, problems: answer.problems });
  showAnswerBoxes(answer.problems);
  if (answer.tooClose) showMessage('お知らせ', answer.tooClose);
}

function showAnswerBoxes(problems) {
  const boxes = $('answerBoxes');
  boxes.textContent = '';
  problems.forEach((problem, index) => {
    const id = `answer${index + 1}`;
    const label = document.createElement('label');
    label.htmlFor = id;
    label.textContent = `${index + 1}問目　${problem.text} ＝ `;
    const box = document.createElement('input');
    box.type = 'text';
    box.id = id;
    box.autocomplete = 'off';
    box.setAttribute('aria-label', `${index + 1}問目 ${problem.text} の答え`);
    const item = document.createElement('span');
    item.append(label, box);
    boxes.append(item);
  });
  $('diagnosisResult').textContent = '';
  $('diagnosis').hidden = false;
}

function btnDiagnoseClick() {
  if (!shown || !shown.diagnostic) return;
  const { operation, problems } = shown.diagnostic;
  const answers = problems.map((_, index) => $(`answer${index + 1}`).value);
  const answer = call({ action: 'diagnose', operation, problems, answers });
  $('diagnosisResult').textContent = answer.ok ? answer.text : answer.message;
  if (!answer.ok && answer.problem) $(`answer${answer.problem}`).focus();
}

// ---- the class's answers read ---------------------------------------------

// Photos are read at most this many pixels on their longer side.
const kLongestScanSide = 2400;

function readPage(rgba, width, height, source) {
  const pixels = core._malloc(rgba.length);
  const nameSize = core.lengthBytesUTF8(source) + 1;
  const name = core._malloc(nameSize);
  try {
    core.HEAPU8.set(rgba, pixels);
    core.stringToUTF8(source, name, nameSize);
    return JSON.parse(core.UTF8ToString(core._tavelin_read_page(pixels, width, height, name)));
  } finally {
    core._free(pixels);
    core._free(name);
  }
}

async function pixelsOf(file) {
  const bitmap = await createImageBitmap(file);
  const scale = Math.min(1, kLongestScanSide / Math.max(bitmap.width, bitmap.height));
  const width = Math.max(1, Math.round(bitmap.width * scale)), height = Math.max(1, Math.round(bitmap.height * scale));
  const canvas = document.createElement('canvas');
  canvas.width = width;
  canvas.height = height;
  const context = canvas.getContext('2d', { willReadFrequently: true });
  context.fillStyle = '#fff';
  context.fillRect(0, 0, width, height);
  context.drawImage(bitmap, 0, 0, width, height);
  bitmap.close();
  return { rgba: context.getImageData(0, 0, width, height).data, width, height };
}

async function readScans(files) {
  clearMessage();
  call({ action: 'beginReading' });
  const failures = [];
  const asked = [];
  for (const file of files) {
    let image;
    try {
      image = await pixelsOf(file);
    } catch (e) {
      failures.push(call({ action: 'unreadableScan', name: file.name, type: file.type }).message);
      continue;
    }
    const answer = readPage(image.rgba, image.width, image.height, file.name);
    if (!answer.ok) failures.push(answer.message);
    else if (!answer.read) failures.push(answer.failure);
    else {
      // A sheet read again in place of an earlier photo of it: only its
      // own answers are asked.
      if (answer.replaced) {
        failures.push(answer.note);
        for (let i = asked.length - 1; i >= 0; --i) if (asked[i].sheet === answer.sheet) asked.splice(i, 1);
      }
      asked.push(...answer.asked);
    }
  }
  $('reading').hidden = false;
  $('readingFailures').textContent = failures.join('\n');
  showAsked(asked);
  showClassResults();
  $('reading').scrollIntoView({ block: 'start' });
  const first = $('askedAnswers').querySelector('input');
  if (first) first.focus();
}

function pictureOf(item) {
  const canvas = document.createElement('canvas');
  canvas.width = item.width;
  canvas.height = item.height;
  const context = canvas.getContext('2d');
  const image = context.createImageData(item.width, item.height);
  item.pixels.forEach((grey, i) => image.data.set([grey, grey, grey, 255], i * 4));
  context.putImageData(image, 0, 0);
  canvas.setAttribute('role', 'img');
  canvas.setAttribute('aria-label', `書かれた答えの画像 ${item.label}`);
  return canvas;
}

function showAsked(asked) {
  const list = $('askedAnswers');
  list.textContent = '';
  $('askedHelp').hidden = asked.length === 0;
  asked.forEach((item, index) => {
    const row = document.createElement('div');
    row.className = 'asked';
    const input = document.createElement('input');
    input.type = 'text';
    input.id = `asked${index + 1}`;
    input.value = item.reading;
    input.autocomplete = 'off';
    const label = document.createElement('label');
    label.htmlFor = input.id;
    label.textContent = item.label;
    const said = document.createElement('span');
    said.setAttribute('role', 'status');
    const type = () => {
      const answer = call({ action: 'typeReadAnswer', sheet: item.sheet, problem: item.problem, text: input.value });
      said.textContent = answer.ok ? '✓' : answer.message;
      if (answer.ok) showClassResults();
      return answer.ok;
    };
    input.addEventListener('change', guarded(type));
    input.addEventListener('keydown', guarded((e) => {
      if (e.key !== 'Enter') return;
      e.preventDefault();
      if (!type()) return;
      const next = $(`asked${index + 2}`);
      (next || $('btnResultsCsv')).focus();
    }));
    row.append(pictureOf(item), label, input, said);
    list.append(row);
  });
}

let classResults = null;

function showClassResults() {
  classResults = call({ action: 'classResults' });
  const table = $('classTable');
  table.textContent = '';
  const head = table.insertRow();
  for (const name of classResults.header) {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = name;
    head.append(cell);
  }
  for (const row of classResults.rows) {
    const line = table.insertRow();
    for (const text of row) line.insertCell().textContent = text;
  }
  $('readingSummary').textContent = [classResults.summary,
    ...classResults.procedures.map((p) => `${p.name}: ${p.count}人`)].join('\n');
  $('btnResultsCsv').disabled = classResults.rows.length === 0;
  $('btnFollowUps').disabled = classResults.rows.length === 0;
}

// Each pupil's next sheet from what was just read, with its answer sheet;
// the form's number stays as it is.
function btnFollowUpsClick() {
  clearMessage();
  const answer = call({ action: 'followUps', paper: $('paper').value, seed: '' });
  if (!answer.ok) {
    refuse(answer);
    return;
  }
  setNote(answer.note);
  printPages(answer.pages, $('PrnNum').value, `一人ひとりのプリント No.${answer.first}～No.${answer.last}`);
}

// ---- printing --------------------------------------------------------------

// Printing goes through the browser's print dialog. The page cannot know
// whether the printer took the job: the number goes on when the dialog
// closes, and the teacher can set it back.
let printing = null;

function printPages(pages, next, made) {
  const paper = form.papers.find((p) => p.name === $('paper').value) || form.papers[0];
  $('pageSize').textContent = `@page { size: ${paper.widthMm}mm ${paper.heightMm}mm; margin: 0; }`;
  const area = $('printArea');
  area.textContent = '';
  area.style.setProperty('--paper-width', `${paper.widthMm}mm`);
  area.style.setProperty('--paper-height', `${paper.heightMm}mm`);
  area.style.setProperty('--margin', `${paper.marginPt}pt`);
  // Every sheet in one go: the browser lays the set out once.
  area.innerHTML = pages.map((page) => `<div class="sheet">${page.svg}</div>`).join('');
  const before = $('PrnNum').value;
  printing = { before, next, made };
  // The sheets' faces are in the page already; the dialog gets them loaded.
  const faces = ['TavelinMincho', 'TavelinGothic', 'TavelinUD', 'TavelinKlee'];
  Promise.all(faces.map((face) => document.fonts.load(`16px ${face}`, '0'))).catch(() => {}).then(() => window.print());
}

function afterPrint() {
  if (!printing) return;
  const { before, next, made } = printing;
  printing = null;
  $('printArea').textContent = '';
  $('PrnNum').value = String(next);
  const note = $('note');
  note.textContent = `${made}を印刷に送りました。プリント番号を ${next} にしました。印刷しなかったときは、番号を ${before} に戻せます。`;
  const back = document.createElement('button');
  back.type = 'button';
  back.id = 'btnNumberBack';
  back.textContent = `番号を ${before} に戻す`;
  back.addEventListener('click', () => {
    $('PrnNum').value = before;
    setNote(`プリント番号を ${before} に戻しました。`);
    $('PrnNum').focus();
  });
  note.append(' ', back);
}

function btnPrintClick(withAnswers) {
  clearMessage();
  if (!shown) return;
  const answer = sheetNow();
  if (!answer.ok) {
    refuse(answer);
    return;
  }
  // What went out is what the CSV and the link give from now on.
  shown = { ...answer, diagnostic: shown.diagnostic };
  const pages = withAnswers ? answer.pages : answer.pages.filter((p) => !p.answers);
  printPages(pages, answer.next, `No.${answer.first}${withAnswers ? '（答えつき）' : ''}`);
}

// ---- class sets --------------------------------------------------------------

function makeClassSet(withPages) {
  clearMessage();
  const answer = call({ action: 'classset', settings: settingsOfForm(), sheets: $('sheets').value, seed: $('seed').value,
                        order: $('order').value, paper: $('paper').value, pages: withPages });
  if (!answer.ok) {
    refuse(answer);
    return null;
  }
  classSet = answer;
  $('btnCsv').disabled = false;
  setNote(answer.note);
  return answer;
}

function btnClassSetClick() {
  const answer = makeClassSet(true);
  if (answer) printPages(answer.pages, answer.next, `No.${answer.first}～No.${answer.last}`);
}

// The answers of a class set without printing it: the set is made, its CSV saved.
function btnClassSetCsvClick() {
  const answer = makeClassSet(false);
  if (answer) download(answer.csvName, answer.csv, 'text/csv');
}

// ---- files -------------------------------------------------------------------

function download(name, text, type) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([text], { type }));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function operationName() {
  return operationOf($('operation').value).name;
}

function btnCsvClick() {
  const made = classSet && !shown ? classSet : shown;
  if (made) download(made.csvName, made.csv, 'text/csv');
}

function openSettings(file) {
  clearMessage();
  if (!file) return;
  file.text().then(guarded((text) => {
    const answer = call({ action: 'parse', name: file.name, text });
    if (!answer.ok) {
      refuse(answer);
      return;
    }
    applySettings(answer.settings);
    setNote(`設定ファイル「${file.name}」を開きました。`);
  }), () => showMessage('エラー', `ファイル「${file.name}」を読めません。`));
}

function saveSettings() {
  clearMessage();
  const answer = call({ action: 'text', settings: settingsOfForm() });
  if (!answer.ok) {
    refuse(answer);
    return;
  }
  download(`${operationName()}の設定.json`, answer.text, 'application/json');
}

// A link that makes the same sheet: the settings and the seed in the address.
function linkOfShown() {
  const url = new URL(location.href);
  url.search = '';
  url.searchParams.set('seed', shown.seed);
  url.searchParams.set('settings', JSON.stringify(shown.settings));
  if (shown.diagnostic) url.searchParams.set('diagnostic', shown.diagnostic.operation);
  return url.href;
}

function btnLinkClick() {
  const link = linkOfShown();
  const done = () => setNote('この問題のリンクをコピーしました。同じ設定と乱数のもとで、同じプリントが作れます。');
  if (navigator.clipboard && window.isSecureContext) {
    navigator.clipboard.writeText(link).then(done, () => showLink(link));
  } else {
    showLink(link);
  }
}

function showLink(link) {
  const note = $('note');
  note.textContent = 'このリンクをコピーしてください: ';
  const box = document.createElement('input');
  box.type = 'text';
  box.readOnly = true;
  box.value = link;
  box.className = 'wide';
  box.setAttribute('aria-label', 'この問題のリンク');
  note.append(box);
  box.select();
  box.focus();
}

// ?seed=N (and settings=…) from a link: the same sheet, shown at once; the
// seed box stays as it was, so that the next プレビュー makes new problems.
function applyAddress() {
  const params = new URLSearchParams(location.search);
  if (!params.has('settings')) return;
  const answer = call({ action: 'link', text: params.get('settings') });
  if (!answer.ok) {
    refuse(answer);
    return;
  }
  applySettings(answer.settings);
  const seed = params.get('seed') ?? '';
  if (operations.some((o) => o.key === params.get('diagnostic'))) {
    $('diagnosticOperation').value = params.get('diagnostic');
    btnDiagnosticClick(seed);
  } else {
    btnPreviewClick(seed);
  }
}

// ---- start -------------------------------------------------------------------

// Every handler through one guard: a fault is said, and the page goes on.
function showUnexpected(e) {
  showMessage('エラー', `思いがけないエラーが起きました（${e && e.message ? e.message : e}）。`);
}

function guarded(handler) {
  return (...args) => {
    try {
      handler(...args);
    } catch (e) {
      showUnexpected(e);
    }
  };
}

function on(id, type, handler) {
  $(id).addEventListener(type, guarded(handler));
}

function connect() {
  on('operation', 'change', () => setOperation($('operation').value));
  on('preset', 'change', () => {
    const index = $('preset').value;
    if (index === '') return;
    const answer = call({ action: 'preset', name: form.presets[Number(index)], paper: $('paper').value });
    if (answer.ok) applySettings(answer.settings);
    else refuse(answer);
  });
  on('CellMM', 'change', () => { showLayout(); clearPreview(); });
  on('Problems', 'change', problemsChanged);
  on('QNumPatternItems', 'change', groupChanged);
  on('paper', 'change', clearPreview);
  on('btnPreview', 'click', () => btnPreviewClick());
  on('btnPrint', 'click', () => btnPrintClick(false));
  on('btnPrintWithAns', 'click', () => btnPrintClick(true));
  on('btnCsv', 'click', btnCsvClick);
  on('btnLink', 'click', btnLinkClick);
  on('btnClassSet', 'click', btnClassSetClick);
  on('btnClassSetCsv', 'click', btnClassSetCsvClick);
  on('btnDiagnostic', 'click', () => btnDiagnosticClick());
  on('btnDiagnose', 'click', btnDiagnoseClick);
  for (const id of ['scanFiles', 'scanCamera'])
    $(id).addEventListener('change', (e) => {
      const files = [...e.target.files];
      e.target.value = '';
      readScans(files).catch(showUnexpected);
    });
  on('btnFollowUps', 'click', btnFollowUpsClick);
  on('btnResultsCsv', 'click', () => {
    if (classResults) download('結果.csv', classResults.csv, 'text/csv');
  });
  on('btnSaveSettings', 'click', saveSettings);
  on('btnResetSettings', 'click', resetSettings);
  on('settingsFile', 'change', (e) => {
    openSettings(e.target.files[0]);
    e.target.value = '';
  });
  window.addEventListener('afterprint', guarded(afterPrint));
}

// The core's WebAssembly, compiled while it downloads; from a page opened as
// a file, where the browser fetches nothing, the copy inside a script.
function instantiateWasm(imports, receive) {
  const take = (result) => receive(result.instance, result.module);
  const inline = () => new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = 'tavelin-core-wasm.js';
    script.onload = resolve;
    script.onerror = () => reject(new Error('tavelin-core-wasm.js'));
    document.head.append(script);
  }).then(() => WebAssembly.instantiate(Uint8Array.from(atob(window.TavelinCoreWasm), (c) => c.charCodeAt(0)), imports))
    .then(take);
  const streamed = location.protocol === 'file:'
    ? Promise.reject(new Error('file'))
    : WebAssembly.instantiateStreaming(fetch('tavelin-core.wasm'), imports).then(take);
  streamed.catch(inline).catch((e) => showMessage('エラー', `プログラムを読み込めませんでした（${e.message}）。`));
  return {};
}

TavelinCore({ instantiateWasm }).then((module) => {
  core = module;
  form = call({ action: 'form' });
  operations = form.operations;
  buildForm();
  resetFlags();
  connect();
  try {
    applyAddress();
  } catch (e) {
    showMessage('エラー', 'リンクの設定を読めませんでした。');
  }
  document.body.dataset.ready = 'true';
});
