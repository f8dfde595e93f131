// The playground's page in Debian's chromium, headless, through
// puppeteer-core, served by a plain static server under a deep path: every
// example run with its stored input typed into the terminal gives the output
// native zemuc gives and its written files as downloads with the right
// bytes, and its C view is zemucfilter's C; messages land on their lines;
// Stop ends an endless program; the terminal's line discipline; share
// links; the two languages; a reload without network after a run; nothing
// fetched from another origin.
//   node page_test.mjs PROJECT_DIR SITE_DIR ZEMUCFILTER ZEMUC
// Exits 77 (skipped) with a word where chromium, puppeteer-core or the site
// is missing.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync, spawnSync } from 'node:child_process';
import assert from 'node:assert/strict';
import { serve } from './serve.mjs';
import { browserTestSetup } from './browser_setup.mjs';

if (process.argv.length !== 6) {
  console.error('usage: node page_test.mjs PROJECT_DIR SITE_DIR ZEMUCFILTER ZEMUC');
  process.exit(2);
}
// The native tools run in folders of their own: absolute paths.
const [project, siteDir, zemucfilter, zemuc] = process.argv.slice(2).map((arg) => path.resolve(arg));
const CHROMIUM = process.env.CHROMIUM ?? '/usr/bin/chromium';
const puppeteer = await browserTestSetup(project, siteDir, CHROMIUM);

const RUN_TIMEOUT = 180_000; // a first build loads the C compiler
const STOP_TIMEOUT = 30_000; // a Stop that hangs, not a slow one
const sjis = new TextDecoder('shift_jis');
const decode = (bytes) => sjis.decode(bytes);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'zem-page-'));
const downloads = path.join(work, 'downloads');
fs.mkdirSync(downloads);

const site = await serve(siteDir, '/school/class 1/playground/');
const origin = new URL(site.url).origin;
const browser = await puppeteer.launch({
  executablePath: CHROMIUM,
  headless: true,
  args: ['--no-sandbox', '--disable-gpu'],
  // A wait is one call to the browser that lasts as long as the wait:
  // puppeteer's own limit on a call must not cut a first build short.
  protocolTimeout: RUN_TIMEOUT + 60_000,
});
const foreign = [];
const pageErrors = [];

async function openPage(query = '?lang=en', hash = '') {
  const page = await browser.newPage();
  await page.setViewport({ width: 1366, height: 768 });
  page.on('request', (request) => {
    const url = request.url();
    if (!url.startsWith(origin) && !/^(data|blob):/.test(url)) foreign.push(url);
  });
  page.on('pageerror', (error) => pageErrors.push(error.message));
  await page.goto(`${site.url}index.html${query}${hash}`);
  await page.evaluate(() => window.zem.ready);
  return page;
}

const state = (page) => page.evaluate(() => window.zem.state);
async function waitDone(page, timeout = RUN_TIMEOUT) {
  await page.waitForFunction(() => window.zem.state === 'done', { timeout, polling: 50 });
}

// Clicks Run and, while the program is still being built, types the input
// into the terminal: lines typed early wait in order for the program.
async function runTyping(page, input) {
  await page.click('#run');
  await page.waitForFunction(() => ['building', 'running', 'done'].includes(window.zem.state), { polling: 10 });
  await page.click('#terminal');
  await page.keyboard.type(input);
  const typedWhile = await state(page);
  await waitDone(page);
  return typedWhile;
}

async function setProgram(page, source, name = 'prog.zem') {
  // A case that failed may have left its program running.
  if (['building', 'running', 'waiting'].includes(await state(page))) {
    await page.click('#stop');
    await waitDone(page, 5000);
  }
  await page.evaluate((name) => {
    const field = document.getElementById('name');
    field.value = name;
    field.dispatchEvent(new Event('change'));
  }, name);
  await page.evaluate((text) => window.zem.setSource(text), source);
}

// Native zemuc run on the same source and input, in a folder of its own:
// { status, problems (its message lines, as #problems holds them) }.
function nativeRun(source, input, lang, name = 'prog.zem') {
  const dir = fs.mkdtempSync(path.join(work, 'native-'));
  fs.writeFileSync(path.join(dir, name), source);
  const result = spawnSync(zemuc, ['run', name], {
    cwd: dir,
    input,
    env: { ...process.env, LC_ALL: lang === 'ja' ? 'ja_JP.UTF-8' : 'C.UTF-8', LANGUAGE: lang, NO_COLOR: '1' },
    timeout: 60_000,
  });
  const problems = result.stderr
    .toString()
    .split('\n')
    .filter((line) => line.startsWith(`${name}:`) || line.startsWith('zemuc:'));
  return { status: result.status, problems };
}

let failures = 0;
// PAGE_TEST_ONLY=REGEX runs only the cases whose title matches it.
const only = process.env.PAGE_TEST_ONLY ? new RegExp(process.env.PAGE_TEST_ONLY) : null;
async function check(title, body) {
  if (only && !only.test(title)) return;
  try {
    await body();
    console.log(`ok - ${title}`);
  } catch (error) {
    failures++;
    console.log(`FAIL - ${title}\n  ${String(error.stack ?? error).split('\n').slice(0, 8).join('\n  ')}`);
  }
}

// Clicks what selector names and resolves to the bytes downloaded, which
// must be named name.
async function downloadBy(page, selector, name) {
  const session = await browser.target().createCDPSession();
  const folder = fs.mkdtempSync(path.join(downloads, 'd-'));
  await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder, eventsEnabled: true });
  const finished = new Promise((resolve, reject) => {
    let suggested = null;
    session.on('Browser.downloadWillBegin', (event) => (suggested = event.suggestedFilename));
    session.on('Browser.downloadProgress', (event) => {
      if (event.state === 'completed') resolve(suggested);
      if (event.state === 'canceled') reject(new Error(`download of ${name} canceled`));
    });
    setTimeout(() => reject(new Error(`download of ${name} never finished`)), 60_000);
  });
  await page.click(selector);
  const suggested = await finished;
  await session.detach();
  assert.equal(suggested, name, 'the download is named as the file');
  return new Uint8Array(fs.readFileSync(path.join(folder, suggested)));
}

// Downloads a file of the file area: 'file', its name's link (for the
// learner's editors), or 'written', its bytes as the program wrote them (the
// second link where the two differ, else the name's).
async function download(page, name, kind = 'written') {
  const links = (className) =>
    page.$$eval(`#files a.${className}`, (as, name) => as.filter((a) => a.getAttribute('download') === name).length, name);
  assert.equal(await links('file'), 1, `one link for ${name}`);
  const second = await links('written');
  assert.ok(second <= 1, `at most one link to ${name} as written`);
  const className = kind === 'written' && second === 1 ? 'written' : 'file';
  return downloadBy(page, `#files a.${className}[download="${name}"]`, name);
}

// A Shift-JIS text as the learner's editors take it: in UTF-8.
const isAscii = (bytes) => bytes.every((byte) => byte < 0x80);
const inUtf8 = (bytes) => (isAscii(bytes) ? bytes : new TextEncoder().encode(decode(bytes)));

// The C that zemucfilter writes for a source, decoded.
function nativeC(sourceFile) {
  const dir = fs.mkdtempSync(path.join(work, 'c-'));
  const name = path.basename(sourceFile);
  fs.copyFileSync(sourceFile, path.join(dir, name));
  execFileSync(zemucfilter, [name], { cwd: dir, input: '\n', stdio: ['pipe', 'ignore', 'ignore'] });
  return decode(fs.readFileSync(path.join(dir, name.replace(/\.zem$/, '.c'))));
}

