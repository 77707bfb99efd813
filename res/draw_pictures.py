#!/usr/bin/python3
"""Draws Quelora's skin pictures into res/pictures/ as 24-bit Windows bitmaps.

The bitmaps are committed, so a build needs only the toolchain; run this again
(python3 res/draw_pictures.py, with Debian's python3-pil) after changing a
drawing.  Output is the same on every run: nothing depends on time,
randomness or the order of a dictionary.

Each picture is one small function registered with @picture; the helpers below
(bevels, rounded panels, centred text, supersampled shapes) are shared so the
windows keep one look.  Image lists are horizontal strips of equal-sized
images, image 1 leftmost.
"""

import os
import sys

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:
    sys.exit("draw_pictures: PIL is missing; apt-get install python3-pil "
             "and run this with Debian's /usr/bin/python3")

HERE = os.path.dirname(os.path.abspath(__file__))
OUT_DIR = os.path.join(HERE, "pictures")

# Smooth shapes (circles, rounded corners) are drawn this many times larger and
# box-filtered down: box filtering is exact arithmetic, so the result is stable.
SUPERSAMPLE = 8

# ---------------------------------------------------------------------------
# Palette.  The windows are neutral grey; the controls on them lean a little
# towards steel blue so they read as controls.
# ---------------------------------------------------------------------------
WHITE = (255, 255, 255)
INK = (30, 36, 48)                # check marks, arrows, button text

BOX_BORDER = (92, 98, 108)        # check box and radio outline
BOX_SHADE = (222, 226, 233)       # inner top/left shade of a check box
RADIO_RING = (78, 84, 96)
MIXED_FILL = (74, 90, 116)        # the "partly chosen" square
GREY_BORDER = (170, 172, 177)     # disabled outline
GREY_FACE = (236, 237, 239)       # disabled interior
GREY_INK = (150, 153, 160)        # disabled dot

STEEL_DARK = (70, 80, 97)         # outer line of steel controls
STEEL_LIGHT = (224, 230, 238)     # bevel highlight
STEEL_SHADOW = (120, 132, 150)    # bevel shadow
STEEL_TOP = (198, 207, 220)       # face gradient, top
STEEL_BOTTOM = (160, 172, 189)    # face gradient, bottom
TRACK_MID = (186, 193, 204)
TRACK_EDGE = (160, 168, 180)

WINDOW_BASE = (170, 170, 170)     # the program paints its labels to match these two
PANEL = (181, 181, 181)
PANEL_LINE = (146, 146, 146)
FRAME_HIGH = (208, 208, 208)
FRAME_LOW = (118, 118, 118)
FRAME_OUTER = (96, 96, 96)

# Bold sans fonts, best first; the first one present is always the one used.
# Wine's Tahoma Bold carries hand-made bitmaps at button sizes, which stay
# sharper than any outline font smoothed down to 11 px.
BOLD_FONTS = (
    "/usr/share/wine/fonts/tahomabd.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
)

PICTURES = []


def picture(file_name):
    """Registers a drawing function as the maker of pictures/<file_name>."""
    def register(fn):
        PICTURES.append((file_name, fn))
        return fn
    return register


# ---------------------------------------------------------------------------
# Shared helpers.  Boxes are (left, top, right, bottom) with right and bottom
# inclusive, as a pixel editor shows them.
# ---------------------------------------------------------------------------

def new_image(width, height, colour):
    return Image.new("RGB", (width, height), colour)


def strip(images):
    """Joins equal-sized images left to right into one image list."""
    w, h = images[0].size
    out = new_image(w * len(images), h, WHITE)
    for i, im in enumerate(images):
        assert im.size == (w, h), "image list entries differ in size"
        out.paste(im, (i * w, 0))
    return out


def mix(a, b, t):
    """Colour t of the way from a to b (0..1), rounded to whole levels."""
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def fill_box(img, box, colour):
    ImageDraw.Draw(img).rectangle(box, fill=colour)


def vertical_gradient(img, box, top, bottom):
    draw = ImageDraw.Draw(img)
    l, t, r, b = box
    rows = max(b - t, 1)
    for y in range(t, b + 1):
        draw.line((l, y, r, y), fill=mix(top, bottom, (y - t) / rows))


