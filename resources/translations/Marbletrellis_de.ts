<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Marbletrellis</source>
        <translation>Über Marbletrellis</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Marbletrellis&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;Marbletrellis&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>This application uses the following open source components:&lt;br&gt;&lt;b&gt;yyjson&lt;/b&gt; - A high performance JSON library&lt;br&gt;Licensed under the MIT License</source>
        <translation>Diese Anwendung verwendet die folgenden Open-Source-Komponenten:&lt;br&gt;&lt;b&gt;yyjson&lt;/b&gt; – eine leistungsstarke JSON-Bibliothek&lt;br&gt;Lizenziert unter der MIT-Lizenz</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>AddItemDialog</name>
    <message>
        <source>true</source>
        <translation>true</translation>
    </message>
    <message>
        <source>Add Item</source>
        <translation>Element hinzufügen</translation>
    </message>
    <message>
        <source>String</source>
        <translation>Zeichenkette</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Zahl</translation>
    </message>
    <message>
        <source>Boolean</source>
        <translation>Wahrheitswert</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Objekt</translation>
    </message>
    <message>
        <source>Array</source>
        <translation>Array</translation>
    </message>
    <message>
        <source>Null</source>
        <translation>Null</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Key:</source>
        <translation>Schlüssel:</translation>
    </message>
    <message>
        <source>Value:</source>
        <translation>Wert:</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Value is not a valid number</source>
        <translation>Der Wert ist keine gültige Zahl</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>View, search and edit JSON documents as a tree.</source>
        <translation>JSON-Dokumente als Baum ansehen, durchsuchen und bearbeiten.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>DATEI</translation>
    </message>
    <message>
        <source>The JSON file to open.</source>
        <translation>Die zu öffnende JSON-Datei.</translation>
    </message>
    <message>
        <source>[FILE]</source>
        <translation>[DATEI]</translation>
    </message>
    <message>
        <source>Only one file can be opened at a time.</source>
        <translation>Es kann nur eine Datei auf einmal geöffnet werden.</translation>
    </message>
</context>
<context>
    <name>JsonDocument</name>
    <message>
        <source>Edit Key</source>
        <translation>Schlüssel bearbeiten</translation>
    </message>
    <message>
        <source>Edit Value</source>
        <translation>Wert bearbeiten</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Add Item</source>
        <translation>Element hinzufügen</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Only an array can be saved as JSON Lines, one line for each of its values; the top-level value here is no array.</source>
        <translation>Nur ein Array kann als JSON Lines gespeichert werden, eine Zeile für jeden seiner Werte; der oberste Wert hier ist kein Array.</translation>
    </message>
</context>
<context>
    <name>JsonPathParser</name>
    <message>
        <source>A literal must be compared at position %1</source>
        <translation>Ein Literal muss an Position %1 verglichen werden</translation>
    </message>
    <message>
        <source>The result of %1() must be compared at position %2</source>
        <translation>Das Ergebnis von %1() muss an Position %2 verglichen werden</translation>
    </message>
    <message>
        <source>A query that may select several nodes cannot be compared at position %1</source>
        <translation>Eine Abfrage, die mehrere Knoten auswählen kann, lässt sich an Position %1 nicht vergleichen</translation>
    </message>
    <message>
        <source>The result of %1() cannot be compared at position %2</source>
        <translation>Das Ergebnis von %1() lässt sich an Position %2 nicht vergleichen</translation>
    </message>
    <message>
        <source>Unknown name &quot;%1&quot; at position %2</source>
        <translation>Unbekannter Name „%1“ an Position %2</translation>
    </message>
    <message>
        <source>Expected a digit at position %1</source>
        <translation>Ziffer an Position %1 erwartet</translation>
    </message>
    <message>
        <source>Invalid number at position %1</source>
        <translation>Ungültige Zahl an Position %1</translation>
    </message>
    <message>
        <source>Unknown function &quot;%1&quot; at position %2</source>
        <translation>Unbekannte Funktion „%1“ an Position %2</translation>
    </message>
    <message>
        <source>Wrong number of arguments for %1() at position %2</source>
        <translation>Falsche Anzahl an Argumenten für %1() an Position %2</translation>
    </message>
    <message>
        <source>Invalid argument for %1() at position %2</source>
        <translation>Ungültiges Argument für %1() an Position %2</translation>
    </message>
    <message>
        <source>Unexpected end of the query at position %1</source>
        <translation>Unerwartetes Ende der Abfrage an Position %1</translation>
    </message>
    <message>
        <source>Unexpected character &quot;%1&quot; at position %2</source>
        <translation>Unerwartetes Zeichen „%1“ an Position %2</translation>
    </message>
    <message>
        <source>Expected &quot;%1&quot; at position %2</source>
        <translation>„%1“ an Position %2 erwartet</translation>
    </message>
    <message>
        <source>Expected a member name or &quot;*&quot; at position %1</source>
        <translation>Schlüssel oder „*“ an Position %1 erwartet</translation>
    </message>
    <message>
        <source>Expected &quot;,&quot; or &quot;]&quot; at position %1</source>
        <translation>„,“ oder „]“ an Position %1 erwartet</translation>
    </message>
    <message>
        <source>Expected a selector at position %1</source>
        <translation>Selektor an Position %1 erwartet</translation>
    </message>
    <message>
        <source>Invalid integer at position %1</source>
        <translation>Ungültige Ganzzahl an Position %1</translation>
    </message>
    <message>
        <source>Integer out of range at position %1</source>
        <translation>Ganzzahl außerhalb des gültigen Bereichs an Position %1</translation>
    </message>
    <message>
        <source>Unterminated string at position %1</source>
        <translation>Nicht abgeschlossene Zeichenkette an Position %1</translation>
    </message>
    <message>
        <source>Control character in a string at position %1</source>
        <translation>Steuerzeichen in einer Zeichenkette an Position %1</translation>
    </message>
    <message>
        <source>Invalid character at position %1</source>
        <translation>Ungültiges Zeichen an Position %1</translation>
    </message>
    <message>
        <source>Invalid escape at position %1</source>
        <translation>Ungültige Escape-Sequenz an Position %1</translation>
    </message>
    <message>
        <source>Expected a hexadecimal digit at position %1</source>
        <translation>Hexadezimalziffer an Position %1 erwartet</translation>
    </message>
