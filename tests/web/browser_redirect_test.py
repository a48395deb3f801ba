#!/usr/bin/env python3
"""Opens Kelvane's replacement pages in a real headless Chromium and checks
where the browser ends up.

A sample site with nested folders and names with spaces is relocated with the
built kelvane-cli, once per variant (template, with or without the subfolder
and file name, new URL). Each _Moved tree is served on its own loopback port;
a second kind of server plays the new site and answers every path with a page
that names the path it was asked for and, when scripts run, the address the
browser shows. Every wait is bounded and every server stops at the end. A
missing browser is a failure, never a skip.
"""

import argparse
import functools
import html
import http.server
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import urllib.parse

BROWSER_TIMEOUT_SECONDS = 60
CLI_TIMEOUT_SECONDS = 60
# Virtual time lets the browser finish the redirects and the new page's script
# without the test waiting on the clock.
VIRTUAL_TIME_BUDGET_MS = 10000

SITE_PAGES = ["index.html", "x/a.htm", "x/y/b page.html", "alte seiten/über uns.htm"]
NEW_SITE_PREFIX = "/neu"

# name, template, append the subfolder and file name, what follows the new
# site's address in the URL given to Kelvane
VARIANTS = [
    ("standard", "standard", True, ""),
    ("standard-root", "standard", False, ""),
    ("standard-own-query", "standard", False, "?von=alt"),
    ("benutzer", "user", True, ""),
]

# variant, old page, what the visitor adds to the old address, scripts on,
# expected request path on the new site, expected address in the browser
# (None when scripts are off and the page cannot report it)
CASES = [
    ("standard", "x/y/b page.html", "", True, "/x/y/b%20page.html", "/x/y/b%20page.html"),
    ("standard", "x/y/b page.html", "", False, "/x/y/b%20page.html", None),
    ("standard", "x/y/b page.html", "#abschnitt", True, "/x/y/b%20page.html",
     "/x/y/b%20page.html#abschnitt"),
    ("standard", "x/y/b page.html", "?a=1#abschnitt", True, "/x/y/b%20page.html?a=1",
     "/x/y/b%20page.html?a=1#abschnitt"),
    ("standard", "alte seiten/über uns.htm", "", True, "/alte%20seiten/%C3%BCber%20uns.htm",
     "/alte%20seiten/%C3%BCber%20uns.htm"),
    ("standard", "alte seiten/über uns.htm", "", False, "/alte%20seiten/%C3%BCber%20uns.htm",
     None),
    ("standard-root", "x/y/b page.html", "", True, "", ""),
    ("standard-root", "x/y/b page.html", "", False, "", None),
    ("standard-root", "x/a.htm", "#abschnitt", True, "", "#abschnitt"),
    # The visitor's query joins the URL's own, and the visitor's fragment
    # comes along, as the server rules do it.
    ("standard-own-query", "x/y/b page.html", "?a=1#abschnitt", True, "?von=alt&a=1",
     "?von=alt&a=1#abschnitt"),
    ("benutzer", "x/y/b page.html", "#abschnitt", True, "/x/y/b%20page.html",
     "/x/y/b%20page.html#abschnitt"),
    ("benutzer", "x/y/b page.html", "", False, "/x/y/b%20page.html", None),
]


class NewSitePage(http.server.BaseHTTPRequestHandler):
    """Answers every path with a page whose DOM tells where the browser is."""

    def do_GET(self):
        body = (
            '<!DOCTYPE html><html lang="de"><head><meta charset="utf-8">'
            "<title>Neue Seite</title></head><body>"
            f'<p id="served">{html.escape(self.path)}</p>'
            '<p id="location"></p>'
            '<script>document.getElementById("location").textContent = location.href;</script>'
            "</body></html>"
        ).encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, format, *args):
        pass


