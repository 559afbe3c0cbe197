// bench_timeline [BIG_CARD [DEMO_CARD]]: how long TimelineItem takes to paint
// one 1440 x 96 frame and to rebuild its view at each zoom level, and how
// long a 60-step wheel zoom/pan sequence (each step repainted) takes, on
// the "big" card (thousands of short recordings) and the "demo" card.
// Without arguments both cards are written by nivra-cardgen into /tmp.
// Goals on a desktop: a paint under 1 ms, a rebuild under 2 ms (median).
#include "session/card_session.h"
#include "timeline/timeline_item.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1440;
constexpr int kHeight = 96;

qint64 utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate).toMSecsSinceEpoch();
}

struct Figures
{
    double median = 0;
    double worst = 0;
};

// Runs f n times and returns the median and worst time in microseconds.
Figures measure(int n, const std::function<void()> &f)
{
    std::vector<double> us;
    us.reserve(size_t(n));
    QElapsedTimer timer;
    for (int i = 0; i < n; ++i) {
        timer.start();
        f();
        us.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us.back()};
}

void paintOnce(TimelineItem &item, QImage &image)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    item.paint(&painter);
}

void sendWheel(QWindow *window, QPoint pos, QPoint angle, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent event(pos, window->mapToGlobal(pos), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QGuiApplication::sendEvent(window, &event);
}

void benchCard(const char *name, const QString &path, int year, int month, int day, qint64 focus)
{
    nivra::CardSession session;
    if (!session.openPath(path)) {
        std::printf("%s: cannot open %s: %s\n", name, qPrintable(path), qPrintable(session.errorString()));
        return;
    }
    QQuickWindow window;
    window.resize(kWidth, kHeight);
    TimelineItem *item = new TimelineItem(window.contentItem());
    item->setSize(QSizeF(kWidth, kHeight));
    item->setCard(&session);
    item->setDayStart(session.dayStartMs(year, month, day));
    item->setSelectionVisible(true);
    item->setSelection(focus - 20000, focus + 20000);
    item->setSelectionLabel(QStringLiteral("40 s"));
    item->setFollow(false);
    item->setPosition(focus);
    window.show();
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);

    std::printf("%s card (%zu recordings), %d x %d:\n", name, session.chunkRecords().size(), kWidth, kHeight);
    for (int zoom = 0; zoom <= 4; ++zoom) {
        const qint64 span = TimelineItem::spanOfZoom(zoom);
        item->setZoom(zoom);
        item->setViewStart(focus - span / 2);
        const Figures paint = measure(300, [&] { paintOnce(*item, image); });
        const Figures rebuild = measure(300, [&] { item->setViewStart(focus - span / 2); });
        std::printf(
            "  zoom %d (%6lld s): paint median %7.1f us worst %7.1f us | rebuild median %7.1f us worst "
            "%7.1f us%s\n",
            zoom, span / 1000, paint.median, paint.worst, rebuild.median, rebuild.worst,
            item->showingTicks() ? "  (key frames drawn)" : "");
    }

    // 60 wheel steps under the pointer: zoom in to the finest level and out
    // again, with pans in between, each step followed by a paint.
    item->setZoom(0);
    const QPoint pointer(int(item->xForTime(focus)), 50);
    const Figures sequence = measure(20, [&] {
        for (int step = 0; step < 60; ++step) {
            const int phase = step % 12;
            if (phase < 4)
                sendWheel(&window, pointer, QPoint(0, 120), Qt::NoModifier);
            else if (phase < 8)
                sendWheel(&window, pointer, QPoint(0, -120), Qt::NoModifier);
            else
                sendWheel(&window, pointer, QPoint(0, phase < 10 ? 120 : -120), Qt::ShiftModifier);
            paintOnce(*item, image);
        }
    });
    std::printf("  60-step wheel zoom/pan with repaints: median %.2f ms worst %.2f ms (%.1f us per step)\n",
                sequence.median / 1000.0, sequence.worst / 1000.0, sequence.median / 60.0);
}

int run(const std::string &command)
{
    const int rc = std::system(command.c_str());
    return rc == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);

    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/nivra-bench-timeline-XXXXXX"));
    QString big = argc > 1 ? QString::fromLocal8Bit(argv[1]) : work.filePath(QStringLiteral("big"));
    QString demo = argc > 2 ? QString::fromLocal8Bit(argv[2]) : work.filePath(QStringLiteral("demo"));
    const std::string cardgen = NIVRA_CARDGEN_PATH;
    for (const auto &[preset, dir] : {std::pair<const char *, QString>{"big", big}, {"demo", demo}}) {
        if (QFile::exists(dir + QStringLiteral("/index.dat")))
            continue;
        std::printf("writing the %s card ...\n", preset);
        std::fflush(stdout);
        if (run(cardgen + " --preset " + preset + " '" + dir.toStdString() + "' > /dev/null") != 0) {
            std::printf("nivra-cardgen failed\n");
            return 1;
        }
    }

    // The big card's ring keeps the last hours of 1 January; the demo's
    // first day has long recordings with events.
    benchCard("big", big, 2024, 1, 1, utc("2024-01-01T21:00:00Z"));
    benchCard("demo", demo, 2024, 5, 12, utc("2024-05-12T06:41:30Z"));
    return 0;
}
