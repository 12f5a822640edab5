#pragma once

#include <memory>

namespace kw {

struct TKwFormatSettings;

// The platform's regional settings (those of RegionalLocale()) as conversion settings, built once
// per locale: what conversions use when no application object's locale applies. The mask
// defaults are those of a program without an application object: no decimals, four-digit years.
std::shared_ptr<const TKwFormatSettings> KwPlatformFormatSettings();

}  // namespace kw
