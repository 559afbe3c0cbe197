<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AppSettings</name>
    <message>
        <source>Could not ask the graphics card (%1)</source>
        <translation>No se pudo consultar la tarjeta gráfica (%1)</translation>
    </message>
    <message>
        <source>%1 decodes neither H.265 nor H.264</source>
        <translation>%1 no decodifica ni H.265 ni H.264</translation>
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
        <translation>leyendo %1 @ 0x%2</translation>
    </message>
    <message>
        <source>decoding %1</source>
        <translation>decodificando %1</translation>
    </message>
    <message>
        <source>audio</source>
        <translation>audio</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>sin audio</translation>
    </message>
    <message>
        <source>buffer %1 s</source>
        <translation>búfer %1 s</translation>
    </message>
    <message>
        <source>Read-only · Recordings stay on this computer</source>
        <translation>Solo lectura · Las grabaciones no salen de este equipo</translation>
    </message>
    <message>
        <source>Waiting for a recording</source>
        <translation>Esperando una grabación</translation>
    </message>
    <message>
        <source>Recording files missing</source>
        <translation>Faltan archivos de grabación</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>No hay grabaciones este día</translation>
    </message>
    <message numerus="yes">
        <source>%n events today · Click an event to seek</source>
        <translation>
            <numerusform>%n evento este día · Haga clic en un evento para ir a él</numerusform>
            <numerusform>%n eventos este día · Haga clic en un evento para ir a él</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events today</source>
        <translation>
            <numerusform>%n evento este día</numerusform>
            <numerusform>%n eventos este día</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AppToolBar</name>
    <message>
        <source>formatted %1</source>
        <translation>formateada el %1</translation>
    </message>
    <message>
        <source>recordings %1 ~ %2</source>
        <translation>grabaciones del %1 al %2</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>sin audio</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>Abrir tarjeta SD / carpeta</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>Time: recording location</source>
        <translation>Hora: lugar de grabación</translation>
    </message>
    <message>
        <source>Time: this computer</source>
        <translation>Hora: este equipo</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message numerus="yes">
        <source>%n segments × %1 MB</source>
        <translation>
            <numerusform>%n segmento × %1 MB</numerusform>
            <numerusform>%n segmentos × %1 MB</numerusform>
        </translation>
    </message>
    <message>
        <source>not found</source>
        <translation>no encontrada</translation>
    </message>
    <message>
        <source>Recently opened</source>
        <translation>Abiertas recientemente</translation>
    </message>
    <message>
        <source>No cards opened yet</source>
        <translation>Aún no se ha abierto ninguna tarjeta</translation>
    </message>
    <message>
        <source>open now</source>
        <translation>abierta ahora</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>Borrar la lista</translation>
    </message>
</context>
<context>
    <name>AreaChanges</name>
    <message>
        <source>Lighting change</source>
        <translation>Cambio de luz</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Cambio</translation>
    </message>
    <message>
        <source>Duration %1</source>
        <translation>Duración %1</translation>
    </message>
    <message>
        <source>%1 % of the area · %2</source>
        <translation>%1 % de la zona · %2</translation>
    </message>
    <message>
        <source>Changes in the area (%1)</source>
        <translation>Cambios en la zona (%1)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>Sensibilidad</translation>
    </message>
    <message>
        <source>Lighting</source>
        <translation>Luz</translation>
    </message>
    <message>
        <source>Nothing changed in this area. Raise the sensitivity to see smaller changes</source>
        <translation>No ha cambiado nada en esta zona. Suba la sensibilidad para ver cambios más pequeños</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>Analizando… %1 %</translation>
    </message>
</context>
<context>
    <name>BookmarkPopup</name>
    <message>
        <source>Bookmark at %1</source>
        <translation>Marcador a las %1</translation>
    </message>
    <message>
        <source>Note of the bookmark at %1</source>
        <translation>Nota del marcador de las %1</translation>
    </message>
    <message>
        <source>Note (optional)</source>
        <translation>Nota (opcional)</translation>
    </message>
    <message>
        <source>Add bookmark</source>
        <translation>Añadir marcador</translation>
    </message>
    <message>
        <source>Keep note</source>
        <translation>Guardar nota</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>CalendarPanel</name>
    <message>
        <source>MMMM yyyy</source>
        <translation>MMMM &apos;de&apos; yyyy</translation>
    </message>
    <message>
        <source>Recordings</source>
        <translation>Grabaciones</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Eventos</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Seleccionado</translation>
    </message>
</context>
<context>
    <name>CardPicker</name>
    <message numerus="yes">
        <source>This folder holds %n card(s). Which one do you want to open?</source>
        <translation>
            <numerusform>Esta carpeta contiene %n tarjeta. ¿Cuál quiere abrir?</numerusform>
            <numerusform>Esta carpeta contiene %n tarjetas. ¿Cuál quiere abrir?</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
