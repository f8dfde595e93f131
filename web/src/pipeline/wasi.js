// Runs a WASI command (zemucweb, a learner's program) in memory: one
// preopened directory "." holding the given files, standard input from a
// reader of stdin.js, standard output and error handed on as they come.
import {
  ConsoleStdout,
  Directory,
  Fd,
  File,
  PreopenDirectory,
  WASI,
  WASIProcExit,
  wasi as defs,
} from '@bjorn3/browser_wasi_shim';

class InputFd extends Fd {
  constructor(input) {
    super();
    this.input = input;
  }
  fd_fdstat_get() {
    const stat = new defs.Fdstat(defs.FILETYPE_CHARACTER_DEVICE, 0);
    stat.fs_rights_base = BigInt(defs.RIGHTS_FD_READ);
    return { ret: defs.ERRNO_SUCCESS, fdstat: stat };
  }
  fd_read(size) {
    return { ret: defs.ERRNO_SUCCESS, data: this.input.take(size) };
  }
}

// Whether this engine can suspend a program while it waits for input
// (JavaScript Promise Integration).
export const canSuspend =
  typeof WebAssembly.Suspending === 'function' && typeof WebAssembly.promising === 'function';

// Runs `module` to its end. Resolves with { status, trap, files }: the exit
// status (null when a trap stopped it), the trap's message (a
// WebAssembly.RuntimeError's, such as "divide by zero"), and the files of
// "." afterwards (name → Uint8Array; folders the program made are left
// out). suspend: wait on input.ready() at each read of standard input,
// through JSPI (where the input is typed while the program runs).
export async function runWasi(module, { args, env = {}, files = new Map(), input, stdout, stderr, suspend = false }) {
  const root = new Map();
  for (const [name, bytes] of files) root.set(name, new File(bytes));
  const dot = new PreopenDirectory('.', root);
  const wasi = new WASI(
    args,
    Object.entries(env).map(([name, value]) => `${name}=${value}`),
    [new InputFd(input), new ConsoleStdout(stdout), new ConsoleStdout(stderr), dot],
    { debug: false },
  );
  let imports = wasi.wasiImport;
  if (suspend) {
    if (!canSuspend) throw new Error('this engine cannot suspend WebAssembly (no JSPI)');
    const read = wasi.wasiImport.fd_read;
    imports = {
      ...imports,
      fd_read: new WebAssembly.Suspending(async (fd, iovs, count, nread) => {
        if (fd === 0) await input.ready();
        return read(fd, iovs, count, nread);
      }),
    };
  }
  const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: imports });
  wasi.inst = instance;
  let status = 0;
  let trap = null;
  try {
    if (suspend) await WebAssembly.promising(instance.exports._start)();
    else instance.exports._start();
  } catch (error) {
    if (error instanceof WASIProcExit) status = error.code;
    // A trap, or the engine's stack running out in a deep recursion.
    else if (error instanceof WebAssembly.RuntimeError || error instanceof RangeError) {
      status = null;
      trap = error.message;
    } else throw error;
  }
  return { status, trap, files: filesOf(dot.dir) };
}

function filesOf(directory) {
  const files = new Map();
  for (const [name, entry] of directory.contents) {
    if (entry instanceof File) files.set(name, entry.data);
    else if (!(entry instanceof Directory)) throw new Error(`unexpected entry ${name}`);
  }
  return files;
}

// Collects written bytes; text() decodes them as UTF-8.
export class Collector {
  #pieces = [];
  write = (bytes) => {
    this.#pieces.push(bytes);
  };
  bytes() {
    return concat(this.#pieces);
  }
  text() {
    return new TextDecoder().decode(this.bytes());
  }
}

export function concat(pieces) {
  const all = new Uint8Array(pieces.reduce((total, piece) => total + piece.length, 0));
  let at = 0;
  for (const piece of pieces) {
    all.set(piece, at);
    at += piece.length;
  }
  return all;
}
