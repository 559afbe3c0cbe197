#include "app/app_settings.h"

#include "app/app_platform.h"
#include "app/qt_compat.h"
#include "decode/decoder.h"
#include "timeline/theme.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPalette>
#include <QQmlEngine>
#include <QSysInfo>
#include <QTime>

namespace {

struct Language
{
    const char *code;
    const char *name; // in its own language, UTF-8
    const char *localeName;
};

const Language kLanguages[] = {
    {"en", "English", "en_US"},    {"de", "Deutsch", "de_DE"},       {"fr", "Français", "fr_FR"},
    {"it", "Italiano", "it_IT"},   {"es", "Español", "es_ES"},       {"ja", "日本語", "ja_JP"},
    {"nl", "Nederlands", "nl_NL"}, {"zh_Hans", "简体中文", "zh_CN"},
};

const Language *findLanguage(const QString &code)
{
    for (const Language &language : kLanguages) {
        if (code == QLatin1String(language.code))
            return &language;
    }
    return nullptr;
}

// "light" or "dark" from any spelling with surrounding blanks; else empty.
QString normalizedTheme(const QString &text)
{
    const QString theme = text.trimmed().toLower();
    return theme == QLatin1String("light") || theme == QLatin1String("dark") ? theme : QString();
}

const QString kLanguageKey = QStringLiteral("ui/language");
const QString kThemeKey = QStringLiteral("ui/theme");
const QString kTimeModeKey = QStringLiteral("playback/timeMode");
const QString kContinuousKey = QStringLiteral("playback/continuous");
const QString kSnapKey = QStringLiteral("playback/snap");
const QString kDecodePolicyKey = QStringLiteral("playback/decodePolicy");
const QString kCheckUpdatesKey = QStringLiteral("update/check");
const QString kExportFolderKey = QStringLiteral("export/folder");
const QString kExportMergeKey = QStringLiteral("export/merge");
const QString kExportFormatKey = QStringLiteral("export/format");
const QString kExportNoAudioKey = QStringLiteral("export/noAudio");
const QString kExportTimeTrackKey = QStringLiteral("export/timeTrack");
const QString kExportEvidenceKey = QStringLiteral("export/evidence");
const QString kExportBurnTimeKey = QStringLiteral("export/burnTime");
const QString kExportShareKey = QStringLiteral("export/share");
const QString kExportShareMbKey = QStringLiteral("export/shareMb");
const QString kAnalyseKey = QStringLiteral("activity/background");
const QString kRecentCardsKey = QStringLiteral("cards/recent");

} // namespace

AppSettings::AppSettings(QObject *parent) : QObject(parent)
{
    // The platform's preference has to be judged before our palette hides it.
    nivra::compat::systemPrefersDark();
    m_systemLanguage = systemLanguageFor(QLocale::system().uiLanguages());

    const QString language = m_store.value(kLanguageKey).toString();
    m_language = isSupportedLanguage(language) ? language : QString();
    m_theme = normalizedTheme(m_store.value(kThemeKey).toString());
    m_timeMode = m_store.value(kTimeModeKey).toInt() == 1 ? 1 : 0;
    m_continuous = m_store.value(kContinuousKey, true).toBool();
    m_snap = m_store.value(kSnapKey, true).toBool();
    bool isNumber = false;
    const int policy = m_store.value(kDecodePolicyKey).toInt(&isNumber);
    m_decodePolicy = isNumber && policy >= 0 && policy <= 2 ? policy : nivra::defaultDecodePolicy();
    m_checkUpdates = m_store.value(kCheckUpdatesKey, true).toBool();
    m_exportFolder = m_store.value(kExportFolderKey).toString();
    m_exportMerge = m_store.value(kExportMergeKey, false).toBool();
    m_exportFormat = m_store.value(kExportFormatKey).toString() == QLatin1String("mp4") ? 1 : 0;
    m_exportNoAudio = m_store.value(kExportNoAudioKey, false).toBool();
    m_exportTimeTrack = m_store.value(kExportTimeTrackKey, false).toBool();
    m_exportEvidence = m_store.value(kExportEvidenceKey, false).toBool();
    m_exportBurnTime = m_store.value(kExportBurnTimeKey, false).toBool();
    m_exportShare = m_store.value(kExportShareKey, false).toBool();
    m_exportShareMb = m_store.value(kExportShareMbKey, 25).toInt();
    m_analyseInBackground = m_store.value(kAnalyseKey, true).toBool();
    // Stored by hand or by an older version, the list still obeys the rules.
    const QStringList recent = m_store.value(kRecentCardsKey).toStringList();
    for (auto it = recent.crbegin(); it != recent.crend(); ++it)
        m_recentCards = recentCardsWith(m_recentCards, *it);

    m_themeOverride = normalizedTheme(qEnvironmentVariable("NIVRA_THEME"));

    nivra::setDecodePolicy(m_decodePolicy);
    nivra::compat::onColorSchemeChanged(this, [this] { onColorSchemeChanged(); });
    applyTheme();
}

