#include "configuration.h"

#include "app/chemins.h"
#include "destinations/destination.h"
#include "fenetreprincipale.h"
#include "app/textefichier.h"
#include "destinations/listegroupe.h"

#include <QFileInfo>


Tconfiguration::Tconfiguration(TSourceListe& listeSource)
    : SourcePath(Chemins::DossierParDefaut()), source(listeSource) {
    ContexteDestinations.SourcePath = &SourcePath;
}

void Tconfiguration::ReleveFenetre(IFenetrePrincipale& fenetre) {
    const QRect bornes = fenetre.BornesNormales();
    Maximized = fenetre.EstMaximisee();
    if (Maximized) fenetre.RetablitEtatNormal();
    WindowWidth = bornes.width();
    WindowHeight = bornes.height();
    WindowLeft = bornes.left();
    WindowTop = bornes.top();
    Divider1 = fenetre.LargeurDestinations();
    Divider2 = fenetre.LargeurListe();
    Divider3 = fenetre.HauteurApercus();
}

void Tconfiguration::AppliqueFenetre(IFenetrePrincipale& fenetre) {
    fenetre.FixeBornes(QRect(WindowLeft, WindowTop, WindowWidth, WindowHeight));
    fenetre.FixeSeparateurs(Divider1, Divider2, Divider3);
    fenetre.FixeMaximisee(Maximized);
}

void Tconfiguration::OublieDestination(const TDestination* d) {
    for (TDestination*& annulee : AnnulDestinations)
        if (annulee == d) annulee = nullptr;
}

void Tconfiguration::ChangeSource(const QString& chemin) {
    SourcePath = Chemins::SansSeparateurFinal(chemin);
    source.ChargeDossier(SourcePath, Destinations);
}

namespace {

// A value that should be an integer and is not: where, for the one message the user sees.
struct ErreurLecture {
    qsizetype ligne; // counted from 1
};

// An optional sign and decimal digits; an empty value gives the default.
int32_t Entier(const QString& valeur, int32_t defaut, qsizetype ligne) {
    if (valeur.isEmpty()) return defaut;
    bool correct = false;
    const int32_t nombre = valeur.toInt(&correct, 10);
    const QChar premier = valeur.front();
    if (!correct || premier.isSpace() || valeur.back().isSpace()) throw ErreurLecture{ligne};
    return nombre;
}

class LignesConfiguration {
public:
    explicit LignesConfiguration(const QStringList& texte) : lignes(texte) {}

    // Index of the first line whose text before its first "=" is the key, letter case ignored.
    qsizetype IndexDe(const QString& cle) const {
        for (qsizetype i = 0; i < lignes.size(); ++i) {
            const qsizetype egal = lignes[i].indexOf(u'=');
            if (egal >= 0 && QStringView(lignes[i]).left(egal).compare(cle, Qt::CaseInsensitive) == 0) return i;
        }
        return -1;
    }
    QString Valeur(const QString& cle) const {
        const qsizetype i = IndexDe(cle);
        return i < 0 ? QString() : lignes[i].mid(lignes[i].indexOf(u'=') + 1);
    }
    int32_t Entier(const QString& cle, int32_t defaut) const {
        return ::Entier(Valeur(cle), defaut, IndexDe(cle) + 1);
    }
    // A record line; past the end of the file is an error like a bad value.
    const QString& Ligne(qsizetype i) const {
        if (i >= lignes.size()) throw ErreurLecture{i + 1};
        return lignes[i];
    }

private:
    const QStringList& lignes;
};

int32_t HauteurDePoints(int points) { return -static_cast<int32_t>(std::lround(points * 96.0 / 72.0)); }

} // namespace

