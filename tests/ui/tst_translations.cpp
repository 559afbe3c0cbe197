// The program in each of its languages under Xvfb: nothing cut off, clipped
// or outside the window at the smallest and the default size, the right
// font family, and a language switch that retranslates the open window.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    bool finished = false;
    QStringList lines; // every AUTOTEST line, without the prefix

    QStringList starting(const QString &prefix) const
    {
        QStringList found;
        for (const QString &line : lines) {
            if (line.startsWith(prefix))
                found << line;
        }
        return found;
    }
};

// One "| name value" field of a log line; empty when absent.
QString field(const QString &line, const QString &name)
{
    for (const QString &part : line.split(QStringLiteral(" | "))) {
        if (part.startsWith(name + QLatin1Char(' ')))
            return part.mid(name.size() + 1);
    }
    return {};
}

// The pixels that differ in the given rectangle of two pictures, by more
// than the last bits that blending varies between runs: their number and
// their bounding box.
struct Difference
{
    qint64 count = 0;
    QRect box;
};

Difference difference(const QImage &a, const QImage &b, const QRect &rect)
{
    Difference d;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) > 8 || qAbs(qGreen(p) - qGreen(q)) > 8 ||
                qAbs(qBlue(p) - qBlue(q)) > 8) {
                ++d.count;
                d.box |= QRect(x, y, 1, 1);
            }
        }
    }
    return d;
}

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private:
    // Starts in the language given by NIVRA_LANG, or by the stored setting
    // when stored is true (as if picked in an earlier run).
    Run run(const QString &language, const QString &script, bool stored = false,
            const QString &card = QStringLiteral(DEMO_CARD));

    QTemporaryDir m_config;
    QString m_shots;

private slots:
    void initTestCase();
    void layoutFits_data();
    void layoutFits();
    void switchRetranslates();
};

Run tst_Translations::run(const QString &language, const QString &script, bool stored, const QString &card)
{
    QTemporaryDir config; // a fresh settings store for every run
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    if (stored) {
        env.remove(QStringLiteral("NIVRA_LANG"));
        QDir(config.path()).mkpath(QStringLiteral("NIVRA"));
        QFile file(config.filePath(QStringLiteral("NIVRA/NIVRA Player.conf")));
        if (file.open(QIODevice::WriteOnly))
            file.write("[ui]\nlanguage=" + language.toUtf8() + "\n");
    } else {
        env.insert(QStringLiteral("NIVRA_LANG"), language);
    }
    env.insert(QStringLiteral("NIVRA_THEME"), QStringLiteral("light"));
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(NIVRA_PLAYER_PATH), {QStringLiteral("--autotest"), script, card});
    Run result;
    result.finished = process.waitForFinished(120000);
    if (!result.finished) {
        process.kill();
        process.waitForFinished();
    }
    const QStringList lines = QString::fromUtf8(process.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("AUTOTEST ")))
            result.lines << line.mid(9).trimmed();
    }
    if (result.lines.isEmpty())
        qWarning().noquote() << lines.join(QLatin1Char('\n'));
    return result;
}

void tst_Translations::initTestCase()
{
    // Pictures of an earlier run must not stand in for missing ones.
    m_shots = QStringLiteral(LAYOUT_SHOTS);
    QDir(m_shots).removeRecursively();
    QVERIFY(QDir().mkpath(m_shots));
}

// Each row: a language and the font family its labels must resolve to.
void tst_Translations::layoutFits_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("family");

    const struct
    {
        const char *language;
        const char *family;
    } rows[] = {{"en", "Inter"}, {"de", "Inter"},
                {"fr", "Inter"}, {"it", "Inter"},
                {"es", "Inter"}, {"ja", "Noto Sans CJK JP"},
                {"nl", "Inter"}, {"zh_Hans", "Noto Sans CJK SC"}};
    for (const auto &row : rows)
        QTest::newRow(row.language) << QString::fromLatin1(row.language) << QString::fromLatin1(row.family);
}

