// Undo: the files of the last command go back where they were (filed files to their folder and
// their place in the source list, images the review sent to the trash to their destination), and
// the destinations that received them forget them. A copy is undone by deleting the copy. And
// emptying the trash, which takes the undo steps of the files it deletes with it.

#include "core/app/occupation.h"
#include "core/config/configuration.h"
#include "core/destinations/annulation.h"
#include "core/destinations/classement.h"
#include "core/destinations/corbeille.h"
#include "core/destinations/destination.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/app/progression.h"
#include "ui/source/affichagesource.h"

#include <QAction>
#include <QFile>
#include <QListWidget>

void TMainForm::Annulation1Click() {
    // The search stays off until the lists, the tiles and any message are done with.
    const TOccupation occupation(session.Occupe);
    const TResultatAnnulation resultat = session.Annule();
    if (!resultat.Annulee) return;
    // Inserted in the order the session put them back, so the list box follows the source list.
    for (const TFichierAnnule& fichier : resultat.Detail.Fichiers)
        if (fichier.IndexRemis >= 0) ListBox1->insertItem(fichier.IndexRemis, fichier.NomRemis);
    if (resultat.IndexMontre >= 0) ArmeTimerCourantAff();
    Affichage->AfficheTout();
    // Destinations that forgot or learnt files show their new counts.
    RafraichisListeDestinations();
    if (!resultat.Detail.Echec.isEmpty()) Questions->Avertit(resultat.Detail.Echec);
}

void TMainForm::Viderlacorbeille1Click() {
    if (!Questions->ConfirmeOkAnnuler(QStringLiteral("Etes-vous sur de vouloir vider la corbeille ?")))
        return;
    const TResultatCorbeille resultat = session.VideCorbeille();
    if (!resultat.Message.isEmpty()) Questions->Avertit(resultat.Message);
}
