#include "feed/showdetails.h"

#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <QUrl>

namespace feed {

namespace {

QString settingsPath(const QString &folder)
{
    return QDir(folder).absoluteFilePath(detailsFile);
}

// Keys of the [show] group, in the order of the fields they hold.
struct TextKey
{
    const char *key;
    QString ShowDetails::*field;
};
const TextKey textKeys[] = {
    {"publicAddress", &ShowDetails::publicAddress},
    {"title", &ShowDetails::title},
    {"description", &ShowDetails::description},
    {"author", &ShowDetails::author},
    {"ownerName", &ShowDetails::ownerName},
    {"ownerEmail", &ShowDetails::ownerEmail},
    {"language", &ShowDetails::language},
    {"category", &ShowDetails::category},
    {"subcategory", &ShowDetails::subcategory},
    {"coverImage", &ShowDetails::coverImage},
    {"website", &ShowDetails::website},
    {"copyright", &ShowDetails::copyright},
    {"fundingUrl", &ShowDetails::fundingUrl},
    {"fundingText", &ShowDetails::fundingText},
};

} // namespace

ShowDetails readShowDetails(const QString &folder)
{
    ShowDetails details;
    QSettings settings(settingsPath(folder), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return details;
    settings.beginGroup(QStringLiteral("show"));
    for (const TextKey &key : textKeys)
        details.*key.field = settings.value(QLatin1StringView(key.key)).toString();
    const QString explicitText = settings.value(QStringLiteral("explicit")).toString();
    if (explicitText == QLatin1StringView("true"))
        details.explicitContent = Explicit::Yes;
    else if (explicitText == QLatin1StringView("false"))
        details.explicitContent = Explicit::No;
    details.locked = settings.value(QStringLiteral("locked")).toString() == QLatin1StringView("true");
    settings.endGroup();

    const int people = settings.beginReadArray(QStringLiteral("people"));
    for (int i = 0; i < people; ++i) {
        settings.setArrayIndex(i);
        const Person person{settings.value(QStringLiteral("name")).toString(), settings.value(QStringLiteral("role")).toString()};
        if (!person.name.isEmpty())
            details.people.append(person);
    }
    settings.endArray();

    const int count = settings.beginReadArray(QStringLiteral("episodes"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        const QString file = settings.value(QStringLiteral("file")).toString();
        EpisodeIdentity identity{settings.value(QStringLiteral("guid")).toString(),
                                 QDateTime::fromString(settings.value(QStringLiteral("published")).toString(), Qt::ISODate)};
        if (!file.isEmpty() && !identity.guid.isEmpty() && identity.published.isValid())
            details.identities.insert(file, identity);
    }
    settings.endArray();
    return details;
}

bool writeShowDetails(const QString &folder, const ShowDetails &details)
{
    QSettings settings(settingsPath(folder), QSettings::IniFormat);
    settings.clear();
    settings.beginGroup(QStringLiteral("show"));
    for (const TextKey &key : textKeys)
        settings.setValue(QLatin1StringView(key.key), details.*key.field);
    if (details.explicitContent != Explicit::Unset)
        settings.setValue(QStringLiteral("explicit"), details.explicitContent == Explicit::Yes ? QStringLiteral("true") : QStringLiteral("false"));
    if (details.locked)
        settings.setValue(QStringLiteral("locked"), QStringLiteral("true"));
    settings.endGroup();

    settings.beginWriteArray(QStringLiteral("people"), static_cast<int>(details.people.size()));
    for (int i = 0; i < details.people.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("name"), details.people[i].name);
        settings.setValue(QStringLiteral("role"), details.people[i].role);
    }
    settings.endArray();

    // Sorted by name, so that the file reads the same from one save to the next.
    QStringList files = details.identities.keys();
    files.sort();
    settings.beginWriteArray(QStringLiteral("episodes"), static_cast<int>(files.size()));
    for (int i = 0; i < files.size(); ++i) {
        const EpisodeIdentity &identity = details.identities[files[i]];
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("file"), files[i]);
        settings.setValue(QStringLiteral("guid"), identity.guid);
        settings.setValue(QStringLiteral("published"), identity.published.toUTC().toString(Qt::ISODate));
    }
    settings.endArray();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QList<Person> parsePeople(const QString &text)
{
    static const QRegularExpression withRole(QStringLiteral("^(.*\\S)\\s*\\(([^()]+)\\)$"));
    QList<Person> people;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        const QRegularExpressionMatch match = withRole.match(trimmed);
        if (match.hasMatch())
            people.append({match.captured(1), match.captured(2).trimmed().toLower()});
        else
            people.append({trimmed, QStringLiteral("host")});
    }
    return people;
}

QString peopleText(const QList<Person> &people)
{
    QStringList lines;
    for (const Person &person : people)
        lines << person.name + QStringLiteral(" (") + person.role + QLatin1Char(')');
    return lines.join(QLatin1Char('\n'));
}

QString folderAddress(const ShowDetails &details)
{
    // Typed by hand: spaces and accents are encoded rather than refused.
    const QUrl url(details.publicAddress.trimmed(), QUrl::TolerantMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() || url.hasQuery() || url.hasFragment()
        || (scheme != QLatin1StringView("http") && scheme != QLatin1StringView("https")))
        return {};
    QString address = url.toString(QUrl::FullyEncoded);
    if (!address.endsWith(QLatin1Char('/')))
        address += QLatin1Char('/');
    return address;
}

QString feedAddress(const ShowDetails &details)
{
    return publishedFileAddress(details, feedFile);
}

QString website(const ShowDetails &details)
{
    if (!details.website.trimmed().isEmpty())
        return details.website.trimmed();
    const QUrl folder(folderAddress(details));
    return folder.isEmpty() ? QString() : folder.adjusted(QUrl::RemovePath | QUrl::RemoveUserInfo).toString() + QLatin1Char('/');
}

QString publishedFileAddress(const ShowDetails &details, const QString &fileName)
{
    const QString folder = folderAddress(details);
    return folder.isEmpty() ? QString() : folder + QString::fromLatin1(QUrl::toPercentEncoding(fileName));
}

} // namespace feed
