<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl_NL">
<context>
    <name>AppSettings</name>
    <message>
        <source>Could not ask the graphics card (%1)</source>
        <translation>De videokaart kon niet worden bevraagd (%1)</translation>
    </message>
    <message>
        <source>%1 decodes neither H.265 nor H.264</source>
        <translation>%1 decodeert H.265 noch H.264</translation>
    </message>
    <message>
        <source>%1 decodes %2</source>
        <translation>%1 decodeert %2</translation>
    </message>
</context>
<context>
    <name>AppStatusBar</name>
    <message>
        <source>reading %1 @ 0x%2</source>
        <translation>lezen %1 @ 0x%2</translation>
    </message>
    <message>
        <source>decoding %1</source>
        <translation>decoderen %1</translation>
    </message>
    <message>
        <source>audio</source>
        <translation>audio</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>geen audio</translation>
    </message>
    <message>
        <source>buffer %1 s</source>
        <translation>buffer %1 s</translation>
    </message>
    <message>
        <source>Read-only · Recordings stay on this computer</source>
        <translation>Alleen-lezen · Opnamen blijven op deze computer</translation>
    </message>
    <message>
        <source>Waiting for a recording</source>
        <translation>Wachten op een opname</translation>
    </message>
    <message>
        <source>Recording files missing</source>
        <translation>Opnamebestanden ontbreken</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Geen opnamen op deze dag</translation>
    </message>
    <message numerus="yes">
        <source>%n events today · Click an event to seek</source>
        <translation>
            <numerusform>%n melding op deze dag · Klik op een melding om ernaartoe te gaan</numerusform>
            <numerusform>%n meldingen op deze dag · Klik op een melding om ernaartoe te gaan</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events today</source>
        <translation>
            <numerusform>%n melding op deze dag</numerusform>
            <numerusform>%n meldingen op deze dag</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AppToolBar</name>
    <message>
        <source>formatted %1</source>
        <translation>geformatteerd op %1</translation>
    </message>
    <message>
        <source>recordings %1 ~ %2</source>
        <translation>opnamen %1 – %2</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>geen audio</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>SD-kaart / map openen</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Vernieuwen</translation>
    </message>
    <message>
        <source>Time: recording location</source>
        <translation>Tijd: opnamelocatie</translation>
    </message>
    <message>
        <source>Time: this computer</source>
        <translation>Tijd: deze computer</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Instellingen</translation>
    </message>
    <message numerus="yes">
        <source>%n segments × %1 MB</source>
        <translation>
            <numerusform>%n segment × %1 MB</numerusform>
            <numerusform>%n segmenten × %1 MB</numerusform>
        </translation>
    </message>
    <message>
        <source>not found</source>
        <translation>niet gevonden</translation>
    </message>
    <message>
        <source>Recently opened</source>
        <translation>Onlangs geopend</translation>
    </message>
    <message>
        <source>No cards opened yet</source>
        <translation>Nog geen kaart geopend</translation>
    </message>
    <message>
        <source>open now</source>
        <translation>nu geopend</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>Lijst wissen</translation>
    </message>
</context>
<context>
    <name>AreaChanges</name>
    <message>
        <source>Lighting change</source>
        <translation>Lichtwissel</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Verandering</translation>
    </message>
    <message>
        <source>Duration %1</source>
        <translation>Duur %1</translation>
    </message>
    <message>
        <source>%1 % of the area · %2</source>
        <translation>%1 % van het gebied · %2</translation>
    </message>
    <message>
        <source>Changes in the area (%1)</source>
        <translation>Veranderingen in het gebied (%1)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>Gevoeligheid</translation>
    </message>
    <message>
        <source>Lighting</source>
        <translation>Licht</translation>
    </message>
    <message>
        <source>Nothing changed in this area. Raise the sensitivity to see smaller changes</source>
        <translation>Er is niets veranderd in dit gebied. Verhoog de gevoeligheid om kleinere veranderingen te zien</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>Analyseren… %1 %</translation>
    </message>
</context>
<context>
    <name>BookmarkPopup</name>
    <message>
        <source>Bookmark at %1</source>
        <translation>Bladwijzer om %1</translation>
    </message>
    <message>
        <source>Note of the bookmark at %1</source>
        <translation>Notitie van de bladwijzer om %1</translation>
    </message>
    <message>
        <source>Note (optional)</source>
        <translation>Notitie (optioneel)</translation>
    </message>
    <message>
        <source>Add bookmark</source>
        <translation>Bladwijzer toevoegen</translation>
    </message>
    <message>
        <source>Keep note</source>
        <translation>Notitie bewaren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
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
        <translation>Opnamen</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Meldingen</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Geselecteerd</translation>
    </message>
</context>
<context>
    <name>CardPicker</name>
    <message numerus="yes">
        <source>This folder holds %n card(s). Which one do you want to open?</source>
        <translation>
            <numerusform>Deze map bevat %n kaart. Welke wilt u openen?</numerusform>
            <numerusform>Deze map bevat %n kaarten. Welke wilt u openen?</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Openen</translation>
    </message>
