// The main window's destinations panel: layout and drawing of the tiles, scrolling, resizing,
// the tile hint and the press and release protocol.

#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "ui/app/fenetre.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"

#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QScrollBar>

namespace {

enum Zone { ZoneTitre = 0, ZoneDoublons = 1, ZoneNiveau = 2, ZoneRetour = 3, AucuneZone = -1 };

} // namespace

void TMainForm::ConnecteDestinations() {
    const QPalette palette = QApplication::palette();
    Panneau->Couleurs = {palette.color(QPalette::Button), palette.color(QPalette::Light),
                         palette.color(QPalette::Dark), palette.color(QPalette::Shadow)};
    Panneau->PoliceFenetre = font();
    Panneau->IconeSousGroupe = IconeSousGroupe;
    connect(ImageDestination, &TImage::SourisEnfoncee, this, &TMainForm::ImageDestinationMouseDown);
    connect(ImageDestination, &TImage::SourisRelachee, this, &TMainForm::ImageDestinationMouseUp);
    connect(ImageDestination, &TImage::SourisDeplacee, this, &TMainForm::ImageDestinationMouseMove);
    connect(ScrollBarDest, &QAbstractSlider::valueChanged, this, &TMainForm::ScrollBarDestScroll);
    SurveilleEvenement(ImageDestination, QEvent::Resize, [this] { PanelListeResize(); });
}

void TMainForm::PanelListeResize() {
    RafraichisListeDestinations();
    if (ScrollBox1->width() < 1) GroupBoxDestinations->resize(1, GroupBoxDestinations->height());
}

void TMainForm::RafraichisListeDestinations() {
    if (!Configuration) return;
    if (Panneau->ImagePanneau.size() != ImageDestination->size())
        Panneau->Redimensionne(ImageDestination->size());
    Panneau->RafraichisListeDestinations(Configuration->Destinations, *ListeGroupe);
    const QSignalBlocker silence(ScrollBarDest);
    ScrollBarDest->setVisible(Panneau->BarreVisible);
    ScrollBarDest->setRange(0, Panneau->BarreMaximum);
    ScrollBarDest->setValue(ListeGroupe->PositionCourante());
    ImageDestination->FixeImage(Panneau->ImagePanneau);
    // A destination opened or closed may hold a near copy of the current image.
    VerifieCopiesDeLaCourante();
}

void TMainForm::ScrollBarDestScroll(int position) {
    ListeGroupe->FixePositionCourante(position);
    RafraichisListeDestinations();
}

int TMainForm::ZoneDe(QPoint position) const {
    const int slot = Panneau->HauteurTuile > 0 ? position.y() / Panneau->HauteurTuile : 0;
    const TDestination* d = Panneau->TuileA(position.y());
    const int largeur = ImageDestination->width();
    if (ListeGroupe->Courant != 0 && position.x() < 20 && slot >= 2) return ZoneRetour;
    if (!d) return AucuneZone;
    if (d->SousGroupe != -1 && d->TuileX < position.x() && position.x() < d->TuileX + 24) return ZoneNiveau;
    if (position.x() < largeur - 35 && d->Active) return ZoneTitre;
    if (position.x() >= largeur - 35 && d->Active && d->Rang != 0) return ZoneDoublons;
    return AucuneZone;
}

void TMainForm::ImageDestinationMouseDown(Qt::MouseButton bouton, Qt::KeyboardModifiers, QPoint position) {
    if (!Configuration) return;
    YEnfonce = position.y();
    TDestination* d = Panneau->TuileA(position.y());
    TuileEnfoncee = d && d->Active ? d->Rang : -1;
    if (bouton == Qt::RightButton) {
        PopupMenu2->setProperty("Tag", d ? d->Rang : 0);
        PopupMenu2->popup(ImageDestination->mapToGlobal(position));
        return;
    }
    const int hauteur = Panneau->HauteurTuile;
    const int y = (position.y() / hauteur) * hauteur;
    const int largeur = ImageDestination->width();
    switch (ZoneDe(position)) {
    case ZoneRetour:
        TuileEnfoncee = d ? d->Rang : -1;
        Panneau->DessineRetour(0, 2 * hauteur, true, ImageDestination->height() - 2 * hauteur, 20);
        ZoneEnfoncee = ZoneRetour;
        break;
    case ZoneNiveau:
        TuileEnfoncee = d->Rang;
        Panneau->DessineSousGroupeEnfonce(*d, y, hauteur, ListeGroupe->Courant);
        ZoneEnfoncee = ZoneNiveau;
        break;
    case ZoneTitre:
        Panneau->Dessine(*d, 0, y, d->Rang, true, hauteur, largeur, ListeGroupe->Courant);
        ZoneEnfoncee = ZoneTitre;
        break;
    case ZoneDoublons:
        Panneau->DessineDoublonsEnfonce(y, hauteur, largeur);
        ZoneEnfoncee = ZoneDoublons;
        break;
    default:
        return;
    }
    ImageDestination->FixeImage(Panneau->ImagePanneau);
}

