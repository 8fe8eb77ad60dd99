#include "lecteurimage.h"

TLecteurImage::TLecteurImage(QObject* parent) : QObject(parent) {
    qRegisterMetaType<TImageDecodee>();
    fil.reset(QThread::create([this] { Travaille(); }));
    fil->start();
}

TLecteurImage::~TLecteurImage() {
    {
        const std::lock_guard<std::mutex> garde(verrou);
        fin = true;
        enAttente.reset();
        abandon = true;
    }
    change.notify_all();
    fil->wait();
}

void TLecteurImage::Demande(quint64 numero, const QByteArray& chemin, QSize boite) {
    {
        const std::lock_guard<std::mutex> garde(verrou);
        enAttente = Requete{numero, chemin, boite.expandedTo(QSize(1, 1))};
        // The picture being decoded is no longer wanted.
        if (enCours) abandon = true;
    }
    change.notify_all();
}

int TLecteurImage::EnCours() const {
    const std::lock_guard<std::mutex> garde(verrou);
    return (enCours ? 1 : 0) + (enAttente ? 1 : 0);
}

void TLecteurImage::Travaille() {
    for (;;) {
        Requete requete;
        {
            std::unique_lock<std::mutex> garde(verrou);
            enCours = false;
            change.wait(garde, [this] { return fin || enAttente.has_value(); });
            if (fin) return;
            requete = std::move(*enAttente);
            enAttente.reset();
            enCours = true;
            abandon = false;
        }
        const TImageDecodee image = DecodeImage(requete.chemin, requete.boite, &abandon);
        if (!image.Abandonne) emit Lue(requete.numero, image);
    }
}
