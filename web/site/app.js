// The page's side of the tools: reads each tool's inputs, asks the engine (the
// exact C++ fee engine in wasm) for the command of the tool's id, shows its
// fields as qilo-cli prints them or each bad input's problem beside it, and
// keeps the inputs across reloads.

// Gives the ids (and the labels' and descriptions' references) under `root`
// new names.
function renameIds(root, rename) {
  for (const element of root.querySelectorAll('[id], [for], [aria-describedby]')) {
    for (const attribute of ['id', 'for', 'aria-describedby']) {
      const value = element.getAttribute(attribute);
      if (value) element.setAttribute(attribute, rename(value));
    }
  }
}

// average and t take the fees tool's rule inputs: one markup, ids of their own.
for (const id of ['average', 't']) {
  const terms = document.querySelector('#fees .terms').cloneNode(true);
  terms.querySelector('[data-code-hint]').remove();
  renameIds(terms, (value) => `${id}-${value}`);
  document.querySelector(`#${id} form`).append(terms);
}

const tools = [...document.querySelectorAll('.tool')].map((section) => ({
  id: section.id,
  section,
  form: section.querySelector('form'),
  status: section.querySelector('.status'),
  results: [...section.querySelectorAll('[data-field]')],
}));
const BOARDS = { main: '主板', chinext: '创业板', star: '科创板', bj: '北交所', fund: '基金' };
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
  [/^the orders' \S+ shares are above (\S+),/, (m) => `各笔合计股数不能大于 ${m[1]}`],
  [/is above (\S+), the largest/, (m) => `不能大于 ${m[1]}`],
  [/is below (\S+), the lowest/, (m) => `不能小于 ${m[1]}`],
  [/is negative$/, () => '不能为负数'],
  [/at most (\S+) with (\d+) decimals$/, (m) => `位数过多：最大 ${m[1]}，最多 ${m[2]} 位小数`],
  [/is not a date/, () => '不是有效日期'],
  [/^no fee rules for (\S+)$/, (m) => `${m[1]} 在所选市场没有交易规则`],
  [/^no price limits for .* on (\S+): they begin on (\S+)$/, (m) => `${m[2]} 起才有涨跌幅限制`],
  [/^a fund is never ST$/, () => '基金没有 ST'],
  [/^code '.*' is not six digits$/, () => '须是 6 位数字代码'],
  [/^code '.*' was not in use before (\S+)$/, (m) => `${m[1]} 之前没有这个代码`],
  [/^code '.*' is not an A share/, () => '不是沪深北的 A 股或基金代码'],
  [/^\S+ '.*' contradicts code '(.*)'$/, (m) => `市场、品种或板块与代码 ${m[1]} 不符`],
  [/^takes stop loss or stop rate, not both$/, () => '止损金额和止损比例只能填一个'],
  [/not both$/, () => '目标利润和目标收益率只能填一个'],
  [/^no price on the tick loses (\S+)/, (m) => `没有价格会亏到 ${m[1]} 元`],
  [/^no price .* (reaches|far enough)/, () => '没有能达到该目标的价格'],
  [/^no count up to (\S+) bought/, (m) => `补仓 ${m[1]} 股以内都到不了这个均价`],
  [/^the fen rounding .* give a larger lot$/, () => '每手均价变化太小，请加大每手股数'],
  [/^no buy-back price/, () => '卖出所得不够以任何价格买回'],
  [/is not (sh|stock|fen|main|buy)\b/, () => '不是可选的值'],
];