AppSettings::~AppSettings() = default;

bool AppSettings::isSupportedLanguage(const QString &code)
{
    return findLanguage(code) != nullptr;
}

QString AppSettings::systemLanguageFor(const QStringList &uiLanguages)
{
    for (const QString &tag : uiLanguages) {
        const QString lowered = tag.toLower().replace(QLatin1Char('_'), QLatin1Char('-'));
        // Every Chinese variant gets the one Chinese translation we have.
        if (lowered.startsWith(QLatin1String("zh")))
            return QStringLiteral("zh_Hans");
        const QString primary = lowered.section(QLatin1Char('-'), 0, 0);
        if (isSupportedLanguage(primary))
            return primary;
    }
    return QStringLiteral("en");
}

void AppSettings::setLanguage(const QString &code)
{
    const QString language = isSupportedLanguage(code) ? code : QString();
    // With a NIVRA_LANG override in force, picking the stored language is
    // still a choice that has to end the override.
    if (language == m_language && m_languageOverride.isEmpty())
        return;
    m_language = language;
    m_languageOverride.clear();
    store(kLanguageKey, m_language);
    applyLanguage();
}

QString AppSettings::effectiveLanguage() const
{
    if (!m_languageOverride.isEmpty())
        return m_languageOverride;
    if (!m_language.isEmpty())
        return m_language;
    return m_systemLanguage;
}

QVariantList AppSettings::languages() const
{
    QVariantList list;
    for (const Language &language : kLanguages) {
        list.append(QVariantMap{{QStringLiteral("code"), QString::fromUtf8(language.code)},
                                {QStringLiteral("name"), QString::fromUtf8(language.name)}});
    }
    return list;
}

QString AppSettings::localeName() const
{
    const Language *language = findLanguage(effectiveLanguage());
    return QString::fromLatin1(language ? language->localeName : "en_US");
}

QString AppSettings::fontFamily() const
{
    const QString family = nivra::cjkFontFamily(effectiveLanguage());
    return family.isEmpty() ? QStringLiteral("Inter") : family;
}

void AppSettings::setLanguageOverride(const QString &code)
{
    m_languageOverride = isSupportedLanguage(code) ? code : QString();
}

void AppSettings::setEngine(QQmlEngine *engine)
{
    m_engine = engine;
}

void AppSettings::applyLanguage()
{
    const QString code = effectiveLanguage();
    // Dates name their months in the interface language, in the system's
    // own order of day, month and year; set before the translators change,
    // which tells every text to renew itself.
    QLocale::setDefault(QLocale(localeName()));
    if (m_translatorInstalled) {
        QCoreApplication::removeTranslator(&m_translator);
        m_translatorInstalled = false;
    }
    // A missing translation leaves the interface in English. English itself
    // has a file too: the plural forms of its count texts.
    if (m_translator.load(QStringLiteral(":/i18n/nivra_") + code + QStringLiteral(".qm")))
        m_translatorInstalled = QCoreApplication::installTranslator(&m_translator);

    QFont font = QGuiApplication::font();
    font.setFamilies({fontFamily()});
    QGuiApplication::setFont(font);

    if (m_engine) {
        m_engine->setUiLanguage(code);
        m_engine->retranslate();
    }
    emit languageChanged();
}

