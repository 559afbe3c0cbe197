<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AppSettings</name>
    <message>
        <source>Could not ask the graphics card (%1)</source>
        <translation>Impossible d’interroger la carte graphique (%1)</translation>
    </message>
    <message>
        <source>%1 decodes neither H.265 nor H.264</source>
        <translation>%1 ne décode ni H.265 ni H.264</translation>
    </message>
    <message>
        <source>%1 decodes %2</source>
        <translation>%1 décode %2</translation>
    </message>
</context>
<context>
    <name>AppStatusBar</name>
    <message>
        <source>reading %1 @ 0x%2</source>
        <translation>lecture %1 @ 0x%2</translation>
    </message>
    <message>
        <source>decoding %1</source>
        <translation>décodage %1</translation>
    </message>
    <message>
        <source>audio</source>
        <translation>audio</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>sans audio</translation>
    </message>
    <message>
        <source>buffer %1 s</source>
        <translation>tampon %1 s</translation>
    </message>
    <message>
        <source>Read-only · Recordings stay on this computer</source>
        <translation>Lecture seule · Les enregistrements restent sur cet ordinateur</translation>
    </message>
    <message>
        <source>Waiting for a recording</source>
        <translation>En attente d’un enregistrement</translation>
    </message>
    <message>
        <source>Recording files missing</source>
        <translation>Fichiers d’enregistrement manquants</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Aucun enregistrement ce jour-là</translation>
    </message>
    <message numerus="yes">
        <source>%n events today · Click an event to seek</source>
        <translation>
            <numerusform>%n événement ce jour · Cliquez sur un événement pour y aller</numerusform>
            <numerusform>%n événements ce jour · Cliquez sur un événement pour y aller</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events today</source>
        <translation>
            <numerusform>%n événement ce jour</numerusform>
            <numerusform>%n événements ce jour</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AppToolBar</name>
    <message>
        <source>formatted %1</source>
        <translation>formatée le %1</translation>
    </message>
    <message>
        <source>recordings %1 ~ %2</source>
        <translation>enregistrements du %1 au %2</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>sans audio</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>Ouvrir une carte SD / un dossier</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Time: recording location</source>
        <translation>Heure du lieu filmé</translation>
    </message>
    <message>
        <source>Time: this computer</source>
        <translation>Heure de cet ordinateur</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message numerus="yes">
        <source>%n segments × %1 MB</source>
        <translation>
            <numerusform>%n segment × %1 Mo</numerusform>
            <numerusform>%n segments × %1 Mo</numerusform>
        </translation>
    </message>
    <message>
        <source>not found</source>
        <translation>introuvable</translation>
    </message>
    <message>
        <source>Recently opened</source>
        <translation>Ouverts récemment</translation>
    </message>
    <message>
        <source>No cards opened yet</source>
        <translation>Aucune carte ouverte pour l’instant</translation>
    </message>
    <message>
        <source>open now</source>
        <translation>ouverte</translation>
    </message>
    <message>
        <source>Clear list</source>
        <translation>Effacer la liste</translation>
    </message>
</context>
<context>
    <name>AreaChanges</name>
    <message>
        <source>Lighting change</source>
        <translation>Changement d’éclairage</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Changement</translation>
    </message>
    <message>
        <source>Duration %1</source>
        <translation>Durée %1</translation>
    </message>
    <message>
        <source>%1 % of the area · %2</source>
        <translation>%1 % de la zone · %2</translation>
    </message>
    <message>
        <source>Changes in the area (%1)</source>
        <translation>Changements dans la zone (%1)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>Sensibilité</translation>
    </message>
    <message>
        <source>Lighting</source>
        <translation>Éclairage</translation>
    </message>
    <message>
        <source>Nothing changed in this area. Raise the sensitivity to see smaller changes</source>
        <translation>Rien n’a changé dans cette zone. Augmentez la sensibilité pour voir de plus petits changements</translation>
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
        <translation>Signet à %1</translation>
    </message>
    <message>
        <source>Note of the bookmark at %1</source>
        <translation>Note du signet à %1</translation>
    </message>
    <message>
        <source>Note (optional)</source>
        <translation>Note (facultative)</translation>
    </message>
    <message>
        <source>Add bookmark</source>
        <translation>Ajouter le signet</translation>
    </message>
    <message>
        <source>Keep note</source>
        <translation>Garder la note</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
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
        <translation>Enregistrements</translation>
    </message>
    <message>
        <source>Events</source>
        <translation>Événements</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>Sélection</translation>
    </message>
</context>
<context>
    <name>CardPicker</name>
    <message numerus="yes">
        <source>This folder holds %n card(s). Which one do you want to open?</source>
        <translation>
            <numerusform>Ce dossier contient %n carte. Laquelle voulez-vous ouvrir ?</numerusform>
            <numerusform>Ce dossier contient %n cartes. Laquelle voulez-vous ouvrir ?</numerusform>
        </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
</context>
<context>
    <name>DecodeWorker</name>
    <message>
        <source>Cannot read the recordings.</source>
        <translation>Impossible de lire les enregistrements.</translation>
    </message>
