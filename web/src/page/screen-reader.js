// The terminal's screen-reader mode, a checkbox by the terminal's heading:
// kept in the browser, so that a learner who needs it sets it once.
const KEY = 'zem-screen-reader';

function remembered() {
  try {
    return localStorage.getItem(KEY) === '1';
  } catch {
    return false; // no storage (a locked-down browser): off until ticked
  }
}

function remember(on) {
  try {
    localStorage.setItem(KEY, on ? '1' : '0');
  } catch {
    // Not kept; the mode still holds for this page.
  }
}

export function wireScreenReaderMode(box, terminal) {
  box.checked = remembered();
  terminal.setScreenReaderMode(box.checked);
  box.addEventListener('change', () => {
    terminal.setScreenReaderMode(box.checked);
    remember(box.checked);
  });
}
