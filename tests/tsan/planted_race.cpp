// A program that races on purpose, for the ThreadSanitizer build only. It
// hands many values from a worker thread to the event loop the way our
// workers do (queued lambdas carrying captures), which is what the
// suppressions are for, and once writes a field after handing it over,
// which is a real race in our own code. The test around it requires the
// sanitizer to report exactly that one race with the suppressions in force.
#include <QCoreApplication>
#include <QMetaObject>
#include <QString>

#include <atomic>
#include <thread>

namespace {

struct Shared
{
    int value = 0;
};

// Kept out of line so the report names them.
[[gnu::noinline]] void plantedWrite(Shared *shared)
{
    shared->value = 42;
}

[[gnu::noinline]] int plantedRead(const Shared *shared)
{
    return shared->value;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Shared shared;
    std::atomic<int> received{0};
    constexpr int handOvers = 2000;
    int sum = 0;

    std::thread worker([&] {
        for (int i = 0; i < handOvers; ++i) {
            const QString text = QString::number(i);
            QMetaObject::invokeMethod(
                &app, [&received, text] { received.fetch_add(int(text.size()) > 0 ? 1 : 0); },
                Qt::QueuedConnection);
        }
        // The race: the lambda below may already be reading while this writes.
        QMetaObject::invokeMethod(
            &app,
            [&app, &shared, &sum] {
                sum = plantedRead(&shared);
                app.quit();
            },
            Qt::QueuedConnection);
        plantedWrite(&shared);
    });
    app.exec();
    worker.join();
    return received.load() == handOvers ? 0 : 3;
}
