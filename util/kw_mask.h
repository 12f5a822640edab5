#pragma once

// The edit-mask engine in one include.
#include "util/mask.h"
#include "util/mask_edit.h"
#include "util/mask_info.h"
#include "util/mask_value.h"
