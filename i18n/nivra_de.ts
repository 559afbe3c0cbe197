<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AppSettings</name>
    <message>
        <source>Could not ask the graphics card (%1)</source>
        <translation>Die Grafikkarte konnte nicht abgefragt werden (%1)</translation>
    </message>
    <message>
        <source>%1 decodes neither H.265 nor H.264</source>
        <translation>%1 dekodiert weder H.265 noch H.264</translation>
    </message>
    <message>
        <source>%1 decodes %2</source>
        <translation>%1 dekodiert %2</translation>
    </message>
</context>
<context>
    <name>AppStatusBar</name>
    <message>
        <source>reading %1 @ 0x%2</source>
        <translation>Lesen %1 @ 0x%2</translation>
    </message>
    <message>
        <source>decoding %1</source>
        <translation>Dekodierung %1</translation>
    </message>
    <message>
        <source>audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>kein Audio</translation>
    </message>
    <message>
        <source>buffer %1 s</source>
        <translation>Puffer %1 s</translation>
    </message>
    <message>
        <source>Read-only · Recordings stay on this computer</source>
        <translation>Nur lesen · Aufnahmen bleiben auf diesem Computer</translation>
    </message>
    <message>
        <source>Waiting for a recording</source>
        <translation>Warten auf eine Aufnahme</translation>
    </message>
    <message>
        <source>Recording files missing</source>
        <translation>Aufnahmedateien fehlen</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Keine Aufnahmen an diesem Tag</translation>
    </message>
    <message numerus="yes">
        <source>%n events today · Click an event to seek</source>
        <translation>
            <numerusform>%n Ereignis an diesem Tag · Zum Springen anklicken</numerusform>
            <numerusform>%n Ereignisse an diesem Tag · Zum Springen anklicken</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events today</source>
        <translation>
            <numerusform>%n Ereignis an diesem Tag</numerusform>
            <numerusform>%n Ereignisse an diesem Tag</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AppToolBar</name>
    <message>
        <source>formatted %1</source>
        <translation>formatiert am %1</translation>
    </message>
    <message>
        <source>recordings %1 ~ %2</source>
        <translation>Aufnahmen %1 – %2</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>kein Audio</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>SD-Karte / Ordner öffnen</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Time: recording location</source>
        <translation>Zeit: Aufnahmeort</translation>
    </message>
    <message>
        <source>Time: this computer</source>
        <translation>Zeit: dieser Computer</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message numerus="yes">
        <source>%n segments × %1 MB</source>
        <translation>
            <numerusform>%n Segment × %1 MB</numerusform>
            <numerusform>%n Segmente × %1 MB</numerusform>
        </translation>
    </message>
    <message>
        <source>not found</source>
        <translation>nicht gefunden</translation>
    </message>
    <message>
        <source>Recently opened</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>No cards opened yet</source>
        <translation>Noch keine Karte geöffnet</translation>
    </message>
    <message>
        <source>open now</source>
        <translation>jetzt geöffnet</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>Liste leeren</translation>
    </message>
</context>
<context>
    <name>AreaChanges</name>
    <message>
        <source>Lighting change</source>
        <translation>Lichtwechsel</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Veränderung</translation>
    </message>
    <message>
        <source>Duration %1</source>
        <translation>Dauer %1</translation>
    </message>
    <message>
        <source>%1 % of the area · %2</source>
        <translation>%1 % des Bereichs · %2</translation>
    </message>
    <message>
        <source>Changes in the area (%1)</source>
        <translation>Veränderungen im Bereich (%1)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>Empfindlichkeit</translation>
    </message>
    <message>
        <source>Lighting</source>
        <translation>Licht</translation>
    </message>
    <message>
        <source>Nothing changed in this area. Raise the sensitivity to see smaller changes</source>
        <translation>In diesem Bereich hat sich nichts verändert. Erhöhen Sie die Empfindlichkeit, um kleinere Veränderungen zu sehen</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>Analyse… %1 %</translation>
    </message>
</context>
<context>
    <name>BookmarkPopup</name>
    <message>
        <source>Bookmark at %1</source>
        <translation>Lesezeichen um %1</translation>
    </message>
    <message>
        <source>Note of the bookmark at %1</source>
        <translation>Notiz des Lesezeichens um %1</translation>
    </message>
    <message>
        <source>Note (optional)</source>
        <translation>Notiz (optional)</translation>
    </message>
    <message>
        <source>Add bookmark</source>
        <translation>Lesezeichen setzen</translation>
    </message>
    <message>
        <source>Keep note</source>
        <translation>Notiz übernehmen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>CalendarPanel</name>
    <message>
        <source>MMMM yyyy</source>
        <translation>MMMM yyyy</translation>
    </message>
    <message>
        <source>Recordings</source>
        <translation>Aufnahmen</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Ereignisse</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Ausgewählt</translation>
    </message>