bool Tconfiguration::Lecture(const QString& fichier) {
    QStringList texte;
    if (QFileInfo::exists(fichier)) TexteFichier::Lit(fichier, texte);
    const LignesConfiguration lignes(texte);
    try {
        Maximized = lignes.Valeur(QStringLiteral("Maximized")) == QStringLiteral("M");
        WindowWidth = lignes.Entier(QStringLiteral("WindowWidth"), 640);
        WindowHeight = lignes.Entier(QStringLiteral("WindowHeight"), 480);
        WindowLeft = lignes.Entier(QStringLiteral("WindowLeft"), 0);
        WindowTop = lignes.Entier(QStringLiteral("WindowTop"), 0);
        Divider1 = lignes.Entier(QStringLiteral("Divider1"), 167);
        Divider2 = lignes.Entier(QStringLiteral("Divider2"), 98);
        Divider3 = lignes.Entier(QStringLiteral("Divider3"), 65);
        SizeFilter = lignes.Valeur(QStringLiteral("SizeFilter")) == QStringLiteral("1");
        SizeFilterX = lignes.Entier(QStringLiteral("SizeFilterX"), 100);
        SizeFilterY = lignes.Entier(QStringLiteral("SizeFilterY"), 100);
        Sensibilite = lignes.Entier(QStringLiteral("Sensibilite"), 150000);
        BullesAide = lignes.Valeur(QStringLiteral("Bullesaide")) != QStringLiteral("1");
        DestinationCount = std::max(0, lignes.Entier(QStringLiteral("DestinationCount"), 0));

        Destinations.Reserve(Destinations.Count() + std::min(DestinationCount, 100000) + 1);
        if (DebutLecture) DebutLecture(DestinationCount);
        qsizetype ligne = lignes.IndexDe(QStringLiteral("DestinationCount")) + 1;
        for (int32_t i = 0; i < DestinationCount; ++i, ligne += 10) {
            QString titre = lignes.Ligne(ligne);
            if (titre.isEmpty()) titre = QStringLiteral(" ");
            QString chemin = lignes.Ligne(ligne + 1);
            if (chemin.isEmpty()) chemin = Chemins::DossierParDefaut();
            auto destination = std::make_unique<TDestination>(&ContexteDestinations);
            if (DestinationEnCours) DestinationEnCours(titre);
            destination->Charge(chemin, titre);
            destination->SousGroupe = Entier(lignes.Ligne(ligne + 2), -1, ligne + 3);
            destination->Groupe = Entier(lignes.Ligne(ligne + 3), 0, ligne + 4);
            destination->FonteCharset = Entier(lignes.Ligne(ligne + 4), 1, ligne + 5);
            destination->FonteCouleur = Entier(lignes.Ligne(ligne + 5), 1, ligne + 6);
            const int32_t hauteur = Entier(lignes.Ligne(ligne + 6), -11, ligne + 7);
            QString face = lignes.Ligne(ligne + 7);
            if (face.isEmpty()) face = QStringLiteral("MS Sans Serif");
            const int32_t taille = Entier(lignes.Ligne(ligne + 8), 8, ligne + 9);
            // A short flags line reads its missing characters as "X".
            const QString drapeaux = lignes.Ligne(ligne + 9).leftJustified(6, u'X', true);
            QFont police(face);
            if (hauteur != 0) police.setPixelSize(std::abs(hauteur));
            if (taille > 0) police.setPointSize(taille); // the size, set last, decides
            police.setBold(drapeaux[0] == u'*');
            police.setItalic(drapeaux[1] == u'*');
            police.setUnderline(drapeaux[2] == u'*');
            police.setStrikeOut(drapeaux[3] == u'*');
            destination->Fonte = police;
            destination->RechercheLocale = drapeaux[4] != u'X';
            destination->RechercheGenerale = drapeaux[5] != u'X';

            if (QFileInfo(destination->Chemin).isDir()) {
                // A record whose level was never created (its parent's folder was missing) goes to
                // the top level.
                if (ListeGroupe && destination->Groupe != 0 && !ListeGroupe->Existe(destination->Groupe))
                    destination->Groupe = 0;
                TDestination* ajoutee = destination.get();
                Destinations.Ajoute(titre, std::move(destination));
                if (ListeGroupe) {
                    if (ajoutee->SousGroupe != -1 && !ListeGroupe->Existe(ajoutee->SousGroupe))
                        ListeGroupe->AjouteGroupe(*ajoutee);
                    else
                        ListeGroupe->Ajoute(*ajoutee);
                }
            } else {
                // Its folder is gone: saved (never erased) and not kept.
                ContexteDestinations.ReponseMemorisee = 7;
                destination.reset();
                ContexteDestinations.ReponseMemorisee = 6;
            }
            if (PasLecture) PasLecture();
        }
    } catch (const ErreurLecture& erreur) {
        if (SignaleErreur)
            SignaleErreur(QStringLiteral("Erreur de lecture du fichier de configuration « %1 » à la ligne %2 : "
                                         "valeur manquante ou non entière.")
                              .arg(fichier)
                              .arg(erreur.ligne));
        return false;
    }
    QString sourceLue = lignes.Valeur(QStringLiteral("SourcePath"));
    if (sourceLue.isEmpty()) sourceLue = Chemins::DossierParDefaut();
    ChangeSource(sourceLue);
    source.Trie(TriNom);
    return true;
}

bool Tconfiguration::Ecriture(const QString& fichier) const {
    QStringList texte;
    texte << QStringLiteral("Maximized=") + (Maximized ? QStringLiteral("M") : QStringLiteral("N"))
          << QStringLiteral("WindowWidth=%1").arg(WindowWidth) << QStringLiteral("WindowHeight=%1").arg(WindowHeight)
          << QStringLiteral("WindowLeft=%1").arg(WindowLeft) << QStringLiteral("WindowTop=%1").arg(WindowTop)
          << QStringLiteral("Divider1=%1").arg(Divider1) << QStringLiteral("Divider2=%1").arg(Divider2)
          << QStringLiteral("Divider3=%1").arg(Divider3)
          << QStringLiteral("SizeFilter=") + (SizeFilter ? QStringLiteral("1") : QStringLiteral("0"))
          << QStringLiteral("SizeFilterX=%1").arg(SizeFilterX) << QStringLiteral("SizeFilterY=%1").arg(SizeFilterY)
          << QStringLiteral("SourcePath=") + SourcePath << QStringLiteral("Sensibilite=%1").arg(Sensibilite)
          << QStringLiteral("Bullesaide=") + (BullesAide ? QStringLiteral("0") : QStringLiteral("1"))
          << QStringLiteral("DestinationCount=%1").arg(Destinations.Count() - 1);
    for (int i = 1; i < Destinations.Count(); ++i) {
        const TDestination& d = *Destinations.Element(i);
        const int points = d.Fonte.pointSize() > 0 ? d.Fonte.pointSize()
                                                   : static_cast<int>(std::lround(d.Fonte.pixelSize() * 72.0 / 96.0));
        QString drapeaux;
        for (const bool drapeau : {d.Fonte.bold(), d.Fonte.italic(), d.Fonte.underline(), d.Fonte.strikeOut(),
                                   d.RechercheLocale, d.RechercheGenerale})
            drapeaux += drapeau ? u'*' : u'X';
        texte << d.Titre << d.Chemin << QString::number(d.SousGroupe) << QString::number(d.Groupe)
              << QString::number(d.FonteCharset) << QString::number(d.FonteCouleur)
              << QString::number(HauteurDePoints(points)) << d.Fonte.family() << QString::number(points) << drapeaux;
    }
    return TexteFichier::Ecrit(fichier, texte);
}
