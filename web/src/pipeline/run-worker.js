// The worker one program runs in; the page ends it (terminate) to stop the
// program, whatever it is doing. Messages in: { type: 'run', wasm, env,
// files, name, shared } (shared: the SharedArrayBuffer of its standard
// input, where it cannot suspend), then { type: 'input', bytes } and
// { type: 'end' }. Messages out: { type: 'output', bytes },
// { type: 'emptied' } (shared input wants more), and at the end
// { type: 'done', status, trap, files, checkFiles } or
// { type: 'failed', message }.
import { runProgram } from './program.js';
import { QueuedInput, SharedInputReader } from './stdin.js';

let input = null;

self.onmessage = ({ data }) => {
  if (data.type === 'run') start(data);
  else if (data.type === 'input') input.push(data.bytes);
  else if (data.type === 'end') input.end();
};

async function start({ wasm, env, files, name, shared }) {
  input = shared ? new SharedInputReader(shared, () => self.postMessage({ type: 'emptied' })) : new QueuedInput();
  try {
    const module = await WebAssembly.compile(wasm);
    const ended = await runProgram(module, {
      env,
      files,
      input,
      name,
      suspend: !shared,
      // Copied, not transferred: the shim counts the bytes written from
      // the array after handing it on.
      onOutput: (bytes) => self.postMessage({ type: 'output', bytes }),
    });
    self.postMessage({ type: 'done', ...ended });
  } catch (error) {
    self.postMessage({ type: 'failed', message: String(error?.stack ?? error) });
  }
}
