#!/usr/bin/env python3
"""The scanner against a browser's view of real documentation sites.

For each site, a reference written independently of the scanner, on Python's own HTML parser,
follows what a browser loads and links to from the start page: attributes that name files
(src, href, background, poster, lowsrc, dynsrc), url() and @import in style attributes,
<style> blocks and linked stylesheets, resolved as file: URLs (query and fragment dropped,
escapes decoded), inside the start page's folder; a value that starts with a drive letter names a
drive, as on Windows where the disc is read. The scanner (scan_site, a native driver of
the real core) copies the same site; the files it writes must be exactly the files the
reference loads, and its missing list exactly the files the reference finds linked and absent.

Sites come from Debian's documentation packages (scripts/setup.sh installs them); a site that
is not installed is skipped with a line saying so.

usage: check_sites.py SCAN_SITE_BINARY [START_PAGE ...]
"""
import os
import re
import subprocess
import sys
import tempfile
import time
from html.parser import HTMLParser
from urllib.parse import quote, unquote, urljoin, urlsplit

SITES = [
    # The real folder, which its pages' own file: links name.
    ("Sphinx (python3-doc)", os.path.realpath("/usr/share/doc/python3/html") + "/index.html", "python3-doc"),
    ("doxygen (doxygen-doc)", "/usr/share/doc/doxygen/html/index.html", "doxygen-doc"),
    ("Apache manual, all languages (apache2-doc)", "/usr/share/doc/apache2-doc/manual/index.html", "apache2-doc"),
    # Its Index.html beside the start page index.html: one name on a disc read by Windows.
    ("texinfo (libffi-dev)", "/usr/share/doc/libffi8/html/index.html", "libffi-dev"),
]

LINK_ATTRIBUTES = {"src", "href", "background", "poster", "lowsrc", "dynsrc"}
CSS_COMMENT = re.compile(r"/\*.*?\*/", re.S)
CSS_STRING = r"""("(?:[^"\\\n]|\\.)*"|'(?:[^'\\\n]|\\.)*')"""
CSS_LINK = re.compile(r"@import\s*" + CSS_STRING + r"|(?<![\w-])url\(\s*(?:" + CSS_STRING + r"|([^)]*?))\s*\)|" +
                      CSS_STRING, re.I)


def css_links(text):
    links = []
    for match in CSS_LINK.finditer(CSS_COMMENT.sub(" ", text)):
        imported, quoted, bare, _string = match.groups()
        if imported is not None:
            links.append(imported[1:-1])
        elif quoted is not None:
            links.append(quoted[1:-1])
        elif bare is not None:
            links.append(bare.strip())
    return links


