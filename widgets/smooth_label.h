#pragma once

#include <QString>
#include <QWidget>

namespace widgets {

class TSmoothLabel;

// A label's caption as an object of its own, the way translations address
// it ("txProxyList.Caption.Text").
class TSmoothLabelCaption : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)

public:
    explicit TSmoothLabelCaption(TSmoothLabel& label);

    QString text() const;
    void setText(const QString& text);

private:
    TSmoothLabel& label_;
};

// White text on no background of its own. It sizes itself to its text (its
// top-left corner stays put) unless auto-size is off, in which case the text
// is aligned inside the box the caller gives it.
class TSmoothLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QObject* Caption READ caption CONSTANT)
    Q_PROPERTY(QString Version READ version CONSTANT)

public:
    explicit TSmoothLabel(QWidget* parent = nullptr);
    TSmoothLabel(const QString& text, int pixelHeight, QWidget* parent = nullptr);

    // Line breaks (LF, CR LF or CR) start new lines; the text is kept as given.
    void setText(const QString& text);
    QString text() const { return text_; }

    TSmoothLabelCaption* caption() { return &caption_; }
    static QString version() { return QStringLiteral("1.6.0.2"); }

    // "Segoe UI" at that character height.
    void setPixelHeight(int pixelHeight);

    void setAutoSize(bool autoSize);
    bool autoSize() const { return autoSize_; }

    // The horizontal alignment inside a box larger than the text.
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return alignment_; }

    void setUnderlined(bool underlined);

    QSize sizeHint() const override;

signals:
    // A left click: pressed and released inside the label.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString displayedText() const;
    void fitToText();

    QString text_;
    TSmoothLabelCaption caption_{*this};
    bool autoSize_ = true;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool pressed_ = false;
};

} // namespace widgets
