#!/usr/bin/env python3
"""Turns one context of a Qt Linguist file into the C++ table tavik-cli reads its English
texts from (cli/messages.h), so that tavik-cli needs no Qt.

usage: ts_to_cpp.py FILE.ts CONTEXT OUT.cpp

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
    if len(sys.argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    ts_path, context, out_path = sys.argv[1:]
    pairs = {}
    for ctx in ET.parse(ts_path).getroot().iter('context'):
        if (ctx.findtext('name') or '') != context:
            continue
        for message in ctx.iter('message'):
            source = message.findtext('source') or ''
            tr = message.find('translation')
            if tr is None or tr.get('type') in ('unfinished', 'vanished', 'obsolete'):
                continue
            pairs[source] = tr.text or ''
    rows = sorted(pairs.items(), key=lambda p: p[0].encode('utf-8'))
    lines = ['// Generated from %s by scripts/ts_to_cpp.py: do not edit.' % ts_path.rsplit('/', 1)[-1],
             '#include "cli/messages.h"', '', 'namespace tavik::cli {', '',
             'const Translation kEnglishMessages[] = {']
    for source, english in rows:
        lines.append('    {%s,\n     %s},' % (literal(source), literal(english)))
    if not rows:
        lines.append('    {"", ""},')
    lines += ['};', 'const std::size_t kEnglishMessageCount = %d;' % len(rows), '',
              '}  // namespace tavik::cli', '']
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