QString AppSettings::effectiveTheme() const
{
    return m_themeOverride.isEmpty() ? m_theme : m_themeOverride;
}

void AppSettings::setTheme(const QString &theme)
{
    const QString value = normalizedTheme(theme);
    if (value == m_theme && m_themeOverride.isEmpty())
        return;
    m_theme = value;
    m_themeOverride.clear();
    store(kThemeKey, m_theme);
    nivra::compat::setColorScheme(m_theme == QLatin1String("dark")    ? nivra::compat::ColorScheme::Dark
                                  : m_theme == QLatin1String("light") ? nivra::compat::ColorScheme::Light
                                                                      : nivra::compat::ColorScheme::Unknown);
    applyTheme();
    emit themeChanged();
}

bool AppSettings::darkTheme() const
{
    const QString theme = effectiveTheme();
    if (theme == QLatin1String("dark"))
        return true;
    if (theme == QLatin1String("light"))
        return false;
    return nivra::compat::systemPrefersDark();
}

void AppSettings::applyTheme()
{
    const QString theme = effectiveTheme();
    if (!theme.isEmpty()) {
        nivra::compat::setColorScheme(theme == QLatin1String("dark") ? nivra::compat::ColorScheme::Dark
                                                                     : nivra::compat::ColorScheme::Light);
    }
    m_appliedDark = darkTheme();
    QGuiApplication::setPalette(paletteFor(m_appliedDark));
}

void AppSettings::onColorSchemeChanged()
{
    // Our own scheme requests come back here too; only a change of the
    // palette we show is news.
    if (!m_theme.isEmpty() || !m_themeOverride.isEmpty() || darkTheme() == m_appliedDark)
        return;
    applyTheme();
    emit themeChanged();
}

QPalette AppSettings::paletteFor(bool dark)
{
    // The window's own colour table, so that Qt's palette is the Style's.
    const auto tone = [dark](const char *token) { return nivra::themeColour(token, dark); };
    QPalette palette;
    palette.setColor(QPalette::Window, tone("canvas"));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, tone("foreground"));
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Light})
        palette.setColor(role, tone("surface"));
    palette.setColor(QPalette::AlternateBase, tone("surface2"));
    palette.setColor(QPalette::Midlight, tone("line"));
    palette.setColor(QPalette::Mid, tone("strongLine"));
    palette.setColor(QPalette::Dark, tone("secondary"));
    palette.setColor(QPalette::PlaceholderText, tone("secondary"));
    palette.setColor(QPalette::Highlight, tone("accent"));
    palette.setColor(QPalette::HighlightedText, tone("inkOnAccent"));
    palette.setColor(QPalette::ToolTipBase, dark ? tone("plum") : tone("videoSurface"));
    palette.setColor(QPalette::ToolTipText, Qt::white);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, tone("secondary"));
    return palette;
}

void AppSettings::setTimeMode(int mode)
{
    const int value = mode == 1 ? 1 : 0;
    if (value == m_timeMode)
        return;
    m_timeMode = value;
    store(kTimeModeKey, m_timeMode);
    emit timeModeChanged();
}

void AppSettings::setContinuous(bool on)
{
    if (on == m_continuous)
        return;
    m_continuous = on;
    store(kContinuousKey, on);
    emit continuousChanged();
}

void AppSettings::setSnap(bool on)
{
    if (on == m_snap)
        return;
    m_snap = on;
    store(kSnapKey, on);
    emit snapChanged();
}

