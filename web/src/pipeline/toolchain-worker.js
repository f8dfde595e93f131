// The worker that keeps zemucweb and the C compiler loaded between runs.
// Messages in: { id, method, args }; out: { id, value } or { id, error }.
// The check (analyze, hover, complete) answers as soon as zemucweb has
// loaded; builds wait for the compiler. While the compiler loads, the
// worker tells how far: { progress: { done, total } } (bytes), no id.
import { Toolchain } from './toolchain.js';
import { compileWasm, fetchBytes } from './load.js';

const WARM_UP = 'はじめ\nおわり\n';
let checking = null; // Promise of the Toolchain, once load is asked
let building = null; // Promise of it with the compiler loaded and warm

// Progress is told at most this often (the compiler's fetch reports each
// piece it receives), and always at its end.
const PROGRESS_EVERY_MS = 100;
function progressTeller() {
  let last = 0;
  return ({ totalLength, doneLength }) => {
    const now = Date.now();
    if (doneLength < totalLength && now - last < PROGRESS_EVERY_MS) return;
    last = now;
    self.postMessage({ progress: { done: doneLength, total: totalLength } });
  };
}

// compiler: false where the page cannot run a program: the 80 MB are not
// fetched, and builds fail saying why.
function loadCompiler(base, compiler) {
  if (!compiler) return Promise.reject(new Error('this browser cannot run programs on this page'));
  return import(new URL('clang/clang.js', base).href).then(async (module) => {
    // Fetches and compiles the compiler now, not at the first build.
    await module.runClang(null, {}, { fetchProgress: progressTeller() });
    return module;
  });
}

async function load({ base, lang, compiler = true }) {
  const clang = loadCompiler(base, compiler);
  // Its failure is told by the builds that wait for it.
  clang.catch(() => {});
  checking = Promise.all([compileWasm(new URL('zemucweb.wasm', base)), fetchBytes(new URL('delkai.c', base))]).then(
    ([zemucwebModule, delkai]) =>
      new Toolchain({ zemucwebModule, clang, runtime: new Map([['delkai.c', delkai]]), lang }),
  );
  building = checking.then(async (toolchain) => {
    // A first build of an empty program: the engine compiles the parts of
    // the compiler a build runs while the page loads, not at the learner's
    // first run, and a toolchain that cannot build fails here.
    const warm = await toolchain.build(WARM_UP, 'prog.zem');
    if (!warm.built?.ok) throw new Error(`an empty program does not build: ${warm.explained.shown}`);
    return toolchain;
  });
  // Told by the builds that wait for it, and by ready.
  building.catch(() => {});
  await building;
}

function loaded(stage) {
  if (!stage) throw new Error('the toolchain is not loaded');
  return stage;
}
const check = async (use) => use(await loaded(checking));
const build = async (use) => use(await loaded(building));

const methods = {
  load,
  checkLoaded: () => check(() => true),
  setLang: (lang) => check((toolchain) => toolchain.setLang(lang)),
  analyze: ({ source, name }) => check((toolchain) => toolchain.analyze(source, name)),
  analyzeWithBuild: ({ source, name }) => build((toolchain) => toolchain.analyze(source, name, { withBuild: true })),
  hover: ({ source, name, line, character }) => check((toolchain) => toolchain.hover(source, name, line, character)),
  complete: ({ source, name, line, character }) =>
    check((toolchain) => toolchain.complete(source, name, line, character)),
  build: ({ source, name }) => build((toolchain) => toolchain.build(source, name)),
  explainRun: (args) => check((toolchain) => toolchain.explainRun(args)),
  judge: ({ caseJson, runJson }) => check((toolchain) => toolchain.judge(caseJson, runJson)),
  results: ({ resultsJson }) => check((toolchain) => toolchain.results(resultsJson)),
};

self.onmessage = async ({ data: { id, method, args } }) => {
  try {
    self.postMessage({ id, value: await methods[method](args) });
  } catch (error) {
    self.postMessage({ id, error: String(error?.stack ?? error) });
  }
};
