#include "playlist/playlistfiles.h"

#include <QSaveFile>

#include "playlist/snippets.h"

namespace playlist {

QString localPreviewText(const QString &published)
{
    QString text = published;
    text.remove(QStringLiteral("MP3/"));
    text.replace(adresseLecteurMulti(), multiPlayerFile);
    return text;
}

QString playlistFileContent(const QString &fileName, bool test, const QString &player,
                            const QString &text)
{
    if (!test)
        return text;
    // The dewplayer's page is its object, not the XSPF document the text area holds.
    if (player == dewPlayer && fileName == playlistHtml)
        return localPreviewText(dewPlayerObject());
    return localPreviewText(text);
}

bool writeWholeFile(const QString &path, const QString &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    const QByteArray bytes = text.toUtf8();
    // Without a commit the temporary file is discarded and the target stays untouched.
    return file.write(bytes) == bytes.size() && file.commit();
}

} // namespace playlist
