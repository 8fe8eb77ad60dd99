#include "pleinecran.h"

#include "core/source/ajusteimage.h"
#include "core/source/lecteurimage.h"
#include "ui/app/curseur.h"
#include "ui/app/fenetre.h"
#include "ui/app/imagecontrole.h"
#include "ui/source/pixels.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

TFormPleinEcran::TFormPleinEcran(QWidget* parent) : QDialog(parent), Image1(new TImage(this)) {
    setObjectName(QStringLiteral("FormPleinEcran"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    Image1->setObjectName(QStringLiteral("Image1"));
    FixeIndice(Image1, QStringLiteral("Clic gauche pour revenir"), false);
    connect(Image1, &TImage::SourisRelachee, this, &QWidget::hide);
    if (const QScreen* ecran = QGuiApplication::primaryScreen()) setGeometry(ecran->geometry());
}

TFormPleinEcran::~TFormPleinEcran() = default;

void TFormPleinEcran::Montre(const TImage& source) {
    MontreImage(source.Image(), source.TailleNaturelle());
}

void TFormPleinEcran::MontreImage(const QImage& image, QSize naturelle) {
    attendue = 0;
    Image1->FixeImage(image, naturelle);
    Ajuste();
    if (!isVisible()) {
        // Opened over a modal window (the duplicate review), the viewer must be modal too, or that
        // window would keep the clicks and the keys.
        QWidget* modale = QApplication::activeModalWidget();
        dessous = modale != this ? modale : nullptr;
        setWindowModality(dessous ? Qt::ApplicationModal : Qt::NonModal);
    }
    show();
    raise();
    activateWindow();
}

void TFormPleinEcran::MontreFichier(const QString& fichier, const TImage& enAttendant) {
    MontreImage(enAttendant.Image(), enAttendant.TailleNaturelle());
    if (!lecteur) {
        lecteur = new TLecteurImage(this);
        connect(lecteur, &TLecteurImage::Lue, this, &TFormPleinEcran::FichierLu);
    }
    // Read at the scale that suits the screen in its own pixels, as the source's current image is.
    attendue = ++demandes;
    lecteur->Demande(attendue, QFile::encodeName(fichier), EcranEnPixels(this));
}

void TFormPleinEcran::FichierLu(quint64 numero, const TImageDecodee& lue) {
    if (numero != attendue) return;
    attendue = 0;
    // Unreadable now (gone meanwhile): the picture read for the box stays.
    if (!lue.Lisible || !isVisible()) return;
    Image1->FixeImage(lue.Image, lue.Naturelle);
    Ajuste();
}

void TFormPleinEcran::Ajuste() {
    Image1->setGeometry(AjusteImage(Image1->TailleNaturelle(), size(), size(), rect()));
}

void TFormPleinEcran::showEvent(QShowEvent* event) {
    FixeCurseur(Qt::BlankCursor);
    QDialog::showEvent(event);
}

void TFormPleinEcran::hideEvent(QHideEvent* event) {
    // A picture still being read is no longer wanted.
    attendue = 0;
    CurseurParDefaut();
    QDialog::hideEvent(event);
    if (dessous && dessous->isVisible()) dessous->activateWindow();
    dessous = nullptr;
}

void TFormPleinEcran::mouseReleaseEvent(QMouseEvent*) {
    hide();
}
