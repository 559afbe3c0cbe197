<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AppSettings</name>
    <message>
        <source>Could not ask the graphics card (%1)</source>
        <translation>グラフィックカードに問い合わせできませんでした (%1)</translation>
    </message>
    <message>
        <source>%1 decodes neither H.265 nor H.264</source>
        <translation>%1 は H.265 も H.264 もデコードできません</translation>
    </message>
    <message>
        <source>%1 decodes %2</source>
        <translation>%1 は %2 をデコードできます</translation>
    </message>
</context>
<context>
    <name>AppStatusBar</name>
    <message>
        <source>reading %1 @ 0x%2</source>
        <translation>読み込み中 %1 @ 0x%2</translation>
    </message>
    <message>
        <source>decoding %1</source>
        <translation>デコード %1</translation>
    </message>
    <message>
        <source>audio</source>
        <translation>音声</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>音声なし</translation>
    </message>
    <message>
        <source>buffer %1 s</source>
        <translation>バッファー %1 秒</translation>
    </message>
    <message>
        <source>Read-only · Recordings stay on this computer</source>
        <translation>読み取り専用 · 録画はこのPCの外に出ません</translation>
    </message>
    <message>
        <source>Waiting for a recording</source>
        <translation>録画を待っています</translation>
    </message>
    <message>
        <source>Recording files missing</source>
        <translation>録画ファイルがありません</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>この日の録画はありません</translation>
    </message>
    <message numerus="yes">
        <source>%n events today · Click an event to seek</source>
        <translation>
            <numerusform>この日のイベント %n 件 · クリックでその位置へ移動</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events today</source>
        <translation>
            <numerusform>この日のイベント %n 件</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AppToolBar</name>
    <message>
        <source>formatted %1</source>
        <translation>%1 にフォーマット</translation>
    </message>
    <message>
        <source>recordings %1 ~ %2</source>
        <translation>録画 %1～%2</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>音声なし</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>SDカード / フォルダーを開く</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>再読み込み</translation>
    </message>
    <message>
        <source>Time: recording location</source>
        <translation>時刻: 録画場所</translation>
    </message>
    <message>
        <source>Time: this computer</source>
        <translation>時刻: このPC</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message numerus="yes">
        <source>%n segments × %1 MB</source>
        <translation>
            <numerusform>%n セグメント × %1 MB</numerusform>
        </translation>
    </message>
    <message>
        <source>not found</source>
        <translation>見つかりません</translation>
    </message>
    <message>
        <source>Recently opened</source>
        <translation>最近開いた項目</translation>
    </message>
    <message>
        <source>No cards opened yet</source>
        <translation>まだ何も開いていません</translation>
    </message>
    <message>
        <source>open now</source>
        <translation>表示中</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>一覧を消去</translation>
    </message>
</context>
<context>
    <name>AreaChanges</name>
    <message>
        <source>Lighting change</source>
        <translation>照明の変化</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>変化</translation>
    </message>
    <message>
        <source>Duration %1</source>
        <translation>長さ %1</translation>
    </message>
    <message>
        <source>%1 % of the area · %2</source>
        <translation>範囲の %1 % · %2</translation>
    </message>
    <message>
        <source>Changes in the area (%1)</source>
        <translation>範囲内の変化 (%1)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>感度</translation>
    </message>
    <message>
        <source>Lighting</source>
        <translation>照明</translation>
    </message>
    <message>
        <source>Nothing changed in this area. Raise the sensitivity to see smaller changes</source>
        <translation>この範囲に変化はありません。小さな変化を見るには感度を上げてください</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>解析中… %1 %</translation>
    </message>
</context>
<context>
    <name>BookmarkPopup</name>
    <message>
        <source>Bookmark at %1</source>
        <translation>%1 のブックマーク</translation>
    </message>
    <message>
        <source>Note of the bookmark at %1</source>
        <translation>%1 のブックマークのメモ</translation>
    </message>
    <message>
        <source>Note (optional)</source>
        <translation>メモ（任意）</translation>
    </message>
    <message>
        <source>Add bookmark</source>
        <translation>ブックマークを追加</translation>
    </message>
    <message>
        <source>Keep note</source>
        <translation>メモを保存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>CalendarPanel</name>
    <message>
        <source>MMMM yyyy</source>
        <translation>yyyy年M月</translation>
    </message>
    <message>
        <source>Recordings</source>
        <translation>録画</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>イベント</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>選択中</translation>
    </message>
</context>
<context>
    <name>CardPicker</name>
    <message numerus="yes">
        <source>This folder holds %n card(s). Which one do you want to open?</source>
        <translation>
            <numerusform>このフォルダーには %n 枚のカードがあります。どれを開きますか?</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
