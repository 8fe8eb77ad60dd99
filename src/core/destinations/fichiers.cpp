#include "fichiers.h"

#include "core/source/formats.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Fichiers {

namespace {

Resultat Echec(int erreur) {
    return {false, erreur, RaisonSysteme(erreur)};
}

// Copies the bytes into a new file, flushed to the disk; the new file is removed on any failure.
Resultat CopieExclusive(const QByteArray& source, const QByteArray& cible) {
    const int entree = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (entree < 0) return Echec(errno);
    struct stat etat {};
    if (::fstat(entree, &etat) != 0) {
        const int erreur = errno;
        ::close(entree);
        return Echec(erreur);
    }
    const int sortie =
        ::open(cible.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, etat.st_mode & 0777);
    if (sortie < 0) {
        const int erreur = errno;
        ::close(entree);
        return Echec(erreur);
    }
    int erreur = 0;
    char tampon[1 << 16];
    off_t copies = 0;
    for (;;) {
        const ssize_t lus = ::read(entree, tampon, sizeof tampon);
        if (lus < 0) {
            if (errno == EINTR) continue;
            erreur = errno;
            break;
        }
        if (lus == 0) break;
        for (ssize_t ecrits = 0; ecrits < lus;) {
            const ssize_t n = ::write(sortie, tampon + ecrits, static_cast<size_t>(lus - ecrits));
            if (n < 0) {
                if (errno == EINTR) continue;
                erreur = errno;
                break;
            }
            ecrits += n;
        }
        if (erreur) break;
        copies += lus;
    }
    if (!erreur && ::fsync(sortie) != 0) erreur = errno;
    if (::close(sortie) != 0 && !erreur) erreur = errno;
    ::close(entree);
    struct stat ecrit {};
    if (!erreur &&
        (::stat(cible.constData(), &ecrit) != 0 || ecrit.st_size != etat.st_size || copies != etat.st_size))
        erreur = EIO;
    if (erreur) {
        ::unlink(cible.constData());
        return Echec(erreur);
    }
    return {};
}

} // namespace

QString RaisonSysteme(int erreur) {
    switch (erreur) {
    case ENOENT:
        return QStringLiteral("le fichier ou le dossier n'existe pas");
    case EACCES:
    case EPERM:
        return QStringLiteral("accès refusé");
    case EROFS:
        return QStringLiteral("le dossier est en lecture seule");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("le disque est plein");
    case EEXIST:
        return QStringLiteral("un fichier de ce nom existe déjà");
    case ENOTDIR:
        return QStringLiteral("le dossier n'existe pas");
    default:
        return QString::fromLocal8Bit(std::strerror(erreur));
    }
}

bool Existe(const QByteArray& chemin) {
    struct stat etat {};
    return ::lstat(chemin.constData(), &etat) == 0;
}

QByteArray CibleLibre(const QByteArray& dossier, const QByteArray& nom, const QByteArray& source) {
    QByteArray cible = dossier.endsWith('/') ? dossier + nom : dossier + '/' + nom;
    if (!Existe(cible) || cible == source) return cible;
    const qsizetype point = nom.lastIndexOf('.');
    const QByteArray extension = point >= 0 ? nom.mid(point) : QByteArray();
    // The four historical extensions keep their rule, the last four characters cut (x.jpeg ->
    // x.1.jpeg); any other gets its number right before its dot (IMG_1.heic -> IMG_11.heic).
    const bool historique = point >= 0 && ExtensionHistorique(QByteArrayView(nom).sliced(point + 1));
    const qsizetype coupe = historique ? 4 : extension.size();
    const QByteArray racine =
        cible.left(std::max<qsizetype>(cible.size() - nom.size(), cible.size() - coupe));
    for (qint64 k = 1;; ++k) {
        const QByteArray candidat = racine + QByteArray::number(k) + extension;
        if (!Existe(candidat)) return candidat;
    }
}

Resultat Deplace(const QByteArray& source, const QByteArray& cible) {
    if (!Existe(source)) return {false, ENOENT, QStringLiteral("le fichier n'existe plus")};
    // A link then an unlink never replaces anything: link fails when the name is taken.
    if (::link(source.constData(), cible.constData()) == 0) {
        if (::unlink(source.constData()) != 0) {
            const int erreur = errno;
            ::unlink(cible.constData());
            return Echec(erreur);
        }
        return {};
    }
    const int erreurLien = errno;
    if (erreurLien != EXDEV && erreurLien != EPERM && erreurLien != EMLINK && erreurLien != ENOTSUP)
        return Echec(erreurLien);
    // Another file system, or one without hard links: copy, check, then delete the source.
    const Resultat copie = CopieExclusive(source, cible);
    if (!copie.Reussi) return copie;
    if (::unlink(source.constData()) != 0) {
        const int erreur = errno;
        ::unlink(cible.constData());
        return Echec(erreur);
    }
    return {};
}

Resultat Copie(const QByteArray& source, const QByteArray& cible) {
    if (!Existe(source)) return {false, ENOENT, QStringLiteral("le fichier n'existe plus")};
    return CopieExclusive(source, cible);
}

} // namespace Fichiers
