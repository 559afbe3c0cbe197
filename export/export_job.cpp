#include "export/export_job.h"

#include "export/export_writer.h"
#include "export/folder_space.h"
#include "session/card_session.h"
#include "session/time_zone.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cmath>
#include <cstring>
#include <limits>
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
    bool computerTime = false;
    QByteArray folder; // UTF-8, native separators
    bool mp4 = false;
};

namespace {

constexpr qint64 kProgressEveryNs = 40 * 1000000LL;

// The worker's context for the writer's callbacks: the pieces before the
// current one count towards the progress.
struct WorkerRun
{
    ExportJob *job = nullptr;
    qint64 base = 0;
    bool single = true; // one range: the writer's own total stands
};

int32_t computerOffset(uint32_t utcSeconds, void *, const ExportOptions *)
{
    return systemOffsetSeconds(qint64(utcSeconds) * 1000);
}

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

ExportJob::ExportJob(QObject *parent) : QObject(parent)
{}

ExportJob::~ExportJob()
{
    // The worker reports into this object's members: stop it first.
    m_shell.stop();
}

double ExportJob::progress() const
{
    if (m_totalBytes <= 0)
        return 0.0;
    return qMin(1.0, double(m_doneBytes) / double(m_totalBytes));
}

bool ExportJob::start(CardSession *card, qint64 fromMs, qint64 toMs, bool merge, bool audio,
                      const QString &dir, qint64 estimatedBytes, int format)
{
    if (m_running || !card || !card->reader() || toMs < fromMs || fromMs < 0)
        return false;
    Task task;
    task.pieces.push_back({fromMs, toMs, estimatedBytes < 1 ? 0 : estimatedBytes});
    task.merge = merge;
    task.audio = audio;
    task.mp4 = format == 1;
    return launch(card, std::move(task), dir);
}

bool ExportJob::startEvents(CardSession *card, qint64 fromMs, qint64 toMs, int kinds, int padSeconds,
                            bool audio, const QString &dir, int format)
{
    if (m_running || !card || !card->reader() || toMs < fromMs || fromMs < 0 || padSeconds < 0)
        return false;
    const std::vector<ExportEventPiece> pieces = card->eventPieces(fromMs, toMs, kinds, padSeconds);
    if (pieces.empty()) {
        emit finished(Nothing, QString(), 0);
        return false;
    }
    Task task;
    for (const ExportEventPiece &piece : pieces)
        task.pieces.push_back({piece.fromMs, piece.toMs, qint64(piece.bytes)});
    // One file per event (or overlapping events), across any gap inside.
    task.merge = true;
    task.audio = audio;
    task.mp4 = format == 1;
    return launch(card, std::move(task), dir);
}

bool ExportJob::launch(CardSession *card, Task task, const QString &dir)
{
    m_shell.stop(); // the previous export's thread has already ended

    if (dir.isEmpty() || !QDir().mkpath(dir)) {
        emit finished(Failed, tr("Cannot create the folder %1").arg(QDir::toNativeSeparators(dir)), 0);
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
    m_progressClock.start();
    m_progressHandedNs = 0;
    qint64 total = 0;
    for (const Task::Piece &piece : task.pieces)
        total += piece.bytes;
    m_running = true;
    m_doneBytes = 0;
    m_totalBytes = total;
    m_etaSec = -1;
    m_files.clear();
    m_folder = dir;
    m_elapsed.start();
    emit runningChanged();
    emit progressChanged();
    emit filesChanged();

    task.reader = card->reader();
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
        const qint64 now = self->m_progressClock.nsecsElapsed();
        if (now - self->m_progressHandedNs >= kProgressEveryNs) {
            self->m_progressHandedNs = now;
            self->m_shell.handBack();
        }
        return self->m_shell.stopping() ? 1 : 0;
    };
    options.fileDone = [](void *context, const char *path, const ExportFileInfo *) {
        const QString file = QString::fromUtf8(path);
        auto *self = static_cast<WorkerRun *>(context)->job;
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
    WorkerRun run{job, 0, task.pieces.size() == 1};
    options.context = &run;

    // The pieces in turn, as nivra-card's events-export writes them: a
    // failure or a cancel ends the batch and keeps the files so far.
    ExportResult result{};
    int code = EXPORT_NOTHING;
    for (const Task::Piece &piece : task.pieces) {
        ExportResult one{};
        options.expectedBytes = piece.bytes;
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
    job->handOver([&](HandOver &hand) {
        hand.finished = true;
        hand.code = code;
        hand.message = message;
        hand.audioLeftOut = result.audioLeftOut != 0;
        hand.fileCount = result.files;
        hand.shortTime = exportShortfallMs(&result) > 0;
        hand.plannedMs = result.plannedMs;
        hand.writtenMs = result.writtenMs;
        hand.skippedFrames = result.skippedFrames;
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
    m_etaSec = exportEtaSeconds(m_doneBytes, m_totalBytes, m_elapsed.elapsed(), m_etaSec);
    emit progressChanged();
}

void ExportJob::onFileDone(const QString &path)
{
    m_files.append(path);
    emit filesChanged();
}

QString ExportJob::durationText(qint64 ms)
{
    const qint64 s = qMax<qint64>(0, ms) / 1000;
    if (s >= 3600)
        return tr("%1 h %2 min").arg(s / 3600).arg(s % 3600 / 60);
    // The window's own duration texts (qml/Format.js) and their translations.
    if (s >= 60)
        return QCoreApplication::translate("Format", "%1 min %2 s").arg(s / 60).arg(s % 60);
    return QCoreApplication::translate("Format", "%1 s").arg(s);
}

void ExportJob::onFinished(const HandOver &hand)
{
    // The worker's last act was this report: it ends now.
    const bool cancelled = m_shell.stopping();
    m_shell.stop();

    const int code = hand.code;
    const QString &message = hand.message;
    const int files = hand.fileCount;
    Status status = Failed;
    QString text;
    QStringList lines;
    switch (code) {
    case EXPORT_OK:
        status = Done;
        if (hand.audioLeftOut)
            lines << tr("The audio format of these recordings is not supported: the files have no sound.");
        // The files are sound, but the user must not take them for the whole range.
        if (hand.shortTime)
            lines << tr("Only %1 of the %2 recorded could be read: the recordings are damaged.")
                         .arg(durationText(hand.writtenMs), durationText(hand.plannedMs));
        if (hand.skippedFrames > 0)
            lines << tr("Damaged frames left out: %1.").arg(hand.skippedFrames);
        text = lines.join(QLatin1Char('\n'));
        break;
    case EXPORT_NOTHING:
        status = Nothing;
        break;
    case EXPORT_CANCELLED:
        status = Cancelled;
        break;
    case EXPORT_ERR_MP4_ALAW:
        text =
            tr("MP4 cannot keep the G.711 audio of these recordings. Export as MOV, or leave the audio out.");
        break;
    case EXPORT_ERR_WRITE:
        text = tr("Cannot write %1. Check that the folder is writable and the disk has enough space.")
                   .arg(QDir::toNativeSeparators(message));
        break;
    case EXPORT_ERR_CODEC:
        text = tr("The video format of these recordings is not recognised.");
        break;
    case CARD_ERR_READ:
        text = tr("Reading the recordings failed. Is the card still connected?");
        break;
    default:
        text = tr("Export failed (%1).").arg(QString::fromUtf8(exportErrorName(code)));
        break;
    }

    m_running = false;
    emit runningChanged();
    emit progressChanged();

    if (status == Failed && cancelled)
        status = Cancelled;
    emit finished(status, text, files);
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
