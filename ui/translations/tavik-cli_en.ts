<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>tavik-cli</name>
    <message>
        <location filename="../../cli/args.cpp" line="119"/>
        <source>%1 がありません（設定ファイル）</source>
        <translation>%1 is not there (settings file)</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_analysis.cpp" line="28"/>
        <source>%1（置き換えるには --force）</source>
        <translation>%1 (--force replaces it)</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_analysis.cpp" line="66"/>
        <source>反復回数: %1</source>
        <translation>Iterations: %1</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_analysis.cpp" line="126"/>
        <source>常在度表</source>
        <translation> constancy table</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_classify.cpp" line="58"/>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <location filename="../../cli/cmd_classify.cpp" line="59"/>
        <source> ほか %1 個</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_classify.cpp" line="60"/>
        <source>範囲と変換方法で種が残らない測定 %1 個を距離から除きました: %2</source>
        <translation>Left %1 relevés out of the distances, which have no species left in the range with this transformation: %2</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_classify.cpp" line="133"/>
        <source>K	忠実な種</source>
        <translation>K	faithful species</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_classify.cpp" line="141"/>
        <source>群の数 %1 はどれも測定の数 %2 を超えています。</source>
        <translation>Every number of groups in %1 exceeds the number of relevés, %2.</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_classify.cpp" line="144"/>
        <source>忠実な種が最も多い群の数: %1（%2 種）</source>
        <translation>Number of groups with the most faithful species: %1 (%2 species)</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_classify.cpp" line="147"/>
        <source>群の数 %1 は、分類した測定の数 %2 を超えています。表は変更していません。</source>
        <translation>The number of groups, %1, exceeds the number of relevés classified, %2. The table is unchanged.</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_classify.cpp" line="168"/>
        <source>どの群にも入らない測定 %1 個を最後の群に置きました。</source>
        <translation>Put %1 relevés that belong to no group into the last group.</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_classify.cpp" line="212"/>
        <source>群の割り当てのない測定 %1 個を最後の群に置きました。</source>
        <translation>Put %1 relevés without a group assignment into the last group.</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_fielddata.cpp" line="22"/>
        <source>被度（尺度 %1）:</source>
        <translation>Covers (scale %1):</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_fielddata.cpp" line="26"/>
        <source>被度 0 の行 %1 件は不在としてとばしました</source>
        <translation>Skipped %1 lines with cover 0 as absences</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_fielddata.cpp" line="28"/>
        <source>種名 %1 件を書き換えました（対応表: %2）:</source>
        <translation>Rewrote %1 species names (name map: %2):</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_fielddata.cpp" line="32"/>
        <source>地点の値 %1 件を書き換えました:</source>
        <translation>Rewrote %1 site values:</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_fielddata.cpp" line="36"/>
        <source>測定 %1 の %2: %3 → %4</source>
        <translation>relevé %1, %2: %3 → %4</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_fielddata.cpp" line="114"/>
        <source>測定 %1 件を書きました: %2</source>
        <translation>Wrote %1 relevés: %2</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_output.cpp" line="147"/>
        <source>出現頻度の列はありません: 測定の範囲 %1 に種のある測定がありません</source>
        <translation>no frequency column: no relevé in the range %1 has species</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_output.cpp" line="152"/>
        <source>出現１回の種 %1 種は出力されていません（--once で一覧を付けます）</source>
        <translation>%1 species occurring once are not in the output (--once adds a list of them)</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_retrieve.cpp" line="41"/>
        <source>%1 レコード %2  %3 件</source>
        <translation>%1 record %2  %3 found</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_retrieve.cpp" line="136"/>
        <source>%1 がありません（異名辞書）</source>
        <translation>%1 is not there (synonym dictionary)</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_retrieve.cpp" line="155"/>
        <source>抽出中</source>
        <translation>Retrieving</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_retrieve.cpp" line="158"/>
        <source>抽出数＝%1（調べた測定 %2 件）</source>
        <translation>Retrieved: %1 (of %2 relevés examined)</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_retrieve.cpp" line="161"/>
        <source>表へ組み込み中</source>
        <translation>Putting into the table</translation>
    </message>
    <message>
        <location filename="../../cli/cmd_retrieve.cpp" line="177"/>
        <source>組み込んだ測定 %1 件</source>
        <translation>Relevés put into the table: %1</translation>
    </message>
    <message>
        <location filename="../../cli/main.cpp" line="20"/>
        <source>usage:
  tavik-cli info TABLE.vtb
  tavik-cli sort species|releves TABLE.vtb -o OUT.vtb [--range FIRST-LAST] [--ascending]
            [--ini SETTINGS.ini] [--force]
  tavik-cli retrieve DATA.tki [-o TABLE.vtb] [--ini SETTINGS.ini] [--dict FILE.dic]...
            [--species NAME[:CLASS[:CONNECTIVE]]]... [--mesh PREFIX] [--records FIRST-LAST]
            [--into EXISTING.vtb] [--title TITLE] [--force]
  tavik-cli make-fielddata LONG.csv HEADER.txt -o DATA.tki [--sites SITES.csv] [--scale SCALE]
            [--r-below PERCENT] [--transliterate] [--shorten] [--round-sites] [--force]
  tavik-cli make-fielddata --matrix MATRIX.csv HEADER.txt -o DATA.tki [--layer H1] [--transpose]
            [...the options of the long form]
            SCALE: bb, bb-extended, percent, londo, domin, ordinal, presence
  tavik-cli ra TABLE.vtb [--dominance] [--scores SCORES.csv] [-o OUT.vtb] [--ini SETTINGS.ini]
            [--encoding cp932|utf-8] [--force]
  tavik-cli constancy TABLE.vtb (--csv OUT.csv | --text OUT.txt | --xlsx OUT.xlsx)...
            [--kind 0-4] [--blank] [--fidelity] [--no-equalize] [--threshold 30]
            [--alpha 0.05|none] [--order table|diagnostic] [--title TITLE]
            [--ini SETTINGS.ini] [--encoding cp932|utf-8] [--force]
  tavik-cli export text|xlsx|matrix|pcord|plot|gps|mesh TABLE.vtb -o OUT [--ini S.ini]
            [--items N,N,...] [--species FIRST-LAST] [--releves FIRST-LAST] [--frequency]
            [--once] [--method 0-6] [--rows species|releves] [--title TITLE]
            [--encoding cp932|utf-8] [--force]
  tavik-cli print TABLE.vtb (--pdf OUT.pdf | --text OUT.txt) [--simple] [--font NAME]
            [--size PT] [--columns N] [...the ranges and items of export] [--force]
  tavik-cli fidelity TABLE.vtb --csv OUT.csv [--no-equalize] [--threshold 30]
            [--alpha 0.05|none] [--ini SETTINGS.ini] [--encoding cp932|utf-8] [--force]
  tavik-cli classify TABLE.vtb [--distance bray|jaccard|sorensen|euclid|chord]
            [--linkage ward|flexible|average|complete|single] [--beta -0.25] [--method 0-6]
            [--sqrt] [--releves FIRST-LAST] [--species FIRST-LAST]
            [--groups K | --groups best[:FROM-TO]] [--scan FROM-TO] [--order leaf|ra]
            [--membership OUT.csv] [--newick OUT.nwk] [-o OUT.vtb] [--ini S.ini] [--force]
  tavik-cli groups TABLE.vtb (--from MEMBERSHIP.csv -o OUT.vtb | --list OUT.csv)
            [--ini SETTINGS.ini] [--force]
  tavik-cli --help
