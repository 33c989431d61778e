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
    beginResetModel();
    endResetModel();
}

void ProxyListModel::RowInserted(int index)
{
    beginInsertRows(QModelIndex(), index, index);
    endInsertRows();
}

void ProxyListModel::RowRemoved(int index)
{
    beginRemoveRows(QModelIndex(), index, index);
    endRemoveRows();
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
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && current.row() != list_.ItemIndex())
                    list_.SetItemIndex(current.row());
            });
    ShowSelection(list_.ItemIndex());
}

void ProxyListBox::ShowSelection(int itemIndex)
{
    if (itemIndex < 0) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex index = model_.index(itemIndex);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

} // namespace app
