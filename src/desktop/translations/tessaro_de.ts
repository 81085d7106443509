<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>tessaro::desktop::AboutBox</name>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>About Tessaro</source>
        <translation>Über Tessaro</translation>
    </message>
    <message>
        <source>Program for generating Horizontal Boring and Doweling programs from gcode.</source>
        <translation>Programm, das aus G-Code Programme für Horizontal-Bohr- und Dübelmaschinen erzeugt.</translation>
    </message>
    <message>
        <source>This program writes machine programs that drive real tools. Check every program before it runs on a machine. The program is provided as is, without warranty of any kind; the authors accept no liability for damage to panels, tools or machines.</source>
        <translation>Dieses Programm schreibt Maschinenprogramme, die echte Werkzeuge bewegen. Prüfen Sie jedes Programm, bevor es auf einer Maschine läuft. Das Programm wird ohne jede Gewährleistung bereitgestellt; die Autoren haften nicht für Schäden an Platten, Werkzeugen oder Maschinen.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>&amp;Systeminfo...</translation>
    </message>
</context>
<context>
    <name>tessaro::desktop::ActivityHistory</name>
    <message>
        <source>Activity History</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Detail</source>
        <translation>Einzelheiten</translation>
    </message>
    <message>
        <source>The last line of %1</source>
        <translation>Die letzte Zeile von %1</translation>
    </message>
    <message>
        <source>The last %1 lines of %2, newest first</source>
        <translation>Die letzten %1 Zeilen von %2, neueste zuerst</translation>
    </message>
