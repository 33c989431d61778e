#pragma once

#include <QString>
#include <QWidget>

namespace widgets {

// A plain panel: its colour and a caption drawn in its middle.
class TPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)

public:
    explicit TPanel(QWidget* parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

} // namespace widgets
