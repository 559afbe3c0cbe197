<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>AppSettings</name>
    <message>
        <source>Could not ask the graphics card (%1)</source>
        <translation>Impossibile interrogare la scheda grafica (%1)</translation>
    </message>
    <message>
        <source>%1 decodes neither H.265 nor H.264</source>
        <translation>%1 non decodifica né H.265 né H.264</translation>
    </message>
    <message>
        <source>%1 decodes %2</source>
        <translation>%1 decodifica %2</translation>
    </message>
</context>
<context>
    <name>AppStatusBar</name>
    <message>
        <source>reading %1 @ 0x%2</source>
        <translation>lettura %1 @ 0x%2</translation>
    </message>
    <message>
        <source>decoding %1</source>
        <translation>decodifica %1</translation>
    </message>
    <message>
        <source>audio</source>
        <translation>audio</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>senza audio</translation>
    </message>
    <message>
        <source>buffer %1 s</source>
        <translation>buffer %1 s</translation>
    </message>
    <message>
        <source>Read-only · Recordings stay on this computer</source>
        <translation>Sola lettura · Le registrazioni restano su questo computer</translation>
    </message>
    <message>
        <source>Waiting for a recording</source>
        <translation>In attesa di una registrazione</translation>
    </message>
    <message>
        <source>Recording files missing</source>
        <translation>File di registrazione mancanti</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Nessuna registrazione in questo giorno</translation>
    </message>
    <message numerus="yes">
        <source>%n events today · Click an event to seek</source>
        <translation>
            <numerusform>%n evento in questo giorno · Fai clic su un evento per raggiungerlo</numerusform>
            <numerusform>%n eventi in questo giorno · Fai clic su un evento per raggiungerlo</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events today</source>
        <translation>
            <numerusform>%n evento in questo giorno</numerusform>
            <numerusform>%n eventi in questo giorno</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AppToolBar</name>
    <message>
        <source>formatted %1</source>
        <translation>formattata il %1</translation>
    </message>
    <message>
        <source>recordings %1 ~ %2</source>
        <translation>registrazioni dal %1 al %2</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>senza audio</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>Apri scheda SD / cartella</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aggiorna</translation>
    </message>
    <message>
        <source>Time: recording location</source>
        <translation>Ora del luogo ripreso</translation>
    </message>
    <message>
        <source>Time: this computer</source>
        <translation>Ora di questo computer</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message numerus="yes">
        <source>%n segments × %1 MB</source>
        <translation>
            <numerusform>%n segmento × %1 MB</numerusform>
            <numerusform>%n segmenti × %1 MB</numerusform>
        </translation>
    </message>
    <message>
        <source>not found</source>
        <translation>non trovata</translation>
    </message>
    <message>
        <source>Recently opened</source>
        <translation>Aperte di recente</translation>
    </message>
    <message>
        <source>No cards opened yet</source>
        <translation>Nessuna scheda ancora aperta</translation>
    </message>
    <message>
        <source>open now</source>
        <translation>aperta ora</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>Svuota elenco</translation>
    </message>
</context>
<context>
    <name>AreaChanges</name>
    <message>
        <source>Lighting change</source>
        <translation>Cambio di luce</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Cambiamento</translation>
    </message>
    <message>
        <source>Duration %1</source>
        <translation>Durata %1</translation>
    </message>
    <message>
        <source>%1 % of the area · %2</source>
        <translation>%1 % dell’area · %2</translation>
    </message>
    <message>
        <source>Changes in the area (%1)</source>
        <translation>Cambiamenti nell’area (%1)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>Sensibilità</translation>
    </message>
    <message>
        <source>Lighting</source>
        <translation>Luce</translation>
    </message>
    <message>
        <source>Nothing changed in this area. Raise the sensitivity to see smaller changes</source>
        <translation>Nulla è cambiato in quest’area. Aumenta la sensibilità per vedere cambiamenti più piccoli</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>Analisi… %1 %</translation>
    </message>
</context>
<context>
    <name>BookmarkPopup</name>
    <message>
        <source>Bookmark at %1</source>
        <translation>Segnalibro alle %1</translation>
    </message>
    <message>
        <source>Note of the bookmark at %1</source>
        <translation>Nota del segnalibro delle %1</translation>
    </message>
    <message>
        <source>Note (optional)</source>
        <translation>Nota (facoltativa)</translation>
    </message>
    <message>
        <source>Add bookmark</source>
        <translation>Aggiungi segnalibro</translation>
    </message>
    <message>
        <source>Keep note</source>
        <translation>Salva nota</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
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
        <translation>Registrazioni</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Eventi</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Selezionato</translation>
    </message>
</context>
<context>
    <name>CardPicker</name>
    <message numerus="yes">
        <source>This folder holds %n card(s). Which one do you want to open?</source>
        <translation>
            <numerusform>Questa cartella contiene %n scheda. Quale vuoi aprire?</numerusform>
            <numerusform>Questa cartella contiene %n schede. Quale vuoi aprire?</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Apri</translation>
    </message>
