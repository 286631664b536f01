<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>FtpClient</name>
    <message>
        <source>Aborted</source>
        <translation>Annulé</translation>
    </message>
    <message>
        <source>The name &quot;%1&quot; contains a line break</source>
        <translation>Le nom « %1 » contient un saut de ligne</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Non connecté</translation>
    </message>
    <message>
        <source>Connection to host %1 timed out</source>
        <translation>Délai de connexion au serveur %1 dépassé</translation>
    </message>
    <message>
        <source>The data transfer stalled</source>
        <translation>Le transfert de données s&apos;est bloqué</translation>
    </message>
    <message>
        <source>The server did not reply in time</source>
        <translation>Le serveur n&apos;a pas répondu à temps</translation>
    </message>
    <message>
        <source>The server sent an overlong reply</source>
        <translation>Le serveur a envoyé une réponse trop longue</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Serveur %1 introuvable</translation>
    </message>
    <message>
        <source>Connection refused to host %1</source>
        <translation>Connexion refusée par le serveur %1</translation>
    </message>
    <message>
        <source>Connection to host %1 failed: %2</source>
        <translation>La connexion au serveur %1 a échoué : %2</translation>
    </message>
    <message>
        <source>Connection closed by the server</source>
        <translation>Connexion fermée par le serveur</translation>
    </message>
    <message>
        <source>Connection to the server lost: %1</source>
        <translation>Connexion au serveur perdue : %1</translation>
    </message>
    <message>
        <source>Invalid reply from the server: %1</source>
        <translation>Réponse invalide du serveur : %1</translation>
    </message>
    <message>
        <source>Unexpected reply from the server: %1</source>
        <translation>Réponse inattendue du serveur : %1</translation>
    </message>
    <message>
        <source>Cannot read the data to send: %1</source>
        <translation>Impossible de lire les données à envoyer : %1</translation>
    </message>
    <message>
        <source>The data to send went away during the transfer</source>
        <translation>Les données à envoyer ont disparu pendant le transfert</translation>
    </message>
    <message>
        <source>Cannot open the data connection: %1</source>
        <translation>Impossible d&apos;ouvrir la connexion de données : %1</translation>
    </message>
    <message>
        <source>The data connection closed before the whole file was sent</source>
        <translation>La connexion de données s&apos;est fermée avant l&apos;envoi du fichier entier</translation>
    </message>
    <message>
        <source>The certificate of %1 was not accepted: connection cancelled</source>
        <translation>Le certificat de %1 n&apos;a pas été accepté : connexion annulée</translation>
    </message>
    <message>
        <source>TLS handshake with %1 failed: %2</source>
        <translation>La négociation TLS avec %1 a échoué : %2</translation>
    </message>
    <message>
        <source>The encrypted data connection failed: %1</source>
        <translation>La connexion de données chiffrée a échoué : %1</translation>
    </message>
    <message>
        <source>The file %1 was not sent: %2</source>
        <translation>Le fichier %1 n&apos;a pas été envoyé : %2</translation>
    </message>
    <message>
        <source>The password contains a line break</source>
        <translation>Le mot de passe contient un saut de ligne</translation>
    </message>
    <message>
        <source>The data to send ended early: %1 of %2 bytes</source>
        <translation>Les données à envoyer se sont arrêtées trop tôt : %1 octets sur %2</translation>
    </message>
    <message>
        <source>The server sent an overlong listing line</source>
        <translation>Le serveur a envoyé une ligne de liste trop longue</translation>
    </message>
    <message>
        <source>Connecting to host failed: %1</source>
        <translation>La connexion au serveur a échoué : %1</translation>
    </message>
    <message>
        <source>Login failed: %1</source>
        <translation>L&apos;identification a échoué : %1</translation>
    </message>
    <message>
        <source>Listing directory failed: %1</source>
        <translation>La liste du dossier a échoué : %1</translation>
    </message>
    <message>
        <source>Changing directory failed: %1</source>
        <translation>Le changement de dossier a échoué : %1</translation>
    </message>
    <message>
        <source>Uploading file failed: %1</source>
        <translation>L&apos;envoi du fichier a échoué : %1</translation>
    </message>
    <message>
        <source>Removing file failed: %1</source>
        <translation>La suppression du fichier a échoué : %1</translation>
    </message>
    <message>
        <source>Creating directory failed: %1</source>
        <translation>La création du dossier a échoué : %1</translation>
    </message>
    <message>
        <source>%1 no longer offers TLS (&quot;%2&quot;): the connection was stopped and the password was not sent</source>
        <translation>%1 ne propose plus TLS (« %2 ») : la connexion a été arrêtée et le mot de passe n&apos;a pas été envoyé</translation>
    </message>
    <message>
        <source>The file %1 was not completed: %2 bytes expected, the server answered SIZE with &quot;%3 %4&quot;</source>
        <translation>Le fichier %1 n&apos;a pas été complété : %2 octets attendus, le serveur a répondu à SIZE par « %3 %4 »</translation>
    </message>
