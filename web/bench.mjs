// The web app's figures as rows of the bench table (bench/table.sh): node
// web/bench.mjs SITE NPM_DIR. Each in one run, medians of alternating runs:
// the bytes a first visit transfers against a 60 KB budget; the time from
// navigation to the first result against a blank page served the same way,
// cold, with the CPU slowed 4x, and against the page without its scripts
// (what its markup and styles cost alone: that floor against the blank one
// too); one recomputation at 4x against 1 ms; with
// LIGHTHOUSE_DIR (an npm ci of web/lighthouse), Lighthouse's phone-size
// scores as points below 100 against the 5 a score of 95 allows.
import { execFile } from 'node:child_process';
import { promisify } from 'node:util';
import { mkdtempSync, cpSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { serve } from './serve.mjs';

const [site, npmDir, lighthouseDir] = process.argv.slice(2);
process.env.PW_EXPERIMENTAL_SERVICE_WORKER_NETWORK_EVENTS = '1';
const { chromium } = createRequire(resolve(npmDir, 'node_modules') + '/')('playwright-core');
const RUNS = 7;

// The site with a blank page and the page without scripts beside it, so all
// come from the same server.
const folder = mkdtempSync(join(tmpdir(), 'qilo-bench-'));
cpSync(site, folder, { recursive: true });
writeFileSync(join(folder, 'blank.html'), '<!DOCTYPE html><html lang="zh-CN"><title>空白</title></html>\n');
writeFileSync(join(folder, 'static.html'), readFileSync(join(site, 'index.html'), 'utf8')
  .replace(/<script[^>]*><\/script>\n|<link rel="preload"[^>]*>\n/g, ''));
const server = await serve(folder);
const origin = `http://127.0.0.1:${server.address().port}`;
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });

function stats(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return { median: sorted[Math.floor(sorted.length / 2)], min: sorted[0], max: sorted[sorted.length - 1] };
}

function row(figure, qilo, floor, unit, goal, floorName) {
  const fixed = (v) => v.toFixed(1);
  console.log(['ROW', figure, fixed(qilo.median), fixed(floor), unit, goal, fixed(qilo.min),
    fixed(qilo.max), floorName].join('|'));
}

// A fresh profile (no cache, no worker) with the CPU slowed 4x.
async function coldPage() {
  const context = await browser.newContext({ viewport: { width: 390, height: 844 } });
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
  return { context, page };
}

// What the page and its worker fetch, as sent (gzip); the worker's copies
// are revalidations the ETag answers with no body.
async function firstVisitBytes() {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(origin + '/');
  await page.evaluate(() => navigator.serviceWorker.ready);
  const bytes = await page.evaluate(() => [
    ...performance.getEntriesByType('navigation'),
    ...performance.getEntriesByType('resource'),
  ].reduce((sum, entry) => sum + entry.encodedBodySize, 0));
  await context.close();
  return bytes / 1024;
}

async function loadTimes() {
  const site = [];
  const blank = [];
  const bare = [];
  for (let i = 0; i < RUNS; i++) {
    for (const [url, into] of [['/', site], ['/blank.html', blank], ['/static.html', bare]]) {
      const { context, page } = await coldPage();
      await page.goto(origin + url);
      if (url === '/') {
        await page.waitForFunction(() => performance.getEntriesByName('qilo-first-result').length > 0);
        into.push(await page.evaluate(() => performance.getEntriesByName('qilo-first-result')[0].startTime));
      } else {
        await page.waitForFunction(() => performance.getEntriesByType('navigation')[0].loadEventEnd > 0);
        into.push(await page.evaluate(() => performance.getEntriesByType('navigation')[0].loadEventEnd));
      }
      await context.close();
    }
  }
  return { site: stats(site), blank: stats(blank), bare: stats(bare) };
}

async function recomputeMicros() {
  const { context, page } = await coldPage();
  await page.goto(origin + '/');
  await page.waitForFunction(() => performance.getEntriesByName('qilo-first-result').length > 0);
  const times = [];
  for (let i = 0; i < RUNS; i++) {
    times.push(await page.evaluate(() => {
      const form = document.querySelector('#fees form');
      const count = form.elements.count;
      const calls = 100;
      const start = performance.now();
      for (let n = 0; n < calls; n++) {
        count.value = String(1000 + n * 100);
        form.dispatchEvent(new Event('input'));
      }
      return ((performance.now() - start) * 1000) / calls;
    }));
  }
  await context.close();
  return stats(times);
}

// Run beside this process's server, which must keep answering meanwhile.
async function lighthouseScores() {
  const report = join(folder, 'lighthouse.json');
  await promisify(execFile)(join(resolve(lighthouseDir), 'node_modules/.bin/lighthouse'), [
    origin + '/', '--chrome-flags=--headless=new --no-sandbox', '--quiet', '--output=json',
    `--output-path=${report}`, '--only-categories=performance,accessibility,best-practices',
  ], { env: { ...process.env, CHROME_PATH: '/usr/bin/chromium' } });
  return JSON.parse(readFileSync(report, 'utf8')).categories;
}

try {
  const bytes = await firstVisitBytes();
  row('web first visit, gzip (KB)', { median: bytes, min: bytes, max: bytes }, 60, 'KB', 1, 'budget');
  const { site: load, blank, bare } = await loadTimes();
  row('web load to first result, 4x CPU (ms)', load, blank.median, 'ms', 1.5, 'blank_page');
  row('web page without scripts, 4x CPU (ms)', bare, blank.median, 'ms', 1.5, 'blank_page');
  row('web first result against that page', load, bare.median, 'ms', 1.5, 'no_scripts');
  row('web one recomputation, 4x CPU (us)', await recomputeMicros(), 1000, 'us', 1, 'budget');
  if (lighthouseDir) {
    for (const [id, category] of Object.entries(await lighthouseScores())) {
      const short = 100 - Math.round(category.score * 100);
      row(`web Lighthouse ${id}, below 100`, { median: short, min: short, max: short }, 5, 'pt', 1,
        'score_95');
    }
  }
} finally {
  await browser.close();
  server.close();
}
