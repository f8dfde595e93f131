// The playground's page: the editor, the run, the terminal, the C view, the
// messages and the file area, wired to the playground (web/src/pipeline),
// which runs the same C++ as zemuc and the C compiler in workers. Its public
// face (element ids, the URL, window.zem) is written in the README.
import '@xterm/xterm/css/xterm.css';
import { Playground } from '../pipeline/playground.js';
import { createEditor } from './editor.js';
import { createTerminal, isRunKey } from './terminal.js';
import { createCView } from './cview.js';
import { createFileArea } from './files.js';
import { createExamplesMenu } from './examples-menu.js';
import { wireScreenReaderMode } from './screen-reader.js';
import { decodeSjis } from './sjis.js';
import { shareHash, readShareHash, cleanName } from './share.js';
import { createSavedWork } from './saved-work.js';
import { createRecentMenu } from './recent-menu.js';
import { createSaveLink } from './save-program.js';
import { pickLang, setLang, t } from './i18n.js';
import { createProblemList } from './problems.js';
import { readProgramFile } from './program-file.js';
import { outcomeOf, withoutToolLines } from './outcome.js';
import { canSuspend } from '../pipeline/wasi.js';
import { registerServiceWorker, serviceWorkerInControl, keepSiteOffline, reloadToIsolate } from './offline.js';
import { pageRunAbility } from './abilities.js';
import { createLoading } from './loading.js';
import { loadExercises, exerciseInHash } from './exercise-list.js';
import { createExerciseMenu } from './exercise-menu.js';
import { createExercisePanel } from './exercise-panel.js';
import { createCheckResults } from './check-results.js';
import { checkExercise } from './exercise-check.js';
import { handInText } from './hand-in.js';

const FAST_ANALYSIS_MS = 250; // the check, as they type
const BUILD_ANALYSIS_MS = 1500; // the compiler's findings, after a pause
const STOP_GRACE_MS = 3000; // after Stop, the run is told stuck past this

const DEFAULT_SOURCE = 'はじめ\n\t見る("こんにちは");\n\t打つ(字名前);\n\t見る("名前",字名前);\nおわり\n';

const $ = (id) => document.getElementById(id);
const base = new URL('.', document.baseURI).href;
let lang = pickLang(location.search, navigator.language);
setLang(lang);

const registered = registerServiceWorker();
const loading = createLoading();
// The playground is made once the service worker is in control (at once
// on later visits, and where none can run); until then calls to it wait
// for it. A page about to reload makes none. Where no program can run, it
// is told now and the compiler is not fetched.
let playground = null;
let canRun = pageRunAbility(canSuspend, false) !== 'none';
let compilerReady = false;
const made = serviceWorkerInControl().then(() => {
  if (reloadToIsolate(canSuspend)) return new Promise(() => {});
  canRun = pageRunAbility(canSuspend, true) !== 'none';
  $('browser-note').hidden = canRun;
  const onProgress = (progress) => {
    loading.setProgress(progress);
    if (state === 'loading' || state === 'queued') setState(state);
  };
  return (playground = new Playground({ base, lang, compiler: canRun, onProgress }));
});

let state = 'loading';
let exitStatus = null;
let outcome = null; // how the last run ended, a key of outcome.js
let programName = 'prog.zem';
let running = null; // the promise of the run under way
let lastAnalysis = { text: null, cText: null, cLines: null };
let version = 0;
let cursorLine = 0;
let exercises = null; // those exercises.json lists, once it is read
let openExercise = null; // the exercise the program is written for, or null
let checkTrouble = null; // why the last check gave no results
let checkStopped = false; // Stop pressed during a check

// A notice about the page itself (a share link it cannot read, a character
// refused, the playground failing); the state has a place of its own, so
// that a change of state does not hide a notice. The header keeps one row:
// a long notice is cut there, and whole in its tooltip.
function say(text, kind = 'info') {
  const notice = $('notice');
  notice.textContent = text;
  notice.title = text;
  notice.dataset.kind = kind;
}

