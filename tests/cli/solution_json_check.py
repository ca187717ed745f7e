"""Checks a document of `kestrovale-cli solve --json`: it is valid against the
schema, and every move of its tree stands in its text in the tree's order.
Prints what it counted ("moves=N", "twins=N", per phase "setPlay=N", ...,
"lines=N", "letters=N", "duals=N") one per line; exits 1 on a fault.

usage: solution_json_check.py SCHEMA DOCUMENT"""
import json
import sys

import jsonschema


def walk_line(line, out):
    for m in line["replies"]:
        out.append(m)
    if line["answer"] is not None:
        out.append(line["answer"])
    out.extend(line["duals"])
    for t in line["threat"]["moves"]:
        walk_line(t, out)
    for v in line["variations"]:
        walk_line(v, out)


def ordered_moves(doc):
    """The headings and moves of the tree in the order the text shows them."""
    items = []
    for twin in doc["twins"]:
        if twin["heading"] is not None:
            items.append({"text": twin["heading"], "to": None})
        for run in twin["runs"]:
            for phase in run["phases"]:
                for play in phase["plays"]:
                    if play["move"] is not None:
                        items.append(play["move"])
                    # A series mover's line: the series, then the last moves.
                    items.extend(play.get("series", []))
                    items.extend(play.get("finals", []))
                    for t in play["threat"]["moves"]:
                        walk_line(t, items)
                    for v in play["variations"]:
                        walk_line(v, items)
                    if play["refutation"] is not None:
                        items.extend(play["refutation"]["moves"])
    return items


def check_order(doc):
    """A further move of the same man is written "/" and its destination."""
    text, at, faults = doc["text"], 0, []
    for item in ordered_moves(doc):
        hit = text.find(item["text"], at)
        if item["to"] is not None:
            other = text.find("/" + item["to"], at)
            if other != -1 and (hit == -1 or other < hit):
                hit = other
        if hit == -1:
            faults.append("'%s' is not in the text after offset %d" % (item["text"], at))
            break
        at = hit + 1
    return faults


def count(doc):
    counts = {"moves": len(ordered_moves(doc)), "twins": len(doc["twins"]),
              "lines": 0, "letters": 0, "duals": 0}
    for m in ("setPlay", "try", "test", "solution"):
        counts[m] = 0

    def line_counts(line):
        counts["duals"] += len(line["duals"])
        for m in line["replies"] + [line["answer"]] + line["duals"]:
            if m["letter"] is not None:
                counts["letters"] += 1
        for sub in line["threat"]["moves"] + line["variations"]:
            line_counts(sub)

    for twin in doc["twins"]:
        for run in twin["runs"]:
            for phase in run["phases"]:
                counts[phase["phase"]] += len(phase["plays"])
                for play in phase["plays"]:
                    counts["lines"] += len(play.get("lines", []))
                    for sub in play["threat"]["moves"] + play["variations"]:
                        line_counts(sub)
    return counts


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    with open(sys.argv[2], encoding="utf-8") as f:
        doc = json.load(f)
    validator = jsonschema.Draft202012Validator(schema)
    faults = ["schema: %s at %s" % (e.message, "/".join(map(str, e.path)))
              for e in validator.iter_errors(doc)]
    if not faults:
        faults = check_order(doc)
    for fault in faults:
        print("FAULT " + fault)
    if faults:
        return 1
    for key, value in count(doc).items():
        print("%s=%d" % (key, value))
    return 0


if __name__ == "__main__":
    sys.exit(main())
