// zemucweb's commands: the translator, the check and the explaining, the
// same C++ as zemuc's. The module is compiled once; every call gets a new
// instance, with the files it reads in its directory ".", and answers with
// one JSON value on standard output.
import { Collector, runWasi } from './wasi.js';
import { FixedInput } from './stdin.js';

const utf8 = new TextEncoder();

export class Zemucweb {
  #module;
  lang;
  constructor(module, { lang = 'en' } = {}) {
    this.#module = module;
    this.lang = lang;
  }

  // Runs `zemucweb COMMAND --lang=… --name=NAME ARGS…` (no --name where
  // name is null: the commands about exercises read no source); resolves with
  // { value (the JSON answer), files (the directory afterwards) }.
  // A command that fails (any status but 0, or output that is no JSON)
  // rejects with its standard error: that is a fault of this page.
  async call(command, { name = 'prog.zem', args = [], files = new Map(), stdin } = {}) {
    const stdout = new Collector();
    const stderr = new Collector();
    const argv = ['zemucweb', command, `--lang=${this.lang}`, ...(name === null ? [] : [`--name=${name}`]), ...args];
    const input = new FixedInput(typeof stdin === 'string' ? utf8.encode(stdin) : stdin);
    const ended = await runWasi(this.#module, {
      args: argv,
      files,
      input,
      stdout: stdout.write,
      stderr: stderr.write,
    });
    const said = stderr.text().trim();
    if (ended.status !== 0) {
      const how = ended.trap ? `stopped by "${ended.trap}"` : `exited with ${ended.status}`;
      throw new Error(`zemucweb ${command} ${how}${said ? `: ${said}` : ''}`);
    }
    let value;
    try {
      value = JSON.parse(stdout.text());
    } catch (error) {
      throw new Error(`zemucweb ${command} answered no JSON (${error.message})${said ? `: ${said}` : ''}`);
    }
    return { value, files: ended.files };
  }
}

// The source as the commands read it: the file NAME, UTF-8 from the
// editor's text, or the bytes as given (a Shift-JIS upload).
export function sourceFiles(source, name) {
  return new Map([[name, typeof source === 'string' ? utf8.encode(source) : source]]);
}
