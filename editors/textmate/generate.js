#!/usr/bin/env node
// Writes zem.tmLanguage.json, the TextMate grammar of .zem programs, from the
// rules below. The grammar follows what the translator does with a line:
//
// - Spaces are removed before the line is split (one after "else" stays),
//   so a keyword, a variable or a file name is a whole token only when the
//   nearest byte before it that is no space is a delimiter (or the line
//   starts there) and the nearest one after it is a delimiter, ';' or the
//   line end.
// - '"' is no delimiter: a quoted section belongs to the token it stands in.
// - The first ';' outside quotes ends the line; the rest is dropped, also
//   inside a C comment, whose "*/" may go with it.
// - A statement keyword is translated wherever it stands as a token, also
//   in a comment; its statement takes the rest of the line.
// - The translator reads Shift-JIS byte by byte, so a character whose
//   second byte is '{' or '}' (マ, ボ, 倍, 本, ...) splits a token there.
//
// Run it after changing a rule: node editors/textmate/generate.js
// (--check compares instead of writing, for the tests).
'use strict';

const fs = require('fs');
const path = require('path');

const KEYWORDS = ['はじめ', 'おわり', '見る', '打つ', 'くり返し', '開く', '閉じる', '読む', '書く', '読みきり'];
const FILE_KEYWORDS = ['開く', '閉じる', '読む', '書く', '読みきり'];

// Characters whose Shift-JIS second byte is '{' (0x7B) or '}' (0x7D).
function splittingCharacters() {
  const decoder = new TextDecoder('shift_jis', { fatal: true });
  let chars = '';
  for (let lead = 0x81; lead <= 0xfc; lead++) {
    if (lead > 0x9f && lead < 0xe0) continue;
    for (const trail of [0x7b, 0x7d]) {
      let text;
      try {
        text = decoder.decode(new Uint8Array([lead, trail]));
      } catch {
        continue;
      }
      if (text.length === 1) chars += text;
    }
  }
  if (!chars.includes('マ') || !chars.includes('倍')) {
    throw new Error('this Node decodes no Shift-JIS (built without ICU?)');
  }
  return chars;
}

const SPLIT = splittingCharacters();
// The delimiter bytes, as the inside of a character class.
const DELIM = ',\\f:\\t=)(+\\-/*<>{}';
const FULL_WIDTH_SPACE = '\\x{3000}';
// Something ends the token before it: a delimiter or the trail byte of a
// splitting character.
const TOKEN_START = `(?:^|(?<=[${DELIM}${SPLIT}]))[ ]*`;
// Nothing more belongs to the token: spaces are squeezed out, then a
// delimiter, ';' or the line end follows.
const TOKEN_END = `(?=[ ]*(?:[${DELIM};]|$))`;
// A character of a token's text, quotes included; then without them (a
// quoted section is taken apart).
const TEXT_CHAR = `[^${DELIM}; \\n${SPLIT}${FULL_WIDTH_SPACE}]`;
const TOKEN_CHAR = `[^${DELIM}; \\n"${SPLIT}${FULL_WIDTH_SPACE}]`;
const TOKEN = `${TOKEN_CHAR}(?:${TOKEN_CHAR}|[ ]+(?=${TOKEN_CHAR}))*`;

const alternatives = (words) => words.join('|');

const C_CONTROL = ['if', 'else', 'while', 'for', 'do', 'switch', 'case', 'default', 'break', 'continue',
  'return', 'goto'];
const C_TYPES = ['int', 'char', 'float', 'double', 'long', 'short', 'unsigned', 'signed', 'void', 'FILE',
  'struct', 'const', 'static'];
const C_FUNCTIONS = ['printf', 'scanf', 'sprintf', 'sscanf', 'fprintf', 'fscanf', 'fgets', 'fputs', 'puts',
  'gets', 'getchar', 'putchar', 'strcpy', 'strncpy', 'strcat', 'strcmp', 'strncmp', 'strlen', 'atoi', 'atof',
  'abs', 'fabs', 'sqrt', 'pow', 'sin', 'cos', 'tan', 'exp', 'log', 'floor', 'ceil', 'rand', 'srand', 'time',
  'exit', 'malloc', 'free', 'fopen', 'fclose', 'feof', 'fflush', 'delkai'];

