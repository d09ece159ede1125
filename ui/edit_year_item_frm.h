// The dialog in which one financial year and its sum are entered: add mode
// makes a new year item, update mode changes the given item in place.
#pragma once

#include "tax_rates_ntrf.h"

#include <QDialog>

#include <memory>

namespace Ui {
class Tfrm_edit_year_item;
}

class Tfrm_edit_year_item : public QDialog {
    Q_OBJECT
public:
    // Without an item: add mode. `decimal_separator` is the regional one;
    // "," and "." are both accepted in the sum.
    Tfrm_edit_year_item(QWidget* owner, const QString& decimal_separator,
                        std::shared_ptr<year_item_interface> item = nullptr);
    ~Tfrm_edit_year_item() override;

    // After OK: the new item (add mode) or the given one with the entered values.
    std::shared_ptr<year_item_interface> GetItem() const { return FItem; }

    void done(int result) override;

private:
    std::unique_ptr<Ui::Tfrm_edit_year_item> ui;
    std::shared_ptr<year_item_interface> FItem;
    QString FDecimalSeparator;

    void ShowModeCaption();
    void ShowItem();
    void StoreItem();
};
