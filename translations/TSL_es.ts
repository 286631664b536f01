<?xml version='1.0' encoding='utf-8'?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>UpdaterFen</name>
    <message>
        <source>Mise à jour vers la dernière version de Tessaly</source>
        <translation>Actualización a la última versión de Tessaly</translation>
    </message>
    <message>
        <source> octets / </source>
        <translation> bytes / </translation>
    </message>
    <message>
        <source> octets en tout</source>
        <translation> bytes en total</translation>
    </message>
    <message>
        <source>Fichier en cours d'enregistrement...</source>
        <translation>Guardando el archivo...</translation>
    </message>
    <message>
        <source>Le serveur a répondu %1.</source>
        <translation>El servidor respondió %1.</translation>
    </message>
    <message>
        <source>Le fichier reçu est vide.</source>
        <translation>El archivo recibido está vacío.</translation>
    </message>
    <message>
        <source>Mise à jour impossible</source>
        <translation>Actualización imposible</translation>
    </message>
    <message>
        <source>La dernière version n'a pas pu être téléchargée : %1</source>
        <translation>No se pudo descargar la última versión: %1</translation>
    </message>
</context>
<context>
    <name>ftpupload</name>
    <message>
        <source>Nom du podcast : </source>
        <translation>Nombre del podcast: </translation>
    </message>
    <message>
        <source>Par défaut : nom du serveur</source>
        <translation>Por defecto: nombre del servidor</translation>
    </message>
    <message>
        <source>Anciens : </source>
        <translation>Guardados: </translation>
    </message>
    <message>
        <source>Nom du serveur : </source>
        <translation>Nombre del servidor: </translation>
    </message>
    <message>
        <source>Port : </source>
        <translation>Puerto: </translation>
    </message>
    <message>
        <source>Identifiant : </source>
        <translation>Usuario: </translation>
    </message>
    <message>
        <source>Mot de passe : </source>
        <translation>Contraseña: </translation>
    </message>
    <message>
        <source>&amp;RAZ</source>
        <translation>&amp;Restablecer</translation>
    </message>
    <message>
        <source>&amp;Supprimer</source>
        <translation>&amp;Eliminar</translation>
    </message>
    <message>
        <source>&amp;Ajouter</source>
        <translation>&amp;Añadir</translation>
    </message>
    <message>
        <source>&amp;Choisir le dossier source</source>
        <translation>&amp;Elegir la carpeta de origen</translation>
    </message>
    <message>
        <source>Dossier cible : </source>
        <translation>Carpeta de destino: </translation>
    </message>
    <message>
        <source> &amp;TESTER!</source>
        <translation> &amp;PROBAR!</translation>
    </message>
    <message>
        <source>&amp;Envoyer les fichiers</source>
        <translation>&amp;Enviar los archivos</translation>
    </message>
    <message>
        <source>S&amp;upprimer les fichiers</source>
        <translation>Eli&amp;minar los archivos</translation>
    </message>
    <message>
        <source>C&amp;ommenter / Signaler une erreur</source>
        <translation>C&amp;omentar / Informar de un error</translation>
    </message>
    <message>
        <source>&amp;Générer la Playlist</source>
        <translation>&amp;Generar la Playlist</translation>
    </message>
    <message>
        <source>Serveur</source>
        <translation>Servidor</translation>
    </message>
    <message>
        <source>Lecteur</source>
        <translation>Reproductor</translation>
    </message>
    <message>
        <source>Dossiers</source>
        <translation>Carpetas</translation>
    </message>
    <message>
        <source>Actions à distance</source>
        <translation>Acciones remotas</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Notificaciones</translation>
    </message>
</context>
</TS>