pragma Singleton
import QtQuick

// Every colour, radius and font token of the interface; the theme follows
// the settings object once it exists (dark until then).
QtObject {
    readonly property bool dark: (typeof appSettings !== "undefined" && appSettings) ? appSettings.darkTheme : true

    readonly property color yellow: "#ffb703"
    readonly property color purple: "#453875"
    readonly property color plum: "#352941"
    readonly property color canvas: dark ? "#17171f" : "#f6f6f5"
    readonly property color surface: dark ? "#22222f" : "#ffffff"
    readonly property color surface2: dark ? "#2b2a39" : "#f2f1f5"
    readonly property color surface3: dark ? "#343343" : "#edeef2"
    readonly property color foreground: dark ? "#f0eef5" : "#352941"
    readonly property color secondary: dark ? "#b6b0c4" : "#716977"
    readonly property color line: dark ? "#383645" : "#e5e2e9"
    readonly property color strongLine: dark ? "#565166" : "#cbc5d4"
    readonly property color accent: dark ? yellow : purple
    readonly property color inkOnAccent: dark ? plum : "#ffffff"
    readonly property color selected: dark ? "#39334e" : "#eeebf5"
    readonly property color selectedText: dark ? "#f2e8ff" : purple
    readonly property color record: dark ? "#8778b4" : "#9386b6"
    readonly property color track: dark ? "#353341" : "#e9e7ed"
    readonly property color videoSurface: dark ? "#111118" : "#1e1e2f"
    readonly property color error: "#ff6b6b"
    readonly property color faint: dark ? "#837d91" : "#9a929f"
    readonly property color primaryHover: dark ? "#ffc42d" : "#58498d"
    readonly property color primaryDeep: dark ? "#d99b00" : "#352a5c"
    readonly property color eventText: dark ? yellow : "#956900"
    // The edge of an unchecked check box or radio button: at least 3:1
    // against every panel colour in both themes.
    readonly property color controlEdge: secondary
    // The keyboard's focus mark: a ring around the focused control, 3:1 at
    // least against the panels and the window in both themes.
    readonly property color focusRing: dark ? yellow : "#5b4bb0"
    readonly property int focusRingWidth: 2
    // Consolas ships with Windows; DejaVu Sans Mono is what Debian installs.
    readonly property string mono: Qt.platform.os === "windows" ? "Consolas" : "DejaVu Sans Mono"
    readonly property int radius: 8
    readonly property int panelRadius: 16
    readonly property int modalRadius: 20

    readonly property color bg: canvas
    readonly property color panel: surface
    readonly property color border: line
    readonly property color borderStrong: strongLine
    readonly property color text: foreground
    readonly property color text2: foreground
    readonly property color text3: secondary
    readonly property color muted: secondary
    readonly property color primary: accent
    readonly property color primarySoft: selected
    readonly property color primaryTint: selected
    readonly property color primaryText: selectedText
    readonly property color recording: record
    readonly property color event: yellow
    readonly property color missing: surface3
    readonly property color video: videoSurface
    readonly property color subtleFill: surface2
}
