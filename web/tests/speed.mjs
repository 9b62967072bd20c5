// The module's speed against the native core, measured in one run: the stereo conversion of
// the 1 MB generated score (bivox-scoregen 1000000) by bivox-cli and by the module under
// Node, the first run and the median of the five after it. Prints the figures; the time is
// never a failure.
import { writeFileSync } from 'node:fs';
import path from 'node:path';
import { performance } from 'node:perf_hooks';

import { createBivox } from '../../build-web/bivox.js';
import { generate, runNative, tempDir } from './support.mjs';

const RUNS = 5;

// The first run's time (the module's includes compiling its code) and the median after it.
function timesMs(run) {
  const times = [];
  for (let i = 0; i <= RUNS; i++) {
    const start = performance.now();
    run();
    times.push(performance.now() - start);
  }
  const [first, ...rest] = times;
  return { first, median: rest.sort((a, b) => a - b)[Math.floor(RUNS / 2)] };
}

const score = generate(1000000);
const dir = tempDir('bivox-speed-');
writeFileSync(path.join(dir, 'bench.zrb'), score);
const bivox = await createBivox();

const native = timesMs(() => runNative('stereo', dir, ['bench.zrb']));
const module = timesMs(() => new bivox.Session().run('stereo', score, 'bench.zrb'));
const ms = (t) => `${t.toFixed(0)} ms`;
console.log(
  `stereo conversion of a ${score.length}-byte score, median of ${RUNS} runs: ` +
    `native ${ms(native.median)}, module under Node ${ms(module.median)}, ` +
    `ratio ${(module.median / native.median).toFixed(2)}x ` +
    `(first run: ${ms(native.first)} and ${ms(module.first)})`,
);
