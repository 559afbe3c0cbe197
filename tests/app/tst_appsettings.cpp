#include "app/app_settings.h"
#include "decode/decoder.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaProperty>
#include <QPalette>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Every test gets its own settings store in a fresh folder.
class tst_AppSettings : public QObject
{
    Q_OBJECT

private:
    QString storeFile() const { return m_dir->filePath(QStringLiteral("NIVRA/NIVRA Player.conf")); }
    void seed(const QString &key, const QVariant &value);
    // What the store file on disk holds for the key (read from a copy, so
    // nothing cached in this process answers).
    QVariant onDisk(const QString &key) const;

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void initTestCase();
    void init();
    void readingRules_data();
    void readingRules();
    void setters_data();
    void setters();
    void languageOverride_data();
    void languageOverride();
    void themeOverride();
    void palettes_data();
    void palettes();
    void languageProperties_data();
    void languageProperties();
    void systemLanguageRule_data();
    void systemLanguageRule();
    void systemLocale_data();
    void systemLocale();
    void hardwareDecodeSummary_data();
    void hardwareDecodeSummary();
    void decodePolicyReachesDecoderSelection();
    void licenceTextOrderAndSeparators();
    void fontReport_data();
    void fontReport();
    void anyKeyValue();
    void recentCardRules_data();
    void recentCardRules();
    void recentCardsAreStored();
    void localFolder_data();
    void localFolder();
    void translationsLoadAndRetranslate_data();
    void translationsLoadAndRetranslate();
};

void tst_AppSettings::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("NIVRA"));
    QCoreApplication::setApplicationName(QStringLiteral("NIVRA Player"));
    for (const char *face : {"Regular", "Medium", "SemiBold", "Bold"})
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/Inter-%1.ttf").arg(QLatin1String(face)));
    qunsetenv("NIVRA_THEME");
    qunsetenv("NIVRA_DECODE");
}

void tst_AppSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir->path());
    qunsetenv("NIVRA_THEME");
}

void tst_AppSettings::seed(const QString &key, const QVariant &value)
{
    QSettings store;
    QCOMPARE(store.fileName(), storeFile());
    store.setValue(key, value);
    store.sync();
}

QVariant tst_AppSettings::onDisk(const QString &key) const
{
    const QString copy =
        m_dir->filePath(QStringLiteral("copy-%1.ini").arg(QDateTime::currentMSecsSinceEpoch()));
    QFile::remove(copy);
    if (!QFile::copy(storeFile(), copy))
        return QVariant();
    const QVariant value = QSettings(copy, QSettings::IniFormat).value(key);
    QFile::remove(copy);
    return value;
}

void tst_AppSettings::readingRules_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored"); // invalid: nothing stored
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expected");

    const QVariant none;
    QTest::newRow("language default") << "ui/language" << none << QByteArray("language") << QVariant("");
    QTest::newRow("language fr") << "ui/language" << QVariant("fr") << QByteArray("language")
                                 << QVariant("fr");
    QTest::newRow("language zh_Hans")
        << "ui/language" << QVariant("zh_Hans") << QByteArray("language") << QVariant("zh_Hans");
    QTest::newRow("language case counts")
        << "ui/language" << QVariant("FR") << QByteArray("language") << QVariant("");
    QTest::newRow("language unsupported")
        << "ui/language" << QVariant("pt") << QByteArray("language") << QVariant("");
    QTest::newRow("theme default") << "ui/theme" << none << QByteArray("theme") << QVariant("");
    QTest::newRow("theme ' Dark '") << "ui/theme" << QVariant(" Dark ") << QByteArray("theme")
                                    << QVariant("dark");
    QTest::newRow("theme LIGHT") << "ui/theme" << QVariant("LIGHT") << QByteArray("theme")
                                 << QVariant("light");
    QTest::newRow("theme other word")
        << "ui/theme" << QVariant("purple") << QByteArray("theme") << QVariant("");
    QTest::newRow("timeMode default") << "playback/timeMode" << none << QByteArray("timeMode") << QVariant(0);
    QTest::newRow("timeMode 1") << "playback/timeMode" << QVariant(1) << QByteArray("timeMode")
                                << QVariant(1);
    QTest::newRow("timeMode 2") << "playback/timeMode" << QVariant(2) << QByteArray("timeMode")
                                << QVariant(0);
    QTest::newRow("continuous default")
        << "playback/continuous" << none << QByteArray("continuous") << QVariant(true);
    QTest::newRow("continuous false")
        << "playback/continuous" << QVariant(false) << QByteArray("continuous") << QVariant(false);
    QTest::newRow("snap default") << "playback/snap" << none << QByteArray("snap") << QVariant(true);
    QTest::newRow("snap false") << "playback/snap" << QVariant(false) << QByteArray("snap")
                                << QVariant(false);
    // No valid choice stored: Linux decodes automatically, since many of its
    // desktops have no hardware decoder; Windows uses the graphics card.
