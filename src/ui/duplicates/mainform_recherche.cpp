// The duplicate search as the main window drives it: the one-second tick, starting and ending
// tasks, the tool-bar displays and the commands of the "Images en double" menu.

#include "core/app/occupation.h"
#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/duplicates/comparaisongenerale.h"
#include "core/duplicates/inventaire.h"
#include "core/duplicates/planification.h"
#include "core/session/session.h"
#include "dedoublonne.h"
#include "gestmini.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QTimer>
#include <QToolButton>

namespace {

// The progress bar's green (red 96, green 208, blue 96).
const QColor VertProgression(96, 208, 96);

} // namespace

void TMainForm::DemandeArretRecherche() {
    session.DemandeArretRecherche();
}

void TMainForm::AttendFinRecherche() {
    session.AttendFinRecherche();
}

void TMainForm::Timer2Timer() {
    if (session.Occupe.load() == 1) {
        // The button runs through images 21 to 24 while the search works.
        const int image = ToolButton4->property("ImageIndex").toInt();
        const int suivante = image >= 21 && image < 24 ? image + 1 : 21;
        ToolButton4->setProperty("ImageIndex", suivante);
        ToolButton4->setIcon(ImageList4.Icone(suivante));
    } else {
        setWindowTitle(QStringLiteral("Mirasolve"));
    }
    Timer2->stop();
    FinTache();
    // Signatures added by the search, a destination opened or closed, a new sensitivity.
    VerifieCopiesDeLaCourante();
    // Not started again once the window is closing.
    if (RechercheAutorisee) Timer2->start();
}

void TMainForm::FinTache() {
    if (!Configuration) return;
    const TBilanRecherche bilan =
        BilanRecherche(Configuration->Destinations, RechercheAutorisee, session.Occupe.load());
    if (bilan.ADemarrer >= 0) {
        bilan.Comparaison ? DemarreComparaison(bilan.ADemarrer) : DemarreTache(bilan.ADemarrer);
        return;
    }
    StaticDoublons->setText(QString::number(bilan.Doublons) + QStringLiteral(" images en double"));
    const TProgression progression = ProgressionDe(bilan);
    DessineProgression(progression.Fait, progression.Total);
    if (session.Occupe.load() == 1)
        setWindowTitle(QString::number(progression.Pourcentage()) + QStringLiteral("% Mirasolve"));
}

void TMainForm::DessineProgression(qint64 fait, qint64 total) {
    QImage image = ImageProgress->Image();
    if (image.isNull()) return;
    const TProgression progression{fait, total};
    const int largeur = image.width(), hauteur = image.height();
    const int x = progression.Largeur(largeur);
    QPainter peintre(&image);
    peintre.fillRect(QRect(0, 0, x, hauteur), VertProgression);
    peintre.fillRect(QRect(x, 0, largeur - x, hauteur), palette().color(QPalette::Button));
    peintre.setFont(font());
    peintre.setPen(palette().color(QPalette::WindowText));
    const QString texte = QString::number(progression.Pourcentage()) + u'%';
    const QFontMetrics mesure(font());
    peintre.drawText(QPoint((largeur - mesure.horizontalAdvance(texte)) / 2, 2 + mesure.ascent()), texte);
    peintre.end();
    ImageProgress->FixeImage(image);
}

void TMainForm::DemarreTache(int index) {
    const std::shared_ptr<TDestination> d = Configuration->Destinations.Partage(index);
    d->EnTraitement = true;
    std::shared_ptr<TListeGenerale> generales;
    if (d->RechercheGenerale) {
        ListeGenerale->Remplace(SignaturesGenerales(Configuration->Destinations));
        generales = ListeGenerale;
    }
    // The task counts one in Occupe from here to the end of its body.
    auto* tache = new TTacheMini(d, generales, Configuration->Sensibilite, session.Occupe, DecodeursEnPlus);
    connect(tache, &TTacheMini::Progression, this, [this, suivie = std::weak_ptr<TDestination>(d)] {
        if (const auto destination = suivie.lock(); destination && !destination->EstFermee())
            Redessine(*destination);
    });
    connect(tache, &QThread::finished, this, [this, tache] {
        VraiFinTache(*tache);
        tache->deleteLater();
    });
    session.TacheRecherche = tache;
    tache->start(QThread::IdlePriority);
}

void TMainForm::DemarreComparaison(int index) {
    const TListeDestinations& destinations = Configuration->Destinations;
    const std::shared_ptr<TDestination> d = destinations.Partage(index);
    d->EnTraitement = true;
    auto* tache = new TTacheComparaison(d, PartenairesGeneraux(destinations, index), d->RepriseComparaison,
                                        d->GenerationComparaison, Configuration->Sensibilite, session.Occupe);
    connect(tache, &QThread::finished, this, [this, tache] {
        ConclutComparaison(*tache->DestinationTraitee, tache->Generation, tache->Reprise, tache->Terminee,
                           tache->LignesAjoutees);
        VraiFinTache(*tache);
        tache->deleteLater();
    });
    session.TacheRecherche = tache;
    tache->start(QThread::IdlePriority);
}

