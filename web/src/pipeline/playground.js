// The page's one door to the pipeline: a toolchain worker kept for the
// page's life, and a worker per run that stop() ends.
import { SharedInputWriter, sharedInputBuffer } from './stdin.js';
import { canSuspend } from './wasi.js';
import { stemOf } from './names.js';

// The status a stopped program ends with, as zemuc's after Ctrl-C.
export const STOPPED = 130;

// A call that has no answer this long after the toolchain loaded (a
// compiler looping on some source) fails, and the toolchain worker is
// ended and loaded anew.
export const CALL_LIMIT_MS = 60_000;

// A case's standard output kept for judging, in bytes: past it, a program
// that prints without end is judged on what it printed first.
export const OUTPUT_LIMIT = 1024 * 1024;

class CappedBytes {
  #pieces = [];
  #size = 0;
  #limit;
  constructor(limit) {
    this.#limit = limit;
  }
  push(bytes) {
    const room = this.#limit - this.#size;
    if (room <= 0) return;
    const piece = bytes.length > room ? bytes.slice(0, room) : bytes;
    this.#pieces.push(piece);
    this.#size += piece.length;
  }
  bytes() {
    const out = new Uint8Array(this.#size);
    let at = 0;
    for (const piece of this.#pieces) {
      out.set(piece, at);
      at += piece.length;
    }
    return out;
  }
}

export class Playground {
  #base;
  #lang;
  #toolchain;
  #calls = new Map();
  #nextId = 1;
  #run = null;
  #compiler;
  #onProgress;
  // ready: a program can be built; checkReady: the check answers (zemucweb
  // loaded, the compiler perhaps not yet).
  ready;
  checkReady;

  // compiler: false where no program can run in this browser (the compiler
  // is then not fetched); onProgress({ done, total }): the compiler's bytes
  // fetched so far.
  constructor({ base, lang, compiler = true, onProgress = () => {} }) {
    this.#base = new URL(base, globalThis.location?.href);
    this.#lang = lang;
    this.#compiler = compiler;
    this.#onProgress = onProgress;
    this.#startToolchain();
  }

