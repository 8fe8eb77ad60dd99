#include "balayage.h"

#include <QFile>

#include <algorithm>

#ifdef Q_OS_WIN
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

int MasqueDuNom(const QByteArray& nom) {
    const qsizetype point = nom.lastIndexOf('.');
    if (point < 0) return -1;
    return MasqueDeLExtension(QByteArrayView(nom).sliced(point + 1));
}

#ifdef Q_OS_WIN

EntreesParMasque ChercheImages(const QString& dossier, Recherche recherche, bool* lu) {
    EntreesParMasque blocs;
    if (lu) *lu = QFileInfo(dossier).isDir() && QFileInfo(dossier).isReadable();
    QDir::Filters filtres = QDir::Files | QDir::NoDotAndDotDot;
    if (recherche == Recherche::ToutesEntrees) filtres |= QDir::Dirs | QDir::Hidden | QDir::System;
    QDirIterator it(dossier, filtres);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        TEntreeDossier entree;
        entree.Nom = QFile::encodeName(info.fileName());
        const int masque = MasqueDuNom(entree.Nom);
        if (masque < 0) continue;
        entree.Taille = info.size();
        entree.Modification = info.lastModified().toSecsSinceEpoch();
        blocs[static_cast<size_t>(masque)].push_back(std::move(entree));
    }
    return blocs;
}

EntreesParMasque ChercheImages(const QByteArray& dossier, Recherche recherche, bool* lu) {
    return ChercheImages(QFile::decodeName(dossier), recherche, lu);
}

#else

bool ParcourtDossier(
    const QByteArray& dossier,
    const std::function<void(const char* nom, unsigned char type, int descripteur)>& visite) {
    if (dossier.isEmpty()) return false;
    DIR* repertoire = opendir(dossier.constData());
    if (!repertoire) return false;
    const int descripteur = dirfd(repertoire);
    while (const dirent* element = readdir(repertoire)) {
        const char* nom = element->d_name;
        if (qstrcmp(nom, ".") == 0 || qstrcmp(nom, "..") == 0) continue;
        visite(nom, element->d_type, descripteur);
    }
    closedir(repertoire);
    return true;
}

EntreesParMasque ChercheImages(const QString& dossier, Recherche recherche, bool* lu) {
    return ChercheImages(QFile::encodeName(dossier), recherche, lu);
}

EntreesParMasque ChercheImages(const QByteArray& dossier, Recherche recherche, bool* lu) {
    EntreesParMasque blocs;
    const bool ouvert = ParcourtDossier(dossier, [&](const char* nom, unsigned char, int descripteur) {
        if (recherche == Recherche::FichiersVisibles && nom[0] == '.') return;
        QByteArray octets(nom);
        const int masque = MasqueDuNom(octets);
        if (masque < 0) return;
        TEntreeDossier entree;
        if (recherche == Recherche::FichiersVisibles) {
            struct stat etat {};
            if (fstatat(descripteur, nom, &etat, 0) != 0 || !S_ISREG(etat.st_mode)) return;
            entree.Taille = etat.st_size;
            entree.Modification = etat.st_mtim.tv_sec;
        }
        entree.Nom = std::move(octets);
        blocs[static_cast<size_t>(masque)].push_back(std::move(entree));
    });
    if (lu) *lu = ouvert;
    return blocs;
}

#endif

int32_t DateDOS(std::time_t instant) {
    std::tm local{};
#ifdef Q_OS_WIN
    if (localtime_s(&local, &instant) != 0) return (1 << 21) | (1 << 16);
#else
    if (!localtime_r(&instant, &local)) return (1 << 21) | (1 << 16);
#endif
    const int annee = local.tm_year + 1900;
    if (annee < 1980) return (1 << 21) | (1 << 16);
    if (annee > 2107)
        return static_cast<int32_t>((127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) |
                                    29u);
    const uint32_t paquet =
        (static_cast<uint32_t>(annee - 1980) << 25) | (static_cast<uint32_t>(local.tm_mon + 1) << 21) |
        (static_cast<uint32_t>(local.tm_mday) << 16) | (static_cast<uint32_t>(local.tm_hour) << 11) |
        (static_cast<uint32_t>(local.tm_min) << 5) | static_cast<uint32_t>(std::min(local.tm_sec, 59) / 2);
    return static_cast<int32_t>(paquet);
}
