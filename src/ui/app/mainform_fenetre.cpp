// What the configuration reads from and gives to the main window: bounds, state and dividers.

#include "mainform.h"
#include "plateforme.h"

#include <QGroupBox>
#include <QSplitter>

#include <algorithm>
#include <utility>

bool TMainForm::EstMaximisee() const {
    return isMaximized();
}

QRect TMainForm::BornesNormales() const {
    const QRect normale = isMaximized() ? normalGeometry() : geometry();
    return normale.isValid() ? normale : geometry();
}

void TMainForm::RetablitEtatNormal() {
    showNormal();
}

void TMainForm::FixeBornes(const QRect& bornes) {
    PrendBornes(bornes);
    if (!isVisible()) bornesAvantAffichage = bornes;
}

void TMainForm::PrendBornes(const QRect& bornes) {
    if (PlateformePlaceLesFenetres()) {
        setGeometry(bornes);
        return;
    }
    // Where the platform places the windows itself, the window keeps the place it was given there.
    resize(bornes.size());
}

void TMainForm::FixeMaximisee(bool maximisee) {
    // Before the window is first shown only its state is set: it appears at the end of start-up.
    if (!isVisible()) {
        setWindowState(maximisee ? Qt::WindowMaximized : Qt::WindowNoState);
        return;
    }
    const QRect avantAffichage = std::exchange(bornesAvantAffichage, QRect());
    if (maximisee) {
        showMaximized();
        return;
    }
    showNormal();
    // The window is first shown minimised: the platform, which never had it in its normal state,
    // may have given it its minimum size meanwhile, which would then be written back. It comes
    // up with the bounds it was given.
    if (avantAffichage.isValid()) PrendBornes(avantAffichage);
}

QSize TMainForm::TailleMinimale() const {
    return minimumSize();
}

int TMainForm::LargeurDestinations() const {
    return GroupBoxDestinations->width();
}
int TMainForm::LargeurListe() const {
    return Panel2->width();
}
int TMainForm::HauteurApercus() const {
    return PanelPrecSuiv->height();
}

void TMainForm::FixeSeparateurs(int largeurDestinations, int largeurListe, int hauteurApercus) {
    const int handle = SplitterMain->handleWidth();
    // Whatever the dividers do not take goes to the source area and the current image.
    SplitterMain->setSizes(
        {std::max(1, SplitterMain->width() - handle - largeurDestinations), largeurDestinations});
    Splitter1->setSizes({largeurListe, std::max(1, Splitter1->width() - handle - largeurListe)});
    SplitterH->setSizes({hauteurApercus, std::max(1, SplitterH->height() - handle - hauteurApercus)});
}
