// The least a page does to show a board like the game's: the client area at the window's size and the board's canvas
// filled with nine squares.
const client = document.getElementById('client');
Object.assign(client.style, {position: 'relative', width: '454px', height: '486px'});
const board = document.getElementById('board');
Object.assign(board.style, {left: '34px', top: '34px'});
const context = board.getContext('2d');
for (let cell = 0; cell < 9; ++cell) {
  context.fillStyle = cell % 2 ? '#e2dccb' : '#b8862e';
  context.fillRect((cell % 3) * 128, Math.floor(cell / 3) * 128, 128, 128);
}
board.dataset.painted = '';
