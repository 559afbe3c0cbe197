<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AppStatusBar</name>
    <message numerus="yes">
        <source>%n events today · Click an event to seek</source>
        <translation>
            <numerusform>%n event today · Click an event to seek</numerusform>
            <numerusform>%n events today · Click an event to seek</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events today</source>
        <translation>
            <numerusform>%n event today</numerusform>
            <numerusform>%n events today</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AppToolBar</name>
    <message numerus="yes">
        <source>%n segments × %1 MB</source>
        <translation>
            <numerusform>%n segment × %1 MB</numerusform>
            <numerusform>%n segments × %1 MB</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CardPicker</name>
    <message numerus="yes">
        <source>This folder holds %n card(s). Which one do you want to open?</source>
        <translation>
            <numerusform>This folder holds %n card. Which one do you want to open?</numerusform>
            <numerusform>This folder holds %n cards. Which one do you want to open?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ExportPanel</name>
    <message numerus="yes">
        <source>%n file(s)</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n file(s) exported</source>
        <translation>
            <numerusform>%n file exported</numerusform>
            <numerusform>%n files exported</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Export cancelled. The %n finished file(s) were kept.</source>
        <translation>
            <numerusform>Export cancelled. The %n finished file was kept.</numerusform>
            <numerusform>Export cancelled. The %n finished files were kept.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>… and %n more</source>
        <translation>
            <numerusform>… and %n more</numerusform>
            <numerusform>… and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n event(s)</source>
        <translation>
            <numerusform>%n event</numerusform>
            <numerusform>%n events</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>nivra::Bookmarks</name>
    <message numerus="yes">
        <source>%n bookmark(s) of this card could not be read and were left out.</source>
        <translation>
            <numerusform>%n bookmark of this card could not be read and was left out.</numerusform>
            <numerusform>%n bookmarks of this card could not be read and were left out.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>nivra::ExportJob</name>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
</context>
</TS>
