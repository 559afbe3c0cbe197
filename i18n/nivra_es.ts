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
    <name>DecodeWorker</name>
    <message>
        <source>Cannot read the recordings.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Decoder</name>
    <message>
        <source>This video could not be decoded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your graphics card cannot decode this video.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This video format is not supported.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimelineItem</name>
    <message>
        <source>Landed %1 (keyframe, snapped %2 %3 s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Landed %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1  Recording file not found</source>
        <translation type="unfinished"></translation>
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
    <name>nivra::CardSession</name>
    <message>
        <source>No recordings found. Choose the SD card or the recording folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recording index is damaged and cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recording format is newer than this program. Please update NIVRA Player.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These recordings were made by old camera firmware and are not supported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recordings cannot be read (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AAC (raw)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown audio format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no audio</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>nivra::ExportJob</name>
    <message>
        <source>Cannot create the folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The audio format of these recordings is not supported: the files have no sound.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1. Check that the folder is writable and the disk has enough space.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video format of these recordings is not recognised.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export failed (%1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
