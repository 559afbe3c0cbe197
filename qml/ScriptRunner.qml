import QtQuick
import QtQuick.Controls

// Script mode: runs the "--autotest" commands one after another as a user
// would, logging one "AUTOTEST" line per step, and quits at the end.
Item {
    id: runner

    // The whole window: script mode drives it as a person would.
    required property ApplicationWindow win
    property var steps: []
    property int thumbWaits: 0
    property int index: 0
    readonly property bool running: steps.length > 0
    readonly property var card: win.session
    readonly property var engine: win.player
    readonly property var job: win.job

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

    function clockOrDash(ms) {
        return ms > 0 ? card.formatLogTime(ms) : "-"
    }

    // The state after a step, in a fixed order.
    function stateLine() {
        const tl = win.timeline
        const panel = win.exportPanel
        const fields = [
            "pos " + clockOrDash(engine.position),
            "day " + win.selYear + "-" + win.selMonth + "-" + win.selDay,
            "days " + JSON.stringify(win.calendar.recordedDays),
            "evdays " + JSON.stringify(win.calendar.eventDays),
            "chunks " + win.dayModel.chunks.length,
            "events " + win.eventList.total,
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
        if (win.eventsOnly.active)
            fields.push("eventsonly on")
        if (win.videoPanel.zoom > 1.001)
            fields.push("vzoom " + win.videoPanel.zoom.toFixed(1))
        return fields.join(" | ")
    }

    // Performs one step; returns the wait before the next, or -1 to repeat
    // this step in 200 ms without logging.
    function perform(command, arg) {
        const words = arg.length > 0 ? arg.split(" ") : []
        const tl = win.timeline
        const panel = win.exportPanel
        switch (command) {
        case "play":
            engine.play()
            return words.length > 0 ? parseFloat(arg) * 1000 : 0
        case "pause":
            engine.pause()
            return 0
        case "wait":
            return parseFloat(arg) * 1000
        case "seek":
            engine.seek(time(arg), true)
            return 500
        case "seekexact":
            engine.seek(time(arg), false)
            return 500
        case "eventseek":
            win.seekInDay(time(arg))
            return 500
        case "tlseek":
            tl.seekAt(time(arg))
            return 800
        case "select":
            tl.setSelection(time(words[0]), time(words[1]))
            return 0
        case "selmove":
            tl.nudgeSelection(parseInt(words[0]), parseInt(words[1]))
            return 0
        case "selbound":
            tl.selectionToBoundary(parseInt(words[0]), words[1] === "end")
            return 0
        case "unselect":
            tl.clearSelection()
            return 0
        case "exportdlg":
            win.openExport()
            return 400
        case "exportmode":
            panel.setMode(arg === "merge")
            return 0
        case "exportkind":
            // "events": each event of the day as a file; "range": the selection.
            panel.setEventsMode(arg === "events")
            return 0
        case "exportformat":
            appSettings.exportFormat = arg === "mp4" ? 1 : 0
            return 0
        case "exportaudio":
            panel.setAudio(arg !== "off")
            return 0
        case "exportdir":
            panel.setFolder(arg)
            return 0
        case "exportgo":
            panel.startExport()
            // "exportgo close": the window is closed while the export has
            // surely not ended yet, however fast the machine writes.
            if (arg === "close") {
                win.close()
                return 400
            }
            return 300
        case "vzoom":
            // Factor, then the centre in fractions of the picture.
            win.videoPanel.zoomTo(parseFloat(words[0]), words.length > 1 ? parseFloat(words[1]) : 0.5,
                                  words.length > 2 ? parseFloat(words[2]) : 0.5)
            return 0
        case "eventthumbs": {
            // Waits (10 s at most) until every row of a playable event
            // shows its picture.
            const counts = win.eventList.thumbCounts()
            if (counts.pictures < counts.playable && thumbWaits++ < 50)
                return -1
            thumbWaits = 0
            log("eventthumbs " + counts.rows + " " + counts.pictures)
            return 0
        }
        case "exportevents":
            // Each event of the day (the list's types) as a file, padded by PAD s.
            if (!panel.open)
                win.openExport()
            panel.setEventsMode(true, parseInt(arg))
            panel.startExport()
            return 300
        case "waitexport":
            return job.running ? -1 : 0
        case "exportclose":
            panel.closeEditor()
            return 0
        case "exporttype":
            panel.typeField(parseInt(words[0]), words.slice(1).join(" "))
            return 0
        case "exportstep":
            panel.stepField(parseInt(words[0]), parseInt(words[1]), parseInt(words[2]))
            return 0
        case "exportmore":
            panel.moreOpen = arg !== "off"
            return 0
        case "exportmenu":
            panel.openMenu(arg === "gaps" ? "gaps" : "format")
            return 400
        case "menu":
            openMenu(arg)
            return 400
        case "menuclose":
            closeMenus(win.contentItem.parent)
            return 0
        case "exportinfo":
            log("exportinfo open " + panel.open
                + " | start " + panel.startText + " | end " + panel.endText
                + " | summary " + panel.summary + " | problem " + flat(panel.problem)
                + " | canExport " + panel.canExport + " | names " + JSON.stringify(panel.names)
                + " | format " + (panel.format === 1 ? "mp4" : "mov") + (panel.mp4Blocked ? " (g711: mov only)" : "")
                + " | result " + panel.resultStatus + " " + flat(panel.resultText)
                + " | zoom " + tl.zoom + " | video " + Math.round(win.videoPanel.height)
                + " | whole " + editorWhole())
            return 0
        case "exportcancel":
            job.cancel()
            return 0
        case "speed":
            engine.speed = parseInt(arg)
            return 0
        case "continuous":
            appSettings.continuous = arg === "on"
            return 0
        case "open":
            win.openCard(arg)
            return 800
        case "recent": {
            const entries = win.toolBar.recentEntries()
            log("recent " + entries.length + " "
                + entries.map(e => e.text + (e.enabled ? "" : " (missing)")).join("|"))
            return 0
        }
        case "pickcard":
            win.cardPicker.pick(parseInt(arg))
            return 800
        case "eventsonly":
            win.eventsOnly.active = arg === "on"
            return 500
        case "waitpaused":
            return engine.playing ? -1 : 0
        case "day": {
            const p = arg.split("-").map(x => parseInt(x))
            win.pickDay(p[0], p[1], p[2])
            return 500
        }
        case "filter":
            win.eventList.typeFilter = parseInt(arg)
            return 200
        case "zoom":
            tl.zoom = parseInt(arg)
            return 0
        case "timemode":
            appSettings.timeMode = parseInt(arg)
            return 0
        case "lang":
            appSettings.language = arg
            return 0
        case "theme":
            appSettings.theme = arg === "light" || arg === "dark" ? arg : ""
            return 0
        case "settings":
            win.settingsDialog.open()
            return 400
        case "settingsclose":
            win.settingsDialog.close()
            return 0
        case "keys":
            win.shortcutSheet.open()
            return 400
        case "keysclose":
            win.shortcutSheet.close()
            return 0
        case "licenses":
            win.settingsDialog.openLicenses()
            return 400
        case "updatecheck":
            if (arg === "startup")
                updater.startupCheck()
            else
                updater.checkNow()
            return 200
        case "waitupdate":
            return updater.checking ? -1 : 0
        case "step":
            engine.stepFrame()
            return 200
        case "stepback":
            if (engine.stepBackFrame)
                engine.stepBackFrame()
            return 200
        case "snapshot":
            log("snapshot " + engine.saveSnapshot(arg))
            return 0
        case "shot":
            shot(arg)
            return 300
        case "decoder":
            log("decoder " + engine.decoderInfo + " | policy " + appSettings.decodePolicy
                + " | hardware " + appSettings.hardwareDecodeSummary + " | failed " + engine.decodeFailed
                + " | hevc " + engine.hevcExtensionNeeded + " | error " + (engine.errorString || "-"))
            return 0
        case "decode":
            appSettings.decodePolicy = arg === "hw" ? 1 : arg === "sw" ? 2 : 0
            engine.retryDecode()
            return 1000
        case "fonts":
            log("fonts window " + win.font.family + " | label " + probeLabel.font.family
                + " | setting " + appSettings.fontFamily + " | " + flat(appSettings.fontReport()))
            return 0
        case "size":
            win.width = parseInt(words[0])
            win.height = parseInt(words[1])
            return 400
        case "layoutcheck":
            layoutCheck(arg)
            return 0
        case "dayinfo": {
            // The selected day's bounds and what the window shows of it.
            const d = win.dayModel
            log("dayinfo " + clockOrDash(d.dayStart) + " | " + clockOrDash(d.dayEnd) + " | hours "
                + (d.dayEnd - d.dayStart) / 3600000 + " | span " + tl.viewSpan / 3600000 + " | events "
                + win.eventList.total + " | chunks " + d.chunks.length + " | shown " + d.positionTime)
            return 0
        }
        case "markupcheck":
            markupCheck()
            return 0
        case "close":
            win.close()
            return 400
        case "closeconfirm":
            win.confirmQuit()
            return 0
        default:
            return 0
        }
    }

    // Whether the export editor's fields and its button show whole, without
    // scrolling: all of them inside the editor's visible part.
    function editorWhole() {
        const scroller = findNamed(win.timelinePanel, "editorScroller")
        if (!scroller || !scroller.visible)
            return false
        for (const name of ["startField", "endField", "formatField", "exportButton"]) {
            const item = findNamed(win.exportPanel, name)
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
        target: runner.running ? runner.win.eventsOnly : null
        function onEventEntered(startMs) {
            runner.log("eventsonly event " + runner.card.formatLogTime(startMs))
        }
        function onFinished() {
            runner.log("eventsonly end " + runner.clockOrDash(runner.engine.position))
        }
    }

    Connections {
        target: runner.running ? runner.win.cardPicker : null
        function onOpened() {
            runner.log("cards " + runner.win.cardPicker.cards.length + " " + runner.win.cardPicker.cards.join("|"))
        }
    }

    Connections {
        target: runner.running ? runner.win.videoPanel : null
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
