// Undo: the last filed image goes back to its folder and to its place in the source list, and its
// destination forgets it. A copy is undone by deleting the copy. And emptying the trash.

#include "app/chemins.h"
#include "app/globaux.h"
#include "app/mainform.h"
#include "app/occupation.h"
#include "app/progression.h"
#include "config/configuration.h"
#include "destinations/classement.h"
#include "destinations/corbeille.h"
#include "destinations/destination.h"
#include "source/affichagesource.h"
#include "source/sourceliste.h"

#include <QAction>
#include <QFile>
#include <QListWidget>

void TMainForm::Annulation1Click() {
    const TOccupation occupation(Occupe);
    DemandeArretRecherche();
    if (Configuration && ListeSource && !Configuration->AnnulSources.isEmpty()) AnnuleDernier();
}

void TMainForm::AnnuleDernier() {
    const TAnnulation resultat = AnnuleDernierClassement(*Configuration, *ListeSource);
    if (!resultat.Echec.isEmpty()) {
        Questions->Avertit(resultat.Echec);
        return;
    }
    if (resultat.IndexRemis >= 0) {
        ListBox1->insertItem(resultat.IndexRemis, resultat.NomRemis);
        ListeSource->IndexDemande = resultat.IndexRemis;
        ArmeTimerCourantAff();
    }
    Affichage->AfficheTout();
}

void TMainForm::Viderlacorbeille1Click() {
    if (!Questions->ConfirmeOkAnnuler(QStringLiteral("Etes-vous sur de vouloir vider la corbeille ?")))
        return;
    const QStringList echecs = VideCorbeille(
        Chemins::Joint(DossierProgramme, TitreCorbeille), FormProgress, [this](const QString& question) {
            const int reponse = Questions->DemandeOuiNonTout(question);
            return reponse == 0 ? ReponseLectureSeule::Oui
                                : (reponse == 2 ? ReponseLectureSeule::Tout : ReponseLectureSeule::Non);
        });
    if (!echecs.isEmpty())
        Questions->Avertit(QStringLiteral("Ces fichiers n'ont pas pu être effacés de la corbeille :\n%1")
                               .arg(echecs.join(u'\n')));
}