</context>
<context>
    <name>CoreText</name>
    <message>
        <source>Alert!</source>
        <translation>Achtung!</translation>
    </message>
    <message>
        <source>Alert</source>
        <translation>Achtung</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Drill</source>
        <translation>Bohren</translation>
    </message>
    <message>
        <source>Dowel</source>
        <translation>Dübeln</translation>
    </message>
    <message>
        <source>translated</source>
        <translation>übersetzt</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>abgelehnt</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>gelöscht</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>leer</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>behalten</translation>
    </message>
    <message>
        <source>setting</source>
        <translation>Einstellung</translation>
    </message>
    <message>
        <source>         Source file %1<byte value="xd"/>    Is not of the correct file type.<byte value="xd"/><byte value="xd"/>      Do you wish to delete it?</source>
        <translation>         Quelldatei %1<byte value="xd"/>    hat nicht den richtigen Dateityp.<byte value="xd"/><byte value="xd"/>      Möchten Sie sie löschen?</translation>
    </message>
    <message>
        <source>Deleting all %1 files will allow all files in the source directory<byte value="xd"/>     to be reprocessed if Automatic Translation is turned on.<byte value="xd"/><byte value="xd"/>                Do You Wish To Continue With Deletion?</source>
        <translation>Wenn alle %1-Dateien gelöscht werden, werden alle Dateien im Quellordner<byte value="xd"/>     neu übersetzt, sofern die automatische Übersetzung eingeschaltet ist.<byte value="xd"/><byte value="xd"/>                Möchten Sie mit dem Löschen fortfahren?</translation>
    </message>
    <message>
        <source>Cannot translate %1: face %2 gets no usable program name ("%3")</source>
        <translation>%1 kann nicht übersetzt werden: Kante %2 erhält keinen brauchbaren Programmnamen („%3“)</translation>
    </message>
    <message>
        <source>No source or no program folder is set</source>
        <translation>Kein Quell- oder kein Programmordner eingestellt</translation>
    </message>
    <message>
        <source>orphan: no G-code file in the source folder gives its name</source>
        <translation>verwaist: keine G-Code-Datei im Quellordner ergibt diesen Namen</translation>
    </message>
    <message>
        <source>not translated: %1 gives the same program %2 and is translated instead</source>
        <translation>nicht übersetzt: %1 ergibt dasselbe Programm %2 und wird stattdessen übersetzt</translation>
    </message>
    <message>
        <source>no program deleted: the source folder %1 holds no G-code file (Delete All clears the program folder)</source>
        <translation>kein Programm gelöscht: der Quellordner %1 enthält keine G-Code-Datei (Alle löschen leert den Programmordner)</translation>
    </message>
    <message>
        <source>no program deleted: the source folder %1 lies on another file system than when it last held G-code files (a share unmounted from it?)</source>
        <translation>kein Programm gelöscht: der Quellordner %1 liegt auf einem anderen Dateisystem als zuletzt mit G-Code-Dateien (eine Freigabe ausgehängt?)</translation>
    </message>
    <message>
        <source>delete all %1 files</source>
        <translation>alle %1-Dateien löschen</translation>
    </message>
    <message>
        <source>%1 programs in %2: %3</source>
        <translation>%1 Programme in %2: %3</translation>
    </message>
    <message>
        <source>not G-code of the accepted kind (the first line is no G70, G71, G81 or G150 line)</source>
        <translation>kein G-Code der angenommenen Art (die erste Zeile ist keine G70-, G71-, G81- oder G150-Zeile)</translation>
    </message>
    <message>
        <source>the file holds nothing but blanks: not translated, its programs are kept</source>
        <translation>die Datei enthält nur Leerzeichen: nicht übersetzt, ihre Programme bleiben erhalten</translation>
    </message>
    <message>
        <source>refused G-code file, deleted on the operator's Yes</source>
        <translation>abgelehnte G-Code-Datei, auf das Ja des Bedieners gelöscht</translation>
    </message>
    <message>
        <source>temporary file of a translation that was stopped</source>
        <translation>temporäre Datei einer abgebrochenen Übersetzung</translation>
    </message>
    <message>
        <source>Cannot read the folder %1: %2</source>
        <translation>Der Ordner %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot delete %1: %2</source>
        <translation>%1 kann nicht gelöscht werden: %2</translation>
    </message>
    <message>
        <source>Cannot change %1: %2</source>
        <translation>%1 kann nicht geändert werden: %2</translation>
    </message>
    <message>
        <source>Cannot rename %1 to %2: %3</source>
        <translation>%1 kann nicht in %2 umbenannt werden: %3</translation>
    </message>
    <message>
        <source>Cannot watch %1: %2</source>
        <translation>%1 kann nicht überwacht werden: %2</translation>
    </message>
    <message>
        <source>cannot lock %1: %2</source>
        <translation>%1 kann nicht gesperrt werden: %2</translation>
    </message>
    <message>
        <source>the file is larger than %1 MiB</source>
        <translation>die Datei ist größer als %1 MiB</translation>
    </message>
    <message>
        <source>the file is larger than %1 bytes</source>
        <translation>die Datei ist größer als %1 Bytes</translation>
    </message>
    <message>
        <source>the file is open in another program</source>
        <translation>die Datei ist in einem anderen Programm geöffnet</translation>
    </message>
    <message>
        <source>no inotify instance</source>
        <translation>keine inotify-Instanz</translation>
    </message>
    <message>
        <source>process %1 on %2</source>
        <translation>Prozess %1 auf %2</translation>
    </message>
    <message>
        <source>process %1</source>
        <translation>Prozess %1</translation>
    </message>
    <message>
        <source>another process</source>
        <translation>ein anderer Prozess</translation>
    </message>
    <message>
        <source>%1 line %2: %3=%4 %5; %6 is used instead</source>
        <translation>%1 Zeile %2: %3=%4 %5; stattdessen gilt %6</translation>
    </message>
    <message>
        <source>is not one to four different digits 1 to 4</source>
        <translation>besteht nicht aus ein bis vier verschiedenen Ziffern 1 bis 4</translation>
    </message>
    <message>
        <source>is not a number of seconds from 0.001 to 86400</source>
        <translation>ist keine Sekundenzahl von 0,001 bis 86400</translation>
    </message>
    <message>
        <source>is neither YES nor NO</source>
        <translation>ist weder YES noch NO</translation>
    </message>
    <message>
        <source>names no folder that exists</source>
        <translation>nennt keinen vorhandenen Ordner</translation>
    </message>
    <message>
        <source>the name as it stands</source>
        <translation>der Name, wie er steht</translation>
    </message>
    <message>
        <source>is not 0, 1 or 2</source>
        <translation>ist nicht 0, 1 oder 2</translation>
    </message>
    <message>
        <source>is not one digit 0 to 9</source>
        <translation>ist keine Ziffer von 0 bis 9</translation>
    </message>
    <message>
        <source>is longer than 8 characters</source>
        <translation>ist länger als 8 Zeichen</translation>
    </message>
    <message>
        <source>holds characters no file name can hold</source>
        <translation>enthält Zeichen, die kein Dateiname enthalten kann</translation>
    </message>
    <message>
        <source>no template: %1</source>
        <translation>keine Vorlage: %1</translation>
    </message>
    <message>
        <source>the RCM format makes every program from %1; copy your boring machine's template program there</source>
        <translation>das RCM-Format erzeugt jedes Programm aus %1; kopieren Sie das Vorlageprogramm Ihrer Bohrmaschine dorthin</translation>
    </message>