#ifdef Q_OS_WIN
    const QVariant unchosen(1);
#else
    const QVariant unchosen(0);
#endif
    QTest::newRow("decodePolicy default")
        << "playback/decodePolicy" << none << QByteArray("decodePolicy") << unchosen;
    QTest::newRow("decodePolicy 0") << "playback/decodePolicy" << QVariant(0) << QByteArray("decodePolicy")
                                    << QVariant(0);
    QTest::newRow("decodePolicy 2") << "playback/decodePolicy" << QVariant(2) << QByteArray("decodePolicy")
                                    << QVariant(2);
    QTest::newRow("decodePolicy 1") << "playback/decodePolicy" << QVariant(1) << QByteArray("decodePolicy")
                                    << QVariant(1);
    QTest::newRow("decodePolicy 7") << "playback/decodePolicy" << QVariant(7) << QByteArray("decodePolicy")
                                    << unchosen;
    QTest::newRow("decodePolicy -1") << "playback/decodePolicy" << QVariant(-1) << QByteArray("decodePolicy")
                                     << unchosen;
    QTest::newRow("decodePolicy word")
        << "playback/decodePolicy" << QVariant("auto") << QByteArray("decodePolicy") << unchosen;
    QTest::newRow("checkUpdates default")
        << "update/check" << none << QByteArray("checkUpdates") << QVariant(true);
    QTest::newRow("checkUpdates false")
        << "update/check" << QVariant(false) << QByteArray("checkUpdates") << QVariant(false);
    QTest::newRow("exportFolder") << "export/folder" << QVariant("/media/out") << QByteArray("exportFolder")
                                  << QVariant("/media/out");
    QTest::newRow("exportMerge default")
        << "export/merge" << none << QByteArray("exportMerge") << QVariant(false);
    QTest::newRow("exportMerge true")
        << "export/merge" << QVariant(true) << QByteArray("exportMerge") << QVariant(true);
    QTest::newRow("exportFormat default")
        << "export/format" << none << QByteArray("exportFormat") << QVariant(0);
    QTest::newRow("exportFormat mp4")
        << "export/format" << QVariant("mp4") << QByteArray("exportFormat") << QVariant(1);
    QTest::newRow("exportFormat MOV")
        << "export/format" << QVariant("MOV") << QByteArray("exportFormat") << QVariant(0);
    QTest::newRow("exportFormat MP4")
        << "export/format" << QVariant("MP4") << QByteArray("exportFormat") << QVariant(0);
    QTest::newRow("exportNoAudio true")
        << "export/noAudio" << QVariant(true) << QByteArray("exportNoAudio") << QVariant(true);
    QTest::newRow("recentCards default")
        << "cards/recent" << none << QByteArray("recentCards") << QVariant(QStringList());
    QTest::newRow("recentCards cleaned, once each, five")
        << "cards/recent" << QVariant(QStringList{"/a/", "/b", "/a", "/c//d", "/e", "/f", "/g"})
        << QByteArray("recentCards") << QVariant(QStringList{"/a", "/b", "/c/d", "/e", "/f"});
}

void tst_AppSettings::readingRules()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expected);

    if (stored.isValid())
        seed(key, stored);
    AppSettings settings;
    QCOMPARE(settings.property(property.constData()), expected);
}

