<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AppSettings</name>
    <message>
        <source>Could not ask the graphics card (%1)</source>
        <translation>无法查询显卡 (%1)</translation>
    </message>
    <message>
        <source>%1 decodes neither H.265 nor H.264</source>
        <translation>%1 既不能解码 H.265 也不能解码 H.264</translation>
    </message>
    <message>
        <source>%1 decodes %2</source>
        <translation>%1 可解码 %2</translation>
    </message>
</context>
<context>
    <name>AppStatusBar</name>
    <message>
        <source>reading %1 @ 0x%2</source>
        <translation>正在读取 %1 @ 0x%2</translation>
    </message>
    <message>
        <source>decoding %1</source>
        <translation>解码 %1</translation>
    </message>
    <message>
        <source>audio</source>
        <translation>音频</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>无音频</translation>
    </message>
    <message>
        <source>buffer %1 s</source>
        <translation>缓冲 %1 秒</translation>
    </message>
    <message>
        <source>Read-only · Recordings stay on this computer</source>
        <translation>只读 · 录像不会离开本机</translation>
    </message>
    <message>
        <source>Waiting for a recording</source>
        <translation>等待录像</translation>
    </message>
    <message>
        <source>Recording files missing</source>
        <translation>录像文件缺失</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>当天没有录像</translation>
    </message>
    <message numerus="yes">
        <source>%n events today · Click an event to seek</source>
        <translation>
            <numerusform>当天 %n 个事件 · 单击事件即可跳转</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events today</source>
        <translation>
            <numerusform>当天 %n 个事件</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AppToolBar</name>
    <message>
        <source>formatted %1</source>
        <translation>格式化于 %1</translation>
    </message>
    <message>
        <source>recordings %1 ~ %2</source>
        <translation>录像 %1 至 %2</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>无音频</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>打开 SD 卡 / 文件夹</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Time: recording location</source>
        <translation>时间：录制地点</translation>
    </message>
    <message>
        <source>Time: this computer</source>
        <translation>时间：本机</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message numerus="yes">
        <source>%n segments × %1 MB</source>
        <translation>
            <numerusform>%n 个片段 × %1 MB</numerusform>
        </translation>
    </message>
    <message>
        <source>not found</source>
        <translation>未找到</translation>
    </message>
    <message>
        <source>Recently opened</source>
        <translation>最近打开</translation>
    </message>
    <message>
        <source>No cards opened yet</source>
        <translation>尚未打开任何存储卡</translation>
    </message>
    <message>
        <source>open now</source>
        <translation>当前已打开</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>清除列表</translation>
    </message>
</context>
<context>
    <name>AreaChanges</name>
    <message>
        <source>Lighting change</source>
        <translation>光线变化</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>变化</translation>
    </message>
    <message>
        <source>Duration %1</source>
        <translation>时长 %1</translation>
    </message>
    <message>
        <source>%1 % of the area · %2</source>
        <translation>区域的 %1 % · %2</translation>
    </message>
    <message>
        <source>Changes in the area (%1)</source>
        <translation>区域内的变化 (%1)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>灵敏度</translation>
    </message>
    <message>
        <source>Lighting</source>
        <translation>光线</translation>
    </message>
    <message>
        <source>Nothing changed in this area. Raise the sensitivity to see smaller changes</source>
        <translation>此区域没有变化。提高灵敏度可查看更小的变化</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>正在分析… %1 %</translation>
    </message>
</context>
<context>
    <name>BookmarkPopup</name>
    <message>
        <source>Bookmark at %1</source>
        <translation>%1 的书签</translation>
    </message>
    <message>
        <source>Note of the bookmark at %1</source>
        <translation>%1 书签的备注</translation>
    </message>
    <message>
        <source>Note (optional)</source>
        <translation>备注（可选）</translation>
    </message>
    <message>
        <source>Add bookmark</source>
        <translation>添加书签</translation>
    </message>
    <message>
        <source>Keep note</source>
        <translation>保存备注</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
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
        <translation>录像</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>事件</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>已选</translation>
    </message>
</context>
<context>
    <name>CardPicker</name>
    <message numerus="yes">
        <source>This folder holds %n card(s). Which one do you want to open?</source>
        <translation>
            <numerusform>此文件夹包含 %n 张卡。要打开哪一张？</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
