// The stereo map of a stereo conversion: an SVG picture with the pan axis from -64 to +64,
// its centre line, one bar per placed track from the lowest to the highest pan its notes
// received, labelled "A  C3–G5", and the tracks left alone listed beneath. Built from the
// placement that a session's run gives; the data attributes carry the figures for scripts.

const PAN_MIN = -64;
const PAN_MAX = 64;
const TICKS = [-64, -32, 0, 32, 64];
const WIDTH = 560;
const AXIS_LEFT = 110;
const AXIS_RIGHT = WIDTH - 24;
const AXIS_Y = 30;
const ROW = 24;
const BAR = 12;
const MIN_BAR = 3;

function escape(text) {
  return String(text).replace(/[&<>"]/g, (c) => `&#${c.charCodeAt(0)};`);
}

function panX(pan) {
  return AXIS_LEFT + ((pan - PAN_MIN) * (AXIS_RIGHT - AXIS_LEFT)) / (PAN_MAX - PAN_MIN);
}

function signed(pan) {
  return pan > 0 ? `+${pan}` : pan < 0 ? `\u2212${-pan}` : '0';
}

function noteRange(track) {
  return `${track.lowestNote}\u2013${track.highestNote}`;
}

function axis(bottom) {
  const ticks = TICKS.map((pan) => {
    const x = panX(pan);
    return (
      `<line class="tick" x1="${x}" y1="${AXIS_Y - 4}" x2="${x}" y2="${AXIS_Y}"/>` +
      `<text x="${x}" y="${AXIS_Y - 8}" text-anchor="middle">${signed(pan)}</text>`
    );
  });
  return (
    `<g class="axis" stroke="#555" fill="#333" font-size="11">` +
    `<line x1="${panX(PAN_MIN)}" y1="${AXIS_Y}" x2="${panX(PAN_MAX)}" y2="${AXIS_Y}"/>` +
    ticks.join('') +
    `<line class="centre" x1="${panX(0)}" y1="${AXIS_Y}" x2="${panX(0)}" y2="${bottom}" ` +
    `stroke-dasharray="3 3"/></g>`
  );
}

function bar(track, row) {
  const y = AXIS_Y + 8 + row * ROW;
  const left = panX(track.lowestPan);
  const width = Math.max(panX(track.highestPan) - left, MIN_BAR);
  const label = `${track.letter}  ${noteRange(track)}`;
  return (
    `<g class="track" data-track="${escape(track.letter)}" ` +
    `data-lowest-pan="${track.lowestPan}" data-highest-pan="${track.highestPan}" ` +
    `data-lowest-note="${escape(track.lowestNote)}" data-highest-note="${escape(track.highestNote)}">` +
    `<rect x="${left}" y="${y}" width="${width}" height="${BAR}" rx="2" fill="#3b6ea5"/>` +
    `<text x="8" y="${y + BAR - 2}" font-size="12" xml:space="preserve">${escape(label)}</text></g>`
  );
}

function leftAlone(track, row, top) {
  const y = top + row * 18;
  const line = `${track.letter}  ${noteRange(track)}  ${track.kind}`;
  return (
    `<text x="8" y="${y}" data-track="${escape(track.letter)}" data-kind="${escape(track.kind)}" ` +
    `font-size="12" xml:space="preserve">${escape(line)}</text>`
  );
}

export function stereoMapSvg(placement) {
  const placed = placement.tracks.filter((t) => t.lowestPan !== null);
  const alone = placement.tracks.filter((t) => t.lowestPan === null);
  const barsBottom = AXIS_Y + 8 + Math.max(placed.length, 1) * ROW;
  const aloneTop = barsBottom + 18;
  const height = aloneTop + (alone.length ? 18 + alone.length * 18 : 0);
  const heading = alone.length
    ? `<text class="heading" x="8" y="${aloneTop}" font-size="12">left alone</text>`
    : '';
  return (
    `<svg xmlns="http://www.w3.org/2000/svg" class="stereo-map" role="img" ` +
    `aria-label="stereo map" width="${WIDTH}" height="${height}" ` +
    `viewBox="0 0 ${WIDTH} ${height}" font-family="sans-serif" ` +
    `data-centre="${placement.centre}" data-scale="${placement.scale}">` +
    axis(barsBottom) +
    placed.map((t, i) => bar(t, i)).join('') +
    `<g class="left-alone">${heading}${alone.map((t, i) => leftAlone(t, i + 1, aloneTop)).join('')}</g>` +
    `</svg>`
  );
}
