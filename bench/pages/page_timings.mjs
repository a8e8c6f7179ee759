// The shipped designs' pages in headless Chromium, served compressed from a
// local server, for generated projects of 1,000 and 10,000 entries: load
// until laid out, the first and later search keystrokes until the next
// frame, a deep link's time to land (loading the page with an address to
// the entry 45 % down) and a jump within the page to it, the layout
// shift, and where the first entry starts on a phone.
//
//   node bench/pages/page_timings.mjs [--build build] [--program-folder DIR]
//       [--sizes 1000,10000] [--designs standard,accordion,structured] [--runs 3]
//
// Needs the build's brindlewick-cli and brindlewick-generate, /usr/bin/chromium
// and the packages of tests/pages (npm ci there). Medians of --runs.

import { join, resolve } from "node:path";
import { parseArgs } from "node:util";
import {
  DESKTOP,
  PHONE,
  designs as allDesigns,
  layoutShift,
  loadUntilLaidOut,
  missingTools,
  servedPages,
  shownEntries,
  sourceDir,
  timedKey,
  watchLayoutShifts,
} from "../../tests/pages/pagekit.mjs";

const { values: options } = parseArgs({
  options: {
    build: { type: "string", default: "build" },
    "program-folder": { type: "string" },
    sizes: { type: "string", default: "1000,10000" },
    designs: { type: "string", default: allDesigns.join(",") },
    runs: { type: "string", default: "3" },
  },
});

const build = resolve(sourceDir, options.build);
const programFolder = resolve(options["program-folder"] || build);
const runs = Number(options.runs);
const cli = join(build, "brindlewick-cli");

const missing = missingTools();
if (missing) {
  console.error("page_timings: missing " + missing);
  process.exit(1);
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// Waits until the entry named by ID lies still near the top of the window
// for ten frames; resolves to the time it got there, from START, and keeps
// how far it lies from where it should (its scroll margin) in __offBy.
function landedSince(id, start) {
  return new Promise((done) => {
    let lastY = null;
    let still = 0;
    let since = 0;
    function frame() {
      // An entry inside a closed <details> is shown by its summary
      const target = document.getElementById(id);
      const inside = target && target.tagName !== "DETAILS" && target.closest("details");
      const shown = inside ? inside.querySelector("summary") : target;
      const top = shown ? shown.getBoundingClientRect().top : Infinity;
      if (scrollY === lastY && Math.abs(top) < 150) {
        still++;
      } else {
        still = 0;
        since = performance.now();
      }
      lastY = scrollY;
      if (still >= 10) {
        window.__offBy = Math.abs(top - parseFloat(getComputedStyle(shown).scrollMarginTop));
        done(since - start);
      } else {
        requestAnimationFrame(frame);
      }
    }
    requestAnimationFrame(frame);
  });
}

async function measureDesign(browser, url) {
  const results = { load: [], firstKey: [], laterKeys: [], deepLink: [], jump: [], shift: [], offBy: [] };
  let firstAt390 = 0;
  for (let run = 0; run < runs; run++) {
    const page = await browser.newPage();
    await page.setViewport(DESKTOP);
    await watchLayoutShifts(page);
    await page.evaluateOnNewDocument("window.landedSince = " + landedSince.toString());
    results.load.push(await loadUntilLaidOut(page, url));
    await new Promise((wait) => setTimeout(wait, 300));
    results.shift.push(await layoutShift(page));

    // The anchor of the entry 45 % down, for the jumps: on the entry, or
    // on the question or the answer inside it.
    const anchor = await page.evaluate(() => {
      const box = document.querySelector(".search");
      const question = box.getAttribute("data-question");
      const entries = Array.from(document.querySelectorAll(box.getAttribute("data-entry"))).filter(
        (entry) => entry.querySelector(question).textContent !== ""
      );
      const entry = entries[Math.floor(entries.length * 0.45)];
      return entry.id || entry.querySelector("[id^=q-]").id;
    });

    await page.focus(".search-input");
    const keys = ["w", "i", "-", "f", "i", "Backspace", "Backspace", "Backspace", "Backspace", "Backspace"];
    const times = [];
    for (const key of keys) {
      times.push(await timedKey(page, key));
    }
    results.firstKey.push(times[0]);
    results.laterKeys.push(Math.max(...times.slice(1)));
    if (run === 0) {
      const shown = await shownEntries(page);
      if (shown === 0) {
        console.error(design + " " + size + ": the search box left no entry after clearing");
      }
    }

    // A jump within the page, as a link of the question list makes it
    await page.evaluate(() => scrollTo(0, 0));
    results.jump.push(
      await page
        .evaluate((id) => {
          const start = performance.now();
          location.hash = "#" + id;
          return window.landedSince(id, start);
        }, anchor)
        .catch(() => NaN)
    );
    results.offBy.push(await page.evaluate(() => window.__offBy));
    await page.close();

    // The same entry, reached by an address from elsewhere.
    const linked = await browser.newPage();
    await linked.setViewport(DESKTOP);
    await linked.evaluateOnNewDocument(
      "window.landedSince = " + landedSince.toString() + ";" +
        "window.__landed = window.landedSince(location.hash.slice(1), 0);"
    );
    await linked.goto(url + "#" + anchor, { waitUntil: "load", timeout: 120000 });
    results.deepLink.push(await linked.evaluate(() => window.__landed));
    results.offBy.push(await linked.evaluate(() => window.__offBy));
    await linked.close();
  }

  const phone = await browser.newPage();
  await phone.setViewport(PHONE);
  await phone.goto(url, { waitUntil: "load", timeout: 120000 });
  firstAt390 = await phone.evaluate(() => {
    const box = document.querySelector(".search");
    const entry = box.getAttribute("data-entry");
    const question = box.getAttribute("data-question");
    const first = Array.from(document.querySelectorAll(entry + " " + question)).find(
      (q) => q.textContent !== ""
    );
    return Math.round(first.getBoundingClientRect().top + scrollY);
  });
  await phone.close();

  return {
    load: median(results.load),
    firstKey: median(results.firstKey),
    laterKeys: median(results.laterKeys),
    deepLink: median(results.deepLink),
    jump: median(results.jump),
    shift: Math.max(...results.shift),
    offBy: Math.max(...results.offBy),
    firstAt390,
  };
}

const sizes = options.sizes.split(",").map(Number);
const chosen = options.designs.split(",");
const pages = await servedPages({ build, cli, programFolder, sizes, designs: chosen });
try {
  console.log(
    "design      entries   load ms  1st key ms  later keys ms (max)  deep link ms  jump ms  off by px  shift  first entry at 390 px"
  );
  for (const size of sizes) {
    for (const design of chosen) {
      const r = { design, size, ...(await measureDesign(pages.browser, pages.url(size, design))) };
      console.log(
        [
          r.design.padEnd(10),
          String(r.size).padStart(8),
          r.load.toFixed(0).padStart(9),
          r.firstKey.toFixed(0).padStart(11),
          r.laterKeys.toFixed(0).padStart(20),
          r.deepLink.toFixed(0).padStart(13),
          r.jump.toFixed(0).padStart(8),
          r.offBy.toFixed(0).padStart(10),
          r.shift.toFixed(3).padStart(7),
          String(r.firstAt390).padStart(22),
        ].join(" ")
      );
    }
  }
} finally {
  await pages.close();
}