</context>
<context>
    <name>DecodeWorker</name>
    <message>
        <source>Cannot read the recordings.</source>
        <translation>De opnamen kunnen niet worden gelezen.</translation>
    </message>
</context>
<context>
    <name>Decoder</name>
    <message>
        <source>This video could not be decoded.</source>
        <translation>Deze video kon niet worden gedecodeerd.</translation>
    </message>
    <message>
        <source>Your graphics card cannot decode this video.</source>
        <translation>Uw videokaart kan deze video niet decoderen.</translation>
    </message>
    <message>
        <source>This video format is not supported.</source>
        <translation>Deze videoindeling wordt niet ondersteund.</translation>
    </message>
    <message>
        <source>Windows could not decode this video (%1).</source>
        <translation>Windows kon deze video niet decoderen (%1).</translation>
    </message>
    <message>
        <source>Windows needs Microsoft&apos;s HEVC Video Extensions to decode H.265 without the graphics card. Install them from the Microsoft Store, then try again.</source>
        <translation>Om H.265 zonder videokaart te decoderen heeft Windows de HEVC-video-extensies van Microsoft nodig. Installeer ze via de Microsoft Store en probeer het opnieuw.</translation>
    </message>
    <message>
        <source>Windows has no decoder for this video format.</source>
        <translation>Windows heeft geen decoder voor deze videoindeling.</translation>
    </message>
</context>
<context>
    <name>EventList</name>
    <message>
        <source>Open an SD card or recording folder to see events</source>
        <translation>Open een SD-kaart of opnamemap om meldingen te zien</translation>
    </message>
    <message>
        <source>The recording index exists, but the video files are not in this folder</source>
        <translation>De opname-index bestaat, maar de videobestanden staan niet in deze map</translation>
    </message>
    <message>
        <source>Select a date with recordings</source>
        <translation>Kies een datum met opnamen</translation>
    </message>
    <message>
        <source>No events on this day. Use the timeline to browse recordings</source>
        <translation>Geen meldingen op deze dag. Gebruik de tijdlijn om door opnamen te bladeren</translation>
    </message>
    <message>
        <source>No events match this filter</source>
        <translation>Geen meldingen voldoen aan dit filter</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Beweging</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Geluid</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Huilen</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Persoon</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Melding</translation>
    </message>
    <message>
        <source>Duration %1 s</source>
        <translation>Duur %1 s</translation>
    </message>
    <message>
        <source>Duration %1 min %2 s</source>
        <translation>Duur %1 min %2 s</translation>
    </message>
    <message>
        <source>recording file missing</source>
        <translation>opnamebestand ontbreekt</translation>
    </message>
    <message>
        <source>Clear filter</source>
        <translation>Filter wissen</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>Bladwijzer</translation>
    </message>
    <message>
        <source>Edit note…</source>
        <translation>Notitie bewerken…</translation>
    </message>
    <message>
        <source>Delete bookmark</source>
        <translation>Bladwijzer verwijderen</translation>
    </message>
    <message>
        <source>No note</source>
        <translation>Geen notitie</translation>
    </message>
</context>
<context>
    <name>EventsOnly</name>
    <message>
        <source>No more events</source>
        <translation>Geen meldingen meer</translation>
    </message>
    <message>
        <source>Next event %1</source>
        <translation>Volgende melding %1</translation>
    </message>