</context>
<context>
    <name>CardPicker</name>
    <message numerus="yes">
        <source>This folder holds %n card(s). Which one do you want to open?</source>
        <translation>
            <numerusform>Dieser Ordner enthält %n Karte. Welche möchten Sie öffnen?</numerusform>
            <numerusform>Dieser Ordner enthält %n Karten. Welche möchten Sie öffnen?</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>DecodeWorker</name>
    <message>
        <source>Cannot read the recordings.</source>
        <translation>Die Aufnahmen können nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>Decoder</name>
    <message>
        <source>This video could not be decoded.</source>
        <translation>Dieses Video konnte nicht dekodiert werden.</translation>
    </message>
    <message>
        <source>Your graphics card cannot decode this video.</source>
        <translation>Ihre Grafikkarte kann dieses Video nicht dekodieren.</translation>
    </message>
    <message>
        <source>This video format is not supported.</source>
        <translation>Dieses Videoformat wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>Windows could not decode this video (%1).</source>
        <translation>Windows konnte dieses Video nicht dekodieren (%1).</translation>
    </message>
    <message>
        <source>Windows needs Microsoft&apos;s HEVC Video Extensions to decode H.265 without the graphics card. Install them from the Microsoft Store, then try again.</source>
        <translation>Um H.265 ohne Grafikkarte zu dekodieren, benötigt Windows die HEVC-Videoerweiterungen von Microsoft. Installieren Sie sie aus dem Microsoft Store und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Windows has no decoder for this video format.</source>
        <translation>Windows hat keinen Decoder für dieses Videoformat.</translation>
    </message>
</context>
<context>
    <name>EventList</name>
    <message>
        <source>Open an SD card or recording folder to see events</source>
        <translation>Öffnen Sie eine SD-Karte oder einen Aufnahmeordner, um Ereignisse zu sehen</translation>
    </message>
    <message>
        <source>The recording index exists, but the video files are not in this folder</source>
        <translation>Der Aufnahmeindex ist vorhanden, aber die Videodateien liegen nicht in diesem Ordner</translation>
    </message>
    <message>
        <source>Select a date with recordings</source>
        <translation>Wählen Sie einen Tag mit Aufnahmen</translation>
    </message>
    <message>
        <source>No events on this day. Use the timeline to browse recordings</source>
        <translation>Keine Ereignisse an diesem Tag. Durchsuchen Sie die Aufnahmen über die Zeitleiste</translation>
    </message>
    <message>
        <source>No events match this filter</source>
        <translation>Keine Ereignisse entsprechen diesem Filter</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Bewegung</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Geräusch</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Weinen</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Person</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>Duration %1 s</source>
        <translation>Dauer %1 s</translation>
    </message>
    <message>
        <source>Duration %1 min %2 s</source>
        <translation>Dauer %1 min %2 s</translation>
    </message>
    <message>
        <source>recording file missing</source>
        <translation>Aufnahmedatei fehlt</translation>
    </message>
    <message>
        <source>Clear filter</source>
        <translation>Filter löschen</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>Lesezeichen</translation>
    </message>
    <message>
        <source>Edit note…</source>
        <translation>Notiz bearbeiten…</translation>
    </message>
    <message>
        <source>Delete bookmark</source>
        <translation>Lesezeichen löschen</translation>
    </message>
    <message>
        <source>No note</source>
        <translation>Keine Notiz</translation>
    </message>
</context>
<context>
    <name>EventsOnly</name>
    <message>
        <source>No more events</source>
        <translation>Keine weiteren Ereignisse</translation>
    </message>
    <message>
        <source>Next event %1</source>
        <translation>Nächstes Ereignis %1</translation>
    </message>
