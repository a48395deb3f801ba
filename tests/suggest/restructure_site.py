#!/usr/bin/env python3
"""Builds an old and a restructured new site from real HTML documentation,
as a move to a content management system would: new names from the titles,
a new folder layout, another page frame and navigation, some pages merged,
some dropped, some retitled. Writes the answer key beside them.

    restructure_site.py KIND SOURCE OUT [BASE_URL]

KIND is "python" (Sphinx pages) or "debref" (DocBook chapters). OUT gets
old/ (the real pages, a third of them recoded to Windows-1252 with their
charset declared), new/ (the new site, with robots.txt, a sitemap index and
a gzip-packed sitemap for BASE_URL) and truth.json (old path
to new path below the new site, or null for a dropped page).
"""
import gzip
import html
import json
import os
import random
import re
import shutil
import sys
import unicodedata

SKIPPED = re.compile(r"^(genindex|search|py-modindex)")

FOLDERS = {
    "library": "bibliothek", "tutorial": "einstieg", "reference": "sprache",
    "c-api": "c-schnittstelle", "howto": "anleitungen", "faq": "fragen",
    "whatsnew": "neuigkeiten", "using": "einrichten", "extending": "erweitern",
    "distributing": "verteilen", "install": "installieren", "installing": "installieren",
    "distutils": "verteilen",
}

MENU = ["Startseite", "Über uns", "Themen", "Anleitungen", "Neuigkeiten", "Kontakt",
        "Suche", "Hilfe", "Mitmachen", "Spenden", "Presse", "Veranstaltungen"]


def pages_of(kind, source):
    found = []
    for folder, dirs, files in os.walk(source):
        dirs[:] = sorted(d for d in dirs if not d.startswith("_"))
        for name in sorted(files):
            if not name.endswith(".html") or SKIPPED.match(name):
                continue
            if kind == "debref" and not name.endswith(".en.html"):
                continue
            found.append(os.path.relpath(os.path.join(folder, name), source))
    return found


def title_of(text):
    match = re.search(r"<title>(.*?)</title>", text, re.S)
    title = html.unescape(re.sub(r"<[^>]+>", "", match.group(1))) if match else ""
    title = re.sub(r"\s+", " ", title).strip()
    return re.split(r" \u2014 Python [0-9.]+ documentation", title)[0]


def main_content(kind, text):
    if kind == "python":
        start = text.find('role="main">')
        end = text.find('<div class="sphinxsidebar"')
        if start >= 0 and end > start:
            return text[start + len('role="main">'):end]
    else:
        start = text.find("</div>", text.find('<div class="navheader">'))
        end = text.find('<div class="navfooter">')
        if start >= 0 and end > start:
            return text[start + len("</div>"):end]
    body = re.search(r"<body[^>]*>(.*)</body>", text, re.S)
    return body.group(1) if body else text


def slug(title):
    plain = unicodedata.normalize("NFKD", title).encode("ascii", "ignore").decode()
    words = re.findall(r"[a-z0-9]+", plain.lower())
    return "-".join(words[:8]) or "seite"


def retitled(title, content):
    heading = re.search(r"<h2[^>]*>(.*?)</h2>", content, re.S)
    if heading:
        text = html.unescape(re.sub(r"<[^>]+>", "", heading.group(1))).strip(" ¶\n")
        if text:
            return "Wissen: " + text
    return "Wissen: " + " ".join(reversed(title.split()))


def frame(title, crumbs, content, related):
    menu = "".join(f'<li><a href="/{slug(m)}/">{m}</a></li>' for m in MENU)
    links = "".join(f'<li><a href="{href}">{html.escape(t)}</a></li>' for t, href in related)
    return f"""<!DOCTYPE html>
<html lang="de"><head><meta charset="utf-8"><title>{html.escape(title)} | Neue Site</title>
<link rel="stylesheet" href="/design.css"></head>
<body><header class="kopf"><div class="logo">Neue Site</div>
<ul class="menue">{menu}</ul></header>
<div class="pfad">Start › {html.escape(crumbs)} › {html.escape(title)}</div>
<div class="spalten"><div class="inhalt"><h1>{html.escape(title)}</h1>
{content}
</div><div class="rand"><h3>Das könnte Sie auch interessieren</h3><ul>{links}</ul>
<div>Newsletter bestellen und nichts verpassen!</div></div></div>
<div class="fuss">© 2026 Neue Site · Impressum · Datenschutz · Barrierefreiheit</div>
</body></html>
"""


def strip_first_h1(content):
    return re.sub(r"<h1[^>]*>.*?</h1>", "", content, count=1, flags=re.S)


