// What the page check (check_pages.mjs) and the page timings (bench/pages/)
// share: exporting a project with each shipped design through brindlewick-cli,
// serving the pages compressed as a web host does, and headless Chromium.

import { execFileSync } from "node:child_process";
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createServer } from "node:http";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, extname, join, normalize, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { gzipSync } from "node:zlib";

export const here = dirname(fileURLToPath(import.meta.url));
export const sourceDir = resolve(here, "../..");
export const designs = ["standard", "accordion", "structured"];
export const chromiumPath = process.env.CHROMIUM || "/usr/bin/chromium";

// Whatever is missing for driving the browser, or null when all is there.
export function missingTools() {
  if (!existsSync(chromiumPath)) {
    return chromiumPath + " (Debian package chromium)";
  }
  if (!existsSync(join(here, "node_modules", "puppeteer-core"))) {
    return "tests/pages/node_modules (npm ci in tests/pages)";
  }
  return null;
}

export const requireHere = createRequire(join(here, "package.json"));

// The project as JSON, through brindlewick-cli dump.
export function dumpProject(cli, projectPath) {
  return JSON.parse(execFileSync(cli, ["dump", projectPath], { encoding: "utf8", maxBuffer: 1 << 30 }));
}

// The sample's entries over and over to COUNT entries, each question made
// unique by its round, every tenth entry switched off: a catalogue with the
// sample's real mix of text, lists and addresses.
export function repeatEntries(project, count) {
  const source = project.entries;
  const entries = [];
  for (let i = 0; i < count; i++) {
    const from = source[i % source.length];
    const round = Math.floor(i / source.length);
    entries.push({
      icon: (i + 1) % 10 === 0 ? 2 : from.icon,
      question: round ? from.question + "（その" + (round + 1) + "）" : from.question,
      answer: from.answer,
    });
  }
  return { document: project.document, entries };
}

// Exports PROJECT (JSON) with DESIGN into OUT/<design>/ and returns the
// page's path. The project comes from brindlewick-cli import, so the page is
// the program's own.
export function exportWithDesign({ cli, programFolder, project, design, out }) {
  const work = join(out, ".projects");
  mkdirSync(work, { recursive: true });
  const json = join(work, design + ".json");
  const bwk = join(work, design + ".bwk");
  const document = { ...project.document, code: design + "\\faq.ddc", codeFolder: design };
  writeFileSync(json, JSON.stringify({ document, entries: project.entries }));
  rmSync(bwk, { force: true });
  execFileSync(cli, ["import", json, bwk]);
  const folder = join(out, design);
  rmSync(folder, { recursive: true, force: true });
  execFileSync(cli, ["export", bwk, folder, "--program-folder", programFolder]);
  return join(folder, design + ".html");
}

// The project of SIZE entries as JSON: the sample's own ("sample"), or one
// made by the build's brindlewick-generate into WORK.
export function projectOfSize({ build, cli, size, work }) {
  if (size === "sample") {
    return dumpProject(cli, join(sourceDir, "examples", "sample.bwk"));
  }
  const bwk = join(work, size + ".bwk");
  execFileSync(join(build, "brindlewick-generate"), [String(size), bwk]);
  return dumpProject(cli, bwk);
}

// What the benchmarks of bench/pages share: each of DESIGNS exported with a
// project of each of SIZES into a temporary folder, served as a web host
// serves it, and headless Chromium. Resolves to { browser, origin,
// url(size, design), close() }; close() also removes the folder.
export async function servedPages({ build, cli, programFolder, sizes, designs: chosen }) {
  const out = mkdtempSync(join(tmpdir(), "brindlewick-pages-"));
  try {
    for (const size of sizes) {
      const project = projectOfSize({ build, cli, size, work: out });
      for (const design of chosen) {
        exportWithDesign({ cli, programFolder, project, design, out: join(out, String(size)) });
      }
    }
    const server = await serve(out);
    const browser = await launchBrowser();
    return {
      browser,
      origin: server.origin,
      url: (size, design) => server.origin + "/" + size + "/" + design + "/" + design + ".html",
      close: async () => {
        await browser.close();
        await server.close();
        rmSync(out, { recursive: true, force: true });
      },
    };
  } catch (error) {
    rmSync(out, { recursive: true, force: true });
    throw error;
  }
}

