// Batch renaming figures: 10,000 signed files of one destination renamed, with 10,000 duplicate
// lines naming them spread over 50 destinations, on one file system. Prints figures; asserts
// nothing.
//
//   bench_renommage

#include "core/destinations/destination.h"
#include "core/duplicates/magasin.h"
#include "core/tools/renommage.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char* argv[]) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QCoreApplication application(argc, argv);
    QTemporaryDir racine;
    TContexteDestinations contexte;
    contexte.DossierProgramme = racine.path();
    QDir().mkpath(contexte.DossierSignatures());
    const QString dossier = racine.path() + QStringLiteral("/Vacances 2026");
    QDir().mkpath(dossier);

    TListeDestinations destinations;
    destinations.Ajoute(TitreCorbeille, std::make_shared<TDestination>());
    auto d = std::make_shared<TDestination>(&contexte);
    d->Chemin = dossier;
    d->Titre = QStringLiteral("Vacances 2026");
    d->ListeSignatures = std::make_unique<TListeDoublons>(dossier);
    constexpr int Nombre = 10000;
    QStringList fichiers;
    for (int i = 0; i < Nombre; ++i) {
        fichiers << dossier + QStringLiteral("/IMG_%1.jpg").arg(i);
        ::close(::open(QFile::encodeName(fichiers.back()).constData(), O_WRONLY | O_CREAT, 0644));
        auto s = std::make_shared<Tminiature>();
        s->Fichier = fichiers.back();
        d->ListeSignatures->Miniatures.push_back(std::move(s));
    }
    destinations.Ajoute(d->Titre, d);
    for (int k = 0; k < 50; ++k) {
        auto autre = std::make_shared<TDestination>(&contexte);
        autre->Chemin = racine.path() + QStringLiteral("/autre%1").arg(k);
        autre->ListeSignatures = std::make_unique<TListeDoublons>(autre->Chemin);
        for (int i = 0; i < Nombre / 50; ++i)
            autre->Doublons << LigneDoublon(i, autre->Chemin + QStringLiteral("/x%1.jpg").arg(i),
                                            fichiers[(k * (Nombre / 50) + i) % Nombre]);
        autre->Doublons.sort(Qt::CaseInsensitive);
        destinations.Ajoute(autre->Chemin, autre);
    }
    QElapsedTimer chrono;
    chrono.start();
    const TResultatRenommage resultat =
        RenommeFichiers(*d, QStringLiteral("Vacances 2026 "), destinations, nullptr,
                        racine.path() + QStringLiteral("/Renommage.txt"));
    std::printf(
        "renaming %lld files, 10,000 duplicate lines over 50 destinations, stores written: %.0f ms (%lld "
        "kept their names)\n",
        static_cast<long long>(resultat.Fichiers), static_cast<double>(chrono.nsecsElapsed()) / 1e6,
        static_cast<long long>(resultat.Echecs.size()));
    return 0;
}
