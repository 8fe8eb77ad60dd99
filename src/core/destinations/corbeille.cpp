#include "corbeille.h"

#include "annulation.h"
#include "core/app/attente.h"
#include "core/app/chemins.h"
#include "core/source/balayage.h"
#include "fichiers.h"

#include <QByteArray>
#include <QFile>
#include <QSet>
#include <QStringList>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

TVidageCorbeille VideCorbeille(const QString& dossier, IAttente* attente,
                               const std::function<ReponseLectureSeule(const QString& question)>& demande,
                               TJournalAnnulation* journal) {
    QList<QByteArray> chemins;
    const QByteArray racine = QFile::encodeName(dossier);
    ParcourtDossier(racine, [&](const char* nom, unsigned char, int) {
        chemins << Chemins::Joint(racine, QByteArray(nom));
    });
    if (attente) attente->Prepare(QStringLiteral("Vider la corbeille"), static_cast<int>(chemins.size()));
    TVidageCorbeille resultat;
    QStringList& echecs = resultat.Echecs;
    QSet<QByteArray> effaces;
    const auto echoue = [&echecs](const QByteArray& chemin) {
        const QString raison = Fichiers::RaisonSysteme(errno);
        echecs << QStringLiteral("« %1 » : %2").arg(QFile::decodeName(Chemins::NomDeFichier(chemin)), raison);
    };
    ReponseLectureSeule reponse = ReponseLectureSeule::Oui;
    for (const QByteArray& chemin : chemins) {
        struct stat etat {};
        if (::lstat(chemin.constData(), &etat) == 0 && !S_ISDIR(etat.st_mode)) {
            const bool lectureSeule = !S_ISLNK(etat.st_mode) && !(etat.st_mode & S_IWUSR);
            if (lectureSeule && reponse != ReponseLectureSeule::Tout)
                reponse = demande ? demande(QStringLiteral("Le fichier '") + QFile::decodeName(chemin) +
                                            QStringLiteral("' est en lecture seule, voulez-vous l'effacer ?"))
                                  : ReponseLectureSeule::Non;
            const bool efface = !lectureSeule || reponse != ReponseLectureSeule::Non;
            if (lectureSeule && efface && ::chmod(chemin.constData(), etat.st_mode | S_IWUSR) != 0)
                echoue(chemin);
            else if (efface && ::unlink(chemin.constData()) != 0 && errno != ENOENT)
                echoue(chemin);
            else if (efface)
                effaces.insert(chemin);
        }
        if (attente) attente->Avance();
    }
    if (attente) attente->Cache();
    if (journal) resultat.EtapesPerdues = journal->OublieEffaces(effaces);
    return resultat;
}
