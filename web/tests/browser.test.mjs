// The page in a real browser: Debian's chromium, headless, driven by puppeteer-core against
// build-web/ on a local server, compared with what bivox-cli writes.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { copyFileSync, existsSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { setTimeout as sleep } from 'node:timers/promises';

import puppeteer from 'puppeteer-core';

import { createBivox } from '../../build-web/bivox.js';
import { buildWeb, generate, minuetPath, runNative, tempDir } from './support.mjs';

const CHROMIUM_ARGS = [
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];
const JOB_TIMEOUT = 120_000;

let server;
let browser;
let page;
let downloads;
let bivox;
const problems = [];

// A static file server over build-web/ on a free local port.
function serve() {
  const child = spawn(
    'python3',
    ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', buildWeb],
    { stdio: ['ignore', 'pipe', 'ignore'] },
  );
  return new Promise((resolve, reject) => {
    child.once('error', reject);
    child.stdout.on('data', (chunk) => {
      const port = String(chunk).match(/port (\d+)/)?.[1];
      if (port) resolve({ child, origin: `http://127.0.0.1:${port}/` });
    });
  });
}

before(async () => {
  bivox = await createBivox();
  server = await serve();
  browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    userDataDir: tempDir('bivox-chromium-'),
    args: CHROMIUM_ARGS,
  });
  downloads = tempDir('bivox-downloads-');
  const cdp = await browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  page = await browser.newPage();
  page.on('console', (m) => m.type() === 'error' && problems.push(`console: ${m.text()}`));
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  page.on('requestfailed', (r) => problems.push(`request failed: ${r.url()}`));
  await page.setViewport({ width: 1100, height: 1000 });
  await page.goto(server.origin);
  await page.waitForFunction(() => document.querySelector('#lower pre')?.textContent.includes('簡単取扱説明'));
});

after(async () => {
  server?.child.kill();
  await Promise.race([browser?.close(), sleep(10_000)]);
  browser?.process()?.kill('SIGKILL');
});

async function openScore(file) {
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#choose')]);
  await chooser.accept([file]);
  await page.waitForFunction(
    (name) =>
      document.getElementById('caption').textContent === name &&
      document.querySelector('#lower li')?.textContent === 'ファイルが指定されました。',
    {},
    path.basename(file),
  );
}

function pageState() {
  return page.evaluate(() => ({
    caption: document.getElementById('caption').textContent,
    upper: document.getElementById('upper').textContent,
    lower: [...document.querySelectorAll('#lower li')].map((li) => li.textContent),
    notice: document.getElementById('notice').hidden ? null : document.getElementById('notice').textContent,
    download: document.getElementById('download').download,
  }));
}

async function runJob(job) {
  await page.click(`#${job}`);
  await page.waitForFunction(() => !document.body.classList.contains('running'), { timeout: JOB_TIMEOUT });
  return pageState();
}

async function download() {
  const name = await page.$eval('#download', (a) => a.download);
  const file = path.join(downloads, name);
  rmSync(file, { force: true });
  await page.click('#download');
  for (let waited = 0; !existsSync(file) && waited < 10_000; waited += 50) await sleep(50);
  return new Uint8Array(readFileSync(file));
}

function nativeOf(job, file, options = []) {
  const dir = tempDir('bivox-web-');
  copyFileSync(file, path.join(dir, path.basename(file)));
  return { dir, ...runNative(job, dir, [path.basename(file)], options)[0] };
}

const same = (a, b) => Buffer.from(a).equals(Buffer.from(b));
// What the upper view shows of an output file: its lines, ending in line feeds.
const shown = (bytes) => bivox.decode(bytes).replaceAll('\r\n', '\n');

test('stereo conversion of the example, opened through the file chooser', async () => {
  await openScore(minuetPath);
  const result = await runJob('stereo');
  const native = nativeOf('stereo', minuetPath);

  assert.equal(result.caption, '_minuet.zrb');
  assert.equal(result.upper, shown(native.output));
  const located = native.json.diagnostics.map((text, i) => {
    const at = native.json.diagnostics_at[i];
    return `${at.line}:${at.column} ${text}`;
  });
  assert.deepEqual(result.lower, [native.json.summary, ...located, native.json.summary]);
  assert.ok(same(await download(), native.output), 'downloaded bytes');

  const bars = await page.$$eval('#stereo-map svg rect.bar', (rs) =>
    rs.map((r) => [r.dataset.track, Number(r.dataset.lowestPan), Number(r.dataset.highestPan)]),
  );
  const placed = native.json.placement.tracks.filter((t) => t.pan);
  assert.deepEqual(bars, placed.map((t) => [t.track, t.pan.lowest, t.pan.highest]));
  await page.screenshot({ path: path.join(buildWeb, 'page.png'), fullPage: true });
});

