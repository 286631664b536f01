<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Feed</name>
    <message>
        <source>Flux : l&apos;image de couverture manque.</source>
        <translation>Feed: the cover image is missing.</translation>
    </message>
    <message>
        <source>Flux : l&apos;image de couverture %1 est introuvable ou illisible.</source>
        <translation>Feed: the cover image %1 cannot be found or read.</translation>
    </message>
    <message>
        <source>Flux : l&apos;image de couverture %1 doit être un fichier JPEG ou PNG.</source>
        <translation>Feed: the cover image %1 must be a JPEG or PNG file.</translation>
    </message>
    <message>
        <source>Flux : l&apos;image de couverture %1 mesure %2 × %3 pixels ; il faut un carré de 1400 à 3000 pixels de côté.</source>
        <translation>Feed: the cover image %1 is %2 × %3 pixels; it must be a square of 1400 to 3000 pixels a side.</translation>
    </message>
    <message>
        <source>Flux : le titre manque.</source>
        <translation>Feed: the title is missing.</translation>
    </message>
    <message>
        <source>Flux : la description manque.</source>
        <translation>Feed: the description is missing.</translation>
    </message>
    <message>
        <source>Flux : l&apos;adresse e-mail du propriétaire manque.</source>
        <translation>Feed: the owner&apos;s e-mail address is missing.</translation>
    </message>
    <message>
        <source>Flux : l&apos;adresse e-mail du propriétaire n&apos;est pas valide.</source>
        <translation>Feed: the owner&apos;s e-mail address is not valid.</translation>
    </message>
    <message>
        <source>Flux : la catégorie manque.</source>
        <translation>Feed: the category is missing.</translation>
    </message>
    <message>
        <source>Flux : la catégorie n&apos;est pas dans la liste d&apos;Apple Podcasts.</source>
        <translation>Feed: the category is not in Apple Podcasts&apos; list.</translation>
    </message>
    <message>
        <source>Flux : le contenu explicite (oui ou non) n&apos;est pas précisé.</source>
        <translation>Feed: explicit content (yes or no) is not stated.</translation>
    </message>
    <message>
        <source>Flux : l&apos;adresse publique doit être une adresse http:// ou https://.</source>
        <translation>Feed: the public address must be an http:// or https:// address.</translation>
    </message>
    <message>
        <source>Flux : le fichier de chapitres %1 ne se lit pas (JSON chapters) : les chapitres des tags le remplacent.</source>
        <translation>Feed: the chapters file %1 does not parse (JSON chapters): the tags&apos; chapters replace it.</translation>
    </message>
    <message>
        <source>Flux : le fichier de chapitres %1 n&apos;a pas pu être écrit.</source>
        <translation>Feed: the chapters file %1 could not be written.</translation>
    </message>
    <message>
        <source>Flux : la transcription %1 n&apos;est pas valide : elle n&apos;est pas publiée.</source>
        <translation>Feed: the transcript %1 is not valid: it is not published.</translation>
    </message>
