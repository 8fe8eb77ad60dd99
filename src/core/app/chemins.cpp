#include "chemins.h"

#include <QDir>
#include <QFileInfo>

namespace Chemins {

bool EstSeparateur(QChar c) {
#ifdef Q_OS_WIN
    return c == u'\\' || c == u'/' || c == u':';
#else
    return c == u'/';
#endif
}

static bool EstSeparateurOctet(char c) {
#ifdef Q_OS_WIN
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

QString SansSeparateurFinal(const QString& chemin) {
#ifdef Q_OS_WIN
    // "C:\" becomes "C:", as everywhere a folder is taken in.
    if (!chemin.isEmpty() && (chemin.back() == u'\\' || chemin.back() == u'/')) return chemin.chopped(1);
#else
    if (chemin.size() > 1 && chemin.back() == u'/') return chemin.chopped(1);
#endif
    return chemin;
}

QString Joint(const QString& dossier, const QString& nom) {
    if (!dossier.isEmpty() && EstSeparateur(dossier.back()) && dossier.back() != u':') return dossier + nom;
    return dossier + QChar(Separateur) + nom;
}

QByteArray Joint(const QByteArray& dossier, const QByteArray& nom) {
    QByteArray resultat;
    resultat.reserve(dossier.size() + nom.size() + 1);
    resultat += dossier;
    if (dossier.isEmpty() || !EstSeparateurOctet(dossier.back()) || dossier.back() == ':')
        resultat += Separateur;
    resultat += nom;
    return resultat;
}

QString NomDeFichier(const QString& chemin) {
    for (qsizetype i = chemin.size() - 1; i >= 0; --i)
        if (EstSeparateur(chemin[i])) return chemin.mid(i + 1);
    return chemin;
}

QByteArray NomDeFichier(const QByteArray& chemin) {
    for (qsizetype i = chemin.size() - 1; i >= 0; --i)
        if (EstSeparateurOctet(chemin[i])) return chemin.mid(i + 1);
    return chemin;
}

QString Nettoye(const QString& chemin, const QString& base) {
    QString propre = QDir::fromNativeSeparators(chemin);
    if (QDir::isRelativePath(propre))
        propre = QDir(QDir::fromNativeSeparators(base)).absoluteFilePath(propre);
    return SansSeparateurFinal(QDir::toNativeSeparators(QDir::cleanPath(propre)));
}

bool EstReserve(const QString& dossier, const QString& dossierProgramme) {
    const QString canonique = QFileInfo(dossier).canonicalFilePath();
    if (canonique.isEmpty()) return false;
    const auto dedans = [&canonique](const QString& reserve) {
        return !reserve.isEmpty() &&
               (canonique == reserve || canonique.startsWith(Joint(reserve, QString())));
    };
    const QString programme = QFileInfo(dossierProgramme).canonicalFilePath();
    return canonique == programme ||
           dedans(QFileInfo(Joint(dossierProgramme, QStringLiteral("Corbeille"))).canonicalFilePath()) ||
           dedans(QFileInfo(Joint(dossierProgramme, QStringLiteral("Signatures"))).canonicalFilePath());
}

QString DossierParDefaut() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\");
#else
    return QDir::homePath();
#endif
}

} // namespace Chemins