function setState(next) {
  state = next;
  document.body.dataset.state = next;
  const busy = ['building', 'running', 'waiting', 'queued', 'checking'].includes(next);
  $('run').disabled = busy || next === 'unsupported' || !canRun;
  $('check').disabled = busy || next === 'unsupported' || !canRun || openExercise === null;
  $('stop').disabled = !busy;
  const ended = next === 'done' && outcome !== null;
  const word =
    next === 'loading' || next === 'queued' ? loading.words(next === 'queued') : t(ended ? `outcome_${outcome}` : `state_${next}`);
  const status = $('status');
  // Told again only when it changes, so that a screen reader hears it once.
  if (status.textContent !== word) status.textContent = word;
  status.title = ended && exitStatus !== null ? `${t('exitStatus')} ${exitStatus}` : '';
  // The style sheet draws it as a bar behind the words.
  const loaded = next === 'loading' || next === 'queued' ? loading.fraction() : null;
  status.style.setProperty('--loaded', loaded === null ? '' : `${Math.round(loaded * 100)}%`);
}

// ---- the editor and its analysis

const editor = createEditor($('editor'), {
  hover: async (source, line, character) => (await made).hover(source, programName, line, character),
  complete: async (source, line, character) => (await made).complete(source, programName, line, character),
  onChange: () => {
    scheduleAnalysis();
    saved.changed();
  },
  onCursorLine(line) {
    cursorLine = line;
    cView.showLine(line);
  },
  onRunKey: () => void run(),
});

const cView = createCView($('c-code'), $('c-gutter'));

let fastTimer;
let buildTimer;
function scheduleAnalysis() {
  version++;
  clearTimeout(fastTimer);
  clearTimeout(buildTimer);
  fastTimer = setTimeout(() => analyze(false), FAST_ANALYSIS_MS);
  buildTimer = setTimeout(() => analyze(true), BUILD_ANALYSIS_MS);
}

async function analyze(withBuild) {
  const asked = version;
  const text = editor.text();
  let result;
  try {
    const pg = await made;
    // The compiler's findings once it is there (asked again then): calls
    // made while it loads would all wait for it and then build in turn.
    result = await (withBuild && compilerReady ? pg.analyzeWithBuild(text, programName) : pg.analyze(text, programName));
  } catch (error) {
    if (asked === version) say(`${t('runFailed')}: ${error.message}`, 'error');
    return;
  }
  if (asked !== version || !result) return;
  editor.showDiagnostics(text, result.diagnostics);
  lastAnalysis = { text, cText: result.cText ?? '', cLines: result.cLines ?? null };
  // While a run is under way the C view is the run's; the line map is
  // taken when the run's C is this same text.
  if (running) return;
  cView.set(lastAnalysis.cText, lastAnalysis.cLines);
  cView.showLine(cursorLine);
}

// ---- the terminal, the messages and the files

const terminal = createTerminal($('terminal'), {
  // A run is on: the playground is there.
  onLine: (bytes) => playground.input(bytes),
  onEnd: () => playground.endInput(),
  onInterrupt: () => stop(),
  onRefused: () => say(t('notSjis'), 'error'),
});
wireScreenReaderMode($('screen-reader'), terminal);

const fileArea = createFileArea($('file-list'), $('upload'), {
  onError: (error) => say(`${t('runFailed')}: ${error.message}`, 'error'),
  onChange: () => saved.changed(),
});

const problems = createProblemList($('problems'), $('details-toggle'), $('details'), {
  goTo: (line, column) => editor.goTo(line, column),
});

// ---- running

// The C view shows the C that runs: the last analysis's C may be of an
// older text (a run started within the analysis delay), so it is emptied
// until the run's own C is known.
function showRunC(text, cBytes) {
  const cText = cBytes ? decodeSjis(cBytes) : '';
  const analysed = lastAnalysis.text === text && cText === lastAnalysis.cText;
  cView.set(cText, analysed ? lastAnalysis.cLines : null);
  cView.showLine(cursorLine);
}

