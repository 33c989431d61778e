#pragma once

#include "widgets/flat_button.h"

namespace widgets {

// A picture tile: a large flat button with a hand cursor. A disabled tile
// still shows its picture as it is, but reacts to nothing.
class TPictureTile : public TFlatButton {
    Q_OBJECT

public:
    explicit TPictureTile(QWidget* parent = nullptr);
    explicit TPictureTile(const QIcon& picture, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateCursor();
};

} // namespace widgets
