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

const RULES = {
  code: '', market: 'sh', kind: 'stock', commission: '0.25', 'min-commission': '5', other: '0',
  rounding: 'fen',
};
// Each tool's inputs left out of a case, its positionals in their order and
// its flags: the page's inputs and qilo-cli's arguments name them alike.
const TOOLS = {
  fees: {
    defaults: { ...RULES, 'target-profit': '', 'target-rate': '', 'stop-loss': '', 'stop-rate': '' },
    positionals: ['buy', 'sell', 'count'],
  },
  limits: {
    defaults: { code: '', board: 'main', st: '', percent: '' },
    positionals: ['prev-close'],
    flags: ['st'],
  },
  average: {
    defaults: { ...RULES, 'target-average': '', at: '', lot: '100' },
    positionals: ['orders'],
  },
  t: {
    defaults: { ...RULES, first: 'buy', holding: '', average: '' },
    positionals: ['first-price', 'second-price', 'count'],
  },
};
// What the limits tool says beside the board and ST it prints.
const SAID = {
  limits: { board: { main: '主板', chinext: '创业板', fund: '基金' }, st: { 0: '否', 1: '是' } },
};
// A code fills market, kind and board: a case with one gives none of them.
const CODED = ['market', 'kind', 'board'];

// Each case as the page's inputs; the same values as qilo-cli's arguments.
const CASES = [
  ['fees', { date: '2026-12-09', buy: '10', sell: '11', count: '1000' }],
  // An exact half fen of stamp tax: 3.765 is 3.77, where doubles print 3.76.
  ['fees', { date: '2026-12-09', buy: '5.00', sell: '5.02', count: '1500', 'target-rate': '3' }],
  ['fees', { date: '2010-01-04', commission: '1.7', buy: '10', sell: '11', count: '1000',
    'target-profit': '-100', 'stop-loss': '500' }],
  ['fees', { date: '2024-01-02', 'min-commission': '0', rounding: 'none', buy: '10.30', sell: '10.30',
    count: '100', 'stop-rate': '7.5' }],
  ['fees', { date: '2024-01-02', code: '159915', other: '0.5', buy: '1.234', sell: '1.2', count: '1000' }],
  ['fees', { date: '2024-01-02', market: 'bj', buy: '8.88', sell: '7.77', count: '300' }],
  ['limits', { date: '2026-12-09', 'prev-close': '10.05' }],
  ['limits', { date: '2026-12-09', code: '300750', 'prev-close': '188.88' }],
  ['limits', { date: '2026-05-06', st: '1', 'prev-close': '3.33' }],
  ['limits', { date: '2024-01-02', board: 'fund', percent: '20', 'prev-close': '0.999' }],
  ['average', { date: '2026-12-09', orders: [['12.00', '1000'], ['10.00', '1000']] }],
  ['average', { date: '2024-01-02', code: '688981', orders: [['50.5', '200'], ['45', '300'], ['40.01', '500']],
    'target-average': '42', at: '38', lot: '200' }],
  ['average', { date: '2024-01-02', market: 'sz', kind: 'fund', 'min-commission': '0',
    orders: [['1.234', '10000']], 'target-average': '1.2', at: '1.1' }],
  ['t', { date: '2026-12-09', 'first-price': '10.00', 'second-price': '10.30', count: '1000' }],
  ['t', { date: '2024-01-02', first: 'sell', code: '000001', 'first-price': '10.30', 'second-price': '10',
    count: '500', holding: '2000', average: '11.5' }],
  ['t', { date: '2023-08-28', rounding: 'none', 'min-commission': '0', 'first-price': '7.77',
    'second-price': '7.70', count: '300' }],
];
// A bad input (a selector in its tool), the problem shown beside it, in the
// page's words.
const BAD_INPUTS = [
  ['fees', '[name=buy]', '10.005', '须是最小变动价位 0.01 元的整数倍'],
  ['fees', '[name=count]', '0', '须是大于 0 的整数'],
  ['fees', '[name=commission]', '150', '不能大于 100'],
  ['fees', '[name=other]', '-1', '不能为负数'],
  ['fees', '[name=sell]', '', '请填写'],
  ['fees', '[name=date]', '', '请填写'],
  ['fees', '[name=target-rate]', '1.23456', '最多 4 位小数'],
  ['fees', '[name=code]', '900901', '不是沪深北的 A 股或基金代码'],
  ['limits', '[name=percent]', '0', '须大于 0'],
  ['average', '[data-order]:nth-child(3) [name=count]', '1.5', '须是大于 0 的整数'],
];