</context>
<context>
    <name>ExportPanel</name>
    <message>
        <source>Choose where to save the exported files.</source>
        <translation>Kies waar de geëxporteerde bestanden worden opgeslagen.</translation>
    </message>
    <message>
        <source>Not enough free space: %1 left on this drive</source>
        <translation>Onvoldoende vrije ruimte: nog %1 op dit station</translation>
    </message>
    <message>
        <source>Recorded %1</source>
        <translation>Opgenomen %1</translation>
    </message>
    <message>
        <source>Skip gaps %1</source>
        <translation>Overgeslagen %1</translation>
    </message>
    <message>
        <source>Missing files %1</source>
        <translation>Ontbrekende bestanden %1</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>ca. %1</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>geen audio</translation>
    </message>
    <message>
        <source>Enter a valid time, for example 14:30:00.</source>
        <translation>Voer een geldige tijd in, bijvoorbeeld 14:30:00.</translation>
    </message>
    <message>
        <source>End time must be later than start time.</source>
        <translation>De eindtijd moet na de begintijd liggen.</translation>
    </message>
    <message>
        <source>There is no recording in this range. Adjust the selection.</source>
        <translation>Er is geen opname in dit bereik. Pas de selectie aan.</translation>
    </message>
    <message>
        <source>Export cancelled</source>
        <translation>Export geannuleerd</translation>
    </message>
    <message>
        <source>Nothing to export in this range</source>
        <translation>Niets te exporteren in dit bereik</translation>
    </message>
    <message>
        <source>Save the exported files to</source>
        <translation>Geëxporteerde bestanden opslaan in</translation>
    </message>
    <message>
        <source>Export video</source>
        <translation>Exporteren</translation>
    </message>
    <message>
        <source>Fewer options</source>
        <translation>Minder opties</translation>
    </message>
    <message>
        <source>More options</source>
        <translation>Meer opties</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Begintijd</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Eindtijd</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Indeling</translation>
    </message>
    <message>
        <source>MOV · Recommended</source>
        <translation>MOV · Aanbevolen</translation>
    </message>
    <message>
        <source>Supports AAC, G.711 and silent recordings</source>
        <translation>Voor AAC, G.711 en opnamen zonder geluid</translation>
    </message>
    <message>
        <source>MP4</source>
        <translation>MP4</translation>
    </message>
    <message>
        <source>MP4 is unavailable for this G.711 audio recording</source>
        <translation>MP4 is niet beschikbaar voor deze opname met G.711-geluid</translation>
    </message>
    <message>
        <source>For AAC audio or silent recordings</source>
        <translation>Voor AAC-geluid of opnamen zonder geluid</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>Onderbrekingen</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>Aparte bestanden</translation>
    </message>
    <message>
        <source>Save each recorded interval as a separate file</source>
        <translation>Elk opgenomen interval als apart bestand opslaan</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>Samenvoegen</translation>
    </message>
    <message>
        <source>Skip gaps and merge recordings in chronological order</source>
        <translation>Onderbrekingen overslaan en opnamen op volgorde samenvoegen</translation>
    </message>
    <message>
        <source>Export the selected recording range</source>
        <translation>Het geselecteerde opnamebereik exporteren</translation>
    </message>
    <message>
        <source>MOV is required to preserve the G.711 audio in this recording.</source>
        <translation>Alleen MOV behoudt het G.711-geluid van deze opname.</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 van %2</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>nog ongeveer %1</translation>
    </message>
    <message>
        <source>Cancel export</source>
        <translation>Export annuleren</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>In map tonen</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Opslaan in</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Bladeren...</translation>
    </message>
    <message>
        <source>Leave the audio out</source>
        <translation>Zonder geluid exporteren</translation>
    </message>
    <message>
        <source>Copied as recorded (%1), not converted</source>
        <translation>Ongewijzigd gekopieerd (%1)</translation>
    </message>
    <message>
        <source>Starts at the key frame %1</source>
        <translation>Begint bij het sleutelbeeld %1</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Bestandsnamen</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n bestand</numerusform>
            <numerusform>%n bestanden</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) exported</source>
        <translation>
            <numerusform>%n bestand geëxporteerd</numerusform>
            <numerusform>%n bestanden geëxporteerd</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Export cancelled. The %n finished file(s) were kept.</source>
        <translation>
            <numerusform>Export geannuleerd. %n voltooid bestand is bewaard.</numerusform>
            <numerusform>Export geannuleerd. %n voltooide bestanden zijn bewaard.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>… and %n more</source>
        <translation>
            <numerusform>… en nog %n</numerusform>
            <numerusform>… en nog %n</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n event(s)</source>
        <translation>
            <numerusform>%n gebeurtenis</numerusform>
            <numerusform>%n gebeurtenissen</numerusform>
        </translation>
    </message>
    <message>
        <source>No events of the chosen types on this day.</source>
        <translation>Geen gebeurtenissen van de gekozen soorten op deze dag.</translation>
    </message>
    <message>
        <source>Events of this day</source>
        <translation>Gebeurtenissen van deze dag</translation>
    </message>
    <message>
        <source>Each event of the types the event list shows, as a file of its own</source>
        <translation>Elke gebeurtenis van de soorten in de lijst, als eigen bestand</translation>
    </message>
    <message>
        <source>Before and after each event</source>
        <translation>Voor en na elke gebeurtenis</translation>
    </message>
    <message>
        <source>No padding</source>
        <translation>Geen marge</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Just the events</source>
        <translation>Alleen de gebeurtenissen</translation>
    </message>
    <message>
        <source>%1 s before and after</source>
        <translation>%1 s ervoor en erna</translation>
    </message>
    <message>
        <source>Export each event as a file of its own</source>
        <translation>Elke gebeurtenis als eigen bestand exporteren</translation>
    </message>
    <message>
        <source>In this time mode the range crosses midnight: the part on this day stays selected.</source>
        <translation>In deze tijdweergave loopt het bereik over middernacht: het deel op deze dag blijft geselecteerd.</translation>
    </message>
    <message>
        <source>In this time mode the range lies on another day: select it again.</source>
        <translation>In deze tijdweergave ligt het bereik op een andere dag: selecteer het opnieuw.</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>Exporteren sluiten</translation>
    </message>
    <message>
        <source>Camera time as subtitles</source>
        <translation>Cameratijd als ondertitels</translation>
    </message>
    <message>
        <source>Evidence package (report and SHA-256 hashes)</source>
        <translation>Bewijspakket (rapport en SHA-256-hashes)</translation>
    </message>
    <message>
        <source>Burn in the time</source>
        <translation>Tijd in beeld zetten</translation>
    </message>
    <message>
        <source>Smaller copy for sharing</source>
        <translation>Kleinere kopie om te delen</translation>
    </message>
    <message>
        <source>under %1 MB</source>
        <translation>onder %1 MB</translation>
    </message>
    <message>
        <source>Re-coded as H.264 at 720p with AAC sound, in one MP4 under %1 MB</source>
        <translation>Opnieuw gecodeerd als H.264 in 720p met AAC-geluid, in één MP4 onder %1 MB</translation>
    </message>
    <message>
        <source>the time drawn in</source>
        <translation>met de tijd in beeld</translation>
    </message>
    <message>
        <source>Re-coded as H.264 with the time drawn in; this takes longer than a copy</source>
        <translation>Opnieuw gecodeerd als H.264 met de tijd in beeld; dit duurt langer dan een kopie</translation>
    </message>