</context>
<context>
    <name>Decoder</name>
    <message>
        <source>This video could not be decoded.</source>
        <translation>Impossible de décoder cette vidéo.</translation>
    </message>
    <message>
        <source>Your graphics card cannot decode this video.</source>
        <translation>Votre carte graphique ne peut pas décoder cette vidéo.</translation>
    </message>
    <message>
        <source>This video format is not supported.</source>
        <translation>Ce format vidéo n’est pas pris en charge.</translation>
    </message>
    <message>
        <source>Windows could not decode this video (%1).</source>
        <translation>Windows n’a pas pu décoder cette vidéo (%1).</translation>
    </message>
    <message>
        <source>Windows needs Microsoft&apos;s HEVC Video Extensions to decode H.265 without the graphics card. Install them from the Microsoft Store, then try again.</source>
        <translation>Pour décoder le H.265 sans la carte graphique, Windows a besoin des Extensions vidéo HEVC de Microsoft. Installez-les depuis le Microsoft Store, puis réessayez.</translation>
    </message>
    <message>
        <source>Windows has no decoder for this video format.</source>
        <translation>Windows n’a aucun décodeur pour ce format vidéo.</translation>
    </message>
</context>
<context>
    <name>EventList</name>
    <message>
        <source>Open an SD card or recording folder to see events</source>
        <translation>Ouvrez une carte SD ou un dossier d’enregistrements pour voir les événements</translation>
    </message>
    <message>
        <source>The recording index exists, but the video files are not in this folder</source>
        <translation>L’index des enregistrements existe, mais les fichiers vidéo ne sont pas dans ce dossier</translation>
    </message>
    <message>
        <source>Select a date with recordings</source>
        <translation>Sélectionnez une date avec des enregistrements</translation>
    </message>
    <message>
        <source>No events on this day. Use the timeline to browse recordings</source>
        <translation>Aucun événement ce jour-là. Parcourez les enregistrements avec la frise chronologique</translation>
    </message>
    <message>
        <source>No events match this filter</source>
        <translation>Aucun événement ne correspond à ce filtre</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Mouvement</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Son</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Pleurs</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Personne</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Événement</translation>
    </message>
    <message>
        <source>Duration %1 s</source>
        <translation>Durée %1 s</translation>
    </message>
    <message>
        <source>Duration %1 min %2 s</source>
        <translation>Durée %1 min %2 s</translation>
    </message>
    <message>
        <source>recording file missing</source>
        <translation>fichier d’enregistrement manquant</translation>
    </message>
    <message>
        <source>Clear filter</source>
        <translation>Effacer le filtre</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>Signet</translation>
    </message>
    <message>
        <source>Edit note…</source>
        <translation>Modifier la note…</translation>
    </message>
    <message>
        <source>Delete bookmark</source>
        <translation>Supprimer le signet</translation>
    </message>
    <message>
        <source>No note</source>
        <translation>Pas de note</translation>
    </message>
</context>
<context>
    <name>EventsOnly</name>
    <message>
        <source>No more events</source>
        <translation>Aucun autre événement</translation>
    </message>
    <message>
        <source>Next event %1</source>
        <translation>Événement suivant %1</translation>
    </message>
