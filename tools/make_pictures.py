#!/usr/bin/python3
"""Generates every picture the game ships with, reproducibly.

    tools/make_pictures.py                    # rewrite the pictures in the source tree
    tools/make_pictures.py --preview OUT.png  # also assemble a mock of the window for a visual check

Needs the Debian packages python3-numpy, python3-pil and librsvg2-bin (rsvg-convert, for the icon renders).
The outputs are committed, so a build never runs this script; rerun it only after changing it, then commit the
results. A fixed seed per picture keeps every run byte-identical.

Written files (paths relative to the repository root):
    Bilder/BarkGold.gif                 window background tile, 240 x 154, seamless
    Bilder/Background.jpg               board background tile, 128 x 128, seamless
    Bilder/cross.gif, Bilder/Bullet.gif blue and red pieces, 128 x 128 on pure white (white is left out when drawn)
    Bilder/Up.jpg, Bilder/Down.jpg      frame strips above and below the board, 385 x 13
    Bilder/Right.jpg, Bilder/Left.jpg   frame strips on the left and right edge (the names are the other way round
                                        on purpose: Right.jpg is drawn at the left edge), 13 x 385
    src/window/resources/Image5..8.bmp  13 x 13 frame corners, 24-bit BMP
    packaging/icons/...                 application icon, SVG plus PNG renders
"""

import argparse
import pathlib
import shutil
import subprocess

import numpy as np
from PIL import Image, ImageDraw, ImageFont

ROOT = pathlib.Path(__file__).resolve().parent.parent
PICTURES = ROOT / "Bilder"
CORNERS = ROOT / "src" / "window" / "resources"
ICONS = ROOT / "packaging" / "icons"
APP_ID = "io.github.tessarin.Tessarin"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)

WHITE = (255, 255, 255)

# Window geometry the pictures are made for.
WINDOW_W, WINDOW_H = 454, 486
BARK_W, BARK_H = 240, 154
BOARD_X = BOARD_Y = 32
BOARD_SIZE = 385
BAND = 13
PIECE = 128
TILE = 128

# Where each frame strip and corner lands in the window. Corner 7 sits at x 416, one pixel left of corner 6, and the
# strips below and to the right of the board start on the board's last pixel row/column, which the board hides.
STRIP_POS = {"Up": (32, 19), "Right": (19, 32), "Down": (32, 416), "Left": (416, 32)}
CORNER_POS = {5: (19, 19), 6: (417, 19), 7: (416, 417), 8: (19, 417)}


# ---------------------------------------------------------------------------------------------------------------------
# Periodic noise: white noise shaped in the frequency domain is exactly periodic in the array's size, so any picture
# built from it (and from per-pixel operations on it) tiles without a seam.


def periodic_noise(rng, h, w, cut_x, cut_y=None):
    """Gaussian low-pass noise, zero mean and unit deviation; cut_* are cut-off frequencies in cycles per pixel."""
    cut_y = cut_x if cut_y is None else cut_y
    fy = np.fft.fftfreq(h)[:, None]
    fx = np.fft.fftfreq(w)[None, :]
    shape = np.exp(-((fx / cut_x) ** 2 + (fy / cut_y) ** 2))
    field = np.real(np.fft.ifft2(np.fft.fft2(rng.standard_normal((h, w))) * shape))
    field -= field.mean()
    return field / field.std()


def sample_wrapped(field, yy, xx):
    """Bilinear lookup with wrap-around, so warping a periodic field keeps it periodic."""
    h, w = field.shape
    y0 = np.floor(yy).astype(int)
    x0 = np.floor(xx).astype(int)
    ty = yy - y0
    tx = xx - x0
    y0 %= h
    x0 %= w
    y1 = (y0 + 1) % h
    x1 = (x0 + 1) % w
    top = field[y0, x0] * (1 - tx) + field[y0, x1] * tx
    bottom = field[y1, x0] * (1 - tx) + field[y1, x1] * tx
    return top * (1 - ty) + bottom * ty


