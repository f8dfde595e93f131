// The playground's pipeline in Node, with the real zemucweb.wasm and the
// real C compiler for WebAssembly (the site's trimmed one where make web
// built it): every example translated, built and run with its stored
// keyboard input and files gives its expected output and files, byte for
// byte; a build error and a fault give zemuc run's problem lines; standard
// input keeps its order through the queue and through shared memory.
// Usage: node pipeline_test.mjs PROJECT_DIR ZEMUCWEB_WASM
// Exits 77 (skipped) where web/node_modules or zemucweb.wasm is missing.
import assert from 'node:assert/strict';
import { existsSync, readFileSync, readdirSync } from 'node:fs';
import { join } from 'node:path';
import { argv, exit } from 'node:process';
import { pathToFileURL } from 'node:url';
import { Worker } from 'node:worker_threads';

const [project, zemucwebPath] = argv.slice(2);
const skip = (why) => {
  console.log(`skipped: ${why}`);
  exit(77);
};
const modules = join(project, 'web', 'node_modules');
for (const needed of ['@yowasp/clang', '@bjorn3/browser_wasi_shim']) {
  if (!existsSync(join(modules, needed))) skip(`${needed} missing (npm ci --prefix web)`);
}
if (!zemucwebPath || !existsSync(zemucwebPath)) skip(`${zemucwebPath} missing (cmake --preset wasm)`);

const pipeline = (name) => import(pathToFileURL(join(project, 'web', 'src', 'pipeline', name)).href);
const { Toolchain, cTextOf } = await pipeline('toolchain.js');
const { runProgram } = await pipeline('program.js');
const { FixedInput, QueuedInput } = await pipeline('stdin.js');
const { concat } = await pipeline('wasi.js');

const failures = [];
async function check(what, body) {
  try {
    await body();
    console.log(`ok: ${what}`);
  } catch (error) {
    failures.push(what);
    console.log(`FAIL: ${what}\n${error.stack ?? error}`);
  }
}

// --- Standard input ---------------------------------------------------
// Pieces given, then reads of given sizes: what each read returns.
const queueRows = [
  { what: 'reads smaller than a piece', given: ['abcdef'], end: true, reads: [2, 2, 2, 2], want: ['ab', 'cd', 'ef', ''] },
  { what: 'a read spans no two pieces', given: ['ab', 'cd'], end: true, reads: [10, 10, 10], want: ['ab', 'cd', ''] },
  { what: 'empty pieces are no end', given: ['', 'x', ''], end: false, reads: [5, 5], want: ['x', ''] },
  { what: 'the end after what was given', given: ['line\n'], end: true, reads: [1, 100, 1], want: ['l', 'ine\n', ''] },
];
const bytes = (text) => new TextEncoder().encode(text);
const text = (data) => new TextDecoder().decode(data);
for (const row of queueRows) {
  await check(`queued input: ${row.what}`, async () => {
    const input = new QueuedInput();
    for (const piece of row.given) input.push(bytes(piece));
    if (row.end) input.end();
    const got = [];
    for (const size of row.reads) got.push(text(input.take(size)));
    assert.deepEqual(got, row.want);
  });
}
await check('queued input: ready() waits for input, then for the end', async () => {
  const input = new QueuedInput();
  let woken = false;
  const waiting = input.ready().then(() => (woken = true));
  await new Promise((resolve) => setTimeout(resolve, 20));
  assert.equal(woken, false);
  input.push(bytes('1\n'));
  await waiting;
  assert.equal(text(input.take(10)), '1\n');
  const atEnd = input.ready();
  input.end();
  await atEnd;
  assert.equal(input.take(10).length, 0);
  assert.throws(() => input.push(bytes('late')));
});