</context>
<context>
    <name>tessaro::desktop::DirBrws</name>
    <message>
        <source>Directory Selection</source>
        <translation>Ordnerauswahl</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Drive %1 is unavailable.</source>
        <translation>Laufwerk %1 ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>Cannot open %1</source>
        <translation>%1 kann nicht geöffnet werden</translation>
    </message>
</context>
<context>
    <name>tessaro::desktop::FileListBox</name>
    <message>
        <source>No folder given</source>
        <translation>Kein Ordner angegeben</translation>
    </message>
</context>
<context>
    <name>tessaro::desktop::MainWindow</name>
    <message>
        <source>Tessaro</source>
        <translation>Tessaro</translation>
    </message>
    <message>
        <source>G-code (Source)</source>
        <translation>G-Code (Quelle)</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>RCM Files (Destination)</source>
        <translation>RCM-Dateien (Ziel)</translation>
    </message>
    <message>
        <source>Delete All  RCM Files</source>
        <translation>Alle RCM-Dateien löschen</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Second comment (not saved)</source>
        <translation>Zweiter Kommentar (nicht gespeichert)</translation>
    </message>
    <message>
        <source>Units</source>
        <translation>Einheiten</translation>
    </message>
    <message>
        <source>Inch</source>
        <translation>Zoll</translation>
    </message>
    <message>
        <source>Metric</source>
        <translation>Metrisch</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Nam</source>
        <translation>Nam</translation>
    </message>
    <message>
        <source>Automatic Translation</source>
        <translation>Automatische Übersetzung</translation>
    </message>
    <message>
        <source>Scans the Source directory for any added or updated files and places 4 RCM programs in the Destination directory.</source>
        <translation>Durchsucht den Quellordner nach neuen oder geänderten Dateien und legt je 4 RCM-Programme im Zielordner ab.</translation>
    </message>
    <message>
        <source>Automatic File Deletion</source>
        <translation>Automatisches Löschen</translation>
    </message>
    <message>
        <source>Deletes any RCM files in the Destination directory when the coresponding G-code file is removed from the Source directory.</source>
        <translation>Löscht RCM-Dateien im Zielordner, sobald die zugehörige G-Code-Datei aus dem Quellordner entfernt wird.</translation>
    </message>
    <message>
        <source>Conversion Rules Omitting:</source>
        <translation>Umwandlung lässt aus:</translation>
    </message>
    <message>
        <source>Empties</source>
        <translation>Leere</translation>
    </message>
    <message>
        <source>Duplicates</source>
        <translation>Doppelte</translation>
    </message>
    <message>
        <source>Exclusions</source>
        <translation>Ausschlüsse</translation>
    </message>
    <message>
        <source>Drill</source>
        <translation>Bohren</translation>
    </message>
    <message>
        <source>Dowel</source>
        <translation>Dübeln</translation>
    </message>
    <message>
        <source>Faces</source>
        <translation>Kanten</translation>
    </message>
    <message>
        <source>Panel</source>
        <translation>Platte</translation>
    </message>
    <message>
        <source>The panel of the G-code file translated last shows here.</source>
        <translation>Hier erscheint die Platte der zuletzt übersetzten G-Code-Datei.</translation>
    </message>
    <message>
        <source>The file is not G-code of the accepted kind: there is no panel to draw.</source>
        <translation>Die Datei ist kein G-Code der angenommenen Art: es gibt keine Platte zu zeichnen.</translation>
    </message>
    <message>
        <source>Activity log not written</source>
        <translation>Protokoll nicht geschrieben</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>What Tessaro translated, refused, deleted or failed to do (Ctrl+H)</source>
        <translation>Was Tessaro übersetzt, abgelehnt, gelöscht oder nicht geschafft hat (Strg+H)</translation>
    </message>
    <message>
        <source>Automatic Translation stays off: the program folder %1 is kept in step by %2.</source>
        <translation>Die automatische Übersetzung bleibt aus: den Programmordner %1 hält %2 aktuell.</translation>
    </message>
    <message>
        <source>Tessaro - %1 format</source>
        <translation>Tessaro - %1-Format</translation>
    </message>
    <message>
        <source>Delete all %1 Files</source>
        <translation>Alle %1-Dateien löschen</translation>
    </message>
    <message>
        <source>%1 Files (Destination)</source>
        <translation>%1-Dateien (Ziel)</translation>
    </message>
    <message>
        <source>Tessaro.INI holds values that are not used as they stand:</source>
        <translation>Tessaro.INI enthält Werte, die nicht so verwendet werden, wie sie stehen:</translation>
    </message>
    <message>
        <source>Turning this on will Automatically DELETE any RCM files that <byte value="xd"/>   do not have matching G-code files in the Source directory.<byte value="xd"/><byte value="xd"/>                 Are You Sure You Want To Do This?</source>
        <translation>Wenn Sie dies einschalten, werden alle RCM-Dateien automatisch GELÖSCHT,<byte value="xd"/>   zu denen es im Quellordner keine passende G-Code-Datei gibt.<byte value="xd"/><byte value="xd"/>                 Sind Sie sicher, dass Sie das wollen?</translation>
    </message>
