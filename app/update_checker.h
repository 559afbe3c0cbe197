// Tells the user when a newer version is published: fetches a small JSON
// document, compares its version with ours and remembers the answer in the
// settings. Published to QML as "updater"; it never downloads the program.
#pragma once

#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class AppSettings;
class QNetworkReply;

class UpdateChecker : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool configured READ configured CONSTANT)
    Q_PROPERTY(bool checking READ checking NOTIFY changed)
    Q_PROPERTY(bool available READ available NOTIFY changed)
    Q_PROPERTY(QString latestVersion READ latestVersion NOTIFY changed)
    Q_PROPERTY(QString notes READ notes NOTIFY changed)
    Q_PROPERTY(QString status READ status NOTIFY changed)
    Q_PROPERTY(QString url READ url CONSTANT)

public:
    // Uses the address built into the program, or NIVRA_UPDATE_URL when that
    // is set and not empty.
    explicit UpdateChecker(AppSettings *settings, QObject *parent = nullptr);
    // The same with another built-in address.
    UpdateChecker(AppSettings *settings, const QString &builtInAddress, QObject *parent = nullptr);
    ~UpdateChecker() override;

    bool configured() const;
    bool checking() const { return !m_reply.isNull(); }
    bool available() const { return m_available; }
    QString latestVersion() const { return m_latestVersion; }
    QString notes() const;
    QString status() const { return m_status; }
    QString url() const { return m_url.toString(); }

    Q_INVOKABLE void startupCheck();
    Q_INVOKABLE void checkNow();
    Q_INVOKABLE void openDownloadPage();
    Q_INVOKABLE void skipThisVersion();
    Q_INVOKABLE void dismiss();

    // How long a request may take before it counts as failed; 15000 ms
    // unless changed. Applies to requests sent afterwards.
    void setTransferTimeout(int milliseconds) { m_transferTimeoutMs = milliseconds; }
    // The User-Agent header every request carries.
    static QString userAgent();
    // Compares version numbers part by part: negative, 0 or positive as a
    // is older than, equal to or newer than b.
    static int compareVersions(const QString &a, const QString &b);

signals:
    void changed();

private:
    void startCheck(bool manual);
    void onReplyFinished(QNetworkReply *reply);

    AppSettings *m_settings;
    QUrl m_url;
    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    int m_transferTimeoutMs = 15000;
    QTimer m_deadline; // bounds the whole transfer, not only the silences in it
    bool m_oversized = false;
    bool m_manual = false;
    bool m_available = false;
    QString m_latestVersion;
    QString m_page;
    QJsonObject m_notes;
    QString m_status;
};