</context>
<context>
    <name>RemoteClient</name>
    <message>
        <source>Nothing to send for %1</source>
        <translation>Rien à envoyer pour %1</translation>
    </message>
    <message>
        <source>Cannot open %1 for reading: %2</source>
        <translation>Impossible d&apos;ouvrir %1 en lecture : %2</translation>
    </message>
    <message>
        <source>Cannot open the data to send: %1</source>
        <translation>Impossible d&apos;ouvrir les données à envoyer : %1</translation>
    </message>
    <message>
        <source>The data to send is not open for reading</source>
        <translation>Les données à envoyer ne sont pas ouvertes en lecture</translation>
    </message>
    <message>
        <source>Cannot resume %1 from byte %2</source>
        <translation>Impossible de reprendre %1 à partir de l&apos;octet %2</translation>
    </message>
</context>
<context>
    <name>S3Client</name>
    <message>
        <source>Aborted</source>
        <translation>Interrompu</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Pas de connexion</translation>
    </message>
    <message>
        <source>the folder must name a bucket, as bucket or bucket/prefix</source>
        <translation>le dossier doit nommer un bucket, sous la forme bucket ou bucket/préfixe</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no file name of the current folder</source>
        <translation>« %1 » n&apos;est pas un nom de fichier du dossier courant</translation>
    </message>
    <message>
        <source>Nothing to send for %1</source>
        <translation>Rien à envoyer pour %1</translation>
    </message>
    <message>
        <source>Cannot open %1 for reading: %2</source>
        <translation>Impossible d&apos;ouvrir %1 en lecture : %2</translation>
    </message>
    <message>
        <source>An object store takes no command &quot;%1&quot;</source>
        <translation>Un stockage objet ne reçoit pas de commande « %1 »</translation>
    </message>
    <message>
        <source>Unknown command</source>
        <translation>Commande inconnue</translation>
    </message>
    <message>
        <source>Connecting to host failed: %1</source>
        <translation>La connexion à l&apos;hôte a échoué : %1</translation>
    </message>
    <message>
        <source>Login failed: %1</source>
        <translation>Échec de l&apos;identification : %1</translation>
    </message>
    <message>
        <source>Listing directory failed: %1</source>
        <translation>La liste du dossier a échoué : %1</translation>
    </message>
    <message>
        <source>Changing directory failed: %1</source>
        <translation>Le changement de dossier a échoué : %1</translation>
    </message>
    <message>
        <source>Uploading file failed: %1</source>
        <translation>L&apos;envoi du fichier a échoué : %1</translation>
    </message>
    <message>
        <source>Removing file failed: %1</source>
        <translation>La suppression du fichier a échoué : %1</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Hôte %1 introuvable</translation>
    </message>
    <message>
        <source>Connection refused to host %1</source>
        <translation>Connexion refusée par l&apos;hôte %1</translation>
    </message>
    <message>
        <source>Connection to host %1 failed: %2</source>
        <translation>La connexion à l&apos;hôte %1 a échoué : %2</translation>
    </message>
    <message>
        <source>the store knows no such access key id</source>
        <translation>le stockage ne connaît pas cet identifiant de clé d&apos;accès</translation>
    </message>
    <message>
        <source>the secret key is not the one of this access key id</source>
        <translation>la clé secrète n&apos;est pas celle de cet identifiant de clé d&apos;accès</translation>
    </message>
    <message>
        <source>the bucket does not exist</source>
        <translation>le bucket n&apos;existe pas</translation>
    </message>
    <message>
        <source>the key is not allowed to do this</source>
        <translation>la clé n&apos;a pas le droit de faire cela</translation>
    </message>
    <message>
        <source>the computer&apos;s clock is off: set it to the right time and date</source>
        <translation>l&apos;horloge de l&apos;ordinateur est décalée : réglez-la à la bonne date et à la bonne heure</translation>
    </message>
    <message>
        <source>the storage quota is reached</source>
        <translation>le quota de stockage est atteint</translation>
    </message>
    <message>
        <source>the bytes were damaged on the way and the store refused them</source>
        <translation>les octets ont été abîmés en route et le stockage les a refusés</translation>
    </message>
    <message>
        <source>HTTP status %1</source>
        <translation>statut HTTP %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>The store expects the region %1 (instead of %2): signing again for it.</source>
        <translation>Le stockage attend la région %1 (au lieu de %2) : nouvelle signature pour elle.</translation>
    </message>
    <message>
        <source>the store&apos;s listing cannot be read</source>
        <translation>la liste du stockage ne se lit pas</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>the store gave no upload id</source>
        <translation>le stockage n&apos;a donné aucun identifiant d&apos;envoi</translation>
    </message>
