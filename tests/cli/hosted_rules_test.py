#!/usr/bin/env python3
"""Checks web.config and _redirects, which no server here can read, against
the hosts' documented grammar: web.config must be well-formed XML whose rules
and rewrite map cover every page and folder; every _redirects line must be
"from to code" with an encoded path and stay within Cloudflare Pages' limits.
With --all-files both must also cover the other files, but not those left alone.

    hosted_rules_test.py KELVANE_CLI
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(__file__))
from server_redirects_test import (LEFT_ALONE, NEW_URL, OTHER_FILES, PAGES, make_site,  # noqa
                                   request_path)

ENCODED_PATH = re.compile(r"^/(?:[A-Za-z0-9\-._~/]|%[0-9A-F]{2})*$")


def as_text(path):
    """A file name as IIS reads the decoded request path, or None for a name it
    cannot read the same way (not UTF-8, or with control characters)."""
    try:
        text = path.decode("utf-8")
    except UnicodeDecodeError:
        return None
    return None if re.search("[\x00-\x1f\x7f]", text) else text


def check_web_config(moved, pages, all_files, failures):
    root = ElementTree.parse(os.path.join(moved, "web.config")).getroot()
    rewrite = root.find("system.webServer/rewrite")
    key_list = [entry.get("key") for entry in rewrite.iter("add") if entry.get("key") is not None]
    keys = set(key_list)
    if len(keys) != len(key_list):
        failures.append("web.config holds a key twice, which IIS refuses for the whole site")
    readable = {as_text(page) for page in pages} | {"sub/"}
    if all_files:
        readable |= {as_text(other) for other in OTHER_FILES if other not in LEFT_ALONE}
    for key in keys - readable:
        failures.append("web.config key %r names no request path" % key)
    patterns = [re.compile(match.get("url")) for match in rewrite.iter("match")
                if match.get("url") not in (".+", "^$")]
    for page in pages + [b"sub/"]:
        name = as_text(page)
        if name is None:
            continue
        if name not in keys and not any(p.fullmatch(name) for p in patterns):
            failures.append("web.config covers no rule for %r" % name)
    if not any(match.get("url") == "^$" for match in rewrite.iter("match")):
        failures.append("web.config has no rule for the site root")
    for other in OTHER_FILES:
        covered = as_text(other) in keys or any(p.fullmatch(as_text(other)) for p in patterns)
        if covered != (all_files and other not in LEFT_ALONE):
            failures.append("web.config %s %r" % ("redirects" if covered else "misses", other))


def check_redirects(moved, pages, all_files, failures):
    lines = [line for line in open(os.path.join(moved, "_redirects"), "rb").read().splitlines()
             if line and not line.startswith(b"#")]
    sources = set()
    for line in lines:
        fields = line.decode("ascii").split()
        if len(fields) != 3 or not ENCODED_PATH.match(fields[0]) or fields[2] != "301!":
            failures.append("_redirects line breaks the grammar: %r" % line)
        if len(line) > 1000:
            failures.append("_redirects line longer than 1000 characters: %r" % line)
        sources.add(fields[0])
    if len(lines) > 2000:
        failures.append("_redirects has %d rules, more than 2000" % len(lines))
    for page in pages + [b"", b"sub/"]:
        if request_path(page) not in sources:
            failures.append("_redirects has no line for %r" % page)
    for other in OTHER_FILES:
        if (request_path(other) in sources) != (all_files and other not in LEFT_ALONE):
            failures.append("_redirects is wrong about %r" % other)


def main():
    cli = sys.argv[1]
    work = tempfile.mkdtemp(prefix="kelvane-hosted.")
    try:
        site = os.path.join(work, "site")
        make_site(site)
        failures = []
        for all_files in (False, True):
            subprocess.run([cli, "--yes", "--server", "iis,netlify", "--url", NEW_URL, site]
                           + (["--all-files"] if all_files else []),
                           check=True, capture_output=True, timeout=60)
            check_web_config(site + "_Moved", PAGES, all_files, failures)
            check_redirects(site + "_Moved", PAGES, all_files, failures)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        print("FAIL:\n" + "\n".join(failures))
        sys.exit(1)
    print("web.config and _redirects cover %d pages within the hosts' grammar" % len(PAGES))


if __name__ == "__main__":
    main()
