// Runs a WASI command (zemucweb, a learner's program) in memory: one
// preopened directory "." holding the given files, standard input from a
// reader of stdin.js, standard output and error handed on as they come.
import {
  ConsoleStdout,
  Directory,
  Fd,
  File,
  OpenFile,
  PreopenDirectory,
  WASI,
  WASIProcExit,
  wasi as defs,
} from '@bjorn3/browser_wasi_shim';
import { FileChanges } from './file-changes.js';
import { beforeInput } from './stdin.js';

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
// onFiles(files): given copies of the files of "." the program changed
// while it runs (file-changes.js says when).
export async function runWasi(
  module,
  { args, env = {}, files = new Map(), input, stdout, stderr, suspend = false, onFiles = null },
) {
  const root = new Map();
  for (const [name, bytes] of files) root.set(name, new File(bytes));
  const dot = new PreopenDirectory('.', root);
  const changes = onFiles && new FileChanges((wanted) => filesOf(dot.dir, wanted), onFiles);
  if (changes) input = beforeInput(input, () => changes.flush());
  const wasi = new WASI(
    args,
    Object.entries(env).map(([name, value]) => `${name}=${value}`),
    [new InputFd(input), new ConsoleStdout(stdout), new ConsoleStdout(stderr), dot],
    { debug: false },
  );
  let imports = wasi.wasiImport;
  if (changes) imports = { ...imports, ...watchFiles(wasi, changes) };
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

// wanted(entry) picks files by their entry.
function filesOf(directory, wanted = () => true) {
  const files = new Map();
  for (const [name, entry] of directory.contents) {
    if (entry instanceof Directory) continue;
    if (!(entry instanceof File)) throw new Error(`unexpected entry ${name}`);
    if (wanted(entry)) files.set(name, entry.data);
  }
  return files;
}

// The calls that change a file's bytes, and its close and creation, told
// to `changes` with the file's entry. Files are told whichever folder holds
// them; filesOf then lists those of "." alone.
function watchFiles(wasi, changes) {
  const calls = wasi.wasiImport;
  const fileAt = (fd) => {
    const open = wasi.fds[fd];
    return open instanceof OpenFile ? open.file : null;
  };
  const changing = (call) => (fd, ...rest) => {
    const ret = call(fd, ...rest);
    const file = fileAt(fd);
    if (ret === defs.ERRNO_SUCCESS && file) changes.changed(file);
    return ret;
  };
  const creating = defs.OFLAGS_CREAT | defs.OFLAGS_TRUNC;
  return {
    fd_write: changing(calls.fd_write),
    fd_pwrite: changing(calls.fd_pwrite),
    fd_filestat_set_size: changing(calls.fd_filestat_set_size),
    fd_close: (fd) => {
      const file = fileAt(fd);
      const ret = calls.fd_close(fd);
      if (file) changes.closed(file);
      return ret;
    },
    path_open: (fd, dirflags, path, length, oflags, base, inheriting, flags, opened) => {
      const ret = calls.path_open(fd, dirflags, path, length, oflags, base, inheriting, flags, opened);
      if (ret !== defs.ERRNO_SUCCESS || (oflags & creating) === 0) return ret;
      const file = fileAt(new DataView(wasi.inst.exports.memory.buffer).getUint32(opened, true));
      if (file) changes.changed(file);
      return ret;
    },
  };
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
