#!/usr/bin/python3
"""Draws Quelora's skin pictures into res/pictures/: 24-bit Windows bitmaps,
and the programs' icons.

The files are committed, so a build needs only the toolchain; run this again
(python3 res/draw_pictures.py, with Debian's python3-pil) after changing a
drawing or app/MainLayout.h, whose numbers place the main window's pictures.
Output is the same on every run: nothing depends on time, randomness or the
order of a dictionary.

Each picture is one small function registered with @picture in a module of
drawing/; drawing/kit.py holds what they share, so the windows keep one look.

    --preview DIR   also writes PNG views of the main window put together
                    from its pictures, as the program will show it
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.dont_write_bytecode = True   # no cache folders beside the committed sources

from drawing import kit                      # noqa: E402
from drawing import controls, dialogs, icons, main_window  # noqa: E402,F401 - they register pictures
from drawing.icofile import ico_bytes        # noqa: E402

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures")


def save(path, made):
    if path.endswith(".ico"):
        with open(path, "wb") as f:
            f.write(ico_bytes(made))
        return "%s %s" % (os.path.relpath(path), "+".join(str(s) for s in sorted(made)))
    assert made.mode == "RGB"
    # Uncompressed 24-bit BMP: what LoadBitmap and LoadImage read everywhere.
    made.save(path, "BMP")
    return "%s %dx%d" % (os.path.relpath(path), made.size[0], made.size[1])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--preview", metavar="DIR")
    args = parser.parse_args()
    os.makedirs(OUT_DIR, exist_ok=True)
    for file_name, draw in kit.PICTURES:
        print(save(os.path.join(OUT_DIR, file_name), draw()))
    if args.preview:
        from drawing import preview
        for path in preview.write_all(args.preview, OUT_DIR):
            print(path)


if __name__ == "__main__":
    main()