</context>
<context>
    <name>DecodeWorker</name>
    <message>
        <source>Cannot read the recordings.</source>
        <translation>録画を読み込めません。</translation>
    </message>
</context>
<context>
    <name>Decoder</name>
    <message>
        <source>This video could not be decoded.</source>
        <translation>このビデオをデコードできませんでした。</translation>
    </message>
    <message>
        <source>Your graphics card cannot decode this video.</source>
        <translation>お使いのグラフィックカードではこのビデオをデコードできません。</translation>
    </message>
    <message>
        <source>This video format is not supported.</source>
        <translation>このビデオ形式には対応していません。</translation>
    </message>
    <message>
        <source>Windows could not decode this video (%1).</source>
        <translation>Windows でこのビデオをデコードできませんでした (%1)。</translation>
    </message>
    <message>
        <source>Windows needs Microsoft&apos;s HEVC Video Extensions to decode H.265 without the graphics card. Install them from the Microsoft Store, then try again.</source>
        <translation>グラフィックカードを使わずに H.265 をデコードするには、Microsoft の HEVC ビデオ拡張機能が必要です。Microsoft Store からインストールして、もう一度お試しください。</translation>
    </message>
    <message>
        <source>Windows has no decoder for this video format.</source>
        <translation>Windows にはこのビデオ形式のデコーダーがありません。</translation>
    </message>
</context>
<context>
    <name>EventList</name>
    <message>
        <source>Open an SD card or recording folder to see events</source>
        <translation>イベントを表示するには SDカードか録画フォルダーを開いてください</translation>
    </message>
    <message>
        <source>The recording index exists, but the video files are not in this folder</source>
        <translation>録画インデックスはありますが、ビデオファイルがこのフォルダーにありません</translation>
    </message>
    <message>
        <source>Select a date with recordings</source>
        <translation>録画のある日付を選んでください</translation>
    </message>
    <message>
        <source>No events on this day. Use the timeline to browse recordings</source>
        <translation>この日のイベントはありません。タイムラインで録画を確認できます</translation>
    </message>
    <message>
        <source>No events match this filter</source>
        <translation>このフィルターに一致するイベントはありません</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>動き</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>音</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>泣き声</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>人感センサー</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>人物</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>イベント</translation>
    </message>
    <message>
        <source>Duration %1 s</source>
        <translation>長さ %1 秒</translation>
    </message>
    <message>
        <source>Duration %1 min %2 s</source>
        <translation>長さ %1 分 %2 秒</translation>
    </message>
    <message>
        <source>recording file missing</source>
        <translation>録画ファイルなし</translation>
    </message>
    <message>
        <source>Clear filter</source>
        <translation>フィルターを解除</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>ブックマーク</translation>
    </message>
    <message>
        <source>Edit note…</source>
        <translation>メモを編集…</translation>
    </message>
    <message>
        <source>Delete bookmark</source>
        <translation>ブックマークを削除</translation>
    </message>
    <message>
        <source>No note</source>
        <translation>メモなし</translation>
    </message>
</context>
<context>
    <name>EventsOnly</name>
    <message>
        <source>No more events</source>
        <translation>これ以降のイベントはありません</translation>
    </message>
    <message>
        <source>Next event %1</source>
        <translation>次のイベント %1</translation>
    </message>
