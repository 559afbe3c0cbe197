#include "app/update_checker.h"

#include "app/app_platform.h"
#include "app/app_settings.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QSysInfo>

#ifndef NIVRA_BUILTIN_UPDATE_URL
#define NIVRA_BUILTIN_UPDATE_URL ""
#endif

namespace {

const QString kLastCheckKey = QStringLiteral("update/lastCheck");
const QString kLatestKey = QStringLiteral("update/latest");
const QString kPageKey = QStringLiteral("update/page");
const QString kSkipVersionKey = QStringLiteral("update/skipVersion");

// A remembered answer younger than this is used without asking again.
constexpr qint64 kRecheckAfterMs = 71999999; // 20 hours less 1 ms

// The update document is a few hundred bytes; a server that sends more is
// broken or hostile, and its reply must not grow the player's memory.
constexpr qint64 kMaxDocumentBytes = 64 * 1024;
// Notes longer than this are cut: the banner shows one line of them.
constexpr qsizetype kMaxNotesChars = 1000;

// A version is numbers with dots and an optional suffix ("0.7.0", "1.2.0-rc1"):
// anything else in "latest" is refused before it reaches the banner.
bool isVersionNumber(const QString &text)
{
    static const QRegularExpression version(
        QStringLiteral("^[0-9]{1,6}(\\.[0-9]{1,6}){0,3}([-+][0-9A-Za-z.]{1,20})?$"));
    return version.match(text).hasMatch();
}

QUrl updateAddress(const QString &builtInAddress)
{
    const QString fromEnvironment = qEnvironmentVariable("NIVRA_UPDATE_URL");
    return QUrl(fromEnvironment.isEmpty() ? builtInAddress : fromEnvironment, QUrl::TolerantMode);
}

bool isWebPage(const QString &page)
{
    const QUrl url(page);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("https") || scheme == QLatin1String("http"));
}

} // namespace

UpdateChecker::UpdateChecker(AppSettings *settings, QObject *parent)
    : UpdateChecker(settings, QStringLiteral(NIVRA_BUILTIN_UPDATE_URL), parent)
{}

UpdateChecker::UpdateChecker(AppSettings *settings, const QString &builtInAddress, QObject *parent)
    : QObject(parent), m_settings(settings), m_url(updateAddress(builtInAddress))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (m_reply)
            m_reply->abort(); // reported as a failed check by onReplyFinished
    });
    // The notes follow the interface language.
    connect(m_settings, &AppSettings::languageChanged, this, [this] {
        if (!m_notes.isEmpty())
            emit changed();
    });
}

UpdateChecker::~UpdateChecker()
{
    // Aborting emits finished; nothing of ours may run while we go.
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        delete m_reply;
    }
}

bool UpdateChecker::configured() const
{
    return m_url.isValid() && !m_url.isEmpty();
}

QString UpdateChecker::notes() const
{
    QString text = m_notes.value(m_settings->effectiveLanguage()).toString();
    if (text.isEmpty())
        text = m_notes.value(QLatin1String("en")).toString();
    if (text.size() > kMaxNotesChars)
        text = text.left(kMaxNotesChars - 1) + QChar(0x2026);
    return text;
}

QString UpdateChecker::userAgent()
{
    return QStringLiteral("NIVRA-Player/%1 (%2; %3%4)")
        .arg(AppSettings::version(), nivra::operatingSystemName(), QSysInfo::buildCpuArchitecture(),
             AppSettings::internalBuild() ? QStringLiteral("; internal") : QString());
}

int UpdateChecker::compareVersions(const QString &a, const QString &b)
{
    static const QRegularExpression separators(QStringLiteral("[.\\-+]"));
    const QStringList left = a.trimmed().split(separators);
    const QStringList right = b.trimmed().split(separators);
    const auto part = [](const QStringList &parts, qsizetype i) {
        bool isNumber = false;
        const qlonglong value = parts.value(i).toLongLong(&isNumber);
        return isNumber ? value : 0;
    };
    for (qsizetype i = 0; i < qMax(left.size(), right.size()); ++i) {
        const qlonglong l = part(left, i);
        const qlonglong r = part(right, i);
        if (l != r)
            return l < r ? -1 : 1;
    }
    return 0;
}