void tst_AppSettings::setters_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("before"); // set first when valid
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<int>("signalCount");
    QTest::addColumn<QString>("stored"); // the store afterwards; null: key never written

    const QVariant none;
    QTest::newRow("language de") << QByteArray("language") << QByteArray("languageChanged") << "ui/language"
                                 << none << QVariant("de") << QVariant("de") << 1 << "de";
    QTest::newRow("language unchanged")
        << QByteArray("language") << QByteArray("languageChanged") << "ui/language" << QVariant("fr")
        << QVariant("fr") << QVariant("fr") << 0 << "fr";
    QTest::newRow("language unsupported is empty")
        << QByteArray("language") << QByteArray("languageChanged") << "ui/language" << QVariant("fr")
        << QVariant("german") << QVariant("") << 1 << "";
    QTest::newRow("language unsupported unchanged")
        << QByteArray("language") << QByteArray("languageChanged") << "ui/language" << none << QVariant("xx")
        << QVariant("") << 0 << QString();
    QTest::newRow("theme ' Dark '") << QByteArray("theme") << QByteArray("themeChanged") << "ui/theme" << none
                                    << QVariant(" Dark ") << QVariant("dark") << 1 << "dark";
    QTest::newRow("theme unchanged") << QByteArray("theme") << QByteArray("themeChanged") << "ui/theme"
                                     << QVariant("light") << QVariant("LIGHT") << QVariant("light") << 0
                                     << "light";
    QTest::newRow("theme other word is empty")
        << QByteArray("theme") << QByteArray("themeChanged") << "ui/theme" << QVariant("dark")
        << QVariant("sepia") << QVariant("") << 1 << "";
    QTest::newRow("timeMode 1") << QByteArray("timeMode") << QByteArray("timeModeChanged")
                                << "playback/timeMode" << none << QVariant(1) << QVariant(1) << 1 << "1";
    QTest::newRow("timeMode 5 is 0") << QByteArray("timeMode") << QByteArray("timeModeChanged")
                                     << "playback/timeMode" << QVariant(1) << QVariant(5) << QVariant(0) << 1
                                     << "0";
    QTest::newRow("timeMode 5 unchanged")
        << QByteArray("timeMode") << QByteArray("timeModeChanged") << "playback/timeMode" << none
        << QVariant(5) << QVariant(0) << 0 << QString();
    QTest::newRow("continuous off") << QByteArray("continuous") << QByteArray("continuousChanged")
                                    << "playback/continuous" << none << QVariant(false) << QVariant(false)
                                    << 1 << "false";
    QTest::newRow("continuous unchanged")
        << QByteArray("continuous") << QByteArray("continuousChanged") << "playback/continuous" << none
        << QVariant(true) << QVariant(true) << 0 << QString();
    QTest::newRow("snap off") << QByteArray("snap") << QByteArray("snapChanged") << "playback/snap" << none
                              << QVariant(false) << QVariant(false) << 1 << "false";
    QTest::newRow("decodePolicy 2") << QByteArray("decodePolicy") << QByteArray("decodePolicyChanged")
                                    << "playback/decodePolicy" << none << QVariant(2) << QVariant(2) << 1
                                    << "2";
    QTest::newRow("decodePolicy 3 ignored")
        << QByteArray("decodePolicy") << QByteArray("decodePolicyChanged") << "playback/decodePolicy"
        << QVariant(2) << QVariant(3) << QVariant(2) << 0 << "2";
    // Nothing stored: the platform's first policy (automatic on Linux).
#ifdef Q_OS_WIN
    const QVariant unchosen(1);
#else
    const QVariant unchosen(0);
#endif
    QTest::newRow("decodePolicy -1 ignored")
        << QByteArray("decodePolicy") << QByteArray("decodePolicyChanged") << "playback/decodePolicy" << none
        << QVariant(-1) << unchosen << 0 << QString();
    QTest::newRow("checkUpdates off")
        << QByteArray("checkUpdates") << QByteArray("checkUpdatesChanged") << "update/check" << none
        << QVariant(false) << QVariant(false) << 1 << "false";
    QTest::newRow("exportFolder") << QByteArray("exportFolder") << QByteArray("exportChanged")
                                  << "export/folder" << none << QVariant("/media/out")
                                  << QVariant("/media/out") << 1 << "/media/out";
    QTest::newRow("exportFolder unchanged")
        << QByteArray("exportFolder") << QByteArray("exportChanged") << "export/folder" << QVariant("/a")
        << QVariant("/a") << QVariant("/a") << 0 << "/a";
    QTest::newRow("exportMerge on") << QByteArray("exportMerge") << QByteArray("exportChanged")
                                    << "export/merge" << none << QVariant(true) << QVariant(true) << 1
                                    << "true";
    QTest::newRow("exportFormat mp4") << QByteArray("exportFormat") << QByteArray("exportChanged")
                                      << "export/format" << none << QVariant(1) << QVariant(1) << 1 << "mp4";
    QTest::newRow("exportFormat 7 is mov")
        << QByteArray("exportFormat") << QByteArray("exportChanged") << "export/format" << QVariant(1)
        << QVariant(7) << QVariant(0) << 1 << "mov";
    QTest::newRow("exportNoAudio on")
        << QByteArray("exportNoAudio") << QByteArray("exportChanged") << "export/noAudio" << none
        << QVariant(true) << QVariant(true) << 1 << "true";
}

void tst_AppSettings::setters()
{
    QFETCH(QByteArray, property);
    QFETCH(QByteArray, signal);
    QFETCH(QString, key);
    QFETCH(QVariant, before);
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    QFETCH(int, signalCount);
    QFETCH(QString, stored);

    AppSettings settings;
    if (before.isValid())
        QVERIFY(settings.setProperty(property.constData(), before));

    const QMetaProperty meta =
        settings.metaObject()->property(settings.metaObject()->indexOfProperty(property));
    QVERIFY(meta.isWritable());
    QCOMPARE(meta.notifySignal().name(), signal);
    QSignalSpy spy(&settings, meta.notifySignal());
    QVERIFY(settings.setProperty(property.constData(), value));
    QCOMPARE(settings.property(property.constData()), expected);
    QCOMPARE(spy.count(), signalCount);

    const QVariant written = onDisk(key);
    if (stored.isNull())
        QVERIFY2(!written.isValid(), qPrintable(written.toString()));
    else
        QCOMPARE(written.toString(), stored);
}

