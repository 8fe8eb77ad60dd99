#include "configuration.h"

#include "core/app/attente.h"
#include "core/app/chemins.h"
#include "core/app/questions.h"
#include "core/app/textefichier.h"
#include "core/destinations/destination.h"
#include "core/destinations/listegroupe.h"
#include "core/duplicates/comparaisongenerale.h"
#include "core/source/positionsource.h"
#include "core/tools/arborescence.h"
#include "fenetreprincipale.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <map>
#include <optional>
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

QRect BornesPremierDemarrage(QRect disponible, QSize minimum) {
    const auto cote = [](int ecran, int plancher) {
        return std::max({ecran * 3 / 4, plancher + (ecran - plancher) / 2, plancher});
    };
    QRect bornes(0, 0, cote(disponible.width(), minimum.width()),
                 cote(disponible.height(), minimum.height()));
    bornes.moveCenter(disponible.center());
    return bornes;
}

void Tconfiguration::PlaceAuPremierDemarrage(QSize minimum) {
    if (!qGuiApp || !QGuiApplication::primaryScreen()) return;
    const QRect bornes =
        BornesPremierDemarrage(QGuiApplication::primaryScreen()->availableGeometry(), minimum);
    WindowLeft = bornes.left();
    WindowTop = bornes.top();
    WindowWidth = bornes.width();
    WindowHeight = bornes.height();
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

// What stops the reading (a value that should be an integer and is not, a negative count) or
// what it could not take whole: where and why, for the one message the user sees.
struct ErreurLecture {
    qsizetype ligne; // counted from 1
    QString raison = QStringLiteral("valeur manquante ou non entière");
};

// Titles and font names are cut to this many characters: no tile shows more, and a hostile file
// cannot make every copy of them costly.
constexpr qsizetype LongueurTexteMax = 1000;

// The header's keys, letter case folded.
const std::set<QString>& ClesEntete() {
    static const std::set<QString> cles = [] {
        std::set<QString> c;
        for (const char* cle : {"Maximized", "WindowWidth", "WindowHeight", "WindowLeft", "WindowTop",
                                "Divider1", "Divider2", "Divider3", "SizeFilter", "SizeFilterX",
                                "SizeFilterY", "SourcePath", "Sensibilite", "Bullesaide", "DestinationCount"})
            c.insert(QString::fromLatin1(cle).toCaseFolded());
        return c;
    }();
    return cles;
}

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
    LignesConfiguration(const QStringList& texte, const QList<QByteArray>& octets)
        : lignes(texte), lignesOctets(octets) {}

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
    // The bytes a line was read from.
    QByteArray Octets(qsizetype i) const { return i < lignesOctets.size() ? lignesOctets[i] : QByteArray(); }

    // The first line outside the records [debut, fin) that the reading does not take: one that
    // is neither empty nor the first line of one of the header's keys.
    std::optional<ErreurLecture> LigneNonComprise(qsizetype debut, qsizetype fin) const {
        std::set<QString> lues;
        for (qsizetype i = 0; i < lignes.size(); ++i) {
            if ((i >= debut && i < fin) || lignes[i].isEmpty()) continue;
            const qsizetype egal = lignes[i].indexOf(u'=');
            const QString cle = egal < 0 ? QString() : lignes[i].left(egal).toCaseFolded();
            const bool connue = egal >= 0 && ClesEntete().count(cle);
            if (connue && lues.insert(cle).second) continue;
            if (connue) return ErreurLecture{i + 1, QStringLiteral("clé déjà lue plus haut")};
            if (debut > 0 && i >= fin)
                return ErreurLecture{i + 1, QStringLiteral("ligne en trop après les destinations annoncées")};
            return ErreurLecture{i + 1, QStringLiteral("ligne non comprise")};
        }
        return std::nullopt;
    }

private:
    const QStringList& lignes;
    const QList<QByteArray>& lignesOctets;
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
    const int32_t nombre = lignes.Entier(QStringLiteral("DestinationCount"), 0);
    if (nombre < 0)
        throw ErreurLecture{lignes.IndexDe(QStringLiteral("DestinationCount")) + 1,
                            QStringLiteral("nombre de destinations négatif")};
    c.DestinationCount = nombre;
}

