// Plays the browser build in Debian's Chromium, headless, against the site
// served on 127.0.0.1, as a player would: the menu, 1 and Enter, holding
// Right, Escape; the frame statistics; a key script replayed to a frame that
// must equal the desktop's pixel for pixel; scripts that cannot be used.
//   node browser_test.js SITE_DIR WORK_DIR CHROMIUM
// WORK_DIR holds a copy of the site with the test's files: finish.keys,
// bad.keys, pad.keys and reference.png (morvel-script's frame
// SCRIPT_FRAMES - 1).
'use strict';
const { spawn } = require('child_process');
const path = require('path');
const { chromium } = require('playwright-core');

const [workDir, chromiumPath, scriptFrames] = process.argv.slice(2);
const serveSite = path.join(__dirname, '..', '..', 'tools', 'serve-site');

function check(condition, what) {
  if (!condition) {
    throw new Error(what);
  }
  console.log('ok: ' + what);
}

async function serve() {
  const server = spawn(serveSite, [workDir, '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const address = await new Promise((resolve, reject) => {
    server.stdout.on('data', (data) => {
      const found = String(data).match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (found) {
        resolve(found[0]);
      }
    });
    server.on('exit', () => reject(new Error('the site server ended')));
  });
  return { server, address };
}

// The canvas's size and a summary of its pixels: how many are not black, and
// where the blob's blue skin lies (the mean x of its pixels below the overlay).
function canvasState(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let lit = 0;
    let blueX = 0;
    let blue = 0;
    for (let i = 0; i < pixels.length; i += 4) {
      const [r, g, b] = [pixels[i], pixels[i + 1], pixels[i + 2]];
      lit += r + g + b > 0 ? 1 : 0;
      const y = Math.floor(i / 4 / canvas.width);
      if (y > 200 && b > 150 && r < 100 && b - g > 60) {
        blueX += (i / 4) % canvas.width;
        ++blue;
      }
    }
    let hash = 0;
    for (let i = 0; i < pixels.length; i += 97) {
      hash = (hash * 31 + pixels[i]) | 0;
    }
    return { width: canvas.width, height: canvas.height, lit, blueX: blue ? blueX / blue : -1, hash };
  });
}

async function openPage(browser, address, query, messages) {
  const page = await browser.newPage({ viewport: { width: 1000, height: 500 } });
  page.on('console', (message) => messages.push(message.text()));
  page.on('pageerror', (error) => messages.push('page error: ' + error.message));
  const start = Date.now();
  await page.goto(address + query);
  return { page, start };
}

// Waits for the menu to be drawn: only then does the game take keys, and the
// canvas is 400 wide before that.
function menuDrawn(page) {
  return page.waitForFunction(() => {
    const canvas = document.getElementById('canvas');
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    return canvas.width === 400 && pixels.some((v, i) => i % 4 !== 3 && v !== 0);
  }, null, { timeout: 20000 });
}

async function playTheGame(browser, address) {
  const messages = [];
  const { page, start } = await openPage(browser, address, '', messages);
  await menuDrawn(page);
  const menu = await canvasState(page);
  check(menu.width === 400 && menu.height === 300 && menu.lit > 1000,
        `the menu shows on a 400 x 300 canvas (${Date.now() - start} ms after loading)`);

  await page.keyboard.press('1');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.getElementById('canvas').width === 800, null,
                             { timeout: 10000 });
  await page.waitForTimeout(500);
  const before = await canvasState(page);
  check(before.width === 800 && before.height === 600, '1 then Enter gives an 800 x 600 game');
  check(await page.evaluate(() => !document.fullscreenElement), 'the window mode is no full screen');

  await page.keyboard.down('ArrowRight');
  await page.keyboard.down('ArrowDown');
  await page.waitForTimeout(2000);
  await page.keyboard.up('ArrowDown');
  await page.keyboard.up('ArrowRight');
  const after = await canvasState(page);
  check(before.blueX >= 0 && after.blueX > before.blueX + 30,
        `holding Right rolls the blob to the right (x ${before.blueX.toFixed(0)} to ${after.blueX.toFixed(0)})`);
  await page.keyboard.press('Space');
  check(await page.evaluate(() => window.scrollY === 0 && window.scrollX === 0),
        'the arrows and Space do not scroll the page');

  await page.keyboard.press('Escape');
  await page.waitForFunction(() => window.morvelDone === true, null, { timeout: 10000 });
  const ended = await canvasState(page);
  await page.waitForTimeout(300);
  const later = await canvasState(page);
  check(ended.hash === later.hash, 'Escape stops the game loop');
  check(/has ended/.test(await page.textContent('#status')) && await page.isVisible('#again'),
        'the page says the game has ended and offers to start again');
  check(!messages.some((text) => /page error/.test(text)), 'no script errors: ' + messages.join(' | '));
  await page.close();
}