</context>
<context>
    <name>FeedDialog</name>
    <message>
        <source>Flux du podcast</source>
        <translation>Podcast feed</translation>
    </message>
    <message>
        <source>Non précisé</source>
        <translation>Not stated</translation>
    </message>
    <message>
        <source>Non</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Oui</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Par défaut : le site de l&apos;adresse publique</source>
        <translation>Default: the site of the public address</translation>
    </message>
    <message>
        <source>Adresse publique du dossier MP3 : </source>
        <translation>Public address of the MP3 folder: </translation>
    </message>
    <message>
        <source>Titre : </source>
        <translation>Title: </translation>
    </message>
    <message>
        <source>Description : </source>
        <translation>Description: </translation>
    </message>
    <message>
        <source>Auteur : </source>
        <translation>Author: </translation>
    </message>
    <message>
        <source>Nom du propriétaire : </source>
        <translation>Owner&apos;s name: </translation>
    </message>
    <message>
        <source>E-mail du propriétaire : </source>
        <translation>Owner&apos;s e-mail: </translation>
    </message>
    <message>
        <source>Langue : </source>
        <translation>Language: </translation>
    </message>
    <message>
        <source>Catégorie : </source>
        <translation>Category: </translation>
    </message>
    <message>
        <source>Sous-catégorie : </source>
        <translation>Subcategory: </translation>
    </message>
    <message>
        <source>Contenu explicite : </source>
        <translation>Explicit content: </translation>
    </message>
    <message>
        <source>Image de couverture (JPEG ou PNG, carrée, 1400 à 3000 pixels) : </source>
        <translation>Cover image (JPEG or PNG, square, 1400 to 3000 pixels): </translation>
    </message>
    <message>
        <source>Site web : </source>
        <translation>Website: </translation>
    </message>
    <message>
        <source>Copyright : </source>
        <translation>Copyright: </translation>
    </message>
    <message>
        <source>Verrouillé : aucun autre hébergeur ne peut importer le flux sans l&apos;e-mail du propriétaire</source>
        <translation>Locked: no other host may import the feed without the owner&apos;s e-mail</translation>
    </message>
    <message>
        <source>Une personne par ligne : Nom (rôle), par exemple Léa Martin (host)</source>
        <translation>One person a line: Name (role), for example Léa Martin (host)</translation>
    </message>
    <message>
        <source>Soutien (adresse) : </source>
        <translation>Funding (address): </translation>
    </message>
    <message>
        <source>Soutien (texte) : </source>
        <translation>Funding (text): </translation>
    </message>
    <message>
        <source>Personnes : </source>
        <translation>People: </translation>
    </message>
    <message>
        <source>Volume des épisodes : </source>
        <translation>Episodes&apos; loudness: </translation>
    </message>
    <message>
        <source>%1 : mesure en cours…</source>
        <translation>%1: being measured…</translation>
    </message>
</context>
<context>
    <name>FtpClient</name>
    <message>
        <source>Aborted</source>
        <translation>Aborted</translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; contains a line break</source>
        <translation>The name &quot;%1&quot; contains a line break</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>Connection to host %1 timed out</source>
        <translation>Connection to host %1 timed out</translation>
    </message>
    <message>
        <source>The data transfer stalled</source>
        <translation>The data transfer stalled</translation>
    </message>
    <message>
        <source>The server did not reply in time</source>
        <translation>The server did not reply in time</translation>
    </message>
    <message>
        <source>The server sent an overlong reply</source>
        <translation>The server sent an overlong reply</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Host %1 not found</translation>
    </message>
    <message>
        <source>Connection refused to host %1</source>
        <translation>Connection refused to host %1</translation>
    </message>
    <message>
        <source>Connection to host %1 failed: %2</source>
        <translation>Connection to host %1 failed: %2</translation>
    </message>
    <message>
        <source>Connection closed by the server</source>
        <translation>Connection closed by the server</translation>
    </message>
    <message>
        <source>Connection to the server lost: %1</source>
        <translation>Connection to the server lost: %1</translation>
    </message>
    <message>
        <source>Invalid reply from the server: %1</source>
        <translation>Invalid reply from the server: %1</translation>
    </message>
    <message>
        <source>Unexpected reply from the server: %1</source>
        <translation>Unexpected reply from the server: %1</translation>
    </message>
    <message>
        <source>Cannot read the data to send: %1</source>
        <translation>Cannot read the data to send: %1</translation>
    </message>
    <message>
        <source>The data to send went away during the transfer</source>
        <translation>The data to send went away during the transfer</translation>
    </message>
    <message>
        <source>Cannot open the data connection: %1</source>
        <translation>Cannot open the data connection: %1</translation>
    </message>
    <message>
        <source>The data connection closed before the whole file was sent</source>
        <translation>The data connection closed before the whole file was sent</translation>
    </message>
    <message>
        <source>The certificate of %1 was not accepted: connection cancelled</source>
        <translation>The certificate of %1 was not accepted: connection cancelled</translation>
    </message>
    <message>
        <source>TLS handshake with %1 failed: %2</source>
        <translation>TLS handshake with %1 failed: %2</translation>
    </message>
    <message>
        <source>The encrypted data connection failed: %1</source>
        <translation>The encrypted data connection failed: %1</translation>
    </message>
    <message>
        <source>The file %1 was not sent: %2</source>
        <translation>The file %1 was not sent: %2</translation>
    </message>
    <message>
        <source>The password contains a line break</source>
        <translation>The password contains a line break</translation>
    </message>
    <message>
        <source>The data to send ended early: %1 of %2 bytes</source>
        <translation>The data to send ended early: %1 of %2 bytes</translation>
    </message>
    <message>
        <source>The server sent an overlong listing line</source>
        <translation>The server sent an overlong listing line</translation>
    </message>
    <message>
        <source>Connecting to host failed: %1</source>
        <translation>Connecting to host failed: %1</translation>
    </message>
    <message>
        <source>Login failed: %1</source>
        <translation>Login failed: %1</translation>
    </message>
    <message>
        <source>Listing directory failed: %1</source>
        <translation>Listing directory failed: %1</translation>
    </message>
    <message>
        <source>Changing directory failed: %1</source>
        <translation>Changing directory failed: %1</translation>
    </message>
    <message>
        <source>Uploading file failed: %1</source>
        <translation>Uploading file failed: %1</translation>
    </message>
    <message>
        <source>Removing file failed: %1</source>
        <translation>Removing file failed: %1</translation>
    </message>
    <message>
        <source>Creating directory failed: %1</source>
        <translation>Creating directory failed: %1</translation>
    </message>
    <message>
        <source>%1 no longer offers TLS (&quot;%2&quot;): the connection was stopped and the password was not sent</source>
        <translation>%1 no longer offers TLS (&quot;%2&quot;): the connection was stopped and the password was not sent</translation>
    </message>
    <message>
        <source>The file %1 was not completed: %2 bytes expected, the server answered SIZE with &quot;%3 %4&quot;</source>
        <translation>The file %1 was not completed: %2 bytes expected, the server answered SIZE with &quot;%3 %4&quot;</translation>
    </message>
