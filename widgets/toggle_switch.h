#pragma once

#include <QAbstractButton>
#include <QString>

namespace widgets {

// An on/off switch, off when made. The mouse and the space key toggle it;
// clicked() comes after the state has changed, so a handler reads the new one.
class TToggleSwitch : public QAbstractButton {
    Q_OBJECT

public:
    explicit TToggleSwitch(QWidget* parent = nullptr);

    // The captions shown beside the thumb, e.g. for another language.
    void setCaptions(const QString& onCaption, const QString& offCaption);
    QString onCaption() const { return onCaption_; }
    QString offCaption() const { return offCaption_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect thumbRect() const;
    QRect captionRect() const;

    QString onCaption_;
    QString offCaption_;
};

} // namespace widgets