async function frameStatistics(browser, address) {
  const messages = [];
  const { page } = await openPage(browser, address, '?stats=1', messages);
  await menuDrawn(page);
  await page.keyboard.press('1');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.getElementById('canvas').width === 800);
  await page.waitForTimeout(1500);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => window.morvelDone === true, null, { timeout: 10000 });
  const line = messages.find((text) => text.startsWith('morvel: Direct3D 7, the 800 x 600 window: '));
  check(line && /: \d+ frames, interval mean [\d.]+ ms, median [\d.]+, 99th percentile [\d.]+, max [\d.]+, \d+ over 20 ms/.test(line),
        '?stats=1 prints the frame statistics at Escape: ' + line);
  await page.close();
}

async function replayScript(browser, address) {
  const messages = [];
  const started = Date.now();
  const { page } = await openPage(browser, address, `?script=finish.keys&frames=${scriptFrames}`, messages);
  await page.waitForFunction(() => window.morvelDone === true, null, { timeout: 240000, polling: 250 });
  const seconds = (Date.now() - started) / 1000;
  check(await page.evaluate(() => window.morvelStatus) === 0, `the script ran (${seconds.toFixed(1)} s)`);
  const differing = await page.evaluate(async () => {
    const canvas = document.getElementById('canvas');
    const shown = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const picture = await createImageBitmap(await (await fetch('reference.png')).blob(),
                                            { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
    if (picture.width !== canvas.width || picture.height !== canvas.height) {
      return -1;
    }
    const scratch = new OffscreenCanvas(picture.width, picture.height).getContext('2d');
    scratch.drawImage(picture, 0, 0);
    const wanted = scratch.getImageData(0, 0, picture.width, picture.height).data;
    let count = 0;
    for (let i = 0; i < wanted.length; i += 4) {
      count += wanted[i] !== shown[i] || wanted[i + 1] !== shown[i + 1] || wanted[i + 2] !== shown[i + 2] ? 1 : 0;
    }
    return count;
  });
  check(differing === 0, `the last frame equals morvel-script's frame ${scriptFrames - 1} (${differing} pixels differ)`);
  await page.close();
}

async function unusableScripts(browser, address) {
  const cases = [
    ['?script=missing.keys', /missing\.keys.*404/],
    ['?script=bad.keys', /bad\.keys:2: action 'jump' is not down, up/],
    ['?script=finish.keys&frames=ten', /frames 'ten' is not a positive frame count/],
    ['?script=pad.keys', /pad\.keys: game controller events cannot be replayed in the browser/],
  ];
  for (const [query, expected] of cases) {
    const { page } = await openPage(browser, address, query, []);
    await page.waitForFunction(() => window.morvelDone === true, null, { timeout: 20000 });
    const text = await page.textContent('#status');
    check(expected.test(text) && await page.evaluate(() => window.morvelStatus) === 2,
          `${query} says what is wrong: ${text}`);
    await page.close();
  }
}

async function main() {
  const { server, address } = await serve();
  const browser = await chromium.launch({
    executablePath: chromiumPath,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--force-color-profile=srgb'],
  });
  try {
    await playTheGame(browser, address);
    await frameStatistics(browser, address);
    await unusableScripts(browser, address);
    await replayScript(browser, address);
  } finally {
    await browser.close();
    server.kill();
  }
}

main().catch((error) => {
  console.log('FAIL: ' + error.message);
  process.exit(1);
});
