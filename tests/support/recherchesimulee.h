#pragma once

#include "core/destinations/destination.h"
#include "core/duplicates/recherche.h"

#include <atomic>
#include <memory>

// Stands for a duplicate search task: counts one in Occupe while it runs, and ends once it has
// been asked to stop and the test lets it (Libre).
class TRechercheSimulee : public TTacheMini {
public:
    explicit TRechercheSimulee(std::atomic<int32_t>& compteur)
        : TTacheMini(std::make_shared<TDestination>(), nullptr, Sensibilite(), compteur, 0) {}
    std::atomic<bool> Libre{true};

protected:
    void Travaille() override {
        while (!isInterruptionRequested() || !Libre.load())
            QThread::msleep(2);
    }

private:
    static const std::atomic<int32_t>& Sensibilite() {
        static const std::atomic<int32_t> sensibilite{0};
        return sensibilite;
    }
};