</context>
<context>
    <name>ExportPanel</name>
    <message>
        <source>Choose where to save the exported files.</source>
        <translation>Choisissez où enregistrer les fichiers exportés.</translation>
    </message>
    <message>
        <source>Not enough free space: %1 left on this drive</source>
        <translation>Espace insuffisant : %1 restant sur ce disque</translation>
    </message>
    <message>
        <source>Recorded %1</source>
        <translation>Enregistré %1</translation>
    </message>
    <message>
        <source>Skip gaps %1</source>
        <translation>Interruptions %1</translation>
    </message>
    <message>
        <source>Missing files %1</source>
        <translation>Fichiers manquants %1</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>env. %1</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>sans audio</translation>
    </message>
    <message>
        <source>Enter a valid time, for example 14:30:00.</source>
        <translation>Saisissez une heure valide, par exemple 14:30:00.</translation>
    </message>
    <message>
        <source>End time must be later than start time.</source>
        <translation>L’heure de fin doit être postérieure à l’heure de début.</translation>
    </message>
    <message>
        <source>There is no recording in this range. Adjust the selection.</source>
        <translation>Aucun enregistrement dans cette plage. Modifiez la sélection.</translation>
    </message>
    <message>
        <source>Export cancelled</source>
        <translation>Exportation annulée</translation>
    </message>
    <message>
        <source>Nothing to export in this range</source>
        <translation>Rien à exporter dans cette plage</translation>
    </message>
    <message>
        <source>Save the exported files to</source>
        <translation>Enregistrer les fichiers exportés dans</translation>
    </message>
    <message>
        <source>Export video</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>Fewer options</source>
        <translation>Moins d’options</translation>
    </message>
    <message>
        <source>More options</source>
        <translation>Plus d’options</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>Début</translation>
    </message>
    <message>
        <source>End time</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>MOV · Recommended</source>
        <translation>MOV · Recommandé</translation>
    </message>
    <message>
        <source>Supports AAC, G.711 and silent recordings</source>
        <translation>Pour l’AAC, le G.711 et les enregistrements sans son</translation>
    </message>
    <message>
        <source>MP4</source>
        <translation>MP4</translation>
    </message>
    <message>
        <source>MP4 is unavailable for this G.711 audio recording</source>
        <translation>MP4 indisponible pour cet enregistrement avec son G.711</translation>
    </message>
    <message>
        <source>For AAC audio or silent recordings</source>
        <translation>Pour le son AAC ou les enregistrements sans son</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>Interruptions</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>Fichiers séparés</translation>
    </message>
    <message>
        <source>Save each recorded interval as a separate file</source>
        <translation>Enregistrer chaque intervalle dans un fichier distinct</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>Un seul fichier</translation>
    </message>
    <message>
        <source>Skip gaps and merge recordings in chronological order</source>
        <translation>Ignorer les interruptions et fusionner dans l’ordre chronologique</translation>
    </message>
    <message>
        <source>Export the selected recording range</source>
        <translation>Exporter la plage d’enregistrement sélectionnée</translation>
    </message>
    <message>
        <source>MOV is required to preserve the G.711 audio in this recording.</source>
        <translation>Seul le MOV conserve le son G.711 de cet enregistrement.</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>environ %1 restant</translation>
    </message>
    <message>
        <source>Cancel export</source>
        <translation>Annuler l’exportation</translation>
    </message>
    <message>
        <source>Show in folder</source>
        <translation>Afficher dans le dossier</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Enregistrer dans</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Parcourir...</translation>
    </message>
    <message>
        <source>Leave the audio out</source>
        <translation>Exporter sans le son</translation>
    </message>
    <message>
        <source>Copied as recorded (%1), not converted</source>
        <translation>Copié sans conversion (%1)</translation>
    </message>
    <message>
        <source>Starts at the key frame %1</source>
        <translation>Commence à l’image clé %1</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Fichiers</translation>
    </message>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n fichier</numerusform>
            <numerusform>%n fichiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) exported</source>
        <translation>
            <numerusform>%n fichier exporté</numerusform>
            <numerusform>%n fichiers exportés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Export cancelled. The %n finished file(s) were kept.</source>
        <translation>
            <numerusform>Exportation annulée. %n fichier terminé a été conservé.</numerusform>
            <numerusform>Exportation annulée. %n fichiers terminés ont été conservés.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>… and %n more</source>
        <translation>
            <numerusform>… et %n de plus</numerusform>
            <numerusform>… et %n de plus</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n event(s)</source>
        <translation>
            <numerusform>%n événement</numerusform>
            <numerusform>%n événements</numerusform>
        </translation>
    </message>
    <message>
        <source>No events of the chosen types on this day.</source>
        <translation>Aucun événement des types choisis ce jour-là.</translation>
    </message>
    <message>
        <source>Events of this day</source>
        <translation>Événements de ce jour</translation>
    </message>
    <message>
        <source>Each event of the types the event list shows, as a file of its own</source>
        <translation>Chaque événement des types affichés dans la liste, dans un fichier à part</translation>
    </message>
    <message>
        <source>Before and after each event</source>
        <translation>Avant et après chaque événement</translation>
    </message>
    <message>
        <source>No padding</source>
        <translation>Sans marge</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Just the events</source>
        <translation>Seulement les événements</translation>
    </message>
    <message>
        <source>%1 s before and after</source>
        <translation>%1 s avant et après</translation>
    </message>
    <message>
        <source>Export each event as a file of its own</source>
        <translation>Exporter chaque événement dans un fichier à part</translation>
    </message>
    <message>
        <source>In this time mode the range crosses midnight: the part on this day stays selected.</source>
        <translation>Dans ce mode d’heure, la plage passe minuit : la partie de ce jour reste sélectionnée.</translation>
    </message>
    <message>
        <source>In this time mode the range lies on another day: select it again.</source>
        <translation>Dans ce mode d’heure, la plage tombe un autre jour : sélectionnez-la de nouveau.</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>Fermer l’exportation</translation>
    </message>
    <message>
        <source>Camera time as subtitles</source>
        <translation>Heure de la caméra en sous-titres</translation>
    </message>
    <message>
        <source>Evidence package (report and SHA-256 hashes)</source>
        <translation>Dossier de preuve (rapport et empreintes SHA-256)</translation>
    </message>
    <message>
        <source>Burn in the time</source>
        <translation>Incruster l’heure</translation>
    </message>
    <message>
        <source>Smaller copy for sharing</source>
        <translation>Copie plus légère à partager</translation>
    </message>
    <message>
        <source>under %1 MB</source>
        <translation>moins de %1 Mo</translation>
    </message>
    <message>
        <source>Re-coded as H.264 at 720p with AAC sound, in one MP4 under %1 MB</source>
        <translation>Réencodé en H.264 720p avec son AAC, en un MP4 de moins de %1 Mo</translation>
    </message>
    <message>
        <source>the time drawn in</source>
        <translation>avec l’heure incrustée</translation>
    </message>
    <message>
        <source>Re-coded as H.264 with the time drawn in; this takes longer than a copy</source>
        <translation>Réencodé en H.264 avec l’heure incrustée ; plus long qu’une copie</translation>
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
        <translation>%1 Go</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