// A variable runs from its first character to the end of its token; the
// blanks inside it are squeezed out, a full-width space stays in the name.
function variable(first, kind) {
  return {
    begin: `${TOKEN_START}(${first})`,
    beginCaptures: { 1: { name: `variable.other.${kind}.zem` } },
    end: `(?=[ ]*(?:[${DELIM};${SPLIT}]|$))`,
    contentName: `variable.other.${kind}.zem`,
    patterns: [{ include: '#quoted-section' }, { include: '#removed-space' }, { include: '#full-width-space' }],
  };
}

// What a statement's arguments may hold: the statement ends at the line's
// end or its first ';' outside quotes.
const STATEMENT_ARGUMENTS = [
  { include: '#string' },
  { include: '#numeric-variable' },
  { include: '#string-variable' },
  { include: '#second-statement' },
  { include: '#splitting-character' },
  { include: '#full-width-space' },
  { include: '#joining-space' },
  { include: '#number' },
];

const grammar = {
  name: 'Zem',
  scopeName: 'source.zem',
  fileTypes: ['zem'],
  patterns: [
    { include: '#ignored' },
    { include: '#block-comment' },
    { include: '#line-comment' },
    { include: '#string' },
    { include: '#char' },
    { include: '#statement' },
    { include: '#joined-keyword' },
    { include: '#numeric-variable' },
    { include: '#string-variable' },
    { include: '#splitting-character' },
    { include: '#full-width-space' },
    { include: '#joining-space' },
    { include: '#c-words' },
    { include: '#number' },
    { include: '#operator' },
  ],
  repository: {
    ignored: {
      comment: 'The line ends at its first ; outside quotes; the translator drops the rest.',
      match: '(;)(.*)$',
      captures: {
        1: { name: 'punctuation.terminator.statement.zem' },
        2: { name: 'comment.line.ignored.zem' },
      },
    },
    'block-comment': {
      comment: 'A C comment; a ; or a statement inside it takes its */ away, and it runs on.',
      begin: '/\\*',
      end: '\\*/',
      name: 'comment.block.c.zem',
      patterns: [{ include: '#quoted-section' }, { include: '#statement' }, { include: '#ignored' }],
    },
    'line-comment': {
      begin: '//',
      end: '$',
      name: 'comment.line.double-slash.zem',
      patterns: [{ include: '#quoted-section' }, { include: '#statement' }, { include: '#ignored' }],
    },
    'quoted-section': {
      comment: 'Quotes hide a ; from the translator, also where C sees no string.',
      match: '"[^"]*(?:"|$)',
    },
    string: {
      begin: '"',
      end: '"|$',
      name: 'string.quoted.double.zem',
      beginCaptures: { 0: { name: 'punctuation.definition.string.begin.zem' } },
      endCaptures: { 0: { name: 'punctuation.definition.string.end.zem' } },
      patterns: [
        { match: '\\\\(?:[abfnrtv\\\\\'?0]|x\\h+|[0-7]{1,3})', name: 'constant.character.escape.zem' },
        { match: '%[-+#0]*\\d*(?:\\.\\d+)?[hlL]*[diouxXeEfgGcsp%]', name: 'constant.other.placeholder.zem' },
        { include: '#removed-space' },
      ],
    },
    char: {
      comment: 'A C character literal; one holding ; or " is cut or opened by the translator.',
      match: '\'(?:[^\'\\\\;"]|\\\\[^;"])+\'',
      name: 'string.quoted.single.zem',
    },
    statement: {
      patterns: [
        {
          comment: 'The token after a file statement names the file.',
          begin: `${TOKEN_START}(${alternatives(FILE_KEYWORDS)})${TOKEN_END}(?:[ ]*([${DELIM}])[ ]*(${TOKEN}))?`,
          beginCaptures: {
            1: { name: 'keyword.other.statement.zem' },
            3: { name: 'entity.name.file.zem' },
          },
          end: '(?=;)|$',
          name: 'meta.statement.zem',
          patterns: STATEMENT_ARGUMENTS,
        },
        {
          begin: `${TOKEN_START}(${alternatives(KEYWORDS)})${TOKEN_END}`,
          beginCaptures: { 1: { name: 'keyword.other.statement.zem' } },
          end: '(?=;)|$',
          name: 'meta.statement.zem',
          patterns: STATEMENT_ARGUMENTS,
        },
      ],
    },
    'second-statement': {
      comment: 'Only the first keyword of a line makes a statement.',
      match: `${TOKEN_START}(${alternatives(KEYWORDS)})${TOKEN_END}`,
      captures: { 1: { name: 'invalid.illegal.second-statement.zem' } },
    },
    'joined-keyword': {
      comment: 'A keyword joined to the text after it, or to an else before it, is no statement.',
      match: `${TOKEN_START}(${alternatives(KEYWORDS)})(?![ ]*(?:[${DELIM};]|$))`
        + `|(?<=else )[ ]*(${alternatives(KEYWORDS)})`,
      captures: {
        1: { name: 'invalid.illegal.joined-keyword.zem' },
        2: { name: 'invalid.illegal.joined-keyword.zem' },
      },
    },
    'numeric-variable': variable('数', 'numeric'),
    'string-variable': variable('字', 'string'),
    'splitting-character': {
      comment: 'Its second byte in Shift-JIS is { or }, which splits the name there.',
      match: `[${SPLIT}]`,
      name: 'invalid.illegal.splits-name.zem',
    },
    'full-width-space': {
      comment: 'No blank to the translator: it joins the texts beside it.',
      match: FULL_WIDTH_SPACE,
      name: 'invalid.illegal.full-width-space.zem',
    },
    'removed-space': {
      comment: 'The translator removes it, inside quotes too; one after else stays.',
      match: '(?<!else) +',
      name: 'invalid.deprecated.removed-space.zem',
    },
    'joining-space': {
      comment: 'Between two texts it goes, and they become one: return 0 is return0.',
      match: `(?<=${TEXT_CHAR})(?<!else) +(?=${TEXT_CHAR})`,
      name: 'invalid.deprecated.removed-space.zem',
    },
    'c-words': {
      patterns: [
        { match: `\\b(?:${alternatives(C_CONTROL)})\\b`, name: 'keyword.control.c.zem' },
        { match: `\\b(?:${alternatives(C_TYPES)})\\b`, name: 'storage.type.c.zem' },
        { match: '\\bsizeof\\b', name: 'keyword.operator.sizeof.c.zem' },
        { match: `\\b(?:${alternatives(C_FUNCTIONS)})\\b`, name: 'support.function.c.zem' },
        { match: '\\b(?:NULL|EOF)\\b', name: 'constant.language.c.zem' },
      ],
    },
    number: {
      match: '\\b(?:0[xX]\\h+|\\d+(?:\\.\\d*)?(?:[eE][-+]?\\d+)?)[uUlLfF]*\\b',
      name: 'constant.numeric.zem',
    },
    operator: {
      match: '[-+*/%=<>!&|^~?]+',
      name: 'keyword.operator.zem',
    },
  },
};

function main() {
  const target = path.join(__dirname, 'zem.tmLanguage.json');
  const text = JSON.stringify(grammar, null, 2) + '\n';
  if (process.argv.includes('--check')) {
    if (fs.readFileSync(target, 'utf8') !== text) {
      console.error(`${target} is not what generate.js makes: run node ${path.relative(process.cwd(), __filename)}`);
      process.exit(1);
    }
    return;
  }
  fs.writeFileSync(target, text);
}

main();
