// A hover's text as the C++ writes it: plain text, or markdown made of
// paragraphs, `code` words and fenced code blocks (the C of a line). Only
// that much is rendered; the text is set as text, never as HTML.
export function renderHoverText(value, markdown) {
  const dom = document.createElement('div');
  dom.className = 'hover';
  if (!markdown) {
    const pre = document.createElement('div');
    pre.className = 'hover-text';
    pre.textContent = value;
    dom.append(pre);
    return dom;
  }
  const lines = value.split('\n');
  let i = 0;
  while (i < lines.length) {
    const fence = /^(`{3,})/.exec(lines[i]);
    if (fence) {
      const code = [];
      i++;
      while (i < lines.length && !lines[i].startsWith(fence[1])) code.push(lines[i++]);
      i++;
      const pre = document.createElement('pre');
      pre.textContent = code.join('\n');
      dom.append(pre);
      continue;
    }
    const paragraph = [];
    while (i < lines.length && lines[i] !== '' && !/^`{3,}/.test(lines[i])) paragraph.push(lines[i++]);
    if (paragraph.length) {
      const p = document.createElement('p');
      const parts = paragraph.join('\n').split(/(`[^`]+`)/);
      for (const part of parts) {
        if (/^`[^`]+`$/.test(part)) {
          const code = document.createElement('code');
          code.textContent = part.slice(1, -1);
          p.append(code);
        } else if (part) {
          p.append(document.createTextNode(part));
        }
      }
      dom.append(p);
    }
    while (i < lines.length && lines[i] === '') i++;
  }
  return dom;
}