def recode_old(text):
    """A page as an old editor saved it: Windows-1252 with its charset declared."""
    text = re.sub(r'<meta charset="utf-8"\s*/?>',
                  '<meta http-equiv="Content-Type" content="text/html; charset=iso-8859-1">',
                  text, flags=re.I)
    return text.encode("cp1252", "xmlcharrefreplace")


def main():
    kind, source, out = sys.argv[1], sys.argv[2], sys.argv[3]
    base = sys.argv[4] if len(sys.argv) > 4 else "http://127.0.0.1:PORT"
    rng = random.Random(17)
    old_dir, new_dir = os.path.join(out, "old"), os.path.join(out, "new")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(old_dir)
    os.makedirs(new_dir)

    pages = []
    for relative in pages_of(kind, source):
        with open(os.path.join(source, relative), encoding="utf-8") as f:
            text = f.read()
        target = os.path.join(old_dir, relative)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(recode_old(text) if rng.random() < 1 / 3 else text.encode("utf-8"))
        pages.append((relative, title_of(text), main_content(kind, text)))

    # Each page's fate, decided in a fixed order so the sites are the same every time.
    fates = {}
    for index, (relative, _, _) in enumerate(pages):
        roll = rng.random()
        if relative in ("index.html", "index.en.html"):
            fates[relative] = "home"
        elif roll < 0.06:
            fates[relative] = "dropped"
        elif roll < 0.12 and index > 0 and fates.get(pages[index - 1][0]) in ("kept", "retitled"):
            fates[relative] = "merged"
        elif roll < 0.22:
            fates[relative] = "retitled"
        else:
            fates[relative] = "kept"

    new_paths, used = {}, set()
    for relative, title, content in pages:
        fate = fates[relative]
        if fate in ("dropped", "merged"):
            continue
        if fate == "home":
            new_paths[relative] = "index.html"
            continue
        name = slug(retitled(title, content) if fate == "retitled" else title)
        folder = FOLDERS.get(relative.split("/")[0], "allgemein") if "/" in relative else "themen"
        path = f"{folder}/{name}/index.html" if len(name) % 2 else f"{folder}/{name}.html"
        while path in used:
            path = path.replace(".html", "-2.html")
        used.add(path)
        new_paths[relative] = path

    truth, bodies = {}, {}
    owner = None
    for relative, title, content in pages:
        fate = fates[relative]
        if fate == "merged":
            truth[relative] = new_paths[owner]
            bodies[owner][1].append(strip_first_h1(content))
            continue
        if fate == "dropped":
            truth[relative] = None
            continue
        owner = relative
        truth[relative] = new_paths[relative]
        shown = retitled(title, content) if fate == "retitled" else title
        bodies[relative] = (shown, [strip_first_h1(content)])

    titles = [(bodies[r][0], "/" + p.replace("index.html", "")) for r, p in new_paths.items()]
    for relative, (shown, parts) in bodies.items():
        path = new_paths[relative]
        related = rng.sample(titles, min(5, len(titles)))
        crumbs = path.split("/")[0].replace("-", " ").title()
        target = os.path.join(new_dir, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "w", encoding="utf-8") as f:
            f.write(frame(shown, crumbs, "\n".join(parts), related))

    write_sitemaps(new_dir, sorted(new_paths.values()), base)
    with open(os.path.join(out, "truth.json"), "w") as f:
        json.dump(truth, f, indent=1, sort_keys=True)


def write_sitemaps(new_dir, paths, site):
    """robots.txt names a sitemap index, which names a packed and a plain sitemap."""
    base = site + "/"
    addresses = [base + p.replace("index.html", "") for p in paths]
    half = len(addresses) // 2

    def urlset(part):
        entries = "".join(f"<url><loc>{html.escape(a)}</loc></url>\n" for a in part)
        return ('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<urlset xmlns="http://www.sitemaps.org/schemas/sitemap/0.9">\n'
                + entries + "</urlset>\n")

    with gzip.open(os.path.join(new_dir, "karte-1.xml.gz"), "wt", encoding="utf-8") as f:
        f.write(urlset(addresses[:half]))
    with open(os.path.join(new_dir, "karte-2.xml"), "w", encoding="utf-8") as f:
        f.write(urlset(addresses[half:]))
    with open(os.path.join(new_dir, "karten.xml"), "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<sitemapindex xmlns="http://www.sitemaps.org/schemas/sitemap/0.9">\n'
                f"<sitemap><loc>{base}karte-1.xml.gz</loc></sitemap>\n"
                f"<sitemap><loc><![CDATA[{base}karte-2.xml]]></loc></sitemap>\n"
                "</sitemapindex>\n")
    with open(os.path.join(new_dir, "robots.txt"), "w") as f:
        f.write(f"User-agent: *\nDisallow:\n\nSitemap: {base}karten.xml\n")


if __name__ == "__main__":
    main()
