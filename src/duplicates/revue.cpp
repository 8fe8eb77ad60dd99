#include "revue.h"

#include "app/chemins.h"
#include "destinations/destination.h"

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

Fichiers::Resultat MetALaCorbeille(const QString& fichier, const QString& corbeille,
                                   TJournalAnnulation* journal) {
    const QByteArray source = QFile::encodeName(fichier);
    if (!Fichiers::Existe(source)) return {false, ENOENT, QStringLiteral("le fichier n'existe plus")};
    const QByteArray cible = Chemins::Joint(QFile::encodeName(corbeille), Chemins::NomDeFichier(source));
    if (Fichiers::Existe(cible)) {
        int n = 1;
        while (Fichiers::Existe(cible + QByteArray::number(n)))
            ++n;
        const Fichiers::Resultat ecarte = DeplaceEnSuivant(journal, cible, cible + QByteArray::number(n));
        if (!ecarte.Reussi) return ecarte;
    }
    return DeplaceEnSuivant(journal, source, cible);
}

void OublieImages(const TListeDestinations& destinations, const QSet<QString>& fichiers) {
    if (fichiers.isEmpty()) return;
    for (int i = 1; i < destinations.Count(); ++i)
        destinations.Element(i)->OublieImages(fichiers);
}
