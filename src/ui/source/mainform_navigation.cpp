// The main window's navigation through the source: list box, scroll bar, keys, wheel, the
// navigation timer, the four sorts and the full-screen view of the current image.

#include "affichagesource.h"
#include "core/session/session.h"
#include "core/source/navigation.h"
#include "core/source/sourceliste.h"
#include "pleinecran.h"
#include "ui/app/curseur.h"
#include "ui/app/globaux.h"
#include "ui/app/imagecontrole.h"
#include "ui/app/mainform.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

namespace {
// The scroll bar's thumb released at a position; the toolkit reports it apart from its actions.
constexpr int PouceRelache = 1000;
} // namespace

void TMainForm::ConnecteNavigation() {
    connect(ListBox1, &QAbstractItemView::clicked, this, &TMainForm::ListBox1Click);
    ScrollBar1->setFocusPolicy(Qt::StrongFocus);
    ScrollBar1->setSingleStep(1);
    connect(ScrollBar1, &QAbstractSlider::actionTriggered, this, &TMainForm::ScrollBar1Scroll);
    connect(ScrollBar1, &QAbstractSlider::sliderReleased, this, [this] { ScrollBar1Scroll(PouceRelache); });
    connect(TimerCourantAff, &QTimer::timeout, this, &TMainForm::TimerCourantAffTimer);
    connect(Affichage, &TAffichageSource::CouranteChangee, this, [this] { ChercheCopiesDeLaCourante(); });
    connect(TrierparNom1, &QAction::triggered, this, &TMainForm::TrierparNom1Click);
    connect(TrierparDate1, &QAction::triggered, this, &TMainForm::TrierparDate1Click);
    connect(TrierparTaille1, &QAction::triggered, this, &TMainForm::TrierparTaille1Click);
    connect(TrierparExtension1, &QAction::triggered, this, &TMainForm::TrierparExtension1Click);
    connect(ImageCourante, &TImage::SourisRelachee, this, &TMainForm::ImageCouranteMouseUp);
    PanelCourant2->installEventFilter(this);
    PanelSuiv2->installEventFilter(this);
    PanelPrec2->installEventFilter(this);
}

// Seen before the controls: the list box's own keys, the scroll bar's keys (left and up go back,
// right and down forward, whatever the toolkit's own key mapping), the right button in the list,
// the wheel anywhere in the window, and panel resizes.
bool TMainForm::FiltreNavigation(QObject* objet, QEvent* event) {
    const QEvent::Type type = event->type();
    // A click on the current image's caption, when it names a near copy, shows that copy.
    if (type == QEvent::MouseButtonRelease && objet == GroupBoxCourant &&
        static_cast<QMouseEvent*>(event)->position().y() < GroupBoxCourant->fontMetrics().height() + 4)
        return MontreCopieLaPlusProche();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) &&
        (objet == ListBox1 || objet == ListBox1->viewport()))
        return true;
    // The right button only opens the sort menu: the selection and the current image stay.
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick) &&
        objet == ListBox1->viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        return true;
    if (type == QEvent::KeyPress && objet == ScrollBar1) {
        int action = QAbstractSlider::SliderNoAction;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            action = QAbstractSlider::SliderSingleStepSub;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            action = QAbstractSlider::SliderSingleStepAdd;
            break;
        case Qt::Key_PageUp:
            action = QAbstractSlider::SliderPageStepSub;
            break;
        case Qt::Key_PageDown:
            action = QAbstractSlider::SliderPageStepAdd;
            break;
        case Qt::Key_Home:
            action = QAbstractSlider::SliderToMinimum;
            break;
        case Qt::Key_End:
            action = QAbstractSlider::SliderToMaximum;
            break;
        default:
            break;
        }
        if (action == QAbstractSlider::SliderNoAction) return false;
        ScrollBar1->triggerAction(static_cast<QAbstractSlider::SliderAction>(action));
        return true;
    }
    if (type == QEvent::Wheel) {
        const auto* controle = qobject_cast<QWidget*>(objet);
        if (!controle || controle->window() != this) return false;
        rouletteCumulee += static_cast<QWheelEvent*>(event)->angleDelta().y();
        for (; rouletteCumulee >= 120; rouletteCumulee -= 120)
            FormMouseWheelUp();
        for (; rouletteCumulee <= -120; rouletteCumulee += 120)
            FormMouseWheelDown();
        return true;
    }
    if (type == QEvent::Resize && (objet == PanelCourant2 || objet == PanelSuiv2 || objet == PanelPrec2))
        Affichage->Reajuste();
    return false;
}