</context>
<context>
    <name>JsonReader</name>
    <message>
        <source>Input data is empty</source>
        <translation>Die Eingabe ist leer</translation>
    </message>
    <message>
        <source>Nesting is deeper than %1 levels</source>
        <translation>Die Verschachtelung ist tiefer als %1 Ebenen</translation>
    </message>
    <message>
        <source>%1 at line %2, column %3</source>
        <translation>%1 in Zeile %2, Spalte %3</translation>
    </message>
    <message>
        <source>The file is encoded in %1, not UTF-8</source>
        <translation>Die Datei ist in %1 kodiert, nicht in UTF-8</translation>
    </message>
    <message>
        <source>Invalid UTF-8</source>
        <translation>Ungültiges UTF-8</translation>
    </message>
</context>
<context>
    <name>JsonTreeModel</name>
    <message>
        <source>{ %1 items }</source>
        <translation>{ %1 Einträge }</translation>
    </message>
    <message>
        <source>[ %1 items ]</source>
        <translation>[ %1 Einträge ]</translation>
    </message>
    <message>
        <source>null</source>
        <translation>null</translation>
    </message>
    <message>
        <source>... (%1 chars total)</source>
        <translation>... (insgesamt %1 Zeichen)</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Schlüssel</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>new</source>
        <translation>neu</translation>
    </message>