</context>
<context>
    <name>ExportPanel</name>
    <message>
        <source>Choose where to save the exported files.</source>
        <translation>書き出したファイルの保存先を選んでください。</translation>
    </message>
    <message>
        <source>Not enough free space: %1 left on this drive</source>
        <translation>空き容量が足りません: このドライブの残りは %1 です</translation>
    </message>
    <message>
        <source>Recorded %1</source>
        <translation>録画 %1</translation>
    </message>
    <message>
        <source>Skip gaps %1</source>
        <translation>空白 %1</translation>
    </message>
    <message>
        <source>Missing files %1</source>
        <translation>欠落ファイル %1</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>約 %1</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>音声なし</translation>
    </message>
    <message>
        <source>Enter a valid time, for example 14:30:00.</source>
        <translation>有効な時刻を入力してください (例: 14:30:00)。</translation>
    </message>
    <message>
        <source>End time must be later than start time.</source>
        <translation>終了時刻は開始時刻より後にしてください。</translation>
    </message>
    <message>
        <source>There is no recording in this range. Adjust the selection.</source>
        <translation>この範囲に録画はありません。選択範囲を調整してください。</translation>
    </message>
    <message>
        <source>Export cancelled</source>
        <translation>書き出しを中止しました</translation>
    </message>
    <message>
        <source>Nothing to export in this range</source>
        <translation>この範囲に書き出せるものはありません</translation>
    </message>
    <message>
        <source>Save the exported files to</source>
        <translation>書き出したファイルの保存先</translation>
    </message>
    <message>
        <source>Export video</source>
        <translation>書き出す</translation>
    </message>
    <message>
        <source>Fewer options</source>
        <translation>詳細を閉じる</translation>
    </message>
    <message>
        <source>More options</source>
        <translation>詳細オプション</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>開始時刻</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>終了時刻</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>形式</translation>
    </message>
    <message>
        <source>MOV · Recommended</source>
        <translation>MOV · 推奨</translation>
    </message>
    <message>
        <source>Supports AAC, G.711 and silent recordings</source>
        <translation>AAC・G.711・音声なしの録画に対応</translation>
    </message>
    <message>
        <source>MP4</source>
        <translation>MP4</translation>
    </message>
    <message>
        <source>MP4 is unavailable for this G.711 audio recording</source>
        <translation>G.711 音声の録画では MP4 は使えません</translation>
    </message>
    <message>
        <source>For AAC audio or silent recordings</source>
        <translation>AAC 音声または音声なしの録画向け</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>録画の空白</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>個別ファイル</translation>
    </message>
    <message>
        <source>Save each recorded interval as a separate file</source>
        <translation>録画区間ごとに別のファイルに保存</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>1 つのファイルに結合</translation>
    </message>
    <message>
        <source>Skip gaps and merge recordings in chronological order</source>
        <translation>空白を飛ばして録画を時間順に結合</translation>
    </message>
    <message>
        <source>Export the selected recording range</source>
        <translation>選択した録画範囲を書き出します</translation>
    </message>
    <message>
        <source>MOV is required to preserve the G.711 audio in this recording.</source>
        <translation>この録画の G.711 音声を残すには MOV が必要です。</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>残り約 %1</translation>
    </message>
    <message>
        <source>Cancel export</source>
        <translation>書き出しを中止</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>フォルダーに表示</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>保存先</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>参照...</translation>
    </message>
    <message>
        <source>Leave the audio out</source>
        <translation>音声を含めない</translation>
    </message>
    <message>
        <source>Copied as recorded (%1), not converted</source>
        <translation>録画のままコピー (%1)、変換なし</translation>
    </message>
    <message>
        <source>Starts at the key frame %1</source>
        <translation>キーフレーム %1 から開始</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>ファイル名</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n ファイル</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) exported</source>
        <translation>
            <numerusform>%n ファイルを書き出しました</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Export cancelled. The %n finished file(s) were kept.</source>
        <translation>
            <numerusform>書き出しを中止しました。完成した %n ファイルは残してあります。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>… and %n more</source>
        <translation>
            <numerusform>… ほか %n 件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n event(s)</source>
        <translation>
            <numerusform>%n 件のイベント</numerusform>
        </translation>
    </message>
    <message>
        <source>No events of the chosen types on this day.</source>
        <translation>この日に選択した種類のイベントはありません。</translation>
    </message>
    <message>
        <source>Events of this day</source>
        <translation>この日のイベント</translation>
    </message>
    <message>
        <source>Each event of the types the event list shows, as a file of its own</source>
        <translation>イベント一覧に表示されている種類の各イベントを個別のファイルに</translation>
    </message>
    <message>
        <source>Before and after each event</source>
        <translation>各イベントの前後</translation>
    </message>
    <message>
        <source>No padding</source>
        <translation>余白なし</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1秒</translation>
    </message>
    <message>
        <source>Just the events</source>
        <translation>イベントのみ</translation>
    </message>
    <message>
        <source>%1 s before and after</source>
        <translation>前後%1秒</translation>
    </message>
    <message>
        <source>Export each event as a file of its own</source>
        <translation>各イベントを個別のファイルに書き出す</translation>
    </message>
    <message>
        <source>In this time mode the range crosses midnight: the part on this day stays selected.</source>
        <translation>この時刻表示では範囲が午前 0 時をまたぐため、この日の部分だけを選択したままにします。</translation>
    </message>
    <message>
        <source>In this time mode the range lies on another day: select it again.</source>
        <translation>この時刻表示では範囲が別の日になります。もう一度選択してください。</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>書き出しを閉じる</translation>
    </message>
    <message>
        <source>Camera time as subtitles</source>
        <translation>カメラの時刻を字幕に</translation>
    </message>
    <message>
        <source>Evidence package (report and SHA-256 hashes)</source>
        <translation>証拠パッケージ（レポートと SHA-256 ハッシュ）</translation>
    </message>
    <message>
        <source>Burn in the time</source>
        <translation>時刻を焼き込む</translation>
    </message>
    <message>
        <source>Smaller copy for sharing</source>
        <translation>共有用の小さいコピー</translation>
    </message>
    <message>
        <source>under %1 MB</source>
        <translation>%1 MB 未満</translation>
    </message>
    <message>
        <source>Re-coded as H.264 at 720p with AAC sound, in one MP4 under %1 MB</source>
        <translation>720p の H.264 と AAC 音声に再エンコードし、%1 MB 未満の MP4 1 本にします</translation>
    </message>
    <message>
        <source>the time drawn in</source>
        <translation>時刻を焼き込み</translation>
    </message>
    <message>
        <source>Re-coded as H.264 with the time drawn in; this takes longer than a copy</source>
        <translation>時刻を焼き込んで H.264 に再エンコードします。コピーより時間がかかります</translation>
    </message>
