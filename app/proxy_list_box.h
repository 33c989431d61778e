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
    // Around each change of the list's rows: the view's own moves of its
    // current row in between follow the list and select nothing.
    void listChangeStarting();
    void listChangeDone();

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
// list's ItemIndex in both directions: a user's click or key selects in the
// list, and the list's selection shows in the box.
class ProxyListBox final : public QListView {
    Q_OBJECT
public:
    ProxyListBox(proxylist::ProxyList& list, QWidget* parent);

private:
    // Selects the line and scrolls it into view.
    void ShowSelection(int itemIndex);
    void MarkSelection(int itemIndex);

    proxylist::ProxyList& list_;
    ProxyListModel model_;
    bool followingList_ = false;
};

} // namespace app
