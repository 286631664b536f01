<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>Feed</name>
    <message>
        <source>Flux : l&apos;image de couverture manque.</source>
        <translation>Feed: falta la imagen de portada.</translation>
    </message>
    <message>
        <source>Flux : l&apos;image de couverture %1 est introuvable ou illisible.</source>
        <translation>Feed: la imagen de portada %1 no se encuentra o no se puede leer.</translation>
    </message>
    <message>
        <source>Flux : l&apos;image de couverture %1 doit être un fichier JPEG ou PNG.</source>
        <translation>Feed: la imagen de portada %1 debe ser un archivo JPEG o PNG.</translation>
    </message>
    <message>
        <source>Flux : l&apos;image de couverture %1 mesure %2 × %3 pixels ; il faut un carré de 1400 à 3000 pixels de côté.</source>
        <translation>Feed: la imagen de portada %1 mide %2 × %3 píxeles; debe ser un cuadrado de 1400 a 3000 píxeles de lado.</translation>
    </message>
    <message>
        <source>Flux : le titre manque.</source>
        <translation>Feed: falta el título.</translation>
    </message>
    <message>
        <source>Flux : la description manque.</source>
        <translation>Feed: falta la descripción.</translation>
    </message>
    <message>
        <source>Flux : l&apos;adresse e-mail du propriétaire manque.</source>
        <translation>Feed: falta el correo electrónico del propietario.</translation>
    </message>
    <message>
        <source>Flux : l&apos;adresse e-mail du propriétaire n&apos;est pas valide.</source>
        <translation>Feed: el correo electrónico del propietario no es válido.</translation>
    </message>
    <message>
        <source>Flux : la catégorie manque.</source>
        <translation>Feed: falta la categoría.</translation>
    </message>
    <message>
        <source>Flux : la catégorie n&apos;est pas dans la liste d&apos;Apple Podcasts.</source>
        <translation>Feed: la categoría no está en la lista de Apple Podcasts.</translation>
    </message>
    <message>
        <source>Flux : le contenu explicite (oui ou non) n&apos;est pas précisé.</source>
        <translation>Feed: no se indica si el contenido es explícito (sí o no).</translation>
    </message>
    <message>
        <source>Flux : l&apos;adresse publique doit être une adresse http:// ou https://.</source>
        <translation>Feed: la dirección pública debe ser una dirección http:// o https://.</translation>
    </message>
    <message>
        <source>Flux : le fichier de chapitres %1 ne se lit pas (JSON chapters) : les chapitres des tags le remplacent.</source>
        <translation>Feed: el archivo de capítulos %1 no se puede leer (JSON chapters): lo sustituyen los capítulos de las etiquetas.</translation>
    </message>
    <message>
        <source>Flux : le fichier de chapitres %1 n&apos;a pas pu être écrit.</source>
        <translation>Feed: no se pudo escribir el archivo de capítulos %1.</translation>
    </message>
    <message>
        <source>Flux : la transcription %1 n&apos;est pas valide : elle n&apos;est pas publiée.</source>
        <translation>Feed: la transcripción %1 no es válida: no se publica.</translation>
    </message>
