// The worker one program runs in; the page ends it (terminate) to stop the
// program, whatever it is doing. Messages in: { type: 'run', wasm, env,
// files, name, shared, apart } (shared: the SharedArrayBuffer of its
// standard input, where it cannot suspend; apart: standard error is sent
// as { type: 'error-output', bytes }, not with standard output), then { type: 'input', bytes } and
// { type: 'end' }. Messages out: { type: 'output', bytes },
// { type: 'reading', taken } (the program is about to read, having taken
// `taken` bytes of its input so far: it waits unless more were given),
// { type: 'emptied' } (shared input wants more), { type: 'files', files }
// (copies of the files it changed, for a stop to keep), and at the end
// { type: 'done', status, trap, files, checkFiles } or
// { type: 'failed', message }.
import { runProgram } from './program.js';
import { OutputBatch } from './output-batch.js';
import { QueuedInput, SharedInputReader, beforeInput } from './stdin.js';

let input = null;

self.onmessage = ({ data }) => {
  if (data.type === 'run') start(data);
  else if (data.type === 'input') input.push(data.bytes);
  else if (data.type === 'end') input.end();
};

async function start({ wasm, env, files, name, shared, apart = false }) {
  input = shared ? new SharedInputReader(shared, () => self.postMessage({ type: 'emptied' })) : new QueuedInput();
  const batch = (type) => new OutputBatch((bytes) => self.postMessage({ type, bytes }, [bytes.buffer]));
  const output = batch('output');
  const errors = apart ? batch('error-output') : output;
  // What was written shows before the program waits for a line, and the
  // page learns that it may wait.
  let taken = 0;
  const counted = {
    ready: () => input.ready(),
    take: (size) => {
      const bytes = input.take(size);
      taken += bytes.length;
      return bytes;
    },
  };
  const reader = beforeInput(counted, () => {
    output.flush();
    errors.flush();
    self.postMessage({ type: 'reading', taken });
  });
  try {
    const module = await WebAssembly.compile(wasm);
    self.postMessage({ type: 'started' });
    const ended = await runProgram(module, {
      env,
      files,
      input: reader,
      name,
      suspend: !shared,
      // OutputBatch copies what it keeps: the shim counts the bytes
      // written from the array after handing it on.
      onOutput: (bytes) => output.push(bytes),
      onError: (bytes) => errors.push(bytes),
      // Copies already, so their buffers can go.
      onFiles: (changed) =>
        self.postMessage({ type: 'files', files: changed }, [...changed.values()].map((bytes) => bytes.buffer)),
    });
    output.flush();
    errors.flush();
    self.postMessage({ type: 'done', ...ended });
  } catch (error) {
    output.flush();
    errors.flush();
    self.postMessage({ type: 'failed', message: String(error?.stack ?? error) });
  }
}