void tst_AppSettings::languageOverride_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("override");
    QTest::addColumn<QString>("overridden"); // effectiveLanguage before a choice
    QTest::addColumn<QString>("choice");     // null: no choice made
    QTest::addColumn<QString>("chosen");     // effectiveLanguage after it; empty: the system's

    QTest::newRow("NIVRA_LANG=de over fr until a choice") << "fr"
                                                          << "de"
                                                          << "de"
                                                          << "it"
                                                          << "it";
    QTest::newRow("choosing the stored language ends it") << "fr"
                                                          << "de"
                                                          << "de"
                                                          << "fr"
                                                          << "fr";
    QTest::newRow("choosing the system language ends it") << "fr"
                                                          << "ja"
                                                          << "ja"
                                                          << ""
                                                          << "";
    QTest::newRow("NIVRA_LANG=german ignored") << "fr"
                                               << "german"
                                               << "fr" << QString() << "fr";
    QTest::newRow("NIVRA_LANG letter case counts") << "nl"
                                                   << "DE"
                                                   << "nl" << QString() << "nl";
}

void tst_AppSettings::languageOverride()
{
    QFETCH(QString, stored);
    QFETCH(QString, override);
    QFETCH(QString, overridden);
    QFETCH(QString, choice);
    QFETCH(QString, chosen);

    seed(QStringLiteral("ui/language"), stored);
    AppSettings settings;
    settings.setLanguageOverride(override);
    settings.applyLanguage();
    QCOMPARE(settings.effectiveLanguage(), overridden);
    QCOMPARE(settings.language(), stored);
    // Dates name their months in the interface language.
    QCOMPARE(QLocale().name(), settings.localeName());

    if (choice.isNull())
        return;
    QSignalSpy spy(&settings, &AppSettings::languageChanged);
    settings.setLanguage(choice);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(settings.effectiveLanguage(), chosen.isEmpty() ? settings.systemLanguage() : chosen);
    QCOMPARE(onDisk(QStringLiteral("ui/language")).toString(), choice);
}

void tst_AppSettings::themeOverride()
{
    seed(QStringLiteral("ui/theme"), QStringLiteral("dark"));
    qputenv("NIVRA_THEME", " Light ");
    AppSettings settings;
    QCOMPARE(settings.theme(), QStringLiteral("dark"));
    QVERIFY(!settings.darkTheme());
    QCOMPARE(QGuiApplication::palette().color(QPalette::Window), QColor(QStringLiteral("#f6f6f5")));

    // Choosing the stored theme is still a choice: it ends the override.
    QSignalSpy spy(&settings, &AppSettings::themeChanged);
    settings.setTheme(QStringLiteral("dark"));
    QCOMPARE(spy.count(), 1);
    QVERIFY(settings.darkTheme());
    QCOMPARE(QGuiApplication::palette().color(QPalette::Window), QColor(QStringLiteral("#17171f")));
    settings.setTheme(QStringLiteral("dark"));
    QCOMPARE(spy.count(), 1);

    qputenv("NIVRA_THEME", "sepia");
    AppSettings ignored;
    QVERIFY(ignored.darkTheme());
    qunsetenv("NIVRA_THEME");
}

void tst_AppSettings::palettes_data()
{
    QTest::addColumn<QString>("theme");
    QTest::addColumn<QStringList>("colors"); // in the order of the roles below

    QTest::newRow("dark") << "dark" << QStringList{"#17171f", "#f0eef5", "#f0eef5", "#f0eef5", "#22222f",
                                                   "#22222f", "#22222f", "#2b2a39", "#383645", "#565166",
                                                   "#b6b0c4", "#b6b0c4", "#ffb703", "#352941", "#352941",
                                                   "#ffffff", "#b6b0c4", "#b6b0c4", "#b6b0c4"};
    QTest::newRow("light") << "light" << QStringList{"#f6f6f5", "#352941", "#352941", "#352941", "#ffffff",
                                                     "#ffffff", "#ffffff", "#f2f1f5", "#e5e2e9", "#cbc5d4",
                                                     "#716977", "#716977", "#453875", "#ffffff", "#1e1e2f",
                                                     "#ffffff", "#716977", "#716977", "#716977"};
}