class PageLinks(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []
        self.in_style = False

    def handle_starttag(self, tag, attrs):
        if tag == "style":
            self.in_style = True
        if tag == "base":
            return
        for name, value in attrs:
            if value is None:
                continue
            if name in LINK_ATTRIBUTES:
                self.links.append(value)
            elif name == "style":
                self.links.extend(css_links(value))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag == "style":
            self.in_style = False

    def handle_endtag(self, tag):
        if tag == "style":
            self.in_style = False

    def handle_data(self, data):
        if self.in_style:
            self.links.extend(css_links(data))


def read_text(path):
    with open(path, "rb") as f:
        data = f.read()
    for encoding in ("utf-8", "cp1252"):
        try:
            return data.decode(encoding)
        except UnicodeDecodeError:
            pass
    return data.decode("latin-1")


def links_of(path):
    text = read_text(path)
    if path.lower().endswith(".css"):
        return css_links(text)
    parser = PageLinks()
    parser.feed(text)
    parser.close()
    return parser.links


def is_document(path):
    lower = path.lower()
    return ".htm" in lower or lower.endswith((".css", ".xhtml", ".shtml"))


def reference(start):
    """Files loaded from the start page (relative to its folder) and files linked but absent."""
    root = os.path.dirname(start) + "/"
    loaded, absent, seen = set(), set(), set()
    todo = [start]
    while todo:
        page = todo.pop()
        if page in seen:
            continue
        seen.add(page)
        base = "file://" + quote(page)
        for value in links_of(page):
            value = value.strip(" \t\n\r\f").replace("\t", "").replace("\n", "").replace("\r", "")
            value = value.replace("\\", "/")
            if value.startswith("/") and not value.startswith("//"):
                value = "file://" + quote(root) + value[1:]  # on the disc, "/" is the site's root
            if re.match(r"[A-Za-z]:", value):
                # A drive on Windows, where the disc is read (vim's manual links "g:decada.html"):
                # outside the site.
                path = unquote(value.split("#")[0].split("?")[0])
                if "." in os.path.basename(path).strip("."):
                    absent.add(os.path.normpath(path))
                continue
            try:
                url = urlsplit(urljoin(base, value))
            except ValueError:
                continue  # no URL a browser could load (vim's manual has "//[user@]machine/")
            if url.scheme != "file" or url.netloc not in ("", "localhost") or not value or value.startswith(("#", "?")):
                continue
            path = os.path.normpath(unquote(url.path))
            name = os.path.basename(path)
            if "." not in name.strip(".") or name.endswith("/"):
                continue  # a folder or a name without a type: not taken as a file
            if not path.startswith(root):
                absent.add(path)
                continue
            if os.path.isdir(path):
                continue
            if not os.path.isfile(path):
                absent.add(path)
                continue
            loaded.add(os.path.relpath(path, root))
            if is_document(path):
                todo.append(path)
    loaded.add(os.path.basename(start))
    return loaded, absent


def one_per_name(start, loaded, absent, written):
    """What a disc read by Windows can hold of it: one file for each name in any letter case.
    Of files loaded whose paths differ only in letter case and that are different files, the one
    the scan met first is on the disc (the one it wrote), the others are listed as not copied;
    another name of the same file (a hard link) is neither."""
    root = os.path.dirname(start) + "/"
    groups = {}
    for rel in loaded:
        groups.setdefault(rel.lower(), []).append(rel)
    loaded, absent = set(loaded), set(absent)
    for group in groups.values():
        kept = [rel for rel in group if rel in written]
        if len(group) < 2 or len(kept) != 1:
            continue  # nothing to choose, or the comparison shows what went wrong
        for rel in group:
            if rel != kept[0]:
                loaded.discard(rel)
                if not os.path.samefile(root + rel, root + kept[0]):
                    absent.add(os.path.normpath(root + rel))
    return loaded, absent


def scan(binary, start, out):
    result = subprocess.run([binary, start, out], check=True, capture_output=True, text=True)
    lines = result.stdout.splitlines()
    seconds, documents = lines[-1].split()[1:3]
    missing = {os.path.normpath(line) for line in lines[:-1]}
    written = set()
    for folder, _dirs, files in os.walk(out):
        for name in files:
            written.add(os.path.relpath(os.path.join(folder, name), out))
    return written, missing, float(seconds), int(documents)


def main():
    binary = sys.argv[1]
    sites = [(p, p, "") for p in sys.argv[2:]] or SITES
    failed = False
    checked = 0
    for title, start, package in sites:
        if not os.path.isfile(start):
            print(f"SKIP {title}: {start} is not installed (apt-get install {package})")
            continue
        checked += 1
        began = time.monotonic()
        loaded, absent = reference(start)
        reference_s = time.monotonic() - began
        with tempfile.TemporaryDirectory() as out:
            written, missing, seconds, documents = scan(binary, start, out)
        browser = len(loaded)
        loaded, absent = one_per_name(start, loaded, absent, written)
        ok = written == loaded and missing == absent
        failed |= not ok
        print(f"{'OK  ' if ok else 'FAIL'} {title}: {browser} files a browser loads"
              f"{f' ({len(loaded)} by name in any letter case)' if len(loaded) != browser else ''}, "
              f"{len(written)} on the disc, {documents} documents read, {len(missing)} missing "
              f"(reference {len(absent)}); scan {seconds:.2f} s, reference {reference_s:.2f} s")
        for label, items in (("only on the disc", written - loaded), ("not on the disc", loaded - written),
                             ("listed, not absent", missing - absent), ("absent, not listed", absent - missing)):
            for item in sorted(items)[:15]:
                print(f"     {label}: {item}")
    if not checked:
        print("SKIP: no documentation site installed (scripts/setup.sh installs them)")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