// --- Output handed to the page --------------------------------------
// Writes at given times (ms): the pieces posted, as texts, before a flush.
const { OutputBatch } = await pipeline('output-batch.js');
const batchRows = [
  { what: 'a human pace passes each write at once', writes: [[0, 'a'], [200, 'b'], [400, 'c']], want: ['a', 'b', 'c'] },
  { what: 'a burst past twenty a window is gathered', writes: Array.from({ length: 25 }, (_, i) => [i, String(i % 10)]), want: [...'01234567890123456789'] },
  { what: 'a piece of 64 KiB goes at once in a burst', writes: [...Array.from({ length: 20 }, () => [0, 'z']), [0, 'x'], [1, 'y'.repeat(65536)]], want: [...'z'.repeat(20), 'x' + 'y'.repeat(65536)] },
];
for (const row of batchRows) {
  await check(`output batch: ${row.what}`, async () => {
    let clock = 0;
    const posted = [];
    const batch = new OutputBatch((piece) => posted.push(text(piece)), () => clock);
    for (const [at, written] of row.writes) {
      clock = at;
      batch.push(bytes(written));
    }
    assert.deepEqual(posted, row.want);
    batch.flush();
    assert.equal(posted.join(''), row.writes.map(([, written]) => written).join(''), 'nothing lost under a MiB');
  });
}
await check('output batch: past a MiB held, the oldest writes go', async () => {
  const posted = [];
  const batch = new OutputBatch((piece) => posted.push(piece.length), () => 0);
  for (let i = 0; i < 20; i++) batch.push(bytes('.'));
  const kib = new Uint8Array(1024);
  for (let i = 0; i < 63; i++) batch.push(kib);
  assert.equal(posted.length, 20);
  batch.push(new Uint8Array(2 * 1024 * 1024));
  assert.deepEqual(posted.slice(20), [2 * 1024 * 1024]);
});

// --- Files handed on while a program runs ------------------------------
// Calls at given times (ms) on a folder whose writes change a file's bytes
// in place, as the shim's do: the copies posted, as name=text.
const { FileChanges } = await pipeline('file-changes.js');
const changeRows = [
  {
    what: 'a run of writes goes at most every 200 ms',
    calls: [[0, 'write', 'a', '1'], [50, 'write', 'a', '2'], [199, 'write', 'a', '3'], [200, 'write', 'a', '4'], [250, 'write', 'a', '5']],
    want: [['a=1'], ['a=4']],
  },
  {
    what: 'the close of a written file goes at once',
    calls: [[0, 'write', 'a', '1'], [10, 'write', 'a', '2'], [20, 'close', 'a']],
    want: [['a=1'], ['a=2']],
  },
  {
    what: 'a close with nothing written since goes nowhere',
    calls: [[0, 'write', 'a', '1'], [300, 'close', 'a'], [301, 'flush']],
    want: [['a=1']],
  },
  {
    what: 'only the files changed since the last post go',
    calls: [[0, 'write', 'a', '1'], [10, 'write', 'b', '2'], [20, 'flush'], [30, 'flush']],
    want: [['a=1'], ['b=2']],
  },
];
for (const row of changeRows) {
  await check(`file changes: ${row.what}`, async () => {
    let clock = 0;
    const entries = new Map(['a', 'b', 'elsewhere'].map((name) => [name, { bytes: new Uint8Array(8), size: 0 }]));
    const list = (wanted) => {
      const files = new Map();
      for (const [name, entry] of entries) {
        if (name !== 'elsewhere' && wanted(entry)) files.set(name, entry.bytes.subarray(0, entry.size));
      }
      return files;
    };
    const posted = [];
    const changes = new FileChanges(list, (files) => posted.push(files), () => clock);
    for (const [at, call, name, written] of row.calls) {
      clock = at;
      const entry = entries.get(name);
      if (call === 'write') {
        entry.bytes.set(bytes(written));
        entry.size = written.length;
        changes.changed(entry);
      } else if (call === 'close') changes.closed(entry);
      else changes.flush();
    }
    assert.deepEqual(
      posted.map((files) => [...files].map(([file, data]) => `${file}=${text(data)}`)),
      row.want,
    );
  });
}