</context>
<context>
    <name>Loudness</name>
    <message>
        <source>le format change en cours de fichier</source>
        <translation>the format changes within the file</translation>
    </message>
    <message>
        <source>aucun son MPEG n&apos;a été trouvé</source>
        <translation>no MPEG audio was found</translation>
    </message>
    <message>
        <source>format audio non pris en charge</source>
        <translation>unsupported audio format</translation>
    </message>
    <message>
        <source>%1 : volume non mesuré (%2)</source>
        <translation>%1 : loudness not measured (%2)</translation>
    </message>
    <message>
        <source>%1 : %2 LUFS, crête %3 dBTP</source>
        <translation>%1 : %2 LUFS, peak %3 dBTP</translation>
    </message>
    <message>
        <source>trop faible (cible %1 LUFS)</source>
        <translation>too quiet (target %1 LUFS)</translation>
    </message>
    <message>
        <source>trop fort (cible %1 LUFS)</source>
        <translation>too loud (target %1 LUFS)</translation>
    </message>
    <message>
        <source>crête trop haute (maximum %1 dBTP)</source>
        <translation>peak too high (maximum %1 dBTP)</translation>
    </message>
</context>
<context>
    <name>PublishPlan</name>
    <message>
        <source>Le serveur ne donne pas l&apos;heure des fichiers : seules les tailles sont comparées.</source>
        <translation>The server does not tell the times of its files: only sizes are compared.</translation>
    </message>
    <message>
        <source>&lt;/span&gt; non traitée (fichier vide).</source>
        <translation>&lt;/span&gt; skipped (empty file).</translation>
    </message>
    <message>
        <source>&lt;/span&gt; non traitée (nom de fichier invalide).</source>
        <translation>&lt;/span&gt; not processed (invalid file name).</translation>
    </message>
    <message>
        <source>&lt;/span&gt; non traitée (fichier introuvable).</source>
        <translation>&lt;/span&gt; skipped (file not found).</translation>
    </message>
    <message>
        <source>&lt;/b&gt; mis en file d&apos;attente (suite de l&apos;envoi interrompu, à partir de l&apos;octet %1).</source>
        <translation>&lt;/b&gt; queued (the rest of an interrupted upload, from byte %1).</translation>
    </message>
    <message>
        <source>/dewplayer-playlist.swf&lt;/b&gt; mis en file d&apos;attente.</source>
        <translation>/dewplayer-playlist.swf&lt;/b&gt; queued.</translation>
    </message>
    <message>
        <source>/player_mp3_multi.swf&lt;/b&gt; mis en file d&apos;attente.</source>
        <translation>/player_mp3_multi.swf&lt;/b&gt; queued.</translation>
    </message>
    <message>
        <source>&lt;/b&gt; mis en file d&apos;attente.</source>
        <translation>&lt;/b&gt; queued.</translation>
    </message>
    <message numerus="yes">
        <source>%n fichier(s) déjà à jour sur le serveur.</source>
        <translation>
            <numerusform>%n file already up to date on the server.</numerusform>
            <numerusform>%n files already up to date on the server.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RemoteClient</name>
    <message>
        <source>Nothing to send for %1</source>
        <translation>Nothing to send for %1</translation>
    </message>
    <message>
        <source>Cannot open %1 for reading: %2</source>
        <translation>Cannot open %1 for reading: %2</translation>
    </message>
    <message>
        <source>Cannot open the data to send: %1</source>
        <translation>Cannot open the data to send: %1</translation>
    </message>
    <message>
        <source>The data to send is not open for reading</source>
        <translation>The data to send is not open for reading</translation>
    </message>
    <message>
        <source>Cannot resume %1 from byte %2</source>
        <translation>Cannot resume %1 from byte %2</translation>
    </message>