</context>
<context>
    <name>DecodeWorker</name>
    <message>
        <source>Cannot read the recordings.</source>
        <translation>No se pueden leer las grabaciones.</translation>
    </message>
</context>
<context>
    <name>Decoder</name>
    <message>
        <source>This video could not be decoded.</source>
        <translation>No se pudo decodificar este vídeo.</translation>
    </message>
    <message>
        <source>Your graphics card cannot decode this video.</source>
        <translation>Su tarjeta gráfica no puede decodificar este vídeo.</translation>
    </message>
    <message>
        <source>This video format is not supported.</source>
        <translation>Este formato de vídeo no es compatible.</translation>
    </message>
    <message>
        <source>Windows could not decode this video (%1).</source>
        <translation>Windows no pudo decodificar este vídeo (%1).</translation>
    </message>
    <message>
        <source>Windows needs Microsoft&apos;s HEVC Video Extensions to decode H.265 without the graphics card. Install them from the Microsoft Store, then try again.</source>
        <translation>Para decodificar H.265 sin la tarjeta gráfica, Windows necesita las Extensiones de vídeo HEVC de Microsoft. Instálelas desde Microsoft Store y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>Windows has no decoder for this video format.</source>
        <translation>Windows no tiene ningún decodificador para este formato de vídeo.</translation>
    </message>
</context>
<context>
    <name>EventList</name>
    <message>
        <source>Open an SD card or recording folder to see events</source>
        <translation>Abra una tarjeta SD o una carpeta de grabaciones para ver los eventos</translation>
    </message>
    <message>
        <source>The recording index exists, but the video files are not in this folder</source>
        <translation>El índice de grabaciones existe, pero los archivos de vídeo no están en esta carpeta</translation>
    </message>
    <message>
        <source>Select a date with recordings</source>
        <translation>Seleccione una fecha con grabaciones</translation>
    </message>
    <message>
        <source>No events on this day. Use the timeline to browse recordings</source>
        <translation>No hay eventos este día. Use la línea de tiempo para recorrer las grabaciones</translation>
    </message>
    <message>
        <source>No events match this filter</source>
        <translation>Ningún evento coincide con este filtro</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Movimiento</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Sonido</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Llanto</translation>
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
        <translation>Duración %1 s</translation>
    </message>
    <message>
        <source>Duration %1 min %2 s</source>
        <translation>Duración %1 min %2 s</translation>
    </message>
    <message>
        <source>recording file missing</source>
        <translation>falta el archivo de grabación</translation>
    </message>
    <message>
        <source>Clear filter</source>
        <translation>Quitar filtro</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>Marcador</translation>
    </message>
    <message>
        <source>Edit note…</source>
        <translation>Editar nota…</translation>
    </message>
    <message>
        <source>Delete bookmark</source>
        <translation>Eliminar marcador</translation>
    </message>
    <message>
        <source>No note</source>
        <translation>Sin nota</translation>
    </message>
</context>
<context>
    <name>EventsOnly</name>
    <message>
        <source>No more events</source>
        <translation>No hay más eventos</translation>
    </message>
    <message>
        <source>Next event %1</source>
        <translation>Siguiente evento %1</translation>
    </message>
