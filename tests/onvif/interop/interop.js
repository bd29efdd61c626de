// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
//
// Runs inside the clients' network namespace that interop_netns.sh made, the simulator in the
// devices' namespace beyond a veth pair: vexo-devsim's ONVIF devices as the npm package
// "onvif" and Debian's onvif-util see them. The devices are first given addresses of that
// link (192.0.2.11-13) through the simulator's console. The package finds them by its
// own multicast Probe, reads device information and network interfaces with WS-Security
// digests (after reading each device's clock) and HTTP Digest, and moves one device to
// another address, which the simulator's console then shows; it reads a camera's profiles and its
// snapshot's address from the media service and fetches the image; then reads a device that serves
// only HTTPS, with its self-signed certificate. Prints one line per failed check and exits 1 if
// any failed.
'use strict';

const { spawn, spawnSync } = require('child_process');
const crypto = require('crypto');
const http = require('http');
const path = require('path');
const readline = require('readline');
const onvif = require('onvif');

const bin = process.env.VEXO_TEST_BIN_DIR;
const password = 'Interop123';
let failures = 0;
let checks = 0;

function check(ok, what) {
    checks++;
    if (!ok) {
        failures++;
        console.log('FAIL: ' + what);
    }
}

// A simulator with its console on our pipes.
function startSimulator(extra) {
    const proc = spawn('ip', ['netns', 'exec', process.env.VEXO_INTEROP_DEVICE_NS, path.join(bin, 'vexo-devsim'),
        '--scope', 'lan', '--port', '0', '--onvif-port', '3702', '--password', password, '--test-mode', ...extra],
        { env: Object.assign({}, process.env, { VEXO_SCOPE: 'lan' }), stdio: ['pipe', 'pipe', 'inherit'] });
    const lines = readline.createInterface({ input: proc.stdout });
    const waiting = [];
    const buffered = [];
    lines.on('line', (line) => {
        if (waiting.length)
            waiting.shift()(line);
        else
            buffered.push(line);
    });
    const nextLine = (timeoutMs = 10000) => new Promise((resolve, reject) => {
        if (buffered.length)
            return resolve(buffered.shift());
        const timer = setTimeout(() => reject(new Error('the simulator did not answer')), timeoutMs);
        waiting.push((line) => { clearTimeout(timer); resolve(line); });
    });
    const command = async (text) => {
        proc.stdin.write(text + '\n');
        const out = [];
        for (;;) {
            const line = await nextLine();
            out.push(line);
            if (line === 'ok' || line.startsWith('error'))
                return out;
        }
    };
    const ready = async () => {
        for (let line = await nextLine(); !line.startsWith('ready'); line = await nextLine())
            ;
    };
    const stop = async () => {
        proc.stdin.end();
        await new Promise((r) => proc.on('exit', r));
    };
    return { proc, command, ready, stop };
}
let sim = startSimulator(['--count', '2', '--onvif', '2', '--onvif-both', '1']);
const command = (text) => sim.command(text);

function call(cam, method, ...args) {
    return new Promise((resolve, reject) => {
        cam[method](...args, (err, data) => (err ? reject(err) : resolve(data)));
    });
}
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// GET with HTTP Digest (MD5, qop=auth), as a browser fetches a camera's still image.
function digestGet(url, username, pass) {
    const get = (headers) => new Promise((resolve, reject) => {
        const req = http.get(url, { headers, timeout: 5000 }, (res) => {
            const chunks = [];
            res.on('data', (c) => chunks.push(c));
            res.on('end', () => resolve({ status: res.statusCode, headers: res.headers, body: Buffer.concat(chunks) }));
        });
        req.on('error', reject);
    });
    return get({}).then((first) => {
        const challenge = [].concat(first.headers['www-authenticate'] || []).find((h) => /algorithm=MD5/.test(h));
        if (first.status !== 401 || !challenge)
            return first;
        const param = (name) => (challenge.match(new RegExp(name + '="?([^",]+)"?')) || [])[1];
        const md5 = (t) => crypto.createHash('md5').update(t).digest('hex');
        const uri = new URL(url).pathname;
        const cnonce = crypto.randomBytes(8).toString('hex');
        const ha1 = md5(`${username}:${param('realm')}:${pass}`);
        const response = md5(`${ha1}:${param('nonce')}:00000001:${cnonce}:auth:${md5('GET:' + uri)}`);
        return get({ Authorization: `Digest username="${username}", realm="${param('realm')}", nonce="${param('nonce')}", ` +
            `uri="${uri}", qop=auth, nc=00000001, cnonce="${cnonce}", algorithm=MD5, response="${response}"` });
    });
}

