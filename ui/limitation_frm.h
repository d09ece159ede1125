// The dialog in which the four limitation periods are seen and changed:
// large and especially large amount, for an individual and an organisation.
// It opens with the stored periods; "Сохранить" checks, stores and keeps the
// stored set for the main window.
#pragma once

#include "tax_rates_ntrf.h"

#include <QDialog>

#include <memory>

namespace Ui {
class Tfrm_limitation;
}

class Tfrm_limitation : public QDialog {
    Q_OBJECT
public:
    // Fills the edits from the settings store; a store that cannot be read
    // is reported and leaves the edits empty, the dialog usable all the same.
    explicit Tfrm_limitation(QWidget* owner);
    ~Tfrm_limitation() override;

    // After OK: the periods that were just stored.
    std::shared_ptr<limitation_faces_interface> GetLimitationFaces() const { return FLimitationFaces; }

    // An OK close goes through FormCloseQuery and may be refused.
    void done(int result) override;

private:
    std::unique_ptr<Ui::Tfrm_limitation> ui;
    std::shared_ptr<limitation_faces_interface> FLimitationFaces;

    void FormCreate();
    // Whether the dialog may close with OK; stores the periods when it may.
    bool FormCloseQuery();
    void FillEdits();
    bool HasEmptyField() const;
    bool BuildLimitationFaces();
    void StoreLimitations() const;
};