</context>
<context>
    <name>ExportPanel</name>
    <message>
        <source>Choose where to save the exported files.</source>
        <translation>Elija dónde guardar los archivos exportados.</translation>
    </message>
    <message>
        <source>Not enough free space: %1 left on this drive</source>
        <translation>Espacio insuficiente: quedan %1 en esta unidad</translation>
    </message>
    <message>
        <source>Recorded %1</source>
        <translation>Grabado %1</translation>
    </message>
    <message>
        <source>Skip gaps %1</source>
        <translation>Huecos %1</translation>
    </message>
    <message>
        <source>Missing files %1</source>
        <translation>Archivos que faltan %1</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>aprox. %1</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>sin audio</translation>
    </message>
    <message>
        <source>Enter a valid time, for example 14:30:00.</source>
        <translation>Introduzca una hora válida, por ejemplo 14:30:00.</translation>
    </message>
    <message>
        <source>End time must be later than start time.</source>
        <translation>La hora de fin debe ser posterior a la de inicio.</translation>
    </message>
    <message>
        <source>There is no recording in this range. Adjust the selection.</source>
        <translation>No hay ninguna grabación en este intervalo. Ajuste la selección.</translation>
    </message>
    <message>
        <source>Export cancelled</source>
        <translation>Exportación cancelada</translation>
    </message>
    <message>
        <source>Nothing to export in this range</source>
        <translation>No hay nada que exportar en este intervalo</translation>
    </message>
    <message>
        <source>Save the exported files to</source>
        <translation>Guardar los archivos exportados en</translation>
    </message>
    <message>
        <source>Export video</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>Fewer options</source>
        <translation>Menos opciones</translation>
    </message>
    <message>
        <source>More options</source>
        <translation>Más opciones</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>MOV · Recommended</source>
        <translation>MOV · Recomendado</translation>
    </message>
    <message>
        <source>Supports AAC, G.711 and silent recordings</source>
        <translation>Admite AAC, G.711 y grabaciones sin sonido</translation>
    </message>
    <message>
        <source>MP4</source>
        <translation>MP4</translation>
    </message>
    <message>
        <source>MP4 is unavailable for this G.711 audio recording</source>
        <translation>MP4 no está disponible para esta grabación con audio G.711</translation>
    </message>
    <message>
        <source>For AAC audio or silent recordings</source>
        <translation>Para audio AAC o grabaciones sin sonido</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>Huecos</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>Por separado</translation>
    </message>
    <message>
        <source>Save each recorded interval as a separate file</source>
        <translation>Guardar cada intervalo grabado en un archivo aparte</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>Un solo archivo</translation>
    </message>
    <message>
        <source>Skip gaps and merge recordings in chronological order</source>
        <translation>Omitir huecos y unir las grabaciones por orden cronológico</translation>
    </message>
    <message>
        <source>Export the selected recording range</source>
        <translation>Exportar el intervalo de grabación seleccionado</translation>
    </message>
    <message>
        <source>MOV is required to preserve the G.711 audio in this recording.</source>
        <translation>Solo MOV conserva el audio G.711 de esta grabación.</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>quedan aprox. %1</translation>
    </message>
    <message>
        <source>Cancel export</source>
        <translation>Cancelar exportación</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Mostrar en la carpeta</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Guardar en</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Examinar...</translation>
    </message>
    <message>
        <source>Leave the audio out</source>
        <translation>Exportar sin audio</translation>
    </message>
    <message>
        <source>Copied as recorded (%1), not converted</source>
        <translation>Copiado sin convertir (%1)</translation>
    </message>
    <message>
        <source>Starts at the key frame %1</source>
        <translation>Empieza en el fotograma clave %1</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Archivos</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n archivo</numerusform>
            <numerusform>%n archivos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) exported</source>
        <translation>
            <numerusform>%n archivo exportado</numerusform>
            <numerusform>%n archivos exportados</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Export cancelled. The %n finished file(s) were kept.</source>
        <translation>
            <numerusform>Exportación cancelada. Se conservó %n archivo terminado.</numerusform>
            <numerusform>Exportación cancelada. Se conservaron %n archivos terminados.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>… and %n more</source>
        <translation>
            <numerusform>… y %n más</numerusform>
            <numerusform>… y %n más</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n event(s)</source>
        <translation>
            <numerusform>%n evento</numerusform>
            <numerusform>%n eventos</numerusform>
        </translation>
    </message>
    <message>
        <source>No events of the chosen types on this day.</source>
        <translation>No hay eventos de los tipos elegidos en este día.</translation>
    </message>
    <message>
        <source>Events of this day</source>
        <translation>Eventos de este día</translation>
    </message>
    <message>
        <source>Each event of the types the event list shows, as a file of its own</source>
        <translation>Cada evento de los tipos que muestra la lista de eventos, en un archivo propio</translation>
    </message>
    <message>
        <source>Before and after each event</source>
        <translation>Antes y después de cada evento</translation>
    </message>
    <message>
        <source>No padding</source>
        <translation>Sin margen</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Just the events</source>
        <translation>Solo los eventos</translation>
    </message>
    <message>
        <source>%1 s before and after</source>
        <translation>%1 s antes y después</translation>
    </message>
    <message>
        <source>Export each event as a file of its own</source>
        <translation>Exportar cada evento en un archivo propio</translation>
    </message>
    <message>
        <source>In this time mode the range crosses midnight: the part on this day stays selected.</source>
        <translation>En este modo de hora el rango pasa de medianoche: queda seleccionada la parte de este día.</translation>
    </message>
    <message>
        <source>In this time mode the range lies on another day: select it again.</source>
        <translation>En este modo de hora el rango cae en otro día: selecciónelo de nuevo.</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>Cerrar exportación</translation>
    </message>
    <message>
        <source>Camera time as subtitles</source>
        <translation>Hora de la cámara como subtítulos</translation>
    </message>
    <message>
        <source>Evidence package (report and SHA-256 hashes)</source>
        <translation>Paquete de pruebas (informe y hashes SHA-256)</translation>
    </message>
    <message>
        <source>Burn in the time</source>
        <translation>Incrustar la hora</translation>
    </message>
    <message>
        <source>Smaller copy for sharing</source>
        <translation>Copia más pequeña para compartir</translation>
    </message>
    <message>
        <source>under %1 MB</source>
        <translation>menos de %1 MB</translation>
    </message>
    <message>
        <source>Re-coded as H.264 at 720p with AAC sound, in one MP4 under %1 MB</source>
        <translation>Recodificado como H.264 a 720p con sonido AAC, en un MP4 de menos de %1 MB</translation>
    </message>
    <message>
        <source>the time drawn in</source>
        <translation>con la hora incrustada</translation>
    </message>
    <message>
        <source>Re-coded as H.264 with the time drawn in; this takes longer than a copy</source>
        <translation>Recodificado como H.264 con la hora incrustada; tarda más que una copia</translation>
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
        <translation>Espacio</translation>
    </message>
    <message>
        <source>Play or pause (K: pause at 1×)</source>
        <translation>Reproducir o pausar (K: pausa a 1×)</translation>
    </message>
    <message>
        <source>Play; again: twice as fast, up to 16×</source>
        <translation>Reproducir; otra vez: el doble de rápido, hasta 16×</translation>
    </message>
    <message>
        <source>Rewind; again: twice as fast, up to 16×</source>
        <translation>Rebobinar; otra vez: el doble de rápido, hasta 16×</translation>
    </message>
    <message>
        <source>Slower, faster</source>
        <translation>Más lento, más rápido</translation>
    </message>
    <message>
        <source>Back, forward 5 s</source>
        <translation>Atrás, adelante 5 s</translation>
    </message>
    <message>
        <source>Back, forward one picture</source>
        <translation>Fotograma anterior, siguiente</translation>
    </message>
    <message>
        <source>Page Up</source>
        <translation>Re Pág</translation>
    </message>
    <message>
        <source>Page Down</source>
        <translation>Av Pág</translation>
    </message>
    <message>
        <source>Previous, next event</source>
        <translation>Evento anterior, siguiente</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>First, last recording of the day</source>
        <translation>Primera, última grabación del día</translation>
    </message>
    <message>
        <source>Events only on or off</source>
        <translation>Solo eventos: activar o desactivar</translation>
    </message>
    <message>
        <source>Export from, to the shown picture</source>
        <translation>Exportar desde, hasta la imagen mostrada</translation>
    </message>
    <message>
        <source>Save a screenshot</source>
        <translation>Guardar una captura</translation>
    </message>
    <message>
        <source>Mute or unmute</source>
        <translation>Silenciar o activar el sonido</translation>
    </message>
    <message>
        <source>Full screen (Esc leaves it)</source>
        <translation>Pantalla completa (Esc para salir)</translation>
    </message>
    <message>
        <source>Zoom the timeline in, out</source>
        <translation>Acercar, alejar la línea de tiempo</translation>
    </message>
    <message>
        <source>Whole picture (after zooming it)</source>
        <translation>Imagen completa (tras ampliarla)</translation>
    </message>
    <message>
        <source>Close the export editor, a menu or a dialog</source>
        <translation>Cerrar el editor de exportación, un menú o un diálogo</translation>
    </message>
    <message>
        <source>Next control (Shift+Tab: previous)</source>
        <translation>Control siguiente (Mayús+Tab: anterior)</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open an SD card or folder</source>
        <translation>Abrir una tarjeta SD o una carpeta</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Ctrl+,</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>This list</source>
        <translation>Esta lista</translation>
    </message>
    <message>
        <source>No more events</source>
        <translation>No hay más eventos</translation>
    </message>
    <message>
        <source>This is the first event</source>
        <translation>Este es el primer evento</translation>
    </message>
    <message>
        <source>End the search in an area</source>
        <translation>Terminar la búsqueda en una zona</translation>
    </message>
    <message>
        <source>Bookmark the shown picture</source>
        <translation>Marcar la imagen mostrada</translation>
    </message>