</context>
<context>
    <name>ExportPanel</name>
    <message>
        <source>Choose where to save the exported files.</source>
        <translation>Wählen Sie, wo die exportierten Dateien gespeichert werden.</translation>
    </message>
    <message>
        <source>Not enough free space: %1 left on this drive</source>
        <translation>Nicht genug Speicherplatz: noch %1 auf diesem Laufwerk</translation>
    </message>
    <message>
        <source>Recorded %1</source>
        <translation>Aufnahme %1</translation>
    </message>
    <message>
        <source>Skip gaps %1</source>
        <translation>Lücken %1</translation>
    </message>
    <message>
        <source>Missing files %1</source>
        <translation>Fehlende Dateien %1</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>ca. %1</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>kein Audio</translation>
    </message>
    <message>
        <source>Enter a valid time, for example 14:30:00.</source>
        <translation>Geben Sie eine gültige Uhrzeit ein, zum Beispiel 14:30:00.</translation>
    </message>
    <message>
        <source>End time must be later than start time.</source>
        <translation>Die Endzeit muss nach der Startzeit liegen.</translation>
    </message>
    <message>
        <source>There is no recording in this range. Adjust the selection.</source>
        <translation>In diesem Bereich gibt es keine Aufnahme. Passen Sie die Auswahl an.</translation>
    </message>
    <message>
        <source>Export cancelled</source>
        <translation>Export abgebrochen</translation>
    </message>
    <message>
        <source>Nothing to export in this range</source>
        <translation>In diesem Bereich gibt es nichts zu exportieren</translation>
    </message>
    <message>
        <source>Save the exported files to</source>
        <translation>Exportierte Dateien speichern in</translation>
    </message>
    <message>
        <source>Export video</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Fewer options</source>
        <translation>Weniger Optionen</translation>
    </message>
    <message>
        <source>More options</source>
        <translation>Mehr Optionen</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Startzeit</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Endzeit</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>MOV · Recommended</source>
        <translation>MOV · Empfohlen</translation>
    </message>
    <message>
        <source>Supports AAC, G.711 and silent recordings</source>
        <translation>Für AAC, G.711 und Aufnahmen ohne Ton</translation>
    </message>
    <message>
        <source>MP4</source>
        <translation>MP4</translation>
    </message>
    <message>
        <source>MP4 is unavailable for this G.711 audio recording</source>
        <translation>MP4 ist für diese Aufnahme mit G.711-Ton nicht verfügbar</translation>
    </message>
    <message>
        <source>For AAC audio or silent recordings</source>
        <translation>Für AAC-Ton oder Aufnahmen ohne Ton</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>Aufnahmelücken</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>Einzeldateien</translation>
    </message>
    <message>
        <source>Save each recorded interval as a separate file</source>
        <translation>Jeden Aufnahmeabschnitt als eigene Datei speichern</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>Zusammenführen</translation>
    </message>
    <message>
        <source>Skip gaps and merge recordings in chronological order</source>
        <translation>Lücken überspringen und Aufnahmen chronologisch zusammenführen</translation>
    </message>
    <message>
        <source>Export the selected recording range</source>
        <translation>Den gewählten Aufnahmebereich exportieren</translation>
    </message>
    <message>
        <source>MOV is required to preserve the G.711 audio in this recording.</source>
        <translation>Nur MOV behält den G.711-Ton dieser Aufnahme.</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>noch etwa %1</translation>
    </message>
    <message>
        <source>Cancel export</source>
        <translation>Export abbrechen</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Im Ordner zeigen</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Speichern in</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Leave the audio out</source>
        <translation>Ohne Ton exportieren</translation>
    </message>
    <message>
        <source>Copied as recorded (%1), not converted</source>
        <translation>Unverändert kopiert (%1)</translation>
    </message>
    <message>
        <source>Starts at the key frame %1</source>
        <translation>Beginnt am Schlüsselbild %1</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Dateinamen</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) exported</source>
        <translation>
            <numerusform>%n Datei exportiert</numerusform>
            <numerusform>%n Dateien exportiert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Export cancelled. The %n finished file(s) were kept.</source>
        <translation>
            <numerusform>Export abgebrochen. %n fertige Datei wurde behalten.</numerusform>
            <numerusform>Export abgebrochen. %n fertige Dateien wurden behalten.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>… and %n more</source>
        <translation>
            <numerusform>… und %n weitere</numerusform>
            <numerusform>… und %n weitere</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n event(s)</source>
        <translation>
            <numerusform>%n Ereignis</numerusform>
            <numerusform>%n Ereignisse</numerusform>
        </translation>
    </message>
    <message>
        <source>No events of the chosen types on this day.</source>
        <translation>Keine Ereignisse der gewählten Arten an diesem Tag.</translation>
    </message>
    <message>
        <source>Events of this day</source>
        <translation>Ereignisse dieses Tages</translation>
    </message>
    <message>
        <source>Each event of the types the event list shows, as a file of its own</source>
        <translation>Jedes Ereignis der Arten, die die Ereignisliste zeigt, als eigene Datei</translation>
    </message>
    <message>
        <source>Before and after each event</source>
        <translation>Vor und nach jedem Ereignis</translation>
    </message>
    <message>
        <source>No padding</source>
        <translation>Keine Zugabe</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Just the events</source>
        <translation>Nur die Ereignisse</translation>
    </message>
    <message>
        <source>%1 s before and after</source>
        <translation>%1 s davor und danach</translation>
    </message>
    <message>
        <source>Export each event as a file of its own</source>
        <translation>Jedes Ereignis als eigene Datei exportieren</translation>
    </message>
    <message>
        <source>In this time mode the range crosses midnight: the part on this day stays selected.</source>
        <translation>In dieser Zeitanzeige reicht der Bereich über Mitternacht: Der Teil an diesem Tag bleibt ausgewählt.</translation>
    </message>
    <message>
        <source>In this time mode the range lies on another day: select it again.</source>
        <translation>In dieser Zeitanzeige liegt der Bereich an einem anderen Tag: Wählen Sie ihn erneut.</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>Export schließen</translation>
    </message>
    <message>
        <source>Camera time as subtitles</source>
        <translation>Kamerazeit als Untertitel</translation>
    </message>
    <message>
        <source>Evidence package (report and SHA-256 hashes)</source>
        <translation>Beweispaket (Bericht und SHA-256-Prüfsummen)</translation>
    </message>
    <message>
        <source>Burn in the time</source>
        <translation>Zeit einblenden</translation>
    </message>
    <message>
        <source>Smaller copy for sharing</source>
        <translation>Kleinere Kopie zum Teilen</translation>
    </message>
    <message>
        <source>under %1 MB</source>
        <translation>unter %1 MB</translation>
    </message>
    <message>
        <source>Re-coded as H.264 at 720p with AAC sound, in one MP4 under %1 MB</source>
        <translation>Neu kodiert als H.264 in 720p mit AAC-Ton, in einer MP4-Datei unter %1 MB</translation>
    </message>
    <message>
        <source>the time drawn in</source>
        <translation>mit eingeblendeter Zeit</translation>
    </message>
    <message>
        <source>Re-coded as H.264 with the time drawn in; this takes longer than a copy</source>
        <translation>Neu kodiert als H.264 mit eingeblendeter Zeit; das dauert länger als eine Kopie</translation>
    </message>