</context>
<context>
    <name>S3Client</name>
    <message>
        <source>Aborted</source>
        <translation>Aborted</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>the folder must name a bucket, as bucket or bucket/prefix</source>
        <translation>the folder must name a bucket, as bucket or bucket/prefix</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no file name of the current folder</source>
        <translation>&quot;%1&quot; is no file name of the current folder</translation>
    </message>
    <message>
        <source>Nothing to send for %1</source>
        <translation>Nothing to send for %1</translation>
    </message>
    <message>
        <source>Cannot open %1 for reading: %2</source>
        <translation>Cannot open %1 for reading: %2</translation>
    </message>
    <message>
        <source>An object store takes no command &quot;%1&quot;</source>
        <translation>An object store takes no command &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Unknown command</source>
        <translation>Unknown command</translation>
    </message>
    <message>
        <source>Connecting to host failed: %1</source>
        <translation>Connecting to host failed: %1</translation>
    </message>
    <message>
        <source>Login failed: %1</source>
        <translation>Login failed: %1</translation>
    </message>
    <message>
        <source>Listing directory failed: %1</source>
        <translation>Listing directory failed: %1</translation>
    </message>
    <message>
        <source>Changing directory failed: %1</source>
        <translation>Changing directory failed: %1</translation>
    </message>
    <message>
        <source>Uploading file failed: %1</source>
        <translation>Uploading file failed: %1</translation>
    </message>
    <message>
        <source>Removing file failed: %1</source>
        <translation>Removing file failed: %1</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Host %1 not found</translation>
    </message>
    <message>
        <source>Connection refused to host %1</source>
        <translation>Connection refused to host %1</translation>
    </message>
    <message>
        <source>Connection to host %1 failed: %2</source>
        <translation>Connection to host %1 failed: %2</translation>
    </message>
    <message>
        <source>the store knows no such access key id</source>
        <translation>the store knows no such access key id</translation>
    </message>
    <message>
        <source>the secret key is not the one of this access key id</source>
        <translation>the secret key is not the one of this access key id</translation>
    </message>
    <message>
        <source>the bucket does not exist</source>
        <translation>the bucket does not exist</translation>
    </message>
    <message>
        <source>the key is not allowed to do this</source>
        <translation>the key is not allowed to do this</translation>
    </message>
    <message>
        <source>the computer&apos;s clock is off: set it to the right time and date</source>
        <translation>the computer&apos;s clock is off: set it to the right time and date</translation>
    </message>
    <message>
        <source>the storage quota is reached</source>
        <translation>the storage quota is reached</translation>
    </message>
    <message>
        <source>the bytes were damaged on the way and the store refused them</source>
        <translation>the bytes were damaged on the way and the store refused them</translation>
    </message>
    <message>
        <source>HTTP status %1</source>
        <translation>HTTP status %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>The store expects the region %1 (instead of %2): signing again for it.</source>
        <translation>The store expects the region %1 (instead of %2): signing again for it.</translation>
    </message>
    <message>
        <source>the store&apos;s listing cannot be read</source>
        <translation>the store&apos;s listing cannot be read</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>the store gave no upload id</source>
        <translation>the store gave no upload id</translation>
    </message>
