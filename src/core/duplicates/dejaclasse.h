#pragma once

#include "core/source/decodage.h"
#include "miniature.h"

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QThread>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class TDestination;

// The signature of the stored picture worked out from a picture decoded for the display: turned
// back to the stored orientation, its grid from the reduced picture and its natural size, as the
// search computes it from its own decode. None when the picture is untreatable.
std::shared_ptr<Tminiature> SignatureDAffichage(const TImageDecodee& image, const QString& fichier);

// A destination holding a near copy of an image: its nearest copy there.
struct TCopieConnue {
    std::shared_ptr<TDestination> Destination;
    QString Fichier;
    int32_t Dissemblance = 0;
};

// The destinations that hold a near copy of the signature (dissimilarity below sensibilite),
// each with its nearest copy, the nearest first; each destination read under its lock. A copy
// that is the signature's own file does not count.
std::vector<TCopieConnue> CopiesConnues(const Tminiature& signature,
                                        const std::vector<std::shared_ptr<TDestination>>& destinations,
                                        int32_t sensibilite);

// The caption of the current image: "Image courante", or where its nearest copy is, with the
// number of other destinations holding one.
QString TitreImageCourante(const std::vector<TCopieConnue>& copies);

// Looks for the near copies of the image shown on a thread of its own, one request at a time: the
// signature worked out from the picture decoded for the display, then the destinations compared
// with it. A request replaces one not yet begun, so that a photo passed quickly costs nothing, and
// each answer carries its request's number, so that the window drops the answer for an image it
// no longer shows.
class TChercheurCopies : public QObject {
    Q_OBJECT
public:
    explicit TChercheurCopies(QObject* parent = nullptr);
    ~TChercheurCopies() override;

    void Demande(uint64_t numero, TImageDecodee image, QString fichier,
                 std::vector<std::shared_ptr<TDestination>> destinations, int32_t sensibilite);

signals:
    void Trouvees(quint64 numero, std::vector<TCopieConnue> copies);

private:
    struct Requete {
        uint64_t numero = 0;
        TImageDecodee image;
        QString fichier;
        std::vector<std::shared_ptr<TDestination>> destinations;
        int32_t sensibilite = 0;
    };
    void Travaille();

    std::mutex verrou;
    std::condition_variable change;
    std::optional<Requete> enAttente;
    bool fin = false;
    std::unique_ptr<QThread> fil;
};

Q_DECLARE_METATYPE(std::vector<TCopieConnue>)
