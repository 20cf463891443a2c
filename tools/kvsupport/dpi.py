"""Prefixes whose screen has another resolution than 96 dpi.

Wine reads the screen's pixels per inch (HKCU\\Control Panel\\Desktop, LogPixels) from the
registry as each program starts, and the prefix's programs run side by side: a resolution
set in the shared prefix would reach every program started meanwhile, and stay there if the
run that set it were killed. So each resolution has a prefix of its own beside the project's
(`wineprefix-dpi144`), made when first needed: its own registry, copied from the project's prefix with
LogPixels set, and its own wineserver, while drive C: is the project prefix's, shared through
a link, so that the Windows installation is not copied. Usage: python3 -m kvsupport.dpi N
prints the prefix for N dpi, making it when missing. A prefix is made again when the
project's prefix has been made again since."""
import os
import shutil
import sys
import tempfile

from kvsupport import wine

DESIGN_DPI = 96
_REGISTRY = ("system.reg", "user.reg", "userdef.reg")
_DESKTOP = "[Control Panel\\\\Desktop]"


def _with_log_pixels(user_reg, dpi):
    """user.reg text with LogPixels of the desktop key set to `dpi`."""
    out = []
    key = None
    for line in user_reg.splitlines():
        if line.startswith("["):
            key = line.split("]")[0] + "]"
        elif key == _DESKTOP and line.startswith('"LogPixels"='):
            continue
        out.append(line)
        if key == _DESKTOP and line.startswith("["):
            out.append(f'"LogPixels"=dword:{dpi:08x}')
    if not any(line.startswith(_DESKTOP) for line in out):
        out += ["", _DESKTOP + " 0", f'"LogPixels"=dword:{dpi:08x}']
    return "\n".join(out) + "\n"


def prefix_at(dpi):
    """The prefix whose screen has `dpi` pixels per inch: the project's own at 96, else one
    beside it (`wineprefix-dpiN`)."""
    base = os.path.normpath(wine.prefix())
    if dpi == DESIGN_DPI:
        return base
    return _own_prefix(base, f"{base}-dpi{dpi}", dpi)


def _own_prefix(base, target, dpi):
    """`target`, made from `base` when missing or made from an earlier `base` (a prefix made
    again since): several makers at once are fine, the first one to finish wins, the others
    drop theirs."""
    ready = os.path.join(base, ".korvendal-ready")
    if not os.path.exists(os.path.join(base, "user.reg")):
        raise RuntimeError(f"{base} is not a prepared Wine prefix")
    made_from = str(os.stat(ready).st_mtime_ns) if os.path.exists(ready) else "unknown"
    marker = os.path.join(target, ".korvendal-made-from")
    if os.path.exists(os.path.join(target, "user.reg")):
        with open(marker) if os.path.exists(marker) else open(os.devnull) as f:
            if f.read() == made_from:
                return target
        # Left over from an earlier prefix: moved aside first, so that no run finds it half gone.
        stale = tempfile.mkdtemp(prefix=os.path.basename(target) + ".stale.", dir=os.path.dirname(target))
        try:
            os.rename(target, os.path.join(stale, "prefix"))
        except OSError:
            pass
        shutil.rmtree(stale, ignore_errors=True)
    parent = os.path.dirname(base)
    work = tempfile.mkdtemp(prefix=os.path.basename(target) + ".", dir=parent)
    try:
        for name in _REGISTRY + (".update-timestamp",):
            if os.path.exists(os.path.join(base, name)):
                shutil.copy2(os.path.join(base, name), os.path.join(work, name))
        shutil.copytree(os.path.join(base, "dosdevices"), os.path.join(work, "dosdevices"), symlinks=True)
        os.symlink(os.path.join(base, "drive_c"), os.path.join(work, "drive_c"))
        user_reg = os.path.join(work, "user.reg")
        with open(user_reg, encoding="utf-8", errors="surrogateescape") as f:
            text = f.read()
        with open(user_reg, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write(_with_log_pixels(text, dpi))
        with open(os.path.join(work, ".korvendal-made-from"), "w") as f:
            f.write(made_from)
        os.chmod(work, 0o755)
        try:
            os.rename(work, target)
        except OSError:
            if not os.path.exists(os.path.join(target, "user.reg")):
                raise
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return target


def main(argv):
    if len(argv) != 1 or not argv[0].isdigit() or not 48 <= int(argv[0]) <= 480:
        print("usage: python3 -m kvsupport.dpi DPI (48 to 480)", file=sys.stderr)
        return 2
    print(prefix_at(int(argv[0])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
