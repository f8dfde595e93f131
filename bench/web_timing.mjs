#!/usr/bin/env node
// How fast the playground meets a learner, in Debian's chromium (headless,
// puppeteer-core) over a plain local static server: on a first visit (a
// fresh profile, nothing cached) the time until the editor takes typing,
// until the check answers and until a program can be run, the time from
// Run to a typical program's first output, the bytes the visit downloads
// (every response the server sent: page, workers, service worker), and
// the memory of the browser's processes once a program can be run (their
// proportional set size, from /proc); then, on the same page, the time
// from Run to first output after an edit (at once, and after a pause) and
// run again unchanged, and from Stop to the end of an endless loop.
// Medians of several visits. Then, from `zemuc serve`
// (bench/serve_load.mjs): the bytes of a first visit with brotli and with
// gzip, and the time for 40 learners' first visits at once over loopback.
//   ZEMUC=build/release/zemuc node bench/web_timing.mjs [SITE_DIR] [RUNS]
//   (make bench-web)
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import http from 'node:http';

const here = path.dirname(fileURLToPath(import.meta.url));
const project = path.dirname(here);
const siteDir = process.argv[2] ?? path.join(project, 'build/web');
const runs = Number(process.argv[3] ?? 5);
const CHROMIUM = process.env.CHROMIUM ?? '/usr/bin/chromium';
for (const [need, word] of [
  [path.join(siteDir, 'index.html'), 'make web'],
  [CHROMIUM, 'scripts/ensure-tools.sh browser'],
]) {
  if (!fs.existsSync(need)) {
    console.error(`${need} missing (${word})`);
    process.exit(1);
  }
}
const { default: puppeteer } = await import(
  path.join(project, 'web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js')
);
const { serve } = await import(path.join(project, 'tests/web/serve.mjs'));
const { firstVisits, printFirstVisits } = await import(path.join(here, 'serve_load.mjs'));
const zemuc = process.env.ZEMUC ?? path.join(project, 'build/release/zemuc');

// The bytes the server writes, counted at its sockets.
let served = 0;
const write = http.ServerResponse.prototype.write;
const end = http.ServerResponse.prototype.end;
http.ServerResponse.prototype.write = function (chunk, ...rest) {
  if (chunk) served += chunk.length;
  return write.call(this, chunk, ...rest);
};
http.ServerResponse.prototype.end = function (chunk, ...rest) {
  if (chunk && typeof chunk !== 'function') served += chunk.length;
  return end.call(this, chunk, ...rest);
};

const site = await serve(siteDir, '/bench/');
const browser = await puppeteer.launch({ executablePath: CHROMIUM, headless: true, args: ['--no-sandbox'] });
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

// Clicks Run and resolves with the milliseconds until the program's first
// output, then answers its input and waits for its end.
async function runToFirstOutput(page) {
  const ms = await page.evaluate(async () => {
    const started = performance.now();
    document.getElementById('run').click();
    // The run clears the terminal when it starts.
    while (window.zem.state === 'done' || window.zem.state === 'ready') {
      await new Promise((resolve) => setTimeout(resolve, 1));
    }
    while (window.zem.transcript() === '') {
      if (window.zem.state === 'done') throw new Error(`no output: ${window.zem.problems().join('\n')}`);
      await new Promise((resolve) => setTimeout(resolve, 2));
    }
    return performance.now() - started;
  });
  await page.click('#terminal');
  await page.keyboard.type('21\nowari\n');
  await page.waitForFunction(() => window.zem.state === 'done', { timeout: 120_000 });
  const status = await page.evaluate(() => window.zem.exitStatus);
  if (status !== 0) throw new Error(`the program ended with ${status}`);
  return ms;
}

// Runs an endless loop and resolves with the milliseconds from Stop to the
// run's end (the page's test only guards against a Stop that never ends it).
async function stopToDone(page) {
  await page.evaluate(() => window.zem.setSource('はじめ\n\twhile(1){\n\t\t数a=数a+1;\n\t}\nおわり\n'));
  await page.click('#run');
  await page.waitForFunction(() => window.zem.state === 'running', { timeout: 120_000, polling: 20 });
  await new Promise((resolve) => setTimeout(resolve, 300));
  const started = Date.now();
  await page.click('#stop');
  await page.waitForFunction(() => window.zem.state === 'done', { timeout: 120_000, polling: 10 });
  return Date.now() - started;
}