</context>
<context>
    <name>PanelDrawing</name>
    <message>
        <source>G-code file</source>
        <translation>G-Code-Datei</translation>
    </message>
    <message>
        <source>Macro: (none)</source>
        <translation>Makro: (keines)</translation>
    </message>
    <message>
        <source>Macro: %1</source>
        <translation>Makro: %1</translation>
    </message>
    <message>
        <source>Macro: %1, from an earlier file</source>
        <translation>Makro: %1, aus einer früheren Datei</translation>
    </message>
    <message>
        <source>Panel %1 x %2 x %3 mm, metric (G71)</source>
        <translation>Platte %1 x %2 x %3 mm, metrisch (G71)</translation>
    </message>
    <message>
        <source>Panel %1 x %2 x %3 in, inch (G70)</source>
        <translation>Platte %1 x %2 x %3 in, Zoll (G70)</translation>
    </message>
    <message>
        <source>hidden</source>
        <translation>verborgen</translation>
    </message>
    <message>
        <source>drill</source>
        <translation>bohren</translation>
    </message>
    <message>
        <source>dowel</source>
        <translation>dübeln</translation>
    </message>
    <message>
        <source>drill and dowel</source>
        <translation>bohren und dübeln</translation>
    </message>
    <message>
        <source>neither (excluded)</source>
        <translation>keines (ausgeschlossen)</translation>
    </message>
    <message>
        <source>No holes on faces 1 to 4</source>
        <translation>Keine Bohrungen an den Kanten 1 bis 4</translation>
    </message>
    <message>
        <source>%1 hole without a location, not drawn</source>
        <translation>%1 Bohrung ohne Position, nicht gezeichnet</translation>
    </message>
    <message>
        <source>%1 holes without a location, not drawn</source>
        <translation>%1 Bohrungen ohne Position, nicht gezeichnet</translation>
    </message>
</context>
<context>
    <name>tessaro::desktop::PanelPreview</name>
    <message>
        <source>Double-click for a larger view</source>
        <translation>Doppelklick für eine größere Ansicht</translation>
    </message>
    <message>
        <source>Panel</source>
        <translation>Platte</translation>
    </message>
