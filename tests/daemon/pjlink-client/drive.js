// Drives zra70d's PJLink port with the npm registry's pjlink package, as a controller would,
// and prints one JSON line per step: {"step": "getInput", "value": ...}, with "args" and "error"
// when there are any.
//
// Usage: node drive.js PORT PASSWORD|- PLAN
//   whole   power on through warm-up and off through cooling, inputs, mutes, lamp, information
//   brief   the power state, the class, an input set and read back
'use strict';
const PJLink = require('pjlink');

const [port, password, plan] = process.argv.slice(2);
const projector = new PJLink('127.0.0.1', Number(port), password === '-' ? null : password);

function call(method, ...args) {
    return new Promise((resolve) => {
        projector[method](...args, (error, ...values) => resolve({error, values}));
    });
}

async function step(method, ...args) {
    const {error, values} = await call(method, ...args);
    const value = values.length > 1 ? values : values[0];
    console.log(JSON.stringify({step: method, args: args.length ? args : undefined,
                                error: error ? error.message : undefined, value}));
    return value;
}

// Polls the power state until it reads `wanted`, and prints every state seen on the way.
async function powerUntil(wanted) {
    const seen = [];
    for (let polls = 0; polls < 150 && seen[seen.length - 1] !== wanted; ++polls) {
        const {values} = await call('getPowerState');
        if (values[0] !== seen[seen.length - 1])
            seen.push(values[0]);
        await new Promise((resolve) => setTimeout(resolve, 200));
    }
    console.log(JSON.stringify({step: 'powerUntil', args: [wanted], value: seen}));
}

const plans = {
    async whole() {
        await step('getPowerState');
        await step('powerOn');
        await powerUntil(PJLink.POWER.ON);
        await step('setInput', '21');
        await step('getInput');
        await step('setInput', '12'); // the video input has no signal, and then no mutes
        await step('getInput');
        // setMute(video, audio, callback), as the package's example calls it, loses the callback.
        await step('setMute', {video: true, audio: true});
        await step('getMute');
        await step('setMute', {video: false, audio: false});
        await step('getMute');
        await step('setMute', {video: true, audio: false});
        await step('getMute');
        await step('getLamps');
        await step('getInputs');
        await step('getErrors');
        await step('getName');
        await step('getManufacturer');
        await step('getModel');
        await step('getInfo');
        await step('getClass');
        await step('powerOff');
        await powerUntil(PJLink.POWER.OFF);
    },
    async brief() {
        await step('getPowerState');
        await step('getClass');
        await step('setInput', '21');
        await step('getInput');
    },
};

plans[plan]().then(() => projector.disconnect());
