// Albums of every shipped template in headless Chromium, from file://: the
// slideshow and its keys, axe-core's WCAG 2 A and AA rules at a desktop and
// a phone width, with the show open and closed, and how much of a camera's
// pictures the pages fetch. Exit 77 where Chromium or
// node_modules is missing.   node album_browser_test.js BATCH MALLAR [SHOTS-FOLDER]
"use strict";
const assert = require("node:assert/strict");
const { execFileSync } = require("node:child_process");
const [fs, os, path] = ["fs", "os", "path"].map((name) => require(`node:${name}`));

const [batch, mallar, shots] = process.argv.slice(2);
const kChromium = "/usr/bin/chromium";
const skip = (why) => (console.log(`SKIPPED: ${why}`), process.exit(77));
if (!fs.existsSync(path.join(__dirname, "node_modules"))) skip("no node_modules: run scripts/install-deps.sh");
if (!fs.existsSync(kChromium)) skip("chromium is not installed");
const puppeteer = require("puppeteer-core");
const axe = fs.readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");

// Four pictures with comments of these lengths (d-skog has none), and between
// them a sub-album whose one picture has the empty sound a skipped recording
// leaves. Captions of a few letters, which axe-core checks for contrast.
const kComments = { "a-fyr": 1.0, "c-hav": 0.5, "e-berg": 1.5 };
const kSlides = ["a-fyr.jpg", "c-hav.jpg", "d-skog.jpg", "e-berg.jpg"];
const work = fs.mkdtempSync(path.join(os.tmpdir(), "album-browser-"));
const source = path.join(work, "bilder");
fs.mkdirSync(path.join(source, "b-resa"), { recursive: true });
for (const [name, size] of [["a-fyr", "900x600"], ["c-hav", "500x800"], ["d-skog", "700x700"],
  ["e-berg", "1200x500"], ["b-resa/f-by", "600x400"]]) {
  execFileSync("convert", ["-size", size, "plasma:", path.join(source, `${name}.jpg`)]);
}
for (const [name, seconds] of Object.entries(kComments)) {
  execFileSync("sox", ["-n", "-r", "22050", path.join(source, `${name}.wav`), "synth", `${seconds}`, "sine", "440"]);
}
fs.copyFileSync(path.join(mallar, "emptysound.wav"), path.join(source, "b-resa/f-by.wav"));

// Pictures as a camera of today takes them: 12 megapixels, over 3 MB each.
const kCameraPictures = 30;
const camera = path.join(work, "kamera");
fs.mkdirSync(camera);
execFileSync("convert", ["-size", "4000x3000", "plasma:", "-quality", "90", path.join(camera, "p00.jpg")]);
for (let i = 1; i < kCameraPictures; ++i) {
  fs.copyFileSync(path.join(camera, "p00.jpg"), path.join(camera, `p${String(i).padStart(2, "0")}.jpg`));
}

// In the page: every slide shown and every comment's end and failure, in time.
function noteShow() {
  window.notes = [];
  const note = (what, file, media) => notes.push({ what, file: decodeURI(file).split("/").pop(),
    at: performance.now(), time: media && media.currentTime, duration: media && media.duration });
  for (const what of ["ended", "error"]) {
    document.addEventListener(what, (event) => note(what, event.target.src, event.target), true);
  }
  document.addEventListener("DOMContentLoaded", () => {
    const picture = document.querySelector("dialog img");
    new MutationObserver(() => note("slide", picture.src)).observe(picture, { attributes: true });
  });
}
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const slidesShown = (page) => page.evaluate(() => notes.filter((n) => n.what === "slide").map((n) => n.file));
const showIsOpen = (page) => page.evaluate(() => document.querySelector("dialog").open);
const untilSlides = (page, count, timeout = 8000) => page.waitForFunction(
  (n) => notes.filter((note) => note.what === "slide").length >= n, { timeout }, count);
// Closed, silent, and the focus back on the button that started it.
const showEnded = (page, timeout) => page.waitForFunction(() => !document.querySelector("dialog").open &&
  document.querySelector("audio").paused && document.activeElement.textContent === "Spela upp", { timeout });

