import QtQuick.Controls

Popup {
    property var job
    function openLicenses() {}
}