</context>
<context>
    <name>DecodeWorker</name>
    <message>
        <source>Cannot read the recordings.</source>
        <translation>无法读取录像。</translation>
    </message>
</context>
<context>
    <name>Decoder</name>
    <message>
        <source>This video could not be decoded.</source>
        <translation>无法解码此视频。</translation>
    </message>
    <message>
        <source>Your graphics card cannot decode this video.</source>
        <translation>您的显卡无法解码此视频。</translation>
    </message>
    <message>
        <source>This video format is not supported.</source>
        <translation>不支持此视频格式。</translation>
    </message>
    <message>
        <source>Windows could not decode this video (%1).</source>
        <translation>Windows 无法解码此视频 (%1)。</translation>
    </message>
    <message>
        <source>Windows needs Microsoft&apos;s HEVC Video Extensions to decode H.265 without the graphics card. Install them from the Microsoft Store, then try again.</source>
        <translation>要在不使用显卡的情况下解码 H.265，Windows 需要 Microsoft 的 HEVC 视频扩展。请从 Microsoft Store 安装后重试。</translation>
    </message>
    <message>
        <source>Windows has no decoder for this video format.</source>
        <translation>Windows 没有此视频格式的解码器。</translation>
    </message>
</context>
<context>
    <name>EventList</name>
    <message>
        <source>Open an SD card or recording folder to see events</source>
        <translation>打开 SD 卡或录像文件夹以查看事件</translation>
    </message>
    <message>
        <source>The recording index exists, but the video files are not in this folder</source>
        <translation>录像索引存在，但视频文件不在此文件夹中</translation>
    </message>
    <message>
        <source>Select a date with recordings</source>
        <translation>请选择有录像的日期</translation>
    </message>
    <message>
        <source>No events on this day. Use the timeline to browse recordings</source>
        <translation>当天没有事件。可使用时间轴浏览录像</translation>
    </message>
    <message>
        <source>No events match this filter</source>
        <translation>没有符合此筛选条件的事件</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>声音</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>哭声</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>人体感应</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>人形</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>事件</translation>
    </message>
    <message>
        <source>Duration %1 s</source>
        <translation>时长 %1 秒</translation>
    </message>
    <message>
        <source>Duration %1 min %2 s</source>
        <translation>时长 %1 分 %2 秒</translation>
    </message>
    <message>
        <source>recording file missing</source>
        <translation>录像文件缺失</translation>
    </message>
    <message>
        <source>Clear filter</source>
        <translation>清除筛选</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>书签</translation>
    </message>
    <message>
        <source>Edit note…</source>
        <translation>编辑备注…</translation>
    </message>
    <message>
        <source>Delete bookmark</source>
        <translation>删除书签</translation>
    </message>
    <message>
        <source>No note</source>
        <translation>无备注</translation>
    </message>
</context>
<context>
    <name>EventsOnly</name>
    <message>
        <source>No more events</source>
        <translation>没有更多事件</translation>
    </message>
    <message>
        <source>Next event %1</source>
        <translation>下一个事件 %1</translation>
    </message>
