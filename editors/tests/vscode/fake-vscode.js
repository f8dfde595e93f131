// Runs the bundled entry point of the extension as VS Code would, with a
// stand-in for the `vscode` module, through one scenario, and prints what
// happened as JSON: the warnings and errors shown, and whether activation
// and deactivation finished.
//   node fake-vscode.js BUNDLE SCENARIO-JSON
// The scenario: { "settings": {"zemuc.path": ...}, "then": {"zemuc.path": ...} }
// "then" changes the settings after activation and tells the extension so.
// Only what the extension and vscode-languageclient use is real here; every
// other name of the API is an object that accepts any use and does nothing.
'use strict';

const Module = require('module');

const [bundle, scenarioText] = process.argv.slice(2);
const scenario = JSON.parse(scenarioText);
let settings = { ...scenario.settings };
const shown = [];
const configurationListeners = [];

function message(kind) {
  return (text) => {
    shown.push(`${kind}: ${text}`);
    return Promise.resolve(undefined);
  };
}

const real = {
  'vscode.version': '1.90.0',
  'vscode.env.appName': 'stand-in',
  'vscode.env.language': 'en',
  'vscode.workspace.workspaceFolders': undefined,
  'vscode.workspace.textDocuments': [],
  'vscode.workspace.getConfiguration': (section) => ({
    get: (key, fallback) => settings[section ? `${section}.${key}` : key] ?? fallback,
  }),
  'vscode.workspace.onDidChangeConfiguration': (listener) => {
    configurationListeners.push(listener);
    return { dispose() {} };
  },
  'vscode.window.showWarningMessage': message('warning'),
  'vscode.window.showErrorMessage': message('error'),
  'vscode.window.showInformationMessage': message('information'),
  'vscode.window.createOutputChannel': () => ({
    append() {}, appendLine() {}, replace() {}, clear() {}, show() {}, hide() {}, dispose() {},
  }),
};

function standIn(name) {
  return new Proxy(function () {}, {
    get(target, property) {
      if (property === 'then') return undefined; // not a promise
      if (property === 'prototype') return target.prototype;
      const key = `${name}.${String(property)}`;
      return key in real ? real[key] : standIn(key);
    },
    apply: () => standIn(`${name}()`),
    construct: () => standIn(`new ${name}`),
  });
}

const load = Module._load;
Module._load = function (request, ...rest) {
  return request === 'vscode' ? standIn('vscode') : load.call(this, request, ...rest);
};

async function main() {
  const extension = require(bundle);
  const context = { subscriptions: [] };
  const result = { activated: false, deactivated: false };
  await extension.activate(context);
  result.activated = true;
  if (scenario.then) {
    settings = { ...settings, ...scenario.then };
    const changed = Object.keys(scenario.then);
    const event = {
      affectsConfiguration: (section) => changed.some((key) => key === section || key.startsWith(`${section}.`)),
    };
    // The listeners there were when the settings changed.
    for (const listener of [...configurationListeners]) await listener(event);
  }
  await extension.deactivate();
  result.deactivated = true;
  result.shown = shown;
  console.log(JSON.stringify(result));
}

main().then(
  () => process.exit(0),
  (error) => {
    console.log(JSON.stringify({ failed: String(error && error.stack ? error.stack : error), shown }));
    process.exit(0);
  },
);
