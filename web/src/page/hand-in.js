// The file to hand in: the program, then its latest results as comment
// lines after it, in UTF-8 as Save writes it, so that zemuc test still
// checks it and a teacher reads both in one file.
import { encodeSjis } from './sjis.js';
import { t } from './i18n.js';

// A comment line as the translator passes it on to C: a character with no
// Shift-JIS form becomes '?', and a line whose Shift-JIS ends in a
// backslash byte (a '\', or a character whose second byte is one) gets a
// full-width space after it, or C would join the next line to the comment.
export function commentLine(text) {
  const line = [...text].map((char) => (encodeSjis(char).bytes === null ? '?' : char)).join('');
  const bytes = encodeSjis(line).bytes;
  return `// ${line}${bytes.length > 0 && bytes.at(-1) === 0x5c ? '\u3000' : ''}`;
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