function wordProblem(message) {
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

// The name an input goes by in the request: a buy order's inputs carry the
// order's place, from 1.
function keyOf(field) {
  const order = field.closest('[data-order]');
  if (!order) return field.name;
  return `${field.name}.${[...order.parentElement.querySelectorAll('[data-order]')].indexOf(order) + 1}`;
}

function valueOf(field) {
  if (field.type === 'checkbox') return field.checked ? '1' : '';
  return field.value.trim();
}

function namedFields(tool) {
  return [...tool.form.elements].filter((field) => field.name);
}

// Numbers the order rows from 1 again: their ids, labels and remove buttons;
// the only row left cannot be removed.
function numberOrders(tool) {
  const rows = [...tool.form.querySelectorAll('[data-order]')];
  rows.forEach((row, i) => {
    const n = i + 1;
    renameIds(row, (value) => value.replace(/-\d+(-error)?$/, `-${n}$1`));
    for (const label of row.querySelectorAll('label')) label.textContent = label.textContent.replace(/\d+/, n);
    const remove = row.querySelector('.remove-order');
    remove.setAttribute('aria-label', `删除第 ${n} 笔`);
    remove.hidden = rows.length === 1;
  });
}

// A copy of the last order row, empty.
function addOrder(tool) {
  const rows = tool.form.querySelectorAll('[data-order]');
  const row = rows[rows.length - 1].cloneNode(true);
  for (const input of row.querySelectorAll('input')) {
    input.value = '';
    input.removeAttribute('aria-invalid');
  }
  for (const error of row.querySelectorAll('.error')) error.textContent = '';
  rows[rows.length - 1].after(row);
  numberOrders(tool);
  return row;
}

function restoreInputs(tool) {
  let saved = {};
  try {
    saved = JSON.parse(localStorage.getItem(`qilo.${tool.id}`)) || {};
  } catch {
    // A broken entry is dropped; the defaults stand.
  }
  const rows = Number(saved.orders) || 0;
  const orders = () => tool.form.querySelectorAll('[data-order]');
  while (rows > 0 && orders().length > rows) orders()[orders().length - 1].remove();
  while (orders().length < rows) addOrder(tool);
  if (orders().length > 0) numberOrders(tool);
  for (const field of namedFields(tool)) {
    const value = saved[keyOf(field)];
    if (typeof value !== 'string') continue;
    if (field.type === 'checkbox') field.checked = value !== '';
    else field.value = value;
  }
  if (!tool.form.elements.date.value) tool.form.elements.date.value = localToday();
}

// Written once typing pauses: a recomputation stays free of storage work.
function saveSoon() {
  clearTimeout(saveTimer);
  saveTimer = setTimeout(saveInputs, 300);
}

function saveInputs() {
  saveTimer = 0;
  for (const tool of tools) {
    const values = { orders: String(tool.form.querySelectorAll('[data-order]').length) };
    for (const field of namedFields(tool)) values[keyOf(field)] = valueOf(field);
    try {
      localStorage.setItem(`qilo.${tool.id}`, JSON.stringify(values));
    } catch {
      // Private modes may refuse storage; the page still computes.
    }
  }
}

// Touches the page only where a text changes: most keys change few fields.
function setText(element, text) {
  if (element.textContent !== text) element.textContent = text;
}

function showErrors(tool, errors) {
  for (const field of namedFields(tool)) {
    const message = errors.get(keyOf(field));
    setText(field.closest('.field').querySelector('.error'),
      message === undefined ? '' : wordProblem(message));
    if (message === undefined) field.removeAttribute('aria-invalid');
    else field.setAttribute('aria-invalid', 'true');
  }
}

// Words for the values printed as codes, shown beside them.
const SAYINGS = { board: BOARDS, st: { 0: '否', 1: '是' } };

function showFields(tool, fields) {
  for (const element of tool.results) {
    setText(element, fields.get(element.dataset.field) ?? '');
    const say = element.nextElementSibling;
    if (say?.classList.contains('say')) setText(say, SAYINGS[element.dataset.field]?.[element.textContent] ?? '');
    const optional = element.closest('[data-optional]');
    if (optional) optional.hidden = !fields.has(element.dataset.field);
    if (element.classList.contains('signed')) {
      const sign = Math.sign(Number(element.textContent));
      element.classList.toggle('gain', sign > 0);
      element.classList.toggle('loss', sign < 0);
    }
  }
}

// Name=value lines into the fields and the errors ("error.NAME=").
function readAnswer(answer) {
  const fields = new Map();
  const errors = new Map();
  for (const line of answer.split('\n')) {
    const equals = line.indexOf('=');
    if (equals < 0) continue;
    const name = line.slice(0, equals);
    if (name.startsWith('error.')) errors.set(name.slice(6), line.slice(equals + 1));
    else fields.set(name, line.slice(equals + 1));
  }
  return { fields, errors };
}

function compute(tool) {
  if (!engine) return;
  let request = '';
  for (const field of namedFields(tool)) request += `${keyOf(field)}=${valueOf(field)}\n`;
  const { fields, errors } = readAnswer(engine[tool.id](request));
  showErrors(tool, errors);
  // A bad input leaves the last results standing rather than blanking them.
  if (errors.size === 0) showFields(tool, fields);
  setText(tool.status, errors.size === 0 ? '' : '有输入需要修改，结果仍是上次的');
}

// A code sets the tool's market, kind and board to its own, and names its
// board; a bad code is the tool's computation's to report.
function applyCode(tool) {
  const form = tool.form;
  const code = form.elements.code.value.trim();
  const hint = tool.section.querySelector('[data-code-hint]');
  const { fields, errors } = readAnswer(code === '' ? ''
    : engine.security(`code=${code}\ndate=${form.elements.date.value}\n`));
  if (hint) hint.hidden = true;
  if (code === '' || errors.size > 0) return;
  for (const name of ['market', 'kind', 'board']) {
    if (form.elements[name]) form.elements[name].value = fields.get(name);
  }
  if (hint) {
    hint.firstChild.textContent = `${BOARDS[fields.get('board')]} · `;
    hint.hidden = false;
  }
}

function showTool() {
  const id = location.hash.slice(1);
  const shown = tools.find((tool) => tool.id === id) || tools[0];
  for (const tool of tools) tool.section.hidden = tool !== shown;
  for (const tab of document.querySelectorAll('.tabs a')) {
    if (tab.getAttribute('aria-controls') === shown.section.id) tab.setAttribute('aria-current', 'page');
    else tab.removeAttribute('aria-current');
  }
  return shown;
}

// A hidden tool is computed when it is first shown: the first result waits
// for the shown one only.
function showAndCompute() {
  const shown = showTool();
  if (!engine || shown.computed) return;
  if (shown.form.elements.code) applyCode(shown);
  compute(shown);
  shown.computed = true;
}

for (const tool of tools) {
  tool.form.addEventListener('input', (event) => {
    saveSoon();
    if (engine && (event.target.name === 'code' || event.target.name === 'date') && tool.form.elements.code) {
      applyCode(tool);
    }
    compute(tool);
  });
  tool.form.addEventListener('submit', (event) => event.preventDefault());
  tool.section.querySelector('.add-order')?.addEventListener('click', () => {
    addOrder(tool).querySelector('input').focus();
    saveSoon();
  });
  // A removed order's place goes to the next; the focus to the next row's
  // first input, or the add button after the last.
  tool.form.addEventListener('click', (event) => {
    const row = event.target.closest('.remove-order')?.closest('[data-order]');
    if (!row) return;
    const next = row.nextElementSibling;
    row.remove();
    numberOrders(tool);
    (next.matches('[data-order]') ? next.querySelector('input') : next).focus();
    compute(tool);
    saveSoon();
  });
  restoreInputs(tool);
}

// The fees tool's code opens the limits tool on the same code.
const limitsTool = tools.find((tool) => tool.id === 'limits');
document.querySelector('#fees [data-code-hint] a').addEventListener('click', () => {
  limitsTool.form.elements.code.value = document.querySelector('#fees [name=code]').value;
  applyCode(limitsTool);
  compute(limitsTool);
  saveSoon();
});
window.addEventListener('pagehide', () => {
  if (saveTimer) saveInputs();
});
window.addEventListener('hashchange', showAndCompute);
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

self.qiloEngine
  .then((commands) => {
    engine = commands;
    showAndCompute();
    // When the first result shows, for the load-time figure in make bench.
    performance.mark('qilo-first-result');
  })
  .finally(keepOffline)
  .catch(() => {
    for (const tool of tools) tool.status.textContent = '这个浏览器运行不了计算引擎（WebAssembly），请换用新版浏览器';
  });