</context>
<context>
    <name>FeedDialog</name>
    <message>
        <source>Flux du podcast</source>
        <translation>Feed del pódcast</translation>
    </message>
    <message>
        <source>Non précisé</source>
        <translation>Sin indicar</translation>
    </message>
    <message>
        <source>Non</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Oui</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>Par défaut : le site de l&apos;adresse publique</source>
        <translation>Por defecto: el sitio de la dirección pública</translation>
    </message>
    <message>
        <source>Adresse publique du dossier MP3 : </source>
        <translation>Dirección pública de la carpeta MP3: </translation>
    </message>
    <message>
        <source>Titre : </source>
        <translation>Título: </translation>
    </message>
    <message>
        <source>Description : </source>
        <translation>Descripción: </translation>
    </message>
    <message>
        <source>Auteur : </source>
        <translation>Autor: </translation>
    </message>
    <message>
        <source>Nom du propriétaire : </source>
        <translation>Nombre del propietario: </translation>
    </message>
    <message>
        <source>E-mail du propriétaire : </source>
        <translation>Correo del propietario: </translation>
    </message>
    <message>
        <source>Langue : </source>
        <translation>Idioma: </translation>
    </message>
    <message>
        <source>Catégorie : </source>
        <translation>Categoría: </translation>
    </message>
    <message>
        <source>Sous-catégorie : </source>
        <translation>Subcategoría: </translation>
    </message>
    <message>
        <source>Contenu explicite : </source>
        <translation>Contenido explícito: </translation>
    </message>
    <message>
        <source>Image de couverture (JPEG ou PNG, carrée, 1400 à 3000 pixels) : </source>
        <translation>Imagen de portada (JPEG o PNG, cuadrada, de 1400 a 3000 píxeles): </translation>
    </message>
    <message>
        <source>Site web : </source>
        <translation>Sitio web: </translation>
    </message>
    <message>
        <source>Copyright : </source>
        <translation>Copyright: </translation>
    </message>
    <message>
        <source>Verrouillé : aucun autre hébergeur ne peut importer le flux sans l&apos;e-mail du propriétaire</source>
        <translation>Bloqueado: ningún otro alojamiento puede importar el feed sin el correo del propietario</translation>
    </message>
    <message>
        <source>Une personne par ligne : Nom (rôle), par exemple Léa Martin (host)</source>
        <translation>Una persona por línea: Nombre (rol), por ejemplo Léa Martin (host)</translation>
    </message>
    <message>
        <source>Soutien (adresse) : </source>
        <translation>Apoyo (dirección): </translation>
    </message>
    <message>
        <source>Soutien (texte) : </source>
        <translation>Apoyo (texto): </translation>
    </message>
    <message>
        <source>Personnes : </source>
        <translation>Personas: </translation>
    </message>
    <message>
        <source>Volume des épisodes : </source>
        <translation>Sonoridad de los episodios: </translation>
    </message>
    <message>
        <source>%1 : mesure en cours…</source>
        <translation>%1: midiendo…</translation>
    </message>
</context>
<context>
    <name>FtpClient</name>
    <message>
        <source>Aborted</source>
        <translation>Cancelado</translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; contains a line break</source>
        <translation>El nombre &quot;%1&quot; contiene un salto de línea</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>No conectado</translation>
    </message>
    <message>
        <source>Connection to host %1 timed out</source>
        <translation>Se agotó el tiempo de conexión con el servidor %1</translation>
    </message>
    <message>
        <source>The data transfer stalled</source>
        <translation>La transferencia de datos se detuvo</translation>
    </message>
    <message>
        <source>The server did not reply in time</source>
        <translation>El servidor no respondió a tiempo</translation>
    </message>
    <message>
        <source>The server sent an overlong reply</source>
        <translation>El servidor envió una respuesta demasiado larga</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Servidor %1 no encontrado</translation>
    </message>
    <message>
        <source>Connection refused to host %1</source>
        <translation>Conexión rechazada por el servidor %1</translation>
    </message>
    <message>
        <source>Connection to host %1 failed: %2</source>
        <translation>Falló la conexión con el servidor %1: %2</translation>
    </message>
    <message>
        <source>Connection closed by the server</source>
        <translation>Conexión cerrada por el servidor</translation>
    </message>
    <message>
        <source>Connection to the server lost: %1</source>
        <translation>Se perdió la conexión con el servidor: %1</translation>
    </message>
    <message>
        <source>Invalid reply from the server: %1</source>
        <translation>Respuesta no válida del servidor: %1</translation>
    </message>
    <message>
        <source>Unexpected reply from the server: %1</source>
        <translation>Respuesta inesperada del servidor: %1</translation>
    </message>
    <message>
        <source>Cannot read the data to send: %1</source>
        <translation>No se pueden leer los datos que enviar: %1</translation>
    </message>
    <message>
        <source>The data to send went away during the transfer</source>
        <translation>Los datos que enviar desaparecieron durante la transferencia</translation>
    </message>
    <message>
        <source>Cannot open the data connection: %1</source>
        <translation>No se puede abrir la conexión de datos: %1</translation>
    </message>
    <message>
        <source>The data connection closed before the whole file was sent</source>
        <translation>La conexión de datos se cerró antes de enviar todo el archivo</translation>
    </message>
    <message>
        <source>The certificate of %1 was not accepted: connection cancelled</source>
        <translation>No se aceptó el certificado de %1: conexión cancelada</translation>
    </message>
    <message>
        <source>TLS handshake with %1 failed: %2</source>
        <translation>Falló la negociación TLS con %1: %2</translation>
    </message>
    <message>
        <source>The encrypted data connection failed: %1</source>
        <translation>Falló la conexión de datos cifrada: %1</translation>
    </message>
    <message>
        <source>The file %1 was not sent: %2</source>
        <translation>No se envió el archivo %1: %2</translation>
    </message>
    <message>
        <source>The password contains a line break</source>
        <translation>La contraseña contiene un salto de línea</translation>
    </message>
    <message>
        <source>The data to send ended early: %1 of %2 bytes</source>
        <translation>Los datos que enviar terminaron antes de tiempo: %1 de %2 bytes</translation>
    </message>
    <message>
        <source>The server sent an overlong listing line</source>
        <translation>El servidor envió una línea de listado demasiado larga</translation>
    </message>
    <message>
        <source>Connecting to host failed: %1</source>
        <translation>Error al conectar con el servidor: %1</translation>
    </message>
    <message>
        <source>Login failed: %1</source>
        <translation>Error de identificación: %1</translation>
    </message>
    <message>
        <source>Listing directory failed: %1</source>
        <translation>Error al listar la carpeta: %1</translation>
    </message>
    <message>
        <source>Changing directory failed: %1</source>
        <translation>Error al cambiar de carpeta: %1</translation>
    </message>
    <message>
        <source>Uploading file failed: %1</source>
        <translation>Error al enviar el archivo: %1</translation>
    </message>
    <message>
        <source>Removing file failed: %1</source>
        <translation>Error al borrar el archivo: %1</translation>
    </message>
    <message>
        <source>Creating directory failed: %1</source>
        <translation>Error al crear la carpeta: %1</translation>
    </message>
    <message>
        <source>%1 no longer offers TLS (&quot;%2&quot;): the connection was stopped and the password was not sent</source>
        <translation>%1 ya no ofrece TLS (&quot;%2&quot;): se detuvo la conexión y no se envió la contraseña</translation>
    </message>
    <message>
        <source>The file %1 was not completed: %2 bytes expected, the server answered SIZE with &quot;%3 %4&quot;</source>
        <translation>El archivo %1 no se completó: se esperaban %2 bytes, el servidor respondió a SIZE con &quot;%3 %4&quot;</translation>
    </message>
