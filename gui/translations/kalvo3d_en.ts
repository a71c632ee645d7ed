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
    <message>
        <source>モデルの面が 5000 万を超えます。読み込みをここで止めます。</source>
        <translation>The model has more than 50 million faces. Reading stops here.</translation>
    </message>
    <message>
        <source>オブジェクト%1には3つ以上の面を共有する
稜線がふくまれているため、RDS形式で保存できません</source>
        <translation>Object %1 has edges shared by three or more faces
and cannot be saved in RDS format</translation>
    </message>
    <message>
        <source>オブジェクト%1には面を構成しない線があります。
面を構成しない線を書き出しますか？</source>
        <translation>Object %1 has lines that belong to no face.
Write the lines that belong to no face?</translation>
    </message>
</context>
<context>
    <name>kalvo::ExportSelectedObjects</name>
    <message>
        <source>ファイル%1は既に存在します。 上書きしますか？</source>
        <translation>The file %1 already exists. Replace it?</translation>
    </message>
</context>
<context>
    <name>kalvo::OpenDialogFilter</name>
    <message>
        <source>Kalvo/3D (*.k3d)|*.k3d|DXF file (*.dxf)|*.dxf|六角大王 (*.rok)|*.rok|RayDream Studio5 (*.rds)|*.rds|3D モデル|%1|すべてのモデル|%2</source>
        <translation>Kalvo/3D (*.k3d)|*.k3d|DXF file (*.dxf)|*.dxf|ROK model (*.rok)|*.rok|Ray Dream Studio 5 (*.rds)|*.rds|3D models|%1|All models|%2</translation>
    </message>
</context>
<context>
    <name>kalvo::RunCommand</name>
    <message>
        <source>メモリが足りないため、処理を中止しました。</source>
        <translation>Not enough memory: the command was stopped.</translation>
    </message>
    <message>
        <source>処理を中止しました。
%1</source>
        <translation>The command was stopped.
%1</translation>
    </message>
    <message>
        <source>予期しないエラーのため、処理を中止しました。</source>
        <translation>An unexpected error stopped the command.</translation>
    </message>
</context>
<context>
    <name>kalvo::TMainForm</name>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前をつけて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>読み込み...</source>
        <translation>Read...</translation>
    </message>
    <message>
        <source>RDS書き出し...</source>
        <translation>Export RDS...</translation>
    </message>
    <message>
        <source>環境設定...</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>ウインドウ(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>並べて表示</source>
        <translation>Tile</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)...</source>
        <translation>&amp;About...</translation>
    </message>
    <message>
        <source>新規作成</source>
        <translation>New</translation>
    </message>
</context>
<context>
    <name>kalvo::TOpenProgress</name>
    <message>
        <source>%1 を読み込んでいます...</source>
        <translation>Reading %1...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>kalvo::TQtPlatform</name>
    <message>
        <source>情報</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>kalvo::TdlgTempSize</name>
    <message>
        <source>ﾀﾞｲｱﾛｸﾞ</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>テンプレートの大きさ</source>
        <translation>Template size</translation>
    </message>
    <message>
        <source>Ｘサイズ</source>
        <translation>X size</translation>
    </message>
    <message>
        <source>Ｙサイズ</source>
        <translation>Y size</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>テンプレートの大きさは %1 から %2 ピクセルまでです。</source>
        <translation>A template is %1 to %2 pixels on each side.</translation>
    </message>
    <message>
        <source>%1 x %2 のテンプレートには約 %3 のメモリが必要です。このコンピュータのメモリ (%4) では足りません。</source>
        <translation>A %1 x %2 template needs about %3 of memory, more than this computer has (%4).</translation>
    </message>
</context>
<context>
    <name>kalvo::TfrmBar</name>
    <message>
        <source>お待ちください...</source>
        <translation>Please wait...</translation>
    </message>
