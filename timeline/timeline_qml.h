// Declares TimelineItem as the element TimelineItem of the QML module that
// compiles this header (the program's NivraPlayer module). The item's
// library is plain Qt, so the module names it as a foreign type.
#pragma once

#include "timeline/timeline_item.h"

#include <QtQml/qqmlregistration.h>

struct TimelineItemForeign
{
    Q_GADGET
    QML_FOREIGN(TimelineItem)
    QML_NAMED_ELEMENT(TimelineItem)
};
