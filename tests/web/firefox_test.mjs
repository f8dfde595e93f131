// The playground's page in Debian's Firefox ESR, through puppeteer-core over
// WebDriver BiDi, as a browser without JSPI (its switch turned off, as in
// older Firefox and in Safari) meets it: over plain http on a LAN address,
// where no service worker can run, the page says at once that programs
// cannot run and what to do, fetches no compiler, and still checks and shows
// the C; over localhost the service worker isolates it (one reload) and a
// program runs with typed input and tells its messages.
//   node firefox_test.mjs PROJECT_DIR SITE_DIR
// Exits 77 (skipped) with a word where firefox-esr, puppeteer-core or the
// site is missing.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import assert from 'node:assert/strict';
import { serve } from './serve.mjs';
import { browserTestSetup } from './browser_setup.mjs';

if (process.argv.length !== 4) {
  console.error('usage: node firefox_test.mjs PROJECT_DIR SITE_DIR');
  process.exit(2);
}
const [project, siteDir] = process.argv.slice(2).map((arg) => path.resolve(arg));
const FIREFOX = process.env.FIREFOX ?? '/usr/bin/firefox-esr';
const puppeteer = await browserTestSetup(project, siteDir, FIREFOX);

const RUN_TIMEOUT = 300_000; // a first build loads the C compiler
const COMPILER = path.join('clang', 'llvm.core.wasm');
// A page served on a machine's own non-loopback address is not a secure
// context: what a school's LAN gives.
const lanAddress = Object.values(os.networkInterfaces())
  .flat()
  .find((address) => address.family === 'IPv4' && !address.internal)?.address;

const browser = await puppeteer.launch({
  browser: 'firefox',
  executablePath: FIREFOX,
  headless: true,
  // A wait is one call to the browser that lasts as long as the wait:
  // puppeteer's own limit on a call (180 s) must not cut a first build short.
  protocolTimeout: RUN_TIMEOUT + 60_000,
  extraPrefsFirefox: { 'javascript.options.wasm_js_promise_integration': false },
});
let failures = 0;
async function check(title, body) {
  try {
    await body();
    console.log(`ok - ${title}`);
  } catch (error) {
    failures++;
    const cause = error.cause ? `\n  caused by: ${String(error.cause.stack ?? error.cause)}` : '';
    console.log(`FAIL - ${title}\n  ${String(error.stack ?? error).split('\n').slice(0, 8).join('\n  ')}${cause}`);
  }
}

async function open(site, query) {
  const page = await browser.newPage();
  await page.goto(`${site.url}index.html${query}`);
  await page.waitForFunction(() => window.zem !== undefined, { polling: 50 });
  return page;
}
const shownC = (page, text) =>
  page.waitForFunction((text) => window.zem.cText().includes(text), { timeout: 60_000, polling: 50 }, text);

try {
  await check('over http on a LAN address: told at load time, no compiler fetched, the check works', async () => {
    if (!lanAddress) {
      console.log('  skipped: this machine has no non-loopback IPv4 address');
      return;
    }
    const asked = [];
    const lan = await serve(siteDir, '/lan/', 0, { host: lanAddress, hold: (file) => void asked.push(file) });
    try {
      for (const [lang, words] of [
        ['ja', /実行できません.*Chrome か Chromium（137 以降）.*https:\/\/ か localhost/],
        ['en', /cannot run programs.*Chrome or Chromium 137 or later.*https:\/\/ or from localhost/],
      ]) {
        const page = await open(lan, `?lang=${lang}`);
        await page.waitForSelector('#browser-note:not([hidden])', { timeout: 30_000 });
        assert.match(await page.$eval('#browser-note', (note) => note.textContent), words);
        assert.equal(await page.evaluate(() => window.zem.canRun), false);
        await page.evaluate(() => window.zem.checkReady);
        await page.evaluate(() => window.zem.setSource('はじめ\n\t見る("LAN");\nおわり\n'));
        await shownC(page, 'LAN');
        const refused = await page.evaluate(() => window.zem.ready.then(() => 'ran', () => 'refused'));
        assert.equal(refused, 'refused');
        assert.equal(await page.evaluate(() => window.zem.state), 'unsupported');
        assert.equal(await page.$eval('#run', (button) => button.disabled), true);
        assert.equal(await page.evaluate(() => window.zem.run()), null);
        assert.equal(await page.$eval('#notice', (notice) => notice.textContent), '');
        await page.close();
      }
      assert.ok(!asked.includes(COMPILER), 'the compiler was fetched');
    } finally {
      await lan.close();
    }
  });

  await check('over localhost: isolated by the service worker, a program runs with typed input and its messages', async () => {
    const local = await serve(siteDir, '/local/');
    try {
      const page = await open(local, '?lang=ja');
      // The service worker takes the page and reloads it once, isolated.
      await page.waitForFunction(() => window.crossOriginIsolated === true && window.zem?.canRun === true, {
        timeout: 60_000,
        polling: 100,
      });
      await page.evaluate(() => window.zem.ready);
      await page.evaluate(() =>
        window.zem.setSource('はじめ\n\tprintf("名前>");\n\t打つ(字a);\n\t見る("a",字a);\nおわり\n'),
      );
      await page.click('#run');
      await page.waitForFunction(() => window.zem.state === 'waiting', { timeout: RUN_TIMEOUT, polling: 50 });
      assert.equal(await page.evaluate(() => window.zem.transcript()), '名前>');
      await page.click('#terminal');
      await page.keyboard.type('x\n');
      await page.waitForFunction(() => window.zem.transcript().endsWith('終わるよ'), { timeout: 30_000, polling: 50 });
      await page.keyboard.type('q\n');
      await page.waitForFunction(() => window.zem.state === 'done', { timeout: 30_000, polling: 50 });
      assert.equal(await page.evaluate(() => window.zem.exitStatus), 0);
      assert.equal(await page.evaluate(() => window.zem.transcript()), '名前>x\na[x]\n--->何か文字を入れれば終わるよq\n');
      // A block left open: zemuc run's message, on its line, and no build.
      await page.evaluate(() => window.zem.setSource('はじめ\n\tif(1){\n\t\t見る("a");\nおわり\n'));
      assert.equal(await page.evaluate(() => window.zem.run()), 1);
      const problems = await page.evaluate(() => window.zem.problems());
      assert.match(problems[0], /^prog\.zem:2:7: .*ブロック/);
      await page.close();
    } finally {
      await local.close();
    }
  });
} finally {
  await browser.close();
}
if (failures > 0) {
  console.log(`${failures} failed`);
  process.exit(1);
}
console.log('all passed');