def horizontal_gradient(img, box, left, right):
    draw = ImageDraw.Draw(img)
    l, t, r, b = box
    cols = max(r - l, 1)
    for x in range(l, r + 1):
        draw.line((x, t, x, b), fill=mix(left, right, (x - l) / cols))


def bevel(img, box, light, dark):
    """A one-pixel bevel: light on the top and left edges, dark on the bottom
    and right.  Swap the colours for a sunken look."""
    draw = ImageDraw.Draw(img)
    l, t, r, b = box
    draw.line((l, t, r - 1, t), fill=light)
    draw.line((l, t, l, b - 1), fill=light)
    draw.line((l, b, r, b), fill=dark)
    draw.line((r, t, r, b), fill=dark)


def outline_box(img, box, colour):
    ImageDraw.Draw(img).rectangle(box, outline=colour)


def plot(img, origin, rows, colour):
    """Sets the pixels marked '#' in rows (a tiny bitmap drawn by hand), with
    its top-left at origin.  Small marks stay crisper this way than when drawn
    as smooth shapes."""
    ox, oy = origin
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == "#":
                img.putpixel((ox + x, oy + y), colour)


def smooth(img, paint):
    """Runs paint(draw, s) on a transparent layer s times larger than img,
    where s scales pixel coordinates, then shrinks it with a box filter and
    lays it over img.  Gives soft edges to circles and rounded corners."""
    s = SUPERSAMPLE
    w, h = img.size
    layer = Image.new("RGBA", (w * s, h * s), (0, 0, 0, 0))
    paint(ImageDraw.Draw(layer), s)
    layer = layer.resize((w, h), Image.BOX)
    base = img.convert("RGBA")
    base.alpha_composite(layer)
    img.paste(base.convert("RGB"))


def scaled(box, s):
    """A pixel box (inclusive) as the continuous rectangle it covers, scaled
    by s for drawing on a supersampled layer."""
    l, t, r, b = box
    return (l * s, t * s, (r + 1) * s - 1, (b + 1) * s - 1)


def rounded_panel(img, box, radius, fill, outline=None, corner_bg=None):
    """A rounded rectangle with soft corners.  corner_bg, when given, is
    painted first across the whole box so the corners blend into the colour
    the picture will sit on."""
    if corner_bg is not None:
        fill_box(img, box, corner_bg)

    def paint(draw, s):
        draw.rounded_rectangle(scaled(box, s), radius=radius * s, fill=fill,
                               outline=outline, width=s if outline else 0)
    smooth(img, paint)


def rounded_mask(size, box, radius):
    """An L-mode mask of a soft-cornered rectangle, for clipping a gradient or
    a bevel to rounded corners."""
    mask = Image.new("L", size, 0)
    s = SUPERSAMPLE
    big = Image.new("L", (size[0] * s, size[1] * s), 0)
    ImageDraw.Draw(big).rounded_rectangle(scaled(box, s), radius=radius * s, fill=255)
    mask.paste(big.resize(size, Image.BOX))
    return mask


def bold_font(pixel_size):
    for path in BOLD_FONTS:
        if os.path.exists(path):
            return ImageFont.truetype(path, pixel_size)
    sys.exit("draw_pictures: no bold font found; install fonts-liberation")


def text_centred(img, box, text, font, colour, shift=(0, 0)):
    """Draws text centred on box by its inked extent, at whole-pixel
    positions so the glyphs land the same way on every run."""
    draw = ImageDraw.Draw(img)
    l, t, r, b = box
    gl, gt, gr, gb = draw.textbbox((0, 0), text, font=font)
    x = l + ((r - l + 1) - (gr - gl)) // 2 - gl + shift[0]
    y = t + ((b - t + 1) - (gb - gt)) // 2 - gt + shift[1]
    draw.text((x, y), text, font=font, fill=colour)


# ---------------------------------------------------------------------------
# Check boxes and radio buttons: seven 15 x 15 images on white.
# ---------------------------------------------------------------------------

CELL = 15
BOX = (1, 1, 13, 13)              # the 13 x 13 check box inside a cell

