// The shipped designs' pages as readers get them, in headless Chromium: each
// design exports a catalogue of 1,000 entries (the sample's entries over and
// over, every tenth switched off), served compressed from a local server.
// A page fails on any axe-core violation (light and wide, dark and narrow),
// a layout shift above 0.01, a failed request or a console error, a
// landmark per entry, a question whose spoken name loses its number, or a
// search that does not follow the reader's typing: every key that changes
// the words must change what is shown, text an input method is still
// converting changes nothing, half-width kana wait for their voiced mark,
// and a text of several words finds the entries that hold them all. An
// edit put into the shown page while searching (an entry's text, an entry
// in or out) is followed in the next frame, with every entry in its place.
//
//   node tests/pages/check_pages.mjs BRINDLEWICK_CLI PROGRAM_FOLDER
//
// Exits 77 (skipped) when Chromium or this folder's packages are missing.

import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import {
  DESKTOP,
  PHONE,
  designs,
  dumpProject,
  exportWithDesign,
  launchBrowser,
  layoutShift,
  missingTools,
  repeatEntries,
  requireHere,
  serve,
  shownEntries,
  sourceDir,
  watchLayoutShifts,
} from "./pagekit.mjs";

const SKIPPED = 77;
const ENTRIES = 1000;

const [cli, programFolder] = process.argv.slice(2);
if (!cli || !programFolder) {
  console.error("usage: check_pages.mjs BRINDLEWICK_CLI PROGRAM_FOLDER");
  process.exit(2);
}
const missing = missingTools();
if (missing) {
  console.log("SKIPPED: the page check needs " + missing + "; ./setup.sh test installs it");
  process.exit(SKIPPED);
}

const failures = [];
function check(design, condition, message) {
  if (!condition) {
    failures.push(design + ": " + message);
  }
}

async function axeViolations(page) {
  await page.addScriptTag({ path: requireHere.resolve("axe-core/axe.min.js") });
  const result = await page.evaluate(() =>
    window.axe.run(document, { resultTypes: ["violations"] })
  );
  return result.violations.map(
    (v) => v.id + " (" + v.nodes.length + "): " + v.nodes[0].target.join(" ")
  );
}

async function openPage(browser, url, viewport, scheme, many) {
  const page = await browser.newPage();
  if (many) {
    await page.evaluateOnNewDocument((count) => {
      document.addEventListener("DOMContentLoaded", () => {
        const box = document.querySelector(".search");
        if (box) {
          box.setAttribute("data-many", count);
        }
      });
    }, String(many));
  }
  const errors = [];
  page.on("console", (message) => {
    if (message.type() === "error") {
      errors.push("console: " + message.text());
    }
  });
  page.on("pageerror", (error) => errors.push("script: " + error.message));
  page.on("requestfailed", (request) => errors.push("request failed: " + request.url()));
  page.on("response", (response) => {
    if (response.status() >= 400) {
      errors.push(response.status() + ": " + response.url());
    }
  });
  await page.setViewport(viewport);
  await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
  await watchLayoutShifts(page);
  await page.goto(url, { waitUntil: "load" });
  await new Promise((wait) => setTimeout(wait, 500));
  return { page, errors };
}

