// Filing: the window reads what is selected, the session files it (one command for undo, every
// file operation checked), and the window shows the result: the list box, the slots, the tile and
// the one message when files stay in the source.

#include "core/destinations/destination.h"
#include "core/session/session.h"
#include "core/source/sourceliste.h"
#include "ui/app/mainform.h"
#include "ui/source/affichagesource.h"

#include <QListWidget>
#include <QScrollBar>

void TMainForm::Classe(TDestination& d, bool copie) {
    TSourceListe* source = session.ListeSource();
    if (!source || source->Fichiers.Vide()) return;
    std::optional<QList<int>> lignes;
    const QList<QListWidgetItem*> selection = ListBox1->selectedItems();
    if (MultiSelection() || selection.size() != 1) {
        lignes.emplace();
        for (QListWidgetItem* element : selection)
            lignes->append(ListBox1->row(element));
    }
    const TResultatClassement resultat = session.Classe(d, copie, lignes);
    // From the highest line down, as filed, so that each removal leaves the lower lines in place.
    if (!copie)
        for (const TFichierClasse& fichier : resultat.Classes) {
            delete ListBox1->takeItem(fichier.Ligne);
            Affichage->Oublie(fichier.Source);
        }
    if (resultat.Selection) {
        Affichage->AfficheTout();
        Redessine(d);
    } else if (!resultat.Classes.isEmpty()) {
        // The last file gone, the slots empty at once.
        if (resultat.CouranteRetiree)
            source->Fichiers.Vide() ? Affichage->AfficheTout() : ArmeTimerCourantAff();
        Redessine(d);
    }
    ScrollBar1->setFocus();
    if (!resultat.Echecs.isEmpty()) {
        const QString verbe = copie ? QStringLiteral("copier") : QStringLiteral("déplacer");
        Questions->Avertit(
            QStringLiteral("Impossible de %1 vers « %2 » :\n%3\nCes fichiers restent dans la source.")
                .arg(verbe, d.Chemin, resultat.Echecs.join(u'\n')));
    }
}
