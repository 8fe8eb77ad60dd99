#include "affichagesource.h"

#include "core/app/chemins.h"
#include "core/source/ajusteimage.h"
#include "core/source/navigation.h"
#include "core/source/sourceliste.h"
#include "ui/app/curseur.h"
#include "ui/app/imagecontrole.h"
#include "ui/source/pixels.h"

#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <utility>

TAffichageSource::TAffichageSource(const TControlesAffichage& controles_, QObject* parent)
    : QObject(parent), controles(controles_),
      suivant{controles_.PanelPrec2, controles_.ImagePrec, controles_.LabelPrecIllisible, {}, {}, 1},
      precedent{controles_.PanelSuiv2, controles_.ImageSuiv, controles_.LabelSuivIllisible, {}, {}, 1},
      courant{
          controles_.PanelCourant2, controles_.ImageCourante, controles_.LabelCourantIllisible, {}, {}, 1},
      chargeur(cache) {
    connect(&chargeur, &TChargeurImages::Decodee, this, &TAffichageSource::ImageDecodee,
            Qt::QueuedConnection);
    connect(&chargeur, &TChargeurImages::Ebauche, this, &TAffichageSource::ImageEbauchee,
            Qt::QueuedConnection);
    // A window moved to another screen tells each of its widgets.
    controles.PanelCourant2->installEventFilter(this);
    preparations.setMaxThreadCount(1);
    // The rest of the window is painted in the same pass: the preparation waits for its end. A
    // step that changes nothing on screen prepares a little later all the same.
    preparationDifferee.setSingleShot(true);
    connect(&preparationDifferee, &QTimer::timeout, this, [this] {
        if (preparationApresPeinture) Prepare();
    });
    for (const Case* place : {&courant, &suivant, &precedent})
        connect(place->Image, &TImage::Peinte, this, [this] {
            if (preparationApresPeinture) preparationDifferee.start(0);
        });
}

QSize TAffichageSource::EcranEnPixels() const {
    return ::EcranEnPixels(controles.PanelCourant2);
}

bool TAffichageSource::eventFilter(QObject* objet, QEvent* evenement) {
    if (objet == controles.PanelCourant2 && (evenement->type() == QEvent::ScreenChangeInternal
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
                                             || evenement->type() == QEvent::DevicePixelRatioChange
#endif
                                             || evenement->type() == QEvent::Show)) {
        SuitEcran();
        EcranChange();
    }
    return QObject::eventFilter(objet, evenement);
}

void TAffichageSource::SuitEcran() {
    QScreen* ecran = controles.PanelCourant2->screen();
    if (ecran == ecranSuivi) return;
    disconnect(suiviGeometrie);
    ecranSuivi = ecran;
    // A screen's geometry changes with its resolution and, under Wayland, with its scale.
    if (ecran)
        suiviGeometrie = connect(ecran, &QScreen::geometryChanged, this, &TAffichageSource::EcranChange);
}

void TAffichageSource::EcranChange() {
    if (!Liste || ecranDemande.isEmpty() || EcranEnPixels() == ecranDemande) return;
    for (Case* cible : {&courant, &suivant, &precedent}) {
        // A slot waiting for its file gets it for the new size from the request below.
        if (!cible->Attendu.isEmpty() || cible->Fichier.isEmpty()) continue;
        if (const std::optional<TImageDecodee> image = cache.Cherche(cible->Fichier, EcranEnPixels())) {
            Remplit(*cible, *image, cible->Fichier);
            Montre(*cible);
            continue;
        }
        ++Liste->ChargementsEnCours;
        cible->Attendu = cible->Fichier;
        cible->Ebauchee = true;
    }
    Anticipe(sensDuMouvement);
}

TAffichageSource::~TAffichageSource() {
    preparations.clear();
    preparations.waitForDone();
    chargeur.Arrete();
}

void TAffichageSource::Libere() {
    Liste = nullptr;
    for (Case* cible : {&courant, &suivant, &precedent})
        cible->Attendu.clear();
    chargeur.Arrete();
    cache.Vide();
    copies.clear();
}

void TAffichageSource::Remplit(Case& cible, const TImageDecodee& image, const QByteArray& chemin) {
    cible.Fichier = chemin;
    cible.Orientation = image.Orientation;
    if (!image.Lisible || image.Naturelle.width() == 0) {
        cible.Image->VideImage();
        cible.Libelle->show();
    } else {
        cible.Image->FixeImage(image.Image, image.Naturelle);
        DonneCopie(cible);
        cible.Libelle->hide();
    }
}

void TAffichageSource::Vide(Case& cible) {
    FinAttente(cible);
    cible.Fichier.clear();
    cible.Libelle->hide();
    cible.Image->VideImage();
    cible.Image->show();
}

