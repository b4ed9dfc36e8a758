#!/usr/bin/env python3
"""The translation check, run by ctest: fails (exit 1, one line per fault) when

  - a source text in a .ts file under ui/translations/ has no English translation, or its
    translation is marked unfinished, or is marked vanished/obsolete while a checked source
    file still uses the text;
  - a translation loses or adds a place marker (%1 ... %9) of its source text;
  - a checked source file passes a text to the translation system (tr, Tr, TrNoop,
    QT_TR_NOOP, QT_TRANSLATE_NOOP, translate) that its .ts file does not translate: the
    library's (core/, formats/, output/) is tavik-library_en.ts, tavik-cli's (cli/)
    tavik-cli_en.ts, the desktop program's tavik_en.ts;
  - a checked source file holds a Japanese string literal outside those calls: a text the
    user would read in Japanese whatever the language. A literal that is data rather than
    interface (a key of a file format, say) is let through by the comment
    "// data, not interface" on its line, and a text written in both languages at once
    (the language menu's names, say) by "// the same in every language"; the note may also
    stand alone on the line above, for the literals of the statement that follows it (up to
    its ";").

usage: check_translations.py [SOURCE_ROOT]

The checked source files are listed below, one by one. Every .cpp and .h file under ui/ and
print/ that holds a Japanese string literal must be among them: the check fails on one that is
not, so that no window file is forgotten."""
import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

