'use strict';

const TEXTS = {
  en: {
    title: 'Zembrel: molecules and ions',
    input: 'Name, formula or SMILES',
    placeholder: 'water, ammonia, nitrate ion, H2O, NH4+, CO3 2-, CCO …',
    completions: 'Completions',
    closest: 'Did you mean',
    picture: 'Picture',
    style: 'Style',
    lewis: 'Lewis: bonds as lines',
    dots: 'Dots: every electron',
    bars: 'Bars: lone pairs as bars',
    dotCross: 'Dot and cross: each atom its own mark',
    shape: 'Shape: wedges, angle and name',
    shells: 'Outer shells',
    resonance: 'Resonance forms',
    charges: 'Formal charges',
    chargesAuto: 'Where they say more',
    chargesAll: 'Every atom\'s',
    chargesNone: 'An ion\'s charge only',
    radius: 'Dot radius',
    copy: 'Copy',
    downloadSvg: 'Download SVG',
    downloadPng: 'Download PNG',
    language: 'Language',
    copied: 'copied',
    noAnswer: 'The server did not answer',
    noCopy: 'The browser does not allow copying; use Download',
  },
  ru: {
    title: 'Зембрель: молекулы и ионы',
    input: 'Название, формула или SMILES',
    placeholder: 'вода, аммиак, нитрат-ион, H2O, NH4+, CO3 2-, CCO …',
    completions: 'Подсказки',
    closest: 'Может быть',
    picture: 'Рисунок',
    style: 'Вид',
    lewis: 'Льюис: связи линиями',
    dots: 'Точки: все электроны',
    bars: 'Чёрточки: пары чёрточками',
    dotCross: 'Точки и крестики: у атома свой знак',
    shape: 'Форма: клинья, угол, название',
    shells: 'Внешние оболочки',
    resonance: 'Резонансные формы',
    charges: 'Формальные заряды',
    chargesAuto: 'Где они важны',
    chargesAll: 'У каждого атома',
    chargesNone: 'Только заряд иона',
    radius: 'Радиус точек',
    copy: 'Копировать',
    downloadSvg: 'Скачать SVG',
    downloadPng: 'Скачать PNG',
    language: 'Язык',
    copied: 'скопировано',
    noAnswer: 'Сервер не ответил',
    noCopy: 'Браузер не даёт копировать; скачайте рисунок',
  },
};

const LANGUAGES = ['en', 'ru'];
const STYLES = ['lewis', 'dots', 'bars', 'dot-cross', 'shape'];
const SHELL_STYLES = ['dots', 'dot-cross'];
const CHARGES = ['auto', 'all', 'none'];
const DEFAULT_RADIUS = 2;
const MAX_COMPLETIONS = 12;
const DELAY_MS = 150;
// The copied PNG is this many device pixels to a CSS pixel of the SVG.
const COPY_SCALE = 3;

const el = {};
for (const id of ['q', 'completions', 'status', 'closest', 'closest-names', 'image', 'shape',
  'shells', 'resonance', 'charges', 'radius', 'copy', 'svg', 'png', 'lang-en', 'lang-ru']) {
  el[id.replace(/-(\w)/g, (_, c) => c.toUpperCase())] = document.getElementById(id);
}

let language = 'en';
// Once chosen, the language goes in the address; until then a shared link
// opens in its reader's own language.
let languageChosen = false;
let radius = DEFAULT_RADIUS;
let statusLine = { text: '', note: '', problem: false };

// --- Language ---------------------------------------------------------------

function browserLanguage() {
  for (const tag of navigator.languages || [navigator.language || '']) {
    const base = String(tag).toLowerCase().split('-')[0];
    if (LANGUAGES.includes(base)) return base;
  }
  return 'en';
}

function applyLanguage(lang) {
  language = lang;
  const texts = TEXTS[lang];
  document.documentElement.lang = lang;
  document.title = texts.title;
  for (const node of document.querySelectorAll('[data-text]')) node.textContent = texts[node.dataset.text];
  for (const node of document.querySelectorAll('[data-label]')) node.setAttribute('aria-label', texts[node.dataset.label]);
  for (const node of document.querySelectorAll('[data-placeholder]')) node.placeholder = texts[node.dataset.placeholder];
  el.langEn.setAttribute('aria-pressed', String(lang === 'en'));
  el.langRu.setAttribute('aria-pressed', String(lang === 'ru'));
  if (!el.image.hidden && !shown.caption) el.image.alt = texts.picture;
  renderStatus();
}

// --- Settings and the address -------------------------------------------------

function parseRadius(text) {
  if (text === null || text.trim() === '') return null;
  const value = Number(text);
  if (!Number.isFinite(value)) return null;
  return Math.min(10, Math.max(0.5, Math.round(value * 2) / 2));
}