</context>
<context>
    <name>SftpClient</name>
    <message>
        <source>Aborted</source>
        <translation>Interrompu</translation>
    </message>
    <message>
        <source>The host key of %1 was not accepted: connection cancelled</source>
        <translation>La clé d&apos;hôte de %1 n&apos;a pas été acceptée : connexion annulée</translation>
    </message>
    <message>
        <source>SFTP has no raw commands: &quot;%1&quot; was not sent</source>
        <translation>SFTP n&apos;a pas de commandes brutes : « %1 » n&apos;a pas été envoyée</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Pas de connexion</translation>
    </message>
    <message>
        <source>Already logged in</source>
        <translation>Déjà identifié</translation>
    </message>
    <message>
        <source>Not logged in</source>
        <translation>Pas identifié</translation>
    </message>
    <message>
        <source>Cannot read the data to send: %1</source>
        <translation>Impossible de lire les données à envoyer : %1</translation>
    </message>
    <message>
        <source>The data to send went away during the transfer</source>
        <translation>Les données à envoyer ont disparu pendant le transfert</translation>
    </message>
    <message>
        <source>The data to send ended early: %1 of %2 bytes</source>
        <translation>Les données à envoyer se sont arrêtées avant la fin : %1 octets sur %2</translation>
    </message>
    <message>
        <source>Connection to host %1 timed out</source>
        <translation>La connexion à l&apos;hôte %1 a expiré</translation>
    </message>
    <message>
        <source>The data transfer stalled</source>
        <translation>Le transfert des données est bloqué</translation>
    </message>
    <message>
        <source>The server did not reply in time</source>
        <translation>Le serveur n&apos;a pas répondu à temps</translation>
    </message>