</context>
<context>
    <name>Loudness</name>
    <message>
        <source>le format change en cours de fichier</source>
        <translation>el formato cambia dentro del archivo</translation>
    </message>
    <message>
        <source>aucun son MPEG n&apos;a été trouvé</source>
        <translation>no se encontró audio MPEG</translation>
    </message>
    <message>
        <source>format audio non pris en charge</source>
        <translation>formato de audio no admitido</translation>
    </message>
    <message>
        <source>%1 : volume non mesuré (%2)</source>
        <translation>%1 : sonoridad no medida (%2)</translation>
    </message>
    <message>
        <source>%1 : %2 LUFS, crête %3 dBTP</source>
        <translation>%1 : %2 LUFS, pico %3 dBTP</translation>
    </message>
    <message>
        <source>trop faible (cible %1 LUFS)</source>
        <translation>demasiado bajo (objetivo %1 LUFS)</translation>
    </message>
    <message>
        <source>trop fort (cible %1 LUFS)</source>
        <translation>demasiado alto (objetivo %1 LUFS)</translation>
    </message>
    <message>
        <source>crête trop haute (maximum %1 dBTP)</source>
        <translation>pico demasiado alto (máximo %1 dBTP)</translation>
    </message>
</context>
<context>
    <name>PublishPlan</name>
    <message>
        <source>Le serveur ne donne pas l&apos;heure des fichiers : seules les tailles sont comparées.</source>
        <translation>El servidor no indica la hora de sus archivos: solo se comparan los tamaños.</translation>
    </message>
    <message>
        <source>&lt;/span&gt; non traitée (fichier vide).</source>
        <translation>&lt;/span&gt; omitido (archivo vacío).</translation>
    </message>
    <message>
        <source>&lt;/span&gt; non traitée (nom de fichier invalide).</source>
        <translation>&lt;/span&gt; no procesado (nombre de archivo no válido).</translation>
    </message>
    <message>
        <source>&lt;/span&gt; non traitée (fichier introuvable).</source>
        <translation>&lt;/span&gt; omitido (archivo no encontrado).</translation>
    </message>
    <message>
        <source>&lt;/b&gt; mis en file d&apos;attente (suite de l&apos;envoi interrompu, à partir de l&apos;octet %1).</source>
        <translation>&lt;/b&gt; en cola (el resto de un envío interrumpido, desde el byte %1).</translation>
    </message>
    <message>
        <source>/dewplayer-playlist.swf&lt;/b&gt; mis en file d&apos;attente.</source>
        <translation>/dewplayer-playlist.swf&lt;/b&gt; en cola.</translation>
    </message>
    <message>
        <source>/player_mp3_multi.swf&lt;/b&gt; mis en file d&apos;attente.</source>
        <translation>/player_mp3_multi.swf&lt;/b&gt; en cola.</translation>
    </message>
    <message>
        <source>&lt;/b&gt; mis en file d&apos;attente.</source>
        <translation>&lt;/b&gt; en cola.</translation>
    </message>
    <message numerus="yes">
        <source>%n fichier(s) déjà à jour sur le serveur.</source>
        <translation>
            <numerusform>%n archivo ya actualizado en el servidor.</numerusform>
            <numerusform>%n archivos ya actualizados en el servidor.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RemoteClient</name>
    <message>
        <source>Nothing to send for %1</source>
        <translation>Nada que enviar para %1</translation>
    </message>
    <message>
        <source>Cannot open %1 for reading: %2</source>
        <translation>No se puede abrir %1 para leer: %2</translation>
    </message>
    <message>
        <source>Cannot open the data to send: %1</source>
        <translation>No se pueden abrir los datos que enviar: %1</translation>
    </message>
    <message>
        <source>The data to send is not open for reading</source>
        <translation>Los datos que enviar no están abiertos para lectura</translation>
    </message>
    <message>
        <source>Cannot resume %1 from byte %2</source>
        <translation>No se puede reanudar %1 desde el byte %2</translation>
    </message>
