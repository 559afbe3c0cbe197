// Bookmarks: moments of a card the user marked, each with a one-line note.
// Kept on this computer, never on the card, in one file per card identity,
// so that the same card opened from another path or reader finds them.
#pragma once

#include "session/card_session.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>

#include <vector>

namespace nivra {

class Bookmarks : public QObject
{
    Q_OBJECT
    Q_PROPERTY(nivra::CardSession *card READ card WRITE setCard NOTIFY cardChanged)
    // The folder of the bookmark files; empty: the application's
    // configuration folder's "bookmarks".
    Q_PROPERTY(QString folder READ folder WRITE setFolder NOTIFY folderChanged)
    Q_PROPERTY(int count READ count NOTIFY changed)
    // Grows with every change, for bindings that read the lists.
    Q_PROPERTY(int revision READ revision NOTIFY changed)

public:
    struct Entry
    {
        int id = 0;
        qint64 ms = 0; // UTC
        QString note;
    };

    // The longest note kept, in characters.
    static constexpr int kMaxNote = 500;

    explicit Bookmarks(QObject *parent = nullptr);

    CardSession *card() const { return m_card; }
    void setCard(CardSession *card);
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder);
    int count() const { return int(m_entries.size()); }
    int revision() const { return m_revision; }
    const std::vector<Entry> &entries() const { return m_entries; }

    // Adds a bookmark at ms (inside the card's recorded time) with note made
    // one line; returns its id, or -1.
    Q_INVOKABLE int add(qint64 ms, const QString &note);
    Q_INVOKABLE bool setNote(int id, const QString &note);
    Q_INVOKABLE bool remove(int id);
    // {id, ms, note} of those in [fromMs, toMs], in time order.
    Q_INVOKABLE QVariantList inRange(qint64 fromMs, qint64 toMs) const;
    // A note as it is kept: one line, no control characters, at most kMaxNote.
    static QString cleanNote(const QString &note);

signals:
    void cardChanged();
    void folderChanged();
    void changed();
    // Something of the stored file was skipped (damaged, hostile entries).
    void warning(const QString &text);

private:
    void load();
    bool save();
    QString filePath() const;
    bool inCard(qint64 ms) const;

    QPointer<CardSession> m_card;
    QString m_folder;
    QString m_identity;
    std::vector<Entry> m_entries; // in time order
    int m_nextId = 1;
    int m_revision = 0;
    qint64 m_firstMs = 0;
    qint64 m_endMs = 0;
};

} // namespace nivra
