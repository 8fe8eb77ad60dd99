#pragma once

#include "core/duplicates/miniature.h"
#include "core/source/decodage.h"
#include "environnement.h"

#include <QFile>

#include <gtest/gtest.h>

// The decoding tests' own folder, where they write the files they decode.
class DossierDecodageTest : public testing::Test {
protected:
    QByteArray Ecrit(const QString& nom, const QByteArray& contenu) {
        const QByteArray chemin = QFile::encodeName(env.Racine() + u'/' + nom);
        EcritFichier(chemin, contenu);
        return chemin;
    }
    EnvironnementTest env;
};

// The signature of a picture decoded whole, as the display decodes it: the reference that reduced
// decodes are measured against.
inline Tminiature SignaturePleine(const QByteArray& chemin) {
    const TImageDecodee image = DecodeImage(chemin, QSize(1 << 20, 1 << 20));
    Tminiature m;
    m.CalculeGrille(image.Image);
    m.Proportion = static_cast<double>(image.Naturelle.width()) / image.Naturelle.height();
    return m;
}