</context>
<context>
    <name>S3Client</name>
    <message>
        <source>Aborted</source>
        <translation>Cancelado</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>No conectado</translation>
    </message>
    <message>
        <source>the folder must name a bucket, as bucket or bucket/prefix</source>
        <translation>la carpeta debe nombrar un bucket, como bucket o bucket/prefijo</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no file name of the current folder</source>
        <translation>&quot;%1&quot; no es un nombre de archivo de la carpeta actual</translation>
    </message>
    <message>
        <source>Nothing to send for %1</source>
        <translation>Nada que enviar para %1</translation>
    </message>
    <message>
        <source>Cannot open %1 for reading: %2</source>
        <translation>No se puede abrir %1 para leer: %2</translation>
    </message>
    <message>
        <source>An object store takes no command &quot;%1&quot;</source>
        <translation>Un almacén de objetos no acepta el comando &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Unknown command</source>
        <translation>Comando desconocido</translation>
    </message>
    <message>
        <source>Connecting to host failed: %1</source>
        <translation>Error al conectar con el servidor: %1</translation>
    </message>
    <message>
        <source>Login failed: %1</source>
        <translation>Error de identificación: %1</translation>
    </message>
    <message>
        <source>Listing directory failed: %1</source>
        <translation>Error al listar la carpeta: %1</translation>
    </message>
    <message>
        <source>Changing directory failed: %1</source>
        <translation>Error al cambiar de carpeta: %1</translation>
    </message>
    <message>
        <source>Uploading file failed: %1</source>
        <translation>Error al enviar el archivo: %1</translation>
    </message>
    <message>
        <source>Removing file failed: %1</source>
        <translation>Error al borrar el archivo: %1</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Servidor %1 no encontrado</translation>
    </message>
    <message>
        <source>Connection refused to host %1</source>
        <translation>Conexión rechazada por el servidor %1</translation>
    </message>
    <message>
        <source>Connection to host %1 failed: %2</source>
        <translation>Falló la conexión con el servidor %1: %2</translation>
    </message>
    <message>
        <source>the store knows no such access key id</source>
        <translation>el almacén no conoce ese identificador de clave de acceso</translation>
    </message>
    <message>
        <source>the secret key is not the one of this access key id</source>
        <translation>la clave secreta no corresponde a este identificador de clave de acceso</translation>
    </message>
    <message>
        <source>the bucket does not exist</source>
        <translation>el bucket no existe</translation>
    </message>
    <message>
        <source>the key is not allowed to do this</source>
        <translation>la clave no tiene permiso para hacerlo</translation>
    </message>
    <message>
        <source>the computer&apos;s clock is off: set it to the right time and date</source>
        <translation>el reloj del ordenador no está en hora: ajuste la fecha y la hora</translation>
    </message>
    <message>
        <source>the storage quota is reached</source>
        <translation>se alcanzó la cuota de almacenamiento</translation>
    </message>
    <message>
        <source>the bytes were damaged on the way and the store refused them</source>
        <translation>los datos se dañaron en el camino y el almacén los rechazó</translation>
    </message>
    <message>
        <source>HTTP status %1</source>
        <translation>estado HTTP %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>The store expects the region %1 (instead of %2): signing again for it.</source>
        <translation>El almacén espera la región %1 (en lugar de %2): se vuelve a firmar para ella.</translation>
    </message>
    <message>
        <source>the store&apos;s listing cannot be read</source>
        <translation>no se puede leer el listado del almacén</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>No se puede leer %1: %2</translation>
    </message>
    <message>
        <source>the store gave no upload id</source>
        <translation>el almacén no dio ningún identificador de envío</translation>
    </message>