void tst_AppSettings::palettes()
{
    QFETCH(QString, theme);
    QFETCH(QStringList, colors);

    struct Entry
    {
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };
    const Entry entries[] = {
        {QPalette::Active, QPalette::Window},       {QPalette::Active, QPalette::WindowText},
        {QPalette::Inactive, QPalette::Text},       {QPalette::Active, QPalette::ButtonText},
        {QPalette::Active, QPalette::Base},         {QPalette::Inactive, QPalette::Button},
        {QPalette::Active, QPalette::Light},        {QPalette::Active, QPalette::AlternateBase},
        {QPalette::Active, QPalette::Midlight},     {QPalette::Disabled, QPalette::Mid},
        {QPalette::Active, QPalette::Dark},         {QPalette::Active, QPalette::PlaceholderText},
        {QPalette::Active, QPalette::Highlight},    {QPalette::Active, QPalette::HighlightedText},
        {QPalette::Active, QPalette::ToolTipBase},  {QPalette::Active, QPalette::ToolTipText},
        {QPalette::Disabled, QPalette::WindowText}, {QPalette::Disabled, QPalette::Text},
        {QPalette::Disabled, QPalette::ButtonText},
    };
    QCOMPARE(colors.size(), int(std::size(entries)));

    AppSettings settings;
    const bool systemDark = settings.darkTheme();
    settings.setTheme(theme);
    QCOMPARE(settings.darkTheme(), theme == QLatin1String("dark"));
    const QPalette palette = QGuiApplication::palette();
    for (size_t i = 0; i < std::size(entries); ++i) {
        QCOMPARE(palette.color(entries[i].group, entries[i].role).name(), colors.at(int(i)));
    }

    // Back to following the system: its preference, not our last palette.
    settings.setTheme(QString());
    QCOMPARE(settings.darkTheme(), systemDark);
    QCOMPARE(QGuiApplication::palette().color(QPalette::Window),
             AppSettings::paletteFor(systemDark).color(QPalette::Window));
}

void tst_AppSettings::languageProperties_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QString>("fontFamily");

    QTest::newRow("en") << "en"
                        << "en_US"
                        << "Inter";
    QTest::newRow("de") << "de"
                        << "de_DE"
                        << "Inter";
    QTest::newRow("fr") << "fr"
                        << "fr_FR"
                        << "Inter";
    QTest::newRow("it") << "it"
                        << "it_IT"
                        << "Inter";
    QTest::newRow("es") << "es"
                        << "es_ES"
                        << "Inter";
    QTest::newRow("ja") << "ja"
                        << "ja_JP"
                        << "Noto Sans CJK JP";
    QTest::newRow("nl") << "nl"
                        << "nl_NL"
                        << "Inter";
    QTest::newRow("zh_Hans") << "zh_Hans"
                             << "zh_CN"
                             << "Noto Sans CJK SC";
}

void tst_AppSettings::languageProperties()
{
    QFETCH(QString, code);
    QFETCH(QString, localeName);
    QFETCH(QString, fontFamily);

    AppSettings settings;
    const QVariantList languages = settings.languages();
    QCOMPARE(languages.size(), 8);
    QCOMPARE(languages.first().toMap().value(QStringLiteral("name")).toString(), QStringLiteral("English"));
    QCOMPARE(languages.last().toMap().value(QStringLiteral("name")).toString(), QStringLiteral("简体中文"));

    QSignalSpy spy(&settings, &AppSettings::languageChanged);
    settings.setLanguage(code);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(settings.effectiveLanguage(), code);
    QCOMPARE(settings.localeName(), localeName);
    QCOMPARE(settings.fontFamily(), fontFamily);
    QCOMPARE(QGuiApplication::font().families(), QStringList{fontFamily});
}

void tst_AppSettings::systemLanguageRule_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Brazilian Portuguese, traditional Chinese") << QStringList{"pt-BR", "zh-TW"} << "zh_Hans";
    QTest::newRow("Brazilian Portuguese alone") << QStringList{"pt-BR"} << "en";
    QTest::newRow("none") << QStringList{} << "en";
    QTest::newRow("German region tag") << QStringList{"de-AT"} << "de";
    QTest::newRow("first supported wins") << QStringList{"sv-SE", "nl-BE", "fr-FR"} << "nl";
    QTest::newRow("upper case, underscore") << QStringList{"JA_JP"} << "ja";
    QTest::newRow("Chinese with script") << QStringList{"zh-Hant-HK"} << "zh_Hans";
    QTest::newRow("bare code") << QStringList{"it"} << "it";
}

void tst_AppSettings::systemLanguageRule()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(QString, expected);
    QCOMPARE(AppSettings::systemLanguageFor(uiLanguages), expected);
}