// Waits for the compiler where it is still loading; false if cancelled.
async function loaded() {
  if (state !== 'loading') return true;
  setState('queued');
  if (await loading.wait(zem.ready)) return true;
  if (state === 'queued') setState('loading');
  return false;
}

async function runOnce() {
  if (!(await loaded())) return null;
  const text = editor.text();
  // (The view may still show an earlier run's C, of a text before this one.)
  if (lastAnalysis.text === text) cView.set(lastAnalysis.cText, lastAnalysis.cLines);
  else cView.set('', null);
  exitStatus = null;
  outcome = null;
  problems.show([]);
  say('');
  terminal.beginRun();
  terminal.focus();
  setState('building');
  let result;
  try {
    result = await playground.run(text, programName, {
      files: fileArea.forRun(),
      onOutput: (bytes) => terminal.output(bytes),
      onC: (cBytes) => showRunC(text, cBytes),
      onState: (next) => {
        // 'done' is told once the run's results are shown.
        if (next !== 'done') setState(next);
      },
    });
  } catch (error) {
    terminal.endRun();
    outcome = 'failed';
    setState('done');
    say(`${t('runFailed')}: ${error.message}`, 'error');
    return null;
  }
  terminal.endRun();
  exitStatus = result.status;
  outcome = outcomeOf(result);
  problems.show(result.problems);
  if (result.stopped) terminal.note(`${t('stoppedNote')}\n`);
  terminal.note(withoutToolLines(result.shown));
  showRunC(text, result.cBytes);
  if (result.files) fileArea.replace(result.files, result.reports);
  setState('done');
  keepSiteOffline().then((ok) => {
    if (ok) $('offline-status').dataset.state = 'ready';
  });
  return exitStatus;
}

function run() {
  // Where no program can run (the page says so), not even from the editor.
  if (!canRun) return Promise.resolve(null);
  running ??= runOnce().finally(() => {
    running = null;
  });
  return running;
}

function stop() {
  if (!running) return;
  if (state === 'queued') return loading.cancel();
  const run = running;
  checkStopped = state === 'checking';
  playground?.stop();
  const timer = setTimeout(() => say(t('stopStuck'), 'error'), STOP_GRACE_MS);
  run.finally(() => clearTimeout(timer));
}

// ---- exercises: 確かめる runs every case without the terminal

const exercisePanel = createExercisePanel($('exercise'), $('exercise-fold'));
const checkResults = createCheckResults($('check-results'));

async function checkOnce() {
  if (!(await loaded())) return null;
  const exercise = openExercise;
  const text = editor.text();
  say('');
  problems.show([]);
  exitStatus = null;
  outcome = null;
  checkTrouble = null;
  checkStopped = false;
  setState('checking');
  let results;
  try {
    results = await checkExercise(playground, exercise, text, programName, {
      onCase: (number, count) => checkResults.progress(number, count),
      stopped: () => checkStopped,
    });
  } catch (error) {
    checkResults.show(saved.results());
    outcome = 'failed';
    setState('done');
    say(`${t('runFailed')}: ${error.message}`, 'error');
    checkTrouble = error.message;
    return null;
  }
  if (results === null) {
    checkTrouble = 'stopped';
    checkResults.show(saved.results());
    outcome = 'stopped';
    setState('done');
    say(t('checkStopped'));
    return null;
  }
  const kept = { ...results, source: text, time: Date.now() };
  // Kept with the program it is of, even if the learner left it meanwhile.
  if (saved.exercise() === exercise.id) {
    saved.keepResults(kept);
    checkResults.show(kept);
  }
  problems.show(results.problems);
  setState('checked');
  return kept;
}