</context>
<context>
    <name>KeyMap</name>
    <message>
        <source>Space</source>
        <translation>Espace</translation>
    </message>
    <message>
        <source>Play or pause (K: pause at 1×)</source>
        <translation>Lecture ou pause (K : pause à 1×)</translation>
    </message>
    <message>
        <source>Play; again: twice as fast, up to 16×</source>
        <translation>Lecture ; encore : deux fois plus vite, jusqu’à 16×</translation>
    </message>
    <message>
        <source>Rewind; again: twice as fast, up to 16×</source>
        <translation>Retour rapide ; encore : deux fois plus vite, jusqu’à 16×</translation>
    </message>
    <message>
        <source>Slower, faster</source>
        <translation>Plus lent, plus rapide</translation>
    </message>
    <message>
        <source>Back, forward 5 s</source>
        <translation>Reculer, avancer de 5 s</translation>
    </message>
    <message>
        <source>Back, forward one picture</source>
        <translation>Image précédente, suivante</translation>
    </message>
    <message>
        <source>Page Up</source>
        <translation>Page préc.</translation>
    </message>
    <message>
        <source>Page Down</source>
        <translation>Page suiv.</translation>
    </message>
    <message>
        <source>Previous, next event</source>
        <translation>Événement précédent, suivant</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Début</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>First, last recording of the day</source>
        <translation>Premier, dernier enregistrement du jour</translation>
    </message>
    <message>
        <source>Events only on or off</source>
        <translation>Événements seuls : activer ou désactiver</translation>
    </message>
    <message>
        <source>Export from, to the shown picture</source>
        <translation>Exporter depuis, jusqu’à l’image affichée</translation>
    </message>
    <message>
        <source>Save a screenshot</source>
        <translation>Enregistrer une capture d’écran</translation>
    </message>
    <message>
        <source>Mute or unmute</source>
        <translation>Couper ou rétablir le son</translation>
    </message>
    <message>
        <source>Full screen (Esc leaves it)</source>
        <translation>Plein écran (Échap pour quitter)</translation>
    </message>
    <message>
        <source>Zoom the timeline in, out</source>
        <translation>Zoomer, dézoomer la frise</translation>
    </message>
    <message>
        <source>Whole picture (after zooming it)</source>
        <translation>Image entière (après un zoom)</translation>
    </message>
    <message>
        <source>Close the export editor, a menu or a dialog</source>
        <translation>Fermer l’éditeur d’exportation, un menu ou une boîte de dialogue</translation>
    </message>
    <message>
        <source>Next control (Shift+Tab: previous)</source>
        <translation>Commande suivante (Maj+Tab : précédente)</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Open an SD card or folder</source>
        <translation>Ouvrir une carte SD ou un dossier</translation>
    </message>
    <message>
        <source>Ctrl+,</source>
        <translation>Ctrl+,</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>This list</source>
        <translation>Cette liste</translation>
    </message>
    <message>
        <source>No more events</source>
        <translation>Aucun autre événement</translation>
    </message>
    <message>
        <source>This is the first event</source>
        <translation>C’est le premier événement</translation>
    </message>
    <message>
        <source>End the search in an area</source>
        <translation>Terminer la recherche dans une zone</translation>
    </message>
    <message>
        <source>Bookmark the shown picture</source>
        <translation>Mettre un signet sur l&apos;image affichée</translation>
    </message>
</context>
<context>
    <name>LicensesDialog</name>
    <message>
        <source>Open-source licenses</source>
        <translation>Licences open source</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (version de test interne)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Skipped empty %1 → %2</source>
        <translation>Interruption ignorée %1 → %2</translation>
    </message>
    <message>
        <source>End of recording at %1</source>
        <translation>Fin de l’enregistrement à %1</translation>
    </message>
    <message>
        <source>No more recordings</source>
        <translation>Aucun autre enregistrement</translation>
    </message>
    <message>
        <source>The recording files for this day are not in this folder</source>
        <translation>Les fichiers d’enregistrement de ce jour ne sont pas dans ce dossier</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Aucun enregistrement ce jour-là</translation>
    </message>
    <message>
        <source>This is the first recording</source>
        <translation>C’est le premier enregistrement</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>%1 restant</translation>
    </message>
    <message>
        <source>Choose the SD card or the recording folder</source>
        <translation>Choisissez la carte SD ou le dossier d’enregistrements</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>La lecture des enregistrements a échoué. La carte est-elle toujours connectée ?</translation>
    </message>
    <message>
        <source>Sound output is not available</source>
        <translation>Sortie audio indisponible</translation>
    </message>
    <message>
        <source>No recordings found in %1</source>
        <translation>Aucun enregistrement trouvé dans %1</translation>
    </message>