--force replaces an output file that is read-only. --encoding: text and CSV files are
CP932 unless asked for UTF-8 (written with a BOM).
言語: 日本語は LANGUAGE, LC_ALL, LC_MESSAGES, LANG が ja... か C のとき、英語はその他のとき。
設定ファイルの [Interface] Language=ja|en|system で決められます。
</source>
        <translation>usage:
  tavik-cli info TABLE.vtb
  tavik-cli sort species|releves TABLE.vtb -o OUT.vtb [--range FIRST-LAST] [--ascending]
            [--ini SETTINGS.ini] [--force]
  tavik-cli retrieve DATA.tki [-o TABLE.vtb] [--ini SETTINGS.ini] [--dict FILE.dic]...
            [--species NAME[:CLASS[:CONNECTIVE]]]... [--mesh PREFIX] [--records FIRST-LAST]
            [--into EXISTING.vtb] [--title TITLE] [--force]
  tavik-cli make-fielddata LONG.csv HEADER.txt -o DATA.tki [--sites SITES.csv] [--scale SCALE]
            [--r-below PERCENT] [--transliterate] [--shorten] [--round-sites] [--force]
  tavik-cli make-fielddata --matrix MATRIX.csv HEADER.txt -o DATA.tki [--layer H1] [--transpose]
            [...the options of the long form]
            SCALE: bb, bb-extended, percent, londo, domin, ordinal, presence
  tavik-cli ra TABLE.vtb [--dominance] [--scores SCORES.csv] [-o OUT.vtb] [--ini SETTINGS.ini]
            [--encoding cp932|utf-8] [--force]
  tavik-cli constancy TABLE.vtb (--csv OUT.csv | --text OUT.txt | --xlsx OUT.xlsx)...
            [--kind 0-4] [--blank] [--fidelity] [--no-equalize] [--threshold 30]
            [--alpha 0.05|none] [--order table|diagnostic] [--title TITLE]
            [--ini SETTINGS.ini] [--encoding cp932|utf-8] [--force]
  tavik-cli export text|xlsx|matrix|pcord|plot|gps|mesh TABLE.vtb -o OUT [--ini S.ini]
            [--items N,N,...] [--species FIRST-LAST] [--releves FIRST-LAST] [--frequency]
            [--once] [--method 0-6] [--rows species|releves] [--title TITLE]
            [--encoding cp932|utf-8] [--force]
  tavik-cli print TABLE.vtb (--pdf OUT.pdf | --text OUT.txt) [--simple] [--font NAME]
            [--size PT] [--columns N] [...the ranges and items of export] [--force]
  tavik-cli fidelity TABLE.vtb --csv OUT.csv [--no-equalize] [--threshold 30]
            [--alpha 0.05|none] [--ini SETTINGS.ini] [--encoding cp932|utf-8] [--force]
  tavik-cli classify TABLE.vtb [--distance bray|jaccard|sorensen|euclid|chord]
            [--linkage ward|flexible|average|complete|single] [--beta -0.25] [--method 0-6]
            [--sqrt] [--releves FIRST-LAST] [--species FIRST-LAST]
            [--groups K | --groups best[:FROM-TO]] [--scan FROM-TO] [--order leaf|ra]
            [--membership OUT.csv] [--newick OUT.nwk] [-o OUT.vtb] [--ini S.ini] [--force]
  tavik-cli groups TABLE.vtb (--from MEMBERSHIP.csv -o OUT.vtb | --list OUT.csv)
            [--ini SETTINGS.ini] [--force]
  tavik-cli --help
