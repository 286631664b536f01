#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Size of the logo image for a window of the given width: an eighth of the width, in the
// logo's proportions.
QSize logoSize(int windowWidth);

// The vector logo rendered over a transparent image of the given size; a missing or
// unreadable file leaves the image transparent.
QImage renderLogo(const QString &svgPath, const QSize &size);
