#include "photo.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <vector>

#include <gif_lib.h>

QImage PhotoSynthetique(int graine, int largeur, int hauteur, int formes) {
    QRandomGenerator hasard(static_cast<quint32>(graine));
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    QPainter peintre(&image);
    QLinearGradient degrade(0, 0, largeur, hauteur);
    degrade.setColorAt(0, QColor::fromHsv(hasard.bounded(360), 150, 220));
    degrade.setColorAt(1, QColor::fromHsv(hasard.bounded(360), 200, 40));
    peintre.fillRect(image.rect(), degrade);
    peintre.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < formes; ++k) {
        peintre.setBrush(QColor::fromHsv(hasard.bounded(360), hasard.bounded(256), hasard.bounded(256)));
        peintre.drawEllipse(hasard.bounded(largeur), hasard.bounded(hauteur),
                            10 + hasard.bounded(std::max(1, largeur / 3)),
                            10 + hasard.bounded(std::max(1, hauteur / 3)));
    }
    peintre.end();
    for (int y = 0; y < hauteur; ++y) {
        auto* ligne = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < largeur; ++x) {
            const int grain = static_cast<int>(hasard.bounded(30)) - 15;
            const QRgb p = ligne[x];
            ligne[x] = qRgb(std::clamp(qRed(p) + grain, 0, 255), std::clamp(qGreen(p) + grain, 0, 255),
                            std::clamp(qBlue(p) + grain, 0, 255));
        }
    }
    return image;
}

void EcritGifPhoto(const QString& chemin, const QImage& image) {
    const QImage indexee = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    int erreur = 0;
    GifFileType* gif = EGifOpenFileName(QFile::encodeName(chemin).constData(), false, &erreur);
    std::vector<GifColorType> couleurs(256);
    for (int i = 0; i < indexee.colorCount() && i < 256; ++i) {
        const QRgb c = indexee.color(i);
        couleurs[static_cast<size_t>(i)] = {static_cast<GifByteType>(qRed(c)),
                                            static_cast<GifByteType>(qGreen(c)),
                                            static_cast<GifByteType>(qBlue(c))};
    }
    ColorMapObject* palette = GifMakeMapObject(256, couleurs.data());
    EGifPutScreenDesc(gif, indexee.width(), indexee.height(), 8, 0, palette);
    EGifPutImageDesc(gif, 0, 0, indexee.width(), indexee.height(), false, nullptr);
    for (int y = 0; y < indexee.height(); ++y)
        EGifPutLine(gif, const_cast<GifPixelType*>(indexee.constScanLine(y)), indexee.width());
    EGifCloseFile(gif, &erreur);
    GifFreeMapObject(palette);
}

QByteArray Jpeg(const QImage& image, bool progressif) {
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    QImageWriter ecrivain(&tampon, "jpeg");
    ecrivain.setQuality(90);
    ecrivain.setProgressiveScanWrite(progressif);
    return ecrivain.write(image) ? octets : QByteArray();
}
