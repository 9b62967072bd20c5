// Starts `bivox-cli lsp` for .zrb scores and offers the two jobs that write a file.
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

// The server's commands take the score's URI; these run them on the active editor's score.
const jobCommands = [
  ['bivox.runExpand', 'bivox.expand'],
  ['bivox.runStereo', 'bivox.stereo'],
];

function activate(context) {
  const program = vscode.workspace.getConfiguration('bivox').get('path', 'bivox-cli');
  client = new LanguageClient(
    'bivox',
    'Bivox',
    { command: program, args: ['lsp'] },
    { documentSelector: [{ language: 'zrb' }] },
  );
  for (const [id, serverCommand] of jobCommands) {
    context.subscriptions.push(
      vscode.commands.registerCommand(id, () => {
        const editor = vscode.window.activeTextEditor;
        if (!editor || editor.document.languageId !== 'zrb') return undefined;
        return client.sendRequest('workspace/executeCommand', {
          command: serverCommand,
          arguments: [editor.document.uri.toString()],
        });
      }),
    );
  }
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
