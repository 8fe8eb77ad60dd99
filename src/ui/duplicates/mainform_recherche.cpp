// The duplicate search as the main window shows it: the one-second tick that asks the session's
// decision, the tool-bar displays, and the commands of the "Images en double" menu around the
// session's operations.

#include "core/config/configuration.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/destinations/panneau.h"
#include "core/duplicates/comparaisongenerale.h"
#include "core/duplicates/planification.h"
#include "core/session/session.h"
#include "dedoublonne.h"
#include "gestmini.h"
#include "ui/app/fenetre.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"

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

void TMainForm::ConnecteRecherche() {
    connect(&session, &TSession::DestinationAvancee, this, [this](TDestination* d) { Redessine(*d); });
    connect(&session, &TSession::TacheTerminee, this, &TMainForm::MontreBilan);
    connect(&session, &TSession::CopiesTrouvees, this, &TMainForm::CopiesTrouvees);
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
    // Not started again once the program is closing.
    if (session.RechercheAutorisee) Timer2->start();
}

void TMainForm::FinTache() {
    MontreBilan(session.FinTache());
}

void TMainForm::MontreBilan(const TBilanRecherche& bilan) {
    // A task just started: the totals stopped at it, and are shown at its end.
    if (bilan.ADemarrer >= 0 || !session.Configuration()) return;
    FixeTexteAjuste(StaticDoublons, QString::number(bilan.Doublons) + QStringLiteral(" images en double"));
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

void TMainForm::ChangeModeRecherche(bool locale, bool generale) {
    const QStringList echecs = session.ChangeModeRecherche(locale, generale);
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
    const TListeDestinations& destinations = session.Configuration()->Destinations;
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
    if (!session.Configuration()) return;
    const int index = DestinationEnTraitement(session.Configuration()->Destinations);
    if (index >= 0) MontreDestination(index);
}

void TMainForm::Montrerlesdestinationsquiontdesdoublons1Click() {
    if (!session.Configuration()) return;
    const int index = SuivanteAvecDoublons(session.Configuration()->Destinations, DernierDoublonMontre);
    if (index < 0) return;
    DernierDoublonMontre = index;
    MontreDestination(index);
}

void TMainForm::Effacer1Click() {
    if (session.EffaceDoublons(IndexDuMenuDeTuile())) RafraichisListeDestinations();
}

void TMainForm::RevoitDoublons(TDestination& d) {
    const bool revue = session.RevoitDoublons(d, [this](const std::shared_ptr<TDestination>& tenue) {
        // Every change made in the window shows at once in the tiles and the tool bar's figures;
        // no task starts from there while the review holds the search.
        const QMetaObject::Connection suivi =
            connect(FormDedoublone, &TFormDedoublone::ListesChangees, this, [this] {
                RafraichisListeDestinations();
                FinTache();
            });
        if (FormDedoublone->Prepare(tenue)) Dialogues->MontreModal(*FormDedoublone);
        disconnect(suivi);
    });
    // Deleting an image changes the counts of every destination that had it.
    if (revue) RafraichisListeDestinations();
}

void TMainForm::GestiondeSignatures1Click() {
    session.GereSignatures([this] {
        if (const Tconfiguration* configuration = session.Configuration())
            FormMiniatures->Prepare(configuration->ContexteDestinations.DossierSignatures(),
                                    &configuration->Destinations, &ImageList4, Questions);
        Dialogues->MontreModal(*FormMiniatures);
    });
    // Signatures erased there are to be computed anew: the tiles count them as waiting.
    RafraichisListeDestinations();
}
