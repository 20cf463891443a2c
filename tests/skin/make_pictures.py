"""Writes the pictures that skin_window_tests load into the folder given as the only argument:
one-colour JPEGs made by cjpeg (one with a double-size picture of another colour beside it,
and a double-size picture alone) and a file that only starts like one."""
import os
import subprocess
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
for name, width, height, rgb in (("solid.jpg", 80, 24, (200, 40, 90)),
                                 ("solid@2x.jpg", 160, 48, (30, 160, 220)),
                                 ("lonely@2x.jpg", 41, 20, (30, 160, 220))):
    ppm = b"P6 %d %d 255\n" % (width, height) + bytes(rgb) * (width * height)
    with open(os.path.join(out, name), "wb") as f:
        f.write(subprocess.run(["cjpeg", "-quality", "95"], input=ppm, capture_output=True,
                               check=True).stdout)
with open(os.path.join(out, "broken.jpg"), "wb") as f:
    f.write(b"\xff\xd8 not a picture")
