// The user's choices and the facts about this machine that the interface
// shows. One object per process, published to QML as "appSettings".
#pragma once

#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTranslator>
#include <QUrl>
#include <QVariantList>

class QLocale;
class QPalette;
class QQmlEngine;

namespace nivra {
struct GraphicsCapability;
}

class AppSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(QString effectiveLanguage READ effectiveLanguage NOTIFY languageChanged)
    Q_PROPERTY(QString systemLanguage READ systemLanguage CONSTANT)
    Q_PROPERTY(QVariantList languages READ languages CONSTANT)
    Q_PROPERTY(QString localeName READ localeName NOTIFY languageChanged)
    Q_PROPERTY(QString fontFamily READ fontFamily NOTIFY languageChanged)
    Q_PROPERTY(QString theme READ theme WRITE setTheme NOTIFY themeChanged)
    Q_PROPERTY(bool darkTheme READ darkTheme NOTIFY themeChanged)
    Q_PROPERTY(int timeMode READ timeMode WRITE setTimeMode NOTIFY timeModeChanged)
    Q_PROPERTY(bool continuous READ continuous WRITE setContinuous NOTIFY continuousChanged)
    Q_PROPERTY(bool snap READ snap WRITE setSnap NOTIFY snapChanged)
    Q_PROPERTY(int decodePolicy READ decodePolicy WRITE setDecodePolicy NOTIFY decodePolicyChanged)
    Q_PROPERTY(QString gpuName READ gpuName CONSTANT)
    Q_PROPERTY(QString hardwareDecodeSummary READ hardwareDecodeSummary CONSTANT)
    Q_PROPERTY(bool gpuDecodesHevc READ gpuDecodesHevc CONSTANT)
    Q_PROPERTY(bool checkUpdates READ checkUpdates WRITE setCheckUpdates NOTIFY checkUpdatesChanged)
    Q_PROPERTY(QString exportFolder READ exportFolder WRITE setExportFolder NOTIFY exportChanged)
    Q_PROPERTY(bool exportMerge READ exportMerge WRITE setExportMerge NOTIFY exportChanged)
    Q_PROPERTY(int exportFormat READ exportFormat WRITE setExportFormat NOTIFY exportChanged)
    Q_PROPERTY(bool exportNoAudio READ exportNoAudio WRITE setExportNoAudio NOTIFY exportChanged)
    // The camera's clock as a subtitle track of the exported files.
    Q_PROPERTY(bool exportTimeTrack READ exportTimeTrack WRITE setExportTimeTrack NOTIFY exportChanged)
    Q_PROPERTY(bool exportEvidence READ exportEvidence WRITE setExportEvidence NOTIFY exportChanged)
    // The clock burned into the picture; the smaller copy for sharing and
    // the size it is kept under (MB).
    Q_PROPERTY(bool exportBurnTime READ exportBurnTime WRITE setExportBurnTime NOTIFY exportChanged)
    Q_PROPERTY(bool exportShare READ exportShare WRITE setExportShare NOTIFY exportChanged)
    Q_PROPERTY(int exportShareMb READ exportShareMb WRITE setExportShareMb NOTIFY exportChanged)
    // "Analyse recordings in the background" (on unless turned off).
    Q_PROPERTY(bool analyseInBackground READ analyseInBackground WRITE setAnalyseInBackground NOTIFY
                   analyseInBackgroundChanged)
    // The cards opened last, most recent first.
    Q_PROPERTY(QStringList recentCards READ recentCards NOTIFY recentCardsChanged)
    Q_PROPERTY(QString version READ version CONSTANT)
    Q_PROPERTY(bool internalBuild READ internalBuild CONSTANT)
    Q_PROPERTY(QString platform READ platform CONSTANT)
    Q_PROPERTY(QString formatExample READ formatExample CONSTANT)
    Q_PROPERTY(int firstDayOfWeek READ firstDayOfWeek CONSTANT)