</context>
<context>
    <name>DecodeWorker</name>
    <message>
        <source>Cannot read the recordings.</source>
        <translation>Impossibile leggere le registrazioni.</translation>
    </message>
</context>
<context>
    <name>Decoder</name>
    <message>
        <source>This video could not be decoded.</source>
        <translation>Impossibile decodificare questo video.</translation>
    </message>
    <message>
        <source>Your graphics card cannot decode this video.</source>
        <translation>La scheda grafica non può decodificare questo video.</translation>
    </message>
    <message>
        <source>This video format is not supported.</source>
        <translation>Questo formato video non è supportato.</translation>
    </message>
    <message>
        <source>Windows could not decode this video (%1).</source>
        <translation>Windows non è riuscito a decodificare questo video (%1).</translation>
    </message>
    <message>
        <source>Windows needs Microsoft&apos;s HEVC Video Extensions to decode H.265 without the graphics card. Install them from the Microsoft Store, then try again.</source>
        <translation>Per decodificare H.265 senza la scheda grafica, Windows richiede le Estensioni video HEVC di Microsoft. Installale da Microsoft Store, poi riprova.</translation>
    </message>
    <message>
        <source>Windows has no decoder for this video format.</source>
        <translation>Windows non ha un decodificatore per questo formato video.</translation>
    </message>
</context>
<context>
    <name>EventList</name>
    <message>
        <source>Open an SD card or recording folder to see events</source>
        <translation>Apri una scheda SD o una cartella di registrazioni per vedere gli eventi</translation>
    </message>
    <message>
        <source>The recording index exists, but the video files are not in this folder</source>
        <translation>L&apos;indice delle registrazioni esiste, ma i file video non sono in questa cartella</translation>
    </message>
    <message>
        <source>Select a date with recordings</source>
        <translation>Seleziona una data con registrazioni</translation>
    </message>
    <message>
        <source>No events on this day. Use the timeline to browse recordings</source>
        <translation>Nessun evento in questo giorno. Usa la timeline per sfogliare le registrazioni</translation>
    </message>
    <message>
        <source>No events match this filter</source>
        <translation>Nessun evento corrisponde a questo filtro</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Movimento</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Suono</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Pianto</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Persona</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
    <message>
        <source>Duration %1 s</source>
        <translation>Durata %1 s</translation>
    </message>
    <message>
        <source>Duration %1 min %2 s</source>
        <translation>Durata %1 min %2 s</translation>
    </message>
    <message>
        <source>recording file missing</source>
        <translation>file di registrazione mancante</translation>
    </message>
    <message>
        <source>Clear filter</source>
        <translation>Cancella filtro</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>Segnalibro</translation>
    </message>
    <message>
        <source>Edit note…</source>
        <translation>Modifica nota…</translation>
    </message>
    <message>
        <source>Delete bookmark</source>
        <translation>Elimina segnalibro</translation>
    </message>
    <message>
        <source>No note</source>
        <translation>Nessuna nota</translation>
    </message>
</context>
<context>
    <name>EventsOnly</name>
    <message>
        <source>No more events</source>
        <translation>Nessun altro evento</translation>
    </message>
    <message>
        <source>Next event %1</source>
        <translation>Evento successivo %1</translation>
    </message>
