// The page in headless Chromium at phone and desktop sizes, against the
// qilo-cli of the same tree: node web/browser_test.mjs SITE QILO_CLI NPM_DIR
// SHOT_DIR. Exits 1 with a line per failed check.
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { serve } from './serve.mjs';

const [site, qiloCli, npmDir, shots] = process.argv.slice(2);
// Without it the service worker's own fetches escape the request check.
process.env.PW_EXPERIMENTAL_SERVICE_WORKER_NETWORK_EVENTS = '1';
const { chromium } = createRequire(resolve(npmDir, 'node_modules') + '/')('playwright-core');

const failures = [];
function check(ok, what) {
  if (!ok) failures.push(what);
}

const DEFAULTS = {
  market: 'sh', kind: 'stock', commission: '0.25', 'min-commission': '5', other: '0',
  rounding: 'fen', 'target-profit': '', 'target-rate': '',
};
// Each trade as the page's inputs; the same values as qilo-cli's options.
const FEES_CASES = [
  { date: '2026-12-09', buy: '10', sell: '11', count: '1000' },
  // An exact half fen of stamp tax: 3.765 is 3.77, where doubles print 3.76.
  { date: '2026-12-09', buy: '5.00', sell: '5.02', count: '1500', 'target-rate': '3' },
  { date: '2010-01-04', commission: '1.7', buy: '10', sell: '11', count: '1000',
    'target-profit': '-100' },
  { date: '2024-01-02', 'min-commission': '0', rounding: 'none', buy: '10.30', sell: '10.30',
    count: '100' },
  { date: '2024-01-02', market: 'sz', kind: 'fund', other: '0.5', buy: '1.234', sell: '1.2',
    count: '1000' },
  { date: '2024-01-02', market: 'bj', buy: '8.88', sell: '7.77', count: '300' },
];
// A bad input, the problem shown beside it, in the page's words.
const BAD_INPUTS = [
  ['buy', '10.005', '须是最小变动价位 0.01 元的整数倍'],
  ['count', '0', '须是大于 0 的整数'],
  ['commission', '150', '不能大于 100'],
  ['other', '-1', '不能为负数'],
  ['sell', '', '请填写'],
  ['date', '', '请填写'],
  ['target-rate', '1.23456', '最多 4 位小数'],
];

function cliFields(inputs) {
  const args = ['fees', '--fields'];
  for (const [name, value] of Object.entries({ ...DEFAULTS, ...inputs })) {
    if (value !== '' && !['buy', 'sell', 'count'].includes(name)) args.push(`--${name}`, value);
  }
  args.push(inputs.buy, inputs.sell, inputs.count);
  const lines = execFileSync(qiloCli, args, { encoding: 'utf8' }).trim().split('\n');
  return new Map(lines.map((line) => [line.slice(0, line.indexOf('=')), line.slice(line.indexOf('=') + 1)]));
}

async function enter(page, inputs) {
  for (const [name, value] of Object.entries({ ...DEFAULTS, ...inputs })) {
    const field = page.locator(`#fees [name="${name}"]`);
    if ((await field.evaluate((e) => e.tagName)) === 'SELECT') await field.selectOption(value);
    else await field.fill(value);
  }
}

// Every data-field of the fees tool: its text and whether it shows.
function shownFields(page) {
  return page.$$eval('#fees [data-field]', (all) =>
    all.map((e) => [e.dataset.field, e.textContent, e.checkVisibility()]));
}

async function compareWithCli(page, inputs, where) {
  await enter(page, inputs);
  const expected = cliFields(inputs);
  const shown = await shownFields(page);
  for (const [name, text, visible] of shown) {
    if (expected.has(name)) {
      check(visible && text === expected.get(name),
        `${where} ${JSON.stringify(inputs)}: ${name} shows '${text}' (visible ${visible}), qilo-cli prints '${expected.get(name)}'`);
    } else {
      check(!visible, `${where}: ${name} shows though qilo-cli prints no such line`);
    }
  }
  for (const name of expected.keys()) {
    check(shown.some(([n]) => n === name), `${where}: no element shows ${name}`);
  }
}

async function errorsShown(page) {
  return page.$$eval('#fees .error', (all) => all.map((e) => e.textContent).filter(Boolean));
}

async function checkBadInputs(page, where) {
  await enter(page, FEES_CASES[0]);
  const before = await shownFields(page);
  for (const [name, value, message] of BAD_INPUTS) {
    await page.fill(`#fees [name="${name}"]`, value);
    const beside = await page.locator(`#fees [name="${name}"]`)
      .evaluate((e) => e.closest('.field').querySelector('.error').textContent);
    check(beside === message, `${where}: ${name}='${value}' shows '${beside}' beside it, not '${message}'`);
    const all = await errorsShown(page);
    check(all.length === 1, `${where}: ${name}='${value}' shows ${all.length} messages: ${all}`);
    check(JSON.stringify(await shownFields(page)) === JSON.stringify(before),
      `${where}: ${name}='${value}' changed a result`);
    await page.fill(`#fees [name="${name}"]`, FEES_CASES[0][name] ?? DEFAULTS[name]);
    check((await errorsShown(page)).length === 0, `${where}: ${name} keeps its message once mended`);
  }
}

