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

void TJournalAnnulation::Ajoute(TEtapeAnnulation etape) {
    if (ouvertes == 0) ++derniere;
    etape.Commande = derniere;
    Etapes << std::move(etape);
}

QList<TEtapeAnnulation> TJournalAnnulation::RetireDerniereCommande() {
    QList<TEtapeAnnulation> commande;
    if (Etapes.isEmpty()) return commande;
    const quint64 numero = Etapes.constLast().Commande;
    while (!Etapes.isEmpty() && Etapes.constLast().Commande == numero)
        commande << Etapes.takeLast();
    return commande;
}

TCommandeAnnulation::TCommandeAnnulation(TJournalAnnulation& ouvert) : journal(ouvert) {
    if (journal.ouvertes++ == 0) ++journal.derniere;
}

TCommandeAnnulation::~TCommandeAnnulation() {
    --journal.ouvertes;
}

void TJournalAnnulation::SuitRenommages(const QHash<QByteArray, QByteArray>& renommages) {
    if (renommages.isEmpty()) return;
    for (TEtapeAnnulation& etape : Etapes) {
        const auto nouveau = renommages.constFind(etape.Cible);
        if (nouveau != renommages.cend()) etape.Cible = *nouveau;
    }
}

qsizetype TJournalAnnulation::OublieEffaces(const QSet<QByteArray>& effaces) {
    // Counted by file: a file filed, then sent to the trash by the review, has two steps.
    QSet<QByteArray> perdus;
    Etapes.removeIf([&](const TEtapeAnnulation& etape) {
        if (!effaces.contains(etape.Cible)) return false;
        perdus.insert(etape.Cible);
        return true;
    });
    return perdus.size();
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

QString MessageEtapesPerdues(qsizetype fichiers) {
    if (fichiers == 1)
        return QStringLiteral("Un fichier que l'annulation pouvait remettre à sa place a été effacé avec la "
                              "corbeille : il ne peut plus être remis.");
    return QStringLiteral("%1 fichiers que l'annulation pouvait remettre à leur place ont été effacés avec "
                          "la corbeille : ils ne peuvent plus être remis.")
        .arg(fichiers);
}