function currentStyle() {
  return document.querySelector('input[name="style"]:checked').value;
}

function updateControls() {
  const style = currentStyle();
  el.shells.disabled = !SHELL_STYLES.includes(style);
  el.resonance.disabled = style === 'shape';
  el.charges.disabled = style === 'shape';
}

// Only what differs from the server's defaults, and only what the style uses.
function settingPairs() {
  const pairs = [];
  const style = currentStyle();
  if (style !== 'lewis') pairs.push(['style', style]);
  if (el.shells.checked && !el.shells.disabled) pairs.push(['shells', '1']);
  if (el.resonance.checked && !el.resonance.disabled) pairs.push(['resonance', '1']);
  if (el.charges.value !== 'auto' && !el.charges.disabled) pairs.push(['charges', el.charges.value]);
  if (radius !== DEFAULT_RADIUS) pairs.push(['radius', String(radius)]);
  return pairs;
}

// encodeURIComponent, not URLSearchParams: a space goes as %20, never as '+',
// so "CO3 2-" cannot reach the server as a cation.
function encode(pairs) {
  return pairs.map(([key, value]) => key + '=' + encodeURIComponent(value)).join('&');
}

function readAddress() {
  const params = new URLSearchParams(location.search);
  el.q.value = params.get('q') || '';
  const style = params.get('style');
  if (STYLES.includes(style)) document.getElementById('style-' + style).checked = true;
  el.shells.checked = params.get('shells') === '1';
  el.resonance.checked = params.get('resonance') === '1';
  const charges = params.get('charges');
  if (CHARGES.includes(charges)) el.charges.value = charges;
  radius = parseRadius(params.get('radius')) ?? DEFAULT_RADIUS;
  el.radius.value = String(radius);
  const lang = params.get('lang');
  languageChosen = LANGUAGES.includes(lang);
  return languageChosen ? lang : browserLanguage();
}

function writeAddress() {
  const text = el.q.value.trim();
  const pairs = (text ? [['q', text]] : []).concat(settingPairs());
  if (languageChosen) pairs.push(['lang', language]);
  const query = encode(pairs);
  const address = location.pathname + (query ? '?' + query : '');
  if (address !== location.pathname + location.search) history.replaceState(null, '', address);
}

// --- Status line ---------------------------------------------------------------

function renderStatus() {
  const note = statusLine.note ? TEXTS[language][statusLine.note] : '';
  el.status.textContent = [statusLine.text, note].filter(Boolean).join(' — ');
  el.status.classList.toggle('problem', statusLine.problem || statusLine.note === 'noAnswer' || statusLine.note === 'noCopy');
}

function setStatus(text, problem = false, closest = []) {
  statusLine = { text, note: '', problem };
  renderStatus();
  el.closestNames.replaceChildren(...closest.map((name) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = name;
    button.addEventListener('click', () => { pick(name); el.q.focus(); });
    return button;
  }));
  el.closest.hidden = closest.length === 0;
}

function setNote(note) {
  statusLine.note = note;
  if (note === 'noAnswer') statusLine.text = '';
  renderStatus();
}

// --- Picture -------------------------------------------------------------------

// What is on screen: the query that drew it, so that Copy and Download give
// the same picture even while a newer one is on its way.
let shown = { key: '', text: '', url: '', caption: '' };
let drawTimer = 0;
let drawId = 0;
let drawAbort = null;
let drawing = Promise.resolve();

function showPicture(blob, key = '', text = '', caption = '', shape = '') {
  const old = shown.url;
  shown = { key: blob ? key : '', text, url: blob ? URL.createObjectURL(blob) : '', caption };
  if (blob) {
    el.image.src = shown.url;
    el.image.alt = caption || TEXTS[language].picture;
  } else {
    el.image.removeAttribute('src');
    el.image.alt = '';
  }
  el.image.hidden = !blob;
  if (old) URL.revokeObjectURL(old);
  el.shape.textContent = shape;
  el.shape.hidden = !shape;
  el.copy.disabled = !blob;
  refreshLinks();
}

function fileName(text) {
  const name = text.normalize('NFC').replace(/[^\p{L}\p{N}+\-.]+/gu, '_').replace(/^[_.]+|[_.]+$/g, '');
  return name.slice(0, 60) || 'picture';
}

function refreshLinks() {
  for (const [link, format] of [[el.svg, 'format=svg'], [el.png, `format=png&scale=${COPY_SCALE}`]]) {
    if (shown.key) {
      link.href = `api/picture?${shown.key}&${format}`;
      link.download = fileName(shown.text) + (link === el.svg ? '.svg' : '.png');
    } else {
      link.removeAttribute('href');
    }
  }
}

