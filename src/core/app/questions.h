#pragma once

#include <QString>

#include <cstdint>

// The answer of the six-button confirmation, by its window's modal result. The destinations
// remember it (TContexteDestinations::ReponseMemorisee), where Aucune says nothing is remembered.
enum class ReponseConfirmation : int16_t {
    Aucune = 0,
    Annuler = 2,
    Oui = 6,
    Non = 7,
    ToutAnnuler = 8,
    NonPourTous = 9,
    OuiPourTous = 10,
};

// "&Oui", "&Non" (also when the box is closed) or "&Tout", by the button's rank.
enum class ReponseOuiNonTout { Oui = 0, Non = 1, Tout = 2 };

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
    // "&Oui", "&Non" (also when the box is closed) or "&Tout".
    virtual ReponseOuiNonTout DemandeOuiNonTout(const QString& question) = 0;
    // The six-button confirmation; never Aucune.
    virtual ReponseConfirmation Confirme(const QString& question) = 0;
    // While the destinations below a closed one are asked about, the confirmation offers no way
    // to cancel half-way: false turns its cancel buttons off, true back on.
    virtual void AutoriseAnnulation(bool permise) = 0;
};
