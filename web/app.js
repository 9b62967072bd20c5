// The page: the dialog's work in a browser. A score is opened with the file chooser or by
// dropping it; the three jobs run in a Web Worker (worker.js); the rebuilt score shows in
// the upper view, the summary with the diagnostics in the lower one, and the output can be
// saved under its derived name. Macro expansion and stereo conversion make their output the
// current score, so jobs chain as in the dialog. The stereo options' three texts are read
// when a job starts; empty ones keep the defaults.
const $ = (id) => document.getElementById(id);

const RUNNING_CAPTIONS = {
  syntax: ['構文テスト：実行中'],
  expand: ['マクロ等展開：実行中=0', 'マクロ等展開：実行中=1'],
  stereo: ['ステレオ化：実行中=0', 'ステレオ化：実行中=1'],
};
const NOT_CHOSEN = '未指定';
const NO_SCORE = 'Zerboファイル未指定。';
const SCORE_CHOSEN = 'ファイルが指定されました。';
const OUT_OF_MEMORY =
  'メモリが足りません。(Out of memory: the job was stopped and the engine restarted; ' +
  'remembered chords, tuplets and the nameless macro are cleared.)';
const ENGINE_FAILED = 'The engine stopped unexpectedly and was restarted: ';
const GUIDE_DOCUMENT = 11;
// The stereo options' texts by their inputs' ids.
const STEREO_INPUTS = { panRange: 'pan-range', pitchRange: 'pitch-range', leave: 'leave' };
// The upper view's lines: its line height in pixels (style.css) and lines per block.
const LINE_HEIGHT = 18;
const BLOCK_LINES = 200;

// The worker that runs the jobs; requests are answered in order, matched by id.
class Engine {
  #worker;
  #ready;
  #pending = new Map();
  #nextId = 1;

  constructor() {
    this.#start();
  }

  #start() {
    this.#worker = new Worker(new URL('./worker.js', import.meta.url), { type: 'module' });
    this.#ready = new Promise((resolve) => {
      this.#worker.addEventListener('message', ({ data }) => data.type === 'ready' && resolve(), {
        once: true,
      });
    });
    this.#worker.onmessage = ({ data }) => this.#receive(data);
    this.#worker.onerror = (event) => {
      event.preventDefault();
      this.#fail({ outOfMemory: false, message: event.message || 'worker error' });
    };
  }

  #receive(data) {
    const request = this.#pending.get(data.id);
    if (!request) return;
    if (data.type === 'pass') {
      request.onPass?.(data.index);
      return;
    }
    this.#pending.delete(data.id);
    if (data.type === 'error') {
      request.reject(data);
      this.restart();
    } else if (data.type === 'refused') {
      request.reject(data);
    } else {
      request.resolve(data);
    }
  }

  #fail(error) {
    for (const request of this.#pending.values()) request.reject(error);
    this.#pending.clear();
    this.restart();
  }

  restart() {
    this.#worker.terminate();
    this.#start();
  }

  async request(message, onPass) {
    await this.#ready;
    const id = this.#nextId++;
    return new Promise((resolve, reject) => {
      this.#pending.set(id, { resolve, reject, onPass });
      this.#worker.postMessage({ id, ...message });
    });
  }

  async decode(bytes) {
    return (await this.request({ type: 'decode', bytes })).text;
  }

  run(job, score, stereo, onPass) {
    return this.request({ type: 'run', job, bytes: score.bytes, name: score.name, stereo }, onPass);
  }
}

const engine = new Engine();
let current = null; // the score the jobs read: {name, bytes}
let downloadUrl = null;

function setCaption(text) {
  $('caption').textContent = text;
  document.title = `${text} - Bivox`;
}

function notify(text) {
  $('notice').textContent = text;
  $('notice').hidden = !text;
}

// The stereo options as the module takes them, from their inputs.
function stereoOptions() {
  return Object.fromEntries(
    Object.entries(STEREO_INPUTS).map(([key, id]) => [key, $(id).value.trim()]),
  );
}

function restoreStereoDefaults() {
  for (const id of Object.values(STEREO_INPUTS)) $(id).value = '';
}

