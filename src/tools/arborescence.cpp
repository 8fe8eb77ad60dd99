#include "arborescence.h"

#include "app/chemins.h"
#include "source/balayage.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QDirIterator>
#include <QFileInfo>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

#ifdef Q_OS_WIN

TContenuDossier LitDossier(const QString& dossier) {
    TContenuDossier contenu;
    QDirIterator it(dossier, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (MasqueDuNom(QFile::encodeName(info.fileName())) >= 0) contenu.ContientImages = true;
        if (info.isDir() && !info.isHidden())
            contenu.SousDossiers << Chemins::Joint(dossier, info.fileName());
    }
    return contenu;
}

bool TDossiersVus::PremiereVisite(const QString& dossier) {
    const QString canonique = QFileInfo(dossier).canonicalFilePath();
    if (canonique.isEmpty()) return false;
    return vusParChemin.insert(canonique.toCaseFolded()).second;
}

#else

TContenuDossier LitDossier(const QString& dossier) {
    TContenuDossier contenu;
    const QByteArray chemin = QFile::encodeName(dossier);
    ParcourtDossier(chemin, [&](const char* nom, unsigned char type, int descripteur) {
        const QByteArray octets(nom);
        if (!contenu.ContientImages && MasqueDuNom(octets) >= 0) contenu.ContientImages = true;
        if (nom[0] == '.') return;
        bool estDossier = type == DT_DIR;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            // A link counts as the folder it leads to.
            struct stat etat {};
            estDossier = fstatat(descripteur, nom, &etat, 0) == 0 && S_ISDIR(etat.st_mode);
        }
        if (estDossier) contenu.SousDossiers << QFile::decodeName(Chemins::Joint(chemin, octets));
    });
    return contenu;
}

bool TDossiersVus::PremiereVisite(const QString& dossier) {
    struct stat etat {};
    if (stat(QFile::encodeName(dossier).constData(), &etat) != 0) return false;
    return vus.emplace(static_cast<uint64_t>(etat.st_dev), static_cast<uint64_t>(etat.st_ino)).second;
}

#endif
