#pragma once

#include <QList>

#include "profiles/profiletable.h"

// Tests state profiles row by row; the program keeps them as columns.
inline profiles::ProfileTable tableOf(const QList<profiles::Profile> &rows)
{
    profiles::ProfileTable table;
    for (const profiles::Profile &row : rows) {
        for (int field = 0; field < profiles::FieldCount; ++field)
            table[field].append(row[field]);
    }
    return table;
}

inline QList<profiles::Profile> rowsOf(const profiles::ProfileTable &table)
{
    QList<profiles::Profile> rows(table[profiles::NomPodcast].size());
    for (int field = 0; field < profiles::FieldCount; ++field) {
        for (int i = 0; i < rows.size(); ++i)
            rows[i][field] = table[field].value(i);
    }
    return rows;
}