void TMainForm::ArmeTimerCourantAff() {
    TimerCourantAff->start(10);
}

void TMainForm::ListBox1Click() {
    TSourceListe* source = session.ListeSource();
    if (!source) return;
    if (ListBox1->selectedItems().size() < 2) {
        source->IndexDemande = ListBox1->currentRow();
        ArmeTimerCourantAff();
    } else {
        Affichage->NoteMultiSelection();
    }
    ScrollBar1->setFocus();
}

void TMainForm::ScrollBar1Scroll(int action) {
    TSourceListe* source = session.ListeSource();
    if (!source) return;
    const int nombre = source->Fichiers.Count();
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        if (source->IndexDemande >= 1) {
            --source->IndexDemande;
            ArmeTimerCourantAff();
        }
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        if (source->IndexDemande < nombre - 1) {
            ++source->IndexDemande;
            ArmeTimerCourantAff();
        }
        break;
    case QAbstractSlider::SliderPageStepSub:
    case QAbstractSlider::SliderPageStepAdd:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum:
    case PouceRelache:
        if (QListWidgetItem* element = ListBox1->item(source->IndexAffiche)) element->setSelected(false);
        source->IndexDemande = ScrollBar1->sliderPosition();
        ArmeTimerCourantAff();
        break;
    default: // the thumb being dragged
        break;
    }
}

void TMainForm::FormMouseWheelUp() {
    TSourceListe* source = session.ListeSource();
    if (source && source->IndexDemande > 0) {
        --source->IndexDemande;
        ArmeTimerCourantAff();
    }
}

void TMainForm::FormMouseWheelDown() {
    TSourceListe* source = session.ListeSource();
    if (source && source->IndexDemande < source->Fichiers.Count() - 1) {
        ++source->IndexDemande;
        ArmeTimerCourantAff();
    }
}

void TMainForm::TimerCourantAffTimer() {
    TSourceListe* source = session.ListeSource();
    if (!source) {
        TimerCourantAff->stop();
        return;
    }
    const DecisionAffichage decision =
        DecideEtape(source->IndexAffiche, source->IndexDemande, source->CouranteRetiree,
                    source->Fichiers.Count(), Affichage->ApercuEnChargement());
    if (decision.Etape == EtapeAffichage::Attente) {
        TimerCourantAff->setInterval(AttenteApercuMs);
        return;
    }
    source->IndexAffiche = decision.IndexAffiche;
    source->IndexDemande = decision.IndexDemande;
    switch (decision.Etape) {
    case EtapeAffichage::Avance:
        Affichage->Avance();
        break;
    case EtapeAffichage::Recule:
        Affichage->Recule();
        break;
    case EtapeAffichage::AfficheTout:
        Affichage->AfficheTout();
        break;
    default:
        break;
    }
    // A step on the way to a request a few files further: the next one follows at once.
    const bool enRoute =
        (decision.Etape == EtapeAffichage::Avance || decision.Etape == EtapeAffichage::Recule) &&
        source->IndexDemande != source->IndexAffiche;
    enRoute ? TimerCourantAff->start(0) : TimerCourantAff->stop();
}

void TMainForm::Trie(int mode) {
    TSourceListe* source = session.ListeSource();
    if (!source) return;
    FixeCurseur(Qt::WaitCursor);
    source->Trie(mode);
    RemplitListe();
    Affichage->AfficheTout();
    CurseurParDefaut();
}

void TMainForm::TrierparNom1Click() {
    Trie(TriNom);
}
void TMainForm::TrierparDate1Click() {
    Trie(TriDate);
}
void TMainForm::TrierparTaille1Click() {
    Trie(TriTaille);
}
void TMainForm::TrierparExtension1Click() {
    Trie(TriExtension);
}

void TMainForm::ImageCouranteMouseUp() {
    if (FormPleinEcran) FormPleinEcran->Montre(*ImageCourante);
}
