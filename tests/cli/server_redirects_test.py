#!/usr/bin/env python3
"""Serves a tree relocated by kelvane-cli --server through a real web server on
loopback and asks for every old address with curl, without following
redirects: every page and every folder with an index page must answer 301 to
its new URL, files of other types must not be redirected. With --all-files
they must, each to its new address, while robots.txt, the old-site sitemap,
hidden files and files that are not there stay alone.

    server_redirects_test.py apache|nginx|caddy KELVANE_CLI
"""
import atexit
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

NEW_URL = b"http://neu.example/home"
PAGES = [
    b"index.htm", b"a.htm", b"sub/index.html", b"sub/default.asp", b"sub/seite.htm",
    b"x/y/b page.html", "Über uns/Team.html".encode(), b"a+b (1).htm", b"x/50%.htm",
    "x/Größe&Preis.php".encode(), b'q"uote.htm', b"it's.htm", b"hash#tag.htm",
    b"frage?.htm", b"[eckig].htm", b"dollar$1.htm", b"back\\slash.htm", b"caf\xe9.htm",
]
OTHER_FILES = [b"bild.gif", b"notiz.txt", b"sub/logo.png", b"doc.pdf", b"sub/Bericht 2024.pdf",
               "Über uns/bild ä.png".encode(), b"robots.txt", b".well-known/security.txt"]
# Never redirected: what a crawler or the server itself looks for on the old host.
LEFT_ALONE = [b"robots.txt", b".well-known/security.txt"]
MISSING = [b"fehlt.png", b"sub/fehlt.pdf"]
OLD_URL = "http://127.0.0.1/alt"
FOLDERS = [b"", b"sub/"]
WAIT_SECONDS = 10
QUERY = "utm_source=news&x=%20y"

UNRESERVED = b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~"
URL_CHARACTERS = UNRESERVED + b":/?#[]@!$&'()*+,;="
HEX = b"0123456789ABCDEFabcdef"


def request_path(path):
    """Every byte but the unreserved ones and "/" percent-encoded, as a browser
    asks for the old page."""
    return "/" + "".join(chr(b) if b in UNRESERVED + b"/" else "%%%02X" % b for b in path)


def location(url, also_encode=b""):
    """The Location a page URL must arrive as: URL characters and escapes as
    they are, every other byte percent-encoded."""
    out = ""
    for i, b in enumerate(url):
        escape = b == ord("%") and i + 2 < len(url) and url[i + 1] in HEX and url[i + 2] in HEX
        if (b in URL_CHARACTERS or escape) and b not in also_encode and (b != ord("%") or escape):
            out += chr(b)
        else:
            out += "%%%02X" % b
    return out


def upper_escapes(text):
    """Escapes with upper-case hex digits: %c3 and %C3 are the same byte."""
    return re.sub(r"%[0-9a-fA-F]{2}", lambda m: m.group(0).upper(), text)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for_port(port, process):
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        if process.poll() is not None:
            return False
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=0.5):
                return True
        except OSError:
            time.sleep(0.1)
    return False


