// Declares TimelinePreview as the element TimelinePreview of the QML module
// that compiles this header (the program's NivraPlayer module), as
// timeline_qml.h does for TimelineItem.
#pragma once

#include "preview/timeline_preview.h"

#include <QtQml/qqmlregistration.h>

struct TimelinePreviewForeign
{
    Q_GADGET
    QML_FOREIGN(TimelinePreview)
    QML_NAMED_ELEMENT(TimelinePreview)
};

struct EventThumbForeign
{
    Q_GADGET
    QML_FOREIGN(EventThumb)
    QML_NAMED_ELEMENT(EventThumb)
};