void TAffichageSource::CopieImage(const Case& source, Case& cible) {
    cible.Fichier = source.Fichier;
    cible.Orientation = source.Orientation;
    cible.Image->FixeImage(source.Image->Image(), source.Image->TailleNaturelle());
    DonneCopie(cible);
}

QSize TAffichageSource::PixelsDans(const Case& place, QSize naturelle) {
    const QSize taille =
        AjusteImage(naturelle, place.Panneau->contentsRect().size(), place.Panneau->size(), QRect()).size();
    return TailleEnPixels(taille, place.Image->devicePixelRatioF());
}

void TAffichageSource::DonneCopie(Case& cible) {
    const QImage& image = cible.Image->Image();
    const bool rapide = cible.CleRapide != 0 && cible.CleRapide == image.cacheKey();
    cible.CleRapide = 0;
    if (image.isNull()) return;
    const QSize pixels = PixelsDans(cible, cible.Image->TailleNaturelle());
    for (const Copie& copie : std::as_const(copies))
        if (copie.Cle == image.cacheKey() && copie.Image.size() == pixels) {
            cible.Image->FixeCopieALEchelle(copie.Image);
            if (rapide) cible.Image->update();
            return;
        }
    const QImage& faite = cible.Image->CopieALEchelle();
    // The control scales a preview or a smaller picture itself at its paint, and keeps a copy it
    // already has.
    if (&cible != &courant || pixels.isEmpty() || pixels == image.size() ||
        qint64{image.width()} * image.height() < PixelsPourCopieRapide ||
        (!rapide && faite.size() == pixels && faite.devicePixelRatio() == cible.Image->devicePixelRatioF()))
        return;
    cible.CleRapide = image.cacheKey();
    if (!rapide || faite.size() != pixels) {
        QImage copie = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        copie.setDevicePixelRatio(cible.Image->devicePixelRatioF());
        cible.Image->FixeCopieALEchelle(copie);
    }
    PrepareApresPeinture();
}

void TAffichageSource::PrepareApresPeinture() {
    if (!preparationApresPeinture) preparationDifferee.start(PreparationSansPeintureMs);
    preparationApresPeinture = true;
}

