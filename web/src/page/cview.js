// The C view: exactly the C text the translator writes (decoded from
// Shift-JIS), coloured by the C parser, its line numbers in a gutter beside
// it rather than in its text, and the C of the editor's current line marked.
import { parser } from '@lezer/cpp';
import { highlightCode, classHighlighter } from '@lezer/highlight';

export function createCView(code, gutter) {
  let text = '';
  let lines = null; // cLines of this text: [start, end] or null per source line
  let tree = parser.parse('');
  let shown = ''; // the mark drawn, so that a cursor move within a line draws nothing

  function render(mark) {
    code.replaceChildren();
    let pos = 0;
    let markElement = null;
    let target = code;
    // Pieces of text with their classes; the marked span wraps those inside
    // it (cut where it starts and ends).
    const put = (piece, classes) => {
      let offset = 0;
      while (offset < piece.length) {
        const at = pos + offset;
        let end = piece.length;
        if (mark) {
          if (at < mark[0]) end = Math.min(end, mark[0] - pos);
          else if (at < mark[1]) end = Math.min(end, mark[1] - pos);
        }
        const part = piece.slice(offset, end);
        const inMark = mark && at >= mark[0] && at < mark[1];
        if (inMark && !markElement) {
          markElement = document.createElement('mark');
          code.append(markElement);
        }
        target = inMark ? markElement : code;
        if (classes) {
          const span = document.createElement('span');
          span.className = classes;
          span.textContent = part;
          target.append(span);
        } else {
          target.append(document.createTextNode(part));
        }
        offset = end;
      }
      pos += piece.length;
    };
    highlightCode(text, tree, classHighlighter, put, () => put('\n', ''));
    const count = text === '' ? 0 : text.split('\n').length - (text.endsWith('\n') ? 1 : 0);
    gutter.textContent = Array.from({ length: count }, (_, i) => i + 1).join('\n');
    return markElement;
  }

  return {
    text: () => text,
    // newLines: the cLines of this very text, or null.
    set(newText, newLines) {
      text = newText ?? '';
      lines = Array.isArray(newLines) ? newLines : null;
      tree = parser.parse(text);
      shown = '';
      render(null);
    },
    showLine(sourceLine) {
      const span = lines?.[sourceLine];
      const mark = Array.isArray(span) && span[1] > span[0] ? span : null;
      if (String(mark) === shown) return;
      shown = String(mark);
      const element = render(mark);
      element?.scrollIntoView({ block: 'nearest' });
    },
  };
}
