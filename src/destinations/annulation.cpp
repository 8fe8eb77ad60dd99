#include "annulation.h"

#include <sys/stat.h>

TIdentiteFichier IdentiteDe(const QByteArray& chemin) {
    struct stat etat {};
    TIdentiteFichier identite;
    if (::lstat(chemin.constData(), &etat) != 0) return identite;
    identite.Peripherique = etat.st_dev;
    identite.Inode = etat.st_ino;
    identite.Taille = etat.st_size;
    identite.Modification = etat.st_mtim;
    return identite;
}

void TJournalAnnulation::SuitRenommages(const QHash<QByteArray, QByteArray>& renommages) {
    if (renommages.isEmpty()) return;
    for (TEtapeAnnulation& etape : Etapes) {
        const auto nouveau = renommages.constFind(etape.Cible);
        if (nouveau != renommages.cend()) etape.Cible = *nouveau;
    }
}

qsizetype TJournalAnnulation::OublieEffaces(const QSet<QByteArray>& effaces) {
    return Etapes.removeIf(
        [&effaces](const TEtapeAnnulation& etape) { return effaces.contains(etape.Cible); });
}

QList<qsizetype> TJournalAnnulation::EtapesDe(const QByteArray& chemin) const {
    QList<qsizetype> siennes;
    TIdentiteFichier ici;
    for (qsizetype i = 0; i < Etapes.size(); ++i) {
        if (Etapes[i].Cible != chemin) continue;
        if (!ici.Existe()) ici = IdentiteDe(chemin);
        if (Etapes[i].Identite == ici) siennes << i;
    }
    return siennes;
}

Fichiers::Resultat DeplaceEnSuivant(TJournalAnnulation* journal, const QByteArray& de,
                                    const QByteArray& vers) {
    const QList<qsizetype> siennes = journal ? journal->EtapesDe(de) : QList<qsizetype>();
    const Fichiers::Resultat fait = Fichiers::Deplace(de, vers);
    if (!fait.Reussi || !journal) return fait;
    journal->SuitRenommages({{de, vers}});
    if (!siennes.isEmpty()) {
        const TIdentiteFichier arrivee = IdentiteDe(vers);
        for (const qsizetype i : siennes)
            journal->Etapes[i].Identite = arrivee;
    }
    return fait;
}

QString MessageEtapesPerdues(qsizetype nombre) {
    if (nombre == 1)
        return QStringLiteral("Le fichier d'un classement a été effacé avec la corbeille : ce classement ne "
                              "peut plus être annulé.");
    return QStringLiteral(
               "Les fichiers de %1 classements ont été effacés avec la corbeille : ces classements "
               "ne peuvent plus être annulés.")
        .arg(nombre);
}
