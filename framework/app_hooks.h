#pragma once

#include <functional>

#include "packages/locale_types.h"
#include "platform/core/datetime.h"
#include "platform/core/types.h"

namespace kw {

// The question the reference-file update asks before replacing System images or strings.
struct TKwUpdateQuestion {
    String caption;
    String heading;
    String text;
    String nowButton;
    String laterButton;
};

// The progress window of the reference-file update.
struct TKwProgressWindow {
    std::function<void(const String& caption)> open;
    std::function<void(const String& label, int position, int maximum)> step;
    std::function<void()> close;
};

// The week rules a calendar shows its weeks by.
struct TKwCalendarWeek {
    TKwStartOfWeek startOfWeek = sweSun;
    TKwStartWeekYear startWeekYear = swyFourDays;
};

// What the application object asks of the user interface. The message boxes and dialogs are
// built on top of the application object, so they plug themselves in here; tests script them.
// Unset entries give the answer that changes nothing.
struct TKwApplicationHooks {
    // True for "Now"; unset answers "Later on".
    std::function<bool(const TKwUpdateQuestion& question)> askUpdate;
    TKwProgressWindow progress;
    // Shows an error message box; unset writes the text to standard error.
    std::function<void(const String& message)> showError;
    // Tells the design environment that the host form changed.
    std::function<void()> designModified;
    // The built-in dialogs, used when the application object's own events are not assigned.
    std::function<bool(TDateTime& date, const String& caption, const TKwCalendarWeek& week)>
        calendarDialog;
    std::function<bool(int decimals, double& value)> calculatorDialog;
};

// Where the installed reference package files are and which language the installation chose
// (1 Spanish, 2 French, 3 Italian, 4 German, anything else English).
struct TKwInstallation {
    String packagesFolder;
    int language = 0;
};

void KwSetApplicationHooks(TKwApplicationHooks hooks);
const TKwApplicationHooks& KwApplicationHooks();

// By default the folder the library's reference files were installed to (when it exists),
// overridden by the environment variables KWCTRLS_PACKAGES and KWCTRLS_LANGUAGE.
const TKwInstallation& KwInstallation();
void KwSetInstallation(TKwInstallation installation);
// The installation's packages folder with a trailing separator, or empty when there is none.
String KwInstallationFolder();
// The bare name of the installation language's reference file ("Spanish.lan", ...).
String KwInstallationLanguageFile();

}  // namespace kw
