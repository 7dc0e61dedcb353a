// A screenshot's pixels, decoded here rather than by the browser under test, whose decoder could change them.
import pngjs from 'pngjs';

// The rectangle, in CSS pixels, in device pixels: its edges on the device's pixel grid, where a screenshot clipped in
// CSS pixels would be rounded.
export function onDevicePixels({x, y, width, height}, ratio) {
  const [left, top, right, bottom] = [x, y, x + width, y + height].map((at) => Math.round(at * ratio));
  return {x: left, y: top, width: right - left, height: bottom - top};
}

// The PNG's pixels in the rectangle (in its pixels, whole by default) as RGB, row by row.
export function decodedPng(png, rect = null) {
  const {width, height, data} = pngjs.PNG.sync.read(png);
  const {x = 0, y = 0, width: w = width, height: h = height} = rect ?? {};
  if (x < 0 || y < 0 || x + w > width || y + h > height) {
    throw new Error(`the rectangle ${w} x ${h} at ${x}, ${y} is not inside the ${width} x ${height} screenshot`);
  }
  const rgb = Buffer.alloc(w * h * 3);
  for (let row = 0; row < h; ++row) {
    for (let column = 0; column < w; ++column) {
      const from = ((y + row) * width + x + column) * 4;
      data.copy(rgb, (row * w + column) * 3, from, from + 3);
    }
  }
  return {width: w, height: h, rgb};
}
