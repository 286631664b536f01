#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// A language entry is the text of a languageCombo entry: "Français", "English", "Español",
// or empty for the system language.

// Two-letter code of an entry; the translation file is "TSL_" + code.
QString languageCode(const QString &entry, const QLocale &system = QLocale::system());

// The entries of the language list, the system language's own entry first.
QStringList languageEntries(const QLocale &system = QLocale::system());
