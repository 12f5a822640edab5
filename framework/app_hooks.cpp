#include "framework/app_hooks.h"

#include <cstdlib>

#include "framework/state.h"
#include "platform/core/files.h"
#include "platform/text/strings.h"
#include "platform/text/unicode.h"

#ifndef KW_INSTALLED_PACKAGES_DIR
#define KW_INSTALLED_PACKAGES_DIR ""
#endif

namespace kw {

namespace {

String Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? Utf8ToString(value) : String();
}

TKwInstallation DetectInstallation() {
    TKwInstallation installation;
    installation.packagesFolder = Environment("KWCTRLS_PACKAGES");
    if (installation.packagesFolder.empty())
        installation.packagesFolder = Utf8ToString(KW_INSTALLED_PACKAGES_DIR);
    const String language = Trim(Environment("KWCTRLS_LANGUAGE"));
    installation.language = StrToIntDef(language, 0);
    return installation;
}

}  // namespace

void KwSetApplicationHooks(TKwApplicationHooks hooks) {
    KwState().applicationHooks = std::move(hooks);
}

const TKwApplicationHooks& KwApplicationHooks() {
    return KwState().applicationHooks;
}

const TKwInstallation& KwInstallation() {
    TKwFrameworkState& state = KwState();
    if (!state.installationKnown) {
        state.installation = DetectInstallation();
        state.installationKnown = true;
    }
    return state.installation;
}

void KwSetInstallation(TKwInstallation installation) {
    TKwFrameworkState& state = KwState();
    state.installation = std::move(installation);
    state.installationKnown = true;
}

String KwInstallationFolder() {
    const String folder = Trim(KwInstallation().packagesFolder);
    if (folder.empty() || !DirectoryExists(folder))
        return {};
    return AddPathBar(folder);
}

String KwInstallationLanguageFile() {
    switch (KwInstallation().language) {
        case 1:
            return u"Spanish.lan";
        case 2:
            return u"French.lan";
        case 3:
            return u"Italian.lan";
        case 4:
            return u"German.lan";
        default:
            return u"English.lan";
    }
}

}  // namespace kw