CHECK_MARK = (
    "........#",
    ".......##",
    "#.....##.",
    "##...##..",
    ".##.##...",
    "..###....",
    "...#.....",
)


def check_box_frame(border, face, shade):
    img = new_image(CELL, CELL, WHITE)
    fill_box(img, BOX, face)
    outline_box(img, BOX, border)
    if shade is not None:
        l, t, r, b = BOX
        draw = ImageDraw.Draw(img)
        draw.line((l + 1, t + 1, r - 1, t + 1), fill=shade)
        draw.line((l + 1, t + 1, l + 1, b - 1), fill=shade)
    return img


# A smooth one-pixel ring looks fainter than the check box's hard one-pixel
# edge; a slightly thicker ring gives the two the same weight.
RING = 1.3


def radio(border, face, dot):
    img = new_image(CELL, CELL, WHITE)

    def paint(draw, s):
        inner = (1 + RING) * s, (14 - RING) * s - 1
        draw.ellipse((1 * s, 1 * s, 14 * s - 1, 14 * s - 1), fill=border)
        draw.ellipse((inner[0], inner[0], inner[1], inner[1]), fill=face)
        if dot is not None:
            draw.ellipse((4.5 * s, 4.5 * s, 10.5 * s - 1, 10.5 * s - 1), fill=dot)
    smooth(img, paint)
    return img


@picture("checkbox.bmp")
def draw_checkboxes():
    ticked = check_box_frame(BOX_BORDER, WHITE, BOX_SHADE)
    plot(ticked, (3, 4), CHECK_MARK, INK)

    clear = check_box_frame(BOX_BORDER, WHITE, BOX_SHADE)

    radio_on = radio(RADIO_RING, WHITE, INK)
    radio_off = radio(RADIO_RING, WHITE, None)
    grey_on = radio(GREY_BORDER, GREY_FACE, GREY_INK)
    grey_off = radio(GREY_BORDER, GREY_FACE, None)

    # Partly chosen: a solid square, unlike anything a tick could be mistaken for.
    mixed = check_box_frame(BOX_BORDER, WHITE, BOX_SHADE)
    fill_box(mixed, (4, 4, 10, 10), MIXED_FILL)

    return strip([ticked, clear, radio_on, radio_off, grey_on, grey_off, mixed])


# ---------------------------------------------------------------------------
# Scroll bar: up button, down button, track tile, slider; 15 x 15 each.
# ---------------------------------------------------------------------------

ARROW_UP = (
    "...#...",
    "..###..",
    ".#####.",
    "#######",
)


def steel_button(pressed=False):
    """The raised steel face shared by the scroll bar's buttons and slider."""
    img = new_image(CELL, CELL, TRACK_MID)
    full = (0, 0, CELL - 1, CELL - 1)
    face = new_image(CELL, CELL, STEEL_DARK)
    top, bottom = (STEEL_BOTTOM, STEEL_TOP) if pressed else (STEEL_TOP, STEEL_BOTTOM)
    vertical_gradient(face, (1, 1, CELL - 2, CELL - 2), top, bottom)
    if pressed:
        bevel(face, (1, 1, CELL - 2, CELL - 2), STEEL_SHADOW, STEEL_TOP)
    else:
        bevel(face, (1, 1, CELL - 2, CELL - 2), STEEL_LIGHT, STEEL_SHADOW)
    img.paste(face, (0, 0), rounded_mask(img.size, full, 2))
    return img


def arrow_button(rows, flip):
    img = steel_button()
    if flip:
        rows = tuple(reversed(rows))
    # Optical centre: the arrow's solid base sits half a pixel heavy, so
    # nudge it towards its point.
    plot(img, (4, 5 if not flip else 6), rows, INK)
    return img


def track_tile():
    """Every row is the same, so the tile repeats down the bar without a seam:
    a shallow groove, darker at the sides."""
    img = new_image(CELL, CELL, TRACK_MID)
    half = (CELL - 1) / 2
    for x in range(CELL):
        t = abs(x - half) / half
        colour = mix(TRACK_MID, TRACK_EDGE, t * t)
        ImageDraw.Draw(img).line((x, 0, x, CELL - 1), fill=colour)
    draw = ImageDraw.Draw(img)
    draw.line((0, 0, 0, CELL - 1), fill=STEEL_SHADOW)
    draw.line((CELL - 1, 0, CELL - 1, CELL - 1), fill=STEEL_LIGHT)
    return img


