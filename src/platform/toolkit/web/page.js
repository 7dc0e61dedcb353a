// The web front end's side in the page: the elements that show the module's window, and the input they take.
// FormWindow (C++) calls the methods of TessarinPage; the player's input waits in `queue` until the module's event
// loop takes it (nextEvent), one event at a time, so a handler suspended on a question never has another run under
// it. The files the program reads beside itself, fetched and decoded by the start script, are kept here as the
// program's folder.
var TessarinPage = (() => {
  'use strict';

  // The button and shift codes of a press, the toolkit's.
  const buttons = [1, 4, 2];  // left, middle, right

  const byId = (id) => document.getElementById(id);
  const element = (tag, className, attributes) => {
    const made = document.createElement(tag);
    if (className) made.className = className;
    for (const name of Object.keys(attributes || {})) made.setAttribute(name, attributes[name]);
    return made;
  };
  const px = (value) => value + 'px';
  const colour = (rgb) => '#' + (rgb >>> 0).toString(16).padStart(6, '0');

  let windowElement, client, stage, background;
  let tableKeys = [];  // the names of the keys a table surface answers, in the module's order
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
    windowElement = byId('window');
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
    windowElement.hidden = false;
    focusBoard();
  }

  // The window went for good: what is left says so, and nothing reacts any more.
  function close() {
    stop();
    windowElement.hidden = true;
    removeEventListener('beforeunload', onBeforeUnload);
    const ended = byId('ended');
    ended.hidden = false;
    // The box that asked goes first: a screen reader then speaks the message once, from the live region, rather than
    // again as the focus comes to it from a button that still stands.
    for (const box of document.querySelectorAll('dialog')) box.remove();
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
    const room = getComputedStyle(windowElement.parentElement);
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
    windowElement.style.marginLeft = px(centred(roomWidth, width / devicePixelRatio));
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

  // `look` is the label's font and colours as the module gives them, by name.
  function addLabel(id, left, top, width, height, look, caption) {
    const label = element('div', 'label');
    label.fontPixels = look.fontPixels;
    const family = `"${look.fontName}", "DejaVu Sans", sans-serif`;
    Object.assign(label.style, {
      font: `${look.italic ? 'italic ' : ''}${look.fontWeight} ${px(look.fontPixels)} ${family}`,
      textDecoration: [look.underline ? 'underline' : '', look.strikethrough ? 'line-through' : ''].join(' ').trim(),
      color: colour(look.color),
      background: look.transparent ? 'transparent' : colour(look.backColor),
      textAlign: look.alignment,
    });
    // The status line is read as the window's status; announcements already end with what it says, so its own
    // changes are not spoken a second time.
    if (look.statusLine) {
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
      post(['press', id, event.pointerType === 'mouse' ? buttons[event.button] || 0 : 1, shiftOf(event),
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
          if (event.detail === 0) post(['pressCell', id, row, column]);
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
      if (event.ctrlKey || event.altKey || event.metaKey || !tableKeys.includes(event.key)) return;
      event.preventDefault();
      post(['key', id, tableKeys.indexOf(event.key)]);
    });
  }

  function setTableKeys(names) {
    tableKeys = names;
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

  // Items hold their element, their sub-menu if they open one, and the keys that choose them. `shown` is what the
  // module says of the item: its caption, access key letter and shortcuts, and what it is and may do.
  function menuItem(update, id, parent, shown) {
    if (update) return updateMenuItem(menus.get(id), shown);
    const holder = parent === 0 ? byId('menubar') : (menus.get(parent) || {}).submenu;
    if (!holder) return;
    if (shown.separator) {
      const line = element('div', 'separator', {role: 'separator'});
      line.hidden = !shown.visible;
      holder.append(line);
      return;
    }
    const item = makeMenuItem(id, parent, shown);
    giveKeys(item, shown.shortcuts);
    const wrapper = element('div', 'holder', {role: 'none'});
    wrapper.append(item.element);
    if (item.submenu) wrapper.append(item.submenu);
    holder.append(wrapper);
    menus.set(id, item);
    updateMenuItem(item, shown);
    if (parent === 0 && topItems().length === 1) item.element.tabIndex = 0;
  }

  function makeMenuItem(id, parent, shown) {
    const item = {id, parent, accessKey: shown.accessKey.toUpperCase()};
    item.element = element('div', parent === 0 ? 'item top' : 'item', {role: roleOf(shown), tabindex: '-1'});
    item.element.append(element('span', 'check', {'aria-hidden': 'true'}), element('span', 'caption'),
                        element('span', 'shortcut'), element('span', 'arrow', {'aria-hidden': 'true'}));
    if (shown.submenu) {
      item.submenu = element('div', 'menu', {role: 'menu', 'aria-label': shown.caption});
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

  // The item's shortcuts, shown and told to assistive tools; a top item names its access key.
  function giveKeys(item, shortcuts) {
    item.keys = shortcuts;
    if (item.keys.length) {
      item.element.querySelector('.shortcut').textContent = item.keys.join(', ');
      item.element.setAttribute('aria-keyshortcuts', item.keys.map((k) => k.replace('Ctrl+', 'Control+')).join(' '));
    } else if (item.accessKey && item.parent === 0) {
      item.element.setAttribute('aria-keyshortcuts', 'Alt+' + item.accessKey);
    }
  }

  function roleOf(shown) {
    if (shown.radio) return 'menuitemradio';
    return shown.checkable ? 'menuitemcheckbox' : 'menuitem';
  }

  function updateMenuItem(item, shown) {
    if (!item) return;
    item.element.querySelector('.caption').textContent = shown.caption;
    item.element.querySelector('.check').textContent = shown.checked ? '\u2713' : '';
    if (shown.checkable) item.element.setAttribute('aria-checked', String(shown.checked));
    item.element.setAttribute('aria-disabled', String(!shown.enabled));
    item.element.parentElement.hidden = !shown.visible;
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
    post(['choose', item.id]);
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

  // A box over the window, modal: the browser makes the rest of the page inert while it is open. What Orca needs in
  // Chromium to read it once: no alert role (Chromium reports an alert's coming twice, and Orca reads it each time),
  // and the prompt in a live region of the box, filled once the box stands, since Orca says nothing of a dialog the
  // focus enters from what a modal box made inert. Its buttons are a toolbar, which keeps a screen reader passing
  // keys to the page (Y and N answer, where browse mode keeps Y for itself). Escape gives the last answer. The focus
  // goes back to where it was while the box still stands, so that the screen reader follows it; an error's message
  // stays on the page, the game having stopped.
  async function ask({title, prompt, answers, error}) {
    const box = makeBox(title, prompt, answers, error);
    const focused = document.activeElement;
    closeMenus(false);
    // The live region is inert behind the box; what it held would be spoken again once the box goes.
    byId('announcements').replaceChildren();
    asking = true;
    const answered = new Promise((resolve) => takeAnswer(box, (chosen) => {
      if (!box.dialog.matches(':modal')) return;
      leave(box.dialog, focused);
      if (error) reportError(title, prompt, false);
      resolve(chosen);
    }));
    byId('window').after(box.dialog);
    box.dialog.showModal();
    box.buttons[0].focus();
    await nextFrame();
    box.text.textContent = prompt;
    return answered;
  }

  // The prompt shows at once, so that the buttons stand where they will stay; its live region, unseen, speaks it.
  function makeBox(title, prompt, answers, error) {
    const dialog = element('dialog', error ? 'question error' : 'question', {'aria-labelledby': 'question-title'});
    const heading = element('div', 'title', {id: 'question-title'});
    const shownPrompt = element('p', '', {'aria-hidden': 'true'});
    const text = element('div', 'unseen', {'aria-live': 'assertive'});
    const row = element('div', 'answers', {role: 'toolbar'});
    const buttons = answers.map((caption) => {
      const button = element('button', '', {type: 'button'});
      button.textContent = caption;
      return button;
    });
    heading.textContent = title;
    shownPrompt.textContent = prompt;
    row.append(...buttons);
    dialog.append(heading, shownPrompt, text, row);
    return {dialog, text, buttons};
  }

  // A button, its first letter or Escape (the last answer) gives the answer's place; the arrows move along the
  // buttons, as on a toolbar.
  function takeAnswer({dialog, buttons}, answer) {
    const letters = buttons.map((button) => button.textContent[0].toLowerCase());
    const step = {arrowleft: -1, arrowright: 1};
    dialog.addEventListener('cancel', (event) => {
      event.preventDefault();
      answer(buttons.length - 1);
    });
    dialog.addEventListener('keydown', (event) => {
      const key = event.key.toLowerCase();
      const at = buttons.indexOf(document.activeElement);
      if (key === 'escape') answer(buttons.length - 1);
      else if (letters.includes(key) && !event.ctrlKey && !event.altKey && !event.metaKey) answer(letters.indexOf(key));
      else if (key in step) buttons[(at + step[key] + buttons.length) % buttons.length].focus();
      else return;
      event.preventDefault();
      event.stopPropagation();
    });
    buttons.forEach((button, index) => button.addEventListener('click', () => answer(index)));
  }

  // The box turns modeless a moment, so that the focus can go back while it still stands, and goes after.
  function leave(dialog, focused) {
    dialog.close();
    dialog.show();
    if (focused && focused.isConnected) focused.focus();
    setTimeout(() => dialog.remove());
    asking = false;
  }

  // After the page has drawn, and so told assistive tools, what it holds now.
  const nextFrame = () => new Promise((drawn) => requestAnimationFrame(() => setTimeout(drawn)));

  // An error that stopped the game, on the page for as long as it stays open; spoken as it shows unless the player
  // has just read it in a box.
  function reportError(title, text, spoken = true) {
    const failure = byId('failure');
    if (spoken) failure.setAttribute('role', 'alert');
    else failure.removeAttribute('role');
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

  // The start script fetched them beside the page and decoded each picture among them (start.js); they are the
  // program's folder for as long as the page lives, read and decoded as often as the program asks. By their path
  // inside the page's folder: `./Bilder/x.gif` is `Bilder/x.gif`, and no name reaches above that folder.
  const files = new Map();

  function keepFiles(fetched) {
    for (const file of fetched) if (file.bytes) files.set(file.path, file);
  }

  function pathOf(native) {
    const parts = [];
    for (const part of native.split('/')) {
      if (part === '..' && !parts.length) return null;
      if (part === '..') parts.pop();
      else if (part && part !== '.') parts.push(part);
    }
    return parts.join('/');
  }

  // The file's size; -1 for a name that is no file, -2 for a folder that holds some.
  function fileSize(native) {
    const path = pathOf(native);
    if (path === null) return -1;
    if (files.has(path)) return files.get(path).bytes.length;
    const folder = path ? path + '/' : '';
    return [...files.keys()].some((name) => name.startsWith(folder)) ? -2 : -1;
  }

  function readFile(native, into) {
    into.set(files.get(pathOf(native)).bytes.subarray(0, into.length));
  }

  // Four bytes at a time where both start on a word, as the module's and the fetched buffers do.
  function sameBytes(one, other) {
    if (one.length !== other.length) return false;
    let at = 0;
    if (one.byteOffset % 4 === 0 && other.byteOffset % 4 === 0) {
      const words = one.length >> 2;
      const [a, b] = [one, other].map((bytes) => new Uint32Array(bytes.buffer, bytes.byteOffset, words));
      for (; at < words; ++at) if (a[at] !== b[at]) return false;
      at = words << 2;
    }
    for (; at < one.length; ++at) if (one[at] !== other[at]) return false;
    return true;
  }

  // The picture the browser decoded from the file's bytes, when `bytes` are those bytes: the loader hands over
  // what it read, and a picture is never taken from anything else.
  function decodedPicture(native, bytes) {
    const file = files.get(pathOf(native));
    if (!file || !file.picture) return {width: 0, height: 0, error: 'the page did not fetch the picture'};
    if (!sameBytes(bytes, file.bytes)) return {width: 0, height: 0, error: 'the bytes are not those the page decoded'};
    const {width = 0, height = 0, error = ''} = file.picture;
    return {width, height, error};
  }

  // The picture's RGBA bytes, as the browser decoded them, into the module's memory.
  function takePicture(native, pixels) {
    pixels.set(files.get(pathOf(native)).picture.pixels);
  }

  return {
    open, show, close, stop, paint, addLabel, updateLabel, tableKeys: setTableKeys, placeSurface, placeCell, nameCell,
    moveCursor, menuItem, ask, reportError, announce, nextEvent, keepFiles, fileSize, readFile, decodedPicture,
    takePicture,
  };
})();
