#!/usr/bin/env python3
"""Relocates a site of random hostile names (fixed seed) with every server
format and a mapping file, loads Apache, nginx and Caddy on loopback with the
rules and asks for every old address: each page must answer 301 to exactly its
URL (or, where the run said it left the page without a rule, 200 from its
replacement page), each folder with an index page 301 to its address, and
nothing else may change: other files answer 200, missing pages 404. The
rewrite map of web.config must hold distinct keys, each a request path.

    hostile_names_test.py KELVANE_CLI [SEED [COUNT]]
"""
import csv
import http.client
import io
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import urllib.parse
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(__file__))
from server_redirects_test import (Server, is_utf8, location, request_path,  # noqa
                                   upper_escapes, with_query)

NEW_URL = "http://neu.example/ziel"
QUERY = "utm_source=newsletter&q=%C3%BC"
UNICODE_SPACES = ["\u00a0", "\u0085", "\u2028", "\u2029", "\u3000", "\u2009", "\u1680"]
PUNCTUATION = " \"'<>{}[]()$%#?&\\^|`;*+=,!@~:"
LETTERS = "abcXYZ019_-."


def random_name(rng, kind):
    """A file name (bytes, no type) of one hostile kind."""
    base = "".join(rng.choice(LETTERS) for _ in range(rng.randint(1, 6))).encode()
    if kind == "space":
        return base + "".join(rng.choice(UNICODE_SPACES) for _ in range(2)).encode() + base
    if kind == "control":
        return base + bytes([rng.choice(list(range(1, 32)) + [127])]) + base
    if kind == "not-utf8":
        return base + bytes([rng.randint(0x80, 0xFF)]) + rng.choice([b"A", b"b", b"Z"])
    if kind == "punctuation":
        return base + "".join(rng.choice(PUNCTUATION) for _ in range(3)).encode() + base
    if kind == "long":
        return (base * 300)[:250]
    return "".join(rng.choice("äöüßéÆø€") for _ in range(rng.randint(2, 10))).encode()


