#pragma once

#include "decodage.h"
#include "tachesource.h" // where TImageDecodee is declared to the meta-object system

#include <QByteArray>
#include <QObject>
#include <QSize>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

// Decodes the one picture a window shows in a place, on a thread of its own: a request replaces
// the one not yet begun, and a decode under way for an earlier request gives up, so that pictures
// passed quickly cost nothing and never pile up. Each picture read (unreadable ones too) is handed
// over through Lue with its request's number; one given up is not.
class TLecteurImage : public QObject {
    Q_OBJECT
public:
    explicit TLecteurImage(QObject* parent = nullptr);
    // The decode under way gives up and the thread is waited for.
    ~TLecteurImage() override;

    // The file decoded at the scale that suits a box of that size.
    void Demande(quint64 numero, const QByteArray& chemin, QSize boite);
    // Requests being decoded or waiting: never more than one of each.
    int EnCours() const;

signals:
    void Lue(quint64 numero, TImageDecodee image);

private:
    struct Requete {
        quint64 numero = 0;
        QByteArray chemin;
        QSize boite;
    };
    void Travaille();

    mutable std::mutex verrou;
    std::condition_variable change;
    std::optional<Requete> enAttente;
    bool enCours = false;
    bool fin = false;
    std::atomic<bool> abandon{false};
    std::unique_ptr<QThread> fil;
};