</context>
<context>
    <name>JsonWriter</name>
    <message>
        <source>The number %1 of &quot;%2&quot; has no JSON text.</source>
        <translation>Die Zahl %1 von &quot;%2&quot; lässt sich nicht als JSON schreiben.</translation>
    </message>
    <message>
        <source>The document could not be turned into JSON text.</source>
        <translation>Das Dokument ließ sich nicht in JSON-Text umwandeln.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Suchen...</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>Find &amp;Previous</source>
        <translation>&amp;Vorheriges suchen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy &amp;Key</source>
        <translation>Sch&amp;lüssel kopieren</translation>
    </message>
    <message>
        <source>Copy &amp;Value</source>
        <translation>We&amp;rt kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Settings...</source>
        <translation>Ei&amp;nstellungen...</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Expand All</source>
        <translation>Alles &amp;ausklappen</translation>
    </message>
    <message>
        <source>&amp;Collapse All</source>
        <translation>Alles &amp;einklappen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber Marbletrellis</translation>
    </message>
    <message>
        <source>Marbletrellis%1</source>
        <translation>Marbletrellis%1</translation>
    </message>
    <message>
        <source>Marbletrellis - %1%2</source>
        <translation>Marbletrellis - %1%2</translation>
    </message>
    <message>
        <source>Open JSON File</source>
        <translation>JSON-Datei öffnen</translation>
    </message>
    <message>
        <source>Failed to load JSON file.</source>
        <translation>Die JSON-Datei konnte nicht geladen werden.</translation>
    </message>
    <message>
        <source>Failed to parse JSON file.</source>
        <translation>Fehler beim Analysieren der JSON-Datei.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Loaded: %1 (filesize: %2mb, parse %3 ms, total %4 ms)</source>
        <translation>Geladen: %1 (Dateigröße: %2 MB, Analyse %3 ms, gesamt %4 ms)</translation>
    </message>
    <message>
        <source>Loaded: %1 (%2 ms)</source>
        <translation>Geladen: %1 (%2 ms)</translation>
    </message>
    <message>
        <source>Failed to save JSON file.</source>
        <translation>Die JSON-Datei konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Saved: %1</source>
        <translation>Gespeichert: %1</translation>
    </message>
    <message>
        <source>Save JSON File</source>
        <translation>JSON-Datei speichern</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>Duplizieren</translation>
    </message>
    <message>
        <source>Add Item...</source>
        <translation>Element hinzufügen...</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Copy Key</source>
        <translation>Schlüssel kopieren</translation>
    </message>
    <message>
        <source>Copy Value</source>
        <translation>Wert kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Key cannot be empty</source>
        <translation>Der Schlüssel darf nicht leer sein</translation>
    </message>
    <message>
        <source>Search text is empty.</source>
        <translation>Der Suchtext ist leer.</translation>
    </message>
    <message>
        <source>No searchable items.</source>
        <translation>Keine durchsuchbaren Elemente.</translation>
    </message>
    <message>
        <source>Reached end, continued from beginning.</source>
        <translation>Ende erreicht, am Anfang fortgesetzt.</translation>
    </message>
    <message>
        <source>Match found.</source>
        <translation>Treffer gefunden.</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suche</translation>
    </message>
    <message>
        <source>Invalid regular expression: %1</source>
        <translation>Ungültiger regulärer Ausdruck: %1</translation>
    </message>
    <message>
        <source>No matches found.</source>
        <translation>Keine Treffer gefunden.</translation>
    </message>
    <message>
        <source>No item selected to copy.</source>
        <translation>Kein Element zum Kopieren ausgewählt.</translation>
    </message>
    <message>
        <source>Failed to copy item.</source>
        <translation>Element konnte nicht kopiert werden.</translation>
    </message>
    <message>
        <source>Copied to clipboard.</source>
        <translation>In die Zwischenablage kopiert.</translation>
    </message>
    <message>
        <source>Cannot copy standalone value.</source>
        <translation>Ein alleinstehender Wert kann nicht kopiert werden.</translation>
    </message>
    <message>
        <source>Copied key to clipboard.</source>
        <translation>Schlüssel in die Zwischenablage kopiert.</translation>
    </message>
    <message>
        <source>Copied value to clipboard.</source>
        <translation>Wert in die Zwischenablage kopiert.</translation>
    </message>
    <message>
        <source>No item selected to paste.</source>
        <translation>Kein Element zum Einfügen ausgewählt.</translation>
    </message>
    <message>
        <source>Clipboard is empty.</source>
        <translation>Die Zwischenablage ist leer.</translation>
    </message>
    <message>
        <source>Can only paste into Object or Array.</source>
        <translation>Einfügen ist nur in ein Objekt oder Array möglich.</translation>
    </message>
    <message>
        <source>Pasted value into Array.</source>
        <translation>Wert in das Array eingefügt.</translation>
    </message>
    <message>
        <source>Pasted key and value.</source>
        <translation>Schlüssel und Wert eingefügt.</translation>
    </message>
    <message>
        <source>Object can only paste &quot;key&quot;: value format.</source>
        <translation>In ein Objekt lässt sich nur das Format &quot;Schlüssel&quot;: Wert einfügen.</translation>
    </message>
    <message>
        <source>Pasted JSON into Array.</source>
        <translation>JSON in das Array eingefügt.</translation>
    </message>
    <message>
        <source>Pasted text into Array.</source>
        <translation>Text in das Array eingefügt.</translation>
    </message>
    <message>
        <source>Key &quot;%1&quot; already exists. Overwrite?</source>
        <translation>Der Schlüssel „%1“ existiert bereits. Überschreiben?</translation>
    </message>
    <message>
        <source>Nesting is deeper than %1 levels</source>
        <translation>Die Verschachtelung ist tiefer als %1 Ebenen</translation>
    </message>
    <message>
        <source>Unsaved Changes</source>
        <translation>Ungespeicherte Änderungen</translation>
    </message>
    <message>
        <source>The document has been modified.</source>
        <translation>Das Dokument wurde geändert.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>Möchten Sie Ihre Änderungen speichern?</translation>
    </message>
    <message>
        <source>Copied path to clipboard.</source>
        <translation>Pfad in die Zwischenablage kopiert.</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>Pfad kopieren</translation>
    </message>
    <message>
        <source>Copy Pat&amp;h</source>
        <translation>Pfa&amp;d kopieren</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>Rück&amp;gängig</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>Rück&amp;gängig: %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>Wieder&amp;holen</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>Wieder&amp;holen: %1</translation>
    </message>
    <message>
        <source>Value is not a valid number</source>
        <translation>Der Wert ist keine gültige Zahl</translation>
    </message>
    <message>
        <source>Opening %1…</source>
        <translation>%1 wird geöffnet…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Saving %1…</source>
        <translation>%1 wird gespeichert…</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Searching…</source>
        <translation>Suche läuft…</translation>
    </message>
    <message>
        <source>Search cancelled.</source>
        <translation>Suche abgebrochen.</translation>
    </message>
    <message>
        <source>The regular expression is too complex to test against %1.</source>
        <translation>Der reguläre Ausdruck ist zu komplex, um ihn mit %1 zu vergleichen.</translation>
    </message>
    <message>
        <source>&amp;Query...</source>
        <translation>&amp;Abfrage...</translation>
    </message>
    <message>
        <source>JSON files (*.json)</source>
        <translation>JSON-Dateien (*.json)</translation>
    </message>
    <message>
        <source>JSON Lines (*.jsonl *.ndjson)</source>
        <translation>JSON Lines (*.jsonl *.ndjson)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>This file contains comments or trailing commas, which JSON does not allow. Open it anyway?</source>
        <translation>Diese Datei enthält Kommentare oder abschließende Kommas, die JSON nicht erlaubt. Trotzdem öffnen?</translation>
    </message>
    <message>
        <source>Saving removes the comments from %1. Save anyway?</source>
        <translation>Beim Speichern gehen die Kommentare in %1 verloren. Trotzdem speichern?</translation>
    </message>
    <message>
        <source>%1 was deleted on disk.</source>
        <translation>%1 wurde auf dem Datenträger gelöscht.</translation>
    </message>
    <message>
        <source>File Changed</source>
        <translation>Datei geändert</translation>
    </message>
    <message>
        <source>The file %1 has changed on disk. Reload it and lose your changes?</source>
        <translation>Die Datei %1 wurde auf dem Datenträger geändert. Neu laden und Ihre Änderungen verwerfen?</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>Keep my version</source>
        <translation>Meine Version behalten</translation>
    </message>
    <message>
        <source>Reloaded: %1 (changed on disk).</source>
        <translation>Neu geladen: %1 (auf dem Datenträger geändert).</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>QueryPanel</name>
    <message>
        <source>Query</source>
        <translation>Abfrage</translation>
    </message>
    <message>
        <source>$..name</source>
        <extracomment>An example JSONPath expression: its &quot;$&quot; and dots are syntax, kept as they are.</extracomment>
        <translation>$..name</translation>
    </message>
    <message>
        <source>Running the query…</source>
        <translation>Abfrage läuft…</translation>
    </message>
    <message>
        <source>Query cancelled.</source>
        <translation>Abfrage abgebrochen.</translation>
    </message>
    <message>
        <source>No results</source>
        <translation>Keine Ergebnisse</translation>
    </message>
    <message>
        <source>1 result</source>
        <translation>1 Ergebnis</translation>
    </message>
    <message numerus="yes">
        <source>%n results</source>
        <translation>
            <numerusform>%n Ergebnis</numerusform>
            <numerusform>%n Ergebnisse</numerusform>
        </translation>
    </message>
    <message>
        <source>The document has changed: press Enter to run the query again.</source>
        <translation>Das Dokument wurde geändert: Drücken Sie die Eingabetaste, um die Abfrage erneut auszuführen.</translation>
    </message>
    <message>
        <source>Copy Results</source>
        <translation>Ergebnisse kopieren</translation>
    </message>
</context>
<context>
    <name>QueryResultsModel</name>
    <message>
        <source>Path</source>
        <translation>Pfad</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find what:</source>
        <translation>Suchen nach:</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Abwärts</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Aufwärts</translation>
    </message>
    <message>
        <source>Ignore case</source>
        <translation>Groß-/Kleinschreibung ignorieren</translation>
    </message>
    <message>
        <source>Wrap around</source>
        <translation>Am Ende von vorn beginnen</translation>
    </message>
    <message>
        <source>Use regular expression</source>
        <translation>Regulären Ausdruck verwenden</translation>
    </message>
    <message>
        <source>Search in value</source>
        <translation>Auch in Werten suchen</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Weitersuchen</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source> chars</source>
        <translation> Zeichen</translation>
    </message>
    <message>
        <source>Unlimited</source>
        <translation>Unbegrenzt</translation>
    </message>
    <message>
        <source>Max text display length:</source>
        <translation>Maximale angezeigte Textlänge:</translation>
    </message>
    <message>
        <source>Pretty print output:</source>
        <translation>Formatierte Ausgabe:</translation>
    </message>
</context>
</TS>
