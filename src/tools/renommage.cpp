#include "renommage.h"

#include "app/attente.h"
#include "app/chemins.h"
#include "app/textefichier.h"
#include "destinations/destination.h"
#include "destinations/fichiers.h"

#include <QFile>
#include <QHash>

namespace {

// One file of the renaming: its names before, between and after the passes, and where it is.
struct TFichierRenomme {
    QString ancien;
    QByteArray octetsAnciens; // the name as the file system has it
    QString temporaire;
    QString final;
    QString actuel;
    QByteArray octetsActuels;
};

// The name a file takes: its folder, the part given, its number and its own extension as written.
QString NomNumerote(const QString& chemin, const QString& partie, const QString& numero) {
    const qsizetype separateur = chemin.lastIndexOf(Chemins::Separateur);
    const QString nom = chemin.mid(separateur + 1);
    const qsizetype point = nom.lastIndexOf(u'.');
    return chemin.left(separateur + 1) + partie + numero + (point < 0 ? QString() : nom.mid(point));
}

bool Renomme(TFichierRenomme& f, const QString& vers, const QByteArray& cible, QStringList* echecs) {
    const Fichiers::Resultat fait = Fichiers::Deplace(f.octetsActuels, cible);
    if (!fait.Reussi) {
        if (echecs) echecs->append(QStringLiteral("« %1 » : %2").arg(f.ancien, fait.Raison));
        return false;
    }
    f.actuel = vers;
    f.octetsActuels = cible;
    return true;
}

} // namespace

TResultatRenommage RenommeFichiers(TDestination& d, const QString& base,
                                   const TListeDestinations& destinations, IAttente* attente,
                                   const QString& journal) {
    const QStringList anciens = d.FichiersConnus();
    TResultatRenommage resultat;
    resultat.Fichiers = anciens.size();
    const int chiffres = anciens.isEmpty() ? 0 : static_cast<int>(QString::number(anciens.size()).size());
    QList<TFichierRenomme> fichiers;
    QStringList lignesJournal;
    for (qsizetype i = 0; i < anciens.size(); ++i) {
        const QString numero = QStringLiteral("%1").arg(i, chiffres, 10, QChar(u'0'));
        TFichierRenomme f;
        f.ancien = f.actuel = anciens[i];
        f.octetsAnciens = f.octetsActuels = d.OctetsDe(anciens[i]);
        f.temporaire = NomNumerote(f.ancien, QStringLiteral("zmxcksjf"), numero);
        f.final = NomNumerote(f.ancien, base, numero);
        // Every name as its bytes, percent-encoded, whatever the text encoding of the file.
        for (const QByteArray& nom :
             {f.octetsAnciens, QFile::encodeName(f.temporaire), QFile::encodeName(f.final)})
            lignesJournal << QString::fromLatin1(nom.toPercentEncoding());
        fichiers << f;
    }
    if (attente)
        attente->Prepare(QStringLiteral("Renommage des fichiers"), static_cast<int>(2 * fichiers.size()));
    if (fichiers.isEmpty()) return resultat;
    // Written before the first file moves: a renaming cut off is undone from it at the next start.
    // Without it, nothing moves.
    if (!TexteFichier::Ecrit(journal, lignesJournal)) {
        resultat.Echecs << QStringLiteral(
                               "« %1 » : le journal du renommage n'a pas pu être écrit ; aucun fichier "
                               "n'a été renommé")
                               .arg(journal);
        return resultat;
    }

    // A file that cannot take its temporary name is tried again from where it is in the second pass.
    for (TFichierRenomme& f : fichiers) {
        Renomme(f, f.temporaire, QFile::encodeName(f.temporaire), nullptr);
        if (attente) attente->Avance();
    }
    for (TFichierRenomme& f : fichiers) {
        // Not left under a temporary name: back to the name it had, when that is still free.
        if (!Renomme(f, f.final, QFile::encodeName(f.final), &resultat.Echecs) && f.actuel == f.temporaire)
            Renomme(f, f.ancien, f.octetsAnciens, nullptr);
        if (attente) attente->Avance();
    }

    // One map from old to new paths for the lists of every destination, this one included.
    QHash<QString, QString> nouveaux;
    for (const TFichierRenomme& f : fichiers) {
        if (f.actuel != f.ancien) nouveaux.insert(f.ancien, f.actuel);
        if (f.octetsActuels != f.octetsAnciens) resultat.Renommages.insert(f.octetsAnciens, f.octetsActuels);
    }
    bool dansLaListe = false;
    for (int i = 0; i < destinations.Count(); ++i) {
        TDestination& autre = *destinations.Element(i);
        dansLaListe = dansLaListe || &autre == &d;
        // Another destination's pairs are kept in its store at once, as this one's are.
        if (autre.RenommeFichiers(nouveaux) && &autre != &d) autre.SauveSignatures();
    }
    if (!dansLaListe) d.RenommeFichiers(nouveaux);
    d.SauveSignatures();
    QFile::remove(journal);
    return resultat;
}

QStringList ReprendRenommageInterrompu(const QString& journal) {
    QStringList lignes;
    if (!QFile::exists(journal) || !TexteFichier::Lit(journal, lignes)) return {};
    QStringList echecs;
    for (qsizetype i = 0; i + 2 < lignes.size(); i += 3) {
        const QByteArray ancien = QByteArray::fromPercentEncoding(lignes[i].toLatin1());
        if (Fichiers::Existe(ancien)) continue;
        for (const QString& ligne : {lignes[i + 1], lignes[i + 2]}) {
            const QByteArray ou = QByteArray::fromPercentEncoding(ligne.toLatin1());
            if (!Fichiers::Existe(ou)) continue;
            const Fichiers::Resultat fait = Fichiers::Deplace(ou, ancien);
            if (!fait.Reussi) echecs << QStringLiteral("« %1 » : %2").arg(QFile::decodeName(ou), fait.Raison);
            break;
        }
    }
    QFile::remove(journal);
    return echecs;
}
