// Runs a wasm32-wasi program under Node's WASI with this process's standard
// input, output and error, and exits with its status.
// Usage: node --disable-warning=ExperimentalWarning run_wasi.mjs PROGRAM.wasm [ARG...]
import { readFile } from 'node:fs/promises';
import { argv, env, exit } from 'node:process';
import { WASI } from 'node:wasi';

const [program, ...args] = argv.slice(2);
if (!program) {
  console.error('usage: run_wasi.mjs PROGRAM.wasm [ARG...]');
  exit(2);
}
const wasi = new WASI({
  version: 'preview1',
  args: [program, ...args],
  env: {},
  returnOnExit: true,
});
const module = await WebAssembly.compile(await readFile(program));
const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
exit(wasi.start(instance));