</context>
<context>
    <name>kalvo::TfrmEnviron</name>
    <message>
        <source>環境設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>表示色</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>プレビューウインドウの色設定</source>
        <translation>Preview window colours</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>メッシュの色</source>
        <translation>Mesh colour</translation>
    </message>
    <message>
        <source>選択色</source>
        <translation>Selection</translation>
    </message>
    <message>
        <source>X軸</source>
        <translation>X axis</translation>
    </message>
    <message>
        <source>Ｙ軸</source>
        <translation>Y axis</translation>
    </message>
    <message>
        <source>Ｚ軸</source>
        <translation>Z axis</translation>
    </message>
    <message>
        <source>3面図</source>
        <translation>Three views</translation>
    </message>
    <message>
        <source>奥の線</source>
        <translation>Lines behind</translation>
    </message>
    <message>
        <source>作業面を横切る線</source>
        <translation>Lines crossing the work plane</translation>
    </message>
    <message>
        <source>手前の線</source>
        <translation>Lines in front</translation>
    </message>
    <message>
        <source>テンプレートウインドウの色設定</source>
        <translation>Template window colours</translation>
    </message>
    <message>
        <source>UVメッシュ色</source>
        <translation>UV mesh colour</translation>
    </message>
    <message>
        <source>編集用UVメッシュ</source>
        <translation>UV mesh being edited</translation>
    </message>
    <message>
        <source>テクスチャプレビュー時のシェーディング</source>
        <translation>Shading in the texture preview</translation>
    </message>
    <message>
        <source>テンプレート</source>
        <translation>Template</translation>
    </message>
    <message>
        <source>起動ペイントソフト</source>
        <translation>Paint program</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>初期サイズ</source>
        <translation>Initial size</translation>
    </message>
    <message>
        <source>３面図</source>
        <translation>Three views</translation>
    </message>
    <message>
        <source>ショートカット</source>
        <translation>Shortcuts</translation>
    </message>
    <message>
        <source>Topビュー</source>
        <translation>Top view</translation>
    </message>
    <message>
        <source>Sideビュー</source>
        <translation>Side view</translation>
    </message>
    <message>
        <source>パースビュー</source>
        <translation>Perspective view</translation>
    </message>
    <message>
        <source>Faceビュー</source>
        <translation>Face view</translation>
    </message>
    <message>
        <source>最大&lt;-&gt;標準切り替え</source>
        <translation>Maximised &lt;-&gt; normal</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>ファイル ダイアログボックス</source>
        <translation>File dialog</translation>
    </message>
    <message>
        <source>最後に開いたディレクトリを記録する</source>
        <translation>Remember the last folder opened</translation>
    </message>
    <message>
        <source>常に以下のディレクトリを開く</source>
        <translation>Always open this folder</translation>
    </message>
    <message>
        <source>新規ウインドウを最大化して開く</source>
        <translation>Open new windows maximised</translation>
    </message>
    <message>
        <source>メニューを自動的に開く</source>
        <translation>Open menus automatically</translation>
    </message>
    <message>
        <source>選択オブジェクトをバウンディングＢＯＸで囲む</source>
        <translation>Draw a bounding box around selected objects</translation>
    </message>
    <message>
        <source>言語 / Language</source>
        <translation>言語 / Language</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>日本語</translation>
    </message>
    <message>
        <source>システムの言語 / System</source>
        <translation>システムの言語 / System</translation>
    </message>
    <message>
        <source>次回の起動から / From the next start</source>
        <translation>次回の起動から / From the next start</translation>
    </message>
    <message>
        <source>レスポンス</source>
        <translation>Response</translation>
    </message>
    <message>
        <source>プレビュー機能を使用する</source>
        <translation>Use the preview</translation>
    </message>
    <message>
        <source>逐次表示</source>
        <translation>Progressive</translation>
    </message>
    <message>
        <source>一括表示</source>
        <translation>All at once</translation>
    </message>
    <message>
        <source>陰影付き稜線</source>
        <translation>Shaded wireframe</translation>
    </message>
    <message>
        <source>隠面消去＋稜線</source>
        <translation>Hidden surface + edges</translation>
    </message>
    <message>
        <source>隠面消去</source>
        <translation>Hidden surface</translation>
    </message>
    <message>
        <source>逐次表示（ディスプレーと同色、メモリー消費小、低速） </source>
        <translation>Progressive (display colours, little memory, slow)</translation>
    </message>
    <message>
        <source> 一括表示（２５６色固定、メモリー消費大、高速,、レスポンス悪）</source>
        <translation>All at once (256 fixed colours, more memory, fast, less responsive)</translation>
    </message>
    <message>
        <source>視線変更時の表示モード</source>
        <translation>Display mode while the view moves</translation>
    </message>
    <message>
        <source>稜線プレビューに変更（レスポンス良）</source>
        <translation>Switch to wireframe (most responsive)</translation>
    </message>
    <message>
        <source>陰影付き稜線プレビューに変更（レスポンス中）</source>
        <translation>Switch to shaded wireframe (fairly responsive)</translation>
    </message>
    <message>
        <source>表示モードの変更をしない</source>
        <translation>Keep the display mode</translation>
    </message>
    <message>
        <source>テクスチャプレビュー機能を使用する</source>
        <translation>Use the texture preview</translation>
    </message>
    <message>
        <source>テクスチャ情報の保持方式</source>
        <translation>How textures are kept</translation>
    </message>
    <message>
        <source>２５６色固定ビットマップ（自動減色、メモリー消費小）</source>
        <translation>256-colour bitmap (colours reduced, little memory)</translation>
    </message>
    <message>
        <source>可変色ビットマップ（高品質プレビュー、メモリー消費大、低速）</source>
        <translation>Full-colour bitmap (better preview, more memory, slow)</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Controls</translation>
    </message>
    <message>
        <source>パースビューの操作</source>
        <translation>Perspective view controls</translation>
    </message>
    <message>
        <source>上方向に右ドラッグでズームイン</source>
        <translation>Right-drag upwards to zoom in</translation>
    </message>
    <message>
        <source>下方向に右ドラッグでズームイン</source>
        <translation>Right-drag downwards to zoom in</translation>
    </message>
    <message>
        <source>左ドラッグ方向と逆方向に視点を移動</source>
        <translation>Move the viewpoint against the left drag</translation>
    </message>
    <message>
        <source>左ドラッグ方向と同じ方向に視点を移動</source>
        <translation>Move the viewpoint with the left drag</translation>
    </message>
    <message>
        <source>アプリケーション(*.exe)|*.exe</source>
        <translation>Programs (*.exe)|*.exe</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>テンプレートウインドウから起動するプログラムのコマンドライン。
