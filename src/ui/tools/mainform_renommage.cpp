// Renaming a destination's files from its tile menu.

#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/session/session.h"
#include "ui/app/curseur.h"
#include "ui/app/mainform.h"

void TMainForm::Renommerlesfichiers1Click() {
    const int index = IndexDuMenuDeTuile();
    if (index < 0) return;
    const std::optional<QString> base =
        Dialogues->DemandeTexte(this, QStringLiteral("Renommer les fichiers"), QStringLiteral("Base du nom"),
                                session.Configuration()->Destinations.Element(index)->Titre);
    if (!base) return;
    const TRenommageDestination resultat =
        session.RenommeDestination(index, *base, [this](const QString& question) {
            // The names to come, before anything moves; "Annuler" renames nothing.
            if (!question.isEmpty() && !Questions->ConfirmeOkAnnuler(question)) return false;
            FixeCurseur(Qt::WaitCursor);
            return true;
        });
    CurseurParDefaut();
    if (!resultat.Fait) return;
    if (!resultat.Message.isEmpty()) Questions->Avertit(resultat.Message);
    RafraichisListeDestinations();
}