--force replaces an output file that is read-only. --encoding: text and CSV files are
CP932 unless asked for UTF-8 (written with a BOM).
Language: Japanese when LANGUAGE, LC_ALL, LC_MESSAGES or LANG is ja... or C, English otherwise;
[Interface] Language=ja|en|system in the settings file decides instead.
</translation>
    </message>
    <message>
        <location filename="../../cli/print_pdf.cpp" line="58"/>
        <source>%1 に書き込めません</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <location filename="../../cli/print_pdf_relay.cpp" line="42"/>
        <source>PDF に印刷するプログラム tavik-pdf の場所がわかりません</source>
        <translation>Cannot tell where tavik-pdf, the program that prints PDF files, is</translation>
    </message>
    <message>
        <location filename="../../cli/print_pdf_relay.cpp" line="55"/>
        <source>PDF に印刷するプログラム tavik-pdf が見つかりません（%1 にも %2 にもありません）</source>
        <translation>tavik-pdf, the program that prints PDF files, is not found (neither %1 nor %2)</translation>
    </message>
    <message>
        <location filename="../../cli/print_pdf_relay.cpp" line="57"/>
        <source>PDF に印刷するプログラム %1 を起動できません (%2)</source>
        <translation>Cannot start %1, the program that prints PDF files (%2)</translation>
    </message>
</context>
</TS>