def make_site(rng, site, count):
    """Pages, with index pages in some folders and other files beside them."""
    pages, others, mapped = [], [], {}
    folders = [b""]
    kinds = ["space", "control", "not-utf8", "punctuation", "long", "deep"]
    for number in range(count):
        kind = kinds[number % len(kinds)]
        folder = rng.choice(folders)
        if kind == "deep":
            folder = b"/".join(random_name(rng, "deep") for _ in range(rng.randint(4, 9))) + b"/"
        elif rng.random() < 0.2:
            folder = folder + random_name(rng, rng.choice(kinds[:4])) + b"/"
        name = random_name(rng, kind)
        if kind == "long":
            name = name[:250 - 4]
        page = folder + name + rng.choice([b".htm", b".html", b".HTM"])
        if folder not in folders and len(folders) < 40:
            folders.append(folder)
            pages.append(folder + b"index.htm")
            others.append(folder + b"bild.gif")
        pages.append(page)
        if rng.random() < 0.1 and is_utf8(page):
            mapped[page] = mapped_url(rng)
    pages = list(dict.fromkeys(pages))
    for path in pages + others:
        full = os.path.join(os.fsencode(site), path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as out:
            out.write(b"old")
    return pages, others, mapped


def mapped_url(rng):
    length = rng.choice([20, 5000, 9000])
    path = "".join(rng.choice("abc/-_.~ü") for _ in range(length))
    return "https://anders.example/" + path + rng.choice(["", "?k=v", "#anker", "?k=v&w#anker"])


def relocate(cli, site, mapped):
    map_path = site + ".map.csv"
    with open(map_path, "w", encoding="utf-8", newline="") as out:
        writer = csv.writer(out)
        for page, url in mapped.items():
            writer.writerow([page.decode("utf-8"), url])
    report = site + ".report.csv"
    done = subprocess.run([cli, "--yes", "--types", "htm;html;HTM", "--server", "apache,nginx,caddy,iis,netlify", "--map",
                           map_path, "--report", report, "--url", NEW_URL, site],
                          capture_output=True, timeout=300)
    if done.returncode != 0:
        sys.exit("FAIL: the run ended with %d\n%s" % (done.returncode, done.stderr.decode()))
    moved = os.fsencode(site) + b"_Moved/"
    urls = {}
    with open(report, "rb") as listing:
        text = io.StringIO(listing.read().decode("latin-1"), newline="")
        for row in list(csv.reader(text))[1:]:
            urls[row[1].encode("latin-1")[len(moved):]] = row[2].encode("latin-1")
    return urls, done.stderr.decode("utf-8", "replace")


def left_out(stderr, file_name):
    """How many pages the run said it left without a rule in this file."""
    found = re.search(re.escape(file_name) + r": (\d+) Seiten? bekomm", stderr)
    return int(found.group(1)) if found else 0


def ask(port, path):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    try:
        connection.request("GET", path)
        response = connection.getresponse()
        response.read()
        where = response.getheader("Location", "")
        return ("%d %s" % (response.status, where)).strip()
    finally:
        connection.close()


def folder_url(page_url):
    return page_url[:-len(b"index.htm")] if page_url.endswith(b"/index.htm") else page_url


def expectations(kind, pages, others, urls):
    """The Location of every page and folder address (with and without the
    visitor's query), and the answers of the addresses no rule may touch."""
    also_encode = b"$" if kind == "nginx" else b""
    redirected = {}
    for page in pages:
        targets = [(page, urls[page])]
        if page.endswith(b"/index.htm") or page == b"index.htm":
            targets.append((page[:-len(b"index.htm")], folder_url(urls[page])))
        for address, url in targets:
            wanted = location(url, also_encode)
            redirected[request_path(address)] = wanted
            redirected[request_path(address) + "?" + QUERY] = with_query(wanted, QUERY)
    fixed = {}
    for page in pages:
        folder = page[:page.rfind(b"/") + 1]
        fixed[request_path(folder + b"fehlt.htm")] = "404"
    for other in others:
        fixed[request_path(other)] = "200"
    return redirected, fixed


def check_server(kind, work, moved, snippet, pages, others, urls, allowed_left_out):
    redirected, fixed = expectations(kind, pages, others, urls)
    server = Server(kind, work, moved, snippet)
    server.start()
    failures, answered_by_page = [], set()
    try:
        for path, wanted in redirected.items():
            got = upper_escapes(ask(server.port, path))
            # Left without a rule, the address answers as it did before the
            # rules: the replacement page, or the server's own answer.
            if got[:1] in "24" and allowed_left_out:
                answered_by_page.add(path.split("?")[0])
            elif got != "301 " + upper_escapes(wanted):
                failures.append("%s\n  expected: 301 %s\n  answered: %s" % (path, wanted, got))
        for path, wanted in fixed.items():
            got = upper_escapes(ask(server.port, path))
            if got != upper_escapes(wanted):
                failures.append("%s\n  expected: %s\n  answered: %s" % (path, wanted, got))
    finally:
        server.stop()
    if len(answered_by_page) > allowed_left_out:
        failures.append("%d addresses answered without a rule, the run named %d"
                        % (len(answered_by_page), allowed_left_out))
    if failures:
        print("FAIL (%s): %d of %d addresses" % (kind, len(failures), len(redirected) + len(fixed)))
        print("\n".join(failures[:20]))
        print("--- server log\n" + server.log()[-3000:])
        return False
    print("%s: %d addresses answered as expected (%d pages left to their replacement page)"
          % (kind, len(redirected) + len(fixed), len(answered_by_page)))
    return True


def check_web_config(moved, pages):
    text = open(os.path.join(moved, "web.config"), "rb").read()
    rewrite = ElementTree.fromstring(text).find("system.webServer/rewrite")
    keys = [entry.get("key") for entry in rewrite.iter("add") if entry.get("key") is not None]
    requested = {urllib.parse.unquote(request_path(page)[1:], errors="strict")
                 for page in pages if is_utf8(page)}
    requested |= {name.rsplit("/", 1)[0] + "/" for name in requested if "/" in name}
    failures = []
    if len(set(keys)) != len(keys):
        failures.append("web.config holds a key twice")
    failures += ["web.config key %r decodes to no request path" % key
                 for key in keys if key not in requested]
    print("\n".join(failures) if failures else "web.config: %d distinct keys" % len(keys))
    return not failures


def main():
    cli = sys.argv[1]
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    rng = random.Random(seed)
    for tool in ("/usr/sbin/apache2", "/usr/sbin/nginx", "caddy"):
        if not shutil.which(tool):
            sys.exit(f"FAIL: {tool} is missing (scripts/install-deps.sh installs it)")
    work = tempfile.mkdtemp(prefix="kelvane-hostile.")
    try:
        site = os.path.join(work, "site")
        pages, others, mapped = make_site(rng, site, count)
        urls, stderr = relocate(cli, site, mapped)
        moved = site + "_Moved"
        for other in others:
            target = os.path.join(os.fsencode(moved), other)
            shutil.copy(os.path.join(os.fsencode(site), other), target)
        subprocess.run(["chmod", "-R", "a+rX", work], check=True)
        results = [check_web_config(moved, pages)]
        for kind, snippet, file_name in (("apache", moved + "/.htaccess", ".htaccess"),
                                         ("nginx", moved + ".nginx.conf", ".nginx.conf"),
                                         ("caddy", moved + ".Caddyfile", ".Caddyfile")):
            server_work = os.path.join(work, kind)
            os.makedirs(server_work)
            results.append(check_server(kind, server_work, moved, snippet, pages, others, urls,
                                        left_out(stderr, file_name)))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("seed %d, %d pages" % (seed, len(pages)))
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
