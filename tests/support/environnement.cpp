#include "environnement.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdlib>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

EnvironnementTest::EnvironnementTest() : ancienHome(qgetenv("HOME")) {
    EXPECT_TRUE(temporaire.isValid());
    Programme = Dossier(QStringLiteral("programme"));
    Source = Dossier(QStringLiteral("maison"));
    const QString ressources = QStringLiteral(MIRASOLVE_RESOURCES_DIR);
    QFile::copy(ressources + QStringLiteral("/BandeMenu.bmp"), Programme + QStringLiteral("/BandeMenu.bmp"));
    QFile::copy(ressources + QStringLiteral("/BandeMenu-2x.bmp"),
                Programme + QStringLiteral("/BandeMenu-2x.bmp"));
    QFile::copy(ressources + QStringLiteral("/aide_mirasolve.html"),
                Programme + QStringLiteral("/AIDE MIRASOLVE.HLP"));
    qputenv("HOME", QFile::encodeName(Source));
}

EnvironnementTest::~EnvironnementTest() {
    qputenv("HOME", ancienHome);
}

QString EnvironnementTest::Dossier(const QString& relatif) const {
    const QString chemin = QDir(temporaire.path()).filePath(relatif);
    EXPECT_TRUE(QDir().mkpath(chemin)) << chemin.toStdString();
    return chemin;
}

void EcritImage(const QString& chemin, int largeur, int hauteur) {
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter(&image).fillRect(0, 0, largeur / 2, hauteur / 2, Qt::yellow);
    const QString extension = chemin.section(u'.', -1).toLower();
    const char* format = extension == QStringLiteral("gif")   ? "GIF"
                         : extension == QStringLiteral("bmp") ? "BMP"
                                                              : "JPEG";
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly)) << chemin.toStdString();
    if (qstrcmp(format, "GIF") == 0) {
        // Qt writes no GIF: a minimal valid 1 x 1 GIF89a will do for listing.
        static const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 1,    0,    1, 0, 0x80, 0,
                                            0,    0,    0,    0,    0xff, 0xff, 0xff, 0x2c, 0, 0, 0,    0,
                                            1,    0,    1,    0,    0,    2,    2,    0x44, 1, 0, 0x3b};
        fichier.write(reinterpret_cast<const char*>(gif), sizeof gif);
    } else {
        ASSERT_TRUE(image.save(&fichier, format)) << chemin.toStdString();
    }
}

void EcritFichier(const QByteArray& chemin, const QByteArray& contenu) {
    const int descripteur = ::open(chemin.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(descripteur, 0) << chemin.constData();
    ASSERT_EQ(::write(descripteur, contenu.constData(), static_cast<size_t>(contenu.size())), contenu.size());
    ::close(descripteur);
    GardeCommeGraine(chemin, contenu);
}

void GardeCommeGraine(const QByteArray& chemin, const QByteArray& contenu) {
    const QByteArray graines = qgetenv("MIRASOLVE_GRAINES");
    if (!graines.isEmpty() && !chemin.startsWith(graines))
        EcritFichier(graines + '/' + chemin.mid(chemin.lastIndexOf('/') + 1), contenu);
}

void FixeDateModification(const QByteArray& chemin, std::time_t instant) {
    utimbuf temps{instant, instant};
    ASSERT_EQ(::utime(chemin.constData(), &temps), 0) << chemin.constData();
}

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

bool AttendQue(const std::function<bool()>& condition, int delaiMs) {
    QDeadlineTimer echeance(delaiMs);
    while (!condition()) {
        if (echeance.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

double EcartMoyen(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) return 255;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    qint64 somme = 0;
    for (int j = 0; j < x.height(); ++j)
        for (int i = 0; i < x.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            somme +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return static_cast<double>(somme) / (3.0 * x.width() * x.height());
}