CHECKED_SOURCES = [
    # the library (contexts "core", "formats" and "output" of tavik-library_en.ts)
    'core/cell_order.h',
    'core/classification.cpp',
    'core/classification.h',
    'core/condition_matcher.cpp',
    'core/condition_matcher.h',
    'core/constancy.cpp',
    'core/constancy.h',
    'core/cover_edit.cpp',
    'core/cover_edit.h',
    'core/cover_number.cpp',
    'core/cover_number.h',
    'core/covers.cpp',
    'core/covers.h',
    'core/cp932_width.cpp',
    'core/cp932_width.h',
    'core/dictionary.cpp',
    'core/dictionary.h',
    'core/fidelity.cpp',
    'core/fidelity.h',
    'core/flat_key_table.h',
    'core/freq_table.cpp',
    'core/freq_table.h',
    'core/header_texts.cpp',
    'core/header_texts.h',
    'core/headings.cpp',
    'core/headings.h',
    'core/hiding.cpp',
    'core/hiding.h',
    'core/item_selection.cpp',
    'core/item_selection.h',
    'core/language.cpp',
    'core/language.h',
    'core/messages.cpp',
    'core/messages.h',
    'core/ordered_chunks.cpp',
    'core/ordered_chunks.h',
    'core/progress.h',
    'core/reciprocal_averaging.cpp',
    'core/reciprocal_averaging.h',
    'core/releve_tally.cpp',
    'core/releve_tally.h',
    'core/retrieval.cpp',
    'core/retrieval.h',
    'core/retrieval_passes.h',
    'core/retrieval_put.cpp',
    'core/retrieval_scan.cpp',
    'core/search.cpp',
    'core/search.h',
    'core/sorting.cpp',
    'core/sorting.h',
    'core/step_threads.cpp',
    'core/step_threads.h',
    'core/table.cpp',
    'core/table.h',
    'core/table_axis.h',
    'core/table_changes.cpp',
    'core/table_changes.h',
    'core/table_fidelity.cpp',
    'core/table_fidelity.h',
    'core/table_undo.cpp',
    'core/table_view.cpp',
    'core/text_edit.cpp',
    'core/text_edit.h',
    'formats/atomic_file.cpp',
    'formats/atomic_file.h',
    'formats/byte_sink.h',
    'formats/byte_source.cpp',
    'formats/byte_source.h',
    'formats/codec.cpp',
    'formats/codec.h',
    'formats/cover_scales.cpp',
    'formats/cover_scales.h',
    'formats/csv_field.h',
    'formats/csv_reader.cpp',
    'formats/csv_reader.h',
    'formats/dictionary_file.cpp',
    'formats/dictionary_file.h',
    'formats/fidelity_csv.cpp',
    'formats/fidelity_csv.h',
    'formats/fielddata.cpp',
    'formats/fielddata.h',
    'formats/fielddata_import.cpp',
    'formats/fielddata_import.h',
    'formats/fielddata_writer.cpp',
    'formats/fielddata_writer.h',
    'formats/file_bytes.cpp',
    'formats/file_bytes.h',
    'formats/file_error.cpp',
    'formats/file_error.h',
    'formats/freq_table_files.cpp',
    'formats/freq_table_files.h',
    'formats/gzip_sink.cpp',
    'formats/gzip_sink.h',
    'formats/ini_file.cpp',
    'formats/ini_file.h',
    'formats/input_file.cpp',
    'formats/input_file.h',
    'formats/language_setting.cpp',
    'formats/language_setting.h',
    'formats/membership_file.cpp',
    'formats/membership_file.h',
    'formats/name_fitting.cpp',
    'formats/name_fitting.h',
    'formats/saved_table.cpp',
    'formats/saved_table.h',
    'formats/text_lines.cpp',
    'formats/text_lines.h',
    'formats/workspace.cpp',
    'formats/workspace.h',
    'formats/workspace_data.cpp',
    'formats/zstd_sink.cpp',
    'formats/zstd_sink.h',
    'output/freq_table_sheet.cpp',
    'output/freq_table_sheet.h',
    'output/layout_common.cpp',
    'output/layout_common.h',
    'output/line_sink.h',
    'output/matrix.cpp',
    'output/matrix.h',
    'output/options.cpp',
    'output/options.h',
    'output/output_file.cpp',
    'output/output_file.h',
    'output/outputs.cpp',
    'output/outputs.h',
    'output/print_layout.cpp',
    'output/print_layout.h',
    'output/site_exports.cpp',
    'output/site_exports.h',
    'output/spreadsheet.cpp',
    'output/spreadsheet.h',
    'output/text_layout.cpp',
    'output/text_layout.h',
    # tavik-cli (context "tavik-cli" of ui/translations/tavik-cli_en.ts)
    'cli/args.cpp',
    'cli/cmd_analysis.cpp',
    'cli/cmd_classify.cpp',
    'cli/cmd_fidelity.cpp',
    'cli/cmd_fielddata.cpp',
    'cli/cmd_output.cpp',
    'cli/cmd_retrieve.cpp',
    'cli/cmd_table.cpp',
    'cli/fidelity_flags.cpp',
    'cli/main.cpp',
    'cli/messages.cpp',
    'cli/print_pdf.cpp',
    'cli/print_pdf_relay.cpp',
    'cli/summary.cpp',
    'cli/table_output.cpp',
    # the desktop program (context: the class, or the name given to translate())
    'ui/about_box.cpp',
    'ui/analysis_controller.cpp',
    'ui/application.cpp',
    'ui/classification_controller.cpp',
    'ui/classification_panel.cpp',
    'ui/constancy_panel.cpp',
    'ui/cover_dialog.cpp',
    'ui/data_sources.cpp',
    'ui/dendrogram_window.cpp',
    'ui/editing_controller.cpp',
    'ui/file_controller.cpp',
    'ui/freq_window.cpp',
    'ui/grid_pointer.cpp',
    'ui/grid_widget.cpp',
    'ui/main.cpp',
    'ui/main_menu.cpp',
    'ui/main_window.cpp',
    'ui/main_window_files.cpp',
    'ui/main_window_grid.cpp',
    'ui/main_window_menus.cpp',
    'ui/manual.cpp',
    'ui/output_controller.cpp',
    'ui/output_panel.cpp',
    'ui/panels.cpp',
    'ui/qt_text.h',
    'ui/range_controller.cpp',
    'ui/recovery.cpp',
    'ui/retrieval_controller.cpp',
    'ui/retrieval_panel.cpp',
    'ui/status_line.cpp',
    'ui/table_history.cpp',
    'ui/user_dialogs.cpp',
    'ui/work_message.cpp',
    # the printer device, shared by the desktop program and tavik-pdf
    'print/printer_device.cpp',
    'print/table_font.cpp',
]