void tst_AppSettings::systemLocale_data()
{
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("language"); // LANGUAGE, empty: unset
    QTest::addColumn<QString>("systemLanguage");
    QTest::addColumn<int>("firstDayOfWeek");
    QTest::addColumn<QString>("time");

    QTest::newRow("pt_BR:zh_TW") << "pt_BR.UTF-8"
                                 << "pt_BR:zh_TW"
                                 << "zh_Hans" << 7 << "13:12:47";
    QTest::newRow("pt_BR alone") << "pt_BR.UTF-8"
                                 << "pt_BR"
                                 << "en" << 7 << "13:12:47";
    QTest::newRow("en_US: Sunday, 12-hour") << "en_US.UTF-8"
                                            << ""
                                            << "en" << 7 << "1:12:47 PM";
    QTest::newRow("de_DE: Monday, 24-hour") << "de_DE.UTF-8"
                                            << ""
                                            << "de" << 1 << "13:12:47";
}

// The system locale is read once per process, so each row runs a child
// process of this test with that environment.
void tst_AppSettings::systemLocale()
{
    QFETCH(QString, lcAll);
    QFETCH(QString, language);
    QFETCH(QString, systemLanguage);
    QFETCH(int, firstDayOfWeek);
    QFETCH(QString, time);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANG", "LANGUAGE", "LC_MESSAGES", "LC_TIME", "LC_NUMERIC", "LC_CTYPE"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LC_ALL"), lcAll);
    if (!language.isEmpty())
        env.insert(QStringLiteral("LANGUAGE"), language);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("NIVRA_TEST_PRINT_LOCALE"), QStringLiteral("1"));

    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);
    const QJsonObject facts = QJsonDocument::fromJson(child.readAllStandardOutput()).object();
    QCOMPARE(facts.value(QLatin1String("systemLanguage")).toString(), systemLanguage);
    QCOMPARE(facts.value(QLatin1String("firstDayOfWeek")).toInt(), firstDayOfWeek);
    const QLocale locale(lcAll.section(QLatin1Char('.'), 0, 0));
    QCOMPARE(facts.value(QLatin1String("formatExample")).toString(),
             locale.toString(QDate(2026, 11, 5), QLocale::ShortFormat) + QLatin1Char(' ') + time);
}

void tst_AppSettings::hardwareDecodeSummary_data()
{
    QTest::addColumn<bool>("probed");
    QTest::addColumn<bool>("h264");
    QTest::addColumn<bool>("h265");
    QTest::addColumn<QString>("expected");

    QTest::newRow("could not ask")
        << false << false << false
        << "Could not ask the graphics card (no graphics render node (/dev/dri/renderD*))";
    QTest::newRow("both") << true << true << true << "Intel iHD decodes H.265, H.264";
    QTest::newRow("H.264 only") << true << true << false << "Intel iHD decodes H.264";
    QTest::newRow("H.265 only") << true << false << true << "Intel iHD decodes H.265";
    QTest::newRow("neither") << true << false << false << "Intel iHD decodes neither H.265 nor H.264";
}

void tst_AppSettings::hardwareDecodeSummary()
{
    QFETCH(bool, probed);
    QFETCH(bool, h264);
    QFETCH(bool, h265);
    QFETCH(QString, expected);

    nivra::GraphicsCapability capability;
    capability.probed = probed;
    capability.h264 = h264;
    capability.h265 = h265;
    capability.adapterName = probed ? QStringLiteral("Intel iHD") : QString();
    capability.failure = probed ? QString() : QStringLiteral("no graphics render node (/dev/dri/renderD*)");
    QCOMPARE(AppSettings::hardwareDecodeSummaryFor(capability), expected);

    // The real probe of this machine: its failure text reaches the summary.
    AppSettings settings;
    const nivra::GraphicsCapability &real = nivra::graphicsCapability();
    QCOMPARE(settings.hardwareDecodeSummary(), AppSettings::hardwareDecodeSummaryFor(real));
    QCOMPARE(settings.gpuName(), real.adapterName);
    QCOMPARE(settings.gpuDecodesHevc(), real.h265);
    if (!real.probed)
        QVERIFY(!real.failure.isEmpty() && settings.hardwareDecodeSummary().contains(real.failure));
}

void tst_AppSettings::decodePolicyReachesDecoderSelection()
{
    seed(QStringLiteral("playback/decodePolicy"), 0);
    nivra::setDecodePolicy(nivra::PolicyHardware);
    AppSettings settings;
    QCOMPARE(nivra::decodePolicy(), int(nivra::PolicyAuto));
    QCOMPARE(nivra::effectiveDecodePolicy(), int(nivra::PolicyAuto));

    settings.setDecodePolicy(2);
    QCOMPARE(nivra::effectiveDecodePolicy(), int(nivra::PolicySoftware));
    settings.setDecodePolicy(9);
    QCOMPARE(nivra::effectiveDecodePolicy(), int(nivra::PolicySoftware));
    settings.setDecodePolicy(1);
    QCOMPARE(nivra::effectiveDecodePolicy(), int(nivra::PolicyHardware));
}

