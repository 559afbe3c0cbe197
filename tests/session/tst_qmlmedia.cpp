// The two types as QML uses them: registered in Nivra.Media the way the
// program registers them, created from QML, a plan asked for and handed to
// an export, properties and the finished signal read back in QML.
#include "session/card_session.h"
#include "session/export_job.h"
#include "simcard.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>
#include <QtQml>

#include <memory>

class TestQmlMedia : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void planAndExportFromQml();
};

void TestQmlMedia::initTestCase()
{
    qmlRegisterModule("Nivra.Media", 1, 0);
    qmlRegisterType<nivra::CardSession>("Nivra.Media", 1, 0, "CardSession");
    qmlRegisterType<nivra::ExportJob>("Nivra.Media", 1, 0, "ExportJob");
}

void TestQmlMedia::planAndExportFromQml()
{
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQml
        import Nivra.Media
        QtObject {
            property CardSession session: CardSession { timeMode: 1 }
            property ExportJob job: ExportJob {}
            property int status: -1
            property int files: -1
            property var plan: ({})
            property bool recording: session.timeMode === CardSession.RecordingTime
            function run(path, folder) {
                if (!session.openPath(path))
                    return false
                plan = session.exportPlan(session.firstPlayableMs, session.firstPlayableMs + 4999)
                if (!plan.ok)
                    return false
                return job.start(session, plan.startMs, plan.endMs, false, true, folder, plan.bytes)
            }
            property Connections watcher: Connections {
                target: job
                function onFinished(s, message, count) { status = s; files = count }
            }
        })",
                      QUrl());
    std::unique_ptr<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));
    QCOMPARE(root->property("recording").toBool(), false);

    nivra::test::TempDir out("qmlmedia");
    QVariant started;
    QVERIFY(QMetaObject::invokeMethod(root.get(), "run", Q_RETURN_ARG(QVariant, started),
                                      Q_ARG(QVariant, QStringLiteral(SMALL_CARD)),
                                      Q_ARG(QVariant, QString::fromStdString(out.path()))));
    QVERIFY(started.toBool());
    QTRY_COMPARE_WITH_TIMEOUT(root->property("status").toInt(), int(nivra::ExportJob::Done), 30000);
    QCOMPARE(root->property("files").toInt(), 1);
    auto *job = qvariant_cast<nivra::ExportJob *>(root->property("job"));
    QVERIFY(job);
    const QVariantMap plan = root->property("plan").toMap();
    QCOMPARE(QFileInfo(job->files().value(0)).fileName(),
             plan.value(QStringLiteral("names")).toList().value(0).toString());
}

QTEST_GUILESS_MAIN(TestQmlMedia)
#include "tst_qmlmedia.moc"