</context>
<context>
    <name>LicensesDialog</name>
    <message>
        <source>Open-source licenses</source>
        <translation>Licencias de código abierto</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (versión de prueba interna)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Skipped empty %1 → %2</source>
        <translation>Hueco omitido %1 → %2</translation>
    </message>
    <message>
        <source>End of recording at %1</source>
        <translation>Fin de la grabación a las %1</translation>
    </message>
    <message>
        <source>No more recordings</source>
        <translation>No hay más grabaciones</translation>
    </message>
    <message>
        <source>The recording files for this day are not in this folder</source>
        <translation>Los archivos de grabación de este día no están en esta carpeta</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>No hay grabaciones este día</translation>
    </message>
    <message>
        <source>This is the first recording</source>
        <translation>Esta es la primera grabación</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>quedan %1</translation>
    </message>
    <message>
        <source>Choose the SD card or the recording folder</source>
        <translation>Elija la tarjeta SD o la carpeta de grabaciones</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>No se pudieron leer las grabaciones. ¿Sigue conectada la tarjeta?</translation>
    </message>
    <message>
        <source>Sound output is not available</source>
        <translation>La salida de sonido no está disponible</translation>
    </message>
    <message>
        <source>No recordings found in %1</source>
        <translation>No se encontraron grabaciones en %1</translation>
    </message>
