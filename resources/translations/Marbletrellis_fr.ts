<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Marbletrellis</source>
        <translation>À propos de Marbletrellis</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Marbletrellis&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;Marbletrellis&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>This application uses the following open source components:&lt;br&gt;&lt;b&gt;yyjson&lt;/b&gt; - A high performance JSON library&lt;br&gt;Licensed under the MIT License</source>
        <translation>Cette application utilise les composants open source suivants&#xa0;:&lt;br&gt;&lt;b&gt;yyjson&lt;/b&gt; – une bibliothèque JSON haute performance&lt;br&gt;Distribuée sous licence MIT</translation>
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
        <translation>Ajouter un élément</translation>
    </message>
    <message>
        <source>String</source>
        <translation>Chaîne</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Boolean</source>
        <translation>Booléen</translation>
    </message>
    <message>
        <source>Object</source>
        <translation>Objet</translation>
    </message>
    <message>
        <source>Array</source>
        <translation>Tableau</translation>
    </message>
    <message>
        <source>Null</source>
        <translation>Null</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Type&#xa0;:</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Automatique</translation>
    </message>
    <message>
        <source>Key:</source>
        <translation>Clé&#xa0;:</translation>
    </message>
    <message>
        <source>Value:</source>
        <translation>Valeur&#xa0;:</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Value is not a valid number</source>
        <translation>La valeur n’est pas un nombre valide</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>View, search and edit JSON documents as a tree.</source>
        <translation>Afficher, rechercher et modifier des documents JSON sous forme d’arbre.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>FICHIER</translation>
    </message>
    <message>
        <source>The JSON file to open.</source>
        <translation>Le fichier JSON à ouvrir.</translation>
    </message>
    <message>
        <source>[FILE]</source>
        <translation>[FICHIER]</translation>
    </message>
    <message>
        <source>Only one file can be opened at a time.</source>
        <translation>Un seul fichier peut être ouvert à la fois.</translation>
    </message>
</context>
<context>
    <name>JsonDocument</name>
    <message>
        <source>Edit Key</source>
        <translation>Modifier la clé</translation>
    </message>
    <message>
        <source>Edit Value</source>
        <translation>Modifier la valeur</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Insérer</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Add Item</source>
        <translation>Ajouter un élément</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Only an array can be saved as JSON Lines, one line for each of its values; the top-level value here is no array.</source>
        <translation>Seul un tableau peut être enregistré en JSON Lines, une ligne pour chacune de ses valeurs&#xa0;; ici, la valeur de premier niveau n’est pas un tableau.</translation>
    </message>
</context>
<context>
    <name>JsonPathParser</name>
    <message>
        <source>A literal must be compared at position %1</source>
        <translation>Un littéral doit être comparé à la position %1</translation>
    </message>
    <message>
        <source>The result of %1() must be compared at position %2</source>
        <translation>Le résultat de %1() doit être comparé à la position %2</translation>
    </message>
    <message>
        <source>A query that may select several nodes cannot be compared at position %1</source>
        <translation>Une requête pouvant sélectionner plusieurs nœuds ne peut pas être comparée à la position %1</translation>
    </message>
    <message>
        <source>The result of %1() cannot be compared at position %2</source>
        <translation>Le résultat de %1() ne peut pas être comparé à la position %2</translation>
    </message>
    <message>
        <source>Unknown name &quot;%1&quot; at position %2</source>
        <translation>Nom «&#xa0;%1&#xa0;» inconnu à la position %2</translation>
    </message>
    <message>
        <source>Expected a digit at position %1</source>
        <translation>Chiffre attendu à la position %1</translation>
    </message>
    <message>
        <source>Invalid number at position %1</source>
        <translation>Nombre non valide à la position %1</translation>
    </message>
    <message>
        <source>Unknown function &quot;%1&quot; at position %2</source>
        <translation>Fonction «&#xa0;%1&#xa0;» inconnue à la position %2</translation>
    </message>
    <message>
        <source>Wrong number of arguments for %1() at position %2</source>
        <translation>Nombre d’arguments incorrect pour %1() à la position %2</translation>
    </message>
    <message>
        <source>Invalid argument for %1() at position %2</source>
        <translation>Argument non valide pour %1() à la position %2</translation>
    </message>
    <message>
        <source>Unexpected end of the query at position %1</source>
        <translation>Fin inattendue de la requête à la position %1</translation>
    </message>
    <message>
        <source>Unexpected character &quot;%1&quot; at position %2</source>
        <translation>Caractère «&#xa0;%1&#xa0;» inattendu à la position %2</translation>
    </message>
    <message>
        <source>Expected &quot;%1&quot; at position %2</source>
        <translation>«&#xa0;%1&#xa0;» attendu à la position %2</translation>
    </message>
    <message>
        <source>Expected a member name or &quot;*&quot; at position %1</source>
        <translation>Clé ou «&#xa0;*&#xa0;» attendue à la position %1</translation>
    </message>
    <message>
        <source>Expected &quot;,&quot; or &quot;]&quot; at position %1</source>
        <translation>«&#xa0;,&#xa0;» ou «&#xa0;]&#xa0;» attendu à la position %1</translation>
    </message>
    <message>
        <source>Expected a selector at position %1</source>
        <translation>Sélecteur attendu à la position %1</translation>
    </message>
    <message>
        <source>Invalid integer at position %1</source>
        <translation>Entier non valide à la position %1</translation>
    </message>
    <message>
        <source>Integer out of range at position %1</source>
        <translation>Entier hors limites à la position %1</translation>
    </message>
    <message>
        <source>Unterminated string at position %1</source>
        <translation>Chaîne non terminée à la position %1</translation>
    </message>
    <message>
        <source>Control character in a string at position %1</source>
        <translation>Caractère de contrôle dans une chaîne à la position %1</translation>
    </message>
    <message>
        <source>Invalid character at position %1</source>
        <translation>Caractère non valide à la position %1</translation>
    </message>
    <message>
        <source>Invalid escape at position %1</source>
        <translation>Séquence d’échappement non valide à la position %1</translation>
    </message>
    <message>
        <source>Expected a hexadecimal digit at position %1</source>
        <translation>Chiffre hexadécimal attendu à la position %1</translation>
    </message>
