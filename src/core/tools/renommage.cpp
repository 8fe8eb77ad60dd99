#include "renommage.h"

#include "core/app/attente.h"
#include "core/app/chemins.h"
#include "core/app/textefichier.h"
#include "core/destinations/destination.h"
#include "core/destinations/fichiers.h"
#include "core/duplicates/magasin.h"

#include <QFile>
#include <QHash>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

// The journal of a renaming: a header line, then one line per rename, its source and its target
// as percent-encoded bytes, written before the rename is made.
const QByteArray EnteteJournal("[Renommage]");

bool MemeFichier(const QByteArray& a, const QByteArray& b) {
    struct stat x {
    }, y{};
    return ::stat(a.constData(), &x) == 0 && ::stat(b.constData(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

enum class Issue { Fait, Echec, Coupe, JournalPerdu };

// Makes the renames of one renaming, each noted in the journal before it is made.
class TRenommeur {
public:
    explicit TRenommeur(const TCoupure& interruption) : coupure(interruption) {}

    bool Ouvre(const QString& chemin) {
        if (!TexteFichier::Ecrit(chemin, {QString::fromLatin1(EnteteJournal)})) return false;
        journal.setFileName(chemin);
        return journal.open(QIODevice::WriteOnly | QIODevice::Append);
    }
    void Ferme() { journal.close(); }
    bool Coupe() const { return coupure && coupure(); }

    Issue Renomme(TFichierRenomme& f, const QString& vers, const QByteArray& cible, QStringList* echecs) {
        if (Coupe()) return Issue::Coupe;
        // Only a rename that can be made is noted and tried: its source there, its target free.
        if (!Fichiers::Existe(f.octetsActuels))
            return Echoue(f, QStringLiteral("le fichier n'existe plus"), echecs);
        if (Fichiers::Existe(cible)) return Echoue(f, Fichiers::RaisonSysteme(EEXIST), echecs);
        if (!Note(f.octetsActuels.toPercentEncoding() + ' ' + cible.toPercentEncoding()))
            return Issue::JournalPerdu;
        if (Coupe()) return Issue::Coupe;
        const Fichiers::Resultat fait = Fichiers::Deplace(f.octetsActuels, cible);
        if (!fait.Reussi) return Echoue(f, fait.Raison, echecs);
        f.actuel = vers;
        f.octetsActuels = cible;
        return Issue::Fait;
    }

    // Saves a destination's store once its files are copied and the journal notes it, so that an
    // undo puts them back; a store that cannot be kept so is left to be saved later.
    Issue SauveMagasin(TDestination& d) {
        if (Coupe()) return Issue::Coupe;
        if (!d.Contexte) return Issue::Echec;
        const QString signatures = d.Contexte->DossierSignatures();
        if (!TMagasinSignatures(signatures).GardeAvantChangement(d.Chemin)) return Issue::Echec;
        if (!Note("M " + QFile::encodeName(signatures).toPercentEncoding() + ' ' +
                  d.Chemin.toUtf8().toPercentEncoding()))
            return Issue::JournalPerdu;
        if (Coupe()) return Issue::Coupe;
        d.SauveSignatures();
        return Issue::Fait;
    }

private:
    bool Note(const QByteArray& ligne) {
        return journal.write(ligne + "\r\n") == ligne.size() + 2 && journal.flush();
    }
    static Issue Echoue(const TFichierRenomme& f, const QString& raison, QStringList* echecs) {
        if (echecs) echecs->append(QStringLiteral("« %1 » : %2").arg(f.ancien, raison));
        return Issue::Echec;
    }

    const TCoupure& coupure;
    QFile journal;
};

// A journal written before renames were noted one by one: each file's old, temporary and final
// names, put back from the first of the two others that is there.
QStringList ReprendAncienJournal(const QStringList& lignes) {
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
    return echecs;
}

// Puts a file renamed from de to vers back, unless the rename was not made.
void DefaitRenommage(const QByteArray& de, const QByteArray& vers, QStringList& echecs) {
    if (!Fichiers::Existe(de)) {
        if (!Fichiers::Existe(vers)) return;
        const Fichiers::Resultat fait = Fichiers::Deplace(vers, de);
        if (!fait.Reussi) echecs << QStringLiteral("« %1 » : %2").arg(QFile::decodeName(vers), fait.Raison);
    } else if (Fichiers::Existe(vers) && MemeFichier(de, vers)) {
        // A move cut off between its two steps: the file under both names, the source kept.
        ::unlink(vers.constData());
    }
}

// Puts a destination's store back as it was before the renaming, whether or not the save was
// made: the same files either way.
void RetablitMagasin(const QByteArray& signatures, const QByteArray& dossier, QStringList& echecs) {
    if (!TMagasinSignatures(QFile::decodeName(signatures))
             .RetablitAvantChangement(QString::fromUtf8(dossier)))
        echecs << QStringLiteral("« %1 » : les signatures n'ont pas pu être remises comme avant le renommage")
                      .arg(QString::fromUtf8(dossier));
}

} // namespace

namespace {

// A new name's path as the file system's bytes, in the very folder of the file it renames: the
// folder's own bytes, which its text may not give back (a name that is not UTF-8).
QByteArray ACote(const QByteArray& fichier, const QString& nouveau) {
    return fichier.left(fichier.lastIndexOf('/') + 1) +
           QFile::encodeName(nouveau.mid(nouveau.lastIndexOf(u'/') + 1));
}

} // namespace

QStringList NomsNumerotes(const QStringList& fichiers, const QString& base) {
    const int chiffres = fichiers.isEmpty() ? 0 : static_cast<int>(QString::number(fichiers.size()).size());
    QStringList noms;
    noms.reserve(fichiers.size());
    for (qsizetype i = 0; i < fichiers.size(); ++i)
        noms << NomNumerote(fichiers[i], base, QStringLiteral("%1").arg(i, chiffres, 10, QChar(u'0')));
    return noms;
}

QString QuestionRenommage(const TDestination& d, const QString& base) {
    const QStringList noms = NomsNumerotes(d.FichiersConnus(), base);
    if (noms.isEmpty()) return {};
    QString apercu = Chemins::NomDeFichier(noms.constFirst());
    if (noms.size() > 1) apercu += QStringLiteral(" … ") + Chemins::NomDeFichier(noms.constLast());
    apercu +=
        noms.size() == 1 ? QStringLiteral(", 1 fichier") : QStringLiteral(", %1 fichiers").arg(noms.size());
    return QStringLiteral("Les fichiers de la destination « %1 » vont prendre ces noms : %2.\n"
                          "Voulez-vous les renommer ?")
        .arg(d.Titre, apercu);
}

TResultatRenommage RenommeFichiers(TDestination& d, const QString& base,
                                   const TListeDestinations& destinations, IAttente* attente,
                                   const QString& journal, const TCoupure& coupure) {
    const QStringList anciens = d.FichiersConnus();
    TResultatRenommage resultat;
    resultat.Fichiers = anciens.size();
    const QStringList temporaires = NomsNumerotes(anciens, QStringLiteral("zmxcksjf"));
    const QStringList finals = NomsNumerotes(anciens, base);
    QList<TFichierRenomme> fichiers;
    for (qsizetype i = 0; i < anciens.size(); ++i) {
        TFichierRenomme f;
        f.ancien = f.actuel = anciens[i];
        f.octetsAnciens = f.octetsActuels = d.OctetsDe(anciens[i]);
        f.temporaire = temporaires[i];
        f.final = finals[i];
        fichiers << f;
    }
    if (attente)
        attente->Prepare(QStringLiteral("Renommage des fichiers"), static_cast<int>(2 * fichiers.size()));
    if (fichiers.isEmpty()) return resultat;
    const QString sansJournal =
        QStringLiteral("« %1 » : le journal du renommage n'a pas pu être écrit ; aucun fichier "
                       "n'a été renommé")
            .arg(journal);
    // The journal of a renaming cut off and not undone yet is the only record of where its files
    // went: nothing writes over it.
    if (QFile::exists(journal)) {
        resultat.Echecs << QStringLiteral("« %1 » : un renommage interrompu n'a pas encore été défait ; "
                                          "aucun fichier n'a été renommé")
                               .arg(journal);
        return resultat;
    }
    // Opened before the first file moves: a renaming cut off is undone from it at the next start.
    // Without it, nothing moves.
    TRenommeur renommeur(coupure);
    if (!renommeur.Ouvre(journal)) {
        resultat.Echecs << sansJournal;
        return resultat;
    }

    // A file that cannot take its temporary name is tried again from where it is in the second pass.
    Issue issue = Issue::Fait;
    for (TFichierRenomme& f : fichiers) {
        issue = renommeur.Renomme(f, f.temporaire, ACote(f.octetsAnciens, f.temporaire), nullptr);
        if (issue == Issue::Coupe || issue == Issue::JournalPerdu) break;
        if (attente) attente->Avance();
    }
    for (TFichierRenomme& f : fichiers) {
        if (issue == Issue::Coupe || issue == Issue::JournalPerdu) break;
        issue = renommeur.Renomme(f, f.final, ACote(f.octetsAnciens, f.final), &resultat.Echecs);
        // Not left under a temporary name: back to the name it had, when that is still free.
        if (issue == Issue::Echec && f.actuel == f.temporaire)
            issue = renommeur.Renomme(f, f.ancien, f.octetsAnciens, nullptr);
        if (attente) attente->Avance();
    }
    if (issue == Issue::Coupe) return resultat;
    if (issue == Issue::JournalPerdu) {
        renommeur.Ferme();
        // Every rename made so far is undone from what the journal holds: the lists never changed.
        resultat.Echecs = ReprendRenommageInterrompu(journal);
        resultat.Echecs.prepend(sansJournal);
        return resultat;
    }
    if (renommeur.Coupe()) return resultat;

    // One map from old to new paths for the lists of every destination, this one included.
    QHash<QString, QString> nouveaux;
    for (const TFichierRenomme& f : fichiers) {
        if (f.actuel != f.ancien) nouveaux.insert(f.ancien, f.actuel);
        if (f.octetsActuels != f.octetsAnciens) resultat.Renommages.insert(f.octetsAnciens, f.octetsActuels);
    }
    QList<TDestination*> aSauver;
    for (int i = 0; i < destinations.Count(); ++i) {
        TDestination& autre = *destinations.Element(i);
        // Another destination's pairs are kept in its store at once, as this one's are.
        if (&autre != &d && autre.RenommeFichiers(nouveaux)) aSauver << &autre;
    }
    d.RenommeFichiers(nouveaux);
    aSauver << &d;
    // Until the journal goes, an undo puts the stores saved here back as they were. A store that
    // cannot be kept so is saved later (at the latest when the program ends), the renaming done.
    QList<TDestination*> sauvees;
    for (TDestination* sauvee : aSauver) {
        issue = renommeur.SauveMagasin(*sauvee);
        if (issue == Issue::Coupe) return resultat;
        if (issue == Issue::JournalPerdu) break;
        if (issue == Issue::Fait) sauvees << sauvee;
    }
    if (renommeur.Coupe()) return resultat;
    renommeur.Ferme();
    QFile::remove(journal);
    for (TDestination* sauvee : sauvees)
        TMagasinSignatures(sauvee->Contexte->DossierSignatures()).OublieAvantChangement(sauvee->Chemin);
    return resultat;
}

QStringList ReprendRenommageInterrompu(const QString& journal, const TCoupure& coupure) {
    QFile fichier(journal);
    if (!fichier.exists()) return {};
    if (!fichier.open(QIODevice::ReadWrite))
        return {QStringLiteral("« %1 » : le journal d'un renommage interrompu ne peut pas être lu ; ses "
                               "fichiers n'ont pas été remis sous leurs noms")
                    .arg(journal)};
    const QByteArray octets = fichier.readAll();
    if (!octets.startsWith(EnteteJournal + "\r\n")) {
        fichier.close();
        const QStringList echecs = ReprendAncienJournal(TexteFichier::Lignes(octets));
        QFile::remove(journal);
        return echecs;
    }
    // A rename from de to vers, or a store saved (magasin: de the store's folder, vers the
    // destination's folder, as UTF-8).
    struct TOperation {
        QByteArray de, vers;
        qsizetype debut; // where its line begins in the journal
        bool magasin = false;
    };
    QList<TOperation> operations;
    // A last line without its line end was cut off while it was written: its rename was not made.
    for (qsizetype debut = EnteteJournal.size() + 2, fin; (fin = octets.indexOf("\r\n", debut)) >= 0;
         debut = fin + 2) {
        QList<QByteArray> champs = octets.mid(debut, fin - debut).split(' ');
        const bool magasin = champs.size() == 3 && champs[0] == "M";
        if (magasin) champs.removeFirst();
        if (champs.size() == 2 && !champs[0].isEmpty() && !champs[1].isEmpty())
            operations.push_back({QByteArray::fromPercentEncoding(champs[0]),
                                  QByteArray::fromPercentEncoding(champs[1]), debut, magasin});
    }
    // From the last note back: each rename, once the later ones are undone, finds the disk as it
    // left it, so its source is free exactly when it was made. An undone note leaves the journal,
    // so that an undo cut off carries on where it stopped.
    QStringList echecs;
    for (qsizetype k = operations.size() - 1; k >= 0; --k) {
        const TOperation& operation = operations[k];
        if (coupure && coupure()) return echecs;
        if (operation.magasin)
            RetablitMagasin(operation.de, operation.vers, echecs);
        else
            DefaitRenommage(operation.de, operation.vers, echecs);
        if (coupure && coupure()) return echecs;
        // Should the journal not shrink, the undo still goes on to its end.
        fichier.resize(operation.debut);
        if (operation.magasin)
            TMagasinSignatures(QFile::decodeName(operation.de))
                .OublieAvantChangement(QString::fromUtf8(operation.vers));
    }
    fichier.close();
    QFile::remove(journal);
    return echecs;
}
