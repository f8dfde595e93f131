// The file to hand in: the program, then its latest results as comment
// lines after it, in UTF-8 as Save writes it, so that zemuc test still
// checks it and a teacher reads both in one file.
import { encodeSjis } from './sjis.js';
import { t } from './i18n.js';

// A comment line the translator passes over whatever it holds: a line ends
// at its first ';', and what follows is dropped, so a statement keyword, a
// name or a backslash in the results is not translated, and C sees an
// empty comment. A character with no Shift-JIS form becomes '?', so that
// the file reads as a program.
export function commentLine(text) {
  return `//; ${[...text].map((char) => (encodeSjis(char).bytes === null ? '?' : char)).join('')}`;
}

// program: the source as it is now; results: the latest, or null;
// exercise: its id.
export function handInText(source, exercise, results) {
  const lines = [];
  if (results === null) {
    lines.push(`${t('handInHeader')} (${exercise})`, t('notChecked'));
  } else {
    const when = new Date(results.time).toISOString().replace('T', ' ').slice(0, 16);
    lines.push(`${t('handInHeader')} (${exercise}, ${when} UTC)`);
    if (results.source !== source) lines.push(t('handInChanged'));
    lines.push(...results.text.trimEnd().split('\n'));
  }
  const program = source === '' || source.endsWith('\n') ? source : `${source}\n`;
  return program + lines.map(commentLine).join('\n') + '\n';
}