</context>
<context>
    <name>QuitConfirm</name>
    <message>
        <source>An export is running</source>
        <translation>Hay una exportación en curso</translation>
    </message>
    <message>
        <source>Quitting cancels the export. Files already finished are kept.</source>
        <translation>Al salir se cancela la exportación. Los archivos ya terminados se conservan.</translation>
    </message>
    <message>
        <source>Cancel export and quit</source>
        <translation>Cancelar y salir</translation>
    </message>
    <message>
        <source>Keep exporting</source>
        <translation>Seguir exportando</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Save the exported files to</source>
        <translation>Guardar los archivos exportados en</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>Idioma de la interfaz</translation>
    </message>
    <message>
        <source>Follow the system (%1)</source>
        <translation>Según el sistema (%1)</translation>
    </message>
    <message>
        <source>At first start the system language is used; English when it is not available.</source>
        <translation>En el primer inicio se usa el idioma del sistema; inglés si no está disponible.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Apariencia</translation>
    </message>
    <message>
        <source>Follow the system</source>
        <translation>Según el sistema</translation>
    </message>
    <message>
        <source>Cloud White</source>
        <translation>Blanco nube</translation>
    </message>
    <message>
        <source>Nightfall</source>
        <translation>Anochecer</translation>
    </message>
    <message>
        <source>Time display</source>
        <translation>Visualización de la hora</translation>
    </message>
    <message>
        <source>Recording location (recommended)</source>
        <translation>Lugar de grabación (recomendado)</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Este equipo</translation>
    </message>
    <message>
        <source>Date and time format</source>
        <translation>Formato de fecha y hora</translation>
    </message>
    <message>
        <source>Follows the system region: %1 · weeks start on %2</source>
        <translation>Según la región del sistema: %1 · las semanas empiezan el %2</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>Reproducción</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>Reproducir la grabación siguiente</translation>
    </message>
    <message>
        <source>Snap to keyframes (hold Alt to skip)</source>
        <translation>Ajustar a fotogramas clave (Alt para omitir)</translation>
    </message>
    <message>
        <source>Video decoding</source>
        <translation>Decodificación de vídeo</translation>
    </message>
    <message>
        <source>Graphics card only (recommended)</source>
        <translation>Solo tarjeta gráfica (recomendado)</translation>
    </message>
    <message>
        <source>Graphics card, software if it cannot</source>
        <translation>Tarjeta gráfica o, si no puede, software</translation>
    </message>
    <message>
        <source>Software only</source>
        <translation>Solo software</translation>
    </message>
    <message>
        <source>%1. Takes effect from the next seek; software decoding uses much more processor time.</source>
        <translation>%1. Se aplica desde el siguiente salto; la decodificación por software usa mucho más procesador.</translation>
    </message>
    <message>
        <source>Software decoding uses the decoders built into Windows; for H.265 they need Microsoft&apos;s HEVC Video Extensions.</source>
        <translation>La decodificación por software usa los decodificadores de Windows; para H.265 necesitan las Extensiones de vídeo HEVC de Microsoft.</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportación</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Examinar...</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>Huecos</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>Por separado</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>Un solo archivo</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Actualizaciones</translation>
    </message>
    <message>
        <source>Check for updates at start-up</source>
        <translation>Buscar actualizaciones al iniciar</translation>
    </message>
    <message>
        <source>Current version %1 (%2)</source>
        <translation>Versión actual %1 (%2)</translation>
    </message>
    <message>
        <source>Check now</source>
        <translation>Comprobar ahora</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>Privacidad</translation>
    </message>
    <message>
        <source>Recordings are only read on this computer and never uploaded. The network is used only to check for updates.</source>
        <translation>Las grabaciones solo se leen en este equipo y nunca se suben. La red solo se usa para buscar actualizaciones.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (versión de prueba interna)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Open-source licenses...</source>
        <translation>Licencias de código abierto...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Automatic (recommended)</source>
        <translation>Automático (recomendado)</translation>
    </message>
    <message>
        <source>Graphics card only</source>
        <translation>Solo tarjeta gráfica</translation>
    </message>
    <message>
        <source>Analyse recordings in the background</source>
        <translation>Analizar las grabaciones en segundo plano</translation>
    </message>