</context>
<context>
    <name>ExportPanel</name>
    <message>
        <source>Choose where to save the exported files.</source>
        <translation>Scegli dove salvare i file esportati.</translation>
    </message>
    <message>
        <source>Not enough free space: %1 left on this drive</source>
        <translation>Spazio insufficiente: %1 liberi su questa unità</translation>
    </message>
    <message>
        <source>Recorded %1</source>
        <translation>Registrato %1</translation>
    </message>
    <message>
        <source>Skip gaps %1</source>
        <translation>Interruzioni saltate %1</translation>
    </message>
    <message>
        <source>Missing files %1</source>
        <translation>File mancanti %1</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>circa %1</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>senza audio</translation>
    </message>
    <message>
        <source>Enter a valid time, for example 14:30:00.</source>
        <translation>Inserisci un orario valido, ad esempio 14:30:00.</translation>
    </message>
    <message>
        <source>End time must be later than start time.</source>
        <translation>L&apos;ora di fine deve essere successiva all&apos;ora di inizio.</translation>
    </message>
    <message>
        <source>There is no recording in this range. Adjust the selection.</source>
        <translation>Nessuna registrazione in questo intervallo. Modifica la selezione.</translation>
    </message>
    <message>
        <source>Export cancelled</source>
        <translation>Esportazione annullata</translation>
    </message>
    <message>
        <source>Nothing to export in this range</source>
        <translation>Niente da esportare in questo intervallo</translation>
    </message>
    <message>
        <source>Save the exported files to</source>
        <translation>Salva i file esportati in</translation>
    </message>
    <message>
        <source>Export video</source>
        <translation>Esporta video</translation>
    </message>
    <message>
        <source>Fewer options</source>
        <translation>Meno opzioni</translation>
    </message>
    <message>
        <source>More options</source>
        <translation>Altre opzioni</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Inizio</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Fine</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>MOV · Recommended</source>
        <translation>MOV · Consigliato</translation>
    </message>
    <message>
        <source>Supports AAC, G.711 and silent recordings</source>
        <translation>Per audio AAC, G.711 e registrazioni senza audio</translation>
    </message>
    <message>
        <source>MP4</source>
        <translation>MP4</translation>
    </message>
    <message>
        <source>MP4 is unavailable for this G.711 audio recording</source>
        <translation>MP4 non disponibile per questa registrazione con audio G.711</translation>
    </message>
    <message>
        <source>For AAC audio or silent recordings</source>
        <translation>Per audio AAC o registrazioni senza audio</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>Interruzioni</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>File separati</translation>
    </message>
    <message>
        <source>Save each recorded interval as a separate file</source>
        <translation>Salva ogni intervallo registrato in un file separato</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>Unisci in un file</translation>
    </message>
    <message>
        <source>Skip gaps and merge recordings in chronological order</source>
        <translation>Salta le interruzioni e unisci in ordine cronologico</translation>
    </message>
    <message>
        <source>Export the selected recording range</source>
        <translation>Esporta l&apos;intervallo di registrazione selezionato</translation>
    </message>
    <message>
        <source>MOV is required to preserve the G.711 audio in this recording.</source>
        <translation>Solo il MOV conserva l&apos;audio G.711 di questa registrazione.</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 di %2</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>circa %1 rimanenti</translation>
    </message>
    <message>
        <source>Cancel export</source>
        <translation>Annulla esportazione</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Mostra nella cartella</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Salva in</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Sfoglia...</translation>
    </message>
    <message>
        <source>Leave the audio out</source>
        <translation>Esporta senza audio</translation>
    </message>
    <message>
        <source>Copied as recorded (%1), not converted</source>
        <translation>Copiato senza conversione (%1)</translation>
    </message>
    <message>
        <source>Starts at the key frame %1</source>
        <translation>Inizia dal fotogramma chiave %1</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Nomi dei file</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n file</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) exported</source>
        <translation>
            <numerusform>%n file esportato</numerusform>
            <numerusform>%n file esportati</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Export cancelled. The %n finished file(s) were kept.</source>
        <translation>
            <numerusform>Esportazione annullata. %n file completato è stato mantenuto.</numerusform>
            <numerusform>Esportazione annullata. %n file completati sono stati mantenuti.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>… and %n more</source>
        <translation>
            <numerusform>… e %n altro</numerusform>
            <numerusform>… e altri %n</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n event(s)</source>
        <translation>
            <numerusform>%n evento</numerusform>
            <numerusform>%n eventi</numerusform>
        </translation>
    </message>
    <message>
        <source>No events of the chosen types on this day.</source>
        <translation>Nessun evento dei tipi scelti in questo giorno.</translation>
    </message>
    <message>
        <source>Events of this day</source>
        <translation>Eventi di questo giorno</translation>
    </message>
    <message>
        <source>Each event of the types the event list shows, as a file of its own</source>
        <translation>Ogni evento dei tipi mostrati nell&apos;elenco, in un file a sé</translation>
    </message>
    <message>
        <source>Before and after each event</source>
        <translation>Prima e dopo ogni evento</translation>
    </message>
    <message>
        <source>No padding</source>
        <translation>Nessun margine</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Just the events</source>
        <translation>Solo gli eventi</translation>
    </message>
    <message>
        <source>%1 s before and after</source>
        <translation>%1 s prima e dopo</translation>
    </message>
    <message>
        <source>Export each event as a file of its own</source>
        <translation>Esporta ogni evento in un file a sé</translation>
    </message>
    <message>
        <source>In this time mode the range crosses midnight: the part on this day stays selected.</source>
        <translation>In questa modalità orario l’intervallo supera la mezzanotte: resta selezionata la parte di questo giorno.</translation>
    </message>
    <message>
        <source>In this time mode the range lies on another day: select it again.</source>
        <translation>In questa modalità orario l’intervallo cade in un altro giorno: selezionalo di nuovo.</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>Chiudi esportazione</translation>
    </message>
    <message>
        <source>Camera time as subtitles</source>
        <translation>Ora della telecamera come sottotitoli</translation>
    </message>
    <message>
        <source>Evidence package (report and SHA-256 hashes)</source>
        <translation>Pacchetto di prova (rapporto e hash SHA-256)</translation>
    </message>
    <message>
        <source>Burn in the time</source>
        <translation>Imprimere l’ora</translation>
    </message>
    <message>
        <source>Smaller copy for sharing</source>
        <translation>Copia più piccola da condividere</translation>
    </message>
    <message>
        <source>under %1 MB</source>
        <translation>sotto %1 MB</translation>
    </message>
    <message>
        <source>Re-coded as H.264 at 720p with AAC sound, in one MP4 under %1 MB</source>
        <translation>Ricodificato in H.264 a 720p con audio AAC, in un MP4 sotto %1 MB</translation>
    </message>
    <message>
        <source>the time drawn in</source>
        <translation>con l’ora impressa</translation>
    </message>
    <message>
        <source>Re-coded as H.264 with the time drawn in; this takes longer than a copy</source>
        <translation>Ricodificato in H.264 con l’ora impressa; richiede più tempo di una copia</translation>
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
        <translation>Spazio</translation>
    </message>
    <message>
        <source>Play or pause (K: pause at 1×)</source>
        <translation>Riproduci o pausa (K: pausa a 1×)</translation>
    </message>
    <message>
        <source>Play; again: twice as fast, up to 16×</source>
        <translation>Riproduci; di nuovo: due volte più veloce, fino a 16×</translation>
    </message>
    <message>
        <source>Rewind; again: twice as fast, up to 16×</source>
        <translation>Riavvolgi; di nuovo: due volte più veloce, fino a 16×</translation>
    </message>
    <message>
        <source>Slower, faster</source>
        <translation>Più lento, più veloce</translation>
    </message>
    <message>
        <source>Back, forward 5 s</source>
        <translation>Indietro, avanti di 5 s</translation>
    </message>
    <message>
        <source>Back, forward one picture</source>
        <translation>Fotogramma precedente, successivo</translation>
    </message>
    <message>
        <source>Page Up</source>
        <translation>Pag su</translation>
    </message>
    <message>
        <source>Page Down</source>
        <translation>Pag giù</translation>
    </message>
    <message>
        <source>Previous, next event</source>
        <translation>Evento precedente, successivo</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Fine</translation>
    </message>
    <message>
        <source>First, last recording of the day</source>
        <translation>Prima, ultima registrazione del giorno</translation>
    </message>
    <message>
        <source>Events only on or off</source>
        <translation>Solo eventi: attiva o disattiva</translation>
    </message>
    <message>
        <source>Export from, to the shown picture</source>
        <translation>Esporta dal, fino al fotogramma mostrato</translation>
    </message>
    <message>
        <source>Save a screenshot</source>
        <translation>Salva un’istantanea</translation>
    </message>
    <message>
        <source>Mute or unmute</source>
        <translation>Disattiva o riattiva l’audio</translation>
    </message>
    <message>
        <source>Full screen (Esc leaves it)</source>
        <translation>Schermo intero (Esc per uscire)</translation>
    </message>
    <message>
        <source>Zoom the timeline in, out</source>
        <translation>Ingrandisci, riduci la timeline</translation>
    </message>
    <message>
        <source>Whole picture (after zooming it)</source>
        <translation>Immagine intera (dopo lo zoom)</translation>
    </message>
    <message>
        <source>Close the export editor, a menu or a dialog</source>
        <translation>Chiudi l’editor di esportazione, un menu o una finestra</translation>
    </message>
    <message>
        <source>Next control (Shift+Tab: previous)</source>
        <translation>Controllo successivo (Maiusc+Tab: precedente)</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open an SD card or folder</source>
        <translation>Apri una scheda SD o una cartella</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Ctrl+,</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>This list</source>
        <translation>Questo elenco</translation>
    </message>
    <message>
        <source>No more events</source>
        <translation>Nessun altro evento</translation>
    </message>
    <message>
        <source>This is the first event</source>
        <translation>Questo è il primo evento</translation>
    </message>
    <message>
        <source>End the search in an area</source>
        <translation>Terminare la ricerca in un’area</translation>
    </message>
    <message>
        <source>Bookmark the shown picture</source>
        <translation>Aggiungi un segnalibro all&apos;immagine mostrata</translation>
    </message>
