// Bivox as a JavaScript module, the same in Node and in browsers:
//
//   import { createBivox } from './bivox.js';
//   const bivox = await createBivox();
//   const session = new bivox.Session();
//   const r = session.run('stereo', bytes, 'song.zrb');  // bytes: Uint8Array, as stored
//   // r.output: Uint8Array, the bytes bivox-cli writes to r.outputName
//
// The engine is the core compiled to WebAssembly (bivox-core.js, one file with the module
// inside, so nothing is fetched). A session keeps what the dialog keeps between jobs and
// files: remembered chords and tuplets, and the nameless macro body.
import createCore from './bivox-core.js';

export const jobs = Object.freeze(['syntax', 'expand', 'stereo']);

// The stereo options' texts in the binding's order; a missing one is empty, the default.
function stereoTexts({ panRange = '', pitchRange = '', leave = '' } = {}) {
  return [String(panRange), String(pitchRange), String(leave)];
}

export async function createBivox() {
  const core = await createCore();
  // A session's engine lives in the module's memory; it is given back when the session
  // is collected.
  const engines = new FinalizationRegistry((engine) => engine.delete());

  class Session {
    #engine = new core.Session();

    constructor() {
      engines.register(this, this.#engine);
    }

    // Runs a job ('syntax', 'expand' or 'stereo') over the score's bytes (cp932, as
    // stored) known by `name`. `options.beforePass(index)` is called before each pass;
    // `options.stereo` holds the stereo options as texts, {panRange: '-32..32',
    // pitchRange: 'C2..C7', leave: 'AB'}, each missing or empty for the default. A text
    // the core refuses throws an Error with the core's message.
    run(job, bytes, name, options = {}) {
      if (!jobs.includes(job)) throw new TypeError(`job must be one of ${jobs.join(', ')}`);
      if (!(bytes instanceof Uint8Array)) throw new TypeError('bytes must be a Uint8Array');
      const beforePass = options.beforePass ?? null;
      return this.#engine.run(job, bytes, String(name), beforePass, ...stereoTexts(options.stereo));
    }
  }

  return {
    Session,
    jobs,
    // The core's message for stereo options (as `run` takes them) it refuses, or null.
    stereoRefusal: (stereo) => core.stereoRefusal(...stereoTexts(stereo)),
    // cp932 bytes as a string; bytes that are no cp932 character become U+FFFD.
    decode: (bytes) => core.decode(bytes),
    // A string as cp932 bytes, or null when a character has no cp932 form.
    encode: (text) => core.encode(text),
  };
}