</context>
<context>
    <name>Format</name>
    <message>
        <source>%1h</source>
        <translation>%1 u</translation>
    </message>
    <message>
        <source>%1h%2m</source>
        <translation>%1 u %2 min</translation>
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
        <translation>Spatie</translation>
    </message>
    <message>
        <source>Play or pause (K: pause at 1×)</source>
        <translation>Afspelen of pauzeren (K: pauze op 1×)</translation>
    </message>
    <message>
        <source>Play; again: twice as fast, up to 16×</source>
        <translation>Afspelen; nogmaals: twee keer zo snel, tot 16×</translation>
    </message>
    <message>
        <source>Rewind; again: twice as fast, up to 16×</source>
        <translation>Terugspoelen; nogmaals: twee keer zo snel, tot 16×</translation>
    </message>
    <message>
        <source>Slower, faster</source>
        <translation>Langzamer, sneller</translation>
    </message>
    <message>
        <source>Back, forward 5 s</source>
        <translation>5 s terug, vooruit</translation>
    </message>
    <message>
        <source>Back, forward one picture</source>
        <translation>Eén beeld terug, vooruit</translation>
    </message>
    <message>
        <source>Page Up</source>
        <translation>Page Up</translation>
    </message>
    <message>
        <source>Page Down</source>
        <translation>Page Down</translation>
    </message>
    <message>
        <source>Previous, next event</source>
        <translation>Vorige, volgende melding</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>First, last recording of the day</source>
        <translation>Eerste, laatste opname van de dag</translation>
    </message>
    <message>
        <source>Events only on or off</source>
        <translation>Alleen meldingen aan of uit</translation>
    </message>
    <message>
        <source>Export from, to the shown picture</source>
        <translation>Exporteren vanaf, tot het getoonde beeld</translation>
    </message>
    <message>
        <source>Save a screenshot</source>
        <translation>Schermafbeelding opslaan</translation>
    </message>
    <message>
        <source>Mute or unmute</source>
        <translation>Geluid uit of aan</translation>
    </message>
    <message>
        <source>Full screen (Esc leaves it)</source>
        <translation>Volledig scherm (Esc verlaat het)</translation>
    </message>
    <message>
        <source>Zoom the timeline in, out</source>
        <translation>Tijdlijn in-, uitzoomen</translation>
    </message>
    <message>
        <source>Whole picture (after zooming it)</source>
        <translation>Heel beeld (na inzoomen)</translation>
    </message>
    <message>
        <source>Close the export editor, a menu or a dialog</source>
        <translation>Exportvenster, menu of dialoog sluiten</translation>
    </message>
    <message>
        <source>Next control (Shift+Tab: previous)</source>
        <translation>Volgend bedieningselement (Shift+Tab: vorige)</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open an SD card or folder</source>
        <translation>SD-kaart of map openen</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Ctrl+,</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Instellingen</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Afsluiten</translation>
    </message>
    <message>
        <source>This list</source>
        <translation>Deze lijst</translation>
    </message>
    <message>
        <source>No more events</source>
        <translation>Geen meldingen meer</translation>
    </message>
    <message>
        <source>This is the first event</source>
        <translation>Dit is de eerste melding</translation>
    </message>
    <message>
        <source>End the search in an area</source>
        <translation>Het zoeken in een gebied beëindigen</translation>
    </message>
    <message>
        <source>Bookmark the shown picture</source>
        <translation>Bladwijzer bij het getoonde beeld</translation>
    </message>
</context>
<context>
    <name>LicensesDialog</name>
    <message>
        <source>Open-source licenses</source>
        <translation>Opensourcelicenties</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (interne testversie)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Skipped empty %1 → %2</source>
        <translation>Onderbreking overgeslagen %1 → %2</translation>
    </message>
    <message>
        <source>End of recording at %1</source>
        <translation>Einde van de opname om %1</translation>
    </message>
    <message>
        <source>No more recordings</source>
        <translation>Geen opnamen meer</translation>
    </message>
    <message>
        <source>The recording files for this day are not in this folder</source>
        <translation>De opnamebestanden van deze dag staan niet in deze map</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Geen opnamen op deze dag</translation>
    </message>
    <message>
        <source>This is the first recording</source>
        <translation>Dit is de eerste opname</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>nog %1</translation>
    </message>
    <message>
        <source>Choose the SD card or the recording folder</source>
        <translation>Kies de SD-kaart of de opnamemap</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>Het lezen van de opnamen is mislukt. Is de kaart nog verbonden?</translation>
    </message>
    <message>
        <source>Sound output is not available</source>
        <translation>Geluidsuitvoer is niet beschikbaar</translation>
    </message>
    <message>
        <source>No recordings found in %1</source>
        <translation>Geen opnamen gevonden in %1</translation>
    </message>
