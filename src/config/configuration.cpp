#include "configuration.h"

#include "app/attente.h"
#include "app/chemins.h"
#include "app/questions.h"
#include "app/textefichier.h"
#include "destinations/destination.h"
#include "destinations/listegroupe.h"
#include "fenetreprincipale.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <map>
#include <set>

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

QRect PlaceDansEcran(qint64 gauche, qint64 haut, qint64 largeur, qint64 hauteur, QRect ecran, QSize minimum) {
    const qint64 l = std::clamp<qint64>(largeur, minimum.width(), std::max(ecran.width(), minimum.width()));
    const qint64 h =
        std::clamp<qint64>(hauteur, minimum.height(), std::max(ecran.height(), minimum.height()));
    // Whole on the screen when it fits; otherwise its top left corner stays on it.
    const qint64 x = std::clamp<qint64>(gauche, ecran.left(),
                                        std::max<qint64>(ecran.left(), ecran.left() + ecran.width() - l));
    const qint64 y = std::clamp<qint64>(haut, ecran.top(),
                                        std::max<qint64>(ecran.top(), ecran.top() + ecran.height() - h));
    return QRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(l), static_cast<int>(h));
}

void Tconfiguration::AppliqueFenetre(IFenetrePrincipale& fenetre) {
    // The window stands whole on the screen its middle falls on (the main screen when none), at
    // least at its minimum size; the dividers stay inside it. What was clamped is written back so.
    if (qGuiApp && QGuiApplication::primaryScreen()) {
        const qint64 milieuX = (qint64{WindowLeft} + WindowLeft + WindowWidth) / 2;
        const qint64 milieuY = (qint64{WindowTop} + WindowTop + WindowHeight) / 2;
        const QScreen* ecran = nullptr;
        if (milieuX >= INT32_MIN && milieuX <= INT32_MAX && milieuY >= INT32_MIN && milieuY <= INT32_MAX)
            ecran = QGuiApplication::screenAt(QPoint(static_cast<int>(milieuX), static_cast<int>(milieuY)));
        if (!ecran) ecran = QGuiApplication::primaryScreen();
        const QRect bornes = PlaceDansEcran(WindowLeft, WindowTop, WindowWidth, WindowHeight,
                                            ecran->availableGeometry(), fenetre.TailleMinimale());
        WindowLeft = bornes.left();
        WindowTop = bornes.top();
        WindowWidth = bornes.width();
        WindowHeight = bornes.height();
    }
    Divider1 = std::clamp(Divider1, 2, std::max(2, WindowWidth));
    Divider2 = std::clamp(Divider2, 1, std::max(1, WindowWidth));
    Divider3 = std::clamp(Divider3, 1, std::max(1, WindowHeight));
    fenetre.FixeBornes(QRect(WindowLeft, WindowTop, WindowWidth, WindowHeight));
    fenetre.FixeSeparateurs(Divider1, Divider2, Divider3);
    fenetre.FixeMaximisee(Maximized);
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
            if (egal >= 0 && QStringView(lignes[i]).left(egal).compare(cle, Qt::CaseInsensitive) == 0)
                return i;
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

// The values before the destinations, into a configuration or a scratch copy, one by one: what
// was read before a bad value stays.
struct TEnteteLue {
    bool Maximized = false, SizeFilter = false, BullesAide = true;
    int32_t WindowWidth = 0, WindowHeight = 0, WindowLeft = 0, WindowTop = 0, Divider1 = 0, Divider2 = 0,
            Divider3 = 0, SizeFilterX = 0, SizeFilterY = 0, Sensibilite = 0, DestinationCount = 0;
};

template <typename Cible> void LitEntete(const LignesConfiguration& lignes, Cible& c) {
    c.Maximized = lignes.Valeur(QStringLiteral("Maximized")) == QStringLiteral("M");
    c.WindowWidth = lignes.Entier(QStringLiteral("WindowWidth"), 640);
    c.WindowHeight = lignes.Entier(QStringLiteral("WindowHeight"), 480);
    c.WindowLeft = lignes.Entier(QStringLiteral("WindowLeft"), 0);
    c.WindowTop = lignes.Entier(QStringLiteral("WindowTop"), 0);
    c.Divider1 = lignes.Entier(QStringLiteral("Divider1"), 167);
    c.Divider2 = lignes.Entier(QStringLiteral("Divider2"), 98);
    c.Divider3 = lignes.Entier(QStringLiteral("Divider3"), 65);
    c.SizeFilter = lignes.Valeur(QStringLiteral("SizeFilter")) == QStringLiteral("1");
    c.SizeFilterX = lignes.Entier(QStringLiteral("SizeFilterX"), 100);
    c.SizeFilterY = lignes.Entier(QStringLiteral("SizeFilterY"), 100);
    c.Sensibilite = lignes.Entier(QStringLiteral("Sensibilite"), 150000);
    c.BullesAide = lignes.Valeur(QStringLiteral("Bullesaide")) != QStringLiteral("1");
    c.DestinationCount = std::max(0, lignes.Entier(QStringLiteral("DestinationCount"), 0));
}

// One destination's ten lines as written, from line `ligne` (counted from 0).
struct TEnregistrementLu {
    QString titre, chemin, face, drapeaux;
    int32_t sousGroupe = -1, groupe = 0, charset = 1, couleur = 1, hauteur = -11, taille = 8;
};

TEnregistrementLu LitEnregistrement(const LignesConfiguration& lignes, qsizetype ligne) {
    TEnregistrementLu e;
    e.titre = lignes.Ligne(ligne);
    e.chemin = lignes.Ligne(ligne + 1);
    e.sousGroupe = Entier(lignes.Ligne(ligne + 2), -1, ligne + 3);
    e.groupe = Entier(lignes.Ligne(ligne + 3), 0, ligne + 4);
    e.charset = Entier(lignes.Ligne(ligne + 4), 1, ligne + 5);
    e.couleur = Entier(lignes.Ligne(ligne + 5), 1, ligne + 6);
    e.hauteur = Entier(lignes.Ligne(ligne + 6), -11, ligne + 7);
    e.face = lignes.Ligne(ligne + 7);
    if (e.face.isEmpty()) e.face = QStringLiteral("MS Sans Serif");
    e.taille = Entier(lignes.Ligne(ligne + 8), 8, ligne + 9);
    // A short flags line reads its missing characters as "X".
    e.drapeaux = lignes.Ligne(ligne + 9).leftJustified(6, u'X', true);
    return e;
}

int32_t HauteurDePoints(int points) {
    return -static_cast<int32_t>(std::lround(points * 96.0 / 72.0));
}

// Title fonts stay within sizes a tile can show: up to 100 points, or the pixels of that size.
constexpr int32_t PointsMax = 100;
constexpr int32_t PixelsMax = 133;

QFont PoliceLue(const QString& face, int32_t hauteur, int32_t taille, const QString& drapeaux) {
    QFont police(face);
    if (hauteur != 0)
        police.setPixelSize(std::min(hauteur == INT32_MIN ? INT32_MAX : std::abs(hauteur), PixelsMax));
    if (taille > 0) police.setPointSize(std::min(taille, PointsMax)); // the size, set last, decides
    police.setBold(drapeaux[0] == u'*');
    police.setItalic(drapeaux[1] == u'*');
    police.setUnderline(drapeaux[2] == u'*');
    police.setStrikeOut(drapeaux[3] == u'*');
    return police;
}

// Every level reachable from the top, each opened by one destination: a destination that opens
// the top level, a level opened before or a negative level opens none; a destination whose level
// nothing reachable opens stands at the top level, so that no tile is out of reach and every level
// has its way back. Levels that exist already (existants) stay reachable.
void RendNiveauxAccessibles(const std::vector<TDestination*>& lues, const std::vector<int32_t>& existants) {
    std::set<int32_t> ouverts(existants.begin(), existants.end());
    for (TDestination* d : lues)
        if (d->SousGroupe != -1 && (d->SousGroupe <= 0 || !ouverts.insert(d->SousGroupe).second))
            d->SousGroupe = -1;

    std::multimap<int32_t, TDestination*> parNiveau;
    for (TDestination* d : lues)
        parNiveau.emplace(d->Groupe, d);
    std::set<int32_t> accessibles;
    std::vector<int32_t> aParcourir;
    auto atteint = [&](int32_t niveau) {
        if (accessibles.insert(niveau).second) aParcourir.push_back(niveau);
    };
    auto parcourt = [&] {
        while (!aParcourir.empty()) {
            const int32_t niveau = aParcourir.back();
            aParcourir.pop_back();
            const auto [debut, fin] = parNiveau.equal_range(niveau);
            for (auto it = debut; it != fin; ++it)
                if (it->second->SousGroupe != -1) atteint(it->second->SousGroupe);
        }
    };
    atteint(0);
    for (const int32_t niveau : existants)
        atteint(niveau);
    parcourt();
    for (TDestination* d : lues) {
        if (accessibles.count(d->Groupe)) continue;
        d->Groupe = 0;
        if (d->SousGroupe != -1) atteint(d->SousGroupe);
        parcourt();
    }
}

} // namespace