def periodic_gradient(field):
    gx = (np.roll(field, -1, axis=1) - np.roll(field, 1, axis=1)) / 2
    gy = (np.roll(field, -1, axis=0) - np.roll(field, 1, axis=0)) / 2
    return gx, gy


def ramp(values, stops):
    """Maps values in 0..1 through colour stops [(position, (r, g, b)), ...] to an RGB float array."""
    pos = np.array([p for p, _ in stops])
    out = np.empty(values.shape + (3,))
    for c in range(3):
        out[..., c] = np.interp(values, pos, [col[c] for _, col in stops])
    return out


def to_rgb8(arr):
    return np.clip(np.rint(arr), 0, 255).astype(np.uint8)


def smoothstep(edge0, edge1, x):
    t = np.clip((x - edge0) / (edge1 - edge0), 0, 1)
    return t * t * (3 - 2 * t)


# ---------------------------------------------------------------------------------------------------------------------
# Window background: golden bark with vertical fissures. It stays fairly dark so the white status text reads on it.


def make_bark():
    rng = np.random.default_rng(240154)
    h, w = BARK_H, BARK_W
    yy, xx = np.mgrid[0:h, 0:w].astype(float)

    # Plates are long vertically; a gentle warp makes the fissures between them wander.
    warp_x = periodic_noise(rng, h, w, 0.025, 0.02) * 3.5
    warp_y = periodic_noise(rng, h, w, 0.025) * 2.0
    plates = sample_wrapped(periodic_noise(rng, h, w, 0.055, 0.011), yy + warp_y, xx + warp_x)
    width = 0.30 + 0.12 * periodic_noise(rng, h, w, 0.03)
    rough = periodic_noise(rng, h, w, 0.28, 0.07)
    across = periodic_noise(rng, h, w, 0.035, 0.22)
    tone = periodic_noise(rng, h, w, 0.02)
    grain = periodic_noise(rng, h, w, 0.5, 0.2)

    # Plates stand up with sloped flanks; fissures sit where the plate field crosses zero.
    height = smoothstep(0.25, 1.1, np.abs(plates) / width / 1.6)
    cracks = np.exp(-((across / 0.10) ** 2)) * smoothstep(0.5, 0.9, height) * (rough > -0.3)
    height = height - 0.30 * cracks + 0.06 * rough + 0.02 * grain

    gx, gy = periodic_gradient(height * 9)  # relief lit from the upper left
    light = np.clip(0.55 - 0.9 * (gx + 0.6 * gy), 0, 1)

    value = 0.66 * height + 0.22 * light + 0.06 * tone + 0.04 * rough
    value = (value - np.percentile(value, 1)) / (np.percentile(value, 99.5) - np.percentile(value, 1))
    rgb = ramp(np.clip(value, 0, 1), [
        (0.00, (28, 15, 5)),
        (0.20, (62, 36, 11)),
        (0.45, (118, 78, 24)),
        (0.70, (170, 120, 42)),
        (0.88, (206, 158, 70)),
        (1.00, (232, 194, 108)),
    ])
    img = Image.fromarray(to_rgb8(rgb), "RGB")
    palette = img.quantize(colors=256, method=Image.Quantize.MEDIANCUT, kmeans=3)
    return img.quantize(palette=palette, dither=Image.Dither.FLOYDSTEINBERG)


# ---------------------------------------------------------------------------------------------------------------------
# Board background: a calm, light linen so the grey grid lines and both pieces stand out.


def make_board_tile():
    rng = np.random.default_rng(128128)
    n = TILE
    cloud = periodic_noise(rng, n, n, 0.02)
    warp = periodic_noise(rng, n, n, 0.5, 0.04)  # threads running down
    weft = periodic_noise(rng, n, n, 0.04, 0.5)  # threads running across
    speck = periodic_noise(rng, n, n, 0.6)
    v = 2.2 * cloud + 1.4 * warp + 1.4 * weft + 0.8 * speck
    base = np.array([236.0, 231.0, 217.0])
    rgb = base[None, None, :] + v[..., None] * np.array([1.0, 1.0, 1.1])[None, None, :]
    return Image.fromarray(to_rgb8(rgb), "RGB")


