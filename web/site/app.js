// The page's side of the fees tool: reads the inputs, asks the engine (the
// exact C++ fee engine in wasm), shows its fields as qilo-cli prints them or
// each bad input's problem beside it, and keeps the inputs across reloads.
import QiloEngine from './qilo_engine.mjs';

const STORE_KEY = 'qilo.fees';
const form = document.querySelector('#fees form');
const status = document.querySelector('#fees .status');
const resultFields = [...document.querySelectorAll('#fees [data-field]')];
const targetRow = document.querySelector('#fees .target');
const profitField = document.querySelector('#fees [data-field=profit]');
let engine = null;
let saveTimer = 0;

// The engine's problem with an input, worded for the user; its message names
// the value and the bound it broke. A message not known here shows as is.
const PROBLEMS = [
  [/^\S+ '' is not a number$|^'' is not a date/, () => '请填写'],
  [/is not on the ([\d.]+) tick$/, (m) => `须是最小变动价位 ${m[1]} 元的整数倍`],
  [/is not above zero$/, () => '须大于 0'],
  [/is not a whole number above zero$/, () => '须是大于 0 的整数'],
  [/is not a number$/, () => '不是数字'],
  [/has more than (\d+) decimals$/, (m) => `最多 ${m[1]} 位小数`],
  [/is above (\S+), the largest/, (m) => `不能大于 ${m[1]}`],
  [/is below (\S+), the lowest/, (m) => `不能小于 ${m[1]}`],
  [/is negative$/, () => '不能为负数'],
  [/at most (\S+) with (\d+) decimals$/, (m) => `位数过多：最大 ${m[1]}，最多 ${m[2]} 位小数`],
  [/is not a date/, () => '不是有效日期'],
  [/^no fee rules for (\S+)$/, (m) => `${m[1]} 在所选市场没有交易规则`],
  [/not both$/, () => '目标利润和目标收益率只能填一个'],
  [/^no price .* reaches/, () => '没有能达到该目标的价格'],
  [/is not (sh|stock|fen)\b/, () => '不是可选的值'],
];

export function wordProblem(message) {
  for (const [pattern, word] of PROBLEMS) {
    const m = message.match(pattern);
    if (m) return word(m);
  }
  return message;
}

function localToday() {
  const now = new Date();
  const two = (n) => String(n).padStart(2, '0');
  return `${now.getFullYear()}-${two(now.getMonth() + 1)}-${two(now.getDate())}`;
}

function restoreInputs() {
  let saved = {};
  try {
    saved = JSON.parse(localStorage.getItem(STORE_KEY)) || {};
  } catch {
    // A broken entry is dropped; the defaults stand.
  }
  for (const field of form.elements) {
    if (field.name && typeof saved[field.name] === 'string') field.value = saved[field.name];
  }
  if (!form.elements.date.value) form.elements.date.value = localToday();
}

// Written once typing pauses: a recomputation stays free of storage work.
function saveSoon() {
  clearTimeout(saveTimer);
  saveTimer = setTimeout(saveInputs, 300);
}

function saveInputs() {
  const values = {};
  for (const field of form.elements) if (field.name) values[field.name] = field.value;
  try {
    localStorage.setItem(STORE_KEY, JSON.stringify(values));
  } catch {
    // Private modes may refuse storage; the page still computes.
  }
}

// Touches the page only where a text changes: most keys change few fields.
function setText(element, text) {
  if (element.textContent !== text) element.textContent = text;
}

function showErrors(errors) {
  for (const field of form.elements) {
    if (!field.name) continue;
    const message = errors.get(field.name);
    setText(document.getElementById(`${field.name}-error`),
      message === undefined ? '' : wordProblem(message));
    if (message === undefined) field.removeAttribute('aria-invalid');
    else field.setAttribute('aria-invalid', 'true');
  }
}

function showFields(fields) {
  for (const element of resultFields) setText(element, fields.get(element.dataset.field) ?? '');
  targetRow.hidden = !fields.has('target');
  const sign = Math.sign(Number(fields.get('profit')));
  profitField.classList.toggle('gain', sign > 0);
  profitField.classList.toggle('loss', sign < 0);
}

function compute() {
  if (!engine) return;
  let request = '';
  for (const field of form.elements) {
    if (field.name) request += `${field.name}=${field.value.trim()}\n`;
  }
  const fields = new Map();
  const errors = new Map();
  for (const line of engine.fees(request).split('\n')) {
    const equals = line.indexOf('=');
    if (equals < 0) continue;
    const name = line.slice(0, equals);
    if (name.startsWith('error.')) errors.set(name.slice(6), line.slice(equals + 1));
    else fields.set(name, line.slice(equals + 1));
  }
  showErrors(errors);
  // A bad input leaves the last results standing rather than blanking them.
  if (errors.size === 0) showFields(fields);
  status.textContent = errors.size === 0 ? '' : '有输入需要修改，结果仍是上次的';
}

function showTool() {
  const id = location.hash.slice(1);
  const tools = [...document.querySelectorAll('.tool')];
  const shown = tools.find((tool) => tool.id === id) || tools[0];
  for (const tool of tools) tool.hidden = tool !== shown;
  for (const tab of document.querySelectorAll('.tabs a')) {
    if (tab.getAttribute('aria-controls') === shown.id) tab.setAttribute('aria-current', 'page');
    else tab.removeAttribute('aria-current');
  }
}

form.addEventListener('input', () => {
  saveSoon();
  compute();
});
window.addEventListener('pagehide', () => {
  if (saveTimer) saveInputs();
});
form.addEventListener('submit', (event) => event.preventDefault());
window.addEventListener('hashchange', showTool);
restoreInputs();
showTool();

// Registered after the first result, so its downloads never delay it. A new
// release's worker takes over at once: reload to run its files.
function keepOffline() {
  if (!('serviceWorker' in navigator)) return;
  const hadController = Boolean(navigator.serviceWorker.controller);
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (hadController) location.reload();
  });
  navigator.serviceWorker.register('sw.js').catch(() => {});
}

QiloEngine()
  .then((module) => {
    engine = module;
    compute();
    // When the first result shows, for the load-time figure in make bench.
    performance.mark('qilo-first-result');
  })
  .finally(keepOffline)
  .catch(() => {
    status.textContent = '这个浏览器运行不了计算引擎（WebAssembly），请换用新版浏览器';
  });
