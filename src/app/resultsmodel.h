#pragma once
// The results list's rows over the element list. The view asks only for the rows it shows,
// so refilling after every repaint costs no more than finding which elements have rows.

#include "results/results.h"

#include <QAbstractTableModel>

#include <array>

namespace pm {

class Translator;

class ResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ResultsModel(const ElementList& list, Translator& tr, QObject* parent = nullptr);

    // ListObjekte: takes the rows and texts anew from the elements.
    void refill();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    void setHeaders(const QStringList& headers);

private:
    const ElementList& list_;
    Translator& tr_;
    ResultRows rows_;
    std::array<std::u16string, 23> typTexts_; // by message number
    QStringList headers_;
};

} // namespace pm
