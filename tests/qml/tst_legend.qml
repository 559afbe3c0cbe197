import QtQuick
import QtQuick.Controls
import QtTest
import NivraPlayer

Item {
    id: root
    width: 600
    height: 200

    TestCase {
        id: testCase
        name: "Legend"
        when: windowShown

        readonly property var timelineItems: [
            { text: "Recording", color: Style.recording, shape: "box", border: false },
            { text: "Event", color: Style.event, shape: "box", border: false },
            { text: "No recording", color: Style.track, shape: "box", border: true },
            { text: "File missing", color: Style.missing, shape: "hatch", border: false }
        ]

        Component {
            id: legendComponent
            Legend {}
        }

        // A label as the legend draws its texts, for their natural widths.
        Component {
            id: labelComponent
            Label {
                font.pixelSize: 12
            }
        }

        function createLegend(items, compact) {
            const legend = createTemporaryObject(legendComponent, root, { items: items, compact: compact })
            verify(legend)
            waitForRendering(legend)
            return legend
        }

        // The legend's entries in their order.
        function entries(legend) {
            const found = []
            const walk = item => {
                for (let i = 0; i < item.children.length; ++i) {
                    const child = item.children[i]
                    if (child.objectName === "legendItem")
                        found.push(child)
                    else
                        walk(child)
                }
            }
            walk(legend)
            return found.sort((a, b) => a.y - b.y || a.x - b.x)
        }

        function naturalWidth(text) {
            const label = createTemporaryObject(labelComponent, root, { text: text })
            return label.implicitWidth
        }

        function test_widths_data() {
            return [
                { tag: "four", items: timelineItems, compactWidth: 72 },
                { tag: "one", items: timelineItems.slice(0, 1), compactWidth: 12 },
                { tag: "none", items: [], compactWidth: 0 }
            ]
        }

        function test_widths(data) {
            let sum = 0
            for (let i = 0; i < data.items.length; ++i)
                sum += 12 + 5 + naturalWidth(data.items[i].text) + (i > 0 ? 12 : 0)
            const legend = createLegend(data.items, false)
            compare(legend.lineWidth, Math.ceil(sum))
            compare(legend.compactWidth, data.compactWidth)
            compare(legend.implicitWidth, legend.lineWidth)

            // Neither width depends on the width the legend is given.
            legend.width = 40
            legend.compact = true
            compare(legend.lineWidth, Math.ceil(sum))
            compare(legend.compactWidth, data.compactWidth)
            compare(legend.implicitWidth, data.compactWidth)
        }

        function test_layout_data() {
            return [
                { tag: "full", compact: false, gap: 12, labels: true },
                { tag: "compact", compact: true, gap: 8, labels: false }
            ]
        }

        function test_layout(data) {
            // Left to itself the legend is as wide as its implicit width.
            const legend = createLegend(timelineItems, data.compact)
            compare(legend.width, data.compact ? legend.compactWidth : legend.lineWidth)
            const rows = entries(legend)
            compare(rows.length, 4)
            for (let i = 0; i < rows.length; ++i) {
                compare(rows[i].y, 0, "entry " + i + " on the first line")
                compare(findChild(rows[i], "label").visible, data.labels)
                if (i > 0)
                    compare(rows[i].x, rows[i - 1].x + rows[i - 1].width + data.gap)
            }
            compare(legend.implicitHeight, rows[0].height)
        }

        function test_wrapsWhenNarrow() {
            const legend = createLegend(timelineItems, false)
            legend.width = legend.lineWidth - 1
            waitForRendering(legend)
            const rows = entries(legend)
            compare(rows[3].x, 0)
            verify(rows[3].y > 0)
            verify(legend.implicitHeight > rows[0].height)
        }

        function test_swatches_data() {
            return [
                { tag: "box", index: 0, width: 12, height: 10, radius: 2, border: 0, strokes: 0 },
                { tag: "bordered box", index: 2, width: 12, height: 10, radius: 2, border: 1, strokes: 0 },
                { tag: "hatch", index: 3, width: 12, height: 10, radius: 2, border: 0, strokes: 4 },
                { tag: "dot", index: -1, width: 6, height: 6, radius: 3, border: 0, strokes: 0 }
            ]
        }

        function test_swatches(data) {
            const items = timelineItems.slice()
            items.push({ text: "Events", color: Style.event, shape: "dot", border: false })
            const legend = createLegend(items, false)
            const entry = entries(legend)[data.index < 0 ? items.length - 1 : data.index]
            const shape = findChild(entry, "swatchShape")
            compare(shape.width, data.width)
            compare(shape.height, data.height)
            compare(shape.radius, data.radius)
            compare(shape.border.width, data.border)
            verify(Qt.colorEqual(shape.color, items[data.index < 0 ? items.length - 1 : data.index].color))
            let strokes = 0
            for (let i = 0; i < shape.children.length; ++i)
                strokes += shape.children[i].height === 18 && shape.children[i].rotation === 45 ? 1 : 0
            compare(strokes, data.strokes)
        }

        function test_compactTooltip() {
            const legend = createLegend(timelineItems, true)
            const swatch = findChild(entries(legend)[2], "swatch")
            mouseMove(swatch, 6, 6)
            tryCompare(swatch.ToolTip.toolTip, "visible", true)
            compare(swatch.ToolTip.toolTip.text, "No recording")
            mouseMove(root, 590, 190)
            tryCompare(swatch.ToolTip.toolTip, "visible", false)
            // Full entries show their texts and offer no tooltip.
            legend.compact = false
            compare(swatch.ToolTip.visible, false)
        }
    }
}