</context>
<context>
    <name>LicensesDialog</name>
    <message>
        <source>Open-source licenses</source>
        <translation>Licenze open source</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (build di prova interna)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Skipped empty %1 → %2</source>
        <translation>Interruzione saltata %1 → %2</translation>
    </message>
    <message>
        <source>End of recording at %1</source>
        <translation>Fine della registrazione alle %1</translation>
    </message>
    <message>
        <source>No more recordings</source>
        <translation>Nessun&apos;altra registrazione</translation>
    </message>
    <message>
        <source>The recording files for this day are not in this folder</source>
        <translation>I file di registrazione di questo giorno non sono in questa cartella</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Nessuna registrazione in questo giorno</translation>
    </message>
    <message>
        <source>This is the first recording</source>
        <translation>Questa è la prima registrazione</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>%1 rimanenti</translation>
    </message>
    <message>
        <source>Choose the SD card or the recording folder</source>
        <translation>Scegli la scheda SD o la cartella delle registrazioni</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>Lettura delle registrazioni non riuscita. La scheda è ancora collegata?</translation>
    </message>
    <message>
        <source>Sound output is not available</source>
        <translation>Uscita audio non disponibile</translation>
    </message>
    <message>
        <source>No recordings found in %1</source>
        <translation>Nessuna registrazione trovata in %1</translation>
    </message>
