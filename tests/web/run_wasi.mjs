// Runs a wasm32-wasi program under Node's WASI with this process's standard
// input, output and error, and this process's working folder preopened as
// "." (as the playground's page gives its file area), and exits with its
// status. Each --env=NAME=VALUE before the program is set in its
// environment. A program stopped by a WebAssembly trap prints
// "trap: MESSAGE" on standard error and exits with status 200.
// Usage: node run_wasi.mjs [--env=NAME=VALUE...] PROGRAM.wasm [ARG...]
import { readFile } from 'node:fs/promises';
import process, { argv, exit } from 'node:process';

// Node tells on standard error that its WASI is experimental; standard
// error is the program's here. (No flag for that works in every Node.)
process.removeAllListeners('warning');
const { WASI } = await import('node:wasi');

const args = argv.slice(2);
const env = {};
while (args.length > 0 && args[0].startsWith('--env=')) {
  const setting = args.shift().slice('--env='.length);
  const equals = setting.indexOf('=');
  env[setting.slice(0, equals)] = setting.slice(equals + 1);
}
const [program, ...programArgs] = args;
if (!program) {
  console.error('usage: run_wasi.mjs [--env=NAME=VALUE...] PROGRAM.wasm [ARG...]');
  exit(2);
}
const wasi = new WASI({
  version: 'preview1',
  args: [program, ...programArgs],
  env,
  preopens: { '.': process.cwd() },
  returnOnExit: true,
});
const module = await WebAssembly.compile(await readFile(program));
const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
let status;
try {
  status = wasi.start(instance);
} catch (error) {
  if (!(error instanceof WebAssembly.RuntimeError || error instanceof RangeError)) {
    throw error;
  }
  console.error(`trap: ${error.message}`);
  status = 200;
}
exit(status);