function header(response, name) {
  const value = response.headers.get(name);
  if (!value) return '';
  try {
    return decodeURIComponent(value);
  } catch {
    return value;
  }
}

async function fetchPicture(id, signal) {
  const text = el.q.value.trim();
  if (!text) {
    showPicture(null);
    setStatus('');
    return;
  }
  // The page's language, so that what was found and why not come back in it.
  const key = encode([['q', text]].concat(settingPairs(), [['lang', language]]));
  try {
    const response = await fetch(`api/picture?${key}&format=svg`, { signal });
    if (response.ok) {
      const blob = await response.blob();
      if (id !== drawId) return;
      const caption = header(response, 'X-Caption');
      showPicture(blob, key, text, caption, header(response, 'X-Shape'));
      setStatus(caption);
      return;
    }
    const answer = response.status < 500 ? await response.json().catch(() => null) : null;
    if (id !== drawId) return;
    if (!answer || typeof answer.error !== 'string') throw new Error(`HTTP ${response.status}`);
    const closest = Array.isArray(answer.closest) ? answer.closest.filter((name) => typeof name === 'string') : [];
    showPicture(null);
    setStatus(answer.error, true, closest);
  } catch {
    // An aborted request has a newer one behind it, which answers instead.
    if (id !== drawId) return;
    showPicture(null);
    setStatus('');
    setNote('noAnswer');
  }
}

function draw() {
  clearTimeout(drawTimer);
  drawTimer = 0;
  writeAddress();
  if (drawAbort) drawAbort.abort();
  drawAbort = new AbortController();
  drawing = fetchPicture(++drawId, drawAbort.signal);
  return drawing;
}

function scheduleDraw() {
  clearTimeout(drawTimer);
  drawTimer = setTimeout(draw, DELAY_MS);
}

// --- Copy ------------------------------------------------------------------------

async function settled() {
  let current;
  do {
    current = drawing;
    await current;
  } while (current !== drawing);
}

function dataUrl(blob) {
  return new Promise((resolve, reject) => {
    const reader = new FileReader();
    reader.onload = () => resolve(reader.result);
    reader.onerror = () => reject(reader.error);
    reader.readAsDataURL(blob);
  });
}

// The SVG's size in CSS pixels, from the picture on screen when it is still
// the one copied, else from the PNG's own header.
async function cssSize(key, png) {
  await el.image.decode().catch(() => {});
  if (shown.key === key && el.image.naturalWidth > 0) return [el.image.naturalWidth, el.image.naturalHeight];
  const ihdr = new DataView(await png.slice(16, 24).arrayBuffer());
  return [Math.round(ihdr.getUint32(0) / COPY_SCALE), Math.round(ihdr.getUint32(4) / COPY_SCALE)];
}

function copy() {
  if (!el.q.value.trim()) return;
  if (!navigator.clipboard || !navigator.clipboard.write || typeof ClipboardItem === 'undefined') {
    setNote('noCopy');
    return;
  }
  // A draw still waiting out its delay goes now: Enter copies what was typed.
  const ready = drawTimer ? draw() : settled();
  // What a refused write is put down to when the picture itself failed.
  let fault = 'noAnswer';
  const picture = ready.then(settled).then(async () => {
    const key = shown.key;
    if (!key) {
      fault = ''; // the status line already says why nothing is drawn
      throw new Error('no picture');
    }
    const response = await fetch(`api/picture?${key}&format=png&scale=${COPY_SCALE}`);
    if (!response.ok) throw new Error(`HTTP ${response.status}`);
    const png = new Blob([await response.blob()], { type: 'image/png' });
    const [width, height] = await cssSize(key, png);
    return { png, width, height };
  });
  // Promises, not blobs, so that the write starts within the key press or
  // click that asked for it; browsers refuse a write that comes later.
  const pngBlob = picture.then(({ png }) => png);
  const htmlBlob = picture.then(async ({ png, width, height }) => {
    const img = `<img src="${await dataUrl(png)}" width="${width}" height="${height}">`;
    return new Blob([img], { type: 'text/html' });
  });
  pngBlob.catch(() => {});
  htmlBlob.catch(() => {});
  let written;
  try {
    written = navigator.clipboard.write([new ClipboardItem({ 'image/png': pngBlob, 'text/html': htmlBlob })]);
  } catch {
    written = Promise.reject(new Error('no ClipboardItem of promises'));
  }
  written.then(
    () => setNote('copied'),
    () => picture.then(() => setNote('noCopy'), () => fault && setNote(fault)),
  );
}

// --- Completions ---------------------------------------------------------------

let completeTimer = 0;
let completeAbort = null;
let options = [];
let active = -1;

function fold(text) {
  return text.trim().toLocaleLowerCase();
}