</context>
<context>
    <name>QuitConfirm</name>
    <message>
        <source>An export is running</source>
        <translation>Esportazione in corso</translation>
    </message>
    <message>
        <source>Quitting cancels the export. Files already finished are kept.</source>
        <translation>Uscendo l&apos;esportazione viene annullata. I file già completati vengono mantenuti.</translation>
    </message>
    <message>
        <source>Cancel export and quit</source>
        <translation>Annulla ed esci</translation>
    </message>
    <message>
        <source>Keep exporting</source>
        <translation>Continua a esportare</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Save the exported files to</source>
        <translation>Salva i file esportati in</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>Lingua dell&apos;interfaccia</translation>
    </message>
    <message>
        <source>Follow the system (%1)</source>
        <translation>Come il sistema (%1)</translation>
    </message>
    <message>
        <source>At first start the system language is used; English when it is not available.</source>
        <translation>Al primo avvio si usa la lingua del sistema; l&apos;inglese se non è disponibile.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Aspetto</translation>
    </message>
    <message>
        <source>Follow the system</source>
        <translation>Come il sistema</translation>
    </message>
    <message>
        <source>Cloud White</source>
        <translation>Bianco nuvola</translation>
    </message>
    <message>
        <source>Nightfall</source>
        <translation>Crepuscolo</translation>
    </message>
    <message>
        <source>Time display</source>
        <translation>Visualizzazione dell&apos;ora</translation>
    </message>
    <message>
        <source>Recording location (recommended)</source>
        <translation>Luogo di registrazione (consigliato)</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Questo computer</translation>
    </message>
    <message>
        <source>Date and time format</source>
        <translation>Formato di data e ora</translation>
    </message>
    <message>
        <source>Follows the system region: %1 · weeks start on %2</source>
        <translation>Segue la regione del sistema: %1 · le settimane iniziano di %2</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>Riproduzione</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>Riproduci la registrazione successiva</translation>
    </message>
    <message>
        <source>Snap to keyframes (hold Alt to skip)</source>
        <translation>Aggancia ai fotogrammi chiave (Alt per evitarlo)</translation>
    </message>
    <message>
        <source>Video decoding</source>
        <translation>Decodifica video</translation>
    </message>
    <message>
        <source>Graphics card only (recommended)</source>
        <translation>Solo scheda grafica (consigliato)</translation>
    </message>
    <message>
        <source>Graphics card, software if it cannot</source>
        <translation>Scheda grafica, altrimenti software</translation>
    </message>
    <message>
        <source>Software only</source>
        <translation>Solo software</translation>
    </message>
    <message>
        <source>%1. Takes effect from the next seek; software decoding uses much more processor time.</source>
        <translation>%1. Vale dal prossimo spostamento; la decodifica software usa molto più processore.</translation>
    </message>
    <message>
        <source>Software decoding uses the decoders built into Windows; for H.265 they need Microsoft&apos;s HEVC Video Extensions.</source>
        <translation>La decodifica software usa i decodificatori di Windows; per H.265 servono le Estensioni video HEVC di Microsoft.</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Esportazione</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Sfoglia...</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>Interruzioni</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>File separati</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>Unisci in un file</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Aggiornamenti</translation>
    </message>
    <message>
        <source>Check for updates at start-up</source>
        <translation>Cerca aggiornamenti all&apos;avvio</translation>
    </message>
    <message>
        <source>Current version %1 (%2)</source>
        <translation>Versione attuale %1 (%2)</translation>
    </message>
    <message>
        <source>Check now</source>
        <translation>Verifica ora</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>Privacy</translation>
    </message>
    <message>
        <source>Recordings are only read on this computer and never uploaded. The network is used only to check for updates.</source>
        <translation>Le registrazioni vengono lette solo su questo computer e mai caricate online. La rete serve solo a cercare aggiornamenti.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (build di prova interna)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Open-source licenses...</source>
        <translation>Licenze open source...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Automatic (recommended)</source>
        <translation>Automatico (consigliato)</translation>
    </message>
    <message>
        <source>Graphics card only</source>
        <translation>Solo scheda grafica</translation>
    </message>
    <message>
        <source>Analyse recordings in the background</source>
        <translation>Analizza le registrazioni in background</translation>
    </message>
</context>
<context>
    <name>ShortcutSheet</name>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Scorciatoie da tastiera</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