</context>
<context>
    <name>Format</name>
    <message>
        <source>%1h</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1h%2m</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
</context>
<context>
    <name>KeyMap</name>
    <message>
        <source>Space</source>
        <translation>Leertaste</translation>
    </message>
    <message>
        <source>Play or pause (K: pause at 1×)</source>
        <translation>Wiedergabe oder Pause (K: Pause bei 1×)</translation>
    </message>
    <message>
        <source>Play; again: twice as fast, up to 16×</source>
        <translation>Wiedergabe; erneut: doppelt so schnell, bis 16×</translation>
    </message>
    <message>
        <source>Rewind; again: twice as fast, up to 16×</source>
        <translation>Rücklauf; erneut: doppelt so schnell, bis 16×</translation>
    </message>
    <message>
        <source>Slower, faster</source>
        <translation>Langsamer, schneller</translation>
    </message>
    <message>
        <source>Back, forward 5 s</source>
        <translation>5 s zurück, vor</translation>
    </message>
    <message>
        <source>Back, forward one picture</source>
        <translation>Ein Bild zurück, vor</translation>
    </message>
    <message>
        <source>Page Up</source>
        <translation>Bild auf</translation>
    </message>
    <message>
        <source>Page Down</source>
        <translation>Bild ab</translation>
    </message>
    <message>
        <source>Previous, next event</source>
        <translation>Vorheriges, nächstes Ereignis</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Pos1</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>First, last recording of the day</source>
        <translation>Erste, letzte Aufnahme des Tages</translation>
    </message>
    <message>
        <source>Events only on or off</source>
        <translation>Nur Ereignisse ein oder aus</translation>
    </message>
    <message>
        <source>Export from, to the shown picture</source>
        <translation>Export ab, bis zum gezeigten Bild</translation>
    </message>
    <message>
        <source>Save a screenshot</source>
        <translation>Bildschirmfoto speichern</translation>
    </message>
    <message>
        <source>Mute or unmute</source>
        <translation>Ton aus oder an</translation>
    </message>
    <message>
        <source>Full screen (Esc leaves it)</source>
        <translation>Vollbild (Esc beendet es)</translation>
    </message>
    <message>
        <source>Zoom the timeline in, out</source>
        <translation>Zeitleiste vergrößern, verkleinern</translation>
    </message>
    <message>
        <source>Whole picture (after zooming it)</source>
        <translation>Ganzes Bild (nach dem Zoomen)</translation>
    </message>
    <message>
        <source>Close the export editor, a menu or a dialog</source>
        <translation>Export-Editor, Menü oder Dialog schließen</translation>
    </message>
    <message>
        <source>Next control (Shift+Tab: previous)</source>
        <translation>Nächstes Bedienelement (Umschalt+Tab: vorheriges)</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Strg+O</translation>
    </message>
    <message>
        <source>Open an SD card or folder</source>
        <translation>SD-Karte oder Ordner öffnen</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Strg+,</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Strg+Q</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>This list</source>
        <translation>Diese Liste</translation>
    </message>
    <message>
        <source>No more events</source>
        <translation>Keine weiteren Ereignisse</translation>
    </message>
    <message>
        <source>This is the first event</source>
        <translation>Dies ist das erste Ereignis</translation>
    </message>
    <message>
        <source>End the search in an area</source>
        <translation>Die Suche in einem Bereich beenden</translation>
    </message>
    <message>
        <source>Bookmark the shown picture</source>
        <translation>Lesezeichen beim gezeigten Bild setzen</translation>
    </message>
</context>
<context>
    <name>LicensesDialog</name>
    <message>
        <source>Open-source licenses</source>
        <translation>Open-Source-Lizenzen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (interne Testversion)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Skipped empty %1 → %2</source>
        <translation>Lücke übersprungen %1 → %2</translation>
    </message>
    <message>
        <source>End of recording at %1</source>
        <translation>Ende der Aufnahme um %1</translation>
    </message>
    <message>
        <source>No more recordings</source>
        <translation>Keine weiteren Aufnahmen</translation>
    </message>
    <message>
        <source>The recording files for this day are not in this folder</source>
        <translation>Die Aufnahmedateien dieses Tages liegen nicht in diesem Ordner</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Keine Aufnahmen an diesem Tag</translation>
    </message>
    <message>
        <source>This is the first recording</source>
        <translation>Dies ist die erste Aufnahme</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <source>Choose the SD card or the recording folder</source>
        <translation>SD-Karte oder Aufnahmeordner wählen</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>Lesen der Aufnahmen fehlgeschlagen. Ist die Karte noch verbunden?</translation>
    </message>
    <message>
        <source>Sound output is not available</source>
        <translation>Tonausgabe nicht verfügbar</translation>
    </message>
    <message>
        <source>No recordings found in %1</source>
        <translation>Keine Aufnahmen in %1 gefunden</translation>
    </message>