try {
  const page = await openPage();

  // ---- every example, through the menu, with its stored input typed
  const examplesDir = path.join(project, 'examples');
  for (const example of fs.readdirSync(examplesDir).sort()) {
    const dir = path.join(examplesDir, example);
    const expectedDir = path.join(dir, 'expected');
    await check(`example ${example}: output, files, C view`, async () => {
      const options = await page.$$eval('#examples option', (os) => os.map((o) => o.value));
      assert.ok(options.includes(example), `the examples menu lists ${example}`);
      await page.select('#examples', example);
      const sourceBytes = fs.readFileSync(path.join(dir, `${example}.zem`));
      assert.equal(await page.evaluate(() => window.zem.source()), decode(sourceBytes));
      assert.equal(await page.$eval('#name', (field) => field.value), `${example}.zem`);
      // The files it reads are in the file area.
      const inputs = fs.readdirSync(dir).filter((f) => ![`${example}.zem`, 'stdin', 'expected'].includes(f));
      const area = await page.evaluate(() => [...window.zem.files().keys()]);
      assert.deepEqual(area.sort(), inputs.sort(), 'the example brings the files it reads');

      const input = fs.readFileSync(path.join(dir, 'stdin'), 'latin1');
      const typedWhile = await runTyping(page, input);
      const expected = decode(fs.readFileSync(path.join(expectedDir, 'stdout')));
      assert.equal(await page.evaluate(() => window.zem.exitStatus), 0);
      // Typed before the program printed, the echoed input comes first.
      assert.equal(typedWhile, 'building', 'the input was typed while the program was built');
      assert.equal(await page.evaluate(() => window.zem.transcript()), input + expected);
      assert.deepEqual(await page.evaluate(() => window.zem.problems()), []);
      assert.equal(await page.$$eval('#problems > *', (items) => items.length), 0);

      assert.equal(await page.evaluate(() => window.zem.cText()), nativeC(path.join(dir, `${example}.zem`)));
      assert.equal(await page.$eval('#c-code', (code) => code.textContent), await page.evaluate(() => window.zem.cText()));

      for (const written of fs.readdirSync(expectedDir).filter((f) => f !== 'stdout')) {
        const want = new Uint8Array(fs.readFileSync(path.join(expectedDir, written)));
        const inArea = await page.evaluate((name) => [...(window.zem.files().get(name) ?? [])], written);
        assert.deepEqual(new Uint8Array(inArea), want, `${written} in window.zem.files()`);
        assert.deepEqual(await download(page, written), want, `${written} downloaded as written`);
        assert.deepEqual(await download(page, written, 'file'), inUtf8(want), `${written} downloaded in UTF-8`);
      }
    });
  }

  // ---- messages on their lines, in both languages, as zemuc run says them
  // native: 'all', every line as zemuc run prints it; 'own', the lines on
  // the source's places (FILE:...), where zemuc run's last line names the
  // compiler (gcc natively, clang here); 'line', where the compiler's own
  // words are told (they differ between gcc and clang): a message on that
  // line. The status is zemuc run's in every case.
  const PROBLEMS = [
    { what: 'a line the translator rejects', source: 'はじめ\n\t数a=1;\n\t見る();\nおわり\n', native: 'all' },
    { what: 'a source with no はじめ', source: '\t見る("x");\nおわり\n', native: 'own' },
    // zemuc run tells the check's warnings of a program that builds and runs.
    { what: 'a statement after the first ; (a warning, and the program runs)',
      source: 'はじめ\n\t数a=1;\n\t見る("a",数a);\n\t見る("x");見る("y");\nおわり\n', native: 'all' },
    { what: 'a compiler error', source: 'はじめ\n\t数a=1;\n\t数b=数a+;\n\t見る("b",数b);\nおわり\n', native: 'line', line: 3 },
    // A fault that the checks stop: 70, on the line that did it.
    { what: 'a division by zero', source: 'はじめ\n\t数a=0;\n\t数b=10/数a;\n\t見る("b",数b);\nおわり\n', native: 'own' },
    { what: 'a word typed for a number', source: 'はじめ\n\t打つ(数a);\n\t見る("a",数a);\nおわり\n', native: 'own' },
    // Words with braces in them, said whole in WebAssembly as natively.
    { what: 'an if whose block is never closed',
      source: 'はじめ\n\t数a=1;\n\tif(数a==1){\n\t\t見る("x");\nおわり\n', native: 'own' },
    // The check tells of the blank; the build's error says no more than that.
    { what: 'a blank between 見る and its text', source: 'はじめ\n\t見る "こんにちは";\nおわり\n', native: 'own' },
    // Told natively by a second look, by the browser's clang's loop warning here.
    { what: 'a value used before it gets a value inside a loop',
      source: 'はじめ\n\tくり返し(3){\n\t\t数s=数s+1;\n\t}\n\t見る("s",数s);\nおわり\n', native: 'own' },
  ];
  for (const lang of ['en', 'ja']) {
    const messages = lang === 'en' ? page : await openPage('?lang=ja');
    for (const problem of PROBLEMS) {
      await check(`messages (${lang}): ${problem.what}`, async () => {
        await setProgram(messages, problem.source);
        await runTyping(messages, 'owari\n');
        const shown = await messages.$$eval('#problems > *', (items) => items.map((item) => item.textContent));
        // Their severity in the page's language; window.zem.problems() as zemuc prints them.
        const severity = lang === 'ja' ? { error: 'エラー', warning: '警告', note: '備考' } : {};
        const inWords = (line) => line.replace(/^(prog\.zem:\d+:\d+: )(error|warning|note): /, (all, place, word) => `${place}${severity[word] ?? word}: `);
        const lines = await messages.evaluate(() => window.zem.problems());
        assert.deepEqual(shown, lines.map(inWords), '#problems is window.zem.problems()');
        if (lang === 'ja') {
          const screen = [...shown, await messages.evaluate(() => window.zem.transcript())].join('\n');
          assert.ok(!/prog\.zem:\d+:\d+: (error|warning):/.test(screen), `no English severity: ${screen}`);
        }
        assert.ok(shown.length > 0, 'a message');
        const native = nativeRun(problem.source, 'owari\n', lang);
        const own = (lines) => lines.filter((line) => line.startsWith('prog.zem:'));
        if (problem.native === 'all') assert.deepEqual(lines, native.problems, 'the lines zemuc run prints');
        else if (problem.native === 'own') assert.deepEqual(own(lines), own(native.problems), 'the lines zemuc run prints');
        else assert.ok(lines.some((line) => line.startsWith(`prog.zem:${problem.line}:`)), `a message on line ${problem.line}: ${shown}`);
        assert.equal(await messages.evaluate(() => window.zem.exitStatus), native.status, 'the status zemuc run exits with');
      });
    }
    await check(`labels in ${lang}`, async () => {
      assert.equal(await messages.$eval('#run', (b) => b.textContent), lang === 'en' ? 'Run' : '実行');
      assert.equal(await messages.evaluate(() => document.documentElement.lang), lang);
    });
    if (messages !== page) await messages.close();
  }

  // ---- the editor underlines the check's and the compiler's findings
  await check('findings underlined in the editor as they type', async () => {
    await setProgram(page, 'はじめ\n\t数a=1;\n\t数b=数a+;\nおわり\n');
    await page.waitForSelector('#editor .cm-lintRange-error', { timeout: 60_000 });
  });

  await check('hover on a statement tells its C', async () => {
    await setProgram(page, 'はじめ\n\t見る("計算します");\nおわり\n');
    const word = await page.evaluateHandle(() =>
      [...document.querySelectorAll('#editor .cm-line span')].find((span) => span.textContent === '見る'));
    const box = await word.boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.waitForSelector('.cm-tooltip-hover', { timeout: 30_000 });
    const text = await page.$eval('.cm-tooltip-hover', (tip) => tip.textContent);
    assert.match(text, /printf\("%s\\n", "計算します"\);/);
    await page.mouse.move(0, 0);
  });
  await check('completion offers the statements and inserts one', async () => {
    await setProgram(page, 'はじめ\n\t\nおわり\n');
    await page.click('#editor .cm-line:nth-child(2)');
    await page.keyboard.press('End');
    await page.keyboard.sendCharacter('見');
    await page.waitForSelector('.cm-tooltip-autocomplete', { timeout: 30_000 });
    const labels = await page.$$eval('.cm-tooltip-autocomplete li', (items) => items.map((item) => item.textContent));
    assert.ok(labels.some((label) => label.startsWith('見る')), `見る offered: ${labels}`);
    // The editor takes no Enter for a list shown less than 75 ms ago.
    await new Promise((resolve) => setTimeout(resolve, 200));
    await page.keyboard.press('Enter');
    assert.match(await page.evaluate(() => window.zem.source().split('\n')[1]), /^\t見る\(/);
  });

  // ---- Stop
  const ENDLESS = [
    { what: 'a busy loop', source: 'はじめ\n\twhile(1){\n\t\t数a=数a+1;\n\t}\nおわり\n' },
    { what: 'a loop printing', source: 'はじめ\n\twhile(1){\n\t\tprintf("x");\n\t}\nおわり\n' },
    { what: 'a program waiting for input', source: 'はじめ\n\t打つ(数a);\nおわり\n' },
    {
      what: 'a loop after a file written and closed (kept in #files)',
      source: 'はじめ\n\t字s="abc";\n\t開く(出力,"out.txt",w);\n\t書く(出力,字s);\n\t閉じる(出力);\n\twhile(1){\n\t\t数a=数a+1;\n\t}\nおわり\n',
      keeps: ['out.txt', 'abc\n'],
    },
  ];
  for (const endless of ENDLESS) {
    // The waits guard against a Stop that never ends the run; how fast it
    // ends one is the benchmark's to measure, not a loaded machine's test.
    await check(`#stop ends ${endless.what}, status 130`, async () => {
      await setProgram(page, endless.source);
      await page.click('#run');
      await page.waitForFunction(() => ['running', 'waiting'].includes(window.zem.state), { timeout: RUN_TIMEOUT, polling: 20 });
      await new Promise((resolve) => setTimeout(resolve, 300));
      await page.click('#stop');
      await waitDone(page, STOP_TIMEOUT);
      assert.equal(await page.evaluate(() => window.zem.exitStatus), 130);
      if (endless.keeps) {
        const [name, text] = endless.keeps;
        assert.deepEqual(await download(page, name), new TextEncoder().encode(text), `${name} downloaded`);
      }
    });
  }

  // ---- the terminal's line discipline: keys in, the line the program read
  const ECHO = 'はじめ\n\twhile(scanf("%s",字w)==1){\n\t\t見る("語",字w);\n\t}\n\t見る("おしまい");\nおわり\n';
  const END = 'おしまい\n--->何か文字を入れれば終わるよ';
  const LINES = [
    { what: 'Backspace erases a whole wide character', keys: ['あい', 'Backspace', 'う\n', 'Ctrl-D'],
      transcript: `あう\n語[あう]\n${END}` },
    { what: 'Backspace on an empty line does nothing', keys: ['Backspace', 'x\n', 'Ctrl-D'],
      transcript: `x\n語[x]\n${END}` },
    { what: 'Ctrl-U erases the line', keys: ['abc', 'Ctrl-U', 'd\n', 'Ctrl-D'], transcript: `d\n語[d]\n${END}` },
    { what: 'IME composition', keys: [{ ime: '日本' }, '\n', 'Ctrl-D'], transcript: `日本\n語[日本]\n${END}` },
    { what: 'a character without a Shift-JIS form is refused', keys: ['a😀b\n', 'Ctrl-D'],
      transcript: `ab\n語[ab]\n${END}` },
    { what: 'a character whose second byte is a backslash', keys: ['表ソ\n', 'Ctrl-D'],
      transcript: `表ソ\n語[表ソ]\n${END}` },
    { what: 'two lines pasted at once, in order', keys: [{ paste: '一\n二\n' }, 'Ctrl-D'],
      transcript: `一\n二\n語[一]\n語[二]\n${END}` },
    { what: 'Ctrl-D after text gives it without a line end', keys: ['ab', 'Ctrl-D', 'Ctrl-D'],
      transcript: `ab語[ab]\n${END}` },
  ];
  for (const line of LINES) {
    await check(`terminal: ${line.what}`, async () => {
      await setProgram(page, ECHO);
      await page.click('#run');
      await page.waitForFunction(() => ['running', 'waiting'].includes(window.zem.state), { timeout: RUN_TIMEOUT, polling: 20 });
      await page.click('#terminal');
      for (const key of line.keys) {
        if (key === 'Backspace') await page.keyboard.press('Backspace');
        else if (key.startsWith?.('Ctrl-')) {
          await page.keyboard.down('Control');
          await page.keyboard.press(key.slice(5));
          await page.keyboard.up('Control');
        } else if (key.ime) {
          const session = await page.createCDPSession();
          await session.send('Input.imeSetComposition', { text: key.ime, selectionStart: key.ime.length, selectionEnd: key.ime.length });
          await session.send('Input.insertText', { text: key.ime });
          await session.detach();
        } else if (key.paste) {
          await page.$eval('#terminal textarea', (area, text) => {
            const data = new DataTransfer();
            data.setData('text/plain', text);
            area.dispatchEvent(new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true }));
          }, key.paste);
        } else await page.keyboard.type(key);
        // The lines reach the program in the order typed, each read before
        // the next key: the transcript is then the same on every run.
        await new Promise((resolve) => setTimeout(resolve, 150));
      }
      await waitDone(page, 20_000);
      assert.equal(await page.evaluate(() => window.zem.transcript()), line.transcript);
      assert.equal(await page.evaluate(() => window.zem.exitStatus), 0);
      // The screen shows the same: what was erased is gone from it, whole.
      const screen = await page.$$eval('#terminal .xterm-rows > div', (rows) =>
        rows.map((row) => row.textContent.replace(/\s+$/, '')));
      while (screen.length && screen.at(-1) === '') screen.pop();
      assert.deepEqual(screen, line.transcript.split('\n').map((text) => text.replace(/\s+$/, '')));
    });
  }
  // ---- what a program printed shows before it reads, and the state says
  // that it waits
  await check('terminal: a prompt without a line end shows before the program waits', async () => {
    await setProgram(page, 'はじめ\n\tprintf("名前>");\n\t打つ(字a);\n\t見る("a",字a);\nおわり\n');
    await page.click('#run');
    await page.waitForFunction(() => window.zem.state === 'waiting', { timeout: RUN_TIMEOUT, polling: 20 });
    assert.equal(await page.evaluate(() => window.zem.transcript()), '名前>');
    assert.equal(await page.$eval('#status', (status) => status.textContent), 'Waiting for input');
    await page.click('#terminal');
    await page.keyboard.type('x\n');
    const closing = '名前>x\na[x]\n--->何か文字を入れれば終わるよ';
    await page.waitForFunction(
      (text) => window.zem.transcript() === text && window.zem.state === 'waiting',
      { timeout: 30_000, polling: 20 },
      closing,
    );
    await page.keyboard.type('q\n');
    await waitDone(page, 30_000);
    assert.equal(await page.evaluate(() => window.zem.transcript()), `${closing}q\n`);
  });

  // ---- Ctrl+Enter runs, wherever the focus is, and types nothing there
  const RUN_KEY_PLACES = [
    { where: 'the editor', click: '#editor .cm-line:nth-child(2)', word: 'editor' },
    { where: 'the terminal', click: '#terminal', word: 'terminal' },
  ];
  for (const place of RUN_KEY_PLACES) {
    await check(`Ctrl+Enter in ${place.where} runs the program and inserts no line`, async () => {
      const source = `はじめ\n\t見る("${place.word}");\nおわり\n`;
      await setProgram(page, source);
      await page.click(place.click);
      await page.keyboard.down('Control');
      await page.keyboard.press('Enter');
      await page.keyboard.up('Control');
      const shown = `${place.word}\n--->何か文字を入れれば終わるよ`;
      await page.waitForFunction((text) => window.zem.transcript() === text, { timeout: RUN_TIMEOUT, polling: 20 }, shown);
      assert.equal(await page.evaluate(() => window.zem.source()), source);
      await page.click('#terminal');
      await page.keyboard.type('q\n');
      await waitDone(page, 30_000);
      assert.equal(await page.evaluate(() => window.zem.transcript()), `${shown}q\n`);
    });
  }

  await check('terminal: Ctrl-C stops the program (130)', async () => {
    await setProgram(page, ECHO);
    await page.click('#run');
    await page.waitForFunction(() => ['running', 'waiting'].includes(window.zem.state), { timeout: RUN_TIMEOUT, polling: 20 });
    await page.click('#terminal');
    await page.keyboard.down('Control');
    await page.keyboard.press('c');
    await page.keyboard.up('Control');
    await waitDone(page, 5000);
    assert.equal(await page.evaluate(() => window.zem.exitStatus), 130);
  });

  // ---- share links
  const SHARED = [
    { what: 'Japanese, tabs and a name', source: 'はじめ\n\t見る("共有＋/=?&#");\nおわり\n', name: 'kyouyuu.zem' },
    { what: 'an empty program', source: '', name: 'prog.zem' },
    { what: 'a character beyond the BMP', source: '// 😀\nはじめ\nおわり\n', name: 'prog.zem' },
    // files: carried in the link; left: too big for it (2 KB in all), said.
    { what: 'small data files', source: 'はじめ\nおわり\n', name: 'data.zem',
      files: { 'in.txt': [0x82, 0xa0, 0x0a], 'わ.bin': [0, 0xff, 0x2e, 0x3d], 'empty': [] } },
    { what: 'files over 2 KB in all left out', source: 'はじめ\nおわり\n', name: 'data.zem',
      files: { 'small.txt': [0x31, 0x0a], 'big.txt': Array(2047).fill(0x61) }, left: ['big.txt'] },
  ];
  for (const shared of SHARED) {
    await check(`share link: ${shared.what}`, async () => {
      await page.click('#new');
      await setProgram(page, shared.source, shared.name);
      const files = Object.entries(shared.files ?? {});
      for (const [name, bytes] of files) await page.evaluate((name, bytes) => window.zem.addFile(name, bytes), name, bytes);
      await page.click('#share');
      const notice = await page.$eval('#notice', (notice) => [notice.dataset.kind, notice.textContent]);
      if (shared.left) assert.ok(notice[0] === 'error' && notice[1].includes(shared.left.join(', ')), `told: ${notice}`);
      const link = await page.$eval('#share-link', (field) => field.value);
      const code = new URL(link).hash;
      assert.match(code, /^#code=[A-Za-z0-9_-]*&name=/, 'base64url, no padding');
      const opened = await browser.newPage();
      await opened.goto(link);
      await opened.waitForFunction(() => window.zem !== undefined);
      assert.equal(await opened.evaluate(() => window.zem.source()), shared.source);
      assert.equal(await opened.$eval('#name', (field) => field.value), shared.name);
      const carried = files.filter(([name]) => !(shared.left ?? []).includes(name));
      assert.deepEqual(await opened.evaluate(() => [...window.zem.files()].map(([name, bytes]) => [name, [...bytes]]).sort()),
        carried.sort(), 'the files the link carries');
      await opened.close();
    });
  }
  await check('share link: a code that is no base64url of UTF-8 leaves the program as it was', async () => {
    const opened = await browser.newPage();
    await opened.goto(`${site.url}index.html?lang=en#code=gv*&name=x.zem`);
    await opened.waitForFunction(() => window.zem !== undefined);
    assert.notEqual(await opened.evaluate(() => window.zem.source()), '');
    assert.equal(await opened.$eval('#notice', (s) => s.dataset.kind), 'error');
    await opened.goto(`${site.url}index.html?lang=en#code=_w&name=x.zem`); // 0xFF: no UTF-8
    await opened.reload();
    await opened.waitForFunction(() => window.zem !== undefined);
    assert.equal(await opened.$eval('#notice', (s) => s.dataset.kind), 'error');
    await opened.close();
  });

  await check('the file area: files uploaded before a run are read by it, a removed one is gone', async () => {
    await page.select('#examples', 'heikin');
    await page.$$eval('#files .remove', (buttons) => buttons.forEach((button) => button.click()));
    assert.equal(await page.evaluate(() => window.zem.files().size), 0);
    const tensuu = path.join(work, 'tensuu.txt');
    const extra = path.join(work, 'extra.bin');
    fs.writeFileSync(tensuu, '10\n20\n30\n');
    fs.writeFileSync(extra, Buffer.from([0, 0xff, 0x82, 0xa0]));
    await (await page.$('#upload')).uploadFile(tensuu, extra);
    await page.waitForFunction(() => window.zem.files().size === 2);
    await page.click('#files li:has(a[download="extra.bin"]) .remove');
    assert.deepEqual(await page.evaluate(() => [...window.zem.files().keys()]), ['tensuu.txt']);
    await runTyping(page, 'owari\n');
    assert.equal(await page.evaluate(() => window.zem.exitStatus), 0);
    assert.match(await page.evaluate(() => window.zem.transcript()), /件数\[3\]\n合計\[60\]\n平均\[20\]/);
  });

  // ---- a program opened from a file: UTF-8 or Shift-JIS, else refused
  const kuku = fs.readFileSync(path.join(project, 'examples/kuku/kuku.zem'));
  const OPENED = [
    { what: 'Shift-JIS', name: 'kuku.zem', bytes: kuku, source: decode(kuku) },
    { what: 'UTF-8 with a byte-order mark', name: 'bom.zem',
      bytes: Buffer.concat([Buffer.from([0xef, 0xbb, 0xbf]), Buffer.from(decode(kuku))]), source: decode(kuku) },
    { what: 'neither', name: 'binary.zem', bytes: Buffer.from([0x82, 0x0a, 0xff, 0xfe, 0x00, 0x81]), source: null },
  ];
  for (const opened of OPENED) {
    await check(`open a file: ${opened.what}`, async () => {
      await setProgram(page, 'はじめ\nおわり\n');
      const file = path.join(work, opened.name);
      fs.writeFileSync(file, opened.bytes);
      await (await page.$('#open')).uploadFile(file);
      if (opened.source === null) {
        await page.waitForFunction(() => document.getElementById('notice').dataset.kind === 'error');
        assert.equal(await page.evaluate(() => window.zem.source()), 'はじめ\nおわり\n');
      } else {
        await page.waitForFunction((name) => document.getElementById('name').value === name, {}, opened.name);
        assert.equal(await page.evaluate(() => window.zem.source()), opened.source);
      }
    });
  }

  // ---- the learner's work kept in the browser, the recent programs, Save
  // A tab of its own on the same site (so the same browser storage).
  async function openTab(hash = '') {
    const tab = await browser.newPage();
    await tab.setViewport({ width: 1366, height: 768 });
    tab.on('pageerror', (error) => pageErrors.push(error.message));
    await tab.goto(`${site.url}index.html?lang=en${hash}`);
    await tab.waitForFunction(() => window.zem !== undefined);
    return tab;
  }
  const fileList = (tab) => tab.evaluate(() => [...window.zem.files()].map(([name, bytes]) => [name, [...bytes]]));
  const KEPT = { source: 'はじめ\n\t見る("残る");\nおわり\n', name: 'nokoru.zem', files: [['d.txt', [0x82, 0xa0, 0x0a]]] };
  // Another tab while the first stays as it was shows what a crash leaves.
  const RESTORES = [
    { what: 'a tab opened while the first is left as it was (as after a crash)', reopen: () => openTab() },
    { what: 'a reload', reopen: async (tab) => {
      await tab.reload();
      await tab.waitForFunction(() => window.zem !== undefined);
      return tab;
    } },
  ];
  for (const restore of RESTORES) {
    await check(`saved work: ${restore.what} brings back the program, its name and its files`, async () => {
      const tab = await openTab();
      await tab.click('#new');
      await setProgram(tab, KEPT.source, KEPT.name);
      for (const [name, bytes] of KEPT.files) await tab.evaluate((name, bytes) => window.zem.addFile(name, bytes), name, bytes);
      // Kept as typed: the browser's storage holds it within a moment.
      await tab.waitForFunction((name) => Object.values(localStorage).some((value) => value.includes(name) && value.includes('d.txt')), {}, KEPT.name);
      const back = await restore.reopen(tab);
      assert.equal(await back.evaluate(() => window.zem.source()), KEPT.source);
      assert.equal(await back.$eval('#name', (field) => field.value), KEPT.name);
      assert.deepEqual(await fileList(back), KEPT.files);
      await back.close();
      if (back !== tab) await tab.close();
    });
  }

  // After an example, what opens next is a program of its own: no file or
  // name of the example's stays with it.
  const AFTER_EXAMPLE = [
    { what: 'a new program', open: (tab) => tab.click('#new'), name: 'prog.zem' },
    { what: 'a file opened', name: 'kuku.zem', open: async (tab) => {
      await (await tab.$('#open')).uploadFile(path.join(project, 'examples/kuku/kuku.zem'));
      await tab.waitForFunction(() => document.getElementById('name').value === 'kuku.zem');
    } },
  ];
  for (const next of AFTER_EXAMPLE) {
    await check(`recent programs: ${next.what} after an example keeps the program before, which opens again`, async () => {
      const tab = await openTab();
      await tab.click('#new');
      await setProgram(tab, KEPT.source, KEPT.name);
      await tab.evaluate(() => window.zem.addFile('m.txt', [0x31]));
      const recentNow = () => tab.$$eval('#recent option', (os) => os.map((o) => [o.value, o.textContent]));
      const heikins = async () => (await recentNow()).filter(([, text]) => text.startsWith('heikin.zem (')).length;
      const heikinsBefore = await heikins();
      await tab.select('#examples', 'heikin');
      await next.open(tab);
      assert.equal(await tab.$eval('#name', (field) => field.value), next.name);
      assert.deepEqual(await fileList(tab), [], "none of the example's files");
      const recent = await recentNow();
      const mine = recent.filter(([, text]) => text.startsWith(`${KEPT.name} (`));
      // heikin, opened and left as it was, is the examples menu's to give back.
      assert.equal(await heikins(), heikinsBefore, 'heikin, left as it was opened, not kept');
      assert.ok(mine.length > 0, `${KEPT.name} among ${recent}`);
      await tab.select('#recent', mine[0][0]);
      assert.equal(await tab.evaluate(() => window.zem.source()), KEPT.source);
      assert.equal(await tab.$eval('#name', (field) => field.value), KEPT.name);
      assert.deepEqual(await fileList(tab), [['m.txt', [0x31]]]);
      await tab.close();
    });
  }

  await check('a share link opened wins over the saved work, which stays among the recent programs', async () => {
    const tab = await openTab();
    await tab.click('#new');
    await setProgram(tab, KEPT.source, 'mae.zem');
    await tab.evaluate(() => window.dispatchEvent(new Event('pagehide')));
    await tab.close();
    const shared = await openTab('#code=44Gv44GY44KB&name=kyou.zem'); // はじめ
    assert.equal(await shared.evaluate(() => window.zem.source()), 'はじめ');
    const recent = await shared.$$eval('#recent option', (os) => os.map((o) => o.textContent));
    assert.ok(recent.some((text) => text.startsWith('mae.zem (')), `mae.zem among ${recent}`);
    await shared.close();
  });

  await check('#save downloads the program in UTF-8, which the page and zemuc open again', async () => {
    const source = 'はじめ\n\t見る("保存した");\nおわり\n';
    await setProgram(page, source, 'hozon.zem');
    const bytes = await downloadBy(page, '#save', 'hozon.zem');
    assert.deepEqual(bytes, new TextEncoder().encode(source));
    const dir = fs.mkdtempSync(path.join(work, 'save-'));
    fs.writeFileSync(path.join(dir, 'hozon.zem'), bytes);
    const checked = spawnSync(zemuc, ['check', 'hozon.zem'], { cwd: dir, timeout: 60_000 });
    assert.equal(checked.status, 0, `zemuc check: ${checked.stderr}`);
    await setProgram(page, 'はじめ\nおわり\n', 'other.zem');
    await (await page.$('#open')).uploadFile(path.join(dir, 'hozon.zem'));
    await page.waitForFunction(() => document.getElementById('name').value === 'hozon.zem');
    assert.equal(await page.evaluate(() => window.zem.source()), source);
  });

  await check('saved work: a full browser storage is told, and the editor goes on', async () => {
    const tab = await openTab();
    await tab.evaluate(() => {
      for (let size = 1 << 20, n = 0; size >= 1; ) {
        try {
          localStorage.setItem(`fill-${n++}`, 'x'.repeat(size));
        } catch {
          size >>= 1;
        }
      }
    });
    // Longer than any program kept before, so that it cannot take their room.
    const full = `はじめ\n\t見る("いっぱい");\nおわり\n// ${'あ'.repeat(2000)}\n`;
    try {
      await setProgram(tab, full, 'full.zem');
      await tab.waitForFunction(() => document.getElementById('notice').dataset.kind === 'error');
      assert.match(await tab.$eval('#notice', (notice) => notice.textContent), /storage is full/);
      assert.equal(await tab.evaluate(() => window.zem.source()), full);
    } finally {
      await tab.evaluate(() => Object.keys(localStorage).filter((key) => key.startsWith('fill-')).forEach((key) => localStorage.removeItem(key)));
      await tab.close();
    }
  });

  // ---- data files in the learner's encoding: a UTF-8 text uploaded reaches
  // the program in Shift-JIS, with a note; anything else as it is.
  const READS = 'はじめ\n\t開く(元,"in.txt",r);\n\t読みきり(元,字行){\n\t\t見る("行",字行);\n\t}\n\t閉じる(元);\nおわり\n';
  const SAKURA = [0x82, 0xb3, 0x82, 0xad, 0x82, 0xe7]; // さくら
  const utf8 = (text) => [...new TextEncoder().encode(text)];
  const UPLOADS = [
    { what: 'UTF-8 text, converted', bytes: utf8('さくら\nab\n'), want: [...SAKURA, 0x0a, 0x61, 0x62, 0x0a], note: /converted/,
      prints: '行[さくら]\n行[ab]\n' },
    { what: 'UTF-8 with a byte-order mark, converted without it', bytes: [0xef, 0xbb, 0xbf, ...utf8('さくら')], want: SAKURA, note: /converted/ },
    { what: 'Shift-JIS text, as it is', bytes: [...SAKURA, 0x0a], want: [...SAKURA, 0x0a], note: null },
    { what: 'ASCII, as it is', bytes: utf8('21\n'), want: utf8('21\n'), note: null },
    { what: 'not text (a NUL among UTF-8), as it is', bytes: [0, ...utf8('さ')], want: [0, ...utf8('さ')], note: null },
    { what: 'a character with no Shift-JIS form, as it is, its line told', bytes: utf8('いち\n🍣\n'), want: utf8('いち\n🍣\n'),
      note: /line 2$/ },
  ];
  for (const upload of UPLOADS) {
    await check(`upload: ${upload.what}`, async () => {
      await page.click('#new');
      await setProgram(page, READS);
      const file = path.join(fs.mkdtempSync(path.join(work, 'up-')), 'in.txt');
      fs.writeFileSync(file, Uint8Array.from(upload.bytes));
      await (await page.$('#upload')).uploadFile(file);
      await page.waitForFunction(() => window.zem.files().has('in.txt'));
      assert.deepEqual(await fileList(page), [['in.txt', upload.want]]);
      const note = await page.$$eval('#files li .note', (notes) => notes.map((note) => note.textContent));
      if (upload.note) assert.match(note.join(), upload.note);
      else assert.deepEqual(note, []);
      if (upload.prints) {
        await runTyping(page, 'owari\n');
        assert.ok((await page.evaluate(() => window.zem.transcript())).startsWith(`owari\n${upload.prints}`));
      }
    });
  }

  await check("a check's report is the last run's only: reports do not pile up in #files", async () => {
    await page.click('#new');
    await setProgram(page, 'はじめ\n\t数a=0;\n\t数b=10/数a;\n\t見る("b",数b);\nおわり\n', 'a.zem');
    await runTyping(page, 'owari\n');
    assert.equal(await page.evaluate(() => window.zem.exitStatus), 70);
    assert.ok(await page.evaluate(() => window.zem.files().has('a.report.txt')), 'the report is there');
    await setProgram(page, 'はじめ\n\t見る("x");\nおわり\n', 'b.zem');
    await runTyping(page, 'owari\n');
    assert.deepEqual(await fileList(page), [], 'the report of a run before is gone');
  });

  // ---- offline after a visit in which a program ran
  await check('offline: after a run, a reload without network loads and runs programs', async () => {
    await page.waitForSelector('#offline-status[data-state="ready"]', { timeout: 120_000 });
    // No network for the page, and none for its workers either: the server
    // is gone (the last case that needs it ran before this one).
    await page.setOfflineMode(true);
    await site.close();
    await page.reload();
    await page.evaluate(() => window.zem.ready);
    await page.select('#examples', 'keisan');
    await runTyping(page, '21\nowari\n');
    assert.equal(await page.evaluate(() => window.zem.exitStatus), 0);
    const expected = decode(fs.readFileSync(path.join(examplesDir, 'keisan/expected/stdout')));
    assert.equal(await page.evaluate(() => window.zem.transcript()), `21\nowari\n${expected}`);
    await page.setOfflineMode(false);
  });

  await check('nothing fetched from another origin, no error in the page', async () => {
    assert.deepEqual(foreign, []);
    assert.deepEqual(pageErrors, []);
  });

  // ---- without JSPI a program waits for input through shared memory, which
  // the service worker's headers give a page its first load cannot have; a
  // server (an origin) for each row, whose first visit is uncontrolled.
  // hide: what the browser is made to lack; loads: the page's loads, once
  // ready; offline: a later visit without network, from what the worker kept.
  const ISOLATION = [
    { what: 'without JSPI, one reload isolates the page; a program reads its input, online and offline',
      hide: ['Suspending'], loads: 2, isolated: true, offline: true },
    { what: 'without JSPI, where the reload does not isolate, no second one, and the page says it cannot run',
      hide: ['Suspending', 'crossOriginIsolated'], loads: 2, isolated: false, told: true },
    { what: 'with JSPI, no reload', hide: [], loads: 1, isolated: false },
  ];
  const keisan = decode(fs.readFileSync(path.join(examplesDir, 'keisan/expected/stdout')));
  for (const row of ISOLATION) {
    await check(`isolation: ${row.what}`, async () => {
      const own = await serve(siteDir, '/isolation/');
      const tab = await browser.newPage();
      let loads = 0;
      tab.on('request', (request) => request.resourceType() === 'document' && loads++);
      for (const name of row.hide) {
        await tab.evaluateOnNewDocument((name) =>
          Object.defineProperty(name === 'Suspending' ? WebAssembly : globalThis, name, { get: () => undefined }), name);
      }
      try {
        for (const visit of row.offline ? ['online', 'offline'] : ['online']) {
          if (visit === 'offline') {
            await tab.waitForSelector('#offline-status[data-state="ready"]', { timeout: 120_000 });
            await tab.setOfflineMode(true);
            await own.close();
          }
          // Opened, not reloaded: puppeteer's reload of a page that changed
          // its opener policy loads it past the service worker.
          await tab.goto(`${own.url}index.html?lang=en`);
          // A page about to reload never gets ready: once ready, it is the last.
          const settled = row.told ? 'unsupported' : 'ready';
          await tab.waitForFunction((settled) => window.zem?.state === settled, { timeout: RUN_TIMEOUT, polling: 50 }, settled);
          assert.equal(loads, row.loads + (visit === 'offline'), `loads of the page (${visit})`);
          assert.equal(await tab.evaluate(() => crossOriginIsolated === true), row.isolated, `isolated (${visit})`);
          if (row.told) {
            assert.equal(await tab.$eval('#browser-note', (note) => note.hidden), false);
            assert.equal(await tab.$eval('#run', (button) => button.disabled), true);
            continue;
          }
          await tab.select('#examples', 'keisan');
          await runTyping(tab, '21\nowari\n');
          assert.equal(await tab.evaluate(() => window.zem.transcript()), `21\nowari\n${keisan}`);
        }
      } finally {
        await tab.close();
        await own.close();
      }
    });
  }

  // A first visit (a browser context of its own: nothing cached, no service
  // worker) with the compiler's big file held back: the check answers and the
  // C shows without it, the state tells how much has come, and Run waits for
  // it (Stop ends the wait) and runs once it comes. Prints the times.
  await check('a first visit checks at once, tells the loading, and Run waits for the compiler', async () => {
    let release;
    const held = new Promise((resolve) => (release = resolve));
    const hold = (file) => (file === path.join('clang', 'llvm.core.wasm') ? held : null);
    const slow = await serve(siteDir, '/first visit/', 0, { hold });
    const context = await browser.createBrowserContext();
    try {
      const tab = await context.newPage();
      await tab.setViewport({ width: 1024, height: 768 });
      const start = Date.now();
      await tab.goto(`${slow.url}index.html?lang=ja`);
      await tab.waitForSelector('#editor .cm-content[contenteditable="true"]');
      const usable = Date.now() - start;
      await tab.evaluate(() => window.zem.checkReady);
      await tab.evaluate(() => window.zem.setSource('はじめ\n\t見る("やあ");\nおわり\n'));
      await tab.waitForFunction(() => window.zem.cText().includes('やあ'), { timeout: RUN_TIMEOUT, polling: 20 });
      console.log(`  first visit: editor usable in ${usable} ms, the C shown in ${Date.now() - start} ms`);
      const status = () => tab.$eval('#status', (element) => element.textContent);
      // Out of the compiler's files as the site has them.
      const { files } = JSON.parse(fs.readFileSync(path.join(siteDir, 'manifest.json'), 'utf8'));
      const total = files.filter((file) => /^clang\/llvm/.test(file.path)).reduce((sum, file) => sum + file.size, 0);
      const loadingWords = new RegExp(`^C コンパイラを読み込み中… \\d+ / ${Math.round(total / 1e6)} MB$`);
      await tab.waitForFunction((words) => new RegExp(words).test(document.getElementById('status').textContent), {
        timeout: RUN_TIMEOUT,
        polling: 20,
      }, loadingWords.source);
      const ctrlEnter = async () => {
        await tab.keyboard.down('Control');
        await tab.keyboard.press('Enter');
        await tab.keyboard.up('Control');
      };
      // [how the run is asked, then, its state after Stop (null: not pressed)]
      const rows = [
        ['#run', () => tab.click('#run'), 'loading'],
        ['Ctrl+Enter', ctrlEnter, null],
      ];
      for (const [what, ask, stopped] of rows) {
        assert.equal(await state(tab), 'loading', what);
        await ask();
        assert.equal(await state(tab), 'queued', what);
        assert.match(await status(), new RegExp(`^C コンパイラを待って実行します… \\d+ / ${Math.round(total / 1e6)} MB$`), what);
        if (stopped === null) continue;
        await tab.click('#stop');
        assert.equal(await state(tab), stopped, what);
      }
      release();
      await tab.waitForFunction(() => window.zem.state === 'waiting', { timeout: RUN_TIMEOUT, polling: 20 });
      await tab.click('#terminal');
      await tab.keyboard.type('x\n');
      await waitDone(tab);
      assert.equal(await tab.evaluate(() => window.zem.exitStatus), 0);
      assert.match(await tab.evaluate(() => window.zem.transcript()), /やあ/);
    } finally {
      release();
      await context.close();
      await slow.close();
    }
  });

  // ---- how a run ended, in words, with the status in the tooltip; Stop
  // says so on the terminal; zemuc's lines about its tools shown on request
  const ENDINGS = [
    { what: 'a program that ends', source: 'はじめ\n\t見る("やあ");\nおわり\n', outcome: 'finished',
      ja: '終わりました', status: 0 },
    { what: 'a program that does not build', source: 'はじめ\n\t数a=1;\n\t数b=数a+;\nおわり\n',
      outcome: 'notBuilt', ja: '組み立てられませんでした', status: 1, tool: true },
    { what: 'a program a check stops', source: 'はじめ\n\t数a=0;\n\t数b=10/数a;\nおわり\n',
      outcome: 'checkStopped', ja: 'まちがいが見つかって止まりました', status: 70, tool: true },
    { what: 'a program stopped', source: 'はじめ\n\twhile(1){\n\t\t数a=数a+1;\n\t}\nおわり\n', stop: true,
      outcome: 'stopped', ja: '止めました', status: 130 },
  ];
  const endings = await openPage('?lang=ja');
  for (const ending of ENDINGS) {
    await check(`how a run ended (ja): ${ending.what}`, async () => {
      await setProgram(endings, ending.source);
      if (ending.stop) {
        await endings.click('#run');
        await endings.waitForFunction(() => window.zem.state === 'running', { timeout: RUN_TIMEOUT, polling: 20 });
        await endings.click('#stop');
        await waitDone(endings, STOP_TIMEOUT);
      } else {
        await runTyping(endings, 'owari\n');
      }
      assert.equal(await endings.evaluate(() => window.zem.outcome), ending.outcome);
      assert.equal(await endings.evaluate(() => window.zem.exitStatus), ending.status);
      assert.equal(await endings.$eval('#status', (status) => status.textContent), ending.ja);
      assert.equal(await endings.$eval('#status', (status) => status.title), `終了コード ${ending.status}`);
      const screen = await endings.$eval('#terminal .xterm-rows', (rows) => rows.textContent);
      assert.equal(screen.includes('(プログラムを止めました)'), Boolean(ending.stop), `the terminal: ${screen}`);
      assert.ok(!/zemuc:\s/.test(screen), `no tool line on the terminal: ${screen}`);
      // A tool line is a message of its own, hidden until 詳しく is ticked.
      const visible = () => endings.$$eval('#problems > *', (items) =>
        items.filter((item) => item.offsetParent !== null).map((item) => item.textContent));
      const tools = (await endings.evaluate(() => window.zem.problems())).filter((line) => line.startsWith('zemuc: '));
      assert.equal(tools.length > 0, Boolean(ending.tool), `tool lines: ${tools}`);
      assert.deepEqual((await visible()).filter((line) => line.startsWith('zemuc: ')), []);
      assert.equal(await endings.$eval('#details-toggle', (label) => label.hidden), !ending.tool);
      if (ending.tool) {
        await endings.click('#details');
        assert.deepEqual((await visible()).filter((line) => line.startsWith('zemuc: ')), tools);
        await endings.click('#details');
      }
    });
  }
  await endings.close();

  // ---- reachable by keyboard and screen reader, and the page's layout;
  // each case on a server and in a tab of its own.
  async function ownTab(server, query = '?lang=ja', width = 1366) {
    const tab = await browser.newPage();
    await tab.setViewport({ width, height: 768 });
    await tab.goto(`${server.url}index.html${query}`);
    await tab.evaluate(() => window.zem.ready);
    return tab;
  }
  async function withOwnTab(where, query, width, body) {
    const own = await serve(siteDir, where);
    const tab = await ownTab(own, query, width);
    try {
      await body(tab, own);
    } finally {
      await tab.close();
      await own.close();
    }
  }
  const JAPANESE = /[\u3040-\u30ff\u3400-\u9fff\uff00-\uffef]/;

  // Every name the page gives a control or a region (aria-label, title,
  // label text, button text, the examples menu), as a screen reader and a
  // tooltip say it; the language menu names each language in its own.
  const LABELS = [
    { lang: 'ja', query: '?lang=ja' },
    { lang: 'en', query: '?lang=en' },
    { lang: 'en', query: '?lang=ja', switchTo: 'en' },
    { lang: 'ja', query: '?lang=en', switchTo: 'ja' },
  ];
  for (const row of LABELS) {
    await check(`labels: every label in the page's language (${row.query}${row.switchTo ? ` then ${row.switchTo}` : ''})`, async () => {
      await withOwnTab('/labels/', row.query, 1366, async (tab) => {
        if (row.switchTo) await tab.select('#lang', row.switchTo);
        const names = await tab.evaluate(() => {
          const found = [];
          for (const element of document.querySelectorAll('body *')) {
            // The language menu names each language in its own, and a
            // teacher's titles are in the teacher's (marked lang).
            if (element.closest('#lang, body [lang]')) continue;
            for (const attribute of ['aria-label', 'title', 'placeholder']) {
              const value = element.getAttribute(attribute);
              if (value) found.push(`${attribute}=${value}`);
            }
            if (['BUTTON', 'OPTION'].includes(element.tagName) || element.matches('label > span, h2 > span, h2 > small')) {
              const text = element.textContent.trim();
              if (text) found.push(`${element.tagName}:${text}`);
            }
          }
          return found;
        });
        assert.ok(names.some((name) => name.startsWith('aria-label=')), 'aria-labels found');
        const wrong = names.filter((name) => JAPANESE.test(name) !== (row.lang === 'ja'));
        assert.deepEqual(wrong, [], `names not in ${row.lang}`);
      });
    });
  }

  // An example that fails on purpose ends on one of the language's own
  // failures (a file that is not there, a file read past its end).
  const failsOnPurpose = (example) =>
    /がないよ|読みすぎ/.test(decode(fs.readFileSync(path.join(examplesDir, example, 'expected/stdout'))));
  await check('examples menu: titles in the page\'s language, a failure on purpose said', async () => {
    const fails = Object.fromEntries(fs.readdirSync(examplesDir).map((example) => [example, failsOnPurpose(example)]));
    assert.ok(Object.values(fails).includes(true) && Object.values(fails).includes(false), JSON.stringify(fails));
    await withOwnTab('/titles/', '?lang=ja', 1366, async (tab) => {
      for (const [lang, marker] of [['ja', 'わざと'], ['en', 'on purpose']]) {
        await tab.select('#lang', lang);
        const titles = await tab.$$eval('#examples option', (os) => os.filter((o) => o.value).map((o) => [o.value, o.textContent]));
        assert.deepEqual(titles.map(([value]) => value).sort(), Object.keys(fails).sort());
        for (const [example, title] of titles) {
          assert.ok(!title.includes(example), `${lang} title of ${example} is not its file name: ${title}`);
          assert.equal(JAPANESE.test(title), lang === 'ja', `${example}: ${title}`);
          assert.equal(title.includes(marker), fails[example], `${example}: ${title}`);
        }
      }
    });
  });

  // Tab indents (the language indents with tabs); Esc then Tab, and Ctrl+M
  // then Tab, leave the editor, as the hint the editor is described by says.
  const TABS = [
    { keys: ['Tab'], leaves: false },
    { keys: ['Escape', 'Tab'], leaves: true },
    { keys: ['Control+m', 'Tab'], leaves: true },
  ];
  await check('keyboard: Tab indents in the editor, Esc then Tab leaves it, as the page says', async () => {
    await withOwnTab('/tab/', '?lang=en', 1366, async (tab) => {
      const hint = await tab.$eval('.cm-content', (content) => document.getElementById(content.getAttribute('aria-describedby'))?.textContent);
      assert.match(hint ?? '', /Esc then Tab/);
      for (const row of TABS) {
        await tab.evaluate(() => window.zem.setSource('はじめ\nおわり\n'));
        await tab.click('.cm-content');
        for (const key of row.keys) {
          const [modifier, name] = key.includes('+') ? key.split('+') : [null, key];
          if (modifier) await tab.keyboard.down(modifier);
          await tab.keyboard.press(name);
          if (modifier) await tab.keyboard.up(modifier);
        }
        const inEditor = await tab.evaluate(() => document.getElementById('editor').contains(document.activeElement));
        assert.equal(inEditor, !row.leaves, `${row.keys.join(' ')}: focus in the editor`);
        assert.equal((await tab.evaluate(() => window.zem.source())).includes('\t'), !row.leaves, `${row.keys.join(' ')}: a tab inserted`);
      }
    });
  });

  // The messages a program's run changes are told to a screen reader when
  // they change, without cutting it short.
  await check('screen reader: the state, the notice and the messages are polite live regions', async () => {
    await withOwnTab('/live/', '?lang=en', 1366, async (tab) => {
      for (const id of ['status', 'notice', 'problems']) {
        assert.equal(await tab.$eval(`#${id}`, (element) => element.getAttribute('aria-live')), 'polite', `#${id}`);
      }
    });
  });

  await check('screen reader: the terminal\'s mode reads its output, and is kept', async () => {
    await withOwnTab('/reader/', '?lang=en', 1366, async (tab) => {
      await tab.click('#screen-reader');
      await tab.evaluate(() => window.zem.setSource('はじめ\n\t見る("読み上げ");\nおわり\n'));
      await runTyping(tab, 'x\n');
      await tab.waitForFunction(() => document.querySelector('#terminal .xterm-accessibility-tree')?.textContent.includes('読み上げ'));
      await tab.reload();
      await tab.evaluate(() => window.zem.ready);
      assert.equal(await tab.$eval('#screen-reader', (box) => box.checked), true);
      assert.ok(await tab.$('#terminal .xterm-accessibility-tree'), 'the mode is on after a reload');
    });
  });

  // Every visible text's colour against what is painted behind it (the
  // backgrounds of it and its parents, composed), at least 4.5:1, in each
  // state the page is seen in.
  function lowContrast(tab) {
    return tab.evaluate(() => {
      const rgba = (text) => {
        const m = /rgba?\(([\d.]+),? ([\d.]+),? ([\d.]+)(?:,? \/? ?([\d.]+))?\)/.exec(text);
        return m ? [+m[1], +m[2], +m[3], m[4] === undefined ? 1 : +m[4]] : [0, 0, 0, 0];
      };
      const over = (top, below) => {
        const a = top[3];
        return [0, 1, 2].map((i) => top[i] * a + below[i] * (1 - a)).concat(1);
      };
      const background = (element) => {
        const layers = [];
        for (let at = element; at; at = at.parentElement) {
          const layer = rgba(getComputedStyle(at).backgroundColor);
          if (layer[3] > 0) layers.push(layer);
          if (layer[3] === 1) break;
        }
        return layers.reduceRight((below, top) => over(top, below), [255, 255, 255, 1]);
      };
      const luminance = ([r, g, b]) =>
        [r, g, b].map((c) => ((c /= 255) <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4))
          .reduce((sum, c, i) => sum + c * [0.2126, 0.7152, 0.0722][i], 0);
      const ratio = (a, b) => {
        const [hi, lo] = [luminance(a), luminance(b)].sort((x, y) => y - x);
        return (hi + 0.05) / (lo + 0.05);
      };
      const shown = (element) => {
        const box = element.getBoundingClientRect();
        return box.width > 1 && box.height > 1 && box.bottom > 0 && box.right > 0 &&
          box.top < innerHeight && box.left < innerWidth && element.checkVisibility({ opacityProperty: true, visibilityProperty: true });
      };
      const low = [];
      const measure = (element, style, what) => {
        const bg = background(element);
        const value = ratio(over(rgba(style.color), bg), bg);
        if (value < 4.5) low.push(`${what}: ${value.toFixed(2)} (${style.color} on rgb(${bg.slice(0, 3).map(Math.round)}))`);
      };
      for (const element of document.querySelectorAll('body *')) {
        const text = [...element.childNodes].filter((n) => n.nodeType === Node.TEXT_NODE).map((n) => n.data).join('').trim();
        const field = element.matches('input:not([type=file]):not([type=checkbox])') ? element.value : '';
        if ((!text && !field) || !shown(element)) continue;
        measure(element, getComputedStyle(element), `${element.tagName.toLowerCase()}${element.id ? `#${element.id}` : ''}.${element.className} "${(text || field).slice(0, 20)}"`);
      }
      for (const element of document.querySelectorAll('#problems:empty')) {
        if (shown(element)) measure(element, getComputedStyle(element, '::after'), '#problems::after');
      }
      return low;
    });
  }
  await check('contrast: every visible text at least 4.5:1 against its background', async () => {
    await withOwnTab('/contrast/', '?lang=ja', 1024, async (tab) => {
      const seen = {};
      seen.ready = await lowContrast(tab);
      // Colours of every kind: the language's, the C's, a finding, a note
      // in the terminal, a file, a notice, the share link.
      await tab.evaluate(() => window.zem.setSource('はじめ\n\t// 注\n\t数a=1;\n\t字s="x";\n\t打つ(数b);\n\t見る("a",数a,"s",字s);見る("y");\nおわり\n'));
      await tab.evaluate(() => window.zem.addFile('a.txt', new TextEncoder().encode('1\n')));
      await tab.waitForSelector('#editor .cm-lintRange-warning, #editor .cm-lintRange-error', { timeout: 60_000 });
      await tab.click('#run');
      await tab.waitForFunction(() => window.zem.state === 'waiting', { timeout: RUN_TIMEOUT, polling: 50 });
      seen.waiting = await lowContrast(tab);
      await tab.click('#terminal');
      await tab.keyboard.type('x\n');
      await waitDone(tab);
      await tab.click('#share');
      await tab.evaluate(() => (location.hash = '#code=%%%'));
      await tab.waitForFunction(() => document.getElementById('notice').dataset.kind === 'error');
      seen.done = await lowContrast(tab);
      assert.deepEqual(seen, { ready: [], waiting: [], done: [] });
    });
  });

  // The C view shows the C that runs: of a run started before the analysis
  // of the change, or after a change made while the last program ran (its
  // analysis came during that run, whose C the view then showed).
  const OLD_C = 'はじめ\n\t打つ(字s);\n\t見る("OLDOLD",字s);\nおわり\n';
  const NEW_C = 'はじめ\n\t打つ(字s);\n\t見る("NEWNEW",字s);\nおわり\n';
  const C_VIEWS = [
    { what: 'right after a change', changedWhileRunning: false },
    { what: 'after a change made while the last program ran', changedWhileRunning: true },
  ];
  for (const row of C_VIEWS) {
    await check(`C view: a run ${row.what} never shows the C before it`, async () => {
      await withOwnTab('/cview/', '?lang=en', 1366, async (tab) => {
        await tab.evaluate((source) => window.zem.setSource(source), OLD_C);
        await tab.waitForFunction(() => window.zem.cText().includes('OLDOLD'), { timeout: 60_000 });
        if (row.changedWhileRunning) {
          await tab.click('#run');
          await tab.waitForFunction(() => window.zem.state === 'waiting', { timeout: RUN_TIMEOUT, polling: 50 });
          await tab.evaluate((source) => window.zem.setSource(source), NEW_C);
          await new Promise((resolve) => setTimeout(resolve, 3000)); // past both analyses
          await tab.click('#terminal');
          await tab.keyboard.type('x\ny\n');
          await waitDone(tab);
          assert.match(await tab.evaluate(() => window.zem.cText()), /OLDOLD/, 'the last run\'s C after it');
        }
        const seen = await tab.evaluate(
          (source) =>
            new Promise((resolve, reject) => {
              if (source) window.zem.setSource(source);
              document.getElementById('run').click();
              const old = [];
              const started = Date.now();
              const timer = setInterval(() => {
                const shown = document.getElementById('c-code').textContent;
                if (shown.includes('OLDOLD')) old.push(window.zem.state);
                if (window.zem.state === 'waiting') {
                  clearInterval(timer);
                  resolve({ old, shown });
                } else if (Date.now() - started > 170_000) {
                  clearInterval(timer);
                  reject(new Error(`never waited: ${window.zem.state}`));
                }
              }, 5);
            }),
          row.changedWhileRunning ? null : NEW_C,
        );
        assert.deepEqual(seen.old, [], 'the old C shown during the run');
        assert.match(seen.shown, /NEWNEW/, 'the running C shown while it waits');
        await tab.click('#terminal');
        await tab.keyboard.type('x\ny\n');
        await waitDone(tab);
      });
    });
  }

  // The header is one row: nothing that comes during a lesson moves the
  // editor.
  const HEADERS = [
    { width: 1366, lang: 'ja' },
    { width: 1024, lang: 'ja' },
    { width: 1024, lang: 'en' },
  ];
  for (const { width, lang } of HEADERS) {
    await check(`header: one row at ${width}x768 (${lang}) across load, run, share, notice, offline note`, async () => {
      await withOwnTab('/header/', `?lang=${lang}`, width, async (tab) => {
        const measure = () =>
          tab.evaluate(() => {
            const header = document.querySelector('header').getBoundingClientRect();
            const tops = [...document.querySelectorAll('header > *')]
              .map((e) => e.getBoundingClientRect())
              .filter((box) => box.height > 0)
              .map((box) => Math.round(box.top + box.height / 2));
            // The messages' place keeps room for the state, and nothing
            // runs past the header's end.
            const status = document.getElementById('status');
            const past = [...document.querySelectorAll('header > *')].filter((e) => e.getBoundingClientRect().right > header.right + 1);
            return {
              height: header.height,
              editor: document.getElementById('editor').getBoundingClientRect().top,
              rows: new Set(tops).size,
              stateShown: status.clientWidth > 0 && status.scrollWidth <= status.clientWidth,
              past: past.map((e) => e.id || e.className),
            };
          });
        const loaded = await measure();
        assert.deepEqual({ rows: loaded.rows, stateShown: loaded.stateShown, past: loaded.past }, { rows: 1, stateShown: true, past: [] }, 'one row at load');
        await tab.select('#examples', 'keisan');
        await runTyping(tab, '21\nowari\n');
        await tab.waitForSelector('#offline-status[data-state="ready"]', { timeout: 120_000 });
        assert.deepEqual(await measure(), loaded, 'after a run, with the offline note');
        await tab.click('#share');
        assert.deepEqual(await measure(), loaded, 'with the share link');
        await tab.evaluate(() => (location.hash = '#code=%%%'));
        await tab.waitForFunction(() => document.getElementById('notice').dataset.kind === 'error');
        assert.deepEqual(await measure(), loaded, 'with a notice');
      });
    });
  }

  // ---- exercises: 確かめる in the page gives what zemuc test gives for
  // the same program (its JSON, its case lines, the first difference); the
  // results and the program are kept with the exercise and handed in as a
  // .zem that zemuc test still checks. Each exercise on a server and in a
  // tab of its own, opened by #exercise=ID.
  const exercisesDir = path.join(project, 'exercises');
  // zemuc test on a program file, in Japanese, in its folder (its messages
  // name it as the page names it): { json, text }.
  function nativeTest(file, id) {
    const env = { ...process.env, LC_ALL: 'ja_JP.UTF-8', LANGUAGE: 'ja', NO_COLOR: '1' };
    const args = [path.basename(file), path.join(exercisesDir, id)];
    const run = (json) => spawnSync(zemuc, ['test', ...json, ...args], { cwd: path.dirname(file), env, timeout: 120_000 });
    return { json: JSON.parse(run(['--json']).stdout.toString()), text: run([]).stdout.toString() };
  }
  const answerOf = (id) => fs.readFileSync(path.join(exercisesDir, id, 'answer.zem'), 'utf8');
  const EXERCISE_ROWS = [
    // 10 divided by the number: a wrong output, and 0 stopped by a check
    // (told as zemuc test tells it).
    { id: '02_nibai', wrong: (answer) => answer.replace('数x*2', '10/数x') },
    // The output right, the file written wrong: the file's difference.
    { id: '04_goukei_file', wrong: (answer) => answer.replace('\t開く(出力', '\t数合計=数合計+1;\n\t開く(出力') },
  ];
  for (const { id, wrong } of EXERCISE_ROWS) {
    await check(`exercise ${id}: 確かめる right and wrong as zemuc test, kept after a reload, handed in`, async () => {
      const own = await serve(siteDir, `/exercise ${id}/`);
      const tab = await browser.newPage();
      try {
        await tab.setViewport({ width: 1024, height: 768 });
        const open = async () => {
          await tab.goto(`${own.url}index.html?lang=ja#exercise=${id}`);
          await tab.evaluate(() => window.zem.ready);
          await tab.waitForFunction((id) => window.zem.exercise() === id, {}, id);
        };
        await open();
        assert.notEqual(wrong(answerOf(id)), answerOf(id), 'the row makes a wrong program');
        assert.ok(await tab.$eval('#statement', (element) => element.textContent.trim().length > 0), 'the statement is shown');
        const marks = () => tab.$$eval('#check-table td.mark', (cells) => cells.map((cell) => cell.textContent));
        const shown = () => tab.$eval('#check-explanation', (element) => element.textContent);
        for (const [kind, source] of [['right', answerOf(id)], ['wrong', wrong(answerOf(id))]]) {
          await tab.evaluate((text) => window.zem.setSource(text), source);
          const json = await tab.evaluate(() => window.zem.check());
          const file = path.join(fs.mkdtempSync(path.join(work, 'exercise-')), `${id}.zem`);
          fs.writeFileSync(file, source);
          const native = nativeTest(file, id);
          const both = `page ${JSON.stringify(json)}\nzemuc ${JSON.stringify(native.json)}`;
          assert.deepEqual(json, native.json, `${kind}: check() is zemuc test --json\n${both}`);
          assert.equal(json.all_passed, kind === 'right');
          const lines = native.text.split('\n');
          assert.deepEqual(await marks(), lines.filter((line) => /^[○×] /.test(line)).map((line) => line[0]), `${kind}: the table`);
          assert.equal(await tab.$eval('#check-results .check-status', (element) => element.textContent), lines.at(-2), 'the status line');
          if (kind === 'wrong') {
            assert.ok((await shown()).startsWith('× 1 (例)'), await shown());
            assert.ok(native.text.includes(await shown()), `the first difference as zemuc test tells it:\n${await shown()}`);
          }
        }
        // Kept: after a reload, and after another exercise was opened.
        const before = { marks: await marks(), shown: await shown() };
        await open();
        assert.equal(await tab.evaluate(() => window.zem.source()), wrong(answerOf(id)));
        assert.deepEqual({ marks: await marks(), shown: await shown() }, before, 'the results after a reload');
        const other = EXERCISE_ROWS.find((row) => row.id !== id).id;
        await tab.select('#exercises', other);
        await tab.waitForFunction((other) => window.zem.exercise() === other && location.hash === `#exercise=${other}`, {}, other);
        await tab.select('#exercises', id);
        await tab.waitForFunction((id) => window.zem.exercise() === id, {}, id);
        assert.equal(await tab.evaluate(() => window.zem.source()), wrong(answerOf(id)), 'the program written for it');
        assert.deepEqual(await marks(), before.marks, 'its results');
        // Handed in: the program and its results in comments, which zemuc
        // test reads as the program alone.
        const handed = new TextDecoder().decode(await downloadBy(tab, '#hand-in', `${id}.zem`));
        assert.ok(handed.startsWith(wrong(answerOf(id))) && handed.includes('\n//; × 1 (例)'), handed);
        const file = path.join(fs.mkdtempSync(path.join(work, 'handed-')), `${id}.zem`);
        fs.writeFileSync(file, handed);
        const file2 = path.join(fs.mkdtempSync(path.join(work, 'handed-')), `${id}.zem`);
        fs.writeFileSync(file2, wrong(answerOf(id)));
        assert.deepEqual(nativeTest(file, id).json, nativeTest(file2, id).json, 'the handed-in file checks as its program');
      } finally {
        await tab.close();
        await own.close();
      }
    });
  }

  // A program too slow for every case (each ended at its limit), and one
  // that does not build (told once, no case run): as zemuc test tells them,
  // but for the compiler that build_error's last line names.
  const withoutTool = ({ build_error: told = '', ...rest }) => ({ ...rest, told: told.split('\nzemuc: ')[0] });
  for (const { what, source } of [
    { what: 'too slow', source: 'はじめ\n\twhile(1){\n\t\t数a=1;\n\t}\nおわり\n' },
    { what: 'does not build', source: 'はじめ\n\t見る(数a);\nおわり\n' },
  ]) {
    await check(`exercise 01_aisatsu: 確かめる of a program that is ${what}, as zemuc test`, async () => {
      const own = await serve(siteDir, '/exercise told/');
      const tab = await browser.newPage();
      try {
        await tab.goto(`${own.url}index.html?lang=ja#exercise=01_aisatsu`);
        await tab.evaluate(() => window.zem.ready);
        await tab.waitForFunction(() => window.zem.exercise() === '01_aisatsu');
        await tab.evaluate((text) => window.zem.setSource(text), source);
        const json = await tab.evaluate(() => window.zem.check());
        const file = path.join(fs.mkdtempSync(path.join(work, 'told-')), '01_aisatsu.zem');
        fs.writeFileSync(file, source);
        const native = nativeTest(file, '01_aisatsu').json;
        assert.deepEqual(withoutTool(json), withoutTool(native), `page ${JSON.stringify(json)}\nzemuc ${JSON.stringify(native)}`);
        assert.equal(await tab.evaluate(() => window.zem.state), 'checked');
        if (what === 'does not build') {
          const shown = await tab.evaluate(() => window.zem.problems());
          assert.match(shown.join('\n'), /^01_aisatsu\.zem:2:2: .*見る/m, 'its messages, as Run shows them');
        }
      } finally {
        await tab.close();
        await own.close();
      }
    });
  }

  // Offline, a run tells that the page works offline (it does).
  await check('offline: after a run without network, the page says it works offline', async () => {
    await withOwnTab('/offline-note/', '?lang=en', 1366, async (tab, own) => {
      await tab.select('#examples', 'keisan');
      await runTyping(tab, '21\nowari\n');
      await tab.waitForSelector('#offline-status[data-state="ready"]', { timeout: 120_000 });
      await tab.setOfflineMode(true);
      await own.close();
      await tab.reload();
      await tab.evaluate(() => window.zem.ready);
      await tab.select('#examples', 'keisan');
      await runTyping(tab, '21\nowari\n');
      await tab.waitForSelector('#offline-status[data-state="ready"]', { visible: true, timeout: 60_000 });
      await tab.setOfflineMode(false);
    });
  });

  // Last, in a browser and on a server of their own, for a page that such a
  // program makes unresponsive must not take the other cases with it.
  await check('#stop ends a program that prints without end for five seconds', async () => {
    const flood = await serve(siteDir, '/flood/');
    // A page that does not answer fails the case in a minute, not in three.
    const own = await puppeteer.launch({
      executablePath: CHROMIUM,
      headless: true,
      args: ['--no-sandbox', '--disable-gpu'],
      protocolTimeout: 60_000,
    });
    try {
      const tab = await own.newPage();
      await tab.goto(`${flood.url}index.html?lang=en`);
      await tab.evaluate(() => window.zem.ready);
      await tab.evaluate(() => window.zem.setSource('はじめ\n\twhile(1){\n\t\tprintf("%d\\n", 12345);\n\t}\nおわり\n'));
      await tab.click('#run');
      await tab.waitForFunction(() => window.zem.state === 'running', { timeout: RUN_TIMEOUT, polling: 20 });
      await new Promise((resolve) => setTimeout(resolve, 5000));
      await tab.click('#stop');
      await tab.waitForFunction(() => window.zem.state === 'done', { timeout: STOP_TIMEOUT, polling: 50 });
      assert.equal(await tab.evaluate(() => window.zem.exitStatus), 130);
    } finally {
      await own.close();
      await flood.close();
    }
  });
} finally {
  await browser.close();
  await site.close();
  fs.rmSync(work, { recursive: true, force: true });
}
if (failures > 0) {
  console.log(`${failures} failed`);
  process.exit(1);
}
console.log('all passed');