</context>
<context>
    <name>SidePanel</name>
    <message>
        <source>Events (%1)</source>
        <translation>Eventi (%1)</translation>
    </message>
    <message>
        <source>All types</source>
        <translation>Tutti i tipi</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Movimento</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Suono</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Pianto</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Persona</translation>
    </message>
    <message>
        <source>%1 · Events today · Click to seek</source>
        <translation>%1 · Eventi del giorno · Clic per raggiungerli</translation>
    </message>
    <message>
        <source>%1 · Events today</source>
        <translation>%1 · Eventi del giorno</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Segnalibri</translation>
    </message>
</context>
<context>
    <name>SkipStill</name>
    <message>
        <source>Skipped %1 of still video</source>
        <translation>Saltati %1 di video fermo</translation>
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
        <translation>Salto a %1 (fotogramma chiave, agganciato %2 %3 s)</translation>
    </message>
    <message>
        <source>Landed %1</source>
        <translation>Salto a %1</translation>
    </message>
    <message>
        <source>%1  Recording file not found</source>
        <translation>%1  File di registrazione non trovato</translation>
    </message>
</context>
<context>
    <name>TimelinePanel</name>
    <message>
        <source>Recording timeline</source>
        <translation>Timeline delle registrazioni</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Ora della telecamera</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Questo computer</translation>
    </message>
    <message>
        <source>Current time</source>
        <translation>Ora attuale</translation>
    </message>
    <message>
        <source>Exporting…</source>
        <translation>Esportazione…</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>Chiudi esportazione</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Esporta</translation>
    </message>
    <message>
        <source>The recording file for %1 is not in this folder</source>
        <translation>Il file di registrazione delle %1 non è in questa cartella</translation>
    </message>
    <message>
        <source>No recordings after this time</source>
        <translation>Nessuna registrazione dopo quest&apos;ora</translation>
    </message>
    <message>
        <source>Snap to keyframes</source>
        <translation>Aggancia ai fotogrammi chiave</translation>
    </message>
    <message>
        <source>Hold Alt while dragging to skip snapping</source>
        <translation>Tieni premuto Alt durante il trascinamento per non agganciare</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Registrazione</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
    <message>
        <source>No recording</source>
        <translation>Nessuna registrazione</translation>
    </message>
    <message>
        <source>File missing</source>
        <translation>File mancante</translation>
    </message>
    <message>
        <source>Wheel: zoom · drag: seek · click empty space: next recording</source>
        <translation>Rotellina: zoom · trascina: sposta · clic su spazio vuoto: registrazione successiva</translation>
    </message>
    <message>
        <source>Shift+drag: select a range to export</source>
        <translation>Maiusc+trascina: seleziona un intervallo da esportare</translation>
    </message>
    <message>
        <source>. and ,: one frame forward or back</source>
        <translation>. e ,: un fotogramma avanti o indietro</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>Analisi… %1 %</translation>
    </message>
</context>
<context>
    <name>TransportBar</name>
    <message>
        <source>Previous recording</source>
        <translation>Registrazione precedente</translation>
    </message>
    <message>
        <source>Pause (Space)</source>
        <translation>Pausa (Spazio)</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>Riproduci (Spazio)</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>Registrazione successiva</translation>
    </message>
    <message>
        <source>Pause and show the next frame (.)</source>
        <translation>Pausa e fotogramma successivo (.)</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>Istantanea</translation>
    </message>
    <message>
        <source>Screenshot saved: %1</source>
        <translation>Istantanea salvata: %1</translation>
    </message>
    <message>
        <source>Screenshot failed</source>
        <translation>Istantanea non riuscita</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>Riattiva audio</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Disattiva audio</translation>
    </message>
    <message>
        <source>Continuous play</source>
        <translation>Riproduzione continua</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>Riproduci la registrazione successiva</translation>
    </message>
    <message>
        <source>Back one frame (,)</source>
        <translation>Fotogramma precedente (,)</translation>
    </message>
    <message>
        <source>Events only</source>
        <translation>Solo eventi</translation>
    </message>
    <message>
        <source>Play only the events, one after another (E)</source>
        <translation>Riproduci solo gli eventi, uno dopo l&apos;altro (E)</translation>
    </message>
    <message>
        <source>Skip still parts</source>
        <translation>Salta le parti ferme</translation>
    </message>
    <message>
        <source>Jump over the stretches where nothing moves or sounds</source>
        <translation>Salta i tratti in cui nulla si muove né si sente</translation>
    </message>
    <message>
        <source>Bookmark (B)</source>
        <translation>Segnalibro (B)</translation>
    </message>
