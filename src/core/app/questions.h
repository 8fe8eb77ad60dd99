#pragma once

#include <QString>

#include <cstdint>

// Everything the program asks or tells the user, in French. The windows implement it once with
// message boxes and the confirmation dialog; tests replace it once with scripted answers. Called
// on the main thread only.
class IQuestions {
public:
    virtual ~IQuestions() = default;
    // One warning: something could not be done, and why.
    virtual void Avertit(const QString& message) = 0;
    // A file that could not be read, as an error.
    virtual void SignaleErreur(const QString& message) = 0;
    // "OK" (true) or "Annuler".
    virtual bool ConfirmeOkAnnuler(const QString& question) = 0;
    // "&Oui" (true) or "&Non".
    virtual bool DemandeOuiNon(const QString& question) = 0;
    // "&Oui" 0, "&Non" 1 (also when the box is closed), "&Tout" 2.
    virtual int DemandeOuiNonTout(const QString& question) = 0;
    // The six-button confirmation: 2 cancel, 6 yes, 7 no, 8 cancel all, 9 no to all, 10 yes to all.
    virtual int16_t Confirme(const QString& question) = 0;
    // While the destinations below a closed one are asked about, the confirmation offers no way
    // to cancel half-way: false turns its cancel buttons off, true back on.
    virtual void AutoriseAnnulation(bool permise) = 0;
};
