import QtQuick
import QtQuick.Controls
import Nivra.Media
import NivraPlayer

// Script mode: runs the "--autotest" commands one after another as a user
// would, logging one "AUTOTEST" line per step, and quits at the end.
Item {
    id: runner

    // The whole window: script mode drives it as a person would, through
    // the window's own functions and the parts below.
    required property ApplicationWindow win
    required property CardSession card
    required property PlaybackEngine engine
    required property DayModel day
    required property ExportJob job
    required property TimelineItem timeline
    required property ExportPanel exportPanel
    required property CalendarPanel calendar
    required property EventList eventList
    required property Lazy settingsDialog
    required property VideoPanel videoPanel
    required property TimelinePanel timelinePanel
    required property AppToolBar toolBar
    required property EventsOnly eventsOnly
    required property Lazy cardPicker
    required property Lazy shortcutSheet
    required property ActivityModel activity
    required property SkipStill skipStill
    required property SidePanel sidePanel
    required property Bookmarks bookmarks
    required property Lazy bookmarkPopup
    property var steps: []
    // How often the current step has waited for its condition.
    property int waits: 0
    property int index: 0
    readonly property bool running: steps.length > 0

    function start(script) {
        steps = script.split(";").map(s => s.trim()).filter(s => s.length > 0)
        index = 0
        timer.interval = 50
        timer.start()
    }

    function log(line) {
        console.log("AUTOTEST " + line)
    }

    // An ISO 8601 date and time as milliseconds since the epoch.
    function time(text) {
        return Date.parse(text)
    }

    function flat(text) {
        return String(text).replace(/\r?\n/g, " / ")
    }

    function isoDay() {
        const two = n => (n < 10 ? "0" : "") + n
        return win.selYear + "-" + two(win.selMonth) + "-" + two(win.selDay)
    }

    function clockOrDash(ms) {
        return ms > 0 ? card.formatLogTime(ms) : "-"
    }

    // The state after a step, in a fixed order.
    function stateLine() {
        const tl = timeline
        const panel = exportPanel
        const fields = [
            "pos " + clockOrDash(engine.position),
            "day " + win.selYear + "-" + win.selMonth + "-" + win.selDay,
            "days " + JSON.stringify(calendar.recordedDays),
            "evdays " + JSON.stringify(calendar.eventDays),
            "chunks " + day.chunks.length,
            "events " + eventList.total,
            "playing " + engine.playing,
            "speed " + engine.speed,
            "shown " + engine.presentedFrames,
            "dropped " + engine.droppedFrames,
            "audioClock " + engine.audioClock,
            "zoom " + tl.zoom,
            "ticks " + tl.showingTicks,
            "sel " + (tl.selStart >= 0 ? card.formatLogTime(tl.selStart) + " - " + card.formatLogTime(tl.selEnd) : "-"),
            "export " + (job.running ? "running " + Math.round(job.progress * 100) + "%" : "idle")
                + " " + job.files.length + " " + flat(panel.resultText),
            "lang " + appSettings.effectiveLanguage,
            "theme " + (Style.dark ? "dark" : "light"),
            "update " + (updater.available ? "available " + updater.latestVersion : "none") + " " + flat(updater.status),
            "error " + (engine.errorString.length > 0 ? flat(engine.errorString)
                        : card.errorString.length > 0 ? flat(card.errorString) : "-")
        ]
        // Other tools parse this line: these fields show only while events
        // only is on or the picture is magnified.
        if (eventsOnly.active)
            fields.push("eventsonly on")
        if (videoPanel.zoom > 1.001)
            fields.push("vzoom " + videoPanel.zoom.toFixed(1))
        if (skipStill.active)
            fields.push("skipstill on")
        return fields.join(" | ")
    }

    // The commands: each names its arguments (for the reader), what it does
    // (`run`, given the text after the name and its words), how long the
    // window gets before the next step (`wait`: milliseconds, or a function
    // of the same arguments; none means the shortest), and, for a step that
    // waits for the window, the condition it waits for (`until`, asked every
    // 200 ms before it runs; at most `tries` times when given).
    readonly property var commands: ({
        "play": { args: "[SECONDS]", run: () => engine.play(),
                  wait: (arg, words) => words.length > 0 ? parseFloat(arg) * 1000 : 0 },
        "pause": { run: () => engine.pause() },
        "wait": { args: "SECONDS", wait: arg => parseFloat(arg) * 1000 },
        "seek": { args: "TIME", run: arg => engine.seek(time(arg), true), wait: 500 },
        "seekexact": { args: "TIME", run: arg => engine.seek(time(arg), false), wait: 500 },
        "eventseek": { args: "TIME", run: arg => win.seekInDay(time(arg)), wait: 500 },
        "tlseek": { args: "TIME", run: arg => timeline.seekAt(time(arg)), wait: 800 },
        "select": { args: "TIME TIME", run: (arg, w) => timeline.setSelection(time(w[0]), time(w[1])) },
        "selmove": { args: "EDGE STEPS", run: (arg, w) => timeline.nudgeSelection(parseInt(w[0]), parseInt(w[1])) },
        "selbound": { args: "DIRECTION [end]",
                      run: (arg, w) => timeline.selectionToBoundary(parseInt(w[0]), w[1] === "end") },
        "unselect": { run: () => timeline.clearSelection() },
        "exportdlg": { run: () => win.openExport(), wait: 400 },
        "exportmode": { args: "merge|separate", run: arg => exportPanel.setMode(arg === "merge") },
        // "events": each event of the day as a file; "range": the selection.
        "exportkind": { args: "events|range", run: arg => exportPanel.setEventsMode(arg === "events") },
        "exportformat": { args: "mov|mp4", run: arg => appSettings.exportFormat = arg === "mp4" ? 1 : 0 },
        "exportaudio": { args: "on|off", run: arg => exportPanel.setAudio(arg !== "off") },
        "exporttimetrack": { args: "on|off", run: arg => appSettings.exportTimeTrack = arg === "on" },
        "exportevidence": { args: "on|off", run: arg => appSettings.exportEvidence = arg === "on" },
        "exportburntime": { args: "on|off", run: arg => appSettings.exportBurnTime = arg === "on" },
        // "exportshare on 8": the share copy, kept under 8 MB.
        "exportshare": { args: "on|off [MB]",
                         run: arg => {
                             const parts = arg.split(" ")
                             appSettings.exportShare = parts[0] === "on"
                             if (parts.length > 1)
                                 appSettings.exportShareMb = parseInt(parts[1])
                         } },
        "exportdir": { args: "FOLDER", run: arg => exportPanel.setFolder(arg) },
        // "exportgo close": the window is closed while the export has surely
        // not ended yet, however fast the machine writes.
        "exportgo": { args: "[close]",
                      run: arg => {
                          exportPanel.startExport()
                          if (arg === "close")
                              win.close()
                      },
                      wait: arg => arg === "close" ? 400 : 300 },
        // Factor, then the centre in fractions of the picture.
        "vzoom": { args: "FACTOR [X Y]",
                   run: (arg, w) => videoPanel.zoomTo(parseFloat(w[0]), w.length > 1 ? parseFloat(w[1]) : 0.5,
                                                      w.length > 2 ? parseFloat(w[2]) : 0.5) },
        // Until every row of a playable event shows its picture, 10 s at most.
        "eventthumbs": { until: () => {
                             const counts = eventList.thumbCounts()
                             return counts.pictures >= counts.playable
                         },
                         tries: 50,
                         run: () => {
                             const counts = eventList.thumbCounts()
                             log("eventthumbs " + counts.rows + " " + counts.pictures)
                         } },
        // Each event of the day (the list's types) as a file, padded by PAD s.
        "exportevents": { args: "PAD",
                          run: arg => {
                              if (!exportPanel.open)
                                  win.openExport()
                              exportPanel.setEventsMode(true, parseInt(arg))
                              exportPanel.startExport()
                          },
                          wait: 300 },
        "waitexport": { until: () => !job.running },
        "exportclose": { run: () => exportPanel.closeEditor() },
        "exporttype": { args: "FIELD TEXT", run: (arg, w) => exportPanel.typeField(parseInt(w[0]), w.slice(1).join(" ")) },
        "exportstep": { args: "FIELD PART STEPS",
                        run: (arg, w) => exportPanel.stepField(parseInt(w[0]), parseInt(w[1]), parseInt(w[2])) },
        "exportmore": { args: "on|off", run: arg => exportPanel.moreOpen = arg !== "off" },
        "exportmenu": { args: "gaps|format", run: arg => exportPanel.openMenu(arg === "gaps" ? "gaps" : "format"),
                        wait: 400 },
        "menu": { args: "OBJECTNAME", run: arg => openMenu(arg), wait: 400 },
        "menuclose": { run: () => closeMenus(win.contentItem.parent) },
        "exportinfo": { run: () => log("exportinfo open " + exportPanel.open
                                       + " | start " + exportPanel.startText + " | end " + exportPanel.endText
                                       + " | summary " + exportPanel.summary + " | problem " + flat(exportPanel.problem)
                                       + " | canExport " + exportPanel.canExport
                                       + " | names " + JSON.stringify(exportPanel.names)
                                       + " | format " + (exportPanel.format === 1 ? "mp4" : "mov")
                                       + (exportPanel.mp4Blocked ? " (g711: mov only)" : "")
                                       + " | result " + exportPanel.resultStatus + " " + flat(exportPanel.resultText)
                                       + " | zoom " + timeline.zoom + " | video " + Math.round(videoPanel.height)
                                       + " | whole " + editorWhole()) },
        "exportcancel": { run: () => job.cancel() },
        "speed": { args: "FACTOR", run: arg => engine.speed = parseInt(arg) },
        "continuous": { args: "on|off", run: arg => appSettings.continuous = arg === "on" },
        "open": { args: "FOLDER", run: arg => win.openCard(arg), wait: 800 },
        "recent": { run: () => {
                        const entries = toolBar.recentEntries()
                        log("recent " + entries.length + " "
                            + entries.map(e => e.text + (e.enabled ? "" : " (missing)")).join("|"))
                    } },
        "pickcard": { args: "INDEX", run: arg => cardPicker.get().pick(parseInt(arg)), wait: 800 },
        "eventsonly": { args: "on|off", run: arg => eventsOnly.active = arg === "on", wait: 500 },
        // Through the window's own popup: B's bookmark at the shown picture.
        // "bookmark open" leaves the popup open (for a shot), "cancel" closes it.
        "bookmark": { args: "add TEXT | open | cancel | edit INDEX TEXT | delete INDEX",
                      run: (arg, w) => {
                          const all = bookmarks.inRange(0, 8.64e15)
                          if (w[0] === "open") {
                              win.addBookmark()
                          } else if (w[0] === "cancel") {
                              bookmarkPopup.close()
                          } else if (w[0] === "add") {
                              win.addBookmark()
                              const popup = bookmarkPopup.item
                              if (!popup || !popup.opened) {
                                  log("bookmark none")
                                  return
                              }
                              popup.note = w.slice(1).join(" ")
                              popup.keep()
                          } else if (w[0] === "edit" && all[parseInt(w[1])]) {
                              bookmarks.setNote(all[parseInt(w[1])].id, w.slice(2).join(" "))
                          } else if (w[0] === "delete" && all[parseInt(w[1])]) {
                              bookmarks.remove(all[parseInt(w[1])].id)
                          } else {
                              log("bookmark none")
                          }
                      },
                      wait: 300 },
        "bookmarks": { run: () => {
                           log("bookmarks " + bookmarks.count)
                           for (const b of bookmarks.inRange(0, 8.64e15))
                               log("bookmark " + card.formatLogTime(b.ms) + " " + b.note)
                       } },
        "skipstill": { args: "on|off", run: arg => skipStill.active = arg === "on", wait: 300 },
        // Ten minutes at most: a day analysed from nothing.
        "analyse": { args: "wait", until: () => activity.dayAnalysed || !activity.analysing, tries: 3000,
                     run: () => log("analysed " + isoDay() + " " + activity.keyframes + " " + activity.holes) },
        "findarea": { args: "X Y W H", until: () => activity.dayAnalysed || !activity.analysing, tries: 3000,
                      run: (arg, w) => {
                          videoPanel.setArea(parseFloat(w[0]), parseFloat(w[1]), parseFloat(w[2]), parseFloat(w[3]))
                          const rows = sidePanel.areaChanges.rows
                          log("findarea " + rows.length + " " + (rows.length > 0 ? rows[0].startMs : -1))
                      },
                      wait: 300 },
        "areapick": { run: () => videoPanel.startAreaSearch(), wait: 200 },
        "areasensitivity": { args: "FRACTION", run: arg => sidePanel.areaChanges.sensitivity = parseFloat(arg),
                             wait: 200 },
        "arealighting": { args: "on|off", run: arg => sidePanel.areaChanges.lighting = arg === "on", wait: 200 },
        "arearow": { args: "INDEX",
                     run: arg => {
                         const list = sidePanel.areaChanges.list
                         list.positionViewAtIndex(parseInt(arg), ListView.Contain)
                         const row = list.itemAtIndex(parseInt(arg))
                         if (row)
                             row.clicked()
                         else
                             log("arearow none " + arg)
                     },
                     wait: 800 },
        "areaend": { run: () => videoPanel.endAreaSearch(), wait: 200 },
        "waitpaused": { until: () => !engine.playing },
        "day": { args: "YYYY-MM-DD",
                 run: arg => {
                     const p = arg.split("-").map(x => parseInt(x))
                     win.pickDay(p[0], p[1], p[2])
                 },
                 wait: 500 },
        "filter": { args: "TYPEBITS", run: arg => eventList.typeFilter = parseInt(arg), wait: 200 },
        "zoom": { args: "LEVEL", run: arg => timeline.zoom = parseInt(arg) },
        "timemode": { args: "MODE", run: arg => appSettings.timeMode = parseInt(arg) },
        "lang": { args: "CODE", run: arg => appSettings.language = arg },
        "theme": { args: "light|dark|system",
                   run: arg => appSettings.theme = arg === "light" || arg === "dark" ? arg : "" },
        "settings": { run: () => settingsDialog.get().open(), wait: 400 },
        "settingsclose": { run: () => settingsDialog.close() },
        "keys": { run: () => shortcutSheet.get().open(), wait: 400 },
        "keysclose": { run: () => shortcutSheet.close() },
        "licenses": { run: () => settingsDialog.get().openLicenses(), wait: 400 },
        "updatecheck": { args: "[startup]",
                         run: arg => arg === "startup" ? updater.startupCheck() : updater.checkNow(),
                         wait: 200 },
        "waitupdate": { until: () => !updater.checking },
        "step": { run: () => engine.stepFrame(), wait: 200 },
        "stepback": { run: () => engine.stepBackFrame(), wait: 200 },
        "snapshot": { args: "FILE", run: arg => log("snapshot " + engine.saveSnapshot(arg)) },
        "shot": { args: "FILE", run: arg => shot(arg), wait: 300 },
        "decoder": { run: () => log("decoder " + engine.decoderInfo + " | policy " + appSettings.decodePolicy
                                    + " | hardware " + appSettings.hardwareDecodeSummary
                                    + " | failed " + engine.decodeFailed
                                    + " | hevc " + engine.hevcExtensionNeeded
                                    + " | error " + (engine.errorString || "-")) },
        "decode": { args: "hw|sw|auto",
                    run: arg => {
                        appSettings.decodePolicy = arg === "hw" ? 1 : arg === "sw" ? 2 : 0
                        engine.retryDecode()
                    },
                    wait: 1000 },
        "fonts": { run: () => log("fonts window " + win.font.family + " | label " + probeLabel.font.family
                                  + " | setting " + appSettings.fontFamily + " | " + flat(appSettings.fontReport())) },
        "size": { args: "WIDTH HEIGHT",
                  run: (arg, w) => {
                      win.width = parseInt(w[0])
                      win.height = parseInt(w[1])
                  },
                  wait: 400 },
        "layoutcheck": { args: "TAG", run: arg => layoutCheck(arg) },
        // The selected day's bounds and what the window shows of it.
        "dayinfo": { run: () => log("dayinfo " + clockOrDash(day.dayStart) + " | " + clockOrDash(day.dayEnd)
                                    + " | hours " + (day.dayEnd - day.dayStart) / 3600000
                                    + " | span " + timeline.viewSpan / 3600000 + " | events " + eventList.total
                                    + " | chunks " + day.chunks.length + " | shown " + day.positionTime) },
        "markupcheck": { run: () => markupCheck() },
        "close": { run: () => win.close(), wait: 400 },
        "closeconfirm": { run: () => win.confirmQuit() }
    })

    // Performs one step; returns the wait before the next, or -1 to repeat
    // this step in 200 ms without logging. An unknown command does nothing.
    function perform(command, arg) {
        const entry = commands[command]
        if (!entry)
            return 0
        const words = arg.length > 0 ? arg.split(" ") : []
        if (entry.until && !entry.until()) {
            if (entry.tries === undefined || waits++ < entry.tries)
                return -1
        }
        waits = 0
        if (entry.run)
            entry.run(arg, words)
        const wait = entry.wait
        return typeof wait === "function" ? wait(arg, words) : wait || 0
    }

    // Whether the export editor's fields and its button show whole, without
    // scrolling: all of them inside the editor's visible part.
    function editorWhole() {
        const scroller = findNamed(timelinePanel, "editorScroller")
        if (!scroller || !scroller.visible)
            return false
        for (const name of ["startField", "endField", "formatField", "exportButton"]) {
            const item = findNamed(exportPanel, name)
            if (!item || !item.visible)
                continue
            const top = item.mapToItem(scroller, 0, 0).y
            if (top < -0.5 || top + item.height > scroller.height + 0.5)
                return false
        }
        return true
    }

    // Opens the drop-down whose object name is given, wherever it sits in
    // the window or an open dialog, as a click on it would.
    function openMenu(name) {
        const found = findNamed(win.contentItem.parent, name)
        // A labelled option field holds its drop-down as `box`.
        const box = found && !found.popup && found.box ? found.box : found
        if (box && box.popup)
            box.popup.open()
        else
            log("menu not found " + name)
    }

    function findNamed(item, name) {
        if (!item)
            return null
        if (item.objectName === name)
            return item
        for (let i = 0; i < item.children.length; ++i) {
            const found = findNamed(item.children[i], name)
            if (found)
                return found
        }
        return null
    }

    function closeMenus(item) {
        if (!item)
            return
        if (item.popup && item.popup.visible)
            item.popup.close()
        for (let i = 0; i < item.children.length; ++i)
            closeMenus(item.children[i])
    }

    function shot(file) {
        const ok = win.contentItem.parent.grabToImage(result => {
            if (!result.saveToFile(file))
                log("shot failed " + file)
        })
        if (!ok)
            log("shot failed " + file)
    }

    // Reports texts cut off by eliding, combo boxes too narrow for their
    // text, buttons and rows whose content is taller than the room they
    // give it (a menu row whose wrapped text runs out of it) and texts that
    // leave the window. Texts that elide by design and show their whole text
    // as a tooltip (a card path, the help line) are not findings. Open
    // dialogs, menus and tooltips live on the window's overlay, walked too.
    function layoutCheck(tag) {
        const findings = []
        const width = win.width
        function visit(item) {
            if (!item || !item.visible || item.opacity <= 0 || item.width <= 0)
                return
            const text = item.text !== undefined ? String(item.text) : ""
            if (item.displayText !== undefined && item.contentItem && item.contentItem.implicitWidth !== undefined) {
                const content = item.contentItem
                if (content.implicitWidth > content.width + 1)
                    findings.push("combo clipped: " + item.displayText)
                return
            } else if (item.checkable !== undefined && item.autoRepeat !== undefined && item.contentItem
                       && item.contentItem.implicitHeight > item.availableHeight + 1) {
                findings.push("content cut: " + (text.length > 0 ? text : describe(item.contentItem)))
            } else if (item.truncated !== undefined && text.length > 0) {
                if (item.truncated && item.elidesWithTip !== true)
                    findings.push("elided: " + text)
                const p = item.mapToItem(null, 0, 0)
                if (p.x < -1 || p.x + item.width > width + 1)
                    findings.push("outside the window: " + text)
            }
            const children = item.children
            for (let i = 0; i < children.length; ++i)
                visit(children[i])
        }
        const root = win.contentItem.parent
        visit(root)
        const overlay = win.Overlay.overlay
        if (overlay && !isInside(overlay, root))
            visit(overlay)
        for (const f of findings)
            log("layout " + tag + " " + flat(f))
        log("layout " + tag + " findings " + findings.length)
    }

    // Texts that could show markup: every shown text holding a "<" that is
    // not plain text is a finding; the plain ones holding one are counted,
    // so that a test knows the markup it fed in reached the screen raw.
    function markupCheck() {
        let findings = 0
        let raw = 0
        function visit(item) {
            if (!item || !item.visible)
                return
            if (item.textFormat !== undefined && String(item.text).indexOf("<") >= 0) {
                if (item.textFormat === Text.PlainText) {
                    ++raw
                    log("markup plain " + flat(item.text))
                } else {
                    ++findings
                    log("markup shown " + flat(item.text))
                }
            }
            for (let i = 0; i < item.children.length; ++i)
                visit(item.children[i])
        }
        const root = win.contentItem.parent
        visit(root)
        const overlay = win.Overlay.overlay
        if (overlay && !isInside(overlay, root))
            visit(overlay)
        log("markupcheck " + findings + " " + raw)
    }

    function isInside(item, ancestor) {
        for (let p = item; p; p = p.parent) {
            if (p === ancestor)
                return true
        }
        return false
    }

    // The texts inside an item, for naming a finding.
    function describe(item) {
        const texts = []
        function collect(i) {
            if (!i)
                return
            if (i.truncated !== undefined && String(i.text).length > 0)
                texts.push(String(i.text))
            for (let k = 0; k < i.children.length; ++k)
                collect(i.children[k])
        }
        collect(item)
        return texts.join(" | ")
    }

    // A plain label, to show which family labels resolve to.
    Label {
        id: probeLabel
        visible: false
        text: "Aa"
    }

    Timer {
        id: timer
        onTriggered: {
            if (runner.index >= runner.steps.length) {
                runner.log("done")
                Qt.quit()
                return
            }
            const step = runner.steps[runner.index++]
            const words = step.split(" ").filter(w => w.length > 0)
            const command = words[0]
            const arg = words.slice(1).join(" ")
            if (command === "quit") {
                runner.log("quit")
                Qt.quit()
                return
            }
            let waitMs = runner.perform(command, arg)
            if (waitMs < 0) {
                runner.index--
                interval = 200
                start()
                return
            }
            runner.log((arg.length > 0 ? command + " " + arg : command) + " | " + runner.stateLine())
            interval = Math.max(50, isNaN(waitMs) ? 0 : waitMs)
            start()
        }
    }

    Connections {
        target: runner.running ? runner.eventsOnly : null
        function onEventEntered(startMs) {
            runner.log("eventsonly event " + runner.card.formatLogTime(startMs))
        }
        function onFinished() {
            runner.log("eventsonly end " + runner.clockOrDash(runner.engine.position))
        }
    }

    Connections {
        target: runner.running ? runner.skipStill : null
        function onSkipped(fromMs, toMs) {
            runner.log("skipstill " + runner.card.formatLogTime(fromMs) + " -> " + runner.card.formatLogTime(toMs))
        }
    }

    Connections {
        target: runner.running ? runner.cardPicker.item : null
        function onOpened() {
            runner.log("cards " + runner.cardPicker.item.cards.length + " " + runner.cardPicker.item.cards.join("|"))
        }
    }

    Connections {
        target: runner.running ? runner.videoPanel : null
        function onToastShown(text) {
            runner.log("toast " + runner.flat(text))
        }
    }

    Connections {
        target: runner.running ? runner.engine : null
        function onGapSkipped(fromMs, toMs) {
            runner.log("gap " + runner.card.formatLogTime(fromMs) + " -> " + runner.card.formatLogTime(toMs))
        }
        function onChunkEnded(atMs) {
            runner.log("chunkEnded " + runner.card.formatLogTime(atMs))
        }
        function onEnded() {
            runner.log("ended at " + runner.clockOrDash(runner.engine.position))
        }
        function onReadFailed() {
            runner.log("readFailed at " + runner.clockOrDash(runner.engine.position))
        }
        function onSeeked(landedMs) {
            runner.log("seeked " + runner.clockOrDash(landedMs))
        }
    }
}