</context>
<context>
    <name>SftpClient</name>
    <message>
        <source>Aborted</source>
        <translation>Cancelado</translation>
    </message>
    <message>
        <source>The host key of %1 was not accepted: connection cancelled</source>
        <translation>La clave de host de %1 no fue aceptada: conexión cancelada</translation>
    </message>
    <message>
        <source>SFTP has no raw commands: &quot;%1&quot; was not sent</source>
        <translation>SFTP no tiene comandos directos: «%1» no se envió</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>No conectado</translation>
    </message>
    <message>
        <source>Already logged in</source>
        <translation>Ya identificado</translation>
    </message>
    <message>
        <source>Not logged in</source>
        <translation>No identificado</translation>
    </message>
    <message>
        <source>Cannot read the data to send: %1</source>
        <translation>No se pueden leer los datos que enviar: %1</translation>
    </message>
    <message>
        <source>The data to send went away during the transfer</source>
        <translation>Los datos que enviar desaparecieron durante la transferencia</translation>
    </message>
    <message>
        <source>The data to send ended early: %1 of %2 bytes</source>
        <translation>Los datos que enviar terminaron antes de tiempo: %1 de %2 bytes</translation>
    </message>
    <message>
        <source>Connection to host %1 timed out</source>
        <translation>Se agotó el tiempo de conexión con el servidor %1</translation>
    </message>
    <message>
        <source>The data transfer stalled</source>
        <translation>La transferencia de datos se detuvo</translation>
    </message>
    <message>
        <source>The server did not reply in time</source>
        <translation>El servidor no respondió a tiempo</translation>
    </message>
</context>
<context>
    <name>SftpWorker</name>
    <message>
        <source>The host key of %1 has changed: the server now shows the %2 key %3. If you know why, remove line %4 of %5 (the old key). The connection was stopped before any password or key was sent.</source>
        <translation>La clave de host de %1 ha cambiado: el servidor muestra ahora la clave %2 %3. Si sabe por qué, borre la línea %4 de %5 (la clave antigua). La conexión se detuvo antes de enviar ninguna contraseña ni clave.</translation>
    </message>
    <message>
        <source>The host key of %1 (%2 %3) is revoked by line %4 of %5: the connection was stopped</source>
        <translation>La clave de host de %1 (%2 %3) está revocada por la línea %4 de %5: la conexión se detuvo</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Servidor %1 no encontrado</translation>
    </message>
    <message>
        <source>Connection to host %1 timed out</source>
        <translation>Se agotó el tiempo de conexión con el servidor %1</translation>
    </message>
    <message>
        <source>Connection refused to host %1</source>
        <translation>Conexión rechazada por el servidor %1</translation>
    </message>
    <message>
        <source>Connection to host %1 failed: %2</source>
        <translation>Falló la conexión con el servidor %1: %2</translation>
    </message>
    <message>
        <source>Cannot start an SSH session</source>
        <translation>No se puede iniciar una sesión SSH</translation>
    </message>
    <message>
        <source>SSH handshake with %1 failed: %2</source>
        <translation>Falló la negociación SSH con %1: %2</translation>
    </message>
    <message>
        <source>The server %1 showed no usable host key</source>
        <translation>El servidor %1 no mostró ninguna clave de host utilizable</translation>
    </message>
    <message>
        <source>Logged in, but the host key could not be added to %1: %2</source>
        <translation>Identificado, pero la clave de host no se pudo añadir a %1: %2</translation>
    </message>
    <message>
        <source>Login failed: %1</source>
        <translation>Error de identificación: %1</translation>
    </message>
    <message>
        <source>Login failed: the server accepted none of the keys nor the password (it offers: %1)</source>
        <translation>Error de identificación: el servidor no aceptó ninguna de las claves ni la contraseña (ofrece: %1)</translation>
    </message>
    <message>
        <source>The server offers no SFTP: %1</source>
        <translation>El servidor no ofrece SFTP: %1</translation>
    </message>
    <message>
        <source>The server speaks no SFTP version 3</source>
        <translation>El servidor no habla la versión 3 de SFTP</translation>
    </message>
    <message>
        <source>The server did not tell its current folder</source>
        <translation>El servidor no indicó su carpeta actual</translation>
    </message>
    <message>
        <source>Changing directory failed: %1</source>
        <translation>Error al cambiar de carpeta: %1</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 no es una carpeta</translation>
    </message>
    <message>
        <source>Creating directory failed: %1</source>
        <translation>Error al crear la carpeta: %1</translation>
    </message>
    <message>
        <source>Removing file failed: %1</source>
        <translation>Error al borrar el archivo: %1</translation>
    </message>
    <message>
        <source>Listing directory failed: %1</source>
        <translation>Error al listar la carpeta: %1</translation>
    </message>
    <message>
        <source>Uploading file failed: %1</source>
        <translation>Error al enviar el archivo: %1</translation>
    </message>
    <message>
        <source>The file %1 was not sent: %2</source>
        <translation>No se envió el archivo %1: %2</translation>
    </message>
    <message>
        <source>The file %1 was not completed: %2</source>
        <translation>El archivo %1 no se completó: %2</translation>
    </message>
    <message>
        <source>The file %1 was not completed: %2 bytes expected, the server has %3</source>
        <translation>El archivo %1 no se completó: se esperaban %2 bytes, el servidor tiene %3</translation>
    </message>
    <message>
        <source>no size</source>
        <translation>ningún tamaño</translation>
    </message>
    <message>
        <source>the server could not write it (%1); its disk may be full</source>
        <translation>el servidor no pudo escribirlo (%1); puede que su disco esté lleno</translation>
    </message>
    <message>
        <source>Connection to the server lost: %1</source>
        <translation>Se perdió la conexión con el servidor: %1</translation>
    </message>
    <message>
        <source>The server did not reply in time</source>
        <translation>El servidor no respondió a tiempo</translation>
    </message>
    <message>
        <source>Connection closed by the server</source>
        <translation>Conexión cerrada por el servidor</translation>
    </message>
    <message>
        <source>The server sent an invalid SFTP reply</source>
        <translation>El servidor envió una respuesta SFTP no válida</translation>
    </message>
    <message>
        <source>No such file</source>
        <translation>No existe el archivo</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permiso denegado</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Fallo</translation>
    </message>
    <message>
        <source>Operation unsupported</source>
        <translation>Operación no admitida</translation>
    </message>
    <message>
        <source>Error %1</source>
        <translation>Error %1</translation>
    </message>
