.pragma library

// Texts shared by the window and the export editor.

// "1h5m", "1h", "2 min 3 s", "2 min" or "4 s" for a duration in milliseconds.
function durationText(ms) {
    let s = Math.max(0, Math.round(ms / 1000))
    const h = Math.floor(s / 3600)
    const m = Math.floor((s % 3600) / 60)
    s = s % 60
    if (h > 0)
        return m === 0 ? qsTr("%1h").arg(h) : qsTr("%1h%2m").arg(h).arg(m)
    if (m > 0)
        return s === 0 ? qsTr("%1 min").arg(m) : qsTr("%1 min %2 s").arg(m).arg(s)
    return qsTr("%1 s").arg(s)
}

// "12.3 MB", "850 MB" or "1.2 GB".
function sizeText(bytes) {
    if (bytes >= 1e9)
        return qsTr("%1 GB").arg((bytes / 1073741824).toFixed(1))
    const mb = Math.max(0.1, bytes / 1048576)
    return qsTr("%1 MB").arg(bytes < 10485760 ? mb.toFixed(1) : mb.toFixed(0))
}
