#include "corbeille.h"

#include "app/attente.h"
#include "app/chemins.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

void VideCorbeille(const QString& dossier, IAttente* attente,
                   const std::function<ReponseLectureSeule(const QString& question)>& demande) {
    QList<QByteArray> chemins;
    const QByteArray racine = QFile::encodeName(dossier);
    if (DIR* repertoire = opendir(racine.constData())) {
        while (const dirent* element = readdir(repertoire)) {
            if (qstrcmp(element->d_name, ".") == 0 || qstrcmp(element->d_name, "..") == 0) continue;
            chemins << Chemins::Joint(racine, QByteArray(element->d_name));
        }
        closedir(repertoire);
    }
    if (attente) attente->Prepare(QStringLiteral("Vider la corbeille"), static_cast<int>(chemins.size()));
    ReponseLectureSeule reponse = ReponseLectureSeule::Oui;
    for (const QByteArray& chemin : chemins) {
        struct stat etat {};
        if (::lstat(chemin.constData(), &etat) == 0 && !S_ISDIR(etat.st_mode)) {
            const bool lectureSeule = !S_ISLNK(etat.st_mode) && !(etat.st_mode & S_IWUSR);
            if (lectureSeule && reponse != ReponseLectureSeule::Tout)
                reponse = demande ? demande(QStringLiteral("Le fichier '") + QFile::decodeName(chemin) +
                                            QStringLiteral("' est en lecture seule, voulez-vous l'effacer ?"))
                                  : ReponseLectureSeule::Non;
            if (lectureSeule && reponse != ReponseLectureSeule::Non)
                ::chmod(chemin.constData(), etat.st_mode | S_IWUSR);
            if (!lectureSeule || reponse != ReponseLectureSeule::Non) ::unlink(chemin.constData());
        }
        if (attente) attente->Avance();
    }
    if (attente) attente->Cache();
}