</context>
<context>
    <name>QuitConfirm</name>
    <message>
        <source>An export is running</source>
        <translation>Une exportation est en cours</translation>
    </message>
    <message>
        <source>Quitting cancels the export. Files already finished are kept.</source>
        <translation>Quitter annule l’exportation. Les fichiers déjà terminés sont conservés.</translation>
    </message>
    <message>
        <source>Cancel export and quit</source>
        <translation>Annuler et quitter</translation>
    </message>
    <message>
        <source>Keep exporting</source>
        <translation>Continuer l’exportation</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Save the exported files to</source>
        <translation>Enregistrer les fichiers exportés dans</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Interface language</source>
        <translation>Langue de l’interface</translation>
    </message>
    <message>
        <source>Follow the system (%1)</source>
        <translation>Comme le système (%1)</translation>
    </message>
    <message>
        <source>At first start the system language is used; English when it is not available.</source>
        <translation>Au premier lancement, la langue du système est utilisée, sinon l’anglais.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Apparence</translation>
    </message>
    <message>
        <source>Follow the system</source>
        <translation>Comme le système</translation>
    </message>
    <message>
        <source>Cloud White</source>
        <translation>Blanc nuage</translation>
    </message>
    <message>
        <source>Nightfall</source>
        <translation>Crépuscule</translation>
    </message>
    <message>
        <source>Time display</source>
        <translation>Affichage de l’heure</translation>
    </message>
    <message>
        <source>Recording location (recommended)</source>
        <translation>Lieu d’enregistrement (recommandé)</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Cet ordinateur</translation>
    </message>
    <message>
        <source>Date and time format</source>
        <translation>Format de date et d’heure</translation>
    </message>
    <message>
        <source>Follows the system region: %1 · weeks start on %2</source>
        <translation>Selon la région du système : %1 · semaines commençant le %2</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>Enchaîner l’enregistrement suivant</translation>
    </message>
    <message>
        <source>Snap to keyframes (hold Alt to skip)</source>
        <translation>Caler sur les images clés (Alt pour l’éviter)</translation>
    </message>
    <message>
        <source>Video decoding</source>
        <translation>Décodage vidéo</translation>
    </message>
    <message>
        <source>Graphics card only (recommended)</source>
        <translation>Carte graphique uniquement (recommandé)</translation>
    </message>
    <message>
        <source>Graphics card, software if it cannot</source>
        <translation>Carte graphique, sinon logiciel</translation>
    </message>
    <message>
        <source>Software only</source>
        <translation>Logiciel uniquement</translation>
    </message>
    <message>
        <source>%1. Takes effect from the next seek; software decoding uses much more processor time.</source>
        <translation>%1. Effectif au prochain déplacement ; le décodage logiciel sollicite bien plus le processeur.</translation>
    </message>
    <message>
        <source>Software decoding uses the decoders built into Windows; for H.265 they need Microsoft&apos;s HEVC Video Extensions.</source>
        <translation>Le décodage logiciel utilise les décodeurs de Windows ; pour le H.265, il faut les Extensions vidéo HEVC de Microsoft.</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportation</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Parcourir...</translation>
    </message>
    <message>
        <source>Recording gaps</source>
        <translation>Interruptions</translation>
    </message>
    <message>
        <source>Separate files</source>
        <translation>Fichiers séparés</translation>
    </message>
    <message>
        <source>Merge into one file</source>
        <translation>Un seul fichier</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Mises à jour</translation>
    </message>
    <message>
        <source>Check for updates at start-up</source>
        <translation>Rechercher les mises à jour au démarrage</translation>
    </message>
    <message>
        <source>Current version %1 (%2)</source>
        <translation>Version actuelle %1 (%2)</translation>
    </message>
    <message>
        <source>Check now</source>
        <translation>Vérifier</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>Confidentialité</translation>
    </message>
    <message>
        <source>Recordings are only read on this computer and never uploaded. The network is used only to check for updates.</source>
        <translation>Les enregistrements sont lus uniquement sur cet ordinateur et jamais envoyés en ligne. Le réseau sert seulement à rechercher les mises à jour.</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>NIVRA Player (internal test build)</source>
        <translation>NIVRA Player (version de test interne)</translation>
    </message>
    <message>
        <source>NIVRA Player</source>
        <translation>NIVRA Player</translation>
    </message>
    <message>
        <source>Open-source licenses...</source>
        <translation>Licences open source...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Automatic (recommended)</source>
        <translation>Automatique (recommandé)</translation>
    </message>
    <message>
        <source>Graphics card only</source>
        <translation>Carte graphique uniquement</translation>
    </message>
    <message>
        <source>Analyse recordings in the background</source>
        <translation>Analyser les enregistrements en arrière-plan</translation>
    </message>
</context>
<context>
    <name>ShortcutSheet</name>
    <message>
        <source>Keyboard shortcuts</source>
        <translation>Raccourcis clavier</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>SidePanel</name>
    <message>
        <source>Events (%1)</source>
        <translation>Événements (%1)</translation>
    </message>
    <message>
        <source>All types</source>
        <translation>Tous les types</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Mouvement</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Son</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Pleurs</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Personne</translation>
    </message>
    <message>
        <source>%1 · Events today · Click to seek</source>
        <translation>%1 · Événements du jour · Cliquez pour y aller</translation>
    </message>
    <message>
        <source>%1 · Events today</source>
        <translation>%1 · Événements du jour</translation>
    </message>
    <message>
        <source>Bookmarks</source>
        <translation>Signets</translation>
    </message>
