import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtMultimedia
import Nivra.Media

// The picture with its overlays, the empty views and the toast.
Rectangle {
    id: panel

    required property CardSession card
    required property PlaybackEngine engine
    required property DayModel day
    // Full screen with the video alone: no rounded panel around it.
    property bool alone: false
    readonly property alias videoSink: output.videoSink
    readonly property bool roomy: height >= 150
    readonly property bool videoVisible: output.visible
    readonly property alias toastText: toastLabel.text
    // The picture's magnification, 1 to 8; kept across seeks, back to 1 on
    // another card or day.
    readonly property alias zoom: zoomView.zoom
    // The search in an area: picking while the user drags a rectangle on
    // the picture; area is the one searched, in fractions of the picture
    // (empty for none).
    property bool picking: false
    property rect area: Qt.rect(0, 0, 0, 0)
    readonly property bool searching: area.width > 0 && area.height > 0

    readonly property bool decodeFailed: engine.errorString.length > 0 && engine.decodeFailed
    readonly property bool hevcHelp: decodeFailed && engine.hevcExtensionNeeded
    readonly property bool hardwareOnly: decodeFailed && appSettings.decodePolicy === 1
    readonly property bool missingCase: card.isOpen && !day.hasPlayable && day.hasMissing
                                        && engine.errorString.length === 0

    signal openFolderRequested()
    signal latestDayRequested()
    signal settingsRequested()
    signal toastShown(string text)

    radius: alone ? 0 : Style.panelRadius
    color: Style.video
    clip: true

    function showToast(text) {
        toastLabel.text = text
        toast.opacity = 1
        toastTimer.restart()
        toastShown(text)
    }

    // The picture, magnified by moving and scaling the video output: the
    // graphics card does the work, and snapshots still take the whole
    // picture from the engine.
    Item {
        id: zoomView
        anchors.fill: parent
        // Only a magnified picture reaches past the panel; a clip would
        // break the scene's batches on every frame.
        clip: zoom > 1.001

        property real zoom: 1
        property real offsetX: 0
        property real offsetY: 0
        readonly property rect picture: output.contentRect

        // Keeps the magnified picture over the view where it is larger, and
        // centred where it is not.
        function clamp(offset, start, length, view) {
            const size = length * zoom
            if (size <= view)
                return (view - size) / 2 - start * zoom
            return Math.min(-start * zoom, Math.max(view - (start + length) * zoom, offset))
        }

        function place(x, y) {
            offsetX = clamp(x, picture.x, picture.width, width)
            offsetY = clamp(y, picture.y, picture.height, height)
        }

        // Zooms to factor keeping the view point (vx, vy) on the same spot
        // of the picture.
        function zoomAround(factor, vx, vy) {
            const next = Math.max(1, Math.min(8, factor))
            const px = (vx - offsetX) / zoom
            const py = (vy - offsetY) / zoom
            zoom = next
            place(vx - px * next, vy - py * next)
        }

        // A point of the view in fractions of the picture, and back: the
        // area follows the zoom.
        function toPicture(vx, vy) {
            const ox = zoom > 1 ? offsetX : 0
            const oy = zoom > 1 ? offsetY : 0
            return Qt.point(((vx - ox) / zoom - picture.x) / Math.max(1, picture.width),
                            ((vy - oy) / zoom - picture.y) / Math.max(1, picture.height))
        }
        function toView(fx, fy) {
            const ox = zoom > 1 ? offsetX : 0
            const oy = zoom > 1 ? offsetY : 0
            return Qt.point(ox + zoom * (picture.x + fx * picture.width),
                            oy + zoom * (picture.y + fy * picture.height))
        }

        function reset() {
            zoom = 1
            offsetX = 0
            offsetY = 0
        }

        onWidthChanged: place(offsetX, offsetY)
        onHeightChanged: place(offsetX, offsetY)

        VideoOutput {
            id: output
            width: zoomView.width
            height: zoomView.height
            visible: panel.card.isOpen && panel.day.hasPlayable && panel.engine.errorString.length === 0
            transform: [
                Scale {
                    xScale: zoomView.zoom
                    yScale: zoomView.zoom
                },
                Translate {
                    x: zoomView.zoom > 1 ? zoomView.offsetX : 0
                    y: zoomView.zoom > 1 ? zoomView.offsetY : 0
                }
            ]
        }

        WheelHandler {
            enabled: output.visible
            acceptedDevices: PointerDevice.Mouse | PointerDevice.TouchPad
            onWheel: event => zoomView.zoomAround(zoomView.zoom * Math.pow(1.25, event.angleDelta.y / 120),
                                                  point.position.x, point.position.y)
        }
        DragHandler {
            id: pan
            target: null
            enabled: output.visible && zoomView.zoom > 1
            property real startX: 0
            property real startY: 0
            onActiveChanged: {
                startX = zoomView.offsetX
                startY = zoomView.offsetY
            }
            onTranslationChanged: {
                if (active)
                    zoomView.place(startX + translation.x, startY + translation.y)
            }
        }
        TapHandler {
            enabled: output.visible
            onDoubleTapped: zoomView.reset()
        }

        // The area searched, or the one being drawn.
        Rectangle {
            id: areaBox
            objectName: "areaBox"
            readonly property rect shown: areaPicker.pressed ? areaPicker.dragged : panel.area
            readonly property point topLeft: (zoomView.zoom, zoomView.offsetX, zoomView.offsetY, zoomView.picture,
                                              zoomView.toView(shown.x, shown.y))
            readonly property point bottomRight: (zoomView.zoom, zoomView.offsetX, zoomView.offsetY, zoomView.picture,
                                                  zoomView.toView(shown.x + shown.width, shown.y + shown.height))
            visible: output.visible && shown.width > 0 && shown.height > 0
            x: topLeft.x
            y: topLeft.y
            width: bottomRight.x - topLeft.x
            height: bottomRight.y - topLeft.y
            color: "#26ffb703"
            border.width: 2
            border.color: Style.yellow
        }

        MouseArea {
            id: areaPicker
            objectName: "areaPicker"
            anchors.fill: parent
            enabled: panel.picking && output.visible
            visible: enabled
            cursorShape: Qt.CrossCursor
            property point from: Qt.point(0, 0)
            property rect dragged: Qt.rect(0, 0, 0, 0)
            onPressed: mouse => {
                from = zoomView.toPicture(mouse.x, mouse.y)
                dragged = Qt.rect(from.x, from.y, 0, 0)
            }
            onPositionChanged: mouse => {
                const to = zoomView.toPicture(mouse.x, mouse.y)
                dragged = Qt.rect(Math.min(from.x, to.x), Math.min(from.y, to.y),
                                  Math.abs(to.x - from.x), Math.abs(to.y - from.y))
            }
            onReleased: panel.setArea(dragged.x, dragged.y, dragged.width, dragged.height)
        }
    }

    // What to do while picking, and the way into the search.
    Rectangle {
        objectName: "areaHint"
        visible: panel.picking && output.visible
        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.topMargin: 18
        width: Math.min(parent.width - 36, hintLabel.implicitWidth + 24)
        height: hintLabel.implicitHeight + 14
        radius: 6
        color: "#dd16131d"
        Label {
            id: hintLabel
            textFormat: Text.PlainText
            anchors.centerIn: parent
            width: parent.width - 24
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            text: qsTr("Drag a rectangle over the part of the picture to search (Esc cancels)")
            font.pixelSize: 12
            color: "white"
        }
    }
    Button {
        id: areaButton
        objectName: "areaButton"
        visible: output.visible && panel.roomy && !panel.picking && !panel.searching
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 18
        implicitHeight: 30
        leftPadding: 12
        rightPadding: 12
        hoverEnabled: true
        focusPolicy: Qt.TabFocus
        text: qsTr("Find changes in an area")
        onClicked: panel.startAreaSearch()
        contentItem: Label {
            textFormat: Text.PlainText
            text: areaButton.text
            font.pixelSize: 11
            color: "white"
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            FocusRing {
                control: areaButton
            }
            radius: 6
            color: areaButton.pressed ? "#ee16131d" : areaButton.hovered ? "#dd2b2a39" : "#bb16131d"
            border.color: areaButton.hovered ? Style.yellow : "transparent"
        }
    }

    function startAreaSearch() {
        picking = true
    }
    // Searches x, y, w, h (fractions of the picture, clamped to it).
    function setArea(x, y, w, h) {
        const x0 = Math.max(0, Math.min(1, x))
        const y0 = Math.max(0, Math.min(1, y))
        const x1 = Math.max(0, Math.min(1, x + w))
        const y1 = Math.max(0, Math.min(1, y + h))
        picking = false
        if (x1 - x0 > 0.005 && y1 - y0 > 0.005)
            area = Qt.rect(x0, y0, x1 - x0, y1 - y0)
    }
    function endAreaSearch() {
        picking = false
        area = Qt.rect(0, 0, 0, 0)
    }

    // Back to the whole picture.
    function resetZoom() {
        zoomView.reset()
    }

    // Magnifies by factor with the picture point (fx, fy), in fractions of
    // the picture, at the centre of the view as far as the picture allows.
    function zoomTo(factor, fx, fy) {
        const next = Math.max(1, Math.min(8, factor))
        zoomView.zoom = next
        const p = zoomView.picture
        zoomView.place(zoomView.width / 2 - (p.x + fx * p.width) * next,
                       zoomView.height / 2 - (p.y + fy * p.height) * next)
    }

    Connections {
        target: panel.card
        function onChanged() {
            zoomView.reset()
            panel.endAreaSearch()
        }
    }
    Connections {
        target: panel.day
        function onSelectionChanged() {
            zoomView.reset()
        }
    }

    // "2.0×" while the picture is magnified.
    Rectangle {
        objectName: "zoomBadge"
        visible: output.visible && zoomView.zoom > 1.001 && panel.height >= 100
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.margins: 18
        width: zoomLabel.implicitWidth + 14
        height: zoomLabel.implicitHeight + 10
        radius: 5
        color: "#9916131d"
        Label {
            textFormat: Text.PlainText
            id: zoomLabel
            anchors.centerIn: parent
            text: Number(zoomView.zoom).toLocaleString(Qt.locale(), "f", 1) + "\u00d7"
            font.pixelSize: 12
            color: "white"
        }
    }

    Rectangle {
        visible: output.visible && panel.engine.position > 0 && panel.height >= 100
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 18
        width: clock.implicitWidth + 14
        height: clock.implicitHeight + 14
        radius: 5
        color: "#9916131d"
        Label {
            textFormat: Text.PlainText
            id: clock
            anchors.centerIn: parent
            objectName: "clockOverlay"
            text: panel.day.positionTime
            font.pixelSize: 12
            font.family: Style.mono
            color: "white"
        }
    }

    Rectangle {
        visible: output.visible && panel.roomy
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.margins: 18
        height: 30
        width: pillRow.implicitWidth + 24
        radius: 6
        color: "#bb16131d"
        Row {
            id: pillRow
            anchors.centerIn: parent
            spacing: 8
            Rectangle {
                anchors.verticalCenter: parent.verticalCenter
                width: 6
                height: 6
                radius: 3
                color: Style.yellow
            }
            Label {
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                text: panel.engine.playing ? qsTr("Playing") : qsTr("Paused")
                font.pixelSize: 11
                color: "white"
            }
        }
    }

    IconButton {
        id: playButton
        visible: output.visible && panel.roomy && !panel.engine.playing
        anchors.centerIn: parent
        width: 60
        height: 60
        primary: true
        glyph: "play"
        tip: qsTr("Play (Space)")
        onClicked: panel.engine.play()
    }

    // Shown instead of the video whenever the video is hidden, never over
    // a stale last frame.
    Rectangle {
        id: emptyView
        anchors.fill: parent
        visible: !output.visible
        color: Style.video

        readonly property int kind: {
            if (panel.engine.errorString.length > 0)
                return 0
            if (!panel.card.isOpen)
                return panel.card.errorString.length > 0 ? 1 : 2
            return panel.day.hasMissing && !panel.day.hasPlayable ? 3 : 4
        }

        ColumnLayout {
            id: emptyContent
            anchors.centerIn: parent
            width: Math.min(parent.width - 40, 560)
            spacing: 10

            Rectangle {
                Layout.alignment: Qt.AlignHCenter
                Layout.preferredWidth: 72
                Layout.preferredHeight: 72
                radius: 22
                color: "#0dffffff"
                border.color: "#22ffffff"
                Rectangle {
                    anchors.centerIn: parent
                    width: 16
                    height: 16
                    radius: 8
                    color: Style.recording
                }
            }
            Label {
                textFormat: Text.PlainText
                objectName: "emptyTitle"
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                font.pixelSize: 20
                font.weight: Font.Medium
                color: "#f0eef5"
                text: [qsTr("Unable to play this video"), qsTr("Could not open the recordings"),
                       qsTr("Every moment that matters, all in one place"), qsTr("Recording files are missing"),
                       qsTr("No recordings on this day")][emptyView.kind]
            }
            Label {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                font.pixelSize: 12
                color: "#aaa4b7"
                text: [panel.engine.errorString, panel.card.errorString,
                       qsTr("Open an SD card or recording folder to review recordings on this computer."),
                       qsTr("The index contains recordings for this day, but their video files are not in this folder."),
                       qsTr("Select a date with a recording marker in the calendar.")][emptyView.kind]
            }
            Label {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                visible: panel.hardwareOnly
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                font.pixelSize: 12
                color: "#aaa4b7"
                text: qsTr("%1. Updating the graphics driver may help.").arg(appSettings.hardwareDecodeSummary)
            }
            Label {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                visible: panel.hevcHelp && panel.hardwareOnly
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                font.pixelSize: 12
                color: "#aaa4b7"
                text: qsTr("Without the graphics card, Windows can only decode this H.265 recording with Microsoft's HEVC Video Extensions from the Microsoft Store.")
            }
            RowLayout {
                id: buttonRow
                Layout.alignment: Qt.AlignHCenter
                Layout.topMargin: 4
                spacing: 10

                PrimaryButton {
                    implicitHeight: 40
                    visible: !panel.card.isOpen && panel.engine.errorString.length === 0
                    text: qsTr("Open SD card / folder")
                    onClicked: panel.openFolderRequested()
                }
                PrimaryButton {
                    implicitHeight: 40
                    visible: panel.card.isOpen && !panel.day.hasPlayable && !panel.missingCase
                             && panel.engine.errorString.length === 0
                    text: qsTr("View a date with recordings")
                    onClicked: panel.latestDayRequested()
                }
                PrimaryButton {
                    objectName: "chooseFolderButton"
                    implicitHeight: 40
                    visible: panel.missingCase
                    text: qsTr("Choose another folder")
                    onClicked: panel.openFolderRequested()
                }
                PrimaryButton {
                    implicitHeight: 36
                    visible: panel.hevcHelp
                    text: qsTr("Open Microsoft Store")
                    onClicked: panel.engine.openHevcExtensionStore()
                }
                PrimaryButton {
                    implicitHeight: 36
                    visible: panel.hardwareOnly && !panel.hevcHelp
                    text: qsTr("Decode in software")
                    onClicked: panel.decodeInSoftware()
                }
                OutlineButton {
                    implicitHeight: 36
                    visible: panel.hardwareOnly && panel.hevcHelp
                    text: qsTr("Decode in software")
                    onClicked: panel.decodeInSoftware()
                }
                OutlineButton {
                    implicitHeight: 36
                    visible: panel.hevcHelp && !panel.hardwareOnly
                    text: qsTr("Try again")
                    onClicked: panel.engine.retryDecode()
                }
                OutlineButton {
                    implicitHeight: 36
                    visible: panel.hardwareOnly || panel.hevcHelp
                    text: qsTr("Settings...")
                    onClicked: panel.settingsRequested()
                }
            }
            Label {
                textFormat: Text.PlainText
                Layout.fillWidth: true
                visible: panel.hardwareOnly && !panel.hevcHelp
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                font.pixelSize: 11
                color: "#aaa4b7"
                text: qsTr("Software decoding works on any computer but uses much more processor time.")
            }
        }
    }

    function decodeInSoftware() {
        appSettings.decodePolicy = 0
        engine.retryDecode()
    }

    // The toast's place at the bottom, and whether a button reaches into it
    // there (the empty view's buttons in a short panel): then it shows at
    // the top instead, since a toast must never cover a control.
    readonly property real toastBottomY: height - 20 - toast.height
    readonly property bool toastAtTop: {
        const limit = toastBottomY - 4
        if (playButton.visible && playButton.y + playButton.height > limit)
            return true
        if (!emptyView.visible)
            return false
        // The buttons themselves: the row's own height lags behind theirs
        // while it is laid out again.
        const top = emptyContent.y + buttonRow.y
        const buttons = buttonRow.children
        for (let i = 0; i < buttons.length; ++i) {
            if (buttons[i].visible && top + buttons[i].y + buttons[i].height > limit)
                return true
        }
        return false
    }

    Rectangle {
        id: toast
        objectName: "toast"
        anchors.horizontalCenter: parent.horizontalCenter
        y: panel.toastAtTop ? 20 : panel.toastBottomY
        height: 34
        width: toastLabel.implicitWidth + 36
        radius: height / 2
        color: "#a6000000"
        opacity: 0
        visible: opacity > 0
        Behavior on opacity {
            enabled: toast.opacity > 0
            NumberAnimation {
                duration: 250
            }
        }
        Label {
            textFormat: Text.PlainText
            id: toastLabel
            anchors.centerIn: parent
            font.pixelSize: 13
            color: "white"
        }
    }

    Timer {
        id: toastTimer
        interval: 3500
        onTriggered: toast.opacity = 0
    }
}