</context>
<context>
    <name>QuitConfirm</name>
    <message>
        <source>An export is running</source>
        <translation>Er loopt een export</translation>
    </message>
    <message>
        <source>Quitting cancels the export. Files already finished are kept.</source>
        <translation>Afsluiten annuleert de export. Voltooide bestanden blijven bewaard.</translation>
    </message>
    <message>
        <source>Cancel export and quit</source>
        <translation>Annuleren en afsluiten</translation>
    </message>
    <message>
        <source>Keep exporting</source>
        <translation>Doorgaan met exporteren</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Save the exported files to</source>
        <translation>Geëxporteerde bestanden opslaan in</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Instellingen</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>Taal van de interface</translation>
    </message>
    <message>
        <source>Follow the system (%1)</source>
        <translation>Volgens het systeem (%1)</translation>
    </message>
    <message>
        <source>At first start the system language is used; English when it is not available.</source>
        <translation>Bij de eerste start wordt de systeemtaal gebruikt; Engels als die niet beschikbaar is.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Weergave</translation>
    </message>
    <message>
        <source>Follow the system</source>
        <translation>Volgens het systeem</translation>
    </message>
    <message>
        <source>Cloud White</source>
        <translation>Wolkenwit</translation>
    </message>
    <message>
        <source>Nightfall</source>
        <translation>Avondval</translation>
    </message>
    <message>
        <source>Time display</source>
        <translation>Tijdweergave</translation>
    </message>
    <message>
        <source>Recording location (recommended)</source>
        <translation>Opnamelocatie (aanbevolen)</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Deze computer</translation>
    </message>
    <message>
        <source>Date and time format</source>
        <translation>Datum- en tijdnotatie</translation>
    </message>
    <message>
        <source>Follows the system region: %1 · weeks start on %2</source>
        <translation>Volgens de systeemregio: %1 · weken beginnen op %2</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>Afspelen</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>Volgende opname afspelen</translation>
    </message>
    <message>
        <source>Snap to keyframes (hold Alt to skip)</source>
        <translation>Uitlijnen op sleutelbeelden (Alt om over te slaan)</translation>
    </message>
    <message>
        <source>Video decoding</source>
        <translation>Videodecodering</translation>
    </message>
    <message>
        <source>Graphics card only (recommended)</source>
        <translation>Alleen videokaart (aanbevolen)</translation>
    </message>
    <message>
        <source>Graphics card, software if it cannot</source>
        <translation>Videokaart, anders software</translation>
    </message>
    <message>
        <source>Software only</source>
        <translation>Alleen software</translation>
    </message>
    <message>
        <source>%1. Takes effect from the next seek; software decoding uses much more processor time.</source>
        <translation>%1. Geldt vanaf de volgende sprong; softwaredecodering gebruikt veel meer processortijd.</translation>
    </message>
    <message>
        <source>Software decoding uses the decoders built into Windows; for H.265 they need Microsoft&apos;s HEVC Video Extensions.</source>
        <translation>Softwaredecodering gebruikt de decoders van Windows; voor H.265 zijn de HEVC-video-extensies van Microsoft nodig.</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporteren</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Bladeren...</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>Onderbrekingen</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>Aparte bestanden</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>Samenvoegen</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Updates</translation>
    </message>
    <message>
        <source>Check for updates at start-up</source>
        <translation>Bij het starten op updates controleren</translation>
    </message>
    <message>
        <source>Current version %1 (%2)</source>
        <translation>Huidige versie %1 (%2)</translation>
    </message>
    <message>
        <source>Check now</source>
        <translation>Nu controleren</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>Privacy</translation>
    </message>
    <message>
        <source>Recordings are only read on this computer and never uploaded. The network is used only to check for updates.</source>
        <translation>Opnamen worden alleen op deze computer gelezen en nooit geüpload. Het netwerk wordt alleen gebruikt om op updates te controleren.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Over</translation>
    </message>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (interne testversie)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Open-source licenses...</source>
        <translation>Opensourcelicenties...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
    </message>
    <message>
        <source>Automatic (recommended)</source>
        <translation>Automatisch (aanbevolen)</translation>
    </message>
    <message>
        <source>Graphics card only</source>
        <translation>Alleen videokaart</translation>
    </message>
    <message>
        <source>Analyse recordings in the background</source>
        <translation>Opnamen op de achtergrond analyseren</translation>
    </message>
</context>
<context>
    <name>ShortcutSheet</name>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Sneltoetsen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Sluiten</translation>
    </message>