class QuietFileServer(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        pass


class LoopbackServer:
    """An HTTP server on a free loopback port, in a thread of this process,
    so it cannot outlive the test."""

    def __init__(self, handler):
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.server.daemon_threads = True
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    @property
    def origin(self):
        return f"http://127.0.0.1:{self.server.server_address[1]}"

    def stop(self):
        self.server.shutdown()
        self.server.server_close()


def make_program_folder(cli, templates, folder):
    """A copy of kelvane-cli beside the templates of the source tree, so that
    the test checks the shipped templates and not what a build folder kept."""
    os.makedirs(folder)
    shutil.copy2(cli, folder)
    for name in ("default.htm", "benutzer.htm"):
        shutil.copy2(os.path.join(templates, name), folder)
    return os.path.join(folder, os.path.basename(cli))


def make_site(folder):
    for page in SITE_PAGES:
        path = os.path.join(folder, page)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as file:
            file.write("<html><body>alte Seite</body></html>\n")


def relocate(cli, site, template, subpath, url):
    command = [cli, "--url", url, "--template", template, "--yes"]
    if not subpath:
        command.append("--no-subpath")
    command.append(site)
    result = subprocess.run(command, capture_output=True, text=True,
                            timeout=CLI_TIMEOUT_SECONDS)
    if result.returncode != 0:
        raise AssertionError(f"kelvane-cli failed ({result.returncode}): {result.stderr}")
    return site + "_Moved"


def fresh_profile(folder, javascript):
    """A new browser profile; with scripts off through the content setting,
    which unlike a blink setting still lets the browser dump the DOM."""
    os.makedirs(os.path.join(folder, "Default"))
    if not javascript:
        preferences = {"profile": {"default_content_setting_values": {"javascript": 2}}}
        with open(os.path.join(folder, "Default", "Preferences"), "w") as file:
            json.dump(preferences, file)
    return folder


def dump_dom(chromium, url, profile):
    command = [
        chromium, "--headless", "--no-sandbox", "--disable-gpu",
        "--disable-background-networking", "--disable-component-update",
        "--no-first-run", "--disable-quic", "--disable-sync", "--no-proxy-server",
        "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
        f"--user-data-dir={profile}",
        f"--virtual-time-budget={VIRTUAL_TIME_BUDGET_MS}",
        "--dump-dom", url,
    ]
    # Its own process group, so that a hanging browser goes with all its
    # helper processes.
    browser = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               start_new_session=True)
    try:
        out, err = browser.communicate(timeout=BROWSER_TIMEOUT_SECONDS)
    except subprocess.TimeoutExpired:
        os.killpg(browser.pid, signal.SIGKILL)
        browser.communicate()
        raise AssertionError(f"the browser did not finish within {BROWSER_TIMEOUT_SECONDS} s")
    finally:
        if browser.poll() is None:
            os.killpg(browser.pid, signal.SIGKILL)
            browser.wait()
    dom = out.decode("utf-8", "replace")
    if browser.returncode != 0 or not dom.strip():
        raise AssertionError(f"the browser failed ({browser.returncode}):\n"
                             + err.decode("utf-8", "replace")[-2000:])
    return dom


def paragraph(dom, id):
    match = re.search(f'<p id="{id}">([^<]*)</p>', dom)
    return html.unescape(match.group(1)) if match else None


def check_case(case, chromium, old_sites, new_site, work, number):
    variant, page, visitor_suffix, javascript, expected_path, expected_location = case
    old_url = old_sites[variant] + "/" + urllib.parse.quote(page) + visitor_suffix
    profile = fresh_profile(os.path.join(work, f"profile{number}"), javascript)
    dom = dump_dom(chromium, old_url, profile)

    served = paragraph(dom, "served")
    location = paragraph(dom, "location")
    scripts = "mit JavaScript" if javascript else "ohne JavaScript"
    problems = []
    if served is None:
        problems.append("the browser did not reach the new site")
    elif served != NEW_SITE_PREFIX + expected_path:
        problems.append(f"new site asked for {served!r}, expected "
                        f"{NEW_SITE_PREFIX + expected_path!r}")
    if javascript:
        wanted = new_site.origin + NEW_SITE_PREFIX + expected_location
        if location != wanted:
            problems.append(f"browser shows {location!r}, expected {wanted!r}")
    elif location:
        problems.append(f"scripts ran although they were switched off: {location!r}")
    label = f"{variant}: {old_url} ({scripts})"
    if problems:
        print(f"FAIL {label}\n     " + "\n     ".join(problems) + f"\n     DOM: {dom[:600]}")
        return False
    print(f"ok   {label} -> {served}")
    return True


def find_chromium():
    for name in ("chromium", "chromium-browser"):
        path = shutil.which(name)
        if path:
            return path
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True, help="the built kelvane-cli")
    parser.add_argument("--templates", required=True, help="the templates folder")
    arguments = parser.parse_args()

    chromium = find_chromium()
    if not chromium:
        print("FAIL: chromium not found; scripts/install-deps.sh installs it")
        return 1

    # ctest stops a test that runs too long with SIGTERM; the finally blocks
    # below then still stop the servers and remove the files.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    servers = []
    with tempfile.TemporaryDirectory(prefix="kelvane-browser-") as work:
        try:
            cli = make_program_folder(arguments.cli, arguments.templates,
                                      os.path.join(work, "programm"))
            new_site = LoopbackServer(NewSitePage)
            servers.append(new_site)
            old_sites = {}
            for name, template, subpath, url_suffix in VARIANTS:
                site = os.path.join(work, name, "alte seite")
                make_site(site)
                moved = relocate(cli, site, template, subpath,
                                 new_site.origin + NEW_SITE_PREFIX + url_suffix)
                server = LoopbackServer(functools.partial(QuietFileServer, directory=moved))
                servers.append(server)
                old_sites[name] = server.origin
            results = [check_case(case, chromium, old_sites, new_site, work, number)
                       for number, case in enumerate(CASES)]
        finally:
            for server in servers:
                server.stop()
    failed = results.count(False)
    print(f"{len(results) - failed} of {len(results)} browser checks passed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
