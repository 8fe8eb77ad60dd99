#pragma once

// The reference decoder of the signature benchmarks: `djpeg -dct fast -nosmooth -scale 1/8`.

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

// Milliseconds per file of djpeg at 1/8 on the files, each run writing to /dev/null, its process
// start-up measured apart and removed; -1 when djpeg is not installed.
inline double MsParImageDjpeg(const QStringList& fichiers) {
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty() || fichiers.isEmpty()) return -1;
    auto lance = [&djpeg](const QStringList& arguments) {
        QProcess processus;
        processus.setStandardOutputFile(QProcess::nullDevice());
        processus.setStandardErrorFile(QProcess::nullDevice());
        processus.start(djpeg, arguments);
        processus.waitForFinished(-1);
    };
    QElapsedTimer t;
    t.start();
    for (int k = 0; k < 20; ++k)
        lance({QStringLiteral("-version")});
    const double demarrage = static_cast<double>(t.nsecsElapsed()) / 1e6 / 20;
    t.start();
    for (const QString& f : fichiers)
        lance({QStringLiteral("-dct"), QStringLiteral("fast"), QStringLiteral("-nosmooth"),
               QStringLiteral("-scale"), QStringLiteral("1/8"), QStringLiteral("-outfile"),
               QStringLiteral("/dev/null"), f});
    return static_cast<double>(t.nsecsElapsed()) / 1e6 / static_cast<double>(fichiers.size()) - demarrage;
}