</context>
<context>
    <name>SkipStill</name>
    <message>
        <source>Skipped %1 of still video</source>
        <translation>%1 de vidéo immobile sautées</translation>
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
        <translation>Arrivé à %1 (image clé, calé %2 %3 s)</translation>
    </message>
    <message>
        <source>Landed %1</source>
        <translation>Arrivé à %1</translation>
    </message>
    <message>
        <source>%1  Recording file not found</source>
        <translation>%1  Fichier d’enregistrement introuvable</translation>
    </message>
</context>
<context>
    <name>TimelinePanel</name>
    <message>
        <source>Recording timeline</source>
        <translation>Chronologie des enregistrements</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Heure de la caméra</translation>
    </message>
    <message>
        <source>This computer</source>
        <translation>Cet ordinateur</translation>
    </message>
    <message>
        <source>Current time</source>
        <translation>Heure actuelle</translation>
    </message>
    <message>
        <source>Exporting…</source>
        <translation>Exportation…</translation>
    </message>
    <message>
        <source>Close export</source>
        <translation>Fermer l’exportation</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>The recording file for %1 is not in this folder</source>
        <translation>Le fichier d’enregistrement de %1 n’est pas dans ce dossier</translation>
    </message>
    <message>
        <source>No recordings after this time</source>
        <translation>Aucun enregistrement après cette heure</translation>
    </message>
    <message>
        <source>Snap to keyframes</source>
        <translation>Caler sur images clés</translation>
    </message>
    <message>
        <source>Hold Alt while dragging to skip snapping</source>
        <translation>Maintenez Alt en faisant glisser pour ne pas caler</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Événement</translation>
    </message>
    <message>
        <source>No recording</source>
        <translation>Aucun enregistrement</translation>
    </message>
    <message>
        <source>File missing</source>
        <translation>Fichier manquant</translation>
    </message>
    <message>
        <source>Wheel: zoom · drag: seek · click empty space: next recording</source>
        <translation>Molette : zoom · glisser : déplacer · clic dans le vide : enregistrement suivant</translation>
    </message>
    <message>
        <source>Shift+drag: select a range to export</source>
        <translation>Maj+glisser : sélectionner une plage à exporter</translation>
    </message>
    <message>
        <source>. and ,: one frame forward or back</source>
        <translation>. et , : une image en avant ou en arrière</translation>
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
        <translation>Enregistrement précédent</translation>
    </message>
    <message>
        <source>Pause (Space)</source>
        <translation>Pause (Espace)</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>Lecture (Espace)</translation>
    </message>
    <message>
        <source>Next recording</source>
        <translation>Enregistrement suivant</translation>
    </message>
    <message>
        <source>Pause and show the next frame (.)</source>
        <translation>Pause et image suivante (.)</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>Capture d’écran</translation>
    </message>
    <message>
        <source>Screenshot saved: %1</source>
        <translation>Capture enregistrée : %1</translation>
    </message>
    <message>
        <source>Screenshot failed</source>
        <translation>Échec de la capture</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>Réactiver le son</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Couper le son</translation>
    </message>
    <message>
        <source>Continuous play</source>
        <translation>Lecture continue</translation>
    </message>
    <message>
        <source>Play next chunk</source>
        <translation>Enchaîner l’enregistrement suivant</translation>
    </message>
    <message>
        <source>Back one frame (,)</source>
        <translation>Image précédente (,)</translation>
    </message>
    <message>
        <source>Events only</source>
        <translation>Événements seuls</translation>
    </message>
    <message>
        <source>Play only the events, one after another (E)</source>
        <translation>Lire uniquement les événements, l’un après l’autre (E)</translation>
    </message>
    <message>
        <source>Skip still parts</source>
        <translation>Sauter les passages immobiles</translation>
    </message>
    <message>
        <source>Jump over the stretches where nothing moves or sounds</source>
        <translation>Sauter les passages où rien ne bouge ni ne sonne</translation>
    </message>
    <message>
        <source>Bookmark (B)</source>
        <translation>Signet (B)</translation>
    </message>
</context>
<context>
    <name>UpdateBanner</name>
    <message>
        <source>NIVRA Player %1 is available.</source>
        <translation>NIVRA Player %1 est disponible.</translation>
    </message>
    <message>
        <source>Download...</source>
        <translation>Télécharger...</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Ignorer cette version</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>No update address is set in this build.</source>
        <translation>Aucune adresse de mise à jour n’est définie dans cette version.</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Vérification…</translation>
    </message>
    <message>
        <source>Could not check for updates (%1).</source>
        <translation>Impossible de rechercher des mises à jour (%1).</translation>
    </message>
    <message>
        <source>The update information could not be read.</source>
        <translation>Les informations de mise à jour sont illisibles.</translation>
    </message>
    <message>
        <source>Version %1 is available.</source>
        <translation>La version %1 est disponible.</translation>
    </message>
    <message>
        <source>You have the latest version.</source>
        <translation>Vous disposez de la dernière version.</translation>
    </message>