</context>
<context>
    <name>ShortcutSheet</name>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Atajos de teclado</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>SidePanel</name>
    <message>
        <source>Events (%1)</source>
        <translation>Eventos (%1)</translation>
    </message>
    <message>
        <source>All types</source>
        <translation>Todos los tipos</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Movimiento</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Sonido</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Llanto</translation>
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
        <translation>%1 · Eventos del día · Clic para ir</translation>
    </message>
    <message>
        <source>%1 · Events today</source>
        <translation>%1 · Eventos del día</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Marcadores</translation>
    </message>
</context>
<context>
    <name>SkipStill</name>
    <message>
        <source>Skipped %1 of still video</source>
        <translation>Se omitieron %1 de vídeo sin movimiento</translation>
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
        <translation>Salto a %1 (fotograma clave, ajustado %2 %3 s)</translation>
    </message>
    <message>
        <source>Landed %1</source>
        <translation>Salto a %1</translation>
    </message>
    <message>
        <source>%1  Recording file not found</source>
        <translation>%1  No se encuentra el archivo de grabación</translation>
    </message>
</context>
<context>
    <name>TimelinePanel</name>
    <message>
        <source>Recording timeline</source>
        <translation>Línea de tiempo de grabaciones</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Hora de la cámara</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Este equipo</translation>
    </message>
    <message>
        <source>Current time</source>
        <translation>Hora actual</translation>
    </message>
    <message>
        <source>Exporting…</source>
        <translation>Exportando…</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>Cerrar exportación</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportar</translation>
    </message>
    <message>
        <source>The recording file for %1 is not in this folder</source>
        <translation>El archivo de grabación de las %1 no está en esta carpeta</translation>
    </message>
    <message>
        <source>No recordings after this time</source>
        <translation>No hay grabaciones después de esta hora</translation>
    </message>
    <message>
        <source>Snap to keyframes</source>
        <translation>Ajustar a fotogramas clave</translation>
    </message>
    <message>
        <source>Hold Alt while dragging to skip snapping</source>
        <translation>Mantenga pulsado Alt al arrastrar para no ajustar</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Grabación</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Evento</translation>
    </message>
    <message>
        <source>No recording</source>
        <translation>Sin grabación</translation>
    </message>
    <message>
        <source>File missing</source>
        <translation>Falta el archivo</translation>
    </message>
    <message>
        <source>Wheel: zoom · drag: seek · click empty space: next recording</source>
        <translation>Rueda: zoom · arrastrar: desplazarse · clic en vacío: grabación siguiente</translation>
    </message>
    <message>
        <source>Shift+drag: select a range to export</source>
        <translation>Mayús+arrastrar: seleccionar un intervalo para exportar</translation>
    </message>
    <message>
        <source>. and ,: one frame forward or back</source>
        <translation>. y ,: un fotograma adelante o atrás</translation>
    </message>
    <message>
        <source>Analysing… %1 %</source>
        <translation>Analizando… %1 %</translation>
    </message>
</context>
<context>
    <name>TransportBar</name>
    <message>
        <source>Previous recording</source>
        <translation>Grabación anterior</translation>
    </message>
    <message>
        <source>Pause (Space)</source>
        <translation>Pausa (Espacio)</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>Reproducir (Espacio)</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>Grabación siguiente</translation>
    </message>
    <message>
        <source>Pause and show the next frame (.)</source>
        <translation>Pausar y mostrar el fotograma siguiente (.)</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>Captura</translation>
    </message>
    <message>
        <source>Screenshot saved: %1</source>
        <translation>Captura guardada: %1</translation>
    </message>
    <message>
        <source>Screenshot failed</source>
        <translation>No se pudo hacer la captura</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>Activar sonido</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Silenciar</translation>
    </message>
    <message>
        <source>Continuous play</source>
        <translation>Reproducción continua</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>Reproducir la grabación siguiente</translation>
    </message>
    <message>
        <source>Back one frame (,)</source>
        <translation>Fotograma anterior (,)</translation>
    </message>
    <message>
        <source>Events only</source>
        <translation>Solo eventos</translation>
    </message>
    <message>
        <source>Play only the events, one after another (E)</source>
        <translation>Reproducir solo los eventos, uno tras otro (E)</translation>
    </message>
    <message>
        <source>Skip still parts</source>
        <translation>Omitir partes quietas</translation>
    </message>
    <message>
        <source>Jump over the stretches where nothing moves or sounds</source>
        <translation>Saltar los tramos en los que nada se mueve ni suena</translation>
    </message>
    <message>
        <source>Bookmark (B)</source>
        <translation>Marcador (B)</translation>
    </message>