// The dialog's line for stereo options that differ from the defaults, or null.
function stereoSettingsLine({ panRange: [left, right], pitchRange, leave }) {
  const parts = [];
  if (left !== -64 || right !== 64) parts.push(`パンの範囲 ${left}..${right}`);
  if (pitchRange) {
    const { lowest, highest, lowestNote, highestNote } = pitchRange;
    parts.push(`音域 ${lowestNote}..${highestNote} (${lowest}..${highest})`);
  }
  if (leave) parts.push(`そのままのトラック ${leave}`);
  return parts.length ? `ステレオ化の設定：${parts.join('、')}` : null;
}

function setRunning(running) {
  document.body.classList.toggle('running', running);
  for (const id of ['choose', 'syntax', 'expand', 'stereo']) $(id).disabled = running;
  $('status').textContent = running ? '実行中… (running)' : '';
}

// The upper view shows a text in blocks of lines that the browser lays out only when they
// scroll into view, so that an output of megabytes shows at once.
function showUpper(text) {
  const blocks = [];
  for (let start = 0; start < text.length; ) {
    let end = start;
    let lines = 0;
    for (; lines < BLOCK_LINES && end < text.length; lines++) {
      const feed = text.indexOf('\n', end);
      end = feed < 0 ? text.length : feed + 1;
    }
    const block = document.createElement('div');
    block.className = 'block';
    block.style.containIntrinsicSize = `auto ${lines * LINE_HEIGHT}px`;
    block.textContent = text.slice(start, end);
    blocks.push(block);
    start = end;
  }
  $('upper').replaceChildren(...blocks);
  $('upper').scrollTo(0, 0);
}

function showLower(node) {
  $('lower').replaceChildren(node);
  $('place').hidden = true;
}

function showText(text) {
  const pre = document.createElement('pre');
  pre.className = 'guide';
  pre.textContent = text;
  showLower(pre);
}

// The place of a diagnostic or of the stop: its source line with the character marked.
function showPlace(where, item) {
  for (const selected of document.querySelectorAll('#lower li.selected')) {
    selected.classList.remove('selected');
  }
  item.classList.add('selected');
  $('place-where').textContent = `${where.line}行 ${where.column}桁 (line ${where.line}, column ${where.column}, byte 0x${where.position.toString(16)})`;
  const chars = Array.from(where.sourceLine);
  const at = where.column - 1;
  const mark = document.createElement('mark');
  mark.textContent = chars[at] ?? ' ';
  $('place-line').replaceChildren(chars.slice(0, at).join(''), mark, chars.slice(at + 1).join(''));
  $('place').hidden = false;
}

function messageItem(text, where, kind) {
  const item = document.createElement('li');
  if (kind) item.className = kind;
  if (where) {
    const at = document.createElement('span');
    at.className = 'where';
    at.textContent = `${where.line}:${where.column}`;
    item.append(at, ' ');
    item.tabIndex = 0;
    item.dataset.line = where.line;
    item.dataset.column = where.column;
    item.addEventListener('click', () => showPlace(where, item));
    item.addEventListener('keydown', (e) => e.key === 'Enter' && showPlace(where, item));
  }
  item.append(text);
  return item;
}

function showMessages(items) {
  const list = document.createElement('ol');
  list.className = 'messages';
  list.append(...items);
  showLower(list);
}

// As the dialog's lower display: the summary, the stereo options when not the defaults,
// the diagnostics, the summary again; the place where the parse stopped early or the fatal
// stop's message stand before the last.
function showResult(r) {
  const settings = r.placement && stereoSettingsLine(r.placement.options);
  const items = [
    messageItem(r.summary),
    ...(settings ? [messageItem(settings, null, 'settings')] : []),
    ...r.diagnostics.map((d) => messageItem(d.text, d)),
  ];
  if (r.fatal) items.push(messageItem(r.fatal.trimEnd(), r.stopAt, 'fatal'));
  else if (!r.complete) items.push(messageItem('打ち切り位置 (not understood from here on)', r.stopAt, 'stop'));
  items.push(messageItem(r.summary));
  showMessages(items);
}