</context>
<context>
    <name>ExportPanel</name>
    <message>
        <source>Choose where to save the exported files.</source>
        <translation>请选择导出文件的保存位置。</translation>
    </message>
    <message>
        <source>Not enough free space: %1 left on this drive</source>
        <translation>空间不足：此驱动器仅剩 %1</translation>
    </message>
    <message>
        <source>Recorded %1</source>
        <translation>录像 %1</translation>
    </message>
    <message>
        <source>Skip gaps %1</source>
        <translation>跳过间隔 %1</translation>
    </message>
    <message>
        <source>Missing files %1</source>
        <translation>缺失文件 %1</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>约 %1</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>无音频</translation>
    </message>
    <message>
        <source>Enter a valid time, for example 14:30:00.</source>
        <translation>请输入有效的时间，例如 14:30:00。</translation>
    </message>
    <message>
        <source>End time must be later than start time.</source>
        <translation>结束时间必须晚于开始时间。</translation>
    </message>
    <message>
        <source>There is no recording in this range. Adjust the selection.</source>
        <translation>此范围内没有录像。请调整选择范围。</translation>
    </message>
    <message>
        <source>Export cancelled</source>
        <translation>导出已取消</translation>
    </message>
    <message>
        <source>Nothing to export in this range</source>
        <translation>此范围内没有可导出的内容</translation>
    </message>
    <message>
        <source>Save the exported files to</source>
        <translation>导出文件保存到</translation>
    </message>
    <message>
        <source>Export video</source>
        <translation>导出视频</translation>
    </message>
    <message>
        <source>Fewer options</source>
        <translation>收起选项</translation>
    </message>
    <message>
        <source>More options</source>
        <translation>更多选项</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>开始时间</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>结束时间</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>格式</translation>
    </message>
    <message>
        <source>MOV · Recommended</source>
        <translation>MOV · 推荐</translation>
    </message>
    <message>
        <source>Supports AAC, G.711 and silent recordings</source>
        <translation>支持 AAC、G.711 和无声录像</translation>
    </message>
    <message>
        <source>MP4</source>
        <translation>MP4</translation>
    </message>
    <message>
        <source>MP4 is unavailable for this G.711 audio recording</source>
        <translation>此 G.711 音频录像无法使用 MP4</translation>
    </message>
    <message>
        <source>For AAC audio or silent recordings</source>
        <translation>适用于 AAC 音频或无声录像</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>录像间隔</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>分别保存</translation>
    </message>
    <message>
        <source>Save each recorded interval as a separate file</source>
        <translation>每段录像保存为单独的文件</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>合并为一个文件</translation>
    </message>
    <message>
        <source>Skip gaps and merge recordings in chronological order</source>
        <translation>跳过间隔，按时间顺序合并录像</translation>
    </message>
    <message>
        <source>Export the selected recording range</source>
        <translation>导出所选录像范围</translation>
    </message>
    <message>
        <source>MOV is required to preserve the G.711 audio in this recording.</source>
        <translation>需要 MOV 才能保留此录像的 G.711 音频。</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>剩余约 %1</translation>
    </message>
    <message>
        <source>Cancel export</source>
        <translation>取消导出</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>保存到</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>浏览...</translation>
    </message>
    <message>
        <source>Leave the audio out</source>
        <translation>不导出音频</translation>
    </message>
    <message>
        <source>Copied as recorded (%1), not converted</source>
        <translation>按原样复制 (%1)，不转码</translation>
    </message>
    <message>
        <source>Starts at the key frame %1</source>
        <translation>从关键帧 %1 开始</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>文件名</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n 个文件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) exported</source>
        <translation>
            <numerusform>已导出 %n 个文件</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Export cancelled. The %n finished file(s) were kept.</source>
        <translation>
            <numerusform>导出已取消。已完成的 %n 个文件已保留。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>… and %n more</source>
        <translation>
            <numerusform>… 另有 %n 个</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n event(s)</source>
        <translation>
            <numerusform>%n 个事件</numerusform>
        </translation>
    </message>
    <message>
        <source>No events of the chosen types on this day.</source>
        <translation>这一天没有所选类型的事件。</translation>
    </message>
    <message>
        <source>Events of this day</source>
        <translation>当天的事件</translation>
    </message>
    <message>
        <source>Each event of the types the event list shows, as a file of its own</source>
        <translation>事件列表所示类型的每个事件各存为一个文件</translation>
    </message>
    <message>
        <source>Before and after each event</source>
        <translation>每个事件前后</translation>
    </message>
    <message>
        <source>No padding</source>
        <translation>不加余量</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1秒</translation>
    </message>
    <message>
        <source>Just the events</source>
        <translation>仅事件</translation>
    </message>
    <message>
        <source>%1 s before and after</source>
        <translation>前后各%1秒</translation>
    </message>
    <message>
        <source>Export each event as a file of its own</source>
        <translation>将每个事件导出为单独的文件</translation>
    </message>
    <message>
        <source>In this time mode the range crosses midnight: the part on this day stays selected.</source>
        <translation>在此时间模式下范围跨过午夜：仍选中当天的部分。</translation>
    </message>
    <message>
        <source>In this time mode the range lies on another day: select it again.</source>
        <translation>在此时间模式下范围落在另一天：请重新选择。</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>关闭导出</translation>
    </message>
    <message>
        <source>Camera time as subtitles</source>
        <translation>摄像头时间作为字幕</translation>
    </message>
    <message>
        <source>Evidence package (report and SHA-256 hashes)</source>
        <translation>证据包（报告和 SHA-256 哈希）</translation>
    </message>
    <message>
        <source>Burn in the time</source>
        <translation>在画面中加入时间</translation>
    </message>
    <message>
        <source>Smaller copy for sharing</source>
        <translation>用于分享的较小副本</translation>
    </message>
    <message>
        <source>under %1 MB</source>
        <translation>小于 %1 MB</translation>
    </message>
    <message>
        <source>Re-coded as H.264 at 720p with AAC sound, in one MP4 under %1 MB</source>
        <translation>重新编码为 720p H.264 和 AAC 音频，生成一个小于 %1 MB 的 MP4</translation>
    </message>
    <message>
        <source>the time drawn in</source>
        <translation>画面内含时间</translation>
    </message>
    <message>
        <source>Re-coded as H.264 with the time drawn in; this takes longer than a copy</source>
        <translation>重新编码为 H.264 并在画面中加入时间；比直接复制耗时更长</translation>
    </message>
