// Translate, check, build and explain: zemucweb's commands and the C
// compiler (@yowasp/clang) put together, with no knowledge of where they
// run (Node for the tests, a worker in the page). The program itself runs
// elsewhere (program.js), and its end is explained here.
import { Collector } from './wasi.js';
import { Zemucweb, sourceFiles } from './zemucweb.js';
import { stemOf } from './names.js';

const BUILD_OUTPUT = 'zemuc-build.txt';
const sjis = new TextDecoder('shift_jis');
// Bytes as one character each, for comparing files exactly.
const latin1 = new TextDecoder('latin1');

// The C view: STEM.c as the page shows it.
export function cTextOf(cBytes) {
  return cBytes ? sjis.decode(cBytes) : '';
}

export class Toolchain {
  #zemucweb;
  #clang;
  #runtime;
  #lastCompile = null; // { key, built } of the last compile
  // zemucwebModule: the compiled zemucweb.wasm; clang: { runClang, Exit }
  // from @yowasp/clang, or a promise of it (the check works before the
  // compiler has loaded); runtime: name → bytes of the run-time files the
  // build names in its inputs (delkai.c).
  constructor({ zemucwebModule, clang, runtime, lang = 'en' }) {
    this.#zemucweb = new Zemucweb(zemucwebModule, { lang });
    this.#clang = clang;
    this.#runtime = runtime;
  }

  setLang(lang) {
    this.#zemucweb.lang = lang;
  }

  // Translates: { prepared (prepare's answer), cBytes (STEM.c, null when
  // not written), files (prepare's directory: the source and the C) }.
  async prepare(source, name) {
    const { value, files } = await this.#zemucweb.call('prepare', { name, files: sourceFiles(source, name) });
    return { prepared: value, cBytes: files.get(`${stemOf(name)}.c`) ?? null, files };
  }

  // Builds the translated program with clang. Resolves with { ok, wasm,
  // stderr (the compiler's standard error, UTF-8 text) }.
  async compile(prepared, files) {
    // The page builds after each pause in typing, for the editor's
    // findings: Run, or a check of an exercise's cases, then builds the
    // same files again with the same arguments, and takes that result.
    const key = compileKey(prepared.compile, files);
    if (this.#lastCompile?.key === key) return this.#lastCompile.built;
    const built = await this.#runCompiler(prepared, files);
    this.#lastCompile = { key, built };
    return built;
  }

  async #runCompiler(prepared, files) {
    const tree = {};
    for (const [name, bytes] of files) tree[name] = bytes;
    for (const input of prepared.inputs) {
      const bytes = this.#runtime.get(input);
      if (!bytes) throw new Error(`the build needs ${input}, which this page does not have`);
      tree[input] = bytes;
    }
    const output = prepared.compile[prepared.compile.indexOf('-o') + 1];
    if (!prepared.compile.includes('-o') || !output) throw new Error('the build names no output file');
    const stderr = new Collector();
    const collect = (bytes) => bytes && stderr.write(bytes.slice());
    const { runClang, Exit } = await this.#clang;
    try {
      const out = await runClang(['clang', ...prepared.compile], tree, {
        // Whatever loads the compiler tells of its loading; not the console.
        fetchProgress() {},
        stdout: collect,
        stderr: collect,
        decodeASCII: false,
      });
      const wasm = out[output];
      if (!(wasm instanceof Uint8Array)) throw new Error(`clang wrote no ${output}`);
      return { ok: true, wasm, stderr: stderr.text() };
    } catch (error) {
      if (!(error instanceof Exit)) throw error;
      return { ok: false, wasm: null, stderr: stderr.text() };
    }
  }

  // What zemuc run tells of the compiler's output (it quotes the source).
  async explainBuild(source, name, built) {
    const args = built.ok ? [] : ['--failed'];
    const files = sourceFiles(source, name);
    const { value } = await this.#zemucweb.call('explain-build', { name, args, files, stdin: built.stderr });
    return value;
  }

