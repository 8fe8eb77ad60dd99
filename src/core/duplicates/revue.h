#pragma once

#include "core/destinations/annulation.h"
#include "core/destinations/fichiers.h"
#include "core/destinations/listedestinations.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>

// A duplicate line read back: "D*A*B*", the dissimilarity, image 1 and image 2.
struct TPaire {
    int32_t Dissemblance = 0;
    QString Image1;
    QString Image2;
    QString Ligne; // as the destination holds it
};
TPaire LitPaire(const QString& ligne);

// The similarity shown for a dissimilarity, on the scale of the sensitivity (300000 the largest):
// 100 - D / 300000 x 100, never below 0, with two decimals in six characters and " %"
// (" 50.00 %", "100.00 %", "  0.00 %").
QString PourcentageSimilitude(int32_t dissemblance);

// Moves an image into the trash folder under its own name; a file of the trash that already has
// that name first takes the name followed by the smallest free number (photo.jpg1, photo.jpg2...).
// The undo steps that name either file follow it.
Fichiers::Resultat MetALaCorbeille(const QString& fichier, const QString& corbeille,
                                   TJournalAnnulation* journal = nullptr);

// Sends an image of the review to the trash as MetALaCorbeille does, and records the move as a
// step of the undo record (of the command open, if any): undoing it puts the image back at its
// place and the open destination whose folder holds it learns it again.
Fichiers::Resultat EffaceDeLaRevue(const QString& fichier, const QString& corbeille,
                                   const TListeDestinations* destinations, TJournalAnnulation* journal);

// Every signature of these files and every duplicate line that names one of them (as image 1 or
// image 2), in every destination but the trash: one pass over each destination's lists, whatever
// the number of files.
void OublieImages(const TListeDestinations& destinations, const QSet<QString>& fichiers);