</context>
<context>
    <name>Format</name>
    <message>
        <source>%1h</source>
        <translation>%1時間</translation>
    </message>
    <message>
        <source>%1h%2m</source>
        <translation>%1時間%2分</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1分</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1分%2秒</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1秒</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
</context>
<context>
    <name>KeyMap</name>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Play or pause (K: pause at 1×)</source>
        <translation>再生 / 一時停止 (K: 1× で一時停止)</translation>
    </message>
    <message>
        <source>Play; again: twice as fast, up to 16×</source>
        <translation>再生。もう一度押すと 2 倍速 (最大 16×)</translation>
    </message>
    <message>
        <source>Rewind; again: twice as fast, up to 16×</source>
        <translation>巻き戻し。もう一度押すと 2 倍速 (最大 16×)</translation>
    </message>
    <message>
        <source>Slower, faster</source>
        <translation>遅く、速く</translation>
    </message>
    <message>
        <source>Back, forward 5 s</source>
        <translation>5 秒戻る、進む</translation>
    </message>
    <message>
        <source>Back, forward one picture</source>
        <translation>1 フレーム戻る、進む</translation>
    </message>
    <message>
        <source>Page Up</source>
        <translation>PageUp</translation>
    </message>
    <message>
        <source>Page Down</source>
        <translation>PageDown</translation>
    </message>
    <message>
        <source>Previous, next event</source>
        <translation>前の、次のイベント</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>First, last recording of the day</source>
        <translation>その日の最初の、最後の録画</translation>
    </message>
    <message>
        <source>Events only on or off</source>
        <translation>イベントのみ: オン / オフ</translation>
    </message>
    <message>
        <source>Export from, to the shown picture</source>
        <translation>表示中の画像から、まで書き出す</translation>
    </message>
    <message>
        <source>Save a screenshot</source>
        <translation>スクリーンショットを保存</translation>
    </message>
    <message>
        <source>Mute or unmute</source>
        <translation>ミュート / 解除</translation>
    </message>
    <message>
        <source>Full screen (Esc leaves it)</source>
        <translation>全画面 (Esc で戻る)</translation>
    </message>
    <message>
        <source>Zoom the timeline in, out</source>
        <translation>タイムラインを拡大、縮小</translation>
    </message>
    <message>
        <source>Whole picture (after zooming it)</source>
        <translation>画像全体 (拡大した後)</translation>
    </message>
    <message>
        <source>Close the export editor, a menu or a dialog</source>
        <translation>書き出し編集、メニュー、ダイアログを閉じる</translation>
    </message>
    <message>
        <source>Next control (Shift+Tab: previous)</source>
        <translation>次の操作部品 (Shift+Tab: 前へ)</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open an SD card or folder</source>
        <translation>SDカードまたはフォルダーを開く</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Ctrl+,</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>This list</source>
        <translation>この一覧</translation>
    </message>
    <message>
        <source>No more events</source>
        <translation>これ以降のイベントはありません</translation>
    </message>
    <message>
        <source>This is the first event</source>
        <translation>これが最初のイベントです</translation>
    </message>
    <message>
        <source>End the search in an area</source>
        <translation>範囲内の検索を終了</translation>
    </message>
    <message>
        <source>Bookmark the shown picture</source>
        <translation>表示中の画像をブックマーク</translation>
    </message>
</context>
<context>
    <name>LicensesDialog</name>
    <message>
        <source>Open-source licenses</source>
        <translation>オープンソースライセンス</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (社内テスト版)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Skipped empty %1 → %2</source>
        <translation>空白をスキップ %1 → %2</translation>
    </message>
    <message>
        <source>End of recording at %1</source>
        <translation>%1 で録画が終わりました</translation>
    </message>
    <message>
        <source>No more recordings</source>
        <translation>これ以降の録画はありません</translation>
    </message>
    <message>
        <source>The recording files for this day are not in this folder</source>
        <translation>この日の録画ファイルはこのフォルダーにありません</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>この日の録画はありません</translation>
    </message>
    <message>
        <source>This is the first recording</source>
        <translation>これが最初の録画です</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>残り %1</translation>
    </message>
    <message>
        <source>Choose the SD card or the recording folder</source>
        <translation>SDカードまたは録画フォルダーを選択</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>録画の読み込みに失敗しました。カードは接続されたままですか?</translation>
    </message>
    <message>
        <source>Sound output is not available</source>
        <translation>音声出力を使用できません</translation>
    </message>
    <message>
        <source>No recordings found in %1</source>
        <translation>%1 に録画が見つかりません</translation>
    </message>