void tst_AppSettings::licenceTextOrderAndSeparators()
{
    AppSettings settings;
    const QString separator = QStringLiteral("\n\n") + QString(72, QLatin1Char('=')) + QStringLiteral("\n\n");
    const QStringList parts = settings.licenseText().split(separator);
    const QStringList files{"THIRD-PARTY-NOTICES.txt", "inter-ofl-1.1.txt", "lgpl-2.1.txt", "lgpl-3.0.txt",
                            "gpl-3.0.txt"};
    QCOMPARE(parts.size(), files.size());
    for (int i = 0; i < files.size(); ++i) {
        QFile file(QStringLiteral(":/licenses/") + files.at(i));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(parts.at(i), QString::fromUtf8(file.readAll()));
    }
}

void tst_AppSettings::fontReport_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("family");

    QTest::newRow("Inter") << "en"
                           << "Inter";
    QTest::newRow("Japanese") << "ja"
                              << "Noto Sans CJK JP";
    QTest::newRow("simplified Chinese") << "zh_Hans"
                                        << "Noto Sans CJK SC";
}

void tst_AppSettings::fontReport()
{
    QFETCH(QString, code);
    QFETCH(QString, family);

    AppSettings settings;
    settings.setLanguageOverride(code);
    settings.applyLanguage();
    const QStringList parts = settings.fontReport().split(QStringLiteral(" | "));
    QCOMPARE(parts.size(), 4);
    const QRegularExpression faces(
        QStringLiteral("^%1 faces: .*\\S=\\d+$").arg(QRegularExpression::escape(family)));
    QVERIFY2(faces.match(parts.at(0)).hasMatch(), qPrintable(parts.at(0)));
    if (code == QLatin1String("en")) {
        // The program's four faces, whichever way the font names them.
        for (const char *face :
             {" Regular=400( |$)", " Medium=500( |$)", " Semi ?Bold=600( |$)", " Bold=700( |$)"})
            QVERIFY2(QRegularExpression(QLatin1String(face)).match(parts.at(0)).hasMatch(), face);
    }
    const int weights[] = {400, 500, 600};
    for (int i = 0; i < 3; ++i) {
        // The family is installed (Inter by the program, the CJK faces by
        // fonts-noto-cjk), so each asked weight resolves within it.
        const QRegularExpression asked(QStringLiteral("^asked %1 -> %2 '[^']+' weight (\\d+)$")
                                           .arg(weights[i])
                                           .arg(QRegularExpression::escape(family)));
        const QRegularExpressionMatch match = asked.match(parts.at(i + 1));
        QVERIFY2(match.hasMatch(), qPrintable(parts.at(i + 1)));
        if (code == QLatin1String("en"))
            QCOMPARE(match.captured(1).toInt(), weights[i]);
    }
}

void tst_AppSettings::anyKeyValue()
{
    AppSettings settings;
    QList<std::shared_ptr<QSignalSpy>> spies;
    const QMetaObject *meta = settings.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        if (meta->method(i).methodType() == QMetaMethod::Signal)
            spies << std::make_shared<QSignalSpy>(&settings, meta->method(i));
    }
    QCOMPARE(spies.size(), 10);

    settings.setValue(QStringLiteral("custom/key"), QStringLiteral("a value"));
    settings.setValue(QStringLiteral("ui/theme"), QStringLiteral("dark"));
    QCOMPARE(settings.value(QStringLiteral("custom/key")), QStringLiteral("a value"));
    QCOMPARE(onDisk(QStringLiteral("custom/key")).toString(), QStringLiteral("a value"));
    QCOMPARE(settings.value(QStringLiteral("ui/theme")), QStringLiteral("dark"));
    QCOMPARE(settings.theme(), QString());
    QCOMPARE(settings.value(QStringLiteral("no/such")), QString());
    for (const auto &spy : spies)
        QCOMPARE(spy->count(), 0);
}

void tst_AppSettings::recentCardRules_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QStringList>("after");

    const QStringList five{"/5", "/4", "/3", "/2", "/1"};
    QTest::newRow("the first") << QStringList() << "/media/card" << QStringList{"/media/card"};
    QTest::newRow("newest first") << QStringList{"/b", "/a"} << "/c" << QStringList{"/c", "/b", "/a"};
    QTest::newRow("again: to the front")
        << QStringList{"/c", "/b", "/a"} << "/a" << QStringList{"/a", "/c", "/b"};
    QTest::newRow("already first") << QStringList{"/a", "/b"} << "/a" << QStringList{"/a", "/b"};
    QTest::newRow("spelled otherwise")
        << QStringList{"/media/card", "/b"} << "/media//x/../card/" << QStringList{"/media/card", "/b"};
    QTest::newRow("relative") << QStringList{"/a"} << "rel/card"
                              << QStringList{QDir::current().absoluteFilePath(QStringLiteral("rel/card")),
                                             "/a"};
    QTest::newRow("a sixth: the oldest goes") << five << "/6" << QStringList{"/6", "/5", "/4", "/3", "/2"};
    QTest::newRow("one of five") << five << "/3" << QStringList{"/3", "/5", "/4", "/2", "/1"};
    QTest::newRow("nothing") << QStringList{"/a"} << " " << QStringList{"/a"};
}

