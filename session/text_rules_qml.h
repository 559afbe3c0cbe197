// TextRules, the singleton of the QML module that compiles this header (the
// program's NivraPlayer module): the session's text rules for the window.
#pragma once

#include "session/duration_text.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class TextRules : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;
    Q_INVOKABLE QString durationText(qlonglong ms) const { return nivra::durationText(ms); }
};
