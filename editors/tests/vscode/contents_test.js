// The packed extension holds what VS Code needs to load it: the manifest,
// the bundled entry point it names, the grammar and the language
// configuration it names, and nothing of the sources or node_modules.
//   node contents_test.js EXTENSION.vsix
'use strict';

const assert = require('assert');
const fs = require('fs');
const path = require('path');
const { readVsix } = require('./vsix');

const editors = path.join(__dirname, '..', '..');

// "./dist/extension.js" in the manifest is "extension/dist/extension.js" in
// the package.
const entryOf = (relative) => path.posix.join('extension', relative);

async function main() {
  const entries = await readVsix(process.argv[2]);
  const names = [...entries.keys()].sort();
  for (const name of names) console.log(`${String(entries.get(name).length).padStart(8)}  ${name}`);

  const manifest = JSON.parse(entries.get('extension/package.json'));
  const checks = [
    ['the manifest of the package', () => assert.ok(entries.has('extension.vsixmanifest'))],
    ['the entry point', () => {
      assert.ok(entries.has(entryOf(manifest.main)), `${manifest.main} is not in the package`);
      const bundle = entries.get(entryOf(manifest.main)).toString();
      assert.match(bundle, /require\("vscode"\)/);
      assert.doesNotMatch(bundle, /require\("vscode-languageclient/, 'the client is not bundled');
    }],
    ['started for zem documents', () => assert.ok(manifest.activationEvents.includes('onLanguage:zem'))],
    ['the zem language on .zem files', () => {
      const [language] = manifest.contributes.languages;
      assert.strictEqual(language.id, 'zem');
      assert.deepStrictEqual(language.extensions, ['.zem']);
      const configuration = JSON.parse(entries.get(entryOf(language.configuration)));
      assert.deepStrictEqual(configuration.comments, { lineComment: '//', blockComment: ['/*', '*/'] });
      assert.ok(configuration.brackets.some(([open, close]) => open === '{' && close === '}'));
    }],
    ['the grammar, as in editors/textmate', () => {
      const [grammar] = manifest.contributes.grammars;
      assert.strictEqual(grammar.language, 'zem');
      assert.strictEqual(grammar.scopeName, 'source.zem');
      const packed = entries.get(entryOf(grammar.path));
      assert.ok(packed, `${grammar.path} is not in the package`);
      assert.ok(packed.equals(fs.readFileSync(path.join(editors, 'textmate', 'zem.tmLanguage.json'))));
    }],
    ['the zemuc.path setting', () => {
      const setting = manifest.contributes.configuration.properties['zemuc.path'];
      assert.strictEqual(setting.type, 'string');
      assert.strictEqual(setting.default, 'zemuc');
    }],
    ['no sources, no node_modules', () => {
      const stray = names.filter((name) => /^extension\/(src|node_modules)\//.test(name));
      assert.deepStrictEqual(stray, []);
    }],
  ];
  let failed = 0;
  for (const [what, check] of checks) {
    try {
      check();
      console.log(`ok: ${what}`);
    } catch (error) {
      failed++;
      console.log(`FAILED: ${what}: ${error.message}`);
    }
  }
  console.log(`${checks.length - failed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
