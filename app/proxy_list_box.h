#pragma once

#include "proxylist/proxy_list.h"

#include <QAbstractListModel>
#include <QListView>

namespace app {

// Shows a ProxyList without copying it: rows are read from the list when
// the view paints them, so a list of 100,000 lines opens at once.
class ProxyListModel final : public QAbstractListModel, private proxylist::ProxyListObserver {
    Q_OBJECT
public:
    explicit ProxyListModel(proxylist::ProxyList& list, QObject* parent = nullptr);
    ~ProxyListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

signals:
    void listSelectionChanged(int itemIndex);

private:
    // The list tells of a change after making it; the views of a plain list
    // model only need the begin/end pair to arrive together.
    void ContentReset() override;
    void RowInserted(int index) override;
    void RowRemoved(int index) override;
    void SelectionChanged(int itemIndex) override;

    proxylist::ProxyList& list_;
};

// A single-selection list box over a ProxyList whose selection is the
// list's ItemIndex in both directions.
class ProxyListBox final : public QListView {
    Q_OBJECT
public:
    ProxyListBox(proxylist::ProxyList& list, QWidget* parent);

private:
    void ShowSelection(int itemIndex);

    proxylist::ProxyList& list_;
    ProxyListModel model_;
};

} // namespace app