</context>
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
        <source>Fichier en cours d&apos;enregistrement...</source>
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
        <source>La dernière version n&apos;a pas pu être téléchargée : %1</source>
        <translation>No se pudo descargar la última versión: %1</translation>
    </message>
    <message>
        <source>l&apos;adresse %1 n&apos;est pas sécurisée (https). Téléchargez la dernière version à la main sur le site de Tessaly.</source>
        <translation>la dirección %1 no es segura (https). Descargue la última versión a mano desde el sitio web de Tessaly.</translation>
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
    <message>
        <source>Il n&apos;y a pas de connexion à l&apos;hôte.</source>
        <translation>No hay conexión con el servidor.</translation>
    </message>
    <message>
        <source>Résolution du nom en cours.</source>
        <translation>Resolviendo el nombre del servidor.</translation>
    </message>
    <message>
        <source>Une tentative de connexion à l&apos;hôte est en cours.</source>
        <translation>Intentando conectar con el servidor.</translation>
    </message>
    <message>
        <source>La connexion à l&apos;hôte a été accomplie.</source>
        <translation>Conexión con el servidor establecida.</translation>
    </message>
    <message>
        <source>La connexion et l&apos;identification ont été accomplies.</source>
        <translation>Conexión e identificación realizadas.</translation>
    </message>
    <message>
        <source>La connexion est en cours de fermeture, mais elle n&apos;est pas encore fermée (l&apos;état deviendra Unconnected quand la connexion sera fermée).</source>
        <translation>La conexión se está cerrando, pero aún no está cerrada (el estado pasará a Unconnected cuando se cierre).</translation>
    </message>
    <message>
        <source>Fichiers envoyés</source>
        <translation>Archivos enviados</translation>
    </message>
    <message>
        <source>Les fichiers ont été envoyés avec succès.</source>
        <translation>Los archivos se enviaron correctamente.</translation>
    </message>
    <message>
        <source> : &lt;b&gt;Fichiers supprimés du serveur.&lt;/b&gt;</source>
        <translation> : &lt;b&gt;Archivos eliminados del servidor.&lt;/b&gt;</translation>
    </message>
    <message>
        <source> : Envoi du fichier </source>
        <translation> : Enviando el archivo </translation>
    </message>
    <message>
        <source> : Une opération FTP est déjà en cours.</source>
        <translation> : Ya hay una operación FTP en curso.</translation>
    </message>
    <message>
        <source> : &lt;span style=&apos;color: red; font-weight: bold&apos;&gt;Supprimer </source>
        <translation> : &lt;span style=&apos;color: red; font-weight: bold&apos;&gt;Eliminar </translation>
    </message>
    <message>
        <source>Supprimer les fichiers distants</source>
        <translation>Eliminar los archivos remotos</translation>
    </message>
    <message>
        <source>Supprimer ces fichiers du serveur?</source>
        <translation>¿Eliminar estos archivos del servidor?</translation>
    </message>
    <message>
        <source> : Suppression distante annulée.</source>
        <translation> : Eliminación remota cancelada.</translation>
    </message>
    <message>
        <source>Erreur fichier</source>
        <translation>Error de archivo</translation>
    </message>
    <message>
        <source>Erreur pendant l&apos;ouverture du fichier en écriture.</source>
        <translation>Error al abrir el archivo para escribir.</translation>
    </message>
    <message>
        <source> : Le fichier playlist.xml a été généré.</source>
        <translation> : Se generó el archivo playlist.xml.</translation>
    </message>
    <message>
        <source> : Sélection du podcast &quot;&lt;b&gt;</source>
        <translation> : Podcast seleccionado: &quot;&lt;b&gt;</translation>
    </message>
    <message>
        <source>&lt;/b&gt;</source>
        <translation>&lt;/b&gt;</translation>
    </message>
    <message>
        <source> : Champs réinitialisés.</source>
        <translation> : Campos restablecidos.</translation>
    </message>
    <message>
        <source>erreur</source>
        <translation>error</translation>
    </message>
    <message>
        <source> : &lt;span style=&apos;color: red; font-weight: bold&apos;&gt;Erreur&lt;/span&gt; : </source>
        <translation> : &lt;span style=&apos;color: red; font-weight: bold&apos;&gt;Error&lt;/span&gt; : </translation>
    </message>
    <message>
        <source> : Liste des podcast mise à jour</source>
        <translation> : Lista de podcasts actualizada</translation>
    </message>
    <message>
        <source>impossible d&apos;écrire dans config.ini</source>
        <translation>no se puede escribir en config.ini</translation>
    </message>
    <message>
        <source>ftp non valide</source>
        <translation>servidor ftp no válido</translation>
    </message>
    <message>
        <source> : Le dossier source pointe alors sur &lt;b&gt;&quot;</source>
        <translation> : La carpeta de origen es ahora &lt;b&gt;&quot;</translation>
    </message>
    <message>
        <source>Connexion chiffrée (TLS).</source>
        <translation>Conexión cifrada (TLS).</translation>
    </message>
    <message>
        <source>Connexion non chiffrée : le serveur ne propose pas TLS.</source>
        <translation>Conexión sin cifrar: el servidor no ofrece TLS.</translation>
    </message>
    <message>
        <source>Certificat non vérifié</source>
        <translation>Certificado no verificado</translation>
    </message>
    <message>
        <source>Toujours faire confiance</source>
        <translation>Confiar siempre</translation>
    </message>
    <message>
        <source>Faire confiance cette fois</source>
        <translation>Confiar esta vez</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Le certificat n&apos;a pas pu être enregistré : %1</source>
        <translation>No se pudo guardar el certificado: %1</translation>
    </message>
    <message>
        <source>Attention : ce certificat n&apos;est pas celui que vous aviez approuvé pour ce serveur. Il a peut-être été renouvelé, mais un autre serveur peut aussi se faire passer pour lui.</source>
        <translation>Atención: este no es el certificado que aprobó para este servidor. Puede que se haya renovado, pero también puede que otro servidor se haga pasar por él.</translation>
    </message>
    <message>
        <source>Le certificat du serveur %1 (port %2) n&apos;a pas pu être vérifié :</source>
        <translation>No se pudo verificar el certificado del servidor %1 (puerto %2):</translation>
    </message>
    <message>
        <source>Sujet : %1</source>
        <translation>Sujeto: %1</translation>
    </message>
    <message>
        <source>Émetteur : %1</source>
        <translation>Emisor: %1</translation>
    </message>
    <message>
        <source>Valide du %1 au %2</source>
        <translation>Válido del %1 al %2</translation>
    </message>
    <message>
        <source>Empreinte SHA-256 : %1</source>
        <translation>Huella SHA-256: %1</translation>
    </message>
    <message>
        <source>Faire confiance à ce certificat ?</source>
        <translation>¿Confiar en este certificado?</translation>
    </message>
    <message>
        <source>Envoi en cours</source>
        <translation>Envío en curso</translation>
    </message>
    <message>
        <source>Un envoi est en cours. Quitter quand même ?</source>
        <translation>Hay un envío en curso. ¿Salir de todos modos?</translation>
    </message>
    <message>
        <source>Le champ « Nom du serveur » est vide : indiquez le serveur FTP du podcast.</source>
        <translation>El campo «Nombre del servidor» está vacío: indique el servidor FTP del pódcast.</translation>
    </message>
    <message>
        <source>Nom de fichier distant invalide, non supprimé : %1</source>
        <translation>Nombre de archivo remoto no válido, no eliminado: %1</translation>
    </message>
    <message>
        <source>Le serveur n&apos;a pas pu être enregistré comme serveur TLS : %1</source>
        <translation>No se pudo registrar el servidor como servidor TLS: %1</translation>
    </message>
    <message>
        <source>Flux du podcast…</source>
        <translation>Feed del pódcast…</translation>
    </message>
    <message>
        <source>Les détails du flux n&apos;ont pas pu être enregistrés.</source>
        <translation>No se pudieron guardar los datos del feed.</translation>
    </message>
    <message>
        <source>Les nouveaux épisodes n&apos;ont pas pu être inscrits dans feed.ini : feed.xml n&apos;a pas été écrit.</source>
        <translation>No se pudieron anotar los episodios nuevos en feed.ini: feed.xml no se ha escrito.</translation>
    </message>
    <message>
        <source>Le fichier feed.xml n&apos;a pas pu être écrit.</source>
        <translation>No se pudo escribir el archivo feed.xml.</translation>
    </message>
    <message>
        <source> : Le fichier feed.xml a été généré.</source>
        <translation> : Se ha generado el archivo feed.xml.</translation>
    </message>
    <message>
        <source>Adresse du flux : </source>
        <translation>Dirección del feed: </translation>
    </message>
    <message>
        <source>N&apos;envoyer que les nouveautés</source>
        <translation>Enviar solo lo nuevo o modificado</translation>
    </message>
    <message>
        <source>Le choix n&apos;a pas pu être enregistré dans %1.</source>
        <translation>No se pudo guardar la elección en %1.</translation>
    </message>
    <message>
        <source>Serveur FTP ou FTPS : ftp.example.com
