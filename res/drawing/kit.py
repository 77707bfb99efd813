"""The shared kit of the skin drawings: palette, fonts, the picture registry
and the small helpers (bevels, rounded panels, centred text, supersampled
shapes) that keep every window to one look.

Boxes are (left, top, right, bottom) with right and bottom inclusive, as a
pixel editor shows them.  Image lists are horizontal strips of equal-sized
images, image 1 leftmost.
"""

import os
import sys

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:
    sys.exit("draw_pictures: PIL is missing; apt-get install python3-pil "
             "and run this with Debian's /usr/bin/python3")


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
# More helpers, for the bigger windows.
# ---------------------------------------------------------------------------

REGULAR_FONTS = (
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
)


def regular_font(pixel_size):
    for path in REGULAR_FONTS:
        if os.path.exists(path):
            return ImageFont.truetype(path, pixel_size)
    sys.exit("draw_pictures: no regular font found; install fonts-liberation")


def text_width(text, font):
    l, _, r, _ = ImageDraw.Draw(new_image(1, 1, WHITE)).textbbox((0, 0), text, font=font)
    return r - l


def text_left(img, x, box_top, box_bottom, text, font, colour, spacing=0):
    """Draws text starting at x, centred between two rows by its inked
    extent; spacing adds pixels between letters."""
    draw = ImageDraw.Draw(img)
    _, gt, _, gb = draw.textbbox((0, 0), text, font=font)
    y = box_top + ((box_bottom - box_top + 1) - (gb - gt)) // 2 - gt
    if not spacing:
        draw.text((x, y), text, font=font, fill=colour)
        return
    for ch in text:
        draw.text((x, y), ch, font=font, fill=colour)
        x += int(round(draw.textlength(ch, font=font))) + spacing


def gradient_through(img, box, top, bottom, mask):
    """A vertical gradient over box, laid onto img through mask (an L image
    of img's size)."""
    layer = img.copy()
    vertical_gradient(layer, box, top, bottom)
    img.paste(layer, (0, 0), mask)


def crop(img, box):
    """A copy of the inclusive box of img."""
    l, t, r, b = box
    return img.crop((l, t, r + 1, b + 1))


# Wine's Tahoma Bold is hand-tuned up to 12 pixels only; above that its
# outlines come out thin and unevenly spaced, so bigger bold text takes the
# first of these.
LARGE_BOLD_FONTS = (
    "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
)
LOGO_FONTS = (
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
)


def heading_font(pixel_size):
    if pixel_size <= 12:
        return bold_font(pixel_size)
    for path in LARGE_BOLD_FONTS:
        if os.path.exists(path):
            return ImageFont.truetype(path, pixel_size)
    return bold_font(pixel_size)


def logo_font(pixel_size):
    for path in LOGO_FONTS:
        if os.path.exists(path):
            return ImageFont.truetype(path, pixel_size)
    return bold_font(pixel_size)


def on_region(img, box, paint, margin=2):
    """Runs paint(part, local_box) on a copy of the area around box and puts
    it back: supersampled drawing then costs the area, not the picture."""
    l, t, r, b = box
    region = (max(l - margin, 0), max(t - margin, 0),
              min(r + margin, img.width - 1), min(b + margin, img.height - 1))
    part = crop(img, region)
    paint(part, (l - region[0], t - region[1], r - region[0], b - region[1]))
    img.paste(part, region[:2])