</context>
<context>
    <name>QuitConfirm</name>
    <message>
        <source>An export is running</source>
        <translation>書き出し中です</translation>
    </message>
    <message>
        <source>Quitting cancels the export. Files already finished are kept.</source>
        <translation>終了すると書き出しは中止されます。完成済みのファイルは残ります。</translation>
    </message>
    <message>
        <source>Cancel export and quit</source>
        <translation>中止して終了</translation>
    </message>
    <message>
        <source>Keep exporting</source>
        <translation>書き出しを続ける</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Save the exported files to</source>
        <translation>書き出したファイルの保存先</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>表示言語</translation>
    </message>
    <message>
        <source>Follow the system (%1)</source>
        <translation>システムに合わせる (%1)</translation>
    </message>
    <message>
        <source>At first start the system language is used; English when it is not available.</source>
        <translation>初回起動時はシステムの言語を使います。対応していない場合は英語になります。</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>外観</translation>
    </message>
    <message>
        <source>Follow the system</source>
        <translation>システムに合わせる</translation>
    </message>
    <message>
        <source>Cloud White</source>
        <translation>クラウドホワイト</translation>
    </message>
    <message>
        <source>Nightfall</source>
        <translation>ナイトフォール</translation>
    </message>
    <message>
        <source>Time display</source>
        <translation>時刻の表示</translation>
    </message>
    <message>
        <source>Recording location (recommended)</source>
        <translation>録画場所 (推奨)</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>このPC</translation>
    </message>
    <message>
        <source>Date and time format</source>
        <translation>日付と時刻の形式</translation>
    </message>
    <message>
        <source>Follows the system region: %1 · weeks start on %2</source>
        <translation>システムの地域設定に従います: %1 · 週の始まりは%2</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>再生</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>次の録画を続けて再生</translation>
    </message>
    <message>
        <source>Snap to keyframes (hold Alt to skip)</source>
        <translation>キーフレームにスナップ (Alt キーで解除)</translation>
    </message>
    <message>
        <source>Video decoding</source>
        <translation>ビデオのデコード</translation>
    </message>
    <message>
        <source>Graphics card only (recommended)</source>
        <translation>グラフィックカードのみ (推奨)</translation>
    </message>
    <message>
        <source>Graphics card, software if it cannot</source>
        <translation>グラフィックカード (不可ならソフトウェア)</translation>
    </message>
    <message>
        <source>Software only</source>
        <translation>ソフトウェアのみ</translation>
    </message>
    <message>
        <source>%1. Takes effect from the next seek; software decoding uses much more processor time.</source>
        <translation>%1。次の移動から有効です。ソフトウェアデコードは CPU を多く使います。</translation>
    </message>
    <message>
        <source>Software decoding uses the decoders built into Windows; for H.265 they need Microsoft&apos;s HEVC Video Extensions.</source>
        <translation>ソフトウェアデコードには Windows 内蔵のデコーダーを使います。H.265 には Microsoft の HEVC ビデオ拡張機能が必要です。</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>書き出し</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>参照...</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>録画の空白</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>個別ファイル</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>1 つのファイルに結合</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>Check for updates at start-up</source>
        <translation>起動時に更新を確認</translation>
    </message>
    <message>
        <source>Current version %1 (%2)</source>
        <translation>現在のバージョン %1 (%2)</translation>
    </message>
    <message>
        <source>Check now</source>
        <translation>今すぐ確認</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>プライバシー</translation>
    </message>
    <message>
        <source>Recordings are only read on this computer and never uploaded. The network is used only to check for updates.</source>
        <translation>録画はこのPC上で読み込むだけで、アップロードはしません。ネットワークは更新の確認にのみ使います。</translation>
    </message>
    <message>
        <source>About</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (社内テスト版)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Open-source licenses...</source>
        <translation>オープンソースライセンス...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Automatic (recommended)</source>
        <translation>自動 (推奨)</translation>
    </message>
    <message>
        <source>Graphics card only</source>
        <translation>グラフィックカードのみ</translation>
    </message>
    <message>
        <source>Analyse recordings in the background</source>
        <translation>録画をバックグラウンドで解析</translation>
    </message>
</context>
<context>
    <name>ShortcutSheet</name>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>キーボードショートカット</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