  #startToolchain() {
    const worker = new Worker(new URL('toolchain-worker.js', this.#base), { type: 'module' });
    this.#toolchain = worker;
    worker.onmessage = ({ data }) => {
      if (data.progress) {
        this.#onProgress(data.progress);
        return;
      }
      const call = this.#calls.get(data.id);
      if (!call) return;
      this.#calls.delete(data.id);
      if ('error' in data) call.reject(new Error(data.error));
      else call.resolve(data.value);
    };
    // A worker that cannot start or dies fails every call it had.
    worker.onerror = (event) => {
      event.preventDefault?.();
      this.#failCalls(new Error(`the toolchain worker failed: ${event.message ?? 'it did not start'}`));
    };
    const load = { base: this.#base.href, lang: this.#lang, compiler: this.#compiler };
    this.ready = this.#call('load', load, { limit: false });
    this.checkReady = this.#call('checkLoaded', null, { limit: false });
  }

  #failCalls(error) {
    for (const call of this.#calls.values()) call.reject(error);
    this.#calls.clear();
  }

  #call(method, args, { limit = true } = {}) {
    const ready = this.ready;
    return new Promise((resolve, reject) => {
      const id = this.#nextId++;
      let timer = null;
      const done = (settle) => (value) => {
        clearTimeout(timer);
        settle(value);
      };
      this.#calls.set(id, { resolve: done(resolve), reject: done(reject) });
      this.#toolchain.postMessage({ id, method, args });
      if (!limit) return;
      // Counted from the end of loading, which a slow network may draw out.
      ready.then(() => {
        if (!this.#calls.has(id)) return;
        timer = setTimeout(() => {
          const error = new Error(`the toolchain did not answer ${method} in ${CALL_LIMIT_MS / 1000} s`);
          this.#toolchain.terminate();
          this.#failCalls(error);
          this.#startToolchain();
        }, CALL_LIMIT_MS);
      }, () => {});
    });
  }

  // The worker answers the check as soon as zemucweb has loaded, and
  // builds once the compiler has.
  setLang(lang) {
    this.#lang = lang;
    return this.#call('setLang', lang);
  }
  analyze(source, name) {
    return this.#call('analyze', { source, name });
  }
  analyzeWithBuild(source, name) {
    return this.#call('analyzeWithBuild', { source, name });
  }
  hover(source, name, line, character) {
    return this.#call('hover', { source, name, line, character });
  }
  complete(source, name, line, character) {
    return this.#call('complete', { source, name, line, character });
  }

  // Translates, builds and runs; see the README's playground section.
  async run(source, name, { files = new Map(), onOutput = () => {}, onState = () => {}, onC = () => {} } = {}) {
    const run = this.#begin(onState);
    try {
      onState('building');
      const built = await this.#call('build', { source, name });
      // The C this run is built from, before it runs.
      onC(built.cBytes);
      const before = built.explained;
      let after = { problems: [], shown: '', status: before.status };
      let status = before.status;
      let filesAfter = files;
      let reports = [];
      if (built.built?.ok && !run.stopped) {
        onState('running');
        const ended = await this.#runProgram(run, built, name, files, { onOutput });
        after = await this.#explain(source, name, built, ended);
        status = after.status;
        filesAfter = new Map([...ended.files, ...after.files]);
        reports = [...after.files.keys()];
      }
      if (run.stopped) status = STOPPED;
      onState('done');
      return {
        status,
        // Whether the program was built, and whether Stop ended the run.
        built: Boolean(built.built?.ok),
        stopped: run.stopped,
        problems: [...before.problems, ...after.problems],
        shown: before.shown + after.shown,
        cBytes: built.cBytes,
        files: filesAfter,
        reports,
      };
    } finally {
      this.#end(run);
    }
  }

  // Translates and builds once for runCase: { built (whether it built),
  // problems, shown (what Run tells of the build), program (for runCase) }.
  async buildForCases(source, name) {
    const run = this.#begin(() => {});
    try {
      const built = await this.#call('build', { source, name });
      const { problems, shown } = built.explained;
      return { built: Boolean(built.built?.ok) && !run.stopped, stopped: run.stopped, problems, shown, program: built };
    } finally {
      this.#end(run);
    }
  }

  // Runs a program buildForCases built without the learner: input (bytes)
  // is all its standard input, then its end; files its file area;
  // timeLimit (s) ends it as too slow, counted from its start. Resolves
  // with { ending: 'ended' | 'too_slow' | 'stopped', status, told (what
  // zemuc run tells of its end), output (standard output's bytes, the
  // first OUTPUT_LIMIT of them), files (its file area afterwards) }.
  async runCase(program, source, name, { input, files = new Map(), timeLimit }) {
    const run = this.#begin(() => {});
    try {
      run.early = [input, null];
      run.ended = true;
      run.limit = timeLimit * 1000;
      const output = new CappedBytes(OUTPUT_LIMIT);
      const ended = await this.#runProgram(run, program, name, files, { onOutput: (bytes) => output.push(bytes), apart: true });
      if (run.stopped) return { ending: 'stopped', status: STOPPED, told: '', output: output.bytes(), files: ended.files };
      if (run.tooSlow) return { ending: 'too_slow', status: null, told: '', output: output.bytes(), files: ended.files };
      const after = await this.#explain(source, name, program, ended);
      return { ending: 'ended', status: after.status, told: after.shown, output: output.bytes(), files: ended.files };
    } finally {
      this.#end(run);
    }
  }

  // Cases' judging and their summary: zemucweb judge and results (the
  // JSON they read and answer with is in src/web/README.md).
  judge(caseJson, runJson) {
    return this.#call('judge', { caseJson, runJson });
  }
  results(resultsJson) {
    return this.#call('results', { resultsJson });
  }

  #begin(onState) {
    if (this.#run) throw new Error('a program is already running');
    // given: the bytes of input given so far; waiting: the program has
    // taken them all and reads again.
    const run = { early: [], ended: false, worker: null, channel: null, stopped: false, stop: null, given: 0, waiting: false, onState };
    this.#run = run;
    return run;
  }

  #end(run) {
    clearTimeout(run.timer);
    run.worker?.terminate();
    this.#run = null;
  }

  #explain(source, name, built, ended) {
    return this.#call('explainRun', {
      source,
      status: ended.status,
      trap: ended.trap,
      checkFiles: ended.checkFiles,
      buildStderr: built.built.stderr,
      name,
    });
  }

  // apart: standard error is not standard output (it is left out).
  #runProgram(run, built, name, files, { onOutput, apart = false }) {
    return new Promise((resolve, reject) => {
      const worker = new Worker(new URL('run-worker.js', this.#base), { type: 'module' });
      run.worker = worker;
      let shared = null;
      if (canSuspend) {
        run.channel = {
          push: (bytes) => worker.postMessage({ type: 'input', bytes }),
          end: () => worker.postMessage({ type: 'end' }),
        };
      } else if (globalThis.crossOriginIsolated) {
        shared = sharedInputBuffer();
        run.channel = new SharedInputWriter(shared);
      } else {
        reject(new Error('this browser cannot wait for input (no JSPI, and the page is not cross-origin isolated)'));
        return;
      }
      // A stopped program leaves its files as it last handed them on.
      const kept = new Map();
      run.stop = () => {
        worker.terminate();
        resolve({ status: STOPPED, trap: null, files: new Map([...files, ...kept]), checkFiles: new Map() });
      };
      // Ended at its limit, counted once it is compiled.
      const started = () => {
        if (run.limit === undefined) return;
        run.timer = setTimeout(() => {
          run.tooSlow = true;
          run.stop();
        }, run.limit);
      };
      worker.onmessage = ({ data }) => {
        if (data.type === 'output') onOutput(data.bytes);
        else if (data.type === 'started') started();
        else if (data.type === 'reading') this.#reading(run, data.taken);
        else if (data.type === 'files') for (const [file, bytes] of data.files) kept.set(file, bytes);
        else if (data.type === 'emptied') run.channel.refill();
        else if (data.type === 'done') resolve(data);
        else if (data.type === 'failed') reject(new Error(data.message));
      };
      worker.onerror = (event) => {
        event.preventDefault?.();
        reject(new Error(`the program's worker failed: ${event.message ?? 'it did not start'}`));
      };
      const program = stemOf(name);
      worker.postMessage({ type: 'run', wasm: built.built.wasm, env: built.prepared.env, files, name: program, shared, apart });
      for (const piece of run.early) piece === null ? run.channel.end() : run.channel.push(piece);
      run.early = null;
    });
  }

  // Standard input of the running program, kept in order; what comes while
  // it is still building waits for it.
  input(bytes) {
    this.#give(bytes.slice());
  }
  endInput() {
    this.#give(null);
  }
  #give(piece) {
    const run = this.#run;
    // Input after its end has no reader left to take it.
    if (!run || run.ended) return;
    if (piece === null) run.ended = true;
    else run.given += piece.length;
    if (run.waiting) {
      run.waiting = false;
      run.onState('running');
    }
    if (run.early) run.early.push(piece);
    else if (piece === null) run.channel.end();
    else run.channel.push(piece);
  }

  // The program reads having taken `taken` bytes: with nothing more given
  // (and the input not ended), it waits for the learner.
  #reading(run, taken) {
    if (run.waiting || run.ended || taken < run.given || this.#run !== run) return;
    run.waiting = true;
    run.onState('waiting');
  }

  stop() {
    const run = this.#run;
    if (!run) return;
    run.stopped = true;
    run.stop?.();
  }
}