</context>
<context>
    <name>tessaro::desktop::ProgramCommands</name>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 und %2 weitere</translation>
    </message>
    <message>
        <source>translated %1</source>
        <translation>übersetzt: %1</translation>
    </message>
    <message>
        <source>not G-code of the accepted kind: %1</source>
        <translation>kein G-Code der angenommenen Art: %1</translation>
    </message>
    <message>
        <source>empty, programs kept: %1</source>
        <translation>leer, Programme behalten: %1</translation>
    </message>
    <message>
        <source>deleted %1</source>
        <translation>gelöscht: %1</translation>
    </message>
    <message>
        <source>not translated: %1</source>
        <translation>nicht übersetzt: %1</translation>
    </message>
    <message>
        <source>New program (Ctrl+N)</source>
        <translation>Neues Programm (Strg+N)</translation>
    </message>
    <message>
        <source>Save over the program selected in the list (Ctrl+S)</source>
        <translation>Über das in der Liste gewählte Programm speichern (Strg+S)</translation>
    </message>
    <message>
        <source>Save under a name of your choice</source>
        <translation>Unter einem Namen Ihrer Wahl speichern</translation>
    </message>
    <message>
        <source>Filename Assignment: the name masks of the four faces</source>
        <translation>Dateinamen-Zuordnung: die Namensmasken der vier Kanten</translation>
    </message>
    <message>
        <source>Translated %1: %2 programs written</source>
        <translation>%1 übersetzt: %2 Programme geschrieben</translation>
    </message>
    <message>
        <source>, %1 hidden</source>
        <translation>, %1 verborgen</translation>
    </message>
    <message>
        <source>Not saved: the cell being edited does not take its value</source>
        <translation>Nicht gespeichert: die bearbeitete Zelle nimmt ihren Wert nicht an</translation>
    </message>
    <message>
        <source>Not G-code of the accepted kind: its first line is no G70, G71, G81 or G150 line. It is kept and left alone until it changes.</source>
        <translation>Kein G-Code der angenommenen Art: die erste Zeile ist keine G70-, G71-, G81- oder G150-Zeile. Die Datei bleibt erhalten und unberührt, bis sie sich ändert.</translation>
    </message>
    <message>
        <source>%1 is not G-code of the accepted kind</source>
        <translation>%1 ist kein G-Code der angenommenen Art</translation>
    </message>
    <message>
        <source>%1 is empty: nothing was translated, its programs are kept</source>
        <translation>%1 ist leer: nichts wurde übersetzt, ihre Programme bleiben erhalten</translation>
    </message>
    <message>
        <source>%1 changed while it was read: click it again once it is complete</source>
        <translation>%1 hat sich beim Lesen geändert: klicken Sie sie erneut an, sobald sie vollständig ist</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>%1 gespeichert</translation>
    </message>
    <message>
        <source>%1; scanning every %2 s</source>
        <translation>%1; Suche alle %2 s</translation>
    </message>
    <message>
        <source>Deleted %1 %2 programs</source>
        <translation>%1 %2-Programme gelöscht</translation>
    </message>
</context>
<context>
    <name>tessaro::desktop::RenameDialog</name>
    <message>
        <source>"%1" cannot be part of a file name.</source>
        <translation>„%1“ kann nicht Teil eines Dateinamens sein.</translation>
    </message>
    <message>
        <source>Only plain ASCII characters fit in a mask.</source>
        <translation>In eine Maske passen nur einfache ASCII-Zeichen.</translation>
    </message>
    <message>
        <source>Filename Assignment</source>
        <translation>Dateinamen-Zuordnung</translation>
    </message>
    <message>
        <source>Horizontal Face</source>
        <translation>Horizontale Kante</translation>
    </message>
    <message>
        <source>One character per cell; an empty cell keeps the G-code file's character. Not allowed: / \ : * ? " &lt; &gt; |</source>
        <translation>Ein Zeichen je Zelle; eine leere Zelle behält das Zeichen der G-Code-Datei. Nicht erlaubt: / \ : * ? " &lt; &gt; |</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>tessaro::desktop::SetupDialog</name>
    <message>
        <source>Tessaro Setup</source>
        <translation>Tessaro einrichten</translation>
    </message>
    <message>
        <source>Tessaro has no settings yet. Name the two folders and the format of the boring machine's programs; they are kept in %1.</source>
        <translation>Tessaro hat noch keine Einstellungen. Geben Sie die beiden Ordner und das Format der Programme der Bohrmaschine an; sie werden in %1 gespeichert.</translation>
    </message>
    <message>
        <source>G-code folder:</source>
        <translation>G-Code-Ordner:</translation>
    </message>
    <message>
        <source>Program folder:</source>
        <translation>Programmordner:</translation>
    </message>
    <message>
        <source>RCM (made from the template)</source>
        <translation>RCM (aus der Vorlage erzeugt)</translation>
    </message>
    <message>
        <source>ACC</source>
        <translation>ACC</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Choose the folder</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>The RCM format makes every program from %1: copy your boring machine's template program there.</source>
        <translation>Das RCM-Format erzeugt jedes Programm aus %1: kopieren Sie das Vorlageprogramm Ihrer Bohrmaschine dorthin.</translation>
    </message>
    <message>
        <source>Both folders must exist.</source>
        <translation>Beide Ordner müssen vorhanden sein.</translation>
    </message>
</context>
</TS>
