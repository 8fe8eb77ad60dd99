#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

// A list of strings, each carrying an object that the list owns (alone, or with others when the
// holder is a shared pointer): the shape of the program's file and destination lists.
template <typename Chaine, typename Objet, typename Pointeur = std::unique_ptr<Objet>> class TListeObjets {
public:
    int Count() const { return static_cast<int>(entrees.size()); }
    bool Vide() const { return entrees.empty(); }

    const Chaine& Texte(int i) const { return entrees.at(static_cast<size_t>(i)).texte; }
    Objet* Element(int i) const { return entrees.at(static_cast<size_t>(i)).objet.get(); }
    // The holder of entry i, for those who keep the object beyond the list.
    const Pointeur& Partage(int i) const { return entrees.at(static_cast<size_t>(i)).objet; }

    void Ajoute(Chaine texte, Pointeur objet) { entrees.push_back({std::move(texte), std::move(objet)}); }
    void Insere(int i, Chaine texte, Pointeur objet) {
        entrees.insert(entrees.begin() + i, Entree{std::move(texte), std::move(objet)});
    }
    // Takes entry i out of the list and hands its object to the caller.
    Pointeur Retire(int i) {
        auto objet = std::move(entrees.at(static_cast<size_t>(i)).objet);
        entrees.erase(entrees.begin() + i);
        return objet;
    }
    // Frees the objects from the last entry to the first, then empties the list.
    void Efface() {
        while (!entrees.empty())
            entrees.pop_back();
    }
    // Frees the objects of the entries from premier to the last, in that order, then removes them.
    void DetruitDepuis(int premier) {
        for (size_t i = static_cast<size_t>(premier); i < entrees.size(); ++i)
            entrees[i].objet.reset();
        entrees.resize(static_cast<size_t>(std::min(premier, Count())));
    }
    void Reserve(int n) { entrees.reserve(static_cast<size_t>(n)); }

    // Reorders the list so that new entry k is old entry ordre[k].
    void Permute(const std::vector<int>& ordre) {
        std::vector<Entree> nouvelles;
        nouvelles.reserve(entrees.size());
        for (int k : ordre)
            nouvelles.push_back(std::move(entrees.at(static_cast<size_t>(k))));
        entrees = std::move(nouvelles);
    }

private:
    struct Entree {
        Chaine texte;
        Pointeur objet;
    };

    std::vector<Entree> entrees;
};
