#include "session/bookmarks.h"

#include "session/card_session.h"
#include "storage/card.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtDebug>

#include <algorithm>

namespace nivra {

namespace {

constexpr int kVersion = 1;
// A bookmark file is a few kilobytes; anything far larger is not ours.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

bool hasControl(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

} // namespace

Bookmarks::Bookmarks(QObject *parent) : QObject(parent)
{}

void Bookmarks::setCard(CardSession *card)
{
    if (m_card == card)
        return;
    if (m_card)
        disconnect(m_card, nullptr, this, nullptr);
    m_card = card;
    if (card)
        connect(card, &CardSession::changed, this, &Bookmarks::load);
    load();
    emit cardChanged();
}

void Bookmarks::setFolder(const QString &folder)
{
    if (m_folder == folder)
        return;
    m_folder = folder;
    load();
    emit folderChanged();
}

QString Bookmarks::filePath() const
{
    const QString folder = m_folder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                                     QStringLiteral("/bookmarks")
                               : m_folder;
    return folder + QLatin1Char('/') + m_identity + QStringLiteral(".json");
}

bool Bookmarks::inCard(qint64 ms) const
{
    return ms >= m_firstMs && ms < m_endMs;
}

QString Bookmarks::cleanNote(const QString &note)
{
    QString line;
    line.reserve(qMin<qsizetype>(note.size(), kMaxNote));
    for (const QChar c : note)
        line += c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                        c == QChar::ParagraphSeparator
                    ? QLatin1Char(' ')
                    : c;
    line = line.simplified();
    if (line.size() > kMaxNote) {
        line.truncate(kMaxNote);
        // Never half a surrogate pair.
        if (line.back().isHighSurrogate())
            line.chop(1);
    }
    return line;
}

void Bookmarks::load()
{
    m_identity.clear();
    m_entries.clear();
    m_firstMs = m_endMs = 0;
    card_reader *reader = m_card ? m_card->reader() : nullptr;
    card_summary summary{};
    char id[64];
    if (reader && card_get_summary(reader, &summary) == CARD_OK &&
        card_identity(reader, id, sizeof id) == CARD_OK && summary.last_second >= summary.first_second) {
        m_identity = QString::fromLatin1(id);
        m_firstMs = qint64(summary.first_second) * 1000;
        m_endMs = (qint64(summary.last_second) + 1) * 1000;
    }
    if (!m_identity.isEmpty()) {
        QFile file(filePath());
        if (file.exists()) {
            QByteArray bytes;
            if (file.size() <= kMaxFileBytes && file.open(QIODevice::ReadOnly))
                bytes = file.readAll();
            QJsonParseError error{};
            const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
            const QJsonObject root = doc.object();
            if (error.error != QJsonParseError::NoError || !doc.isObject() ||
                root.value("version").toInt() != kVersion) {
                const QString text = tr("The bookmarks of this card could not be read and were set aside.");
                qWarning("bookmarks: %s is damaged; kept as .damaged", qPrintable(file.fileName()));
                // Kept for the user, and out of the way of the next save.
                QFile::remove(file.fileName() + QStringLiteral(".damaged"));
                QFile::rename(file.fileName(), file.fileName() + QStringLiteral(".damaged"));
                emit warning(text);
            } else {
                int skipped = 0;
                for (const QJsonValue &v : root.value("bookmarks").toArray()) {
                    const QJsonObject o = v.toObject();
                    const QJsonValue ms = o.value("ms");
                    const QJsonValue note = o.value("note");
                    const qint64 at = qint64(ms.toDouble(-1));
                    if (!ms.isDouble() || double(at) != ms.toDouble() || !inCard(at) || !note.isString() ||
                        note.toString().size() > kMaxNote || hasControl(note.toString())) {
                        ++skipped;
                        continue;
                    }
                    m_entries.push_back({m_nextId++, at, note.toString()});
                }
                if (skipped > 0) {
                    qWarning("bookmarks: %d entries of %s skipped", skipped, qPrintable(file.fileName()));
                    emit warning(
                        tr("%n bookmark(s) of this card could not be read and were left out.", "", skipped));
                }
            }
        }
    }
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry &a, const Entry &b) { return a.ms < b.ms; });
    ++m_revision;
    emit changed();
}

bool Bookmarks::save()
{
    if (m_identity.isEmpty())
        return false;
    QJsonArray list;
    for (const Entry &e : m_entries)
        list.append(QJsonObject{{"ms", double(e.ms)}, {"note", e.note}});
    const QString path = filePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qWarning("bookmarks: cannot write %s", qPrintable(path));
        return false;
    }
    file.write(QJsonDocument(QJsonObject{{"version", kVersion}, {"bookmarks", list}}).toJson());
    return file.commit();
}

int Bookmarks::add(qint64 ms, const QString &note)
{
    if (m_identity.isEmpty() || !inCard(ms))
        return -1;
    const Entry entry{m_nextId++, ms, cleanNote(note)};
    const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), ms,
                                     [](qint64 t, const Entry &e) { return t < e.ms; });
    m_entries.insert(at, entry);
    save();
    ++m_revision;
    emit changed();
    return entry.id;
}

bool Bookmarks::setNote(int id, const QString &note)
{
    for (Entry &e : m_entries) {
        if (e.id != id)
            continue;
        e.note = cleanNote(note);
        save();
        ++m_revision;
        emit changed();
        return true;
    }
    return false;
}

bool Bookmarks::remove(int id)
{
    const auto it =
        std::find_if(m_entries.begin(), m_entries.end(), [id](const Entry &e) { return e.id == id; });
    if (it == m_entries.end())
        return false;
    m_entries.erase(it);
    save();
    ++m_revision;
    emit changed();
    return true;
}

QVariantList Bookmarks::inRange(qint64 fromMs, qint64 toMs) const
{
    QVariantList out;
    for (const Entry &e : m_entries)
        if (e.ms >= fromMs && e.ms <= toMs)
            out.append(QVariantMap{{"id", e.id}, {"ms", e.ms}, {"note", e.note}});
    return out;
}

} // namespace nivra
