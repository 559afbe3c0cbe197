import QtQuick
import QtQuick.Controls

ApplicationWindow {
    id: window

    width: 1440
    height: 920
    minimumWidth: 1100
    minimumHeight: 700
    visible: true
    title: "NIVRA Player"
    color: Style.bg

    background: Rectangle {
        color: Style.bg
    }

    Image {
        anchors.centerIn: parent
        source: Style.dark ? "qrc:/brand/nivra-logo-white.svg" : "qrc:/brand/nivra-logo.svg"
        sourceSize.width: 400
    }

    // Script mode: "--autotest" hands over commands separated by ";".
    property var scriptSteps: []
    property int scriptIndex: 0

    function log(line) {
        console.log("AUTOTEST " + line)
    }

    function parseScript(script) {
        return script.split(";").map(s => s.trim()).filter(s => s.length > 0)
    }

    // Performs one step and returns how long to wait before the next.
    function runStep(step) {
        const words = step.split(" ").filter(w => w.length > 0)
        const command = words.length > 0 ? words[0] : ""
        const argument = words.slice(1).join(" ")
        let waitMs = 0
        switch (command) {
        case "wait":
            waitMs = parseFloat(argument) * 1000
            break
        case "shot":
            saveShot(argument)
            waitMs = 300
            break
        case "quit":
            log("quit")
            Qt.quit()
            return -1
        default:
            break
        }
        log(argument.length > 0 ? command + " " + argument : command)
        return isNaN(waitMs) ? 0 : waitMs
    }

    function saveShot(file) {
        const target = window.contentItem.parent ? window.contentItem.parent : window.contentItem
        const ok = target.grabToImage(function (result) {
            if (!result.saveToFile(file))
                log("shot failed " + file)
        })
        if (!ok)
            log("shot failed " + file)
    }

    Timer {
        id: scriptTimer
        interval: 50
        onTriggered: {
            if (window.scriptIndex >= window.scriptSteps.length) {
                window.log("done")
                Qt.quit()
                return
            }
            const waitMs = window.runStep(window.scriptSteps[window.scriptIndex++])
            if (waitMs < 0)
                return
            interval = Math.max(50, waitMs)
            start()
        }
    }

    Component.onCompleted: {
        if (autotestScript.length > 0) {
            scriptSteps = parseScript(autotestScript)
            scriptTimer.start()
        }
    }
}