// The main window (also with the picture zoomed), the export editor with
// fewer and with more options and for the events of the day, the
// settings dialog and the list of keys, at 1100 × 700 and 1440 × 920, one
// run per language, each also with every one of its drop-downs open; and a
// day whose files are missing.
void tst_Translations::layoutFits()
{
    QFETCH(QString, language);
    QFETCH(QString, family);

    QStringList script{QStringLiteral("decode sw")};
    QStringList missingScript{QStringLiteral("decode sw"), QStringLiteral("day 2024-2-28")};
    QStringList tags, pictured;
    for (const QString &size : {QStringLiteral("1100 700"), QStringLiteral("1440 920")}) {
        const QString prefix =
            language + QLatin1Char('-') + QString(size).replace(QLatin1Char(' '), QLatin1Char('x'));
        const auto check = [&](const QString &view) {
            const QString tag = prefix + QLatin1Char('-') + view;
            tags << tag;
            pictured << tag;
            script << QStringLiteral("layoutcheck ") + tag
                   << QStringLiteral("shot %1/%2.png").arg(m_shots, tag);
        };
        // Each drop-down of the view opened in turn, checked with its menu.
        const auto checkMenus = [&](const QString &view, const QStringList &boxes) {
            for (const QString &box : boxes) {
                const QString tag = prefix + QLatin1Char('-') + view + QLatin1Char('-') + box;
                tags << tag;
                script << QStringLiteral("menu ") + box << QStringLiteral("layoutcheck ") + tag
                       << QStringLiteral("menuclose");
            }
        };
        script << QStringLiteral("size ") + size;
        check(QStringLiteral("main"));
        checkMenus(QStringLiteral("main"), {QStringLiteral("timeModeBox"), QStringLiteral("speedBox"),
                                            QStringLiteral("filterBox"), QStringLiteral("openButton")});
        script << QStringLiteral("exportdlg") << QStringLiteral("exportmore off");
        check(QStringLiteral("export"));
        checkMenus(QStringLiteral("export"), {QStringLiteral("formatField"), QStringLiteral("gapsField")});
        script << QStringLiteral("exportmore on");
        check(QStringLiteral("export-more"));
        script << QStringLiteral("exportkind events");
        check(QStringLiteral("export-events"));
        checkMenus(QStringLiteral("export-events"), {QStringLiteral("padField")});
        script << QStringLiteral("exportkind range") << QStringLiteral("exportclose")
               << QStringLiteral("vzoom 2 0.5 0.5");
        check(QStringLiteral("zoomed"));
        script << QStringLiteral("vzoom 1") << QStringLiteral("settings");
        check(QStringLiteral("settings"));
        checkMenus(QStringLiteral("settings"), {QStringLiteral("languageBox"), QStringLiteral("themeBox"),
                                                QStringLiteral("timeBox"), QStringLiteral("gapsBox")});
        script << QStringLiteral("settingsclose") << QStringLiteral("keys");
        check(QStringLiteral("keys"));
        script << QStringLiteral("keysclose");

        const QString missing = prefix + QStringLiteral("-missing");
        missingScript << QStringLiteral("size ") + size << QStringLiteral("layoutcheck ") + missing
                      << QStringLiteral("shot %1/%2.png").arg(m_shots, missing);
    }
    script << QStringLiteral("fonts") << QStringLiteral("quit");
    missingScript << QStringLiteral("quit");

    const Run r = run(language, script.join(QStringLiteral("; ")));
    QVERIFY(r.finished);
    Run missingRun =
        run(language, missingScript.join(QStringLiteral("; ")), false, QStringLiteral(MIDNIGHT_CARD));
    QVERIFY(missingRun.finished);
    for (const QString &size : {QStringLiteral("1100x700"), QStringLiteral("1440x920")}) {
        tags << language + QLatin1Char('-') + size + QStringLiteral("-missing");
        pictured << tags.last();
    }
    const QStringList menuNotFound = r.starting(QStringLiteral("menu not found"));
    QVERIFY2(menuNotFound.isEmpty(), qPrintable(menuNotFound.join(QLatin1Char('\n'))));
    const QStringList steps = r.starting(QStringLiteral("fonts |"));
    QCOMPARE(steps.size(), 1);
    QCOMPARE(field(steps.first(), QStringLiteral("lang")), language);

    // Every view checked and pictured; all findings of the run reported at once.
    QStringList findings;
    for (const QString &tag : tags) {
        const QString head = QStringLiteral("layout ") + tag + QLatin1Char(' ');
        const QStringList lines = r.starting(head) + missingRun.starting(head);
        QVERIFY2(!lines.isEmpty() && lines.last().startsWith(head + QStringLiteral("findings ")),
                 qPrintable(tag));
        if (lines.last() != head + QStringLiteral("findings 0"))
            findings << lines;
        if (pictured.contains(tag))
            QVERIFY2(!QImage(QStringLiteral("%1/%2.png").arg(m_shots, tag)).isNull(), qPrintable(tag));
    }
    QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));

    // "fonts window F | label F | setting F | F faces: … | asked 400 -> F 'Regular' weight 400 | …"
    const QStringList fonts = r.starting(QStringLiteral("fonts window "));
    QCOMPARE(fonts.size(), 1);
    QCOMPARE(field(fonts.first(), QStringLiteral("label")), family);
    QCOMPARE(field(fonts.first(), QStringLiteral("setting")), family);
    const QRegularExpression asked(QStringLiteral("asked (\\d+) -> (.+?) '"));
    auto it = asked.globalMatch(fonts.first());
    int resolved = 0;
    while (it.hasNext()) {
        const auto match = it.next();
        QCOMPARE(match.captured(2), family);
        ++resolved;
    }
    QCOMPARE(resolved, 3);
}