void Tconfiguration::RangeDansLesNiveaux(int premiere) {
    std::vector<TDestination*> lues;
    for (int i = premiere; i < Destinations.Count(); ++i)
        lues.push_back(Destinations.Element(i));
    if (!ListeGroupe) return;
    std::vector<int32_t> existants;
    for (const auto& groupe : ListeGroupe->Groupes)
        existants.push_back(groupe->Id);
    RendNiveauxAccessibles(lues, existants);
    // Levels first, then the tiles counted into them, whatever the order of the records.
    for (TDestination* d : lues)
        if (d->SousGroupe != -1) ListeGroupe->CreeNiveau(*d);
    for (TDestination* d : lues)
        ListeGroupe->Ajoute(*d);
}

bool Tconfiguration::Lecture(const QString& fichier) {
    QStringList texte;
    if (QFileInfo::exists(fichier)) TexteFichier::Lit(fichier, texte);
    const LignesConfiguration lignes(texte);
    const int premiere = Destinations.Count();
    const TLotMagasin lot(&ContexteDestinations);
    try {
        LitEntete(lignes, *this);

        Destinations.Reserve(Destinations.Count() + std::min(DestinationCount, 100000) + 1);
        IChargement* chargement = ContexteDestinations.Chargement;
        if (chargement) chargement->DebutLecture(DestinationCount);
        qsizetype ligne = lignes.IndexDe(QStringLiteral("DestinationCount")) + 1;
        std::set<QString> ouverts;
        for (int i = 0; i < Destinations.Count(); ++i)
            ouverts.insert(Destinations.Element(i)->Chemin);
        for (int32_t i = 0; i < DestinationCount; ++i, ligne += 10) {
            const TEnregistrementLu lu = LitEnregistrement(lignes, ligne);
            QString titre = lu.titre;
            if (titre.isEmpty()) titre = QStringLiteral(" ");
            // "Corbeille" names the trash alone, as the properties dialog makes sure.
            if (titre == TitreCorbeille) titre += u' ';
            const QString chemin = lu.chemin.isEmpty()
                                       ? Chemins::DossierParDefaut()
                                       : Chemins::Nettoye(lu.chemin, ContexteDestinations.DossierProgramme);
            if (chargement) chargement->PasLecture();
            // A folder opened already, or one of the program's own, is not opened (again).
            if (ouverts.count(chemin) || Chemins::EstReserve(chemin, ContexteDestinations.DossierProgramme))
                continue;

            auto destination = std::make_unique<TDestination>(&ContexteDestinations);
            if (chargement) chargement->DestinationEnCours(titre);
            destination->Charge(chemin, titre);
            destination->SousGroupe = lu.sousGroupe;
            destination->Groupe = lu.groupe;
            destination->FonteCharset = lu.charset;
            destination->FonteCouleur = lu.couleur;
            destination->Fonte = PoliceLue(lu.face, lu.hauteur, lu.taille, lu.drapeaux);
            destination->RechercheLocale = lu.drapeaux[4] != u'X';
            destination->RechercheGenerale = lu.drapeaux[5] != u'X';

            if (QFileInfo(destination->Chemin).isDir()) {
                ouverts.insert(chemin);
                Destinations.Ajoute(titre, std::move(destination));
            } else {
                // Its folder is gone: saved (never erased) and not kept.
                ContexteDestinations.ReponseMemorisee = 7;
                destination.reset();
                ContexteDestinations.ReponseMemorisee = 6;
            }
        }
    } catch (const ErreurLecture& erreur) {
        RangeDansLesNiveaux(premiere);
        // What could not be read is not lost when the file is written again.
        const QString copie = TexteFichier::GardeOriginal(fichier);
        if (copie.isEmpty()) FichiersAProteger.insert(fichier);
        if (Questions)
            Questions->SignaleErreur(
                QStringLiteral("Erreur de lecture du fichier de configuration « %1 » à la ligne %2 : "
                               "valeur manquante ou non entière. ")
                    .arg(fichier)
                    .arg(erreur.ligne) +
                (copie.isEmpty()
                     ? QStringLiteral("Son contenu n'a pas pu être copié : il ne sera pas "
                                      "remplacé.")
                     : QStringLiteral("Son contenu d'origine est gardé dans « %1 ».").arg(copie)));
        return false;
    }
    RangeDansLesNiveaux(premiere);
    QString sourceLue = lignes.Valeur(QStringLiteral("SourcePath"));
    if (sourceLue.isEmpty()) sourceLue = Chemins::DossierParDefaut();
    ChangeSource(sourceLue);
    source.Trie(TriNom);
    return true;
}