</context>
<context>
    <name>SidePanel</name>
    <message>
        <source>Events (%1)</source>
        <translation>Meldingen (%1)</translation>
    </message>
    <message>
        <source>All types</source>
        <translation>Alle soorten</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Beweging</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Geluid</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Huilen</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Persoon</translation>
    </message>
    <message>
        <source>%1 · Events today · Click to seek</source>
        <translation>%1 · Meldingen · Klik om te springen</translation>
    </message>
    <message>
        <source>%1 · Events today</source>
        <translation>%1 · Meldingen</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Bladwijzers</translation>
    </message>
</context>
<context>
    <name>SkipStill</name>
    <message>
        <source>Skipped %1 of still video</source>
        <translation>%1 stilstaande video overgeslagen</translation>
    </message>
</context>
<context>
    <name>TimeField</name>
    <message>
        <source>HH:MM:SS</source>
        <translation>UU:MM:SS</translation>
    </message>
</context>
<context>
    <name>TimelineItem</name>
    <message>
        <source>Landed %1 (keyframe, snapped %2 %3 s)</source>
        <translation>Sprong naar %1 (sleutelbeeld, %2 %3 s uitgelijnd)</translation>
    </message>
    <message>
        <source>Landed %1</source>
        <translation>Sprong naar %1</translation>
    </message>
    <message>
        <source>%1  Recording file not found</source>
        <translation>%1  Opnamebestand niet gevonden</translation>
    </message>
</context>
<context>
    <name>TimelinePanel</name>
    <message>
        <source>Recording timeline</source>
        <translation>Opnametijdlijn</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Cameratijd</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Deze computer</translation>
    </message>
    <message>
        <source>Current time</source>
        <translation>Huidige tijd</translation>
    </message>
    <message>
        <source>Exporting…</source>
        <translation>Exporteren…</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>Export sluiten</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporteren</translation>
    </message>
    <message>
        <source>The recording file for %1 is not in this folder</source>
        <translation>Het opnamebestand van %1 staat niet in deze map</translation>
    </message>
    <message>
        <source>No recordings after this time</source>
        <translation>Geen opnamen na dit tijdstip</translation>
    </message>
    <message>
        <source>Snap to keyframes</source>
        <translation>Uitlijnen op sleutelbeelden</translation>
    </message>
    <message>
        <source>Hold Alt while dragging to skip snapping</source>
        <translation>Houd Alt ingedrukt tijdens het slepen om niet uit te lijnen</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Opname</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Melding</translation>
    </message>
    <message>
        <source>No recording</source>
        <translation>Geen opname</translation>
    </message>
    <message>
        <source>File missing</source>
        <translation>Bestand ontbreekt</translation>
    </message>
    <message>
        <source>Wheel: zoom · drag: seek · click empty space: next recording</source>
        <translation>Wiel: zoomen · slepen: verplaatsen · klik op lege ruimte: volgende opname</translation>
    </message>
    <message>
        <source>Shift+drag: select a range to export</source>
        <translation>Shift+slepen: bereik selecteren om te exporteren</translation>
    </message>
    <message>
        <source>. and ,: one frame forward or back</source>
        <translation>. en ,: één beeld vooruit of terug</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>Analyseren… %1 %</translation>
    </message>
</context>
<context>
    <name>TransportBar</name>
    <message>
        <source>Previous recording</source>
        <translation>Vorige opname</translation>
    </message>
    <message>
        <source>Pause (Space)</source>
        <translation>Pauzeren (spatie)</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>Afspelen (spatie)</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>Volgende opname</translation>
    </message>
    <message>
        <source>Pause and show the next frame (.)</source>
        <translation>Pauzeren en volgend beeld tonen (.)</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>Schermafbeelding</translation>
    </message>
    <message>
        <source>Screenshot saved: %1</source>
        <translation>Schermafbeelding opgeslagen: %1</translation>
    </message>
    <message>
        <source>Screenshot failed</source>
        <translation>Schermafbeelding mislukt</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>Geluid aan</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Geluid uit</translation>
    </message>
    <message>
        <source>Continuous play</source>
        <translation>Doorlopend afspelen</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>Volgende opname afspelen</translation>
    </message>
    <message>
        <source>Back one frame (,)</source>
        <translation>Eén beeld terug (,)</translation>
    </message>
    <message>
        <source>Events only</source>
        <translation>Alleen meldingen</translation>
    </message>
    <message>
        <source>Play only the events, one after another (E)</source>
        <translation>Alleen de meldingen na elkaar afspelen (E)</translation>
    </message>
    <message>
        <source>Skip still parts</source>
        <translation>Stille delen overslaan</translation>
    </message>
    <message>
        <source>Jump over the stretches where nothing moves or sounds</source>
        <translation>Stukken overslaan waarin niets beweegt of klinkt</translation>
    </message>
    <message>
        <source>Bookmark (B)</source>
        <translation>Bladwijzer (B)</translation>
    </message>
