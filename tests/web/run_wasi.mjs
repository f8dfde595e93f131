// Runs a wasm32-wasi program under Node's WASI with this process's standard
// input, output and error, and this process's working folder preopened as
// "." (as the playground's page gives its file area), and exits with its
// status.
// Usage: node run_wasi.mjs PROGRAM.wasm [ARG...]
import { readFile } from 'node:fs/promises';
import process, { argv, exit } from 'node:process';

// Node tells on standard error that its WASI is experimental; standard
// error is the program's here. (No flag for that works in every Node.)
process.removeAllListeners('warning');
const { WASI } = await import('node:wasi');

const [program, ...args] = argv.slice(2);
if (!program) {
  console.error('usage: run_wasi.mjs PROGRAM.wasm [ARG...]');
  exit(2);
}
const wasi = new WASI({
  version: 'preview1',
  args: [program, ...args],
  env: {},
  preopens: { '.': process.cwd() },
  returnOnExit: true,
});
const module = await WebAssembly.compile(await readFile(program));
const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
exit(wasi.start(instance));