async function checkKeyboard(page, where) {
  await page.goto(page.url().replace(/#.*/, '') + '#fees');
  await page.evaluate(() => document.activeElement.blur());
  const focused = () => page.evaluate(() => document.activeElement.name || document.activeElement.hash);
  let steps = 0;
  while ((await focused()) !== 'buy' && steps++ < 20) await page.keyboard.press('Tab');
  for (const value of ['20', '22', '500']) {
    await page.keyboard.press('Control+A');
    await page.keyboard.type(value);
    await page.keyboard.press('Tab');
  }
  const expected = cliFields({ ...FEES_CASES[0], buy: '20', sell: '22', count: '500' });
  const profit = await page.textContent('#fees [data-field=profit]');
  check(profit === expected.get('profit'), `${where}: typed from the keyboard, profit shows ${profit}`);
  steps = 0;
  while ((await focused()) !== '#t' && steps++ < 20) await page.keyboard.press('Shift+Tab');
  await page.keyboard.press('Enter');
  check(await page.isVisible('#t') && await page.isHidden('#fees'),
    `${where}: Enter on the 做T tab does not open it`);
}

async function serviceWorkerInControl(page) {
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
}

async function checkOfflineAndRelease(browser, folder) {
  const server = await serve(folder);
  const port = server.address().port;
  const page = await browser.newPage({ viewport: { width: 390, height: 844 } });
  const url = `http://127.0.0.1:${port}/`;
  await page.goto(url);
  await serviceWorkerInControl(page);
  server.closeAllConnections();
  await new Promise((done) => server.close(done));
  const offline = await page.reload().then(() => true, () => false);
  check(offline, 'the page does not load with its server stopped');
  if (!offline) return;
  await page.waitForFunction(() => document.querySelector('[data-field=profit]').textContent !== '—');
  const inputs = { ...FEES_CASES[1], count: '2500' };
  await compareWithCli(page, inputs, 'offline');

  // Publish a release with another footer and reload: the new one shows.
  const again = await serve(folder, port);
  writeFileSync(join(folder, 'index.html'),
    readFileSync(join(folder, 'index.html'), 'utf8').replace('</footer>', ' · 新版</footer>'));
  writeFileSync(join(folder, 'sw.js'),
    readFileSync(join(folder, 'sw.js'), 'utf8').replace(/const RELEASE = '([^']*)'/, "const RELEASE = '$1-next'"));
  await page.reload();
  const updated = await page.waitForFunction(() => document.querySelector('footer').textContent.includes('新版'),
    null, { timeout: 20000 }).then(() => true, () => false);
  check(updated, 'a published release is not shown after a reload');
  again.closeAllConnections();
  again.close();
  await page.close();
}

const server = await serve(site);
const origin = `http://127.0.0.1:${server.address().port}`;
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
try {
  for (const [width, height] of [[390, 844], [1280, 800]]) {
    const where = `${width}x${height}`;
    const context = await browser.newContext({ viewport: { width, height } });
    context.on('request', (r) => check(r.url().startsWith(origin + '/'), `${where}: a request to ${r.url()}`));
    const page = await context.newPage();
    page.on('pageerror', (e) => check(false, `${where}: ${e.message}`));
    page.on('console', (m) => check(m.type() !== 'error', `${where}: console error ${m.text()}`));
    await page.goto(origin + '/');
    await page.waitForFunction(() => document.querySelector('[data-field=profit]').textContent !== '—');
    for (const inputs of FEES_CASES) await compareWithCli(page, inputs, where);
    await page.screenshot({ path: join(shots, `screen-fees-${where}.png`), fullPage: true });
    await page.reload();
    const last = FEES_CASES[FEES_CASES.length - 1];
    check(await page.inputValue('#fees [name=buy]') === last.buy, `${where}: inputs not kept across a reload`);
    await compareWithCli(page, last, `${where} reloaded`);
    await checkBadInputs(page, where);
    await page.fill('#fees [name=buy]', '10.005');
    await page.screenshot({ path: join(shots, `screen-fees-error-${where}.png`) });
    await checkKeyboard(page, where);
    await context.close();
  }
  const copy = mkdtempSync(join(tmpdir(), 'qilo-site-'));
  cpSync(site, copy, { recursive: true });
  await checkOfflineAndRelease(browser, copy);
} catch (error) {
  check(false, String(error));
} finally {
  await browser.close();
  server.close();
}
for (const failure of failures) console.error(failure);
console.log(failures.length === 0 ? 'all checks passed' : `${failures.length} checks failed`);
process.exit(failures.length === 0 ? 0 : 1);