// Types into the search box as the reader does and checks what is shown.
async function checkSearch(design, page) {
  const all = await shownEntries(page);
  check(design, all > ENTRIES / 2, "only " + all + " entries shown before searching");
  await page.focus(".search-input");
  let before = all;
  for (const letter of ["送", "料"]) {
    await page.keyboard.sendCharacter(letter);
    const now = await shownEntries(page);
    check(design, now !== before && now > 0, "typing " + letter + " left " + now + " of " + before);
    before = now;
  }
  // Several words: every one of them, in any order
  await page.keyboard.sendCharacter(" 無料");
  const both = await shownEntries(page);
  check(design, both > 0 && both < before, "送料 無料 shows " + both + " of " + before);
  await page.$eval(".search-input", (input) => input.select());
  await page.keyboard.sendCharacter("無料 送料");
  check(design, (await shownEntries(page)) === both, "無料 送料 finds other entries than 送料 無料");
  await page.keyboard.press("Escape");
  check(design, (await shownEntries(page)) === all, "Escape did not show every entry again");

  // An input method's unconverted reading is not searched; the word is.
  const session = await page.target().createCDPSession();
  await session.send("Input.imeSetComposition", {
    text: "へんぴん",
    selectionStart: 4,
    selectionEnd: 4,
  });
  check(design, (await shownEntries(page)) === all, "the list changed while converting");
  await session.send("Input.insertText", { text: "返品" });
  const returned = await shownEntries(page);
  check(design, returned > 0 && returned < all, "返品 shows " + returned + " of " + all);
  await page.keyboard.press("Escape");

  // Half-width kana typed letter by letter never empty the list
  for (const letter of "ｺﾝﾋﾞﾆ") {
    await page.keyboard.sendCharacter(letter);
    const now = await shownEntries(page);
    check(design, now > 0, "half-width ｺﾝﾋﾞﾆ emptied the list at " + letter);
  }
  await page.keyboard.press("Escape");
  await session.detach();

  await checkStatusLine(design, page, "p");
  await page.keyboard.press("Escape");
}

// The reader hears the count once the typing pauses, and the line that says
// it, coming later than the key, moves nothing.
async function checkStatusLine(design, page, key, expected) {
  await page.keyboard.press(key);
  await new Promise((wait) => setTimeout(wait, 520));
  const shiftBefore = await layoutShift(page);
  await new Promise((wait) => setTimeout(wait, 700));
  const line = await page.$eval(".search-status", (status) => status.textContent);
  const count = /^(\d+)件の質問が見つかりました$/.exec(line);
  check(design, count && (!expected || Number(count[1]) === expected), "status line: " + line);
  const shift = (await layoutShift(page)) - shiftBefore;
  check(design, shift <= 0.01, "the status line shifted the page by " + shift.toFixed(4));
}

// A page of many entries: the first of what the search finds is shown at
// once, and the whole page again once the box is empty and left.
async function checkShelf(design, page) {
  const all = await shownEntries(page);
  await page.focus(".search-input");
  await page.keyboard.sendCharacter("送");
  const found = await page.evaluate(() => {
    const box = document.querySelector(".search");
    const entries = Array.from(document.querySelectorAll(box.getAttribute("data-entry")));
    const holding = entries.filter((entry) => entry.textContent.includes("送"));
    const shown = entries.filter((entry) => entry.getBoundingClientRect().height > 0);
    return {
      holding: holding.length,
      shown: shown.length,
      strays: shown.filter((entry) => !entry.textContent.includes("送")).length,
    };
  });
  check(design, found.shown > 0 && found.strays === 0, "送 shows " + JSON.stringify(found));
  await page.keyboard.press("Backspace");
  await checkStatusLine(design, page, "1", null);
  await page.keyboard.press("Escape");
  await page.$eval(".search-input", (input) => input.blur());
  await new Promise((wait) => setTimeout(wait, 3000));
  check(design, (await shownEntries(page)) === all, "the entries did not come back whole");
}

