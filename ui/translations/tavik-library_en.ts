<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>core</name>
    <message>
        <location filename="../../core/constancy.cpp" line="142"/>
        <source>種または測定がない表では常在度表を作成できません。</source>
        <translation>A constancy table needs a table with species and relevés.</translation>
    </message>
    <message>
        <location filename="../../core/constancy.cpp" line="146"/>
        <source>区分が %1 あります。常在度表は %2 区分（区切りの空白列 29 本）までです。空白列を減らしてください。</source>
        <translation>The table has %1 groups. A constancy table takes at most %2 groups (29 blank separator columns). Remove some blank columns.</translation>
    </message>
    <message>
        <location filename="../../core/constancy.cpp" line="149"/>
        <source>　常在度表を作成中　</source>
        <translation>Making the constancy table</translation>
    </message>
</context>
<context>
    <name>formats</name>
    <message>
        <location filename="../../formats/atomic_file.cpp" line="189"/>
        <source>%1 は読み取り専用のファイルです</source>
        <translation>%1 is a read-only file</translation>
    </message>
    <message>
        <location filename="../../formats/atomic_file.cpp" line="210"/>
        <source>%1 は通常のファイルではありません</source>
        <translation>%1 is not a regular file</translation>
    </message>
    <message>
        <location filename="../../formats/byte_source.cpp" line="24"/>
        <source>%1: 行が長すぎます（%2 MB まで）</source>
        <translation>%1: the line is too long (at most %2 MB)</translation>
    </message>
    <message>
        <location filename="../../formats/byte_source.cpp" line="59"/>
        <source>途中で終わっています</source>
        <translation>it ends early</translation>
    </message>
    <message>
        <location filename="../../formats/byte_source.cpp" line="73"/>
        <source>gzip の中身が壊れています</source>
        <translation>the gzip data is damaged</translation>
    </message>
    <message>
        <location filename="../../formats/byte_source.cpp" line="83"/>
        <source>%1 を読み込めません</source>
        <translation>Cannot read %1</translation>
    </message>
    <message>
        <location filename="../../formats/byte_source.cpp" line="124"/>
        <source>zstd の検査値が合いません</source>
        <translation>the zstd checksum does not match</translation>
    </message>
    <message>
        <location filename="../../formats/byte_source.cpp" line="125"/>
        <source>zstd の中身が壊れています</source>
        <translation>the zstd data is damaged</translation>
    </message>
    <message>
        <location filename="../../formats/codec.cpp" line="20"/>
        <source>文字コード変換を開けません: %1 -&gt; %2</source>
        <translation>Cannot open the character conversion: %1 -&gt; %2</translation>
    </message>
    <message>
        <location filename="../../formats/csv_reader.cpp" line="109"/>
        <source>タブ</source>
        <translation>tabs</translation>
    </message>
    <message>
        <location filename="../../formats/csv_reader.cpp" line="109"/>
        <source>セミコロン</source>
        <translation>semicolons</translation>
    </message>
    <message>
        <location filename="../../formats/csv_reader.cpp" line="109"/>
        <source>コンマ</source>
        <translation>commas</translation>
    </message>
    <message>
        <location filename="../../formats/csv_reader.cpp" line="145"/>
        <source>%1: 引用符「&quot;」が閉じないままファイルが終わります</source>
        <translation>%1: the file ends inside a quoted cell (a &quot; is not closed)</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata.cpp" line="227"/>
        <source>読んでいる間に短くなりました</source>
        <translation>it became shorter while being read</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata.cpp" line="370"/>
        <source>%1 は空のファイルです</source>
        <translation>%1 is an empty file</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata.cpp" line="381"/>
        <source>%1 と %2 は組が合っていないか、途中で切れています</source>
        <translation>%1 and %2 do not belong together, or one of them is cut short</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata.cpp" line="398"/>
        <source>索引の測定 %1 がデータファイルの終わりより先を指しています</source>
        <translation>relevé %1 of the index file points past the end of the data file</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata.cpp" line="402"/>
        <source>索引ファイルの大きさが 256 バイトの倍数ではありません</source>
        <translation>the size of the index file is not a multiple of 256 bytes</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata.cpp" line="404"/>
        <source>データファイルの大きさが 512 バイトの倍数ではありません</source>
        <translation>the size of the data file is not a multiple of 512 bytes</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata.h" line="32"/>
        <source>正しいファイルが指定されていません</source>
        <translation>Not a valid pair of field-data files</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="84"/>
        <source>--transliterate で、符号の付いた文字を元の文字にして書けます（á → a, ü → u, ß → ss）</source>
        <translation>--transliterate writes letters with diacritics as their base letters (á → a, ü → u, ß → ss)</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="89"/>
        <source>被度の尺度は --scale で選べます: bb（既定）, bb-extended, percent, londo, domin, ordinal, presence</source>
        <translation>Choose the cover scale with --scale: bb (the default), bb-extended, percent, londo, domin, ordinal, presence</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="164"/>
        <source>%1: 種名「%2」に CP932 で書けない文字があります</source>
        <translation>%1: the species name &quot;%2&quot; has characters that CP932 cannot hold</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="172"/>
        <source>%1: 種名「%2」は %3 バイトで、%4 バイトに収まりません</source>
        <translation>%1: the species name &quot;%2&quot; takes %3 bytes and does not fit into %4 bytes</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="175"/>
        <source>--shorten で、28 バイトを超える種名を略記（subsp. → ssp., var., f.）と切り詰めで縮められます</source>
        <translation>--shorten fits species names longer than 28 bytes by abbreviating (subsp. → ssp., var., f.) and cutting them</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="181"/>
        <source>%1: 種名「%2」と「%3」がどちらも「%4」になります</source>
        <translation>%1: the species names &quot;%2&quot; and &quot;%3&quot; both become &quot;%4&quot;</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="199"/>
        <source>%1: 測定 %2 の %3「%4」に CP932 で書けない文字があります</source>
        <translation>%1: %3 &quot;%4&quot; of relevé %2 has characters that CP932 cannot hold</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="212"/>
        <source>%1: 測定 %2 の %3「%4」が %5 バイトに収まりません</source>
        <translation>%1: %3 &quot;%4&quot; of relevé %2 does not fit into %5 bytes</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="216"/>
        <source>--round-sites で、4 バイトの項目（i08 … i29）の数値を収まる桁に丸められます（139.9 → 140）</source>
        <translation>--round-sites rounds the numbers of the 4-byte items (i08 … i29) to the digits that fit (139.9 → 140)</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="233"/>
        <source>%1: 測定 %2 の %3 が前の行と違います</source>
        <translation>%1: %3 of relevé %2 differs from an earlier line</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="239"/>
        <source>%1: %2 が 1 桁の数字ではありません: %3</source>
        <translation>%1: %2 is not a single digit: %3</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="254"/>
        <source>%1: releve が空です</source>
        <translation>%1: the releve cell is empty</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="260"/>
        <source>%1: 測定 %2 は %3 にありません</source>
        <translation>%1: relevé %2 is not in %3</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="295"/>
        <source>%1: %2 の %3 が二度あります</source>
        <translation>%1: layer %3 of %2 is given twice</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="320"/>
        <source>%1: 「%2」は被度（尺度 %3）ではありません</source>
        <translation>%1: &quot;%2&quot; is not a cover (scale %3)</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="338"/>
        <source>%1: 見出し行がありません</source>
        <translation>%1: there is no heading line</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="342"/>
        <source>%1: releve 列がありません（区切りは%2と読みました）</source>
        <translation>%1: there is no releve column (read as separated by %2)</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="351"/>
        <source>%1: 測定 %2 が二度あります</source>
        <translation>%1: relevé %2 is given twice</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="373"/>
        <source>%1: 見出し行に releve, taxon, layer, cover の列が要ります（区切りは%2と読みました。見出し行は %3 列です）。種 × 測定の表なら --matrix を指定してください</source>
        <translation>%1: the heading line needs the columns releve, taxon, layer and cover (read as separated by %2; the heading line has %3 columns). For a table of species × relevés, give --matrix</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="376"/>
        <source>%1: 見出し行に releve, taxon, layer, cover の列が要ります（区切りは%2と読みました。見出し行は %3 列です）</source>
        <translation>%1: the heading line needs the columns releve, taxon, layer and cover (read as separated by %2; the heading line has %3 columns)</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="390"/>
        <source>%1: taxon が空です</source>
        <translation>%1: the taxon cell is empty</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="399"/>
        <source>%1: 「%2」は階層 T1 T2 S1 S2 H1 H2 M のどれでもありません</source>
        <translation>%1: &quot;%2&quot; is none of the layers T1 T2 S1 S2 H1 H2 M</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="428"/>
        <source>%1: 見出し行が 1 列だけです（区切りは%2と読みました）</source>
        <translation>%1: the heading line has only one column (read as separated by %2)</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="443"/>
        <source>%1: 「%2」が %3 列目と %4 列目にあります</source>
        <translation>%1: &quot;%2&quot; is in column %3 and in column %4</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="456"/>
        <source>%1: 「%2」が %3 行目にもあります</source>
        <translation>%1: &quot;%2&quot; is on line %3 too</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="460"/>
        <source>%1: 見出し行の %2 列より多い %3 列があります</source>
        <translation>%1: %3 columns, more than the %2 of the heading line</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="466"/>
        <source>%1: 種名が空です</source>
        <translation>%1: the species name is empty</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="479"/>
        <source>%1: 見出しのない %2 列目に値「%3」があります</source>
        <translation>%1: column %2 has no heading but holds the value &quot;%3&quot;</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="483"/>
        <source>%1 %2 列目（%3）</source>
        <translation>%1, column %2 (%3)</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="499"/>
        <source>ほか %1 件の問題があります</source>
        <translation>and %1 more problem(s)</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_import.cpp" line="501"/>
        <source>%1 件の問題があるため、何も書いていません:</source>
        <translation>%1 problem(s), so nothing was written:</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="44"/>
        <source>%1: 「%2」に CP932 で書けない文字があります</source>
        <translation>%1: &quot;%2&quot; has characters that CP932 cannot hold</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="54"/>
        <source>%1 の種名</source>
        <translation>the species name of %1</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="54"/>
        <source>%1 の項目 %2</source>
        <translation>item %2 of %1</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="56"/>
        <source>%1: 「%2」が %3 バイトに収まりません</source>
        <translation>%1: &quot;%2&quot; does not fit into %3 bytes</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="108"/>
        <source>見出しの title が空です</source>
        <translation>The title of the header is empty</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="119"/>
        <source>測定 %1</source>
        <translation>relevé %1</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="132"/>
        <source>%1: K と D は 1 桁の数字です</source>
        <translation>%1: K and D must be single digits</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="134"/>
        <source>%1: 種が多すぎます</source>
        <translation>%1: too many species</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="143"/>
        <source>%1: データファイルが大きすぎます</source>
        <translation>%1: the data file becomes too large</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="150"/>
        <source>%1: 名前のない種があります</source>
        <translation>%1: a species has no name</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="163"/>
        <source>%1 の %2 (%3): 「%4」は被度ではありません</source>
        <translation>%2 (%3) in %1: &quot;%4&quot; is not a cover</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="182"/>
        <source>見出しの title</source>
        <translation>the title of the header</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="191"/>
        <source>見出しの項目 %1</source>
        <translation>item %1 of the header</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="217"/>
        <source>見出しレコードが %1 バイトになり、%2 バイトに収まりません: 項目名を合わせて %3 バイト短くしてください。長い名前:</source>
        <translation>The header record takes %1 bytes and does not fit into %2 bytes: shorten the item names by %3 bytes in all. The longest names:</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="221"/>
        <source>%1「%2」%3 バイト</source>
        <translation>%1 &quot;%2&quot; %3 bytes</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="265"/>
        <source>%1: 1 桁の数字ではありません: %2</source>
        <translation>%1: not a single digit: %2</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="329"/>
        <source>%1: 「キー=値」ではありません</source>
        <translation>%1: not of the form &quot;key=value&quot;</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="332"/>
        <source>%1: 「$」は使えません</source>
        <translation>%1: &quot;$&quot; cannot be used</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="345"/>
        <source>%1: 項目名が空です</source>
        <translation>%1: the item name is empty</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="348"/>
        <source>%1: 知らないキーです: %2</source>
        <translation>%1: unknown key: %2</translation>
    </message>
    <message>
        <location filename="../../formats/fielddata_writer.cpp" line="351"/>
        <source>%1: title がありません</source>
        <translation>%1: there is no title</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="12"/>
        <source>容量不足</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="13"/>
        <source>容量の割り当てを超えました</source>
        <translation>the disk quota is exceeded</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="15"/>
        <source>許可がありません</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="16"/>
        <source>読み取り専用の場所です</source>
        <translation>the place is read-only</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="17"/>
        <source>ありません</source>
        <translation>it does not exist</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="18"/>
        <source>途中にフォルダでないものがあります</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="19"/>
        <source>フォルダです</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="20"/>
        <source>名前が長すぎます</source>
        <translation>the name is too long</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="21"/>
        <source>入出力エラー</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="22"/>
        <source>ファイルが大きすぎます</source>
        <translation>the file is too large</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="24"/>
        <source>開いているファイルが多すぎます</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="25"/>
        <source>メモリ不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="26"/>
        <source>シンボリックリンクが循環しています</source>
        <translation>the symbolic links form a loop</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="27"/>
        <source>別のファイルシステムです</source>
        <translation>it is on another file system</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="28"/>
        <source>使用中です</source>
        <translation>it is busy</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="29"/>
        <source>実行中のファイルです</source>
        <translation>it is a running program</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="41"/>
        <source>%1 の %2 行目</source>
        <translation>%1, line %2</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="45"/>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location filename="../../formats/file_error.cpp" line="49"/>
        <source>%1 に書き込めません</source>
        <translation>Cannot write to %1</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="25"/>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="31"/>
        <source>%1 列あります。読み込める表は %2 列までです</source>
        <translation>the table has %1 columns; at most %2 columns can be read</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="33"/>
        <source>表が大きすぎます</source>
        <translation>the table is too large</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="66"/>
        <source>引用符 &quot; が閉じられていません</source>
        <translation>a quote &quot; is not closed</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="109"/>
        <source>%1に改行があります。テキスト形式には書けません（CSV で書き出してください）</source>
        <translation>%1 holds a line break, which a text file cannot hold (export as CSV instead)</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="111"/>
        <source>表題</source>
        <translation>The caption</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="119"/>
        <source>%1 行目の見出し</source>
        <translation>The heading of row %1</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="121"/>
        <source>%1 行 %2 列目のセル</source>
        <translation>The cell in row %1, column %2</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="210"/>
        <source>空のファイルです（1 行目に表題、2 行目から表の行が要ります）</source>
        <translation>the file is empty (it needs the caption on line 1 and the rows of the table from line 2)</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="211"/>
        <source>表の行がありません</source>
        <translation>the table has no rows</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="320"/>
        <source>引用符で囲まれた名前の後に &quot;,&quot; がありません</source>
        <translation>a quoted name is not followed by &quot;,&quot;</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="342"/>
        <source>#S で始まるブロックが #E で閉じられていません（ファイルの終わりまで）</source>
        <translation>a block begun by #S is not closed by #E (up to the end of the file)</translation>
    </message>
    <message>
        <location filename="../../formats/freq_table_files.cpp" line="345"/>
        <source>#S で始まるブロック（%1 行目）が #E の前に &quot;%2&quot; で終わっています</source>
        <translation>the block begun by #S on line %1 ends with &quot;%2&quot; before its #E</translation>
    </message>
    <message>
        <location filename="../../formats/gzip_sink.cpp" line="33"/>
        <source>圧縮できません</source>
        <translation>it cannot be compressed</translation>
    </message>
    <message>
        <location filename="../../formats/input_file.cpp" line="62"/>
        <source>%1 は大きすぎます（%2 MB まで）</source>
        <translation>%1 is too large (at most %2 MB)</translation>
    </message>
    <message>
        <location filename="../../formats/membership_file.cpp" line="44"/>
        <source>%1 に見出し行がありません（releve と group の列が必要です）。</source>
        <translation>%1 has no heading line (it needs the columns releve and group).</translation>
    </message>
    <message>
        <location filename="../../formats/membership_file.cpp" line="56"/>
        <source>%1: 見出しに %2 の列がありません。</source>
        <translation>%1: the heading has no column %2.</translation>
    </message>
    <message>
        <location filename="../../formats/membership_file.cpp" line="57"/>
        <source>releve（測定番号）</source>
        <translation>releve (or 測定番号)</translation>
    </message>
    <message>
        <location filename="../../formats/membership_file.cpp" line="57"/>
        <source>group（群）</source>
        <translation>group (or 群)</translation>
    </message>
    <message>
        <location filename="../../formats/membership_file.cpp" line="66"/>
        <source>%1: 欄が %2 個しかありません（%3 個必要です）。</source>
        <translation>%1: only %2 fields (%3 are needed).</translation>
    </message>
    <message>
        <location filename="../../formats/membership_file.cpp" line="69"/>
        <source>%1: 群が空欄です。</source>
        <translation>%1: the group is empty.</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="150"/>
        <source>被度の値 %1 は保存できません（種 %2、列 %3）</source>
        <translation>The cover value %1 cannot be saved (species %2, column %3)</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="170"/>
        <source>　組成表を保存中　</source>
        <translation>Saving the composition table</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="172"/>
        <source>組成表の保存を中止しました</source>
        <translation>Saving the composition table was stopped</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="196"/>
        <source>被度</source>
        <translation>covers</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="237"/>
        <source>種</source>
        <translation>species</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="361"/>
        <source>種数・測定数・固定行数の3つの整数がありません</source>
        <translation>the three numbers of species, relevés and fixed rows are missing</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="400"/>
        <source>　組成表を読込中　</source>
        <translation>Reading the composition table</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="402"/>
        <source>%1 の読込を中止しました</source>
        <translation>Reading %1 was stopped</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="410"/>
        <source>ファイルが途中で終わっています（%1 行必要）</source>
        <translation>the file ends early (%1 lines are needed)</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="430"/>
        <source>固定行数 %1 が 2～31 の範囲にありません</source>
        <translation>the number of fixed rows, %1, is not between 2 and 31</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="437"/>
        <source>種数 %1・測定数 %2 がファイルの大きさに合いません</source>
        <translation>%1 species and %2 relevés do not match the size of the file</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="473"/>
        <source>被度の行が短すぎます（%1 文字必要、%2 文字）</source>
        <translation>the cover line is too short (%1 characters needed, %2 found)</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="485"/>
        <source>%1 文字目: 被度の文字が「0」より小さい値です</source>
        <translation>character %1: the cover character is below &quot;0&quot;</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="519"/>
        <source>列番号 0～%1 の行ではありません</source>
        <translation>not the line of column numbers 0 to %1</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="533"/>
        <source>先頭の欄が項目番号（1～30）ではありません</source>
        <translation>the first field is not an item number (1 to 30)</translation>
    </message>
    <message>
        <location filename="../../formats/saved_table.cpp" line="610"/>
        <source>%1 は UTF-8 で書きました（「%2」に CP932 で書けない文字があります）</source>
        <translation>%1 was written in UTF-8 (&quot;%2&quot; has characters that CP932 cannot hold)</translation>
    </message>
    <message>
        <location filename="../../formats/text_lines.cpp" line="44"/>
        <source>%1: 文字コードが CP932 でも UTF-8 でもありません</source>
        <translation>%1: the text is neither CP932 nor UTF-8</translation>
    </message>
    <message>
        <location filename="../../formats/text_lines.cpp" line="48"/>
        <source>%1 は UTF-16 で書かれています（CP932 か UTF-8 で保存してください）</source>
        <translation>%1 is written in UTF-16 (save it as CP932 or UTF-8)</translation>
    </message>
    <message>
        <location filename="../../formats/workspace.cpp" line="318"/>
        <source>%1：この設定ファイルは使わずに読込みました</source>
        <translation>%1: the table was read without this settings file</translation>
    </message>
    <message>
        <location filename="../../formats/workspace.cpp" line="335"/>
        <source>メモリが足りません</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <location filename="../../formats/zstd_sink.cpp" line="43"/>
        <source>圧縮できません: %1</source>
        <translation>it cannot be compressed: %1</translation>
    </message>
</context>
<context>
    <name>output</name>
</context>
</TS>