Serveur SFTP (SSH) : sftp://example.com, avec le port SSH (22 le plus souvent)</source>
        <translation>Servidor FTP o FTPS: ftp.example.com
Servidor SFTP (SSH): sftp://example.com, con el puerto SSH (22 casi siempre)</translation>
    </message>
    <message>
        <source>Connexion chiffrée (SSH).</source>
        <translation>Conexión cifrada (SSH).</translation>
    </message>
    <message>
        <source>Le serveur %1 (port %2) présente une clé d&apos;hôte qu&apos;aucun fichier known_hosts ne connaît.</source>
        <translation>El servidor %1 (puerto %2) presenta una clave de host que ningún archivo known_hosts conoce.</translation>
    </message>
    <message>
        <source>Type : %1</source>
        <translation>Tipo: %1</translation>
    </message>
    <message>
        <source>Empreinte : %1</source>
        <translation>Huella: %1</translation>
    </message>
    <message>
        <source>Comparez cette empreinte avec celle que donne votre hébergeur. Faire confiance à cette clé ?</source>
        <translation>Compare esta huella con la que da su proveedor de alojamiento. ¿Confiar en esta clave?</translation>
    </message>
    <message>
        <source>Clé d&apos;hôte inconnue</source>
        <translation>Clave de host desconocida</translation>
    </message>
    <message numerus="yes">
        <source> : Mesure du volume de %n épisode(s)…</source>
        <translation>
            <numerusform> : Midiendo la sonoridad de %n episodio…</numerusform>
            <numerusform> : Midiendo la sonoridad de %n episodios…</numerusform>
        </translation>
    </message>
    <message>
        <source>Les mesures de volume n&apos;ont pas pu être enregistrées dans %1.</source>
        <translation>No se pudieron guardar las medidas de sonoridad en %1.</translation>
    </message>
    <message>
        <source>Connexion chiffrée (HTTPS).</source>
        <translation>Conexión cifrada (HTTPS).</translation>
    </message>
</context>
<context>
    <name>texteACopier</name>
    <message>
        <source>Copiez le script avec CTRL+C</source>
        <translation>Copie el script con CTRL+C</translation>
    </message>
</context>
</TS>
