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
        <location line="+12"/>
        <source>植生組成表の作成と処理</source>
        <translation>Making and working on phytosociological composition tables</translation>
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
        <location line="+23"/>
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
        <location line="+31"/>
        <source>（なし）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>「%1」</source>
        <translation>“%1”</translation>
    </message>
</context>
<context>
    <name>DendrogramWindow</name>
    <message>
        <location filename="../dendrogram_window.cpp" line="+137"/>
        <source>樹形図</source>
        <translation>Dendrogram</translation>
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
        <location line="+0"/>
        <source>テキスト形式 (*.txt)</source>
        <translation>Text form (*.txt)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>常在度表で保存 (*.ftb)</source>
        <translation>Constancy table (*.ftb)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>テキストで保存 (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSVファイルで保存 (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>エクセル・ファイル (*.xlsx)</source>
        <translation>Excel file (*.xlsx)</translation>
    </message>
    <message>
        <location line="+34"/>
        <source>印&#x3000;刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>表を直接印刷する</source>
        <translation>Print the table</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>全コピー</source>
        <translation>Copy All</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>表をクリップボードに</source>
        <translation>Copy the table to the clipboard</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>常在度表を消去する</source>
        <translation>Close the constancy table</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>テキスト書出</source>
        <translation>Write Text</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表を互換テキストファイルにする</source>
        <translation>Write the table as a compatible text file</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV書出</source>
        <translation>Write CSV</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>表をCSV形式で書き出す</source>
        <translation>Write the table as CSV</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Excel書出</source>
        <translation>Write Excel</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表をエクセル・ファイルに書き出す（診断種は群の色）</source>
        <translation>Write the table as an Excel file (diagnostic species in the colour of their group)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>テキスト読込</source>
        <translation>Read Text</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>テキスト保存した表を読み込む</source>
        <translation>Add the groups of a table saved as text</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV読込</source>
        <translation>Read CSV</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>保存したCSV常在度表を読み込む</source>
        <translation>Read a constancy table saved as CSV</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>表のフォントを変更する</source>
        <translation>Change the table's font</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>診断種順</source>
        <translation>Diagnostic Order</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>植物を区分ごとの診断種のまとまりに並べ替える</source>
        <translation>Order the species in blocks of the diagnostic species of each group</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>テキストとCSVの文字コード（UTF-8 はどの言語の表計算でも読めます）</source>
        <translation>Encoding of text and CSV files (spreadsheets in any language read UTF-8)</translation>
    </message>
    <message>
        <location line="+106"/>
        <source>常在度表の保存</source>
        <translation>Save the Constancy Table</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>同名のファイルが存在します。書き換えますか？</source>
        <translation>A file of that name exists. Replace it?</translation>
    </message>
    <message>
        <location line="+45"/>
        <source>常在度表（CSV）の読込</source>
        <translation>Read a Constancy Table (CSV)</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>テキスト形式の常在度表の読込</source>
        <translation>Read a Constancy Table in Text Form</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>常在度表のフォント</source>
        <translation>Font of the Constancy Table</translation>
    </message>
    <message>
        <location line="+40"/>
        <source>印刷できませんでした</source>
        <translation>Could not print</translation>
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
        <location line="+63"/>
        <source>プリンターの設定</source>
        <translation>Printer Setup</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>保存しない(&amp;N)</source>
        <translation>Do&amp;n&apos;t Save</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+41"/>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="-30"/>
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
