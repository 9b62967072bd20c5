// Runs the module for identity.test.mjs in a process of its own, whose stack that test
// makes as large as the native parser's thread: each message is a list of jobs, run in one
// new session; the answer holds their results.
import { createBivox } from '../../build-web/bivox.js';

const bivox = await createBivox();

process.on('message', ({ id, runs }) => {
  const session = new bivox.Session();
  const results = [];
  for (const { job, bytes, name } of runs) {
    const result = session.run(job, bytes, name);
    results.push(result);
    if (result.fatal) break; // as bivox-cli, which runs no later file after a fatal stop
  }
  process.send({ id, results });
});
