// 確かめる: the learner's program built once and run on every case of an
// exercise without typing, each judged and the whole told by the same C++
// as zemuc test (zemucweb judge and results), so that the page shows its
// words and gives its JSON.
import { sha256 } from '@noble/hashes/sha2.js';
import { bytesToHex } from '@noble/hashes/utils.js';
import { decodeSjis } from './sjis.js';
import { fromLearner } from './data-encoding.js';
import { isToolLine } from './outcome.js';

const utf8 = new TextEncoder();

// A teacher's UTF-8 text as the program reads it: Shift-JIS, as the file
// area converts an upload (left as it is where a character has no form).
const forProgram = (text) => fromLearner(utf8.encode(text)).bytes;

// Hidden cases' texts as the judge normalised them, hashed as the packing
// hashed the expected ones (crypto.subtle is missing over plain http).
const hashOf = (text) => bytesToHex(sha256(utf8.encode(text)));
export function hashesOf({ output, files = {} }) {
  return {
    output: hashOf(output),
    files: Object.fromEntries(Object.entries(files).map(([name, text]) => [name, hashOf(text)])),
  };
}

// Samples first, then hidden cases, numbered from 1 as zemuc test numbers them.
export function numberedCases(exercise) {
  const ordered = [...exercise.cases.filter((one) => !one.hidden), ...exercise.cases.filter((one) => one.hidden)];
  return ordered.map((one, index) => ({ ...one, number: index + 1 }));
}

function runJsonOf(ran) {
  const files = Object.fromEntries([...ran.files].map(([name, bytes]) => [name, decodeSjis(bytes)]));
  const output = decodeSjis(ran.output);
  if (ran.ending === 'too_slow') return { ending: 'too_slow', output, files };
  // zemuc run's lines about its tools (where the checks' report was kept)
  // are no part of a case: zemuc test keeps no report.
  const told = ran.told
    .split(/(?<=\n)/)
    .filter((line) => !isToolLine(line))
    .join('');
  return { ending: 'ended', status: ran.status, told, output, files };
}

async function judged(playground, one, run) {
  const caseJson = JSON.stringify(one);
  const answer = await playground.judge(caseJson, JSON.stringify(run));
  if (!answer.normalised) return answer;
  return playground.judge(caseJson, JSON.stringify({ ...run, got_sha256: hashesOf(answer.normalised) }));
}

// Resolves with { built, shown (what Run tells of the build), problems,
// cases: [{ result, line, explanation }], json, text }, or null where Stop
// ended it (stopped(): Stop was pressed between two runs). onCase(number,
// count) as each case starts.
export async function checkExercise(playground, exercise, source, name, { onCase = () => {}, stopped = () => false } = {}) {
  const program = await playground.buildForCases(source, name);
  if (program.stopped) return null;
  const cases = [];
  const ordered = numberedCases(exercise);
  for (const one of ordered) {
    let run = { ending: 'not_run' };
    if (program.built) {
      if (stopped()) return null;
      onCase(one.number, exercise.cases.length);
      const files = new Map(Object.entries(one.files ?? {}).map(([file, text]) => [file, forProgram(text)]));
      const ran = await playground.runCase(program.program, source, name, {
        input: forProgram(one.input ?? ''),
        files,
        timeLimit: one.time_limit,
      });
      if (ran.ending === 'stopped') return null;
      run = runJsonOf(ran);
    }
    const { result, line, explanation } = await judged(playground, one, run);
    cases.push({ result, line, explanation });
  }
  // A too slow case's line names its limit, which its object does not hold.
  const results = cases.map(({ result }, index) => ({ ...result, time_limit: ordered[index].time_limit }));
  // A program that does not build has its cases in the table (not run),
  // but none in the results, as zemuc test, which runs none, gives them.
  const whole = program.built
    ? { built: true, build_error: '', results }
    : { built: false, build_error: program.shown, results: [] };
  const { json, text } = await playground.results(JSON.stringify(whole));
  return { built: program.built, shown: program.shown, problems: program.problems, cases, json, text };
}
