// Runs the Khronos glTF validator on each file named on the command line, with the files a
// .gltf names read from beside it. Prints every issue; exits 1 when any file has an error
// (or cannot be validated), 2 when the validator is not installed.
// NODE_PATH names the folder the validator was installed into.
'use strict';
const fs = require('fs');
const path = require('path');

let validator;
try {
    validator = require('gltf-validator');
} catch (e) {
    console.error('gltf-validator is not installed: ' + e.message);
    process.exit(2);
}

async function validate(file) {
    const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
        uri: path.basename(file),
        maxIssues: 0,
        externalResourceFunction: (uri) =>
            fs.promises.readFile(path.resolve(path.dirname(file), decodeURIComponent(uri))),
    });
    for (const m of report.issues.messages)
        console.log(`${file}: severity ${m.severity} ${m.code} ${m.pointer || ''} ${m.message}`);
    console.log(`${file}: ${report.issues.numErrors} errors, ${report.issues.numWarnings} warnings`);
    return report.issues.numErrors;
}

(async () => {
    let failed = process.argv.length <= 2;
    for (const file of process.argv.slice(2)) {
        try {
            if (await validate(file) > 0)
                failed = true;
        } catch (e) {
            console.log(`${file}: not validated: ${e}`);
            failed = true;
        }
    }
    process.exit(failed ? 1 : 0);
})();