</context>
<context>
    <name>JsonReader</name>
    <message>
        <source>Input data is empty</source>
        <translation>Les données d’entrée sont vides</translation>
    </message>
    <message>
        <source>Nesting is deeper than %1 levels</source>
        <translation>L’imbrication dépasse %1 niveaux</translation>
    </message>
    <message>
        <source>%1 at line %2, column %3</source>
        <translation>%1 à la ligne %2, colonne %3</translation>
    </message>
    <message>
        <source>The file is encoded in %1, not UTF-8</source>
        <translation>Le fichier est encodé en %1, pas en UTF-8</translation>
    </message>
    <message>
        <source>Invalid UTF-8</source>
        <translation>UTF-8 invalide</translation>
    </message>
</context>
<context>
    <name>JsonTreeModel</name>
    <message>
        <source>{ %1 items }</source>
        <translation>{ %1 éléments }</translation>
    </message>
    <message>
        <source>[ %1 items ]</source>
        <translation>[ %1 éléments ]</translation>
    </message>
    <message>
        <source>null</source>
        <translation>null</translation>
    </message>
    <message>
        <source>... (%1 chars total)</source>
        <translation>... (%1 caractères au total)</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Clé</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valeur</translation>
    </message>
    <message>
        <source>new</source>
        <translation>nouveau</translation>
    </message>
