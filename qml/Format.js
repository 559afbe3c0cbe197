.pragma library

// Texts shared by the window and the export editor.

// "12.3 MB", "850 MB" or "1.2 GB".
function sizeText(bytes) {
    if (bytes >= 1e9)
        return qsTr("%1 GB").arg((bytes / 1073741824).toFixed(1))
    const mb = Math.max(0.1, bytes / 1048576)
    return qsTr("%1 MB").arg(bytes < 10485760 ? mb.toFixed(1) : mb.toFixed(0))
}