# The folders whose every file with a Japanese text must be listed above.
LISTED_FOLDERS = ('ui', 'print')

CALL = re.compile(r'(?:\b(?:tr|Tr|TrNoop|QT_TR_NOOP)\s*\(\s*'
                  r'|\b(?:translate|QT_TRANSLATE_NOOP)\s*\(\s*\x00\d+\x00\s*,\s*)$')
JAPANESE = re.compile('[\u3000-\u30ff\u3400-\u9fff\uf900-\ufaff\uff00-\uffef]')
MARKER = re.compile(r'%[1-9]')
TS_OF_FOLDER = {'core': 'tavik-library_en.ts', 'formats': 'tavik-library_en.ts',
                'output': 'tavik-library_en.ts', 'cli': 'tavik-cli_en.ts'}
DESKTOP_TS = 'tavik_en.ts'
DATA_NOTES = ('// data, not interface', '// the same in every language')

ESCAPES = {'n': b'\n', 't': b'\t', 'r': b'\r', '\\': b'\\', '"': b'"', "'": b"'", '?': b'?',
           'a': b'\a', 'b': b'\b', 'f': b'\f', 'v': b'\v', '0': b'\0'}


def unescape(body: str) -> str:
    out = bytearray()
    i = 0
    while i < len(body):
        c = body[i]
        if c != '\\':
            out += c.encode('utf-8')
            i += 1
            continue
        n = body[i + 1]
        if n == 'x':
            m = re.match(r'[0-9a-fA-F]+', body[i + 2:])
            out.append(int(m.group(0), 16) & 0xFF)
            i += 2 + len(m.group(0))
        elif n in '01234567':
            m = re.match(r'[0-7]{1,3}', body[i + 1:])
            out.append(int(m.group(0), 8) & 0xFF)
            i += 1 + len(m.group(0))
        else:
            out += ESCAPES.get(n, n.encode('utf-8'))
            i += 2
    return out.decode('utf-8', errors='replace')


