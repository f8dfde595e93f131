// Colours for .zem programs, as the editors' grammars (editors/) give them:
// statement keywords, the file after a file statement, numeric (数...) and
// string (字...) variables, texts, comments, the text after the first ';'
// (the translator drops it), C words, and what the translator would take
// apart (a full-width space). A token stands alone only between delimiters,
// as the translator splits a line.
import { StreamLanguage, HighlightStyle, syntaxHighlighting } from '@codemirror/language';
import { Tag } from '@lezer/highlight';

const KEYWORDS = ['はじめ', 'おわり', '見る', '打つ', 'くり返し', '開く', '閉じる', '読む', '書く', '読みきり'];
const FILE_KEYWORDS = new Set(['開く', '閉じる', '読む', '書く', '読みきり']);
const DELIMITERS = ',\f:\t=)(+-/*<>{}';
const C_CONTROL = new Set(['if', 'else', 'while', 'for', 'do', 'switch', 'case', 'default', 'break',
  'continue', 'return', 'goto', 'sizeof']);
const C_TYPES = new Set(['int', 'char', 'float', 'double', 'long', 'short', 'unsigned', 'signed', 'void',
  'FILE', 'struct', 'const', 'static']);
const C_FUNCTIONS = new Set(['printf', 'scanf', 'sprintf', 'sscanf', 'fprintf', 'fscanf', 'fgets', 'fputs',
  'puts', 'gets', 'getchar', 'putchar', 'strcpy', 'strncpy', 'strcat', 'strcmp', 'strncmp', 'strlen',
  'atoi', 'atof', 'abs', 'fabs', 'sqrt', 'pow', 'sin', 'cos', 'tan', 'exp', 'log', 'floor', 'ceil', 'rand',
  'srand', 'time', 'exit', 'malloc', 'free', 'fopen', 'fclose', 'feof', 'fflush', 'delkai']);

const tags = {
  keyword: Tag.define(),
  file: Tag.define(),
  numVar: Tag.define(),
  strVar: Tag.define(),
  string: Tag.define(),
  comment: Tag.define(),
  ignored: Tag.define(),
  cKeyword: Tag.define(),
  cType: Tag.define(),
  cFunction: Tag.define(),
  number: Tag.define(),
  invalid: Tag.define(),
};

// Where the nearest byte before pos that is no space is a delimiter (or
// the line starts).
function startsToken(line, pos) {
  let i = pos - 1;
  while (i >= 0 && line[i] === ' ') i--;
  return i < 0 || DELIMITERS.includes(line[i]);
}
function endsToken(line, pos) {
  let i = pos;
  while (i < line.length && line[i] === ' ') i++;
  return i >= line.length || DELIMITERS.includes(line[i]) || line[i] === ';';
}

const NAME_CHAR = /[^,\f:\t=)(+\-/*<>{}; "\u3000]/u;

const zem = StreamLanguage.define({
  name: 'zem',
  startState: () => ({ blockComment: false, ignored: false, fileNext: false }),
  copyState: (s) => ({ ...s }),
  token(stream, state) {
    if (stream.sol()) {
      state.ignored = false;
      state.fileNext = false;
    }
    if (state.ignored) {
      stream.skipToEnd();
      return 'ignored';
    }
    if (state.blockComment) {
      if (stream.match(/^.*?\*\//)) state.blockComment = false;
      else stream.skipToEnd();
      return 'comment';
    }
    const line = stream.string;
    const start = stream.pos;
    if (stream.eat(';')) {
      state.ignored = true;
      return null;
    }
    if (stream.match('/*')) {
      state.blockComment = true;
      return 'comment';
    }
    if (stream.match('//')) {
      stream.skipToEnd();
      return 'comment';
    }
    if (stream.eat('"')) {
      while (!stream.eol()) {
        const c = stream.next();
        if (c === '\\') stream.next();
        else if (c === '"') break;
      }
      return 'string';
    }
    if (stream.eat('\u3000')) return 'invalid';
    if (startsToken(line, start)) {
      for (const word of KEYWORDS) {
        if (line.startsWith(word, start) && endsToken(line, start + word.length)) {
          stream.pos = start + word.length;
          state.fileNext = FILE_KEYWORDS.has(word);
          return 'keyword';
        }
      }
      if (state.fileNext && NAME_CHAR.test(line[start])) {
        while (!stream.eol() && NAME_CHAR.test(stream.peek())) stream.next();
        state.fileNext = false;
        return 'file';
      }
      if (line[start] === '数' || line[start] === '字') {
        stream.next();
        while (!stream.eol() && NAME_CHAR.test(stream.peek())) stream.next();
        return line[start] === '数' ? 'numVar' : 'strVar';
      }
    }
    if (stream.match(/^(?:0[xX][0-9a-fA-F]+|\d+(?:\.\d*)?(?:[eE][-+]?\d+)?)[uUlLfF]*/)) return 'number';
    const word = stream.match(/^[A-Za-z_]\w*/);
    if (word) {
      if (C_CONTROL.has(word[0])) return 'cKeyword';
      if (C_TYPES.has(word[0])) return 'cType';
      if (C_FUNCTIONS.has(word[0]) || word[0] === 'NULL' || word[0] === 'EOF') return 'cFunction';
      return null;
    }
    stream.next();
    return null;
  },
  tokenTable: tags,
  languageData: { commentTokens: { line: '//', block: { open: '/*', close: '*/' } } },
});

const style = HighlightStyle.define([
  { tag: tags.keyword, color: 'var(--zem-keyword)', fontWeight: 'bold' },
  { tag: tags.file, color: 'var(--zem-file)', textDecoration: 'underline' },
  { tag: tags.numVar, color: 'var(--zem-num-var)' },
  { tag: tags.strVar, color: 'var(--zem-str-var)' },
  { tag: tags.string, color: 'var(--zem-string)' },
  { tag: [tags.comment, tags.ignored], color: 'var(--zem-comment)', fontStyle: 'italic' },
  { tag: tags.cKeyword, color: 'var(--zem-c-keyword)' },
  { tag: tags.cType, color: 'var(--zem-c-type)' },
  { tag: tags.cFunction, color: 'var(--zem-c-function)' },
  { tag: tags.number, color: 'var(--zem-number)' },
  { tag: tags.invalid, backgroundColor: 'var(--zem-invalid)' },
]);

export function zemLanguage() {
  return [zem, syntaxHighlighting(style)];
}