</context>
<context>
    <name>UpdateBanner</name>
    <message>
        <source>NIVRA Player %1 is available.</source>
        <translation>NIVRA Player %1 is beschikbaar.</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>Downloaden...</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Deze versie overslaan</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>No update address is set in this build.</source>
        <translation>In deze build is geen updateadres ingesteld.</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Bezig met controleren…</translation>
    </message>
    <message>
        <source>Could not check for updates (%1).</source>
        <translation>Kon niet op updates controleren (%1).</translation>
    </message>
    <message>
        <source>The update information could not be read.</source>
        <translation>De update-informatie kon niet worden gelezen.</translation>
    </message>
    <message>
        <source>Version %1 is available.</source>
        <translation>Versie %1 is beschikbaar.</translation>
    </message>
    <message>
        <source>You have the latest version.</source>
        <translation>U hebt de nieuwste versie.</translation>
    </message>
</context>
<context>
    <name>VideoPanel</name>
    <message>
        <source>Playing</source>
        <translation>Speelt af</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Gepauzeerd</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>Afspelen (spatie)</translation>
    </message>
    <message>
        <source>Unable to play this video</source>
        <translation>Deze video kan niet worden afgespeeld</translation>
    </message>
    <message>
        <source>Could not open the recordings</source>
        <translation>De opnamen konden niet worden geopend</translation>
    </message>
    <message>
        <source>Every moment that matters, all in one place</source>
        <translation>Elk belangrijk moment, alles op één plek</translation>
    </message>
    <message>
        <source>Recording files are missing</source>
        <translation>Er ontbreken opnamebestanden</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Geen opnamen op deze dag</translation>
    </message>
    <message>
        <source>Open an SD card or recording folder to review recordings on this computer.</source>
        <translation>Open een SD-kaart of opnamemap om de opnamen op deze computer te bekijken.</translation>
    </message>
    <message>
        <source>The index contains recordings for this day, but their video files are not in this folder.</source>
        <translation>De index bevat opnamen voor deze dag, maar de videobestanden staan niet in deze map.</translation>
    </message>
    <message>
        <source>Select a date with a recording marker in the calendar.</source>
        <translation>Kies in de kalender een datum met een opnamemarkering.</translation>
    </message>
    <message>
        <source>%1. Updating the graphics driver may help.</source>
        <translation>%1. Het bijwerken van het videostuurprogramma kan helpen.</translation>
    </message>
    <message>
        <source>Without the graphics card, Windows can only decode this H.265 recording with Microsoft&apos;s HEVC Video Extensions from the Microsoft Store.</source>
        <translation>Zonder videokaart kan Windows deze H.265-opname alleen decoderen met de HEVC-video-extensies van Microsoft uit de Microsoft Store.</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>SD-kaart / map openen</translation>
    </message>
    <message>
        <source>View a date with recordings</source>
        <translation>Datum met opnamen bekijken</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>Andere map kiezen</translation>
    </message>
    <message>
        <source>Open Microsoft Store</source>
        <translation>Microsoft Store openen</translation>
    </message>
    <message>
        <source>Decode in software</source>
        <translation>Softwarematig decoderen</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Opnieuw proberen</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Instellingen...</translation>
    </message>
    <message>
        <source>Software decoding works on any computer but uses much more processor time.</source>
        <translation>Softwaredecodering werkt op elke computer, maar gebruikt veel meer processortijd.</translation>
    </message>
    <message>
        <source>Drag a rectangle over the part of the picture to search (Esc cancels)</source>
        <translation>Sleep een rechthoek over het deel van het beeld dat u wilt doorzoeken (Esc annuleert)</translation>
    </message>
    <message>
        <source>Find changes in an area</source>
        <translation>Veranderingen in een gebied zoeken</translation>
    </message>
</context>
<context>
    <name>nivra::Bookmarks</name>
    <message>
        <source>The bookmarks of this card could not be read and were set aside.</source>
        <translation>De bladwijzers van deze kaart konden niet worden gelezen en zijn apart gezet.</translation>
    </message>
    <message numerus="yes">
        <source>%n bookmark(s) of this card could not be read and were left out.</source>
        <translation>
            <numerusform>%n bladwijzer van deze kaart kon niet worden gelezen en is weggelaten.</numerusform>
            <numerusform>%n bladwijzers van deze kaart konden niet worden gelezen en zijn weggelaten.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>nivra::CardSession</name>
    <message>
        <source>No recordings found. Choose the SD card or the recording folder.</source>
        <translation>Geen opnamen gevonden. Kies de SD-kaart of de opnamemap.</translation>
    </message>
    <message>
        <source>The recording index is damaged and cannot be read.</source>
        <translation>De opname-index is beschadigd en kan niet worden gelezen.</translation>
    </message>
    <message>
        <source>The recording format is newer than this program. Please update NIVRA Player.</source>
        <translation>De opname-indeling is nieuwer dan dit programma. Werk NIVRA Player bij.</translation>
    </message>
    <message>
        <source>These recordings were made by old camera firmware and are not supported.</source>
        <translation>Deze opnamen zijn gemaakt met oude camerafirmware en worden niet ondersteund.</translation>
    </message>
    <message>
        <source>The recordings cannot be read (%1).</source>
        <translation>De opnamen kunnen niet worden gelezen (%1).</translation>
    </message>
    <message>
        <source>AAC (raw)</source>
        <translation>AAC (raw)</translation>
    </message>
    <message>
        <source>unknown audio format</source>
        <translation>onbekende audio-indeling</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>geen audio</translation>
    </message>
    <message>
        <source>This user may not read %1, so the card cannot be read. Check the permissions of the card&apos;s files and folders (the card itself is not damaged).</source>
        <translation>Deze gebruiker mag %1 niet lezen, dus de kaart kan niet worden gelezen. Controleer de rechten van de bestanden en mappen van de kaart (de kaart zelf is niet beschadigd).</translation>
    </message>