</context>
<context>
    <name>SftpClient</name>
    <message>
        <source>Aborted</source>
        <translation>Aborted</translation>
    </message>
    <message>
        <source>The host key of %1 was not accepted: connection cancelled</source>
        <translation>The host key of %1 was not accepted: connection cancelled</translation>
    </message>
    <message>
        <source>SFTP has no raw commands: &quot;%1&quot; was not sent</source>
        <translation>SFTP has no raw commands: &quot;%1&quot; was not sent</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>Already logged in</source>
        <translation>Already logged in</translation>
    </message>
    <message>
        <source>Not logged in</source>
        <translation>Not logged in</translation>
    </message>
    <message>
        <source>Cannot read the data to send: %1</source>
        <translation>Cannot read the data to send: %1</translation>
    </message>
    <message>
        <source>The data to send went away during the transfer</source>
        <translation>The data to send went away during the transfer</translation>
    </message>
    <message>
        <source>The data to send ended early: %1 of %2 bytes</source>
        <translation>The data to send ended early: %1 of %2 bytes</translation>
    </message>
    <message>
        <source>Connection to host %1 timed out</source>
        <translation>Connection to host %1 timed out</translation>
    </message>
    <message>
        <source>The data transfer stalled</source>
        <translation>The data transfer stalled</translation>
    </message>
    <message>
        <source>The server did not reply in time</source>
        <translation>The server did not reply in time</translation>
    </message>
