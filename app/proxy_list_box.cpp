#include "app/proxy_list_box.h"

#include <QItemSelectionModel>

namespace app {

ProxyListModel::ProxyListModel(proxylist::ProxyList& list, QObject* parent)
    : QAbstractListModel(parent), list_(list)
{
    list_.AddObserver(this);
}

ProxyListModel::~ProxyListModel()
{
    list_.RemoveObserver(this);
}

int ProxyListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : list_.Count();
}

QVariant ProxyListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= list_.Count())
        return {};
    return QString::fromStdString(list_.Line(index.row()));
}

void ProxyListModel::ContentReset()
{
    emit listChangeStarting();
    beginResetModel();
    endResetModel();
    emit listChangeDone();
}

void ProxyListModel::RowInserted(int index)
{
    emit listChangeStarting();
    beginInsertRows(QModelIndex(), index, index);
    endInsertRows();
    emit listChangeDone();
}

void ProxyListModel::RowRemoved(int index)
{
    emit listChangeStarting();
    beginRemoveRows(QModelIndex(), index, index);
    endRemoveRows();
    emit listChangeDone();
}

void ProxyListModel::SelectionChanged(int itemIndex)
{
    emit listSelectionChanged(itemIndex);
}

ProxyListBox::ProxyListBox(proxylist::ProxyList& list, QWidget* parent)
    : QListView(parent), list_(list), model_(list)
{
    setModel(&model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setFrameShape(QFrame::NoFrame);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(&model_, &ProxyListModel::listSelectionChanged, this, &ProxyListBox::ShowSelection);
    connect(&model_, &ProxyListModel::listChangeStarting, this, [this] { followingList_ = true; });
    // Qt moves its current row off a removed line; the list has its own rule.
    connect(&model_, &ProxyListModel::listChangeDone, this, [this] {
        MarkSelection(list_.ItemIndex());
        followingList_ = false;
    });
    // A selection, not the current row: taking the focus gives the box a
    // current row of its own, which selects nothing.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList rows = selectionModel()->selectedRows();
        if (!followingList_ && !rows.isEmpty() && rows.first().row() != list_.ItemIndex())
            list_.SetItemIndex(rows.first().row());
    });
    ShowSelection(list_.ItemIndex());
}

void ProxyListBox::ShowSelection(int itemIndex)
{
    MarkSelection(itemIndex);
    if (itemIndex >= 0)
        scrollTo(model_.index(itemIndex));
}

void ProxyListBox::MarkSelection(int itemIndex)
{
    if (itemIndex < 0) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(model_.index(itemIndex), QItemSelectionModel::ClearAndSelect);
}

} // namespace app