function check() {
  if (!canRun || openExercise === null || running) return Promise.resolve(null);
  running = checkOnce().finally(() => {
    running = null;
  });
  return running;
}

$('check').addEventListener('click', () => void check());
createSaveLink($('hand-in'), () => ({ name: programName, source: handInText(editor.text(), openExercise?.id ?? '', saved.results()) }));

$('run').addEventListener('click', () => void run());
// Anywhere else in the page; the editor takes it itself (and marks it
// taken), and a run under way is not started again.
document.addEventListener('keydown', (event) => {
  if (event.defaultPrevented || !isRunKey(event) || $('run').disabled) return;
  event.preventDefault();
  void run();
});
$('stop').addEventListener('click', stop);

// ---- the program's source and name, examples, sharing, language

function setName(name) {
  programName = cleanName(name);
  $('name').value = programName;
}

function setSource(text) {
  editor.setText(String(text));
}

$('name').addEventListener('change', () => {
  setName($('name').value);
  scheduleAnalysis();
  saved.changed();
});

// ---- the learner's programs: kept as they are written, one opened keeps
// the one before among the recent programs

const saved = createSavedWork({
  current: () => ({ name: programName, source: editor.text(), files: fileArea.map() }),
  onProblem: (key) => say(t(key), 'error'),
});
const recent = createRecentMenu($('recent'), {
  others: () => saved.others(),
  onPick: (id) => {
    const kept = saved.reopen(id);
    if (kept) show(kept);
    recent.render();
  },
});

function show({ name, source, files, exercise = null, results = null }) {
  setName(name);
  setSource(source);
  fileArea.replace(files);
  showExercise(exercise, results);
}

// The panel of the exercise the program is for; #exercise=ID names it,
// and goes once the learner writes another program.
function showExercise(id, results) {
  openExercise = exercises?.find((one) => one.id === id) ?? null;
  exercisePanel.show(openExercise);
  checkResults.show(results);
  // Until the list is read, the hash waits to be read too.
  if (exercises === null) return setState(state);
  const url = new URL(location.href);
  const named = exerciseInHash(url.hash);
  if (openExercise && named !== openExercise.id) url.hash = `exercise=${encodeURIComponent(openExercise.id)}`;
  else if (!openExercise && named !== null) url.hash = '';
  else return setState(state);
  history.replaceState(null, '', url);
  setState(state);
}

// The program last written for the exercise, or its starter program.
function openExerciseById(id) {
  const exercise = exercises?.find((one) => one.id === id);
  if (!exercise) return say(t('noSuchExercise'), 'error');
  if (saved.exercise() === id) return showExercise(id, saved.results());
  const kept = saved.reopenExercise(id);
  if (kept) show(kept);
  else {
    const starter = { name: `${id}.zem`, source: exercise.starter || 'はじめ\nおわり\n', files: new Map(), exercise: id };
    openProgram(starter, { disposable: true, exercise: id });
  }
  recent.render();
}
const exerciseMenu = createExerciseMenu($('exercises'), openExerciseById);

// disposable: an example or a new program, given back by the page itself.
function openProgram(program, options) {
  saved.open(program, options);
  show(program);
  recent.render();
}

$('new').addEventListener('click', () =>
  openProgram({ name: 'prog.zem', source: DEFAULT_SOURCE, files: new Map() }, { disposable: true }),
);
createSaveLink($('save'), () => ({ name: programName, source: editor.text() }));
// A closed tab or a page put away keeps what was typed in its last moment.
window.addEventListener('pagehide', () => saved.flush());
document.addEventListener('visibilitychange', () => document.visibilityState === 'hidden' && saved.flush());

const relabelExamples = createExamplesMenu($('examples'), (name, example) => {
  const files = new Map(Object.entries(example.files).map(([file, bytes]) => [file, bytes.slice()]));
  openProgram({ name: `${name}.zem`, source: decodeSjis(example.source), files }, { disposable: true });
});
relabelExamples(lang);