</context>
<context>
    <name>Format</name>
    <message>
        <source>%1h</source>
        <translation>%1小时</translation>
    </message>
    <message>
        <source>%1h%2m</source>
        <translation>%1小时%2分</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1分钟</translation>
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
        <translation>空格</translation>
    </message>
    <message>
        <source>Play or pause (K: pause at 1×)</source>
        <translation>播放或暂停（K：暂停并回到 1×）</translation>
    </message>
    <message>
        <source>Play; again: twice as fast, up to 16×</source>
        <translation>播放；再按：速度加倍，最高 16×</translation>
    </message>
    <message>
        <source>Rewind; again: twice as fast, up to 16×</source>
        <translation>倒放；再按：速度加倍，最高 16×</translation>
    </message>
    <message>
        <source>Slower, faster</source>
        <translation>减速、加速</translation>
    </message>
    <message>
        <source>Back, forward 5 s</source>
        <translation>后退、前进 5 秒</translation>
    </message>
    <message>
        <source>Back, forward one picture</source>
        <translation>后退、前进一帧</translation>
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
        <translation>上一个、下一个事件</translation>
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
        <translation>当天第一段、最后一段录像</translation>
    </message>
    <message>
        <source>Events only on or off</source>
        <translation>开启或关闭仅事件</translation>
    </message>
    <message>
        <source>Export from, to the shown picture</source>
        <translation>从、到当前画面导出</translation>
    </message>
    <message>
        <source>Save a screenshot</source>
        <translation>保存截图</translation>
    </message>
    <message>
        <source>Mute or unmute</source>
        <translation>静音或取消静音</translation>
    </message>
    <message>
        <source>Full screen (Esc leaves it)</source>
        <translation>全屏（Esc 退出）</translation>
    </message>
    <message>
        <source>Zoom the timeline in, out</source>
        <translation>放大、缩小时间轴</translation>
    </message>
    <message>
        <source>Whole picture (after zooming it)</source>
        <translation>完整画面（放大之后）</translation>
    </message>
    <message>
        <source>Close the export editor, a menu or a dialog</source>
        <translation>关闭导出编辑器、菜单或对话框</translation>
    </message>
    <message>
        <source>Next control (Shift+Tab: previous)</source>
        <translation>下一个控件（Shift+Tab：上一个）</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open an SD card or folder</source>
        <translation>打开 SD 卡或文件夹</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Ctrl+,</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>This list</source>
        <translation>此列表</translation>
    </message>
    <message>
        <source>No more events</source>
        <translation>没有更多事件</translation>
    </message>
    <message>
        <source>This is the first event</source>
        <translation>这是第一个事件</translation>
    </message>
    <message>
        <source>End the search in an area</source>
        <translation>结束区域内搜索</translation>
    </message>
    <message>
        <source>Bookmark the shown picture</source>
        <translation>为当前画面添加书签</translation>
    </message>
</context>
<context>
    <name>LicensesDialog</name>
    <message>
        <source>Open-source licenses</source>
        <translation>开源许可</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (内部测试版)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Skipped empty %1 → %2</source>
        <translation>已跳过空白 %1 → %2</translation>
    </message>
    <message>
        <source>End of recording at %1</source>
        <translation>录像在 %1 结束</translation>
    </message>
    <message>
        <source>No more recordings</source>
        <translation>没有更多录像</translation>
    </message>
    <message>
        <source>The recording files for this day are not in this folder</source>
        <translation>当天的录像文件不在此文件夹中</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>当天没有录像</translation>
    </message>
    <message>
        <source>This is the first recording</source>
        <translation>这是第一段录像</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>剩余 %1</translation>
    </message>
    <message>
        <source>Choose the SD card or the recording folder</source>
        <translation>选择 SD 卡或录像文件夹</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>读取录像失败。存储卡是否仍已连接？</translation>
    </message>
    <message>
        <source>Sound output is not available</source>
        <translation>声音输出不可用</translation>
    </message>
    <message>
        <source>No recordings found in %1</source>
        <translation>在 %1 中未找到录像</translation>
    </message>
