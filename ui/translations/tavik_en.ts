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
        <translation>Do&amp;n't Save</translation>
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
        <translation>Do&amp;n't Restore</translation>
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