</context>
<context>
    <name>UpdateBanner</name>
    <message>
        <source>NIVRA Player %1 is available.</source>
        <translation>NIVRA Player %1 está disponible.</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>Descargar...</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Omitir esta versión</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>No update address is set in this build.</source>
        <translation>Esta compilación no tiene ninguna dirección de actualización.</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Comprobando…</translation>
    </message>
    <message>
        <source>Could not check for updates (%1).</source>
        <translation>No se pudo buscar actualizaciones (%1).</translation>
    </message>
    <message>
        <source>The update information could not be read.</source>
        <translation>No se pudo leer la información de actualización.</translation>
    </message>
    <message>
        <source>Version %1 is available.</source>
        <translation>La versión %1 está disponible.</translation>
    </message>
    <message>
        <source>You have the latest version.</source>
        <translation>Ya tiene la versión más reciente.</translation>
    </message>
</context>
<context>
    <name>VideoPanel</name>
    <message>
        <source>Playing</source>
        <translation>Reproduciendo</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>En pausa</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>Reproducir (Espacio)</translation>
    </message>
    <message>
        <source>Unable to play this video</source>
        <translation>No se puede reproducir este vídeo</translation>
    </message>
    <message>
        <source>Could not open the recordings</source>
        <translation>No se pudieron abrir las grabaciones</translation>
    </message>
    <message>
        <source>Every moment that matters, all in one place</source>
        <translation>Cada momento importante, todo en un mismo lugar</translation>
    </message>
    <message>
        <source>Recording files are missing</source>
        <translation>Faltan archivos de grabación</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>No hay grabaciones este día</translation>
    </message>
    <message>
        <source>Open an SD card or recording folder to review recordings on this computer.</source>
        <translation>Abra una tarjeta SD o una carpeta de grabaciones para revisarlas en este equipo.</translation>
    </message>
    <message>
        <source>The index contains recordings for this day, but their video files are not in this folder.</source>
        <translation>El índice contiene grabaciones de este día, pero sus archivos de vídeo no están en esta carpeta.</translation>
    </message>
    <message>
        <source>Select a date with a recording marker in the calendar.</source>
        <translation>Seleccione en el calendario una fecha marcada con grabación.</translation>
    </message>
    <message>
        <source>%1. Updating the graphics driver may help.</source>
        <translation>%1. Actualizar el controlador gráfico puede ayudar.</translation>
    </message>
    <message>
        <source>Without the graphics card, Windows can only decode this H.265 recording with Microsoft&apos;s HEVC Video Extensions from the Microsoft Store.</source>
        <translation>Sin la tarjeta gráfica, Windows solo puede decodificar esta grabación H.265 con las Extensiones de vídeo HEVC de Microsoft, disponibles en Microsoft Store.</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>Abrir tarjeta SD / carpeta</translation>
    </message>
    <message>
        <source>View a date with recordings</source>
        <translation>Ver una fecha con grabaciones</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>Elegir otra carpeta</translation>
    </message>
    <message>
        <source>Open Microsoft Store</source>
        <translation>Abrir Microsoft Store</translation>
    </message>
    <message>
        <source>Decode in software</source>
        <translation>Decodificar por software</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Reintentar</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Configuración...</translation>
    </message>
    <message>
        <source>Software decoding works on any computer but uses much more processor time.</source>
        <translation>La decodificación por software funciona en cualquier equipo, pero usa mucho más procesador.</translation>
    </message>
    <message>
        <source>Drag a rectangle over the part of the picture to search (Esc cancels)</source>
        <translation>Arrastre un rectángulo sobre la parte de la imagen que quiere buscar (Esc cancela)</translation>
    </message>
    <message>
        <source>Find changes in an area</source>
        <translation>Buscar cambios en una zona</translation>
    </message>
</context>
<context>
    <name>nivra::Bookmarks</name>
    <message>
        <source>The bookmarks of this card could not be read and were set aside.</source>
        <translation>Los marcadores de esta tarjeta no se pudieron leer y se apartaron.</translation>
    </message>
    <message numerus="yes">
        <source>%n bookmark(s) of this card could not be read and were left out.</source>
        <translation>
            <numerusform>%n marcador de esta tarjeta no se pudo leer y se omitió.</numerusform>
            <numerusform>%n marcadores de esta tarjeta no se pudieron leer y se omitieron.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>nivra::CardSession</name>
    <message>
        <source>No recordings found. Choose the SD card or the recording folder.</source>
        <translation>No se encontraron grabaciones. Elija la tarjeta SD o la carpeta de grabaciones.</translation>
    </message>
    <message>
        <source>The recording index is damaged and cannot be read.</source>
        <translation>El índice de grabaciones está dañado y no se puede leer.</translation>
    </message>
    <message>
        <source>The recording format is newer than this program. Please update NIVRA Player.</source>
        <translation>El formato de grabación es más reciente que este programa. Actualice NIVRA Player.</translation>
    </message>
    <message>
        <source>These recordings were made by old camera firmware and are not supported.</source>
        <translation>Estas grabaciones se hicieron con un firmware de cámara antiguo y no son compatibles.</translation>
    </message>
    <message>
        <source>The recordings cannot be read (%1).</source>
        <translation>No se pueden leer las grabaciones (%1).</translation>
    </message>
    <message>
        <source>AAC (raw)</source>
        <translation>AAC (sin procesar)</translation>
    </message>
    <message>
        <source>unknown audio format</source>
        <translation>formato de audio desconocido</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>sin audio</translation>
    </message>
    <message>
        <source>This user may not read %1, so the card cannot be read. Check the permissions of the card&apos;s files and folders (the card itself is not damaged).</source>
        <translation>Este usuario no puede leer %1, así que la tarjeta no se puede leer. Compruebe los permisos de los archivos y carpetas de la tarjeta (la tarjeta no está dañada).</translation>
    </message>
