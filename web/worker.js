// The page's engine: runs jobs in a Web Worker, so that a large score never freezes the
// page. One session lives as long as the worker, as the dialog keeps one for its life.
//
// Requests:  {id, type: 'run', job, bytes, name, stereo}   {id, type: 'decode', bytes}
// Answers:   {id, type: 'pass', index}              before each pass of a job
//            {id, type: 'result', result, outputText}
//            {id, type: 'text', text}
//            {id, type: 'refused', message}              stereo options the core refuses
//            {id, type: 'error', outOfMemory, message}  the engine could not go on
import { createBivox } from './bivox.js';

const bivox = await createBivox();
const session = new bivox.Session();

// Memory running out outside the core shows as a failed allocation or the module's abort.
function isOutOfMemory(error) {
  return /allocation failed|out of memory|OOM/i.test(String(error?.message ?? error));
}

// A score's text for the views: its lines end in line feeds.
function text(bytes) {
  return bivox.decode(bytes).replaceAll('\r\n', '\n');
}

function answer(request) {
  if (request.type === 'decode') return { type: 'text', text: text(request.bytes) };
  const refused = bivox.stereoRefusal(request.stereo);
  if (refused) return { type: 'refused', message: refused };
  const result = session.run(request.job, request.bytes, request.name, {
    stereo: request.stereo,
    beforePass: (index) => postMessage({ id: request.id, type: 'pass', index }),
  });
  return { type: 'result', result, outputText: text(result.output) };
}

self.onmessage = ({ data: request }) => {
  let reply;
  try {
    reply = answer(request);
  } catch (error) {
    reply = { type: 'error', outOfMemory: isOutOfMemory(error), message: String(error?.message ?? error) };
  }
  postMessage({ id: request.id, ...reply }, reply.result ? [reply.result.output.buffer] : []);
};

postMessage({ type: 'ready' });