// Brindlewick's preview puts an edit into the shown page while the reader
// searches: an entry's text changes, an entry goes, another comes. The
// search follows each change in the next frame, and every entry stays where
// the page put it.
async function checkPatchedPage(design, page, many) {
  await page.focus(".search-input");
  await page.keyboard.sendCharacter("送料");
  const result = await page.evaluate(async () => {
    const box = document.querySelector(".search");
    const entrySelector = box.getAttribute("data-entry");
    const questionSelector = box.getAttribute("data-question");
    const nextFrames = () =>
      new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
    const withQuestion = () =>
      Array.from(document.querySelectorAll(entrySelector)).filter(
        (entry) => entry.querySelector(questionSelector).textContent !== ""
      );
    const shown = () =>
      withQuestion().filter((entry) => entry.getBoundingClientRect().height > 0);
    const counts = [shown().length];
    const missing = withQuestion().find((entry) => !entry.textContent.includes("送料"));
    const question = missing.querySelector(questionSelector);
    question.firstChild.data = "送料" + question.firstChild.data;
    await nextFrames();
    counts.push(shown().length);
    const missingShown = missing.getBoundingClientRect().height > 0;
    const first = shown()[0];
    const parent = first.parentNode;
    parent.removeChild(first);
    await nextFrames();
    counts.push(shown().length);
    const copy = shown()[0].cloneNode(true);
    copy.id = "q-copy";
    parent.insertBefore(copy, parent.firstChild);
    await nextFrames();
    counts.push(shown().length);
    const entries = withQuestion();
    const numberOf = (entry) =>
      entry.querySelector(questionSelector).style.getPropertyValue("--faq-number");
    return {
      counts,
      missingShown,
      copyNumber: numberOf(copy),
      lastShownNumber: numberOf(shown().pop()),
      lastShownPosition: String(entries.indexOf(shown().pop()) + 1),
      inPlace: entries.every((entry) => entry.parentNode === parent),
    };
  });
  const [before, edited, removed, added] = result.counts;
  check(design, result.missingShown, "an edited entry did not join: " + JSON.stringify(result));
  // A page of many shows the first entries found, as many as before
  const step = many ? 0 : 1;
  check(design, edited === before + step, "an edit changed the count: " + JSON.stringify(result));
  check(design, removed === edited - step && added === removed + step, "entries in and out: " + JSON.stringify(result));
  check(design, result.copyNumber === "1", "an entry put first is numbered " + result.copyNumber);
  check(design, result.lastShownNumber === result.lastShownPosition, "numbers after the changes: " + JSON.stringify(result));
  check(design, result.inPlace, "entries moved out of their list");
  await page.keyboard.press("Escape");
}

// The first question's spoken name keeps its number, and entries are no
// landmarks of their own.
async function checkNames(design, page) {
  const first = await page.evaluateHandle(() => {
    const box = document.querySelector(".search");
    return Array.from(
      document.querySelectorAll(box.getAttribute("data-entry") + " " + box.getAttribute("data-question"))
    ).find((q) => q.textContent !== "");
  });
  const node = await page.accessibility.snapshot({ root: first, interestingOnly: false });
  check(design, node && /^Q1\b/.test(node.name), "first question is called " + (node && node.name));
  const landmarks = await page.evaluate(
    () =>
      document.querySelectorAll(
        "main, nav, aside, section[aria-label], section[aria-labelledby], [role=region], [role=search]"
      ).length
  );
  check(design, landmarks < 10, landmarks + " landmarks");
}

const out = mkdtempSync(join(tmpdir(), "brindlewick-page-check-"));
let browser = null;
let server = null;
try {
  const sample = dumpProject(cli, join(sourceDir, "examples", "sample.bwk"));
  const project = repeatEntries(sample, ENTRIES);
  for (const design of designs) {
    exportWithDesign({ cli, programFolder, project, design, out });
  }
  server = await serve(out);
  browser = await launchBrowser();
  for (const design of designs) {
    const url = server.origin + "/" + design + "/" + design + ".html";
    // The phone's page searches as a page of many entries does
    for (const [viewport, scheme, many] of [
      [DESKTOP, "light", 0],
      [PHONE, "dark", 100],
    ]) {
      const { page, errors } = await openPage(browser, url, viewport, scheme, many);
      const where = design + " " + viewport.width + "px " + scheme;
      const shift = await layoutShift(page);
      check(where, shift <= 0.01, "layout shift " + shift.toFixed(4));
      if (scheme === "light") {
        await checkNames(design, page);
      }
      await (many ? checkShelf(where, page) : checkSearch(where, page));
      await checkPatchedPage(where, page, many);
      for (const violation of await axeViolations(page)) {
        check(where, false, "axe: " + violation);
      }
      for (const error of errors) {
        check(where, false, error);
      }
      await page.close();
    }
    console.log("checked " + design);
  }
} finally {
  if (browser) {
    await browser.close();
  }
  if (server) {
    await server.close();
  }
  rmSync(out, { recursive: true, force: true });
}

if (failures.length) {
  console.log(failures.join("\n"));
  process.exit(1);
}
console.log("every shipped design passed the page check");
