// The page's own words (labels, buttons, states) in Japanese and English.
// Every message about the learner's program comes from the C++ through the
// playground, in the language given to it: none is written here.

const WORDS = {
  severity_error: { ja: 'エラー', en: 'error' },
  severity_warning: { ja: '警告', en: 'warning' },
  severity_note: { ja: '備考', en: 'note' },
  title: { ja: 'ぜむ のあそび場', en: 'zem playground' },
  examples: { ja: '例', en: 'Examples' },
  examplesPick: { ja: '例を開く…', en: 'Open an example…' },
  failsOnPurpose: { ja: '（わざと止まる）', en: ' (fails on purpose)' },
  name: { ja: 'プログラム名', en: 'Program name' },
  open: { ja: 'ファイルから開く', en: 'Open a file' },
  notText: {
    ja: 'このファイルは UTF-8 でも Shift-JIS でもありません',
    en: 'This file is neither UTF-8 nor Shift-JIS text',
  },
  run: { ja: '実行', en: 'Run' },
  runTitle: { ja: '翻訳して、作って、動かす (Ctrl+Enter)', en: 'Translate, build and run (Ctrl+Enter)' },
  stop: { ja: '止める', en: 'Stop' },
  share: { ja: '共有リンク', en: 'Share link' },
  shareCopied: { ja: 'リンクをコピーしました', en: 'Link copied' },
  shareShown: { ja: 'このリンクをコピーしてください', en: 'Copy this link' },
  shareLink: { ja: '共有リンクのアドレス', en: 'Share link address' },
  language: { ja: '言語', en: 'Language' },
  editor: { ja: 'プログラム', en: 'Program' },
  editorHint: {
    ja: 'Tab で字下げ。Esc を押してから Tab でエディタの外へ (Ctrl+M で Tab をずっと外へ)',
    en: 'Tab indents. Esc then Tab leaves the editor (Ctrl+M makes Tab always leave it)',
  },
  terminal: { ja: '端末', en: 'Terminal' },
  terminalHint: {
    ja: 'ここをクリックして入力。Enter で一行送る、空の行で Ctrl+D は入力の終わり、Ctrl+C で止める',
    en: 'Click here to type. Enter sends a line, Ctrl+D on an empty line ends the input, Ctrl+C stops',
  },
  terminalInput: { ja: '端末への入力', en: 'Terminal input' },
  terminalTooMuch: { ja: '出力が多すぎるので読み上げを省きました', en: 'Too much output to announce' },
  screenReader: { ja: '読み上げ用', en: 'Screen reader mode' },
  cCode: { ja: 'C のプログラム', en: 'C program' },
  problems: { ja: 'メッセージ', en: 'Messages' },
  noProblems: { ja: 'メッセージはありません', en: 'No messages' },
  files: { ja: 'ファイル', en: 'Files' },
  upload: { ja: 'ファイルを入れる', en: 'Add files' },
  noFiles: {
    ja: 'ファイルはありません。プログラムが読むファイルはここに入れてください',
    en: 'No files. Add the files the program reads here',
  },
  remove: { ja: '消す', en: 'Remove' },
  bytes: { ja: 'バイト', en: 'bytes' },
  state_loading: { ja: '読み込み中…', en: 'Loading…' },
  state_ready: { ja: '準備よし', en: 'Ready' },
  state_building: { ja: '作っています…', en: 'Building…' },
  state_running: { ja: '実行中', en: 'Running' },
  state_waiting: { ja: '入力を待っています', en: 'Waiting for input' },
  state_done: { ja: '終わりました', en: 'Finished' },
  outcome_finished: { ja: '終わりました', en: 'Finished' },
  outcome_notBuilt: { ja: '組み立てられませんでした', en: 'The program could not be built' },
  outcome_checkStopped: { ja: 'まちがいが見つかって止まりました', en: 'A mistake was found and the program stopped' },
  outcome_crashed: { ja: 'プログラムがとちゅうで止まりました', en: 'The program stopped partway' },
  outcome_stopped: { ja: '止めました', en: 'Stopped' },
  outcome_failed: { ja: 'あそび場が失敗しました', en: 'The playground failed' },
  stoppedNote: { ja: '(プログラムを止めました)', en: '(the program was stopped)' },
  details: { ja: '詳しく', en: 'Details' },
  exitStatus: { ja: '終了コード', en: 'exit status' },
  offlineReady: { ja: 'オフラインでも使えます', en: 'Works offline' },
  loadFailed: { ja: '読み込めませんでした', en: 'Could not load' },
  runFailed: { ja: 'あそび場の失敗', en: 'The playground failed' },
  badShare: { ja: '共有リンクのプログラムが読めません', en: 'The share link holds no readable program' },
  notSjis: { ja: 'Shift-JIS にない文字は入力できません', en: 'Characters without a Shift-JIS form cannot be typed' },
  stopStuck: { ja: 'プログラムが止まりません', en: 'The program does not stop' },
  newProgram: { ja: '新しく', en: 'New' },
  save: { ja: '保存', en: 'Save' },
  saveTitle: { ja: 'プログラムを UTF-8 のファイルにしてダウンロード', en: 'Download the program as a UTF-8 file' },
  recent: { ja: '最近のプログラム', en: 'Recent programs' },
  recentPick: { ja: '最近のプログラム…', en: 'Recent programs…' },
  storageFull: {
    ja: 'ブラウザの保存場所がいっぱいで、プログラムを保存できません。「保存」でファイルにしてください',
    en: "The browser's storage is full: the program is not kept. Use Save to keep it in a file",
  },
  storageTrimmed: {
    ja: 'ブラウザの保存場所がいっぱいなので、古いプログラムを最近のプログラムから消しました',
    en: "The browser's storage is full: the oldest recent programs were let go",
  },
  filesNotKept: {
    ja: 'ファイルが大きいので、ブラウザにはプログラムだけを保存しています',
    en: 'The files are too big to keep in the browser: only the program is kept',
  },
  asWritten: { ja: 'Shift-JIS で', en: 'in Shift-JIS' },
  fileConverted: { ja: 'UTF-8 から Shift-JIS に変えました', en: 'converted from UTF-8 to Shift-JIS' },
  fileNotConverted: {
    ja: 'Shift-JIS にない文字があるので変えていません。行',
    en: 'left in UTF-8: a character with no Shift-JIS form on line',
  },
  shareFilesLeft: {
    ja: '大きすぎてリンクに入らないファイル (合わせて 2 KB まで)',
    en: 'Files too big for the link (2 KB in all at most)',
  },
  loadingCompiler: { ja: 'C コンパイラを読み込み中…', en: 'Loading the compiler…' },
  preparingCompiler: { ja: 'C コンパイラを準備中…', en: 'Preparing the C compiler…' },
  state_queued: { ja: 'C コンパイラを待って実行します…', en: 'Run queued: loading…' },
  state_unsupported: { ja: 'このブラウザでは実行できません', en: 'Programs cannot run in this browser' },
  exercises: { ja: '課題', en: 'Exercises' },
  exercisesPick: { ja: '課題を開く…', en: 'Open an exercise…' },
  exerciseFold: { ja: '課題をたたむ・広げる', en: 'Fold or unfold the exercise' },
  noSuchExercise: { ja: 'その課題はこのページにありません', en: 'This page has no such exercise' },
  exercisesUnreadable: { ja: '課題のファイルが読めません', en: 'The exercises file cannot be read' },
  check: { ja: '確かめる', en: 'Check' },
  checkTitle: {
    ja: 'すべての例と隠しテストで動かして、正しいか確かめる',
    en: 'Run the program on every sample and hidden case and tell whether it is right',
  },
  state_checking: { ja: '確かめています…', en: 'Checking…' },
  state_checked: { ja: '確かめました', en: 'Checked' },
  checkingCase: { ja: '確かめています:', en: 'Checking case' },
  checkStopped: { ja: '確かめるのを止めました', en: 'The check was stopped' },
  notChecked: { ja: 'まだ確かめていません', en: 'Not checked yet' },
  colResult: { ja: '結果', en: 'Result' },
  colNumber: { ja: '番号', en: 'No.' },
  colKind: { ja: '種類', en: 'Kind' },
  colWhy: { ja: '理由', en: 'Why' },
  kindSample: { ja: '例', en: 'sample' },
  kindHidden: { ja: '隠し', en: 'hidden' },
  handIn: { ja: '提出用にダウンロード', en: 'Download to hand in' },
  handInTitle: {
    ja: 'プログラムと最後に確かめた結果を一つのファイルにしてダウンロード',
    en: 'Download the program and its latest results in one file',
  },
  handInHeader: { ja: '確かめた結果', en: 'Results of Check' },
  handInChanged: {
    ja: 'この結果のあとでプログラムを変えました',
    en: 'The program was changed after these results',
  },
  cannotRun: {
    ja:
      'このブラウザでは、このページのプログラムを実行できません。プログラムを書く・チェックする・C を見ることはできます。' +
      '実行するには、Chrome か Chromium（137 以降）で開くか、https:// か localhost のアドレスで開いてください（先生に聞いてください）。',
    en:
      'This browser cannot run programs on this page. You can still write and check programs and see their C. ' +
      'To run them, open the page in Chrome or Chromium 137 or later, or over https:// or from localhost (ask your teacher).',
  },
};