</context>
<context>
    <name>SftpWorker</name>
    <message>
        <source>The host key of %1 has changed: the server now shows the %2 key %3. If you know why, remove line %4 of %5 (the old key). The connection was stopped before any password or key was sent.</source>
        <translation>The host key of %1 has changed: the server now shows the %2 key %3. If you know why, remove line %4 of %5 (the old key). The connection was stopped before any password or key was sent.</translation>
    </message>
    <message>
        <source>The host key of %1 (%2 %3) is revoked by line %4 of %5: the connection was stopped</source>
        <translation>The host key of %1 (%2 %3) is revoked by line %4 of %5: the connection was stopped</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Host %1 not found</translation>
    </message>
    <message>
        <source>Connection to host %1 timed out</source>
        <translation>Connection to host %1 timed out</translation>
    </message>
    <message>
        <source>Connection refused to host %1</source>
        <translation>Connection refused to host %1</translation>
    </message>
    <message>
        <source>Connection to host %1 failed: %2</source>
        <translation>Connection to host %1 failed: %2</translation>
    </message>
    <message>
        <source>Cannot start an SSH session</source>
        <translation>Cannot start an SSH session</translation>
    </message>
    <message>
        <source>SSH handshake with %1 failed: %2</source>
        <translation>SSH handshake with %1 failed: %2</translation>
    </message>
    <message>
        <source>The server %1 showed no usable host key</source>
        <translation>The server %1 showed no usable host key</translation>
    </message>
    <message>
        <source>Logged in, but the host key could not be added to %1: %2</source>
        <translation>Logged in, but the host key could not be added to %1: %2</translation>
    </message>
    <message>
        <source>Login failed: %1</source>
        <translation>Login failed: %1</translation>
    </message>
    <message>
        <source>Login failed: the server accepted none of the keys nor the password (it offers: %1)</source>
        <translation>Login failed: the server accepted none of the keys nor the password (it offers: %1)</translation>
    </message>
    <message>
        <source>The server offers no SFTP: %1</source>
        <translation>The server offers no SFTP: %1</translation>
    </message>
    <message>
        <source>The server speaks no SFTP version 3</source>
        <translation>The server speaks no SFTP version 3</translation>
    </message>
    <message>
        <source>The server did not tell its current folder</source>
        <translation>The server did not tell its current folder</translation>
    </message>
    <message>
        <source>Changing directory failed: %1</source>
        <translation>Changing directory failed: %1</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>Creating directory failed: %1</source>
        <translation>Creating directory failed: %1</translation>
    </message>
    <message>
        <source>Removing file failed: %1</source>
        <translation>Removing file failed: %1</translation>
    </message>
    <message>
        <source>Listing directory failed: %1</source>
        <translation>Listing directory failed: %1</translation>
    </message>
    <message>
        <source>Uploading file failed: %1</source>
        <translation>Uploading file failed: %1</translation>
    </message>
    <message>
        <source>The file %1 was not sent: %2</source>
        <translation>The file %1 was not sent: %2</translation>
    </message>
    <message>
        <source>The file %1 was not completed: %2</source>
        <translation>The file %1 was not completed: %2</translation>
    </message>
    <message>
        <source>The file %1 was not completed: %2 bytes expected, the server has %3</source>
        <translation>The file %1 was not completed: %2 bytes expected, the server has %3</translation>
    </message>
    <message>
        <source>no size</source>
        <translation>no size</translation>
    </message>
    <message>
        <source>the server could not write it (%1); its disk may be full</source>
        <translation>the server could not write it (%1); its disk may be full</translation>
    </message>
    <message>
        <source>Connection to the server lost: %1</source>
        <translation>Connection to the server lost: %1</translation>
    </message>
    <message>
        <source>The server did not reply in time</source>
        <translation>The server did not reply in time</translation>
    </message>
    <message>
        <source>Connection closed by the server</source>
        <translation>Connection closed by the server</translation>
    </message>
    <message>
        <source>The server sent an invalid SFTP reply</source>
        <translation>The server sent an invalid SFTP reply</translation>
    </message>
    <message>
        <source>No such file</source>
        <translation>No such file</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Failure</translation>
    </message>
    <message>
        <source>Operation unsupported</source>
        <translation>Operation unsupported</translation>
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
        <source>Fichier en cours d&apos;enregistrement...</source>
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
        <source>La dernière version n&apos;a pas pu être téléchargée : %1</source>
        <translation>The latest version could not be downloaded: %1</translation>
    </message>
    <message>
        <source>l&apos;adresse %1 n&apos;est pas sécurisée (https). Téléchargez la dernière version à la main sur le site de Tessaly.</source>
        <translation>the address %1 is not secure (https). Download the latest version by hand from the Tessaly website.</translation>
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
    <message>
        <source>Il n&apos;y a pas de connexion à l&apos;hôte.</source>
        <translation>There is no connection to the host.</translation>
    </message>
    <message>
        <source>Résolution du nom en cours.</source>
        <translation>Looking up the host name.</translation>
    </message>
    <message>
        <source>Une tentative de connexion à l&apos;hôte est en cours.</source>
        <translation>Trying to connect to the host.</translation>
    </message>
    <message>
        <source>La connexion à l&apos;hôte a été accomplie.</source>
        <translation>Connected to the host.</translation>
    </message>
    <message>
        <source>La connexion et l&apos;identification ont été accomplies.</source>
        <translation>Connected and logged in.</translation>
    </message>
    <message>
        <source>La connexion est en cours de fermeture, mais elle n&apos;est pas encore fermée (l&apos;état deviendra Unconnected quand la connexion sera fermée).</source>
        <translation>The connection is closing but is not closed yet (the state becomes Unconnected once it is closed).</translation>
    </message>
    <message>
        <source>Fichiers envoyés</source>
        <translation>Files sent</translation>
    </message>
    <message>
        <source>Les fichiers ont été envoyés avec succès.</source>
        <translation>The files were sent successfully.</translation>
    </message>
    <message>
        <source> : &lt;b&gt;Fichiers supprimés du serveur.&lt;/b&gt;</source>
        <translation> : &lt;b&gt;Files deleted from the server.&lt;/b&gt;</translation>
    </message>
    <message>
        <source> : Envoi du fichier </source>
        <translation> : Sending the file </translation>
    </message>
    <message>
        <source> : Une opération FTP est déjà en cours.</source>
        <translation> : An FTP operation is already under way.</translation>
    </message>
    <message>
        <source> : &lt;span style=&apos;color: red; font-weight: bold&apos;&gt;Supprimer </source>
        <translation> : &lt;span style=&apos;color: red; font-weight: bold&apos;&gt;Delete </translation>
    </message>
    <message>
        <source>Supprimer les fichiers distants</source>
        <translation>Delete the remote files</translation>
    </message>
    <message>
        <source>Supprimer ces fichiers du serveur?</source>
        <translation>Delete these files from the server?</translation>
    </message>
    <message>
        <source> : Suppression distante annulée.</source>
        <translation> : Remote deletion cancelled.</translation>
    </message>
    <message>
        <source>Erreur fichier</source>
        <translation>File error</translation>
    </message>
    <message>
        <source>Erreur pendant l&apos;ouverture du fichier en écriture.</source>
        <translation>Error while opening the file for writing.</translation>
    </message>
    <message>
        <source> : Le fichier playlist.xml a été généré.</source>
        <translation> : The file playlist.xml was generated.</translation>
    </message>
    <message>
        <source> : Sélection du podcast &quot;&lt;b&gt;</source>
        <translation> : Podcast selected: &quot;&lt;b&gt;</translation>
    </message>
    <message>
        <source>&lt;/b&gt;</source>
        <translation>&lt;/b&gt;</translation>
    </message>
    <message>
        <source> : Champs réinitialisés.</source>
        <translation> : Fields reset.</translation>
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
        <translation> : Podcast list updated</translation>
    </message>
    <message>
        <source>impossible d&apos;écrire dans config.ini</source>
        <translation>config.ini cannot be written</translation>
    </message>
    <message>
        <source>ftp non valide</source>
        <translation>invalid ftp server</translation>
    </message>
    <message>
        <source> : Le dossier source pointe alors sur &lt;b&gt;&quot;</source>
        <translation> : The source folder is now &lt;b&gt;&quot;</translation>
    </message>
    <message>
        <source>Connexion chiffrée (TLS).</source>
        <translation>Encrypted connection (TLS).</translation>
    </message>
    <message>
        <source>Connexion non chiffrée : le serveur ne propose pas TLS.</source>
        <translation>Unencrypted connection: the server does not offer TLS.</translation>
    </message>
    <message>
        <source>Certificat non vérifié</source>
        <translation>Unverified certificate</translation>
    </message>
    <message>
        <source>Toujours faire confiance</source>
        <translation>Always trust</translation>
    </message>
    <message>
        <source>Faire confiance cette fois</source>
        <translation>Trust this time</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Le certificat n&apos;a pas pu être enregistré : %1</source>
        <translation>The certificate could not be saved: %1</translation>
    </message>
    <message>
        <source>Attention : ce certificat n&apos;est pas celui que vous aviez approuvé pour ce serveur. Il a peut-être été renouvelé, mais un autre serveur peut aussi se faire passer pour lui.</source>
        <translation>Warning: this is not the certificate you trusted for this server. It may have been renewed, but another server may also be posing as this one.</translation>
    </message>
    <message>
        <source>Le certificat du serveur %1 (port %2) n&apos;a pas pu être vérifié :</source>
        <translation>The certificate of the server %1 (port %2) could not be verified:</translation>
    </message>
    <message>
        <source>Sujet : %1</source>
        <translation>Subject: %1</translation>
    </message>
    <message>
        <source>Émetteur : %1</source>
        <translation>Issuer: %1</translation>
    </message>
    <message>
        <source>Valide du %1 au %2</source>
        <translation>Valid from %1 to %2</translation>
    </message>
    <message>
        <source>Empreinte SHA-256 : %1</source>
        <translation>SHA-256 fingerprint: %1</translation>
    </message>
    <message>
        <source>Faire confiance à ce certificat ?</source>
        <translation>Trust this certificate?</translation>
    </message>
    <message>
        <source>Envoi en cours</source>
        <translation>Upload in progress</translation>
    </message>
    <message>
        <source>Un envoi est en cours. Quitter quand même ?</source>
        <translation>An upload is in progress. Quit anyway?</translation>
    </message>
    <message>
        <source>Le champ « Nom du serveur » est vide : indiquez le serveur FTP du podcast.</source>
        <translation>The &quot;Server name&quot; field is empty: enter the podcast&apos;s FTP server.</translation>
    </message>
    <message>
        <source>Nom de fichier distant invalide, non supprimé : %1</source>
        <translation>Invalid remote file name, not deleted: %1</translation>
    </message>
    <message>
        <source>Le serveur n&apos;a pas pu être enregistré comme serveur TLS : %1</source>
        <translation>The server could not be recorded as a TLS server: %1</translation>
    </message>
    <message>
        <source>Flux du podcast…</source>
        <translation>Podcast feed…</translation>
    </message>
    <message>
        <source>Les détails du flux n&apos;ont pas pu être enregistrés.</source>
        <translation>The feed&apos;s details could not be saved.</translation>
    </message>
    <message>
        <source>Les nouveaux épisodes n&apos;ont pas pu être inscrits dans feed.ini : feed.xml n&apos;a pas été écrit.</source>
        <translation>The new episodes could not be recorded in feed.ini: feed.xml was not written.</translation>
    </message>
    <message>
        <source>Le fichier feed.xml n&apos;a pas pu être écrit.</source>
        <translation>The file feed.xml could not be written.</translation>
    </message>
    <message>
        <source> : Le fichier feed.xml a été généré.</source>
        <translation> : The file feed.xml was generated.</translation>
    </message>
    <message>
        <source>Adresse du flux : </source>
        <translation>Feed address: </translation>
    </message>
    <message>
        <source>N&apos;envoyer que les nouveautés</source>
        <translation>Send only new or changed files</translation>
    </message>
    <message>
        <source>Le choix n&apos;a pas pu être enregistré dans %1.</source>
        <translation>The choice could not be saved in %1.</translation>
    </message>
    <message>
        <source>Serveur FTP ou FTPS : ftp.example.com
