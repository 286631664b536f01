#include "audio/loudnesscheck.h"

#include <cmath>

#include <QCoreApplication>
#include <QStringList>

namespace audio {

namespace {

QString figure(double value, const QLocale &locale)
{
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-∞") : QStringLiteral("∞");
    // Rounded first, so that -0.04 reads 0,0 and not -0,0.
    const double rounded = std::round(value * 10) / 10;
    return locale.toString(rounded == 0 ? 0.0 : rounded, 'f', 1);
}

} // namespace

double targetLoudness(int channels)
{
    return channels == 1 ? monoTarget : stereoTarget;
}

LoudnessLine loudnessLine(const QString &name, const Loudness &loudness, const QLocale &locale)
{
    if (!loudness.measured)
        return {QCoreApplication::translate("Loudness", "%1 : volume non mesuré (%2)").arg(name, loudness.error), true};
    QString text = QCoreApplication::translate("Loudness", "%1 : %2 LUFS, crête %3 dBTP")
                       .arg(name, figure(loudness.integrated, locale), figure(loudness.truePeak, locale));
    const double target = targetLoudness(loudness.channels);
    QStringList reasons;
    if (loudness.integrated < target - tolerance)
        reasons << QCoreApplication::translate("Loudness", "trop faible (cible %1 LUFS)").arg(locale.toString(target, 'g', 3));
    else if (loudness.integrated > target + tolerance)
        reasons << QCoreApplication::translate("Loudness", "trop fort (cible %1 LUFS)").arg(locale.toString(target, 'g', 3));
    if (loudness.truePeak > peakCeiling)
        reasons << QCoreApplication::translate("Loudness", "crête trop haute (maximum %1 dBTP)").arg(locale.toString(peakCeiling, 'g', 3));
    if (!reasons.isEmpty())
        text += QStringLiteral(" : ") + reasons.join(QStringLiteral(", "));
    return {text, !reasons.isEmpty()};
}

} // namespace audio
