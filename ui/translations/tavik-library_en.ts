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
</context>
<context>
    <name>output</name>
</context>
</TS>