def slider():
    img = steel_button()
    draw = ImageDraw.Draw(img)
    # Grip ridges: a dark line with a light one under it reads as a groove.
    for y in (4, 7, 10):
        draw.line((4, y, 10, y), fill=STEEL_SHADOW)
        draw.line((4, y + 1, 10, y + 1), fill=STEEL_LIGHT)
    return img


@picture("scrollbar.bmp")
def draw_scrollbar():
    return strip([arrow_button(ARROW_UP, False), arrow_button(ARROW_UP, True),
                  track_tile(), slider()])


# ---------------------------------------------------------------------------
# The "cleaning in progress" window.
# ---------------------------------------------------------------------------

PROGRESS_SIZE = (313, 97)
PROGRESS_TEXT = (13, 12, 299, 60)     # three label rows, 17 px each
PROGRESS_BAR = (13, 66, 217, 85)      # the progress bar control, 205 x 20


@picture("progress_skin.bmp")
def draw_progress_skin():
    w, h = PROGRESS_SIZE
    img = new_image(w, h, WINDOW_BASE)

    # No system frame: a dark edge and a soft two-line bevel stand in for it.
    outline_box(img, (0, 0, w - 1, h - 1), FRAME_OUTER)
    bevel(img, (1, 1, w - 2, h - 2), FRAME_HIGH, FRAME_LOW)
    bevel(img, (2, 2, w - 3, h - 3), mix(FRAME_HIGH, WINDOW_BASE, 0.5),
          mix(FRAME_LOW, WINDOW_BASE, 0.5))

    # Panel under the labels, a few pixels wider than they are so the text
    # does not touch its edge.
    l, t, r, b = PROGRESS_TEXT
    rounded_panel(img, (l - 5, t - 4, r + 5, b + 2), 4, PANEL, PANEL_LINE)
    fill_box(img, PROGRESS_TEXT, PANEL)

    # Sunken frame hugging the progress bar.
    l, t, r, b = PROGRESS_BAR
    bevel(img, (l - 1, t - 1, r + 1, b + 1), FRAME_LOW, FRAME_HIGH)
    fill_box(img, PROGRESS_BAR, PANEL)
    return img


# ---------------------------------------------------------------------------
# Cancel button of the progress window: normal and pressed, 71 x 20 each.
# ---------------------------------------------------------------------------

BUTTON_SIZE = (71, 20)


def push_button(label, pressed):
    w, h = BUTTON_SIZE
    full = (0, 0, w - 1, h - 1)
    face = new_image(w, h, STEEL_DARK)
    inner = (1, 1, w - 2, h - 2)
    if pressed:
        vertical_gradient(face, inner, mix(STEEL_BOTTOM, STEEL_DARK, 0.25), STEEL_BOTTOM)
        bevel(face, inner, mix(STEEL_SHADOW, STEEL_DARK, 0.3), STEEL_BOTTOM)
    else:
        vertical_gradient(face, inner, STEEL_LIGHT, STEEL_BOTTOM)
        bevel(face, inner, WHITE, STEEL_SHADOW)

    # The button sits on the window's base colour; round it off against that.
    img = new_image(w, h, WINDOW_BASE)
    img.paste(face, (0, 0), rounded_mask(img.size, full, 3))

    shift = (1, 1) if pressed else (0, 0)
    text_centred(img, full, label, bold_font(11), INK, shift)
    return img


@picture("progress_cancel.bmp")
def draw_progress_cancel():
    return strip([push_button("Cancel", False), push_button("Cancel", True)])


# ---------------------------------------------------------------------------

def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    for file_name, draw in PICTURES:
        img = draw()
        assert img.mode == "RGB"
        path = os.path.join(OUT_DIR, file_name)
        # Uncompressed 24-bit BMP: what LoadBitmap and LoadImage read everywhere.
        img.save(path, "BMP")
        print("%s %dx%d" % (os.path.relpath(path), img.size[0], img.size[1]))


if __name__ == "__main__":
    main()