test('a stereo option on the page gives what bivox-cli gives with it, until the defaults return', async () => {
  await openScore(minuetPath);
  await page.type('#pan-range', '20..-40');
  const result = await runJob('stereo');
  const native = nativeOf('stereo', minuetPath, ['--pan-range', '20..-40']);

  assert.equal(result.upper, shown(native.output));
  assert.ok(same(await download(), native.output), 'downloaded bytes');
  assert.equal(result.lower[1], 'ステレオ化の設定：パンの範囲 20..-40');
  const band = await page.$eval('#stereo-map svg', (svg) => [svg.dataset.panLeft, svg.dataset.panRight]);
  assert.deepEqual(band, ['20', '-40']);

  await page.click('#stereo-defaults');
  await openScore(minuetPath);
  const plain = await runJob('stereo');
  assert.equal(plain.upper, shown(nativeOf('stereo', minuetPath).output));
  assert.equal(plain.lower.length, result.lower.length - 1, 'no settings line');
});

test('macro expansion then stereo conversion chain as in the dialog', async () => {
  await openScore(minuetPath);
  const expanded = await runJob('expand');
  const native = nativeOf('expand', minuetPath);
  assert.equal(expanded.caption, '_minuet.zrb');
  assert.equal(expanded.upper, shown(native.output));

  const stereo = await runJob('stereo');
  const [chained] = runNative('stereo', native.dir, ['_minuet.zrb']);
  assert.equal(stereo.caption, '__minuet.zrb');
  assert.equal(stereo.download, '__minuet.zrb');
  assert.equal(stereo.upper, shown(chained.output));
  assert.ok(same(await download(), chained.output), 'downloaded bytes');
});

test('a score that stops early shows where, and the place on a click', async () => {
  const file = path.join(tempDir('bivox-web-'), 'stops.zrb');
  writeFileSync(file, '#A0 c4 d4\r\ne4 @@@ f4\r\n');
  await openScore(file);
  await runJob('syntax');
  const native = nativeOf('syntax', file);
  const { line, column } = native.json.stop_at;

  assert.equal(await page.$eval('#lower li.stop .where', (e) => e.textContent), `${line}:${column}`);
  await page.click('#lower li.stop');
  const place = await page.evaluate(() => ({
    hidden: document.getElementById('place').hidden,
    line: document.getElementById('place-line').textContent,
    marked: document.querySelector('#place-line mark').textContent,
  }));
  assert.deepEqual(place, { hidden: false, line: 'e4 @@@ f4', marked: 'e4 @@@ f4'[column - 1] });
});

test('a large score runs in the worker while the page answers', async () => {
  const file = path.join(tempDir('bivox-web-'), 'large.zrb');
  writeFileSync(file, generate(2_000_000, 7));
  await openScore(file);
  await page.click('#stereo');
  const answered = await page.evaluate(() => ({
    running: document.body.classList.contains('running'),
    caption: document.getElementById('caption').textContent,
  }));
  assert.equal(answered.running, true);
  assert.match(answered.caption, /^ステレオ化：実行中=[01]$/);
  await page.waitForFunction(() => !document.body.classList.contains('running'), { timeout: JOB_TIMEOUT });
  assert.equal((await pageState()).caption, '_large.zrb');
});

test('a million levels of nesting end in the fatal stop, and the page goes on', async () => {
  const file = path.join(tempDir('bivox-web-'), 'deep.zrb');
  writeFileSync(file, generate('--nested', 1_000_000));
  await openScore(file);
  const stopped = await runJob('stereo');
  assert.match(stopped.notice, /^NestDepth\[\d+\]Over!!!$/);
  assert.equal(await page.$eval('#lower li.fatal', (li) => li.lastChild.textContent), stopped.notice);

  await openScore(minuetPath);
  const after = await runJob('syntax');
  assert.equal(after.notice, null);
  assert.equal(after.upper, shown(nativeOf('syntax', minuetPath).output));
});

test('the guide texts show in the lower view', async () => {
  await page.select('#guide', '6');
  await page.waitForFunction(() => document.querySelector('#lower pre')?.textContent.startsWith('【このボックス】'));
});

test('the page logged no error', () => {
  assert.deepEqual(problems, []);
});