</context>
<context>
    <name>QuitConfirm</name>
    <message>
        <source>An export is running</source>
        <translation>Ein Export läuft</translation>
    </message>
    <message>
        <source>Quitting cancels the export. Files already finished are kept.</source>
        <translation>Beim Beenden wird der Export abgebrochen. Bereits fertige Dateien bleiben erhalten.</translation>
    </message>
    <message>
        <source>Cancel export and quit</source>
        <translation>Export abbrechen und beenden</translation>
    </message>
    <message>
        <source>Keep exporting</source>
        <translation>Weiter exportieren</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Save the exported files to</source>
        <translation>Exportierte Dateien speichern in</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>Sprache der Oberfläche</translation>
    </message>
    <message>
        <source>Follow the system (%1)</source>
        <translation>Wie im System (%1)</translation>
    </message>
    <message>
        <source>At first start the system language is used; English when it is not available.</source>
        <translation>Beim ersten Start wird die Systemsprache verwendet, sonst Englisch.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Darstellung</translation>
    </message>
    <message>
        <source>Follow the system</source>
        <translation>Wie im System</translation>
    </message>
    <message>
        <source>Cloud White</source>
        <translation>Wolkenweiß</translation>
    </message>
    <message>
        <source>Nightfall</source>
        <translation>Abenddämmerung</translation>
    </message>
    <message>
        <source>Time display</source>
        <translation>Zeitanzeige</translation>
    </message>
    <message>
        <source>Recording location (recommended)</source>
        <translation>Aufnahmeort (empfohlen)</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Dieser Computer</translation>
    </message>
    <message>
        <source>Date and time format</source>
        <translation>Datums- und Zeitformat</translation>
    </message>
    <message>
        <source>Follows the system region: %1 · weeks start on %2</source>
        <translation>Wie in der Systemregion: %1 · Wochen beginnen am %2</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>Nächste Aufnahme abspielen</translation>
    </message>
    <message>
        <source>Snap to keyframes (hold Alt to skip)</source>
        <translation>An Schlüsselbildern einrasten (Alt zum Überspringen)</translation>
    </message>
    <message>
        <source>Video decoding</source>
        <translation>Videodekodierung</translation>
    </message>
    <message>
        <source>Graphics card only (recommended)</source>
        <translation>Nur Grafikkarte (empfohlen)</translation>
    </message>
    <message>
        <source>Graphics card, software if it cannot</source>
        <translation>Grafikkarte, sonst Software</translation>
    </message>
    <message>
        <source>Software only</source>
        <translation>Nur Software</translation>
    </message>
    <message>
        <source>%1. Takes effect from the next seek; software decoding uses much more processor time.</source>
        <translation>%1. Gilt ab dem nächsten Sprung; Softwaredekodierung braucht viel mehr Rechenzeit.</translation>
    </message>
    <message>
        <source>Software decoding uses the decoders built into Windows; for H.265 they need Microsoft&apos;s HEVC Video Extensions.</source>
        <translation>Softwaredekodierung nutzt die Decoder von Windows; für H.265 sind die HEVC-Videoerweiterungen von Microsoft nötig.</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>Aufnahmelücken</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>Einzeldateien</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>Zusammenführen</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Updates</translation>
    </message>
    <message>
        <source>Check for updates at start-up</source>
        <translation>Beim Start nach Updates suchen</translation>
    </message>
    <message>
        <source>Current version %1 (%2)</source>
        <translation>Aktuelle Version %1 (%2)</translation>
    </message>
    <message>
        <source>Check now</source>
        <translation>Jetzt prüfen</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>Datenschutz</translation>
    </message>
    <message>
        <source>Recordings are only read on this computer and never uploaded. The network is used only to check for updates.</source>
        <translation>Aufnahmen werden nur auf diesem Computer gelesen und nie hochgeladen. Das Netzwerk dient nur der Suche nach Updates.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (interne Testversion)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Open-source licenses...</source>
        <translation>Open-Source-Lizenzen...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Automatic (recommended)</source>
        <translation>Automatisch (empfohlen)</translation>
    </message>
    <message>
        <source>Graphics card only</source>
        <translation>Nur Grafikkarte</translation>
    </message>
    <message>
        <source>Analyse recordings in the background</source>
        <translation>Aufnahmen im Hintergrund analysieren</translation>
    </message>