void AppSettings::setDecodePolicy(int policy)
{
    if (policy < 0 || policy > 2 || policy == m_decodePolicy)
        return;
    m_decodePolicy = policy;
    store(kDecodePolicyKey, policy);
    // The decoder selection reads it at every decoder start.
    nivra::setDecodePolicy(policy);
    emit decodePolicyChanged();
}

QString AppSettings::gpuName() const
{
    return nivra::graphicsCapability().adapterName;
}

QString AppSettings::hardwareDecodeSummary() const
{
    // Built on every read, so a retranslated binding gets the new language.
    return hardwareDecodeSummaryFor(nivra::graphicsCapability());
}

bool AppSettings::gpuDecodesHevc() const
{
    return nivra::graphicsCapability().h265;
}

QString AppSettings::hardwareDecodeSummaryFor(const nivra::GraphicsCapability &capability)
{
    if (!capability.probed)
        return tr("Could not ask the graphics card (%1)").arg(capability.failure);
    QStringList codecs;
    if (capability.h265)
        codecs << QStringLiteral("H.265");
    if (capability.h264)
        codecs << QStringLiteral("H.264");
    if (codecs.isEmpty())
        return tr("%1 decodes neither H.265 nor H.264").arg(capability.adapterName);
    return tr("%1 decodes %2").arg(capability.adapterName, codecs.join(QStringLiteral(", ")));
}

void AppSettings::setCheckUpdates(bool on)
{
    if (on == m_checkUpdates)
        return;
    m_checkUpdates = on;
    store(kCheckUpdatesKey, on);
    emit checkUpdatesChanged();
}

void AppSettings::setExportFolder(const QString &folder)
{
    if (folder == m_exportFolder)
        return;
    m_exportFolder = folder;
    store(kExportFolderKey, folder);
    emit exportChanged();
}

void AppSettings::setExportMerge(bool on)
{
    if (on == m_exportMerge)
        return;
    m_exportMerge = on;
    store(kExportMergeKey, on);
    emit exportChanged();
}

void AppSettings::setExportFormat(int format)
{
    const int value = format == 1 ? 1 : 0;
    if (value == m_exportFormat)
        return;
    m_exportFormat = value;
    store(kExportFormatKey, value == 1 ? QStringLiteral("mp4") : QStringLiteral("mov"));
    emit exportChanged();
}

void AppSettings::setExportNoAudio(bool on)
{
    if (on == m_exportNoAudio)
        return;
    m_exportNoAudio = on;
    store(kExportNoAudioKey, on);
    emit exportChanged();
}

void AppSettings::setExportTimeTrack(bool on)
{
    if (on == m_exportTimeTrack)
        return;
    m_exportTimeTrack = on;
    store(kExportTimeTrackKey, on);
    emit exportChanged();
}

void AppSettings::setExportEvidence(bool on)
{
    if (on == m_exportEvidence)
        return;
    m_exportEvidence = on;
    store(kExportEvidenceKey, on);
    emit exportChanged();
}

void AppSettings::setExportBurnTime(bool on)
{
    if (on == m_exportBurnTime)
        return;
    m_exportBurnTime = on;
    store(kExportBurnTimeKey, on);
    emit exportChanged();
}

void AppSettings::setExportShare(bool on)
{
    if (on == m_exportShare)
        return;
    m_exportShare = on;
    store(kExportShareKey, on);
    emit exportChanged();
}

void AppSettings::setExportShareMb(int mb)
{
    if (mb == m_exportShareMb || mb < 1)
        return;
    m_exportShareMb = mb;
    store(kExportShareMbKey, mb);
    emit exportChanged();
}

void AppSettings::setAnalyseInBackground(bool on)
{
    if (on == m_analyseInBackground)
        return;
    m_analyseInBackground = on;
    store(kAnalyseKey, on);
    emit analyseInBackgroundChanged();
}