</context>
<context>
    <name>QuitConfirm</name>
    <message>
        <source>An export is running</source>
        <translation>正在导出</translation>
    </message>
    <message>
        <source>Quitting cancels the export. Files already finished are kept.</source>
        <translation>退出将取消导出。已完成的文件会保留。</translation>
    </message>
    <message>
        <source>Cancel export and quit</source>
        <translation>取消导出并退出</translation>
    </message>
    <message>
        <source>Keep exporting</source>
        <translation>继续导出</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Save the exported files to</source>
        <translation>导出文件保存到</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>界面语言</translation>
    </message>
    <message>
        <source>Follow the system (%1)</source>
        <translation>跟随系统 (%1)</translation>
    </message>
    <message>
        <source>At first start the system language is used; English when it is not available.</source>
        <translation>首次启动时使用系统语言；不支持时使用英语。</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>外观</translation>
    </message>
    <message>
        <source>Follow the system</source>
        <translation>跟随系统</translation>
    </message>
    <message>
        <source>Cloud White</source>
        <translation>云白</translation>
    </message>
    <message>
        <source>Nightfall</source>
        <translation>夜幕</translation>
    </message>
    <message>
        <source>Time display</source>
        <translation>时间显示</translation>
    </message>
    <message>
        <source>Recording location (recommended)</source>
        <translation>录制地点 (推荐)</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>本机</translation>
    </message>
    <message>
        <source>Date and time format</source>
        <translation>日期和时间格式</translation>
    </message>
    <message>
        <source>Follows the system region: %1 · weeks start on %2</source>
        <translation>跟随系统区域：%1 · 每周从%2开始</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>连续播放下一段录像</translation>
    </message>
    <message>
        <source>Snap to keyframes (hold Alt to skip)</source>
        <translation>吸附到关键帧 (按住 Alt 可跳过)</translation>
    </message>
    <message>
        <source>Video decoding</source>
        <translation>视频解码</translation>
    </message>
    <message>
        <source>Graphics card only (recommended)</source>
        <translation>仅显卡 (推荐)</translation>
    </message>
    <message>
        <source>Graphics card, software if it cannot</source>
        <translation>显卡，不支持时用软件</translation>
    </message>
    <message>
        <source>Software only</source>
        <translation>仅软件</translation>
    </message>
    <message>
        <source>%1. Takes effect from the next seek; software decoding uses much more processor time.</source>
        <translation>%1。下次跳转时生效；软件解码会占用更多处理器时间。</translation>
    </message>
    <message>
        <source>Software decoding uses the decoders built into Windows; for H.265 they need Microsoft&apos;s HEVC Video Extensions.</source>
        <translation>软件解码使用 Windows 内置的解码器；H.265 需要 Microsoft 的 HEVC 视频扩展。</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>浏览...</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>录像间隔</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>分别保存</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>合并为一个文件</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>Check for updates at start-up</source>
        <translation>启动时检查更新</translation>
    </message>
    <message>
        <source>Current version %1 (%2)</source>
        <translation>当前版本 %1 (%2)</translation>
    </message>
    <message>
        <source>Check now</source>
        <translation>立即检查</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>隐私</translation>
    </message>
    <message>
        <source>Recordings are only read on this computer and never uploaded. The network is used only to check for updates.</source>
        <translation>录像仅在本机读取，绝不上传。网络仅用于检查更新。</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (内部测试版)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Open-source licenses...</source>
        <translation>开源许可...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Automatic (recommended)</source>
        <translation>自动 (推荐)</translation>
    </message>
    <message>
        <source>Graphics card only</source>
        <translation>仅显卡</translation>
    </message>
    <message>
        <source>Analyse recordings in the background</source>
        <translation>在后台分析录像</translation>
    </message>