// The shared-memory channel with a real blocked reader in another thread:
// pieces given before it reads, while it waits, larger than the buffer.
const readerThread = `
  import { parentPort, workerData } from 'node:worker_threads';
  const { SharedInputReader } = await import(workerData.stdin);
  const reader = new SharedInputReader(workerData.buffer, () => parentPort.postMessage('emptied'));
  const got = [];
  for (;;) {
    const piece = reader.take(workerData.readSize);
    if (piece.length === 0) break;
    got.push(...piece);
  }
  parentPort.postMessage({ got });
`;
const sharedRows = [
  { what: 'lines given before the reader starts', early: ['1\n', '2\n'], late: [], capacity: 64, readSize: 5 },
  { what: 'lines given while it waits', early: [], late: ['abc\n', 'def\n', 'g'], capacity: 64, readSize: 2 },
  { what: 'more than the buffer holds', early: ['x'.repeat(300)], late: ['y'.repeat(200)], capacity: 16, readSize: 7 },
  { what: 'nothing but the end', early: [], late: [], capacity: 8, readSize: 1 },
];
const stdinModule = pathToFileURL(join(project, 'web', 'src', 'pipeline', 'stdin.js')).href;
const { SharedInputWriter, sharedInputBuffer } = await pipeline('stdin.js');
for (const row of sharedRows) {
  await check(`shared input: ${row.what}`, async () => {
    const buffer = sharedInputBuffer(row.capacity);
    const writer = new SharedInputWriter(buffer);
    for (const piece of row.early) writer.push(bytes(piece));
    const worker = new Worker(new URL(`data:text/javascript,${encodeURIComponent(readerThread)}`), {
      workerData: { buffer, readSize: row.readSize, stdin: stdinModule },
    });
    const done = new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error('the reader did not finish in 60 s')), 60_000);
      worker.on('message', (message) => {
        if (message === 'emptied') return writer.refill();
        clearTimeout(timer);
        resolve(message.got);
      });
      worker.on('error', reject);
    });
    for (const piece of row.late) {
      await new Promise((resolve) => setTimeout(resolve, 10));
      writer.push(bytes(piece));
    }
    writer.end();
    const got = await done.finally(() => worker.terminate());
    assert.equal(text(Uint8Array.from(got)), [...row.early, ...row.late].join(''));
  });
}

// --- zemucweb and clang -----------------------------------------------
const zemucwebModule = await WebAssembly.compile(readFileSync(zemucwebPath));
const trimmed = join(project, 'build', 'web', 'clang', 'clang.js');
const clang = existsSync(trimmed)
  ? await import(pathToFileURL(trimmed).href)
  : await import(pathToFileURL(join(modules, '@yowasp', 'clang', 'gen', 'bundle.js')).href);
console.log(`the C compiler: ${existsSync(trimmed) ? "the site's, its resources trimmed" : "the package's"}`);
const toolchain = new Toolchain({
  zemucwebModule,
  clang,
  runtime: new Map([['delkai.c', readFileSync(join(project, 'runtime', 'delkai.c'))]]),
});
try {
  await toolchain.prepare(bytes('はじめ\nおわり\n'), 'prog.zem');
} catch (error) {
  if (/exited with 2/.test(error.message)) skip(`this zemucweb has no prepare command (${error.message.split('\n')[0]})`);
  throw error;
}
let started = performance.now();
await clang.runClang(null, {}, { fetchProgress() {} });
console.log(`the C compiler loaded in ${Math.round(performance.now() - started)} ms`);

// Translates, builds and runs; the run's output and what zemuc run tells.
async function runSource(source, name, { stdin = new Uint8Array(0), files = new Map(), input, onFiles } = {}) {
  const built = await toolchain.build(source, name);
  if (!built.built?.ok) return { ...built.explained, output: new Uint8Array(0), files, built };
  const output = [];
  const ended = await runProgram(await WebAssembly.compile(built.built.wasm), {
    env: built.prepared.env,
    files,
    input: input ?? new FixedInput(stdin),
    onOutput: (piece) => output.push(piece),
    onFiles,
  });
  const after = await toolchain.explainRun({ ...ended, source, buildStderr: built.built.stderr, name });
  return {
    status: after.status,
    problems: [...built.explained.problems, ...after.problems],
    shown: built.explained.shown + after.shown,
    output: concat(output),
    files: new Map([...ended.files, ...after.files]),
    built,
  };
}

