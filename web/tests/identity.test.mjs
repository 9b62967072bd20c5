// Same bytes everywhere: the module under Node against the native bivox-cli, over every
// golden case, a few hundred generated scores and nestings up to a million levels deep:
// output bytes, output name, stop and end positions with their lines and columns, the
// summary, the diagnostics with their places, fatal messages and the stereo placement; and
// the stereo options with the stereo map against bivox-cli given the same options.
//
// The module runs in a process with a 64 MB stack, so that the engine's own nesting limit
// ends a deep score as it does natively; with the JavaScript engine's usual stack (Node's
// or a browser's) the nesting stop comes earlier, which the last test checks.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { createBivox } from '../../build-web/bivox.js';
import {
  generate,
  goldenCases,
  minuetPath,
  moduleView,
  nativeView,
  runNative,
  tempDir,
} from './support.mjs';

const JOBS = ['syntax', 'expand', 'stereo'];
const SIZES = [400, 4000, 40000];
const SEEDS = 100;
const DEPTHS = [1, 2, 10, 100, 1000, 1666, 1667, 5000, 1000000];

// Stereo options as the module takes them and as bivox-cli does: the pan range reversed
// and narrowed, a fixed pitch range by names and by numbers, tracks left alone.
const STEREO_OPTIONS = [
  [{ panRange: '-32..32' }, ['--pan-range', '-32..32']],
  [
    { panRange: '40..-20', pitchRange: 'C2..C7', leave: 'BA' },
    ['--pan-range', '40..-20', '--pitch-range', 'C2..C7', '--leave', 'BA'],
  ],
  [{ pitchRange: '50..60', leave: 'Z' }, ['--pitch-range', '50..60', '--leave', 'Z']],
];

const STACK_KB = 65536;

let bivox;
let runner;
const pending = new Map();
let nextId = 1;
let compared = 0;

before(async () => {
  bivox = await createBivox();
  const script = fileURLToPath(new URL('./module-runner.mjs', import.meta.url));
  runner = spawn(
    'bash',
    ['-c', `ulimit -s ${2 * STACK_KB} && exec "$0" --stack-size=${STACK_KB} "$1"`, process.execPath, script],
    { stdio: ['ignore', 'inherit', 'inherit', 'ipc'], serialization: 'advanced' },
  );
  runner.on('message', ({ id, results }) => pending.get(id).resolve(results));
  runner.on('exit', (code) => {
    for (const { reject } of pending.values()) reject(new Error(`module runner ended: ${code}`));
  });
});

after(() => {
  runner.disconnect();
  console.log(`same results as bivox-cli: ${compared} job runs`);
});

function runModule(runs) {
  const id = nextId++;
  return new Promise((resolve, reject) => {
    pending.set(id, { resolve, reject });
    runner.send({ id, runs });
  });
}

// Writes the scores into a folder, runs the job over all of them in one session on each
// side, and compares run by run.
async function compare(job, scores, label) {
  const dir = tempDir('bivox-web-');
  for (const { name, bytes } of scores) writeFileSync(path.join(dir, name), bytes);
  const native = runNative(job, dir, scores.map((s) => s.name));
  const mine = await runModule(scores.map(({ name, bytes }) => ({ job, bytes, name })));
  assert.equal(mine.length, native.length, `${label}: runs`);
  mine.forEach((r, i) => {
    const what = `${label}: ${job} ${scores[i].name}`;
    assert.ok(Buffer.from(r.output).equals(Buffer.from(native[i].output)), `${what}: output bytes`);
    assert.deepEqual(moduleView(r), nativeView(native[i].json), what);
    compared += 1;
  });
}

test('every golden case', async () => {
  for (const c of goldenCases()) {
    const bytes = bivox.encode(c.text);
    for (const job of c.jobs) await compare(job, [{ name: 'score.zrb', bytes }], c.name);
  }
});

test('generated scores, each job over all of them in one session', async () => {
  const scores = [];
  for (let seed = 1; seed <= SEEDS; seed++) {
    for (const size of SIZES) scores.push({ name: `g${size}-${seed}.zrb`, bytes: generate(size, seed) });
  }
  for (const job of JOBS) await compare(job, scores, 'generated');
});

test('nestings up to a million levels deep', async () => {
  for (const depth of DEPTHS) {
    const score = { name: `nested${depth}.zrb`, bytes: generate('--nested', depth) };
    for (const job of JOBS) await compare(job, [score], 'nested');
  }
});

test('stereo options and the stereo map, as bivox-cli with the same options', () => {
  const scores = [
    { name: 'minuet.zrb', bytes: new Uint8Array(readFileSync(minuetPath)) },
    { name: 'g4000.zrb', bytes: generate(4000, 3) },
  ];
  for (const [stereo, cliOptions] of STEREO_OPTIONS) {
    for (const { name, bytes } of scores) {
      const dir = tempDir('bivox-web-');
      writeFileSync(path.join(dir, name), bytes);
      const [native] = runNative('stereo', dir, [name], [...cliOptions, '--map', 'map.svg']);
      const r = new bivox.Session().run('stereo', bytes, name, { stereo });
      const what = `${name} ${cliOptions.join(' ')}`;
      assert.ok(Buffer.from(r.output).equals(Buffer.from(native.output)), `${what}: output bytes`);
      assert.deepEqual(moduleView(r), nativeView(native.json), what);
      assert.equal(r.stereoMap, readFileSync(path.join(dir, 'map.svg'), 'utf8'), `${what}: map`);
      compared += 1;
    }
  }
  // A refused text throws the core's message, which stereoRefusal gives beforehand.
  const session = new bivox.Session();
  const run = (stereo) => session.run('stereo', scores[0].bytes, 'minuet.zrb', { stereo });
  assert.throws(() => run({ panRange: '5..5' }), { name: 'Error', message: /^'5\.\.5': / });
  const message = bivox.stereoRefusal({ leave: 'AQ' });
  assert.match(message, /'Q' is no track letter/);
  assert.throws(() => run({ leave: 'AQ' }), { message });
});

test('with a browser-sized stack a million levels end in the nesting stop, and the session goes on', () => {
  const session = new bivox.Session();
  const deep = session.run('stereo', generate('--nested', 1000000), 'deep.zrb');
  assert.match(deep.fatal, /^NestDepth\[\d+\]Over!!!\n$/);
  assert.ok(Number(deep.fatal.match(/\d+/)[0]) <= 20000);
  assert.ok(bivox.decode(deep.output).endsWith(deep.fatal.replace('\n', '\r\n')));

  const dir = tempDir('bivox-web-');
  const minuet = new Uint8Array(readFileSync(minuetPath));
  writeFileSync(path.join(dir, 'minuet.zrb'), minuet);
  const [native] = runNative('stereo', dir, ['minuet.zrb']);
  const r = session.run('stereo', minuet, 'minuet.zrb');
  assert.ok(Buffer.from(r.output).equals(Buffer.from(native.output)));
  assert.deepEqual(moduleView(r), nativeView(native.json));
});