function withDefaults(tool, inputs) {
  const all = { ...TOOLS[tool].defaults, ...inputs };
  if (inputs.code) for (const name of CODED) delete all[name];
  return all;
}

function cliFields(tool, inputs) {
  const { positionals, flags = [] } = TOOLS[tool];
  const args = [tool, '--fields'];
  for (const [name, value] of Object.entries(withDefaults(tool, inputs))) {
    if (value === '' || positionals.includes(name)) continue;
    if (flags.includes(name)) args.push(`--${name}`);
    else if (name !== 'lot' || inputs.at) args.push(`--${name}`, value);
  }
  for (const name of positionals) args.push(...(name === 'orders' ? inputs.orders.flat() : [inputs[name]]));
  const lines = execFileSync(qiloCli, args, { encoding: 'utf8' }).trim().split('\n');
  return new Map(lines.map((line) => [line.slice(0, line.indexOf('=')), line.slice(line.indexOf('=') + 1)]));
}

async function openTool(page, tool) {
  if (await page.isHidden(`#${tool}`)) await page.click(`.tabs a[href="#${tool}"]`);
}

async function enter(page, tool, inputs) {
  await openTool(page, tool);
  // The code first: it sets the selects a case without one gives.
  const all = withDefaults(tool, inputs);
  for (const [name, value] of Object.entries({ code: all.code, ...all })) {
    if (name === 'orders') {
      const rows = page.locator(`#${tool} [data-order]`);
      while ((await rows.count()) < value.length) await page.click(`#${tool} .add-order`);
      // The first rows go, so that the rest must be numbered anew.
      for (let n = await rows.count(); n > value.length; --n) await rows.first().locator('.remove-order').click();
      check((value.length === 1) === await rows.first().locator('.remove-order').isHidden(),
        `${tool}: ${value.length} orders, the first one's remove button hidden: ${value.length === 1}`);
      for (let i = 0; i < value.length; ++i) {
        await rows.nth(i).locator('[name=price]').fill(value[i][0]);
        await rows.nth(i).locator('[name=count]').fill(value[i][1]);
      }
      continue;
    }
    if (value === undefined) continue;
    const field = page.locator(`#${tool} [name="${name}"]`);
    const type = await field.evaluate((e) => e.type);
    if (type === 'select-one') await field.selectOption(value);
    else if (type === 'checkbox') await field.setChecked(value !== '');
    else await field.fill(value);
  }
}

// Every data-field of a tool: its name and text.
async function fieldTexts(page, tool) {
  return JSON.stringify((await shownFields(page, tool)).map(([name, text]) => [name, text]));
}

// Every data-field of a tool: its text and whether it shows.
function shownFields(page, tool) {
  return page.$$eval(`#${tool} [data-field]`, (all) =>
    all.map((e) => [e.dataset.field, e.textContent, e.checkVisibility()]));
}

async function compareWithCli(page, tool, inputs, where) {
  await enter(page, tool, inputs);
  const expected = cliFields(tool, inputs);
  const shown = await shownFields(page, tool);
  const what = `${where} ${tool} ${JSON.stringify(inputs)}`;
  for (const [name, text, visible] of shown) {
    if (expected.has(name)) {
      check(visible && text === expected.get(name),
        `${what}: ${name} shows '${text}' (visible ${visible}), qilo-cli prints '${expected.get(name)}'`);
    } else {
      check(!visible, `${what}: ${name} shows though qilo-cli prints no such line`);
    }
  }
  for (const name of expected.keys()) {
    check(shown.some(([n]) => n === name), `${what}: no element shows ${name}`);
  }
  // The words shown beside the codes qilo-cli prints.
  for (const [name, words] of Object.entries(SAID[tool] ?? {})) {
    const said = await page.textContent(`#${tool} [data-field=${name}] + .say`);
    check(said === words[expected.get(name)], `${what}: '${said}' beside ${name}=${expected.get(name)}`);
  }
}

