#include "progression.h"

#include "fenetre.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

TFormProgress::TFormProgress(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormProgress"));
    PrepareFenetre(this, QStringLiteral("Veillez patienter"), 263, 37, Bordure::Dialogue, 0);
    setWindowFlag(Qt::WindowStaysOnTopHint);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setFixedHeight(17);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedHeight(13);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);

    auto* disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(4, 2, 4, 2);
    disposition->setSpacing(3);
    disposition->addWidget(Label2);
    disposition->addStretch();
    disposition->addWidget(ProgressBar1);
}

void TFormProgress::Prepare(const QString& texte, int maximum) {
    SurLeFilPrincipal(this, [this, texte, maximum] {
        Label2->setText(texte);
        ProgressBar1->setRange(0, maximum);
        ProgressBar1->setValue(0);
        show();
        repaint();
    });
}

void TFormProgress::Avance() {
    SurLeFilPrincipal(this, [this] {
        const int maximum = std::max(1, ProgressBar1->maximum());
        const int avant = ProgressBar1->value();
        ProgressBar1->setValue(std::min(ProgressBar1->maximum(), avant + 1));
        // Long work on the main thread runs no event loop: the bar is painted at once, each time
        // it moves by a hundredth, so that it follows the work without slowing it down.
        if (100LL * ProgressBar1->value() / maximum != 100LL * avant / maximum) ProgressBar1->repaint();
    });
}

void TFormProgress::Cache() {
    SurLeFilPrincipal(this, [this] { hide(); });
}
