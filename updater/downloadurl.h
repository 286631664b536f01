#pragma once

#include <QUrl>

// Whether the installer may be fetched from url: whoever can change it in transit runs code on
// the user's machine, so only https will do, but for the loopback addresses that a local test
// server listens on.
bool isSafeInstallerUrl(const QUrl &url);
