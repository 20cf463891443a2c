"""Windows and Unix names of the same file under the project's prefix."""
import getpass
import os

from kvsupport import wine


def winpath(unix_path):
    """The Windows form of a Unix path under Wine: /tmp/x -> Z:\\tmp\\x."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def unix_path(windows_path):
    """A Windows path as the Unix file it is: Z:\\... anywhere on the machine, another
    drive inside the prefix. Links are kept as they are (the prefix's Documents is a link
    to the home), so removing what this names never follows one."""
    drive, rest = windows_path[0].lower(), [p for p in windows_path[3:].split("\\") if p]
    if drive == "z":
        return os.path.join("/", *rest)
    return os.path.join(wine.prefix(), f"drive_{drive}", *rest)


def user_folder(name):
    """A folder of the Wine user, e.g. user_folder("Temp"), as a Unix path."""
    return os.path.join(wine.prefix(), "drive_c", "users", getpass.getuser(), name)
