#include "session/export_job.h"

#include "export/export_writer.h"
#include "session/bookmarks.h"
#include "session/card_session.h"
#include "session/duration_text.h"
#include "session/folder_space.h"
#include "session/time_zone.h"

#ifdef NIVRA_HAVE_EVIDENCE
#include "evidence/evidence.h"
#endif
#ifdef NIVRA_HAVE_RECODE
#include "recode/recode.h"
#endif

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace nivra {

// What the worker needs, copied on the GUI thread before it starts.
struct ExportJob::Task
{
    struct Piece
    {
        qint64 fromMs = 0;
        qint64 toMs = 0;
        qint64 bytes = 0; // expected, for the progress
    };
    const card_reader *reader = nullptr; // read only: the worker's rule
    // One range, or one file per event batch piece.
    std::vector<Piece> pieces;
    bool merge = false;
    bool audio = true;
    bool timeTrack = false;
    bool computerTime = false;
    QByteArray folder; // UTF-8, native separators
    bool mp4 = false;
    bool evidence = false;
    bool burnTime = false;
    int shareMb = 0;   // 0: no share copy
    qint64 fromMs = 0; // the range asked for, for the package
    qint64 toMs = 0;
#ifdef NIVRA_HAVE_EVIDENCE
    evidence::Texts texts; // in the interface language at the start
    std::vector<evidence::Bookmark> bookmarks;
#endif
};

namespace {

#ifdef NIVRA_HAVE_RECODE
constexpr int kShareDefaultMb = recode::kShareDefaultMb;
#else
constexpr int kShareDefaultMb = 25; // no share copies in this build
#endif
constexpr qint64 kProgressEveryNs = 40 * 1000000LL;
// No package for an export that lost part of its plan.
constexpr int kEvidenceRefused = -1;

// The worker's context for the writer's callbacks: the pieces before the
// current one count towards the progress.
struct WorkerRun
{
    ExportJob *job = nullptr;
    qint64 base = 0;
    bool single = true; // one range: the writer's own total stands
    std::vector<ExportLostRun> lost;
#ifdef NIVRA_HAVE_EVIDENCE
    std::vector<evidence::Clip> clips;
#endif
};

int32_t computerOffsetAt(int64_t utcSeconds)
{
    return systemOffsetSeconds(qint64(utcSeconds) * 1000);
}

int32_t computerOffset(uint32_t utcSeconds, void *, const ExportOptions *)
{
    return computerOffsetAt(utcSeconds);
}

#ifdef NIVRA_HAVE_EVIDENCE

std::string utf8(const QString &text)
{
    return text.toUtf8().toStdString();
}

// The report's words in the interface language of the moment.
evidence::Texts evidenceTexts()
{
    evidence::Texts t;
    t.title = utf8(ExportJob::tr("Evidence package"));
    t.card = utf8(ExportJob::tr("Card"));
    t.folder = utf8(ExportJob::tr("Folder"));
    t.formatted = utf8(ExportJob::tr("Formatted"));
    t.identity = utf8(ExportJob::tr("Card identity"));
    t.range = utf8(ExportJob::tr("Range"));
    t.cameraTime = utf8(ExportJob::tr("Camera time"));
    t.computerTime = utf8(ExportJob::tr("This computer's time"));
    t.files = utf8(ExportJob::tr("Exported files"));
    t.name = utf8(ExportJob::tr("Name"));
    t.size = utf8(ExportJob::tr("Size"));
    t.duration = utf8(ExportJob::tr("Duration"));
    t.sourceFiles = utf8(ExportJob::tr("Copied from the card's files"));
    t.events = utf8(ExportJob::tr("Events and bookmarks"));
    t.time = utf8(ExportJob::tr("Time"));
    t.kind = utf8(ExportJob::tr("Kind"));
    t.note = utf8(ExportJob::tr("Note"));
    t.bookmark = utf8(ExportJob::tr("Bookmark"));
    t.start = utf8(ExportJob::tr("Start of the range"));
    t.none = utf8(ExportJob::tr("None"));
    t.noPicture = utf8(ExportJob::tr("No picture"));
    t.made = utf8(ExportJob::tr("Made by"));
    t.madeAt = utf8(ExportJob::tr("Made at"));
    t.check = utf8(ExportJob::tr("Check the files with: sha256sum -c SHA256SUMS"));
    t.kinds[0] = utf8(ExportJob::tr("Motion"));
    t.kinds[1] = utf8(ExportJob::tr("Sound"));
    t.kinds[2] = utf8(ExportJob::tr("Crying"));
    t.kinds[3] = utf8(ExportJob::tr("PIR"));
    t.kinds[4] = utf8(ExportJob::tr("Person"));
    return t;
}
#endif

} // namespace

int exportEtaSeconds(qint64 doneBytes, qint64 totalBytes, qint64 elapsedMs, int previous)
{
    if (elapsedMs > 1500 && doneBytes != 0 && totalBytes > doneBytes) {
        const double leftMs = double(totalBytes - doneBytes) * double(elapsedMs) / double(doneBytes);
        const double seconds = 1.0 + std::trunc(leftMs / 1000.0);
        // A tiny first report over a long time could exceed an int.
        return seconds >= double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                  : int(seconds);
    }
    if (doneBytes >= totalBytes)
        return 0;
    return previous;
}

ExportJob::ExportJob(QObject *parent) : QObject(parent), m_shareMb(kShareDefaultMb)
{}

ExportJob::~ExportJob()
{
    // The worker reports into this object's members: stop it first.
    m_shell.stop();
}

bool ExportJob::evidenceAvailable()
{
#ifdef NIVRA_HAVE_EVIDENCE
    return true;
#else
    return false;
#endif
}

QObject *ExportJob::bookmarks() const
{
    return m_bookmarks.data();
}

void ExportJob::setBookmarks(QObject *bookmarks)
{
    auto *list = qobject_cast<Bookmarks *>(bookmarks);
    if (list == m_bookmarks.data())
        return;
    m_bookmarks = list;
    emit evidenceChanged();
}

bool ExportJob::recodeAvailable()
{
#ifdef NIVRA_HAVE_RECODE
    static const bool available = recode::available();
    return available;
#else
    return false;
#endif
}

void ExportJob::setBurnTime(bool on)
{
    on = on && recodeAvailable();
    if (on == m_burnTime)
        return;
    m_burnTime = on;
    emit recodingChanged();
}

void ExportJob::setShareCopy(bool on)
{
    on = on && recodeAvailable();
    if (on == m_shareCopy)
        return;
    m_shareCopy = on;
    emit recodingChanged();
}

void ExportJob::setShareMb(int mb)
{
    const QList<int> sizes = shareSizes();
    if (!sizes.contains(mb))
        mb = kShareDefaultMb;
    if (mb == m_shareMb)
        return;
    m_shareMb = mb;
    emit recodingChanged();
}

QList<int> ExportJob::shareSizes()
{
    QList<int> sizes;
#ifdef NIVRA_HAVE_RECODE
    for (int mb : recode::kShareSizesMb)
        sizes << mb;
#endif
    return sizes;
}

QString ExportJob::shareRefusal(qint64 durationMs, int mb)
{
#ifdef NIVRA_HAVE_RECODE
    if (recode::shareVideoBitRate(qint64(mb) * 1000000, durationMs) > 0)
        return QString();
    return tr("%1 is too long for a copy of %2 MB. Choose a shorter range or a larger size.")
        .arg(nivra::durationText(durationMs))
        .arg(mb);
#else
    Q_UNUSED(durationMs);
    Q_UNUSED(mb);
    return QString();
#endif
}

void ExportJob::setEvidence(bool on)
{
    on = on && evidenceAvailable();
    if (on == m_evidence)
        return;
    m_evidence = on;
    emit evidenceChanged();
}

double ExportJob::progress() const
{
    if (m_totalBytes <= 0)
        return 0.0;
    return qMin(1.0, double(m_doneBytes) / double(m_totalBytes));
}

bool ExportJob::start(CardSession *card, qint64 fromMs, qint64 toMs, bool merge, bool audio,
                      const QString &dir, qint64 estimatedBytes, int format, bool timeTrack)
{
    if (m_running || !card || !card->reader() || toMs < fromMs || fromMs < 0)
        return false;
    Task task;
    task.pieces.push_back({fromMs, toMs, estimatedBytes < 1 ? 0 : estimatedBytes});
    task.fromMs = fromMs;
    task.toMs = toMs;
    task.merge = merge;
    task.audio = audio;
    task.timeTrack = timeTrack;
    task.mp4 = format == 1;
    return launch(card, std::move(task), dir);
}

qint64 ExportJob::longestPiece(const Task &task)
{
    qint64 longest = 0;
    for (const Task::Piece &piece : task.pieces)
        longest = qMax(longest, piece.toMs - piece.fromMs);
    return longest;
}

bool ExportJob::startEvents(CardSession *card, qint64 fromMs, qint64 toMs, int kinds, int padSeconds,
                            bool audio, const QString &dir, int format, bool timeTrack)
{
    if (m_running || !card || !card->reader() || toMs < fromMs || fromMs < 0 || padSeconds < 0)
        return false;
    const std::vector<ExportEventPiece> pieces = card->eventPieces(fromMs, toMs, kinds, padSeconds);
    if (pieces.empty()) {
        m_outcome = HandOver{};
        m_outcome.code = EXPORT_NOTHING;
        m_outcomeCancelled = false;
        m_unmadeFolder.clear();
        m_folderOnCard = false;
        emit finished(Nothing, QString(), 0);
        return false;
    }
    Task task;
    for (const ExportEventPiece &piece : pieces)
        task.pieces.push_back({piece.fromMs, piece.toMs, qint64(piece.bytes)});
    task.fromMs = fromMs;
    task.toMs = toMs;
    // One file per event (or overlapping events), across any gap inside.
    task.merge = true;
    task.audio = audio;
    task.timeTrack = timeTrack;
    task.mp4 = format == 1;
    return launch(card, std::move(task), dir);
}

bool ExportJob::launch(CardSession *card, Task task, const QString &dir)
{
    m_shell.stop(); // the previous export's thread has already ended

    m_outcome = HandOver{};
    m_outcomeCancelled = false;
    m_unmadeFolder.clear();
    m_refusal = m_shareCopy ? shareRefusal(longestPiece(task), m_shareMb) : QString();
    if (!m_refusal.isEmpty()) {
        emit finished(Failed, outcomeText(), 0);
        return false;
    }
    m_folderOnCard = card->holdsFolder(dir);
    if (m_folderOnCard) {
        emit finished(Failed, outcomeText(), 0);
        return false;
    }
    if (dir.isEmpty() || !QDir().mkpath(dir)) {
        m_unmadeFolder = dir.isEmpty() ? QStringLiteral(" ") : dir;
        emit finished(Failed, outcomeText(), 0);
        return false;
    }

    if (m_card && m_card != card)
        disconnect(m_card, nullptr, this, nullptr);
    if (m_card != card) {
        m_card = card;
        connect(card, &CardSession::aboutToClose, this, &ExportJob::onCardClosing);
    }

    m_hand = HandOver{}; // no worker runs now: no lock needed
    m_filesReported = 0;
    m_filesDelivered = 0;
    m_progressHandedNs = Clock::steady().nowNs();
    qint64 total = 0;
    for (const Task::Piece &piece : task.pieces)
        total += piece.bytes;
    m_running = true;
    m_doneBytes = 0;
    m_totalBytes = total;
    m_etaSec = -1;
    m_files.clear();
    m_folder = dir;
    m_startedNs = m_clock->nowNs();
    emit runningChanged();
    emit progressChanged();
    emit filesChanged();

    task.reader = card->reader();
    task.evidence = m_evidence;
    task.burnTime = m_burnTime;
    if (m_shareCopy) {
        // What a phone plays: one MP4 (a file per event in a batch).
        task.shareMb = m_shareMb;
        task.mp4 = true;
        task.merge = true;
    }
#ifdef NIVRA_HAVE_EVIDENCE
    if (task.evidence) {
        task.texts = evidenceTexts();
        if (m_bookmarks)
            for (const Bookmarks::Entry &b : m_bookmarks->entries())
                task.bookmarks.push_back({b.ms, b.note.toStdString()});
    }
#endif
    task.computerTime = card->timeMode() == CardSession::ComputerTime;
    task.folder = QDir::toNativeSeparators(dir).toUtf8();
    m_shell.start([this, task = std::move(task)] { runTask(this, task); }, this, [this] { takeHandOver(); });
    return true;
}

void ExportJob::cancel()
{
    m_shell.requestStop();
}

void ExportJob::onCardClosing()
{
    // The reader goes away after this returns: stop the worker first.
    m_shell.stop();
}

// Worker thread: runs the writer and hands everything back through
// handOver(). It reads only the task, the cancel flag and the reader.
void ExportJob::runTask(ExportJob *job, const Task &task)
{
    ExportOptions options{};
    options.merge = task.merge ? 1 : 0;
    options.container = task.mp4 ? 1 : 0;
    options.audio = task.audio ? 1 : 0;
    options.timeTrack = task.timeTrack ? 1 : 0;
    options.folder = task.folder.constData();
    options.prefix = "NIVRA";
    options.utcOffset = task.computerTime ? computerOffset : nullptr;
    options.utcOffsetContext = nullptr;
    options.progress = [](void *context, uint64_t done, int64_t total) -> int {
        auto *run = static_cast<WorkerRun *>(context);
        auto *self = run->job;
        {
            std::lock_guard<std::mutex> lock(self->m_shell.mutex());
            self->m_hand.progress = true;
            self->m_hand.done = run->base + qint64(done);
            // One range may find more than its estimate; a batch keeps its sum.
            if (total != 0 && run->single)
                self->m_hand.total = total;
        }
        // The writer reports every frame: the window takes the figures at
        // a progress bar's pace, so that its event loop stays free for the
        // picture and the user. Files and the end go at once.
        const qint64 now = Clock::steady().nowNs();
        if (now - self->m_progressHandedNs >= kProgressEveryNs) {
            self->m_progressHandedNs = now;
            self->m_shell.handBack();
        }
        return self->m_shell.stopping() ? 1 : 0;
    };
    options.fileDone = [](void *context, const char *path, const ExportFileInfo *info) {
        const QString file = QString::fromUtf8(path);
        auto *run = static_cast<WorkerRun *>(context);
#ifdef NIVRA_HAVE_EVIDENCE
        run->clips.push_back({path, info->firstMs, info->lastMs, info->videoDurationMs, info->offsetMin,
                              std::vector<uint16_t>(info->segments, info->segments + info->segmentCount)});
#else
        Q_UNUSED(info);
#endif
        auto *self = run->job;
        WorkerThread::Lock lock = self->m_shell.lock();
        self->m_hand.files.append(file);
        const int mine = ++self->m_filesReported;
        lock.unlock();
        self->m_shell.handBack();
        // Run at most one file ahead of the window: a cancel made on seeing
        // a file listed then stops before the next one is written.
        lock.lock();
        self->m_shell.wait(lock, [self, mine] { return self->m_filesDelivered >= mine; });
    };
    options.runLost = [](void *context, const ExportLostRun *lost) {
        static_cast<WorkerRun *>(context)->lost.push_back(*lost);
    };
    WorkerRun run;
    run.job = job;
    run.single = task.pieces.size() == 1;
    options.context = &run;

    // The pieces in turn, as nivra-card's events-export writes them: a
    // failure or a cancel ends the batch and keeps the files so far. A piece
    // that wrote nothing of what it planned is lost, and named.
    ExportResult result{};
    int code = EXPORT_NOTHING;
    for (const Task::Piece &piece : task.pieces) {
        ExportResult one{};
        options.expectedBytes = piece.bytes;
#ifdef NIVRA_HAVE_RECODE
        // A share copy's bit rate follows its piece's length.
        std::unique_ptr<recode::Coder> coder;
        recode::Settings settings;
        // A piece too long for the size was refused before the start.
        if ((task.burnTime || task.shareMb > 0) &&
            recode::copySettings(task.burnTime, task.shareMb, piece.toMs - piece.fromMs, task.mp4,
                                 &settings)) {
            coder = std::make_unique<recode::Coder>(settings);
            options.coder = coder->hook();
        }
#endif
        const int rc = exportRange(task.reader, nullptr, piece.fromMs, piece.toMs, &options, &one);
        // What was read, not what was expected: the progress never goes back.
        run.base += qint64(one.bytes);
        exportResultAdd(&result, &one);
        if (rc == EXPORT_OK) {
            code = EXPORT_OK;
        } else if (rc != EXPORT_NOTHING) {
            code = rc;
            std::memcpy(result.message, one.message, sizeof(result.message));
            break;
        }
    }
    const QString message =
        QString::fromUtf8(result.message, int(strnlen(result.message, sizeof(result.message))));
    int evidenceCode = 0;
    QString evidenceMessage;
    QStringList evidenceFiles;
#ifdef NIVRA_HAVE_EVIDENCE
    // The package comes after the files, and only for an export that wrote
    // what it planned: a package must not vouch for a partial copy.
    if (task.evidence && code == EXPORT_OK && run.lost.empty()) {
        evidence::Request req;
        // Read only, like the export: the writer's rule for the worker.
        req.card = const_cast<card_reader *>(task.reader);
        req.folder = task.folder.toStdString();
        req.fromMs = task.fromMs;
        req.toMs = task.toMs;
        req.clips = run.clips;
        req.computerOffset = computerOffsetAt;
        req.version = NIVRA_VERSION;
        req.texts = task.texts;
        req.bookmarks = task.bookmarks;
        req.context = job;
        req.progress = [](void *context, int, int) -> int {
            return static_cast<ExportJob *>(context)->m_shell.stopping() ? 1 : 0;
        };
        evidence::Result made;
        evidenceCode = evidence::write_package(req, &made);
        evidenceMessage = QString::fromStdString(made.message);
        if (evidenceCode == evidence::EVIDENCE_OK)
            evidenceFiles << QString::fromStdString(made.report) << QString::fromStdString(made.manifest);
        else if (evidenceCode == evidence::EVIDENCE_CANCELLED)
            code = EXPORT_CANCELLED;
    } else if (task.evidence && code == EXPORT_OK) {
        evidenceCode = kEvidenceRefused;
    }
#endif
    job->handOver([&](HandOver &hand) {
        hand.files << evidenceFiles;
        hand.evidenceCode = evidenceCode;
        hand.evidenceMessage = evidenceMessage;
        hand.finished = true;
        hand.code = code;
        hand.message = message;
        hand.audioLeftOut = result.audioLeftOut != 0;
        hand.fileCount = result.files;
        hand.skippedFrames = result.skippedFrames;
        hand.lost = run.lost;
    });
}

// Worker thread: records a report under the lock for the GUI thread to
// take. Only a wake-up crosses Qt's event queue; the data crosses under the
// shell's lock.
void ExportJob::handOver(const std::function<void(HandOver &)> &update)
{
    {
        std::lock_guard<std::mutex> lock(m_shell.mutex());
        update(m_hand);
    }
    m_shell.handBack();
}

// GUI thread: delivers the reports in the order the worker made them:
// progress, finished files, then the outcome.
void ExportJob::takeHandOver()
{
    HandOver hand;
    {
        std::lock_guard<std::mutex> lock(m_shell.mutex());
        hand = std::move(m_hand);
        m_hand = HandOver{};
    }
    if (hand.progress)
        onProgress(hand.done, hand.total);
    for (const QString &file : std::as_const(hand.files))
        onFileDone(file);
    // Only now, after the signals: what their handlers decided (a cancel)
    // is seen by the worker before it writes on.
    if (!hand.files.isEmpty()) {
        {
            std::lock_guard<std::mutex> lock(m_shell.mutex());
            m_filesDelivered += int(hand.files.size());
        }
        m_shell.wake();
    }
    if (hand.finished)
        onFinished(hand);
}

void ExportJob::onProgress(qint64 done, qint64 total)
{
    m_doneBytes = done;
    if (total != 0)
        m_totalBytes = total;
    m_etaSec =
        exportEtaSeconds(m_doneBytes, m_totalBytes, (m_clock->nowNs() - m_startedNs) / 1000000, m_etaSec);
    emit progressChanged();
}

void ExportJob::onFileDone(const QString &path)
{
    m_files.append(path);
    emit filesChanged();
}

QString ExportJob::folderOnCardText()
{
    return tr("This folder is on the card, which is never written to. Choose a folder elsewhere.");
}

QString ExportJob::clockText(qint64 utcMs) const
{
    if (m_card && m_card->isOpen())
        return m_card->formatClock(utcMs, true);
    return QDateTime::fromMSecsSinceEpoch(utcMs).toString(QStringLiteral("HH:mm:ss"));
}

QString ExportJob::outcomeText() const
{
    if (m_folderOnCard)
        return folderOnCardText();
    if (!m_refusal.isEmpty())
        return m_refusal;
    if (!m_unmadeFolder.isEmpty())
        return tr("Cannot create the folder %1").arg(QDir::toNativeSeparators(m_unmadeFolder.trimmed()));
    const HandOver &hand = m_outcome;
    switch (hand.code) {
    case EXPORT_OK:
    case EXPORT_NOTHING: {
        QStringList lines;
        if (hand.code == EXPORT_OK && hand.audioLeftOut)
            lines << tr("The audio format of these recordings is not supported: the files have no sound.");
        // The files are sound, but the user must not take them for the whole plan.
        if (!hand.lost.empty()) {
            lines << tr("Not written whole (the recordings are damaged or could not be read):");
            constexpr size_t kListed = 5;
            for (size_t i = 0; i < hand.lost.size() && i < kListed; ++i) {
                const ExportLostRun &l = hand.lost[i];
                lines << tr("%1 \u2013 %2: %3 of %4 written")
                             .arg(clockText(l.startMs), clockText(l.endMs), nivra::durationText(l.writtenMs),
                                  nivra::durationText(l.endMs - l.startMs));
            }
            if (hand.lost.size() > kListed)
                lines << tr("and %n more", "", int(hand.lost.size() - kListed));
        }
        if (hand.skippedFrames > 0)
            lines << tr("Damaged frames left out: %1.").arg(hand.skippedFrames);
        if (hand.evidenceCode == kEvidenceRefused)
            lines << tr("No evidence package was written: the files do not hold the whole range.");
        else if (hand.evidenceCode != 0)
            lines << tr("The evidence package could not be written (%1).")
                         .arg(QDir::toNativeSeparators(hand.evidenceMessage));
        return lines.join(QLatin1Char('\n'));
    }
    case EXPORT_CANCELLED:
        return QString();
    case EXPORT_ERR_MP4_ALAW:
        return tr(
            "MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out.");
    case EXPORT_ERR_WRITE:
        return tr("Cannot write %1. Check that the folder is writable and the disk has enough space.")
            .arg(QDir::toNativeSeparators(hand.message));
    case EXPORT_ERR_CODEC:
        return tr("The video format of these recordings is not recognised.");
    case EXPORT_ERR_RECODE:
        return tr("The video could not be re-coded (%1).").arg(hand.message);
    case CARD_ERR_READ:
        return tr("Reading the recordings failed. Is the card still connected?");
    default:
        return m_outcomeCancelled
                   ? QString()
                   : tr("Export failed (%1).").arg(QString::fromUtf8(exportErrorName(hand.code)));
    }
}

void ExportJob::onFinished(const HandOver &hand)
{
    m_folderOnCard = false;
    // The worker's last act was this report: it ends now.
    const bool cancelled = m_shell.stopping();
    m_shell.stop();

    Status status = Failed;
    switch (hand.code) {
    case EXPORT_OK:
        status = Done;
        break;
    case EXPORT_NOTHING:
        // Planned recordings that could not be read are no "nothing to export".
        status = hand.lost.empty() ? Nothing : Failed;
        break;
    case EXPORT_CANCELLED:
        status = Cancelled;
        break;
    default:
        break;
    }
    // A package asked for and not written is a failure of the whole.
    if (status == Done && hand.evidenceCode != 0)
        status = Failed;
    if (status == Failed && cancelled)
        status = Cancelled;
    m_outcome = hand;
    m_outcomeCancelled = status == Cancelled;

    m_running = false;
    emit runningChanged();
    emit progressChanged();
    emit finished(status, outcomeText(), hand.fileCount);
}

// ---- Folder helpers --------------------------------------------------------------------

qint64 ExportJob::freeBytes(const QString &dir) const
{
    return freeBytesAt(dir);
}

void ExportJob::reveal(const QString &path) const
{
    revealInFileManager(QDir::toNativeSeparators(path));
}

QString ExportJob::defaultFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::MoviesLocation) + QStringLiteral("/NIVRA Player");
}

QString ExportJob::nativePath(const QString &path) const
{
    return QDir::toNativeSeparators(path);
}

QString ExportJob::localPath(const QUrl &url) const
{
    return QDir::toNativeSeparators(url.toLocalFile());
}

QUrl ExportJob::folderUrl(const QString &path) const
{
    return QUrl::fromLocalFile(path);
}

} // namespace nivra