</context>
<context>
    <name>ShortcutSheet</name>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>SidePanel</name>
    <message>
        <source>Events (%1)</source>
        <translation>Ereignisse (%1)</translation>
    </message>
    <message>
        <source>All types</source>
        <translation>Alle Arten</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Bewegung</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Geräusch</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Weinen</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Person</translation>
    </message>
    <message>
        <source>%1 · Events today · Click to seek</source>
        <translation>%1 · Ereignisse · Zum Springen klicken</translation>
    </message>
    <message>
        <source>%1 · Events today</source>
        <translation>%1 · Ereignisse</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Lesezeichen</translation>
    </message>
</context>
<context>
    <name>SkipStill</name>
    <message>
        <source>Skipped %1 of still video</source>
        <translation>%1 unbewegtes Video übersprungen</translation>
    </message>
</context>
<context>
    <name>TimeField</name>
    <message>
        <source>HH:MM:SS</source>
        <translation>HH:MM:SS</translation>
    </message>
</context>
<context>
    <name>TimelineItem</name>
    <message>
        <source>Landed %1 (keyframe, snapped %2 %3 s)</source>
        <translation>Sprung zu %1 (Schlüsselbild, %2 %3 s eingerastet)</translation>
    </message>
    <message>
        <source>Landed %1</source>
        <translation>Sprung zu %1</translation>
    </message>
    <message>
        <source>%1  Recording file not found</source>
        <translation>%1  Aufnahmedatei nicht gefunden</translation>
    </message>
</context>
<context>
    <name>TimelinePanel</name>
    <message>
        <source>Recording timeline</source>
        <translation>Aufnahme-Zeitleiste</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Kamerazeit</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Dieser Computer</translation>
    </message>
    <message>
        <source>Current time</source>
        <translation>Aktuelle Zeit</translation>
    </message>
    <message>
        <source>Exporting…</source>
        <translation>Exportiert…</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>Export schließen</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>The recording file for %1 is not in this folder</source>
        <translation>Die Aufnahmedatei für %1 liegt nicht in diesem Ordner</translation>
    </message>
    <message>
        <source>No recordings after this time</source>
        <translation>Nach dieser Zeit keine Aufnahmen</translation>
    </message>
    <message>
        <source>Snap to keyframes</source>
        <translation>An Schlüsselbildern einrasten</translation>
    </message>
    <message>
        <source>Hold Alt while dragging to skip snapping</source>
        <translation>Beim Ziehen Alt gedrückt halten, um nicht einzurasten</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>No recording</source>
        <translation>Keine Aufnahme</translation>
    </message>
    <message>
        <source>File missing</source>
        <translation>Datei fehlt</translation>
    </message>
    <message>
        <source>Wheel: zoom · drag: seek · click empty space: next recording</source>
        <translation>Mausrad: Zoom · Ziehen: springen · Klick ins Leere: nächste Aufnahme</translation>
    </message>
    <message>
        <source>Shift+drag: select a range to export</source>
        <translation>Umschalt+Ziehen: Bereich zum Exportieren wählen</translation>
    </message>
    <message>
        <source>. and ,: one frame forward or back</source>
        <translation>. und ,: ein Bild vor oder zurück</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>Analyse… %1 %</translation>
    </message>
</context>
<context>
    <name>TransportBar</name>
    <message>
        <source>Previous recording</source>
        <translation>Vorherige Aufnahme</translation>
    </message>
    <message>
        <source>Pause (Space)</source>
        <translation>Pause (Leertaste)</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>Wiedergabe (Leertaste)</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>Nächste Aufnahme</translation>
    </message>
    <message>
        <source>Pause and show the next frame (.)</source>
        <translation>Anhalten und nächstes Bild zeigen (.)</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>Bildschirmfoto</translation>
    </message>
    <message>
        <source>Screenshot saved: %1</source>
        <translation>Bildschirmfoto gespeichert: %1</translation>
    </message>
    <message>
        <source>Screenshot failed</source>
        <translation>Bildschirmfoto fehlgeschlagen</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>Ton an</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Ton aus</translation>
    </message>
    <message>
        <source>Continuous play</source>
        <translation>Fortlaufend</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>Nächste Aufnahme abspielen</translation>
    </message>
    <message>
        <source>Back one frame (,)</source>
        <translation>Ein Bild zurück (,)</translation>
    </message>
    <message>
        <source>Events only</source>
        <translation>Nur Ereignisse</translation>
    </message>
    <message>
        <source>Play only the events, one after another (E)</source>
        <translation>Nur die Ereignisse nacheinander abspielen (E)</translation>
    </message>
    <message>
        <source>Skip still parts</source>
        <translation>Ruhige Teile überspringen</translation>
    </message>
    <message>
        <source>Jump over the stretches where nothing moves or sounds</source>
        <translation>Abschnitte überspringen, in denen sich nichts bewegt und nichts zu hören ist</translation>
    </message>
    <message>
        <source>Bookmark (B)</source>
        <translation>Lesezeichen (B)</translation>
    </message>
