// The playground's facade (web/src/pipeline/playground.js) in Chromium,
// on a site that web/build.mjs builds from this tree: typed input kept in
// order (some typed while the program still builds), the end of input, the
// file area, a fault, stop() ending an endless loop, and a
// run after it. Served over HTTP from a scratch folder.
// Usage: node playground_browser_test.mjs PROJECT_DIR ZEMUCWEB_WASM
// Exits 77 (skipped) where chromium, web/node_modules or zemucweb.wasm is
// missing, or that zemucweb has no prepare command.
import assert from 'node:assert/strict';
import { existsSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { argv, exit } from 'node:process';
import { pathToFileURL } from 'node:url';
import { launchChromium, serveSite } from './site_server.mjs';

const [project, zemucweb] = argv.slice(2);
const skip = (why) => {
  console.log(`skipped: ${why}`);
  exit(77);
};
const chromium = ['/usr/bin/chromium', '/usr/bin/chromium-browser'].find(existsSync);
if (!chromium) skip('chromium missing');
const modules = join(project, 'web', 'node_modules');
if (!existsSync(join(modules, 'puppeteer-core'))) skip('web/node_modules missing (npm ci --prefix web)');
if (!zemucweb || !existsSync(zemucweb)) skip(`${zemucweb} missing (cmake --preset wasm)`);

// The site needs zemucweb's commands (its build asks prepare for clang's
// target).
const { Zemucweb, sourceFiles } = await import(pathToFileURL(join(project, 'web', 'src', 'pipeline', 'zemucweb.js')).href);
try {
  await new Zemucweb(await WebAssembly.compile(readFileSync(zemucweb))).call('prepare', {
    files: sourceFiles('はじめ\nおわり\n', 'prog.zem'),
  });
} catch (error) {
  if (/exited with 2/.test(error.message)) skip(`this zemucweb has no prepare command (${error.message.split('\n')[0]})`);
  throw error;
}

const served = await serveSite(project, zemucweb);
const browser = await launchChromium(project);
const failures = [];
try {
  // Standard input waits through JSPI where the browser has it, and
  // through shared memory where it has not (taken away here) and the page
  // is cross-origin isolated.
  for (const mode of ['JSPI', 'shared memory']) {
    const page = await browser.newPage();
    page.on('pageerror', (error) => console.log(`page error: ${error.message}`));
    if (mode === 'shared memory') await page.evaluateOnNewDocument('delete WebAssembly.Suspending');
    await page.goto(served.url);
    const loaded = await page.evaluate('window.loaded');
    assert.equal(loaded, 'ready');
    assert.equal(await page.evaluate('crossOriginIsolated'), true);

    // Runs NAME with the example's files, types `early` at once (while it
    // builds) and `late` once it runs, then ends input if asked; stops it
    // `stopAfter` ms after it runs. Resolves with the result, the output as
    // bytes and how long stop() took to end run().
    const run = (args) =>
      page.evaluate(async ({ source, name, files, early, late, end, stopAfter }) => {
        const playground = window.playground;
        const bytes = (text) => new TextEncoder().encode(text);
        const from = (list) => new Map(list.map(([file, data]) => [file, Uint8Array.from(data)]));
        const output = [];
        let running;
        const isRunning = new Promise((resolve) => (running = resolve));
        const result = playground.run(Uint8Array.from(source), name, {
          files: from(files),
          onOutput: (piece) => output.push(...piece),
          onState: (state) => state === 'running' && running(),
        });
        for (const line of early) playground.input(bytes(line));
        let stoppedAt = null;
        const ran = await Promise.race([isRunning.then(() => 'running'), result.then(() => 'ended')]);
        if (ran === 'running') {
          await new Promise((resolve) => setTimeout(resolve, 200));
          for (const line of late) playground.input(bytes(line));
          if (end) playground.endInput();
          if (stopAfter !== null) {
            await new Promise((resolve) => setTimeout(resolve, stopAfter));
            stoppedAt = performance.now();
            playground.stop();
          }
        }
        const ended = await result;
        return {
          status: ended.status,
          problems: ended.problems,
          shown: ended.shown,
          output,
          files: [...ended.files].map(([file, data]) => [file, [...data]]),
          stopTook: stoppedAt === null ? null : performance.now() - stoppedAt,
        };
      }, { early: [], late: [], end: false, stopAfter: null, files: [], ...args });

    const example = (name) => {
      const dir = join(project, 'examples', name);
      return {
        source: [...readFileSync(join(dir, `${name}.zem`))],
        name: `${name}.zem`,
        expected: (file) => readFileSync(join(dir, 'expected', file)),
        file: (file) => [file, [...readFileSync(join(dir, file))]],
      };
    };
    const utf8 = (text) => [...new TextEncoder().encode(text)];
    const goukei = example('goukei');
    const keisan = example('keisan');
    const rows = [
      {
        what: 'lines typed while it builds and while it runs come in order',
        args: { ...goukei, early: ['4\n', '10\n'], late: ['20\n', '-5\n', '100\n', 'owari\n'] },
        status: 0,
        output: goukei.expected('stdout'),
      },
      {
        what: 'the end of input answers the closing wait; the file area in and out',
        args: { ...keisan, files: [keisan.file('in.txt')], late: ['21\n'], end: true },
        status: 0,
        output: keisan.expected('stdout'),
        files: { 'out.txt': keisan.expected('out.txt') },
      },
      {
        what: 'stop() ends an endless loop',
        args: { source: utf8('はじめ\n\t数a=1;\n\twhile(数a>0){\n\t\t数a=1;\n\t}\nおわり\n'), name: 'prog.zem', stopAfter: 300 },
        status: 130,
        stopWithin: 30_000, // a hang, not a slow stop
      },
      {
        what: 'stop() keeps a file written and closed before an endless loop',
        args: {
          source: utf8('はじめ\n\t字s="abc";\n\t開く(出力,"out.txt",w);\n\t書く(出力,字s);\n\t閉じる(出力);\n' +
            '\t数a=1;\n\twhile(数a>0){\n\t\t数a=1;\n\t}\nおわり\n'),
          name: 'prog.zem',
          stopAfter: 300,
        },
        status: 130,
        files: { 'out.txt': Buffer.from('abc\n') },
      },
      {
        what: 'stop() while it waits for input keeps its files as stdio left them, and the others as given',
        args: {
          source: utf8('はじめ\n\t字s="abc";\n\t開く(出力,"out.txt",w);\n\t書く(出力,字s);\n\t閉じる(出力);\n' +
            '\t開く(記録,"log.txt",w);\n\t書く(記録,字s);\n\t打つ(数a);\nおわり\n'),
          name: 'prog.zem',
          files: [['out.txt', utf8('old\n')], ['in.txt', utf8('5\n')]],
          stopAfter: 300,
        },
        status: 130,
        files: { 'out.txt': Buffer.from('abc\n'), 'log.txt': Buffer.alloc(0), 'in.txt': Buffer.from('5\n') },
      },
      {
        what: 'stop() keeps of an endless run of writes what it had handed on',
        args: {
          source: utf8('はじめ\n\t字s="abc";\n\t開く(出力,"out.txt",w);\n\t数a=1;\n\twhile(数a>0){\n\t\t書く(出力,字s);\n\t}\nおわり\n'),
          name: 'prog.zem',
          stopAfter: 1000,
        },
        status: 130,
        repeats: { 'out.txt': 'abc\n' },
      },
      {
        what: 'a program runs after one was stopped',
        args: { ...keisan, files: [keisan.file('in.txt')], early: ['21\n', 'owari\n'] },
        status: 0,
        output: keisan.expected('stdout'),
      },
      {
        what: 'division by zero is told as zemuc run tells it',
        args: { source: utf8('はじめ\n\t数a=1;\n\t数b=0;\n\t数c=数a/数b;\nおわり\n'), name: 'prog.zem', early: ['owari\n'] },
        status: 70,
        first: 'prog.zem:4:7: error: division by zero: 数b is 0',
      },
    ];
    for (const row of rows) {
      try {
        const got = await run(row.args);
        assert.equal(got.status, row.status, got.shown);
        if (row.output) assert.ok(Buffer.from(got.output).equals(row.output), `output: ${Buffer.from(got.output)}`);
        for (const [file, want] of Object.entries(row.files ?? {})) {
          const data = new Map(got.files).get(file);
          assert.ok(data && Buffer.from(data).equals(want), `${file} differs`);
        }
        for (const [file, line] of Object.entries(row.repeats ?? {})) {
          const data = Buffer.from(new Map(got.files).get(file) ?? []);
          const lines = Buffer.from(line.repeat(Math.ceil(data.length / line.length)));
          assert.ok(data.length > 0 && data.equals(lines.subarray(0, data.length)), `${file}: ${data}`);
        }
        if (row.stopWithin) assert.ok(got.stopTook < row.stopWithin, `stop took ${got.stopTook} ms`);
        if (row.first) assert.equal(got.problems[0], row.first);
        console.log(`ok: ${mode}: ${row.what}`);
      } catch (error) {
        failures.push(`${mode}: ${row.what}`);
        console.log(`FAIL: ${mode}: ${row.what}\n${error.stack ?? error}`);
      }
    }
    await page.close();
  }
} finally {
  await browser.close();
  await served.close();
}
if (failures.length) {
  console.log(`${failures.length} failed`);
  exit(1);
}
console.log('ok: the playground runs programs in Chromium as zemuc run does');
