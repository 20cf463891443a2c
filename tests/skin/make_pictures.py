"""Writes the pictures that skin_window_tests load into the folder given as the only argument:
a one-colour JPEG made by cjpeg and a file that only starts like one."""
import os
import subprocess
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
ppm = b"P6 80 24 255\n" + bytes((200, 40, 90)) * (80 * 24)
with open(os.path.join(out, "solid.jpg"), "wb") as f:
    f.write(subprocess.run(["cjpeg", "-quality", "95"], input=ppm, capture_output=True,
                           check=True).stdout)
with open(os.path.join(out, "broken.jpg"), "wb") as f:
    f.write(b"\xff\xd8 not a picture")
