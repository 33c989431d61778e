#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QIcon>
#include <QSize>

namespace widgets {

// A flat button: a picture, optionally a caption below it, and no frame. It
// shows its parent's colour until the mouse is over it or it is pressed.
// Clicks come as from a push button: on release inside, or by the space key.
class TFlatButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QString Version READ version CONSTANT)

public:
    explicit TFlatButton(QWidget* parent = nullptr);
    TFlatButton(const QIcon& picture, const QString& caption, QWidget* parent = nullptr);

    // An invalid colour lets the parent's colour show through.
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }
    void setHoverColour(const QColor& colour);
    QColor hoverColour() const { return hoverColour_; }
    void setPressedColour(const QColor& colour);
    QColor pressedColour() const { return pressedColour_; }

    // An empty size, the default, fits the picture to the button.
    void setPictureSize(const QSize& size);
    QSize pictureSize() const;

    static QString version() { return QStringLiteral("1.1.1.0"); }

    QSize sizeHint() const override;

    // The caption's font: the button's own, made smaller as far as the
    // caption needs to fit the button's width.
    QFont captionFont() const;

protected:
    // A tile keeps its picture as it is when disabled.
    void setDimmedWhenDisabled(bool dimmed);

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QColor backgroundColour() const;
    QRect pictureRect() const;
    QRect captionRect() const;
    int captionHeight() const;

    QColor colour_;
    QColor hoverColour_;
    QColor pressedColour_;
    QSize pictureSize_;
    bool dimmedWhenDisabled_ = true;
    bool hovered_ = false;
};

} // namespace widgets
