#include "app/language.h"

#include "app/qtext.h"
#include "app/resultsmodel.h"
#include "translate/translations.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QQueue>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeView>
#include <QWidget>

namespace pm {

namespace {

QString tx(Translator& tr, const QString& s) {
    return qs(tr.TranslateText(us(s)));
}

// Parts of composite widgets (the line edit inside a spin field, a list's viewport) are not
// texts of the form.
bool isInternal(const QObject* o) {
    const QObject* p = o->parent();
    return p && (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p) ||
                 qobject_cast<const QAbstractItemView*>(p) ||
                 qobject_cast<const QAbstractItemView*>(p->parent()));
}

void translateOne(QObject* o, Translator& tr) {
    // Names, addresses and years are the same in every language.
    if (isInternal(o) || o->property("untranslated").toBool())
        return;
    if (auto* w = qobject_cast<QWidget*>(o); w && w->isWindow() && !w->windowTitle().isEmpty())
        w->setWindowTitle(tx(tr, w->windowTitle()));
    if (auto* l = qobject_cast<QLabel*>(o)) {
        l->setText(tx(tr, l->text()));
    } else if (auto* r = qobject_cast<QRadioButton*>(o)) {
        r->setText(tx(tr, r->text()));
    } else if (auto* c = qobject_cast<QCheckBox*>(o)) {
        c->setToolTip(tx(tr, c->toolTip()));
        c->setText(tx(tr, c->text()));
    } else if (auto* b = qobject_cast<QPushButton*>(o)) {
        b->setText(tx(tr, b->text()));
        b->setToolTip(tx(tr, b->toolTip()));
    } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
        g->setTitle(tx(tr, g->title()));
        g->setToolTip(tx(tr, g->toolTip()));
    } else if (auto* m = qobject_cast<QMenu*>(o)) {
        m->setTitle(tx(tr, m->title()));
    } else if (auto* a = qobject_cast<QAction*>(o); a && !a->menu()) {
        // (A menu's own action carries its title, translated with the menu.)
        // An action without a hint of its own shows its text as one, without "&" and "...".
        QString shown = QString(a->text()).remove(QLatin1Char('&'));
        if (shown.endsWith(QStringLiteral("...")))
            shown.chop(3);
        const bool ownTip = a->toolTip() != shown;
        a->setText(tx(tr, a->text()));
        if (ownTip)
            a->setToolTip(tx(tr, a->toolTip()));
    } else if (qobject_cast<QAbstractSpinBox*>(o) || qobject_cast<QToolButton*>(o)) {
        auto* w = static_cast<QWidget*>(o);
        w->setToolTip(tx(tr, w->toolTip()));
    } else if (auto* cb = qobject_cast<QComboBox*>(o)) {
        const int index = cb->currentIndex();
        for (int i = 0; i < cb->count(); ++i)
            cb->setItemText(i, tx(tr, cb->itemText(i)));
        cb->setCurrentIndex(index);
    } else if (auto* t = qobject_cast<QTableWidget*>(o)) {
        for (int c = 0; c < t->columnCount(); ++c)
            if (QTableWidgetItem* h = t->horizontalHeaderItem(c))
                h->setText(tx(tr, h->text()));
    } else if (auto* v = qobject_cast<QTreeView*>(o)) {
        if (auto* model = qobject_cast<ResultsModel*>(v->model())) {
            QStringList headers;
            for (int c = 0; c < model->columnCount(); ++c)
                headers << tx(tr, model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
            model->setHeaders(headers);
        }
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(o)) {
        QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
        for (QString& line : lines)
            line = tx(tr, line);
        memo->setPlainText(lines.join(QLatin1Char('\n')));
    } else if (auto* e = qobject_cast<QLineEdit*>(o)) {
        e->setText(tx(tr, e->text()));
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
        // Everything else that shows a hint of its own (the colour swatch).
        if (!w->toolTip().isEmpty())
            w->setToolTip(tx(tr, w->toolTip()));
    }
}

} // namespace

void TranslateComponents(QObject* root, Translator& tr) {
    if (auto* w = qobject_cast<QWidget*>(root); w && w->isWindow())
        w->setWindowTitle(tx(tr, w->windowTitle()));
    QQueue<QObject*> queue;
    queue.enqueue(root);
    while (!queue.isEmpty()) {
        QObject* n = queue.dequeue();
        const QObjectList children = n->children();
        for (qsizetype i = children.size() - 1; i >= 0; --i) {
            translateOne(children[i], tr);
            queue.enqueue(children[i]);
        }
    }
}

} // namespace pm
