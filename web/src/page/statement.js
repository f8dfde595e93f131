// An exercise's statement, Markdown as the teacher wrote it. Raw HTML in it
// is shown as text, never run: the page holds the learner's programs.
import MarkdownIt from 'markdown-it';

const markdown = new MarkdownIt({ html: false, linkify: false });

export function showStatement(element, text) {
  element.innerHTML = markdown.render(text ?? '');
  // A link leads out of the page, not away from the learner's work.
  for (const link of element.querySelectorAll('a[href]')) {
    link.target = '_blank';
    link.rel = 'noopener noreferrer';
  }
}