async function errorsShown(page, tool) {
  return page.$$eval(`#${tool} .error`, (all) => all.map((e) => e.textContent).filter(Boolean));
}

async function checkBadInputs(page, where) {
  for (const [tool, selector, value, message] of BAD_INPUTS) {
    const [, inputs] = CASES.find(([t]) => t === tool);
    await enter(page, tool, inputs);
    const before = await shownFields(page, tool);
    const field = page.locator(`#${tool} ${selector}`);
    await field.fill(value);
    const beside = await field.evaluate((e) => e.closest('.field').querySelector('.error').textContent);
    check(beside === message, `${where}: ${tool} ${selector}='${value}' shows '${beside}' beside it, not '${message}'`);
    const all = await errorsShown(page, tool);
    check(all.length === 1, `${where}: ${tool} ${selector}='${value}' shows ${all.length} messages: ${all}`);
    const status = await page.textContent(`#${tool} .status`);
    check(status === '有输入需要修改，结果仍是上次的', `${where}: ${tool} ${selector}='${value}' says '${status}'`);
    check(JSON.stringify(await shownFields(page, tool)) === JSON.stringify(before),
      `${where}: ${tool} ${selector}='${value}' changed a result`);
    await enter(page, tool, inputs);
    check((await errorsShown(page, tool)).length === 0 && await page.textContent(`#${tool} .status`) === '',
      `${where}: ${tool} ${selector} keeps its message once mended`);
  }
}

// A code in fees names its board and opens the limits tool on the same code.
async function checkCodeOpensLimits(page, where) {
  await enter(page, 'fees', { ...CASES[0][1], code: '300750' });
  const hint = page.locator('#fees [data-code-hint]');
  check(await hint.isVisible() && (await hint.textContent()).startsWith('创业板'),
    `${where}: code 300750 names no board`);
  await page.screenshot({ path: join(shots, `screen-fees-code-${where}.png`) });
  await hint.locator('a').click();
  check(await page.inputValue('#limits [name=code]') === '300750'
    && await page.inputValue('#limits [name=board]') === 'chinext', `${where}: limits does not take the code`);
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
  const expected = cliFields('fees', { ...CASES[0][1], buy: '20', sell: '22', count: '500' });
  const profit = await page.textContent('#fees [data-field=profit]');
  check(profit === expected.get('profit'), `${where}: typed from the keyboard, profit shows ${profit}`);
  steps = 0;
  while ((await focused()) !== '#t' && steps++ < 20) await page.keyboard.press('Shift+Tab');
  await page.keyboard.press('Enter');
  // The tab follows the hash, which changes after the key's events.
  const opened = await page.waitForFunction(() => !document.querySelector('#t').hidden
    && document.querySelector('#fees').hidden, null, { timeout: 5000 }).then(() => true, () => false);
  check(opened, `${where}: Enter on the 做T tab does not open it`);
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
  await compareWithCli(page, 'fees', { ...CASES[1][1], count: '2500' }, 'offline');

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
    const last = {};
    for (const [tool, inputs] of CASES) {
      await compareWithCli(page, tool, inputs, where);
      last[tool] = inputs;
    }
    for (const tool of Object.keys(TOOLS)) {
      await openTool(page, tool);
      await page.screenshot({ path: join(shots, `screen-${tool}-${where}.png`), fullPage: true });
    }
    await page.reload();
    await page.waitForFunction(() => performance.getEntriesByName('qilo-first-result').length > 0);
    // Every tool's inputs, the added order rows included, come back.
    for (const [tool, inputs] of Object.entries(last)) {
      await openTool(page, tool);
      const shown = await fieldTexts(page, tool);
      await compareWithCli(page, tool, inputs, `${where} reloaded`);
      check(await fieldTexts(page, tool) === shown,
        `${where}: ${tool}'s inputs not kept across a reload`);
    }
    await checkCodeOpensLimits(page, where);
    await checkBadInputs(page, where);
    await openTool(page, 'fees');
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