</context>
<context>
    <name>ShortcutSheet</name>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>键盘快捷键</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>SidePanel</name>
    <message>
        <source>Events (%1)</source>
        <translation>事件 (%1)</translation>
    </message>
    <message>
        <source>All types</source>
        <translation>全部类型</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>声音</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>哭声</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>人体感应</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>人形</translation>
    </message>
    <message>
        <source>%1 · Events today · Click to seek</source>
        <translation>%1 · 当天事件 · 单击跳转</translation>
    </message>
    <message>
        <source>%1 · Events today</source>
        <translation>%1 · 当天事件</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>书签</translation>
    </message>
</context>
<context>
    <name>SkipStill</name>
    <message>
        <source>Skipped %1 of still video</source>
        <translation>已跳过 %1 的静止视频</translation>
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
        <translation>已跳到 %1 (关键帧，吸附 %2 %3 秒)</translation>
    </message>
    <message>
        <source>Landed %1</source>
        <translation>已跳到 %1</translation>
    </message>
    <message>
        <source>%1  Recording file not found</source>
        <translation>%1  找不到录像文件</translation>
    </message>
</context>
<context>
    <name>TimelinePanel</name>
    <message>
        <source>Recording timeline</source>
        <translation>录像时间轴</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>摄像机时间</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>本机</translation>
    </message>
    <message>
        <source>Current time</source>
        <translation>当前时间</translation>
    </message>
    <message>
        <source>Exporting…</source>
        <translation>正在导出…</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>关闭导出</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>The recording file for %1 is not in this folder</source>
        <translation>%1 的录像文件不在此文件夹中</translation>
    </message>
    <message>
        <source>No recordings after this time</source>
        <translation>此时间之后没有录像</translation>
    </message>
    <message>
        <source>Snap to keyframes</source>
        <translation>吸附到关键帧</translation>
    </message>
    <message>
        <source>Hold Alt while dragging to skip snapping</source>
        <translation>拖动时按住 Alt 键可跳过吸附</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>录像</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>事件</translation>
    </message>
    <message>
        <source>No recording</source>
        <translation>无录像</translation>
    </message>
    <message>
        <source>File missing</source>
        <translation>文件缺失</translation>
    </message>
    <message>
        <source>Wheel: zoom · drag: seek · click empty space: next recording</source>
        <translation>滚轮：缩放 · 拖动：跳转 · 单击空白处：下一段录像</translation>
    </message>
    <message>
        <source>Shift+drag: select a range to export</source>
        <translation>Shift+拖动：选择要导出的范围</translation>
    </message>
    <message>
        <source>. and ,: one frame forward or back</source>
        <translation>. 和 ,：前进或后退一帧</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>正在分析… %1 %</translation>
    </message>
</context>
<context>
    <name>TransportBar</name>
    <message>
        <source>Previous recording</source>
        <translation>上一段录像</translation>
    </message>
    <message>
        <source>Pause (Space)</source>
        <translation>暂停 (空格)</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>播放 (空格)</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>下一段录像</translation>
    </message>
    <message>
        <source>Pause and show the next frame (.)</source>
        <translation>暂停并显示下一帧 (.)</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>截图</translation>
    </message>
    <message>
        <source>Screenshot saved: %1</source>
        <translation>截图已保存：%1</translation>
    </message>
    <message>
        <source>Screenshot failed</source>
        <translation>截图失败</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>取消静音</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Continuous play</source>
        <translation>连续播放</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>连续播放下一段录像</translation>
    </message>
    <message>
        <source>Back one frame (,)</source>
        <translation>后退一帧 (,)</translation>
    </message>
    <message>
        <source>Events only</source>
        <translation>仅事件</translation>
    </message>
    <message>
        <source>Play only the events, one after another (E)</source>
        <translation>仅依次播放事件 (E)</translation>
    </message>
    <message>
        <source>Skip still parts</source>
        <translation>跳过静止部分</translation>
    </message>
    <message>
        <source>Jump over the stretches where nothing moves or sounds</source>
        <translation>跳过既无动静也无声音的片段</translation>
    </message>
    <message>
        <source>Bookmark (B)</source>
        <translation>书签 (B)</translation>
    </message>
