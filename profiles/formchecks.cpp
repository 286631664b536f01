#include "profiles/formchecks.h"

#include <algorithm>

#include <QRegularExpression>

namespace profiles {

bool isValidServer(const QString &text)
{
    // The dot matches line breaks too, as it always has for this check.
    static const QRegularExpression pattern(QStringLiteral(".+\\..+\\..+"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return pattern.match(text).hasMatch();
}

ButtonStates buttonStates(const Profile &form, const QString &serverStyleSheet, int indexPodcast,
                          const ProfileTable &table)
{
    // The name is not required: save() names an unnamed profile after its server.
    const bool fieldEmpty = std::any_of(form.begin() + UrlFtp, form.end(),
                                        [](const QString &text) { return text.isEmpty(); });
    bool changed = true;
    if (indexPodcast > 0 && !table[UrlFtp].isEmpty()) {
        changed = false;
        for (int field = 0; field < FieldCount; ++field) {
            if (form[field] != table[field].value(indexPodcast - 1))
                changed = true;
        }
    }
    return {
        .add = !fieldEmpty && !serverStyleSheet.contains(QLatin1String("red")) && changed,
        .remove = !changed && indexPodcast > 0,
        .reset = true,
    };
}

} // namespace profiles