</context>
<context>
    <name>SidePanel</name>
    <message>
        <source>Events (%1)</source>
        <translation>イベント (%1)</translation>
    </message>
    <message>
        <source>All types</source>
        <translation>すべての種類</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>動き</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>音</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>泣き声</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>人感センサー</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>人物</translation>
    </message>
    <message>
        <source>%1 · Events today · Click to seek</source>
        <translation>%1 · この日のイベント · クリックで移動</translation>
    </message>
    <message>
        <source>%1 · Events today</source>
        <translation>%1 · この日のイベント</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>ブックマーク</translation>
    </message>
</context>
<context>
    <name>SkipStill</name>
    <message>
        <source>Skipped %1 of still video</source>
        <translation>動きのない映像 %1 をスキップしました</translation>
    </message>
</context>
<context>
    <name>TimeField</name>
    <message>
        <source>HH:MM:SS</source>
        <translation>HH:MM:SS</translation>
    </message>
</context>
<context>
    <name>TimelineItem</name>
    <message>
        <source>Landed %1 (keyframe, snapped %2 %3 s)</source>
        <translation>%1 に移動 (キーフレーム、%2 %3 秒スナップ)</translation>
    </message>
    <message>
        <source>Landed %1</source>
        <translation>%1 に移動</translation>
    </message>
    <message>
        <source>%1  Recording file not found</source>
        <translation>%1  録画ファイルが見つかりません</translation>
    </message>
</context>
<context>
    <name>TimelinePanel</name>
    <message>
        <source>Recording timeline</source>
        <translation>録画タイムライン</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>カメラの時刻</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>このPC</translation>
    </message>
    <message>
        <source>Current time</source>
        <translation>現在の時刻</translation>
    </message>
    <message>
        <source>Exporting…</source>
        <translation>書き出し中…</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>書き出しを閉じる</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>書き出し</translation>
    </message>
    <message>
        <source>The recording file for %1 is not in this folder</source>
        <translation>%1 の録画ファイルはこのフォルダーにありません</translation>
    </message>
    <message>
        <source>No recordings after this time</source>
        <translation>この時刻以降の録画はありません</translation>
    </message>
    <message>
        <source>Snap to keyframes</source>
        <translation>キーフレームにスナップ</translation>
    </message>
    <message>
        <source>Hold Alt while dragging to skip snapping</source>
        <translation>ドラッグ中に Alt キーを押すとスナップしません</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>録画</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>イベント</translation>
    </message>
    <message>
        <source>No recording</source>
        <translation>録画なし</translation>
    </message>
    <message>
        <source>File missing</source>
        <translation>ファイルなし</translation>
    </message>
    <message>
        <source>Wheel: zoom · drag: seek · click empty space: next recording</source>
        <translation>ホイール: ズーム · ドラッグ: 移動 · 空白をクリック: 次の録画</translation>
    </message>
    <message>
        <source>Shift+drag: select a range to export</source>
        <translation>Shift+ドラッグ: 書き出す範囲を選択</translation>
    </message>
    <message>
        <source>. and ,: one frame forward or back</source>
        <translation>. と ,: 1 フレーム進む / 戻る</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>解析中… %1 %</translation>
    </message>
</context>
<context>
    <name>TransportBar</name>
    <message>
        <source>Previous recording</source>
        <translation>前の録画</translation>
    </message>
    <message>
        <source>Pause (Space)</source>
        <translation>一時停止 (Space)</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>再生 (Space)</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>次の録画</translation>
    </message>
    <message>
        <source>Pause and show the next frame (.)</source>
        <translation>一時停止して次のフレームを表示 (.)</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>スクリーンショット</translation>
    </message>
    <message>
        <source>Screenshot saved: %1</source>
        <translation>スクリーンショットを保存しました: %1</translation>
    </message>
    <message>
        <source>Screenshot failed</source>
        <translation>スクリーンショットに失敗しました</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>ミュート解除</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>ミュート</translation>
    </message>
    <message>
        <source>Continuous play</source>
        <translation>連続再生</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>次の録画を続けて再生</translation>
    </message>
    <message>
        <source>Back one frame (,)</source>
        <translation>1 フレーム戻る (,)</translation>
    </message>
    <message>
        <source>Events only</source>
        <translation>イベントのみ</translation>
    </message>
    <message>
        <source>Play only the events, one after another (E)</source>
        <translation>イベントだけを順に再生 (E)</translation>
    </message>
    <message>
        <source>Skip still parts</source>
        <translation>静止部分をスキップ</translation>
    </message>
    <message>
        <source>Jump over the stretches where nothing moves or sounds</source>
        <translation>何も動かず音もしない区間を飛ばします</translation>
    </message>
    <message>
        <source>Bookmark (B)</source>
        <translation>ブックマーク (B)</translation>
    </message>