%f を含めると、テンプレートを画像ファイルに書き出してその名前で置き換え、プログラムがファイルを保存するたびにテンプレートへ読み込みます。</source>
        <translation>The command line of the program the template window starts.
With %f in it, the template is written to a picture file whose name replaces %f, and read back into the template each time the program saves that file.</translation>
    </message>
</context>
<context>
    <name>kalvo::TfrmInfo</name>
    <message>
        <source>Kalvo3D.txtを読む</source>
        <translation>Read Kalvo3D.txt</translation>
    </message>
    <message>
        <source>%1 を実行できません。</source>
        <translation>%1 cannot be started.</translation>
    </message>
</context>
<context>
    <name>kalvo::TfrmMapTemplate</name>
    <message>
        <source>テクスチャーを開く</source>
        <translation>Open a texture</translation>
    </message>
    <message>
        <source>クリップボードへ転送</source>
        <translation>Copy to the clipboard</translation>
    </message>
    <message>
        <source>ペイントソフトを起動</source>
        <translation>Start the paint program</translation>
    </message>
    <message>
        <source>クリップボードから転送</source>
        <translation>Paste from the clipboard</translation>
    </message>
    <message>
        <source>ズームイン</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>ズームアウト</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>ペン</source>
        <translation>Pen</translation>
    </message>
    <message>
        <source>ペンカラー</source>
        <translation>Pen colour</translation>
    </message>
    <message>
        <source>ペンサイズ１</source>
        <translation>Pen size 1</translation>
    </message>
    <message>
        <source>ペンサイズ４</source>
        <translation>Pen size 4</translation>
    </message>
    <message>
        <source>ペンサイズ８</source>
        <translation>Pen size 8</translation>
    </message>
    <message>
        <source>ペンサイズ１６</source>
        <translation>Pen size 16</translation>
    </message>
    <message>
        <source>指定色を透過してマッピングする</source>
        <translation>Map with the chosen colour transparent</translation>
    </message>
    <message>
        <source>透過色の設定</source>
        <translation>Transparent colour</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>90度右回転</source>
        <translation>Rotate 90° right</translation>
    </message>
    <message>
        <source>比率をあわせる</source>
        <translation>Match the proportions</translation>
    </message>
    <message>
        <source>テンプレートサイズ変更...</source>
        <translation>Template size...</translation>
    </message>
    <message>
        <source>透過色をピックアップ</source>
        <translation>Pick the transparent colour</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>テンプレートを保存...</source>
        <translation>Save the template...</translation>
    </message>
    <message>
        <source>ウインドウ(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>プレビューウインドウに切り替え</source>
        <translation>Switch to the preview window</translation>
    </message>
    <message>
        <source>並べて表示(&amp;T)</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>Windows Bitmap (*.bmp)|*.bmp|画像ファイル (%1)|%2</source>
        <translation>Windows Bitmap (*.bmp)|*.bmp|Pictures (%1)|%2</translation>
    </message>
    <message>
        <source>画像を書き出せませんでした</source>
        <translation>The picture could not be written</translation>
    </message>
    <message>
        <source>テクスチャー %1 を読み込めませんでした。
%2</source>
        <translation>The texture %1 could not be read.
%2</translation>
    </message>
    <message>
        <source>ファイル%1は既に存在します。 上書きしますか？</source>
        <translation>The file %1 already exists. Replace it?</translation>
    </message>
    <message>
        <source>テンプレートを %1 に保存できませんでした。
%2</source>
        <translation>The template could not be saved as %1.
%2</translation>
    </message>
    <message>
        <source>ペイントソフト「%1」を起動できませんでした。
環境設定の「テンプレート」にある「起動ペイントソフト」(PaintSoft) に、起動できるプログラムを指定してください。</source>
        <translation>The paint program “%1” could not be started.
Name a program that can be started in “Paint program” (PaintSoft) on the “Template” page of the settings.</translation>
    </message>
    <message>
        <source>テクスチャ中のメッシュラインを破棄しますか？
OKを押すと現在のテクスチャ情報が消去されます</source>
        <translation>Discard the mesh lines in the texture?
OK clears the texture as it is now.</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>kalvo::TfrmModel</name>
    <message>
        <source>ウインドウ(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>テンプレートに切り替え</source>
        <translation>Switch to the template</translation>
    </message>
    <message>
        <source>ズームイン</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>ズームアウト</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>並べて表示(&amp;T)</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>全体表示</source>
        <translation>Show everything</translation>
    </message>
    <message>
        <source>現在の視点を保存</source>
        <translation>Save the current viewpoint</translation>
    </message>
    <message>
        <source>原点を注視点に</source>
        <translation>Look at the origin</translation>
    </message>
    <message>
        <source>選択オブジェクトの中心へ</source>
        <translation>To the centre of the selected objects</translation>
    </message>
    <message>
        <source>数値入力...</source>
        <translation>Enter numbers...</translation>
    </message>
    <message>
        <source> ＋゜ パースビュー(R)</source>
        <translation>Perspective view (R)</translation>
    </message>
    <message>
        <source>゜＋  トップビュー(E)</source>
        <translation>Top view (E)</translation>
    </message>
    <message>
        <source>｡＋  サイドビュー(D)</source>
        <translation>Side view (D)</translation>
    </message>
    <message>
        <source> ＋。 フェイスビュー (F)</source>
        <translation>Face view (F)</translation>
    </message>
    <message>
        <source>最大&lt;-&gt;標準 切り替え(W)</source>
        <translation>Maximised &lt;-&gt; normal (W)</translation>
    </message>
    <message>
        <source>ここを表示の中心にする</source>
        <translation>Centre the views here</translation>
    </message>
    <message>
        <source>選択オブジェクトの中心</source>
        <translation>Centre of the selected objects</translation>
    </message>
    <message>
        <source>オブジェクト選択やテンプレート作成作業等を行います</source>
        <translation>Select objects, make templates and more</translation>
    </message>
    <message>
        <source>   オブジェクト  </source>
        <translation>   Objects  </translation>
    </message>
    <message>
        <source>視点変更</source>
        <translation>Change the viewpoint</translation>
    </message>
    <message>
        <source>視点</source>
        <translation>View</translation>
    </message>
    <message>
        <source>図面表示方法の選択を行います</source>
        <translation>Choose how the views are laid out</translation>
    </message>
    <message>
        <source>稜線プレビュー</source>
        <translation>Wireframe preview</translation>
    </message>
    <message>
        <source>陰影付き稜線プレビュー</source>
        <translation>Shaded wireframe preview</translation>
    </message>
    <message>
        <source>隠面消去＋稜線プレビュー</source>
        <translation>Hidden surface + edges preview</translation>
    </message>
    <message>
        <source>隠面消去プレビュー</source>
        <translation>Hidden surface preview</translation>
    </message>
    <message>
        <source>テクスチャ プレビュー</source>
        <translation>Texture preview</translation>
    </message>
    <message>
        <source>パースペクティブビュー</source>
        <translation>Perspective view</translation>
    </message>
    <message>
        <source>トップビュー</source>
        <translation>Top view</translation>
    </message>
    <message>
        <source>サイドビュー</source>
        <translation>Side view</translation>
    </message>
    <message>
        <source>フェイスビュー</source>
        <translation>Face view</translation>
    </message>
</context>
<context>
    <name>kalvo::TfrmObj</name>
    <message>
        <source>オブジェクト</source>
        <translation>Objects</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>テンプレート作成</source>
        <translation>Make template</translation>
    </message>
    <message>
        <source>自動的に隠す</source>
        <translation>Hide automatically</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>オブジェクト リスト</source>
        <translation>Object list</translation>
    </message>
    <message>
        <source>ツリー</source>
        <translation>Tree</translation>
    </message>
    <message>
        <source>マッピング テンプレート...</source>
        <translation>Map template...</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>タブ位置</source>
        <translation>Tab position</translation>
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
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>グループ %1</source>
        <translation>Group %1</translation>
    </message>
    <message>
        <source>&lt;未選択&gt;</source>
        <translation>&lt;None&gt;</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は整数ではありません</source>
        <translation>&apos;%1&apos; is not a whole number</translation>
    </message>
    <message>
        <source>UV を生成</source>
        <translation>Make UVs</translation>
    </message>
    <message>
        <source>選択したオブジェクトの UV を置き換えます。よろしいですか？</source>
        <translation>This replaces the UVs of the selected objects. Go ahead?</translation>
    </message>
    <message>
        <source>平面 X</source>
        <translation>Planar X</translation>
    </message>
    <message>
        <source>平面 Y</source>
        <translation>Planar Y</translation>
    </message>
    <message>
        <source>平面 Z</source>
        <translation>Planar Z</translation>
    </message>
    <message>
        <source>ボックス</source>
        <translation>Box</translation>
    </message>
    <message>
        <source>円筒 X</source>
        <translation>Cylinder X</translation>
    </message>
    <message>
        <source>円筒 Y</source>
        <translation>Cylinder Y</translation>
    </message>
    <message>
        <source>円筒 Z</source>
        <translation>Cylinder Z</translation>
    </message>
    <message>
        <source>球</source>
        <translation>Sphere</translation>
    </message>
</context>
</TS>
