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
    <message>
        <location filename="../../core/classification.cpp" line="46"/>
        <location filename="../../core/reciprocal_averaging.cpp" line="418"/>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="47"/>
        <location filename="../../core/reciprocal_averaging.cpp" line="420"/>
        <source> ほか %1 件</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="65"/>
        <source>変換方法は 0 から 6 です。</source>
        <translation>The transformation must be one of 0 to 6.</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="404"/>
        <source>β は −1 から 0 の値です。</source>
        <translation>β must lie between −1 and 0.</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="418"/>
        <source>　クラスター分析中　</source>
        <translation>Clustering the relevés</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="419"/>
        <location filename="../../core/classification.cpp" line="552"/>
        <source>クラスター分析を中止しました。</source>
        <translation>Cluster analysis stopped.</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="449"/>
        <source>　距離を計算中　</source>
        <translation>Computing the distances</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="454"/>
        <source>種のある測定が %1 個しかないため、クラスター分析はできません（2 個以上必要です）。</source>
        <translation>Only %1 relevés have species: cluster analysis needs at least 2.</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="460"/>
        <source>測定 %1 個の距離行列を置くメモリが足りません。</source>
        <translation>Not enough memory for the distance matrix of %1 relevés.</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="551"/>
        <source>　群の数ごとに忠実な種を数え中　</source>
        <translation>Counting the faithful species for each number of groups</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="579"/>
        <source>群の数 %1 は、分類した測定の数 %2 を超えています（1 から %2 までです）。</source>
        <translation>The number of groups, %1, exceeds the number of relevés classified, %2 (choose 1 to %2).</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="627"/>
        <source>区切りの空白列を挿入するメモリが足りません。表は変更していません。</source>
        <translation>Not enough memory to insert the blank separator columns. The table is unchanged.</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="652"/>
        <source>群に入れる測定が範囲の中にありません。</source>
        <translation>A relevé given to a group is not in the range, or has no species.</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="654"/>
        <source>同じ測定が二度、群に入っています。</source>
        <translation>The same relevé is given to the groups twice.</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="738"/>
        <source>（空欄）</source>
        <translation>(blank)</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="753"/>
        <source>表にない測定番号: %1</source>
        <translation>Relevé numbers not in the table: %1</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="754"/>
        <source>二度書かれた測定番号: %1</source>
        <translation>Relevé numbers given twice: %1</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="755"/>
        <source>表の中で複数の測定が持つ測定番号: %1</source>
        <translation>Relevé numbers shared by several relevés of the table: %1</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="756"/>
        <source>表は変更していません。</source>
        <translation>The table is unchanged.</translation>
    </message>
    <message>
        <location filename="../../core/classification.cpp" line="757"/>
        <source>群の割り当てが 1 行もありません。</source>
        <translation>The list assigns no relevé to a group.</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="273"/>
        <location filename="../../core/reciprocal_averaging.cpp" line="278"/>
        <source>　反復平均法 計算中　</source>
        <translation>Reciprocal averaging</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="350"/>
        <source>　反復平均法 準備中　</source>
        <translation>Preparing reciprocal averaging</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="382"/>
        <source>「%1」</source>
        <translation>"%1"</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="385"/>
        <source>「%1」の下の空白行</source>
        <translation>the blank row below "%1"</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="387"/>
        <source>先頭の空白行</source>
        <translation>the blank row at the top</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="393"/>
        <location filename="../../core/reciprocal_averaging.cpp" line="446"/>
        <source>種または測定がない表では反復平均法を実行できません。</source>
        <translation>Reciprocal averaging needs a table with species and relevés.</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="406"/>
        <source>%1 列目</source>
        <translation>column %1</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="411"/>
        <source>（測定番号 %1）</source>
        <translation> (relevé number %1)</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="423"/>
        <source>反復平均法を実行できません。出現（重み）のない行・列があります。</source>
        <translation>Cannot run reciprocal averaging: some rows or columns have no occurrence (no weight).</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="424"/>
        <source>種: %1</source>
        <translation>Species: %1</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="425"/>
        <source>測定: %1</source>
        <translation>Relevés: %1</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="426"/>
        <source>区切りの空白列、空白行、コメント行、被度が「(」「*」だけの種などを削除してから実行してください。</source>
        <translation>Delete the blank separator columns, blank rows, comment rows, species whose covers are only "(" or "*" and the like, then run it again.</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="521"/>
        <source>　反復平均法 植物の並び替え　</source>
        <translation>Reciprocal averaging: ordering the species</translation>
    </message>
    <message>
        <location filename="../../core/reciprocal_averaging.cpp" line="523"/>
        <source>　反復平均法 測定の並び替え　</source>
        <translation>Reciprocal averaging: ordering the relevés</translation>
    </message>
    <message>
        <location filename="../../core/retrieval.cpp" line="37"/>
        <source>読み取れない測定 %1 件をとばしました: %2</source>
        <translation>Skipped %1 unreadable relevés: %2</translation>
    </message>
    <message>
        <location filename="../../core/retrieval.cpp" line="42"/>
        <source>表が大きくなれず組み込めなかった測定 %1 件: %2</source>
        <translation>%1 relevés not put into the table, which could not grow: %2</translation>
    </message>
    <message>
        <location filename="../../core/retrieval.cpp" line="141"/>
        <source>被度階級が選ばれていません</source>
        <translation>No cover class is chosen</translation>
    </message>
    <message>
        <location filename="../../core/sorting.cpp" line="50"/>
        <source>　植物を並べ替えています　</source>
        <translation>Sorting the species</translation>
    </message>
    <message>
        <location filename="../../core/sorting.cpp" line="69"/>
        <source>　測定を並べ替えています　</source>
        <translation>Sorting the relevés</translation>
    </message>
    <message>
        <location filename="../../core/table_fidelity.cpp" line="27"/>
        <source>種または測定がない表では忠実度を計算できません。</source>
        <translation>Fidelity needs a table with species and relevés.</translation>
    </message>
    <message>
        <location filename="../../core/table_fidelity.cpp" line="32"/>
        <source>区分が %1 あります。忠実度は %2 区分（区切りの空白列 29 本）までです。空白列を減らしてください。</source>
        <translation>The table has %1 groups. Fidelity takes at most %2 groups (29 blank separator columns). Remove some blank columns.</translation>
    </message>
    <message>
        <location filename="../../core/table_fidelity.cpp" line="38"/>
        <source>測定を含む区分が 1 つしかないため、忠実度を計算できません。区分の境に空白列を挿入してください。</source>
        <translation>Fidelity needs at least two groups with relevés; the table has one. Insert blank columns between the groups.</translation>
    </message>
</context>
<context>
    <name>formats</name>
</context>
<context>
    <name>output</name>
    <message>
        <location filename="../../output/freq_table_sheet.cpp" line="76"/>
        <location filename="../../output/spreadsheet.cpp" line="100"/>
        <source>%1: %2 行 %3 列に書き込めません (%4)</source>
        <translation>%1: cannot write row %2, column %3 (%4)</translation>
    </message>
    <message>
        <location filename="../../output/freq_table_sheet.cpp" line="79"/>
        <location filename="../../output/spreadsheet.cpp" line="103"/>
        <source>%1 に書き込めません</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <location filename="../../output/freq_table_sheet.cpp" line="94"/>
        <source>%1: 列が多すぎて表計算に書けません</source>
        <translation>%1: too many columns for a spreadsheet</translation>
    </message>
    <message>
        <location filename="../../output/matrix.cpp" line="109"/>
        <location filename="../../output/matrix.cpp" line="147"/>
        <source>　数値表として出力中　</source>
        <translation>Writing the numeric matrix</translation>
    </message>
    <message>
        <location filename="../../output/matrix.cpp" line="199"/>
        <source>　PCord用の数値表を出力中　</source>
        <translation>Writing the numeric matrix for PC-ORD</translation>
    </message>
    <message>
        <location filename="../../output/matrix.cpp" line="216"/>
        <source>%1: PCord の数値表の名前が .lst で終わっています（種名リストと重なります）。別の拡張子にしてください</source>
        <translation>%1: the name of a PC-ORD matrix ends in .lst, which its species list would take. Give it another extension</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="15"/>
        <source>組成表テキスト出力、項目選択と表題修正</source>
        <translation>Text output of the table: choose the items, edit the title</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="16"/>
        <source>組成表エクセル出力、項目選択と表題修正</source>
        <translation>Spreadsheet output of the table: choose the items, edit the title</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="17"/>
        <source>組成表を印刷出力、項目選択と表題修正</source>
        <translation>Print the table: choose the items, edit the title</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="18"/>
        <source>組成表の簡易印刷、項目選択と表題修正</source>
        <translation>Simple print of the table: choose the items, edit the title</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="19"/>
        <source>数値表をCSV形式で出力</source>
        <translation>Numeric matrix as CSV</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="20"/>
        <source>PCord用の数値表をCSV出力</source>
        <translation>Numeric matrix for PC-ORD as CSV</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="21"/>
        <source>項目組込は左、名称修正は右クリック</source>
        <translation>Left click to use an item, right click to rename it</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="28"/>
        <source>級値・積算 (0.1-5)</source>
        <translation>Class, summed (0.1-5)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="28"/>
        <source>級値・相対 (1-10)</source>
        <translation>Class, relative (1-10)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="28"/>
        <source>中央・積算 (1-875)</source>
        <translation>Mid-point, summed (1-875)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="29"/>
        <source>級値・最大 (0.1-5)</source>
        <translation>Class, highest (0.1-5)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="29"/>
        <source>中央・最大 (1-875)</source>
        <translation>Mid-point, highest (1-875)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="29"/>
        <source>無変・最大 (+-5)</source>
        <translation>As is, highest (+-5)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="30"/>
        <source>有無のみ （1,0）</source>
        <translation>Presence only (1,0)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="35"/>
        <source>行 ＝ 植物</source>
        <translation>Rows = species</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="35"/>
        <source>行 ＝ 測定</source>
        <translation>Rows = relevés</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="92"/>
        <source>組成表で保存 (*.vtb)</source>
        <translation>Composition table (*.vtb)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="93"/>
        <source>組成表テキストファイル(*.txt)</source>
        <translation>Text tables (*.txt)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="94"/>
        <source>組成のマトリクスデータ(*.csv)</source>
        <translation>Composition matrices (*.csv)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="95"/>
        <source>エクセル・ファイル(*.xlsx)</source>
        <translation>Excel workbooks (*.xlsx)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="96"/>
        <source>GPS　POTデータ　(*.pot)</source>
        <translation>GPS points, POT (*.pot)</translation>
    </message>
    <message>
        <location filename="../../output/options.cpp" line="97"/>
        <source>メッシュ分布データ (*.grd)</source>
        <translation>Mesh distribution data (*.grd)</translation>
    </message>
    <message>
        <location filename="../../output/options.h" line="129"/>
        <source>同名のファイルが存在します。書き換えますか？</source>
        <translation>A file of that name exists. Replace it?</translation>
    </message>
    <message>
        <location filename="../../output/options.h" line="134"/>
        <source>必要なデータが表にありません</source>
        <translation>The table lacks the header items this output needs</translation>
    </message>
    <message>
        <location filename="../../output/output_file.cpp" line="13"/>
        <source>%1 は UTF-8 で書きました（CP932 で書けない文字があります）</source>
        <translation>Wrote %1 in UTF-8 (it holds characters that CP932 has not)</translation>
    </message>
    <message>
        <location filename="../../output/output_file.h" line="20"/>
        <source>出力を取り止めました</source>
        <translation>Output stopped</translation>
    </message>
    <message>
        <location filename="../../output/outputs.cpp" line="29"/>
        <source>この出力はファイルに書きません</source>
        <translation>This output writes no file</translation>
    </message>
    <message>
        <location filename="../../output/print_layout.cpp" line="16"/>
        <source>用紙の幅が足りません。出力フォントを小さくするか、用紙を横向きにしてください</source>
        <translation>The paper is too narrow. Choose a smaller output font or turn the paper to landscape</translation>
    </message>
    <message>
        <location filename="../../output/print_layout.h" line="73"/>
        <source>　組成表を印刷しています　</source>
        <translation>Printing the table</translation>
    </message>
    <message>
        <location filename="../../output/print_layout.h" line="74"/>
        <source>　組成表の簡易印刷をしています　</source>
        <translation>Printing the simple table</translation>
    </message>
    <message>
        <location filename="../../output/site_exports.h" line="47"/>
        <source>　立地環境データの出力中　</source>
        <translation>Writing the site data</translation>
    </message>
    <message>
        <location filename="../../output/site_exports.h" line="48"/>
        <source>　ＧＰＳ形式の分布データの出力中　</source>
        <translation>Writing the relevés as GPS points</translation>
    </message>
    <message>
        <location filename="../../output/site_exports.h" line="49"/>
        <source>　分布メッシュコードの出力中　</source>
        <translation>Writing the mesh codes</translation>
    </message>
    <message>
        <location filename="../../output/spreadsheet.cpp" line="149"/>
        <source>%1: 測定の出力範囲が表計算の列数の上限 (%2 列) を超えます。測定の範囲を狭めてください</source>
        <translation>%1: the relevés to write pass a spreadsheet's limit of %2 columns. Narrow the range of relevés</translation>
    </message>
    <message>
        <location filename="../../output/spreadsheet.h" line="42"/>
        <source>　エクセル形式データに変換中　</source>
        <translation>Writing the spreadsheet</translation>
    </message>
    <message>
        <location filename="../../output/text_layout.cpp" line="266"/>
        <source>　組成表をテキスト出力しています　</source>
        <translation>Writing the text table</translation>
    </message>
</context>
</TS>