</context>
<context>
    <name>UpdateBanner</name>
    <message>
        <source>NIVRA Player %1 is available.</source>
        <translation>NIVRA Player %1 が利用できます。</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>ダウンロード...</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>このバージョンをスキップ</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>No update address is set in this build.</source>
        <translation>このビルドには更新確認先のアドレスが設定されていません。</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>確認しています…</translation>
    </message>
    <message>
        <source>Could not check for updates (%1).</source>
        <translation>更新を確認できませんでした (%1)。</translation>
    </message>
    <message>
        <source>The update information could not be read.</source>
        <translation>更新情報を読み取れませんでした。</translation>
    </message>
    <message>
        <source>Version %1 is available.</source>
        <translation>バージョン %1 が利用できます。</translation>
    </message>
    <message>
        <source>You have the latest version.</source>
        <translation>最新バージョンをお使いです。</translation>
    </message>
</context>
<context>
    <name>VideoPanel</name>
    <message>
        <source>Playing</source>
        <translation>再生中</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>一時停止中</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>再生 (Space)</translation>
    </message>
    <message>
        <source>Unable to play this video</source>
        <translation>このビデオを再生できません</translation>
    </message>
    <message>
        <source>Could not open the recordings</source>
        <translation>録画を開けませんでした</translation>
    </message>
    <message>
        <source>Every moment that matters, all in one place</source>
        <translation>大切な瞬間を、ひとつの場所に</translation>
    </message>
    <message>
        <source>Recording files are missing</source>
        <translation>録画ファイルが見つかりません</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>この日の録画はありません</translation>
    </message>
    <message>
        <source>Open an SD card or recording folder to review recordings on this computer.</source>
        <translation>SDカードか録画フォルダーを開くと、このPCで録画を確認できます。</translation>
    </message>
    <message>
        <source>The index contains recordings for this day, but their video files are not in this folder.</source>
        <translation>インデックスにはこの日の録画がありますが、ビデオファイルがこのフォルダーにありません。</translation>
    </message>
    <message>
        <source>Select a date with a recording marker in the calendar.</source>
        <translation>カレンダーで録画マークのある日付を選んでください。</translation>
    </message>
    <message>
        <source>%1. Updating the graphics driver may help.</source>
        <translation>%1。グラフィックドライバーを更新すると改善する場合があります。</translation>
    </message>
    <message>
        <source>Without the graphics card, Windows can only decode this H.265 recording with Microsoft&apos;s HEVC Video Extensions from the Microsoft Store.</source>
        <translation>グラフィックカードを使わない場合、この H.265 録画のデコードには Microsoft Store の HEVC ビデオ拡張機能が必要です。</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>SDカード / フォルダーを開く</translation>
    </message>
    <message>
        <source>View a date with recordings</source>
        <translation>録画のある日付を表示</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>別のフォルダーを選択</translation>
    </message>
    <message>
        <source>Open Microsoft Store</source>
        <translation>Microsoft Store を開く</translation>
    </message>
    <message>
        <source>Decode in software</source>
        <translation>ソフトウェアでデコード</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>再試行</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>設定...</translation>
    </message>
    <message>
        <source>Software decoding works on any computer but uses much more processor time.</source>
        <translation>ソフトウェアデコードはどの PC でも使えますが、CPU を多く使います。</translation>
    </message>
    <message>
        <source>Drag a rectangle over the part of the picture to search (Esc cancels)</source>
        <translation>検索する画像の部分に四角形をドラッグしてください (Esc で取り消し)</translation>
    </message>
    <message>
        <source>Find changes in an area</source>
        <translation>範囲内の変化を探す</translation>
    </message>
</context>
<context>
    <name>nivra::Bookmarks</name>
    <message>
        <source>The bookmarks of this card could not be read and were set aside.</source>
        <translation>このカードのブックマークを読み込めなかったため、別に保管しました。</translation>
    </message>
    <message numerus="yes">
        <source>%n bookmark(s) of this card could not be read and were left out.</source>
        <translation>
            <numerusform>このカードのブックマーク %n 件を読み込めなかったため、除外しました。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>nivra::CardSession</name>
    <message>
        <source>No recordings found. Choose the SD card or the recording folder.</source>
        <translation>録画が見つかりません。SDカードまたは録画フォルダーを選んでください。</translation>
    </message>
    <message>
        <source>The recording index is damaged and cannot be read.</source>
        <translation>録画インデックスが壊れているため読み込めません。</translation>
    </message>
    <message>
        <source>The recording format is newer than this program. Please update NIVRA Player.</source>
        <translation>録画の形式がこのプログラムより新しいため、NIVRA Player を更新してください。</translation>
    </message>
    <message>
        <source>These recordings were made by old camera firmware and are not supported.</source>
        <translation>これらの録画は古いカメラファームウェアで作られたもので、対応していません。</translation>
    </message>
    <message>
        <source>The recordings cannot be read (%1).</source>
        <translation>録画を読み込めません (%1)。</translation>
    </message>
    <message>
        <source>AAC (raw)</source>
        <translation>AAC (raw)</translation>
    </message>
    <message>
        <source>unknown audio format</source>
        <translation>不明な音声形式</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>音声なし</translation>
    </message>
    <message>
        <source>This user may not read %1, so the card cannot be read. Check the permissions of the card&apos;s files and folders (the card itself is not damaged).</source>
        <translation>このユーザーは %1 を読み取れないため、カードを読み込めません。カードのファイルとフォルダーのアクセス権を確認してください（カード自体は破損していません）。</translation>
    </message>