// The memory of the browser and every process under it, in bytes: the
// proportional set size, so that pages shared between them count once.
function browserMemory(pid) {
  const children = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const parent = Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]);
      children.set(parent, [...(children.get(parent) ?? []), Number(entry)]);
    } catch {
      // gone meanwhile
    }
  }
  let bytes = 0;
  for (const todo = [pid]; todo.length; ) {
    const one = todo.pop();
    todo.push(...(children.get(one) ?? []));
    try {
      const pss = /^Pss:\s+(\d+) kB/m.exec(fs.readFileSync(`/proc/${one}/smaps_rollup`, 'utf8'));
      if (pss) bytes += Number(pss[1]) * 1024;
    } catch {
      // gone meanwhile
    }
  }
  return bytes;
}

const results = { usable: [], checked: [], memory: [], ready: [], firstOutput: [], afterEdit: [], again: [], afterPause: [], stop: [], bytes: [], offlineBytes: [] };
try {
  for (let i = 0; i < runs; i++) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    served = 0;
    const started = Date.now();
    await page.goto(`${site.url}index.html?lang=en`);
    await page.waitForSelector('#editor .cm-content[contenteditable="true"]');
    results.usable.push(Date.now() - started);
    await page.evaluate(() => window.zem.checkReady);
    await page.waitForFunction(() => window.zem.cText() !== '', { timeout: 120_000, polling: 10 });
    results.checked.push(Date.now() - started);
    await page.evaluate(() => window.zem.ready);
    results.ready.push(Date.now() - started);
    results.memory.push(browserMemory(browser.process().pid));
    await page.select('#examples', 'keisan');
    results.firstOutput.push(await runToFirstOutput(page));
    results.bytes.push(served);
    await page.evaluate(() => window.zem.setSource(window.zem.source().replace('計算します', '計算するよ')));
    results.afterEdit.push(await runToFirstOutput(page));
    // Run again, nothing changed; then an edit, and Run after the pause in
    // which the page builds for the editor's findings (1.5 s, a learner
    // reading their change).
    results.again.push(await runToFirstOutput(page));
    await page.evaluate(() => window.zem.setSource(window.zem.source().replace('計算するよ', '計算します')));
    await new Promise((resolve) => setTimeout(resolve, 4000));
    results.afterPause.push(await runToFirstOutput(page));
    // The service worker's copy for offline use, asked for after the run.
    await page.waitForSelector('#offline-status[data-state="ready"]', { timeout: 300_000 });
    results.offlineBytes.push(served);
    results.stop.push(await stopToDone(page));
    await context.close();
    process.stderr.write(`visit ${i + 1}/${runs}\n`);
  }
} finally {
  await browser.close();
  await site.close();
}

const ms = (values) => `${Math.round(median(values))} ms`;
const mb = (values) => `${(median(values) / 1e6).toFixed(1)} MB`;
const mbRange = (values) => `${(Math.min(...values) / 1e6).toFixed(1)} to ${(Math.max(...values) / 1e6).toFixed(1)} MB`;
console.log(`playground, keisan.zem, medians of ${runs} first visits (${path.relative(process.cwd(), siteDir) || '.'})`);
console.log(`| measure | median | range |`);
console.log(`|---|---|---|`);
const range = (values, unit) => `${Math.round(Math.min(...values))} to ${Math.round(Math.max(...values))}${unit}`;
console.log(`| first visit: the editor takes typing | ${ms(results.usable)} | ${range(results.usable, ' ms')} |`);
console.log(`| first visit: the check answers (the C shown) | ${ms(results.checked)} | ${range(results.checked, ' ms')} |`);
console.log(`| first visit: load to ready | ${ms(results.ready)} | ${range(results.ready, ' ms')} |`);
console.log(`| the browser's memory once ready (all its processes, PSS) | ${mb(results.memory)} | ${mbRange(results.memory)} |`);
console.log(`| first visit: Run to first output | ${ms(results.firstOutput)} | ${range(results.firstOutput, ' ms')} |`);
console.log(`| after an edit: Run to first output | ${ms(results.afterEdit)} | ${range(results.afterEdit, ' ms')} |`);
console.log(`| run again, unchanged: Run to first output | ${ms(results.again)} | ${range(results.again, ' ms')} |`);
console.log(`| after an edit and a pause: Run to first output | ${ms(results.afterPause)} | ${range(results.afterPause, ' ms')} |`);
console.log(`| Stop to the end of an endless loop | ${ms(results.stop)} | ${range(results.stop, ' ms')} |`);
console.log(`| first visit: bytes downloaded until the first run ended | ${mb(results.bytes)} | ${mbRange(results.bytes)} |`);
console.log(`| first visit: bytes downloaded, with the copy kept for offline use | ${mb(results.offlineBytes)} | ${mbRange(results.offlineBytes)} |`);
if (fs.existsSync(zemuc)) printFirstVisits(await firstVisits(siteDir, zemuc));
else console.log(`| first visits from zemuc serve | not measured: ${zemuc} missing (make build) | |`);