def literals(text: str):
    """The string literals of a C++ source, adjacent ones joined: (value, line, text before
    it with comments dropped and earlier literals as \\0N\\0, the line's own text)."""
    lines = text.split('\n')
    skeleton = []
    groups = []  # [value, line, skeleton length at start]
    i = 0
    line = 1
    last_was_string = False
    while i < len(text):
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            i = len(text) if j < 0 else j
            continue
        if text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = len(text) if j < 0 else j + 2
            line += text.count('\n', i, j)
            skeleton.append(' ')
            i = j
            continue
        m = re.match(r'(?:u8|u|U|L)?R"([^(\s]*)\(', text[i:])
        if m and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            end = text.find(')' + m.group(1) + '"', i + m.end())
            value = text[i + m.end():end]
            stop = end + len(m.group(1)) + 2
        else:
            m = re.match(r'(?:u8|u|U|L)?"', text[i:])
            if not (m and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_') or m.group(0) != '"')):
                m = None
            if m is None:
                if c == "'":
                    j = i + 1
                    while j < len(text) and text[j] != "'":
                        j += 2 if text[j] == '\\' else 1
                    skeleton.append(text[i:j + 1])
                    i = j + 1
                    last_was_string = False
                    continue
                if c == '\n':
                    line += 1
                if not c.isspace():
                    last_was_string = False
                skeleton.append(c)
                i += 1
                continue
            j = i + m.end()
            while text[j] != '"':
                j += 2 if text[j] == '\\' else 1
            value = unescape(text[i + m.end():j])
            stop = j + 1
        if last_was_string:
            groups[-1][0] += value
        else:
            groups.append([value, line, len(''.join(skeleton))])
            skeleton.append('\x00%d\x00' % (len(groups) - 1))
        line += text.count('\n', i, stop)
        i = stop
        last_was_string = True
    flat = ''.join(skeleton)
    noted_until = {}  # line of a note standing alone -> last line of the statement after it
    for n, text_line in enumerate(lines, start=1):
        if text_line.strip().startswith('//') and any(note in text_line for note in DATA_NOTES):
            end = n + 1
            while end < len(lines) and ';' not in lines[end - 1].split('//')[0]:
                end += 1
            noted_until[n] = end
    for value, at, start in groups:
        own = lines[at - 1] if at - 1 < len(lines) else ''
        if any(n < at <= end for n, end in noted_until.items()):
            own += ' ' + DATA_NOTES[0]
        yield value, at, flat[:start], own


def main() -> int:
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent
    faults = []
    translated = {}   # .ts file name -> {source text -> translation (finished ones)}
    retired = {}      # source text -> where it is marked vanished/obsolete
    ts_files = sorted((root / 'ui' / 'translations').glob('*.ts'))
    if not ts_files:
        faults.append('ui/translations: no .ts file')
    for ts in ts_files:
        rel = ts.relative_to(root)
        for context in ET.parse(ts).getroot().iter('context'):
            name = context.findtext('name') or ''
            for message in context.iter('message'):
                source = message.findtext('source') or ''
                tr = message.find('translation')
                kind = None if tr is None else tr.get('type')
                where = '%s: [%s] "%s"' % (rel, name, source.replace('\n', '\\n')[:80])
                if kind in ('vanished', 'obsolete'):
                    retired[source] = where
                    continue
                if tr is None or not (tr.text or '').strip():
                    faults.append(where + ': no English translation')
                    continue
                if kind == 'unfinished':
                    faults.append(where + ': the translation is marked unfinished')
                    continue
                if sorted(MARKER.findall(source)) != sorted(MARKER.findall(tr.text)):
                    faults.append(where + ': the translation does not keep the place markers %1...%9 of its source')
                translated.setdefault(ts.name, {})[source] = tr.text
    for rel in CHECKED_SOURCES:
        path = root / rel
        if not path.exists():
            faults.append(rel + ': listed as checked but not there')
            continue
        ts_name = TS_OF_FOLDER.get(rel.split('/', 1)[0], DESKTOP_TS)
        own = translated.get(ts_name, {})
        for value, line, before, own_line in literals(path.read_text(encoding='utf-8')):
            where = '%s:%d: "%s"' % (rel, line, value.replace('\n', '\\n')[:60])
            if CALL.search(before):
                if value in own:
                    continue
                if value in retired:
                    faults.append(where + ': used, but its translation is marked obsolete (' + retired[value] + ')')
                else:
                    faults.append(where + ': ui/translations/%s does not translate it' % ts_name)
            elif JAPANESE.search(value) and not any(note in own_line for note in DATA_NOTES):
                faults.append(where + ': a Japanese text that bypasses the translation system')
    listed = set(CHECKED_SOURCES)
    for folder in LISTED_FOLDERS:
        for path in sorted((root / folder).rglob('*')):
            rel = path.relative_to(root).as_posix()
            if path.suffix not in ('.cpp', '.h') or rel in listed:
                continue
            for value, line, _before, _own in literals(path.read_text(encoding='utf-8')):
                if JAPANESE.search(value):
                    faults.append('%s:%d: "%s": a file with Japanese texts that the check does not list'
                                  % (rel, line, value.replace('\n', '\\n')[:60]))
                    break
    for f in faults:
        print(f)
    if faults:
        print('%d translation fault(s)' % len(faults))
        return 1
    print('translations: %d texts, %d checked source files'
          % (sum(len(t) for t in translated.values()), len(CHECKED_SOURCES)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