function setActive(index) {
  active = index;
  const items = Array.from(el.completions.children);
  items.forEach((item, i) => item.setAttribute('aria-selected', String(i === index)));
  const item = items[index];
  if (item) {
    el.q.setAttribute('aria-activedescendant', item.id);
    item.scrollIntoView({ block: 'nearest' });
  } else {
    el.q.removeAttribute('aria-activedescendant');
  }
}

function setOpen(open) {
  el.completions.hidden = !open;
  el.q.setAttribute('aria-expanded', String(open));
  if (!open) setActive(-1);
}

function showOptions(names) {
  const typed = fold(el.q.value);
  // Nothing to offer past what is typed already.
  options = names.every((name) => fold(name) === typed) ? [] : names.slice(0, MAX_COMPLETIONS);
  el.completions.replaceChildren(...options.map((name, i) => {
    const item = document.createElement('li');
    item.id = `completion-${i}`;
    item.setAttribute('role', 'option');
    item.textContent = name;
    return item;
  }));
  setOpen(options.length > 0 && document.activeElement === el.q);
}

function cancelCompletions() {
  clearTimeout(completeTimer);
  if (completeAbort) completeAbort.abort();
  completeAbort = null;
}

async function complete() {
  cancelCompletions();
  const text = el.q.value.trim();
  if (!text) {
    showOptions([]);
    return;
  }
  const abort = (completeAbort = new AbortController());
  try {
    const response = await fetch(`api/complete?q=${encodeURIComponent(text)}`, { signal: abort.signal });
    const names = response.ok ? await response.json() : [];
    if (abort !== completeAbort) return;
    showOptions(Array.isArray(names) ? names.filter((name) => typeof name === 'string') : []);
  } catch {
    if (abort === completeAbort) showOptions([]);
  }
}

function pick(name) {
  cancelCompletions();
  el.q.value = name;
  setOpen(false);
  draw();
}

// --- Events --------------------------------------------------------------------

el.q.addEventListener('input', () => {
  scheduleDraw();
  clearTimeout(completeTimer);
  completeTimer = setTimeout(complete, DELAY_MS);
});

el.q.addEventListener('keydown', (event) => {
  if (event.isComposing) return;
  const open = !el.completions.hidden;
  if (event.key === 'ArrowDown' && options.length > 0) {
    if (!open) setOpen(true);
    setActive(open ? (active + 1) % options.length : 0);
  } else if (event.key === 'ArrowUp' && open) {
    setActive(active <= 0 ? options.length - 1 : active - 1);
  } else if (event.key === 'Enter') {
    if (open && active >= 0) {
      pick(options[active]);
    } else {
      setOpen(false);
      copy();
    }
  } else if (event.key === 'Escape' && open) {
    setOpen(false);
  } else {
    return;
  }
  event.preventDefault();
});

el.q.addEventListener('blur', () => setOpen(false));
// Keeps the focus in the input, so that a click on a completion picks it.
el.completions.addEventListener('mousedown', (event) => event.preventDefault());
el.completions.addEventListener('click', (event) => {
  const item = event.target.closest('li');
  if (item) pick(item.textContent);
});

for (const radio of document.querySelectorAll('input[name="style"]')) {
  radio.addEventListener('change', () => {
    updateControls();
    scheduleDraw();
  });
}
for (const control of [el.shells, el.resonance, el.charges]) control.addEventListener('change', scheduleDraw);

el.radius.addEventListener('input', () => {
  // A half-typed value waits for the field to be left.
  if (!el.radius.validity.valid || el.radius.value === '') return;
  radius = Number(el.radius.value);
  scheduleDraw();
});
el.radius.addEventListener('change', () => {
  radius = parseRadius(el.radius.value) ?? radius;
  el.radius.value = String(radius);
  scheduleDraw();
});

el.copy.addEventListener('click', copy);

document.addEventListener('keydown', (event) => {
  if (!(event.ctrlKey || event.metaKey) || event.altKey || event.shiftKey) return;
  // By the letter on a Latin layout, by the key's place on any other
  // (Ctrl+С on a Russian one).
  const latin = /^[a-z]$/i.test(event.key);
  if (latin ? event.key.toLowerCase() !== 'c' : event.code !== 'KeyC') return;
  if (document.activeElement === el.q && el.q.selectionStart !== el.q.selectionEnd) return;
  const selection = window.getSelection();
  if (selection && !selection.isCollapsed && selection.toString() !== '') return;
  event.preventDefault();
  copy();
});

for (const [button, lang] of [[el.langEn, 'en'], [el.langRu, 'ru']]) {
  button.addEventListener('click', () => {
    languageChosen = true;
    applyLanguage(lang);
    writeAddress();
    if (el.q.value.trim()) draw();
  });
}

applyLanguage(readAddress());
updateControls();
refreshLinks();
el.q.focus();
if (el.q.value.trim()) draw();
