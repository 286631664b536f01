<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>UpdaterFen</name>
    <message>
        <source>Mise à jour vers la dernière version de Tessaly</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> octets / </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> octets en tout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fichier en cours d&apos;enregistrement...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le serveur a répondu %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le fichier reçu est vide.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mise à jour impossible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La dernière version n&apos;a pas pu être téléchargée : %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ftpupload</name>
    <message>
        <source>Nom du podcast : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Par défaut : nom du serveur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anciens : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nom du serveur : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Identifiant : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mot de passe : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;RAZ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Supprimer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ajouter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Choisir le dossier source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dossier cible : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> &amp;TESTER!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Envoyer les fichiers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;upprimer les fichiers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;ommenter / Signaler une erreur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Générer la Playlist</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serveur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lecteur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dossiers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actions à distance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
