#!/usr/bin/env python3
"""Lists the longest functions of the C++ sources in the folders or files given (default: core ui).

A function is a brace block whose opening follows a parameter list: its length is counted
from the line of its name to the line of its closing brace. Lambdas and local classes count
as part of the function around them. Comments, strings and character literals are skipped,
so braces inside them do not count.

    scripts/function_lengths.py [--top N] [--over LINES] [folder or file ...]
"""
import argparse
import os
import re
import sys

NOT_FUNCTIONS = re.compile(r"\b(class|struct|union|enum|namespace|if|for|while|switch|catch|do|else|try)\b")


def strip(text):
    """The text with comments, strings and character literals blanked, lines kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i)); i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j])); i = j
        elif text.startswith('R"', i):
            m = re.match(r'R"([^(]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j])); i = j
        elif c in "\"'":
            # A digit separator (1'000) is no character literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                out.append(" "); i += 1; continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(" " * (min(j + 1, n) - i)); i = j + 1
        else:
            out.append(c); i += 1
    return "".join(out)


def functions(path):
    text = strip(open(path, encoding="utf-8", errors="replace").read())
    result, depth, stack = [], 0, []  # stack: (is_function, name, start line)
    start_of_statement = 0
    inside = 0  # functions open around this point
    for i, c in enumerate(text):
        if c == "{":
            head = text[start_of_statement:i]
            is_function = False
            name = ""
            if inside == 0 and "(" in head and not NOT_FUNCTIONS.search(head.split("(")[0]):
                m = re.search(r"([~\w:]+(?:operator\S*)?)\s*\(", head)
                if m and m.group(1) not in ("return", "="):
                    is_function = True
                    name = m.group(1)
                    first = head.find(m.group(1))
                    line = text.count("\n", 0, start_of_statement + first) + 1
            if is_function:
                inside += 1
                stack.append((True, name, line))
            else:
                stack.append((False, "", 0))
            start_of_statement = i + 1
        elif c == "}":
            if stack:
                is_function, name, line = stack.pop()
                if is_function:
                    inside -= 1
                    end = text.count("\n", 0, i) + 1
                    result.append((end - line + 1, name, line))
            start_of_statement = i + 1
        elif c == ";":
            start_of_statement = i + 1
        elif c == ":" and inside == 0 and re.search(r"\b(public|private|protected|signals|slots)\s*$", text[start_of_statement:i]):
            start_of_statement = i + 1
    return result


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("folders", nargs="*", default=["core", "ui"])
    ap.add_argument("--top", type=int, default=15, help="how many to list (default 15)")
    ap.add_argument("--over", type=int, default=0, help="list only those longer than this")
    a = ap.parse_args()
    found = []
    for folder in a.folders:
        walked = [(os.path.dirname(folder), None, [os.path.basename(folder)])] if os.path.isfile(folder) else os.walk(folder)
        for root, _, files in walked:
            for f in sorted(files):
                if f.endswith((".cpp", ".h", ".hpp", ".cc")):
                    p = os.path.join(root, f)
                    found += [(n, name, p, line) for n, name, line in functions(p)]
    found.sort(key=lambda x: (-x[0], x[2], x[3]))
    shown = [x for x in found if x[0] > a.over][: a.top if not a.over else None]
    for n, name, p, line in shown:
        print(f"{n:5d}  {p}:{line}  {name}")
    print(f"{len(found)} functions; longest {found[0][0] if found else 0} lines", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