</context>
<context>
    <name>SftpWorker</name>
    <message>
        <source>The host key of %1 has changed: the server now shows the %2 key %3. If you know why, remove line %4 of %5 (the old key). The connection was stopped before any password or key was sent.</source>
        <translation>La clé d&apos;hôte de %1 a changé : le serveur présente maintenant la clé %2 %3. Si vous savez pourquoi, supprimez la ligne %4 de %5 (l&apos;ancienne clé). La connexion a été arrêtée avant l&apos;envoi de tout mot de passe ou de toute clé.</translation>
    </message>
    <message>
        <source>The host key of %1 (%2 %3) is revoked by line %4 of %5: the connection was stopped</source>
        <translation>La clé d&apos;hôte de %1 (%2 %3) est révoquée par la ligne %4 de %5 : la connexion a été arrêtée</translation>
    </message>
    <message>
        <source>Host %1 not found</source>
        <translation>Hôte %1 introuvable</translation>
    </message>
    <message>
        <source>Connection to host %1 timed out</source>
        <translation>La connexion à l&apos;hôte %1 a expiré</translation>
    </message>
    <message>
        <source>Connection refused to host %1</source>
        <translation>Connexion refusée par l&apos;hôte %1</translation>
    </message>
    <message>
        <source>Connection to host %1 failed: %2</source>
        <translation>La connexion à l&apos;hôte %1 a échoué : %2</translation>
    </message>
    <message>
        <source>Cannot start an SSH session</source>
        <translation>Impossible de démarrer une session SSH</translation>
    </message>
    <message>
        <source>SSH handshake with %1 failed: %2</source>
        <translation>La négociation SSH avec %1 a échoué : %2</translation>
    </message>
    <message>
        <source>The server %1 showed no usable host key</source>
        <translation>Le serveur %1 ne présente aucune clé d&apos;hôte utilisable</translation>
    </message>
    <message>
        <source>Logged in, but the host key could not be added to %1: %2</source>
        <translation>Identifié, mais la clé d&apos;hôte n&apos;a pas pu être ajoutée à %1 : %2</translation>
    </message>
    <message>
        <source>Login failed: %1</source>
        <translation>Échec de l&apos;identification : %1</translation>
    </message>
    <message>
        <source>Login failed: the server accepted none of the keys nor the password (it offers: %1)</source>
        <translation>Échec de l&apos;identification : le serveur n&apos;a accepté ni les clés ni le mot de passe (il propose : %1)</translation>
    </message>
    <message>
        <source>The server offers no SFTP: %1</source>
        <translation>Le serveur ne propose pas SFTP : %1</translation>
    </message>
    <message>
        <source>The server speaks no SFTP version 3</source>
        <translation>Le serveur ne parle pas la version 3 de SFTP</translation>
    </message>
    <message>
        <source>The server did not tell its current folder</source>
        <translation>Le serveur n&apos;a pas indiqué son dossier courant</translation>
    </message>
    <message>
        <source>Changing directory failed: %1</source>
        <translation>Le changement de dossier a échoué : %1</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 n&apos;est pas un dossier</translation>
    </message>
    <message>
        <source>Creating directory failed: %1</source>
        <translation>La création du dossier a échoué : %1</translation>
    </message>
    <message>
        <source>Removing file failed: %1</source>
        <translation>La suppression du fichier a échoué : %1</translation>
    </message>
    <message>
        <source>Listing directory failed: %1</source>
        <translation>La liste du dossier a échoué : %1</translation>
    </message>
    <message>
        <source>Uploading file failed: %1</source>
        <translation>L&apos;envoi du fichier a échoué : %1</translation>
    </message>
    <message>
        <source>The file %1 was not sent: %2</source>
        <translation>Le fichier %1 n&apos;a pas été envoyé : %2</translation>
    </message>
    <message>
        <source>The file %1 was not completed: %2</source>
        <translation>Le fichier %1 n&apos;a pas été complété : %2</translation>
    </message>
    <message>
        <source>The file %1 was not completed: %2 bytes expected, the server has %3</source>
        <translation>Le fichier %1 n&apos;a pas été complété : %2 octets attendus, le serveur en a %3</translation>
    </message>
    <message>
        <source>no size</source>
        <translation>pas de taille</translation>
    </message>
    <message>
        <source>the server could not write it (%1); its disk may be full</source>
        <translation>le serveur n&apos;a pas pu l&apos;écrire (%1) ; son disque est peut-être plein</translation>
    </message>
    <message>
        <source>Connection to the server lost: %1</source>
        <translation>Connexion au serveur perdue : %1</translation>
    </message>
    <message>
        <source>The server did not reply in time</source>
        <translation>Le serveur n&apos;a pas répondu à temps</translation>
    </message>
    <message>
        <source>Connection closed by the server</source>
        <translation>Connexion fermée par le serveur</translation>
    </message>
    <message>
        <source>The server sent an invalid SFTP reply</source>
        <translation>Le serveur a envoyé une réponse SFTP invalide</translation>
    </message>
    <message>
        <source>No such file</source>
        <translation>Fichier inexistant</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permission refusée</translation>
    </message>
    <message>
        <source>Failure</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Operation unsupported</source>
        <translation>Opération non prise en charge</translation>
    </message>
    <message>
        <source>Error %1</source>
        <translation>Erreur %1</translation>
    </message>
</context>
<context>
    <name>ftpupload</name>
    <message>
        <source>Attention : ce certificat n&apos;est pas celui que vous aviez approuvé pour ce serveur. Il a peut-être été renouvelé, mais un autre serveur peut aussi se faire passer pour lui.</source>
        <translation>Attention : ce certificat n&apos;est pas celui que vous aviez approuvé pour ce serveur. Il a peut-être été renouvelé, mais un autre serveur peut aussi se faire passer pour lui.</translation>
    </message>
    <message>
        <source>Le certificat du serveur %1 (port %2) n&apos;a pas pu être vérifié :</source>
        <translation>Le certificat du serveur %1 (port %2) n&apos;a pas pu être vérifié :</translation>
    </message>
    <message>
        <source>Sujet : %1</source>
        <translation>Sujet : %1</translation>
    </message>
    <message>
        <source>Émetteur : %1</source>
        <translation>Émetteur : %1</translation>
    </message>
    <message>
        <source>Valide du %1 au %2</source>
        <translation>Valide du %1 au %2</translation>
    </message>
    <message>
        <source>Empreinte SHA-256 : %1</source>
        <translation>Empreinte SHA-256 : %1</translation>
    </message>
    <message>
        <source>Faire confiance à ce certificat ?</source>
        <translation>Faire confiance à ce certificat ?</translation>
    </message>
</context>
</TS>
