#include "commun.h"

#include "core/source/decodage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

QTemporaryDir& Temporaire() {
    static QTemporaryDir dossier;
    return dossier;
}

} // namespace

// libFuzzer calls it once, before the first input.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's warnings on damaged files would drown the fuzzer's own output.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false");
    const QString maison = DossierDeTravail() + QStringLiteral("/maison");
    QDir().mkpath(maison);
    qputenv("HOME", QFile::encodeName(maison));
    static std::unique_ptr<QGuiApplication> application(new QGuiApplication(*argc, *argv));
    QGuiApplication::setApplicationName(QStringLiteral("Mirasolve"));
    FixeLimiteDecodage();
    return 0;
}

QString DossierDeTravail() {
    return Temporaire().path();
}

QByteArray EcritEntree(const QString& nom, const uint8_t* octets, size_t taille) {
    return EcritEntree(
        nom, QByteArray::fromRawData(reinterpret_cast<const char*>(octets), static_cast<qsizetype>(taille)));
}

QByteArray EcritEntree(const QString& nom, const QByteArray& octets) {
    const QString chemin = DossierDeTravail() + u'/' + nom;
    QDir().mkpath(QFileInfo(chemin).path());
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Truncate) || fichier.write(octets) != octets.size())
        Viole("le dossier de travail reçoit l'entrée");
    return QFile::encodeName(chemin);
}

void VideDossierDeTravail() {
    QDir dossier(DossierDeTravail());
    for (const QFileInfo& entree :
         dossier.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entree.fileName() == QStringLiteral("maison")) continue;
        if (entree.isDir() && !entree.isSymLink())
            QDir(entree.filePath()).removeRecursively();
        else
            QFile::remove(entree.filePath());
    }
}

void Viole(const char* promesse) {
    std::fprintf(stderr, "Promesse non tenue : %s\n", promesse);
    std::abort();
}
