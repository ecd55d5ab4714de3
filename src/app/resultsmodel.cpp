#include "app/resultsmodel.h"

#include "app/qtext.h"
#include "translate/translations.h"

namespace pm {

ResultsModel::ResultsModel(const ElementList& list, Translator& tr, QObject* parent)
    : QAbstractTableModel(parent), list_(list), tr_(tr),
      headers_({QStringLiteral("Typ"), QStringLiteral("Bezeichnung"),
                QStringLiteral("Länge/Umfang"), QStringLiteral("Flächeninhalt"),
                QStringLiteral("Winkel")}) {}

void ResultsModel::refill() {
    for (int n = 18; n <= 22; ++n)
        typTexts_[std::size_t(n)] = tr_.GetMessageText(n);
    const int before = rows_.count();
    rows_.refill(list_);
    if (rows_.count() == before) {
        // Same rows: new values only, so the view keeps its scroll position.
        if (before > 0)
            emit dataChanged(index(0, 0), index(before - 1, kResultColumns - 1));
        return;
    }
    beginResetModel();
    endResetModel();
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.count();
}

int ResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kResultColumns;
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_.count())
        return {};
    const int i = rows_.elementIndex(index.row());
    if (i >= list_.count())
        return {};
    const Telemente& e = list_.at(i);
    return qs(resultCell(e, index.column(), typTexts_[std::size_t(resultTypeMessage(e.typ))]));
}

QVariant ResultsModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < headers_.size())
        return headers_[section];
    return QAbstractTableModel::headerData(section, o, role);
}

void ResultsModel::setHeaders(const QStringList& headers) {
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, kResultColumns - 1);
}

} // namespace pm