// One destination's ten lines as written, from line `ligne` (counted from 0).
struct TEnregistrementLu {
    QString titre, chemin, face, drapeaux;
    QByteArray cheminOctets;
    int32_t sousGroupe = -1, groupe = 0, charset = 1, couleur = 1, hauteur = -11, taille = 8;
    qsizetype ligneCoupee = 0; // the first line cut to its bound, counted from 1; 0 when none
};

QString Borne(const QString& texte, qsizetype ligne, TEnregistrementLu& e) {
    if (texte.size() <= LongueurTexteMax) return texte;
    if (!e.ligneCoupee) e.ligneCoupee = ligne + 1;
    return texte.left(LongueurTexteMax);
}

TEnregistrementLu LitEnregistrement(const LignesConfiguration& lignes, qsizetype ligne) {
    TEnregistrementLu e;
    e.titre = Borne(lignes.Ligne(ligne), ligne, e);
    e.chemin = lignes.Ligne(ligne + 1);
    e.cheminOctets = lignes.Octets(ligne + 1);
    e.sousGroupe = Entier(lignes.Ligne(ligne + 2), -1, ligne + 3);
    e.groupe = Entier(lignes.Ligne(ligne + 3), 0, ligne + 4);
    e.charset = Entier(lignes.Ligne(ligne + 4), 1, ligne + 5);
    e.couleur = Entier(lignes.Ligne(ligne + 5), 1, ligne + 6);
    e.hauteur = Entier(lignes.Ligne(ligne + 6), -11, ligne + 7);
    e.face = Borne(lignes.Ligne(ligne + 7), ligne + 7, e);
    if (e.face.isEmpty()) e.face = QStringLiteral("MS Sans Serif");
    e.taille = Entier(lignes.Ligne(ligne + 8), 8, ligne + 9);
    // A short flags line reads its missing characters as "X".
    e.drapeaux = lignes.Ligne(ligne + 9).leftJustified(6, u'X', true);
    return e;
}

