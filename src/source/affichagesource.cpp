#include "affichagesource.h"

#include "app/chemins.h"
#include "app/curseur.h"
#include "app/imagecontrole.h"
#include "app/mainform.h"
#include "source/ajusteimage.h"
#include "source/sourceliste.h"

#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>

#include <future>
#include <optional>

namespace {

QSize TailleEcran() {
    const QScreen* ecran = QGuiApplication::primaryScreen();
    return ecran ? ecran->geometry().size() : QSize();
}

} // namespace

TAffichageSource::TAffichageSource(TMainForm& principale, QObject* parent)
    : QObject(parent), fenetre(principale), suivant{principale.PanelPrec2, principale.ImagePrec,
                                                    principale.LabelPrecIllisible},
      precedent{principale.PanelSuiv2, principale.ImageSuiv, principale.LabelSuivIllisible},
      courant{principale.PanelCourant2, principale.ImageCourante, principale.LabelCourantIllisible} {}

void TAffichageSource::Charge(Case& cible, const TImageDecodee& image) {
    if (!image.Lisible || image.Naturelle.width() == 0) {
        cible.Image->VideImage();
        cible.Libelle->show();
    } else {
        cible.Image->FixeImage(image.Image, image.Naturelle);
        cible.Libelle->hide();
    }
}

void TAffichageSource::Vide(Case& cible) {
    cible.Libelle->hide();
    cible.Image->VideImage();
}

void TAffichageSource::CopieImage(const Case& source, Case& cible) {
    cible.Image->FixeImage(source.Image->Image(), source.Image->TailleNaturelle());
}

bool TAffichageSource::ApercuEnChargement() const {
    return suivant.Image->isHidden() || precedent.Image->isHidden();
}

void TAffichageSource::SelectionneCourant() {
    QListWidget* liste = fenetre.ListBox1;
    const int index = Liste->IndexAffiche;
    if (QListWidgetItem* element = liste->item(index)) {
        element->setSelected(true);
        liste->selectionModel()->setCurrentIndex(liste->model()->index(index, 0),
                                                 QItemSelectionModel::NoUpdate);
        liste->scrollToItem(element);
    }
    if (QListWidgetItem* element = liste->item(index - 1)) element->setSelected(false);
    if (QListWidgetItem* element = liste->item(index + 1)) element->setSelected(false);
}

void TAffichageSource::AfficheTout() {
    if (!Liste) return;
    FixeCurseur(Qt::WaitCursor);
    Liste->CouranteRetiree = false;
    fenetre.ListBox1->clearSelection();
    fenetre.MultiSelection = false;
    SelectionneCourant();

    // The three files are decoded side by side; the display waits for all of them.
    const int index = Liste->IndexAffiche;
    const int nombre = Liste->Fichiers.Count();
    const QSize ecran = TailleEcran();
    auto decode = [this, ecran, nombre](int i) {
        return i >= 0 && i < nombre
                   ? std::optional<TImageDecodee>(DecodeImage(Liste->Fichiers.Texte(i), ecran))
                   : std::optional<TImageDecodee>();
    };
    auto futurSuivant = std::async(std::launch::async, decode, index + 1);
    auto futurPrecedent = std::async(std::launch::async, decode, index - 1);
    const std::optional<TImageDecodee> imageCourante = decode(index);
    const std::optional<TImageDecodee> imageSuivante = futurSuivant.get();
    const std::optional<TImageDecodee> imagePrecedente = futurPrecedent.get();

    // Whatever a loader still brings for the previews is stale from now on.
    ++suivant.Numero;
    ++precedent.Numero;
    imageSuivante ? Charge(suivant, *imageSuivante) : Vide(suivant);
    imagePrecedente ? Charge(precedent, *imagePrecedente) : Vide(precedent);
    imageCourante ? Charge(courant, *imageCourante) : Vide(courant);
    AfficheCourante();
    Liste->ChargementsEnCours += 2;
    PlaceSuivante();
    PlacePrecedente();
}

void TAffichageSource::Avance() {
    if (!Liste) return;
    SelectionneCourant();
    const int index = Liste->IndexAffiche;
    if (index == Liste->Fichiers.Count()) return;
    precedent.Libelle->setVisible(!courant.Libelle->isHidden());
    courant.Libelle->setVisible(!suivant.Libelle->isHidden());
    if (!Liste->CouranteRetiree)
        CopieImage(courant, precedent);
    else
        Liste->CouranteRetiree = false;
    CopieImage(suivant, courant);
    if (index + 1 >= Liste->Fichiers.Count()) {
        ++suivant.Numero;
        Vide(suivant);
    } else {
        LanceChargement(Emplacement::Suivant, index + 1);
    }
    AfficheCourante();
    ++Liste->ChargementsEnCours;
    PlacePrecedente();
}

