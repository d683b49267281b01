#!/usr/bin/python3
"""One line for each entry of a disc image's tree as pycdlib reads it, or of a folder, so that
the two can be compared: "./path size md5" for a file, "./path/" for a folder, sorted.

    udf_walk.py IMAGE              the UDF tree
    udf_walk.py --joliet IMAGE     the Joliet tree
    udf_walk.py --folder FOLDER    the folder the image was made of

Run with Debian's python3, whose python3-pycdlib scripts/setup.sh installs.
"""
import hashlib
import os
import sys


class Md5Sink:
    """Takes the bytes pycdlib extracts and keeps only their size and checksum."""

    def __init__(self):
        self.md5 = hashlib.md5()
        self.size = 0

    def write(self, data):
        self.md5.update(data)
        self.size += len(data)
        return len(data)


def image_lines(image, tree):
    import pycdlib

    iso = pycdlib.PyCdlib()
    iso.open(image)
    if tree == "udf" and not iso.has_udf():
        raise SystemExit(f"udf_walk: {image} has no UDF tree")
    if tree == "joliet" and not iso.has_joliet():
        raise SystemExit(f"udf_walk: {image} has no Joliet tree")
    key = tree + "_path"
    # Each folder's path is built here from its children's decoded names: pycdlib 1.12's own
    # walk joins the raw names and decodes the lot at once, which breaks on a folder whose UDF
    # name is in UTF-16 below one in Latin-1.
    lines, folders = [], ["/"]
    while folders:
        folder = folders.pop()
        for child in iso.list_children(**{key: folder}):
            if child is None or child.is_dot() or child.is_dotdot():
                continue
            encoding = child.file_ident.encoding if tree == "udf" else "utf-16_be"
            path = folder.rstrip("/") + "/" + child.file_identifier().decode(encoding)
            if child.is_dir():
                lines.append(f".{path}/")
                folders.append(path)
            else:
                sink = Md5Sink()
                iso.get_file_from_iso_fp(sink, **{key: path})
                lines.append(f".{path} {sink.size} {sink.md5.hexdigest()}")
    iso.close()
    return lines


def folder_lines(root):
    lines = []
    for folder, folders, files in os.walk(root):
        base = "." + folder[len(root):]
        lines += [f"{base}/{name}/" for name in folders]
        for name in files:
            with open(os.path.join(folder, name), "rb") as f:
                md5, size = hashlib.md5(), 0
                for chunk in iter(lambda: f.read(1 << 20), b""):
                    md5.update(chunk)
                    size += len(chunk)
            lines.append(f"{base}/{name} {size} {md5.hexdigest()}")
    return lines


def main(args):
    try:
        if len(args) == 2 and args[0] == "--folder":
            lines = folder_lines(args[1].rstrip("/") or "/")
        elif len(args) == 2 and args[0] == "--joliet":
            lines = image_lines(args[1], "joliet")
        elif len(args) == 1 and not args[0].startswith("--"):
            lines = image_lines(args[0], "udf")
        else:
            raise SystemExit(__doc__)
    except Exception as e:  # a damaged image: one line saying why, not a trace
        raise SystemExit(f"udf_walk: {args[-1]}: {type(e).__name__}: {e}")
    # Names as bytes, whatever they are, in the order `LC_ALL=C sort` gives.
    out = sys.stdout.buffer
    for line in sorted(line.encode("utf-8", "surrogateescape") for line in lines):
        out.write(line + b"\n")


if __name__ == "__main__":
    main(sys.argv[1:])