  // Translates and builds. Resolves with { prepared, cBytes, built (null
  // when it did not translate), explained: { problems, shown, status } of
  // what went before the run }.
  async build(source, name) {
    const { prepared, cBytes, files } = await this.prepare(source, name);
    if (!prepared.ok) {
      return { prepared, cBytes, built: null, explained: pick(prepared) };
    }
    const built = await this.compile(prepared, files);
    const told = built.stderr
      ? await this.explainBuild(source, name, built)
      : { problems: [], shown: '', status: 0 };
    if (built.ok && told.status !== 0) throw new Error('a build that succeeded was explained as failed');
    // zemuc run tells the check's warnings before the compiler's words.
    const explained = {
      problems: [...prepared.problems, ...told.problems],
      shown: prepared.shown + told.shown,
      status: told.status,
    };
    return { prepared, cBytes, built, explained };
  }

  // What zemuc run tells after the program ended: status, or the trap
  // that stopped it; checkFiles: the files the checks wrote (program.js).
  // Resolves with { problems, shown, status, files }: files are those it
  // leaves for the learner (the checks' whole report, STEM.report.txt).
  async explainRun({ source, name, status, trap, checkFiles = new Map(), buildStderr }) {
    const given = new Map([...sourceFiles(source, name), ...checkFiles]);
    if (buildStderr) given.set(BUILD_OUTPUT, new TextEncoder().encode(buildStderr));
    const args = [`--status=${status}`];
    if (trap) args.push(`--trap=${trap}`);
    const { value, files } = await this.#zemucweb.call('explain-run', { name, args, files: given });
    const left = new Map([...files].filter(([file]) => !given.has(file)));
    return { ...pick(value), files: left };
  }

  // The editor's diagnostics and the C view, from the check alone or with
  // the compiler's findings (withBuild).
  async analyze(source, name, { withBuild = false } = {}) {
    const { prepared, cBytes, files } = await this.prepare(source, name);
    const args = [];
    const analyzeFiles = sourceFiles(source, name);
    if (withBuild && prepared.ok) {
      const built = await this.compile(prepared, files);
      analyzeFiles.set(BUILD_OUTPUT, new TextEncoder().encode(built.stderr));
      args.push(`--build-output=${BUILD_OUTPUT}`);
      if (!built.ok) args.push('--failed');
    }
    const { value } = await this.#zemucweb.call('analyze', { name, args, files: analyzeFiles });
    return { diagnostics: value.diagnostics, cText: cTextOf(cBytes), cLines: value.cLines };
  }

  // A case judged from what its run left: caseJson and runJson are the
  // texts of case.json and run.json; resolves with judge's answer.
  async judge(caseJson, runJson) {
    const files = new Map([
      ['case.json', new TextEncoder().encode(caseJson)],
      ['run.json', new TextEncoder().encode(runJson)],
    ]);
    return (await this.#zemucweb.call('judge', { name: null, files })).value;
  }

  // The cases' results told as zemuc test tells them: { json, text }.
  async results(resultsJson) {
    const files = new Map([['results.json', new TextEncoder().encode(resultsJson)]]);
    return (await this.#zemucweb.call('results', { name: null, files })).value;
  }

  async hover(source, name, line, character) {
    const args = [`--line=${line}`, `--character=${character}`];
    return (await this.#zemucweb.call('hover', { name, args, files: sourceFiles(source, name) })).value;
  }

  async complete(source, name, line, character) {
    const args = [`--line=${line}`, `--character=${character}`];
    return (await this.#zemucweb.call('complete', { name, args, files: sourceFiles(source, name) })).value;
  }
}

// What a compile depends on, besides the run-time files, which are the
// page's for its life: the arguments and every file given, in one string.
function compileKey(args, files) {
  const parts = [JSON.stringify(args)];
  for (const [name, bytes] of [...files].sort(([a], [b]) => (a < b ? -1 : a > b ? 1 : 0))) {
    parts.push(name, latin1.decode(bytes));
  }
  return parts.join('\0');
}

function pick({ problems, shown, status }) {
  return { problems, shown, status };
}
