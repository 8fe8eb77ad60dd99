#include "revue.h"

#include "core/app/chemins.h"
#include "core/destinations/destination.h"

#include <QFile>

TPaire LitPaire(const QString& ligne) {
    const QStringList champs = ligne.split(u'*');
    TPaire paire;
    paire.Dissemblance = champs.value(0).toInt();
    paire.Image1 = champs.value(1);
    paire.Image2 = champs.value(2);
    paire.Ligne = ligne;
    return paire;
}

QString PourcentageSimilitude(int32_t dissemblance) {
    const double pourcentage = std::max(0.0, 100.0 - dissemblance / 300000.0 * 100.0);
    return QString::asprintf("%6.2f %%", pourcentage);
}

namespace {

QByteArray DansLaCorbeille(const QByteArray& fichier, const QString& corbeille) {
    return Chemins::Joint(QFile::encodeName(corbeille), Chemins::NomDeFichier(fichier));
}

} // namespace

Fichiers::Resultat MetALaCorbeille(const QString& fichier, const QString& corbeille,
                                   TJournalAnnulation* journal) {
    const QByteArray source = QFile::encodeName(fichier);
    if (!Fichiers::Existe(source)) return {false, ENOENT, QStringLiteral("le fichier n'existe plus")};
    const QByteArray cible = DansLaCorbeille(source, corbeille);
    if (Fichiers::Existe(cible)) {
        int n = 1;
        while (Fichiers::Existe(cible + QByteArray::number(n)))
            ++n;
        const Fichiers::Resultat ecarte = DeplaceEnSuivant(journal, cible, cible + QByteArray::number(n));
        if (!ecarte.Reussi) return ecarte;
    }
    return DeplaceEnSuivant(journal, source, cible);
}

Fichiers::Resultat EffaceDeLaRevue(const QString& fichier, const QString& corbeille,
                                   const TListeDestinations* destinations, TJournalAnnulation* journal) {
    const Fichiers::Resultat fait = MetALaCorbeille(fichier, corbeille, journal);
    if (!fait.Reussi || !journal) return fait;
    TEtapeAnnulation etape;
    etape.Source = QFile::encodeName(fichier);
    etape.Cible = DansLaCorbeille(etape.Source, corbeille);
    etape.Effacement = true;
    etape.Identite = IdentiteDe(etape.Cible);
    if (destinations) etape.Destination = DestinationDuFichier(*destinations, etape.Source);
    journal->Ajoute(etape);
    return fait;
}

void OublieImages(const TListeDestinations& destinations, const QSet<QString>& fichiers) {
    if (fichiers.isEmpty()) return;
    for (int i = 1; i < destinations.Count(); ++i)
        destinations.Element(i)->OublieImages(fichiers);
}
