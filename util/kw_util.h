#pragma once

// The value conversion and formatting routines in one include.
#include "util/app_format.h"
#include "util/convert.h"
#include "util/dates.h"
#include "util/db_literals.h"
#include "util/format_settings.h"
#include "util/kw_types.h"
#include "util/number_text.h"
#include "util/text.h"
#include "util/units.h"
#include "util/variants.h"
