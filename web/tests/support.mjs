// What the web tests share: the built page, the native tools to compare with, the golden
// cases' scores, and the view of a result that both sides must agree on.
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const buildWeb = path.join(root, 'build-web');
export const minuetPath = path.join(root, 'examples/minuet.zrb');
const cli = process.env.BIVOX_CLI ?? path.join(root, 'build/src/bivox-cli');
const scoregen = process.env.BIVOX_SCOREGEN ?? path.join(root, 'build/bench/bivox-scoregen');

const tempDirs = [];
process.once('exit', () => {
  for (const dir of tempDirs) rmSync(dir, { recursive: true, force: true });
});

// A fresh folder under the system's temporary folder, removed when the process ends.
export function tempDir(prefix) {
  const dir = mkdtempSync(path.join(tmpdir(), prefix));
  tempDirs.push(dir);
  return dir;
}

// A score made by the project's generator: generate(BYTES, SEED) or generate('--nested', DEPTH).
export function generate(...args) {
  return new Uint8Array(execFileSync(scoregen, args.map(String), { maxBuffer: 1 << 30 }));
}

// Runs bivox-cli over the named score files in `dir`, in one session as one call does:
// per file run, its JSON object (a stereo conversion's with the placement report) and the
// output file's bytes. `options` are more of bivox-cli's options ('--pan-range', ...).
export function runNative(job, dir, names, options = []) {
  const report = job === 'stereo' ? ['--report'] : [];
  const run = spawnSync(cli, [job, '--json', ...report, ...options, ...names], {
    cwd: dir,
    encoding: 'utf8',
    maxBuffer: 1 << 30,
  });
  if (run.error) throw run.error;
  return run.stdout
    .split('\n')
    .filter(Boolean)
    .map(JSON.parse)
    .map((json) => ({ json, output: new Uint8Array(readFileSync(path.join(dir, json.output))) }));
}

// The golden cases: name, jobs and the score's text (UTF-8; stored as cp932).
export function goldenCases() {
  const dir = path.join(root, 'tests/golden');
  return readdirSync(dir)
    .filter((file) => file.endsWith('.case'))
    .sort()
    .map((file) => {
      const lines = readFileSync(path.join(dir, file), 'utf8').split('\n');
      const jobs = lines.find((l) => l.startsWith('job: ')).slice(5).trim().split(/\s+/);
      const start = lines.indexOf('=== input') + 1;
      const end = lines.findIndex((l, i) => i >= start && l.startsWith('=== '));
      const text = lines.slice(start, end).map((l) => `${l}\n`).join('');
      return { name: path.basename(file, '.case'), jobs, text };
    });
}

const round6 = (value) => Math.round(value * 1e6) / 1e6;

// What a run must give alike on both sides, apart from the output bytes.
export function moduleView(r) {
  const placed = r.placement?.tracks.some((t) => t.lowestPan !== null);
  return {
    outputName: r.outputName,
    complete: r.complete,
    stop: r.stop,
    end: r.end,
    stopAt: [r.stopAt.line, r.stopAt.column],
    summary: r.summary,
    diagnostics: r.diagnostics.map((d) => [d.text, d.position, d.line, d.column]),
    fatal: r.fatal,
    placement: r.placement && {
      options: [
        r.placement.options.panRange,
        r.placement.options.pitchRange && [r.placement.options.pitchRange.lowest, r.placement.options.pitchRange.highest],
        r.placement.options.leave,
      ],
      centre: placed ? round6(r.placement.centre) : null,
      scale: placed ? round6(r.placement.scale) : null,
      tracks: r.placement.tracks.map((t) => [
        t.letter,
        t.notes,
        t.lowestPitch,
        t.lowestNote,
        t.highestPitch,
        t.highestNote,
        t.kind,
        t.lowestPan,
        t.highestPan,
      ]),
    },
  };
}

export function nativeView(j) {
  return {
    outputName: j.output,
    complete: j.complete,
    stop: j.stop,
    end: j.end,
    stopAt: [j.stop_at.line, j.stop_at.column],
    summary: j.summary,
    diagnostics: j.diagnostics.map((text, i) => {
      const at = j.diagnostics_at[i];
      return [text, at.position, at.line, at.column];
    }),
    fatal: j.fatal,
    placement: j.job !== 'stereo' ? null : {
      options: [
        j.placement.options.pan_range,
        j.placement.options.pitch_range &&
          [j.placement.options.pitch_range.lowest.pitch, j.placement.options.pitch_range.highest.pitch],
        j.placement.options.leave,
      ],
      centre: j.placement.centre,
      scale: j.placement.scale,
      tracks: j.placement.tracks.map((t) => [
        t.track,
        t.notes,
        t.lowest.pitch,
        t.lowest.name,
        t.highest.pitch,
        t.highest.name,
        t.placement,
        t.pan?.lowest ?? null,
        t.pan?.highest ?? null,
      ]),
    },
  };
}