</context>
<context>
    <name>UpdateBanner</name>
    <message>
        <source>NIVRA Player %1 is available.</source>
        <translation>NIVRA Player %1 ist verfügbar.</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>Herunterladen...</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Diese Version überspringen</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>No update address is set in this build.</source>
        <translation>In diesem Build ist keine Update-Adresse hinterlegt.</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Wird geprüft…</translation>
    </message>
    <message>
        <source>Could not check for updates (%1).</source>
        <translation>Die Suche nach Updates ist fehlgeschlagen (%1).</translation>
    </message>
    <message>
        <source>The update information could not be read.</source>
        <translation>Die Update-Informationen konnten nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Version %1 is available.</source>
        <translation>Version %1 ist verfügbar.</translation>
    </message>
    <message>
        <source>You have the latest version.</source>
        <translation>Sie haben die neueste Version.</translation>
    </message>
</context>
<context>
    <name>VideoPanel</name>
    <message>
        <source>Playing</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>Wiedergabe (Leertaste)</translation>
    </message>
    <message>
        <source>Unable to play this video</source>
        <translation>Dieses Video kann nicht abgespielt werden</translation>
    </message>
    <message>
        <source>Could not open the recordings</source>
        <translation>Die Aufnahmen konnten nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Every moment that matters, all in one place</source>
        <translation>Jeder wichtige Moment an einem Ort</translation>
    </message>
    <message>
        <source>Recording files are missing</source>
        <translation>Aufnahmedateien fehlen</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Keine Aufnahmen an diesem Tag</translation>
    </message>
    <message>
        <source>Open an SD card or recording folder to review recordings on this computer.</source>
        <translation>Öffnen Sie eine SD-Karte oder einen Aufnahmeordner, um die Aufnahmen auf diesem Computer anzusehen.</translation>
    </message>
    <message>
        <source>The index contains recordings for this day, but their video files are not in this folder.</source>
        <translation>Der Index enthält Aufnahmen für diesen Tag, aber die Videodateien liegen nicht in diesem Ordner.</translation>
    </message>
    <message>
        <source>Select a date with a recording marker in the calendar.</source>
        <translation>Wählen Sie im Kalender einen Tag mit Aufnahmemarkierung.</translation>
    </message>
    <message>
        <source>%1. Updating the graphics driver may help.</source>
        <translation>%1. Eine Aktualisierung des Grafiktreibers kann helfen.</translation>
    </message>
    <message>
        <source>Without the graphics card, Windows can only decode this H.265 recording with Microsoft&apos;s HEVC Video Extensions from the Microsoft Store.</source>
        <translation>Ohne Grafikkarte kann Windows diese H.265-Aufnahme nur mit den HEVC-Videoerweiterungen von Microsoft aus dem Microsoft Store dekodieren.</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>SD-Karte / Ordner öffnen</translation>
    </message>
    <message>
        <source>View a date with recordings</source>
        <translation>Tag mit Aufnahmen anzeigen</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>Anderen Ordner wählen</translation>
    </message>
    <message>
        <source>Open Microsoft Store</source>
        <translation>Microsoft Store öffnen</translation>
    </message>
    <message>
        <source>Decode in software</source>
        <translation>Per Software dekodieren</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Einstellungen...</translation>
    </message>
    <message>
        <source>Software decoding works on any computer but uses much more processor time.</source>
        <translation>Softwaredekodierung funktioniert auf jedem Computer, braucht aber viel mehr Rechenzeit.</translation>
    </message>
    <message>
        <source>Drag a rectangle over the part of the picture to search (Esc cancels)</source>
        <translation>Ziehen Sie ein Rechteck über den zu durchsuchenden Bildteil (Esc bricht ab)</translation>
    </message>
    <message>
        <source>Find changes in an area</source>
        <translation>Veränderungen in einem Bereich finden</translation>
    </message>
</context>
<context>
    <name>nivra::Bookmarks</name>
    <message>
        <source>The bookmarks of this card could not be read and were set aside.</source>
        <translation>Die Lesezeichen dieser Karte konnten nicht gelesen werden und wurden beiseitegelegt.</translation>
    </message>
    <message numerus="yes">
        <source>%n bookmark(s) of this card could not be read and were left out.</source>
        <translation>
            <numerusform>%n Lesezeichen dieser Karte konnte nicht gelesen werden und wurde ausgelassen.</numerusform>
            <numerusform>%n Lesezeichen dieser Karte konnten nicht gelesen werden und wurden ausgelassen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>nivra::CardSession</name>
    <message>
        <source>No recordings found. Choose the SD card or the recording folder.</source>
        <translation>Keine Aufnahmen gefunden. Wählen Sie die SD-Karte oder den Aufnahmeordner.</translation>
    </message>
    <message>
        <source>The recording index is damaged and cannot be read.</source>
        <translation>Der Aufnahmeindex ist beschädigt und kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The recording format is newer than this program. Please update NIVRA Player.</source>
        <translation>Das Aufnahmeformat ist neuer als dieses Programm. Bitte aktualisieren Sie NIVRA Player.</translation>
    </message>
    <message>
        <source>These recordings were made by old camera firmware and are not supported.</source>
        <translation>Diese Aufnahmen stammen von einer alten Kamera-Firmware und werden nicht unterstützt.</translation>
    </message>
    <message>
        <source>The recordings cannot be read (%1).</source>
        <translation>Die Aufnahmen können nicht gelesen werden (%1).</translation>
    </message>
    <message>
        <source>AAC (raw)</source>
        <translation>AAC (roh)</translation>
    </message>
    <message>
        <source>unknown audio format</source>
        <translation>unbekanntes Audioformat</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>kein Audio</translation>
    </message>
    <message>
        <source>This user may not read %1, so the card cannot be read. Check the permissions of the card&apos;s files and folders (the card itself is not damaged).</source>
        <translation>Dieser Benutzer darf %1 nicht lesen, daher kann die Karte nicht gelesen werden. Prüfen Sie die Berechtigungen der Dateien und Ordner der Karte (die Karte selbst ist nicht beschädigt).</translation>
    </message>
