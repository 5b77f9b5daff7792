// Drives zra70d's PJLink port with the npm registry's pjlink package, as a controller would:
// each step calls the package's method of that name, and prints one JSON line
// {"step": "getInput", "args": [...], "error": ..., "value": ...} (args and error when any).
// The step powerUntil polls the power state until it reads its argument, and gives every
// state seen on the way.
//
// Usage: node drive.js PORT PASSWORD|- STEPS
//   STEPS: [{"step": METHOD, "args": [...]}, ...]; other keys of a step are left alone.
'use strict';
const PJLink = require('pjlink');

const [port, password, steps] = process.argv.slice(2);
const projector = new PJLink('127.0.0.1', Number(port), password === '-' ? null : password);

// setMute(video, audio, callback), as the package's example calls it, loses the callback:
// the steps give it one object.
function call(method, args) {
    return new Promise((resolve) => {
        projector[method](...args, (error, ...values) =>
            resolve({error, value: values.length > 1 ? values : values[0]}));
    });
}

async function powerUntil(wanted) {
    const seen = [];
    for (let polls = 0; polls < 150 && seen[seen.length - 1] !== wanted; ++polls) {
        const {value} = await call('getPowerState', []);
        if (value !== seen[seen.length - 1])
            seen.push(value);
        await new Promise((resolve) => setTimeout(resolve, 200));
    }
    return {value: seen};
}

(async () => {
    for (const {step, args = []} of JSON.parse(steps)) {
        const {error, value} =
            await (step === 'powerUntil' ? powerUntil(...args) : call(step, args));
        console.log(JSON.stringify({step, args: args.length ? args : undefined,
                                    error: error ? error.message : undefined, value}));
    }
    projector.disconnect();
})();
