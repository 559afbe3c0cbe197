// Theme, the singleton of the QML module that compiles this header (the
// program's NivraPlayer module): the colour table for Style.qml.
#pragma once

#include "timeline/theme.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

class Theme : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;
    // Undefined for a token the table lacks, so that a wrong name is an
    // error in the binding, not a black that passes unseen.
    Q_INVOKABLE QVariant colour(const QString &token, bool dark) const
    {
        const QColor colour = nivra::themeColour(token.toLatin1().constData(), dark);
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
};