public:
    // Reads the stored settings from the application's default settings
    // store, the theme override from NIVRA_THEME, installs the palette and
    // hands the decode policy to the decoder selection. Needs the GUI
    // application object.
    explicit AppSettings(QObject *parent = nullptr);
    ~AppSettings() override;

    QString language() const { return m_language; }
    void setLanguage(const QString &code);
    QString effectiveLanguage() const;
    QString systemLanguage() const { return m_systemLanguage; }
    QVariantList languages() const;
    QString localeName() const;
    QString fontFamily() const;

    QString theme() const { return m_theme; }
    void setTheme(const QString &theme);
    bool darkTheme() const;

    int timeMode() const { return m_timeMode; }
    void setTimeMode(int mode);
    bool continuous() const { return m_continuous; }
    void setContinuous(bool on);
    bool snap() const { return m_snap; }
    void setSnap(bool on);
    int decodePolicy() const { return m_decodePolicy; }
    void setDecodePolicy(int policy);

    QString gpuName() const;
    QString hardwareDecodeSummary() const;
    bool gpuDecodesHevc() const;

    bool checkUpdates() const { return m_checkUpdates; }
    void setCheckUpdates(bool on);
    QString exportFolder() const { return m_exportFolder; }
    void setExportFolder(const QString &folder);
    bool exportMerge() const { return m_exportMerge; }
    void setExportMerge(bool on);
    int exportFormat() const { return m_exportFormat; }
    void setExportFormat(int format);
    bool exportNoAudio() const { return m_exportNoAudio; }
    void setExportNoAudio(bool on);
    bool exportTimeTrack() const { return m_exportTimeTrack; }
    void setExportTimeTrack(bool on);
    bool exportEvidence() const { return m_exportEvidence; }
    void setExportEvidence(bool on);
    bool exportBurnTime() const { return m_exportBurnTime; }
    void setExportBurnTime(bool on);
    bool exportShare() const { return m_exportShare; }
    void setExportShare(bool on);
    int exportShareMb() const { return m_exportShareMb; }
    void setExportShareMb(int mb);
    bool analyseInBackground() const { return m_analyseInBackground; }
    void setAnalyseInBackground(bool on);
    QStringList recentCards() const { return m_recentCards; }
    // Puts a card that opened first in the recent list.
    Q_INVOKABLE void addRecentCard(const QString &path);
    Q_INVOKABLE void clearRecentCards();
    // Whether path names a folder on this computer now.
    Q_INVOKABLE bool folderExists(const QString &path) const;
    // The folder on this computer a URL names (a drop, the folder chooser);
    // empty when it names none.
    Q_INVOKABLE QString localFolder(const QUrl &url) const;

    static QString version();
    static bool internalBuild();
    static QString platform();
    QString formatExample() const;
    int firstDayOfWeek() const;

    Q_INVOKABLE QString licenseText() const;
    Q_INVOKABLE QString fontReport() const;
    Q_INVOKABLE QString value(const QString &key) const;
    Q_INVOKABLE void setValue(const QString &key, const QString &value);

    // The language asked for by NIVRA_LANG for this run; kept only when it
    // is a supported code, never stored. Takes effect at the next apply.
    void setLanguageOverride(const QString &code);
    // From now on, language changes also retranslate this engine.
    void setEngine(QQmlEngine *engine);
    // Installs the translation and the font of effectiveLanguage, tells the
    // engine and emits languageChanged.
    void applyLanguage();

    // The rules behind the properties, for the given inputs.
    static bool isSupportedLanguage(const QString &code);
    static QString systemLanguageFor(const QStringList &uiLanguages);
    static QString formatExampleFor(const QLocale &locale);
    static QString hardwareDecodeSummaryFor(const nivra::GraphicsCapability &capability);
    static QPalette paletteFor(bool dark);
    // The recent list once path has opened: path first, absolute and clean,
    // each folder once, at most maxRecentCards.
    static QStringList recentCardsWith(const QStringList &recent, const QString &path);
    static constexpr int maxRecentCards = 5;

signals:
    void languageChanged();
    void themeChanged();
    void timeModeChanged();
    void continuousChanged();
    void analyseInBackgroundChanged();
    void snapChanged();
    void decodePolicyChanged();
    void checkUpdatesChanged();
    void exportChanged();
    void recentCardsChanged();

private:
    QString effectiveTheme() const;
    void applyTheme();
    void onColorSchemeChanged();
    void store(const QString &key, const QVariant &value);

    QSettings m_store;
    QTranslator m_translator;
    bool m_translatorInstalled = false;
    QPointer<QQmlEngine> m_engine;
    QString m_systemLanguage;
    bool m_appliedDark = false;

    QString m_language;
    QString m_languageOverride;
    QString m_theme;
    QString m_themeOverride;
    int m_timeMode = 0;
    bool m_continuous = true;
    bool m_snap = true;
    int m_decodePolicy = 1;
    bool m_checkUpdates = true;
    QString m_exportFolder;
    bool m_exportMerge = false;
    int m_exportFormat = 0;
    bool m_exportNoAudio = false;
    bool m_exportTimeTrack = false;
    bool m_exportEvidence = false;
    bool m_exportBurnTime = false;
    bool m_exportShare = false;
    int m_exportShareMb = 25;
    bool m_analyseInBackground = true;
    QStringList m_recentCards;
};
