<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>AboutBox</name>
    <message>
        <location filename="../about_box.cpp" line="+47"/>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About TAVIK</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>植生組成表の作成と処理</source>
        <translation>Making and working on phytosociological composition tables</translation>
    </message>
</context>
<context>
    <name>AnalysisController</name>
    <message>
        <location filename="../analysis_controller.cpp" line="+40"/>
        <source>種または測定がない表では反復平均法を実行できません。</source>
        <translation>Reciprocal averaging needs a table with species and relevés.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>反復平均法の計算に、優占度を考慮しますか？</source>
        <translation>Weight reciprocal averaging by the covers?</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>&#x3000;反復平均法 準備中&#x3000;</source>
        <translation>  Preparing reciprocal averaging  </translation>
    </message>
    <message>
        <location line="+18"/>
        <source>スコア表を再表示する</source>
        <translation>Show the score table again</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>組成表の並びを変えますか？</source>
        <translation>Reorder the composition table?</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+5"/>
        <source>&#x3000;反復平均法 並び替え&#x3000;</source>
        <translation>  Ordering by reciprocal averaging  </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>組成表に反映しています</source>
        <translation>Putting the order into the table</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>&#x3000;常在度表 準備中&#x3000;</source>
        <translation>  Preparing the constancy table  </translation>
    </message>
    <message>
        <location line="+20"/>
        <source>&#x3000;常在度表を作成中&#x3000;</source>
        <translation>  Making the constancy table  </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>反復平均法で行列並び替え</source>
        <translation>Reciprocal averaging</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>常在度表</source>
        <translation>Constancy table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1常在度表</source>
        <translation>%1 constancy table</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>常在度表を再表示する</source>
        <translation>Show the constancy table again</translation>
    </message>
    <message>
        <location line="+11"/>
        <location line="+7"/>
        <source>診断種の順に組成表を並べ替える</source>
        <translation>Sort the table by diagnostic species</translation>
    </message>