</context>
<context>
    <name>nivra::ExportJob</name>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>フォルダー %1 を作成できません</translation>
    </message>
    <message>
        <source>The audio format of these recordings is not supported: the files have no sound.</source>
        <translation>これらの録画の音声形式には対応していないため、ファイルに音声は含まれません。</translation>
    </message>
    <message>
        <source>MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out.</source>
        <translation>MP4 ではこれらの録画の G.711 音声を保持できません。MOV で書き出すか、音声を含めずに書き出してください。</translation>
    </message>
    <message>
        <source>Cannot write %1. Check that the folder is writable and the disk has enough space.</source>
        <translation>%1 を書き込めません。フォルダーに書き込みできるか、ディスクの空き容量が十分かを確認してください。</translation>
    </message>
    <message>
        <source>The video format of these recordings is not recognised.</source>
        <translation>これらの録画のビデオ形式を認識できません。</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>録画の読み込みに失敗しました。カードは接続されたままですか?</translation>
    </message>
    <message>
        <source>Export failed (%1).</source>
        <translation>書き出しに失敗しました (%1)。</translation>
    </message>
    <message>
        <source>Damaged frames left out: %1.</source>
        <translation>破損したフレームを除外しました: %1。</translation>
    </message>
    <message>
        <source>This folder is on the card, which is never written to. Choose a folder elsewhere.</source>
        <translation>このフォルダーはカード上にあり、カードには書き込みません。別の場所のフォルダーを選んでください。</translation>
    </message>
    <message>
        <source>Not written whole (the recordings are damaged or could not be read):</source>
        <translation>完全には書き出せませんでした（録画が破損しているか読み取れません）：</translation>
    </message>
    <message>
        <source>%1 – %2: %3 of %4 written</source>
        <translation>%1 – %2：%4 のうち %3 を書き出し</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>ほか %n 件</numerusform>
        </translation>
    </message>
    <message>
        <source>Evidence package</source>
        <translation>証拠パッケージ</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>カード</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>フォルダー</translation>
    </message>
    <message>
        <source>Formatted</source>
        <translation>フォーマット日時</translation>
    </message>
    <message>
        <source>Card identity</source>
        <translation>カードの識別子</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>範囲</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>カメラの時刻</translation>
    </message>
    <message>
        <source>This computer&apos;s time</source>
        <translation>このコンピューターの時刻</translation>
    </message>
    <message>
        <source>Exported files</source>
        <translation>書き出したファイル</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>長さ</translation>
    </message>
    <message>
        <source>Copied from the card&apos;s files</source>
        <translation>コピー元のカードのファイル</translation>
    </message>
    <message>
        <source>Events and bookmarks</source>
        <translation>イベントとブックマーク</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時刻</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>種類</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>メモ</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>ブックマーク</translation>
    </message>
    <message>
        <source>Start of the range</source>
        <translation>範囲の始まり</translation>
    </message>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>画像なし</translation>
    </message>
    <message>
        <source>Made by</source>
        <translation>作成ソフト</translation>
    </message>
    <message>
        <source>Made at</source>
        <translation>作成日時</translation>
    </message>
    <message>
        <source>Check the files with: sha256sum -c SHA256SUMS</source>
        <translation>ファイルの確認: sha256sum -c SHA256SUMS</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>動き</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>音</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>泣き声</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>人物</translation>
    </message>
    <message>
        <source>No evidence package was written: the files do not hold the whole range.</source>
        <translation>証拠パッケージは作成されませんでした。ファイルに範囲全体が含まれていません。</translation>
    </message>
    <message>
        <source>The evidence package could not be written (%1).</source>
        <translation>証拠パッケージを書き込めませんでした (%1)。</translation>
    </message>
    <message>
        <source>%1 is too long for a copy of %2 MB. Choose a shorter range or a larger size.</source>
        <translation>%1 は %2 MB のコピーには長すぎます。範囲を短くするか、より大きいサイズを選んでください。</translation>
    </message>
    <message>
        <source>The video could not be re-coded (%1).</source>
        <translation>動画を再エンコードできませんでした（%1）。</translation>
    </message>
</context>
</TS>