async function main() {
    await sim.ready();
    // "serial mac ipv4 activated [onvif|vxdp+onvif]"
    const onvifRows = async () =>
        (await command('list')).filter((l) => / (onvif|vxdp\+onvif)$/.test(l)).map((l) => l.split(' '));
    let listed = await onvifRows();
    check(listed.length === 3, 'the simulator lists 3 ONVIF devices, not ' + listed.length);
    for (let i = 0; i < listed.length; i++) {
        const answer = await command(`set ${listed[i][0]} ipv4 192.0.2.${11 + i}`);
        check(answer.pop() === 'ok', `the console cannot move ${listed[i][0]}`);
    }
    listed = await onvifRows();

    const found = await new Promise((resolve) => {
        onvif.Discovery.probe({ timeout: 3000 }, (err, cams) => resolve(cams || []));
    });
    check(found.length === listed.length, `the package's Probe finds ${found.length} of ${listed.length} devices`);

    let moved = null;
    let snapshotRead = false;
    for (const found1 of found) {
        const cam = new onvif.Cam({ hostname: found1.hostname, port: found1.port, username: 'admin', password,
            autoconnect: false, timeout: 5000 });
        try {
            await call(cam, 'getSystemDateAndTime');
            await call(cam, 'getCapabilities');
            const info = await call(cam, 'getDeviceInformation');
            const row = listed.find((l) => l[0] === info.serialNumber);
            check(row !== undefined, `device ${info.serialNumber} at ${found1.hostname} is not in the list`);
            const interfaces = await call(cam, 'getNetworkInterfaces');
            const ipv4 = interfaces[0].IPv4.config;
            const address = (ipv4.manual || ipv4.fromDHCP).address;
            check(address === found1.hostname, `${info.serialNumber} reports ${address}, found at ${found1.hostname}`);
            check(/^192\.0\.2\.1[1-3]$/.test(address), `${info.serialNumber} was found at ${address}`);
            if (row) {
                check(interfaces[0].info.hwAddress.replace(/:/g, '-') === row[1],
                    `${info.serialNumber} reports MAC ${interfaces[0].info.hwAddress}, the list ${row[1]}`);
                check(row[2] === address, `${info.serialNumber}: list ${row[2]}, device ${address}`);
            }
            if (!snapshotRead && row) {
                // The media service: the profile with video, its snapshot's address, the image.
                snapshotRead = true;
                const profiles = await call(cam, 'getProfiles');
                const video = profiles.find((p) => p.videoSourceConfiguration);
                check(video !== undefined, `${info.serialNumber} lists no profile with video`);
                const snapshot = await call(cam, 'getSnapshotUri', { profileToken: video.$.token });
                check(new URL(snapshot.uri).hostname === address, `the snapshot of ${info.serialNumber} is at ${snapshot.uri}`);
                const image = await digestGet(snapshot.uri, 'admin', password);
                check(image.status === 200 && image.body.subarray(0, 3).equals(Buffer.from([0xff, 0xd8, 0xff])),
                    `the snapshot of ${info.serialNumber}: HTTP ${image.status}, ${image.body.length} bytes, not a JPEG`);
            }
            if (!moved && row) {
                moved = { serial: info.serialNumber, to: '192.0.2.77' };
                const answer = await call(cam, 'setNetworkInterfaces', {
                    interfaceToken: interfaces[0].$.token,
                    networkInterface: { enabled: true, IPv4: { enabled: true, DHCP: false,
                        manual: { address: moved.to, prefixLength: 8 } } } });
                check(answer.rebootNeeded === false, 'SetNetworkInterfaces answered RebootNeeded ' + answer.rebootNeeded);
            }
        } catch (e) {
            check(false, `${found1.hostname}:${found1.port}: ${e.message || e}`);
        }
    }

    if (moved) {
        let row;
        for (let i = 0; i < 50 && !(row && row[2] === moved.to); i++) {
            await sleep(100);
            row = (await command('list')).map((l) => l.split(' ')).find((l) => l[0] === moved.serial);
        }
        check(row && row[2] === moved.to, `after the move the console shows ${row && row[2]}, not ${moved.to}`);
        // The device serves from its new address.
        const cam = new onvif.Cam({ hostname: moved.to, port: (await command(`onvif ${moved.serial} show`))
            .find((l) => l.startsWith('xaddr')).split(':')[2].split('/')[0], username: 'admin', password,
            autoconnect: false, timeout: 5000 });
        try {
            await call(cam, 'getSystemDateAndTime');
            const info = await call(cam, 'getDeviceInformation');
            check(info.serialNumber === moved.serial, `the new address answers as ${info.serialNumber}`);
        } catch (e) {
            check(false, `the moved device does not answer at ${moved.to}: ${e.message || e}`);
        }
    }

    // HTTP Digest, as the package answers a device's 401 challenge.
    const digestRow = listed.find((l) => !moved || l[0] !== moved.serial);
    check((await command(`onvif ${digestRow[0]} auth digest`)).pop() === 'ok', 'the console cannot switch to digest');
    const digestCam = new onvif.Cam({ hostname: digestRow[2], port: (await command(`onvif ${digestRow[0]} show`))
        .find((l) => l.startsWith('xaddr')).split(':')[2].split('/')[0], username: 'admin', password,
        autoconnect: false, useWSSecurity: false, timeout: 5000 });
    try {
        const info = await call(digestCam, 'getDeviceInformation');
        check(info.serialNumber === digestRow[0], `with HTTP Digest ${digestRow[0]} answers as ${info.serialNumber}`);
    } catch (e) {
        check(false, `HTTP Digest to ${digestRow[0]}: ${e.message || e}`);
    }

    // Debian's onvif-util: "-a" probes every adapter and prints what answers.
    const util = spawnSync('onvif-util', ['-a'], { timeout: 20000, encoding: 'utf8' });
    const output = (util.stdout || '') + (util.stderr || '');
    const addresses = (await command('list')).filter((l) => / (onvif|vxdp\+onvif)$/.test(l)).map((l) => l.split(' ')[2]);
    const seen = addresses.filter((a) => output.includes(a));
    check(util.error === undefined, 'onvif-util -a did not run: ' + util.error);
    check(seen.length === addresses.length,
        `onvif-util -a lists ${seen.length} of ${addresses.length} devices (${addresses.join(', ')}); it printed:\n${output}`);

    await sim.stop();

    // Over HTTPS: a device that serves nothing else, with its own self-signed certificate.
    sim = startSimulator(['--count', '1', '--onvif', '1', '--onvif-https-only']);
    await sim.ready();
    const secureRow = (await command('list')).map((l) => l.split(' ')).find((l) => l[l.length - 1] === 'onvif');
    check((await command(`set ${secureRow[0]} ipv4 192.0.2.11`)).pop() === 'ok', 'the console cannot move the device');
    const xaddr = new URL((await command(`onvif ${secureRow[0]} show`)).find((l) => l.startsWith('xaddr')).slice(6));
    check(xaddr.protocol === 'https:', 'the HTTPS-only device names ' + xaddr.href);
    const secureCam = new onvif.Cam({ hostname: xaddr.hostname, port: Number(xaddr.port), username: 'admin', password,
        useSecure: true, secureOpts: { rejectUnauthorized: false, minVersion: 'TLSv1.2' }, autoconnect: false,
        timeout: 5000 });
    try {
        await call(secureCam, 'getSystemDateAndTime');
        const info = await call(secureCam, 'getDeviceInformation');
        check(info.serialNumber === secureRow[0], `over HTTPS ${secureRow[0]} answers as ${info.serialNumber}`);
    } catch (e) {
        check(false, `HTTPS to ${xaddr.href}: ${e.message || e}`);
    }
    await sim.stop();
    console.log(`${checks - failures} passed, ${failures} failed`);
    process.exit(failures ? 1 : 0);
}

main().catch((e) => {
    console.log('FAIL: ' + (e.stack || e));
    sim.proc.kill();
    process.exit(1);
});
