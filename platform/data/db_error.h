#pragma once

#include "platform/core/exception.h"

namespace kw {

// Errors of datasets, fields and data sources.
KW_DECLARE_EXCEPTION(EDatabaseError, Exception);

}  // namespace kw
