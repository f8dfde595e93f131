#!/usr/bin/env node
// Stands in for `zemuc lsp`: records the arguments it was started with and
// the method of every message it gets, answers initialize and shutdown, and
// ends on exit. It writes RECORD_DIR/NAME.args and RECORD_DIR/NAME.messages,
// NAME being the name it was started under.
const fs = require('fs');
const path = require('path');
const record = path.join(process.env.RECORD_DIR, path.basename(process.argv[1]));
fs.writeFileSync(`${record}.args`, JSON.stringify(process.argv.slice(2)));
let buffer = Buffer.alloc(0);
const seen = [];
function send(message) {
  const body = Buffer.from(JSON.stringify({ jsonrpc: '2.0', ...message }));
  process.stdout.write(`Content-Length: ${body.length}\r\n\r\n`);
  process.stdout.write(body);
}
process.stdin.on('data', (chunk) => {
  buffer = Buffer.concat([buffer, chunk]);
  for (;;) {
    const head = buffer.indexOf('\r\n\r\n');
    if (head < 0) return;
    const length = Number(/Content-Length: (\d+)/i.exec(buffer.subarray(0, head).toString())[1]);
    if (buffer.length < head + 4 + length) return;
    const message = JSON.parse(buffer.subarray(head + 4, head + 4 + length).toString());
    buffer = buffer.subarray(head + 4 + length);
    seen.push(message.method);
    // Whole or not at all: the test may read it while the server still runs.
    fs.writeFileSync(`${record}.messages.new`, JSON.stringify(seen));
    fs.renameSync(`${record}.messages.new`, `${record}.messages`);
    if (message.method === 'initialize') send({ id: message.id, result: { capabilities: {} } });
    if (message.method === 'shutdown') send({ id: message.id, result: null });
    if (message.method === 'exit') process.exit(0);
  }
});