$('open').addEventListener('change', async () => {
  const file = $('open').files[0];
  $('open').value = '';
  if (!file) return;
  let source;
  try {
    source = await readProgramFile(file);
  } catch (error) {
    say(`${t('runFailed')}: ${error.message}`, 'error');
    return;
  }
  if (source === null) say(t('notText'), 'error');
  else openProgram({ name: cleanName(file.name), source, files: new Map() });
});

function openShared() {
  const shared = readShareHash(location.hash);
  if (shared === null) return false;
  if (shared.error) {
    say(t('badShare'), 'error');
    return false;
  }
  openProgram(shared);
  return true;
}
window.addEventListener('hashchange', () => {
  const named = exerciseInHash(location.hash);
  if (named !== null) openExerciseById(named);
  else openShared();
});

$('share').addEventListener('click', async () => {
  const url = new URL(location.href);
  const { hash, left } = shareHash(editor.text(), programName, fileArea.map());
  url.hash = hash;
  history.replaceState(null, '', url);
  const field = $('share-link');
  field.value = url.href;
  field.hidden = false;
  field.select();
  try {
    await navigator.clipboard.writeText(url.href);
    say(t('shareCopied'));
  } catch {
    say(t('shareShown'));
  }
  if (left.length > 0) say(`${t('shareFilesLeft')}: ${left.join(', ')}`, 'error');
});

const langMenu = $('lang');
langMenu.value = lang;
langMenu.addEventListener('change', () => {
  lang = langMenu.value === 'ja' ? 'ja' : 'en';
  setLang(lang);
  playground?.setLang(lang);
  editor.relabel();
  terminal.relabel();
  relabelExamples(lang);
  checkResults.relabel();
  const url = new URL(location.href);
  url.searchParams.set('lang', lang);
  history.replaceState(null, '', url);
  setState(state);
  scheduleAnalysis();
});

// ---- the public face

const zem = {
  ready: null,
  checkReady: made.then((pg) => pg.checkReady),
  get canRun() {
    return canRun;
  },
  get state() {
    return state;
  },
  get exitStatus() {
    return exitStatus;
  },
  get outcome() {
    return outcome;
  },
  source: () => editor.text(),
  setSource,
  run,
  transcript: () => terminal.transcript(),
  problems: () => problems.lines(),
  cText: () => cView.text(),
  files: () => fileArea.map(),
  addFile: (name, bytes) => fileArea.add(name, bytes),
  // The open exercise's id, or null; check(): 確かめる's results as zemuc
  // test --json gives them.
  exercise: () => openExercise?.id ?? null,
  async check() {
    const results = await check();
    if (results === null) throw new Error(`the check did not finish: ${checkTrouble ?? 'no exercise open, or a run under way'}`);
    return results.json;
  },
};

zem.ready = made.then((pg) => pg.ready).then(
  () => {
    compilerReady = true;
    setState('ready');
    scheduleAnalysis();
  },
  (error) => {
    if (canRun) say(`${t('loadFailed')}: ${error.message}`, 'error');
    else setState('unsupported');
    throw error;
  },
);
// Where no program can run, ready stays rejected; the page tells why.
zem.ready.catch(() => {});
window.zem = zem;

setState('loading');
if (!openShared()) {
  const kept = saved.restore();
  if (kept) show(kept);
  else openProgram({ name: 'prog.zem', source: DEFAULT_SOURCE, files: new Map() }, { disposable: true });
  recent.render();
}
loadExercises(base).then(
  (listed) => {
    exercises = listed;
    exerciseMenu.fill(listed);
    const named = exerciseInHash(location.hash);
    if (named !== null) openExerciseById(named);
    else showExercise(saved.exercise(), saved.results());
  },
  (error) => {
    exercises = [];
    say(`${t('exercisesUnreadable')}: ${error.message}`, 'error');
  },
);
registered.catch((error) => say(`${t('runFailed')}: ${error.message}`, 'error'));
