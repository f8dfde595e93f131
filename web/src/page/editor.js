// The source editor: CodeMirror with the language's colours, the check's and
// the compiler's findings underlined, hover and completion, all asked of the
// playground (the same C++ as zemuc lsp).
import { EditorView, basicSetup } from 'codemirror';
import { keymap, hoverTooltip } from '@codemirror/view';
import { EditorState, Prec, Compartment } from '@codemirror/state';
import { indentWithTab } from '@codemirror/commands';
import { setDiagnostics, lintGutter } from '@codemirror/lint';
import { autocompletion, snippet } from '@codemirror/autocomplete';
import { indentUnit } from '@codemirror/language';
import { zemLanguage } from './zem-language.js';
import { renderHoverText } from './hover-text.js';
import { t, editorPhrases } from './i18n.js';

// The editor's name for a screen reader and its own words, in the page's
// language (reconfigured when it changes).
const words = () => [
  EditorState.phrases.of(editorPhrases()),
  EditorView.contentAttributes.of({ 'aria-label': t('editor'), 'aria-describedby': 'editor-hint' }),
];

// Positions are 0-based lines and UTF-16 units, as JavaScript strings count.
export function offsetOf(doc, line, character) {
  if (line < 0) return 0;
  if (line >= doc.lines) return doc.length;
  const docLine = doc.line(line + 1);
  return Math.min(docLine.from + Math.max(0, character), docLine.to);
}
function positionOf(doc, offset) {
  const docLine = doc.lineAt(offset);
  return { line: docLine.number - 1, character: offset - docLine.from };
}

const SEVERITY = { 1: 'error', 2: 'warning', 3: 'info', 4: 'hint' };

// LSP's snippet syntax ($1, ${1:text}, ${1|a,b|}, \$) as CodeMirror's
// templates write it (${1}, ${1:text}; braces outside fields escaped).
export function lspSnippetToTemplate(text) {
  let out = '';
  for (let i = 0; i < text.length; i++) {
    const c = text[i];
    if (c === '\\' && i + 1 < text.length) {
      const next = text[++i];
      out += next === '{' || next === '}' ? `\\${next}` : next;
    } else if (c === '$') {
      const rest = text.slice(i + 1);
      let m;
      if ((m = /^(\d+)/.exec(rest))) {
        out += `\${${m[1]}}`;
        i += m[0].length;
      } else if ((m = /^\{(\d+)\|([^|]*)\|\}/.exec(rest))) {
        out += `\${${m[1]}:${m[2].split(',')[0]}}`;
        i += m[0].length;
      } else if ((m = /^\{(\d+)(?::([^{}]*))?\}/.exec(rest))) {
        out += m[2] === undefined ? `\${${m[1]}}` : `\${${m[1]}:${m[2]}}`;
        i += m[0].length;
      } else {
        out += c;
      }
    } else if (c === '{' || c === '}') {
      out += `\\${c}`;
    } else {
      out += c;
    }
  }
  return out;
}

// hooks: { hover(source, line, character), complete(source, line, character),
//          onChange(source), onCursorLine(line), onRunKey() }
export function createEditor(parent, hooks) {
  const hover = hoverTooltip(async (view, pos) => {
    const { line, character } = positionOf(view.state.doc, pos);
    let answer;
    try {
      answer = await hooks.hover(view.state.doc.toString(), line, character);
    } catch {
      return null;
    }
    if (!answer || !answer.value) return null;
    return {
      pos,
      above: true,
      create: () => ({ dom: renderHoverText(answer.value, answer.markdown) }),
    };
  }, { hoverTime: 350 });

  const complete = async (context) => {
    const { state, pos } = context;
    const { line, character } = positionOf(state.doc, pos);
    let items;
    try {
      items = await hooks.complete(state.doc.toString(), line, character);
    } catch {
      return null;
    }
    if (!Array.isArray(items) || items.length === 0) return null;
    // The items' ranges are the word they replace; CodeMirror filters on the
    // text from `from` to the cursor.
    const first = items[0];
    const from = offsetOf(state.doc, first.line, first.character);
    if (from > pos) return null;
    return {
      from,
      options: items.map((item) => {
        const itemFrom = offsetOf(state.doc, item.line, item.character);
        const itemTo = offsetOf(state.doc, item.endLine, item.endCharacter);
        return {
          label: item.label,
          detail: item.detail,
          apply: item.snippet
            ? (view, completion, _from, to) =>
                snippet(lspSnippetToTemplate(item.insert))(view, completion, itemFrom, Math.max(to, itemTo))
            : (view, _completion, _from, to) =>
                view.dispatch({
                  changes: { from: itemFrom, to: Math.max(to, itemTo), insert: item.insert },
                  selection: { anchor: itemFrom + item.insert.length },
                }),
        };
      }),
    };
  };

  const language = new Compartment();
  const view = new EditorView({
    parent,
    state: EditorState.create({
      doc: '',
      extensions: [
        basicSetup,
        language.of(words()),
        // Ahead of basicSetup's keys, whose Mod-Enter inserts a line.
        Prec.highest(keymap.of([{ key: 'Mod-Enter', run: () => (hooks.onRunKey(), true) }])),
        // The language indents with tabs, so Tab indents; Esc then Tab (or
        // Ctrl+M, CodeMirror's own keys) leaves the editor, as #editor-hint says.
        keymap.of([indentWithTab]),
        indentUnit.of('\t'),
        EditorState.tabSize.of(4),
        zemLanguage(),
        lintGutter(),
        hover,
        autocompletion({ override: [complete] }),
        EditorView.updateListener.of((update) => {
          if (update.docChanged) hooks.onChange(update.state.doc.toString());
          if (update.docChanged || update.selectionSet) {
            hooks.onCursorLine(update.state.doc.lineAt(update.state.selection.main.head).number - 1);
          }
        }),
      ],
    }),
  });

  return {
    view,
    relabel: () => view.dispatch({ effects: language.reconfigure(words()) }),
    text: () => view.state.doc.toString(),
    setText(text) {
      view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text } });
    },
    // Findings for the text they were made for; none when it has changed.
    showDiagnostics(forText, diagnostics) {
      if (view.state.doc.toString() !== forText) return;
      const doc = view.state.doc;
      const list = (diagnostics || []).map((d) => {
        const from = offsetOf(doc, d.line, d.character);
        let to = offsetOf(doc, d.endLine ?? d.line, d.endCharacter ?? d.character);
        if (to < from) to = from;
        return {
          from,
          to,
          severity: SEVERITY[d.severity] || 'error',
          message: d.message,
          source: d.code ? String(d.code) : undefined,
        };
      });
      view.dispatch(setDiagnostics(view.state, list));
    },
    goTo(line, character) {
      const offset = offsetOf(view.state.doc, line, character);
      view.dispatch({ selection: { anchor: offset }, scrollIntoView: true });
      view.focus();
    },
  };
}
