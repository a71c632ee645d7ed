<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>kalvo::CoreText</name>
    <message>
        <source>DXF fileではありません</source>
        <translation>This is not a DXF file</translation>
    </message>
    <message>
        <source>ファイル形式の認識ができません。</source>
        <translation>The file format was not recognised.</translation>
    </message>
    <message>
        <source>RayDreamStudio形式のファイルではありません</source>
        <translation>This is not a Ray Dream Studio file</translation>
    </message>
    <message>
        <source>このファイルにはメッシュ形状がふくまれていません。</source>
        <translation>This file contains no mesh shapes.</translation>
    </message>
    <message>
        <source>RDSファイル読み込み中...</source>
        <translation>Reading the RDS file...</translation>
    </message>
    <message>
        <source>%1:%2: 値を数値に変換できません: %3</source>
        <translation>%1:%2: the value cannot be read as a number: %3</translation>
    </message>
    <message>
        <source>%1読み込みを中止しました。</source>
        <translation>%1 Reading was stopped.</translation>
    </message>
    <message>
        <source>ROKファイルが途中で終わっています。</source>
        <translation>The ROK file ends too early.</translation>
    </message>
    <message>
        <source>ROKファイルの%1 行目が数値として読めません。</source>
        <translation>Line %1 of the ROK file cannot be read as a number.</translation>
    </message>
    <message>
        <source>ROKファイルの%1 行目が座標として読めません。</source>
        <translation>Line %1 of the ROK file cannot be read as coordinates.</translation>
    </message>
    <message>
        <source>ROKファイルの%1 行目の角の数が正しくありません。</source>
        <translation>Line %1 of the ROK file has a wrong number of corners.</translation>
    </message>
    <message>
        <source>ROKファイルのパレットの色数 (%1) が正しくありません。</source>
        <translation>The number of palette colours of the ROK file (%1) is wrong.</translation>
    </message>
    <message>
        <source>ROKファイルのパレットが途中で終わっています。</source>
        <translation>The palette of the ROK file ends too early.</translation>
    </message>
    <message>
        <source>ROKファイルの %1 個のレコードは存在しない点または線を指しているため、読み飛ばしました。</source>
        <translation>%1 records of the ROK file refer to points or lines that do not exist and were skipped.</translation>
    </message>
    <message>
        <source>ブロック「%1」が自分自身を挿入しています。読み込みをここで止めます。</source>
        <translation>Block “%1” inserts itself. Reading stops here.</translation>
    </message>
    <message>
        <source>ブロック「%1」の挿入の入れ子が %2 段を超えています。読み込みをここで止めます。</source>
        <translation>Block “%1” nests inserts more than %2 levels deep. Reading stops here.</translation>
    </message>
    <message>
        <source>ブロック「%1」を展開すると面が 5000 万を超えます。読み込みをここで止めます。</source>
        <translation>Block “%1” expands to more than 50 million faces. Reading stops here.</translation>
    </message>
    <message>
        <source>面が 5000 万を超えます。読み込みをここで止めます。</source>
        <translation>More than 50 million faces. Reading stops here.</translation>
    </message>
    <message>
        <source>%1は数値ではありません</source>
        <translation>%1 is not a number</translation>
    </message>
    <message>
        <source>正面</source>
        <translation>Front</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>上</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>下</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>背面</source>
        <translation>Back</translation>
    </message>
</context>
</TS>
