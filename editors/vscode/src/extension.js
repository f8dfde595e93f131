// Starts `zemuc lsp` for .zem documents and talks to it over its standard
// input and output. The colours come from the grammar alone, so they work
// when zemuc is missing; the extension then says so once.
'use strict';

const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function serverCommand() {
  const configured = vscode.workspace.getConfiguration('zemuc').get('path');
  return typeof configured === 'string' && configured.trim() !== '' ? configured.trim() : 'zemuc';
}

async function start() {
  const command = serverCommand();
  // No transport given: the server talks over stdio and gets no --stdio
  // argument, only `lsp`.
  const serverOptions = { command, args: ['lsp'] };
  const clientOptions = {
    documentSelector: [
      { scheme: 'file', language: 'zem' },
      { scheme: 'untitled', language: 'zem' },
    ],
  };
  client = new LanguageClient('zemuc', 'zemuc lsp', serverOptions, clientOptions);
  try {
    await client.start();
  } catch (error) {
    client = undefined;
    vscode.window.showWarningMessage(
      `zemuc lsp could not start (${command}): ${error && error.message ? error.message : error}. ` +
        'Set zemuc.path to the zemuc command.');
  }
}

async function stop() {
  const running = client;
  client = undefined;
  if (running) await running.stop();
}

async function activate(context) {
  context.subscriptions.push(
    vscode.workspace.onDidChangeConfiguration(async (event) => {
      if (event.affectsConfiguration('zemuc.path')) {
        await stop();
        await start();
      }
    }),
    { dispose: () => stop() },
  );
  await start();
}

function deactivate() {
  return stop();
}

module.exports = { activate, deactivate };