class Server:
    """One web server of its own on loopback; stopped on every exit."""

    def __init__(self, kind, work, root, snippet):
        self.kind, self.work, self.root, self.snippet = kind, work, root, snippet
        self.process = None
        atexit.register(self.stop)

    def start(self):
        for _ in range(5):
            self.port = free_port()
            command = getattr(self, "command_" + self.kind)()
            log = open(os.path.join(self.work, "server.log"), "ab")
            self.process = subprocess.Popen(command, stdout=log, stderr=log,
                                            env=self.environment(), start_new_session=True)
            if wait_for_port(self.port, self.process):
                return
            self.stop()
        sys.exit("FAIL: %s did not start\n%s" % (self.kind, self.log()))

    def environment(self):
        env = dict(os.environ, HOME=self.work, XDG_CONFIG_HOME=self.work,
                   XDG_DATA_HOME=self.work)
        return env

    def stop(self):
        if self.process and self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGTERM)
            try:
                self.process.wait(timeout=WAIT_SECONDS)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait(timeout=WAIT_SECONDS)
        self.process = None

    def log(self):
        parts = []
        for name in ("server.log", "error.log"):
            path = os.path.join(self.work, name)
            if os.path.exists(path):
                parts.append(open(path, "rb").read().decode("utf-8", "replace"))
        return "\n".join(parts)

    def write(self, name, text):
        path = os.path.join(self.work, name)
        with open(path, "w") as out:
            out.write(text)
        return path

    def command_apache(self):
        modules = "/usr/lib/apache2/modules"
        user = "User nobody\nGroup nogroup\n" if os.getuid() == 0 else ""
        conf = self.write("httpd.conf", f"""ServerRoot "{self.work}"
ServerName 127.0.0.1
Listen 127.0.0.1:{self.port}
PidFile "{self.work}/httpd.pid"
ErrorLog "{self.work}/error.log"
DefaultRuntimeDir "{self.work}"
LogLevel warn
LoadModule mpm_event_module {modules}/mod_mpm_event.so
LoadModule authz_core_module {modules}/mod_authz_core.so
LoadModule dir_module {modules}/mod_dir.so
LoadModule rewrite_module {modules}/mod_rewrite.so
{user}DirectoryIndex index.htm index.html
DocumentRoot "{self.root}"
<Directory "{self.root}">
    AllowOverride All
    Require all granted
</Directory>
""")
        return ["/usr/sbin/apache2", "-f", conf, "-DFOREGROUND"]

    def command_nginx(self):
        user = "user nobody nogroup;\n" if os.getuid() == 0 else ""
        temp = os.path.join(self.work, "temp")
        os.makedirs(temp, exist_ok=True)
        temps = "".join(f"    {kind}_temp_path {temp}/{kind};\n"
                        for kind in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
        conf = self.write("nginx.conf", f"""{user}daemon off;
pid {self.work}/nginx.pid;
error_log {self.work}/error.log warn;
events {{ worker_connections 64; }}
http {{
    access_log off;
{temps}    types {{ text/html htm html; image/gif gif; image/png png; text/plain txt; }}
    server {{
        listen 127.0.0.1:{self.port};
        root {self.root};
        index index.htm index.html;
        include {self.snippet};
    }}
}}
""")
        return ["/usr/sbin/nginx", "-p", self.work, "-e", self.work + "/error.log", "-c", conf]

    def command_caddy(self):
        conf = self.write("Caddyfile", f"""{{
    admin off
    auto_https off
}}
http://127.0.0.1:{self.port} {{
    root * "{self.root}"
    import "{self.snippet}"
    file_server
}}
""")
        return ["caddy", "run", "--config", conf, "--adapter", "caddyfile"]


def make_site(site):
    for name in PAGES + OTHER_FILES:
        path = os.path.join(site, os.fsdecode(name))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(b"old")


def planned_urls(cli, site, options):
    """The URL of every page as the run gives it, by path below the root."""
    options = [option for option in options if option in ("--no-subpath", "--all-files")]
    listing = subprocess.run([cli, "--dry-run", *options, "--url", NEW_URL, site],
                             capture_output=True, check=True, timeout=60).stdout
    moved = os.fsencode(site) + b"_Moved/"
    urls = {}
    for line in listing.splitlines():
        target, url = (shown_bytes(field) for field in line.split(b"\t"))
        urls[target[len(moved):]] = url
    return urls


def shown_bytes(text):
    """The bytes behind the dry run's visible escapes of control characters and
    of bytes that are not UTF-8."""
    names = {b"n": b"\n", b"t": b"\t", b"r": b"\r"}
    return re.sub(rb"\\(x[0-9A-F]{2}|u00[89A-F][0-9A-F]|[ntr])",
                  lambda m: names.get(m.group(1)) or
                  (bytes([int(m.group(1)[1:], 16)]) if m.group(1)[:1] == b"x"
                   else chr(int(m.group(1)[1:], 16)).encode()), text)


def is_utf8(name):
    try:
        name.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def with_query(location, query):
    """The Location with the visitor's query where every host must put it: after
    the URL's own query and before its fragment."""
    base, hash_mark, fragment = location.partition("#")
    if "?" not in base:
        base += "?"
    elif not base.endswith("?"):
        base += "&"
    return base + query + hash_mark + fragment


def answer(port, path):
    result = subprocess.run(["curl", "-s", "-o", "/dev/null", "--max-time", "5", "-w",
                             "%{http_code} %header{location}",
                             "http://127.0.0.1:%d%s" % (port, path)],
                            capture_output=True, timeout=30)
    return result.stdout.decode("latin-1").strip()


def check(kind, cli, work, options):
    site = os.path.join(work, "site")
    moved = site + "_Moved"
    shutil.rmtree(moved, ignore_errors=True)
    urls = planned_urls(cli, site, options)
    subprocess.run([cli, "--yes", "--server", kind, *options, "--url", NEW_URL, site],
                   check=True, capture_output=True, timeout=60)
    snippet = {"apache": moved + "/.htaccess", "nginx": moved + ".nginx.conf",
               "caddy": moved + ".Caddyfile"}[kind]
    # The old site's other files stay on the server beside the uploaded pages.
    for other in OTHER_FILES:
        target = os.path.join(moved, os.fsdecode(other))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy(os.path.join(site, os.fsdecode(other)), target)
    subprocess.run(["chmod", "-R", "a+rX", work], check=True)

    also_encode = b"$" if kind == "nginx" else b""
    subpath = "--no-subpath" not in options
    expected = {request_path(page): "301 " + location(urls[page], also_encode) for page in PAGES}
    # Caddy cannot match a name that is not UTF-8 exactly: such a page keeps
    # no rule, and its replacement page answers.
    for page in PAGES:
        if kind == "caddy" and subpath and not is_utf8(page):
            expected[request_path(page)] = "200"
    # The visitor's query comes along on every host.
    for page in PAGES[:3]:
        expected[request_path(page) + "?" + QUERY] = "301 " + with_query(
            location(urls[page], also_encode), QUERY)
    for folder in FOLDERS:
        url = NEW_URL + b"/" + folder if subpath else NEW_URL
        expected[request_path(folder)] = "301 " + location(url, also_encode)
    all_files = "--all-files" in options
    for other in OTHER_FILES:
        url = NEW_URL + b"/" + other if subpath else NEW_URL
        moves = all_files and other not in LEFT_ALONE
        expected[request_path(other)] = "301 " + location(url, also_encode) if moves else "200"
    for missing in MISSING:
        expected[request_path(missing)] = "404"
    if "--sitemaps" in options:
        expected["/sitemap-alt.xml"] = "200"
    expected["/unknown.htm"] = "404"

    server = Server(kind, work, moved, snippet)
    server.start()
    failures = []
    try:
        for path, wanted in expected.items():
            got = upper_escapes(answer(server.port, path))
            if got != wanted:
                failures.append(f"{path}\n  expected: {wanted}\n  answered: {got}")
    finally:
        server.stop()
    if failures:
        print("\n".join(["FAIL (%s %s):" % (kind, " ".join(options))] + failures))
        print("--- rules\n" + open(snippet, "rb").read().decode("utf-8", "replace"))
        print("--- server log\n" + server.log())
        return False
    print("%s %s: %d addresses answered as expected" % (kind, " ".join(options), len(expected)))
    return True


def main():
    kind, cli = sys.argv[1], sys.argv[2]
    binary = {"apache": "/usr/sbin/apache2", "nginx": "/usr/sbin/nginx", "caddy": "caddy"}[kind]
    for tool in (binary, "curl"):
        if not shutil.which(tool):
            sys.exit(f"FAIL: {tool} is missing (scripts/install-deps.sh installs it)")
    work = tempfile.mkdtemp(prefix="kelvane-%s." % kind)
    atexit.register(shutil.rmtree, work, True)
    make_site(os.path.join(work, "site"))
    runs = ([], ["--no-subpath"], ["--all-files", "--sitemaps", OLD_URL],
            ["--all-files", "--no-subpath"])
    results = [check(kind, cli, work, options) for options in runs]
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