</context>
<context>
    <name>nivra::ExportJob</name>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>Kan de map %1 niet maken</translation>
    </message>
    <message>
        <source>The audio format of these recordings is not supported: the files have no sound.</source>
        <translation>De audio-indeling van deze opnamen wordt niet ondersteund: de bestanden hebben geen geluid.</translation>
    </message>
    <message>
        <source>MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out.</source>
        <translation>MP4 kan het G.711-geluid van deze opnamen niet bevatten. Exporteer als MOV of zonder geluid.</translation>
    </message>
    <message>
        <source>Cannot write %1. Check that the folder is writable and the disk has enough space.</source>
        <translation>Kan %1 niet schrijven. Controleer of de map beschrijfbaar is en de schijf genoeg ruimte heeft.</translation>
    </message>
    <message>
        <source>The video format of these recordings is not recognised.</source>
        <translation>De videoindeling van deze opnamen wordt niet herkend.</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>Het lezen van de opnamen is mislukt. Is de kaart nog verbonden?</translation>
    </message>
    <message>
        <source>Export failed (%1).</source>
        <translation>Export mislukt (%1).</translation>
    </message>
    <message>
        <source>Damaged frames left out: %1.</source>
        <translation>Beschadigde beelden weggelaten: %1.</translation>
    </message>
    <message>
        <source>This folder is on the card, which is never written to. Choose a folder elsewhere.</source>
        <translation>Deze map staat op de kaart, waarop nooit wordt geschreven. Kies een map ergens anders.</translation>
    </message>
    <message>
        <source>Not written whole (the recordings are damaged or could not be read):</source>
        <translation>Niet volledig geschreven (de opnamen zijn beschadigd of konden niet worden gelezen):</translation>
    </message>
    <message>
        <source>%1 – %2: %3 of %4 written</source>
        <translation>%1 – %2: %3 van %4 geschreven</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>en nog %n</numerusform>
            <numerusform>en nog %n</numerusform>
        </translation>
    </message>
    <message>
        <source>Evidence package</source>
        <translation>Bewijspakket</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Kaart</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>Formatted</source>
        <translation>Geformatteerd</translation>
    </message>
    <message>
        <source>Card identity</source>
        <translation>Kaartidentiteit</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Bereik</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Cameratijd</translation>
    </message>
    <message>
        <source>This computer&apos;s time</source>
        <translation>Tijd van deze computer</translation>
    </message>
    <message>
        <source>Exported files</source>
        <translation>Geëxporteerde bestanden</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Naam</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Grootte</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Duur</translation>
    </message>
    <message>
        <source>Copied from the card&apos;s files</source>
        <translation>Gekopieerd uit de bestanden van de kaart</translation>
    </message>
    <message>
        <source>Events and bookmarks</source>
        <translation>Gebeurtenissen en bladwijzers</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Tijd</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Soort</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notitie</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>Bladwijzer</translation>
    </message>
    <message>
        <source>Start of the range</source>
        <translation>Begin van het bereik</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Geen</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Geen beeld</translation>
    </message>
    <message>
        <source>Made by</source>
        <translation>Gemaakt met</translation>
    </message>
    <message>
        <source>Made at</source>
        <translation>Gemaakt op</translation>
    </message>
    <message>
        <source>Check the files with: sha256sum -c SHA256SUMS</source>
        <translation>Controleer de bestanden met: sha256sum -c SHA256SUMS</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Beweging</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Geluid</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Huilen</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Persoon</translation>
    </message>
    <message>
        <source>No evidence package was written: the files do not hold the whole range.</source>
        <translation>Er is geen bewijspakket geschreven: de bestanden bevatten niet het hele bereik.</translation>
    </message>
    <message>
        <source>The evidence package could not be written (%1).</source>
        <translation>Het bewijspakket kon niet worden geschreven (%1).</translation>
    </message>
    <message>
        <source>%1 is too long for a copy of %2 MB. Choose a shorter range or a larger size.</source>
        <translation>%1 is te lang voor een kopie van %2 MB. Kies een kortere periode of een groter formaat.</translation>
    </message>
    <message>
        <source>The video could not be re-coded (%1).</source>
        <translation>De video kon niet opnieuw worden gecodeerd (%1).</translation>
    </message>
</context>
</TS>
