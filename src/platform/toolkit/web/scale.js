// How many device pixels the page gives each of the window's design pixels. The window fits the viewport; where
// it fits at its design size and the pointer is fine (a desktop), it stays exactly that size, and on a touch
// screen it may grow. A whole number of device pixels per design pixel replicates each one exactly, so a scale
// that must change anyway is rounded down to one when that keeps nine tenths of the size that fits.
var TessarinScale = (() => {
  'use strict';

  const wholeWithin = 0.9;

  // room: the CSS pixels the window may take, its menu bar's height among them (chrome); design: its client area.
  function deviceScale({roomWidth, roomHeight, chrome, designWidth, designHeight, ratio, grows}) {
    const fits = Math.max(Math.min(roomWidth / designWidth, (roomHeight - chrome) / designHeight), 0.01);
    if (fits >= 1 && !grows) return ratio;
    const device = fits * ratio;
    const whole = Math.floor(device);
    return whole >= 1 && whole >= device * wholeWithin ? whole : device;
  }

  return {deviceScale};
})();
