// The terminal: the program's output decoded from Shift-JIS as it comes,
// and a line discipline like a terminal's in cooked mode: typed characters
// are echoed, Backspace erases a whole character, Enter gives the line
// (Shift-JIS, with its "\n") to the program, Ctrl-D on an empty line ends
// its input (on a non-empty one it gives the line without "\n"), Ctrl-U
// erases the line and Ctrl-C stops the program. Lines typed before the
// program reads are given at once and wait, in order, in its input.
import { Terminal } from '@xterm/xterm';
import { FitAddon } from '@xterm/addon-fit';
import { sjisStream, encodeSjis } from './sjis.js';
import { t } from './i18n.js';

// The columns a character takes, as xterm's default (Unicode 6) widths
// count: East Asian wide and full-width characters take two.
const WIDE = [
  [0x1100, 0x115f], [0x2329, 0x232a], [0x2e80, 0x303e], [0x3040, 0xa4cf], [0xac00, 0xd7a3],
  [0xf900, 0xfaff], [0xfe10, 0xfe19], [0xfe30, 0xfe6f], [0xff00, 0xff60], [0xffe0, 0xffe6],
  [0x20000, 0x2fffd], [0x30000, 0x3fffd],
];
export function columns(char) {
  const code = char.codePointAt(0);
  return WIDE.some(([from, to]) => code >= from && code <= to) ? 2 : 1;
}