void UpdateChecker::startupCheck()
{
    if (!configured() || !m_settings->checkUpdates())
        return;
    const qint64 lastCheck = m_settings->value(kLastCheckKey).toLongLong();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    // A check stamped in the future comes from a clock that was wrong; it
    // must not hold off checks until that time.
    if (lastCheck < 1 || now - lastCheck > kRecheckAfterMs || lastCheck > now) {
        startCheck(false);
        return;
    }
    const QString latest = m_settings->value(kLatestKey);
    if (latest.isEmpty() || compareVersions(latest, AppSettings::version()) <= 0 ||
        latest == m_settings->value(kSkipVersionKey))
        return;
    m_latestVersion = latest;
    m_page = m_settings->value(kPageKey);
    m_available = !m_page.isEmpty();
    emit changed();
}

void UpdateChecker::checkNow()
{
    if (configured()) {
        startCheck(true);
        return;
    }
    m_status = tr("No update address is set in this build.");
    emit changed();
}

void UpdateChecker::startCheck(bool manual)
{
    if (m_reply)
        return;
    m_manual = manual;
    QNetworkRequest request(m_url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setTransferTimeout(m_transferTimeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = m_network.get(request);
    m_reply = reply;
    m_oversized = false;
    // Read no more than the cap: the network layer then stops taking bytes
    // from the server instead of buffering all it sends.
    reply->setReadBufferSize(kMaxDocumentBytes + 1);
    const auto tooBig = [this, reply](qint64 bytes) {
        if (reply == m_reply && bytes > kMaxDocumentBytes) {
            m_oversized = true;
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onReplyFinished(reply); });
    // A declared length over the cap is refused as soon as the headers come.
    connect(reply, &QNetworkReply::metaDataChanged, this, [reply, tooBig] {
        bool known = false;
        const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known)
            tooBig(length);
    });
    connect(reply, &QNetworkReply::readyRead, this, [reply, tooBig] { tooBig(reply->bytesAvailable()); });
    connect(reply, &QNetworkReply::downloadProgress, this,
            [tooBig](qint64 received, qint64 total) { tooBig(qMax(received, total)); });
    m_deadline.start(m_transferTimeoutMs);
    if (manual)
        m_status = tr("Checking…");
    emit changed();
}

void UpdateChecker::onReplyFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_reply)
        return;
    m_reply = nullptr;
    m_deadline.stop();

    // Failures never touch the remembered answer.
    if (m_oversized || reply->bytesAvailable() > kMaxDocumentBytes) {
        if (m_manual)
            m_status = tr("The update information could not be read.");
        emit changed();
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        if (m_manual)
            m_status = tr("Could not check for updates (%1).").arg(reply->errorString());
        emit changed();
        return;
    }

    const QJsonObject document = QJsonDocument::fromJson(reply->readAll()).object();
    const QString latest = document.value(QLatin1String("latest")).toString();
    QString page = document.value(QLatin1String("page")).toString();
    if (page.isEmpty())
        page = document.value(QLatin1String("windows")).toObject().value(QLatin1String("url")).toString();
    if (!isVersionNumber(latest) || !isWebPage(page)) {
        if (m_manual)
            m_status = tr("The update information could not be read.");
        emit changed();
        return;
    }

    m_settings->setValue(kLastCheckKey, QString::number(QDateTime::currentMSecsSinceEpoch()));
    m_settings->setValue(kLatestKey, latest);
    m_settings->setValue(kPageKey, page);
    m_latestVersion = latest;
    m_page = page;
    m_notes = document.value(QLatin1String("notes")).toObject();
    const bool newer = compareVersions(latest, AppSettings::version()) > 0;
    const bool skipped = latest == m_settings->value(kSkipVersionKey);
    // A skipped version comes back only when the user asks.
    m_available = newer && (m_manual || !skipped);
    if (m_manual)
        m_status = newer ? tr("Version %1 is available.").arg(latest) : tr("You have the latest version.");
    emit changed();
}

void UpdateChecker::openDownloadPage()
{
    if (!m_page.isEmpty())
        QDesktopServices::openUrl(QUrl(m_page));
}

void UpdateChecker::skipThisVersion()
{
    m_settings->setValue(kSkipVersionKey, m_latestVersion);
    m_available = false;
    emit changed();
}

void UpdateChecker::dismiss()
{
    m_available = false;
    emit changed();
}