</context>
<context>
    <name>ClassificationController</name>
    <message>
        <location filename="../classification_controller.cpp" line="+70"/>
        <source>%1 の樹形図&#x3000;測定 %2</source>
        <translation>Dendrogram of %1, %2 relevés</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <location line="+4"/>
        <source> ほか %1 個</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>種が残らない測定 %1 個を距離から除きました: %2</source>
        <translation>%1 relevés left without species were left out of the distances: %2</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>クラスター分析で群に分ける</source>
        <translation>Classify by cluster analysis</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+29"/>
        <source>%1 群を表に入れました</source>
        <translation>%1 groups in the table</translation>
    </message>
    <message>
        <location line="-28"/>
        <source>（どの群にも入らない測定 %1 個は最後の群）</source>
        <translation> (%1 relevés in no group went into the last group)</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+16"/>
        <source>群を読み込む</source>
        <translation>Read groups</translation>
    </message>
    <message>
        <location line="-15"/>
        <location line="+42"/>
        <source>CSV ファイル (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <location line="-41"/>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>（ファイルにない測定 %1 個は最後の群）</source>
        <translation> (%1 relevés not in the file went into the last group)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 に群の書かれていない測定 %2 個を、最後の群に置きました。</source>
        <translation>%2 relevés without a group in %1 were put into the last group.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>種のある測定がないため、書き出す群がありません。</source>
        <translation>No relevé has species: there are no groups to write.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>群を書き出す</source>
        <translation>Write groups</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 に %2 測定の群を書き出しました</source>
        <translation>Groups of %2 relevés written to %1</translation>
    </message>
</context>
<context>
    <name>ClassificationPanel</name>
    <message>
        <location filename="../classification_panel.cpp" line="+35"/>
        <source>%1（忠実な種 %2）</source>
        <translation>%1 (%2 faithful)</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>クラスター分析で群に分ける</source>
        <translation>Classify by cluster analysis</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>計算する</source>
        <translation>Compute</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>群を表に入れる</source>
        <translation>Put the groups into the table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+24"/>
        <source>データ</source>
        <translation>Data</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>0 階級値の合計（0.1-5）</source>
        <translation>0 Sum of class values (0.1-5)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>1 階級値の相対値（1-10）</source>
        <translation>1 Relative class values (1-10)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>2 中央値の合計（1-875）</source>
        <translation>2 Sum of mid-points (1-875)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>3 最大層の階級値（0.1-5）</source>
        <translation>3 Class value of the highest layer (0.1-5)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>4 最大層の中央値（1-875）</source>
        <translation>4 Mid-point of the highest layer (1-875)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>5 最大層そのまま（+-5）</source>
        <translation>5 Highest layer as it is (+-5)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>6 在・不在（1,0）</source>
        <translation>6 Presence/absence (1,0)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>平方根に変換する</source>
        <translation>Square root</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>変換方法</source>
        <translation>Transformation</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>方法</source>
        <translation>Method</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Jaccard（在・不在）</source>
        <translation>Jaccard (presence)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sørensen（在・不在）</source>
        <translation>Sørensen (presence)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ユークリッド</source>
        <translation>Euclidean</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>コード（chord）</source>
        <translation>Chord</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ward 法</source>
        <translation>Ward&apos;s method</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>可変法（β-flexible）</source>
        <translation>β-flexible</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>群平均法（UPGMA）</source>
        <translation>Group average (UPGMA)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>最遠隣法</source>
        <translation>Complete linkage</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>最近隣法</source>
        <translation>Single linkage</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>距離</source>
        <translation>Distance</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>結合法</source>
        <translation>Linkage</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>群の数</source>
        <translation>Number of groups</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>群の中を反復平均法のスコア順に並べる</source>
        <translation>Order each group by reciprocal averaging score</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>分類した測定 %1</source>
        <translation>Relevés classified: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>K&#x3000;忠実な種</source>
        <translation>K  faithful species</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1&#x3000;%2%3</source>
        <translation>%1  %2%3</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>「計算する」で樹形図を作ります</source>
        <translation>Compute draws the dendrogram</translation>
    </message>
</context>
<context>
    <name>ConstancyPanel</name>
    <message>
        <location filename="../constancy_panel.cpp" line="+29"/>
        <source>常在度表を作成する</source>
        <translation>Make a constancy table</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>常在度表</source>
        <translation>Constancy table</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>取止める</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>出力する</source>
        <translation>Output</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>全測定数</source>
        <translation>Relevés</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>区分数</source>
        <translation>Groups</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>常在度級 Ⅰ～Ⅴ&#x3000;と&#x3000;優占度</source>
        <translation>Constancy class I–V and cover</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>常在度級 Ⅰ～Ⅹ&#x3000;と&#x3000;優占度</source>
        <translation>Constancy class I–X and cover</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>常在度級 Ⅰ～Ⅴ&#x3000;のみ</source>
        <translation>Constancy class I–V only</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>常在度級 Ⅰ～Ⅹ&#x3000;のみ</source>
        <translation>Constancy class I–X only</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>出現数をそのまま示す</source>
        <translation>Number of occurrences</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>空白セルは  ・</source>
        <translation>Absent species shown as  ·</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>空白セルは空白</source>
        <translation>Absent species left blank</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>忠実度（φ係数）を表示する</source>
        <translation>Show fidelity (phi coefficient)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>区分の大きさを均等化する</source>
        <translation>Equalize the group sizes</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>診断種の閾値&#x3000;φ×100 ≧</source>
        <translation>Diagnostic species: phi × 100 ≥</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>有意水準（Fisher の正確確率検定）</source>
        <translation>Significance level (Fisher&apos;s exact test)</translation>
    </message>
</context>
<context>
    <name>CoverDialog</name>
    <message>
        <location filename="../cover_dialog.cpp" line="+22"/>
        <location line="+99"/>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <location line="-90"/>
        <source>被度の編集</source>
        <translation>Edit Covers</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>階層</source>
        <translation>Layer</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>被度</source>
        <translation>Cover</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>群度</source>
        <translation>Sociability</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表記</source>
        <translation>Notation</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>セルの表示：</source>
        <translation>In the cell:</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>（値 %1）</source>
        <translation>(value %1)</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>－</source>
        <translation>–</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>（なし）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>「%1」</source>
        <translation>“%1”</translation>
    </message>
</context>
<context>
    <name>DataSources</name>
    <message>
        <location filename="../data_sources.cpp" line="+24"/>
        <source>データファイルの指定・変更</source>
        <translation>Choose or change the field data</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>データファイルの変更</source>
        <translation>Change the &amp;field data</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>異名辞書の読込み</source>
        <translation>Read a synonym dictionary</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>異名辞書を読込めません。</source>
        <translation>Cannot read the synonym dictionary.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>設定ファイル読込み</source>
        <translation>Read a settings file</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>設定ファイルを読込めません。</source>
        <translation>Cannot read the settings file.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>見出し項目をデータファイルと一致させますか？</source>
        <translation>Take the header items from the field data?</translation>
    </message>
</context>
<context>
    <name>DendrogramWindow</name>
    <message>
        <location filename="../dendrogram_window.cpp" line="+145"/>
        <source>樹形図</source>
        <translation>Dendrogram</translation>
    </message>
</context>
<context>
    <name>EditingController</name>
    <message>
        <location filename="../editing_controller.cpp" line="+32"/>
        <source>種名の編集</source>
        <translation>Edit the species name</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>コメント行の編集</source>
        <translation>Edit the comment row</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>見出しの値の編集</source>
        <translation>Edit the header value</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>項目名の編集</source>
        <translation>Edit the item name</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>種名</source>
        <translation>Species name</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>この項目の値</source>
        <translation>Value</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>項目名</source>
        <translation>Item name</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1は%2バイト（全角%3字）まで</source>
        <translation>%1: at most %2 bytes (%3 full-width)</translation>
    </message>
    <message>
        <location line="+65"/>
        <source>種名：%1
測定：%2</source>
        <translation>Species: %1
Relevé: %2</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>被度の編集</source>
        <translation>Edit the covers</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>表が変わったため、入力を取り消しました。</source>
        <translation>The table changed meanwhile: the text typed was dropped.</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>「%1」は見つかりません</source>
        <translation>&quot;%1&quot; not found</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>「%1」：%2 か所以上</source>
        <translation>&quot;%1&quot;: %2 or more found</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>「%1」：%2 か所</source>
        <translation>&quot;%1&quot;: %2 found</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>行の移動</source>
        <translation>Move a row</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>列の移動</source>
        <translation>Move a column</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>%1 列目</source>
        <translation>column %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>空白行</source>
        <translation>empty row</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>削除できるのは種の行です。削除する行を選んでください。</source>
        <translation>Only species rows can be deleted. Choose the row to delete.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>この行を削除しますか？
種名：%1</source>
        <translation>Delete this row?
Species: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>行の削除</source>
        <translation>Delete a row</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>削除できるのは測定の列です。削除する列を選んでください。</source>
        <translation>Only relevé columns can be deleted. Choose the column to delete.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>この列を削除しますか？
測定：%1</source>
        <translation>Delete this column?
Relevé: %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>列の削除</source>
        <translation>Delete a column</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>行を挿入する位置（種の行）を選んでください。</source>
        <translation>Choose where the row goes (a species row).</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>この上に行を挿入しますか？</source>
        <translation>Insert a row above this one?</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>行の挿入</source>
        <translation>Insert a row</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>行を挿入できません（メモリが足りません）。</source>
        <translation>Cannot insert a row (not enough memory).</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>列を挿入する位置（測定の列）を選んでください。</source>
        <translation>Choose where the column goes (a relevé column).</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>この左に列を挿入しますか？</source>
        <translation>Insert a column left of this one?</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>列の挿入</source>
        <translation>Insert a column</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>列を挿入できません（メモリが足りません）。</source>
        <translation>Cannot insert a column (not enough memory).</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>コメントを書込む行（種の行）を選んでください。</source>
        <translation>Choose the row for the comment (a species row).</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>&#x3000;コメント行＝</source>
        <translation>Comment row</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>コメントの書込み</source>
        <translation>Write a comment</translation>
    </message>
</context>
<context>
    <name>FileController</name>
    <message>
        <location filename="../file_controller.cpp" line="+26"/>
        <source>組成表</source>
        <translation>Composition table</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>組成表の読込</source>
        <translation>Open a saved table</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+8"/>
        <location line="+151"/>
        <source>&#x3000;組成表を読込中&#x3000;</source>
        <translation>  Reading the composition table  </translation>
    </message>
    <message>
        <location line="-150"/>
        <source>表示を準備しています</source>
        <translation>Preparing the view</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>保存した表の読込み</source>
        <translation>Open a saved table</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>読込を中止しました：%1</source>
        <translation>Reading stopped: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>組成表を読込めません。</source>
        <translation>Cannot read the composition table.</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>組成表の保存</source>
        <translation>Save the table</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>同名のファイルが存在します。書き換えますか？</source>
        <translation>A file of that name exists. Replace it?</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 は読み取り専用です。置き換えますか？</source>
        <translation>%1 is read-only. Replace it?</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>&#x3000;組成表を保存中&#x3000;</source>
        <translation>  Saving the composition table  </translation>
    </message>
    <message>
        <location line="+18"/>
        <source>保存を中止しました（ファイルは元のままです）：%1</source>
        <translation>Saving stopped (the file is as it was): %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>組成表を保存できません。</source>
        <translation>Cannot save the composition table.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>保存しました：%1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>変更を保存しますか？</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>yyyy年M月d日 H:mm</source>
        <translation>yyyy-MM-dd H:mm</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>組成表</source>
        <comment>the table restored, in a question</comment>
        <translation>the composition table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>組成表「%1」</source>
        <translation>the composition table &quot;%1&quot;</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>前回は変更を保存しないまま終了しました。
%1 に自動保存した%2を復元しますか？</source>
        <translation>The program ended last time without saving the changes.
Restore %2, saved automatically at %1?</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>組成表の復元</source>
        <translation>Restore the table</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>自動保存した組成表を読込めません。</source>
        <translation>Cannot read the table saved automatically.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>自動保存した組成表を復元しました（まだ保存されていません）。</source>
        <translation>The table saved automatically is restored (not saved yet).</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>書き込めません</source>
        <translation>Cannot write</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>自動保存できません：%1</source>
        <translation>Cannot save automatically: %1</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>自動保存できません：保存していない変更は %1 に残りません</source>
        <translation>Cannot save automatically: unsaved changes are not kept in %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>保存していない変更を自動保存できません。
%1 に書き込めません（%2）。
変更はこまめに保存してください。</source>
        <translation>Unsaved changes cannot be saved automatically.
Cannot write %1 (%2).
Save your changes often.</translation>
    </message>
</context>
<context>
    <name>FreqWindow</name>
    <message>
        <location filename="../freq_window.cpp" line="+38"/>
        <source>CSV常在度表 (*.csv)</source>
        <translation>Constancy tables as CSV (*.csv)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>テキスト形式 (*.txt)</source>
        <translation>Text form (*.txt)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>常在度表で保存 (*.ftb)</source>
        <translation>Constancy table (*.ftb)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>テキストで保存 (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSVファイルで保存 (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>エクセル・ファイル (*.xlsx)</source>
        <translation>Excel file (*.xlsx)</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>印&#x3000;刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表を直接印刷する</source>
        <translation>Print the table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>全コピー</source>
        <translation>Copy All</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表をクリップボードに</source>
        <translation>Copy the table to the clipboard</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>常在度表を消去する</source>
        <translation>Close the constancy table</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>テキスト書出</source>
        <translation>Write Text</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表を互換テキストファイルにする</source>
        <translation>Write the table as a compatible text file</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>CSV書出</source>
        <translation>Write CSV</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表をCSV形式で書き出す</source>
        <translation>Write the table as CSV</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Excel書出</source>
        <translation>Write Excel</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表をエクセル・ファイルに書き出す（診断種は群の色）</source>
        <translation>Write the table as an Excel file (diagnostic species in the colour of their group)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>テキスト読込</source>
        <translation>Read Text</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>テキスト保存した表を読み込む</source>
        <translation>Add the groups of a table saved as text</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>CSV読込</source>
        <translation>Read CSV</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>保存したCSV常在度表を読み込む</source>
        <translation>Read a constancy table saved as CSV</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表のフォントを変更する</source>
        <translation>Change the table&apos;s font</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>診断種順</source>
        <translation>Diagnostic Order</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>植物を区分ごとの診断種のまとまりに並べ替える</source>
        <translation>Order the species in blocks of the diagnostic species of each group</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>テキストとCSVの文字コード（UTF-8 はどの言語の表計算でも読めます）</source>
        <translation>Encoding of text and CSV files (spreadsheets in any language read UTF-8)</translation>
    </message>
    <message>
        <location line="+107"/>
        <source>常在度表の保存</source>
        <translation>Save the Constancy Table</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>同名のファイルが存在します。書き換えますか？</source>
        <translation>A file of that name exists. Replace it?</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>常在度表（CSV）の読込</source>
        <translation>Read a Constancy Table (CSV)</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>テキスト形式の常在度表の読込</source>
        <translation>Read a Constancy Table in Text Form</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>常在度表のフォント</source>
        <translation>Font of the Constancy Table</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>印刷できませんでした</source>
        <translation>Could not print</translation>
    </message>
</context>
<context>
    <name>GridPointer</name>
    <message>
        <location filename="../grid_pointer.cpp" line="+29"/>
        <source>行を挿入する</source>
        <translation>Insert a row</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>行を削除する</source>
        <translation>Delete the row</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>行コメント記入</source>
        <translation>Write a row comment</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>コメント記入</source>
        <translation>Write a comment</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>列を挿入する</source>
        <translation>Insert a column</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>列を削除する</source>
        <translation>Delete the column</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <location filename="../main_menu.cpp" line="+40"/>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>組成表を初期化する(&amp;N)</source>
        <translation>&amp;Clear the table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表を白紙化して新しい組成表を作る</source>
        <translation>Empty the table and start a new composition table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表にデータを加える(&amp;A)</source>
        <translation>&amp;Add data to the table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>組成表にデータを加える</source>
        <translation>Add relevés of the field data to the composition table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>保存した表を読込む(&amp;L)</source>
        <translation>&amp;Open a saved table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>保存した組成表を読込む</source>
        <translation>Open a composition table saved before</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>データファイルの指定(&amp;F)</source>
        <translation>Choose the &amp;field data</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>現在の表を保存する(&amp;S)</source>
        <translation>&amp;Save the table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>現在の組成表を保存する</source>
        <translation>Save the present composition table</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>組成表として出力</source>
        <translation>Output the table</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>表をテキスト出力(&amp;F)</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表をﾃｷｽﾄファイルとして出力する</source>
        <translation>Write the table as a text file</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>エクセル形式出力(&amp;X)</source>
        <translation>&amp;Spreadsheet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>組成表を直接印刷(&amp;P)</source>
        <translation>&amp;Print the table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>現在の表を印刷する</source>
        <translation>Print the present table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表を省略簡易印刷(&amp;K)</source>
        <translation>Simple p&amp;rint</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>プリンターの設定(&amp;T)</source>
        <translation>Printer se&amp;tup</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>プリンタの設定を変更する</source>
        <translation>Change the printer&apos;s settings</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>数値表として出力する(&amp;V)</source>
        <translation>Output a numeric &amp;matrix</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>PCord 用のCSV型出力(&amp;C)</source>
        <translation>Matrix for &amp;PC-ORD</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>分布データ等を出力(&amp;D)</source>
        <translation>Output &amp;distribution data</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>立地環境データ</source>
        <translation>Site data</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>GPS&#x3000;POTデータ</source>
        <translation>GPS points</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>メッシュ分布データ</source>
        <translation>Mesh data</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>終&#x3000;&#x3000;&#x3000;&#x3000;了(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>プログラムを終了する</source>
        <translation>End the program</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>表ツール(&amp;T)</source>
        <translation>&amp;Table tools</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>出現頻度を再計算する(&amp;F)</source>
        <translation>Recount the &amp;frequencies</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>植物を頻度順で並び替え(&amp;P)</source>
        <translation>Sort s&amp;pecies by frequency</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>測定を種数順で並び替え(&amp;O)</source>
        <translation>Sort rel&amp;evés by species number</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>反復平均法で行列並び替え(&amp;H)</source>
        <translation>Reciprocal &amp;averaging</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>立地情報を隠す</source>
        <translation>Hide the site rows</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>行・列を部分的に隠す</source>
        <translation>Hide rows and columns</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>常在度表を作成する</source>
        <translation>Make a constancy table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>常在度表を再表示する</source>
        <translation>Show the constancy table again</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>診断種の順に組成表を並べ替える</source>
        <translation>Sort the table by diagnostic species</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>植物の行を区分ごとの診断種のまとまりに並べ替える</source>
        <translation>Order the species rows in blocks of each group&apos;s diagnostic species</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>クラスター分析で群に分ける</source>
        <translation>Classify by cluster analysis</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>測定を階層的クラスター分析で群に分け、群の間に空白列を入れる</source>
        <translation>Divide the relevés into groups by hierarchical cluster analysis, with an empty column between the groups</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>群を読み込む</source>
        <translation>Read groups</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>測定番号と群を書いたCSVファイルの通りに測定を並べ替える</source>
        <translation>Order the relevés as a CSV file of relevé numbers and groups says</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>群を書き出す</source>
        <translation>Write groups</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>空白列で区切られた今の群をCSVファイルに書き出す</source>
        <translation>Write the present groups, separated by empty columns, to a CSV file</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>編集・検索(&amp;E)</source>
        <translation>&amp;Edit and search</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>表内を検索する</source>
        <translation>Search the table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>検索状態の解除</source>
        <translation>Clear the search</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>この行を削除する</source>
        <translation>Delete this row</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>この列を削除する</source>
        <translation>Delete this column</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>この上に行を挿入</source>
        <translation>Insert a row above</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>コメントを書込む</source>
        <translation>Write a comment</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>この左に列を挿入</source>
        <translation>Insert a column to the left</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>組成表の標題を編集</source>
        <translation>Edit the title</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>設定変更(&amp;C)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>データ埋込項目を使う</source>
        <translation>Use the items in the data</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>設定ファイル読込み(&amp;I)</source>
        <translation>Read a &amp;settings file</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>異名辞書の読込み(&amp;D)</source>
        <translation>Read a synonym &amp;dictionary</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>表組み項目の変更(&amp;M)</source>
        <translation>Change the header ite&amp;ms</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表のフォント変更(&amp;F)</source>
        <translation>Table &amp;font</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>データ検査する</source>
        <translation>Data check</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>使用法&#x3000;&#x3000;(&amp;H)</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>使用説明書を開く</source>
        <translation>Open the manual</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)</source>
        <translation>&amp;About TAVIK</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>バージョン情報を示す</source>
        <translation>Show the version</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../qt_text.h" line="23"/>
        <source>未指定</source>
        <translation>not given</translation>
    </message>
    <message>
        <location filename="../main_window.cpp" line="+100"/>
        <source>設定ファイルを読込めません。</source>
        <translation>Cannot read the settings file.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>起動時に指定できるのは設定ファイル（.ini）、保存した表（.vtb）とデータファイル（.tki）を一つずつです。次の指定は使いません：
%1</source>
        <translation>At the start, one settings file (.ini), one saved table (.vtb) and one field data file (.tki) can be given. These are not used:
%1</translation>
    </message>
    <message>
        <location filename="../main_window_files.cpp" line="+33"/>
        <source>&#x3000;組成表を白紙化しています&#x3000;</source>
        <translation>  Clearing the composition table  </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>組成表の初期化</source>
        <translation>Clear the table</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>出現頻度の再計算</source>
        <translation>Recount the frequencies</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>&#x3000;表の見出しを編修する</source>
        <translation>Edit the table&apos;s title</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>組成表の標題の編集</source>
        <translation>Edit the title</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>使用説明書：%1</source>
        <translation>Manual: %1</translation>
    </message>
    <message>
        <location filename="../main_window_grid.cpp" line="+18"/>
        <source>表のフォント</source>
        <translation>Table font</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>データ検査のため、内部データの参照を示す 行０、列０を表示しますか？</source>
        <translation>For a data check, show row 0 and column 0 with the internal keys?</translation>
    </message>
    <message>
        <location filename="../main_window_menus.cpp" line="+95"/>
        <source>設定ファイルに書き込めません。</source>
        <translation>Cannot write the settings file.</translation>
    </message>
</context>
<context>
    <name>Manual</name>
    <message>
        <location filename="../manual.cpp" line="+45"/>
        <source>使用説明書が見つかりません。</source>
        <translation>The manual cannot be found.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>使用説明書を開くブラウザーが見つかりません。使用説明書はここにあります：
%1</source>
        <translation>No browser was found to open the manual. The manual is here:
%1</translation>
    </message>
</context>
<context>
    <name>OutputController</name>
    <message>
        <location filename="../output_controller.cpp" line="+103"/>
        <source>表が初期化されます、続けますか？</source>
        <translation>The table will be cleared. Continue?</translation>
    </message>
    <message>
        <location line="+72"/>
        <source>印刷のフォント</source>
        <translation>Print font</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>出力ファイルの指定</source>
        <translation>Output file</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>同名のファイルが存在します。書き換えますか？</source>
        <translation>A file of that name exists. Replace it?</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>%1 は読み取り専用です。置き換えますか？</source>
        <translation>%1 is read-only. Replace it?</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>表題の変更</source>
        <translation>Change the title</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>出力を取り止めました</source>
        <translation>Output stopped</translation>
    </message>
    <message>
        <location line="+4"/>
        <location line="+139"/>
        <source>出力できません。</source>
        <translation>Cannot write the output.</translation>
    </message>
    <message>
        <location line="-132"/>
        <source>出現頻度の列はありません：測定の出力範囲に種のある測定がありません</source>
        <translation>No frequency column: no relevé in the relevé range has species</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>出力しました：%1</source>
        <translation>Written: %1</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>組成表</source>
        <translation>Composition table</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>%1 に印刷できません</source>
        <translation>Cannot print to %1</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>印刷を取り止めました</source>
        <translation>Printing stopped</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>用紙の幅に表が入りません。フォントを小さくするか、用紙を広げてください。</source>
        <translation>The table does not fit the width of the paper. Choose a smaller font or a wider paper.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>印刷できません。</source>
        <translation>Cannot print.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>印刷しました：%1</source>
        <translation>Printed: %1</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>&#x3000;組成表を白紙化しています&#x3000;</source>
        <translation>  Clearing the composition table  </translation>
    </message>
    <message>
        <location line="+7"/>
        <source>表組み項目の変更</source>
        <translation>Change the header items</translation>
    </message>
</context>
<context>
    <name>OutputPanel</name>
    <message>
        <location filename="../output_panel.cpp" line="+117"/>
        <source>出力方向</source>
        <translation>Direction</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>数値表の行と欄の位置づけ</source>
        <translation>What the rows and columns of the matrix are</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>優占度変換</source>
        <translation>Cover transformation</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>階層別の優占度・群度を単一の数値に変換する方法</source>
        <translation>How the covers and sociability of the layers become one number</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+175"/>
        <source>表題</source>
        <translation>Title</translation>
    </message>
    <message>
        <location line="-167"/>
        <source>出現頻度</source>
        <translation>Frequency</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>出現１回の種</source>
        <translation>Species occurring once</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>テキストとCSVの文字コード（UTF-8 はどの言語の表計算でも読めます）</source>
        <translation>Encoding of text and CSV files (spreadsheets in every language read UTF-8)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>文字コード</source>
        <translation>Encoding</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>植物の出力範囲</source>
        <translation>Species range</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>測定の出力範囲</source>
        <translation>Relevé range</translation>
    </message>
    <message>
        <location line="+5"/>
        <location line="+5"/>
        <source>～</source>
        <translation>to</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>数値表出力では空白の列・行は無視される</source>
        <translation>Blank rows and columns are left out of matrices</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>印刷フォント：</source>
        <translation>Print font:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>修正</source>
        <translation>Rename</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+53"/>
        <source>出力する</source>
        <translation>Output</translation>
    </message>
    <message>
        <location line="-52"/>
        <source>取止める</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+100"/>
        <source>設定する</source>
        <translation>Set</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>項目名</source>
        <translation>Item name</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>（%1 種）</source>
        <translation>(%1 species)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>出現１回の種は、このボックスを選ばないと出力されません</source>
        <translation>Species occurring once are written only when this box is ticked</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>%1 の代わりに使うフォント</source>
        <translation>The font used instead of %1</translation>
    </message>
</context>
<context>
    <name>PrinterTextDevice</name>
    <message>
        <location filename="../../print/printer_device.cpp" line="+20"/>
        <source>印刷を始められません</source>
        <translation>Cannot start printing</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>%1 に書き込めません（%2）</source>
        <translation>Cannot write %1 (%2)</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>PDF が空です</source>
        <translation>the PDF is empty</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>PDF の始まりがありません</source>
        <translation>the PDF has no beginning</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>PDF が途中で終わっています</source>
        <translation>the PDF ends early</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+3"/>
        <source>PDF の索引が壊れています</source>
        <translation>the PDF&apos;s index is broken</translation>
    </message>
</context>
<context>
    <name>RangeController</name>
    <message>
        <location filename="../range_controller.cpp" line="+80"/>
        <source>植物を頻度順で並び替え</source>
        <translation>Sort species by frequency</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>測定を種数順で並び替え</source>
        <translation>Sort relevés by species number</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>行・列の範囲指定は、マウスの</source>
        <translation>Choose the rows and columns by dragging</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>左ボタンを押しながらドラッグする</source>
        <translation>with the left mouse button held down</translation>
    </message>
</context>
<context>
    <name>RangePanel</name>
    <message>
        <location filename="../panels.cpp" line="+153"/>
        <source>並び替え</source>
        <translation>Sort</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>植物</source>
        <translation>Species</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>測定</source>
        <translation>Relevés</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>多順</source>
        <translation>Descending</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>少順</source>
        <translation>Ascending</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+46"/>
        <source>並び替えをする植物範囲の指定</source>
        <translation>Range of species to sort</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>並び替えをする範囲の指定</source>
        <translation>Range to sort</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>一時的に隠す範囲の指定</source>
        <translation>Range to hide for a while</translation>
    </message>
</context>
<context>
    <name>RangeController</name>
    <message>
        <location filename="../range_controller.cpp" line="+80"/>
        <source>&#x3000;植物を並べ替えています&#x3000;</source>
        <translation>  Sorting the species  </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&#x3000;測定を並べ替えています&#x3000;</source>
        <translation>  Sorting the relevés  </translation>
    </message>
</context>
<context>
    <name>RecoveryFile</name>
    <message>
        <location filename="../recovery.cpp" line="+38"/>
        <source>保存先のフォルダがわかりません</source>
        <translation>The folder to save in is not known</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>フォルダを作れません</source>
        <translation>Cannot make the folder</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>フォルダに書き込めません</source>
        <translation>Cannot write into the folder</translation>
    </message>
</context>
<context>
    <name>RetrievalController</name>
    <message>
        <location filename="../retrieval_controller.cpp" line="+98"/>
        <source>&#x3000;データを検索しています&#x3000;</source>
        <translation>  Searching the field data  </translation>
    </message>
    <message>
        <location line="+14"/>
        <source>表にデータを加える</source>
        <translation>Add data to the table</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&#x3000;組成表に組み込んでいます&#x3000;</source>
        <translation>  Putting the relevés into the table  </translation>
    </message>
    <message>
        <location line="+5"/>
        <source>表へのデータ追加</source>
        <translation>Add data to the table</translation>
    </message>
</context>
<context>
    <name>RetrievalPanel</name>
    <message>
        <location filename="../retrieval_panel.cpp" line="+42"/>
        <source>組成表にデータを加える</source>
        <translation>Add data to the table</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>データファイル：</source>
        <translation>Field data file:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>データファイル変更</source>
        <translation>Change the data file</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>抽出条件（植物名・最低優占度・条件）</source>
        <translation>Conditions (species, lowest cover, connective)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>植物名</source>
        <translation>Species</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>優占度</source>
        <translation>Cover</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>または</source>
        <translation>or</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>そして</source>
        <translation>and</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>対象地理区画コード</source>
        <translation>Geographical mesh code prefix</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>対象レコード範囲</source>
        <translation>Range of records</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>～</source>
        <translation>to</translation>
    </message>
    <message>
        <location line="+13"/>
        <source> 現在の組成表&#x3000;&#x3000;測定数＝</source>
        <translation> The table now:  relevés =</translation>
    </message>
    <message>
        <location line="+3"/>
        <source> 植物数＝</source>
        <translation> species =</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>調査中 ⇒</source>
        <translation>Examining ⇒</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>抽出数＝</source>
        <translation>Found =</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>新規抽出</source>
        <translation>New retrieval</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>追加抽出</source>
        <translation>Additional retrieval</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>初期化</source>
        <translation>Clear</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>標準名に変換</source>
        <translation>Convert to the standard name</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>表へ組み込む</source>
        <translation>Put into the table</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>組み込まず終了</source>
        <translation>Close without adding</translation>
    </message>
    <message>
        <location line="+108"/>
        <source> 中止</source>
        <translation> stopped</translation>
    </message>
</context>
<context>
    <name>SearchPanel</name>
    <message>
        <location filename="../panels.cpp" line="+31"/>
        <location line="+35"/>
        <source>検索する文字列</source>
        <translation>Text to search for</translation>
    </message>
    <message>
        <location line="-26"/>
        <source>完全一致</source>
        <translation>Exact</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>部分一致</source>
        <translation>Partial</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>StatusLine</name>
    <message>
        <location filename="../status_line.cpp" line="+40"/>
        <source> 測定数：%1（区切り %2）</source>
        <translation> Relevés: %1, separators: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source> 測定数：%1</source>
        <translation> Relevés: %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source> 種数：%1</source>
        <translation> Species: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source> 変換辞書：%1</source>
        <translation> Dictionary: %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source> ファイル：%1</source>
        <translation> File: %1</translation>
    </message>
</context>
<context>
    <name>TableHistory</name>
    <message>
        <location filename="../table_history.cpp" line="+22"/>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>元に戻す：%1</source>
        <translation>Undo: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>やり直し：%1</source>
        <translation>Redo: %1</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>&#x3000;%1&#x3000;</source>
        <translation>  %1  </translation>
    </message>
    <message>
        <location line="+30"/>
        <source>&#x3000;元に戻しています&#x3000;</source>
        <translation>  Undoing  </translation>
    </message>
    <message>
        <location line="+7"/>
        <source>&#x3000;やり直しています&#x3000;</source>
        <translation>  Redoing  </translation>
    </message>
</context>
<context>
    <name>UserDialogs</name>
    <message>
        <location filename="../user_dialogs.cpp" line="+26"/>
        <source>植生データファイル (*.tki)</source>
        <translation>Field data files (*.tki)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>植生組成表ファイル (*.vtb *.VTB *.vtb.gz *.vtb.zst)</source>
        <translation>Composition tables (*.vtb *.VTB *.vtb.gz *.vtb.zst)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ＣＳＶデータファイル (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>異名辞書ファイル (*.dic)</source>
        <translation>Synonym dictionaries (*.dic)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>設定ファイル (*.ini)</source>
        <translation>Settings files (*.ini)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>組成表で保存 (*.vtb *.vtb.gz)</source>
        <translation>Composition table (*.vtb *.vtb.gz)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>圧縮した組成表 (*.vtb.zst)</source>
        <translation>Compressed composition table (*.vtb.zst)</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <location line="+62"/>
        <source>プリンターの設定</source>
        <translation>Printer Setup</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>保存しない(&amp;N)</source>
        <translation>Do&amp;n&apos;t Save</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+41"/>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="-29"/>
        <source>復元する(&amp;R)</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>復元しない(&amp;N)</source>
        <translation>Do&amp;n&apos;t Restore</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>中止(&amp;A)</source>
        <translation>&amp;Abort</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>WorkMessage</name>
    <message>
        <location filename="../work_message.cpp" line="+32"/>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
</context>
</TS>
