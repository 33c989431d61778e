#include "app/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <stdexcept>

namespace app {

void QtClipboard::SetText(const std::string& utf8)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw std::runtime_error("Cannot open clipboard: there is no display.");
    clipboard->setText(QString::fromStdString(utf8));
}

} // namespace app