void TAffichageSource::Recule() {
    if (!Liste) return;
    SelectionneCourant();
    const int index = Liste->IndexAffiche;
    if (index < 0) return;
    suivant.Libelle->setVisible(!courant.Libelle->isHidden());
    courant.Libelle->setVisible(!precedent.Libelle->isHidden());
    if (!Liste->CouranteRetiree)
        CopieImage(courant, suivant);
    else
        Liste->CouranteRetiree = false;
    CopieImage(precedent, courant);
    if (index == 0) {
        ++precedent.Numero;
        Vide(precedent);
    } else {
        LanceChargement(Emplacement::Precedent, index - 1);
    }
    AfficheCourante();
    ++Liste->ChargementsEnCours;
    PlaceSuivante();
}

void TAffichageSource::LanceChargement(Emplacement emplacement, int index) {
    Case& apercu = emplacement == Emplacement::Suivant ? suivant : precedent;
    apercu.Image->hide();
    const uint64_t numero = ++apercu.Numero;
    const QByteArray chemin = Liste->Fichiers.Texte(index);
    TTacheSource* tache = emplacement == Emplacement::Suivant
                              ? static_cast<TTacheSource*>(new TTacheSourceP(chemin, TailleEcran(), numero))
                              : new TTacheSourceS(chemin, TailleEcran(), numero);
    connect(tache, &TTacheSource::Chargee, this, &TAffichageSource::ChargementTermine, Qt::QueuedConnection);
    ++Liste->ChargementsEnCours;
    FixeCurseur(Qt::BusyCursor);
    tache->Demarre();
}

void TAffichageSource::ChargementTermine(Emplacement emplacement, quint64 numero,
                                         const TImageDecodee& resultat) {
    if (!Liste) return;
    Case& apercu = emplacement == Emplacement::Suivant ? suivant : precedent;
    if (numero != apercu.Numero) {
        // A newer step has filled the slot since: only the pending placement is counted down.
        FinDePlacement();
        return;
    }
    Charge(apercu, resultat);
    emplacement == Emplacement::Suivant ? PlaceSuivante() : PlacePrecedente();
}

void TAffichageSource::FinDePlacement() {
    if (Liste->ChargementsEnCours > 0) --Liste->ChargementsEnCours;
    if (Liste->ChargementsEnCours == 0) CurseurParDefaut();
}

void TAffichageSource::AjusteApercu(Case& apercu) {
    const QSize boite = apercu.Panneau->contentsRect().size();
    const QRect placee =
        AjusteImage(apercu.Image->TailleNaturelle(), boite, apercu.Panneau->size(), apercu.Image->geometry());
    apercu.Image->setGeometry(placee);
}

void TAffichageSource::Place(Case& apercu) {
    AjusteApercu(apercu);
    apercu.Image->show();
    FinDePlacement();
}

void TAffichageSource::PlaceSuivante() {
    Place(suivant);
}
void TAffichageSource::PlacePrecedente() {
    Place(precedent);
}

void TAffichageSource::AfficheCourante() {
    if (!Liste) return;
    // The control is first aligned to fill its panel; that rectangle is kept for an empty picture.
    QFrame* panneau = courant.Panneau;
    const QRect client = panneau->contentsRect();
    courant.Image->setGeometry(
        AjusteImage(courant.Image->TailleNaturelle(), client.size(), panneau->size(), client));

    const int index = Liste->IndexAffiche;
    const int nombre = Liste->Fichiers.Count();
    if (index >= 0 && index < nombre)
        fenetre.PanneauxStatut[3]->setText(QFile::decodeName(Liste->Fichiers.Texte(index)));
    fenetre.PanneauxStatut[0]->setText(QStringLiteral("%1/%2").arg(index + 1).arg(nombre));
    const QSize taille = courant.Image->TailleNaturelle();
    fenetre.PanneauxStatut[1]->setText(QStringLiteral("%1x%2").arg(taille.width()).arg(taille.height()));
    courant.Image->update();
    fenetre.ScrollBar1->setRange(0, std::max(0, nombre - 1));
    fenetre.ScrollBar1->setValue(index);
}

void TAffichageSource::Reajuste() {
    if (!Liste) return;
    AfficheCourante();
    if (!suivant.Image->isHidden()) AjusteApercu(suivant);
    if (!precedent.Image->isHidden()) AjusteApercu(precedent);
}
