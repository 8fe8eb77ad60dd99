// Renaming a destination's files from its tile menu.

#include "core/app/chemins.h"
#include "core/app/occupation.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/session/session.h"
#include "core/tools/renommage.h"
#include "ui/app/curseur.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/app/progression.h"

void TMainForm::Renommerlesfichiers1Click() {
    const int index = IndexDuMenuDeTuile();
    if (index < 0) return;
    const std::shared_ptr<TDestination> d = Configuration->Destinations.Partage(index);
    const TOccupation occupation(session.Occupe);
    // The search reads the files being renamed: it ends first.
    AttendFinRecherche();
    const std::optional<QString> base = Dialogues->DemandeTexte(this, QStringLiteral("Renommer les fichiers"),
                                                                QStringLiteral("Base du nom"), d->Titre);
    if (!base) return;
    // The names to come, before anything moves; "Annuler" renames nothing.
    const QString question = QuestionRenommage(*d, *base);
    if (!question.isEmpty() && !Questions->ConfirmeOkAnnuler(question)) return;
    FixeCurseur(Qt::WaitCursor);
    const TResultatRenommage resultat =
        RenommeFichiers(*d, *base, Configuration->Destinations, FormProgress,
                        Chemins::Joint(DossierProgramme, QStringLiteral("Renommage.txt")));
    // The undo steps of the renamed files follow them.
    Configuration->Annulations.SuitRenommages(resultat.Renommages);
    CurseurParDefaut();
    FormProgress->Cache();
    if (!resultat.Echecs.isEmpty())
        Questions->Avertit(QStringLiteral("Ces fichiers ont gardé leur nom :\n") +
                           resultat.Echecs.join(u'\n'));
    RafraichisListeDestinations();
}