// A record's folder as text, and as bytes when the line's bytes are not UTF-8 and lead to a folder
// as they stand (a name made in another encoding, which its text would not find).
QString CheminLu(const TEnregistrementLu& lu, const QString& base, QByteArray& octets) {
    octets.clear();
    if (lu.chemin.isEmpty()) return Chemins::DossierParDefaut();
#ifndef Q_OS_WIN
    if (!TexteFichier::EstUtf8(lu.cheminOctets)) {
        // Latin-1 carries every byte as one character and back, through the same cleaning.
        const QByteArray propres = Chemins::Nettoye(QString::fromLatin1(lu.cheminOctets),
                                                    QString::fromLatin1(QFile::encodeName(base)))
                                       .toLatin1();
        // Its text is then the one its files' names start with.
        if (IdentiteDossier(propres)) {
            octets = propres;
            return QFile::decodeName(propres);
        }
    }
#endif
    return Chemins::Nettoye(lu.chemin, base);
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

void Tconfiguration::SignaleIllisible(const QString& fichier, qsizetype ligne, const QString& raison) {
    // What could not be read is not lost when the file is written again.
    const QString copie = TexteFichier::GardeOriginal(fichier);
    if (copie.isEmpty()) FichiersAProteger.insert(fichier);
    if (!Questions) return;
    Questions->SignaleErreur(
        QStringLiteral("Erreur de lecture du fichier de configuration « %1 » à la ligne %2 : %3. ")
            .arg(fichier)
            .arg(ligne)
            .arg(raison) +
        (copie.isEmpty() ? QStringLiteral("Son contenu n'a pas pu être copié : il ne sera pas remplacé.")
                         : QStringLiteral("Son contenu d'origine est gardé dans « %1 ».").arg(copie)));
}

namespace {

// The bytes of a configuration file; false when one that exists cannot be read.
bool LitOctets(const QString& fichier, QByteArray& octets) {
    octets.clear();
    if (!QFileInfo::exists(fichier)) return true;
    QFile source(fichier);
    if (!source.open(QIODevice::ReadOnly)) return false;
    octets = source.readAll();
    return source.error() == QFileDevice::NoError;
}

bool EstUtf16(const QByteArray& octets) {
    return octets.startsWith("\xFF\xFE") || octets.startsWith("\xFE\xFF");
}

const QString RaisonUtf16 = QStringLiteral("fichier enregistré en UTF-16, que le programme ne lit pas");

} // namespace

bool Tconfiguration::Lecture(const QString& fichier) {
    QByteArray octets;
    if (!LitOctets(fichier, octets)) {
        // Neither read nor copied: never written over.
        FichiersAProteger.insert(fichier);
        if (Questions)
            Questions->SignaleErreur(
                QStringLiteral(
                    "Le fichier de configuration « %1 » ne peut pas être lu : il ne sera pas remplacé.")
                    .arg(fichier));
        return false;
    }
    const QStringList texte = TexteFichier::Lignes(octets);
    const QList<QByteArray> lignesOctets = TexteFichier::LignesOctets(octets);
    const LignesConfiguration lignes(texte, lignesOctets);
    // The first thing read but not understood; the reading goes on past it.
    std::optional<ErreurLecture> defaut;
    if (EstUtf16(octets)) defaut = ErreurLecture{1, RaisonUtf16};
    const int premiere = Destinations.Count();
    const TLotMagasin lot(&ContexteDestinations);
    try {
        LitEntete(lignes, *this);

        Destinations.Reserve(Destinations.Count() + std::min(DestinationCount, 100000) + 1);
        IChargement* chargement = ContexteDestinations.Chargement;
        if (chargement) chargement->DebutLecture(DestinationCount);
        const qsizetype debut = lignes.IndexDe(QStringLiteral("DestinationCount")) + 1;
        qsizetype ligne = debut;
        TDossiersOuverts ouverts(Destinations);
        for (int32_t i = 0; i < DestinationCount; ++i, ligne += 10) {
            const TEnregistrementLu lu = LitEnregistrement(lignes, ligne);
            if (lu.ligneCoupee && !defaut)
                defaut = ErreurLecture{
                    lu.ligneCoupee,
                    QStringLiteral("texte de plus de %1 caractères, coupé").arg(LongueurTexteMax)};
            QString titre = lu.titre;
            if (titre.isEmpty()) titre = QStringLiteral(" ");
            // "Corbeille" names the trash alone, as the properties dialog makes sure.
            if (titre == TitreCorbeille) titre += u' ';
            QByteArray octetsChemin;
            const QString chemin = CheminLu(lu, ContexteDestinations.DossierProgramme, octetsChemin);
            if (chargement) chargement->PasLecture();
            // A folder opened already (whatever the path that leads to it), or one of the
            // program's own, is not opened (again).
            if (ouverts.Contient(octetsChemin.isEmpty() ? QFile::encodeName(chemin) : octetsChemin, chemin) ||
                Chemins::EstReserve(chemin, ContexteDestinations.DossierProgramme))
                continue;

            auto destination = std::make_unique<TDestination>(&ContexteDestinations);
            if (chargement) chargement->DestinationEnCours(titre);
            destination->Charge(chemin, titre, octetsChemin);
            destination->SousGroupe = lu.sousGroupe;
            destination->Groupe = lu.groupe;
            destination->FonteCharset = lu.charset;
            destination->FonteCouleur = lu.couleur;
            destination->Fonte = PoliceLue(lu.face, lu.hauteur, lu.taille, lu.drapeaux);
            destination->RechercheLocale = lu.drapeaux[4] != u'X';
            destination->RechercheGenerale = lu.drapeaux[5] != u'X';
            RetrouveComparaison(*destination);

            if (IdentiteDossier(destination->OctetsDuDossier())) {
                ouverts.Ajoute(*destination);
                Destinations.Ajoute(titre, std::move(destination));
            } else {
                // Its folder is gone: saved (never erased) and not kept.
                ContexteDestinations.ReponseMemorisee = ReponseConfirmation::Non;
                destination.reset();
                ContexteDestinations.ReponseMemorisee = ReponseConfirmation::Oui;
            }
        }
        if (!defaut) defaut = lignes.LigneNonComprise(debut, ligne);
    } catch (const ErreurLecture& erreur) {
        RangeDansLesNiveaux(premiere);
        SignaleIllisible(fichier, erreur.ligne, EstUtf16(octets) ? RaisonUtf16 : erreur.raison);
        return false;
    }
    RangeDansLesNiveaux(premiere);
    if (defaut) SignaleIllisible(fichier, defaut->ligne, defaut->raison);
    QString sourceLue = lignes.Valeur(QStringLiteral("SourcePath"));
    if (sourceLue.isEmpty()) sourceLue = Chemins::DossierParDefaut();
    ChangeSource(sourceLue);
    source.Trie(TriNom);
    // Back at the file that was current when this configuration was last written, if it is still
    // there; otherwise at the first one, without a word.
    PositionSource::Restaure(source, fichier);
    return true;
}

qsizetype Tconfiguration::PremiereLigneIllisible(const QString& fichier, QString* raison) {
    QByteArray octets;
    if (!LitOctets(fichier, octets)) {
        if (raison) *raison = QStringLiteral("le fichier ne peut pas être lu");
        return 1;
    }
    const QStringList texte = TexteFichier::Lignes(octets);
    const QList<QByteArray> lignesOctets = TexteFichier::LignesOctets(octets);
    const LignesConfiguration lignes(texte, lignesOctets);
    try {
        // What Lecture reads, in its order, without opening anything.
        TEnteteLue entete;
        LitEntete(lignes, entete);
        qsizetype ligne = lignes.IndexDe(QStringLiteral("DestinationCount")) + 1;
        for (int32_t i = 0; i < entete.DestinationCount; ++i, ligne += 10)
            LitEnregistrement(lignes, ligne);
    } catch (const ErreurLecture& erreur) {
        if (raison) *raison = EstUtf16(octets) ? RaisonUtf16 : erreur.raison;
        return erreur.ligne;
    }
    return 0;
}

bool Tconfiguration::Ecriture(const QString& fichier) const {
    // A file read in part whose original could not be kept aside is never written over.
    if (FichiersAProteger.count(fichier)) return false;
    QStringList texte;
    QList<QByteArray> chemins;
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
        chemins << d.CheminOctets;
        texte << d.Titre << d.Chemin << QString::number(d.SousGroupe) << QString::number(d.Groupe)
              << QString::number(d.FonteCharset) << QString::number(d.FonteCouleur)
              << QString::number(HauteurDePoints(points)) << d.Fonte.family() << QString::number(points)
              << drapeaux;
    }
    // A folder whose name is not UTF-8 is written as the bytes it was found by.
    QList<QByteArray> lignes;
    lignes.reserve(texte.size());
    for (const QString& ligne : texte)
        lignes << ligne.toUtf8();
    for (qsizetype i = 0; i < chemins.size(); ++i)
        if (!chemins[i].isEmpty()) lignes[15 + 10 * i + 1] = chemins[i];
    if (!TexteFichier::EcritOctets(fichier, TexteFichier::Octets(lignes))) return false;
    // Where the source stands goes beside, so that the configuration's own lines stay as they are.
    if (!PositionSource::Garde(source, fichier) && Questions)
        Questions->Avertit(
            QStringLiteral("Impossible d'écrire le fichier « %1 » : la source ne reviendra pas "
                           "à l'image courante.")
                .arg(PositionSource::FichierPres(fichier)));
    return true;
}
