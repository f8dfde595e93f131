// How a run ended, in a word a learner reads instead of an exit status:
// the status stays in the state's tooltip and in window.zem.exitStatus.
import { inPageWords } from './i18n.js';

const CHECK_STOPPED = 70; // zemuc run's status when a check stopped the program
const SIGNALLED = 128; // and above: ended by a signal (a trap, natively)

// result: { status, built, stopped } of Playground.run. One of 'stopped',
// 'notBuilt', 'checkStopped', 'crashed', 'finished' (the page itself says
// 'failed' where the playground failed).
export function outcomeOf({ status, built, stopped }) {
  if (stopped) return 'stopped';
  if (!built) return 'notBuilt';
  if (status === CHECK_STOPPED) return 'checkStopped';
  if (status > SIGNALLED) return 'crashed';
  return 'finished';
}

// zemuc's own lines about its tools ("zemuc: NAME does not build (clang
// ended with status 1)", where the report was kept): shown on request.
export function isToolLine(line) {
  return line.startsWith('zemuc: ');
}

// zemuc run's standard error without those lines, for the terminal, with
// its messages' severity in the page's words.
export function withoutToolLines(shown) {
  return shown
    .split(/(?<=\n)/)
    .filter((line) => !isToolLine(line))
    .map(inPageWords)
    .join('');
}
