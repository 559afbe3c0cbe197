import QtQuick
import QtTest
import NivraPlayer

// The flat drop-down's menu size and its placement above or below; the
// check box, radio button and slider: edges that stand out from the panels
// in both themes, and a disabled look.
Item {
    id: root
    width: 400
    height: 600

    TestCase {
        name: "Controls"
        when: windowShown

        Component {
            id: comboComponent
            FlatComboBox {
                y: 20
                width: 200
            }
        }

        Component {
            id: checkComponent
            FlatCheckBox {
                text: "Check"
            }
        }
        Component {
            id: radioComponent
            FlatRadioButton {
                text: "Radio"
            }
        }
        Component {
            id: sliderComponent
            FlatSlider {
                width: 80
                value: 0.5
            }
        }
        Component {
            id: backdropComponent
            Rectangle {
                x: 10
                y: 200
                width: 200
                height: 60
            }
        }

        // WCAG 2.1 contrast ratio of two colours.
        function luminance(c) {
            const lin = v => v <= 0.04045 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4)
            return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b)
        }
        function contrast(a, b) {
            const la = luminance(Qt.color(a)), lb = luminance(Qt.color(b))
            return (Math.max(la, lb) + 0.05) / (Math.min(la, lb) + 0.05)
        }

        // The drawn edge: for a box or ring the column of its left side (at
        // half height) that stands out most, for the slider its handle.
        function edge(image, control, backdrop) {
            if (control.handle) {
                const h = control.handle.mapToItem(backdrop, control.handle.width / 2, control.handle.height / 2)
                return image.pixel(Math.floor(h.x), Math.floor(h.y))
            }
            const p = control.indicator.mapToItem(backdrop, 0, control.indicator.height / 2)
            let best = image.pixel(Math.floor(p.x), Math.floor(p.y))
            for (let dx = 1; dx <= 2; ++dx) {
                const c = image.pixel(Math.floor(p.x) + dx, Math.floor(p.y))
                if (contrast(c, backdrop.color) > contrast(best, backdrop.color))
                    best = c
            }
            return best
        }

        function test_controlEdges_data() {
            const rows = []
            for (const theme of ["light", "dark"]) {
                for (const fill of ["panel", "subtleFill"]) {
                    for (const kind of ["check box", "radio button", "slider"])
                        rows.push({ tag: kind + " on " + fill + ", " + theme, theme: theme, fill: fill, kind: kind })
                }
            }
            return rows
        }

        // Unchecked, enabled: at least 3:1 against the panel it sits on, by
        // the tokens and as drawn; disabled: visibly another colour.
        function test_controlEdges(data) {
            appSettings.theme = data.theme
            compare(Style.dark, data.theme === "dark")
            const backdrop = createTemporaryObject(backdropComponent, root, { color: Style[data.fill] })
            const component = { "check box": checkComponent, "radio button": radioComponent,
                                "slider": sliderComponent }[data.kind]
            const control = createTemporaryObject(component, backdrop, { x: 20, y: 20 })
            const token = data.kind === "slider" ? Style.accent : Style.controlEdge
            verify(contrast(token, Style[data.fill]) >= 3, "token " + token)
            waitForRendering(backdrop)
            const enabledEdge = edge(grabImage(backdrop), control, backdrop)
            const ratio = contrast(enabledEdge, backdrop.color)
            verify(ratio >= 3, "edge " + enabledEdge + " on " + backdrop.color + ": " + ratio.toFixed(2))
            control.enabled = false
            waitForRendering(backdrop)
            const disabledEdge = edge(grabImage(backdrop), control, backdrop)
            verify(contrast(disabledEdge, enabledEdge) > 1.5, "disabled " + disabledEdge + ", enabled " + enabledEdge)
        }

        // The focus ring stands out 3:1 from everything a control sits on,
        // in both themes, and is drawn in its token.
        function test_focusRing_data() {
            return [{ tag: "light", theme: "light" }, { tag: "dark", theme: "dark" }]
        }

        function test_focusRing(data) {
            appSettings.theme = data.theme
            for (const fill of ["panel", "bg", "subtleFill", "surface2", "selected"])
                verify(contrast(Style.focusRing, Style[fill]) >= 3,
                       fill + " " + Style[fill] + ": " + contrast(Style.focusRing, Style[fill]).toFixed(2))
            const backdrop = createTemporaryObject(backdropComponent, root, { color: Style.panel })
            const control = createTemporaryObject(checkComponent, backdrop, { x: 20, y: 20, text: "Box" })
            control.forceActiveFocus(Qt.TabFocusReason)
            const ring = findChild(control, "focusRing")
            verify(ring && ring.visible)
            compare(ring.border.color, Style.focusRing)
            control.focus = false
            verify(!ring.visible)
        }

        function cleanup() {
            appSettings.theme = ""
        }

        function entries(n) {
            const list = []
            for (let i = 0; i < n; ++i)
                list.push("Entry " + i)
            return list
        }

        function test_menuHeight_data() {
            return [
                { tag: "empty", count: 0, height: 8, scrolls: false },
                { tag: "nine rows open without scrolling", count: 9, height: 9 * 32 + 8 * 2 + 8, scrolls: false },
                { tag: "eleven show ten and scroll", count: 11, height: 10 * 32 + 9 * 2 + 8, scrolls: true }
            ]
        }

        function test_menuHeight(data) {
            const combo = createTemporaryObject(comboComponent, root, { model: entries(data.count) })
            compare(combo.menuHeight, data.height)
            combo.popup.open()
            tryCompare(combo, "open", true)
            compare(combo.popup.height, data.height)
            compare(combo.popup.y, combo.height + 4)
            if (data.count > 0) {
                const list = combo.popup.contentItem
                waitForRendering(list)
                compare(list.contentHeight > list.height + 1, data.scrolls)
            }
            combo.popup.close()
        }

        // In a 600-high window: below when there is room, above when the
        // room below is too small and there is more above.
        function test_placement_data() {
            return [
                { tag: "top", y: 20, count: 5, above: false },
                { tag: "bottom, like the speed box", y: 540, count: 5, above: true },
                { tag: "lower half, long list", y: 400, count: 11, above: true },
                { tag: "middle, short list", y: 300, count: 3, above: false }
            ]
        }

        function test_placement(data) {
            const combo = createTemporaryObject(comboComponent, root, { model: entries(data.count), y: data.y })
            combo.popup.open()
            tryCompare(combo, "open", true)
            compare(combo.popup.y, data.above ? -combo.menuHeight - 4 : combo.height + 4)
            combo.popup.close()
        }
    }
}
