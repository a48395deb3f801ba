#!/usr/bin/env python3
"""Scores a suggested mapping against the answer key of restructure_site.py.

    evaluate_suggestions.py TRUTH CSV BASE_URL NAME

Prints recall (old pages with a counterpart that got it as their suggestion),
precision (suggested addresses that are right), the share of right "sicher"
verdicts and of dropped pages that ended "kein Treffer"; fails below the
targets.
"""
import csv
import json
import sys

TARGETS = {"recall": 0.95, "sure": 0.99, "dropped": 0.6}


def main():
    truth_path, csv_path, base, name = sys.argv[1:5]
    with open(truth_path) as f:
        truth = json.load(f)
    with open(csv_path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    assert rows[0] == ["alte Datei", "neue URL", "Urteil", "Wert", "zweite URL"], rows[0]
    suggested = {row[0]: (row[1], row[2], float(row[3])) for row in rows[1:]}
    assert set(suggested) == set(truth), "every old page needs one line"

    def expected(path):
        target = truth[path]
        return None if target is None else base + "/" + target.replace("index.html", "")

    kept = [p for p in truth if truth[p] is not None]
    dropped = [p for p in truth if truth[p] is None]
    right = sum(suggested[p][0] == expected(p) for p in kept)
    given = [p for p in truth if suggested[p][0]]
    given_right = sum(suggested[p][0] == expected(p) for p in given)
    sure = [p for p in truth if suggested[p][1] == "sicher"]
    sure_right = sum(suggested[p][0] == expected(p) for p in sure)
    none = sum(suggested[p][1] == "kein Treffer" for p in dropped)
    assert all(suggested[p][0] == "" for p in truth if suggested[p][1] == "kein Treffer")

    figures = {
        "recall": right / len(kept) if kept else 1.0,
        "precision": given_right / len(given) if given else 1.0,
        "sure": sure_right / len(sure) if sure else 1.0,
        "dropped": none / len(dropped) if dropped else 1.0,
    }
    print(f"{name}: {len(truth)} alte Seiten, {len(kept)} mit Gegenstück, {len(dropped)} entfallen; "
          f"Recall {figures['recall']:.3f}, Präzision {figures['precision']:.3f}, "
          f"sicher {len(sure)} davon richtig {figures['sure']:.3f}, "
          f"entfallen als kein Treffer {none}/{len(dropped)}")
    for p in sorted(kept):
        if suggested[p][0] != expected(p):
            print(f"  verfehlt: {p} -> {suggested[p][0] or '-'} ({suggested[p][1]}, "
                  f"{suggested[p][2]}), erwartet {expected(p)}")
    for p in sorted(dropped):
        if suggested[p][1] != "kein Treffer":
            print(f"  entfallen, doch vorgeschlagen: {p} -> {suggested[p][0]} "
                  f"({suggested[p][1]}, {suggested[p][2]})")
    failed = [k for k, target in TARGETS.items() if figures[k] < target]
    if failed:
        print(f"{name}: unter dem Ziel: {', '.join(failed)}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