</context>
<context>
    <name>UpdateBanner</name>
    <message>
        <source>NIVRA Player %1 is available.</source>
        <translation>NIVRA Player %1 现已推出。</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>下载...</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>跳过此版本</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>No update address is set in this build.</source>
        <translation>此版本未设置更新地址。</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>正在检查…</translation>
    </message>
    <message>
        <source>Could not check for updates (%1).</source>
        <translation>无法检查更新 (%1)。</translation>
    </message>
    <message>
        <source>The update information could not be read.</source>
        <translation>无法读取更新信息。</translation>
    </message>
    <message>
        <source>Version %1 is available.</source>
        <translation>版本 %1 现已推出。</translation>
    </message>
    <message>
        <source>You have the latest version.</source>
        <translation>您使用的已是最新版本。</translation>
    </message>
</context>
<context>
    <name>VideoPanel</name>
    <message>
        <source>Playing</source>
        <translation>正在播放</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>已暂停</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>播放 (空格)</translation>
    </message>
    <message>
        <source>Unable to play this video</source>
        <translation>无法播放此视频</translation>
    </message>
    <message>
        <source>Could not open the recordings</source>
        <translation>无法打开录像</translation>
    </message>
    <message>
        <source>Every moment that matters, all in one place</source>
        <translation>每个重要时刻，尽在一处</translation>
    </message>
    <message>
        <source>Recording files are missing</source>
        <translation>录像文件缺失</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>当天没有录像</translation>
    </message>
    <message>
        <source>Open an SD card or recording folder to review recordings on this computer.</source>
        <translation>打开 SD 卡或录像文件夹，即可在本机查看录像。</translation>
    </message>
    <message>
        <source>The index contains recordings for this day, but their video files are not in this folder.</source>
        <translation>索引中有当天的录像，但其视频文件不在此文件夹中。</translation>
    </message>
    <message>
        <source>Select a date with a recording marker in the calendar.</source>
        <translation>请在日历中选择带有录像标记的日期。</translation>
    </message>
    <message>
        <source>%1. Updating the graphics driver may help.</source>
        <translation>%1。更新显卡驱动程序可能会有帮助。</translation>
    </message>
    <message>
        <source>Without the graphics card, Windows can only decode this H.265 recording with Microsoft&apos;s HEVC Video Extensions from the Microsoft Store.</source>
        <translation>不使用显卡时，Windows 需要 Microsoft Store 中的 Microsoft HEVC 视频扩展才能解码此 H.265 录像。</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>打开 SD 卡 / 文件夹</translation>
    </message>
    <message>
        <source>View a date with recordings</source>
        <translation>查看有录像的日期</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>选择其他文件夹</translation>
    </message>
    <message>
        <source>Open Microsoft Store</source>
        <translation>打开 Microsoft Store</translation>
    </message>
    <message>
        <source>Decode in software</source>
        <translation>使用软件解码</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>重试</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>设置...</translation>
    </message>
    <message>
        <source>Software decoding works on any computer but uses much more processor time.</source>
        <translation>软件解码适用于任何电脑，但会占用更多处理器时间。</translation>
    </message>
    <message>
        <source>Drag a rectangle over the part of the picture to search (Esc cancels)</source>
        <translation>在要搜索的画面部分上拖出一个矩形（Esc 取消）</translation>
    </message>
    <message>
        <source>Find changes in an area</source>
        <translation>查找区域内的变化</translation>
    </message>
</context>
<context>
    <name>nivra::Bookmarks</name>
    <message>
        <source>The bookmarks of this card could not be read and were set aside.</source>
        <translation>无法读取此存储卡的书签，已另行保存。</translation>
    </message>
    <message numerus="yes">
        <source>%n bookmark(s) of this card could not be read and were left out.</source>
        <translation>
            <numerusform>此存储卡有 %n 个书签无法读取，已略去。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>nivra::CardSession</name>
    <message>
        <source>No recordings found. Choose the SD card or the recording folder.</source>
        <translation>未找到录像。请选择 SD 卡或录像文件夹。</translation>
    </message>
    <message>
        <source>The recording index is damaged and cannot be read.</source>
        <translation>录像索引已损坏，无法读取。</translation>
    </message>
    <message>
        <source>The recording format is newer than this program. Please update NIVRA Player.</source>
        <translation>录像格式比本程序新。请更新 NIVRA Player。</translation>
    </message>
    <message>
        <source>These recordings were made by old camera firmware and are not supported.</source>
        <translation>这些录像由旧版摄像机固件录制，不受支持。</translation>
    </message>
    <message>
        <source>The recordings cannot be read (%1).</source>
        <translation>无法读取录像 (%1)。</translation>
    </message>
    <message>
        <source>AAC (raw)</source>
        <translation>AAC (原始)</translation>
    </message>
    <message>
        <source>unknown audio format</source>
        <translation>未知音频格式</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>无音频</translation>
    </message>
    <message>
        <source>This user may not read %1, so the card cannot be read. Check the permissions of the card&apos;s files and folders (the card itself is not damaged).</source>
        <translation>此用户无权读取 %1，因此无法读取存储卡。请检查存储卡文件和文件夹的权限（存储卡本身并未损坏）。</translation>
    </message>