void TMainForm::ImageDestinationMouseUp(Qt::MouseButton bouton, Qt::KeyboardModifiers modificateurs,
                                        QPoint position) {
    if (!Configuration || bouton == Qt::RightButton) return;
    const TDestination* dessous = Panneau->TuileA(position.y());
    const int r = position.x() >= 1 && dessous ? dessous->Rang : -1;
    const int hauteur = Panneau->HauteurTuile;
    const int largeur = ImageDestination->width();
    if (ZoneEnfoncee == ZoneRetour)
        Panneau->DessineRetour(0, 2 * hauteur, false, ImageDestination->height() - 2 * hauteur, 20);
    TDestination* enfonce = TuileEnfoncee >= 0 && TuileEnfoncee < Configuration->Destinations.Count()
                                ? Configuration->Destinations.Element(TuileEnfoncee)
                                : nullptr;
    if (enfonce) {
        const int y = enfonce->Titre == TitreCorbeille ? 0 : (YEnfonce / hauteur) * hauteur;
        Panneau->Dessine(*enfonce, 0, y, TuileEnfoncee, false, hauteur, largeur, ListeGroupe->Courant);
    }
    ImageDestination->FixeImage(Panneau->ImagePanneau);

    const bool dansLePanneau = position.x() >= 0 && position.x() < largeur && position.y() >= 0 &&
                               position.y() < ImageDestination->height();
    if (!dansLePanneau || r != TuileEnfoncee) return;
    const int zoneRelache = ZoneDe(position);
    if (ZoneEnfoncee == ZoneRetour && zoneRelache == ZoneRetour) {
        const TDestination* parent = Panneau->Tuiles[1];
        ListeGroupe->Courant = parent && ListeGroupe->Existe(parent->Groupe) ? parent->Groupe : 0;
        RafraichisListeDestinations();
    } else if (ZoneEnfoncee == ZoneNiveau && zoneRelache == ZoneNiveau && enfonce) {
        ListeGroupe->Courant = ListeGroupe->Existe(enfonce->SousGroupe) ? enfonce->SousGroupe : 0;
        RafraichisListeDestinations();
    } else if (ZoneEnfoncee == ZoneTitre && position.x() < largeur - 35 && enfonce) {
        Classe(*enfonce, modificateurs.testFlag(Qt::ControlModifier));
    } else if (ZoneEnfoncee == ZoneDoublons && zoneRelache == ZoneDoublons && enfonce) {
        RevoitDoublons(*enfonce);
    }
}

void TMainForm::ImageDestinationMouseMove(QPoint position) {
    const TDestination* d = Panneau->TuileA(position.y());
    if (!d || !Configuration) {
        FixeIndice(ImageDestination, QString(), false);
        return;
    }
    FixeIndice(ImageDestination,
               TPanneauDestinations::Indice(*d, Panneau->ToucheDe(*d), Panneau->Copies.value(d)),
               Configuration->BullesAide);
}

int TMainForm::IndexDuMenuDeTuile() const {
    const int index = PopupMenu2->property("Tag").toInt();
    return Configuration && index >= 0 && index < Configuration->Destinations.Count() ? index : -1;
}

void TMainForm::Redessine(TDestination& d) {
    if (!d.Visible && d.Titre != TitreCorbeille) return;
    Panneau->DessineEtat(d, false);
    ImageDestination->FixeImage(Panneau->ImagePanneau);
}