const TYPES = {
  ".html": "text/html",
  ".css": "text/css",
  ".js": "text/javascript",
  ".png": "image/png",
  ".svg": "image/svg+xml",
};

// A static server on the loopback address that compresses with gzip as a web
// host does. Resolves to { origin, close() }.
export function serve(root) {
  const cache = new Map();
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, "http://x").pathname));
    const file = join(root, path);
    if (!file.startsWith(root) || !existsSync(file) || !extname(file)) {
      response.writeHead(404, { "Content-Type": "text/plain" });
      response.end("not found");
      return;
    }
    if (!cache.has(file)) {
      cache.set(file, gzipSync(readFileSync(file), { level: 6 }));
    }
    const gzip = /\bgzip\b/.test(request.headers["accept-encoding"] || "");
    const body = gzip ? cache.get(file) : readFileSync(file);
    response.writeHead(200, {
      "Content-Type": TYPES[extname(file)] || "application/octet-stream",
      "Cache-Control": "max-age=31536000",
      ...(gzip ? { "Content-Encoding": "gzip" } : {}),
      Vary: "Accept-Encoding",
    });
    response.end(body);
  });
  return new Promise((done) => {
    server.listen(0, "127.0.0.1", () => {
      const origin = "http://127.0.0.1:" + server.address().port;
      done({ origin, close: () => new Promise((closed) => server.close(closed)) });
    });
  });
}

export async function launchBrowser() {
  const puppeteer = requireHere("puppeteer-core");
  return puppeteer.launch({
    executablePath: chromiumPath,
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--font-render-hinting=none"],
  });
}

export const PHONE = { width: 390, height: 844, deviceScaleFactor: 1, isMobile: true, hasTouch: true };
export const DESKTOP = { width: 1280, height: 900, deviceScaleFactor: 1 };

// Counts the layout shifts of a page from its start (installed before
// navigation); read back with layoutShift(page).
export async function watchLayoutShifts(page) {
  await page.evaluateOnNewDocument(() => {
    window.__shift = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) {
        if (!entry.hadRecentInput) {
          window.__shift += entry.value;
        }
      }
    }).observe({ type: "layout-shift", buffered: true });
  });
}

export function layoutShift(page) {
  return page.evaluate(() => window.__shift);
}

// The time from the start of navigation to the first frame after the load
// event: the page is parsed, styled, laid out and its scripts have run.
export async function loadUntilLaidOut(page, url) {
  await page.goto(url, { waitUntil: "load", timeout: 120000 });
  return page.evaluate(
    () =>
      new Promise((done) =>
        requestAnimationFrame(() => setTimeout(() => done(performance.now()), 0))
      )
  );
}

// Types one key into the search box and resolves to the milliseconds from
// the key going down to the end of the next frame (the task after the frame's
// animation callbacks runs after its style, layout and paint).
export async function timedKey(page, key) {
  await page.evaluate(() => {
    window.__keyDone = new Promise((done) => {
      document.addEventListener(
        "keydown",
        (event) => {
          const start = event.timeStamp;
          setTimeout(() =>
            requestAnimationFrame(() => setTimeout(() => done(performance.now() - start), 0))
          , 0);
        },
        { once: true, capture: true }
      );
    });
  });
  await page.keyboard.press(key);
  return page.evaluate(() => window.__keyDone);
}

// The entries the search box leaves shown, as the reader sees them: those
// that take room on the page (an entry drawn by its parts alone, with
// display: contents, by its question's room).
export function shownEntries(page) {
  return page.evaluate(() => {
    const box = document.querySelector(".search");
    const entry = box.getAttribute("data-entry");
    const question = box.getAttribute("data-question");
    return Array.from(document.querySelectorAll(entry)).filter((element) => {
      const q = element.querySelector(question);
      const drawn = getComputedStyle(element).display === "contents" ? q : element;
      return q && q.textContent !== "" && drawn.getBoundingClientRect().height > 0;
    }).length;
  });
}