</context>
<context>
    <name>VideoPanel</name>
    <message>
        <source>Playing</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>En pause</translation>
    </message>
    <message>
        <source>Play (Space)</source>
        <translation>Lecture (Espace)</translation>
    </message>
    <message>
        <source>Unable to play this video</source>
        <translation>Impossible de lire cette vidéo</translation>
    </message>
    <message>
        <source>Could not open the recordings</source>
        <translation>Impossible d’ouvrir les enregistrements</translation>
    </message>
    <message>
        <source>Every moment that matters, all in one place</source>
        <translation>Chaque moment important, réuni au même endroit</translation>
    </message>
    <message>
        <source>Recording files are missing</source>
        <translation>Des fichiers d’enregistrement sont manquants</translation>
    </message>
    <message>
        <source>No recordings on this day</source>
        <translation>Aucun enregistrement ce jour-là</translation>
    </message>
    <message>
        <source>Open an SD card or recording folder to review recordings on this computer.</source>
        <translation>Ouvrez une carte SD ou un dossier d’enregistrements pour les consulter sur cet ordinateur.</translation>
    </message>
    <message>
        <source>The index contains recordings for this day, but their video files are not in this folder.</source>
        <translation>L’index contient des enregistrements pour ce jour, mais leurs fichiers vidéo ne sont pas dans ce dossier.</translation>
    </message>
    <message>
        <source>Select a date with a recording marker in the calendar.</source>
        <translation>Sélectionnez dans le calendrier une date marquée comme enregistrée.</translation>
    </message>
    <message>
        <source>%1. Updating the graphics driver may help.</source>
        <translation>%1. Mettre à jour le pilote graphique peut aider.</translation>
    </message>
    <message>
        <source>Without the graphics card, Windows can only decode this H.265 recording with Microsoft&apos;s HEVC Video Extensions from the Microsoft Store.</source>
        <translation>Sans la carte graphique, Windows ne peut décoder cet enregistrement H.265 qu’avec les Extensions vidéo HEVC de Microsoft, disponibles dans le Microsoft Store.</translation>
    </message>
    <message>
        <source>Open SD card / folder</source>
        <translation>Ouvrir une carte SD / un dossier</translation>
    </message>
    <message>
        <source>View a date with recordings</source>
        <translation>Voir une date avec enregistrements</translation>
    </message>
    <message>
        <source>Choose another folder</source>
        <translation>Choisir un autre dossier</translation>
    </message>
    <message>
        <source>Open Microsoft Store</source>
        <translation>Ouvrir le Microsoft Store</translation>
    </message>
    <message>
        <source>Decode in software</source>
        <translation>Décoder par logiciel</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Réessayer</translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation>Paramètres...</translation>
    </message>
    <message>
        <source>Software decoding works on any computer but uses much more processor time.</source>
        <translation>Le décodage logiciel fonctionne sur tout ordinateur, mais sollicite bien plus le processeur.</translation>
    </message>
    <message>
        <source>Drag a rectangle over the part of the picture to search (Esc cancels)</source>
        <translation>Tracez un rectangle sur la partie de l’image à rechercher (Échap annule)</translation>
    </message>
    <message>
        <source>Find changes in an area</source>
        <translation>Trouver les changements dans une zone</translation>
    </message>
</context>
<context>
    <name>nivra::Bookmarks</name>
    <message>
        <source>The bookmarks of this card could not be read and were set aside.</source>
        <translation>Les signets de cette carte n&apos;ont pas pu être lus et ont été mis de côté.</translation>
    </message>
    <message numerus="yes">
        <source>%n bookmark(s) of this card could not be read and were left out.</source>
        <translation>
            <numerusform>%n signet de cette carte n&apos;a pas pu être lu et a été omis.</numerusform>
            <numerusform>%n signets de cette carte n&apos;ont pas pu être lus et ont été omis.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>nivra::CardSession</name>
    <message>
        <source>No recordings found. Choose the SD card or the recording folder.</source>
        <translation>Aucun enregistrement trouvé. Choisissez la carte SD ou le dossier d’enregistrements.</translation>
    </message>
    <message>
        <source>The recording index is damaged and cannot be read.</source>
        <translation>L’index des enregistrements est endommagé et illisible.</translation>
    </message>
    <message>
        <source>The recording format is newer than this program. Please update NIVRA Player.</source>
        <translation>Le format d’enregistrement est plus récent que ce programme. Veuillez mettre à jour NIVRA Player.</translation>
    </message>
    <message>
        <source>These recordings were made by old camera firmware and are not supported.</source>
        <translation>Ces enregistrements proviennent d’un ancien micrologiciel de caméra et ne sont pas pris en charge.</translation>
    </message>
    <message>
        <source>The recordings cannot be read (%1).</source>
        <translation>Impossible de lire les enregistrements (%1).</translation>
    </message>
    <message>
        <source>AAC (raw)</source>
        <translation>AAC (brut)</translation>
    </message>
    <message>
        <source>unknown audio format</source>
        <translation>format audio inconnu</translation>
    </message>
    <message>
        <source>no audio</source>
        <translation>sans audio</translation>
    </message>
    <message>
        <source>This user may not read %1, so the card cannot be read. Check the permissions of the card&apos;s files and folders (the card itself is not damaged).</source>
        <translation>Cet utilisateur n’a pas le droit de lire %1 : la carte ne peut pas être lue. Vérifiez les autorisations des fichiers et dossiers de la carte (la carte elle-même n’est pas endommagée).</translation>
    </message>
