// The committed grammar is what textmate/generate.js makes, and every scope
// it can give is asserted, present, by at least one test file.
//   node grammar_source_test.js
'use strict';

const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const editors = path.join(__dirname, '..');
let failed = 0;
let passed = 0;
const report = (ok, what) => {
  if (ok) passed++;
  else failed++;
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
};

try {
  execFileSync(process.execPath, [path.join(editors, 'textmate', 'generate.js'), '--check'], { stdio: 'inherit' });
  report(true, 'zem.tmLanguage.json is up to date');
} catch {
  report(false, 'zem.tmLanguage.json is up to date');
}

// Every "name" and "contentName" in the grammar, each part of a
// space-separated list on its own.
const scopes = new Set();
(function collect(node) {
  if (Array.isArray(node)) return node.forEach(collect);
  if (node && typeof node === 'object') {
    for (const [key, value] of Object.entries(node)) {
      if ((key === 'name' || key === 'contentName') && typeof value === 'string') {
        value.split(/\s+/).forEach((scope) => scopes.add(scope));
      } else {
        collect(value);
      }
    }
  }
})(JSON.parse(fs.readFileSync(path.join(editors, 'textmate', 'zem.tmLanguage.json'), 'utf8')).repository);

// The required scopes of every assertion line: those before a " - ".
const asserted = new Set();
for (const folder of ['examples', 'traps']) {
  const dir = path.join(editors, 'tests', 'grammar', folder);
  for (const file of fs.readdirSync(dir).filter((name) => name.endsWith('.zem.txt'))) {
    for (const line of fs.readFileSync(path.join(dir, file), 'utf8').split('\n')) {
      const assertion = /^\/\/\s*(?:\^+|<~*-+)\s*(.*)$/.exec(line);
      if (!assertion) continue;
      assertion[1].split(/\s+-(?:\s|$)/)[0].split(/\s+/).filter(Boolean).forEach((scope) => asserted.add(scope));
    }
  }
}
for (const scope of [...scopes].sort()) report(asserted.has(scope), `${scope} is asserted`);

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
