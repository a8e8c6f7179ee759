// Lighthouse's scores for the shipped designs, mobile and desktop, with the
// sample project and a generated one of 1,000 entries, served compressed from
// a local server. Audits that lose points are listed under each row.
//
//   node bench/pages/lighthouse.mjs [--build build] [--program-folder DIR]
//       [--sizes sample,1000] [--designs standard,accordion,structured]
//       [--forms mobile,desktop] [--runs 3]
//
// Each row is the run with the median performance score of --runs, as
// Lighthouse's own advice has it: single runs vary with the machine's load.
// Needs the build's brindlewick-cli and brindlewick-generate, /usr/bin/chromium
// and the packages of tests/pages (npm ci there).

import { join, resolve } from "node:path";
import { pathToFileURL } from "node:url";
import { parseArgs } from "node:util";
import { designs as allDesigns, here, missingTools, servedPages, sourceDir } from "../../tests/pages/pagekit.mjs";

const { values: options } = parseArgs({
  options: {
    build: { type: "string", default: "build" },
    "program-folder": { type: "string" },
    sizes: { type: "string", default: "sample,1000" },
    designs: { type: "string", default: allDesigns.join(",") },
    forms: { type: "string", default: "mobile,desktop" },
    runs: { type: "string", default: "3" },
  },
});

const build = resolve(sourceDir, options.build);
const programFolder = resolve(options["program-folder"] || build);
const cli = join(build, "brindlewick-cli");

const missing = missingTools();
if (missing) {
  console.error("lighthouse: missing " + missing);
  process.exit(1);
}

const lighthouseDir = join(here, "node_modules", "lighthouse", "core");
const { default: lighthouse } = await import(pathToFileURL(join(lighthouseDir, "index.js")));
const { default: desktopConfig } = await import(
  pathToFileURL(join(lighthouseDir, "config", "desktop-config.js"))
);

const CATEGORIES = ["performance", "accessibility", "best-practices", "seo"];

const sizes = options.sizes.split(",");
const chosen = options.designs.split(",");
const forms = options.forms.split(",");
const pages = await servedPages({ build, cli, programFolder, sizes, designs: chosen });
try {
  const port = Number(new URL(pages.browser.wsEndpoint()).port);
  console.log("design      entries  form      perf  a11y  b.p.   seo    FCP ms   LCP ms  TBT ms    CLS");
  for (const size of sizes) {
    for (const design of chosen) {
      for (const form of forms) {
        const url = pages.url(size, design);
        const flags = { port, output: "json", logLevel: "error", onlyCategories: CATEGORIES };
        const results = [];
        for (let run = 0; run < Number(options.runs); run++) {
          const config = form === "desktop" ? desktopConfig : undefined;
          results.push((await lighthouse(url, flags, config)).lhr);
        }
        results.sort((a, b) => a.categories.performance.score - b.categories.performance.score);
        const lhr = results[Math.floor(results.length / 2)];
        const score = (id) => String(Math.round((lhr.categories[id].score ?? 0) * 100)).padStart(5);
        const metric = (id, digits = 0) =>
          (lhr.audits[id].numericValue ?? NaN).toFixed(digits).padStart(8);
        console.log(
          [
            design.padEnd(10),
            size.padStart(8),
            " " + form.padEnd(8),
            ...CATEGORIES.map(score),
            metric("first-contentful-paint"),
            metric("largest-contentful-paint"),
            metric("total-blocking-time"),
            metric("cumulative-layout-shift", 3),
          ].join(" ")
        );
        for (const id of CATEGORIES.slice(1)) {
          for (const ref of lhr.categories[id].auditRefs) {
            const audit = lhr.audits[ref.id];
            if (ref.weight > 0 && audit.score !== null && audit.score < 1) {
              console.log("      " + id + ": " + ref.id + " (" + audit.title + ")");
              for (const item of (audit.details && audit.details.items) || []) {
                if (item.node) {
                  console.log("        " + item.node.selector + " " + (item.node.explanation || ""));
                }
              }
            }
          }
        }
      }
    }
  }
} finally {
  await pages.close();
}