async function checkAccessibility(page, where) {
  for (const [width, height] of [[1280, 800], [390, 844]]) {
    await page.setViewport({ width, height });
    if (!(await page.evaluate(() => typeof axe === "object"))) await page.addScriptTag({ content: axe });
    const { violations } = await page.evaluate(() => axe.run({ runOnly: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"] }));
    const serious = violations.filter((v) => ["serious", "critical"].includes(v.impact));
    assert.deepEqual(serious.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(" ")}`), [],
      `${where} at ${width}x${height}`);
  }
}

async function checkTemplate(browser, template) {
  const folder = path.join(work, template);
  fs.cpSync(source, folder, { recursive: true });
  execFileSync(batch, ["--templates-folder", mallar, "--template", template, "--record", "never", "--quiet", folder]);
  // A context of its own is a window of its own: a background tab would wait.
  const page = await (await browser.createBrowserContext()).newPage();
  await page.evaluateOnNewDocument(noteShow);
  await page.setViewport({ width: 1280, height: 800 });
  await page.goto(`file://${folder}/index.html`);
  const start = await page.waitForSelector("::-p-text(Spela upp)");

  // Left alone, the show plays every picture once and ends.
  await start.click();
  assert.ok(await page.evaluate(() => document.querySelector("dialog").contains(document.activeElement)));
  await showEnded(page, 15000);
  const notes = await page.evaluate(() => notes);
  assert.deepEqual(await slidesShown(page), kSlides, template);
  const shown = (file) => notes.find((n) => n.what === "slide" && n.file === file).at;
  for (const [name, seconds] of Object.entries(kComments)) {
    const ended = notes.find((n) => n.what === "ended" && n.file === `${name}.wav`);
    assert.ok(ended && Math.abs(ended.duration - seconds) < 0.05 && ended.time >= ended.duration - 0.05,
      `${template}: ${name}.wav did not play to its end`);
    const next = kSlides[kSlides.indexOf(`${name}.jpg`) + 1];
    if (next) assert.ok(shown(next) >= ended.at, `${template}: ${next} came before ${name}.wav ended`);
  }
  assert.ok(notes.some((n) => n.what === "error" && n.file === "d-skog.wav"));
  const wait = shown("e-berg.jpg") - shown("d-skog.jpg");
  assert.ok(wait > 3500 && wait < 5500, `${template}: a picture without a comment stayed ${wait} ms`);

  // P pauses, and the show stays paused while → Space ← step through it (with
  // the focus off the buttons); P resumes, Escape ends it while a comment plays.
  await page.evaluate(() => (notes.length = 0));
  await start.click();
  await page.click("dialog img");
  await page.keyboard.press("p");
  assert.ok(await page.evaluate(() => document.querySelector("audio").paused), template);
  for (const [key, count] of [["ArrowRight", 2], ["ArrowLeft", 3], ["Space", 4]]) {
    await page.keyboard.press(key);
    await untilSlides(page, count, 1000);
  }
  await sleep(800);
  assert.deepEqual(await slidesShown(page), [...kSlides.slice(0, 2), ...kSlides.slice(0, 2)], template);
  const dialogs = (await page.accessibility.snapshot()).children.filter((n) => n.role === "dialog");
  assert.deepEqual(dialogs.map((n) => n.name), ["Bildspel"], template);
  await checkAccessibility(page, `${template} index.html with the show open`);
  if (shots) await page.screenshot({ path: path.join(shots, `${template}-phone.png`) });
  await page.setViewport({ width: 1280, height: 800 });
  if (shots) await page.screenshot({ path: path.join(shots, `${template}-desktop.png`) });
  for (const [key, count] of [["P", 5], ["ArrowRight", 6]]) {
    await page.keyboard.press(key);
    await untilSlides(page, count);
  }
  await page.keyboard.press("Escape");
  await showEnded(page, 1000);

  // A sub-album's show has its one picture, not the way back; an empty comment is none.
  await page.goto(`file://${folder}/b-resa/index.html`);
  await (await page.waitForSelector("::-p-text(Spela upp)")).click();
  await sleep(1000);
  assert.ok(await showIsOpen(page), `${template}: a picture with an empty comment flashed by`);
  await page.keyboard.press("ArrowRight");
  assert.deepEqual([await slidesShown(page), await showIsOpen(page)], [["f-by.jpg"], false], template);

  // A picture page leads on by → and ← past the sub-album between pictures,
  // not while the comment's player has the focus; the last has no next link.
  await page.goto(`file://${folder}/a-fyr.html`);
  assert.equal(await page.$('a[rel="prev"]'), null, `${template}: the first page has a previous link`);
  for (const [key, where] of [["ArrowRight", "c-hav.html"], ["ArrowLeft", "a-fyr.html"]]) {
    await Promise.all([page.waitForNavigation(), page.keyboard.press(key)]);
    assert.ok(page.url().endsWith(where), `${template}: ${key} led to ${page.url()}`);
  }
  // A swipe to the left on a touch screen goes on too, one to the right back.
  await page.setViewport({ width: 390, height: 844, hasTouch: true, isMobile: true });
  for (const [from, to, where] of [[300, 60, "c-hav.html"], [60, 300, "a-fyr.html"]]) {
    const box = await (await page.$("figure img")).boundingBox();
    const y = box.y + box.height / 2;
    const touch = await page.touchscreen.touchStart(from, y);
    await touch.move(to, y + 10);
    await Promise.all([page.waitForNavigation(), touch.end()]);
    assert.ok(page.url().endsWith(where), `${template}: a swipe led to ${page.url()}`);
  }
  await page.setViewport({ width: 1280, height: 800 });
  await page.focus("audio");
  await page.keyboard.press("ArrowRight");
  await sleep(300);
  assert.ok(page.url().endsWith("a-fyr.html"), `${template}: the player's arrow key left the page`);
  await page.goto(`file://${folder}/e-berg.html`);
  assert.equal(await page.$('a[rel="next"]'), null, `${template}: the last page has a next link`);
  assert.deepEqual(await page.$$eval('a[rel="prev"]', (links) => links.map((a) => a.textContent)),
    ["← Föregående: D-skog"], template);

  for (const where of ["index.html", "a-fyr.html", "c-hav.html", "b-resa/index.html"]) {
    await page.goto(`file://${folder}/${where}`);
    await checkAccessibility(page, `${template} ${where}`);
  }
}

// The bytes of the files a page fetches, once it is scrolled to its end.
async function fetchedBytes(page, url) {
  const fetched = new Set();
  const note = (request) => request.url().startsWith("file://") && fetched.add(decodeURI(request.url().slice(7)));
  page.on("request", note);
  await page.goto(url, { waitUntil: "load" });
  for (let y = 0; y < 40; ++y) {
    await page.evaluate(() => window.scrollBy(0, window.innerHeight));
    await sleep(50);
  }
  await page.waitForNetworkIdle({ idleTime: 300 });
  page.off("request", note);
  return [...fetched].filter((file) => file.endsWith(".jpg")).reduce((sum, file) => sum + fs.statSync(file).size, 0);
}

// The cells show small copies and a picture page a screen-sized one: the index
// page of a camera's pictures fetches at most 3% of their bytes, a picture
// page at most 15% of its picture's.
async function checkWeight(browser, template) {
  const folder = path.join(work, `${template}-kamera`);
  fs.cpSync(camera, folder, { recursive: true });
  execFileSync(batch, ["--templates-folder", mallar, "--template", template, "--record", "never", "--quiet", folder]);
  const original = fs.statSync(path.join(camera, "p00.jpg")).size;
  const page = await (await browser.createBrowserContext()).newPage();
  await page.setViewport({ width: 1280, height: 800 });
  const index = await fetchedBytes(page, `file://${folder}/index.html`);
  assert.ok(index <= 0.03 * kCameraPictures * original, `${template}: the index page fetched ${index} bytes`);
  const picture = await fetchedBytes(page, `file://${folder}/p07.html`);
  assert.ok(picture <= 0.15 * original, `${template}: a picture page fetched ${picture} bytes`);
  console.log(`${template}: index page ${index} bytes, picture page ${picture} bytes, ` +
    `originals ${kCameraPictures} x ${original} bytes`);
}

// A failure rejects, and Node.js ends with exit code 1.
(async () => {
  const browser = await puppeteer.launch({ executablePath: kChromium, headless: true, args: ["--no-sandbox",
    "--autoplay-policy=no-user-gesture-required", "--mute-audio", "--disable-gpu", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync"] });
  try {
    const templates = fs.readdirSync(mallar).filter((f) => f.endsWith("_index.html")).map((f) => f.slice(0, -11));
    assert.ok(templates.length >= 3);
    await Promise.all(templates.map((template) => checkTemplate(browser, template)));
    for (const template of templates) await checkWeight(browser, template);
    console.log(`album browser test: ${templates.join(", ")} passed`);
  } finally {
    await browser.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
})();