Serveur SFTP (SSH) : sftp://example.com, avec le port SSH (22 le plus souvent)</source>
        <translation>FTP or FTPS server: ftp.example.com
SFTP (SSH) server: sftp://example.com, with the SSH port (22 most often)</translation>
    </message>
    <message>
        <source>Connexion chiffrée (SSH).</source>
        <translation>Encrypted connection (SSH).</translation>
    </message>
    <message>
        <source>Le serveur %1 (port %2) présente une clé d&apos;hôte qu&apos;aucun fichier known_hosts ne connaît.</source>
        <translation>The server %1 (port %2) shows a host key that no known_hosts file knows.</translation>
    </message>
    <message>
        <source>Type : %1</source>
        <translation>Type: %1</translation>
    </message>
    <message>
        <source>Empreinte : %1</source>
        <translation>Fingerprint: %1</translation>
    </message>
    <message>
        <source>Comparez cette empreinte avec celle que donne votre hébergeur. Faire confiance à cette clé ?</source>
        <translation>Compare this fingerprint with the one your hosting provider gives. Trust this key?</translation>
    </message>
    <message>
        <source>Clé d&apos;hôte inconnue</source>
        <translation>Unknown host key</translation>
    </message>
    <message numerus="yes">
        <source> : Mesure du volume de %n épisode(s)…</source>
        <translation>
            <numerusform> : Measuring the loudness of %n episode…</numerusform>
            <numerusform> : Measuring the loudness of %n episodes…</numerusform>
        </translation>
    </message>
    <message>
        <source>Les mesures de volume n&apos;ont pas pu être enregistrées dans %1.</source>
        <translation>The loudness figures could not be saved in %1.</translation>
    </message>
    <message>
        <source>Connexion chiffrée (HTTPS).</source>
        <translation>Encrypted connection (HTTPS).</translation>
    </message>
</context>
<context>
    <name>texteACopier</name>
    <message>
        <source>Copiez le script avec CTRL+C</source>
        <translation>Copy the script with CTRL+C</translation>
    </message>
</context>
</TS>
