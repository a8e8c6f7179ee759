// Pictures of the shipped designs' pages for a look at them: 1280 and 390 px
// wide, light and dark, with the sample project and a generated one of 1,000
// entries. Each page gives its first screen and the screen where its first
// entry starts; the sample's pages are also taken whole.
//
//   node bench/pages/screenshots.mjs [--build build] [--program-folder DIR]
//       [--out DIR] [--sizes sample,1000] [--designs standard,accordion,structured]
//
// Writes DESIGN-SIZE-WIDTH-SCHEME-{top,entries,whole}.png into --out
// (default: BUILD/page-screenshots).

import { mkdirSync } from "node:fs";
import { join, resolve } from "node:path";
import { parseArgs } from "node:util";
import {
  DESKTOP,
  PHONE,
  designs as allDesigns,
  missingTools,
  servedPages,
  sourceDir,
} from "../../tests/pages/pagekit.mjs";

const { values: options } = parseArgs({
  options: {
    build: { type: "string", default: "build" },
    "program-folder": { type: "string" },
    out: { type: "string" },
    sizes: { type: "string", default: "sample,1000" },
    designs: { type: "string", default: allDesigns.join(",") },
  },
});

const build = resolve(sourceDir, options.build);
const programFolder = resolve(options["program-folder"] || build);
const cli = join(build, "brindlewick-cli");
const pictures = resolve(options.out || join(build, "page-screenshots"));

const missing = missingTools();
if (missing) {
  console.error("screenshots: missing " + missing);
  process.exit(1);
}

const sizes = options.sizes.split(",");
const chosen = options.designs.split(",");
mkdirSync(pictures, { recursive: true });
const pages = await servedPages({ build, cli, programFolder, sizes, designs: chosen });
try {
  const { browser } = pages;
  for (const size of sizes) {
    for (const design of chosen) {
      for (const viewport of [DESKTOP, PHONE]) {
        for (const scheme of ["light", "dark"]) {
          const page = await browser.newPage();
          await page.setViewport(viewport);
          await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
          await page.goto(pages.url(size, design), { waitUntil: "load" });
          const name = [design, size, viewport.width, scheme].join("-");
          await page.screenshot({ path: join(pictures, name + "-top.png") });
          await page.evaluate(() => {
            const box = document.querySelector(".search");
            const entry = box.getAttribute("data-entry");
            const question = box.getAttribute("data-question");
            const first = Array.from(document.querySelectorAll(entry + " " + question)).find(
              (q) => q.textContent !== ""
            );
            scrollTo(0, first.getBoundingClientRect().top + scrollY - 40);
          });
          await new Promise((wait) => setTimeout(wait, 100));
          await page.screenshot({ path: join(pictures, name + "-entries.png") });
          if (size === "sample") {
            // Entries far from the screen are not drawn: draw them all
            await page.addStyleTag({ content: "* { content-visibility: visible !important; }" });
            const height = await page.evaluate(() => document.documentElement.scrollHeight);
            await page.setViewport({ ...viewport, height });
            await new Promise((wait) => setTimeout(wait, 300));
            await page.screenshot({ path: join(pictures, name + "-whole.png"), fullPage: true });
          }
          await page.close();
        }
      }
    }
  }
  console.log("pictures in " + pictures);
} finally {
  await pages.close();
}