</context>
<context>
    <name>nivra::ExportJob</name>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>No se puede crear la carpeta %1</translation>
    </message>
    <message>
        <source>The audio format of these recordings is not supported: the files have no sound.</source>
        <translation>El formato de audio de estas grabaciones no es compatible: los archivos no tendrán sonido.</translation>
    </message>
    <message>
        <source>MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out.</source>
        <translation>MP4 no puede conservar el audio G.711 de estas grabaciones. Exporte como MOV o sin audio.</translation>
    </message>
    <message>
        <source>Cannot write %1. Check that the folder is writable and the disk has enough space.</source>
        <translation>No se puede escribir %1. Compruebe que la carpeta admite escritura y que el disco tiene espacio suficiente.</translation>
    </message>
    <message>
        <source>The video format of these recordings is not recognised.</source>
        <translation>No se reconoce el formato de vídeo de estas grabaciones.</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>No se pudieron leer las grabaciones. ¿Sigue conectada la tarjeta?</translation>
    </message>
    <message>
        <source>Export failed (%1).</source>
        <translation>Error en la exportación (%1).</translation>
    </message>
    <message>
        <source>Damaged frames left out: %1.</source>
        <translation>Fotogramas dañados omitidos: %1.</translation>
    </message>
    <message>
        <source>This folder is on the card, which is never written to. Choose a folder elsewhere.</source>
        <translation>Esta carpeta está en la tarjeta, en la que nunca se escribe. Elija una carpeta en otro lugar.</translation>
    </message>
    <message>
        <source>Not written whole (the recordings are damaged or could not be read):</source>
        <translation>No se escribió completo (las grabaciones están dañadas o no se pudieron leer):</translation>
    </message>
    <message>
        <source>%1 – %2: %3 of %4 written</source>
        <translation>%1 – %2: %3 de %4 escritos</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>y %n más</numerusform>
            <numerusform>y %n más</numerusform>
        </translation>
    </message>
    <message>
        <source>Evidence package</source>
        <translation>Paquete de pruebas</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Tarjeta</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Carpeta</translation>
    </message>
    <message>
        <source>Formatted</source>
        <translation>Formateada</translation>
    </message>
    <message>
        <source>Card identity</source>
        <translation>Identidad de la tarjeta</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Intervalo</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Hora de la cámara</translation>
    </message>
    <message>
        <source>This computer&apos;s time</source>
        <translation>Hora de este ordenador</translation>
    </message>
    <message>
        <source>Exported files</source>
        <translation>Archivos exportados</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Duración</translation>
    </message>
    <message>
        <source>Copied from the card&apos;s files</source>
        <translation>Copiado de los archivos de la tarjeta</translation>
    </message>
    <message>
        <source>Events and bookmarks</source>
        <translation>Eventos y marcadores</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
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
        <translation>Marcador</translation>
    </message>
    <message>
        <source>Start of the range</source>
        <translation>Inicio del intervalo</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguno</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Sin imagen</translation>
    </message>
    <message>
        <source>Made by</source>
        <translation>Creado con</translation>
    </message>
    <message>
        <source>Made at</source>
        <translation>Creado el</translation>
    </message>
    <message>
        <source>Check the files with: sha256sum -c SHA256SUMS</source>
        <translation>Compruebe los archivos con: sha256sum -c SHA256SUMS</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Movimiento</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Sonido</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Llanto</translation>
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
        <translation>No se escribió ningún paquete de pruebas: los archivos no contienen todo el intervalo.</translation>
    </message>
    <message>
        <source>The evidence package could not be written (%1).</source>
        <translation>No se pudo escribir el paquete de pruebas (%1).</translation>
    </message>
    <message>
        <source>%1 is too long for a copy of %2 MB. Choose a shorter range or a larger size.</source>
        <translation>%1 es demasiado largo para una copia de %2 MB. Elija un intervalo más corto o un tamaño mayor.</translation>
    </message>
    <message>
        <source>The video could not be re-coded (%1).</source>
        <translation>No se pudo recodificar el vídeo (%1).</translation>
    </message>
</context>
</TS>