</context>
<context>
    <name>JsonWriter</name>
    <message>
        <source>The number %1 of &quot;%2&quot; has no JSON text.</source>
        <translation>Le nombre %1 de « %2 » ne peut pas s’écrire en JSON.</translation>
    </message>
    <message>
        <source>The document could not be turned into JSON text.</source>
        <translation>Le document n’a pas pu être converti en texte JSON.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Ready</source>
        <translation>Prêt</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Ouvrir...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Enregistrer &amp;sous...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Rechercher...</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>Rechercher le &amp;suivant</translation>
    </message>
    <message>
        <source>Find &amp;Previous</source>
        <translation>Rechercher le &amp;précédent</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>Copy &amp;Key</source>
        <translation>Copier la c&amp;lé</translation>
    </message>
    <message>
        <source>Copy &amp;Value</source>
        <translation>Copier la &amp;valeur</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>C&amp;oller</translation>
    </message>
    <message>
        <source>&amp;Settings...</source>
        <translation>P&amp;aramètres...</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Expand All</source>
        <translation>Tout &amp;déplier</translation>
    </message>
    <message>
        <source>&amp;Collapse All</source>
        <translation>Tout &amp;replier</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Aid&amp;e</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos de Marbletrellis</translation>
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
        <translation>Ouvrir un fichier JSON</translation>
    </message>
    <message>
        <source>Failed to load JSON file.</source>
        <translation>Impossible de charger le fichier JSON.</translation>
    </message>
    <message>
        <source>Failed to parse JSON file.</source>
        <translation>Impossible d’analyser le fichier JSON.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Loaded: %1 (filesize: %2mb, parse %3 ms, total %4 ms)</source>
        <translation>Chargé&#xa0;: %1 (taille&#xa0;: %2&#xa0;Mo, analyse %3&#xa0;ms, total %4&#xa0;ms)</translation>
    </message>
    <message>
        <source>Loaded: %1 (%2 ms)</source>
        <translation>Chargé&#xa0;: %1 (%2&#xa0;ms)</translation>
    </message>
    <message>
        <source>Failed to save JSON file.</source>
        <translation>Impossible d’enregistrer le fichier JSON.</translation>
    </message>
    <message>
        <source>Saved: %1</source>
        <translation>Enregistré&#xa0;: %1</translation>
    </message>
    <message>
        <source>Save JSON File</source>
        <translation>Enregistrer le fichier JSON</translation>
    </message>
    <message>
        <source>Duplicate</source>
        <translation>Dupliquer</translation>
    </message>
    <message>
        <source>Add Item...</source>
        <translation>Ajouter un élément...</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Copy Key</source>
        <translation>Copier la clé</translation>
    </message>
    <message>
        <source>Copy Value</source>
        <translation>Copier la valeur</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Coller</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertissement</translation>
    </message>
    <message>
        <source>Key cannot be empty</source>
        <translation>La clé ne peut pas être vide</translation>
    </message>
    <message>
        <source>Search text is empty.</source>
        <translation>Le texte à rechercher est vide.</translation>
    </message>
    <message>
        <source>No searchable items.</source>
        <translation>Aucun élément à rechercher.</translation>
    </message>
    <message>
        <source>Reached end, continued from beginning.</source>
        <translation>Fin atteinte, recherche poursuivie depuis le début.</translation>
    </message>
    <message>
        <source>Match found.</source>
        <translation>Correspondance trouvée.</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Recherche</translation>
    </message>
    <message>
        <source>Invalid regular expression: %1</source>
        <translation>Expression régulière non valide&#xa0;: %1</translation>
    </message>
    <message>
        <source>No matches found.</source>
        <translation>Aucune correspondance trouvée.</translation>
    </message>
    <message>
        <source>No item selected to copy.</source>
        <translation>Aucun élément sélectionné à copier.</translation>
    </message>
    <message>
        <source>Failed to copy item.</source>
        <translation>Impossible de copier l’élément.</translation>
    </message>
    <message>
        <source>Copied to clipboard.</source>
        <translation>Copié dans le presse-papiers.</translation>
    </message>
    <message>
        <source>Cannot copy standalone value.</source>
        <translation>Impossible de copier une valeur isolée.</translation>
    </message>
    <message>
        <source>Copied key to clipboard.</source>
        <translation>Clé copiée dans le presse-papiers.</translation>
    </message>
    <message>
        <source>Copied value to clipboard.</source>
        <translation>Valeur copiée dans le presse-papiers.</translation>
    </message>
    <message>
        <source>No item selected to paste.</source>
        <translation>Aucun élément sélectionné pour coller.</translation>
    </message>
    <message>
        <source>Clipboard is empty.</source>
        <translation>Le presse-papiers est vide.</translation>
    </message>
    <message>
        <source>Can only paste into Object or Array.</source>
        <translation>On ne peut coller que dans un objet ou un tableau.</translation>
    </message>
    <message>
        <source>Pasted value into Array.</source>
        <translation>Valeur collée dans le tableau.</translation>
    </message>
    <message>
        <source>Pasted key and value.</source>
        <translation>Clé et valeur collées.</translation>
    </message>
    <message>
        <source>Object can only paste &quot;key&quot;: value format.</source>
        <translation>Un objet n’accepte que le format &quot;clé&quot;&#xa0;: valeur.</translation>
    </message>
    <message>
        <source>Pasted JSON into Array.</source>
        <translation>JSON collé dans le tableau.</translation>
    </message>
    <message>
        <source>Pasted text into Array.</source>
        <translation>Texte collé dans le tableau.</translation>
    </message>
    <message>
        <source>Key &quot;%1&quot; already exists. Overwrite?</source>
        <translation>La clé «&#xa0;%1&#xa0;» existe déjà. Écraser&#xa0;?</translation>
    </message>
    <message>
        <source>Nesting is deeper than %1 levels</source>
        <translation>L’imbrication dépasse %1 niveaux</translation>
    </message>
    <message>
        <source>Unsaved Changes</source>
        <translation>Modifications non enregistrées</translation>
    </message>
    <message>
        <source>The document has been modified.</source>
        <translation>Le document a été modifié.</translation>
    </message>
    <message>
        <source>Do you want to save your changes?</source>
        <translation>Voulez-vous enregistrer vos modifications&#xa0;?</translation>
    </message>
    <message>
        <source>Copied path to clipboard.</source>
        <translation>Chemin copié dans le presse-papiers.</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>Copier le chemin</translation>
    </message>
    <message>
        <source>Copy Pat&amp;h</source>
        <translation>Copier le c&amp;hemin</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>Ann&amp;uler</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>Ann&amp;uler : %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>Ré&amp;tablir</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>Ré&amp;tablir : %1</translation>
    </message>
    <message>
        <source>Value is not a valid number</source>
        <translation>La valeur n’est pas un nombre valide</translation>
    </message>
    <message>
        <source>Opening %1…</source>
        <translation>Ouverture de %1…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Saving %1…</source>
        <translation>Enregistrement de %1…</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Searching…</source>
        <translation>Recherche en cours…</translation>
    </message>
    <message>
        <source>Search cancelled.</source>
        <translation>Recherche annulée.</translation>
    </message>
    <message>
        <source>The regular expression is too complex to test against %1.</source>
        <translation>L’expression régulière est trop complexe pour être testée sur %1.</translation>
    </message>
    <message>
        <source>&amp;Query...</source>
        <translation>Re&amp;quête...</translation>
    </message>
    <message>
        <source>JSON files (*.json)</source>
        <translation>Fichiers JSON (*.json)</translation>
    </message>
    <message>
        <source>JSON Lines (*.jsonl *.ndjson)</source>
        <translation>JSON Lines (*.jsonl *.ndjson)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>This file contains comments or trailing commas, which JSON does not allow. Open it anyway?</source>
        <translation>Ce fichier contient des commentaires ou des virgules finales, que JSON n’autorise pas. L’ouvrir quand même&#xa0;?</translation>
    </message>
    <message>
        <source>Saving removes the comments from %1. Save anyway?</source>
        <translation>L’enregistrement supprime les commentaires de %1. Enregistrer quand même&#xa0;?</translation>
    </message>
    <message>
        <source>%1 was deleted on disk.</source>
        <translation>%1 a été supprimé du disque.</translation>
    </message>
    <message>
        <source>File Changed</source>
        <translation>Fichier modifié</translation>
    </message>
    <message>
        <source>The file %1 has changed on disk. Reload it and lose your changes?</source>
        <translation>Le fichier %1 a été modifié sur le disque. Le recharger et perdre vos modifications&#xa0;?</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Recharger</translation>
    </message>
    <message>
        <source>Keep my version</source>
        <translation>Garder ma version</translation>
    </message>
    <message>
        <source>Reloaded: %1 (changed on disk).</source>
        <translation>Rechargé&#xa0;: %1 (modifié sur le disque).</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>QueryPanel</name>
    <message>
        <source>Query</source>
        <translation>Requête</translation>
    </message>
    <message>
        <source>$..name</source>
        <extracomment>An example JSONPath expression: its &quot;$&quot; and dots are syntax, kept as they are.</extracomment>
        <translation>$..name</translation>
    </message>
    <message>
        <source>Running the query…</source>
        <translation>Exécution de la requête…</translation>
    </message>
    <message>
        <source>Query cancelled.</source>
        <translation>Requête annulée.</translation>
    </message>
    <message>
        <source>No results</source>
        <translation>Aucun résultat</translation>
    </message>
    <message>
        <source>1 result</source>
        <translation>1 résultat</translation>
    </message>
    <message numerus="yes">
        <source>%n results</source>
        <translation>
            <numerusform>%n résultat</numerusform>
            <numerusform>%n résultats</numerusform>
        </translation>
    </message>
    <message>
        <source>The document has changed: press Enter to run the query again.</source>
        <translation>Le document a été modifié : appuyez sur Entrée pour relancer la requête.</translation>
    </message>
    <message>
        <source>Copy Results</source>
        <translation>Copier les résultats</translation>
    </message>
</context>
<context>
    <name>QueryResultsModel</name>
    <message>
        <source>Path</source>
        <translation>Chemin</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valeur</translation>
    </message>
</context>
<context>
    <name>SearchDialog</name>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Find what:</source>
        <translation>Rechercher&#xa0;:</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Vers le bas</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Vers le haut</translation>
    </message>
    <message>
        <source>Ignore case</source>
        <translation>Ignorer la casse</translation>
    </message>
    <message>
        <source>Wrap around</source>
        <translation>Reprendre au début</translation>
    </message>
    <message>
        <source>Use regular expression</source>
        <translation>Utiliser une expression régulière</translation>
    </message>
    <message>
        <source>Search in value</source>
        <translation>Rechercher aussi dans les valeurs</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Suivant</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source> chars</source>
        <translation> caractères</translation>
    </message>
    <message>
        <source>Unlimited</source>
        <translation>Illimité</translation>
    </message>
    <message>
        <source>Max text display length:</source>
        <translation>Longueur maximale affichée&#xa0;:</translation>
    </message>
    <message>
        <source>Pretty print output:</source>
        <translation>Sortie formatée&#xa0;:</translation>
    </message>
</context>
</TS>
