// The main window's destinations panel: layout and drawing of the tiles, scrolling, resizing,
// the tile hint and the press and release protocol.

#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/session/session.h"
#include "ui/app/fenetre.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"

#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QScrollBar>

void TMainForm::ConnecteDestinations() {
    const QPalette palette = QApplication::palette();
    Panneau->Couleurs = {palette.color(QPalette::Button), palette.color(QPalette::Light),
                         palette.color(QPalette::Dark), palette.color(QPalette::Shadow)};
    Panneau->PoliceFenetre = font();
    Panneau->IconeSousGroupe = IconeSousGroupe;
    Panneau->IconeSousGroupe2x = ImageList4.Images2x[0];
    connect(ImageDestination, &TImage::SourisEnfoncee, this, &TMainForm::ImageDestinationMouseDown);
    connect(ImageDestination, &TImage::SourisRelachee, this, &TMainForm::ImageDestinationMouseUp);
    connect(ImageDestination, &TImage::SourisDeplacee, this, &TMainForm::ImageDestinationMouseMove);
    connect(ScrollBarDest, &QAbstractSlider::valueChanged, this, &TMainForm::ScrollBarDestScroll);
    SurveilleEvenement(ImageDestination, QEvent::Resize, [this] { PanelListeResize(); });
    // Moved to a screen of another density: the column is drawn again at that screen's pixels.
    SurveilleEvenement(ImageDestination, QEvent::ScreenChangeInternal,
                       [this] { RafraichisListeDestinations(); });
}

void TMainForm::PanelListeResize() {
    RafraichisListeDestinations();
    if (ScrollBox1->width() < 1) GroupBoxDestinations->resize(1, GroupBoxDestinations->height());
}

void TMainForm::RafraichisListeDestinations() {
    if (!session.Configuration()) return;
    const qreal rapport = ImageDestination->devicePixelRatioF();
    if (Panneau->Taille != ImageDestination->size() || Panneau->Rapport != rapport)
        Panneau->Redimensionne(ImageDestination->size(), rapport);
    Panneau->RafraichisListeDestinations(session.Configuration()->Destinations, *session.ListeGroupe());
    const QSignalBlocker silence(ScrollBarDest);
    ScrollBarDest->setVisible(Panneau->BarreVisible);
    ScrollBarDest->setRange(0, Panneau->BarreMaximum);
    ScrollBarDest->setValue(session.ListeGroupe()->PositionCourante());
    ImageDestination->FixeImage(Panneau->ImagePanneau);
    // A destination opened or closed may hold a near copy of the current image.
    VerifieCopiesDeLaCourante();
}

void TMainForm::ScrollBarDestScroll(int position) {
    if (!session.ListeGroupe()) return;
    session.ListeGroupe()->FixePositionCourante(position);
    RafraichisListeDestinations();
}

void TMainForm::ImageDestinationMouseDown(Qt::MouseButton bouton, Qt::KeyboardModifiers, QPoint position) {
    if (!session.Configuration()) return;
    const TCibleTuile cible = Panneau->Appuie(position, bouton == Qt::RightButton);
    if (bouton == Qt::RightButton) {
        PopupMenu2->setProperty("Tag", cible.Destination ? cible.Destination->Rang : 0);
        PopupMenu2->popup(ImageDestination->mapToGlobal(position));
        return;
    }
    if (cible.Zone != TZoneTuile::Aucune) ImageDestination->FixeImage(Panneau->ImagePanneau);
}

void TMainForm::ImageDestinationMouseUp(Qt::MouseButton bouton, Qt::KeyboardModifiers modificateurs,
                                        QPoint position) {
    if (!session.Configuration() || bouton == Qt::RightButton) return;
    const TRelacheTuile relache = Panneau->Relache(position);
    ImageDestination->FixeImage(Panneau->ImagePanneau);
    TDestination* d = relache.Destination;
    TListeGroupe& groupes = *session.ListeGroupe();
    switch (relache.Action) {
    case TRelacheTuile::Remonte:
        groupes.Courant = d && groupes.Existe(d->Groupe) ? d->Groupe : 0;
        RafraichisListeDestinations();
        break;
    case TRelacheTuile::Ouvre:
        groupes.Courant = groupes.Existe(d->SousGroupe) ? d->SousGroupe : 0;
        RafraichisListeDestinations();
        break;
    case TRelacheTuile::Classe:
        Classe(*d, modificateurs.testFlag(Qt::ControlModifier));
        break;
    case TRelacheTuile::Revoit:
        RevoitDoublons(*d);
        break;
    case TRelacheTuile::Rien:
        break;
    }
}

void TMainForm::ImageDestinationMouseMove(QPoint position) {
    const TDestination* d = Panneau->TuileA(position.y());
    if (!d || !session.Configuration()) {
        FixeIndice(ImageDestination, QString(), false);
        return;
    }
    FixeIndice(ImageDestination,
               TPanneauDestinations::Indice(*d, Panneau->ToucheDe(*d), Panneau->Copies.value(d)),
               session.Configuration()->BullesAide);
}

int TMainForm::IndexDuMenuDeTuile() const {
    const int index = PopupMenu2->property("Tag").toInt();
    const Tconfiguration* configuration = session.Configuration();
    return configuration && index >= 0 && index < configuration->Destinations.Count() ? index : -1;
}

void TMainForm::Redessine(TDestination& d) {
    if (!d.Visible && d.Titre != TitreCorbeille) return;
    Panneau->DessineEtat(d, false);
    ImageDestination->FixeImage(Panneau->ImagePanneau);
}