</context>
<context>
    <name>UpdateBanner</name>
    <message>
        <source>NIVRA Player %1 is available.</source>
        <translation>È disponibile NIVRA Player %1.</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>Scarica...</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Salta questa versione</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>No update address is set in this build.</source>
        <translation>In questa build non è impostato alcun indirizzo di aggiornamento.</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Verifica in corso…</translation>
    </message>
    <message>
        <source>Could not check for updates (%1).</source>
        <translation>Impossibile cercare aggiornamenti (%1).</translation>
    </message>
    <message>
        <source>The update information could not be read.</source>
        <translation>Impossibile leggere le informazioni di aggiornamento.</translation>
    </message>
    <message>
        <source>Version %1 is available.</source>
        <translation>È disponibile la versione %1.</translation>
    </message>
    <message>
        <source>You have the latest version.</source>
        <translation>Hai già la versione più recente.</translation>
    </message>
</context>
<context>
    <name>VideoPanel</name>
    <message>
        <source>Playing</source>
        <translation>In riproduzione</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>In pausa</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>Riproduci (Spazio)</translation>
    </message>
    <message>
        <source>Unable to play this video</source>
        <translation>Impossibile riprodurre questo video</translation>
    </message>
    <message>
        <source>Could not open the recordings</source>
        <translation>Impossibile aprire le registrazioni</translation>
    </message>
    <message>
        <source>Every moment that matters, all in one place</source>
        <translation>Ogni momento importante, tutto in un unico posto</translation>
    </message>
    <message>
        <source>Recording files are missing</source>
        <translation>Mancano file di registrazione</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Nessuna registrazione in questo giorno</translation>
    </message>
    <message>
        <source>Open an SD card or recording folder to review recordings on this computer.</source>
        <translation>Apri una scheda SD o una cartella di registrazioni per rivederle su questo computer.</translation>
    </message>
    <message>
        <source>The index contains recordings for this day, but their video files are not in this folder.</source>
        <translation>L&apos;indice contiene registrazioni per questo giorno, ma i file video non sono in questa cartella.</translation>
    </message>
    <message>
        <source>Select a date with a recording marker in the calendar.</source>
        <translation>Seleziona nel calendario una data con il segno di registrazione.</translation>
    </message>
    <message>
        <source>%1. Updating the graphics driver may help.</source>
        <translation>%1. Aggiornare il driver grafico può aiutare.</translation>
    </message>
    <message>
        <source>Without the graphics card, Windows can only decode this H.265 recording with Microsoft&apos;s HEVC Video Extensions from the Microsoft Store.</source>
        <translation>Senza la scheda grafica, Windows può decodificare questa registrazione H.265 solo con le Estensioni video HEVC di Microsoft, da Microsoft Store.</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>Apri scheda SD / cartella</translation>
    </message>
    <message>
        <source>View a date with recordings</source>
        <translation>Vai a una data con registrazioni</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>Scegli un&apos;altra cartella</translation>
    </message>
    <message>
        <source>Open Microsoft Store</source>
        <translation>Apri Microsoft Store</translation>
    </message>
    <message>
        <source>Decode in software</source>
        <translation>Decodifica via software</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Riprova</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Impostazioni...</translation>
    </message>
    <message>
        <source>Software decoding works on any computer but uses much more processor time.</source>
        <translation>La decodifica software funziona su qualsiasi computer, ma usa molto più processore.</translation>
    </message>
    <message>
        <source>Drag a rectangle over the part of the picture to search (Esc cancels)</source>
        <translation>Trascina un rettangolo sulla parte dell’immagine da cercare (Esc annulla)</translation>
    </message>
    <message>
        <source>Find changes in an area</source>
        <translation>Trova i cambiamenti in un’area</translation>
    </message>
</context>
<context>
    <name>nivra::Bookmarks</name>
    <message>
        <source>The bookmarks of this card could not be read and were set aside.</source>
        <translation>Non è stato possibile leggere i segnalibri di questa scheda: sono stati messi da parte.</translation>
    </message>
    <message numerus="yes">
        <source>%n bookmark(s) of this card could not be read and were left out.</source>
        <translation>
            <numerusform>%n segnalibro di questa scheda non è stato letto ed è stato omesso.</numerusform>
            <numerusform>%n segnalibri di questa scheda non sono stati letti e sono stati omessi.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>nivra::CardSession</name>
    <message>
        <source>No recordings found. Choose the SD card or the recording folder.</source>
        <translation>Nessuna registrazione trovata. Scegli la scheda SD o la cartella delle registrazioni.</translation>
    </message>
    <message>
        <source>The recording index is damaged and cannot be read.</source>
        <translation>L&apos;indice delle registrazioni è danneggiato e non può essere letto.</translation>
    </message>
    <message>
        <source>The recording format is newer than this program. Please update NIVRA Player.</source>
        <translation>Il formato di registrazione è più recente di questo programma. Aggiorna NIVRA Player.</translation>
    </message>
    <message>
        <source>These recordings were made by old camera firmware and are not supported.</source>
        <translation>Queste registrazioni provengono da un vecchio firmware della telecamera e non sono supportate.</translation>
    </message>
    <message>
        <source>The recordings cannot be read (%1).</source>
        <translation>Impossibile leggere le registrazioni (%1).</translation>
    </message>
    <message>
        <source>AAC (raw)</source>
        <translation>AAC (grezzo)</translation>
    </message>
    <message>
        <source>unknown audio format</source>
        <translation>formato audio sconosciuto</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>senza audio</translation>
    </message>
    <message>
        <source>This user may not read %1, so the card cannot be read. Check the permissions of the card&apos;s files and folders (the card itself is not damaged).</source>
        <translation>Questo utente non può leggere %1, quindi la scheda non può essere letta. Controlla i permessi dei file e delle cartelle della scheda (la scheda non è danneggiata).</translation>
    </message>