const timings = [];
const examples = join(project, 'examples');
for (const example of readdirSync(examples).sort()) {
  const dir = join(examples, example);
  await check(`example ${example}`, async () => {
    const files = new Map();
    for (const file of readdirSync(dir)) {
      if (file.endsWith('.zem') || file === 'stdin' || file === 'expected') continue;
      files.set(file, readFileSync(join(dir, file)));
    }
    const name = `${example}.zem`;
    const stdinPath = join(dir, 'stdin');
    const begun = performance.now();
    const ran = await runSource(readFileSync(join(dir, name)), name, {
      stdin: existsSync(stdinPath) ? readFileSync(stdinPath) : new Uint8Array(0),
      files,
    });
    timings.push(performance.now() - begun);
    assert.deepEqual(ran.problems, [], ran.shown);
    assert.equal(ran.status, 0);
    const expected = join(dir, 'expected');
    for (const file of readdirSync(expected)) {
      const want = readFileSync(join(expected, file));
      const got = file === 'stdout' ? ran.output : ran.files.get(file);
      assert.ok(got, `${file} was not written`);
      assert.ok(Buffer.from(got).equals(want), `${file} differs:\n${cTextOf(got)}\n--- expected:\n${cTextOf(want)}`);
    }
  });
}
// The page builds after each pause in typing: Run then takes that build
// when nothing changed, and builds anew when the source or its name did.
await check('a build of the same source is the last one; another source is built', async () => {
  const source = bytes('はじめ\n\t見る("once");\nおわり\n');
  const first = await toolchain.build(source, 'prog.zem');
  const again = await toolchain.build(bytes('はじめ\n\t見る("once");\nおわり\n'), 'prog.zem');
  assert.equal(again.built.wasm, first.built.wasm);
  for (const [other, name] of [
    [bytes('はじめ\n\t見る("twice");\nおわり\n'), 'prog.zem'],
    [source, 'other.zem'],
  ]) {
    const built = await toolchain.build(other, name);
    assert.ok(built.built.ok);
    assert.notEqual(built.built.wasm, first.built.wasm, name);
  }
});

const sorted = [...timings].sort((a, b) => a - b);
if (sorted.length) console.log(`translate+build+run of an example: median ${Math.round(sorted[sorted.length >> 1])} ms`);

// Sources that go wrong: the status zemuc run exits with and the first
// problem line it prints (zemuc run's own, in the row's language), then its other
// lines. Sources are the editor's UTF-8.
const wrongRows = [
  {
    what: 'a build error names the line and what is missing',
    source: 'はじめ\n\t数a=1;\n\t数b=数a+;\n\t見る("b",数b);\nおわり\n',
    status: 1,
    first: 'prog.zem:3:8: error: a value is missing here: write a number, a variable or a calculation',
    then: [/^zemuc: prog\.zem does not build /],
  },
  {
    what: 'a build error in Japanese',
    lang: 'ja',
    source: 'はじめ\n\t数a=1;\n\t数b=数a+;\n\t見る("b",数b);\nおわり\n',
    status: 1,
    first: 'prog.zem:3:8: error: ここに値がありません。数か変数か式を書きます',
    then: [],
  },
  {
    what: 'division by zero stops the program on its line',
    source: 'はじめ\n\t数a=1;\n\t数b=0;\n\t数c=数a/数b;\n\t見る("c",数c);\nおわり\n',
    stdin: 'owari\n',
    status: 70,
    first: 'prog.zem:4:7: error: division by zero: 数b is 0',
    then: [],
  },
  {
    what: 'a trap is told as the signal a native program gets',
    source: 'はじめ\n\t数a=0;\n\tabort();\nおわり\n',
    status: 134,
    first: 'zemuc: the program stopped itself (SIGABRT, from abort)',
    then: [],
  },
  {
    what: 'a source that does not translate',
    source: 'はじめ\n\t数a=1;\n\t見る();\nおわり\n',
    status: 8,
    first:
      'prog.zem:3:5: warning: there is nothing to show, so the translation stops at this line. ' +
      'Write 見る("text") or 見る("label",variable).',
    then: [/^prog\.zem:3: /],
  },
];
for (const row of wrongRows) {
  await check(row.what, async () => {
    toolchain.setLang(row.lang ?? 'en');
    const ran = await runSource(row.source, 'prog.zem', { stdin: bytes(row.stdin ?? '') }).finally(() =>
      toolchain.setLang('en'),
    );
    assert.equal(ran.status, row.status, ran.shown);
    assert.equal(ran.problems[0], row.first, ran.shown);
    row.then.forEach((pattern, i) => assert.match(ran.problems[i + 1] ?? '', pattern, ran.shown));
    for (const line of ran.problems) assert.ok(ran.shown.includes(line), `"${line}" is not in what is shown`);
  });
}