qsizetype Tconfiguration::PremiereLigneIllisible(const QString& fichier) {
    QStringList texte;
    if (QFileInfo::exists(fichier)) TexteFichier::Lit(fichier, texte);
    const LignesConfiguration lignes(texte);
    try {
        // What Lecture reads, in its order, without opening anything.
        TEnteteLue entete;
        LitEntete(lignes, entete);
        qsizetype ligne = lignes.IndexDe(QStringLiteral("DestinationCount")) + 1;
        for (int32_t i = 0; i < entete.DestinationCount; ++i, ligne += 10)
            LitEnregistrement(lignes, ligne);
    } catch (const ErreurLecture& erreur) {
        return erreur.ligne;
    }
    return 0;
}

bool Tconfiguration::Ecriture(const QString& fichier) const {
    // A file read in part whose original could not be kept aside is never written over.
    if (FichiersAProteger.count(fichier)) return false;
    QStringList texte;
    texte << QStringLiteral("Maximized=") + (Maximized ? QStringLiteral("M") : QStringLiteral("N"))
          << QStringLiteral("WindowWidth=%1").arg(WindowWidth)
          << QStringLiteral("WindowHeight=%1").arg(WindowHeight)
          << QStringLiteral("WindowLeft=%1").arg(WindowLeft) << QStringLiteral("WindowTop=%1").arg(WindowTop)
          << QStringLiteral("Divider1=%1").arg(Divider1) << QStringLiteral("Divider2=%1").arg(Divider2)
          << QStringLiteral("Divider3=%1").arg(Divider3)
          << QStringLiteral("SizeFilter=") + (SizeFilter ? QStringLiteral("1") : QStringLiteral("0"))
          << QStringLiteral("SizeFilterX=%1").arg(SizeFilterX)
          << QStringLiteral("SizeFilterY=%1").arg(SizeFilterY) << QStringLiteral("SourcePath=") + SourcePath
          << QStringLiteral("Sensibilite=%1").arg(Sensibilite.load())
          << QStringLiteral("Bullesaide=") + (BullesAide ? QStringLiteral("0") : QStringLiteral("1"))
          << QStringLiteral("DestinationCount=%1").arg(Destinations.Count() - 1);
    for (int i = 1; i < Destinations.Count(); ++i) {
        const TDestination& d = *Destinations.Element(i);
        const int points = d.Fonte.pointSize() > 0
                               ? d.Fonte.pointSize()
                               : static_cast<int>(std::lround(d.Fonte.pixelSize() * 72.0 / 96.0));
        QString drapeaux;
        for (const bool drapeau : {d.Fonte.bold(), d.Fonte.italic(), d.Fonte.underline(), d.Fonte.strikeOut(),
                                   d.RechercheLocale, d.RechercheGenerale})
            drapeaux += drapeau ? u'*' : u'X';
        texte << d.Titre << d.Chemin << QString::number(d.SousGroupe) << QString::number(d.Groupe)
              << QString::number(d.FonteCharset) << QString::number(d.FonteCouleur)
              << QString::number(HauteurDePoints(points)) << d.Fonte.family() << QString::number(points)
              << drapeaux;
    }
    return TexteFichier::Ecrit(fichier, texte);
}
