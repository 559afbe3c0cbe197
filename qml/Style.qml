pragma Singleton
import QtQuick
import NivraPlayer

// Every colour, radius and font token of the interface; the theme follows
// the settings object once it exists (dark until then). The colours' values
// come from the program's one colour table (Theme), which the timeline and
// Qt's palette share.
QtObject {
    readonly property bool dark: (typeof appSettings !== "undefined" && appSettings) ? appSettings.darkTheme : true

    readonly property color yellow: Theme.colour("yellow", dark)
    readonly property color purple: Theme.colour("purple", dark)
    readonly property color plum: Theme.colour("plum", dark)
    readonly property color activity: Theme.colour("activity", dark)
    readonly property color loudness: Theme.colour("loudness", dark)
    readonly property color bookmark: Theme.colour("bookmark", dark)
    readonly property color canvas: Theme.colour("canvas", dark)
    readonly property color surface: Theme.colour("surface", dark)
    readonly property color surface2: Theme.colour("surface2", dark)
    readonly property color surface3: Theme.colour("surface3", dark)
    readonly property color foreground: Theme.colour("foreground", dark)
    readonly property color secondary: Theme.colour("secondary", dark)
    readonly property color line: Theme.colour("line", dark)
    readonly property color strongLine: Theme.colour("strongLine", dark)
    readonly property color accent: Theme.colour("accent", dark)
    readonly property color inkOnAccent: Theme.colour("inkOnAccent", dark)
    readonly property color selected: Theme.colour("selected", dark)
    readonly property color selectedText: Theme.colour("selectedText", dark)
    readonly property color record: Theme.colour("record", dark)
    readonly property color recordFine: Theme.colour("recordFine", dark)
    readonly property color track: Theme.colour("track", dark)
    readonly property color videoSurface: Theme.colour("videoSurface", dark)
    readonly property color error: Theme.colour("error", dark)
    readonly property color faint: Theme.colour("faint", dark)
    readonly property color primaryHover: Theme.colour("primaryHover", dark)
    readonly property color primaryDeep: Theme.colour("primaryDeep", dark)
    readonly property color eventText: Theme.colour("eventText", dark)
    // The edge of an unchecked check box or radio button: at least 3:1
    // against every panel colour in both themes.
    readonly property color controlEdge: secondary
    // The keyboard's focus mark: a ring around the focused control, 3:1 at
    // least against the panels and the window in both themes.
    readonly property color focusRing: Theme.colour("focusRing", dark)
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