// The editor's own words (its search panel, folding, lint panel) in
// Japanese; in English it says them itself.
const EDITOR_PHRASES_JA = {
  Completions: '候補',
  'Control character': '制御文字',
  Diagnostics: 'メッセージ',
  'No diagnostics': 'メッセージはありません',
  'Go to line': '行へ移動',
  go: '移動',
  'Selection deleted': '選択を消しました',
  close: '閉じる',
  'current match': '見つかった所',
  'on line': '行目',
  'replaced $ matches': '$ か所を置き換えました',
  'replaced match on line $': '$ 行目を置き換えました',
  'folded code': 'たたんだ部分',
  to: 'から',
  unfold: '広げる',
  'Folded lines': 'たたんだ行',
  'Unfolded lines': '広げた行',
  'Fold line': '行をたたむ',
  'Unfold line': '行を広げる',
  Find: '探す',
  Replace: '置き換える',
  all: 'すべて',
  'by word': '単語で',
  'match case': '大文字小文字を区別',
  next: '次',
  previous: '前',
  regexp: '正規表現',
  replace: '置き換え',
  'replace all': 'すべて置き換え',
};

// The phrases CodeMirror is given for the page's language.
export function editorPhrases() {
  return current === 'ja' ? EDITOR_PHRASES_JA : {};
}

