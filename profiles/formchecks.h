#pragma once

#include <QString>

#include "profiles/profiletable.h"

namespace profiles {

// A server host must look like name.domain.tld: some text, a dot, some text, a dot, some text.
// Any character counts, dots and spaces included, and the three parts may sit anywhere in it.
bool isValidServer(const QString &text);

struct ButtonStates
{
    bool add;
    bool remove;
    bool reset;
};

// Which of the add, remove and reset buttons may be pressed. form holds the texts of the form,
// except that its name is the text the profile list shows; indexPodcast is the profile list index
// of the profile the form was loaded from (0 for none).
ButtonStates buttonStates(const Profile &form, const QString &serverStyleSheet, int indexPodcast,
                          const ProfileTable &table);

} // namespace profiles
