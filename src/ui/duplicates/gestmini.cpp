#include "gestmini.h"

#include "core/app/bandeicones.h"
#include "core/app/questions.h"
#include "core/destinations/destination.h"
#include "core/duplicates/magasin.h"
#include "ui/app/aide.h"
#include "ui/app/fenetre.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

QString DateDuMagasin(const QDateTime& date) {
    if (!date.isValid()) return QString();
    const QLocale locale;
    const QString jour = locale.toString(date.date(), QLocale::ShortFormat);
    return date.time() == QTime(0, 0) ? jour
                                      : jour + u' ' + locale.toString(date.time(), QLocale::LongFormat);
}

TFormMiniatures::TFormMiniatures(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormMiniatures"));
    PrepareFenetre(this, QStringLiteral("Gestion des signatures des images"), 400, 270,
                   Bordure::Redimensionnable, 2410);
    setMinimumSize(400, 270);
    setWindowFlag(Qt::WindowStaysOnTopHint);

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    TreeView1->viewport()->installEventFilter(this);
    FixeIndice(TreeView1, QStringLiteral("Clic droit pour effacer les signatures d'une destination"), true);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(34);
    BitBtn1 = new QPushButton(QStringLiteral("Aide"), Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedWidth(88);
    BitBtn2 = new QPushButton(QStringLiteral("Fermer"), Panel2);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setDefault(true);
    auto* droite = new QHBoxLayout(Panel2);
    droite->setContentsMargins(0, 0, 4, 0);
    droite->addWidget(BitBtn2);
    auto* bas = new QHBoxLayout(Panel1);
    bas->setContentsMargins(4, 4, 0, 4);
    bas->addWidget(BitBtn1);
    bas->addStretch(1);
    bas->addWidget(Panel2);
    auto* fenetre = new QVBoxLayout(this);
    fenetre->setContentsMargins(0, 0, 0, 0);
    fenetre->setSpacing(0);
    fenetre->addWidget(TreeView1, 1);
    fenetre->addWidget(Panel1);

    connect(BitBtn1, &QPushButton::clicked, this, [] { MontreAide(2410); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormMiniatures::Prepare(QString signatures, const TListeDestinations* ouvertes,
                              const TBandeIcones* icones, IQuestions* utilisateur) {
    dossierSignatures = std::move(signatures);
    destinations = ouvertes;
    images = icones;
    questions = utilisateur;
}

void TFormMiniatures::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFormMiniatures::RemplitDossier(QTreeWidgetItem* ligne, const TDossierStocke& etat) {
    qDeleteAll(ligne->takeChildren());
    for (const QString& texte : {QStringLiteral("Signatures : %1").arg(etat.Signatures),
                                 QStringLiteral("Erronés : %1").arg(etat.Intraitables),
                                 QStringLiteral("Images en double : %1").arg(etat.Doublons),
                                 QStringLiteral("Date : ") + DateDuMagasin(etat.Date)})
        new QTreeWidgetItem(ligne, QStringList{texte});
}

void TFormMiniatures::FormShow() {
    TreeView1->clear();
    dossiers.clear();
    if (dossierSignatures.isEmpty()) return;
    dossiers = destinations ? InventaireActuel(dossierSignatures, *destinations)
                            : InventaireActuel(dossierSignatures, TListeDestinations());
    QList<QTreeWidgetItem*> lignes;
    for (qsizetype i = 0; i < dossiers.size(); ++i) {
        const TDossierInventaire& dossier = dossiers[i];
        auto* ligne = new QTreeWidgetItem(QStringList{dossier.Etat.Dossier});
        ligne->setData(0, Qt::UserRole, QVariant::fromValue(i));
        if (images) ligne->setIcon(0, images->Icone(dossier.Ouvert ? 27 : 26));
        RemplitDossier(ligne, dossier.Etat);
        lignes << ligne;
    }
    TreeView1->addTopLevelItems(lignes);
}

bool TFormMiniatures::eventFilter(QObject* objet, QEvent* event) {
    if (objet == TreeView1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* souris = static_cast<QMouseEvent*>(event);
        TreeView1MouseUp(souris->button(), TreeView1->itemAt(souris->position().toPoint()));
    }
    return QDialog::eventFilter(objet, event);
}

void TFormMiniatures::TreeView1MouseUp(Qt::MouseButton bouton, QTreeWidgetItem* ligne) {
    // Folder lines only: they have no parent.
    if (bouton != Qt::RightButton || !ligne || ligne->parent() || !questions) return;
    const qsizetype index = ligne->data(0, Qt::UserRole).value<qsizetype>();
    if (index < 0 || index >= dossiers.size()) return;
    const TDossierInventaire& dossier = dossiers[index];
    if (!questions->ConfirmeOkAnnuler(QStringLiteral("Voulez-vous effacer les signatures du dossier '") +
                                      dossier.Etat.Dossier + u'\''))
        return;
    if (!EffaceSignaturesDuDossier(dossierSignatures, dossier)) {
        questions->SignaleErreur(
            QStringLiteral("Les signatures du dossier « %1 » n'ont pas pu être effacées.")
                .arg(dossier.Etat.Dossier));
        return;
    }
    const std::shared_ptr<TDestination> ouverte = dossier.Destination.lock();
    if (ouverte)
        RemplitDossier(ligne, EtatOuvert(*ouverte, TDossierStocke{}));
    else
        delete ligne;
}