void tst_AppSettings::recentCardRules()
{
    QFETCH(QStringList, before);
    QFETCH(QString, opened);
    QFETCH(QStringList, after);
    QCOMPARE(AppSettings::recentCardsWith(before, opened), after);
}

// Each change is announced once and written through; the next start reads it.
void tst_AppSettings::recentCardsAreStored()
{
    AppSettings settings;
    QSignalSpy spy(&settings, &AppSettings::recentCardsChanged);
    settings.addRecentCard(QStringLiteral("/media/a"));
    settings.addRecentCard(QStringLiteral("/media/b"));
    settings.addRecentCard(QStringLiteral("/media/b/"));
    QCOMPARE(spy.count(), 2);
    const QStringList expected{"/media/b", "/media/a"};
    QCOMPARE(settings.recentCards(), expected);
    QCOMPARE(onDisk(QStringLiteral("cards/recent")).toStringList(), expected);
    QCOMPARE(AppSettings().recentCards(), expected);
}

// Only a URL naming a folder on this computer gives one.
void tst_AppSettings::localFolder_data()
{
    QTest::addColumn<QUrl>("url");
    QTest::addColumn<QString>("folder");

    const QString dir = QCoreApplication::applicationDirPath();
    QTest::newRow("folder") << QUrl::fromLocalFile(dir) << dir;
    QTest::newRow("folder, spelled otherwise") << QUrl::fromLocalFile(dir + QStringLiteral("/./")) << dir;
    QTest::newRow("file") << QUrl::fromLocalFile(QCoreApplication::applicationFilePath()) << QString();
    QTest::newRow("missing") << QUrl::fromLocalFile(dir + QStringLiteral("/no-such-folder")) << QString();
    QTest::newRow("remote") << QUrl(QStringLiteral("https://example.com/card")) << QString();
    QTest::newRow("empty") << QUrl() << QString();
}

void tst_AppSettings::localFolder()
{
    QFETCH(QUrl, url);
    QFETCH(QString, folder);

    AppSettings settings;
    QCOMPARE(settings.localFolder(url), folder);
    QCOMPARE(settings.folderExists(url.toLocalFile()), !folder.isEmpty());
}

void tst_AppSettings::translationsLoadAndRetranslate_data()
{
    QTest::addColumn<QString>("code");
    for (const char *code : {"de", "fr", "it", "es", "ja", "nl", "zh_Hans"})
        QTest::newRow(code) << QString::fromLatin1(code);
}

void tst_AppSettings::translationsLoadAndRetranslate()
{
    QFETCH(QString, code);

    AppSettings settings;
    settings.setLanguageOverride(QStringLiteral("en"));
    settings.applyLanguage();
    QQmlEngine engine;
    settings.setEngine(&engine);
    QQmlComponent component(&engine);
    component.setData("import QtQml\n"
                      "QtObject { property string text: qsTranslate(\"UpdateChecker\", \"You have the latest "
                      "version.\") }\n",
                      QUrl());
    std::unique_ptr<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));
    const QString english = QStringLiteral("You have the latest version.");
    QCOMPARE(root->property("text").toString(), english);
    const QString summary = settings.hardwareDecodeSummary();

    settings.setLanguage(code);
    const QString translated = root->property("text").toString();
    QVERIFY2(!translated.isEmpty() && translated != english, qPrintable(translated));
    QCOMPARE(translated, QCoreApplication::translate("UpdateChecker", "You have the latest version."));
    QCOMPARE(engine.uiLanguage(), code);
    QVERIFY(settings.hardwareDecodeSummary() != summary);

    settings.setLanguage(QStringLiteral("en"));
    QCOMPARE(root->property("text").toString(), english);
    QCOMPARE(settings.hardwareDecodeSummary(), summary);
}

// A child started by systemLocale() prints what the settings object makes
// of its environment's locale and exits.
int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("NIVRA_TEST_PRINT_LOCALE")) {
        AppSettings settings;
        const QJsonObject facts{{QStringLiteral("systemLanguage"), settings.systemLanguage()},
                                {QStringLiteral("firstDayOfWeek"), settings.firstDayOfWeek()},
                                {QStringLiteral("formatExample"), settings.formatExample()}};
        fputs(QJsonDocument(facts).toJson().constData(), stdout);
        return 0;
    }
    tst_AppSettings test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_appsettings.moc"