void AppSettings::addRecentCard(const QString &path)
{
    const QStringList recent = recentCardsWith(m_recentCards, path);
    if (recent == m_recentCards)
        return;
    m_recentCards = recent;
    store(kRecentCardsKey, m_recentCards);
    emit recentCardsChanged();
}

void AppSettings::clearRecentCards()
{
    if (m_recentCards.isEmpty())
        return;
    m_recentCards.clear();
    store(kRecentCardsKey, m_recentCards);
    emit recentCardsChanged();
}

QStringList AppSettings::recentCardsWith(const QStringList &recent, const QString &path)
{
    if (path.trimmed().isEmpty())
        return recent;
    const QString folder = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList list{folder};
    for (const QString &earlier : recent) {
        if (list.size() == maxRecentCards)
            break;
        if (earlier != folder)
            list.append(earlier);
    }
    return list;
}

bool AppSettings::folderExists(const QString &path) const
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

QString AppSettings::localFolder(const QUrl &url) const
{
    if (!url.isLocalFile())
        return {};
    const QString path = url.toLocalFile();
    return folderExists(path) ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : QString();
}

QString AppSettings::version()
{
    return QStringLiteral(NIVRA_VERSION);
}

bool AppSettings::internalBuild()
{
    return false;
}

QString AppSettings::platform()
{
    return nivra::operatingSystemName() + QLatin1Char(' ') + QSysInfo::buildCpuArchitecture();
}

QString AppSettings::formatExample() const
{
    return formatExampleFor(QLocale::system());
}

QString AppSettings::formatExampleFor(const QLocale &locale)
{
    const bool twelveHour =
        locale.timeFormat(QLocale::ShortFormat).contains(QLatin1String("AP"), Qt::CaseInsensitive);
    return locale.toString(QDate(2026, 11, 5), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(QTime(13, 12, 47),
                           twelveHour ? QStringLiteral("h:mm:ss AP") : QStringLiteral("HH:mm:ss"));
}

int AppSettings::firstDayOfWeek() const
{
    return int(QLocale::system().firstDayOfWeek());
}

QString AppSettings::licenseText() const
{
    static const char *const files[] = {"THIRD-PARTY-NOTICES.txt", "inter-ofl-1.1.txt", "lgpl-2.1.txt",
                                        "lgpl-3.0.txt", "gpl-3.0.txt"};
    const QString separator = QStringLiteral("\n\n") + QString(72, QLatin1Char('=')) + QStringLiteral("\n\n");
    QString text;
    for (const char *name : files) {
        if (name != files[0])
            text += separator;
        QFile file(QStringLiteral(":/licenses/") + QLatin1String(name));
        if (file.open(QIODevice::ReadOnly))
            text += QString::fromUtf8(file.readAll());
    }
    return text;
}

QString AppSettings::fontReport() const
{
    const QString family = fontFamily();
    QStringList faces;
    const QStringList styles = QFontDatabase::styles(family);
    for (const QString &style : styles)
        faces << QStringLiteral("%1=%2").arg(style).arg(QFontDatabase::weight(family, style));
    QStringList parts{QStringLiteral("%1 faces: %2").arg(family, faces.join(QLatin1Char(' ')))};
    for (int weight : {400, 500, 600}) {
        QFont font(family);
        font.setPixelSize(12);
        font.setWeight(QFont::Weight(weight));
        const QFontInfo info(font);
        parts << QStringLiteral("asked %1 -> %2 '%3' weight %4")
                     .arg(QString::number(weight), info.family(), info.styleName(),
                          QString::number(info.weight()));
    }
    return parts.join(QStringLiteral(" | "));
}

QString AppSettings::value(const QString &key) const
{
    return m_store.value(key).toString();
}

void AppSettings::setValue(const QString &key, const QString &value)
{
    store(key, value);
}

void AppSettings::store(const QString &key, const QVariant &value)
{
    m_store.setValue(key, value);
    // Written through at once: a crash must not lose a choice already shown.
    m_store.sync();
}
