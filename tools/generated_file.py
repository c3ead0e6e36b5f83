"""Writes a generated source file the way every build-time generator here does."""
import os


def write_generated(out_path, text):
    """Through a temporary file moved into place, so an interrupted build never leaves half a
    file; and only when the text changes, so a touched input rebuilds nothing needlessly."""
    try:
        with open(out_path) as f:
            if f.read() == text:
                return
    except OSError:
        pass
    os.makedirs(os.path.dirname(out_path) or ".", exist_ok=True)
    tmp = out_path + ".tmp"
    with open(tmp, "w") as f:
        f.write(text)
    os.replace(tmp, out_path)