</context>
<context>
    <name>nivra::ExportJob</name>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>Der Ordner %1 kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>The audio format of these recordings is not supported: the files have no sound.</source>
        <translation>Das Audioformat dieser Aufnahmen wird nicht unterstützt: Die Dateien haben keinen Ton.</translation>
    </message>
    <message>
        <source>MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out.</source>
        <translation>MP4 kann den G.711-Ton dieser Aufnahmen nicht aufnehmen. Exportieren Sie als MOV oder ohne Ton.</translation>
    </message>
    <message>
        <source>Cannot write %1. Check that the folder is writable and the disk has enough space.</source>
        <translation>%1 kann nicht geschrieben werden. Prüfen Sie, ob der Ordner beschreibbar ist und genug Speicherplatz frei ist.</translation>
    </message>
    <message>
        <source>The video format of these recordings is not recognised.</source>
        <translation>Das Videoformat dieser Aufnahmen wird nicht erkannt.</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>Lesen der Aufnahmen fehlgeschlagen. Ist die Karte noch verbunden?</translation>
    </message>
    <message>
        <source>Export failed (%1).</source>
        <translation>Export fehlgeschlagen (%1).</translation>
    </message>
    <message>
        <source>Damaged frames left out: %1.</source>
        <translation>Ausgelassene beschädigte Bilder: %1.</translation>
    </message>
    <message>
        <source>This folder is on the card, which is never written to. Choose a folder elsewhere.</source>
        <translation>Dieser Ordner liegt auf der Karte, auf die nie geschrieben wird. Wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>Not written whole (the recordings are damaged or could not be read):</source>
        <translation>Nicht vollständig geschrieben (die Aufnahmen sind beschädigt oder konnten nicht gelesen werden):</translation>
    </message>
    <message>
        <source>%1 – %2: %3 of %4 written</source>
        <translation>%1 – %2: %3 von %4 geschrieben</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiterer</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>Evidence package</source>
        <translation>Beweispaket</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Formatted</source>
        <translation>Formatiert</translation>
    </message>
    <message>
        <source>Card identity</source>
        <translation>Kartenkennung</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Kamerazeit</translation>
    </message>
    <message>
        <source>This computer&apos;s time</source>
        <translation>Zeit dieses Computers</translation>
    </message>
    <message>
        <source>Exported files</source>
        <translation>Exportierte Dateien</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Copied from the card&apos;s files</source>
        <translation>Kopiert aus den Dateien der Karte</translation>
    </message>
    <message>
        <source>Events and bookmarks</source>
        <translation>Ereignisse und Lesezeichen</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>Lesezeichen</translation>
    </message>
    <message>
        <source>Start of the range</source>
        <translation>Beginn des Zeitraums</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Kein Bild</translation>
    </message>
    <message>
        <source>Made by</source>
        <translation>Erstellt mit</translation>
    </message>
    <message>
        <source>Made at</source>
        <translation>Erstellt am</translation>
    </message>
    <message>
        <source>Check the files with: sha256sum -c SHA256SUMS</source>
        <translation>Prüfen Sie die Dateien mit: sha256sum -c SHA256SUMS</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Bewegung</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Geräusch</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Weinen</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Person</translation>
    </message>
    <message>
        <source>No evidence package was written: the files do not hold the whole range.</source>
        <translation>Es wurde kein Beweispaket geschrieben: Die Dateien enthalten nicht den ganzen Zeitraum.</translation>
    </message>
    <message>
        <source>The evidence package could not be written (%1).</source>
        <translation>Das Beweispaket konnte nicht geschrieben werden (%1).</translation>
    </message>
    <message>
        <source>%1 is too long for a copy of %2 MB. Choose a shorter range or a larger size.</source>
        <translation>%1 ist zu lang für eine Kopie von %2 MB. Wählen Sie einen kürzeren Bereich oder eine größere Größe.</translation>
    </message>
    <message>
        <source>The video could not be re-coded (%1).</source>
        <translation>Das Video konnte nicht neu kodiert werden (%1).</translation>
    </message>
</context>
</TS>