# ---------------------------------------------------------------------------------------------------------------------
# Pieces. They are drawn unscaled from the cell's top-left corner and every pure white pixel is left out, so:
#  - the ground is pure white and nothing inside the piece may be pure white;
#  - the shape keeps a white margin, so the grid line on the cell's first column and row stays visible;
#  - anti-aliased edges blend towards the board's own colour, never towards white, or a pale halo would show.

SUPER = 4  # supersampling for the coverage of the edges


def fine_grid(size):
    c = (np.arange(size * SUPER) + 0.5) / SUPER
    return np.meshgrid(c, c)


def downsample(arr):
    h, w = arr.shape[:2]
    return arr.reshape(h // SUPER, SUPER, w // SUPER, SUPER, *arr.shape[2:]).mean(axis=(1, 3))


def segment_distance(x, y, ax, ay, bx, by):
    px, py = x - ax, y - ay
    dx, dy = bx - ax, by - ay
    t = np.clip((px * dx + py * dy) / (dx * dx + dy * dy), 0, 1)
    return np.hypot(px - t * dx, py - t * dy)


def compose_piece(colour, coverage, shadow, ground):
    """Puts a shaded piece with its soft shadow onto the board colour; untouched pixels become pure white."""
    shaded_ground = ground[None, None, :] * (1 - 0.30 * shadow[..., None])
    out = colour * coverage[..., None] + shaded_ground * (1 - coverage[..., None])
    out = np.minimum(to_rgb8(out), 250)  # nothing drawn may turn into the transparent colour
    visible = (coverage > 1e-3) | (shadow > 0.04)
    out[~visible] = WHITE
    return out


def shadow_of(coverage_fine, dx, dy, blur):
    cov = downsample(coverage_fine)
    cov = np.roll(np.roll(cov, dy, axis=0), dx, axis=1)
    f = np.fft.fft2(cov)
    fy = np.fft.fftfreq(cov.shape[0])[:, None]
    fx = np.fft.fftfreq(cov.shape[1])[None, :]
    soft = np.real(np.fft.ifft2(f * np.exp(-2 * (np.pi * blur) ** 2 * (fx ** 2 + fy ** 2))))
    return np.clip(soft, 0, 1)


def make_cross(ground):
    x, y = fine_grid(PIECE)
    lo, hi, radius = 30.0, 98.0, 12.5  # arm ends and half-thickness; centre at 64
    d1 = segment_distance(x, y, lo, lo, hi, hi)
    d2 = segment_distance(x, y, hi, lo, lo, hi)
    # A smooth union rounds the inner corners where the arms meet and softens the crease of the bevel there.
    k = 7.0
    blend = np.clip(0.5 + 0.5 * (d2 - d1) / k, 0, 1)
    sdf = d2 * (1 - blend) + d1 * blend - k * blend * (1 - blend) - radius  # negative inside
    coverage_fine = np.clip(0.5 - sdf * SUPER, 0, 1)

    # A rounded bevel: height rises from the rim to the arm's centre line.
    depth = np.clip(-sdf / radius, 0, 1)
    height = np.sqrt(1 - (1 - depth) ** 2)
    gx, gy = np.gradient(height * radius, axis=(1, 0))
    normal = np.stack([-gx, -gy, np.ones_like(gx)], axis=-1)
    normal /= np.linalg.norm(normal, axis=-1, keepdims=True)
    light = np.array([-0.45, -0.55, 0.70])
    light /= np.linalg.norm(light)
    diffuse = np.clip(normal @ light, 0, 1)
    half = light + np.array([0, 0, 1.0])
    half /= np.linalg.norm(half)
    gloss = np.clip(normal @ half, 0, 1) ** 40

    base = np.array([38.0, 84.0, 214.0])
    colour = base * (0.35 + 0.80 * diffuse[..., None]) + 170 * gloss[..., None]
    rim = smoothstep(-2.2, -0.6, sdf)  # dark navy outline along the edge
    colour = colour * (1 - rim[..., None]) + np.array([12.0, 24.0, 80.0]) * rim[..., None]

    colour = downsample(colour * coverage_fine[..., None])
    coverage = downsample(coverage_fine)
    colour = np.where(coverage[..., None] > 0, colour / np.maximum(coverage, 1e-9)[..., None], 0)
    shadow = shadow_of(coverage_fine, 3, 4, 2.5) * (1 - coverage)
    return compose_piece(colour, coverage, shadow, ground)


def make_ball(ground):
    x, y = fine_grid(PIECE)
    cx = cy = 64.0
    radius = 42.0
    r = np.hypot(x - cx, y - cy)
    sdf = r - radius
    coverage_fine = np.clip(0.5 - sdf * SUPER, 0, 1)

    nx = (x - cx) / radius
    ny = (y - cy) / radius
    nz = np.sqrt(np.clip(1 - nx ** 2 - ny ** 2, 0, 1))
    normal = np.stack([nx, ny, nz], axis=-1)
    light = np.array([-0.5, -0.6, 0.62])
    light /= np.linalg.norm(light)
    diffuse = np.clip(normal @ light, 0, 1)
    half = light + np.array([0, 0, 1.0])
    half /= np.linalg.norm(half)
    gloss = np.clip(normal @ half, 0, 1) ** 60
    # A faint warm bounce light along the lower right rim makes the ball read as glossy rather than flat.
    bounce = np.clip(normal @ (np.array([0.6, 0.7, 0.2]) / np.linalg.norm([0.6, 0.7, 0.2])), 0, 1) ** 3

    base = np.array([205.0, 22.0, 26.0])
    colour = base * (0.22 + 0.85 * diffuse[..., None]) + np.array([120.0, 30.0, 20.0]) * 0.35 * bounce[..., None]
    colour = colour + 235 * gloss[..., None]
    rim = smoothstep(-2.0, -0.5, sdf)
    colour = colour * (1 - rim[..., None]) + np.array([80.0, 6.0, 8.0]) * rim[..., None]

    colour = downsample(colour * coverage_fine[..., None])
    coverage = downsample(coverage_fine)
    colour = np.where(coverage[..., None] > 0, colour / np.maximum(coverage, 1e-9)[..., None], 0)
    shadow = shadow_of(coverage_fine, 4, 5, 3.0) * (1 - coverage)
    return compose_piece(colour, coverage, shadow, ground)


def piece_to_gif(rgb):
    """Quantises a piece to 256 colours, keeping pure white exactly where it was and nowhere else."""
    white = np.all(rgb == 255, axis=-1)
    drawn = rgb[~white].reshape(1, -1, 3)
    palette_src = Image.fromarray(drawn, "RGB").quantize(colors=255, method=Image.Quantize.MEDIANCUT, kmeans=2)
    pal = palette_src.getpalette()[: 255 * 3]
    pal_img = Image.new("P", (1, 1))
    pal_img.putpalette(pal + list(WHITE))
    indexed = np.array(Image.fromarray(rgb, "RGB").quantize(palette=pal_img, dither=Image.Dither.NONE))
    indexed[white] = 255
    out = Image.fromarray(indexed.astype(np.uint8), "P")
    out.putpalette(pal + list(WHITE))
    back = np.array(out.convert("RGB"))
    assert np.array_equal(np.all(back == 255, axis=-1), white), "a drawn pixel became the transparent colour"
    return out


# ---------------------------------------------------------------------------------------------------------------------
# Frame: a mottled grey band round the board, brightest where it touches the board. The strips and corner 6 are cut
# from one field laid out in window coordinates so they meet without a seam; corners 8 and 7 are mirror images of
# corner 5 and take their mottle from it.

# Brightness across the band, from its outer edge (0) to the edge touching the board (12).
PROFILE = np.array([50, 68, 84, 98, 110, 121, 132, 143, 155, 168, 181, 194, 205], dtype=float)


def band_depth():
    """For every window pixel, how far into the frame band it lies (0 outer .. 12 inner), or -1 outside it.

    Measured from the outer edges at x, y 19 on the left and top, x 428 on the right and y 429 on the bottom:
    those are the outer pixels of corners 7 and 8, which mirror corner 5 and so fix where the band ends there.
    Corner 6 reaches one pixel further right (x 429); that column is clamped to the outer shade."""
    yy, xx = np.mgrid[0:WINDOW_H, 0:WINDOW_W]
    depth = np.minimum(np.minimum(xx - 19, yy - 19), np.minimum(428 - xx, 429 - yy))
    near = (xx >= 19) & (xx <= 429) & (yy >= 19) & (yy <= 429)
    return np.where(near, np.clip(depth, 0, 12), -1)


def grey_rgb(v):
    """Neutral grey with the faint green-blue cast of brushed metal."""
    return np.stack([v * 0.965 + 1.5, v * 1.0 + 1.0, v * 1.01 + 1.0], axis=-1)


def make_frame_field():
    rng = np.random.default_rng(13)
    depth = band_depth()
    blotch = periodic_noise(rng, WINDOW_H, WINDOW_W, 0.12)
    speck = rng.standard_normal((WINDOW_H, WINDOW_W))
    value = PROFILE[np.clip(depth, 0, 12)] + 10.0 * blotch + 6.0 * speck
    return np.clip(value, 34, 214), depth


def cut(field, x, y, w, h):
    return field[y:y + h, x:x + w]


def make_frame():
    value, _ = make_frame_field()
    strips = {
        "Up": cut(value, *STRIP_POS["Up"], BOARD_SIZE, BAND),
        "Down": cut(value, *STRIP_POS["Down"], BOARD_SIZE, BAND),
        "Right": cut(value, *STRIP_POS["Right"], BAND, BOARD_SIZE),
        "Left": cut(value, *STRIP_POS["Left"], BAND, BOARD_SIZE),
    }
    image5 = cut(value, *CORNER_POS[5], BAND, BAND)
    image6 = cut(value, *CORNER_POS[6], BAND, BAND)
    image8 = image5[::-1, :]
    image7 = image8[:, ::-1]
    corners = {5: image5, 6: image6, 7: image7, 8: image8}
    return ({k: to_rgb8(grey_rgb(v)) for k, v in strips.items()},
            {k: to_rgb8(grey_rgb(v)) for k, v in corners.items()})


def write_bmp24(path, rgb):
    """Uncompressed bottom-up 24-bit BMP with the plain 40-byte info header: 54 + 13 rows of 40 bytes = 574 bytes."""
    h, w, _ = rgb.shape
    stride = (w * 3 + 3) & ~3
    rows = bytearray()
    for row in rgb[::-1]:
        line = row[:, ::-1].tobytes()  # BGR
        rows += line + b"\0" * (stride - len(line))
    offset = 14 + 40
    header = b"BM" + (offset + len(rows)).to_bytes(4, "little") + bytes(4) + offset.to_bytes(4, "little")
    info = b"".join([
        (40).to_bytes(4, "little"), w.to_bytes(4, "little", signed=True), h.to_bytes(4, "little", signed=True),
        (1).to_bytes(2, "little"), (24).to_bytes(2, "little"), bytes(4), len(rows).to_bytes(4, "little"),
        (2835).to_bytes(4, "little"), (2835).to_bytes(4, "little"), bytes(8),
    ])
    path.write_bytes(header + info + rows)


# ---------------------------------------------------------------------------------------------------------------------
# Application icon: a small board with a blue cross, a red ball and a green winning line.

ICON_SVG = """<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <linearGradient id="frame" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="#d6d9da"/>
      <stop offset="1" stop-color="#5a5f5f"/>
    </linearGradient>
    <linearGradient id="board" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#f3efe4"/>
      <stop offset="1" stop-color="#e2dccb"/>
    </linearGradient>
    <linearGradient id="blue" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="#5b8cff"/>
      <stop offset="1" stop-color="#1b3fae"/>
    </linearGradient>
    <radialGradient id="red" cx="0.36" cy="0.32" r="0.75">
      <stop offset="0" stop-color="#ffb3a8"/>
      <stop offset="0.25" stop-color="#f0302a"/>
      <stop offset="1" stop-color="#7a0608"/>
    </radialGradient>
  </defs>
  <rect x="8" y="8" width="240" height="240" rx="30" fill="#b8862e"/>
  <rect x="20" y="20" width="216" height="216" rx="18" fill="url(#frame)"/>
  <rect x="30" y="30" width="196" height="196" rx="10" fill="url(#board)"/>
  <g stroke="#9a9a9a" stroke-width="5" stroke-linecap="round">
    <line x1="95.3" y1="36" x2="95.3" y2="220"/>
    <line x1="160.7" y1="36" x2="160.7" y2="220"/>
    <line x1="36" y1="95.3" x2="220" y2="95.3"/>
    <line x1="36" y1="160.7" x2="220" y2="160.7"/>
  </g>
  <rect x="30" y="30" width="65.3" height="65.3" rx="8" fill="#34d04a" fill-opacity="0.55"/>
  <rect x="95.3" y="95.3" width="65.4" height="65.4" fill="#34d04a" fill-opacity="0.55"/>
  <rect x="160.7" y="160.7" width="65.3" height="65.3" rx="8" fill="#34d04a" fill-opacity="0.55"/>
  <g stroke="#102066" stroke-width="20" stroke-linecap="round">
    <path d="M46 46 L80 80 M80 46 L46 80 M111 111 L145 145 M145 111 L111 145 M176 176 L210 210 M210 176 L176 210"/>
  </g>
  <g stroke="url(#blue)" stroke-width="13" stroke-linecap="round">
    <path d="M46 46 L80 80 M80 46 L46 80 M111 111 L145 145 M145 111 L111 145 M176 176 L210 210 M210 176 L176 210"/>
  </g>
  <circle cx="193" cy="63" r="23" fill="url(#red)" stroke="#5a0406" stroke-width="3"/>
  <circle cx="63" cy="193" r="23" fill="url(#red)" stroke="#5a0406" stroke-width="3"/>
  <path d="M42 42 L214 214" stroke="#1f9e33" stroke-width="7" stroke-linecap="round" stroke-opacity="0.85"/>
</svg>
"""


def make_icons():
    ICONS.mkdir(parents=True, exist_ok=True)
    source = ICONS / "tessarin.svg"
    source.write_text(ICON_SVG)
    scalable = ICONS / "hicolor" / "scalable" / "apps"
    scalable.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(source, scalable / f"{APP_ID}.svg")
    for n in ICON_SIZES:
        target = ICONS / "hicolor" / f"{n}x{n}" / "apps"
        target.mkdir(parents=True, exist_ok=True)
        subprocess.run(["rsvg-convert", "-w", str(n), "-h", str(n), "-o", str(target / f"{APP_ID}.png"), str(source)],
                       check=True)


# ---------------------------------------------------------------------------------------------------------------------
# Preview: the window as the game assembles it, from the files just written.


def paste_without_white(canvas, piece, x, y):
    rgb = np.array(piece.convert("RGB"))
    keep = ~np.all(rgb == 255, axis=-1)
    h, w = keep.shape
    region = canvas[y:y + h, x:x + w]
    keep = keep[:region.shape[0], :region.shape[1]]
    region[keep] = rgb[:region.shape[0], :region.shape[1]][keep]


def make_preview(path):
    load = lambda name: np.array(Image.open(PICTURES / name).convert("RGB"))  # noqa: E731
    window = np.zeros((WINDOW_H, WINDOW_W, 3), np.uint8)
    bark = load("BarkGold.gif")[:BARK_H, :BARK_W]
    for c in range(WINDOW_W // BARK_W + 1):
        for r in range(WINDOW_H // BARK_H + 1):
            block = window[r * BARK_H:(r + 1) * BARK_H, c * BARK_W:(c + 1) * BARK_W]
            block[:] = bark[:block.shape[0], :block.shape[1]]
    for name, (x, y) in STRIP_POS.items():
        strip = load(f"{name}.jpg")
        window[y:y + strip.shape[0], x:x + strip.shape[1]] = strip
    window[0, :] = 224

    board = np.zeros((BOARD_SIZE, BOARD_SIZE, 3), np.uint8)
    tile = load("Background.jpg")
    th, tw = tile.shape[:2]
    for ty in range(0, BOARD_SIZE, th):
        for tx in range(0, BOARD_SIZE, tw):
            block = board[ty:ty + th, tx:tx + tw]
            block[:] = tile[:block.shape[0], :block.shape[1]]
    for p in (128, 257):
        board[:, p] = 170
        board[p, :] = 170
    cross = Image.open(PICTURES / "cross.gif")
    ball = Image.open(PICTURES / "Bullet.gif")
    paste_without_white(board, cross, 0, 0)
    paste_without_white(board, ball, 128, 128)
    paste_without_white(board, cross, 257, 128)
    paste_without_white(board, ball, 0, 257)
    paste_without_white(board, cross, 257, 257)
    board[257:385, 257:385] &= np.array([0, 255, 0], np.uint8)
    board[128:256, 128:256] &= np.array([0, 255, 0], np.uint8)
    board[0:128, 0:128] &= np.array([0, 255, 0], np.uint8)

    img = Image.fromarray(window, "RGB")
    for k, (x, y) in CORNER_POS.items():
        img.paste(Image.open(CORNERS / f"Image{k}.bmp").convert("RGB"), (x, y))
    img.paste(Image.fromarray(board, "RGB"), (BOARD_X, BOARD_Y))
    draw = ImageDraw.Draw(img)
    try:  # the status line is 12 point Verdana or a stand-in, about 16 pixels
        font = ImageFont.truetype("DejaVuSans.ttf", 15)
    except OSError:
        font = ImageFont.load_default()
    text = "Press new game in the file menu to begin"
    tw = draw.textlength(text, font=font)
    draw.text((BOARD_X + (BOARD_SIZE - tw) / 2, 451), text, fill=WHITE, font=font)
    img.save(path)


# ---------------------------------------------------------------------------------------------------------------------


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--preview", type=pathlib.Path, help="also write a mock of the assembled window here")
    parser.add_argument("--no-icons", action="store_true", help="skip the icon renders (needs rsvg-convert)")
    args = parser.parse_args()

    PICTURES.mkdir(exist_ok=True)
    CORNERS.mkdir(parents=True, exist_ok=True)

    make_bark().save(PICTURES / "BarkGold.gif", interlace=False)
    tile = make_board_tile()
    tile.save(PICTURES / "Background.jpg", quality=93, subsampling=0)
    ground = np.array(Image.open(PICTURES / "Background.jpg").convert("RGB"), float).reshape(-1, 3).mean(axis=0)
    piece_to_gif(make_cross(ground)).save(PICTURES / "cross.gif", interlace=False)
    piece_to_gif(make_ball(ground)).save(PICTURES / "Bullet.gif", interlace=False)

    strips, corners = make_frame()
    for name, rgb in strips.items():
        Image.fromarray(rgb, "RGB").save(PICTURES / f"{name}.jpg", quality=95, subsampling=0)
    for k, rgb in corners.items():
        write_bmp24(CORNERS / f"Image{k}.bmp", rgb)

    if not args.no_icons:
        make_icons()
    if args.preview:
        make_preview(args.preview)


if __name__ == "__main__":
    main()