</context>
<context>
    <name>nivra::ExportJob</name>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>Impossibile creare la cartella %1</translation>
    </message>
    <message>
        <source>The audio format of these recordings is not supported: the files have no sound.</source>
        <translation>Il formato audio di queste registrazioni non è supportato: i file non avranno audio.</translation>
    </message>
    <message>
        <source>MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out.</source>
        <translation>L&apos;MP4 non può contenere l&apos;audio G.711 di queste registrazioni. Esporta in MOV o senza audio.</translation>
    </message>
    <message>
        <source>Cannot write %1. Check that the folder is writable and the disk has enough space.</source>
        <translation>Impossibile scrivere %1. Verifica che la cartella sia scrivibile e che il disco abbia spazio sufficiente.</translation>
    </message>
    <message>
        <source>The video format of these recordings is not recognised.</source>
        <translation>Il formato video di queste registrazioni non è riconosciuto.</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>Lettura delle registrazioni non riuscita. La scheda è ancora collegata?</translation>
    </message>
    <message>
        <source>Export failed (%1).</source>
        <translation>Esportazione non riuscita (%1).</translation>
    </message>
    <message>
        <source>Damaged frames left out: %1.</source>
        <translation>Fotogrammi danneggiati omessi: %1.</translation>
    </message>
    <message>
        <source>This folder is on the card, which is never written to. Choose a folder elsewhere.</source>
        <translation>Questa cartella è sulla scheda, su cui non si scrive mai. Scegli una cartella altrove.</translation>
    </message>
    <message>
        <source>Not written whole (the recordings are damaged or could not be read):</source>
        <translation>Non scritto per intero (le registrazioni sono danneggiate o non leggibili):</translation>
    </message>
    <message>
        <source>%1 – %2: %3 of %4 written</source>
        <translation>%1 – %2: %3 su %4 scritti</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>e %n altro</numerusform>
            <numerusform>e altri %n</numerusform>
        </translation>
    </message>
    <message>
        <source>Evidence package</source>
        <translation>Pacchetto di prova</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Scheda</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Cartella</translation>
    </message>
    <message>
        <source>Formatted</source>
        <translation>Formattata</translation>
    </message>
    <message>
        <source>Card identity</source>
        <translation>Identità della scheda</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Intervallo</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Ora della telecamera</translation>
    </message>
    <message>
        <source>This computer&apos;s time</source>
        <translation>Ora di questo computer</translation>
    </message>
    <message>
        <source>Exported files</source>
        <translation>File esportati</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Dimensione</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Durata</translation>
    </message>
    <message>
        <source>Copied from the card&apos;s files</source>
        <translation>Copiato dai file della scheda</translation>
    </message>
    <message>
        <source>Events and bookmarks</source>
        <translation>Eventi e segnalibri</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Ora</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Nota</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>Segnalibro</translation>
    </message>
    <message>
        <source>Start of the range</source>
        <translation>Inizio dell&apos;intervallo</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Nessuno</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Nessuna immagine</translation>
    </message>
    <message>
        <source>Made by</source>
        <translation>Creato con</translation>
    </message>
    <message>
        <source>Made at</source>
        <translation>Creato il</translation>
    </message>
    <message>
        <source>Check the files with: sha256sum -c SHA256SUMS</source>
        <translation>Verifica i file con: sha256sum -c SHA256SUMS</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Movimento</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Suono</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Pianto</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Persona</translation>
    </message>
    <message>
        <source>No evidence package was written: the files do not hold the whole range.</source>
        <translation>Nessun pacchetto di prova scritto: i file non contengono l&apos;intero intervallo.</translation>
    </message>
    <message>
        <source>The evidence package could not be written (%1).</source>
        <translation>Impossibile scrivere il pacchetto di prova (%1).</translation>
    </message>
    <message>
        <source>%1 is too long for a copy of %2 MB. Choose a shorter range or a larger size.</source>
        <translation>%1 è troppo lungo per una copia di %2 MB. Scegli un intervallo più breve o una dimensione maggiore.</translation>
    </message>
    <message>
        <source>The video could not be re-coded (%1).</source>
        <translation>Non è stato possibile ricodificare il video (%1).</translation>
    </message>
</context>
</TS>
