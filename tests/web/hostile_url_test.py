#!/usr/bin/env python3
"""Opens replacement pages made from hostile URL texts in headless Chromium:
no script of the URL text may run, and the visitor must land exactly where
the URL (and so the server rules) send it. Texts that a browser would read as
a script scheme must be refused before any page is written.

    hostile_url_test.py --cli KELVANE_CLI --templates TEMPLATES
"""
import argparse
import functools
import os
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from browser_redirect_test import (LoopbackServer, NewSitePage, QuietFileServer,  # noqa
                                   dump_dom, find_chromium, fresh_profile,
                                   make_program_folder, make_site, paragraph)

PWNED = "/pwned"
# Where a script from the URL text would send the browser if it ran.
RUN = "location.replace('%s')" % PWNED
HEAD = "<html><head><meta charset=\"utf-8\">"
# User templates, each sending the visitor on from another place of the page.
USER_TEMPLATES = {
    "script": HEAD + "<script>location.replace(\"%URL%\");</script></head><body></body></html>",
    "handler": HEAD + "</head><body onload=\"location.replace('%URL%')\"></body></html>",
    "unquoted": HEAD + "</head><body onload=location.replace('%URL%')></body></html>",
    # The address the style sheet reads back is where the script sends.
    "style": HEAD + "<style>#p{background-image:url(\"%URL%\")}</style></head>"
             "<body><p id=p></p><script>location.replace(getComputedStyle("
             "document.getElementById('p')).backgroundImage.slice(5, -2))</script></body></html>",
}

# name, template, what follows the new site's address in the URL text
ACCEPTED = [
    ("references", "standard", "/neu/a&copy=1&quot;b&#97;"),
    ("attribute break-out", "standard", "/neu?q=\"><script>" + RUN + "</script>"),
    ("single quote", "standard", "/neu/'onload='" + RUN.replace("'", "`")),
    ("script literal", "script", "/neu?x=\");" + RUN + ";(\"</script><script>" + RUN + "//"),
    ("line terminator", "script", "/neu?x=\u2028" + RUN),
    ("handler literal", "handler", "/neu?x=');" + RUN + "//&amp;"),
    ("handler without quotes", "unquoted", "/neu?x=1 onpageshow=" + RUN),
    ("style sheet", "style", "/neu/a&amp;(b)?x='1'</style><script>" + RUN + "</script>"),
]
REFUSED = ["jav&#97;script:" + RUN, "javascript&colon;" + RUN, "java&Tab;script:" + RUN,
           " JaVaScRiPt:" + RUN, "&#x64;ata:text/html,x", "vbscript:x"]

PATH_ENCODED = set(range(0x21)) | {0x22, 0x23, 0x3C, 0x3E, 0x3F, 0x60, 0x7B, 0x7D}
QUERY_ENCODED = set(range(0x21)) | {0x22, 0x23, 0x3C, 0x3E, 0x27}


def as_browser_sends(text):
    """The path and query as the browser's URL parser encodes them and sends
    them, without the fragment."""
    path, question, query = text.partition("#")[0].partition("?")
    out = ""
    for part, encoded in ((path, PATH_ENCODED), (query, QUERY_ENCODED)):
        out += "".join(chr(b) if b < 0x7F and b not in encoded else "%%%02X" % b
                       for b in part.encode("utf-8"))
        out += question if part is path else ""
    return out


def relocate(cli, site, template, url):
    return subprocess.run([cli, "--url", url, "--template", template, "--no-subpath", "--yes",
                           site], capture_output=True, text=True, timeout=60)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--templates", required=True)
    arguments = parser.parse_args()
    chromium = find_chromium()
    if not chromium:
        print("FAIL: chromium not found; scripts/install-deps.sh installs it")
        return 1
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    failures, servers = [], []
    with tempfile.TemporaryDirectory(prefix="kelvane-hostile-url-") as work:
        try:
            cli = make_program_folder(arguments.cli, arguments.templates,
                                      os.path.join(work, "programm"))
            new_site = LoopbackServer(NewSitePage)
            servers.append(new_site)
            for number, text in enumerate(REFUSED):
                site = os.path.join(work, "refused%d" % number, "alt")
                make_site(site)
                result = relocate(cli, site, "standard", text)
                if result.returncode != 1 or os.path.exists(site + "_Moved"):
                    failures.append("%r was not refused: %d" % (text, result.returncode))
            for number, (name, template, suffix) in enumerate(ACCEPTED):
                site = os.path.join(work, "accepted%d" % number, "alt")
                make_site(site)
                if template in USER_TEMPLATES:
                    with open(os.path.join(work, "programm", "benutzer.htm"), "w") as out:
                        out.write(USER_TEMPLATES[template])
                result = relocate(cli, site, "user" if template in USER_TEMPLATES else template,
                                  new_site.origin + suffix)
                if result.returncode != 0:
                    failures.append("%s: refused: %s" % (name, result.stderr))
                    continue
                old = LoopbackServer(functools.partial(QuietFileServer,
                                                       directory=site + "_Moved"))
                servers.append(old)
                profile = fresh_profile(os.path.join(work, "profile%d" % number), True)
                dom = dump_dom(chromium, old.origin + "/x/a.htm", profile)
                served = paragraph(dom, "served")
                wanted = as_browser_sends(suffix)
                if served != wanted:
                    failures.append("%s: the new site was asked for %r, expected %r"
                                    % (name, served, wanted))
                else:
                    print("ok   %s -> %s" % (name, served))
        finally:
            for server in servers:
                server.stop()
    if failures:
        print("FAIL:\n" + "\n".join(failures))
        return 1
    print("%d refused, %d reached their address" % (len(REFUSED), len(ACCEPTED)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
