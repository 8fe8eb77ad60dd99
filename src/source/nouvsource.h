#pragma once

#include <QDialog>

#include <functional>

// The source chooser "Sélection de la source". Creating it runs the program's data start-up,
// which the caller hands in.
class TFormNouvSource : public QDialog {
    Q_OBJECT
public:
    explicit TFormNouvSource(const std::function<void()>& demarrageDonnees, QWidget* parent = nullptr);
};
