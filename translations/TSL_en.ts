<?xml version='1.0' encoding='utf-8'?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>UpdaterFen</name>
    <message>
        <source>Mise à jour vers la dernière version de Tessaly</source>
        <translation>Updating to the latest version of Tessaly</translation>
    </message>
    <message>
        <source> octets / </source>
        <translation> bytes / </translation>
    </message>
    <message>
        <source> octets en tout</source>
        <translation> bytes in all</translation>
    </message>
    <message>
        <source>Fichier en cours d'enregistrement...</source>
        <translation>Saving the file...</translation>
    </message>
    <message>
        <source>Le serveur a répondu %1.</source>
        <translation>The server answered %1.</translation>
    </message>
    <message>
        <source>Le fichier reçu est vide.</source>
        <translation>The file received is empty.</translation>
    </message>
    <message>
        <source>Mise à jour impossible</source>
        <translation>Update impossible</translation>
    </message>
    <message>
        <source>La dernière version n'a pas pu être téléchargée : %1</source>
        <translation>The latest version could not be downloaded: %1</translation>
    </message>
</context>
<context>
    <name>ftpupload</name>
    <message>
        <source>Nom du podcast : </source>
        <translation>Podcast name: </translation>
    </message>
    <message>
        <source>Par défaut : nom du serveur</source>
        <translation>Default: server name</translation>
    </message>
    <message>
        <source>Anciens : </source>
        <translation>Saved: </translation>
    </message>
    <message>
        <source>Nom du serveur : </source>
        <translation>Server name: </translation>
    </message>
    <message>
        <source>Port : </source>
        <translation>Port: </translation>
    </message>
    <message>
        <source>Identifiant : </source>
        <translation>User name: </translation>
    </message>
    <message>
        <source>Mot de passe : </source>
        <translation>Password: </translation>
    </message>
    <message>
        <source>&amp;RAZ</source>
        <translation>&amp;Reset</translation>
    </message>
    <message>
        <source>&amp;Supprimer</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>&amp;Ajouter</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>&amp;Choisir le dossier source</source>
        <translation>&amp;Choose the source folder</translation>
    </message>
    <message>
        <source>Dossier cible : </source>
        <translation>Target folder: </translation>
    </message>
    <message>
        <source> &amp;TESTER!</source>
        <translation> &amp;TEST!</translation>
    </message>
    <message>
        <source>&amp;Envoyer les fichiers</source>
        <translation>&amp;Send the files</translation>
    </message>
    <message>
        <source>S&amp;upprimer les fichiers</source>
        <translation>Del&amp;ete the files</translation>
    </message>
    <message>
        <source>C&amp;ommenter / Signaler une erreur</source>
        <translation>C&amp;omment / Report a bug</translation>
    </message>
    <message>
        <source>&amp;Générer la Playlist</source>
        <translation>&amp;Generate the Playlist</translation>
    </message>
    <message>
        <source>Serveur</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Lecteur</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>Dossiers</source>
        <translation>Folders</translation>
    </message>
    <message>
        <source>Actions à distance</source>
        <translation>Remote actions</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Notifications</translation>
    </message>
</context>
</TS>