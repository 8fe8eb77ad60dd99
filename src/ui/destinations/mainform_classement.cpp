// Filing: the current image, or the selected ones, moved or copied into a destination, with the
// undo record (one command for all); every file operation is checked and a failure leaves
// everything as it was.

#include "core/app/chemins.h"
#include "core/config/configuration.h"
#include "core/destinations/annulation.h"
#include "core/destinations/classement.h"
#include "core/destinations/destination.h"
#include "core/source/sourceliste.h"
#include "ui/app/globaux.h"
#include "ui/app/mainform.h"
#include "ui/source/affichagesource.h"

#include <QFile>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>

bool TMainForm::ClasseUn(TDestination& d, bool copie, QString& echec) {
    const int index = ListeSource->IndexAffiche;
    const QByteArray chemin = ListeSource->Fichiers.Texte(index);
    const TClassement resultat = ClasseFichier(*ListeSource, index, d, copie, Configuration->Annulations);
    echec = resultat.Echec;
    if (resultat.Classe && !copie) {
        delete ListBox1->takeItem(index);
        Affichage->Oublie(chemin);
    }
    return resultat.Classe;
}

void TMainForm::Classe(TDestination& d, bool copie) {
    if (!ListeSource || ListeSource->Fichiers.Vide()) return;
    QStringList echecs;
    QString echec;
    // A click, a key, a selection: one command, undone as one.
    const TCommandeAnnulation commande(Configuration->Annulations);
    const QList<QListWidgetItem*> selection = ListBox1->selectedItems();
    if (MultiSelection || selection.size() != 1) {
        // From the highest index down, so that each removal leaves the lower indexes in place.
        std::vector<int> lignes;
        for (QListWidgetItem* element : selection)
            lignes.push_back(ListBox1->row(element));
        std::sort(lignes.begin(), lignes.end(), std::greater<>());
        for (const int ligne : lignes) {
            ListeSource->IndexAffiche = ligne;
            if (!ClasseUn(d, copie, echec) && !echec.isEmpty()) echecs << echec;
            echec.clear();
        }
        if (ListeSource->IndexAffiche >= ListeSource->Fichiers.Count())
            ListeSource->IndexAffiche = std::max(0, ListeSource->Fichiers.Count() - 1);
        Affichage->AfficheTout();
        ListeSource->IndexDemande = ListeSource->IndexAffiche;
        Redessine(d);
    } else {
        const int nombreAvant = ListeSource->Fichiers.Count();
        if (ClasseUn(d, copie, echec)) {
            if (ListeSource->Fichiers.Count() < nombreAvant) {
                const int index = ListeSource->IndexAffiche;
                if (index < ListeSource->Fichiers.Count())
                    ListeSource->IndexDemande = -index;
                else if (index > 0)
                    --ListeSource->IndexDemande;
                ListeSource->CouranteRetiree = true;
                // The last file gone, the slots empty at once.
                ListeSource->Fichiers.Vide() ? Affichage->AfficheTout() : ArmeTimerCourantAff();
            }
            Redessine(d);
        } else if (!echec.isEmpty()) {
            echecs << echec;
        }
    }
    ScrollBar1->setFocus();
    if (!echecs.isEmpty()) {
        const QString verbe = copie ? QStringLiteral("copier") : QStringLiteral("déplacer");
        Questions->Avertit(
            QStringLiteral("Impossible de %1 vers « %2 » :\n%3\nCes fichiers restent dans la source.")
                .arg(verbe, d.Chemin, echecs.join(u'\n')));
    }
}
