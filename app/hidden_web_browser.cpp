#include "app/hidden_web_browser.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace app {

namespace {

// A page the service never finishes does not hold a connection for good.
constexpr int kTransferTimeoutMs = 30000;

} // namespace

THiddenWebBrowser::THiddenWebBrowser(const char* name, QObject* parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this))
{
    setObjectName(name);
}

void THiddenWebBrowser::Navigate(const QString& url)
{
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply* reply = manager_->get(request);
    // Nothing of the page is read, so whose certificate it is does not matter.
    connect(reply, &QNetworkReply::sslErrors, reply, [reply] { reply->ignoreSslErrors(); });
    connect(reply, &QIODevice::readyRead, reply, [reply] { reply->skip(reply->bytesAvailable()); });
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    // Each page is loaded once: no connection is kept open for another.
    connect(reply, &QNetworkReply::finished, manager_,
            &QNetworkAccessManager::clearConnectionCache);
}

} // namespace app
