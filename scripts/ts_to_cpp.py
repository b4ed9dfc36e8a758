#!/usr/bin/env python3
"""Turns contexts of a Qt Linguist file into a C++ table of English texts, for the parts of
the program that have no Qt: tavik-cli (cli/messages.h) and the library (core/messages.h).

usage: ts_to_cpp.py FILE.ts CONTEXT[,CONTEXT...] OUT.cpp [HEADER NAMESPACE TABLE]

HEADER, NAMESPACE and TABLE default to tavik-cli's: cli/messages.h, tavik::cli and
kCliEnglish; the table's length is TABLE + "Count".
A source text given two different translations in the contexts is refused.

Unfinished, vanished and obsolete translations are left out: the program then prints the
source text, and the translation check (check_translations.py) fails on them."""
import sys
import xml.etree.ElementTree as ET


def literal(text: str) -> str:
    out = ['"']
    for ch in text:
        if ch == '\\':
            out.append('\\\\')
        elif ch == '"':
            out.append('\\"')
        elif ch == '\n':
            out.append('\\n')
        elif ch == '\t':
            out.append('\\t')
        elif ord(ch) < 0x20:
            out.append('\\%03o' % ord(ch))
        else:
            out.append(ch)
    out.append('"')
    return ''.join(out)


def main() -> int:
    if len(sys.argv) not in (4, 7):
        sys.stderr.write(__doc__)
        return 2
    ts_path, contexts, out_path = sys.argv[1:4]
    header, namespace, table = sys.argv[4:7] if len(sys.argv) == 7 else (
        'cli/messages.h', 'tavik::cli', 'kCliEnglish')
    count = table + 'Count'
    wanted = set(contexts.split(','))
    pairs = {}
    for ctx in ET.parse(ts_path).getroot().iter('context'):
        if (ctx.findtext('name') or '') not in wanted:
            continue
        for message in ctx.iter('message'):
            source = message.findtext('source') or ''
            tr = message.find('translation')
            if tr is None or tr.get('type') in ('unfinished', 'vanished', 'obsolete'):
                continue
            english = tr.text or ''
            if pairs.get(source, english) != english:
                sys.stderr.write('%s: "%s" has two translations\n' % (ts_path, source))
                return 1
            pairs[source] = english
    rows = sorted(pairs.items(), key=lambda p: p[0].encode('utf-8'))
    lines = ['// Generated from %s by scripts/ts_to_cpp.py: do not edit.' % ts_path.rsplit('/', 1)[-1],
             '#include "%s"' % header, '', 'namespace %s {' % namespace, '',
             'const Translation %s[] = {' % table]
    for source, english in rows:
        lines.append('    {%s,\n     %s},' % (literal(source), literal(english)))
    if not rows:
        lines.append('    {"", ""},')
    lines += ['};', 'const std::size_t %s = %d;' % (count, len(rows)), '',
              '}  // namespace %s' % namespace, '']
    text = '\n'.join(lines)
    try:
        with open(out_path, encoding='utf-8') as f:
            if f.read() == text:
                return 0
    except OSError:
        pass
    with open(out_path, 'w', encoding='utf-8') as f:
        f.write(text)
    return 0


if __name__ == '__main__':
    sys.exit(main())
