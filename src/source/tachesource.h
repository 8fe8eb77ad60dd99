#pragma once

#include "decodage.h"

#include <QByteArray>
#include <QMetaType>
#include <QThread>

#include <atomic>
#include <cstdint>

// The preview slots that a loader serves.
enum class Emplacement { Suivant, Precedent };

// Decodes one file at idle priority and hands the picture to the main thread through Chargee;
// frees itself when it has ended. It takes copies of everything it works on, so that nothing it
// touches can go away under it; once the receiver is gone its result goes nowhere.
class TTacheSource : public QThread {
    Q_OBJECT
public:
    TTacheSource(Emplacement emplacement, QByteArray nomFichier, QSize ecran, uint64_t numero);
    ~TTacheSource() override;

    // Starts the loader; it deletes itself once it has run.
    void Demarre();

    const Emplacement Slot;
    const QByteArray NomFichier;

    // Loaders that exist, running or waiting to be freed.
    static int Vivantes() { return vivantes.load(); }

signals:
    void Chargee(Emplacement emplacement, quint64 numero, TImageDecodee resultat);

protected:
    void run() override;

private:
    const QSize ecran;
    const uint64_t numero;
    static inline std::atomic<int> vivantes{0};
};

// The loader of the next-image preview.
class TTacheSourceP final : public TTacheSource {
public:
    TTacheSourceP(QByteArray nom, QSize taille, uint64_t requete)
        : TTacheSource(Emplacement::Suivant, std::move(nom), taille, requete) {}
};

// The loader of the previous-image preview.
class TTacheSourceS final : public TTacheSource {
public:
    TTacheSourceS(QByteArray nom, QSize taille, uint64_t requete)
        : TTacheSource(Emplacement::Precedent, std::move(nom), taille, requete) {}
};

Q_DECLARE_METATYPE(TImageDecodee)
Q_DECLARE_METATYPE(Emplacement)