</context>
<context>
    <name>nivra::ExportJob</name>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>Impossible de créer le dossier %1</translation>
    </message>
    <message>
        <source>The audio format of these recordings is not supported: the files have no sound.</source>
        <translation>Le format audio de ces enregistrements n’est pas pris en charge : les fichiers n’auront pas de son.</translation>
    </message>
    <message>
        <source>MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out.</source>
        <translation>Le MP4 ne peut pas conserver le son G.711 de ces enregistrements. Exportez en MOV ou sans le son.</translation>
    </message>
    <message>
        <source>Cannot write %1. Check that the folder is writable and the disk has enough space.</source>
        <translation>Impossible d’écrire %1. Vérifiez que le dossier est accessible en écriture et que le disque a assez d’espace.</translation>
    </message>
    <message>
        <source>The video format of these recordings is not recognised.</source>
        <translation>Le format vidéo de ces enregistrements n’est pas reconnu.</translation>
    </message>
    <message>
        <source>Reading the recordings failed. Is the card still connected?</source>
        <translation>La lecture des enregistrements a échoué. La carte est-elle toujours connectée ?</translation>
    </message>
    <message>
        <source>Export failed (%1).</source>
        <translation>Échec de l’exportation (%1).</translation>
    </message>
    <message>
        <source>Damaged frames left out: %1.</source>
        <translation>Images endommagées ignorées : %1.</translation>
    </message>
    <message>
        <source>This folder is on the card, which is never written to. Choose a folder elsewhere.</source>
        <translation>Ce dossier se trouve sur la carte, sur laquelle rien n’est jamais écrit. Choisissez un autre dossier.</translation>
    </message>
    <message>
        <source>Not written whole (the recordings are damaged or could not be read):</source>
        <translation>Non écrit en entier (les enregistrements sont endommagés ou illisibles) :</translation>
    </message>
    <message>
        <source>%1 – %2: %3 of %4 written</source>
        <translation>%1 – %2 : %3 sur %4 écrits</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>et %n autre</numerusform>
            <numerusform>et %n autres</numerusform>
        </translation>
    </message>
    <message>
        <source>Evidence package</source>
        <translation>Dossier de preuve</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Carte</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>Formatted</source>
        <translation>Formatée</translation>
    </message>
    <message>
        <source>Card identity</source>
        <translation>Identité de la carte</translation>
    </message>
    <message>
        <source>Range</source>
        <translation>Plage</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Heure de la caméra</translation>
    </message>
    <message>
        <source>This computer&apos;s time</source>
        <translation>Heure de cet ordinateur</translation>
    </message>
    <message>
        <source>Exported files</source>
        <translation>Fichiers exportés</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>Copied from the card&apos;s files</source>
        <translation>Copié des fichiers de la carte</translation>
    </message>
    <message>
        <source>Events and bookmarks</source>
        <translation>Événements et signets</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Bookmark</source>
        <translation>Signet</translation>
    </message>
    <message>
        <source>Start of the range</source>
        <translation>Début de la plage</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Pas d&apos;image</translation>
    </message>
    <message>
        <source>Made by</source>
        <translation>Créé avec</translation>
    </message>
    <message>
        <source>Made at</source>
        <translation>Créé le</translation>
    </message>
    <message>
        <source>Check the files with: sha256sum -c SHA256SUMS</source>
        <translation>Vérifiez les fichiers avec : sha256sum -c SHA256SUMS</translation>
    </message>
    <message>
        <source>Motion</source>
        <translation>Mouvement</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Son</translation>
    </message>
    <message>
        <source>Crying</source>
        <translation>Pleurs</translation>
    </message>
    <message>
        <source>PIR</source>
        <translation>PIR</translation>
    </message>
    <message>
        <source>Person</source>
        <translation>Personne</translation>
    </message>
    <message>
        <source>No evidence package was written: the files do not hold the whole range.</source>
        <translation>Aucun dossier de preuve n&apos;a été écrit : les fichiers ne contiennent pas toute la plage.</translation>
    </message>
    <message>
        <source>The evidence package could not be written (%1).</source>
        <translation>Le dossier de preuve n&apos;a pas pu être écrit (%1).</translation>
    </message>
    <message>
        <source>%1 is too long for a copy of %2 MB. Choose a shorter range or a larger size.</source>
        <translation>%1, c’est trop long pour une copie de %2 Mo. Choisissez une plage plus courte ou une taille plus grande.</translation>
    </message>
    <message>
        <source>The video could not be re-coded (%1).</source>
        <translation>La vidéo n’a pas pu être réencodée (%1).</translation>
    </message>
</context>
</TS>
