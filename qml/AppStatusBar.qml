import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Nivra.Media

// The bottom line: the read-only promise, the day's state and the version.
Rectangle {
    id: bar

    required property CardSession card
    required property PlaybackEngine engine
    required property DayModel day
    // The day's events, whatever the list's filter shows.
    required property int eventTotal
    // The day's events that can be played (and so clicked).
    property int eventPlayable: eventTotal

    implicitHeight: 30
    color: Style.bg

    function details() {
        const parts = []
        const status = engine.status
        if (status.segId !== undefined && status.segId >= 0) {
            const seg = "seg_" + String(status.segId).padStart(3, "0") + ".dat"
            const offset = Number(status.offset).toString(16).toUpperCase().padStart(8, "0")
            parts.push(qsTr("reading %1 @ 0x%2").arg(seg).arg(offset))
        }
        if (engine.decoderInfo.length > 0) {
            let decoding = engine.decoderInfo
            if (engine.videoSize.width > 0)
                decoding += " " + engine.videoSize.width + "×" + engine.videoSize.height
            if (status.fps > 0)
                decoding += " " + Math.round(status.fps) + " fps"
            parts.push(qsTr("decoding %1").arg(decoding))
        }
        if (card.isOpen)
            parts.push(card.hasAudio ? qsTr("audio") + " " + card.audioInfo : qsTr("no audio"))
        if (status.bufferMs !== undefined)
            parts.push(qsTr("buffer %1 s").arg((status.bufferMs / 1000).toFixed(1)))
        return parts.join("  ·  ")
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 24
        anchors.rightMargin: 24
        spacing: 16

        Label {
            textFormat: Text.PlainText
            text: qsTr("Read-only · Recordings stay on this computer")
            font.pixelSize: 10
            color: Style.muted
        }
        Label {
            textFormat: Text.PlainText
            id: middle
            objectName: "statusText"
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            font.pixelSize: 10
            color: Style.muted
            text: !bar.card.isOpen ? qsTr("Waiting for a recording")
                : bar.day.hasPlayable && bar.eventPlayable > 0
                  ? qsTr("%n events today · Click an event to seek", "", bar.eventTotal)
                : bar.day.hasPlayable ? qsTr("%n events today", "", bar.eventTotal)
                : bar.day.hasMissing ? qsTr("Recording files missing")
                : qsTr("No recordings on this day")
            HoverHandler {
                id: middleHover
            }
            ToolTip.visible: middleHover.hovered && ToolTip.text.length > 0
            ToolTip.delay: 500
            ToolTip.text: middleHover.hovered ? bar.details() : ""
        }
        Label {
            textFormat: Text.PlainText
            text: "NIVRA Player" + "  " + appSettings.version
            font.pixelSize: 10
            color: Style.muted
        }
    }
}
