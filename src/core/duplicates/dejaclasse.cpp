#include "dejaclasse.h"

#include "core/destinations/destination.h"
#include "core/source/orientation.h"

#include <algorithm>

std::shared_ptr<Tminiature> SignatureDAffichage(const TImageDecodee& image, const QString& fichier) {
    if (!image.Lisible || image.Image.isNull()) return nullptr;
    const int retour = OrientationInverse(image.Orientation);
    const QImage stockee = retour == 1 ? image.Image : Oriente(image.Image, retour);
    const QSize naturelle = TailleOrientee(image.Naturelle, retour);
    if (naturelle.width() < 10 || naturelle.height() < 10 || stockee.width() < 10 || stockee.height() < 10)
        return nullptr;
    auto signature = std::make_shared<Tminiature>();
    signature->Fichier = fichier;
    signature->CalculeGrille(stockee, naturelle);
    signature->Proportion = static_cast<double>(naturelle.width()) / naturelle.height();
    return signature;
}

std::vector<TCopieConnue> CopiesConnues(const Tminiature& signature,
                                        const std::vector<std::shared_ptr<TDestination>>& destinations,
                                        int32_t sensibilite) {
    std::vector<TCopieConnue> copies;
    for (const std::shared_ptr<TDestination>& d : destinations) {
        TCopieConnue copie{d, QString(), 0};
        if (d && d->CopieLaPlusProche(signature, sensibilite, copie.Fichier, copie.Dissemblance))
            copies.push_back(std::move(copie));
    }
    std::stable_sort(copies.begin(), copies.end(), [](const TCopieConnue& a, const TCopieConnue& b) {
        return a.Dissemblance < b.Dissemblance;
    });
    return copies;
}

QString TitreImageCourante(const std::vector<TCopieConnue>& copies) {
    if (copies.empty()) return QStringLiteral("Image courante");
    QString titre =
        QStringLiteral("Image courante — déjà dans « %1 »").arg(copies.front().Destination->Titre);
    if (copies.size() > 1) titre += QStringLiteral(" (+%1)").arg(copies.size() - 1);
    return titre;
}

TChercheurCopies::TChercheurCopies(QObject* parent) : QObject(parent) {
    qRegisterMetaType<std::vector<TCopieConnue>>();
    // At idle priority: the window's own work always comes first, and a caption a few
    // milliseconds later costs the user nothing.
    fil.reset(QThread::create([this] { Travaille(); }));
    fil->start(QThread::IdlePriority);
}

TChercheurCopies::~TChercheurCopies() {
    {
        const std::lock_guard<std::mutex> garde(verrou);
        fin = true;
        enAttente.reset();
    }
    change.notify_all();
    fil->wait();
}

void TChercheurCopies::Demande(uint64_t numero, TImageDecodee image, QString fichier,
                               std::vector<std::shared_ptr<TDestination>> destinations, int32_t sensibilite) {
    {
        const std::lock_guard<std::mutex> garde(verrou);
        enAttente =
            Requete{numero, std::move(image), std::move(fichier), std::move(destinations), sensibilite};
    }
    change.notify_all();
}

void TChercheurCopies::Travaille() {
    for (;;) {
        Requete requete;
        {
            std::unique_lock<std::mutex> garde(verrou);
            change.wait(garde, [this] { return fin || enAttente.has_value(); });
            if (fin) return;
            requete = std::move(*enAttente);
            enAttente.reset();
        }
        std::vector<TCopieConnue> copies;
        if (const auto signature = SignatureDAffichage(requete.image, requete.fichier))
            copies = CopiesConnues(*signature, requete.destinations, requete.sensibilite);
        emit Trouvees(requete.numero, std::move(copies));
    }
}
