#include "util/format_settings.h"

#include "platform/core/no_destructor.h"

#include <mutex>

namespace kw {

namespace {

// Every piece of process-wide state of the conversion routines.
struct TKwConversionState {
    std::mutex mutex;
    std::shared_ptr<const TKwFormatSettingsProvider> applicationProvider;
    std::shared_ptr<const TKwDbSettingsProvider> dbProvider;
};

TKwConversionState& State() {
    static TNoDestructor<TKwConversionState> state;
    return *state;
}

const std::shared_ptr<const TKwFormatSettings>& NeutralSettings() {
    static const auto neutral = std::make_shared<const TKwFormatSettings>();
    return neutral;
}

}  // namespace

void KwSetApplicationSettingsProvider(TKwFormatSettingsProvider provider) {
    std::lock_guard lock(State().mutex);
    State().applicationProvider =
        provider ? std::make_shared<const TKwFormatSettingsProvider>(std::move(provider)) : nullptr;
}

std::shared_ptr<const TKwFormatSettings> KwApplicationSettingsPtr() {
    std::shared_ptr<const TKwFormatSettingsProvider> provider;
    {
        std::lock_guard lock(State().mutex);
        provider = State().applicationProvider;
    }
    if (provider) {
        if (auto settings = (*provider)())
            return settings;
    }
    return NeutralSettings();
}

void KwSetDbSettingsProvider(TKwDbSettingsProvider provider) {
    std::lock_guard lock(State().mutex);
    State().dbProvider =
        provider ? std::make_shared<const TKwDbSettingsProvider>(std::move(provider)) : nullptr;
}

TKwDbSettings KwDbSettings() {
    std::shared_ptr<const TKwDbSettingsProvider> provider;
    {
        std::lock_guard lock(State().mutex);
        provider = State().dbProvider;
    }
    return provider ? (*provider)() : TKwDbSettings();
}

void KwResetConversionProviders() {
    std::lock_guard lock(State().mutex);
    State().applicationProvider = nullptr;
    State().dbProvider = nullptr;
}

}  // namespace kw