// Programs that change files, with the files given: what was handed on by
// the time the program first reads standard input (by its end if it never
// does), name → text. A stopped program leaves this.
const handedRows = [
  {
    what: 'a closed file goes before the program waits; one still open as stdio left it',
    source: 'はじめ\n\t字s="abc";\n\t開く(出力,"out.txt",w);\n\t書く(出力,字s);\n\t閉じる(出力);\n' +
      '\t開く(記録,"log.txt",w);\n\t書く(記録,字s);\n\t打つ(数a);\nおわり\n',
    files: { 'out.txt': 'old\n' },
    want: { 'out.txt': 'abc\n', 'log.txt': '' },
  },
  {
    what: 'a file only read goes nowhere',
    source: 'はじめ\n\t開く(入力,"in.txt",r);\n\t読む(入力,数a);\n\t閉じる(入力);\n\t打つ(数b);\nおわり\n',
    files: { 'in.txt': '5\n' },
    want: {},
  },
  {
    what: "the checks' report goes nowhere, the learner's file does",
    source: 'はじめ\n\t字s="abc";\n\t開く(出力,"out.txt",w);\n\t書く(出力,字s);\n\t閉じる(出力);\n' +
      '\t数b=0;\n\t数c=1/数b;\nおわり\n',
    files: {},
    want: { 'out.txt': 'abc\n' },
  },
];
for (const row of handedRows) {
  await check(`files handed on: ${row.what}`, async () => {
    const handed = new Map();
    let atRead = null;
    const stdin = new FixedInput(bytes('1\n'));
    const input = { ready: () => stdin.ready(), take: (size) => ((atRead ??= new Map(handed)), stdin.take(size)) };
    const files = new Map(Object.entries(row.files).map(([name, written]) => [name, bytes(written)]));
    const onFiles = (changed) => changed.forEach((data, name) => handed.set(name, text(data)));
    await runSource(row.source, 'prog.zem', { files, input, onFiles });
    assert.deepEqual(Object.fromEntries(atRead ?? handed), row.want);
  });
}

// The editor's side: the C view and its line map, diagnostics with and
// without the compiler's findings, hover and completion.
const editorSource = 'はじめ\n\t数a=1;\n\t見る("a",数a);\nおわり\n';
const editorRows = [
  {
    what: "analyze gives the C view and each line's span of it",
    ask: () => toolchain.analyze(editorSource, 'prog.zem'),
    check: async (got) => {
      const { cBytes } = await toolchain.prepare(editorSource, 'prog.zem');
      assert.equal(got.cText, cTextOf(cBytes));
      assert.equal(got.cLines.length, 4);
      const [start, end] = got.cLines[1];
      assert.match(got.cText.slice(start, end), /nn1=1;/);
      assert.deepEqual(got.diagnostics, []);
    },
  },
  {
    what: "analyze with the build has the compiler's finding on its line",
    ask: () => toolchain.analyze('はじめ\n\t数a=1;\n\t数b=数a+;\nおわり\n', 'prog.zem', { withBuild: true }),
    check: (got) => {
      const finding = got.diagnostics.find((diagnostic) => diagnostic.severity === 1);
      assert.ok(finding, JSON.stringify(got.diagnostics));
      assert.equal(finding.line, 2);
      assert.equal(finding.message, 'a value is missing here: write a number, a variable or a calculation');
    },
  },
  {
    what: 'hover on a statement shows its C',
    ask: () => toolchain.hover(editorSource, 'prog.zem', 2, 2),
    check: (got) => assert.match(got.value, /printf/),
  },
  {
    what: 'hover off the program is null',
    ask: () => toolchain.hover(editorSource, 'prog.zem', 40, 0),
    check: (got) => assert.equal(got, null),
  },
  {
    what: 'completion offers the statements',
    ask: () => toolchain.complete(editorSource, 'prog.zem', 2, 2),
    check: (got) => assert.ok(got.some((item) => item.label === '見る')),
  },
];
for (const row of editorRows) await check(row.what, async () => row.check(await row.ask()));

if (failures.length) {
  console.log(`${failures.length} failed: ${failures.join('; ')}`);
  exit(1);
}
console.log('ok: the pipeline builds and runs every example as zemuc run does');
