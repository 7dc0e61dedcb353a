// The floor of any page that shows the board: the bare page's frame with the game's pictures, fetched as its preload
// hints asked (in parallel), decoded by the browser and drawn side by side into the board's canvas. The pictures are
// taken as images: a fetch() that meets its preload still on the way fails now and then in Chromium under the
// developer tools' network emulation, and an image takes the browser's own shortest path anyway.
const client = document.getElementById('client');
Object.assign(client.style, {position: 'relative', width: '454px', height: '486px'});
const board = document.getElementById('board');
Object.assign(board.style, {left: '34px', top: '34px'});
const context = board.getContext('2d');
const decode = async (link) => {
  const picture = new Image();
  picture.src = link.href;
  await picture.decode();
  return picture;
};
Promise.all([...document.querySelectorAll('link[rel=preload]')].map(decode)).then((pictures) => {
  pictures.forEach((picture, at) => context.drawImage(picture, (at % 3) * 128, Math.floor(at / 3) * 128));
  board.dataset.painted = '';
});
