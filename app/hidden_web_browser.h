#pragma once

#include <QObject>

class QNetworkAccessManager;

namespace app {

// Stands in for a web-browser control that is never seen: it asks for the
// page like a browser would and drops what comes back. Nothing waits for a
// load; one still pending when the browser goes is abandoned.
class THiddenWebBrowser final : public QObject {
    Q_OBJECT
public:
    THiddenWebBrowser(const char* name, QObject* parent);

    void Navigate(const QString& url);

private:
    QNetworkAccessManager* manager_;
};

} // namespace app