</context>
<context>
    <name>nivra::ExportJob</name>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>无法创建文件夹 %1</translation>
    </message>
    <message>
        <source>The audio format of these recordings is not supported: the files have no sound.</source>
        <translation>不支持这些录像的音频格式：文件将没有声音。</translation>
    </message>
    <message>
        <source>MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out.</source>
        <translation>MP4 无法保留这些录像的 G.711 音频。请导出为 MOV，或不导出音频。</translation>
    </message>
    <message>
        <source>Cannot write %1. Check that the folder is writable and the disk has enough space.</source>
        <translation>无法写入 %1。请检查文件夹是否可写以及磁盘空间是否充足。</translation>
    </message>
    <message>
        <source>The video format of these recordings is not recognised.</source>
        <translation>无法识别这些录像的视频格式。</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>读取录像失败。存储卡是否仍已连接？</translation>
    </message>
    <message>
        <source>Export failed (%1).</source>
        <translation>导出失败 (%1)。</translation>
    </message>
    <message>
        <source>Damaged frames left out: %1.</source>
        <translation>已略去损坏的帧：%1。</translation>
    </message>
    <message>
        <source>This folder is on the card, which is never written to. Choose a folder elsewhere.</source>
        <translation>此文件夹位于存储卡上，而存储卡从不写入。请选择其他位置的文件夹。</translation>
    </message>
    <message>
        <source>Not written whole (the recordings are damaged or could not be read):</source>
        <translation>未能完整写入（录像已损坏或无法读取）：</translation>
    </message>
    <message>
        <source>%1 – %2: %3 of %4 written</source>
        <translation>%1 – %2：已写入 %4 中的 %3</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>另有 %n 项</numerusform>
        </translation>
    </message>
    <message>
        <source>Evidence package</source>
        <translation>证据包</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>存储卡</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>文件夹</translation>
    </message>
    <message>
        <source>Formatted</source>
        <translation>格式化时间</translation>
    </message>
    <message>
        <source>Card identity</source>
        <translation>存储卡标识</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>时间范围</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>摄像机时间</translation>
    </message>
    <message>
        <source>This computer&apos;s time</source>
        <translation>本机时间</translation>
    </message>
    <message>
        <source>Exported files</source>
        <translation>导出的文件</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>Copied from the card&apos;s files</source>
        <translation>复制自存储卡的文件</translation>
    </message>
    <message>
        <source>Events and bookmarks</source>
        <translation>事件和书签</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>类型</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>备注</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>书签</translation>
    </message>
    <message>
        <source>Start of the range</source>
        <translation>范围开始</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>无画面</translation>
    </message>
    <message>
        <source>Made by</source>
        <translation>制作程序</translation>
    </message>
    <message>
        <source>Made at</source>
        <translation>制作时间</translation>
    </message>
    <message>
        <source>Check the files with: sha256sum -c SHA256SUMS</source>
        <translation>校验文件：sha256sum -c SHA256SUMS</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>声音</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>哭声</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>人形</translation>
    </message>
    <message>
        <source>No evidence package was written: the files do not hold the whole range.</source>
        <translation>未写入证据包：这些文件不包含整个范围。</translation>
    </message>
    <message>
        <source>The evidence package could not be written (%1).</source>
        <translation>无法写入证据包（%1）。</translation>
    </message>
    <message>
        <source>%1 is too long for a copy of %2 MB. Choose a shorter range or a larger size.</source>
        <translation>%1 对于 %2 MB 的副本来说太长。请选择更短的范围或更大的大小。</translation>
    </message>
    <message>
        <source>The video could not be re-coded (%1).</source>
        <translation>无法重新编码视频（%1）。</translation>
    </message>
</context>
</TS>