function offerDownload(r) {
  if (downloadUrl) URL.revokeObjectURL(downloadUrl);
  downloadUrl = URL.createObjectURL(new Blob([r.output], { type: 'application/octet-stream' }));
  const link = $('download');
  link.href = downloadUrl;
  link.download = r.outputName;
  link.title = r.outputName;
  link.setAttribute('aria-disabled', 'false');
}

function signedPan(pan) {
  return pan > 0 ? `+${pan}` : String(pan);
}

function panRange(t) {
  if (t.lowestPan === null) return '-';
  if (t.lowestPan === t.highestPan) return signedPan(t.lowestPan);
  return `${signedPan(t.lowestPan)} .. ${signedPan(t.highestPan)}`;
}

function showPlacement(placement, map) {
  const rows = placement.tracks.map((t) => {
    const row = document.createElement('tr');
    row.dataset.track = t.letter;
    for (const cell of [
      t.letter,
      t.notes,
      `${t.lowestNote} (${t.lowestPitch})`,
      `${t.highestNote} (${t.highestPitch})`,
      t.kind,
      panRange(t),
    ]) {
      row.insertCell().textContent = cell;
    }
    return row;
  });
  $('placement').tBodies[0].replaceChildren(...rows);
  $('stereo-map').innerHTML = map;
  $('stereo-result').hidden = false;
}

async function openScore(file) {
  if (!file) return;
  const bytes = new Uint8Array(await file.arrayBuffer());
  current = { name: file.name, bytes };
  setCaption(current.name);
  notify('');
  $('stereo-result').hidden = true;
  showUpper(await engine.decode(bytes));
  showMessages([messageItem(SCORE_CHOSEN)]);
}

async function runJob(job) {
  if (!current) {
    notify(NO_SCORE);
    return;
  }
  notify('');
  setRunning(true);
  setCaption(RUNNING_CAPTIONS[job][0]);
  try {
    const stereo = job === 'stereo' ? stereoOptions() : {};
    const { result: r, outputText } = await engine.run(job, current, stereo, (pass) =>
      setCaption(RUNNING_CAPTIONS[job][pass]),
    );
    if (r.fatal) notify(r.fatal.trimEnd());
    else if (job !== 'syntax') current = { name: r.outputName, bytes: r.output };
    showUpper(outputText);
    showResult(r);
    offerDownload(r);
    $('stereo-result').hidden = true;
    if (r.stereoMap) showPlacement(r.placement, r.stereoMap);
  } catch (error) {
    if (error.type === 'refused') notify(`ステレオ化の設定: ${error.message}`);
    else notify(error.outOfMemory ? OUT_OF_MEMORY : ENGINE_FAILED + error.message);
  } finally {
    setCaption(current.name);
    setRunning(false);
  }
}

async function showGuide(index) {
  if (index === GUIDE_DOCUMENT) {
    window.open('Bivox.html', '_blank', 'noopener');
    return;
  }
  const name = `guide/__Guide${String(index).padStart(3, '0')}.txt`;
  const response = await fetch(name);
  if (!response.ok) {
    notify(`ファイルが見つかりません: ${name}`);
    return;
  }
  showText(await engine.decode(new Uint8Array(await response.arrayBuffer())));
}

$('choose').addEventListener('click', () => $('file-input').click());
$('file-input').addEventListener('change', (e) => {
  openScore(e.target.files[0]);
  e.target.value = '';
});
for (const id of ['syntax', 'expand', 'stereo']) {
  $(id).addEventListener('click', () => runJob(id));
}
$('stereo-defaults').addEventListener('click', restoreStereoDefaults);
$('download').addEventListener('click', (e) => {
  if ($('download').getAttribute('aria-disabled') === 'true') e.preventDefault();
});
$('guide').addEventListener('change', (e) => showGuide(Number(e.target.value)));
document.addEventListener('dragover', (e) => {
  e.preventDefault();
  document.body.classList.add('dropping');
});
document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
document.addEventListener('drop', (e) => {
  e.preventDefault();
  document.body.classList.remove('dropping');
  openScore(e.dataTransfer.files[0]);
});

showGuide(0);
