// The entry point in the packed extension starts `zemuc lsp` with the real
// vscode-languageclient it bundles: the command from zemuc.path (zemuc on
// PATH by default), the one argument `lsp`, the protocol over its standard
// input and output from initialize to exit; a server that cannot start is a
// warning, not a failed activation; a new zemuc.path restarts the server.
//   node entry_test.js EXTENSION.vsix
'use strict';

const assert = require('assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { readVsix } = require('./vsix');

const FULL_SESSION = ['initialize', 'initialized', 'shutdown', 'exit'];

async function main() {
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'zem-entry-'));
  try {
    const entries = await readVsix(process.argv[2]);
    const manifest = JSON.parse(entries.get('extension/package.json'));
    const bundle = path.join(scratch, 'extension.js');
    fs.writeFileSync(bundle, entries.get(path.posix.join('extension', manifest.main)));

    // Servers: `zemuc` on PATH, and two more under other names.
    const bin = path.join(scratch, 'bin');
    fs.mkdirSync(bin);
    const fake = fs.readFileSync(path.join(__dirname, 'fake-zemuc.js'));
    for (const name of ['zemuc', 'other-zemuc', 'second-zemuc']) {
      fs.writeFileSync(path.join(bin, name), fake, { mode: 0o755 });
    }
    const server = (name) => path.join(bin, name);

    // Each case: the settings, the change after activation, and per server
    // the session expected (null: never started).
    const cases = [
      { name: 'zemuc.path unset: zemuc on PATH', settings: {}, sessions: { zemuc: FULL_SESSION } },
      { name: 'zemuc.path blank: zemuc on PATH', settings: { 'zemuc.path': '  ' }, sessions: { zemuc: FULL_SESSION } },
      {
        name: 'zemuc.path set: that command',
        settings: { 'zemuc.path': server('other-zemuc') },
        sessions: { zemuc: null, 'other-zemuc': FULL_SESSION },
      },
      {
        name: 'zemuc.path changed: the old server ends, the new one starts',
        settings: { 'zemuc.path': server('other-zemuc') },
        then: { 'zemuc.path': server('second-zemuc') },
        sessions: { zemuc: null, 'other-zemuc': FULL_SESSION, 'second-zemuc': FULL_SESSION },
      },
      {
        name: 'zemuc.path missing: a warning that names it, activation goes on',
        settings: { 'zemuc.path': path.join(scratch, 'nowhere', 'zemuc') },
        sessions: { zemuc: null },
        warning: /zemuc lsp could not start \(.*nowhere\/zemuc\)/,
      },
    ];

    let failed = 0;
    for (const c of cases) {
      const records = path.join(scratch, c.name.replace(/\W+/g, '-'));
      fs.mkdirSync(records);
      const env = { ...process.env, PATH: `${bin}${path.delimiter}${process.env.PATH}` };
      try {
        const output = execFileSync(process.execPath,
          [path.join(__dirname, 'fake-vscode.js'), bundle, JSON.stringify({ settings: c.settings, then: c.then })],
          // Each server records under its own name.
          { env: { ...env, RECORD_DIR: records }, encoding: 'utf8', timeout: 30000 });
        const result = JSON.parse(output.trim().split('\n').pop());
        assert.ok(!result.failed, result.failed);
        assert.ok(result.activated && result.deactivated);
        for (const [name, expected] of Object.entries(c.sessions)) {
          const file = path.join(records, name);
          if (expected === null) {
            assert.ok(!fs.existsSync(`${file}.args`), `${name} was started`);
            continue;
          }
          assert.deepStrictEqual(JSON.parse(fs.readFileSync(`${file}.args`, 'utf8')), ['lsp'], `${name}'s arguments`);
          // The editor does not wait for its server to take the last message:
          // give a loaded machine time (a guard against a hang, not a limit).
          const until = Date.now() + 30_000;
          const read = () => (fs.existsSync(`${file}.messages`) ? fs.readFileSync(`${file}.messages`, 'utf8') : '[]');
          while (read() !== JSON.stringify(expected) && Date.now() < until) {
            await new Promise((resolve) => setTimeout(resolve, 50));
          }
          assert.deepStrictEqual(JSON.parse(read()), expected, `${name}'s session`);
        }
        const warnings = result.shown.filter((text) => text.startsWith('warning: '));
        if (c.warning) {
          assert.strictEqual(warnings.length, 1, JSON.stringify(result.shown));
          assert.match(warnings[0], c.warning);
        } else {
          assert.deepStrictEqual(result.shown, []);
        }
        console.log(`ok: ${c.name}`);
      } catch (error) {
        failed++;
        console.log(`FAILED: ${c.name}: ${error.message}`);
      }
    }
    console.log(`${cases.length - failed} passed, ${failed} failed`);
    process.exitCode = failed ? 1 : 0;
  } finally {
    fs.rmSync(scratch, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
