"""Puts the main window together from the written pictures, as the program
will place them, for a person to look at: the item page, the settings page,
and a sheet of every button state and small picture, enlarged."""

import os

from drawing.kit import *  # noqa: F401,F403 - the kit is this module's vocabulary
from drawing.layout import Layout
from drawing import main_window as mw

L = Layout()
ITEM_FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"
ITEM_BOLD = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
BACKDROP = (58, 110, 165)


class Pictures:
    def __init__(self, folder):
        self.folder = folder

    def list(self, file_name, width):
        img = Image.open(os.path.join(self.folder, file_name)).convert("RGB")
        return [img.crop((i * width, 0, (i + 1) * width, img.height))
                for i in range(img.width // width)]

    def one(self, file_name):
        return Image.open(os.path.join(self.folder, file_name)).convert("RGB")


def label(canvas, name, text, colour, origin=(0, 0), multiline=False):
    """A label as the program draws it: text at (2, 1), lines 13 pixels
    apart, in a bold face of the same size as the label font."""
    l, t, r, b = L.box(name, origin)
    font = bold_font(11)
    draw = ImageDraw.Draw(canvas)
    fill_box(canvas, (l, t, r, b), L.colour("DisplayColor"))
    lines = [text]
    if multiline:
        lines, line = [], ""
        for word in text.split(" "):
            trial = (line + " " + word) if line else word
            if draw.textlength(trial, font=font) >= (r - l + 1) - 4 and line:
                lines.append(line)
                line = word
            else:
                line = trial
        lines.append(line)
    for i, line in enumerate(lines):
        draw.text((l + 2, t + 1 + i * 13), line, font=font, fill=colour)


def check_button(canvas, box, checks, picture, caption, bold=False, colour=(0, 0, 0)):
    l, t = box[0], box[1]
    if picture:
        canvas.paste(checks[picture - 1], (l, t))
    if caption:
        font = ImageFont.truetype(ITEM_BOLD if bold else ITEM_FONT, 12)
        asc, desc = font.getmetrics()
        x = l + (25 if picture is not None else 2)
        y = t + (box[3] - box[1] + 1 - (asc + desc)) // 2
        ImageDraw.Draw(canvas).text((x, y), caption, font=font, fill=colour)


IE_ROWS = (("MyRndRectBtn1", 1, "Temporary Internet Files"), ("MyRndRectBtn8", 3, "Delete All"),
           ("MyRndRectBtn9", 4, "Delete only pages"),
           ("MyRndRectBtn10", 4, "Delete only graphical objects"), ("MyRndRectBtn2", 1, "Cookies"),
           ("MyRndRectBtn3", 1, "History"), ("MyRndRectBtn4", 1, "Address Bar"),
           ("MyRndRectBtn5", 1, "Downloaded Program Files"),
           ("MyRndRectBtn6", 2, "\" Index.Dat \" files"), ("MyRndRectBtn7", 1, "Expired"),
           ("MyRndRectBtn11", 1, "AutoComplete passwords"), ("MyRndRectBtn13", 1, "AutoComplete forms"),
           ("MyRndRectBtn14", 1, "Home page"), ("MyRndRectBtn15", 2, "Restoring URL prefixes"))
WIN_ROWS = (("MyRndRectBtn1", 1, "Menu \"Start \\ Documents\""), ("MyRndRectBtn2", 1, "Menu \"Start \\ Find\""),
            ("MyRndRectBtn3", 1, "Menu \"Start \\ Run\""), ("MyRndRectBtn4", 1, "Recycle Bin"),
            ("MyRndRectBtn5", 1, "\"Temp\" folder"), ("MyRndRectBtn6", 1, "Scandisk *.Chk files"),
            ("MyRndRectBtn7", 1, "\"Accessories\" Programs MRU lists"),
            ("MyRndRectBtn8", 1, "MS Office MRU lists"), ("MyRndRectBtn9", 1, "Streams MRU lists"),
            ("MyRndRectBtn10", 1, "Last Logon User"), ("MyRndRectBtn12", 1, "Media Player MRU list"))
NET_ROWS = (("MyRndRectBtn1", 2, "History"), ("MyRndRectBtn2", 2, "Address Bar"),
            ("MyRndRectBtn3", 2, "Cache"), ("MyRndRectBtn4", 2, "Cookies"),
            ("MyRndRectBtn5", 2, "Saved Passwords"))
GROUPS = (("WinTFrame", "MS Windows", 2, 1, WIN_ROWS, ()),
          ("IETFrame", "MS Internet Explorer", 1, 7, IE_ROWS, (("MyGraphicBtn2", 1), ("MyGraphicBtn3", 4))),
          ("NetTFrame", "Netscape 6x / Mozilla", 3, 2, NET_ROWS, (("MyGraphicBtn2", 1),)))


def group_frame(p, group, expanded):
    prefix, caption, icon, box_picture, rows, buttons = group
    height = L.ints[prefix + ".ExpandedHeight"] if expanded else L.ints["CollapsedHeight"]
    frame = new_image(L.ints["FrameWidth"], height, L.colour("PageColor"))
    frame.paste(p.one("frame_header.bmp"), (0, 0))
    checks = p.list("checkbox.bmp", 15)
    check_button(frame, L.box("Header.GroupBox"), checks, box_picture, "")
    frame.paste(p.list("group_icons.bmp", 24)[icon - 1], L.box("Header.GroupIcon")[:2])
    check_button(frame, L.box("Header.Caption"), checks, None, caption, bold=True)
    for name, picture, text in rows:
        check_button(frame, L.box(prefix + "." + name), checks, picture, text)
    pictures = p.list("frame_buttons.bmp", L.size("IETFrame.MyGraphicBtn2")[0])
    for name, first in buttons:
        frame.paste(pictures[first - 1], L.box(prefix + "." + name)[:2])
    return frame


def scroll_bar(p, canvas):
    parts = p.list("scrollbar.bmp", 15)
    l, t, r, b = L.box("StretchScroll1")
    for y in range(t, b + 1, 15):
        canvas.paste(parts[2].crop((0, 0, 15, min(15, b + 1 - y))), (l, y))
    canvas.paste(parts[0], (l, t))
    canvas.paste(parts[1], (l, b - 14))
    canvas.paste(parts[3], (l, t + 15))


def window(p, settings, lit=None):
    img = p.one("main_skin.bmp")
    states = {"MyGraphicBtn1": "main_help.bmp", "MyGraphicBtn7": "main_minimize.bmp",
              "MyGraphicBtn6": "main_close.bmp", "MyGraphicBtn3": "main_clean.bmp"}
    for name, file_name in states.items():
        picture = 2 if name == lit else 1
        img.paste(p.list(file_name, L.size(name)[0])[picture - 1], L.box(name)[:2])
    wipes = p.list("wipe_modes.bmp", L.size("MyGraphicBtn4")[0])
    for i, name in enumerate(("MyGraphicBtn4", "MyGraphicBtn5", "MyGraphicBtn8")):
        img.paste(wipes[i * 2 + (1 if i == 0 else 0)], L.box(name)[:2])
    tabs = p.list("page_buttons.bmp", L.size("WhatClBtn")[0])
    img.paste(tabs[0 if settings else 1], L.box("WhatClBtn")[:2])
    img.paste(tabs[3 if settings else 2], L.box("OptBtn")[:2])

    if settings:
        page_settings(p, img)
    else:
        frames = [group_frame(p, GROUPS[0], False), group_frame(p, GROUPS[1], True),
                  group_frame(p, GROUPS[2], False)]
        page = new_image(L.ints["FrameWidth"], sum(f.height for f in frames), L.colour("PageColor"))
        y = 0
        for f in frames:
            page.paste(f, (0, y))
            y += f.height
        l, t, r, b = L.box("MainFrame")
        img.paste(page.crop((0, 0, r - l + 1, b - t + 1)), (l, t))
        scroll_bar(p, img)   # at its start: the page shows the top of the frames

    label(img, "MyGraphicLabel3", "Internet Explorer", L.colour("GroupTextColor"))
    label(img, "MyGraphicLabel4", "12:45", L.colour("TimeTextColor"))
    label(img, "MyGraphicLabel5", " 9 min", L.colour("TimeTextColor"))
    label(img, "MyGraphicLabel1",
          "It is recommended to close MS Internet Explorer      before cleaning this item",
          L.colour("HintTextColor"), multiline=True)
    return outside_the_outline(img)


def combo(canvas, box, text):
    l, t, r, b = box
    draw = ImageDraw.Draw(canvas)
    fill_box(canvas, box, (255, 255, 255))
    bevel(canvas, box, (128, 128, 128), (255, 255, 255))
    bevel(canvas, (l + 1, t + 1, r - 1, b - 1), (64, 64, 64), (212, 208, 200))
    button = (r - 17, t + 2, r - 2, b - 2)
    fill_box(canvas, button, (212, 208, 200))
    bevel(canvas, button, (255, 255, 255), (64, 64, 64))
    plot(canvas, (r - 13, (t + b) // 2 - 1), ("#######"[:7], ".#####.", "..###..", "...#..."), (0, 0, 0))
    draw.text((l + 4, t + 4), text, font=regular_font(11), fill=(0, 0, 0))


SETTINGS_ROWS = (("MyRndRectBtn2", 1, "Save on exit"), ("MyRndRectBtn3", 2, "Autorun"),
                 ("MyRndRectBtn8", 2, "Start minimized"), ("MyRndRectBtn7", 2, "Don't show Logo on start"),
                 ("MyRndRectBtn9", 1, "Allow pop-up hints"),
                 ("MyRndRectBtn10", 1, "Deleting files from the context menu"),
                 ("MyRndRectBtn4", 2, "Clean on start"), ("MyRndRectBtn5", 1, "Clean every"),
                 ("MyRndRectBtn6", 0, "Netscape 6x / Mozilla Profile"), ("MyRndRectBtn1", 0, "Language:"))


def page_settings(p, img):
    origin = L.rect("SettingsFrame")[:2]
    page = p.one("settings_page.bmp")
    checks = p.list("checkbox.bmp", 15)
    for name, picture, text in SETTINGS_ROWS:
        check_button(page, L.box("SettingsPage." + name), checks, picture, text)
    check_button(page, L.box("SettingsPage.MyRndRectBtn11"), checks, None, "View last cleans report",
                 colour=L.colour("LinkTextColor"))
    for name, text in (("ComboBox1", "10 min"), ("ComboBox2", "default"), ("ComboBox3", "English")):
        combo(page, L.box("SettingsPage." + name), text)
    img.paste(page, origin)


def outside_the_outline(img):
    """What the window's region leaves of the picture, on a desktop colour."""
    mask = mw.outline_mask(0).point(lambda v: 255 if v >= 128 else 0)
    out = new_image(img.width + 40, img.height + 40, BACKDROP)
    out.paste(img, (20, 20), mask)
    return out


def sheet(p):
    """Every state of every button and the small pictures, enlarged."""
    rows = [
        ("Clean: normal, lit, pressed", p.one("main_clean.bmp")),
        ("Help, Minimize, Close: normal, lit, pressed",
         join([p.one("main_help.bmp"), p.one("main_minimize.bmp"), p.one("main_close.bmp")])),
        ("Wipe modes: up, chosen", p.one("wipe_modes.bmp")),
        ("Page buttons: up, chosen", p.one("page_buttons.bmp")),
        ("Frame buttons: normal, lit, pressed", p.one("frame_buttons.bmp")),
        ("Group icons; frame header", join([p.one("group_icons.bmp"), p.one("frame_header.bmp")])),
        ("Tray and menu pictures 0-9", p.one("menu_images.bmp").resize((320, 32), Image.NEAREST)),
        ("Program icons", icon_row(p)),
    ]
    font = bold_font(12)
    width = max(r[1].width for r in rows) * 2 + 20
    height = sum(r[1].height * 2 + 26 for r in rows) + 10
    out = new_image(width, height, (170, 170, 170))
    y = 6
    for caption, img in rows:
        ImageDraw.Draw(out).text((10, y), caption, font=font, fill=(20, 20, 20))
        out.paste(img.resize((img.width * 2, img.height * 2), Image.NEAREST), (10, y + 18))
        y += img.height * 2 + 26
    return out


def join(images, gap=8):
    out = new_image(sum(i.width for i in images) + gap * (len(images) - 1),
                    max(i.height for i in images), (170, 170, 170))
    x = 0
    for i in images:
        out.paste(i, (x, 0))
        x += i.width + gap
    return out


def icon_row(p):
    from drawing import icons
    images = []
    for maker in (icons.quelmain_icon, icons.vantrel_icon, icons.fennick_icon):
        for size in icons.ICON_SIZES:
            tile = new_image(size, size, (170, 170, 170)).convert("RGBA")
            tile.alpha_composite(maker(size))
            images.append(tile.convert("RGB"))
    return join(images)


def write_all(folder, pictures_folder):
    os.makedirs(folder, exist_ok=True)
    p = Pictures(pictures_folder)
    made = {"main_window_items.png": window(p, False),
            "main_window_settings.png": window(p, True, lit="MyGraphicBtn3"),
            "main_window_pictures.png": sheet(p)}
    for name, img in made.items():
        path = os.path.join(folder, name)
        img.save(path)
        yield path