export function pickLang(search, navigatorLanguage) {
  const asked = new URLSearchParams(search).get('lang');
  if (asked === 'ja' || asked === 'en') return asked;
  return /^ja\b/i.test(navigatorLanguage || '') ? 'ja' : 'en';
}

let current = 'en';

export function setLang(lang) {
  current = lang;
  document.documentElement.lang = lang;
  document.title = t('title');
  for (const element of document.querySelectorAll('[data-l10n]')) {
    element.textContent = t(element.dataset.l10n);
  }
  for (const element of document.querySelectorAll('[data-l10n-title]')) {
    element.title = t(element.dataset.l10nTitle);
  }
  for (const element of document.querySelectorAll('[data-l10n-aria]')) {
    element.setAttribute('aria-label', t(element.dataset.l10nAria));
  }
  // Shown by the style sheet where the element is empty, so that the
  // element itself holds nothing but its items.
  for (const element of document.querySelectorAll('[data-l10n-empty]')) {
    element.dataset.empty = t(element.dataset.l10nEmpty);
  }
}

export function t(key) {
  const word = WORDS[key];
  if (word === undefined) throw new Error(`no UI word ${key}`);
  return word[current];
}

// zemuc's message lines keep the English "error:" and "warning:" that
// editors read them by; the page, read by learners alone, says them in its
// own language.
export function inPageWords(line) {
  return line.replace(/^([^:]*\.zem:\d+:\d+: )(error|warning|note): /, (all, place, word) => `${place}${t(`severity_${word}`)}: `);
}
