#include "tachesource.h"

TTacheSource::TTacheSource(Emplacement emplacement, QByteArray nom, QSize taille, uint64_t numeroRequete)
    : Slot(emplacement), NomFichier(std::move(nom)), ecran(taille), numero(numeroRequete) {
    qRegisterMetaType<TImageDecodee>();
    qRegisterMetaType<Emplacement>();
    ++vivantes;
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

TTacheSource::~TTacheSource() {
    --vivantes;
}

void TTacheSource::Demarre() {
    start(QThread::IdlePriority);
}

void TTacheSource::run() {
    emit Chargee(Slot, numero, DecodeImage(NomFichier, ecran));
}