void TMainForm::VraiFinTache(TTacheMini& tache) {
    TDestination& d = *tache.DestinationTraitee;
    d.EnTraitement = false;
    if (!d.EstFermee()) {
        Redessine(d);
        // The store is written when more than ten signatures came since it last was.
        const auto signatures = static_cast<int32_t>(d.Comptes().Signatures);
        if (signatures - d.NbSauvees > 10 && d.SauveSignatures()) d.NbSauvees = signatures;
    }
    FinTache();
}

void TMainForm::ChangeModeRecherche(bool locale, bool generale) {
    DemandeArretRecherche();
    if (!Configuration) return;
    const QStringList echecs = FixeModeRecherche(Configuration->Destinations, locale, generale);
    RafraichisListeDestinations();
    if (!echecs.isEmpty()) Questions->Avertit(MessageMarqueComparaison(echecs));
}

void TMainForm::Dsactiverlededoublonagepourtous1Click() {
    ChangeModeRecherche(false, false);
}

void TMainForm::Activerleddoublonnage1Click() {
    ChangeModeRecherche(true, false);
}

void TMainForm::ActiverleddoublonnageGENERALpourtouteslesdestinations1Click() {
    ChangeModeRecherche(true, true);
}

void TMainForm::MontreDestination(int index) {
    const TListeDestinations& destinations = Configuration->Destinations;
    const TDestination& d = *destinations.Element(index);
    session.ListeGroupe()->Courant = session.ListeGroupe()->Existe(d.Groupe) ? d.Groupe : 0;
    int n = 0, position = 0;
    for (int i = 1; i < destinations.Count(); ++i) {
        if (destinations.Element(i)->Groupe != d.Groupe) continue;
        if (i == index) position = n;
        ++n;
    }
    RafraichisListeDestinations();
    session.ListeGroupe()->FixePositionCourante(PositionPourMontrer(n, position, Panneau->NbTuilesVisibles));
    RafraichisListeDestinations();
}

void TMainForm::Montrerladestinationencoursdeddoublonnage1Click() {
    if (!Configuration) return;
    const int index = DestinationEnTraitement(Configuration->Destinations);
    if (index >= 0) MontreDestination(index);
}

void TMainForm::Montrerlesdestinationsquiontdesdoublons1Click() {
    if (!Configuration) return;
    const int index = SuivanteAvecDoublons(Configuration->Destinations, DernierDoublonMontre);
    if (index < 0) return;
    DernierDoublonMontre = index;
    MontreDestination(index);
}

void TMainForm::Effacer1Click() {
    const int index = IndexDuMenuDeTuile();
    if (index < 0) return;
    TDestination& d = *Configuration->Destinations.Element(index);
    if (!Questions->ConfirmeOkAnnuler(
            QStringLiteral(
                "Etes-vous sur de vouloir effacer la liste des images en double de la destination '") +
            d.Titre + u'\''))
        return;
    d.EffaceDoublons();
    RafraichisListeDestinations();
}

void TMainForm::RevoitDoublons(TDestination& d) {
    if (d.Comptes().Doublons == 0) return;
    // Held for as long as the window is open; the destination too.
    const std::shared_ptr<TDestination> tenue = d.weak_from_this().lock();
    {
        const TOccupation occupation(session.Occupe);
        DemandeArretRecherche();
        // Pairs whose files are gone are not shown again.
        d.ElagueDoublons();
        // Every change made in the window shows at once in the tiles and the tool bar's figures;
        // no task starts from there while the window holds the search.
        const QMetaObject::Connection suivi =
            connect(FormDedoublone, &TFormDedoublone::ListesChangees, this, [this] {
                RafraichisListeDestinations();
                FinTache();
            });
        if (tenue && FormDedoublone->Prepare(tenue, &Configuration->Destinations,
                                             Configuration->Destinations.Element(0)->Chemin, Questions,
                                             &Configuration->Annulations))
            Dialogues->MontreModal(*FormDedoublone);
        disconnect(suivi);
    }
    // Deleting an image changes the counts of every destination that had it.
    RafraichisListeDestinations();
}

void TMainForm::GestiondeSignatures1Click() {
    {
        const TOccupation occupation(session.Occupe);
        // The images in the search's hands are back in their lists before anything is counted.
        AttendFinRecherche();
        if (Configuration) {
            // The stores then hold what the open destinations hold now.
            const QStringList echecs = SauveMagasinsOuverts(Configuration->Destinations);
            if (!echecs.isEmpty())
                Questions->SignaleErreur(
                    QStringLiteral("Les signatures de ces dossiers n'ont pas pu être enregistrées ; leurs "
                                   "comptes sont ceux de la mémoire :\n") +
                    echecs.join(u'\n'));
            FormMiniatures->Prepare(Configuration->ContexteDestinations.DossierSignatures(),
                                    &Configuration->Destinations, &ImageList4, Questions);
        }
        Dialogues->MontreModal(*FormMiniatures);
    }
    // Signatures erased there are to be computed anew: the tiles count them as waiting.
    RafraichisListeDestinations();
}
