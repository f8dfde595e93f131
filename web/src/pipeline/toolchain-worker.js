// The worker that keeps zemucweb and the C compiler loaded between runs.
// Messages in: { id, method, args }; out: { id, value } or { id, error },
// and { progress: { done, total } } while the compiler's files load.
import { Toolchain } from './toolchain.js';
import { compileWasm, fetchBytes } from './load.js';

let toolchain = null;

const methods = {
  async load({ base, lang }) {
    const [zemucwebModule, clang, delkai] = await Promise.all([
      compileWasm(new URL('zemucweb.wasm', base)),
      import(new URL('clang/clang.js', base).href),
      fetchBytes(new URL('delkai.c', base)),
    ]);
    // Fetches and compiles the compiler now, not at the first build.
    await clang.runClang(null, {}, {
      fetchProgress: ({ totalLength, doneLength }) =>
        self.postMessage({ progress: { done: doneLength, total: totalLength } }),
    });
    toolchain = new Toolchain({ zemucwebModule, clang, runtime: new Map([['delkai.c', delkai]]), lang });
  },
  setLang: (lang) => toolchain.setLang(lang),
  analyze: ({ source, name }) => toolchain.analyze(source, name),
  analyzeWithBuild: ({ source, name }) => toolchain.analyze(source, name, { withBuild: true }),
  hover: ({ source, name, line, character }) => toolchain.hover(source, name, line, character),
  complete: ({ source, name, line, character }) => toolchain.complete(source, name, line, character),
  build: ({ source, name }) => toolchain.build(source, name),
  explainRun: (args) => toolchain.explainRun(args),
};

self.onmessage = async ({ data: { id, method, args } }) => {
  try {
    if (method !== 'load' && !toolchain) throw new Error('the toolchain is not loaded');
    self.postMessage({ id, value: await methods[method](args) });
  } catch (error) {
    self.postMessage({ id, error: String(error?.stack ?? error) });
  }
};