void TAffichageSource::Prepare() {
    preparationApresPeinture = false;
    preparationDifferee.stop();
    if (!Liste) return;
    struct Voulue {
        QImage Image;
        QSize Pixels;
        qreal Rapport;
    };
    QList<Voulue> voulues;
    auto ajoute = [&voulues](const QImage& image, QSize naturelle, const Case& vers) {
        if (image.isNull() || naturelle.isEmpty()) return;
        const QSize pixels = PixelsDans(vers, naturelle);
        if (!pixels.isEmpty() && pixels != image.size())
            voulues << Voulue{image, pixels, vers.Image->devicePixelRatioF()};
    };
    auto ajouteCase = [&](const Case& de, const Case& vers) {
        if (de.Attendu.isEmpty()) ajoute(de.Image->Image(), de.Image->TailleNaturelle(), vers);
    };
    if (courant.CleRapide != 0 && courant.CleRapide == courant.Image->Image().cacheKey())
        ajoute(courant.Image->Image(), courant.Image->TailleNaturelle(), courant);
    ajouteCase(suivant, courant);
    ajouteCase(precedent, courant);
    ajouteCase(courant, precedent);
    ajouteCase(courant, suivant);
    // The file a step in the same direction brings into a preview, when it is ready.
    const int prochain = Liste->IndexAffiche + 2 * sensDuMouvement;
    if (prochain >= 0 && prochain < Liste->Fichiers.Count())
        if (const std::optional<TImageDecodee> image =
                cache.Cherche(Liste->Fichiers.Texte(prochain), ecranDemande);
            image && image->Lisible)
            ajoute(image->Image, image->Naturelle, sensDuMouvement > 0 ? suivant : precedent);

    // The copies still of use stay; the others are asked for.
    const quint64 demande = ++generation;
    QList<Copie> gardees;
    for (const Voulue& voulue : std::as_const(voulues)) {
        const auto faite = std::find_if(copies.cbegin(), copies.cend(), [&](const Copie& copie) {
            return copie.Cle == voulue.Image.cacheKey() && copie.Image.size() == voulue.Pixels;
        });
        if (faite != copies.cend()) {
            gardees << *faite;
            continue;
        }
        ++preparationsEnCours;
        preparations.start([this, demande, voulue] {
            QImage copie;
            if (generation == demande) {
                copie = voulue.Image.scaled(voulue.Pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                copie.setDevicePixelRatio(voulue.Rapport);
            }
            QMetaObject::invokeMethod(
                this,
                [this, cle = voulue.Image.cacheKey(), copie] {
                    --preparationsEnCours;
                    if (copie.isNull()) return;
                    copies << Copie{cle, copie};
                    for (Case* cible : {&courant, &suivant, &precedent})
                        if (cible->Image->Image().cacheKey() == cle) DonneCopie(*cible);
                },
                Qt::QueuedConnection);
        });
    }
    copies = gardees;
}

void TAffichageSource::Deplace(Case& source, Case& cible) {
    FinAttente(cible);
    CopieImage(source, cible);
    // The wait moves along, with its count of loads under way.
    cible.Attendu = std::exchange(source.Attendu, QByteArray());
    cible.Ebauchee = std::exchange(source.Ebauchee, false);
}

bool TAffichageSource::ApercuEnChargement() const {
    for (const Case* cible : {&suivant, &precedent, &courant})
        if (!cible->Attendu.isEmpty() && !cible->Ebauchee) return true;
    return false;
}

void TAffichageSource::SelectionneCourant() {
    QListWidget* liste = controles.ListBox1;
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
    Liste->CouranteRetiree = false;
    controles.ListBox1->clearSelection();
    multiSelection = false;
    SelectionneCourant();

    // The three slots from the cache; what is missing waits for the loaders, the current file first.
    const int index = Liste->IndexAffiche;
    const int nombre = Liste->Fichiers.Count();
    index >= 0 && index < nombre ? Charge(courant, index) : Vide(courant);
    index + 1 < nombre ? Charge(suivant, index + 1) : Vide(suivant);
    index > 0 && index - 1 < nombre ? Charge(precedent, index - 1) : Vide(precedent);
    AfficheCourante();
    Anticipe(sensDuMouvement);
    if (Liste->ChargementsEnCours == 0) CurseurParDefaut();
}

void TAffichageSource::Avance() {
    if (!Liste) return;
    SelectionneCourant();
    const int index = Liste->IndexAffiche;
    if (index == Liste->Fichiers.Count()) return;
    precedent.Libelle->setVisible(!courant.Libelle->isHidden());
    courant.Libelle->setVisible(!suivant.Libelle->isHidden());
    if (!Liste->CouranteRetiree) {
        Deplace(courant, precedent);
    } else {
        FinAttente(courant);
        Liste->CouranteRetiree = false;
    }
    Deplace(suivant, courant);
    sensDuMouvement = 1;
    index + 1 < Liste->Fichiers.Count() ? Charge(suivant, index + 1) : Vide(suivant);
    AfficheCourante();
    Place(precedent);
    Anticipe(sensDuMouvement);
}

void TAffichageSource::Recule() {
    if (!Liste) return;
    SelectionneCourant();
    const int index = Liste->IndexAffiche;
    if (index < 0) return;
    suivant.Libelle->setVisible(!courant.Libelle->isHidden());
    courant.Libelle->setVisible(!precedent.Libelle->isHidden());
    if (!Liste->CouranteRetiree) {
        Deplace(courant, suivant);
    } else {
        FinAttente(courant);
        Liste->CouranteRetiree = false;
    }
    Deplace(precedent, courant);
    sensDuMouvement = -1;
    index > 0 ? Charge(precedent, index - 1) : Vide(precedent);
    AfficheCourante();
    Place(suivant);
    Anticipe(sensDuMouvement);
}

void TAffichageSource::Charge(Case& cible, int index) {
    const QByteArray chemin = Liste->Fichiers.Texte(index);
    if (const std::optional<TImageDecodee> image = cache.Cherche(chemin, EcranEnPixels())) {
        FinAttente(cible);
        Remplit(cible, *image, chemin);
        Montre(cible);
        return;
    }
    // Already waiting for that file: what the slot shows of it stays.
    if (cible.Attendu == chemin) return;
    if (cible.Attendu.isEmpty()) {
        ++Liste->ChargementsEnCours;
        FixeCurseur(Qt::BusyCursor);
    }
    cible.Attendu = chemin;
    cible.Ebauchee = false;
    cible.Fichier.clear();
    cible.Libelle->hide();
    cible.Image->VideImage();
    cible.Image->hide();
}

void TAffichageSource::Montre(Case& cible) {
    if (&cible == &courant) {
        AfficheCourante();
        courant.Image->show();
    } else {
        Place(cible);
    }
}

void TAffichageSource::FinAttente(Case& apercu) {
    apercu.Ebauchee = false;
    if (apercu.Attendu.isEmpty()) return;
    apercu.Attendu.clear();
    if (!Liste) return;
    if (Liste->ChargementsEnCours > 0) --Liste->ChargementsEnCours;
    if (Liste->ChargementsEnCours == 0) CurseurParDefaut();
}

void TAffichageSource::ImageDecodee(const QByteArray& chemin, const TImageDecodee& image, QSize ecran) {
    // Decoded for the screen the window stood on before: its file comes again for this one.
    if (!Liste || ecran != ecranDemande) return;
    bool place = false;
    for (Case* cible : {&courant, &suivant, &precedent}) {
        if (cible->Attendu != chemin) continue;
        FinAttente(*cible);
        Remplit(*cible, image, chemin);
        Montre(*cible);
        place = true;
    }
    if (place) RelanceEtapeRetenue();
    // The file the next step brings into a preview may have come only now.
    const int prochain = Liste->IndexAffiche + 2 * sensDuMouvement;
    if (place)
        PrepareApresPeinture();
    else if (prochain >= 0 && prochain < Liste->Fichiers.Count() && Liste->Fichiers.Texte(prochain) == chemin)
        Prepare();
}

void TAffichageSource::RelanceEtapeRetenue() {
    // A step held back by the loading preview goes at once rather than at its next try.
    QTimer* minuterie = controles.TimerCourantAff;
    if (!ApercuEnChargement() && minuterie->isActive() && minuterie->interval() == AttenteApercuMs)
        minuterie->start(0);
}

void TAffichageSource::ImageEbauchee(const QByteArray& chemin, const TImageDecodee& image, QSize ecran) {
    if (!Liste || ecran != ecranDemande) return;
    for (Case* cible : {&courant, &suivant, &precedent}) {
        if (cible->Attendu != chemin) continue;
        Remplit(*cible, image, chemin);
        cible->Ebauchee = true;
        Montre(*cible);
        RelanceEtapeRetenue();
    }
}

bool TAffichageSource::ImageCourante(TImageDecodee& image, QByteArray& chemin) const {
    if (!courant.Attendu.isEmpty() || courant.Image->Image().isNull() || courant.Fichier.isEmpty())
        return false;
    image.Image = courant.Image->Image();
    image.Naturelle = courant.Image->TailleNaturelle();
    image.Orientation = courant.Orientation;
    image.Lisible = true;
    chemin = courant.Fichier;
    return true;
}

void TAffichageSource::Anticipe(int sens) {
    const int index = Liste->IndexAffiche;
    const int nombre = Liste->Fichiers.Count();
    QList<QByteArray> voisins;
    auto ajoute = [&](int i) {
        if (i >= 0 && i < nombre) voisins << Liste->Fichiers.Texte(i);
    };
    ajoute(index);
    ajoute(index + sens);
    ajoute(index - sens);
    for (int k = 2; k <= AnticipationDevant; ++k)
        ajoute(index + k * sens);
    for (int k = 2; k <= AnticipationDerriere; ++k)
        ajoute(index - k * sens);
    cache.FixeVoisinage(voisins);
    // The files that slots wait for come first, the current one first of all; a picture on
    // screen is not decoded again, even when the cache could not keep it.
    QList<QByteArray> urgents;
    for (const Case* cible : {&courant, &suivant, &precedent})
        if (!cible->Attendu.isEmpty()) urgents << cible->Attendu;
    const QByteArray affiche = index >= 0 && index < nombre ? Liste->Fichiers.Texte(index) : QByteArray();
    QList<QByteArray> anticipes;
    for (const QByteArray& chemin : voisins)
        if (chemin != affiche && !urgents.contains(chemin)) anticipes << chemin;
    ecranDemande = EcranEnPixels();
    chargeur.Veut(urgents, anticipes, ecranDemande);
    PrepareApresPeinture();
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
    // An empty source says, where its picture would be, how to choose one.
    controles.LabelSourceVide->setGeometry(client);
    controles.LabelSourceVide->setVisible(nombre == 0);
    if (index >= 0 && index < nombre)
        controles.PanneauxStatut[3]->setText(QFile::decodeName(Liste->Fichiers.Texte(index)));
    controles.PanneauxStatut[0]->setText(QStringLiteral("%1/%2").arg(index + 1).arg(nombre));
    const QSize taille = courant.Image->TailleNaturelle();
    controles.PanneauxStatut[1]->setText(QStringLiteral("%1x%2").arg(taille.width()).arg(taille.height()));
    courant.Image->update();
    controles.ScrollBar1->setRange(0, std::max(0, nombre - 1));
    controles.ScrollBar1->setValue(index);
    emit CouranteChangee();
}

void TAffichageSource::Reajuste() {
    if (!Liste) return;
    AfficheCourante();
    if (!suivant.Image->isHidden()) AjusteApercu(suivant);
    if (!precedent.Image->isHidden()) AjusteApercu(precedent);
    Prepare();
}
