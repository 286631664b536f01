#include "ui/language.h"

#include <QHash>

QString languageCode(const QString &entry, const QLocale &system)
{
    const QHash<QString, QString> langues{
        {QString(), system.name().section(QLatin1Char('_'), 0, 0)},
        {QStringLiteral("Español"), QStringLiteral("es")},
        {QStringLiteral("English"), QStringLiteral("en")},
        {QStringLiteral("Français"), QStringLiteral("fr")},
    };
    return langues.value(entry);
}

QStringList languageEntries(const QLocale &system)
{
    const QHash<QString, QString> nomsLangues{
        {QStringLiteral("Spanish"), QStringLiteral("Español")},
        {QStringLiteral("French"), QStringLiteral("Français")},
        {QStringLiteral("English"), QStringLiteral("English")},
    };
    QStringList entries{nomsLangues.value(QLocale::languageToString(system.language())),
                        QStringLiteral("Español"), QStringLiteral("English"), QStringLiteral("Français")};
    entries.removeDuplicates();
    return entries;
}
