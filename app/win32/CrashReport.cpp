#include "app/win32/CrashReport.h"

LONG WINAPI CrashReportFilter(EXCEPTION_POINTERS* /*exception*/) {
    // The dump and the notice arrive with crash reporting; ending the process without the system's
    // own error report is already what the hall wants.
    return EXCEPTION_EXECUTE_HANDLER;
}