// Picking German with the export editor and the settings dialog open gives
// the same dialog as starting with German already picked, and the editor's
// summary follows.
void tst_Translations::switchRetranslates()
{
    const QString before = m_shots + QStringLiteral("/switch-en.png");
    const QString after = m_shots + QStringLiteral("/switch-de-live.png");
    const QString started = m_shots + QStringLiteral("/switch-de-started.png");
    const QString opened = QStringLiteral("decode sw; size 1100 700; exportdlg; settings; ");
    const Run live =
        run(QStringLiteral("en"),
            opened + QStringLiteral("exportinfo; dayinfo; shot %1; lang de; wait 0.5; exportinfo; dayinfo; "
                                    "shot %2; quit")
                         .arg(before, after));
    const Run german =
        run(QStringLiteral("de"),
            opened + QStringLiteral("wait 0.5; exportinfo; dayinfo; shot %1; quit").arg(started), true);
    QVERIFY(live.finished);
    QVERIFY(german.finished);

    const QStringList info = live.starting(QStringLiteral("exportinfo |"));
    const QStringList germanInfo = german.starting(QStringLiteral("exportinfo |"));
    QCOMPARE(info.size(), 2);
    QCOMPARE(germanInfo.size(), 1);
    QCOMPARE(field(info[0], QStringLiteral("lang")), QStringLiteral("en"));
    QCOMPARE(field(info[1], QStringLiteral("lang")), QStringLiteral("de"));
    const QStringList panel = live.starting(QStringLiteral("exportinfo open "));
    const QStringList germanPanel = german.starting(QStringLiteral("exportinfo open "));
    QCOMPARE(panel.size(), 2);
    QCOMPARE(germanPanel.size(), 1);
    const QString summary = field(panel[1], QStringLiteral("summary"));
    QVERIFY2(field(panel[0], QStringLiteral("summary")).startsWith(QStringLiteral("Recorded ")),
             qPrintable(panel[0]));
    QVERIFY2(summary.startsWith(QStringLiteral("Aufnahme ")), qPrintable(panel[1]));
    QCOMPARE(summary, field(germanPanel[0], QStringLiteral("summary")));
    // The date on the picture names its month anew ("14 May 2024" in the
    // C locale's order).
    const QRegularExpression dayInfo(QStringLiteral("^dayinfo [^|]"));
    const QStringList shown = live.lines.filter(dayInfo);
    const QStringList germanShown = german.lines.filter(dayInfo);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(germanShown.size(), 1);
    QVERIFY2(field(shown[0], QStringLiteral("shown")).startsWith(QStringLiteral("14 May 2024 ")),
             qPrintable(shown[0]));
    QCOMPARE(field(shown[1], QStringLiteral("shown")), field(germanShown[0], QStringLiteral("shown")));
    QVERIFY2(field(shown[1], QStringLiteral("shown")).startsWith(QStringLiteral("14 Mai 2024 ")),
             qPrintable(shown[1]));

    // The dialog is 720 px wide and centred; compare its inside.
    const QImage en(before), de(after), reference(started);
    QVERIFY(!en.isNull() && !de.isNull() && !reference.isNull());
    QCOMPARE(de.size(), en.size());
    QCOMPARE(reference.size(), en.size());
    const QRect dialog((en.width() - 720) / 2 + 2, 24, 716, en.height() - 48);
    QVERIFY2(difference(en, de, dialog).count > dialog.width() * dialog.height() / 100,
             "the dialog did not change with the language");
    const Difference d = difference(de, reference, dialog);
    QVERIFY2(d.count == 0, qPrintable(QStringLiteral("%1 pixels differ in %2,%3 %4×%5")
                                          .arg(d.count)
                                          .arg(d.box.x())
                                          .arg(d.box.y())
                                          .arg(d.box.width())
                                          .arg(d.box.height())));
}

QTEST_GUILESS_MAIN(tst_Translations)
#include "tst_translations.moc"
