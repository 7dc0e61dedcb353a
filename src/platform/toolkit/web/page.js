// The web front end's side in the page: the elements that show the module's window, and the input they take.
// FormWindow (C++) calls the methods of TessarinPage; the player's input waits in `queue` until the module's event
// loop takes it (nextEvent), one event at a time, so a handler suspended on a question never has another run under
// it. The files the program reads beside itself, fetched and decoded by the start script, are written into the
// module's file system before it starts.
var TessarinPage = (() => {
  'use strict';

  // The toolkit's Key values, in their order, and the button and shift codes of a press.
  const keys = {ArrowLeft: 0, ArrowRight: 1, ArrowUp: 2, ArrowDown: 3, ' ': 4, Enter: 5};
  const buttons = [1, 4, 2];  // left, middle, right
  const press = 1, key = 2, pressCell = 3, choose = 4;
  // Browsers keep some shortcuts for themselves (Ctrl+N opens a window); an item with one also answers to a key
  // that always reaches the page.
  const substitutes = {'Ctrl+N': 'F2'};

  const byId = (id) => document.getElementById(id);
  const element = (tag, className, attributes) => {
    const made = document.createElement(tag);
    if (className) made.className = className;
    for (const name of Object.keys(attributes || {})) made.setAttribute(name, attributes[name]);
    return made;
  };
  const px = (value) => value + 'px';
  const colour = (rgb) => '#' + (rgb >>> 0).toString(16).padStart(6, '0');

  let frame, client, stage, background;
  const shown = new Set();  // the canvases, each with its design pixels
  const placed = new Set();  // the elements at a design place
  const surfaces = new Map();
  const labels = new Map();
  const menus = new Map();
  const queue = [];
  let waiting = null;
  let stopped = false;
  let asking = false;

  // ---- input ----

  function post(event) {
    if (stopped || asking) return;
    if (waiting) {
      const take = waiting;
      waiting = null;
      take(event);
    } else {
      queue.push(event);
    }
  }

  function nextEvent() {
    return queue.length ? Promise.resolve(queue.shift()) : new Promise((take) => { waiting = take; });
  }

  function shiftOf(event) {
    return (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
  }

  // A surface's design pixel, floored: the element is shown at the window's scale.
  function pixelOf(surface, event) {
    const box = surface.canvas.getBoundingClientRect();
    const at = (offset, size, pixels) =>
      Math.min(pixels - 1, Math.max(0, Math.floor((offset * pixels) / Math.max(size, 1))));
    return [at(event.clientX - box.left, box.width, surface.canvas.view.width),
            at(event.clientY - box.top, box.height, surface.canvas.view.height)];
  }

  // ---- the window ----

  // A fault of the page's own script leaves a message and a page that takes no input, never a frozen window.
  function failed(what) {
    if (stopped) return;
    reportError(document.title, `the page stopped: ${what}`);
    stop();
  }

  function open(caption, width, height) {
    addEventListener('error', (event) => failed(event.message));
    addEventListener('unhandledrejection', (event) => failed(String(event.reason)));
    document.title = caption;
    frame = byId('window');
    client = byId('client');
    client.design = {left: 0, top: 0, width, height};
    stage = element('div', 'stage');
    client.append(stage);
    background = element('canvas', 'background', {'aria-hidden': 'true'});
    background.view = canvasView(width, height);
    place(background, 0, 0, width, height);
    stage.append(background);
    shown.add(background);
    // A press on the window beside the surfaces reaches no control, and leaves the focus on the board.
    client.addEventListener('mousedown', (event) => event.preventDefault());
    addEventListener('keydown', onKeyDown);
    addEventListener('pointerdown', onPointerDownAnywhere, true);
    addEventListener('resize', fit);
    followResolution();
    fit();
    addEventListener('beforeunload', onBeforeUnload);
  }

  function show() {
    byId('loading').hidden = true;
    frame.hidden = false;
    focusBoard();
  }

  // The window went for good: what is left says so, and nothing reacts any more.
  function close() {
    stop();
    frame.hidden = true;
    removeEventListener('beforeunload', onBeforeUnload);
    const ended = byId('ended');
    ended.hidden = false;
    ended.focus();
    announce(ended.textContent);
  }

  function stop() {
    stopped = true;
    queue.length = 0;
    closeMenus(false);
    setInert(true);
  }

  // What takes input: the menu bar and the surfaces. The labels stay readable, the status line among them.
  function setInert(inert) {
    byId('menubar').inert = inert;
    for (const surface of surfaces.values()) surface.box.inert = inert;
  }

  // A tab or window closed mid-session asks the browser's own question, the nearest a page has to a close box's.
  function onBeforeUnload(event) {
    if (stopped) return;
    event.preventDefault();
    event.returnValue = '';
  }

  // ---- the window's scale ----

  // The client area's elements are laid out in device pixels on a stage shrunk to CSS pixels as a whole: a place
  // that is a whole device pixel stays one whatever the browser rounds its layout to.
  let deviceScale = 1;  // device pixels per design pixel
  const screenMargin = 8;  // CSS pixels kept free at the viewport's edges, as the page's style keeps them

  const deviceOf = (design) => Math.round(design * deviceScale);

  // The window fits the viewport anew whenever the viewport or its pixel ratio changes; the game goes on as it was.
  function fit() {
    const room = getComputedStyle(frame.parentElement);
    const bar = getComputedStyle(byId('menubar'));
    const roomWidth = document.documentElement.clientWidth - parseFloat(room.paddingLeft) -
                      parseFloat(room.paddingRight);
    deviceScale = TessarinScale.deviceScale({
      roomWidth,
      roomHeight: document.documentElement.clientHeight - parseFloat(room.paddingTop) -
                  parseFloat(room.paddingBottom),
      chrome: parseFloat(bar.getPropertyValue('--bar')),
      designWidth: client.design.width,
      designHeight: client.design.height,
      ratio: devicePixelRatio,
      grows: matchMedia('(pointer: coarse)').matches,
    });
    const [width, height] = [deviceOf(client.design.width), deviceOf(client.design.height)];
    Object.assign(client.style, {width: px(width / devicePixelRatio), height: px(height / devicePixelRatio)});
    Object.assign(stage.style, {width: px(width), height: px(height), transform: `scale(${1 / devicePixelRatio})`});
    frame.style.marginLeft = px(centred(roomWidth, width / devicePixelRatio));
    for (const target of placed) applyPlace(target);
    for (const canvas of shown) present(canvas);
    for (const item of openMenus) keepOnScreen(item.submenu);
  }

  // The window's left edge, centred, on a device pixel, so that a whole scale replicates each design pixel exactly;
  // on a whole CSS pixel too where the ratio is whole, for a browser that lays out in CSS pixels and scales that.
  function centred(room, width) {
    const grid = Number.isInteger(devicePixelRatio) ? 1 : devicePixelRatio;
    return Math.max(Math.floor(((room - width) / 2) * grid) / grid, 0);
  }

  // A browser zoom or a move to another screen changes the pixel ratio, which no resize may report.
  function followResolution() {
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => {
      followResolution();
      fit();
    }, {once: true});
  }

  function place(target, left, top, width, height) {
    target.design = {left, top, width, height};
    placed.add(target);
    applyPlace(target);
  }

  function applyPlace(target) {
    const {left, top, width, height} = target.design;
    Object.assign(target.style, {left: px(deviceOf(left)), top: px(deviceOf(top)), width: px(deviceOf(width)),
                                 height: px(deviceOf(height))});
    if (target.fontPixels) target.style.fontSize = px(target.fontPixels * deviceScale);
  }

  // ---- pixels ----

  // A canvas keeps its design pixels apart and shows them with one canvas pixel a device pixel: each design pixel
  // replicated at a whole scale, smoothed at a fractional one.
  function canvasView(width, height) {
    return {width, height, pixels: new OffscreenCanvas(Math.max(width, 1), Math.max(height, 1))};
  }

  function present(canvas) {
    const {width, height, pixels} = canvas.view;
    const deviceWidth = Math.max(Math.round(width * deviceScale), 1);
    const deviceHeight = Math.max(Math.round(height * deviceScale), 1);
    if (canvas.width !== deviceWidth || canvas.height !== deviceHeight) {
      canvas.width = deviceWidth;
      canvas.height = deviceHeight;
    }
    const context = canvas.getContext('2d');
    context.imageSmoothingEnabled = !Number.isInteger(deviceScale);
    context.drawImage(pixels, 0, 0, canvas.width, canvas.height);
  }

  // The pixels come in the canvas's own byte order (RGBA), from the module's memory.
  function paint(id, pixels, width, height) {
    const canvas = id === 0 ? background : (surfaces.get(id) || {}).canvas;
    if (!canvas || width <= 0 || height <= 0) return;
    canvas.view.pixels.getContext('2d').putImageData(new ImageData(pixels, width), 0, 0);
    present(canvas);
  }

  // ---- labels ----

  function addLabel(id, left, top, width, height, fontName, fontPixels, fontWeight, fontFlags, color, backColor,
                    alignment, flags, caption) {
    const label = element('div', 'label');
    label.fontPixels = fontPixels;
    Object.assign(label.style, {
      font: `${fontFlags & 1 ? 'italic ' : ''}${fontWeight} ${px(fontPixels)} "${fontName}", "DejaVu Sans", sans-serif`,
      textDecoration: [fontFlags & 2 ? 'underline' : '', fontFlags & 4 ? 'line-through' : ''].join(' ').trim(),
      color: colour(color),
      background: flags & 1 ? 'transparent' : colour(backColor),
      textAlign: ['left', 'right', 'center'][alignment],
    });
    // The status line is read as the window's status; announcements already end with what it says, so its own
    // changes are not spoken a second time.
    if (flags & 2) {
      label.setAttribute('role', 'status');
      label.setAttribute('aria-live', 'off');
    }
    label.textContent = caption;
    place(label, left, top, width, height);
    labels.set(id, label);
    stage.append(label);
  }

  function updateLabel(id, caption) {
    const label = labels.get(id);
    if (label) label.textContent = caption;
  }

  // ---- surfaces and their cells ----

  function placeSurface(id, left, top, width, height, visible, rows, columns) {
    let surface = surfaces.get(id);
    if (!surface) {
      if (!visible) return;
      surface = makeSurface(id, rows, columns);
    }
    place(surface.box, left, top, width, height);
    const {view} = surface.canvas;
    if (!view || view.width !== width || view.height !== height) surface.canvas.view = canvasView(width, height);
    shown.add(surface.canvas);
    place(surface.canvas, 0, 0, width, height);
    surface.box.hidden = !visible;
  }

  function makeSurface(id, rows, columns) {
    const box = element('div', 'surface');
    const canvas = element('canvas', '', {'aria-hidden': 'true'});
    box.append(canvas);
    const surface = {box, canvas, cells: []};
    if (rows > 0 && columns > 0) makeGrid(id, surface, rows, columns);
    box.addEventListener('pointerdown', (event) => {
      event.preventDefault();
      if (surface.cells.length) focusCursor(surface);
      post([press, id, event.pointerType === 'mouse' ? buttons[event.button] || 0 : 1, shiftOf(event),
            ...pixelOf(surface, event)]);
    });
    box.addEventListener('contextmenu', (event) => event.preventDefault());
    surfaces.set(id, surface);
    // Before the labels, so that the board is read before the status line under it.
    stage.insertBefore(box, stage.querySelector('.label'));
    return surface;
  }

  // The table's cells are the grid's, over the surface's pixels; the cursor's cell holds the focus while the grid
  // does. A click that no button made (a screen reader's) plays the cell.
  function makeGrid(id, surface, rows, columns) {
    surface.box.setAttribute('role', 'grid');
    for (let row = 0; row < rows; ++row) {
      const line = element('div', '', {role: 'row'});
      for (let column = 0; column < columns; ++column) {
        const cell = element('div', 'cell', {role: 'gridcell', tabindex: '-1'});
        cell.addEventListener('click', (event) => {
          if (event.detail === 0) post([pressCell, id, row, column]);
        });
        line.append(cell);
        surface.cells.push(cell);
      }
      surface.box.append(line);
    }
    surface.columns = columns;
    surface.cursor = surface.cells[0];
    surface.cursor.tabIndex = 0;
    surface.box.addEventListener('keydown', (event) => {
      if (event.ctrlKey || event.altKey || event.metaKey || !(event.key in keys)) return;
      event.preventDefault();
      post([key, id, keys[event.key]]);
    });
  }

  function cellOf(id, row, column) {
    const surface = surfaces.get(id);
    return surface ? surface.cells[row * surface.columns + column] : undefined;
  }

  function placeCell(id, row, column, left, top, width, height, name) {
    const cell = cellOf(id, row, column);
    if (!cell) return;
    place(cell, left, top, width, height);
    cell.setAttribute('aria-label', name);
  }

  function nameCell(id, row, column, name) {
    const cell = cellOf(id, row, column);
    if (cell) cell.setAttribute('aria-label', name);
  }

  function moveCursor(id, row, column) {
    const surface = surfaces.get(id);
    const cell = cellOf(id, row, column);
    if (!cell || cell === surface.cursor) return;
    const focused = surface.box.contains(document.activeElement);
    surface.cursor.tabIndex = -1;
    surface.cursor = cell;
    cell.tabIndex = 0;
    if (focused) cell.focus();
  }

  function focusCursor(surface) {
    surface.cursor.focus({preventScroll: true});
  }

  function focusBoard() {
    for (const surface of surfaces.values()) {
      if (surface.cells.length && !surface.box.hidden) return focusCursor(surface);
    }
  }

  // ---- menus ----

  // Items hold their element, their sub-menu if they open one, and the keys that choose them.
  function menuItem(update, id, parent, caption, accessKey, shortcut, flags) {
    if (update) return updateMenuItem(menus.get(id), caption, flags);
    const holder = parent === 0 ? byId('menubar') : (menus.get(parent) || {}).submenu;
    if (!holder) return;
    if (flags & 1) {
      const line = element('div', 'separator', {role: 'separator'});
      line.hidden = !(flags & 64);
      holder.append(line);
      return;
    }
    const item = makeMenuItem(id, parent, caption, accessKey, flags);
    giveKeys(item, shortcut);
    const wrapper = element('div', 'holder', {role: 'none'});
    wrapper.append(item.element);
    if (item.submenu) wrapper.append(item.submenu);
    holder.append(wrapper);
    menus.set(id, item);
    updateMenuItem(item, caption, flags);
    if (parent === 0 && topItems().length === 1) item.element.tabIndex = 0;
  }

  function makeMenuItem(id, parent, caption, accessKey, flags) {
    const item = {id, parent, accessKey: accessKey >= 0 ? caption[accessKey].toUpperCase() : ''};
    item.element = element('div', parent === 0 ? 'item top' : 'item', {role: roleOf(flags), tabindex: '-1'});
    item.element.append(element('span', 'check', {'aria-hidden': 'true'}), element('span', 'caption'),
                        element('span', 'shortcut'), element('span', 'arrow', {'aria-hidden': 'true'}));
    if (flags & 2) {
      item.submenu = element('div', 'menu', {role: 'menu', 'aria-label': caption});
      item.submenu.hidden = true;
      item.element.setAttribute('aria-haspopup', 'menu');
      item.element.setAttribute('aria-expanded', 'false');
      if (parent !== 0) item.element.querySelector('.arrow').textContent = '\u25B8';
    }
    // A press keeps the focus where it was, to go back to once the menus close.
    item.element.addEventListener('pointerdown', (event) => event.preventDefault());
    item.element.addEventListener('click', (event) => {
      event.stopPropagation();
      activate(item, true);
    });
    item.element.addEventListener('pointerenter', () => hover(item));
    item.element.addEventListener('keydown', (event) => onMenuKey(item, event));
    return item;
  }

  // The item's shortcut and its substitute, shown and told to assistive tools; a top item names its access key.
  function giveKeys(item, shortcut) {
    item.keys = [shortcut, substitutes[shortcut]].filter(Boolean);
    if (item.keys.length) {
      item.element.querySelector('.shortcut').textContent = item.keys.join(', ');
      item.element.setAttribute('aria-keyshortcuts', item.keys.map((k) => k.replace('Ctrl+', 'Control+')).join(' '));
    } else if (item.accessKey && item.parent === 0) {
      item.element.setAttribute('aria-keyshortcuts', 'Alt+' + item.accessKey);
    }
  }

  function roleOf(flags) {
    if (flags & 8) return 'menuitemradio';
    return flags & 4 ? 'menuitemcheckbox' : 'menuitem';
  }

  function updateMenuItem(item, caption, flags) {
    if (!item) return;
    item.element.querySelector('.caption').textContent = caption;
    item.element.querySelector('.check').textContent = flags & 16 ? '\u2713' : '';
    if (flags & 4) item.element.setAttribute('aria-checked', String(Boolean(flags & 16)));
    item.element.setAttribute('aria-disabled', String(!(flags & 32)));
    item.element.parentElement.hidden = !(flags & 64);
  }

  const openMenus = [];  // the items whose sub-menus are open, outermost first
  let focusBefore = null;

  function openMenu(item, focusFirst) {
    while (openMenus.length && openMenus[openMenus.length - 1] !== menus.get(item.parent)) closeTopMenu();
    if (!openMenus.length) focusBefore = focusBefore || document.activeElement;
    item.submenu.hidden = false;
    keepOnScreen(item.submenu);
    item.element.setAttribute('aria-expanded', 'true');
    openMenus.push(item);
    const first = itemsOf(item.submenu)[0];
    if (focusFirst && first) first.focus();
  }

  // A menu opens beside its item; where the screen is too narrow or short for that, it moves in as far as it must,
  // over its parent menu if need be.
  function keepOnScreen(menu) {
    menu.style.margin = '';
    const box = menu.getBoundingClientRect();
    const page = document.documentElement;
    const into = (start, end, size) => Math.max(Math.min(0, size - screenMargin - end), screenMargin - start);
    menu.style.marginLeft = px(into(box.left, box.right, page.clientWidth));
    menu.style.marginTop = px(into(box.top, box.bottom, page.clientHeight));
  }

  function closeTopMenu() {
    const item = openMenus.pop();
    item.submenu.hidden = true;
    item.element.setAttribute('aria-expanded', 'false');
    return item;
  }

  function closeMenus(restoreFocus) {
    while (openMenus.length) closeTopMenu();
    const back = focusBefore;
    focusBefore = null;
    if (restoreFocus && back && back.isConnected) back.focus();
  }

  const itemsOf = (menu) =>
    [...menu.children].filter((c) => !c.hidden && c.classList.contains('holder')).map((c) => c.firstChild);

  function activate(item, byPointer) {
    if (stopped || asking || item.element.getAttribute('aria-disabled') === 'true') return;
    if (item.submenu) {
      if (item.parent === 0 && openMenus[0] === item && byPointer) return closeMenus(true);
      openMenu(item, !byPointer || item.parent !== 0);
      if (byPointer && item.parent === 0) item.element.focus();
      return;
    }
    closeMenus(true);
    post([choose, item.id]);
  }

  // Pointing at an item of an open menu opens its sub-menu, and closes any other below that menu.
  function hover(item) {
    if (!openMenus.length || item.parent === 0) return;
    if (item.submenu) return openMenu(item, false);
    while (openMenus.length && openMenus[openMenus.length - 1] !== menus.get(item.parent)) closeTopMenu();
  }

  function onMenuKey(item, event) {
    const menu = item.element.parentElement.parentElement;
    const siblings = itemsOf(menu);
    const at = siblings.indexOf(item.element);
    const move = (step) => siblings[(at + step + siblings.length) % siblings.length].focus();
    switch (event.key) {
      case 'ArrowDown':
        if (item.parent === 0) openMenu(item, true);
        else move(1);
        break;
      case 'ArrowUp':
        if (item.parent === 0) {
          openMenu(item, false);
          const all = itemsOf(item.submenu);
          if (all.length) all[all.length - 1].focus();
        } else {
          move(-1);
        }
        break;
      case 'Home': siblings[0].focus(); break;
      case 'End': siblings[siblings.length - 1].focus(); break;
      case 'ArrowRight':
        if (item.submenu && item.parent !== 0) openMenu(item, true);
        else if (item.parent === 0) move(1);
        break;
      case 'ArrowLeft':
        if (item.parent === 0) move(-1);
        else if (openMenus.length > 1) closeTopMenu().element.focus();
        break;
      case 'Enter':
      case ' ':
        activate(item, false);
        break;
      case 'Escape':
        if (openMenus.length > 1) closeTopMenu().element.focus();
        else closeMenus(true);
        break;
      case 'Tab':
        closeMenus(false);
        return;
      default:
        return;
    }
    event.preventDefault();
    event.stopPropagation();
  }

  // A press outside the open menus only closes them, as a desktop window's menus do: it plays no move.
  function onPointerDownAnywhere(event) {
    if (!openMenus.length || byId('menubar').contains(event.target)) return;
    closeMenus(false);
    event.preventDefault();
    event.stopPropagation();
  }

  const topItems = () => [...menus.values()].filter((item) => item.parent === 0);

  // The keys the whole window answers: the menu bar's (F10, Alt and an access key) and the items' shortcuts.
  function onKeyDown(event) {
    if (stopped || asking || event.defaultPrevented) return;
    const name = (event.ctrlKey ? 'Ctrl+' : '') + (event.altKey ? 'Alt+' : '') + (event.shiftKey ? 'Shift+' : '') +
                 (event.key.length === 1 ? event.key.toUpperCase() : event.key);
    const top = topItems();
    if (name === 'F10' && top.length) {
      openMenu(top[0], true);
    } else if (event.altKey && !event.ctrlKey && top.some((item) => 'Alt+' + item.accessKey === name)) {
      openMenu(top.find((item) => 'Alt+' + item.accessKey === name), true);
    } else {
      const item = [...menus.values()].find((candidate) => candidate.keys.includes(name));
      if (!item) return;
      activate(item, false);
    }
    event.preventDefault();
  }

  // ---- questions, errors and announcements ----

  // Modal to the window: what takes input is inert while the question is open, but not the status line, and the
  // live region is outside the window. Each question is a dialog of its own, so that a screen reader reads it anew;
  // its buttons let Y and N through to the page even where a screen reader keeps other keys. The focus goes back to
  // where it was before the dialog goes, so that the screen reader stays with it.
  function ask(title, prompt) {
    const dialog = element('dialog', 'question', {role: 'alertdialog', 'aria-modal': 'true',
                                                  'aria-labelledby': 'question-title',
                                                  'aria-describedby': 'question-text'});
    const heading = element('div', 'title', {id: 'question-title'});
    const text = element('p', '', {id: 'question-text'});
    const answers = element('div', 'answers', {role: 'application'});
    const yes = element('button', '', {type: 'button'});
    const no = element('button', '', {type: 'button'});
    heading.textContent = title;
    text.textContent = prompt;
    yes.textContent = 'Yes';
    no.textContent = 'No';
    answers.append(yes, no);
    dialog.append(heading, text, answers);
    const focused = document.activeElement;
    closeMenus(false);
    asking = true;
    setInert(true);
    byId('window').after(dialog);
    dialog.show();
    yes.focus();
    return new Promise((resolve) => {
      const answer = (chosen) => {
        setInert(false);
        if (focused && focused.isConnected) focused.focus();
        dialog.remove();
        asking = false;
        resolve(chosen);
      };
      dialog.addEventListener('keydown', (event) => {
        const key = event.key.toLowerCase();
        if (key === 'tab') {
          (document.activeElement === yes ? no : yes).focus();
        } else if (key === 'y' || key === 'n' || key === 'escape') {
          answer(key === 'y');
        } else {
          return;
        }
        event.preventDefault();
        event.stopPropagation();
      });
      yes.addEventListener('click', () => answer(true));
      no.addEventListener('click', () => answer(false));
    });
  }

  function reportError(title, text) {
    const failure = byId('failure');
    failure.textContent = `${title}: ${text}`;
    failure.hidden = false;
    byId('loading').hidden = true;
  }

  // A new element each time, so that a sentence said twice is spoken twice.
  function announce(sentence) {
    const region = byId('announcements');
    const said = element('p');
    said.textContent = sentence;
    region.replaceChildren(said);
  }

  // ---- the program's files ----

  // The start script fetched them beside the page and decoded each picture among them (TessarinStart.files); they
  // are written where the module's file system has its program folder, and a picture's pixels are taken only when
  // the program asks, within its size limits.
  const decoded = new Map();

  function writeProgramFiles(files) {
    for (const file of files) {
      if (!file.bytes) continue;
      decoded.set(file.path, file.picture);
      FS.mkdirTree('/' + file.path.split('/').slice(0, -1).join('/'));
      FS.writeFile('/' + file.path, file.bytes);
    }
  }

  const pathOf = (native) => native.replace(/^\.?\//, '');

  function decodedPicture(native) {
    const entry = decoded.get(pathOf(native));
    if (!entry) return {width: 0, height: 0, error: 'the picture was not decoded'};
    if (entry.error) return {width: 0, height: 0, error: entry.error};
    return {width: entry.bitmap.width, height: entry.bitmap.height, error: ''};
  }

  // The picture's RGBA bytes, as the browser decoded them, into the module's memory.
  function takePicture(native, pixels) {
    const path = pathOf(native);
    const {bitmap} = decoded.get(path);
    decoded.delete(path);
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext('2d', {willReadFrequently: true});
    context.drawImage(bitmap, 0, 0);
    bitmap.close();
    pixels.set(context.getImageData(0, 0, canvas.width, canvas.height).data);
  }

  return {
    open, show, close, stop, paint, addLabel, updateLabel, placeSurface, placeCell, nameCell, moveCursor, menuItem,
    ask, reportError, announce, nextEvent, writeProgramFiles, decodedPicture, takePicture,
  };
})();

// The program starts once its files are in place and its module is compiled, both begun by the start script. A
// module that cannot be fetched or compiled stops the start with a message on the page.
(() => {
  Module.preRun = [() => {
    addRunDependency('program-files');
    TessarinStart.files.then((loaded) => {
      TessarinPage.writeProgramFiles(loaded);
      removeRunDependency('program-files');
    });
  }];
  Module.instantiateWasm = (imports, receive) => {
    const compiled = TessarinStart.module;
    compiled.then((module) => WebAssembly.instantiate(module, imports)).then(
      (instance) => compiled.then((module) => receive(instance, module)),
      (error) => TessarinPage.reportError('Tessarin', `its module tessarin.wasm cannot be loaded: ${error.message}`));
    return {};
  };
})();
