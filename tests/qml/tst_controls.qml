import QtQuick
import QtTest
import NivraPlayer

// The flat drop-down's menu size and its placement above or below.
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
