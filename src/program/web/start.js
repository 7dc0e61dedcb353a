// Starts the game's script where the browser can run it, and says so plainly where it cannot.
(() => {
  'use strict';
  const fail = (text) => {
    document.getElementById('loading').hidden = true;
    const failure = document.getElementById('failure');
    failure.textContent = text;
    failure.hidden = false;
  };
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    fail('Tessarin cannot run in this browser: it needs WebAssembly.');
    return;
  }
  const script = document.createElement('script');
  script.src = 'tessarin.js';
  script.onerror = () => fail('Tessarin cannot start: its script tessarin.js could not be loaded.');
  document.body.append(script);
  // Once loaded, the page keeps itself for playing offline (sw.js); where the browser cannot, it simply goes without.
  if ('serviceWorker' in navigator) {
    addEventListener('load', () => navigator.serviceWorker.register('sw.js').catch(() => {}));
  }
})();