// Escape sequences (arrows, function keys) and lone escapes: not text.
const ESCAPE = /\x1b(?:\[[0-9;?]*[ -/]*[@-~]|O.|.)?/gs;

// A program in an endless loop of printf writes faster than a terminal can
// draw. The screen is written a piece at a time, the next once the last is
// drawn, and text waiting for it beyond what the scrollback would keep
// anyway is dropped (its oldest part); the transcript keeps the last
// TRANSCRIPT_KEEP characters of a run that prints more than
// TRANSCRIPT_MAX. So the page stays responsive and Stop can be pressed.
const SCREEN_PIECE = 64 * 1024;
const SCREEN_WAITING_MAX = 1024 * 1024;
const SCREEN_WAITING_KEEP = 512 * 1024;
const TRANSCRIPT_MAX = 8 * 1024 * 1024;
const TRANSCRIPT_KEEP = 6 * 1024 * 1024;

// The key that runs the program, anywhere in the page.
export const isRunKey = (event) => event.key === 'Enter' && (event.ctrlKey || event.metaKey);

// Where to cut text near at so that no surrogate pair is split.
function cutAt(text, at) {
  const code = text.charCodeAt(at - 1);
  return code >= 0xd800 && code <= 0xdbff ? at - 1 : at;
}

// hooks: { onLine(bytes), onEnd(), onInterrupt(), onRefused(char) }
export function createTerminal(element, hooks) {
  const term = new Terminal({
    convertEol: true,
    cursorBlink: true,
    fontFamily: '"Noto Sans Mono CJK JP", "Noto Sans Mono", "DejaVu Sans Mono", monospace',
    fontSize: 15,
    scrollback: 5000,
    theme: { background: '#1e1e1e' },
    // Every colour a program or a note writes stays readable on the dark
    // background (xterm lightens the ones that would not be).
    minimumContrastRatio: 4.5,
  });
  const fit = new FitAddon();
  term.loadAddon(fit);
  // xterm's own words (the input's name, the screen reader's notice of too
  // much output) in the page's language; the input is renamed with the page.
  const relabel = () => {
    Terminal.strings.promptLabel = t('terminalInput');
    Terminal.strings.tooMuchOutput = t('terminalTooMuch');
  };
  relabel();
  term.open(element);
  term.textarea.dataset.l10nAria = 'terminalInput';
  // Backspace at the first column goes back to the end of the line above,
  // so that a typed line longer than the terminal is erased whole.
  const REVERSE_WRAP = '\x1b[?45h';
  term.write(REVERSE_WRAP);
  const resize = () => {
    try {
      fit.fit();
    } catch {
      // Not laid out yet (hidden): the next resize fits it.
    }
  };
  new ResizeObserver(resize).observe(element);

  let waiting = ''; // text for the screen, not yet given to xterm
  let drawing = false;
  const draw = () => {
    if (drawing || !waiting) return;
    const end = waiting.length <= SCREEN_PIECE ? waiting.length : cutAt(waiting, SCREEN_PIECE);
    const piece = waiting.slice(0, end);
    waiting = waiting.slice(end);
    drawing = true;
    term.write(piece, () => {
      drawing = false;
      draw();
    });
  };
  const screen = (text) => {
    if (!text) return;
    waiting += text;
    if (waiting.length > SCREEN_WAITING_MAX) {
      const from = waiting.indexOf('\n', waiting.length - SCREEN_WAITING_KEEP);
      waiting = waiting.slice(from === -1 ? cutAt(waiting, waiting.length - SCREEN_WAITING_KEEP) : from + 1);
    }
    draw();
  };

  let decode = sjisStream();
  let accepting = false; // a run is on and its input not ended
  let done = ''; // the run's console text up to the line being typed
  let pending = ''; // the line being typed, echoed
  let atLineStart = true;

  const width = (text) => [...text].reduce((sum, char) => sum + columns(char), 0);
  const erasePending = () => (pending ? '\b'.repeat(width(pending)) + '\x1b[J' : '');

  function showOutput(text) {
    if (!text) return;
    // The line being typed stays the last thing on the screen, as a shell's
    // line editor keeps it: it is taken away, the output written, and it is
    // echoed again after it.
    screen(erasePending() + text + pending);
    done += text;
    if (done.length > TRANSCRIPT_MAX) done = done.slice(cutAt(done, done.length - TRANSCRIPT_KEEP));
    atLineStart = text.endsWith('\n');
  }

  function give(text) {
    const { bytes } = encodeSjis(text);
    hooks.onLine(bytes);
  }

  function key(char) {
    switch (char) {
      case '\r':
      case '\n':
        screen('\r\n');
        done += `${pending}\n`;
        atLineStart = true;
        give(`${pending}\n`);
        pending = '';
        return;
      case '\x7f':
      case '\b': {
        if (!pending) return;
        const chars = [...pending];
        const last = chars.pop();
        pending = chars.join('');
        screen('\b'.repeat(columns(last)) + '\x1b[J');
        return;
      }
      case '\x15':
        screen(erasePending());
        pending = '';
        return;
      case '\x04':
        if (pending) {
          done += pending;
          give(pending);
          pending = '';
        } else {
          accepting = false;
          hooks.onEnd();
        }
        return;
      case '\x03':
        hooks.onInterrupt();
        return;
      default:
        if (char < ' ') return;
        if (encodeSjis(char).bytes === null) {
          hooks.onRefused(char);
          return;
        }
        pending += char;
        screen(char);
    }
  }

  // Ctrl+Enter (Cmd+Enter) is the page's, which runs the program: xterm
  // leaves it alone, so that it is no line end given to the program.
  term.attachCustomKeyEventHandler((event) => !isRunKey(event));

  term.onData((data) => {
    if (!accepting) return;
    // A pasted "\r\n" is one line end.
    const text = data.replace(ESCAPE, '').replace(/\r\n/g, '\r');
    for (const char of text) {
      if (!accepting) return;
      key(char);
    }
  });

  return {
    term,
    fit: resize,
    relabel,
    // A screen reader reads the terminal's lines and hears its new output.
    setScreenReaderMode(on) {
      term.options.screenReaderMode = on;
    },
    focus: () => term.focus(),
    beginRun() {
      // The last run's text still waiting is dropped; a piece xterm has
      // already is drawn before the reset (ESC c), which is text in order.
      waiting = '';
      screen(`\x1bc${REVERSE_WRAP}`);
      decode = sjisStream();
      done = '';
      pending = '';
      atLineStart = true;
      accepting = true;
    },
    output(bytes) {
      showOutput(decode(bytes));
    },
    endRun() {
      showOutput(decode());
      accepting = false;
      if (pending) {
        // The line was never given: it stays on the screen, not in the text.
        screen('\r\n');
        pending = '';
        atLineStart = true;
      }
    },
    // What zemuc prints on standard error after or instead of the run: on
    // the screen, in red, on a line of its own; not the program's text.
    note(text) {
      if (!text) return;
      const lead = atLineStart ? '' : '\r\n';
      screen(`${lead}\x1b[31m${text}\x1b[0m`);
      atLineStart = text.endsWith('\n');
    },
    transcript: () => done + pending,
  };
}
