// Runs a built program: the learner's files in ".", the environment the
// build asked for, standard output and error handed on as Shift-JIS bytes
// as they come.
import { runWasi } from './wasi.js';

// The status a trap is told with: a program that a signal killed.
export const TRAP_STATUS = 134;

// Resolves with { status, trap, files, checkFiles }: files are the
// learner's file area afterwards; checkFiles what the checks wrote (the
// files the environment names), for explain-run. onFiles(files): copies
// of the learner's files the program changed, while it runs. onError:
// standard error, where it is wanted apart (a case's output is its
// standard output alone); by default it goes with standard output.
export async function runProgram(
  module,
  { env, files, input, onOutput, onError = onOutput, onFiles = null, suspend = false, name = 'prog' },
) {
  const checkNames = new Set(Object.values(env));
  const ended = await runWasi(module, {
    args: [name],
    env,
    files,
    input,
    stdout: onOutput,
    stderr: onError,
    suspend,
    onFiles: onFiles && ((changed) => {
      const { learner } = split(changed, checkNames);
      if (learner.size > 0) onFiles(learner);
    }),
  });
  const { learner, checkFiles } = split(ended.files, checkNames);
  const status = ended.trap === null ? ended.status : TRAP_STATUS;
  return { status, trap: ended.trap, files: learner, checkFiles };
}

// The learner's files, and the checks' (those checkNames names).
function split(files, checkNames) {
  const learner = new Map();
  const checkFiles = new Map();
  for (const [file, bytes] of files) (checkNames.has(file) ? checkFiles : learner).set(file, bytes);
  return { learner, checkFiles };
}
