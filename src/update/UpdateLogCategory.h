#pragma once

#include <QLoggingCategory>

#include "update/UpdateLog.h"

// The update check's lines on the Qt logging category "tavrik.update":
// status lines as info, traces as debug.
Q_DECLARE_LOGGING_CATEGORY(lcUpdate)

UpdateLogSink updateLogCategorySink();
