#pragma once

#include "miniature.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

// The signatures of every destination searched in GENERAL mode, which the duplicate search shares
// with the main window: rebuilt on the main thread when a search starts, read and added to by the
// search's thread. Every access holds its lock; a reader takes a copy of the pointers, so that a
// signature it compares with stays alive whatever happens to the list meanwhile.
class TListeGenerale {
public:
    void Remplace(std::vector<std::shared_ptr<Tminiature>> nouvelles) {
        const std::lock_guard<std::mutex> garde(verrou);
        signatures = std::move(nouvelles);
    }
    void Ajoute(std::shared_ptr<Tminiature> signature) {
        const std::lock_guard<std::mutex> garde(verrou);
        signatures.push_back(std::move(signature));
    }
    std::vector<std::shared_ptr<Tminiature>> Copie() const {
        const std::lock_guard<std::mutex> garde(verrou);
        return signatures;
    }
    std::size_t Taille() const {
        const std::lock_guard<std::mutex> garde(verrou);
        return signatures.size();
    }

private:
    mutable std::mutex verrou;
    std::vector<std::shared_ptr<Tminiature>> signatures;
};
